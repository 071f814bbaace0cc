#pragma once

// What the probe's commands share: texts passed as hex on the command line and printed as hex,
// waiting while this thread's messages keep flowing, windows found by their title bytes, typed
// keys and started programs.
#include <windows.h>

#include <string>
#include <vector>

// A command's arguments, after the command word.
using Arguments = std::vector<std::wstring>;

std::string Narrow(const std::wstring& text, UINT codePage);
std::wstring Widen(const std::string& bytes, UINT codePage);
// Bytes from hex digits, two per byte; and back, in lower case.
std::string FromHex(const std::wstring& hex);
std::string ToHex(const std::string& bytes);
// Text as hex UTF-8, the form in which the probe prints what a person reads.
std::string Utf8Hex(const std::wstring& text);
DWORD Milliseconds(const std::wstring& number);

// Handles this thread's waiting messages.
void Pump();
// Waits up to `ms`, pumping this thread's messages, until `done` holds; returns whether it did.
template <typename Predicate>
bool WaitFor(DWORD ms, Predicate done) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (done()) return true;
        if (GetTickCount() - start >= ms) return false;
        Pump();
        Sleep(10);
    }
}
// Lets `ms` pass, pumping this thread's messages.
void Pause(DWORD ms);

// A top-level window: its title bytes (compared through the ANSI functions), its class if given,
// and whether only a shown one will do.
struct WantedWindow {
    std::string title;
    const char* className = nullptr;
    bool shown = false;
};
// The wanted window, once it is there within `ms` (0: now), or null.
HWND WaitForWindow(const WantedWindow& wanted, DWORD ms = 0);
// A window's text (up to 511 characters); empty when its program does not answer within 2 s.
std::wstring TextOf(HWND window);
// A top-level window of the probe's own over `area` (screen coordinates), not shown yet; it
// paints nothing, not even its background.
HWND MakeProbeWindow(DWORD extendedStyle, DWORD style, const RECT& area);
// Brings the window forward and types each character code (13, 27, 32, 48...) through the
// system's input queue, 200 ms apart. False when the system took a key only in part.
bool TypeKeys(HWND window, const std::vector<unsigned>& codes);

// Starts the program with the arguments after its quoted path; the process handle, or null when
// it did not start.
HANDLE Start(const std::wstring& program, const std::wstring& arguments);
bool Ended(HANDLE process);
// Waits for the process to end and closes its handle; the milliseconds it took, or -1 (after
// ending it) when it did not end within `ms`.
long EndedWithin(HANDLE process, DWORD ms);
