#pragma once

#include <array>
#include <cstdint>

#include "flow_field.h"
#include "random.h"
#include "vector.h"

struct Particle {
    Vector4 position;
    Vector4 size;  // x, y and z hold the same value, which may be negative
    float alpha = 0;
    float life = 0;
    float screenX = 0, screenY = 0;
    float radiusX = 0, radiusY = 0;  // radiusX == 0: not drawn this frame
};

struct ViewState {
    bool rotating = true;
    float viewAngle = 0;  // kept within [0, 2 pi) so that it never loses resolution
    float viewSpeed = 0.62831855f;
    Matrix3 viewMatrix;
    Vector4 viewOffset{0, 0, 0};
};

inline constexpr int kParticleCapacity = 2048;
inline constexpr double kEmissionInterval = 1.0 / 1024.0;
inline constexpr double kParticleLifetime = 2.0;
inline constexpr Vector4 kEmitterCentre{0, 5, -2};

// The whole flame: generator, flow field, particle pool and view. A program holds one; a fresh
// one is in the state of process start.
struct Scene {
    RandomGenerator random;
    FlowField field;
    std::array<Particle, kParticleCapacity> particles{};
    int particleCount = 0;
    // Both clocks are double: in single precision the 1/1024 s emission step is lost after
    // 16384 s, and a screen saver runs all night.
    double emissionClock = 0;
    bool running = true;
    bool fineField = false;
    std::uint32_t birthCount = 0;
    ViewState view;
};

void ResetScene(Scene& scene);
float GaussianRandom(RandomGenerator& generator, double sigma);
void SimulateScene(Scene& scene, double sceneTime, float dt);
void UpdateView(Scene& scene, float dt);
