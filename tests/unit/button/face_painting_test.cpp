#include "face_painting.h"

#include <gtest/gtest.h>

namespace {

TEST(FaceGeometry, TheFrameStretchesTheSkinsEdgesAndKeepsItsCorners) {
    // At the skin's own size every piece is drawn where it is taken from.
    const auto unstretched = FramePieces(64, 25);
    for (const FramePiece& piece : unstretched) EXPECT_EQ(piece.source, piece.destination);
    // The file button is narrower and lower than the skin: its edges shrink.
    const PixelRect fileButton[8] = {{0, 0, 4, 4},   {4, 0, 33, 4},  {37, 0, 4, 4}, {37, 4, 4, 13},
                                     {37, 17, 4, 4}, {4, 17, 33, 4}, {0, 17, 4, 4}, {0, 4, 4, 13}};
    const auto pieces = FramePieces(41, 21);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(pieces[i], (FramePiece{unstretched[i].source, fileButton[i]})) << i;
    }
    // Smaller than its corners: empty edges, not mirrored ones.
    EXPECT_EQ(FramePieces(5, 3)[1].destination, (PixelRect{4, 0, 0, 4}));
    EXPECT_EQ(FramePieces(5, 3)[3].destination, (PixelRect{1, 4, 4, 0}));
}

TEST(FaceGeometry, TwipsRoundToTheNearestPixelAndTheCaptionSitsAboveTheMiddle) {
    const std::pair<int, int> pixels[] = {{7, 0}, {8, 1}, {1155, 77}, {-7, 0}, {-8, -1}};
    for (auto [twips, expected] : pixels) EXPECT_EQ(TwipsToPixels(twips), expected) << twips;
    // Ten twips above the middle of the OK button, the file button and a fresh one.
    const std::pair<int, int> tops[] = {{375, 80}, {315, 50}, {420, 102}};
    for (auto [height, expected] : tops) EXPECT_EQ(CaptionTopTwips(height), expected) << height;
}

TEST(FaceColours, ChannelsAreReadFromSixDigitsInRedGreenBlueOrder) {
    struct Row {
        const char* text;
        int k;
        std::optional<std::uint16_t> expected;
    };
    const Row rows[] = {
        // The shade is red C6, not D7: the text is not a 0x00BBGGRR number.
        {"&HC6C5D7", 1, 0xC600}, {"&HC6C5D7", 2, 0xC500}, {"&hc6c5d7", 3, 0xD700},
        {"&H00FF10", 1, 0x0000}, {"&H00FF10", 2, 0xFF00}, {"&H00fF10", 3, 0x1000},
        {"&HFA", 3, 0xFA00},     {"&HFA", 2, 0x0000},     {"&h9", 3, 0x0900},
        {"&HFFFFFF", 0, {}},     {"&HFFFFFF", 4, {}},     {"", 1, {}},
        {"&H", 1, {}},           {"FFFFFF", 1, {}},       {"&HFFFFFFF", 1, {}},
        {"&HGG0000", 1, {}},     {"#FFFFFF", 1, {}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(ChannelFromHex(row.text, row.k), row.expected) << row.text << " " << row.k;
    }
}

// Which states turn the gradient over shows in the button's own table.
TEST(FaceColours, TheGradientSpansTheButtonWhiteOnTopUnlessTurnedOver) {
    const GradientVertex white{0, 0, 0xFF00, 0xFF00, 0xFF00, 0};
    const GradientVertex shade{0, 0, 0xC600, 0xC500, 0xD700, 0};
    const FacePlan plan = PlanFace(SkinImage::Pressed, 77, 25, false);
    EXPECT_EQ(plan.image, SkinImage::Pressed);
    EXPECT_EQ(plan.frame, FramePieces(77, 25));
    EXPECT_EQ(plan.gradient, (std::array{white, GradientVertex{76, 24, 0xC600, 0xC500, 0xD700}}));
    EXPECT_EQ(GradientVertices(41, 21, true),
              (std::array{shade, GradientVertex{40, 20, 0xFF00, 0xFF00, 0xFF00}}));
}

}  // namespace
