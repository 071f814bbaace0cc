// Lullvane.scr: the screen-saver host. The system starts it with /s (or nothing) to run the
// saver, /c for the settings, /p <window> for the preview.
#include <windows.h>

#include "application_win32.h"
#include "command_line.h"
#include "message_box_win32.h"
#include "preview_form_win32.h"
#include "profile_store_win32.h"
#include "settings_dialog_win32.h"
#include "settings_file.h"
#include "show_form_win32.h"
#include "startup.h"

namespace {

class Platform final : public StartupPlatform {
  public:
    explicit Platform(const std::wstring& programFolder) : programFolder_(programFolder) {}

    bool WindowTitled(std::string_view title) override {
        return FindWindowA(nullptr, std::string(title).c_str()) != nullptr;
    }
    bool IsWindowHandle(std::int32_t handle) override {
        return handle != 0 && IsWindow(reinterpret_cast<HWND>(static_cast<INT_PTR>(handle)));
    }
    void LoadSettings(SettingsVariables& settings) override {
        ::LoadSettings(Win32ProfileStore(), programFolder_, settings);
    }
    void ShowRendererMissing() override {
        forms::ShowMessage(
            L"Lullvane.dll \u304C\u540C\u3058\uFF8C\uFF6B\uFF99\uFF80\uFF9E\u306B"
            L"\u898B\u3064\u304B\u308A\u307E\u305B\u3093\uFF01",
            std::wstring(kApplicationTitle));
    }
    std::int32_t HideCursor() override { return ShowCursor(FALSE); }
    bool ClaimShow() override {
        // Never closed: the system lets go of it when the process ends, however it ends.
        const HANDLE claim = CreateMutexW(nullptr, FALSE, L"Local\\Lullvane.Show");
        // Without the object (an odd system) the title test alone decides, as it always did.
        if (!claim) return true;
        return GetLastError() != ERROR_ALREADY_EXISTS;
    }

  private:
    const std::wstring& programFolder_;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const std::wstring arguments = forms::CommandArguments();
    const std::wstring programFolder = forms::ProgramFolder();
    SettingsVariables settings;
    Platform platform(programFolder);
    const StartupDecision decision = Main(arguments, programFolder, platform, settings);
    switch (decision.action) {
        case StartupAction::Preview: {
            const auto parent =
                reinterpret_cast<HWND>(static_cast<INT_PTR>(decision.previewHandle));
            PreviewForm preview;
            // Without the form's window nothing would ever end the message loop.
            if (preview.Embed(parent)) forms::Run();
            break;
        }
        case StartupAction::Show: {
            ShowForm show(settings, ModeLetter(arguments), programFolder);
            if (show.Load()) forms::Run();
            break;
        }
        case StartupAction::SettingsDialog: {
            Win32ProfileStore store;
            SettingsDialog dialog(settings, programFolder, store);
            dialog.ShowModal();
            break;
        }
        case StartupAction::End:
            break;
    }
    forms::EndProgram();
}
