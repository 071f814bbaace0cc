// settings-store-tool: saves and loads the host's settings through one profile store, so that
// the end-to-end tests can compare the platform's store with the portable one.
//   settings-store-tool save <folder> <kind> <track text> <music file>
//   settings-store-tool load <folder>
// Texts are given and printed as UTF-16 code units, four hex digits each, so that any text
// passes any command line unchanged.
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "profile_store.h"
#include "settings_file.h"

std::unique_ptr<ProfileStore> ToolStore();

namespace {

std::wstring FromHex(std::string_view hex) {
    std::wstring text;
    for (size_t at = 0; at + 4 <= hex.size(); at += 4) {
        text += static_cast<wchar_t>(std::stoul(std::string(hex.substr(at, 4)), nullptr, 16));
    }
    return text;
}

std::string ToHex(const std::wstring& text) {
    std::string hex;
    char unit[8];
    for (const wchar_t c : text) {
        std::snprintf(unit, sizeof unit, "%04x", static_cast<unsigned>(c) & 0xFFFF);
        hex += unit;
    }
    return hex;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string_view command = argc > 1 ? argv[1] : "";
    const auto store = ToolStore();
    if (command == "save" && argc == 6) {
        SettingsVariables settings;
        settings.BgmKind = static_cast<std::int16_t>(std::stoi(argv[3]));
        settings.BgmFile = FromHex(argv[5]);
        SaveSettings(*store, FromHex(argv[2]), settings, FromHex(argv[4]));
        std::printf("track=%d\n", settings.BgmRepeatTrack);
        return 0;
    }
    if (command == "load" && argc == 3) {
        SettingsVariables settings;
        LoadSettings(*store, FromHex(argv[2]), settings);
        std::printf("kind=%d track=%d file=%s folder=%s\n", settings.BgmKind,
                    settings.BgmRepeatTrack, ToHex(settings.BgmFile).c_str(),
                    ToHex(settings.BgmFolder).c_str());
        return 0;
    }
    std::fprintf(
        stderr, "usage: settings-store-tool save <folder> <kind> <track> <file> | load <folder>\n");
    return 2;
}
