#include "dialog_font.h"

#include <array>

#include "layout.h"

namespace {

// Proportional Japanese Gothic faces of the same design, best first: the designed face under
// its English name (as systems in other languages list it), then free ones.
constexpr std::array<std::wstring_view, 4> kFallbackFaces = {L"MS PGothic", L"IPAPGothic",
                                                             L"VL PGothic", L"Noto Sans CJK JP"};

}  // namespace

CaptionFont DialogFont(const std::function<bool(std::wstring_view face)>& installed) {
    CaptionFont font{std::wstring(kDialogFontFace), kDialogFontPoints, kDialogFontWeight,
                     kDialogFontCharset};
    if (installed(kDialogFontFace)) return font;
    for (const std::wstring_view face : kFallbackFaces) {
        if (installed(face)) {
            font.face = face;
            return font;
        }
    }
    return font;  // nothing better known: the system substitutes as it can
}
