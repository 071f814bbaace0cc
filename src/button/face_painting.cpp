#include "face_painting.h"

#include <algorithm>
#include <cctype>

int TwipsToPixels(int twips) {
    const int half = kTwipsPerPixel / 2;
    return twips >= 0 ? (twips + half) / kTwipsPerPixel : -((-twips + half) / kTwipsPerPixel);
}

std::array<FramePiece, 8> FramePieces(int width, int height) {
    constexpr int d = kFrameDepth;
    constexpr int middleWidth = kSkinWidth - 2 * d;    // 56
    constexpr int middleHeight = kSkinHeight - 2 * d;  // 17
    constexpr int farX = kSkinWidth - d;               // 60
    constexpr int farY = kSkinHeight - d;              // 21
    const int edgeWidth = std::max(width - 2 * d, 0);
    const int edgeHeight = std::max(height - 2 * d, 0);
    const int right = width - d;
    const int bottom = height - d;
    return {{
        {{0, 0, d, d}, {0, 0, d, d}},
        {{d, 0, middleWidth, d}, {d, 0, edgeWidth, d}},
        {{farX, 0, d, d}, {right, 0, d, d}},
        {{farX, d, d, middleHeight}, {right, d, d, edgeHeight}},
        {{farX, farY, d, d}, {right, bottom, d, d}},
        {{d, farY, middleWidth, d}, {d, bottom, edgeWidth, d}},
        {{0, farY, d, d}, {0, bottom, d, d}},
        {{0, d, d, middleHeight}, {0, d, d, edgeHeight}},
    }};
}

int CaptionTopTwips(int buttonHeightTwips) {
    return (buttonHeightTwips - kCaptionHeightTwips - 20) / 2;
}

bool ShadeFlippedAfter(FaceState state, bool shadeFlipped) {
    switch (state) {
        case FaceState::Normal:
        case FaceState::Selected:
            return false;
        case FaceState::HighLight:
            return true;
        case FaceState::Uninitialised:
        case FaceState::HighLightSelect:
            break;
    }
    return shadeFlipped;
}

namespace {

std::optional<int> HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (upper >= 'A' && upper <= 'F') return upper - 'A' + 10;
    return std::nullopt;
}

}  // namespace

std::optional<std::uint16_t> ChannelFromHex(std::string_view text, int k) {
    if (k < 1 || k > 3 || text.size() < 3 || text[0] != '&' ||
        std::toupper(static_cast<unsigned char>(text[1])) != 'H') {
        return std::nullopt;
    }
    const std::string_view digits = text.substr(2);
    if (digits.size() > 6) return std::nullopt;
    unsigned value = 0;
    for (char c : digits) {
        const auto digit = HexDigit(c);
        if (!digit) return std::nullopt;
        value = value * 16 + static_cast<unsigned>(*digit);
    }
    // Read as six digits, so that a colour with leading zeros keeps its channels in place.
    const unsigned channel = (value >> (8 * (3 - k))) & 0xFF;
    return static_cast<std::uint16_t>(channel << 8);
}

std::optional<std::array<GradientVertex, 2>> GradientVertices(int width, int height,
                                                              bool shadeFlipped) {
    const std::string_view top = shadeFlipped ? kShadeText : kWhiteText;
    const std::string_view bottom = shadeFlipped ? kWhiteText : kShadeText;
    std::array<GradientVertex, 2> vertices{};
    vertices[1].x = width - 1;
    vertices[1].y = height - 1;
    const std::string_view texts[2] = {top, bottom};
    for (int i = 0; i < 2; ++i) {
        const auto red = ChannelFromHex(texts[i], 1);
        const auto green = ChannelFromHex(texts[i], 2);
        const auto blue = ChannelFromHex(texts[i], 3);
        if (!red || !green || !blue) return std::nullopt;
        vertices[i].red = *red;
        vertices[i].green = *green;
        vertices[i].blue = *blue;
    }
    return vertices;
}

FacePlan PlanFace(SkinImage image, int width, int height, bool shadeFlipped) {
    return {.image = image,
            .width = width,
            .height = height,
            .gradient = GradientVertices(width, height, shadeFlipped),
            .frame = FramePieces(width, height)};
}
