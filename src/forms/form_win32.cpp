#include "form_win32.h"

#include <algorithm>

#include "image_win32.h"
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
}

}  // namespace

Form::Form(FormDesign design) : design(std::move(design)) {}

Form::~Form() {
    if (window) {
        // The window may outlive the form only by mistake; never leave it calling back into us.
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        DestroyWindow(window);
    }
    if (background) DeleteObject(background);
}

void Form::Load() {
    if (window) return;
    RegisterFormClass();
    background = CreateSolidBrush(design.backColour);
    window = CreateWindowExW(0, kClassName, design.caption.c_str(), WS_POPUP | WS_CLIPCHILDREN, 0,
                             0, design.width, design.height, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    if (!window) return;
    ++loadedForms;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Form::Procedure));
    if (Loaded) Loaded();
}

void Form::Show() {
    if (window) ShowWindow(window, SW_SHOW);
}

void Form::Unload() {
    if (window) DestroyWindow(window);
}

void Form::Move(int x, int y, int width, int height) {
    if (window) MoveWindow(window, x, y, width, height, TRUE);
}

void Form::Add(Image& image) {
    images.push_back(&image);
    if (window) InvalidateRect(window, nullptr, TRUE);
}

LRESULT CALLBACK Form::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!form) return DefWindowProcW(window, message, wParam, lParam);
    return form->OnMessage(message, wParam, lParam);
}

LRESULT Form::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE:
            Unload();
            return 0;
        case WM_DESTROY:
            // Reached whether the form was unloaded or its window went with a parent window.
            RunUnloadEvents();
            return 0;
        case WM_NCDESTROY: {
            const HWND gone = window;
            window = nullptr;
            for (Timer* timer : timers) timer->WindowGone();
            if (--loadedForms == 0) PostQuitMessage(0);
            return DefWindowProcW(gone, message, wParam, lParam);
        }
        case WM_TIMER: {
            const auto timer = std::find_if(timers.begin(), timers.end(),
                                            [&](const Timer* t) { return t->Id() == wParam; });
            if (timer != timers.end()) (*timer)->Fire();
            return 0;
        }
        case WM_ERASEBKGND: {
            RECT area;
            GetClientRect(window, &area);
            FillRect(reinterpret_cast<HDC>(wParam), &area, background);
            return 1;
        }
        case WM_PAINT:
            Paint();
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

void Form::Paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    for (const Image* image : images) image->Paint(dc);
    EndPaint(window, &paint);
}

void Form::RunUnloadEvents() {
    if (unloading) return;
    unloading = true;
    if (QueryUnload) QueryUnload();
    if (Unloaded) Unloaded();
}

}  // namespace forms
