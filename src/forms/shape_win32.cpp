#include "shape_win32.h"

namespace forms {

void Shape::Paint(HDC dc) const {
    const HBRUSH brush = CreateSolidBrush(borderColour_);
    if (!brush) return;
    FrameRect(dc, &Frame(), brush);
    DeleteObject(brush);
}

}  // namespace forms
