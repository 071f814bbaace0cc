#include "face_painting.h"

#include <gtest/gtest.h>

namespace {

using Pieces = std::array<FramePiece, 8>;

// The source rectangles never depend on the button's size.
constexpr PixelRect kSources[8] = {
    {0, 0, 4, 4},   {4, 0, 56, 4},  {60, 0, 4, 4}, {60, 4, 4, 17},
    {60, 21, 4, 4}, {4, 21, 56, 4}, {0, 21, 4, 4}, {0, 4, 4, 17},
};

Pieces Expected(const std::array<PixelRect, 8>& destinations) {
    Pieces pieces;
    for (int i = 0; i < 8; ++i) pieces[i] = {kSources[i], destinations[i]};
    return pieces;
}

TEST(FaceGeometry, FramePiecesForTheSkinSizeAreUnstretched) {
    const Pieces pieces = FramePieces(64, 25);
    for (const FramePiece& piece : pieces) EXPECT_EQ(piece.source, piece.destination);
    EXPECT_EQ(pieces, Expected({{{0, 0, 4, 4},
                                 {4, 0, 56, 4},
                                 {60, 0, 4, 4},
                                 {60, 4, 4, 17},
                                 {60, 21, 4, 4},
                                 {4, 21, 56, 4},
                                 {0, 21, 4, 4},
                                 {0, 4, 4, 17}}}));
}

TEST(FaceGeometry, FramePiecesStretchToTheDialogButtons) {
    // The OK and Cancel buttons.
    EXPECT_EQ(FramePieces(77, 25), Expected({{{0, 0, 4, 4},
                                              {4, 0, 69, 4},
                                              {73, 0, 4, 4},
                                              {73, 4, 4, 17},
                                              {73, 21, 4, 4},
                                              {4, 21, 69, 4},
                                              {0, 21, 4, 4},
                                              {0, 4, 4, 17}}}));
    // The file button: shorter than the image, so the sides shrink.
    EXPECT_EQ(FramePieces(41, 21), Expected({{{0, 0, 4, 4},
                                              {4, 0, 33, 4},
                                              {37, 0, 4, 4},
                                              {37, 4, 4, 13},
                                              {37, 17, 4, 4},
                                              {4, 17, 33, 4},
                                              {0, 17, 4, 4},
                                              {0, 4, 4, 13}}}));
}

TEST(FaceGeometry, ButtonSmallerThanItsCornersGetsEmptyEdgesNotMirroredOnes) {
    for (const FramePiece& piece : FramePieces(5, 3)) {
        EXPECT_GE(piece.destination.width, 0);
        EXPECT_GE(piece.destination.height, 0);
    }
    EXPECT_EQ(FramePieces(5, 3)[1].destination, (PixelRect{4, 0, 0, 4}));
}

TEST(FaceGeometry, CaptionBandSitsTenTwipsAboveTheMiddle) {
    EXPECT_EQ(CaptionTopTwips(375), 80);
    EXPECT_EQ(CaptionTopTwips(315), 50);
    EXPECT_EQ(CaptionTopTwips(420), 102);  // a fresh button, 28 pixels high
    EXPECT_EQ(TwipsToPixels(80), 5);
    EXPECT_EQ(TwipsToPixels(50), 3);
    EXPECT_EQ(TwipsToPixels(kCaptionHeightTwips), 13);
    EXPECT_EQ(TwipsToPixels(1155), 77);
    EXPECT_EQ(TwipsToPixels(-8), -1);
}

TEST(FaceColours, ChannelFromHexReadsDigitsInRedGreenBlueOrder) {
    EXPECT_EQ(ChannelFromHex("&HFFFFFF", 1), 0xFF00);
    EXPECT_EQ(ChannelFromHex("&HFFFFFF", 2), 0xFF00);
    EXPECT_EQ(ChannelFromHex("&HFFFFFF", 3), 0xFF00);
    // The shade is red C6, not D7: the text is not a 0x00BBGGRR number.
    EXPECT_EQ(ChannelFromHex("&HC6C5D7", 1), 0xC600);
    EXPECT_EQ(ChannelFromHex("&HC6C5D7", 2), 0xC500);
    EXPECT_EQ(ChannelFromHex("&HC6C5D7", 3), 0xD700);
    EXPECT_EQ(ChannelFromHex("&hc6c5d7", 1), 0xC600);
}

TEST(FaceColours, ChannelFromHexKeepsLeadingZerosAndRefusesMalformedTexts) {
    EXPECT_EQ(ChannelFromHex("&H00FF10", 1), 0x0000);
    EXPECT_EQ(ChannelFromHex("&H00FF10", 2), 0xFF00);
    EXPECT_EQ(ChannelFromHex("&H00FF10", 3), 0x1000);
    EXPECT_EQ(ChannelFromHex("&HFF", 3), 0xFF00);
    for (const char* text : {"", "&H", "FFFFFF", "&HFFFFFFF", "&HGG0000", "#FFFFFF"}) {
        EXPECT_EQ(ChannelFromHex(text, 1), std::nullopt) << text;
    }
    EXPECT_EQ(ChannelFromHex("&HFFFFFF", 0), std::nullopt);
    EXPECT_EQ(ChannelFromHex("&HFFFFFF", 4), std::nullopt);
}

TEST(FaceColours, GradientVerticesSpanTheButtonWhiteOnTopUnlessFlipped) {
    const auto upright = GradientVertices(77, 25, false);
    ASSERT_TRUE(upright);
    EXPECT_EQ((*upright)[0], (GradientVertex{0, 0, 0xFF00, 0xFF00, 0xFF00, 0}));
    EXPECT_EQ((*upright)[1], (GradientVertex{76, 24, 0xC600, 0xC500, 0xD700, 0}));

    const auto flipped = GradientVertices(41, 21, true);
    ASSERT_TRUE(flipped);
    EXPECT_EQ((*flipped)[0], (GradientVertex{0, 0, 0xC600, 0xC500, 0xD700, 0}));
    EXPECT_EQ((*flipped)[1], (GradientVertex{40, 20, 0xFF00, 0xFF00, 0xFF00, 0}));
}

TEST(FaceColours, GradientDirectionFollowsTheStateTheFaceIsDrawnIn) {
    for (bool before : {false, true}) {
        EXPECT_FALSE(ShadeFlippedAfter(FaceState::Normal, before));
        EXPECT_TRUE(ShadeFlippedAfter(FaceState::HighLight, before));
        EXPECT_FALSE(ShadeFlippedAfter(FaceState::Selected, before));
        EXPECT_EQ(ShadeFlippedAfter(FaceState::HighLightSelect, before), before);
        EXPECT_EQ(ShadeFlippedAfter(FaceState::Uninitialised, before), before);
    }
}

}  // namespace
