#include "settings_file.h"

#include "host_paths.h"
#include "number_text.h"

namespace {

std::wstring Read(const ProfileStore& store, const std::wstring& programFolder,
                  const std::wstring& key) {
    return store.ReadIniValue(kSettingsSection, key, SettingsFilePath(programFolder));
}

bool Write(ProfileStore& store, const std::wstring& programFolder, const std::wstring& key,
           const std::wstring& value) {
    return store.WriteIniValue(kSettingsSection, key, value, SettingsFilePath(programFolder));
}

// Empty text gives 0; a number gives its integer part toward minus infinity; anything else, or
// a number out of range, keeps the variable as it was.
void ReadSettingNumber(const std::wstring& text, std::int16_t& variable) {
    if (text.empty()) {
        variable = 0;
        return;
    }
    if (const auto number = ParseNumber(text)) {
        if (const auto whole = FloorToInt16(*number)) variable = *whole;
    }
}

constexpr std::int16_t kFileSource = 2;

}  // namespace

void LoadSettings(const ProfileStore& store, const std::wstring& programFolder,
                  SettingsVariables& settings) {
    ReadSettingNumber(Read(store, programFolder, kBgmKindKey), settings.BgmKind);
    ReadSettingNumber(Read(store, programFolder, kBgmRepeatKey), settings.BgmRepeatTrack);

    settings.BgmFile = Read(store, programFolder, kBgmFileKey);
    if (!settings.BgmFile.empty() && !FileExists(settings.BgmFile)) settings.BgmFile.clear();
    if (settings.BgmFile.empty() && settings.BgmKind == kFileSource) settings.BgmKind = 0;

    settings.BgmFolder = settings.BgmFile.empty() ? programFolder : FolderOf(settings.BgmFile);
}

bool SaveSettings(ProfileStore& store, const std::wstring& programFolder,
                  SettingsVariables& settings, const std::wstring& trackText) {
    if (!Write(store, programFolder, kBgmKindKey, SettingNumberText(settings.BgmKind))) {
        return false;
    }
    const auto number = ParseNumber(trackText);
    const auto track = number ? RoundToInt16(*number) : std::nullopt;
    settings.BgmRepeatTrack = track.value_or(0);
    return Write(store, programFolder, kBgmRepeatKey, SettingNumberText(settings.BgmRepeatTrack)) &&
           Write(store, programFolder, kBgmFileKey, settings.BgmFile);
}
