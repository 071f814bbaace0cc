#include "raster.h"

#include <algorithm>
#include <cmath>

#include "hexagon.h"

namespace {

// Vertices snap to 1/256 of a pixel, as a hardware rasterizer's sub-pixel grid does; the edge
// tests are then exact integer arithmetic.
constexpr float kSubPixels = 256.0f;

struct SnappedPoint {
    long long x, y;
};

SnappedPoint Snap(float x, float y) {
    return {std::llround(x * kSubPixels), std::llround(y * kSubPixels)};
}

long long EdgeValue(SnappedPoint a, SnappedPoint b, long long px, long long py) {
    return (b.x - a.x) * (py - a.y) - (b.y - a.y) * (px - a.x);
}

// Counter-clockwise triangles with y up: a pixel centre on an edge belongs to the triangle only
// for its left and top edges, so that shared edges are drawn once.
bool OwnsEdge(SnappedPoint a, SnappedPoint b) {
    return b.y < a.y || (b.y == a.y && b.x < a.x);
}

std::uint8_t ToByte(float value) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
}

}  // namespace

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<size_t>(3) * width * height, 0) {}

void Canvas::BlendPixel(int x, int y, float r, float g, float b, float a) {
    std::uint8_t* pixel = &pixels_[3 * ((height_ - 1 - y) * width_ + x)];
    const unsigned alpha = ToByte(a);
    const float source[3] = {r, g, b};
    for (int c = 0; c < 3; ++c) {
        const unsigned added = (ToByte(source[c]) * alpha + 127) / 255;
        pixel[c] = static_cast<std::uint8_t>(std::min(255u, pixel[c] + added));
    }
}

void Canvas::BlendTriangle(const Vertex& v0, const Vertex& v1, const Vertex& v2) {
    const Vertex* v[3] = {&v0, &v1, &v2};
    SnappedPoint p[3] = {Snap(v0.x, v0.y), Snap(v1.x, v1.y), Snap(v2.x, v2.y)};
    long long area = EdgeValue(p[0], p[1], p[2].x, p[2].y);
    if (area == 0) return;
    if (area < 0) {
        std::swap(p[1], p[2]);
        std::swap(v[1], v[2]);
        area = -area;
    }

    const long long sub = static_cast<long long>(kSubPixels);
    const long long half = sub / 2;
    const long long minX = std::min({p[0].x, p[1].x, p[2].x});
    const long long maxX = std::max({p[0].x, p[1].x, p[2].x});
    const long long minY = std::min({p[0].y, p[1].y, p[2].y});
    const long long maxY = std::max({p[0].y, p[1].y, p[2].y});
    const int x0 = static_cast<int>(std::max<long long>(0, (minX - half) / sub));
    const int x1 = static_cast<int>(std::min<long long>(width_ - 1, (maxX - half) / sub + 1));
    const int y0 = static_cast<int>(std::max<long long>(0, (minY - half) / sub));
    const int y1 = static_cast<int>(std::min<long long>(height_ - 1, (maxY - half) / sub + 1));

    const bool owns[3] = {OwnsEdge(p[1], p[2]), OwnsEdge(p[2], p[0]), OwnsEdge(p[0], p[1])};
    for (int y = y0; y <= y1; ++y) {
        const long long cy = y * sub + half;
        for (int x = x0; x <= x1; ++x) {
            const long long cx = x * sub + half;
            const long long w[3] = {EdgeValue(p[1], p[2], cx, cy), EdgeValue(p[2], p[0], cx, cy),
                                    EdgeValue(p[0], p[1], cx, cy)};
            bool inside = true;
            for (int e = 0; e < 3 && inside; ++e) inside = w[e] > 0 || (w[e] == 0 && owns[e]);
            if (!inside) continue;

            float colour[4] = {0, 0, 0, 0};
            for (int k = 0; k < 3; ++k) {
                const float weight = static_cast<float>(w[k]) / static_cast<float>(area);
                colour[0] += weight * v[k]->r;
                colour[1] += weight * v[k]->g;
                colour[2] += weight * v[k]->b;
                colour[3] += weight * v[k]->a;
            }
            BlendPixel(x, y, colour[0], colour[1], colour[2], colour[3]);
        }
    }
}

void RasterizeParticles(const Scene& scene, const ProjectionBounds& bounds, Canvas& canvas) {
    const float scaleX = static_cast<float>(canvas.Width() / (bounds.right - bounds.left));
    const float scaleY = static_cast<float>(canvas.Height() / (bounds.top - bounds.bottom));
    const float left = static_cast<float>(bounds.left);
    const float bottom = static_cast<float>(bounds.bottom);

    for (int i = 0; i < scene.particleCount; ++i) {
        const Particle& particle = scene.particles[i];
        if (particle.radiusX == 0) continue;
        const Canvas::Vertex centre{(particle.screenX - left) * scaleX,
                                    (particle.screenY - bottom) * scaleY,
                                    1,
                                    1,
                                    0,
                                    particle.alpha};
        const auto rim =
            HexagonRim(particle.screenX, particle.screenY, particle.radiusX, particle.radiusY);
        for (int k = 0; k + 1 < kHexagonRimPoints; ++k) {
            const Canvas::Vertex a{
                (rim[k].x - left) * scaleX, (rim[k].y - bottom) * scaleY, 1, 0, 0, 0};
            const Canvas::Vertex b{
                (rim[k + 1].x - left) * scaleX, (rim[k + 1].y - bottom) * scaleY, 1, 0, 0, 0};
            canvas.BlendTriangle(centre, a, b);
        }
    }
}
