#include "show_form_win32.h"

#include <windows.h>

#include "application_win32.h"
#include "winmm_port_win32.h"

namespace {

// "TorvaneⅡVC" in code page 932: the renderer's window title.
constexpr char kRendererTitle[] = "\x54\x6F\x72\x76\x61\x6E\x65\x87\x55\x56\x43";

}  // namespace

void ShowForm::Platform::StartRenderer(const std::wstring& path) {
    renderer_ = forms::StartProgram(path, SW_SHOWNORMAL);
}

bool ShowForm::Platform::RendererWindowExists() {
    return FindWindowA(nullptr, kRendererTitle) != nullptr;
}

bool ShowForm::Platform::RendererEnded() {
    return renderer_.HasEnded();
}

std::int32_t ShowForm::Platform::ShowCursor(bool show) {
    return ::ShowCursor(show ? TRUE : FALSE);
}

ShowForm::ShowForm(SettingsVariables& settings, wchar_t modeLetter, std::wstring folder)
    : programFolder_(std::move(folder)),
      music_(MakeWinmmBackgroundMusic()),
      mode_(*music_, platform_, settings, modeLetter),
      form_({.caption = L"Torvane2_Main"}),
      timer1_(form_, ShowMode::kTimer1Interval, [this] { mode_.Timer1Tick(); }),
      timer2_(form_, ShowMode::kTimer2Interval,
              [this] {
                  mode_.Timer2Tick();
                  MirrorTimers();
              }),
      timer3_(form_, ShowMode::kTimer3Interval, [this] {
          if (mode_.Timer3Tick()) {
              MirrorTimers();
              form_.Unload();
          }
      }) {
    form_.Loaded = [this] {
        mode_.Load(programFolder_);
        MirrorTimers();
    };
    form_.QueryUnload = [this] {
        mode_.QueryUnload();
        forms::EndProgram();
    };
}

bool ShowForm::Load() {
    form_.Load();
    if (form_.Handle()) return true;
    mode_.RestoreCursor();
    return false;
}

void ShowForm::MirrorTimers() {
    timer1_.SetEnabled(mode_.Timer1Enabled());
    timer2_.SetEnabled(mode_.Timer2Enabled());
    timer3_.SetEnabled(mode_.Timer3Enabled());
}
