#pragma once

// What the probe's commands share: hex texts, waits that keep this thread's messages flowing,
// windows found by their title bytes, typed keys and started programs.
#include <windows.h>

#include <string>
#include <vector>

using Arguments = std::vector<std::wstring>;  // after the command word

std::string Narrow(const std::wstring& text, UINT codePage);
std::wstring Widen(const std::string& bytes, UINT codePage);
std::string FromHex(const std::wstring& hex);
std::string ToHex(const std::string& bytes);
// What a person reads is printed as hex UTF-8.
inline std::string Utf8Hex(const std::wstring& text) {
    return ToHex(Narrow(text, CP_UTF8));
}
inline DWORD Milliseconds(const std::wstring& number) {
    return std::stoul(number);
}

void Pump();  // handles this thread's waiting messages
// Waits up to `ms`, pumping messages, until `done` holds; returns whether it did.
template <typename Predicate>
bool WaitFor(DWORD ms, Predicate done) {
    for (const DWORD start = GetTickCount(); !done(); Sleep(10), Pump()) {
        if (GetTickCount() - start >= ms) return false;
    }
    return true;
}
inline void Pause(DWORD ms) {
    WaitFor(ms, [] { return false; });
}

// A top-level window by its title bytes (ANSI functions), its class if given, visible if `shown`.
struct WantedWindow {
    std::string title;
    const char* className = nullptr;
    bool shown = false;
};
HWND WaitForWindow(const WantedWindow& wanted, DWORD ms = 0);  // null if not there within `ms`
std::wstring TextOf(HWND window);  // empty if its program does not answer within 2 s
// A hidden top-level window of the probe's own over `area`; it paints nothing, not even its
// background.
HWND MakeProbeWindow(DWORD extendedStyle, DWORD style, const RECT& area);
// Brings the window forward and types virtual-key codes (13 Enter, 27 Esc, 32 Space, 48-57
// digits) through the input queue, 200 ms apart; false if the system took a key only in part.
bool TypeKeys(HWND window, const std::vector<unsigned>& codes);

// The process of "<program>" <arguments>, or null when it did not start.
HANDLE Start(const std::wstring& program, const std::wstring& arguments);
inline bool Ended(HANDLE process) {
    return WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
}
// Waits for the process and closes its handle: the milliseconds it took, or -1 (after ending it)
// when it did not end within `ms`.
long EndedWithin(HANDLE process, DWORD ms);
