// host-probe: the end-to-end tests' eyes and hands on the Windows side. Window titles are given
// as hex code page 932 bytes so that they pass any command line unchanged. Each command prints
// key=value lines and exits with 0 when what it checks holds.
//   wait-window <title> <ms>      a top-level window with the title appears (prints visible=)
//   wait-gone <title> <ms>        no such window remains
//   count <title>                 how many top-level windows carry the title
//   escape <title>                brings the window forward and presses Esc
//   message-box <caption> <ms>    reads a message box (text, buttons, icon) and presses OK
//   preview <scr> <w> <h> <x> <y> [--capture <folder>] [--refused]
//                                 hosts "<scr> /p <window>" in a w x h window at x, y, then
//                                 destroys it; --capture shows the preview on its own there,
//                                 creates the file "ready" in the folder and waits for a file
//                                 "done" there
//   preview-loop <scr> <n>        n rounds of start preview, destroy its window, see it end
//   preview-bad <scr>             /p with handles that are no window: each must end at once
//   resources <file>              the file's version resource (fixed versions, then each string
//                                 as hex UTF-8) and its program manifest (hex)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "probe_support.h"

namespace {

using Clock = DWORD;

int Count(const std::string& title) {
    struct Search {
        const std::string* title;
        int count;
    } search{&title, 0};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            char text[256] = {};
            GetWindowTextA(window, text, sizeof text);
            if (*s->title == text) ++s->count;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.count;
}

int WaitWindow(const std::string& title, DWORD ms) {
    HWND window = nullptr;
    const bool found =
        WaitFor(ms, [&] { return (window = FindWindowA(nullptr, title.c_str())) != nullptr; });
    std::printf("found=%d visible=%d\n", found ? 1 : 0, found && IsWindowVisible(window) ? 1 : 0);
    return found ? 0 : 1;
}

int WaitGone(const std::string& title, DWORD ms) {
    const Clock start = GetTickCount();
    const bool gone = WaitFor(ms, [&] { return FindWindowA(nullptr, title.c_str()) == nullptr; });
    std::printf("gone=%d ms=%lu\n", gone ? 1 : 0, GetTickCount() - start);
    return gone ? 0 : 1;
}

int Escape(const std::string& title) {
    HWND window = FindWindowA(nullptr, title.c_str());
    if (!window) return 1;
    SetForegroundWindow(window);
    INPUT keys[2] = {};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = VK_ESCAPE;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    const UINT sent = SendInput(2, keys, sizeof(INPUT));
    std::printf("sent=%u\n", sent);
    return sent == 2 ? 0 : 1;
}

struct Controls {
    std::wstring text;
    int buttons = 0;
    bool okButton = false;
    bool icon = false;
};

int MessageBoxCheck(const std::string& caption, DWORD ms) {
    HWND box = nullptr;
    // Found once it is up: shown, with its buttons made.
    const auto ready = [&] {
        box = FindWindowA("#32770", caption.c_str());
        return box && IsWindowVisible(box) && GetDlgItem(box, IDOK);
    };
    if (!WaitFor(ms, ready)) {
        std::printf("found=0\n");
        return 1;
    }
    Controls controls;
    EnumChildWindows(
        box,
        [](HWND child, LPARAM data) -> BOOL {
            auto* c = reinterpret_cast<Controls*>(data);
            if (!IsWindowVisible(child)) return TRUE;
            wchar_t className[64] = {};
            GetClassNameW(child, className, 64);
            const LONG style = GetWindowLongW(child, GWL_STYLE);
            if (lstrcmpiW(className, L"Button") == 0) {
                ++c->buttons;
                if (GetDlgCtrlID(child) == IDOK) c->okButton = true;
            } else if (lstrcmpiW(className, L"Static") == 0) {
                if ((style & SS_TYPEMASK) == SS_ICON) {
                    if (SendMessageW(child, STM_GETICON, 0, 0)) c->icon = true;
                } else {
                    wchar_t text[512] = {};
                    GetWindowTextW(child, text, 512);
                    if (text[0]) c->text = text;
                }
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&controls));
    std::printf("found=1 text=%s buttons=%d ok=%d icon=%d\n",
                ToHex(Narrow(controls.text, CP_UTF8)).c_str(), controls.buttons,
                controls.okButton ? 1 : 0, controls.icon ? 1 : 0);
    std::fflush(stdout);
    HWND ok = GetDlgItem(box, IDOK);
    if (ok) PostMessageW(ok, BM_CLICK, 0, 0);
    return ok ? 0 : 1;
}

LRESULT CALLBACK HostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) return 1;
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND MakeHostWindow(int x, int y, int width, int height) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = HostProcedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"LullvaneProbeHost";
        registered = RegisterClassW(&windowClass) != 0;
    }
    // Shown without activation: the renderer closes when another window becomes active.
    HWND host = CreateWindowExW(WS_EX_NOACTIVATE, L"LullvaneProbeHost", L"Probe Host",
                                WS_POPUP | WS_CLIPCHILDREN, x, y, width, height, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    if (host) ShowWindow(host, SW_SHOWNA);
    return host;
}

