#include "skin.h"

#include <cmath>

namespace {
constexpr double kHalfTurn = 3.142;  // the skin's own approximation, kept for its exact colours
constexpr double kAmplitude = 220;
constexpr int kLift = 30;
}  // namespace

std::vector<Rgb> SkinLines(SkinSurface surface, int height) {
    std::vector<Rgb> lines;
    if (height <= 0) return lines;
    const double d = height / kHalfTurn;
    lines.reserve(static_cast<size_t>(height) + 1);
    for (int y = 0; y <= height; ++y) {
        // nearbyint rounds halves to the even neighbour in the default rounding mode.
        const int c = static_cast<int>(std::nearbyint(std::fabs(kAmplitude * std::sin(y / d))));
        const auto base = static_cast<std::uint8_t>(surface == SkinSurface::Dialog ? c : c + kLift);
        lines.push_back({base, base, static_cast<std::uint8_t>(c + kLift)});
    }
    return lines;
}
