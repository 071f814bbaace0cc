#include <cmath>

#include "scene.h"

namespace {

constexpr Vector4 kEmitterAxisX{2, 0, 0};
constexpr Vector4 kEmitterAxisY{0, 2, 0};
constexpr Vector4 kEmitterAxisZ{0, 0, 2};
constexpr Vector4 kWind{0, 2, 5};
constexpr float kRemovalThreshold = 3.0517578125e-5f;  // 2^-15 s
constexpr float kInitialAlpha = 0.35f;
constexpr double kFadePerSecond = 0.2;
constexpr float kBaseSize = 0.3f;
constexpr float kLargeFactor = 8.0f;
constexpr double kPositionSigma = 0.25;
constexpr double kSizeSigma = 0.2;

void Advect(const Scene& scene, Vector4& point, float scale) {
    if (scene.fineField) {
        AdvectFine(scene.field, point, scale);
    } else {
        AdvectCoarse(scene.field, point, scale);
    }
}

void UpdateParticles(Scene& scene, float dt, float decay) {
    int i = 0;
    while (i < scene.particleCount) {
        Particle& p = scene.particles[i];
        p.life -= dt;
        if (!(p.life > kRemovalThreshold)) {
            --scene.particleCount;
            p = scene.particles[scene.particleCount];
            continue;
        }
        p.position += kWind * dt;
        Advect(scene, p.position, dt);
        p.alpha *= decay;
        ++i;
    }
}

void EmitParticles(Scene& scene, double sceneTime) {
    // A backlog older than a lifetime would only produce particles that are born dead (after the
    // machine slept under the saver, say); skip it in whole emission steps.
    const double backlog = sceneTime - scene.emissionClock;
    if (backlog > kParticleLifetime) {
        scene.emissionClock +=
            std::floor((backlog - kParticleLifetime) / kEmissionInterval) * kEmissionInterval;
    }

    while (scene.particleCount < kParticleCapacity &&
           sceneTime - scene.emissionClock >= kEmissionInterval) {
        scene.emissionClock += kEmissionInterval;
        Particle& p = scene.particles[scene.particleCount++];

        const float g1 = GaussianRandom(scene.random, kPositionSigma);
        const float g2 = GaussianRandom(scene.random, kPositionSigma);
        const float g3 = GaussianRandom(scene.random, kPositionSigma);
        p.position =
            ((kEmitterCentre + kEmitterAxisX * g3) + kEmitterAxisY * g2) + kEmitterAxisZ * g1;
        p.position.w = 1;

        const double age = sceneTime - scene.emissionClock;
        Advect(scene, p.position, static_cast<float>(age));
        p.life = static_cast<float>(scene.emissionClock + kParticleLifetime - sceneTime);
        p.alpha = kInitialAlpha * static_cast<float>(std::pow(kFadePerSecond, age));
        p.size = Vector4(kBaseSize, kBaseSize, kBaseSize);
        if (scene.birthCount % 8 == 0) {
            p.size *= kLargeFactor;
            p.alpha *= 0.5f;
        }
        p.size *= GaussianRandom(scene.random, kSizeSigma);
        ++scene.birthCount;
    }
}

}  // namespace

void ResetScene(Scene& scene) {
    scene.particleCount = 0;
    scene.emissionClock = 0;
    scene.running = true;
    scene.view.rotating = true;
    scene.view.viewSpeed = 0.62831855f;
    scene.view.viewAngle = 0;
    BuildFlowField(scene.field, scene.random);
}

float GaussianRandom(RandomGenerator& generator, double sigma) {
    double u, v, s;
    do {
        u = NextRandom(generator) * (2.0 / 32767.0) - 1.0;
        v = NextRandom(generator) * (2.0 / 32767.0) - 1.0;
        s = v * v + u * u;
    } while (s >= 1.0 || s == 0.0);
    return static_cast<float>(u * std::sqrt(-2.0 * std::log(s) / s) * sigma);
}

void SimulateScene(Scene& scene, double sceneTime, float dt) {
    const float decay = static_cast<float>(std::pow(kFadePerSecond, static_cast<double>(dt)));
    if (scene.running) {
        RelaxFlowField(scene.field, dt);
        UpdateParticles(scene, dt, decay);
        EmitParticles(scene, sceneTime);
    } else {
        scene.emissionClock += dt;
    }
    UpdateView(scene, dt);
}
