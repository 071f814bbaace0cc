#include "probe_win32.h"

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

HWND WaitForWindow(const WantedWindow& wanted, DWORD ms) {
    const std::string title = FromHex(wanted.hexTitle);
    HWND window = nullptr;
    const auto found = [&] {
        window = FindWindowA(wanted.className, title.c_str());
        return window && (!wanted.shown || IsWindowVisible(window));
    };
    return WaitFor(ms, found) ? window : nullptr;
}

std::wstring TextOf(HWND window) {
    wchar_t text[512] = {};
    SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        2000, nullptr);
    return text;
}

HWND MakeProbeWindow(DWORD extendedStyle, DWORD style, const RECT& area) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        return message == WM_ERASEBKGND ? 1 : DefWindowProcW(window, message, wParam, lParam);
    };
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"LullvaneProbe";
    RegisterClassW(&windowClass);  // from the second window on, it fails: the class is there
    return CreateWindowExW(extendedStyle, L"LullvaneProbe", L"lullvane-probe", style, area.left,
                           area.top, area.right - area.left, area.bottom - area.top, nullptr,
                           nullptr, windowClass.hInstance, nullptr);
}

HANDLE Start(const std::wstring& program, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    // Under load Wine now and then fails a start before the program runs at all: try again.
    for (int attempt = 1; !CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr,
                                          FALSE, 0, nullptr, nullptr, &startup, &started);
         ++attempt) {
        if (attempt == 3) return nullptr;
        Pause(200);
    }
    CloseHandle(started.hThread);
    return started.hProcess;
}

std::optional<DWORD> ExitCodeWithin(HANDLE process, DWORD ms) {
    std::optional<DWORD> code;
    if (WaitFor(ms, [&] { return Ended(process); })) {
        GetExitCodeProcess(process, &code.emplace());
    } else {
        TerminateProcess(process, 1);
    }
    CloseHandle(process);
    return code;
}
