#include "flame.h"

void StartFlame(Flame& flame) {
    flame.sceneTime = 0;
    ResetScene(flame.scene);
}

void StepFlame(Flame& flame, float frameDelta) {
    if (flame.framesSinceToggle >= kFramesPerToggle) {
        flame.scene.running = !flame.scene.running;
        flame.framesSinceToggle = 0;
    }
    flame.sceneTime += frameDelta;
    SimulateScene(flame.scene, flame.sceneTime, frameDelta);
    ++flame.framesSinceToggle;
    ++flame.frameCount;
}

KeyAction OnChar(Flame& flame, unsigned code) {
    switch (code) {
        case 13:
            flame.scene.running = !flame.scene.running;
            return KeyAction::None;
        case 27:
            return KeyAction::Close;
        case 32:
            flame.scene.view.rotating = !flame.scene.view.rotating;
            return KeyAction::None;
        case 48:
            flame.scene.fineField = !flame.scene.fineField;
            return KeyAction::None;
        default:
            return KeyAction::None;
    }
}
