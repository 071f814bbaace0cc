#include "label_win32.h"

namespace forms {

namespace {

constexpr int kBorder = 1;
constexpr UINT kTextFormat = DT_NOPREFIX | DT_TOP;

}  // namespace

Label::Label(LabelDesign labelDesign)
    : design(std::move(labelDesign)), font(CreateFontFrom(design.font)) {}

Label::~Label() {
    if (font) DeleteObject(font);
}

void Label::SetCaption(std::wstring caption) {
    design.caption = std::move(caption);
    if (design.autoSize) {
        FitToCaption();
    } else {
        Invalidate();
    }
}

void Label::Place(int x, int y, int width, int height) {
    Move(x, y, width, height);
    if (design.autoSize) FitToCaption();
}

void Label::FitToCaption() {
    const HDC screen = GetDC(nullptr);
    if (!screen) return;
    const HGDIOBJ previous = font ? SelectObject(screen, font) : nullptr;
    RECT extent{0, 0, 0, 0};
    DrawTextW(screen, design.caption.c_str(), static_cast<int>(design.caption.size()), &extent,
              kTextFormat | DT_SINGLELINE | DT_CALCRECT);
    if (extent.bottom == 0) {  // an empty caption keeps the height of one line
        TEXTMETRICW metrics{};
        GetTextMetricsW(screen, &metrics);
        extent.bottom = metrics.tmHeight;
    }
    if (previous) SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    const int border = design.sunkenBorder ? 2 * kBorder : 0;
    const RECT& frame = Frame();
    SetFrame({frame.left, frame.top, frame.left + extent.right + border,
              frame.top + extent.bottom + border});
}

void Label::Paint(HDC dc) const {
    RECT area = Frame();
    if (!design.transparent) {
        const HBRUSH brush = CreateSolidBrush(design.backColour);
        FillRect(dc, &area, brush);
        DeleteObject(brush);
    }
    if (design.sunkenBorder) {
        DrawEdge(dc, &area, BDR_SUNKENOUTER, BF_RECT);
        InflateRect(&area, -kBorder, -kBorder);
    }
    const HGDIOBJ previous = font ? SelectObject(dc, font) : nullptr;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, design.foreColour);
    UINT format = kTextFormat | (design.centred ? DT_CENTER : DT_LEFT);
    format |= design.autoSize ? DT_SINGLELINE : DT_WORDBREAK;
    DrawTextW(dc, design.caption.c_str(), static_cast<int>(design.caption.size()), &area, format);
    if (previous) SelectObject(dc, previous);
}

}  // namespace forms
