// The probe's "command-button" command: one Command button in a small window of its own, so that a
// test can look at it and click it. It appends "ready X Y W H" (the button's screen rectangle) to
// the report file once the button shows, and "click" on every Click. Clicking the window's
// background takes the focus away from the button.
#include <windows.h>

#include <cstdio>
#include <string>

#include "command_win32.h"
#include "probe_commands_win32.h"
#include "probe_support_win32.h"

namespace {

constexpr UINT_PTR kGiveUpTimer = 1;
constexpr UINT kGiveUpMs = 300000;  // never outlive a test that forgot to end us

std::wstring reportPath;

void Report(const std::string& line) {
    if (FILE* report = _wfopen(reportPath.c_str(), L"a")) {
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

int CommandButtonCommand(const Arguments& args) {
    reportPath = args[0];
    const bool disabled = args.size() > 1 && args[1] == L"disabled";

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
                                        WS_POPUP | WS_CLIPCHILDREN, 40, 40, 200, 90, nullptr,
                                        nullptr, instance, nullptr);
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
