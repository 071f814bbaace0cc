#include "mouse_pointer_win32.h"

namespace forms {

namespace {

HCURSOR overridePointer = nullptr;

}  // namespace

void SetMousePointer(MousePointer pointer) {
    overridePointer = pointer == MousePointer::Hourglass ? LoadCursor(nullptr, IDC_WAIT) : nullptr;
    if (overridePointer) {
        SetCursor(overridePointer);
        return;
    }
    // Let the window under the mouse choose its own pointer again, without waiting for a move.
    POINT cursor;
    if (!GetCursorPos(&cursor)) return;
    const HWND under = WindowFromPoint(cursor);
    DWORD process = 0;
    if (!under || (GetWindowThreadProcessId(under, &process), process != GetCurrentProcessId())) {
        return;
    }
    const LRESULT hit = SendMessageW(under, WM_NCHITTEST, 0, MAKELPARAM(cursor.x, cursor.y));
    SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under),
                 MAKELPARAM(static_cast<WORD>(hit), WM_MOUSEMOVE));
}

HCURSOR PointerOverride() {
    return overridePointer;
}

}  // namespace forms
