#include <gtest/gtest.h>

#include <cmath>

#include "projection.h"
#include "scene.h"
#include "scene_fixture.h"

namespace {

TEST(UpdateView, AtTheStartTheViewIsTheIdentity) {
    auto scene = StillAirScene();
    scene->particles[0] = MakeParticle({0, 5, -2}, 1, 0.3f);
    scene->particleCount = 1;
    UpdateView(*scene, 0);
    const Particle& p = scene->particles[0];
    EXPECT_FLOAT_EQ(p.screenX, 0);
    EXPECT_FLOAT_EQ(p.screenY, -0.8f);
    EXPECT_FLOAT_EQ(p.radiusX, 0.4f * 0.3f);
    EXPECT_FLOAT_EQ(p.radiusY, 0.4f * 0.3f);
}

TEST(UpdateView, ParticlesAtDepthOneOrLessAreHiddenAndKeepTheirOldScreenPlace) {
    auto scene = StillAirScene();
    scene->particles[0] = MakeParticle({1, 1.0001f, 1}, 1);
    scene->particles[1] = MakeParticle({1, 2, 1}, 1, -0.5f);
    scene->particleCount = 2;
    UpdateView(*scene, 0);
    EXPECT_NE(scene->particles[0].radiusX, 0);
    const float oldX = scene->particles[0].screenX;

    scene->particles[0].position.y = 1;  // exactly at depth 1
    UpdateView(*scene, 0);
    EXPECT_EQ(scene->particles[0].radiusX, 0);
    EXPECT_EQ(scene->particles[0].screenX, oldX);

    scene->particles[0].position.y = 4;  // visible again, with fresh screen fields
    UpdateView(*scene, 0);
    EXPECT_FLOAT_EQ(scene->particles[0].screenX, 0.5f);

    // A negative size gives negative radii.
    EXPECT_FLOAT_EQ(scene->particles[1].radiusX, -0.5f);
    EXPECT_FLOAT_EQ(scene->particles[1].radiusY, -0.5f);
}

TEST(UpdateView, TurnsAboutTheEmitterAndStopsWhileNotRotating) {
    auto scene = StillAirScene();
    scene->particles[0] = MakeParticle({1, 5, -2}, 1);  // right of the pivot line
    scene->particles[1] = MakeParticle({0, 5, -2}, 1);  // on it
    scene->particleCount = 2;
    UpdateView(*scene, 0.1f);
    EXPECT_FLOAT_EQ(scene->view.viewAngle, 0.62831855f * 0.1f);
    const Vector4 q =
        scene->view.viewMatrix * scene->particles[0].position + scene->view.viewOffset;
    EXPECT_LT(q.y, 5);  // moves towards the viewer first
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

TEST(UpdateView, TheAngleKeepsItsResolutionOverHours) {
    auto scene = StillAirScene();
    const float dt = 1.0f / 64;
    const int frames = 64 * 3600 * 6;  // six hours
    for (int i = 0; i < frames; ++i) UpdateView(*scene, dt);
    const double turned = std::fmod(0.62831855 * frames * dt, 2 * M_PI);
    EXPECT_GE(scene->view.viewAngle, 0);
    EXPECT_LT(scene->view.viewAngle, 2 * M_PI);
    EXPECT_NEAR(std::remainder(scene->view.viewAngle - turned, 2 * M_PI), 0, 0.05);
    // One more frame still turns by the full step.
    const float before = scene->view.viewAngle;
    UpdateView(*scene, dt);
    const double step = std::remainder(double{scene->view.viewAngle} - before, 2 * M_PI);
    EXPECT_NEAR(step, 0.62831855 * dt, 1e-6);
}

TEST(Projection, FollowsTheAspectWithTheFourThirdsRule) {
    const ProjectionBounds fourThirds = ProjectionFor(AspectOf(1024, 768));  // first rule
    EXPECT_FLOAT_EQ(static_cast<float>(fourThirds.left), -1.3333334f);
    EXPECT_FLOAT_EQ(static_cast<float>(fourThirds.right), 1.3333334f);
    EXPECT_EQ(fourThirds.bottom, -1);
    EXPECT_EQ(fourThirds.top, 1);

    const ProjectionBounds wide = ProjectionFor(AspectOf(1920, 1080));
    EXPECT_FLOAT_EQ(static_cast<float>(wide.right), 1.7777778f);
    EXPECT_EQ(wide.top, 1);

    const ProjectionBounds narrow = ProjectionFor(AspectOf(1280, 1024));
    EXPECT_DOUBLE_EQ(narrow.left, -4.0 / 3);
    EXPECT_DOUBLE_EQ(narrow.right, 4.0 / 3);
    EXPECT_FLOAT_EQ(static_cast<float>(narrow.bottom), -1.0666667f);
    EXPECT_FLOAT_EQ(static_cast<float>(narrow.top), 1.0666667f);

    for (const auto& [w, h] : {std::pair{800, 0}, std::pair{0, 600}, std::pair{0, 0}}) {
        const ProjectionBounds b = ProjectionFor(AspectOf(w, h));
        EXPECT_TRUE(std::isfinite(b.left) && std::isfinite(b.right) && std::isfinite(b.bottom) &&
                    std::isfinite(b.top));
        EXPECT_LT(b.left, b.right);
        EXPECT_LT(b.bottom, b.top);
    }
}

}  // namespace
