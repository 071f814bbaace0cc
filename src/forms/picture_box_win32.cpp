#include "picture_box_win32.h"

#include "failure_trace_win32.h"

namespace forms {

namespace {

constexpr wchar_t kClassName[] = L"LullvanePictureBox";

bool RegisterPictureBoxClass(WNDPROC procedure) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (GetClassInfoExW(instance, kClassName, &windowClass)) return true;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClassName;
    if (RegisterClassExW(&windowClass)) return true;
    TraceFailure(L"RegisterClassExW");
    return false;
}

}  // namespace

PictureBox::PictureBox(COLORREF backColour) : surface_(backColour, true) {}

PictureBox::~PictureBox() {
    if (window_) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

bool PictureBox::Create(HWND parent, int controlId, int x, int y, int width, int height) {
    if (window_ || !RegisterPictureBoxClass(&PictureBox::Procedure)) return false;
    window_ =
        CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, L"",
                        WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, x, y, width,
                        height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)),
                        GetModuleHandleW(nullptr), nullptr);
    if (!window_) {
        TraceFailure(L"CreateWindowExW");
        return false;
    }
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    surface_.Attach(window_);
    return true;
}

LRESULT CALLBACK PictureBox::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* box = reinterpret_cast<PictureBox*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (box) {
        if (message == WM_NCDESTROY) box->window_ = nullptr;
        if (const auto handled = box->surface_.Handle(window, message, wParam, lParam)) {
            return *handled;
        }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace forms
