#include "settings_store_commands.h"

#include <cstdio>
#include <string_view>

#include "settings_file.h"

namespace {

std::wstring FromHexUnits(std::string_view hex) {
    std::wstring text;
    for (size_t at = 0; at + 4 <= hex.size(); at += 4) {
        text += static_cast<wchar_t>(std::stoul(std::string(hex.substr(at, 4)), nullptr, 16));
    }
    return text;
}

std::string ToHexUnits(const std::wstring& text) {
    std::string hex;
    char unit[8];
    for (const wchar_t c : text) {
        std::snprintf(unit, sizeof unit, "%04x", static_cast<unsigned>(c) & 0xFFFF);
        hex += unit;
    }
    return hex;
}

}  // namespace

int SettingsSaveCommand(ProfileStore& store, const std::vector<std::string>& args) {
    SettingsVariables settings;
    settings.BgmKind = static_cast<std::int16_t>(std::stoi(args[1]));
    settings.BgmFile = FromHexUnits(args[3]);
    SaveSettings(store, FromHexUnits(args[0]), settings, FromHexUnits(args[2]));
    std::printf("track=%d\n", settings.BgmRepeatTrack);
    return 0;
}

int SettingsLoadCommand(ProfileStore& store, const std::vector<std::string>& args) {
    SettingsVariables settings;
    LoadSettings(store, FromHexUnits(args[0]), settings);
    std::printf("kind=%d track=%d file=%s folder=%s\n", settings.BgmKind, settings.BgmRepeatTrack,
                ToHexUnits(settings.BgmFile).c_str(), ToHexUnits(settings.BgmFolder).c_str());
    return 0;
}
