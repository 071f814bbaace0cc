#include "dialog_model.h"

#include <gtest/gtest.h>

#include <tuple>

#include "../host/temp_folder.h"
#include "file_profile_store.h"
#include "settings_file.h"

namespace {

TEST(SettingsDialogModel, TheViewFollowsTheSource) {
    // The source, the indicator selected (-1: none), the track box and file button enabled.
    using Row = std::tuple<std::int16_t, int, bool, bool>;
    for (const auto& [source, selected, trackBox, fileButton] :
         {Row{0, 0, false, false}, Row{1, 1, true, false}, Row{2, 2, false, true},
          Row{3, -1, false, false}, Row{-1, -1, false, false}, Row{32767, -1, false, false}}) {
        const SourceView view = ViewOf(source);
        for (int i = 0; i < kMusicSourceCount; ++i) {
            EXPECT_EQ(view.indicatorSelected[i], i == selected) << source << " " << i;
        }
        EXPECT_EQ(std::tuple(view.trackBoxEnabled, view.fileButtonEnabled),
                  std::tuple(trackBox, fileButton))
            << source;
    }
}

TEST(SettingsDialogModel, TextsTheDialogShows) {
    using namespace std::string_literals;
    EXPECT_EQ(std::tuple(TrackText(0), TrackText(7), TrackText(-3)), std::tuple(L"", L"7", L"-3"));
    const auto entries = TrackEntries();
    ASSERT_EQ(entries.size(), 31u);
    EXPECT_EQ(std::tie(entries[0], entries[1], entries[30]), std::tuple(L"", L"1", L"30"));
    EXPECT_EQ(FileFilter(), L"BGM\uFF8C\uFF67\uFF72\uFF99 (MP3 WAV)\0*.MP3;*.WAV\0\0"s);
    EXPECT_NE(SaveFailedMessage(L"C:\\x\\Lullvane.ini").find(L"\nC:\\x\\Lullvane.ini"),
              std::wstring::npos);
}

TEST(SettingsDialogModel, PlacementAndZoomPoint) {
    // A 1024 x 768 screen and a 502 x 276 pixel window, in twips; then a window larger than the
    // screen, where the divisions truncate toward zero.
    const Point placed = DialogPlacement(15360, 11520, 7530, 4140);
    const Point over = DialogPlacement(101, 100, 7530, 4140);
    EXPECT_EQ(std::tuple(placed.x, placed.y, over.x, over.y), std::tuple(3915, 2460, -3714, -1346));
    for (const auto& [cursor, x, y] :
         {std::tuple(std::optional<Point>(), 0, 0),
          std::tuple(std::optional(Point{640, 480}), 640, 480),
          std::tuple(std::optional(Point{70000, -40000}), 32767, -32768)}) {
        const ZoomPoint point = ZoomPointFrom(cursor);
        EXPECT_EQ(std::tuple(point.x, point.y), std::tuple(x, y));
    }
}

TEST(SettingsDialogModel, OkWritesTheChoiceAndTheTypedTrack) {
    TempFolder folder;
    FileProfileStore store;
    const std::wstring file = SettingsFilePath(folder.Folder());
    const auto stored = [&] {
        return std::tuple(store.ReadIniValue(kSettingsSection, kBgmKindKey, file),
                          store.ReadIniValue(kSettingsSection, kBgmRepeatKey, file),
                          store.ReadIniValue(kSettingsSection, kBgmFileKey, file));
    };
    SettingsVariables settings;
    SettingsDialogModel model(settings);
    model.ChooseSource(2);
    model.ChooseSource(1);  // the last choice counts
    EXPECT_TRUE(model.View().trackBoxEnabled);
    model.ChooseFile(L"C:\\\u97F3\u697D\\a b.mp3");  // which leaves the source as it is
    EXPECT_EQ(std::tie(settings.BgmKind, model.FileText(), model.FileFolder()),
              std::tuple(1, L"C:\\\u97F3\u697D\\a b.mp3", L"C:\\\u97F3\u697D"));
    EXPECT_TRUE(model.Store(store, folder.Folder(), L"7"));
    EXPECT_EQ(model.InitialTrackText(), L"7");
    EXPECT_EQ(stored(), std::tuple(L"1", L"7", L"C:\\\u97F3\u697D\\a b.mp3"));

    // The music file source with no file and a track box that holds no number.
    SettingsVariables empty;
    SettingsDialogModel second(empty);
    second.ChooseSource(2);
    EXPECT_TRUE(second.Store(store, folder.Folder(), L"abc"));
    EXPECT_EQ(stored(), std::tuple(L"2", L"0", L""));
    EXPECT_FALSE(second.Store(store, folder.File(L"gone"), L""));  // a folder that is not there
}

}  // namespace
