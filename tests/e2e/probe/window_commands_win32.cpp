// The probe's commands on windows found by their title: wait for them, describe them, type into
// them, close them, take their activation, list their controls, cover part of the screen.
#include <windows.h>

#include <cstdio>

#include "probe_commands_win32.h"
#include "probe_support_win32.h"

namespace {

void PrintWindow(HWND window) {
    RECT frame{}, client{};
    GetWindowRect(window, &frame);
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    char className[256] = {}, title[256] = {};
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, title, sizeof title);
    std::printf("found=1 visible=%d class=%s title=%s style=0x%08lx exstyle=0x%08lx",
                IsWindowVisible(window) ? 1 : 0, ToHex(className).c_str(), ToHex(title).c_str(),
                static_cast<unsigned long>(GetWindowLongA(window, GWL_STYLE)),
                static_cast<unsigned long>(GetWindowLongA(window, GWL_EXSTYLE)));
    std::printf(" rect=%ld,%ld,%ld,%ld client=%ld,%ld,%ld,%ld parent=%d foreground=%d", frame.left,
                frame.top, frame.right, frame.bottom, origin.x, origin.y, client.right,
                client.bottom, GetAncestor(window, GA_PARENT) != GetDesktopWindow(),
                GetForegroundWindow() == window);
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    std::printf(" screen=%d,%d virtual=%d,%d,%d,%d monitors=%d\n", GetSystemMetrics(SM_CXSCREEN),
                GetSystemMetrics(SM_CYSCREEN), left, top,
                left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                top + GetSystemMetrics(SM_CYVIRTUALSCREEN), GetSystemMetrics(SM_CMONITORS));
}

int WaitAndDescribe(const Arguments& args, bool shown) {
    const HWND window =
        WaitForWindow({.title = FromHex(args[0]), .shown = shown}, Milliseconds(args[1]));
    if (!window) {
        std::printf("found=0\n");
        return 1;
    }
    PrintWindow(window);
    return 0;
}

}  // namespace

int WaitWindowCommand(const Arguments& args) {
    return WaitAndDescribe(args, false);
}

int WaitShownCommand(const Arguments& args) {
    return WaitAndDescribe(args, true);
}

int WaitGoneCommand(const Arguments& args) {
    const std::string title = FromHex(args[0]);
    const DWORD start = GetTickCount();
    const bool gone =
        WaitFor(Milliseconds(args[1]), [&] { return !WaitForWindow({.title = title}); });
    std::printf("gone=%d ms=%lu\n", gone ? 1 : 0, GetTickCount() - start);
    return gone ? 0 : 1;
}

int CountCommand(const Arguments& args) {
    struct Search {
        std::string title;
        int count = 0;
    } search{.title = FromHex(args[0])};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            char text[256] = {};
            GetWindowTextA(window, text, sizeof text);
            if (s->title == text) ++s->count;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    std::printf("count=%d\n", search.count);
    return 0;
}

int KeysCommand(const Arguments& args) {
    const HWND window = WaitForWindow({.title = FromHex(args[0])});
    if (!window) return 1;
    std::vector<unsigned> codes;
    for (size_t i = 1; i < args.size(); ++i) codes.push_back(std::stoul(args[i]));
    const bool typed = TypeKeys(window, codes);
    std::printf("typed=%d\n", typed ? 1 : 0);
    return typed ? 0 : 1;
}

int CloseCommand(const Arguments& args) {
    const HWND window = WaitForWindow({.title = FromHex(args[0])});
    return window && PostMessageA(window, WM_CLOSE, 0, 0) ? 0 : 1;
}

int CloseBoxCommand(const Arguments& args) {
    const HWND window = WaitForWindow({.title = FromHex(args[0])});
    return window && PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0) ? 0 : 1;
}

int ActivateOtherCommand(const Arguments& args) {
    const std::string title = FromHex(args[0]);
    const HWND other = MakeProbeWindow(0, WS_OVERLAPPEDWINDOW, {10, 10, 210, 110});
    if (!other) return 1;
    ShowWindow(other, SW_SHOW);
    SetForegroundWindow(other);
    SetActiveWindow(other);
    const bool gone =
        WaitFor(Milliseconds(args[1]), [&] { return !WaitForWindow({.title = title}); });
    std::printf("active=%d gone=%d\n", GetForegroundWindow() == other, gone ? 1 : 0);
    DestroyWindow(other);
    return gone ? 0 : 1;
}

int ControlsCommand(const Arguments& args) {
    const HWND window = WaitForWindow({.title = FromHex(args[0])});
    if (!window) return 1;
    EnumChildWindows(
        window,
        [](HWND control, LPARAM data) -> BOOL {
            const HWND top = reinterpret_cast<HWND>(data);
            wchar_t className[64] = {};
            GetClassNameW(control, className, 64);
            RECT frame{};
            GetWindowRect(control, &frame);
            MapWindowPoints(nullptr, top, reinterpret_cast<POINT*>(&frame), 2);
            std::printf("control class=%s id=%d x=%ld y=%ld w=%ld h=%ld enabled=%d text=%s\n",
                        Utf8Hex(className).c_str(), GetDlgCtrlID(control), frame.left, frame.top,
                        frame.right - frame.left, frame.bottom - frame.top,
                        IsWindowEnabled(control) ? 1 : 0, Utf8Hex(TextOf(control)).c_str());
            return TRUE;
        },
        reinterpret_cast<LPARAM>(window));
    return 0;
}

int CoverCommand(const Arguments& args) {
    const HWND cover =
        CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE, L"STATIC", L"", WS_POPUP | WS_VISIBLE,
                        std::stoi(args[0]), std::stoi(args[1]), std::stoi(args[2]),
                        std::stoi(args[3]), nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!cover) return 1;
    Pause(Milliseconds(args[4]));
    DestroyWindow(cover);
    Pause(200);
    std::printf("covered=1\n");
    return 0;
}
