#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "face_state_machine.h"

// Geometry and colours of a button face: a vertical white-to-shade gradient framed by the
// four-pixel border of a 64 x 25 skin image, stretched to the button's size. Sizes of the button
// and its caption are twips at the surface, 15 to the pixel; the face is drawn in pixels.

inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kSkinWidth = 64;
inline constexpr int kSkinHeight = 25;
inline constexpr int kFrameDepth = 4;
inline constexpr int kCaptionHeightTwips = 195;

// The gradient's two colours, as the button writes them: digits in red, green, blue order.
inline constexpr std::string_view kWhiteText = "&HFFFFFF";
inline constexpr std::string_view kShadeText = "&HC6C5D7";

struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool operator==(const PixelRect&) const = default;
};

// One piece of the frame: a part of the skin image and where it goes on the button.
struct FramePiece {
    PixelRect source;
    PixelRect destination;

    bool operator==(const FramePiece&) const = default;
};

// A corner of the gradient rectangle; channels hold the 8-bit colour in their high byte.
struct GradientVertex {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::uint16_t red = 0;
    std::uint16_t green = 0;
    std::uint16_t blue = 0;
    std::uint16_t alpha = 0;

    bool operator==(const GradientVertex&) const = default;
};

// Everything the platform needs to draw one face of a width x height pixel button.
struct FacePlan {
    SkinImage image = SkinImage::Normal;
    int width = 0;
    int height = 0;
    std::optional<std::array<GradientVertex, 2>>
        gradient;  // top-left, bottom-right; none if unusable
    std::array<FramePiece, 8> frame;
};

// Twips to whole pixels, rounded to the nearest.
int TwipsToPixels(int twips);

// The eight frame pieces, in drawing order: top-left, top, top-right, right, bottom-right, bottom,
// bottom-left, left. Edges of a button smaller than its two corners get no room rather than a
// negative (mirrored) extent.
std::array<FramePiece, 8> FramePieces(int width, int height);

// Top of the caption band, centred 10 twips above the middle of a button heightTwips high.
int CaptionTopTwips(int buttonHeightTwips);

// Whether the gradient is drawn shade-on-top once a face is painted in state: a hover without
// focus turns it over, Normal and Selected set it upright, other states keep the previous one.
bool ShadeFlippedAfter(FaceState state, bool shadeFlipped);

// Channel k (1 red, 2 green, 3 blue) of a colour text "&H" followed by up to six hexadecimal
// digits, as a 16-bit value with the channel in its high byte. Nothing for a malformed text.
std::optional<std::uint16_t> ChannelFromHex(std::string_view text, int k);

// The gradient's corners for a width x height pixel button: top at (0, 0), bottom at
// (width - 1, height - 1); white on top unless shadeFlipped.
std::optional<std::array<GradientVertex, 2>> GradientVertices(int width, int height,
                                                              bool shadeFlipped);

FacePlan PlanFace(SkinImage image, int width, int height, bool shadeFlipped);
