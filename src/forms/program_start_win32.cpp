#include "program_start_win32.h"

#include "failure_trace_win32.h"

namespace forms {

StartedProgram::~StartedProgram() {
    if (process_) CloseHandle(process_);
}

StartedProgram& StartedProgram::operator=(StartedProgram&& other) noexcept {
    if (this != &other) {
        if (process_) CloseHandle(process_);
        process_ = other.process_;
        other.process_ = nullptr;
    }
    return *this;
}

bool StartedProgram::HasEnded() const {
    return !process_ || WaitForSingleObject(process_, 0) != WAIT_TIMEOUT;
}

StartedProgram StartProgram(const std::wstring& path, WORD showStyle) {
    std::wstring commandLine = L"\"" + path + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = showStyle;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &started)) {
        TraceFailure(L"CreateProcessW");
        return {};
    }
    CloseHandle(started.hThread);
    return StartedProgram(started.hProcess);
}

}  // namespace forms
