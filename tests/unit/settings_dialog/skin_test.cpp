#include "skin.h"

#include <gtest/gtest.h>

namespace {

TEST(Skin, LinesFollowHalfASineFromEdgeToEdge) {
    struct Row {
        SkinSurface surface;
        int height, y;
        Rgb expected;
    };
    const Row rows[] = {
        {SkinSurface::Dialog, 243, 0, {0, 0, 30}},
        {SkinSurface::Dialog, 243, 121, {220, 220, 250}},
        {SkinSurface::Dialog, 243, 122, {220, 220, 250}},
        {SkinSurface::Dialog, 243, 242, {3, 3, 33}},
        {SkinSurface::Dialog, 243, 243, {0, 0, 30}},
        {SkinSurface::Dialog, 1, 0, {0, 0, 30}},
        {SkinSurface::Panel, 165, 0, {30, 30, 30}},
        {SkinSurface::Panel, 165, 82, {250, 250, 250}},
        {SkinSurface::Panel, 165, 83, {250, 250, 250}},
        {SkinSurface::Panel, 165, 20, {112, 112, 112}},
    };
    for (const Row& row : rows) {
        const auto lines = SkinLines(row.surface, row.height);
        ASSERT_EQ(lines.size(), row.height + 1u);
        EXPECT_EQ(lines[row.y], row.expected) << row.height << " " << row.y;
    }
    EXPECT_TRUE(SkinLines(SkinSurface::Dialog, 0).empty());
    EXPECT_TRUE(SkinLines(SkinSurface::Panel, -5).empty());
}

}  // namespace
