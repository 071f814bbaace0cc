#pragma once

#include <windows.h>

#include <string>

namespace forms {

// A program started by StartProgram; it runs on when this object goes.
class StartedProgram {
  public:
    StartedProgram() = default;
    explicit StartedProgram(HANDLE process) : process_(process) {}
    ~StartedProgram();
    StartedProgram(StartedProgram&& other) noexcept : process_(other.process_) {
        other.process_ = nullptr;
    }
    StartedProgram& operator=(StartedProgram&& other) noexcept;

    // True once the process has ended, and when it never started.
    bool HasEnded() const;

  private:
    HANDLE process_ = nullptr;
};

// Starts the program file at `path` with no arguments; its first window is shown with
// `showStyle` (SW_SHOWNORMAL and the like). The file is named as the program to run, so a path
// with blanks cannot start another program.
StartedProgram StartProgram(const std::wstring& path, WORD showStyle);

}  // namespace forms
