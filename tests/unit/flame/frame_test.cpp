#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>

#include "flame.h"

namespace {

std::unique_ptr<Flame> StartedFlame() {
    auto flame = std::make_unique<Flame>();
    StartFlame(*flame);
    return flame;
}

TEST(StepFlame, FreezesAndResumesEveryFiveHundredFrames) {
    auto flame = StartedFlame();
    const float dt = 1.0f / 64;
    for (int i = 0; i < 500; ++i) StepFlame(*flame, dt);
    EXPECT_TRUE(flame->scene.running);
    EXPECT_EQ(flame->framesSinceToggle, 500);
    StepFlame(*flame, dt);  // frame 501 freezes
    EXPECT_FALSE(flame->scene.running);
    EXPECT_EQ(flame->framesSinceToggle, 1);
    for (int i = 0; i < 499; ++i) StepFlame(*flame, dt);
    EXPECT_FALSE(flame->scene.running);
    StepFlame(*flame, dt);  // frame 1001 resumes
    EXPECT_TRUE(flame->scene.running);
    EXPECT_EQ(flame->frameCount, 1001);
    EXPECT_EQ(flame->sceneTime, 1001 / 64.0);

    // Enter inverts the phase without restarting the count.
    for (int i = 0; i < 200; ++i) StepFlame(*flame, dt);
    OnChar(*flame, 13);
    EXPECT_FALSE(flame->scene.running);
    EXPECT_EQ(flame->framesSinceToggle, 201);
    for (int i = 0; i < 299; ++i) StepFlame(*flame, dt);
    EXPECT_FALSE(flame->scene.running);
    EXPECT_EQ(flame->framesSinceToggle, 500);
    StepFlame(*flame, dt);
    EXPECT_TRUE(flame->scene.running);
}

// Exact equality of everything a frame changes; the compared arrays hold floats only, no padding.
template <typename Array>
bool SameBytes(const Array& a, const Array& b) {
    return std::memcmp(a.data(), b.data(), sizeof a) == 0;
}

void ExpectSameFlame(const Flame& a, const Flame& b) {
    const Scene &x = a.scene, &y = b.scene;
    EXPECT_EQ(x.random.state, y.random.state);
    EXPECT_EQ(x.particleCount, y.particleCount);
    EXPECT_TRUE(SameBytes(x.particles, y.particles));
    EXPECT_TRUE(SameBytes(x.field.nodes, y.field.nodes));
    EXPECT_EQ(x.emissionClock, y.emissionClock);
    EXPECT_EQ(x.birthCount, y.birthCount);
    EXPECT_EQ(x.running, y.running);
    EXPECT_EQ(x.view.viewAngle, y.view.viewAngle);
    EXPECT_EQ(std::memcmp(&x.view.viewMatrix, &y.view.viewMatrix, sizeof(Matrix3)), 0);
    EXPECT_EQ(a.sceneTime, b.sceneTime);
    EXPECT_EQ(a.framesSinceToggle, b.framesSinceToggle);
}

// No hidden static state: a flame stepped in turn with another, which is given other keys, ends
// exactly where a flame stepped alone ends.
TEST(StepFlame, TwoFlamesSteppedInTurnMatchOneSteppedAlone) {
    auto alone = StartedFlame();
    for (int i = 0; i < 1100; ++i) StepFlame(*alone, 1.0f / 64 + i % 3 * 0.001f);
    auto first = StartedFlame();
    auto second = StartedFlame();
    OnChar(*second, 48);
    OnChar(*second, 32);
    for (int i = 0; i < 1100; ++i) {
        StepFlame(*first, 1.0f / 64 + i % 3 * 0.001f);
        StepFlame(*second, 1.0f / 50);
    }
    ExpectSameFlame(*first, *alone);
}

TEST(OnChar, FourKeysActAndEveryOtherCodeIsIgnored) {
    auto flame = StartedFlame();
    EXPECT_EQ(OnChar(*flame, 13), KeyAction::None);
    EXPECT_FALSE(flame->scene.running);
    EXPECT_EQ(OnChar(*flame, 32), KeyAction::None);
    EXPECT_FALSE(flame->scene.view.rotating);
    EXPECT_EQ(OnChar(*flame, 48), KeyAction::None);
    EXPECT_TRUE(flame->scene.fineField);
    EXPECT_EQ(OnChar(*flame, 27), KeyAction::Close);
    EXPECT_FALSE(flame->scene.running);

    for (unsigned code : {0u, 10u, 49u, 65u, 97u, 127u, 0x3042u}) {
        EXPECT_EQ(OnChar(*flame, code), KeyAction::None);
    }
    EXPECT_FALSE(flame->scene.running);
    EXPECT_FALSE(flame->scene.view.rotating);
    EXPECT_TRUE(flame->scene.fineField);

    OnChar(*flame, 13);
    OnChar(*flame, 32);
    OnChar(*flame, 48);
    EXPECT_TRUE(flame->scene.running);
    EXPECT_TRUE(flame->scene.view.rotating);
    EXPECT_FALSE(flame->scene.fineField);
}

bool AllFinite(const Scene& scene) {
    for (int i = 0; i < scene.particleCount; ++i) {
        const Particle& p = scene.particles[i];
        for (float v : {p.position.x, p.position.y, p.position.z, p.alpha, p.life, p.screenX,
                        p.screenY, p.radiusX, p.radiusY}) {
            if (!std::isfinite(v)) return false;
        }
    }
    for (const FlowNode& node : scene.field.nodes) {
        if (!std::isfinite(node.flow.Dot(node.flow)) || !std::isfinite(node.rate.Dot(node.rate))) {
            return false;
        }
    }
    return true;
}

int Visible(const Scene& scene) {
    int visible = 0;
    for (int i = 0; i < scene.particleCount; ++i) visible += scene.particles[i].radiusX != 0;
    return visible;
}

TEST(StepFlame, TheFlameComesBackAfterAnyPause) {
    for (float pause : {0.5f, 29.0f, 600.0f, 3600.0f, 86400.0f}) {
        auto flame = StartedFlame();
        for (int i = 0; i < 100; ++i) StepFlame(*flame, 1.0f / 64);
        StepFlame(*flame, pause);
        for (int i = 0; i < 128; ++i) StepFlame(*flame, 1.0f / 64);  // two seconds
        EXPECT_TRUE(AllFinite(flame->scene)) << pause;
        EXPECT_GT(flame->scene.particleCount, 1900) << pause;
        // How many are in front of the viewer depends on the view angle; a third is well below
        // what a flame that never paused shows at its least favourable angle.
        EXPECT_GT(Visible(flame->scene), flame->scene.particleCount / 3) << pause;
    }

    auto slow = StartedFlame();
    for (int i = 0; i < 400; ++i) StepFlame(*slow, 0.5f);  // a steady two frames per second
    EXPECT_TRUE(AllFinite(slow->scene));
    EXPECT_GT(Visible(slow->scene), 0);
}

}  // namespace
