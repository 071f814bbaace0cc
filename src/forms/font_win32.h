#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace forms {

// A font as a form's controls are designed with it.
struct FontDesign {
    std::wstring face;
    double points = 9;
    int weight = FW_NORMAL;
    int charset = DEFAULT_CHARSET;
    bool italic = false;
    bool underline = false;

    bool operator==(const FontDesign&) const = default;
};

// A font made from its design for the screen; the caller owns it. Null when it cannot be made.
HFONT CreateFontFrom(const FontDesign& design);

// Whether the system has a font family of this name.
bool FaceInstalled(std::wstring_view face);

}  // namespace forms
