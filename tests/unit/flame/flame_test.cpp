#include "flame.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "projection.h"
#include "raster.h"

namespace {

// A reset scene; with a flow, one whose flow is that everywhere, which relaxing leaves as it is.
std::unique_ptr<Scene> NewScene(std::optional<Vector4> flow = {}) {
    auto scene = std::make_unique<Scene>();
    ResetScene(*scene);
    for (FlowNode& node : scene->field.nodes) node = flow ? FlowNode{.flow = *flow} : node;
    return scene;
}

Particle MakeParticle(Vector4 position, float life, float size = 0.3f, float alpha = 0.35f) {
    return {.position = position, .size = {size, size, size}, .alpha = alpha, .life = life};
}

TEST(FlowField, IsBuiltFromTheFirstDrawsSampledByTheIndexRulesAndRelaxedAsASteadySpringNetwork) {
    RandomGenerator replay, generator;
    int d[16];
    for (int& draw : d) draw = NextRandom(replay);
    auto field = std::make_unique<FlowField>();
    std::memset(static_cast<void*>(field.get()), 0x41, sizeof(FlowField));  // a used one
    BuildFlowField(*field, generator);
    EXPECT_EQ(generator.state, replay.state);
    for (int i = 0; i < 256; ++i) EXPECT_EQ(field->flowWeights[i], i / 256.0f);
    // Four families of running angles in closed form; the build sums them in single precision.
    const auto step = [](int draw) -> double { return 0.16f + draw * 4.8829615e-6f; };
    using std::cos, std::sin;
    for (int i = 0; i < kNodeCount; ++i) {
        const int x = i % 8, y = i / 8 % 4, z = i / 32;
        const auto angle = [&](const int* f) {
            return f[0] * 1.9175345e-4f + z * step(f[3]) + y * step(f[2]) + (x + 1) * step(f[1]);
        };
        const double a = angle(d), b = angle(d + 4), c = angle(d + 8), e = angle(d + 12);
        const FlowNode& node = field->Node(x, y, z);
        EXPECT_NEAR(node.flow.x, 2.5 * (cos(c + y) + sin(a - y) + sin(c - x) - cos(a + x)), 2e-4);
        EXPECT_NEAR(node.flow.y, 2.5 * (sin(b - x) + sin(e - y) + cos(e + y) - cos(b + x)), 2e-4);
        EXPECT_NEAR(node.flow.z, 2.5 * (sin(a - x) + sin(a - y) + cos(c + y) - cos(c + x)), 2e-4);
        EXPECT_TRUE(node.flow.w == 0 && node.rate.Dot(node.rate) == 0 && node.rate.w == 1);
    }
    for (int i = 0; i < kNodeCount; ++i)  // each flow tells where its node is
        field->nodes[i].flow = Vector4(i % 8 + 100.0f * (i / 8 % 4), 10.0f * (i / 32), 0, 0);
    const auto at = [&](int x, int y, int z) { return field->Node(x % 8, y, z % 8).flow; };
    // The point (c, c, c), fine sampling, cell, weight: 64 index steps per unit, or fine 1024
    // (c >= 0) and 2048 (c < 0), rounded half to even (1/128 is a tie); cell 7 blends with 0.
    const std::tuple<float, bool, int, int, int, float> cases[] = {
        {0, false, 4, 2, 0, 0},     {0.5f, false, 4, 2, 0, 0.125f},
        {4, false, 5, 3, 1, 0},     {-0.5f, false, 3, 1, 7, 0.875f},
        {0.5f, true, 6, 0, 2, 0},   {1.0f / 128, false, 4, 2, 0, 0},
        {14, false, 7, 1, 3, 0.5f}, {-0.5f, true, 0, 2, 4, 0}};
    for (const auto& [c, fine, ix, iy, iz, w] : cases) {
        const Vector4 a = at(ix, iy, iz) * (1 - w) + at(ix + 1, iy, iz) * w;
        const Vector4 b = at(ix, iy, iz + 1) * (1 - w) + at(ix + 1, iy, iz + 1) * w;
        const Vector4 by = (a * (1 - w) + b * w) * 0.5f;
        Vector4 p(c, c, c, 7);
        (fine ? AdvectFine : AdvectCoarse)(*field, p, 0.5f);
        EXPECT_TRUE(p.x == c + by.x && p.y == c + by.y && p.w == 7) << c << fine;
    }
    // Springs: one node moved off a lattice at rest pushes or pulls each of its 26 neighbours
    // (the lattice wraps) along their spring by its stretch from half their places' distance.
    field->nodes.fill({});
    const Vector4 moved(0.1f, -0.05f, 0.02f, 0);
    field->Node(0, 0, 0).flow = moved;
    const float dt = 0.1f;  // the longest delta relaxed in one step
    RelaxFlowField(*field, dt);
    const double k = 0.01 * dt * std::pow(0.998, double{dt});  // damped once
    for (int i = 1; i < kNodeCount; ++i) {
        const int x = i % 8, y = i / 8 % 4, z = i / 32;
        const int dx = x == 7 ? -1 : x, dy = y == 3 ? -1 : y, dz = z == 7 ? -1 : z,
                  n = dx * dx + dy * dy + dz * dz;
        const Vector4 d = Vector4(0.5f * dx, 0.5f * dy, 0.5f * dz) - moved;
        const double f = n <= 3 ? k * (0.5 * std::sqrt(n) - std::sqrt(d.Dot(d))) : 0;  // near
        const Vector4 off = field->nodes[i].rate - d * static_cast<float>(f);
        ASSERT_LT(off.Dot(off), 1e-17) << i;
    }
    // A flow grown beyond 10 long is kept but stops moving; the springs pull it back later.
    FlowNode& node = field->Node(3, 1, 2);
    node = {.flow = {8, 6.01f, 0, 0}, .rate = {1, 1, 1}};
    RelaxFlowField(*field, 0.01f);
    EXPECT_TRUE(node.rate.Dot(node.rate) == 0 && node.rate.w == 1 && node.flow.x > 8);
    EXPECT_TRUE(node.flow.Dot(node.flow) > 100 && node.flow.Dot(node.flow) < 100.5f);
    const float held = node.flow.x;
    RelaxFlowField(*field, 0.01f);
    EXPECT_LT(node.flow.x, held);
    // A long delta is relaxed in bounded sub-steps: one step of it drove the field to infinity.
    auto once = NewScene(), stepped = NewScene(), paused = NewScene();
    RelaxFlowField(once->field, 0.1005f);  // just over the longest single step: two half steps
    for (int i = 0; i < 2; ++i) RelaxFlowField(stepped->field, 0.1005f / 2);
    EXPECT_EQ(std::memcmp(&once->field, &stepped->field, sizeof(FlowField)), 0);
    RelaxFlowField(paused->field, 29.0f);
    RelaxFlowField(paused->field, 3600.0f);
    for (const FlowNode& node : paused->field.nodes) ASSERT_LT(node.flow.Dot(node.flow), 400.0f);
}

TEST(SimulateScene, BirthsAreSpreadOverTheFrameDeathsFillTheirPlaceAndAResetEmptiesThePool) {
    auto scene = NewScene(Vector4{1, 2, 3, 0});
    RandomGenerator replay = scene->random, fresh;  // replays the births' draws
    // The first Gaussian pair, (41, 18467), lies outside the unit circle; the next one is used.
    const double u = 6334 * (2.0 / 32767) - 1, v = 26500 * (2.0 / 32767) - 1, s = u * u + v * v;
    EXPECT_NEAR(GaussianRandom(fresh, 0.25), u * std::sqrt(-2 * std::log(s) / s) / 4, 1e-7);
    SimulateScene(*scene, 1.0 / 64, 1.0f / 64);
    ASSERT_EQ(scene->particleCount, 16);
    for (int k = 0; k < 16; ++k) {
        const float g1 = GaussianRandom(replay, 0.25), g2 = GaussianRandom(replay, 0.25),
                    g3 = GaussianRandom(replay, 0.25), g = GaussianRandom(replay, 0.2);
        const Particle& p = scene->particles[k];
        // The first born is the oldest of the frame; the flow, not the wind, carries it that long.
        const double age = (15 - k) / 1024.0, large = k % 8 == 0;
        const Vector4 at(2 * g3 + 1 * age, 5 + 2 * g2 + 2 * age, -2 + 2 * g1 + 3 * age);
        EXPECT_LT((p.position - at).Dot(p.position - at), 3e-12) << k;
        EXPECT_FLOAT_EQ(p.life, static_cast<float>(2 - age));
        EXPECT_FLOAT_EQ(p.alpha, static_cast<float>(0.35 * std::pow(0.2, age) * (large ? 0.5 : 1)));
        EXPECT_FLOAT_EQ(p.size.x, (large ? 2.4f : 0.3f) * g);
        EXPECT_TRUE(p.size.x == p.size.z && p.size.y == p.size.z && p.position.w == 1);
    }
    // One left exactly at the removal threshold dies; the last takes its place, updated once.
    const float dt = 1.0f / 64, threshold = 1.0f / 32768, justAbove = threshold + 0x1p-29f;
    scene->particles[0] = MakeParticle({0, 5, 0}, threshold + dt);
    scene->particles[1] = MakeParticle({3, 5, 0}, justAbove + dt);
    scene->particleCount = 2;
    SimulateScene(*scene, 1.0 / 64, dt);  // the clock not advanced: no births
    ASSERT_EQ(scene->particleCount, 1);
    const Particle& moved = scene->particles[0];
    EXPECT_EQ(moved.life, justAbove);
    const Vector4 at(3 + dt, 5 + 4 * dt, 8 * dt);  // the wind, (0, 2, 5), and the flow, once each
    EXPECT_LT((moved.position - at).Dot(moved.position - at), 1e-12);
    EXPECT_FLOAT_EQ(moved.alpha, 0.35f * static_cast<float>(std::pow(0.2, dt)));
    // A reset empties the scene and sets it running and turning, but keeps the switch and count.
    scene->running = scene->view.rotating = false;
    scene->fineField = true;
    scene->view.viewSpeed = 5;
    ResetScene(*scene);
    const Scene& r = *scene;
    EXPECT_EQ(std::tuple(r.particleCount, r.emissionClock, r.running, r.view.rotating,
                         r.view.viewAngle, r.view.viewSpeed, r.fineField, r.birthCount),
              std::tuple(0, 0.0, true, true, 0.0f, 0.62831855f, true, 16u));
}

TEST(SimulateScene, ARunningFrameRelaxesMovesByTheWindAndTheChosenSamplingAndEmitsAtMostALifetime) {
    auto coarse = NewScene();
    const float dt = 0.25f;
    SimulateScene(*coarse, 0.25, dt);
    auto fine = std::make_unique<Scene>(*coarse);
    fine->fineField = true;  // switching moves nothing before the next frame
    FlowField relaxed = coarse->field;
    RelaxFlowField(relaxed, dt);
    Vector4 viaCoarse = coarse->particles[3].position + Vector4(0, 2, 5) * dt, viaFine = viaCoarse;
    SimulateScene(*coarse, 0.5, dt);
    SimulateScene(*fine, 0.5, dt);
    EXPECT_EQ(std::memcmp(&coarse->field, &relaxed, sizeof relaxed), 0);
    AdvectCoarse(relaxed, viaCoarse, dt);
    AdvectFine(relaxed, viaFine, dt);
    const Vector4 &c = coarse->particles[3].position, &f = fine->particles[3].position;
    EXPECT_TRUE(c.x == viaCoarse.x && c.z == viaCoarse.z && f.x == viaFine.x && f.z == viaFine.z);
    EXPECT_NE(viaFine.x, viaCoarse.x);
    // (first frame's length, particles after it): after a pause, only the last lifetime's births.
    for (const auto& [delta, count] : {std::pair{1.5f, 1536}, {2.0f, 2048}, {3600.0f, 2048}}) {
        auto scene = NewScene();
        SimulateScene(*scene, delta, delta);
        EXPECT_EQ(scene->particleCount, count) << delta;
        EXPECT_EQ(scene->emissionClock, count / 1024.0 + (delta > 2 ? delta - 2 : 0)) << delta;
        EXPECT_TRUE(scene->particles[0].life > 0 && std::isfinite(scene->particles[0].position.x));
        // Three births owed, in a frame of no length: made while the pool has room.
        scene->emissionClock -= 3.0 / 1024;
        SimulateScene(*scene, delta, 0);
        EXPECT_EQ(scene->particleCount, std::min(count + 3, 2048)) << delta;
    }
}

TEST(StepFlame, FreezesEveryFiveHundredFramesEnterInvertsThePhaseAndTwoInTurnMatchOneAlone) {
    // Stepped in turn with another flame, given other keys, it ends equal to its twin: no hidden
    // static state.
    auto flame = std::make_unique<Flame>(), twin = std::make_unique<Flame>(),
         other = std::make_unique<Flame>();
    for (Flame* f : {flame.get(), twin.get(), other.get()}) StartFlame(*f);
    for (const unsigned key : {48u, 32u}) OnChar(*other, key);
    std::unique_ptr<Flame> frozen;
    // (frame, running after it): toggles before frames 501, 1001...; Enter after 1201 inverts.
    const int checks[][2] = {{500, 1},  {501, 0},  {1000, 0}, {1001, 1},
                             {1201, 0}, {1500, 0}, {1501, 1}};
    for (const auto& [frame, running] : checks) {
        while (flame->frameCount < frame) {
            for (Flame* f : {flame.get(), twin.get()}) StepFlame(*f, 1.0f / 64);
            StepFlame(*other, 1.0f / 50 + frame % 3 * 0.001f);
        }
        if (frame == 1201)
            for (Flame* f : {flame.get(), twin.get()}) OnChar(*f, 13);
        EXPECT_EQ(flame->scene.running, running) << frame;
        // A frozen frame moves nothing; its time is not owed in births once resumed.
        const Scene& now = flame->scene;
        if (frame == 500) frozen = std::make_unique<Flame>(*flame);
        const Particle &p = now.particles[7], &q = frozen->scene.particles[7];
        const bool same = p.position.x == q.position.x && p.life == q.life && p.alpha == q.alpha &&
                          !std::memcmp(&now.field, &frozen->scene.field, sizeof(FlowField));
        EXPECT_EQ(same, frame <= 1000) << frame;
        EXPECT_TRUE(frame != 1000 || now.emissionClock == frozen->scene.emissionClock + 500 / 64.0);
        EXPECT_TRUE(frame != 1001 || now.birthCount == frozen->scene.birthCount + 16);
    }
    EXPECT_EQ(flame->sceneTime, 1501 / 64.0);
    EXPECT_EQ(std::memcmp(flame.get(), twin.get(), sizeof(Flame)), 0);
}

TEST(Canvas, BlendsClampedOwnsLeftAndTopEdgesAndShowsParticlesInTheFourThirdsViewAsHexagons) {
    // Beyond the canvas's sides, covering the centres with x + y < 6.6; its red beyond 1 is 1.
    Canvas canvas(4, 4);
    const Canvas::Vertex a{10.6f, -4, 2, 0.5f, 0.25f, 0.5f}, b{-4, 10.6f, 2, 0.5f, 0.25f, 0.5f},
        c{-4, -4, 2, 0.5f, 0.25f, 0.5f};
    canvas.BlendTriangle(a, b, c);
    for (int i = 0; i < 48; ++i)  // 255, 128 and 64 times 0.5; not the top right pixel
        EXPECT_EQ(canvas.Pixels()[i], i / 3 == 3 ? 0 : 128 >> i % 3) << i;
    for (int i = 0; i < 3; ++i) canvas.BlendTriangle(a, b, c);  // clamped, not wrapped
    EXPECT_EQ(std::string(canvas.Pixel(0, 3), canvas.Pixel(0, 3) + 3), "\xFF\xFF\x80");
    // A square from 0.5 to 2.5 cut on its diagonal, one triangle of each winding: the centres on
    // its left and top sides are drawn, those on its right and bottom are not, the diagonal's once.
    Canvas square(4, 4);
    const auto v = [](float x, float y) { return Canvas::Vertex{x, y, 0, 1, 0, 0.5f}; };
    square.BlendTriangle(v(2.5f, 2.5f), v(0.5f, 0.5f), v(2.5f, 0.5f));
    square.BlendTriangle(v(0.5f, 0.5f), v(0.5f, 2.5f), v(2.5f, 2.5f));
    std::string drawn;  // green by rows from the top; 2: drawn once, 3: twice
    for (int i = 1; i < 48; i += 3) drawn += static_cast<char>('0' + square.Pixels()[i] / 64);
    EXPECT_EQ(drawn, "0000220022000000");
    // Either winding gives each corner its own colour.
    Canvas ccw(4, 4), cw(4, 4);
    const Canvas::Vertex p{0.5f, 0.5f, 1, 0, 0, 1}, q{3.5f, 0.5f, 0, 1, 0, 1},
        r{0.5f, 3.5f, 0, 0, 1, 1};
    ccw.BlendTriangle(p, q, r);
    cw.BlendTriangle(p, r, q);
    EXPECT_EQ(ccw.Pixels(), cw.Pixels());
    // Width, height, right, top: more is shown along the longer side; a zero side is one pixel.
    const std::tuple<int, int, float, float> cases[] = {
        {1024, 768, 4.0f / 3, 1}, {1920, 1080, 16.0f / 9, 1}, {1280, 1024, 4.0f / 3, 1.0666667f},
        {800, 0, 800, 1},         {0, 600, 4.0f / 3, 800},    {0, 0, 4.0f / 3, 4.0f / 3}};
    for (const auto& [width, height, right, top] : cases) {
        const auto [x0, x1, y0, y1] = ProjectionFor(AspectOf(width, height));
        EXPECT_EQ(std::tuple(static_cast<float>(x1), static_cast<float>(y1), x0 + x1, y0 + y1),
                  std::tuple(right, top, 0.0, 0.0))
            << width << "x" << height;
    }
    // A particle 2 in front of the eye, of size 1, seen straight on, drawn as a hexagon.
    auto scene = NewScene(Vector4{0, 0, 0, 0});
    scene->particles[0] = MakeParticle({0, 2, 0}, 1, 1, 1);
    scene->particles[1] = MakeParticle({0, 1, 0}, 1, 1.0f);  // at the eye's plane: not drawn
    scene->particles[1].radiusY = 1;                         // though it was in an earlier frame
    scene->particleCount = 2;
    UpdateView(*scene, 0);
    scene->particles[2] = scene->particles[0];  // beyond the count: a dead one, not drawn
    scene->particles[2].screenX = 1;
    Canvas picture(200, 150);
    RasterizeParticles(*scene, ProjectionFor(AspectOf(200, 150)), picture);
    // Screen (0, 0) is the picture centre; radius 1, the half-height, is 75 pixels.
    EXPECT_TRUE(picture.Pixel(100, 75)[0] > 240 && picture.Pixel(100, 75)[1] > 230);
    EXPECT_TRUE(picture.Pixel(176, 75)[0] == 0 && picture.Pixel(100, 9)[0] == 0);  // beyond the rim
    // Red falls off linearly: a pyramid over the hexagon (3 x 75 x 75 sin 60); green, half.
    double sums[3] = {};  // red, green, blue
    for (size_t i = 0; i < picture.Pixels().size(); ++i) sums[i % 3] += picture.Pixels()[i];
    const double area = 3 * 75 * 75 * std::sqrt(0.75);
    EXPECT_NEAR(sums[0], 255 * area / 3, area);  // within one unit of rounding per pixel
    EXPECT_NEAR(sums[1], 255 * area / 6, area);
    EXPECT_EQ(sums[2], 0);
    // The angle is reduced after each whole turn, so that it keeps its resolution.
    scene->view.viewAngle = 6.28f;
    UpdateView(*scene, 0.01f);
    EXPECT_NEAR(scene->view.viewAngle, 6.28 + 0.0062831855 - 2 * M_PI, 1e-6);
}

}  // namespace
