#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "flame.h"

namespace {

std::unique_ptr<Flame> StartedFlame() {
    auto flame = std::make_unique<Flame>();
    StartFlame(*flame);
    return flame;
}

TEST(StepFlame, FreezesAndResumesEveryFiveHundredFramesAndEnterInvertsThePhase) {
    auto flame = StartedFlame();
    auto field = std::make_unique<FlowField>();  // started: the field is built
    RandomGenerator generator;
    BuildFlowField(*field, generator);
    EXPECT_EQ(flame->scene.field.nodes[9].flow.y, field->nodes[9].flow.y);
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
