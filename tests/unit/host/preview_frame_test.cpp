#include "preview_frame.h"

#include <gtest/gtest.h>

namespace {

TEST(PreviewFrame, TakesTheAreasSizeWhileItFitsSixteenBitTwips) {
    auto frame = PreviewFrameFor(152, 112, 15, 15);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->width, 152);
    EXPECT_EQ(frame->height, 112);

    frame = PreviewFrameFor(2184, 100, 15, 12);  // 32760 twips across
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->width, 2184);
    EXPECT_EQ(frame->height, 100);

    EXPECT_FALSE(PreviewFrameFor(2185, 100, 15, 15));  // 32775 twips
    EXPECT_FALSE(PreviewFrameFor(100, 2731, 15, 12));
    EXPECT_FALSE(PreviewFrameFor(-1, 100, 15, 15));
    EXPECT_FALSE(PreviewFrameFor(152, 112, 0, 15));
}

}  // namespace
