#include "label_win32.h"

namespace forms {

namespace {

constexpr int kBorder = 1;
constexpr UINT kTextFormat = DT_NOPREFIX | DT_TOP;

}  // namespace

Label::Label(LabelDesign labelDesign)
    : design_(std::move(labelDesign)), font_(CreateFontFrom(design_.font)) {}

Label::~Label() {
    if (font_) DeleteObject(font_);
}

void Label::SetCaption(std::wstring caption) {
    design_.caption = std::move(caption);
    if (design_.autoSize) {
        FitToCaption();
    } else {
        Invalidate();
    }
}

void Label::Place(int x, int y, int width, int height) {
    Move(x, y, width, height);
    if (design_.autoSize) FitToCaption();
}

void Label::FitToCaption() {
    const HDC screen = GetDC(nullptr);
    if (!screen) return;
    const HGDIOBJ previous = font_ ? SelectObject(screen, font_) : nullptr;
    RECT extent{0, 0, 0, 0};
    DrawTextW(screen, design_.caption.c_str(), static_cast<int>(design_.caption.size()), &extent,
              kTextFormat | DT_SINGLELINE | DT_CALCRECT);
    if (extent.bottom == 0) {  // an empty caption keeps the height of one line
        TEXTMETRICW metrics{};
        GetTextMetricsW(screen, &metrics);
        extent.bottom = metrics.tmHeight;
    }
    if (previous) SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    const int border = design_.sunkenBorder ? 2 * kBorder : 0;
    const RECT& frame = Frame();
    SetFrame({frame.left, frame.top, frame.left + extent.right + border,
              frame.top + extent.bottom + border});
}

void Label::Paint(HDC dc) const {
    RECT area = Frame();
    if (!design_.transparent) {
        const HBRUSH brush = CreateSolidBrush(design_.backColour);
        FillRect(dc, &area, brush);
        DeleteObject(brush);
    }
    if (design_.sunkenBorder) {
        DrawEdge(dc, &area, BDR_SUNKENOUTER, BF_RECT);
        InflateRect(&area, -kBorder, -kBorder);
    }
    const HGDIOBJ previous = font_ ? SelectObject(dc, font_) : nullptr;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, design_.foreColour);
    UINT format = kTextFormat | (design_.centred ? DT_CENTER : DT_LEFT);
    format |= design_.autoSize ? DT_SINGLELINE : DT_WORDBREAK;
    DrawTextW(dc, design_.caption.c_str(), static_cast<int>(design_.caption.size()), &area, format);
    if (previous) SelectObject(dc, previous);
}

}  // namespace forms
