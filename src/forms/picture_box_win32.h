#pragma once

#include <windows.h>

#include "surface_win32.h"

namespace forms {

// A windowed panel inside a form: a surface of its own (back colour, persistent background
// image, windowless controls) that also holds windowed controls, which the keyboard's focus
// order visits as if they were the form's.
class PictureBox {
  public:
    explicit PictureBox(COLORREF backColour);
    ~PictureBox();
    PictureBox(const PictureBox&) = delete;
    PictureBox& operator=(const PictureBox&) = delete;

    // Makes the window at (x, y) in parent's client area, width x height pixels, shown.
    bool Create(HWND parent, int controlId, int x, int y, int width, int height);

    HWND Handle() const { return window_; }
    forms::Surface& Surface() { return surface_; }

  private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    forms::Surface surface_;
    HWND window_ = nullptr;
};

}  // namespace forms
