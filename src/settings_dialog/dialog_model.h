#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "profile_store.h"
#include "settings_variables.h"

// The settings dialog's behaviour, apart from its window: it works on the host's settings in
// place, as the user works, and writes them only on OK.

inline constexpr int kMusicSourceCount = 3;  // 0 none, 1 audio CD, 2 music file
inline constexpr int kTrackEntryCount = 31;  // the empty text, then 1 to 30

// What the controls show for the current source.
struct SourceView {
    std::array<bool, kMusicSourceCount> indicatorSelected{};
    bool trackBoxEnabled = false;
    bool fileButtonEnabled = false;
};

// The view follows the source: exactly one indicator is selected, the track box is enabled only
// for the audio CD and the file button only for the music file. A source outside 0 to 2 (a
// hand-edited settings file) selects nothing and enables neither.
SourceView ViewOf(std::int16_t bgmKind);

// A track number as the track box shows it: its digits, a minus sign for a negative value, and
// the empty text for 0.
std::wstring TrackText(std::int32_t track);

// The track box's list: the empty text, then "1" to "30".
std::vector<std::wstring> TrackEntries();

// The open-file dialog for the music file: its title, its one filter, and the size of the
// buffers that receive the chosen path and file name.
inline constexpr std::wstring_view kFileChooserTitle =
    L"\uFF8C\uFF67\uFF72\uFF99\u3092\u958B\u304F";
inline constexpr std::wstring_view kFileFilterDescription =
    L"BGM\uFF8C\uFF67\uFF72\uFF99 (MP3 WAV)";
inline constexpr std::wstring_view kFileFilterPattern = L"*.MP3;*.WAV";
inline constexpr int kFileBufferSize = 255;

// The filter as the open-file dialog takes it: description, NUL, pattern, NUL, and the NUL that
// ends the list.
std::wstring FileFilter();

// What the message box says when OK could not write the settings file at `settingsFile`.
std::wstring SaveFailedMessage(const std::wstring& settingsFile);

struct Point {
    int x, y;
};

// Where the dialog goes, in twips: centred across, at one third of the free height down.
Point DialogPlacement(int screenWidth, int screenHeight, int windowWidth, int windowHeight);

// The mouse position the zoom animations start from and end at: the screen's top-left corner
// when it could not be read, and held within the 16-bit range of the zoom point.
struct ZoomPoint {
    std::int16_t x = 0, y = 0;
};
ZoomPoint ZoomPointFrom(std::optional<Point> cursor);

class SettingsDialogModel {
  public:
    explicit SettingsDialogModel(SettingsVariables& settings) : settings_(settings) {}

    SourceView View() const { return ViewOf(settings_.BgmKind); }
    const std::wstring& FileText() const { return settings_.BgmFile; }
    std::wstring InitialTrackText() const { return TrackText(settings_.BgmRepeatTrack); }
    const std::wstring& FileFolder() const { return settings_.BgmFolder; }

    // A mouse button went down on an indicator or its caption.
    void ChooseSource(int source);
    // The open-file dialog returned a path.
    void ChooseFile(const std::wstring& path);
    // OK: stores the settings with the track box's text as it stands; false when the settings
    // file could not be written.
    bool Store(ProfileStore& store, const std::wstring& programFolder,
               const std::wstring& trackText);

  private:
    SettingsVariables& settings_;
};
