#include "layout.h"

#include <gtest/gtest.h>

#include <set>

namespace {

void ExpectPixels(Control control, PixelFrame expected) {
    EXPECT_EQ(PixelFrameOf(LayoutOf(control), kDesignTwipsPerPixel, kDesignTwipsPerPixel), expected)
        << LayoutOf(control).name;
}

TEST(DialogLayout, TwipsConvertToTheDesignedPixelsExactly) {
    EXPECT_EQ(PixelsOf(kDialogClientWidth, kDesignTwipsPerPixel), 496);
    EXPECT_EQ(PixelsOf(kDialogClientHeight, kDesignTwipsPerPixel), 243);
    ExpectPixels(Control::CmdCan, {404, 200, 77, 25});
    ExpectPixels(Control::CmdSet, {324, 200, 77, 25});
    ExpectPixels(Control::PicC0, {12, 16, 469, 165});
    ExpectPixels(Control::CmdFile0, {28, 116, 41, 21});
    ExpectPixels(Control::BgmRepeat, {112, 52, 41, 20});
    ExpectPixels(Control::Shape3, {20, 20, 113, 21});
    ExpectPixels(Control::Lbl15, {20, 24, 111, 13});
    ExpectPixels(Control::ImgBgm0, {28, 76, 13, 13});
    ExpectPixels(Control::Lbl14, {156, 56, 66, 13});
    ExpectPixels(Control::LblBgm1, {44, 56, 43, 13});
    ExpectPixels(Control::LblBgm2, {44, 96, 60, 13});
    ExpectPixels(Control::ImgBgm1, {28, 56, 13, 13});
    ExpectPixels(Control::LblBgm0, {44, 76, 22, 13});
    ExpectPixels(Control::ImgBgm2, {28, 96, 13, 13});
    ExpectPixels(Control::LblFname0, {72, 116, 373, 33});
    ExpectPixels(Control::LblUrl, {12, 208, 207, 13});
    for (const ControlLayout& c : kDialogControls) {
        EXPECT_EQ(c.left % kDesignTwipsPerPixel, 0) << c.name;
        EXPECT_EQ(c.width % kDesignTwipsPerPixel, 0) << c.name;
    }
    // At 120 dots per inch (12 twips to the pixel) the same twips give a larger dialog.
    EXPECT_EQ(PixelFrameOf(LayoutOf(Control::PicC0), 12, 12), (PixelFrame{15, 20, 586, 206}));
}

TEST(DialogLayout, TheFocusOrderHasNoRepeatsAndOnlyTheLinkLooksLikeOne) {
    std::set<int> tabs;
    for (const ControlLayout& c : kDialogControls) {
        if (c.tabIndex >= 0) {
            EXPECT_TRUE(tabs.insert(c.tabIndex).second) << c.name;
        }
    }
    // Only the link and the credit line are white; only the link is underlined.
    for (const ControlLayout& c : kDialogControls) {
        const bool light = c.id == Control::LblUrl || c.id == Control::Lbl7;
        EXPECT_EQ(c.textColour, light ? kWhite : kBlack) << c.name;
        EXPECT_EQ(c.underline, c.id == Control::LblUrl) << c.name;
    }
    // The panel's controls lie inside it, the dialog's inside the client area.
    const ControlLayout& panel = LayoutOf(Control::PicC0);
    for (const ControlLayout& c : kDialogControls) {
        const int width = c.container == Container::Panel ? panel.width : kDialogClientWidth;
        const int height = c.container == Container::Panel ? panel.height : kDialogClientHeight;
        EXPECT_LE(c.left + c.width, width) << c.name;
        EXPECT_LE(c.top + c.height, height) << c.name;
    }
}

}  // namespace
