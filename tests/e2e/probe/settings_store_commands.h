#pragma once

// The settings commands of the probe, over whichever profile store a program gives them: the
// probe hands them the platform's store, settings-store-tool (native) the portable one, so that
// a test can compare the two. Texts are given and printed as UTF-16 code units, four hex digits
// each, so that any text passes any command line unchanged.
#include <string>
#include <vector>

#include "profile_store.h"

// settings-save FOLDER KIND TRACK FILE: saves the settings into FOLDER's file with the music kind,
// the track text and the music file; prints "track=" with the track number it stored.
int SettingsSaveCommand(ProfileStore& store, const std::vector<std::string>& args);
// settings-load FOLDER: loads them; prints "kind= track= file= folder=".
int SettingsLoadCommand(ProfileStore& store, const std::vector<std::string>& args);
