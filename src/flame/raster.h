#pragma once

#include <cstdint>
#include <vector>

#include "projection.h"
#include "scene.h"

// An 8-bit RGB picture, top row first, drawn into the way the OpenGL renderer draws: smooth
// shaded triangles blended as source x alpha + destination, clamped.
class Canvas {
  public:
    Canvas(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    const std::vector<std::uint8_t>& Pixels() const { return pixels_; }
    const std::uint8_t* Pixel(int x, int row) const { return &pixels_[3 * (row * width_ + x)]; }

    // Window coordinates with the origin at the lower left, as OpenGL's; colours are RGBA.
    struct Vertex {
        float x, y;
        float r, g, b, a;
    };
    void BlendTriangle(const Vertex& v0, const Vertex& v1, const Vertex& v2);

  private:
    void BlendPixel(int x, int y, float r, float g, float b, float a);

    int width_, height_;
    std::vector<std::uint8_t> pixels_;
};

// Draws every visible particle of the scene as the OpenGL renderer does, with the projection
// bounds mapped onto the whole canvas.
void RasterizeParticles(const Scene& scene, const ProjectionBounds& bounds, Canvas& canvas);
