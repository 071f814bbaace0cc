// renderer_probe: what the renderer's end-to-end tests do from inside Wine.
//   find MS          wait up to MS for the renderer window; print its class, styles and rect,
//                    the virtual screen and the number of monitors
//   gone MS          wait up to MS for the renderer window to disappear
//   close            post WM_CLOSE to it, as another program would
//   keys CODE...     type characters (13, 27, 32, 48...) through the system's input queue
//   activate-other MS   show and activate a window of our own; hold it until the renderer
//                    window is gone or MS have passed
// Exit code 0 when the thing asked for happened, 1 otherwise; findings on stdout.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr char kRendererTitle[] = "Torvane\x87\x55VC";

HWND FindRenderer() {
    return FindWindowA(nullptr, kRendererTitle);
}

// The renderer's window once it shows: it exists, invisible, for a while before.
bool RendererShowing() {
    const HWND window = FindRenderer();
    return window && IsWindowVisible(window);
}

// Waits until the renderer's window shows (or is gone), pumping our own messages meanwhile.
bool WaitForRenderer(bool showing, DWORD milliseconds) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (showing ? RendererShowing() : FindRenderer() == nullptr) return true;
        if (GetTickCount() - start >= milliseconds) return false;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        Sleep(50);
    }
}

void PrintHex(const char* label, const char* bytes) {
    std::printf(" %s=", label);
    for (const char* c = bytes; *c; ++c) std::printf("%02X", static_cast<unsigned char>(*c));
}

int Find(DWORD milliseconds) {
    if (!WaitForRenderer(true, milliseconds)) {
        std::printf("no window\n");
        return 1;
    }
    const HWND window = FindRenderer();
    char className[256] = {}, title[256] = {};
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, title, sizeof title);
    RECT rect;
    GetWindowRect(window, &rect);
    std::printf("window style=0x%08lX exstyle=0x%08lX rect=%ld,%ld,%ld,%ld screen=%d,%d parent=%d",
                static_cast<unsigned long>(GetWindowLongA(window, GWL_STYLE)),
                static_cast<unsigned long>(GetWindowLongA(window, GWL_EXSTYLE)), rect.left,
                rect.top, rect.right, rect.bottom, GetSystemMetrics(SM_CXSCREEN),
                GetSystemMetrics(SM_CYSCREEN),
                GetAncestor(window, GA_PARENT) != GetDesktopWindow());
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    std::printf(" virtual=%d,%d,%d,%d monitors=%d", left, top,
                left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                top + GetSystemMetrics(SM_CYVIRTUALSCREEN), GetSystemMetrics(SM_CMONITORS));
    PrintHex("class", className);
    PrintHex("title", title);
    std::printf(" foreground=%d\n", GetForegroundWindow() == window);
    return 0;
}

int Close() {
    const HWND window = FindRenderer();
    if (!window) return 1;
    return PostMessageA(window, WM_CLOSE, 0, 0) ? 0 : 1;
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

int Keys(int count, char** codes) {
    for (int i = 0; i < count; ++i) {
        const WORD key = VirtualKeyFor(static_cast<unsigned>(std::atoi(codes[i])));
        INPUT input[2] = {};
        for (INPUT& event : input) {
            event.type = INPUT_KEYBOARD;
            event.ki.wVk = key;
            event.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
        }
        input[1].ki.dwFlags = KEYEVENTF_KEYUP;
        if (SendInput(2, input, sizeof(INPUT)) != 2) return 1;
        Sleep(200);
    }
    return 0;
}

int ActivateOther(DWORD milliseconds) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "RendererProbeOther";
    RegisterClassA(&windowClass);
    const HWND other =
        CreateWindowExA(0, windowClass.lpszClassName, "probe", WS_OVERLAPPEDWINDOW, 10, 10, 200,
                        100, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (!other) return 1;
    ShowWindow(other, SW_SHOW);
    SetForegroundWindow(other);
    SetActiveWindow(other);
    const bool gone = WaitForRenderer(false, milliseconds);
    std::printf("other window active=%d renderer %s\n", GetForegroundWindow() == other,
                gone ? "gone" : "still there");
    DestroyWindow(other);
    return gone ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const char* command = argv[1];
    const DWORD milliseconds = argc > 2 ? static_cast<DWORD>(std::atol(argv[2])) : 0;
    int result = 2;
    if (std::strcmp(command, "find") == 0) result = Find(milliseconds);
    if (std::strcmp(command, "gone") == 0) result = WaitForRenderer(false, milliseconds) ? 0 : 1;
    if (std::strcmp(command, "close") == 0) result = Close();
    if (std::strcmp(command, "keys") == 0) result = Keys(argc - 2, argv + 2);
    if (std::strcmp(command, "activate-other") == 0) result = ActivateOther(milliseconds);
    std::fflush(stdout);
    return result;
}
