// The probe's commands on the system's own dialogs: a message box and the open-file dialog.
#include <cstdio>

#include "probe_win32.h"

constexpr char kDialogClass[] = "#32770";  // the system's dialogs
// Control ids of the system's open-file dialog.
constexpr int kFileTypes = 0x470;     // cmb1
constexpr int kReadOnlyBox = 0x410;   // chx1
constexpr int kFileNameBox = 0x47c;   // cmb13
constexpr int kFileNameEdit = 0x480;  // edt1

int MessageBoxCommand(const Arguments& args) {
    HWND box = nullptr;
    // Found once it is up: shown, with its buttons made.
    const bool up = WaitFor(std::stoul(args[1]), [&] {
        box = WaitForWindow({.hexTitle = args[0], .className = kDialogClass, .shown = true});
        return box && GetDlgItem(box, IDOK);
    });
    if (!up) return NotFound();
    std::wstring text;
    int buttons = 0, okButton = 0, icon = 0;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[64] = {};
        if (!IsWindowVisible(child) || !GetClassNameW(child, className, 64)) continue;
        if (lstrcmpiW(className, L"Button") == 0) {
            ++buttons;
            okButton |= GetDlgCtrlID(child) == IDOK;
        } else if (lstrcmpiW(className, L"Static") == 0) {
            if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
                icon |= SendMessageW(child, STM_GETICON, 0, 0) != 0;
            } else if (const std::wstring seen = TextOf(child); !seen.empty()) {
                text = seen;
            }
        }
    }
    std::printf("found=1 text=%s buttons=%d ok=%d icon=%d\n", Utf8Hex(text).c_str(), buttons,
                okButton, icon);
    return PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0) ? 0 : 1;
}

int FileDialogCommand(const Arguments& args) {
    const DWORD ms = std::stoul(args[1]);
    const HWND dialog =
        WaitForWindow({.hexTitle = args[0], .className = kDialogClass, .shown = true}, ms);
    if (!dialog) return NotFound();
    // Neither call minds a control that is not there: no text, not visible.
    std::printf("found=1 filter=%s read_only_box=%d\n",
                Utf8Hex(TextOf(GetDlgItem(dialog, kFileTypes))).c_str(),
                IsWindowVisible(GetDlgItem(dialog, kReadOnlyBox)) ? 1 : 0);
    HWND name = GetDlgItem(dialog, kFileNameBox);
    if (!name) name = GetDlgItem(dialog, kFileNameEdit);
    if (!name) return 1;
    const std::wstring path = Widen(FromHex(args[2]), CP_UTF8);
    SendMessageTimeoutW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()),
                        SMTO_ABORTIFHUNG, 2000, nullptr);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    const bool closed = WaitFor(ms, [&] { return !IsWindow(dialog); });
    std::printf("closed=%d\n", closed ? 1 : 0);
    return closed ? 0 : 1;
}
