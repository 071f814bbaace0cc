// settings-store-tool: the probe's settings commands natively, over the portable profile store.
//   settings-store-tool settings-save FOLDER KIND TRACK FILE
//   settings-store-tool settings-load FOLDER
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "file_profile_store.h"
#include "settings_store_commands.h"

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    const std::vector<std::string> args(argv + std::min(argc, 2), argv + argc);
    FileProfileStore store;
    if (command == "settings-save" && args.size() == 4) return SettingsSaveCommand(store, args);
    if (command == "settings-load" && args.size() == 1) return SettingsLoadCommand(store, args);
    std::fprintf(stderr,
                 "usage: settings-store-tool settings-save FOLDER KIND TRACK FILE | "
                 "settings-load FOLDER\n");
    return 2;
}
