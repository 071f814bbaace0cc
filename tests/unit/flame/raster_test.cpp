#include "raster.h"

#include <gtest/gtest.h>

#include "scene_fixture.h"

namespace {

TEST(Canvas, BlendsSourceTimesAlphaOntoTheDestinationAndClamps) {
    Canvas canvas(4, 4);
    const Canvas::Vertex a{0, 0, 1, 0.5f, 0, 0.5f}, b{4, 0, 1, 0.5f, 0, 0.5f},
        c{0, 4, 1, 0.5f, 0, 0.5f};
    canvas.BlendTriangle(a, b, c);                       // the lower-left half
    const std::uint8_t* lowerLeft = canvas.Pixel(0, 3);  // top row first
    EXPECT_EQ(lowerLeft[0], 128);                        // 255 * 0.5
    EXPECT_EQ(lowerLeft[1], 64);                         // 128 * 0.5
    EXPECT_EQ(lowerLeft[2], 0);
    for (int i = 0; i < 3; ++i) canvas.BlendTriangle(a, b, c);
    EXPECT_EQ(canvas.Pixel(0, 3)[0], 255);  // clamped, not wrapped
    EXPECT_EQ(canvas.Pixel(0, 3)[1], 255);
    EXPECT_EQ(canvas.Pixel(3, 0)[0], 0);  // outside the triangle
}

TEST(Canvas, TrianglesSharingAnEdgeDrawItOnceWhateverItsDirection) {
    // Four rectangles meet at (4.5, 4.5), on a row and a column of pixel centres; each is cut
    // along a diagonal, once counter-clockwise and once clockwise. The lower left diagonal runs
    // through pixel centres too.
    Canvas canvas(8, 8);
    const float cuts[] = {0, 4.5f, 8};
    const auto v = [](float x, float y) { return Canvas::Vertex{x, y, 1, 0, 0, 0.5f}; };
    for (int i = 0; i < 2; ++i) {
        for (int j = 0; j < 2; ++j) {
            const float x0 = cuts[i], x1 = cuts[i + 1], y0 = cuts[j], y1 = cuts[j + 1];
            canvas.BlendTriangle(v(x0, y0), v(x1, y0), v(x1, y1));
            canvas.BlendTriangle(v(x0, y0), v(x0, y1), v(x1, y1));
        }
    }
    for (int row = 0; row < 8; ++row) {
        for (int x = 0; x < 8; ++x) ASSERT_EQ(canvas.Pixel(x, row)[0], 128) << x << "," << row;
    }
}

TEST(RasterizeParticles, DrawsAYellowCentreFadingToRedAndNoBlue) {
    auto scene = UniformFlowScene();
    scene->particles[0] = MakeParticle({0, 5, 0}, 1, 1.0f);
    scene->particles[0].alpha = 1;
    scene->particles[1] = MakeParticle({0, 0.5f, 0}, 1, 1.0f);  // behind the viewer: not drawn
    scene->particleCount = 2;
    UpdateView(*scene, 0);

    Canvas canvas(200, 150);
    RasterizeParticles(*scene, ProjectionFor(AspectOf(200, 150)), canvas);
    // Screen (0, 0) is the canvas centre; radius 0.4 of the half-height 1 is 30 pixels.
    const std::uint8_t* centre = canvas.Pixel(100, 75);
    EXPECT_GT(centre[0], 240);
    EXPECT_GT(centre[1], 230);
    const std::uint8_t* nearRim = canvas.Pixel(100 + 25, 75);
    EXPECT_GT(nearRim[0], nearRim[1]);
    EXPECT_EQ(canvas.Pixel(100 + 35, 75)[0], 0);
    EXPECT_EQ(canvas.Pixel(100, 75 - 35)[0], 0);
    for (int row = 0; row < 150; ++row) {
        for (int x = 0; x < 200; ++x) {
            ASSERT_EQ(canvas.Pixel(x, row)[2], 0);
            ASSERT_GE(canvas.Pixel(x, row)[0], canvas.Pixel(x, row)[1]);
        }
    }
}

}  // namespace
