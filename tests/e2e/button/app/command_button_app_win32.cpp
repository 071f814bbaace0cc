// Shows one Command button in a small window so that a test can look at it and click it.
//
//   command-button-app.exe REPORT [disabled]
//
// Appends "ready X Y W H" (the button's screen rectangle) to REPORT once the button shows, and
// "click" on every Click. With "disabled" the button is disabled after it is initialised.
// Clicking the window's background takes the focus away from the button.

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "command_win32.h"

namespace {

constexpr int kWindowX = 40;
constexpr int kWindowY = 40;
constexpr UINT_PTR kGiveUpTimer = 1;
constexpr UINT kGiveUpMs = 300000;  // never outlive a test that forgot to end us

std::string reportPath;

void Report(const std::string& line) {
    if (FILE* report = std::fopen(reportPath.c_str(), "a")) {
        std::fprintf(report, "%s\n", line.c_str());
        std::fclose(report);
    }
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN:
            SetFocus(window);
            return 0;
        case WM_TIMER:
            if (wParam == kGiveUpTimer) DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: command-button-app REPORT [disabled]\n");
        return 2;
    }
    reportPath = argv[1];
    const bool disabled = argc > 2 && std::strcmp(argv[2], "disabled") == 0;

    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = CreateSolidBrush(RGB(40, 70, 110));
    windowClass.lpszClassName = L"CommandButtonTest";
    if (!RegisterClassExW(&windowClass)) return 1;
    const HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"Command button test",
                                        WS_POPUP | WS_CLIPCHILDREN, kWindowX, kWindowY, 200, 90,
                                        nullptr, nullptr, instance, nullptr);
    if (!window) return 1;

    // Stored values as a dialog keeps them: a caption and a font.
    MemoryPropertyBag stored;
    stored.Write("Caption", std::wstring(L"\u8A2D\u5B9A"));
    stored.Write("Font", DesignFont());
    CommandWindow* button = CommandWindow::Create(window, 1, 30, 30, 64, 25, stored, DesignFont());
    if (!button) return 1;
    button->Button().SetClickHandler([] { Report("click"); });
    button->Button().Initialize();
    if (disabled) button->Button().SetEnabled(false);

    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    SetForegroundWindow(window);
    SetTimer(window, kGiveUpTimer, kGiveUpMs, nullptr);

    RECT bounds{};
    GetWindowRect(button->Handle(), &bounds);
    Report("ready " + std::to_string(bounds.left) + " " + std::to_string(bounds.top) + " " +
           std::to_string(bounds.right - bounds.left) + " " +
           std::to_string(bounds.bottom - bounds.top));

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
