// The probe's commands on windows found by their title, and one that covers part of the screen.
#include <cstdio>

#include "probe_win32.h"

namespace {

int Describe(HWND window) {
    RECT frame{}, client{};
    POINT origin{};
    char className[256] = {}, title[256] = {};
    if (!window || !GetWindowRect(window, &frame) || !GetClientRect(window, &client) ||
        !ClientToScreen(window, &origin) || !GetClassNameA(window, className, 256)) {
        return NotFound();
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

}  // namespace

int WaitWindowCommand(const Arguments& args) {
    return Describe(WaitForWindow({.hexTitle = args[0]}, std::stoul(args[1])));
}

int WaitShownCommand(const Arguments& args) {
    return Describe(WaitForWindow({.hexTitle = args[0], .shown = true}, std::stoul(args[1])));
}

int WaitGoneCommand(const Arguments& args) {
    const bool gone =
        WaitFor(std::stoul(args[1]), [&] { return !WaitForWindow({.hexTitle = args[0]}); });
    std::printf("gone=%d\n", gone);
    return gone ? 0 : 1;
}

int CountCommand(const Arguments& args) {
    const std::string title = FromHex(args[0]);
    int count = 0;
    for (HWND at = nullptr; (at = FindWindowExA(nullptr, at, nullptr, title.c_str()));) ++count;
    std::printf("count=%d\n", count);
    return 0;
}

// Brought forward, the window gets each virtual-key code through the input queue, 200 ms apart.
int KeysCommand(const Arguments& args) {
    std::vector<WORD> keys;
    for (size_t i = 1; i < args.size(); ++i) keys.push_back(static_cast<WORD>(std::stoul(args[i])));
    const HWND window = WaitForWindow({.hexTitle = args[0]});
    if (!window) return 1;
    SetForegroundWindow(window);
    for (const WORD key : keys) {
        if (&key != keys.data()) Pause(200);
        INPUT input[2] = {};
        for (INPUT& event : input) {
            event.type = INPUT_KEYBOARD;
            event.ki.wVk = key;
            event.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
        }
        input[1].ki.dwFlags = KEYEVENTF_KEYUP;
        if (SendInput(2, input, sizeof(INPUT)) != 2) return 1;
    }
    return 0;
}

// Without a window, PostMessageW would post to this thread and succeed.
int CloseCommand(const Arguments& args) {
    const HWND window = WaitForWindow({.hexTitle = args[0]});
    const bool box = args.size() > 1;
    return window && PostMessageW(window, box ? WM_SYSCOMMAND : WM_CLOSE, box ? SC_CLOSE : 0, 0)
               ? 0
               : 1;
}

int ActivateOtherCommand(const Arguments& args) {
    const HWND other = MakeProbeWindow(0, WS_OVERLAPPEDWINDOW, {10, 10, 210, 110});
    if (!other) return 1;
    ShowWindow(other, SW_SHOW);
    SetForegroundWindow(other);
    SetActiveWindow(other);
    const int code = WaitGoneCommand(args);
    DestroyWindow(other);
    return code;
}

int ControlsCommand(const Arguments& args) {
    const HWND window = WaitForWindow({.hexTitle = args[0]});
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
    Pause(std::stoul(args[4]));
    DestroyWindow(cover);
    Pause(200);
    return cover ? 0 : 1;
}
