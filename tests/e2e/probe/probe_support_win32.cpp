#include "probe_support_win32.h"

std::string Narrow(const std::wstring& text, UINT codePage) {
    const int length = static_cast<int>(text.size());
    std::string bytes(WideCharToMultiByte(codePage, 0, text.data(), length, 0, 0, 0, 0), 0);
    WideCharToMultiByte(codePage, 0, text.data(), length, bytes.data(), bytes.size(), 0, 0);
    return bytes;
}

std::wstring Widen(const std::string& bytes, UINT codePage) {
    const int length = static_cast<int>(bytes.size());
    std::wstring text(MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0), 0);
    MultiByteToWideChar(codePage, 0, bytes.data(), length, text.data(), text.size());
    return text;
}

std::string FromHex(const std::wstring& hex) {
    std::string bytes;
    for (size_t at = 0; at + 2 <= hex.size(); at += 2)
        bytes += std::stoi(hex.substr(at, 2), nullptr, 16);
    return bytes;
}

std::string ToHex(const std::string& bytes) {
    constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (const unsigned char byte : bytes) hex += {kDigits[byte >> 4], kDigits[byte & 15]};
    return hex;
}

void Pump() {
    for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

HWND WaitForWindow(const WantedWindow& wanted, DWORD ms) {
    HWND window = nullptr;
    const auto found = [&] {
        window = FindWindowA(wanted.className, wanted.title.c_str());
        return window && (!wanted.shown || IsWindowVisible(window));
    };
    return WaitFor(ms, found) ? window : nullptr;
}

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
        windowClass.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
            return message == WM_ERASEBKGND ? 1 : DefWindowProcW(window, message, wParam, lParam);
        };
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
        const WORD key = static_cast<WORD>(codes[i]);
        const WORD scan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
        INPUT input[2] = {};
        for (INPUT& event : input) {
            event.type = INPUT_KEYBOARD;
            event.ki.wVk = key;
            event.ki.wScan = scan;
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

long EndedWithin(HANDLE process, DWORD ms) {
    const DWORD start = GetTickCount();
    const bool ended = WaitFor(ms, [&] { return Ended(process); });
    if (!ended) TerminateProcess(process, 1);
    CloseHandle(process);
    return ended ? static_cast<long>(GetTickCount() - start) : -1;
}
