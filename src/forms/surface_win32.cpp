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
    : backColour(backColour), keepsImage(persistentImage) {}

Surface::~Surface() {
    for (WindowlessControl* control : controls) control->surface = nullptr;
    if (imageDc) {
        SelectObject(imageDc, imageDcDefault);
        DeleteDC(imageDc);
    }
    if (image) DeleteObject(image);
}

void Surface::Add(WindowlessControl& control) {
    if (control.surface) control.surface->Remove(control);
    controls.push_back(&control);
    control.surface = this;
    control.Invalidate();
}

void Surface::Remove(WindowlessControl& control) {
    control.Invalidate();
    controls.erase(std::remove(controls.begin(), controls.end(), &control), controls.end());
    control.surface = nullptr;
    if (pressed == &control) pressed = nullptr;
}

void Surface::Attach(HWND attached) {
    window = attached;
    RECT client{};
    GetClientRect(window, &client);
    Resize(client.right, client.bottom);
}

void Surface::Resize(int newWidth, int newHeight) {
    width = newWidth;
    height = newHeight;
    if (!keepsImage || width <= 0 || height <= 0) return;
    const HBITMAP grown = MakeImage(width, height);
    const HDC grownDc = grown ? CreateCompatibleDC(nullptr) : nullptr;
    if (!grownDc) {
        if (grown) DeleteObject(grown);
        return;
    }
    const HGDIOBJ grownDefault = SelectObject(grownDc, grown);
    const RECT whole{0, 0, width, height};
    FillBack(grownDc, whole);
    // What was drawn before stays where it was.
    if (imageDc) {
        BitBlt(grownDc, 0, 0, width, height, imageDc, 0, 0, SRCCOPY);
        SelectObject(imageDc, imageDcDefault);
        DeleteDC(imageDc);
        DeleteObject(image);
    }
    image = grown;
    imageDc = grownDc;
    imageDcDefault = grownDefault;
}

void Surface::DrawLine(int x1, int y1, int x2, int y2, COLORREF colour) {
    if (!imageDc) return;
    const HPEN pen = CreatePen(PS_SOLID, 1, colour);
    if (!pen) return;
    const HGDIOBJ previous = SelectObject(imageDc, pen);
    MoveToEx(imageDc, x1, y1, nullptr);
    LineTo(imageDc, x2, y2);
    SelectObject(imageDc, previous);
    DeleteObject(pen);
}

void Surface::Refresh() {
    if (window) InvalidateRect(window, nullptr, FALSE);
}

void Surface::Invalidate(const RECT& area) {
    if (window) InvalidateRect(window, &area, FALSE);
}

void Surface::FillBack(HDC dc, const RECT& area) const {
    const HBRUSH brush = CreateSolidBrush(backColour);
    FillRect(dc, &area, brush);
    DeleteObject(brush);
}

// Background and controls are put together off screen and shown in one piece, so that a label
// whose text changes does not flicker.
void Surface::Paint() {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(window, &paint);
    if (!dc) return;
    const RECT whole{0, 0, std::max(width, 1), std::max(height, 1)};
    const HDC buffer = CreateCompatibleDC(dc);
    const HBITMAP bitmap = buffer ? CreateCompatibleBitmap(dc, whole.right, whole.bottom) : nullptr;
    if (bitmap) {
        const HGDIOBJ previous = SelectObject(buffer, bitmap);
        if (imageDc) {
            BitBlt(buffer, 0, 0, width, height, imageDc, 0, 0, SRCCOPY);
        } else {
            FillBack(buffer, whole);
        }
        for (const WindowlessControl* control : controls) control->Paint(buffer);
        const RECT& area = paint.rcPaint;
        BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, buffer,
               area.left, area.top, SRCCOPY);
        SelectObject(buffer, previous);
        DeleteObject(bitmap);
    }
    if (buffer) DeleteDC(buffer);
    EndPaint(window, &paint);
}

WindowlessControl* Surface::ControlAt(POINT point) const {
    for (auto control = controls.rbegin(); control != controls.rend(); ++control) {
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
    if (over != window || hitTest != HTCLIENT) return false;
    POINT cursor;
    if (!GetCursorPos(&cursor)) return false;
    ScreenToClient(window, &cursor);
    const WindowlessControl* control = ControlAt(cursor);
    SetCursor(control && control->Pointer() ? control->Pointer() : LoadCursor(nullptr, IDC_ARROW));
    return true;
}

void Surface::MouseDown(int button, LPARAM position) {
    WindowlessControl* control = ControlAt({GET_X_LPARAM(position), GET_Y_LPARAM(position)});
    if (button == kLeftButton) {
        pressed = control;
        SetCapture(window);
    }
    if (control && control->MouseDown) control->MouseDown(button);
}

void Surface::MouseUp(int button, LPARAM position) {
    if (button != kLeftButton) return;
    WindowlessControl* target = pressed;
    pressed = nullptr;
    if (GetCapture() == window) ReleaseCapture();
    // Last, since a Click may close the window.
    if (target && ControlAt({GET_X_LPARAM(position), GET_Y_LPARAM(position)}) == target &&
        target->Click) {
        target->Click();
    }
}

std::optional<LRESULT> Surface::Handle(HWND from, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            if (from != window) return std::nullopt;
            Resize(LOWORD(lParam), HIWORD(lParam));
            return std::nullopt;  // the owner raises its own resize event
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            if (from != window) return std::nullopt;
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
            if (reinterpret_cast<HWND>(lParam) != window) pressed = nullptr;
            return std::nullopt;
        case WM_NCDESTROY:
            window = nullptr;
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

}  // namespace forms
