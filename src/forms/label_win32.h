#pragma once

#include <windows.h>

#include <string>

#include "font_win32.h"
#include "windowless_win32.h"

namespace forms {

struct LabelDesign {
    std::wstring caption;
    FontDesign font;
    COLORREF foreColour = RGB(0, 0, 0);
    bool transparent = true;  // the container shows through; else filled with backColour
    COLORREF backColour = RGB(255, 255, 255);
    bool centred = false;
    // Sized to its caption on one line; otherwise the label keeps its frame, wraps its text at
    // blanks and cuts off what does not fit.
    bool autoSize = false;
    bool sunkenBorder = false;
};

// A windowless text label.
class Label final : public WindowlessControl {
  public:
    explicit Label(LabelDesign design);
    ~Label() override;

    const std::wstring& Caption() const { return design_.caption; }
    void SetCaption(std::wstring caption);
    // Places the label; an auto-sized one keeps its own size.
    void Place(int x, int y, int width, int height);

    void Paint(HDC dc) const override;

  private:
    void FitToCaption();

    LabelDesign design_;
    HFONT font_ = nullptr;
};

}  // namespace forms
