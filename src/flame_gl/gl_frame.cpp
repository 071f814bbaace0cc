#include "gl_frame.h"

#include <algorithm>

#include "gl_draw.h"
#include "gl_headers.h"
#include "projection.h"

Viewport FlameViewport(const FlameRenderer& renderer) {
    return renderer.flameViewport.value_or(
        Viewport{.width = renderer.clientWidth, .height = renderer.clientHeight});
}

void ResizeViewport(const FlameRenderer& renderer) {
    const Viewport viewport = FlameViewport(renderer);
    glViewport(viewport.x, viewport.y, viewport.width, viewport.height == 0 ? 1 : viewport.height);
}

void SetClientSize(FlameRenderer& renderer, int width, int height) {
    renderer.clientWidth = width;
    renderer.clientHeight = height;
    ResizeViewport(renderer);
}

namespace {

float FlameAspect(const FlameRenderer& renderer) {
    const Viewport viewport = FlameViewport(renderer);
    return AspectOf(viewport.width, viewport.height);
}

}  // namespace

void ApplyProjection(float aspect) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const ProjectionBounds bounds = ProjectionFor(aspect);
    gluOrtho2D(bounds.left, bounds.right, bounds.bottom, bounds.top);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

bool InitGL(FlameRenderer& renderer) {
    renderer.lastAspect = FlameAspect(renderer);
    ApplyProjection(renderer.lastAspect);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    StartFlame(renderer.flame);
    return true;
}

void RenderFrame(FlameRenderer& renderer, float frameDelta) {
    const float aspect = FlameAspect(renderer);
    if (aspect != renderer.lastAspect) {
        ApplyProjection(aspect);
        renderer.lastAspect = aspect;
    }
    StepFlame(renderer.flame, frameDelta);
    glClear(GL_COLOR_BUFFER_BIT);
    DrawParticles(renderer.flame.scene, renderer.drawPath);
}

void RenderTimedFrame(FlameRenderer& renderer, std::int64_t nowTicks) {
    RenderFrame(renderer, renderer.clock.Tick(nowTicks));
}

std::vector<std::uint8_t> ReadFramePixels(int width, int height) {
    const size_t row = static_cast<size_t>(3) * width;
    std::vector<std::uint8_t> bottomUp(row * height);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    std::vector<std::uint8_t> topDown(bottomUp.size());
    for (int y = 0; y < height; ++y) {
        std::copy_n(&bottomUp[row * (height - 1 - y)], row, &topDown[row * y]);
    }
    return topDown;
}
