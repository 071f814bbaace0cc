#include "application_win32.h"

#include <windows.h>

#include "command_arguments.h"

namespace forms {

namespace {

constexpr int kTwipsPerInch = 1440;

int TwipsPerPixel(int axis) {
    HDC screen = GetDC(nullptr);
    const int dotsPerInch = screen ? GetDeviceCaps(screen, axis) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return dotsPerInch > 0 ? kTwipsPerInch / dotsPerInch : 15;
}

}  // namespace

std::wstring ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

std::wstring CommandArguments() {
    return ArgumentsAfterProgramName(GetCommandLineW());
}

void Run() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void EndProgram() {
    ExitProcess(0);
}

int TwipsPerPixelX() {
    return TwipsPerPixel(LOGPIXELSX);
}
int TwipsPerPixelY() {
    return TwipsPerPixel(LOGPIXELSY);
}

}  // namespace forms
