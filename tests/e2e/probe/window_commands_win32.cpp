// The probe's commands on windows found by their title, and one that covers part of the screen.
#include <cstdio>

#include "probe_commands_win32.h"

namespace {

HWND Titled(const std::wstring& hex, DWORD ms = 0, bool shown = false) {
    return WaitForWindow({.title = FromHex(hex), .shown = shown}, ms);
}

int Describe(HWND window) {
    RECT frame{}, client{};
    POINT origin{};
    char className[256] = {}, title[256] = {};
    if (!window || !GetWindowRect(window, &frame) || !GetClientRect(window, &client) ||
        !ClientToScreen(window, &origin) || !GetClassNameA(window, className, 256)) {
        std::printf("found=0\n");
        return 1;
    }
    GetWindowTextA(window, title, 256);
    const auto metric = GetSystemMetrics;
    const int left = metric(SM_XVIRTUALSCREEN), top = metric(SM_YVIRTUALSCREEN);
    std::printf(
        "found=1 visible=%d class=%s title=%s style=%lx exstyle=%lx rect=%ld,%ld,%ld,%ld "
        "client=%ld,%ld,%ld,%ld parent=%d screen=%d,%d virtual=%d,%d,%d,%d monitors=%d\n",
        IsWindowVisible(window), ToHex(className).c_str(), ToHex(title).c_str(),
        GetWindowLongA(window, GWL_STYLE), GetWindowLongA(window, GWL_EXSTYLE), frame.left,
        frame.top, frame.right, frame.bottom, origin.x, origin.y, client.right, client.bottom,
        GetAncestor(window, GA_PARENT) != GetDesktopWindow(), metric(SM_CXSCREEN),
        metric(SM_CYSCREEN), left, top, left + metric(SM_CXVIRTUALSCREEN),
        top + metric(SM_CYVIRTUALSCREEN), metric(SM_CMONITORS));
    return 0;
}

int GoneWithin(const std::wstring& hex, DWORD ms) {
    const bool gone = WaitFor(ms, [&] { return !Titled(hex); });
    std::printf("gone=%d\n", gone);
    return gone ? 0 : 1;
}

int Post(const std::wstring& hex, UINT message, WPARAM wParam) {
    const HWND window = Titled(hex);
    return window && PostMessageW(window, message, wParam, 0) ? 0 : 1;
}

}  // namespace

int WaitWindowCommand(const Arguments& args) {
    return Describe(Titled(args[0], Milliseconds(args[1])));
}

int WaitShownCommand(const Arguments& args) {
    return Describe(Titled(args[0], Milliseconds(args[1]), true));
}

int WaitGoneCommand(const Arguments& args) {
    return GoneWithin(args[0], Milliseconds(args[1]));
}

int CountCommand(const Arguments& args) {
    const std::string title = FromHex(args[0]);
    int count = 0;
    for (HWND at = nullptr; (at = FindWindowExA(nullptr, at, nullptr, title.c_str()));) ++count;
    std::printf("count=%d\n", count);
    return 0;
}

int KeysCommand(const Arguments& args) {
    std::vector<unsigned> codes;
    for (size_t i = 1; i < args.size(); ++i) codes.push_back(std::stoul(args[i]));
    const HWND window = Titled(args[0]);
    return window && TypeKeys(window, codes) ? 0 : 1;
}

int CloseCommand(const Arguments& args) {
    return Post(args[0], WM_CLOSE, 0);
}

int CloseBoxCommand(const Arguments& args) {
    return Post(args[0], WM_SYSCOMMAND, SC_CLOSE);
}

int ActivateOtherCommand(const Arguments& args) {
    const HWND other = MakeProbeWindow(0, WS_OVERLAPPEDWINDOW, {10, 10, 210, 110});
    if (!other) return 1;
    ShowWindow(other, SW_SHOW);
    SetForegroundWindow(other);
    SetActiveWindow(other);
    const int code = GoneWithin(args[0], Milliseconds(args[1]));
    DestroyWindow(other);
    return code;
}

int ControlsCommand(const Arguments& args) {
    const HWND window = Titled(args[0]);
    if (!window) return 1;
    EnumChildWindows(
        window,
        [](HWND control, LPARAM top) {
            wchar_t className[64] = {};
            GetClassNameW(control, className, 64);
            RECT box{};
            GetWindowRect(control, &box);
            MapWindowPoints(nullptr, reinterpret_cast<HWND>(top), reinterpret_cast<POINT*>(&box),
                            2);
            std::printf("control class=%s id=%d x=%ld y=%ld w=%ld h=%ld enabled=%d text=%s\n",
                        Utf8Hex(className).c_str(), GetDlgCtrlID(control), box.left, box.top,
                        box.right - box.left, box.bottom - box.top, IsWindowEnabled(control),
                        Utf8Hex(TextOf(control)).c_str());
            return TRUE;
        },
        reinterpret_cast<LPARAM>(window));
    return 0;
}

int CoverCommand(const Arguments& args) {
    const HWND cover =
        CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE, L"STATIC", L"", WS_POPUP | WS_VISIBLE,
                        std::stoi(args[0]), std::stoi(args[1]), std::stoi(args[2]),
                        std::stoi(args[3]), nullptr, nullptr, nullptr, nullptr);
    Pause(Milliseconds(args[4]));
    DestroyWindow(cover);
    Pause(200);
    return cover ? 0 : 1;
}
