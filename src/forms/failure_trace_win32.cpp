#include "failure_trace_win32.h"

#include <windows.h>

#include <cwchar>

namespace forms {

void TraceFailure(const wchar_t* call) {
    const DWORD error = GetLastError();
    wchar_t text[128];
    std::swprintf(text, sizeof text / sizeof *text, L"Lullvane: %ls failed, error %lu\n", call,
                  static_cast<unsigned long>(error));
    OutputDebugStringW(text);
    SetLastError(error);  // the caller may still want to read it
}

}  // namespace forms
