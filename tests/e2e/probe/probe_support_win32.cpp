#include "probe_support_win32.h"

#include <cstdio>
#include <cstdlib>

std::string Narrow(const std::wstring& text, UINT codePage) {
    const int size = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size,
                        nullptr, nullptr);
    return bytes;
}

std::wstring Widen(const std::string& bytes, UINT codePage) {
    const int size =
        MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(),
                        size);
    return text;
}

std::string FromHex(const std::wstring& hex) {
    std::string bytes;
    for (size_t at = 0; at + 2 <= hex.size(); at += 2) {
        bytes += static_cast<char>(std::wcstoul(hex.substr(at, 2).c_str(), nullptr, 16));
    }
    return bytes;
}

std::string ToHex(const std::string& bytes) {
    std::string hex;
    char pair[4];
    for (const unsigned char byte : bytes) {
        std::snprintf(pair, sizeof pair, "%02x", byte);
        hex += pair;
    }
    return hex;
}

std::string Utf8Hex(const std::wstring& text) {
    return ToHex(Narrow(text, CP_UTF8));
}

DWORD Milliseconds(const std::wstring& number) {
    return static_cast<DWORD>(std::stoul(number));
}

void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void Pause(DWORD ms) {
    WaitFor(ms, [] { return false; });
}

HWND WaitForWindow(const WantedWindow& wanted, DWORD ms) {
    HWND window = nullptr;
    const bool found = WaitFor(ms, [&] {
        window = FindWindowA(wanted.className, wanted.title.c_str());
        return window && (!wanted.shown || IsWindowVisible(window));
    });
    return found ? window : nullptr;
}

namespace {

LRESULT CALLBACK ProbeWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) return 1;
    return DefWindowProcW(window, message, wParam, lParam);
}

WORD VirtualKeyFor(unsigned code) {
    switch (code) {
        case 13:
            return VK_RETURN;
        case 27:
            return VK_ESCAPE;
        case 32:
            return VK_SPACE;
        default:
            return static_cast<WORD>(VkKeyScanA(static_cast<char>(code)) & 0xFF);
    }
}

}  // namespace

std::wstring TextOf(HWND window) {
    wchar_t text[512] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        2000, &length);
    return text;
}

HWND MakeProbeWindow(DWORD extendedStyle, DWORD style, const RECT& area) {
    static const bool registered = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = ProbeWindowProcedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"LullvaneProbe";
        return RegisterClassW(&windowClass) != 0;
    }();
    if (!registered) return nullptr;
    return CreateWindowExW(extendedStyle, L"LullvaneProbe", L"lullvane-probe", style, area.left,
                           area.top, area.right - area.left, area.bottom - area.top, nullptr,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
}

bool TypeKeys(HWND window, const std::vector<unsigned>& codes) {
    SetForegroundWindow(window);
    for (size_t i = 0; i < codes.size(); ++i) {
        if (i > 0) Pause(200);
        const WORD key = VirtualKeyFor(codes[i]);
        INPUT input[2] = {};
        for (INPUT& event : input) {
            event.type = INPUT_KEYBOARD;
            event.ki.wVk = key;
            event.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
        }
        input[1].ki.dwFlags = KEYEVENTF_KEYUP;
        if (SendInput(2, input, sizeof(INPUT)) != 2) return false;
    }
    return true;
}

HANDLE Start(const std::wstring& program, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &started)) {
        return nullptr;
    }
    CloseHandle(started.hThread);
    return started.hProcess;
}

bool Ended(HANDLE process) {
    return WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
}

long EndedWithin(HANDLE process, DWORD ms) {
    const DWORD start = GetTickCount();
    const bool ended = WaitFor(ms, [&] { return Ended(process); });
    const long took = static_cast<long>(GetTickCount() - start);
    if (!ended) TerminateProcess(process, 1);
    CloseHandle(process);
    return ended ? took : -1;
}
