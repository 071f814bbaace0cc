#pragma once

#include <string>

namespace forms {

// A message box with an OK button only and no icon; returns when it has been closed.
void ShowMessage(const std::wstring& text, const std::wstring& caption);

}  // namespace forms
