#include "message_box_win32.h"

#include <windows.h>

namespace forms {

// Wide, so that the text reads right on a system whose ANSI code page is not 932.
void ShowMessage(const std::wstring& text, const std::wstring& caption, HWND owner) {
    MessageBoxW(owner, text.c_str(), caption.c_str(), MB_OK);
}

}  // namespace forms
