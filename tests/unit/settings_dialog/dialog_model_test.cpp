#include "dialog_model.h"

#include <gtest/gtest.h>

#include "../host/temp_folder.h"
#include "file_profile_store.h"
#include "settings_file.h"

namespace {

TEST(SettingsDialogModel, TheViewFollowsTheSourceAndItsInvariants) {
    const SourceView none = ViewOf(0);
    EXPECT_EQ(none.indicatorSelected, (std::array<bool, 3>{true, false, false}));
    EXPECT_FALSE(none.trackBoxEnabled);
    EXPECT_FALSE(none.fileButtonEnabled);

    const SourceView cd = ViewOf(1);
    EXPECT_EQ(cd.indicatorSelected, (std::array<bool, 3>{false, true, false}));
    EXPECT_TRUE(cd.trackBoxEnabled);
    EXPECT_FALSE(cd.fileButtonEnabled);

    const SourceView file = ViewOf(2);
    EXPECT_EQ(file.indicatorSelected, (std::array<bool, 3>{false, false, true}));
    EXPECT_FALSE(file.trackBoxEnabled);
    EXPECT_TRUE(file.fileButtonEnabled);

    for (std::int16_t odd : {std::int16_t{3}, std::int16_t{-1}, std::int16_t{32767}}) {
        const SourceView view = ViewOf(odd);
        EXPECT_EQ(view.indicatorSelected, (std::array<bool, 3>{})) << odd;
        EXPECT_FALSE(view.trackBoxEnabled);
        EXPECT_FALSE(view.fileButtonEnabled);
    }
}

TEST(SettingsDialogModel, TrackTextsAndTheListOfThirtyOneEntries) {
    EXPECT_EQ(TrackText(0), L"");
    EXPECT_EQ(TrackText(7), L"7");
    EXPECT_EQ(TrackText(30), L"30");
    EXPECT_EQ(TrackText(-3), L"-3");
    const auto entries = TrackEntries();
    ASSERT_EQ(entries.size(), 31u);
    EXPECT_EQ(entries.front(), L"");
    EXPECT_EQ(entries[1], L"1");
    EXPECT_EQ(entries.back(), L"30");
}

TEST(SettingsDialogModel, TheFileChoosersFilterIsOnePairEndedTwice) {
    const std::wstring filter = FileFilter();
    const std::wstring expected = std::wstring(L"BGM\uFF8C\uFF67\uFF72\uFF99 (MP3 WAV)") + L'\0' +
                                  L"*.MP3;*.WAV" + L'\0' + L'\0';
    EXPECT_EQ(filter, expected);
    EXPECT_EQ(kFileChooserTitle, L"\uFF8C\uFF67\uFF72\uFF99\u3092\u958B\u304F");
}

TEST(SettingsDialogModel, PlacementAndZoomPoint) {
    // A 1024 x 768 screen and a 502 x 276 pixel window, in twips.
    const Point placed = DialogPlacement(15360, 11520, 7530, 4140);
    EXPECT_EQ(placed.x, 3915);
    EXPECT_EQ(placed.y, 2460);
    // Larger than the screen: the divisions truncate toward zero.
    const Point over = DialogPlacement(101, 100, 7530, 4140);
    EXPECT_EQ(over.x, -3714);
    EXPECT_EQ(over.y, -1346);

    const ZoomPoint unread = ZoomPointFrom(std::nullopt);
    EXPECT_EQ(unread.x, 0);
    EXPECT_EQ(unread.y, 0);
    const ZoomPoint read = ZoomPointFrom(Point{640, 480});
    EXPECT_EQ(read.x, 640);
    EXPECT_EQ(read.y, 480);
    const ZoomPoint far = ZoomPointFrom(Point{70000, -40000});
    EXPECT_EQ(far.x, 32767);
    EXPECT_EQ(far.y, -32768);
}

TEST(SettingsDialogModel, OkWritesTheChoiceAndTheTypedTrack) {
    TempFolder folder;
    FileProfileStore store;
    SettingsVariables settings;
    settings.BgmFolder = folder.Folder();
    SettingsDialogModel model(settings);

    model.ChooseSource(2);
    model.ChooseSource(1);  // the last choice counts
    EXPECT_TRUE(model.View().trackBoxEnabled);
    model.ChooseFile(L"C:\\\u97F3\u697D\\a b.mp3");
    EXPECT_EQ(settings.BgmFile, L"C:\\\u97F3\u697D\\a b.mp3");
    EXPECT_EQ(settings.BgmFolder, L"C:\\\u97F3\u697D");
    EXPECT_EQ(settings.BgmKind, 1) << "choosing a file does not change the source";

    EXPECT_TRUE(model.Store(store, folder.Folder(), L"7"));
    EXPECT_EQ(settings.BgmRepeatTrack, 7);
    const std::wstring file = SettingsFilePath(folder.Folder());
    EXPECT_EQ(store.ReadIniValue(kSettingsSection, kBgmKindKey, file), L"1");
    EXPECT_EQ(store.ReadIniValue(kSettingsSection, kBgmRepeatKey, file), L"7");
    EXPECT_EQ(store.ReadIniValue(kSettingsSection, kBgmFileKey, file),
              L"C:\\\u97F3\u697D\\a b.mp3");

    // The music file source with no file and a track box that holds no number.
    SettingsVariables empty;
    SettingsDialogModel second(empty);
    second.ChooseSource(2);
    second.Store(store, folder.Folder(), L"abc");
    EXPECT_EQ(store.ReadIniValue(kSettingsSection, kBgmKindKey, file), L"2");
    EXPECT_EQ(store.ReadIniValue(kSettingsSection, kBgmRepeatKey, file), L"0");
    EXPECT_EQ(store.ReadIniValue(kSettingsSection, kBgmFileKey, file), L"");

    // A folder the file cannot be written in: OK reports it, and the message names the file.
    EXPECT_FALSE(second.Store(store, folder.File(L"gone"), L""));
    const std::wstring unwritable = SettingsFilePath(folder.File(L"gone"));
    EXPECT_NE(SaveFailedMessage(unwritable).find(L"\n" + unwritable), std::wstring::npos);
}

}  // namespace
