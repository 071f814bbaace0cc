#pragma once

#include <string>

#include "profile_store.h"
#include "settings_variables.h"

// The settings file Lullvane.ini beside the program: one section, three keys.
inline const std::wstring kSettingsSection = L"Section";
inline const std::wstring kBgmKindKey = L"BGM\u533A\u5206";                      // BGM区分
inline const std::wstring kBgmRepeatKey = L"BGM\uFF98\uFF8B\uFF9F\uFF70\uFF84";  // BGMﾘﾋﾟｰﾄ
inline const std::wstring kBgmFileKey = L"BGM\uFF8C\uFF67\uFF72\uFF99";          // BGMﾌｧｲﾙ

// Fills BgmKind, BgmRepeatTrack, BgmFile and BgmFolder from the settings file. A value that is
// not a number, or out of range, leaves its variable as it was; a music file that can no longer
// be opened is forgotten, and a file source without its file falls back to no music.
void LoadSettings(const ProfileStore& store, const std::wstring& programFolder,
                  SettingsVariables& settings);

// Writes the three keys. `trackText` is the settings dialog's track box: a number becomes
// BgmRepeatTrack (rounded, halves to even); anything else, or a number outside the 16-bit
// range, makes it 0. False when a key could not be written; the keys after it are not tried.
bool SaveSettings(ProfileStore& store, const std::wstring& programFolder,
                  SettingsVariables& settings, const std::wstring& trackText);
