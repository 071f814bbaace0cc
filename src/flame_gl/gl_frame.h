#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "draw_path.h"
#include "flame.h"
#include "frame_clock.h"
#include "monitor_placement.h"

// The flame as an OpenGL window shows it: the scene, the client area and its projection, and
// the clock. Shared by the Windows and the X11 shell; one static instance per program.
//
// What a shell does with its FlameRenderer, in this order:
//   1. clock.Start(ticksPerSecond, now), before the window shows;
//   2. SetClientSize on the first size and on every change;
//   3. InitGL once the GL context is current;
//   4. per frame: RenderTimedFrame (or RenderFrame with a fixed delta), then swap buffers;
//   5. keys and window events go through HandleShellEvent; Quit ends the loop.
struct FlameRenderer {
    Flame flame;
    int clientWidth = 0, clientHeight = 0;
    // Where in the client area the flame is drawn (one monitor of several); none: all of it.
    std::optional<Viewport> flameViewport;
    float lastAspect = 0;
    DrawPath drawPath = DrawPath::VertexArrays;
    FrameClock clock;
};

// The part of the client area that the flame is drawn in.
Viewport FlameViewport(const FlameRenderer& renderer);

// glViewport over the flame's part of the client area; a height of 0 counts as 1.
void ResizeViewport(const FlameRenderer& renderer);

// Records the new client size and fits the viewport to it.
void SetClientSize(FlameRenderer& renderer, int width, int height);

// The 2-D projection for a width-over-height ratio (see ProjectionFor).
void ApplyProjection(float aspect);

// Projection, additive blending and a fresh scene, once the context is current.
bool InitGL(FlameRenderer& renderer);

// One frame into the current buffer: projection follow-up, simulation step, clear, particles.
void RenderFrame(FlameRenderer& renderer, float frameDelta);

// A frame timed by the renderer's clock; `nowTicks` is in the clock's units.
void RenderTimedFrame(FlameRenderer& renderer, std::int64_t nowTicks);

// The drawing buffer's pixels as 8-bit RGB, top row first.
std::vector<std::uint8_t> ReadFramePixels(int width, int height);
