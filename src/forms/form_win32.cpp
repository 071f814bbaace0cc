#include "form_win32.h"

#include <algorithm>

#include "failure_trace_win32.h"
#include "timer_win32.h"

namespace forms {

namespace {

constexpr wchar_t kClassName[] = L"LullvaneForm";
int loadedForms = 0;

void RegisterFormClass() {
    static bool registered = false;
    if (registered) return;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    registered = RegisterClassExW(&windowClass) != 0;
    if (!registered) TraceFailure(L"RegisterClassExW");
}

DWORD StyleOf(BorderStyle border) {
    const DWORD style = border == BorderStyle::FixedSingle ? WS_CAPTION | WS_SYSMENU : WS_POPUP;
    return style | WS_CLIPCHILDREN;
}

}  // namespace

Form::Form(FormDesign design)
    : design_(std::move(design)),
      surface_(this->design_.backColour, this->design_.persistentImage) {}

Form::~Form() {
    if (window_) {
        // The window may outlive the form only by mistake; never leave it calling back into us.
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
    if (icon_) DestroyIcon(icon_);
}

void Form::Load() {
    if (window_) return;
    RegisterFormClass();
    const DWORD style = StyleOf(design_.border);
    RECT outer{0, 0, design_.width, design_.height};
    AdjustWindowRectEx(&outer, style, FALSE, 0);
    window_ = CreateWindowExW(0, kClassName, design_.caption.c_str(), style, 0, 0,
                              outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    if (!window_) {
        TraceFailure(L"CreateWindowExW");
        return;
    }
    ++loadedForms;
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Form::Procedure));
    if (design_.icon) {
        icon_ = static_cast<HICON>(
            LoadImageW(GetModuleHandleW(nullptr), design_.icon, IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
        if (icon_) {
            SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
        } else {
            TraceFailure(L"LoadImageW");
        }
    }
    surface_.Attach(window_);
    if (Loaded) Loaded();
}

void Form::Show() {
    if (!window_) return;
    if (!shown_) {
        shown_ = true;
        if (Resized) Resized();
    }
    ShowWindow(window_, SW_SHOW);
}

void Form::ShowModal() {
    Show();
    MSG message;
    while (window_) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            // Leave the end of the program to the loop that waits for it.
            if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (window_ && IsDialogMessageW(window_, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void Form::Unload() {
    if (!window_) return;
    RunUnloadEvents();
    if (window_) DestroyWindow(window_);
}

void Form::Move(int x, int y, int width, int height) {
    if (window_) MoveWindow(window_, x, y, width, height, TRUE);
}

LRESULT CALLBACK Form::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!form) return DefWindowProcW(window, message, wParam, lParam);
    return form->OnMessage(message, wParam, lParam);
}

LRESULT Form::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (const auto handled = surface_.Handle(window_, message, wParam, lParam)) return *handled;
    switch (message) {
        case WM_CLOSE:
            Unload();
            return 0;
        case WM_SIZE:
            if (shown_ && Resized) Resized();
            return 0;
        case WM_DESTROY:
            // Reached without Unload when the window goes with a parent window.
            RunUnloadEvents();
            return 0;
        case WM_NCDESTROY: {
            const HWND gone = window_;
            window_ = nullptr;
            for (Timer* timer : timers_) timer->WindowGone();
            if (--loadedForms == 0) PostQuitMessage(0);
            return DefWindowProcW(gone, message, wParam, lParam);
        }
        case WM_TIMER: {
            const auto timer = std::find_if(timers_.begin(), timers_.end(),
                                            [&](const Timer* t) { return t->Id() == wParam; });
            if (timer != timers_.end()) (*timer)->Fire();
            return 0;
        }
        default:
            return DefWindowProcW(window_, message, wParam, lParam);
    }
}

void Form::RunUnloadEvents() {
    if (unloading_) return;
    unloading_ = true;
    if (QueryUnload) QueryUnload();
    if (Unloaded) Unloaded();
}

}  // namespace forms
