// dialog-probe: what the settings dialog's end-to-end test reads and does on the Windows side.
// Titles are given as hex code page 932 bytes, texts are printed as hex UTF-8, so that both pass
// any command line and console unchanged. Each command prints key=value pairs and exits with 0
// when what it looks for was found.
//   window <title> <ms>          waits for the top-level window; its client area on the screen
//                                and frame styles
//   controls <title>             one line per control window inside it: class, id, frame in the
//                                window's client area, enabled, text
//   file-dialog <title> <ms> <path>
//                                waits for an open-file dialog with the title, reads its filter
//                                and read-only box, types the path (hex UTF-8) and presses Open
//   cover <x> <y> <w> <h> <ms>   covers that part of the screen with a window for ms, then removes
//   it close <title>                sends the window its close command (as its close box does)
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "probe_support.h"

namespace {

std::string Hex(const std::wstring& text) {
    return ToHex(Narrow(text, CP_UTF8));
}

std::wstring Utf8FromHex(const std::wstring& hex) {
    return Widen(FromHex(hex), CP_UTF8);
}

std::wstring TextOf(HWND window) {
    wchar_t text[512] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        2000, &length);
    return text;
}

HWND WaitWindow(const char* className, const std::string& title, DWORD ms) {
    HWND window = nullptr;
    WaitFor(ms, [&] {
        window = FindWindowA(className, title.c_str());
        return window && IsWindowVisible(window);
    });
    return window && IsWindowVisible(window) ? window : nullptr;
}

int Window(const std::string& title, DWORD ms) {
    const HWND window = WaitWindow(nullptr, title, ms);
    if (!window) {
        std::printf("found=0\n");
        return 1;
    }
    RECT client{};
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    std::printf(
        "found=1 client_x=%ld client_y=%ld client_w=%ld client_h=%ld caption=%d sysmenu=%d "
        "sizable=%d maximize=%d\n",
        origin.x, origin.y, client.right, client.bottom, (style & WS_CAPTION) == WS_CAPTION,
        (style & WS_SYSMENU) != 0, (style & WS_THICKFRAME) != 0, (style & WS_MAXIMIZEBOX) != 0);
    return 0;
}

int Controls(const std::string& title) {
    const HWND window = FindWindowA(nullptr, title.c_str());
    if (!window) return 1;
    struct Walk {
        HWND top;
    } walk{window};
    EnumChildWindows(
        window,
        [](HWND control, LPARAM data) -> BOOL {
            const HWND top = reinterpret_cast<Walk*>(data)->top;
            wchar_t className[64] = {};
            GetClassNameW(control, className, 64);
            RECT frame{};
            GetWindowRect(control, &frame);
            MapWindowPoints(nullptr, top, reinterpret_cast<POINT*>(&frame), 2);
            std::printf("control class=%s id=%d x=%ld y=%ld w=%ld h=%ld enabled=%d text=%s\n",
                        Hex(className).c_str(), GetDlgCtrlID(control), frame.left, frame.top,
                        frame.right - frame.left, frame.bottom - frame.top,
                        IsWindowEnabled(control) ? 1 : 0, Hex(TextOf(control)).c_str());
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&walk));
    return 0;
}

// Control ids of the system's open-file dialog.
constexpr int kFileTypes = 0x470;     // cmb1
constexpr int kReadOnlyBox = 0x410;   // chx1
constexpr int kFileNameBox = 0x47c;   // cmb13
constexpr int kFileNameEdit = 0x480;  // edt1

int FileDialog(const std::string& title, DWORD ms, const std::wstring& path) {
    const HWND dialog = WaitWindow("#32770", title, ms);
    if (!dialog) {
        std::printf("found=0\n");
        return 1;
    }
    const HWND types = GetDlgItem(dialog, kFileTypes);
    const HWND readOnly = GetDlgItem(dialog, kReadOnlyBox);
    HWND name = GetDlgItem(dialog, kFileNameBox);
    if (!name) name = GetDlgItem(dialog, kFileNameEdit);
    std::printf("found=1 filter=%s read_only_box=%d\n", Hex(types ? TextOf(types) : L"").c_str(),
                readOnly && IsWindowVisible(readOnly) ? 1 : 0);
    std::fflush(stdout);
    if (!name) return 1;
    SendMessageTimeoutW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()),
                        SMTO_ABORTIFHUNG, 2000, nullptr);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    const bool closed = WaitFor(ms, [&] { return !IsWindow(dialog); });
    std::printf("closed=%d\n", closed ? 1 : 0);
    return closed ? 0 : 1;
}

int Cover(int x, int y, int width, int height, DWORD ms) {
    const HWND cover =
        CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE, L"STATIC", L"", WS_POPUP | WS_VISIBLE, x,
                        y, width, height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!cover) return 1;
    WaitFor(ms, [] { return false; });
    DestroyWindow(cover);
    WaitFor(200, [] { return false; });
    std::printf("covered=1\n");
    return 0;
}

int Close(const std::string& title) {
    const HWND window = FindWindowA(nullptr, title.c_str());
    if (!window) return 1;
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    std::printf("sent=1\n");
    return 0;
}

}  // namespace

int main() {
    std::vector<std::wstring> args = ProbeArguments();
    if (args.empty()) return 2;
    const std::wstring command = args[0];
    args.erase(args.begin());
    if (command == L"window" && args.size() == 2)
        return Window(FromHex(args[0]), std::stoul(args[1]));
    if (command == L"controls" && args.size() == 1) return Controls(FromHex(args[0]));
    if (command == L"file-dialog" && args.size() == 3)
        return FileDialog(FromHex(args[0]), std::stoul(args[1]), Utf8FromHex(args[2]));
    if (command == L"cover" && args.size() == 5)
        return Cover(std::stoi(args[0]), std::stoi(args[1]), std::stoi(args[2]), std::stoi(args[3]),
                     std::stoul(args[4]));
    if (command == L"close" && args.size() == 1) return Close(FromHex(args[0]));
    std::fprintf(stderr, "dialog-probe: unknown command or arguments\n");
    return 2;
}
