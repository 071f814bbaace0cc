#include "preview_frame.h"

#include <limits>

namespace {

std::optional<std::int16_t> Twips(int pixels, int twipsPerPixel) {
    const long long twips = static_cast<long long>(pixels) * twipsPerPixel;
    if (twips < std::numeric_limits<std::int16_t>::min() ||
        twips > std::numeric_limits<std::int16_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(twips);
}

}  // namespace

std::optional<PreviewFrame> PreviewFrameFor(int widthPixels, int heightPixels, int twipsPerPixelX,
                                            int twipsPerPixelY) {
    if (twipsPerPixelX <= 0 || twipsPerPixelY <= 0) return std::nullopt;
    const auto width = Twips(widthPixels, twipsPerPixelX);
    const auto height = Twips(heightPixels, twipsPerPixelY);
    if (!width || !height || *width < 0 || *height < 0) return std::nullopt;
    return PreviewFrame{*width / twipsPerPixelX, *height / twipsPerPixelY};
}