HANDLE Start(const std::wstring& scr, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + scr + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(scr.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &started)) {
        return nullptr;
    }
    CloseHandle(started.hThread);
    return started.hProcess;
}

bool Ended(HANDLE process) {
    return WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
}

// Waits for the process to end; returns the milliseconds it took, or -1 (and ends it) when it did
// not end in time.
long EndedWithin(HANDLE process, DWORD ms) {
    const Clock start = GetTickCount();
    const bool ended = WaitFor(ms, [&] { return Ended(process); });
    const long took = static_cast<long>(GetTickCount() - start);
    if (!ended) TerminateProcess(process, 1);
    CloseHandle(process);
    return ended ? took : -1;
}

// The preview's window once it is embedded: a child of the host window, shown (the last step).
HWND PreviewChild(HWND host) {
    HWND child = FindWindowExA(host, nullptr, nullptr, "Preview Window");
    return child && IsWindowVisible(child) ? child : nullptr;
}

struct PreviewRound {
    bool child = false;
    long childMs = -1;
    long endMs = -1;
};

// One preview: host window, "/p <host>", wait for its child, optionally show it on its own for a
// capture, destroy the host window, wait for the end.
PreviewRound RunPreview(const std::wstring& scr, int width, int height, int x, int y,
                        const std::wstring& captureFolder, bool print) {
    PreviewRound round;
    HWND host = MakeHostWindow(x, y, width, height);
    const Clock start = GetTickCount();
    HANDLE process = Start(scr, L"/p " + std::to_wstring(reinterpret_cast<INT_PTR>(host)));
    if (!process) {
        DestroyWindow(host);
        return round;
    }
    HWND child = nullptr;
    WaitFor(20000, [&] { return (child = PreviewChild(host)) != nullptr || Ended(process); });
    round.child = child != nullptr;
    round.childMs = static_cast<long>(GetTickCount() - start);
    if (child && print) {
        RECT area{};
        GetWindowRect(child, &area);
        POINT corner{area.left, area.top};
        ScreenToClient(host, &corner);
        std::printf("child=1 width=%ld height=%ld x=%ld y=%ld visible=%d\n", area.right - area.left,
                    area.bottom - area.top, corner.x, corner.y, IsWindowVisible(child) ? 1 : 0);
        std::fflush(stdout);
    }
    if (child && !captureFolder.empty()) {
        // A child of another process's window is not drawn on this display; shown on its own over
        // the same spot it draws its picture where a capture can see it.
        const auto pause = [](DWORD ms) { WaitFor(ms, [] { return false; }); };
        pause(300);
        SetWindowLongW(child, GWL_STYLE, (GetWindowLongW(child, GWL_STYLE) & ~WS_CHILD) | WS_POPUP);
        SetParent(child, nullptr);
        SetWindowPos(child, HWND_TOPMOST, x, y, width, height,
                     SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        InvalidateRect(child, nullptr, TRUE);
        pause(500);
        const std::wstring done = captureFolder + L"\\done";
        CloseHandle(CreateFileW((captureFolder + L"\\ready").c_str(), GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, 0, nullptr));
        WaitFor(60000, [&] { return GetFileAttributesW(done.c_str()) != INVALID_FILE_ATTRIBUTES; });
    }
    DestroyWindow(host);
    round.endMs = EndedWithin(process, 5000);
    return round;
}

int Preview(const std::vector<std::wstring>& args) {
    const std::wstring& scr = args[0];
    const int width = std::stoi(args[1]), height = std::stoi(args[2]);
    const int x = std::stoi(args[3]), y = std::stoi(args[4]);
    std::wstring captureFolder;
    bool refused = false;
    for (size_t i = 5; i < args.size(); ++i) {
        if (args[i] == L"--capture" && i + 1 < args.size()) captureFolder = args[++i];
        if (args[i] == L"--refused") refused = true;
    }
    const PreviewRound round = RunPreview(scr, width, height, x, y, captureFolder, true);
    std::printf("child=%d end_ms=%ld\n", round.child ? 1 : 0, round.endMs);
    if (refused) return !round.child && round.endMs >= 0 && round.endMs <= 3000 ? 0 : 1;
    return round.child && round.endMs >= 0 && round.endMs <= 2000 ? 0 : 1;
}

int PreviewLoop(const std::wstring& scr, int rounds) {
    int failures = 0;
    long slowestChild = 0, slowestEnd = 0;
    for (int i = 0; i < rounds; ++i) {
        const PreviewRound round = RunPreview(scr, 152, 112, 0, 0, L"", false);
        if (!round.child || round.endMs < 0 || round.endMs > 2000) {
            ++failures;
            std::printf("failed round=%d child=%d end_ms=%ld\n", i, round.child ? 1 : 0,
                        round.endMs);
        }
        if (round.childMs > slowestChild) slowestChild = round.childMs;
        if (round.endMs > slowestEnd) slowestEnd = round.endMs;
    }
    std::printf("rounds=%d failures=%d slowest_child_ms=%ld slowest_end_ms=%ld\n", rounds, failures,
                slowestChild, slowestEnd);
    return failures == 0 ? 0 : 1;
}

int PreviewBad(const std::wstring& scr) {
    HWND gone = MakeHostWindow(0, 0, 10, 10);
    const std::wstring goneHandle = std::to_wstring(reinterpret_cast<INT_PTR>(gone));
    DestroyWindow(gone);
    int failures = 0;
    const std::vector<std::wstring> cases = {
        L"/p 0", L"/p", L"/p garbage", L"/p:99999999999", L"/p 12345678", L"/p " + goneHandle};
    for (const std::wstring& arguments : cases) {
        HANDLE process = Start(scr, arguments);
        const long took = process ? EndedWithin(process, 5000) : -1;
        std::printf("arguments=\"%s\" end_ms=%ld\n", Narrow(arguments, CP_UTF8).c_str(), took);
        if (took < 0 || took > 2000) ++failures;
    }
    return failures == 0 ? 0 : 1;
}

std::string Utf8Hex(const std::wstring& text) {
    return ToHex(Narrow(text, CP_UTF8));
}

int Resources(const std::wstring& file) {
    DWORD unused = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &unused);
    std::vector<char> info(size);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (size == 0 || !GetFileVersionInfoW(file.c_str(), 0, size, info.data()) ||
        !VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length)) {
        std::printf("version=0\n");
        return 1;
    }
    std::printf("file_version=%u.%u.%u.%u product_version=%u.%u.%u.%u\n",
                HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS),
                HIWORD(fixed->dwProductVersionMS), LOWORD(fixed->dwProductVersionMS),
                HIWORD(fixed->dwProductVersionLS), LOWORD(fixed->dwProductVersionLS));
    // The strings of the first language the resource lists.
    const WORD* translation = nullptr;
    if (!VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(const_cast<WORD**>(&translation)), &length) ||
        length < 2 * sizeof(WORD)) {
        return 1;
    }
    wchar_t block[64];
    std::swprintf(block, 64, L"\\StringFileInfo\\%04x%04x\\", translation[0], translation[1]);
    for (const wchar_t* name : {L"FileVersion", L"ProductVersion", L"ProductName",
                                L"FileDescription", L"CompanyName", L"LegalCopyright"}) {
        wchar_t* value = nullptr;
        const bool found = VerQueryValueW(info.data(), (std::wstring(block) + name).c_str(),
                                          reinterpret_cast<void**>(&value), &length);
        std::printf("%s=%s\n", Narrow(name, CP_UTF8).c_str(), found ? Utf8Hex(value).c_str() : "");
    }
    const HMODULE module = LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    const HRSRC manifest =
        module ? FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24 /* RT_MANIFEST */))
               : nullptr;
    const HGLOBAL loaded = manifest ? LoadResource(module, manifest) : nullptr;
    const char* text = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    std::printf("manifest=%s\n",
                text ? ToHex(std::string(text, SizeofResource(module, manifest))).c_str() : "");
    if (module) FreeLibrary(module);
    return text ? 0 : 1;
}

}  // namespace

int main() {
    std::vector<std::wstring> args = ProbeArguments();
    if (args.empty()) return 2;
    const std::wstring command = args[0];
    args.erase(args.begin());
    const auto title = [&] { return FromHex(args.at(0)); };
    if (command == L"wait-window" && args.size() == 2)
        return WaitWindow(title(), std::stoul(args[1]));
    if (command == L"wait-gone" && args.size() == 2) return WaitGone(title(), std::stoul(args[1]));
    if (command == L"count" && args.size() == 1) {
        std::printf("count=%d\n", Count(title()));
        return 0;
    }
    if (command == L"escape" && args.size() == 1) return Escape(title());
    if (command == L"message-box" && args.size() == 2)
        return MessageBoxCheck(title(), std::stoul(args[1]));
    if (command == L"preview" && args.size() >= 5) return Preview(args);
    if (command == L"preview-loop" && args.size() == 2)
        return PreviewLoop(args[0], std::stoi(args[1]));
    if (command == L"preview-bad" && args.size() == 1) return PreviewBad(args[0]);
    if (command == L"resources" && args.size() == 1) return Resources(args[0]);
    std::fprintf(stderr, "host-probe: unknown command or arguments\n");
    return 2;
}
