#pragma once

#include <cstdint>
#include <string>

// The host's settings while it runs: filled from the settings file at start-up, changed by the
// settings dialog, read by the show mode. All zero or empty when the process starts.
struct SettingsVariables {
    // 0 none, 1 audio CD, 2 music file (MP3 or WAV); other values play nothing.
    std::int16_t BgmKind = 0;
    // Audio CD only: the track to repeat; 0 plays the whole disc over and over.
    std::int16_t BgmRepeatTrack = 0;
    // Full path of the music file; empty when none.
    std::wstring BgmFile;
    // Where the settings dialog's file chooser opens first.
    std::wstring BgmFolder;
    // Display count returned when the cursor was hidden for /s.
    std::int32_t CursorCount = 0;
};
