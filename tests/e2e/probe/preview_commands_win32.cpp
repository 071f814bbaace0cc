// The probe's preview command: it hosts "<scr> /p <window>" in a window of its own, as the display
// settings do, and ends each preview by destroying that window.
#include <algorithm>
#include <cstdio>

#include "probe_win32.h"

int PreviewCommand(const Arguments& args) {
    // How long a preview may take to end after its window went, or a refused one after its start.
    constexpr long kEndMs = 2000;
    const int x = std::stoi(args[3]), y = std::stoi(args[4]), rounds = std::stoi(args[5]);
    const RECT area{x, y, x + std::stoi(args[1]), y + std::stoi(args[2])};
    const std::wstring option = args.size() > 6 ? args[6] : L"";
    const bool refused = option == L"--refused";
    int failures = 0;
    long slowest = 0;
    for (int round = 0; round < rounds; ++round) {
        // Shown without activation: the renderer closes when another window becomes active.
        const HWND host = MakeProbeWindow(WS_EX_NOACTIVATE, WS_POPUP | WS_CLIPCHILDREN, area);
        ShowWindow(host, SW_SHOWNA);
        const DWORD started = GetTickCount();
        const std::wstring embedded = L"/p " + std::to_wstring(reinterpret_cast<INT_PTR>(host));
        const HANDLE process = Start(args[0], refused && args.size() > 7 ? args[7] : embedded);
        // The preview's window once it is embedded: a child of the host window, shown last.
        HWND child = nullptr;
        WaitFor(20000, [&] {
            child = FindWindowExA(host, nullptr, nullptr, "Preview Window");
            if (child && !IsWindowVisible(child)) child = nullptr;
            return child || !process || Ended(process);
        });
        // Embedded, it fills the window it was given.
        RECT frame{};
        const bool fills = child && GetWindowRect(child, &frame) && EqualRect(&frame, &area);
        if (child && option == L"--capture") {
            // A child of another process's window is not drawn on this display: shown on its own
            // over the same spot, it draws its picture where a capture can see it. The file
            // "ready" in the folder says so; the capture is over once the file "done" is there.
            Pause(300);
            SetWindowLongW(child, GWL_STYLE,
                           (GetWindowLongW(child, GWL_STYLE) & ~WS_CHILD) | WS_POPUP);
            SetParent(child, nullptr);
            SetWindowPos(child, HWND_TOPMOST, x, y, area.right - x, area.bottom - y,
                         SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_FRAMECHANGED);
            InvalidateRect(child, nullptr, TRUE);
            Pause(500);
            const std::wstring done = args[7] + L"\\done";
            CloseHandle(CreateFileW((args[7] + L"\\ready").c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, 0, nullptr));
            WaitFor(60000,
                    [&] { return GetFileAttributesW(done.c_str()) != INVALID_FILE_ATTRIBUTES; });
        }
        DestroyWindow(host);
        const DWORD destroyed = GetTickCount();
        // Whether it started and how it ended tell a refusal from a crash or a failed start.
        const auto exitCode = process ? ExitCodeWithin(process, 5000) : std::nullopt;
        const bool ended = exitCode.has_value();
        const long endMs = static_cast<long>(GetTickCount() - (refused ? started : destroyed));
        if (!ended || (refused ? child != nullptr : !fills) || endMs > kEndMs) {
            ++failures;
            std::printf("failed round=%d started=%d exit=%lx child=%d fills=%d end_ms=%ld\n", round,
                        process ? 1 : 0, exitCode.value_or(~0ul), child ? 1 : 0, fills ? 1 : 0,
                        endMs);
        }
        slowest = std::max(slowest, endMs);
    }
    std::printf("rounds=%d failures=%d slowest_end_ms=%ld\n", rounds, failures, slowest);
    return failures == 0 ? 0 : 1;
}
