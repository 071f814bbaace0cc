#include "show_form_win32.h"

#include <windows.h>

#include "application_win32.h"
#include "winmm_port_win32.h"

namespace {

// "TorvaneⅡVC" in code page 932: the renderer's window title.
constexpr char kRendererTitle[] = "\x54\x6F\x72\x76\x61\x6E\x65\x87\x55\x56\x43";

}  // namespace

void ShowForm::Platform::StartRenderer(const std::wstring& path) {
    renderer = forms::StartProgram(path, SW_SHOWNORMAL);
}

bool ShowForm::Platform::RendererWindowExists() {
    return FindWindowA(nullptr, kRendererTitle) != nullptr;
}

bool ShowForm::Platform::RendererEnded() {
    return renderer.HasEnded();
}

std::int32_t ShowForm::Platform::ShowCursor(bool show) {
    return ::ShowCursor(show ? TRUE : FALSE);
}

ShowForm::ShowForm(SettingsVariables& settings, wchar_t modeLetter, std::wstring folder)
    : programFolder(std::move(folder)),
      music(MakeWinmmBackgroundMusic()),
      mode(*music, platform, settings, modeLetter),
      form({.caption = L"Torvane2_Main"}),
      timer1(form, ShowMode::kTimer1Interval, [this] { mode.Timer1Tick(); }),
      timer2(form, ShowMode::kTimer2Interval,
             [this] {
                 mode.Timer2Tick();
                 MirrorTimers();
             }),
      timer3(form, ShowMode::kTimer3Interval, [this] {
          if (mode.Timer3Tick()) {
              MirrorTimers();
              form.Unload();
          }
      }) {
    form.Loaded = [this] {
        mode.Load(programFolder);
        MirrorTimers();
    };
    form.QueryUnload = [this] {
        mode.QueryUnload();
        forms::EndProgram();
    };
}

bool ShowForm::Load() {
    form.Load();
    if (form.Handle()) return true;
    mode.RestoreCursor();
    return false;
}

void ShowForm::MirrorTimers() {
    timer1.SetEnabled(mode.Timer1Enabled());
    timer2.SetEnabled(mode.Timer2Enabled());
    timer3.SetEnabled(mode.Timer3Enabled());
}
