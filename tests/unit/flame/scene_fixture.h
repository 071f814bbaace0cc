#pragma once

#include <memory>

#include "scene.h"

inline std::unique_ptr<Scene> FreshScene() {
    auto scene = std::make_unique<Scene>();
    ResetScene(*scene);
    return scene;
}

// A reset scene whose flow is the same everywhere, so that relaxing leaves it as it is; in still
// air (all zero) particles move by the wind alone.
inline std::unique_ptr<Scene> UniformFlowScene(Vector4 flow = {0, 0, 0, 0}) {
    auto scene = FreshScene();
    for (FlowNode& node : scene->field.nodes) node = FlowNode{.flow = flow};
    return scene;
}

inline Particle MakeParticle(Vector4 position, float life, float size = 0.3f) {
    Particle p;
    p.position = position;
    p.size = Vector4(size, size, size);
    p.alpha = 0.35f;
    p.life = life;
    return p;
}
