#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "windowless_win32.h"

namespace forms {

// The client area of a form or picture box: its back colour, its persistent background image if
// it keeps one (what is drawn into it stays until drawn over, and every repaint shows it), and
// the windowless controls drawn on top. It routes the mouse to those controls and chooses the
// mouse pointer.
class Surface {
  public:
    Surface(COLORREF backColour, bool persistentImage);
    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    // Binds the surface to its window once that exists, at the window's client size.
    void Attach(HWND window);

    // Adds a control on top of those added before.
    void Add(WindowlessControl& control);
    void Remove(WindowlessControl& control);

    // Size of the drawing area in pixels.
    int Width() const { return width_; }
    int Height() const { return height_; }
    // A one-pixel line into the persistent image, end point excluded; shown at the next repaint.
    void DrawLine(int x1, int y1, int x2, int y2, COLORREF colour);
    // Shows what was drawn into the persistent image.
    void Refresh();

    // The window's messages that the surface handles; nothing for the others.
    std::optional<LRESULT> Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Invalidate(const RECT& area);

  private:
    void Resize(int newWidth, int newHeight);
    void Paint();
    void FillBack(HDC dc, const RECT& area) const;
    WindowlessControl* ControlAt(POINT point) const;
    bool SetPointer(HWND over, WORD hitTest);
    void MouseDown(int button, LPARAM position);
    void MouseUp(int button, LPARAM position);

    COLORREF backColour_;
    bool keepsImage_;
    HWND window_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    HDC imageDc_ = nullptr;
    HBITMAP image_ = nullptr;
    HGDIOBJ imageDcDefault_ = nullptr;
    std::vector<WindowlessControl*> controls_;
    WindowlessControl* pressed_ = nullptr;  // where the left button went down
};

}  // namespace forms
