#include "prepare_buttons_win32.h"

#include "command_win32.h"

namespace {

struct Preparation {
    bool initialise;
    bool enable;
};

BOOL CALLBACK PrepareOne(HWND control, LPARAM data) {
    const auto& preparation = *reinterpret_cast<const Preparation*>(data);
    if (CommandWindow* button = CommandWindow::FromHandle(control)) {
        if (preparation.initialise) {
            button->Button().Initialize();
        } else {
            button->Button().SetEnabled(preparation.enable);
        }
    }
    return TRUE;
}

}  // namespace

void PrepareButtons(HWND form, bool initialise, bool enable) {
    Preparation preparation{initialise, enable};
    EnumChildWindows(form, PrepareOne, reinterpret_cast<LPARAM>(&preparation));
}
