#pragma once

#include <windows.h>

#include "windowless_win32.h"

namespace forms {

// A windowless rectangle outline, one pixel wide, not filled; it takes no mouse input.
class Shape final : public WindowlessControl {
  public:
    explicit Shape(COLORREF borderColour) : borderColour_(borderColour) {}

    bool TakesMouse() const override { return false; }
    void Paint(HDC dc) const override;

  private:
    COLORREF borderColour_;
};

}  // namespace forms
