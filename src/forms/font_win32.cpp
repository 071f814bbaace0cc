#include "font_win32.h"

#include <cmath>
#include <cwchar>

namespace forms {

HFONT CreateFontFrom(const FontDesign& design) {
    const HDC screen = GetDC(nullptr);
    const int dotsPerInch = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    LOGFONTW description{};
    // A negative height asks for the character height: the size in points as printers mean it.
    description.lfHeight =
        -MulDiv(static_cast<int>(std::lround(design.points * 100)), dotsPerInch, 7200);
    description.lfWeight = design.weight;
    description.lfItalic = design.italic;
    description.lfUnderline = design.underline;
    description.lfCharSet = static_cast<BYTE>(design.charset);
    std::wcsncpy(description.lfFaceName, design.face.c_str(), LF_FACESIZE - 1);
    return CreateFontIndirectW(&description);
}

bool FaceInstalled(std::wstring_view face) {
    if (face.empty() || face.size() >= LF_FACESIZE) return false;
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    face.copy(wanted.lfFaceName, face.size());
    const HDC screen = GetDC(nullptr);
    if (!screen) return false;
    bool found = false;
    EnumFontFamiliesExW(
        screen, &wanted,
        [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM data) -> int {
            *reinterpret_cast<bool*>(data) = true;
            return 0;  // one is enough
        },
        reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

}  // namespace forms
