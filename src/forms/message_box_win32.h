#pragma once

#include <windows.h>

#include <string>

namespace forms {

// A message box with an OK button only and no icon; returns when it has been closed. An owner
// window stays disabled while the box is open.
void ShowMessage(const std::wstring& text, const std::wstring& caption, HWND owner = nullptr);

}  // namespace forms
