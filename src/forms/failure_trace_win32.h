#pragma once

// A failed Win32 call leaves a trace in the debugger's output, with its name and GetLastError():
// the program carries on as it would have without it, but the failure is no longer silent.
namespace forms {

void TraceFailure(const wchar_t* call);

}  // namespace forms
