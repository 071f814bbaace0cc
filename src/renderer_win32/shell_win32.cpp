// Lullvane.dll: the Windows renderer, one topmost OpenGL window over every monitor that draws the
// flame on the primary one until Esc, a close request or the loss of activation.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <vector>

#include "extension_list.h"
#include "flame_session.h"
#include "gl_frame.h"
#include "monitor_placement.h"

namespace {

// "TorvaneII VC" with the Roman numeral two in code page 932 (87 55): the host finds the
// renderer by this exact window text, so the bytes are the contract.
constexpr char kWindowName[] = "Torvane\x87\x55VC";

struct ShellState {
    HWND window = nullptr;
    HDC deviceContext = nullptr;
    HGLRC glContext = nullptr;
    bool ready = false;
};

ShellState shell;
FlameRenderer renderer;
// The screen saver's window: it answers the keys and ends when another window becomes active.
const SessionRules kRules = RulesFor(FlameMode::FullScreen);

void DebugPrint(const char* format, ...) __attribute__((format(printf, 1, 2)));

void DebugPrint(const char* format, ...) {
    char buffer[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);  // cuts longer text to fit
    va_end(args);
    OutputDebugStringA(buffer);
}

void SetupPixelFormat(HDC deviceContext) {
    // Filled on first use; every field not named stays 0: no alpha, depth, stencil or
    // accumulation buffer.
    static PIXELFORMATDESCRIPTOR descriptor;
    if (descriptor.nSize == 0) {
        descriptor.nSize = sizeof(PIXELFORMATDESCRIPTOR);
        descriptor.nVersion = 1;
        descriptor.dwFlags =
            PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER | PFD_DEPTH_DONTCARE;
        descriptor.iPixelType = PFD_TYPE_RGBA;
        descriptor.cColorBits = static_cast<BYTE>(GetDeviceCaps(deviceContext, BITSPIXEL));
    }
    const int index = ChoosePixelFormat(deviceContext, &descriptor);
    DebugPrint("PixelFormat Selected: %d\nBPP: %d\n", index,
               GetDeviceCaps(deviceContext, BITSPIXEL));
    SetPixelFormat(deviceContext, index, &descriptor);
}

// A GL entry point by name, or null where the driver lacks it.
template <typename Function>
Function GlProc(const char* name) {
    // Through the generic function pointer type, which converts to any other without a warning.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(wglGetProcAddress(name)));
}

// One frame per display refresh where the driver can pace its buffer swaps; elsewhere the loop
// draws as fast as it always did. The flame's motion follows the measured frame time either way.
void RequestSwapInterval(HDC deviceContext) {
    const auto extensions = GlProc<const char*(WINAPI*)(HDC)>("wglGetExtensionsStringARB");
    const char* list = extensions ? extensions(deviceContext) : nullptr;
    if (!list || !HasExtension(list, "WGL_EXT_swap_control")) return;
    if (const auto swapInterval = GlProc<BOOL(WINAPI*)(int)>("wglSwapIntervalEXT")) {
        swapInterval(1);
    }
}

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM monitors) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(monitor, &info)) {
        const RECT& r = info.rcMonitor;
        reinterpret_cast<std::vector<Monitor>*>(monitors)->push_back(
            {.rect = {.left = r.left, .top = r.top, .right = r.right, .bottom = r.bottom},
             .primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
    }
    return TRUE;
}

// The monitors of the desktop; should the system list none, the primary screen alone.
std::vector<Monitor> Monitors() {
    std::vector<Monitor> monitors;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    if (monitors.empty()) {
        monitors.push_back({.rect = {.right = GetSystemMetrics(SM_CXSCREEN),
                                     .bottom = GetSystemMetrics(SM_CYSCREEN)},
                            .primary = true});
    }
    return monitors;
}

std::int64_t PerformanceCount() {
    LARGE_INTEGER count;
    QueryPerformanceCounter(&count);
    return count.QuadPart;
}

void Paint(HWND window) {
    if (shell.ready) {
        RenderTimedFrame(renderer, PerformanceCount());
        SwapBuffers(shell.deviceContext);
    } else {
        RECT client;
        GetClientRect(window, &client);
        FillRect(shell.deviceContext, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    ValidateRect(window, nullptr);
}

LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETCURSOR) {
        SetCursor(nullptr);
        return 0;
    }
    switch (message) {
        case WM_CREATE:
            // None of these results is acted on, deliberately: without a context the loop still
            // runs and ends as usual, the GL calls simply draw nothing.
            shell.deviceContext = GetDC(window);
            SetupPixelFormat(shell.deviceContext);
            shell.glContext = wglCreateContext(shell.deviceContext);
            wglMakeCurrent(shell.deviceContext, shell.glContext);
            RequestSwapInterval(shell.deviceContext);
            return 0;
        case WM_DESTROY:
            wglMakeCurrent(shell.deviceContext, nullptr);
            wglDeleteContext(shell.glContext);
            PostQuitMessage(0);
            return 0;
        case WM_SIZE:
            SetClientSize(renderer, LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_PAINT:
            Paint(window);
            return 0;
        case WM_CHAR:
            if (HandleShellEvent(renderer.flame, kRules, ShellEvent::Key,
                                 static_cast<unsigned>(wParam)) == SessionStep::Quit) {
                PostMessageA(window, WM_CLOSE, 0, 0);
            }
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

int RunMessageLoop() {
    MSG message = {};
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
    while (message.message != WM_QUIT) {
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        } else {
            // Any other window becoming active ends the show; the request repeats on every
            // idle turn until the window has gone.
            if (GetActiveWindow() != shell.window &&
                HandleShellEvent(renderer.flame, kRules, ShellEvent::FocusLost) ==
                    SessionStep::Quit) {
                PostMessageA(shell.window, WM_CLOSE, 0, 0);
            }
            InvalidateRect(shell.window, nullptr, FALSE);
        }
    }
    return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    shell.ready = false;

    WNDCLASSA windowClass = {};
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_OWNDC;
    windowClass.lpfnWndProc = WndProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kWindowName;
    if (!RegisterClassA(&windowClass)) return 0;

    const FlamePlacement placement = PlaceFlame(Monitors());
    renderer.flameViewport = placement.flame;
    const ScreenRect& area = placement.window;
    const HWND window = CreateWindowExA(
        WS_EX_TOPMOST, kWindowName, kWindowName, WS_POPUP, area.left, area.top,
        area.right - area.left, area.bottom - area.top, nullptr, nullptr, instance, nullptr);
    if (!window) return 0;
    shell.window = window;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    renderer.clock.Start(frequency.QuadPart, PerformanceCount());

    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);

    if (!InitGL(renderer)) return 0;
    shell.ready = true;
    const int exitCode = RunMessageLoop();
    shell.ready = false;
    return exitCode;
}
