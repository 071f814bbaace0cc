#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "flame.h"
#include "scene_fixture.h"

namespace {

std::unique_ptr<Flame> StartedFlame() {
    auto flame = std::make_unique<Flame>();
    StartFlame(*flame);
    return flame;
}

TEST(StepFlame, FreezesAndResumesEveryFiveHundredFramesAndEnterInvertsThePhase) {
    auto flame = StartedFlame();
    EXPECT_EQ(flame->scene.field.nodes[9].flow.y, FreshScene()->field.nodes[9].flow.y);
    const auto stepTo = [&](long long frame) {
        while (flame->frameCount < frame) StepFlame(*flame, 1.0f / 64);
    };
    // (frame, running after it): the toggle comes before frames 501, 1001 and so on. Enter after
    // frame 1201 inverts the phase without restarting the count.
    const std::pair<int, bool> checks[] = {{500, true},  {501, false},  {1000, false},
                                           {1001, true}, {1201, false}, {1500, false},
                                           {1501, true}};
    for (const auto& [frame, running] : checks) {
        stepTo(frame);
        if (frame == 1201) OnChar(*flame, 13);
        EXPECT_EQ(flame->scene.running, running) << frame;
    }
    EXPECT_EQ(flame->sceneTime, 1501 / 64.0);
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
    const Scene& scene = flame->scene;
    const struct {
        unsigned code;
        KeyAction action;
        bool running, rotating, fineField;
    } presses[] = {
        {13, KeyAction::None, false, true, false},     {32, KeyAction::None, false, false, false},
        {48, KeyAction::None, false, false, true},     {27, KeyAction::Close, false, false, true},
        {0, KeyAction::None, false, false, true},      {49, KeyAction::None, false, false, true},
        {0x3042, KeyAction::None, false, false, true}, {13, KeyAction::None, true, false, true},
        {32, KeyAction::None, true, true, true},       {48, KeyAction::None, true, true, false},
    };
    for (const auto& p : presses) {
        EXPECT_EQ(OnChar(*flame, p.code), p.action) << p.code;
        EXPECT_EQ(scene.running, p.running) << p.code;
        EXPECT_EQ(scene.view.rotating, p.rotating) << p.code;
        EXPECT_EQ(scene.fineField, p.fineField) << p.code;
    }
}

}  // namespace
