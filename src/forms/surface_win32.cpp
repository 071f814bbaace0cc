#include "surface_win32.h"

#include <windowsx.h>

#include <algorithm>

#include "mouse_pointer_win32.h"

namespace forms {

namespace {

// A bitmap that keeps exact colours whatever the screen's depth.
HBITMAP MakeImage(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

}  // namespace

Surface::Surface(COLORREF backColour, bool persistentImage)
    : backColour_(backColour), keepsImage_(persistentImage) {}

Surface::~Surface() {
    for (WindowlessControl* control : controls_) control->surface_ = nullptr;
    if (imageDc_) {
        SelectObject(imageDc_, imageDcDefault_);
        DeleteDC(imageDc_);
    }
    if (image_) DeleteObject(image_);
}

void Surface::Add(WindowlessControl& control) {
    if (control.surface_) control.surface_->Remove(control);
    controls_.push_back(&control);
    control.surface_ = this;
    control.Invalidate();
}

void Surface::Remove(WindowlessControl& control) {
    control.Invalidate();
    controls_.erase(std::remove(controls_.begin(), controls_.end(), &control), controls_.end());
    control.surface_ = nullptr;
    if (pressed_ == &control) pressed_ = nullptr;
}

void Surface::Attach(HWND attached) {
    window_ = attached;
    RECT client{};
    GetClientRect(window_, &client);
    Resize(client.right, client.bottom);
}

void Surface::Resize(int newWidth, int newHeight) {
    width_ = newWidth;
    height_ = newHeight;
    if (!keepsImage_ || width_ <= 0 || height_ <= 0) return;
    const HBITMAP grown = MakeImage(width_, height_);
    const HDC grownDc = grown ? CreateCompatibleDC(nullptr) : nullptr;
    if (!grownDc) {
        if (grown) DeleteObject(grown);
        return;
    }
    const HGDIOBJ grownDefault = SelectObject(grownDc, grown);
    const RECT whole{0, 0, width_, height_};
    FillBack(grownDc, whole);
    // What was drawn before stays where it was.
    if (imageDc_) {
        BitBlt(grownDc, 0, 0, width_, height_, imageDc_, 0, 0, SRCCOPY);
        SelectObject(imageDc_, imageDcDefault_);
        DeleteDC(imageDc_);
        DeleteObject(image_);
    }
    image_ = grown;
    imageDc_ = grownDc;
    imageDcDefault_ = grownDefault;
}

void Surface::DrawLine(int x1, int y1, int x2, int y2, COLORREF colour) {
    if (!imageDc_) return;
    const HPEN pen = CreatePen(PS_SOLID, 1, colour);
    if (!pen) return;
    const HGDIOBJ previous = SelectObject(imageDc_, pen);
    MoveToEx(imageDc_, x1, y1, nullptr);
    LineTo(imageDc_, x2, y2);
    SelectObject(imageDc_, previous);
    DeleteObject(pen);
}

void Surface::Refresh() {
    if (window_) InvalidateRect(window_, nullptr, FALSE);
}

void Surface::Invalidate(const RECT& area) {
    if (window_) InvalidateRect(window_, &area, FALSE);
}

void Surface::FillBack(HDC dc, const RECT& area) const {
    const HBRUSH brush = CreateSolidBrush(backColour_);
    FillRect(dc, &area, brush);
    DeleteObject(brush);
}

// Background and controls are put together off screen and shown in one piece, so that a label
// whose text changes does not flicker.
void Surface::Paint() {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(window_, &paint);
    if (!dc) return;
    const RECT whole{0, 0, std::max(width_, 1), std::max(height_, 1)};
    const HDC buffer = CreateCompatibleDC(dc);
    const HBITMAP bitmap = buffer ? CreateCompatibleBitmap(dc, whole.right, whole.bottom) : nullptr;
    if (bitmap) {
        const HGDIOBJ previous = SelectObject(buffer, bitmap);
        if (imageDc_) {
            BitBlt(buffer, 0, 0, width_, height_, imageDc_, 0, 0, SRCCOPY);
        } else {
            FillBack(buffer, whole);
        }
        for (const WindowlessControl* control : controls_) control->Paint(buffer);
        const RECT& area = paint.rcPaint;
        BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, buffer,
               area.left, area.top, SRCCOPY);
        SelectObject(buffer, previous);
        DeleteObject(bitmap);
    }
    if (buffer) DeleteDC(buffer);
    EndPaint(window_, &paint);
}

WindowlessControl* Surface::ControlAt(POINT point) const {
    for (auto control = controls_.rbegin(); control != controls_.rend(); ++control) {
        if ((*control)->TakesMouse() && PtInRect(&(*control)->Frame(), point)) return *control;
    }
    return nullptr;
}

bool Surface::SetPointer(HWND over, WORD hitTest) {
    if (const HCURSOR pointer = PointerOverride()) {
        SetCursor(pointer);
        return true;
    }
    // Child windows and the frame choose their own.
    if (over != window_ || hitTest != HTCLIENT) return false;
    POINT cursor;
    if (!GetCursorPos(&cursor)) return false;
    ScreenToClient(window_, &cursor);
    const WindowlessControl* control = ControlAt(cursor);
    SetCursor(control && control->Pointer() ? control->Pointer() : LoadCursor(nullptr, IDC_ARROW));
    return true;
}

void Surface::MouseDown(int button, LPARAM position) {
    WindowlessControl* control = ControlAt({GET_X_LPARAM(position), GET_Y_LPARAM(position)});
    if (button == kLeftButton) {
        pressed_ = control;
        SetCapture(window_);
    }
    if (control && control->MouseDown) control->MouseDown(button);
}

void Surface::MouseUp(int button, LPARAM position) {
    if (button != kLeftButton) return;
    WindowlessControl* target = pressed_;
    pressed_ = nullptr;
    if (GetCapture() == window_) ReleaseCapture();
    // Last, since a Click may close the window.
    if (target && ControlAt({GET_X_LPARAM(position), GET_Y_LPARAM(position)}) == target &&
        target->Click) {
        target->Click();
    }
}

std::optional<LRESULT> Surface::Handle(HWND from, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            if (from != window_) return std::nullopt;
            Resize(LOWORD(lParam), HIWORD(lParam));
            return std::nullopt;  // the owner raises its own resize event
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            if (from != window_) return std::nullopt;
            Paint();
            return 0;
        case WM_SETCURSOR:
            if (SetPointer(reinterpret_cast<HWND>(wParam), LOWORD(lParam))) return TRUE;
            return std::nullopt;
        case WM_LBUTTONDOWN:
            MouseDown(kLeftButton, lParam);
            return 0;
        case WM_RBUTTONDOWN:
            MouseDown(kRightButton, lParam);
            return 0;
        case WM_MBUTTONDOWN:
            MouseDown(kMiddleButton, lParam);
            return 0;
        case WM_LBUTTONUP:
            MouseUp(kLeftButton, lParam);
            return 0;
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lParam) != window_) pressed_ = nullptr;
            return std::nullopt;
        case WM_NCDESTROY:
            window_ = nullptr;
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

}  // namespace forms
