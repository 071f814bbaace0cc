#include <cmath>

#include "scene.h"

namespace {
constexpr float kFocalFactor = 2.0f;
constexpr double kFullTurn = 6.283185307179586;
}  // namespace

void UpdateView(Scene& scene, float dt) {
    ViewState& view = scene.view;
    if (view.rotating) {
        view.viewAngle += view.viewSpeed * dt;
        // Reduced after every whole turn, so that hours of turning keep full resolution.
        if (view.viewAngle >= kFullTurn) {
            view.viewAngle = static_cast<float>(std::fmod(double{view.viewAngle}, kFullTurn));
        }
    }

    const float cosine = std::cos(view.viewAngle);
    const float sine = std::sin(view.viewAngle);
    view.viewMatrix.rows[0] = Vector4(cosine, sine, 0);
    view.viewMatrix.rows[1] = Vector4(-sine, cosine, 0);
    view.viewMatrix.rows[2] = Vector4(0, 0, 1);
    view.viewOffset = kEmitterCentre - view.viewMatrix * kEmitterCentre;
    view.viewOffset.w = 1;

    for (int i = 0; i < scene.particleCount; ++i) {
        Particle& p = scene.particles[i];
        const Vector4 q = view.viewMatrix * p.position + view.viewOffset;
        if (q.y > 1) {
            p.screenX = kFocalFactor * q.x / q.y;
            p.screenY = kFocalFactor * q.z / q.y;
            p.radiusX = kFocalFactor * p.size.x / q.y;
            p.radiusY = kFocalFactor * p.size.z / q.y;
        } else {
            p.radiusX = 0;
        }
    }
}
