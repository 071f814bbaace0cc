#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "settings_variables.h"

// What the host's start routine asks of the platform.
class StartupPlatform {
  public:
    virtual ~StartupPlatform() = default;

    // A top-level window with exactly this title (code page 932 bytes) exists.
    virtual bool WindowTitled(std::string_view title) = 0;
    virtual bool IsWindowHandle(std::int32_t handle) = 0;
    virtual void LoadSettings(SettingsVariables& settings) = 0;
    // The message box for a missing renderer; returns when it has been closed.
    virtual void ShowRendererMissing() = 0;
    // Hides the mouse cursor and returns the display count.
    virtual std::int32_t HideCursor() = 0;
    // Claims the one show of the session for this process, until it ends; false when another
    // host holds it.
    virtual bool ClaimShow() = 0;
};

enum class StartupAction { End, Preview, SettingsDialog, Show };

struct StartupDecision {
    StartupAction action = StartupAction::End;
    std::int32_t previewHandle = 0;  // Preview only
};

// The start routine: refuses to run beside a running show or settings dialog, then picks the
// mode from the argument string: /p a preview in the given window, /c the settings dialog, /s or
// nothing the show (/s hides the cursor), anything else the end. Every mode but the preview
// reads the settings and needs the renderer beside the program. A show also needs the show's
// claim, which another host still starting may already hold.
StartupDecision Main(std::wstring_view arguments, const std::wstring& programFolder,
                     StartupPlatform& platform, SettingsVariables& settings);

// The caption of the host's message boxes.
inline constexpr std::wstring_view kApplicationTitle = L"Lullvane";

inline constexpr std::string_view kShowFormCaption = "Torvane2_Main";
inline constexpr std::string_view kSettingsDialogCaption = "<Lullvane>";
