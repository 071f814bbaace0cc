#pragma once

#include <cstdint>
#include <string>

#include "background_music.h"
#include "settings_variables.h"

// What the show mode asks of the platform.
class ShowPlatform {
  public:
    virtual ~ShowPlatform() = default;

    // Starts the renderer: the program at `path`, no arguments, its window shown normally.
    virtual void StartRenderer(const std::wstring& path) = 0;
    // A top-level window titled "TorvaneⅡVC" exists.
    virtual bool RendererWindowExists() = 0;
    // The renderer's process has ended, or never started.
    virtual bool RendererEnded() = 0;
    // ShowCursor: returns the new display count.
    virtual std::int32_t ShowCursor(bool show) = 0;
};

// The hidden show form's logic: it starts the renderer and the music, keeps the music going from
// its timers and follows the renderer: when the renderer has gone, the form unloads, stopping the
// music and giving the cursor back. The shell owns the real timers and mirrors the enabled flags.
class ShowMode {
  public:
    static constexpr int kTimer1Interval = 1000;  // MP3 restart
    static constexpr int kTimer2Interval = 200;   // CD watch
    static constexpr int kTimer3Interval = 500;   // renderer watch
    // Renderer-watch ticks a renderer may take to open its window while its process runs.
    static constexpr int kStartGraceTicks = 60;  // 30 s

    ShowMode(BackgroundMusic& music, ShowPlatform& platform, SettingsVariables& settings,
             wchar_t modeLetter)
        : music_(music), platform_(platform), settings_(settings), modeLetter_(modeLetter) {}

    // Starts the renderer and the music.
    void Load(const std::wstring& programFolder);

    void Timer1Tick();
    void Timer2Tick();
    // The renderer watch; true when the renderer has gone and the form must unload. Timer3 is
    // then already disabled.
    bool Timer3Tick();

    // The end steps: stop the music, give the cursor back after /s. The shell then ends the
    // program.
    void QueryUnload();
    // Gives the cursor back after /s: part of the end steps, and all there is to undo when the
    // form could not be loaded.
    void RestoreCursor();

    bool Timer1Enabled() const { return timer1Enabled_; }
    bool Timer2Enabled() const { return timer2Enabled_; }
    bool Timer3Enabled() const { return timer3Enabled_; }

  private:
    BackgroundMusic& music_;
    ShowPlatform& platform_;
    SettingsVariables& settings_;
    const wchar_t modeLetter_;

    bool timer1Enabled_ = false;
    bool timer2Enabled_ = false;
    bool timer3Enabled_ = true;

    bool rendererSeen_ = false;
    int ticksWithoutWindow_ = 0;
};
