#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <vector>

#include "scene.h"
#include "scene_fixture.h"

namespace {

TEST(GaussianRandom, RejectsPairsOutsideTheCircleAndHasTheRequestedSpread) {
    RandomGenerator generator;
    const double u0 = 41 * (2.0 / 32767) - 1, v0 = 18467 * (2.0 / 32767) - 1;
    ASSERT_GE(u0 * u0 + v0 * v0, 1.0);  // the first pair is rejected
    const double u = 6334 * (2.0 / 32767) - 1, v = 26500 * (2.0 / 32767) - 1;
    const double s = u * u + v * v;
    ASSERT_LT(s, 1.0);
    EXPECT_FLOAT_EQ(GaussianRandom(generator, 0.25),
                    static_cast<float>(u * std::sqrt(-2 * std::log(s) / s) * 0.25));

    std::vector<double> values(40000);
    for (double& value : values) value = GaussianRandom(generator, 0.2);
    const double mean = std::accumulate(values.begin(), values.end(), 0.0) / values.size();
    double variance = 0;
    for (double value : values) variance += (value - mean) * (value - mean);
    variance /= values.size();
    EXPECT_NEAR(mean, 0.0, 0.005);
    EXPECT_NEAR(std::sqrt(variance), 0.2, 0.005);
}

TEST(ResetScene, StartsEmptyRunningAndTurningButKeepsTheSwitchAndBirthCount) {
    auto scene = std::make_unique<Scene>();
    scene->particleCount = 12;
    scene->emissionClock = 5;
    scene->running = false;
    scene->fineField = true;
    scene->birthCount = 77;
    scene->view.rotating = false;
    scene->view.viewAngle = 1;
    ResetScene(*scene);
    EXPECT_EQ(scene->particleCount, 0);
    EXPECT_EQ(scene->emissionClock, 0);
    EXPECT_TRUE(scene->running);
    EXPECT_TRUE(scene->view.rotating);
    EXPECT_EQ(scene->view.viewAngle, 0);
    EXPECT_EQ(scene->view.viewSpeed, 0.62831855f);
    EXPECT_TRUE(scene->fineField);
    EXPECT_EQ(scene->birthCount, 77u);
}

TEST(SimulateScene, BirthsAreSpreadOverTheFrameAndEveryEighthIsLarge) {
    auto scene = StillAirScene();
    RandomGenerator replay = scene->random;  // replays the births' draws
    const float dt = 1.0f / 64;
    SimulateScene(*scene, dt, dt);
    ASSERT_EQ(scene->particleCount, 16);
    EXPECT_EQ(scene->birthCount, 16u);
    EXPECT_EQ(scene->emissionClock, 1.0 / 64);

    for (int k = 0; k < 16; ++k) {
        const float g1 = GaussianRandom(replay, 0.25);
        const float g2 = GaussianRandom(replay, 0.25);
        const float g3 = GaussianRandom(replay, 0.25);
        const float g = GaussianRandom(replay, 0.2);
        const Particle& p = scene->particles[k];
        const double age = (15 - k) / 1024.0;  // the first born is the oldest of the frame
        const bool large = k % 8 == 0;
        EXPECT_FLOAT_EQ(p.position.x, 2 * g3);
        EXPECT_FLOAT_EQ(p.position.y, 5 + 2 * g2);
        EXPECT_FLOAT_EQ(p.position.z, -2 + 2 * g1);
        EXPECT_EQ(p.position.w, 1);
        EXPECT_FLOAT_EQ(p.life, static_cast<float>(2 - age));
        EXPECT_FLOAT_EQ(p.alpha, static_cast<float>(0.35 * std::pow(0.2, age) * (large ? 0.5 : 1)));
        EXPECT_FLOAT_EQ(p.size.x, (large ? 2.4f : 0.3f) * g);
        EXPECT_EQ(p.size.x, p.size.z);
        EXPECT_EQ(p.size.y, p.size.z);
    }
}

TEST(SimulateScene, NewbornsAreCarriedByTheFlowForTheirAgeButNotByTheWind) {
    auto scene = std::make_unique<Scene>();
    ResetScene(*scene);
    for (FlowNode& node : scene->field.nodes) node.flow = Vector4(1, 2, 3, 0);  // uniform flow
    RandomGenerator replay = scene->random;
    SimulateScene(*scene, 0.5, 0.5f);
    ASSERT_EQ(scene->particleCount, 512);
    const float g1 = GaussianRandom(replay, 0.25), g2 = GaussianRandom(replay, 0.25),
                g3 = GaussianRandom(replay, 0.25);
    const float age = 511 / 1024.0f;
    EXPECT_NEAR(scene->particles[0].position.x, 2 * g3 + 1 * age, 1e-5);
    EXPECT_NEAR(scene->particles[0].position.y, 5 + 2 * g2 + 2 * age, 1e-5);
    EXPECT_NEAR(scene->particles[0].position.z, -2 + 2 * g1 + 3 * age, 1e-5);
}

TEST(SimulateScene, RemovalMovesTheLastParticleInAndUpdatesItExactlyOnce) {
    auto scene = StillAirScene();
    const float dt = 1.0f / 64;
    scene->particles[0] = MakeParticle({0, 5, 0}, 0.001f);  // dies
    scene->particles[1] = MakeParticle({1, 5, 0}, 1.0f);    // lives
    scene->particles[2] = MakeParticle({2, 5, 0}, 0.001f);  // dies; moved into slot 0 first
    scene->particles[3] = MakeParticle({3, 5, 0}, 1.5f);    // lives, ends up in slot 0
    scene->particleCount = 4;
    scene->emissionClock = 10;
    SimulateScene(*scene, 10, dt);  // no backlog: no births

    ASSERT_EQ(scene->particleCount, 2);
    EXPECT_FLOAT_EQ(scene->particles[0].position.x, 3);
    EXPECT_FLOAT_EQ(scene->particles[0].position.y, 5 + 2 * dt);  // wind once
    EXPECT_FLOAT_EQ(scene->particles[0].position.z, 5 * dt);
    EXPECT_FLOAT_EQ(scene->particles[0].life, 1.5f - dt);
    EXPECT_FLOAT_EQ(scene->particles[0].alpha, 0.35f * static_cast<float>(std::pow(0.2, dt)));
    EXPECT_FLOAT_EQ(scene->particles[1].position.x, 1);
    EXPECT_FLOAT_EQ(scene->particles[1].position.y, 5 + 2 * dt);

    // Removing the last live particle only lowers the count.
    scene->particles[1].life = 0.001f;
    SimulateScene(*scene, 10, dt);
    ASSERT_EQ(scene->particleCount, 1);
    EXPECT_FLOAT_EQ(scene->particles[0].position.x, 3);
    EXPECT_FLOAT_EQ(scene->particles[0].position.y, 5 + 4 * dt);
}

TEST(SimulateScene, ALifeOfExactlyTheThresholdIsRemoved) {
    auto scene = StillAirScene();
    const float dt = 1.0f / 64;
    scene->particles[0] = MakeParticle({0, 5, 0}, 3.0517578125e-5f + dt);  // exact in binary
    scene->particles[1] = MakeParticle({0, 5, 0}, 3.0517578125e-5f + dt + 1.0f / 1048576);
    scene->particleCount = 2;
    SimulateScene(*scene, 0, dt);
    ASSERT_EQ(scene->particleCount, 1);
    EXPECT_GT(scene->particles[0].life, 3.0517578125e-5f);
}

TEST(SimulateScene, FrozenTimeMovesNothingAndResumingEmitsOnlyTheNewFrame) {
    auto scene = std::make_unique<Scene>();
    ResetScene(*scene);
    double time = 0;
    const float dt = 1.0f / 64;
    for (int i = 0; i < 64; ++i) SimulateScene(*scene, time += dt, dt);
    const int count = scene->particleCount;
    const Particle first = scene->particles[0];
    const FlowNode node = scene->field.nodes[17];
    const std::uint32_t births = scene->birthCount;

    scene->running = false;
    for (int i = 0; i < 100; ++i) SimulateScene(*scene, time += dt, dt);
    EXPECT_EQ(scene->particleCount, count);
    EXPECT_EQ(scene->birthCount, births);
    EXPECT_EQ(scene->particles[0].position.x, first.position.x);
    EXPECT_EQ(scene->particles[0].life, first.life);
    EXPECT_EQ(scene->particles[0].alpha, first.alpha);
    EXPECT_EQ(scene->field.nodes[17].flow.x, node.flow.x);
    EXPECT_EQ(scene->emissionClock, time);

    scene->running = true;
    SimulateScene(*scene, time += dt, dt);
    EXPECT_EQ(scene->birthCount, births + 16);
}

TEST(SimulateScene, ZeroDeltaChangesNothingUnlessABacklogRemains) {
    auto scene = std::make_unique<Scene>();
    ResetScene(*scene);
    SimulateScene(*scene, 0.25, 0.25f);
    const Particle before = scene->particles[5];
    const int count = scene->particleCount;
    SimulateScene(*scene, 0.25, 0);
    EXPECT_EQ(scene->particleCount, count);
    EXPECT_EQ(scene->particles[5].position.y, before.position.y);
    EXPECT_EQ(scene->particles[5].alpha, before.alpha);
    EXPECT_EQ(scene->particles[5].life, before.life);

    // A full pool leaves a backlog; a zero-length frame after deaths still emits from it.
    scene->emissionClock = 0.25 - 3.0 / 1024;
    SimulateScene(*scene, 0.25, 0);
    EXPECT_EQ(scene->particleCount, count + 3);
}

TEST(SimulateScene, ALargeFirstDeltaFillsThePoolWithLivingParticles) {
    auto scene = std::make_unique<Scene>();
    ResetScene(*scene);
    SimulateScene(*scene, 1.5, 1.5f);
    EXPECT_EQ(scene->particleCount, 1536);

    // After a pause far longer than a lifetime, only the last lifetime's births are made: the
    // older ones would be born dead.
    auto paused = std::make_unique<Scene>();
    ResetScene(*paused);
    SimulateScene(*paused, 3600, 3600);
    EXPECT_EQ(paused->particleCount, 2048);
    EXPECT_EQ(paused->emissionClock, 3600);
    for (int i = 0; i < paused->particleCount; ++i) {
        ASSERT_GT(paused->particles[i].life, 0) << i;
        ASSERT_TRUE(std::isfinite(paused->particles[i].position.x)) << i;
    }
    // A backlog of at most a lifetime is emitted in full, as it always was.
    auto backlog = std::make_unique<Scene>();
    ResetScene(*backlog);
    SimulateScene(*backlog, 2.0, 2.0f);
    EXPECT_EQ(backlog->particleCount, 2048);
    EXPECT_EQ(backlog->emissionClock, 2.0);
}

TEST(SimulateScene, EmissionKeepsItsRateAfterManyHours) {
    auto scene = std::make_unique<Scene>();
    ResetScene(*scene);
    const double hours = 20000;  // beyond 16384 s, where a single-precision clock stalls
    scene->emissionClock = hours;
    double time = hours;
    const float dt = 1.0f / 64;
    for (int i = 0; i < 256; ++i) SimulateScene(*scene, time += dt, dt);
    EXPECT_EQ(scene->birthCount, 256u * 16);
    EXPECT_EQ(scene->emissionClock, time);
    EXPECT_EQ(scene->particleCount, 2048);
}

TEST(SimulateScene, TheFieldSwitchChoosesTheSamplingForTheNextFrame) {
    auto coarse = std::make_unique<Scene>();
    ResetScene(*coarse);
    SimulateScene(*coarse, 0.25, 0.25f);
    auto fine = std::make_unique<Scene>(*coarse);
    fine->fineField = true;
    const Vector4 start = coarse->particles[3].position;  // switching does not move anything

    const float dt = 0.25f;
    SimulateScene(*coarse, 0.5, dt);
    SimulateScene(*fine, 0.5, dt);
    Vector4 viaCoarse = start + Vector4(0, 2, 5) * dt;
    Vector4 viaFine = viaCoarse;
    AdvectCoarse(coarse->field, viaCoarse, dt);
    AdvectFine(fine->field, viaFine, dt);
    EXPECT_EQ(coarse->particles[3].position.x, viaCoarse.x);
    EXPECT_EQ(coarse->particles[3].position.z, viaCoarse.z);
    EXPECT_EQ(fine->particles[3].position.x, viaFine.x);
    EXPECT_EQ(fine->particles[3].position.z, viaFine.z);
    EXPECT_NE(viaFine.x, viaCoarse.x);
}

}  // namespace
