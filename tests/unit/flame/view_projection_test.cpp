#include <gtest/gtest.h>

#include <cmath>

#include "projection.h"
#include "scene.h"
#include "scene_fixture.h"

namespace {

TEST(UpdateView, ProjectsWhatLiesBeyondDepthOneAndHidesTheRestWhereItWas) {
    auto scene = UniformFlowScene();
    scene->particleCount = 1;
    Particle& p = scene->particles[0];
    const struct {
        Vector4 position;
        float size;
        bool shown;
        float x, y, radius;
    } cases[] = {
        {{0, 5, -2}, 0.3f, true, 0, -0.8f, 0.12f},  // the emitter's centre, in the starting view
        {{1, 2, 1}, -0.5f, true, 1, 1, -0.5f},      // a negative size gives negative radii
        {{1, 1, 1}, 0.3f, false, 1, 1, 0},          // exactly at depth 1: hidden where it was
        {{1, 4, 1}, 0.3f, true, 0.5f, 0.5f, 0.15f},
    };
    for (const auto& c : cases) {
        p.position = c.position;
        p.size = Vector4(c.size, c.size, c.size);
        UpdateView(*scene, 0);
        EXPECT_FLOAT_EQ(p.screenX, c.x) << c.position.y;
        EXPECT_FLOAT_EQ(p.screenY, c.y) << c.position.y;
        EXPECT_FLOAT_EQ(p.radiusX, c.radius) << c.position.y;
        if (c.shown) {
            EXPECT_FLOAT_EQ(p.radiusY, c.radius) << c.position.y;
        }
    }
}

TEST(UpdateView, TurnsAboutTheEmitterAndStopsWhileNotRotating) {
    auto scene = UniformFlowScene();
    scene->particles[0] = MakeParticle({1, 5, -2}, 1);  // right of the pivot line
    scene->particles[1] = MakeParticle({0, 5, -2}, 1);  // on it
    scene->particleCount = 2;
    UpdateView(*scene, 0.1f);
    const float turned = 0.62831855f * 0.1f;
    EXPECT_FLOAT_EQ(scene->view.viewAngle, turned);
    // Turned by the angle about the emitter's upright axis: the right one comes nearer first.
    const float x = std::cos(turned), depth = 5 - std::sin(turned);
    EXPECT_FLOAT_EQ(scene->particles[0].screenX, 2 * x / depth);
    EXPECT_FLOAT_EQ(scene->particles[0].screenY, 2 * -2 / depth);
    EXPECT_FLOAT_EQ(scene->particles[1].screenX, 0);
    EXPECT_FLOAT_EQ(scene->particles[1].screenY, -0.8f);

    scene->view.rotating = false;
    const float angle = scene->view.viewAngle;
    UpdateView(*scene, 5);
    EXPECT_EQ(scene->view.viewAngle, angle);
    scene->view.rotating = true;
    UpdateView(*scene, 0.5f);
    EXPECT_FLOAT_EQ(scene->view.viewAngle, angle + 0.62831855f * 0.5f);
}

TEST(UpdateView, TheAngleStaysWithinOneTurnAndKeepsItsResolutionOverHours) {
    auto scene = UniformFlowScene();
    const float dt = 1.0f / 64;
    const int frames = 64 * 3600 * 6;  // six hours
    for (int i = 0; i < frames; ++i) UpdateView(*scene, dt);
    const float angle = scene->view.viewAngle;
    EXPECT_TRUE(angle >= 0 && angle < 2 * M_PI) << angle;
    EXPECT_NEAR(std::remainder(angle - 0.62831855 * frames * dt, 2 * M_PI), 0, 0.05);
    UpdateView(*scene, dt);  // one more frame still turns by the full step
    EXPECT_NEAR(std::remainder(double{scene->view.viewAngle} - angle, 2 * M_PI), 0.62831855 * dt,
                1e-6);
}

TEST(Projection, HoldsTheFourThirdsRectangleAndShowsMoreAlongTheLongerSide) {
    const struct {
        int width, height;
        double right, top;
    } cases[] = {
        {1024, 768, 1.3333334, 1},        {1920, 1080, 1.7777778, 1},
        {1280, 1024, 4.0 / 3, 1.0666667}, {800, 0, 800, 1},  // a zero side counts as one pixel
        {0, 600, 4.0 / 3, 800},           {0, 0, 4.0 / 3, 4.0 / 3},
    };
    for (const auto& c : cases) {
        const ProjectionBounds b = ProjectionFor(AspectOf(c.width, c.height));
        EXPECT_FLOAT_EQ(static_cast<float>(b.right), static_cast<float>(c.right)) << c.width;
        EXPECT_FLOAT_EQ(static_cast<float>(b.top), static_cast<float>(c.top)) << c.width;
        EXPECT_EQ(b.left, -b.right);
        EXPECT_EQ(b.bottom, -b.top);
    }
}

}  // namespace
