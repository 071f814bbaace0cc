#include "dialog_model.h"

#include <algorithm>
#include <limits>

#include "host_paths.h"
#include "settings_file.h"

SourceView ViewOf(std::int16_t bgmKind) {
    SourceView view;
    if (bgmKind >= 0 && bgmKind < kMusicSourceCount) view.indicatorSelected[bgmKind] = true;
    view.trackBoxEnabled = bgmKind == 1;
    view.fileButtonEnabled = bgmKind == 2;
    return view;
}

std::wstring TrackText(std::int32_t track) {
    return track == 0 ? std::wstring() : std::to_wstring(track);
}

std::vector<std::wstring> TrackEntries() {
    std::vector<std::wstring> entries;
    for (int track = 0; track < kTrackEntryCount; ++track) entries.push_back(TrackText(track));
    return entries;
}

std::wstring FileFilter() {
    std::wstring filter(kFileFilterDescription);
    filter += L'\0';
    filter += kFileFilterPattern;
    filter += L'\0';
    filter += L'\0';
    return filter;
}

std::wstring SaveFailedMessage(const std::wstring& settingsFile) {
    // 設定を保存できませんでした。 / 次のﾌｧｲﾙに書き込めません：
    return L"\u8A2D\u5B9A\u3092\u4FDD\u5B58\u3067\u304D\u307E\u305B\u3093\u3067\u3057\u305F"
           L"\u3002\n\u6B21\u306E\uFF8C\uFF67\uFF72\uFF99\u306B\u66F8\u304D\u8FBC\u3081\u307E"
           L"\u305B\u3093\uFF1A\n" +
           settingsFile;
}

Point DialogPlacement(int screenWidth, int screenHeight, int windowWidth, int windowHeight) {
    // Integer division truncates toward zero, also for a window larger than the screen.
    return {(screenWidth - windowWidth) / 2, (screenHeight - windowHeight) / 3};
}

ZoomPoint ZoomPointFrom(std::optional<Point> cursor) {
    if (!cursor) return {};
    constexpr int kMin = std::numeric_limits<std::int16_t>::min();
    constexpr int kMax = std::numeric_limits<std::int16_t>::max();
    return {static_cast<std::int16_t>(std::clamp(cursor->x, kMin, kMax)),
            static_cast<std::int16_t>(std::clamp(cursor->y, kMin, kMax))};
}

void SettingsDialogModel::ChooseSource(int source) {
    settings_.BgmKind = static_cast<std::int16_t>(source);
}

void SettingsDialogModel::ChooseFile(const std::wstring& path) {
    settings_.BgmFile = path;
    settings_.BgmFolder = FolderOf(path);
}

bool SettingsDialogModel::Store(ProfileStore& store, const std::wstring& programFolder,
                                const std::wstring& trackText) {
    return SaveSettings(store, programFolder, settings_, trackText);
}
