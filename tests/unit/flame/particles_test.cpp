#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "scene.h"
#include "scene_fixture.h"

namespace {

TEST(GaussianRandom, RejectsPairsOutsideTheUnitCircle) {
    RandomGenerator generator;
    // The first pair (41, 18467) lies outside the circle; the second (6334, 26500) is used.
    const double u = 6334 * (2.0 / 32767) - 1, v = 26500 * (2.0 / 32767) - 1, s = u * u + v * v;
    EXPECT_FLOAT_EQ(GaussianRandom(generator, 0.25),
                    static_cast<float>(u * std::sqrt(-2 * std::log(s) / s) * 0.25));
}

TEST(ResetScene, StartsEmptyRunningAndTurningButKeepsTheSwitchAndBirthCount) {
    auto scene = std::make_unique<Scene>();
    scene->particleCount = 12;
    scene->emissionClock = 5;
    scene->running = scene->view.rotating = false;
    scene->fineField = true;
    scene->birthCount = 77;
    scene->view.viewAngle = 1;
    scene->view.viewSpeed = 2;
    ResetScene(*scene);
    EXPECT_TRUE(scene->particleCount == 0 && scene->emissionClock == 0);
    EXPECT_TRUE(scene->running && scene->view.rotating && scene->fineField);
    EXPECT_TRUE(scene->view.viewAngle == 0 && scene->view.viewSpeed == 0.62831855f);
    EXPECT_EQ(scene->birthCount, 77u);
}

TEST(SimulateScene, BirthsAreSpreadOverTheFrameCarriedByTheFlowAndEveryEighthIsLarge) {
    auto scene = UniformFlowScene({1, 2, 3, 0});
    RandomGenerator replay = scene->random;  // replays the births' draws
    const float dt = 1.0f / 64;
    SimulateScene(*scene, dt, dt);
    ASSERT_EQ(scene->particleCount, 16);
    EXPECT_EQ(scene->birthCount, 16u);
    EXPECT_EQ(scene->emissionClock, 1.0 / 64);

    for (int k = 0; k < 16; ++k) {
        const float g1 = GaussianRandom(replay, 0.25), g2 = GaussianRandom(replay, 0.25),
                    g3 = GaussianRandom(replay, 0.25), g = GaussianRandom(replay, 0.2);
        const Particle& p = scene->particles[k];
        // The first born is the oldest of the frame; the flow, not the wind, carries it that long.
        const double age = (15 - k) / 1024.0;
        const bool large = k % 8 == 0;
        EXPECT_NEAR(p.position.x, 2 * g3 + 1 * age, 1e-6);
        EXPECT_NEAR(p.position.y, 5 + 2 * g2 + 2 * age, 1e-6);
        EXPECT_NEAR(p.position.z, -2 + 2 * g1 + 3 * age, 1e-6);
        EXPECT_EQ(p.position.w, 1);
        EXPECT_FLOAT_EQ(p.life, static_cast<float>(2 - age));
        EXPECT_FLOAT_EQ(p.alpha, static_cast<float>(0.35 * std::pow(0.2, age) * (large ? 0.5 : 1)));
        EXPECT_FLOAT_EQ(p.size.x, (large ? 2.4f : 0.3f) * g);
        EXPECT_TRUE(p.size.x == p.size.z && p.size.y == p.size.z);
    }
}

TEST(SimulateScene, ADeadParticleIsReplacedByTheLastWhichIsUpdatedExactlyOnce) {
    auto scene = UniformFlowScene();
    const float dt = 1.0f / 64, threshold = 1.0f / 32768, justAbove = threshold + 1.0f / 1048576;
    scene->particles[0] = MakeParticle({0, 5, 0}, 0.001f);
    scene->particles[1] = MakeParticle({1, 5, 0}, 1.0f);
    scene->particles[2] = MakeParticle({2, 5, 0}, threshold + dt);  // left exactly at it: dies
    scene->particles[3] = MakeParticle({3, 5, 0}, justAbove + dt);  // moves to slot 0
    scene->particleCount = 4;
    scene->emissionClock = 10;
    SimulateScene(*scene, 10, dt);  // no backlog: no births

    ASSERT_EQ(scene->particleCount, 2);
    const Particle& moved = scene->particles[0];
    EXPECT_FLOAT_EQ(moved.position.x, 3);
    EXPECT_FLOAT_EQ(moved.position.y, 5 + 2 * dt);  // the wind, once
    EXPECT_FLOAT_EQ(moved.position.z, 5 * dt);
    EXPECT_FLOAT_EQ(moved.life, justAbove);
    EXPECT_FLOAT_EQ(moved.alpha, 0.35f * static_cast<float>(std::pow(0.2, dt)));
    EXPECT_FLOAT_EQ(scene->particles[1].position.y, 5 + 2 * dt);

    // Removing the last live particle only lowers the count.
    scene->particles[0].life = 1;
    scene->particles[1].life = 0.001f;
    SimulateScene(*scene, 10, dt);
    ASSERT_EQ(scene->particleCount, 1);
    EXPECT_TRUE(moved.position.x == 3 && moved.position.y == 5 + 4 * dt);
}

TEST(SimulateScene, ARunningFrameRelaxesTheFieldThenMovesParticlesByTheWindAndTheChosenSampling) {
    auto coarse = FreshScene();
    SimulateScene(*coarse, 0.25, 0.25f);
    auto fine = std::make_unique<Scene>(*coarse);
    fine->fineField = true;  // switching moves nothing before the next frame
    FlowField relaxed = coarse->field;
    const float dt = 0.25f;
    RelaxFlowField(relaxed, dt);
    const Vector4 start = coarse->particles[3].position + Vector4(0, 2, 5) * dt;
    SimulateScene(*coarse, 0.5, dt);
    SimulateScene(*fine, 0.5, dt);
    for (int i = 0; i < kNodeCount; ++i) {
        ASSERT_EQ(coarse->field.nodes[i].flow.x, relaxed.nodes[i].flow.x) << i;
        ASSERT_EQ(coarse->field.nodes[i].rate.z, relaxed.nodes[i].rate.z) << i;
    }
    Vector4 viaCoarse = start, viaFine = start;
    AdvectCoarse(relaxed, viaCoarse, dt);
    AdvectFine(relaxed, viaFine, dt);
    EXPECT_TRUE(coarse->particles[3].position.x == viaCoarse.x &&
                coarse->particles[3].position.z == viaCoarse.z);
    EXPECT_TRUE(fine->particles[3].position.x == viaFine.x &&
                fine->particles[3].position.z == viaFine.z);
    EXPECT_NE(viaFine.x, viaCoarse.x);
}

TEST(SimulateScene, AFrozenFrameMovesNothingAndResumingEmitsOnlyForTheNewFrame) {
    auto scene = FreshScene();
    double time = 1;
    const float dt = 1.0f / 64;
    SimulateScene(*scene, time, 1);
    const Scene before = *scene;
    scene->running = false;
    for (int i = 0; i < 100; ++i) SimulateScene(*scene, time += dt, dt);
    EXPECT_EQ(scene->particleCount, before.particleCount);
    EXPECT_EQ(scene->birthCount, before.birthCount);
    const Particle &p = scene->particles[0], &q = before.particles[0];
    EXPECT_TRUE(p.position.x == q.position.x && p.life == q.life && p.alpha == q.alpha);
    EXPECT_EQ(scene->field.nodes[17].flow.x, before.field.nodes[17].flow.x);
    EXPECT_EQ(scene->emissionClock, time);

    scene->running = true;
    SimulateScene(*scene, time += dt, dt);
    EXPECT_EQ(scene->birthCount, before.birthCount + 16);
}

TEST(SimulateScene, ALongFirstFrameEmitsAtMostTheLastLifetimeAndAFullPoolHoldsBirthsBack) {
    // (frame length, particles after it): a backlog of at most a lifetime is emitted in full;
    // after a longer pause only the last lifetime's births are made, the older ones being born
    // dead.
    for (const auto& [delta, count] : {std::pair{1.5f, 1536}, {2.0f, 2048}, {3600.0f, 2048}}) {
        auto scene = FreshScene();
        SimulateScene(*scene, delta, delta);
        EXPECT_EQ(scene->particleCount, count) << delta;
        EXPECT_EQ(scene->emissionClock, count / 1024.0 + (delta > 2 ? delta - 2 : 0)) << delta;
        for (int i = 0; i < scene->particleCount; ++i) {
            ASSERT_GT(scene->particles[i].life, 0) << i;
            ASSERT_TRUE(std::isfinite(scene->particles[i].position.x)) << i;
        }
        // Three births owed, in a frame of no length: made while the pool has room.
        scene->emissionClock -= 3.0 / 1024;
        SimulateScene(*scene, delta, 0);
        EXPECT_EQ(scene->particleCount, std::min(count + 3, 2048)) << delta;
    }
}

}  // namespace
