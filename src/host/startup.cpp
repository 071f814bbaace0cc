#include "startup.h"

#include "command_line.h"
#include "host_paths.h"

StartupDecision Main(std::wstring_view arguments, const std::wstring& programFolder,
                     StartupPlatform& platform, SettingsVariables& settings) {
    if (platform.WindowTitled(kShowFormCaption) || platform.WindowTitled(kSettingsDialogCaption)) {
        return {};
    }
    const wchar_t mode = ModeLetter(arguments);
    if (mode == L'P') {
        // A handle that is not a window would leave the preview without a parent for ever.
        const std::int32_t handle = PreviewHandle(arguments);
        if (!platform.IsWindowHandle(handle)) return {};
        return {.action = StartupAction::Preview, .previewHandle = handle};
    }
    platform.LoadSettings(settings);
    if (!FileExists(RendererPath(programFolder))) {
        platform.ShowRendererMissing();
        return {};
    }
    if (mode == L'C') return {.action = StartupAction::SettingsDialog};
    if (mode != L'S' && !arguments.empty()) return {};
    // Starts in quick succession all pass the title test before the first show has its window.
    if (!platform.ClaimShow()) return {};
    if (mode == L'S') settings.CursorCount = platform.HideCursor();
    return {.action = StartupAction::Show};
}
