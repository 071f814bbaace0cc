#pragma once

// What the end-to-end tests' Windows probes share: texts passed as hex on their command lines and
// printed as hex, and waiting while this thread's messages keep flowing.
#include <windows.h>
// shellapi.h needs the types of windows.h first.
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

inline std::string Narrow(const std::wstring& text, UINT codePage) {
    const int size = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size,
                        nullptr, nullptr);
    return bytes;
}

inline std::wstring Widen(const std::string& bytes, UINT codePage) {
    const int size =
        MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(),
                        size);
    return text;
}

inline std::string FromHex(const std::wstring& hex) {
    std::string bytes;
    for (size_t at = 0; at + 2 <= hex.size(); at += 2) {
        bytes += static_cast<char>(std::wcstoul(hex.substr(at, 2).c_str(), nullptr, 16));
    }
    return bytes;
}

inline std::string ToHex(const std::string& bytes) {
    std::string hex;
    char pair[4];
    for (const unsigned char byte : bytes) {
        std::snprintf(pair, sizeof pair, "%02x", byte);
        hex += pair;
    }
    return hex;
}

inline void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

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

// The probe's arguments after its own name; the first is the command word.
inline std::vector<std::wstring> ProbeArguments() {
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!argv) return {};
    std::vector<std::wstring> args(argv + 1, argv + count);
    LocalFree(argv);
    return args;
}
