#pragma once

#include <memory>
#include <string>

#include "background_music.h"
#include "form_win32.h"
#include "program_start_win32.h"
#include "settings_variables.h"
#include "show_mode.h"
#include "timer_win32.h"

// The hidden show form "Torvane2_Main": its window lets a second start of the host find the
// running show; its timers drive the show mode. Unloading it ends the program.
class ShowForm {
  public:
    ShowForm(SettingsVariables& settings, wchar_t modeLetter, std::wstring programFolder);

    // Loads the form, which starts the show; false, with the cursor given back, when its window
    // could not be made (then nothing has started and nothing would ever end the program).
    bool Load();

  private:
    class Platform final : public ShowPlatform {
      public:
        void StartRenderer(const std::wstring& path) override;
        bool RendererWindowExists() override;
        bool RendererEnded() override;
        std::int32_t ShowCursor(bool show) override;

      private:
        forms::StartedProgram renderer_;
    };

    void MirrorTimers();

    const std::wstring programFolder_;
    std::unique_ptr<BackgroundMusic> music_;
    Platform platform_;
    ShowMode mode_;
    forms::Form form_;
    forms::Timer timer1_;
    forms::Timer timer2_;
    forms::Timer timer3_;
};
