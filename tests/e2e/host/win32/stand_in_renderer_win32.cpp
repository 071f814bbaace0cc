// A stand-in for the renderer Lullvane.dll while the real one is not built: one window, class
// and title "TorvaneⅡVC" through the ANSI functions, that closes on Esc and on WM_CLOSE and exits
// with code 0. LULLVANE_STAND_IN_DELAY_MS makes it wait before opening its window, like a
// renderer on a slow machine.
#include <windows.h>

#include <cstdlib>

namespace {

constexpr char kTitle[] = "\x54\x6F\x72\x76\x61\x6E\x65\x87\x55\x56\x43";

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE) PostMessageA(window, WM_CLOSE, 0, 0);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    if (const char* delay = std::getenv("LULLVANE_STAND_IN_DELAY_MS")) Sleep(std::atoi(delay));
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kTitle;
    if (!RegisterClassA(&windowClass)) return 1;
    HWND window = CreateWindowExA(WS_EX_TOPMOST, kTitle, kTitle, WS_POPUP, 0, 0, 320, 240, nullptr,
                                  nullptr, instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, show);
    SetForegroundWindow(window);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
