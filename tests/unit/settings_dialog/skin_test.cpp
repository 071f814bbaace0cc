#include "skin.h"

#include <gtest/gtest.h>

namespace {

TEST(Skin, DialogGradientHasItsDocumentedRows) {
    const auto lines = SkinLines(SkinSurface::Dialog, 243);
    ASSERT_EQ(lines.size(), 244u);
    EXPECT_EQ(lines[0], (Rgb{0, 0, 30}));
    EXPECT_EQ(lines[121], (Rgb{220, 220, 250}));
    EXPECT_EQ(lines[122], (Rgb{220, 220, 250}));
    EXPECT_EQ(lines[242], (Rgb{3, 3, 33}));
    // Brighter towards the middle, darker towards the bottom.
    for (int y = 1; y <= 120; ++y) EXPECT_GE(lines[y].r, lines[y - 1].r) << y;
    for (int y = 123; y <= 243; ++y) EXPECT_LE(lines[y].r, lines[y - 1].r) << y;
}

TEST(Skin, PanelGradientIsGreyAndLifted) {
    const auto lines = SkinLines(SkinSurface::Panel, 165);
    ASSERT_EQ(lines.size(), 166u);
    EXPECT_EQ(lines[0], (Rgb{30, 30, 30}));
    EXPECT_EQ(lines[82], (Rgb{250, 250, 250}));
    EXPECT_EQ(lines[83], (Rgb{250, 250, 250}));
    for (const Rgb& line : lines) {
        EXPECT_EQ(line.r, line.g);
        EXPECT_EQ(line.g, line.b);
        EXPECT_GE(line.r, 30);
    }
}

TEST(Skin, HandlesDegenerateAndTallSurfaces) {
    EXPECT_TRUE(SkinLines(SkinSurface::Dialog, 0).empty());
    EXPECT_TRUE(SkinLines(SkinSurface::Panel, -5).empty());
    const auto one = SkinLines(SkinSurface::Dialog, 1);
    ASSERT_EQ(one.size(), 2u);
    EXPECT_EQ(one[0], (Rgb{0, 0, 30}));
    // Over a tall surface the values never leave 0..220 (+30).
    for (const Rgb& line : SkinLines(SkinSurface::Dialog, 5000)) EXPECT_LE(line.b, 250);
}

}  // namespace
