#pragma once

// The probe's commands and what they share: hex texts, waits that keep this thread's messages
// flowing, windows found by their title bytes, started programs.
#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

// A command takes the arguments after its word, their count checked, prints key=value findings
// and returns the probe's exit code; the table in probe_main_win32.cpp says what each does.
using Arguments = std::vector<std::wstring>;
using CommandFunction = int(const Arguments& args);
CommandFunction WaitWindowCommand, WaitShownCommand, WaitGoneCommand, CountCommand, KeysCommand,
    CloseCommand, ActivateOtherCommand, ControlsCommand, CoverCommand, MessageBoxCommand,
    FileDialogCommand, PreviewCommand, ResourcesCommand, StartLateCommand, MciCommand;

std::string Narrow(const std::wstring& text, UINT codePage);
std::wstring Widen(const std::string& bytes, UINT codePage);
std::string FromHex(const std::wstring& hex);
std::string ToHex(const std::string& bytes);
// What a command that finds no window prints, and its exit code.
inline int NotFound() {
    std::printf("found=0\n");
    return 1;
}
// What a person reads is printed as hex UTF-8.
inline std::string Utf8Hex(const std::wstring& text) {
    return ToHex(Narrow(text, CP_UTF8));
}

// Waits up to `ms`, handling this thread's messages, until `done` holds; returns whether it did.
template <typename Predicate>
bool WaitFor(DWORD ms, Predicate done) {
    for (const DWORD start = GetTickCount(); !done(); Sleep(10)) {
        if (GetTickCount() - start >= ms) return false;
        for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);)
            DispatchMessageW(&message);
    }
    return true;
}
inline void Pause(DWORD ms) {
    WaitFor(ms, [] { return false; });
}

// A top-level window by its title, hex code page 932 bytes (ANSI functions), its class if given,
// visible if `shown`.
struct WantedWindow {
    std::wstring hexTitle;
    const char* className = nullptr;
    bool shown = false;
};
HWND WaitForWindow(const WantedWindow& wanted, DWORD ms = 0);  // null if not there within `ms`
std::wstring TextOf(HWND window);  // empty if its program does not answer within 2 s
// A hidden window of the probe's own over `area`; it paints nothing, not even its background.
HWND MakeProbeWindow(DWORD extendedStyle, DWORD style, const RECT& area);

// The process of "<program>" <arguments>, or null when it did not start.
HANDLE Start(const std::wstring& program, const std::wstring& arguments);
inline bool Ended(HANDLE process) {
    return WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
}
// Waits up to `ms` for the process, ends it if it is still running, closes its handle: its exit
// code, or none when it had to be ended.
std::optional<DWORD> ExitCodeWithin(HANDLE process, DWORD ms);
