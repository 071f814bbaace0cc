// The probe's commands on the system's own dialogs: a message box and the open-file dialog.
#include <windows.h>

#include <cstdio>

#include "probe_commands_win32.h"
#include "probe_support_win32.h"

namespace {

// The system's dialog class.
constexpr char kDialogClass[] = "#32770";

// Control ids of the system's open-file dialog.
constexpr int kFileTypes = 0x470;     // cmb1
constexpr int kReadOnlyBox = 0x410;   // chx1
constexpr int kFileNameBox = 0x47c;   // cmb13
constexpr int kFileNameEdit = 0x480;  // edt1

struct MessageBoxControls {
    std::wstring text;
    int buttons = 0;
    bool okButton = false;
    bool icon = false;
};

}  // namespace

int MessageBoxCommand(const Arguments& args) {
    const std::string caption = FromHex(args[0]);
    HWND box = nullptr;
    // Found once it is up: shown, with its buttons made.
    const bool up = WaitFor(Milliseconds(args[1]), [&] {
        box = WaitForWindow({.title = caption, .className = kDialogClass, .shown = true});
        return box && GetDlgItem(box, IDOK);
    });
    if (!up) {
        std::printf("found=0\n");
        return 1;
    }
    MessageBoxControls controls;
    EnumChildWindows(
        box,
        [](HWND child, LPARAM data) -> BOOL {
            auto* c = reinterpret_cast<MessageBoxControls*>(data);
            if (!IsWindowVisible(child)) return TRUE;
            wchar_t className[64] = {};
            GetClassNameW(child, className, 64);
            const LONG style = GetWindowLongW(child, GWL_STYLE);
            if (lstrcmpiW(className, L"Button") == 0) {
                ++c->buttons;
                if (GetDlgCtrlID(child) == IDOK) c->okButton = true;
            } else if (lstrcmpiW(className, L"Static") == 0) {
                if ((style & SS_TYPEMASK) == SS_ICON) {
                    if (SendMessageW(child, STM_GETICON, 0, 0)) c->icon = true;
                } else if (const std::wstring text = TextOf(child); !text.empty()) {
                    c->text = text;
                }
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&controls));
    std::printf("found=1 text=%s buttons=%d ok=%d icon=%d\n", Utf8Hex(controls.text).c_str(),
                controls.buttons, controls.okButton ? 1 : 0, controls.icon ? 1 : 0);
    std::fflush(stdout);
    return PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0) ? 0 : 1;
}

int FileDialogCommand(const Arguments& args) {
    const DWORD ms = Milliseconds(args[1]);
    const HWND dialog =
        WaitForWindow({.title = FromHex(args[0]), .className = kDialogClass, .shown = true}, ms);
    if (!dialog) {
        std::printf("found=0\n");
        return 1;
    }
    const HWND types = GetDlgItem(dialog, kFileTypes);
    const HWND readOnly = GetDlgItem(dialog, kReadOnlyBox);
    HWND name = GetDlgItem(dialog, kFileNameBox);
    if (!name) name = GetDlgItem(dialog, kFileNameEdit);
    std::printf("found=1 filter=%s read_only_box=%d\n",
                Utf8Hex(types ? TextOf(types) : L"").c_str(),
                readOnly && IsWindowVisible(readOnly) ? 1 : 0);
    std::fflush(stdout);
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
