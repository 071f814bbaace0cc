#include "raster.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

#include "scene_fixture.h"

namespace {

TEST(Canvas, BlendsSourceTimesAlphaOntoTheDestinationClampedAndClipped) {
    // A triangle over the canvas and beyond its sides, covering the pixel centres with
    // x + y < 6.6: all but the upper right pixel. Its red beyond 1 counts as 1.
    Canvas canvas(4, 4);
    const Canvas::Vertex a{10.6f, -4, 2, 0.5f, 0.25f, 0.5f}, b{-4, 10.6f, 2, 0.5f, 0.25f, 0.5f},
        c{-4, -4, 2, 0.5f, 0.25f, 0.5f};
    canvas.BlendTriangle(a, b, c);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            const std::uint8_t* pixel = canvas.Pixel(x, 3 - y);  // top row first
            const bool inside = x + y <= 5;
            EXPECT_EQ(pixel[0], inside ? 128 : 0) << x << "," << y;  // 255 * 0.5
            EXPECT_EQ(pixel[1], inside ? 64 : 0) << x << "," << y;   // 128 * 0.5
            EXPECT_EQ(pixel[2], inside ? 32 : 0) << x << "," << y;   // 64 * 0.5
        }
    }
    for (int i = 0; i < 3; ++i) canvas.BlendTriangle(a, b, c);
    EXPECT_EQ(canvas.Pixel(0, 3)[0], 255);  // clamped, not wrapped
    EXPECT_EQ(canvas.Pixel(0, 3)[1], 255);
    EXPECT_EQ(canvas.Pixel(0, 3)[2], 128);
}

TEST(Canvas, TrianglesSharingAnEdgeDrawItOnceWhateverItsDirection) {
    // Four rectangles meet at (4.5, 4.5), on a row and a column of pixel centres; each is cut
    // along a diagonal, once counter-clockwise and once clockwise. The lower left diagonal runs
    // through pixel centres too.
    Canvas canvas(8, 8);
    const float cuts[] = {0, 4.5f, 8};
    const auto v = [](float x, float y) { return Canvas::Vertex{x, y, 0, 1, 0, 0.5f}; };
    for (int i = 0; i < 2; ++i) {
        for (int j = 0; j < 2; ++j) {
            const float x0 = cuts[i], x1 = cuts[i + 1], y0 = cuts[j], y1 = cuts[j + 1];
            canvas.BlendTriangle(v(x0, y0), v(x1, y0), v(x1, y1));
            canvas.BlendTriangle(v(x0, y0), v(x0, y1), v(x1, y1));
        }
    }
    for (int row = 0; row < 8; ++row) {
        for (int x = 0; x < 8; ++x) {
            ASSERT_EQ(canvas.Pixel(x, row)[0], 0) << x << "," << row;
            ASSERT_EQ(canvas.Pixel(x, row)[1], 128) << x << "," << row;
        }
    }
}

TEST(RasterizeParticles, DrawsAHexagonFromAYellowCentreFadingToNothingAtItsRim) {
    auto scene = UniformFlowScene();
    scene->particles[0] = MakeParticle({0, 2, 0}, 1, 1.0f);
    scene->particles[0].alpha = 1;
    scene->particles[1] = MakeParticle({0, 0.5f, 0}, 1, 1.0f);  // behind the viewer: not drawn
    scene->particleCount = 2;
    UpdateView(*scene, 0);
    scene->particles[2] = scene->particles[0];  // beyond the count: a dead one, not drawn
    scene->particles[2].screenX = 1;

    Canvas canvas(200, 150);
    RasterizeParticles(*scene, ProjectionFor(AspectOf(200, 150)), canvas);
    // Screen (0, 0) is the canvas centre; radius 1, the half-height, is 75 pixels.
    EXPECT_GT(canvas.Pixel(100, 75)[0], 240);
    EXPECT_GT(canvas.Pixel(100, 75)[1], 230);
    for (const auto& [x, row] : {std::pair{176, 75}, {24, 75}, {100, 9}, {100, 141}}) {
        EXPECT_EQ(canvas.Pixel(x, row)[0], 0) << x << "," << row;  // outside the hexagon
    }
    // Red falls off linearly with the alpha, so all of it is a pyramid over the hexagon: a third
    // of its area (3 x 75 x 75 sin 60) times 255. Green falls off with the alpha and its own
    // value, half that.
    double red = 0, green = 0;
    for (int row = 0; row < 150; ++row) {
        for (int x = 0; x < 200; ++x) {
            red += canvas.Pixel(x, row)[0];
            green += canvas.Pixel(x, row)[1];
            ASSERT_EQ(canvas.Pixel(x, row)[2], 0);
        }
    }
    const double area = 3 * 75 * 75 * std::sqrt(0.75);
    EXPECT_NEAR(red, 255 * area / 3, area);  // within one unit of rounding per pixel
    EXPECT_NEAR(green, 255 * area / 6, area);
}

}  // namespace
