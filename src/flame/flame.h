#pragma once

#include "scene.h"

// The renderer's frame-by-frame state around the scene: the scene clock and the automatic
// freeze toggle. One instance per program; a fresh one is in the state of process start.
struct Flame {
    Scene scene;
    double sceneTime = 0;  // double for the same reason as the emission clock
    int framesSinceToggle = 0;
    long long frameCount = 0;
};

inline constexpr int kFramesPerToggle = 500;

// Sets the scene up as the renderer does once its drawing surface is ready.
void StartFlame(Flame& flame);

// One frame's simulation: the automatic freeze toggle, the scene clock, the scene step.
void StepFlame(Flame& flame, float frameDelta);

enum class KeyAction { None, Close };

// The keyboard commands: Enter freezes or resumes, Space stops or resumes the turning, the digit
// 0 switches the field sampling, Esc asks to close. Other codes do nothing.
KeyAction OnChar(Flame& flame, unsigned code);
