// The probe's commands on the host's preview: it hosts "<scr> /p <window>" in a window of its own
// as the display settings do, shows the embedded preview where a capture can see it, and ends it
// by destroying that window.
#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "probe_commands_win32.h"
#include "probe_support_win32.h"

namespace {

// How long an embedded preview may take to end once its window has gone; a refused one (no
// child made) is given longer, since it still starts the whole host.
constexpr long kEndMs = 2000;
constexpr long kRefusedEndMs = 3000;

HWND MakeHostWindow(const RECT& area) {
    // Shown without activation: the renderer closes when another window becomes active.
    const HWND host = MakeProbeWindow(WS_EX_NOACTIVATE, WS_POPUP | WS_CLIPCHILDREN, area);
    if (host) ShowWindow(host, SW_SHOWNA);
    return host;
}

// The preview's window once it is embedded: a child of the host window, shown (the last step).
HWND PreviewChild(HWND host) {
    const HWND child = FindWindowExA(host, nullptr, nullptr, "Preview Window");
    return child && IsWindowVisible(child) ? child : nullptr;
}

// A child of another process's window is not drawn on this display; shown on its own over the
// same spot it draws its picture where a capture can see it. The file "ready" in the folder says
// so; the capture is over once the file "done" is there.
void ShowForCapture(HWND child, const RECT& area, const std::wstring& folder) {
    Pause(300);
    SetWindowLongW(child, GWL_STYLE, (GetWindowLongW(child, GWL_STYLE) & ~WS_CHILD) | WS_POPUP);
    SetParent(child, nullptr);
    SetWindowPos(child, HWND_TOPMOST, area.left, area.top, area.right - area.left,
                 area.bottom - area.top, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    InvalidateRect(child, nullptr, TRUE);
    Pause(500);
    const std::wstring done = folder + L"\\done";
    CloseHandle(CreateFileW((folder + L"\\ready").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            0, nullptr));
    WaitFor(60000, [&] { return GetFileAttributesW(done.c_str()) != INVALID_FILE_ATTRIBUTES; });
}

struct PreviewRound {
    bool child = false;
    long childMs = -1;
    long endMs = -1;
};

// One preview: host window, "/p <host>", wait for its child, optionally show it for a capture,
// destroy the host window, wait for the end.
PreviewRound RunPreview(const std::wstring& scr, const RECT& area,
                        const std::wstring& captureFolder, bool print) {
    PreviewRound round;
    const HWND host = MakeHostWindow(area);
    const DWORD start = GetTickCount();
    const HANDLE process = Start(scr, L"/p " + std::to_wstring(reinterpret_cast<INT_PTR>(host)));
    if (!process) {
        DestroyWindow(host);
        return round;
    }
    HWND child = nullptr;
    WaitFor(20000, [&] { return (child = PreviewChild(host)) != nullptr || Ended(process); });
    round.child = child != nullptr;
    round.childMs = static_cast<long>(GetTickCount() - start);
    if (child && print) {
        RECT frame{};
        GetWindowRect(child, &frame);
        POINT corner{frame.left, frame.top};
        ScreenToClient(host, &corner);
        std::printf("child=1 width=%ld height=%ld x=%ld y=%ld visible=%d\n",
                    frame.right - frame.left, frame.bottom - frame.top, corner.x, corner.y,
                    IsWindowVisible(child) ? 1 : 0);
        std::fflush(stdout);
    }
    if (child && !captureFolder.empty()) ShowForCapture(child, area, captureFolder);
    DestroyWindow(host);
    round.endMs = EndedWithin(process, 5000);
    return round;
}

}  // namespace

int PreviewCommand(const Arguments& args) {
    const int width = std::stoi(args[1]), height = std::stoi(args[2]);
    const int x = std::stoi(args[3]), y = std::stoi(args[4]);
    std::wstring captureFolder;
    bool refused = false;
    for (size_t i = 5; i < args.size(); ++i) {
        if (args[i] == L"--capture" && i + 1 < args.size()) captureFolder = args[++i];
        if (args[i] == L"--refused") refused = true;
    }
    const PreviewRound round =
        RunPreview(args[0], {x, y, x + width, y + height}, captureFolder, true);
    std::printf("child=%d end_ms=%ld\n", round.child ? 1 : 0, round.endMs);
    const bool childAsExpected = refused ? !round.child : round.child;
    const bool ended = round.endMs >= 0 && round.endMs <= (refused ? kRefusedEndMs : kEndMs);
    return childAsExpected && ended ? 0 : 1;
}

int PreviewLoopCommand(const Arguments& args) {
    const int rounds = std::stoi(args[1]);
    int failures = 0;
    long slowestChild = 0, slowestEnd = 0;
    for (int i = 0; i < rounds; ++i) {
        const PreviewRound round = RunPreview(args[0], {0, 0, 152, 112}, L"", false);
        if (!round.child || round.endMs < 0 || round.endMs > kEndMs) {
            ++failures;
            std::printf("failed round=%d child=%d end_ms=%ld\n", i, round.child ? 1 : 0,
                        round.endMs);
        }
        slowestChild = std::max(slowestChild, round.childMs);
        slowestEnd = std::max(slowestEnd, round.endMs);
    }
    std::printf("rounds=%d failures=%d slowest_child_ms=%ld slowest_end_ms=%ld\n", rounds, failures,
                slowestChild, slowestEnd);
    return failures == 0 ? 0 : 1;
}

int PreviewBadCommand(const Arguments& args) {
    const HWND gone = MakeProbeWindow(0, WS_POPUP, {0, 0, 10, 10});
    const std::wstring goneHandle = std::to_wstring(reinterpret_cast<INT_PTR>(gone));
    DestroyWindow(gone);
    int failures = 0;
    const std::vector<std::wstring> cases = {
        L"/p 0", L"/p", L"/p garbage", L"/p:99999999999", L"/p 12345678", L"/p " + goneHandle};
    for (const std::wstring& arguments : cases) {
        const HANDLE process = Start(args[0], arguments);
        const long took = process ? EndedWithin(process, 5000) : -1;
        std::printf("arguments=\"%s\" end_ms=%ld\n", Narrow(arguments, CP_UTF8).c_str(), took);
        if (took < 0 || took > kEndMs) ++failures;
    }
    return failures == 0 ? 0 : 1;
}
