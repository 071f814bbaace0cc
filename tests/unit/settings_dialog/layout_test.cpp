#include "layout.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(DialogLayout, EveryControlIsWholePixelsInsideItsContainer) {
    EXPECT_EQ(PixelsOf(kDialogClientWidth, kDesignTwipsPerPixel), 496);
    EXPECT_EQ(PixelsOf(kDialogClientHeight, kDesignTwipsPerPixel), 243);
    const ControlLayout& panel = LayoutOf(Control::PicC0);
    for (const ControlLayout& c : kDialogControls) {
        for (int length :
             {c.left, c.top, c.width, c.height, kDialogClientWidth, kDialogClientHeight}) {
            EXPECT_EQ(length % kDesignTwipsPerPixel, 0) << c.name;
        }
        const bool inPanel = c.container == Container::Panel;
        EXPECT_LE(c.left + c.width, inPanel ? panel.width : kDialogClientWidth) << c.name;
        EXPECT_LE(c.top + c.height, inPanel ? panel.height : kDialogClientHeight) << c.name;
    }
    // Each music source's caption stands right of its indicator, on the same line.
    for (size_t i = 0; i < kSourceCaptions.size(); ++i) {
        const ControlLayout& indicator = LayoutOf(kSourceIndicators.at(i));
        EXPECT_EQ(LayoutOf(kSourceCaptions[i]).top, indicator.top);
        EXPECT_GT(LayoutOf(kSourceCaptions[i]).left, indicator.left + indicator.width);
    }
    EXPECT_EQ(PixelFrameOf(LayoutOf(Control::CmdCan), 15, 15), (PixelFrame{404, 200, 77, 25}));
    // At 120 dots per inch (12 twips to the pixel) the same twips give a larger dialog.
    EXPECT_EQ(PixelFrameOf(panel, 12, 15), (PixelFrame{15, 16, 586, 165}));
}

TEST(DialogLayout, FocusOrderAndTheLooksOfTheLabels) {
    std::set<int> tabs;
    for (const ControlLayout& c : kDialogControls) {
        EXPECT_TRUE(c.tabIndex < 0 || tabs.insert(c.tabIndex).second) << c.name;
        // White for the credit line and the link, which alone is underlined; the labels size
        // themselves to their text but for the centred title and the sunken file name.
        const bool light = c.id == Control::LblUrl || c.id == Control::Lbl7;
        EXPECT_EQ(c.textColour, light ? 0x00FFFFFFu : 0u) << c.name;
        EXPECT_EQ(c.underline, c.id == Control::LblUrl) << c.name;
        EXPECT_EQ(c.centred, c.id == Control::Lbl15) << c.name;
        EXPECT_EQ(c.sunkenBorder, c.id == Control::LblFname0) << c.name;
        EXPECT_EQ(c.autoSize, c.kind == ControlKind::Label && !c.centred && !c.sunkenBorder)
            << c.name;
    }
    // The focus order runs from 1 without gaps.
    EXPECT_EQ(*tabs.begin(), 1);
    EXPECT_EQ(*tabs.rbegin(), static_cast<int>(tabs.size()));
}

}  // namespace
