#include <set>

#include "../common/expect_rows.h"
#include "../host/temp_folder.h"
#include "dialog_font.h"
#include "dialog_model.h"
#include "file_profile_store.h"
#include "layout.h"
#include "settings_file.h"
#include "skin.h"

namespace {

// clang-format off
TEST(SettingsDialogModel, TheViewFollowsTheSourceTheDialogPlacesItselfAndOkWritesTheChoiceAndTheTypedTrack) {
    // The indicators selected, then T when the track box and F when the file button is enabled.
    ExpectRows<std::int16_t, std::string>([](std::int16_t source) {
            const SourceView view = ViewOf(source);
            std::string shown;
            for (const bool on : view.indicatorSelected) shown += on ? '1' : '0';
            return shown + (view.trackBoxEnabled ? "T" : "-") + (view.fileButtonEnabled ? "F" : "-");
        },
        {{0, "100--"}, {1, "010T-"}, {2, "001-F"}, {3, "000--"}, {-1, "000--"}});
    const auto entries = TrackEntries();
    EXPECT_EQ(std::tuple(TrackText(7), TrackText(-3), entries.size(), entries[0], entries[1], entries[30]),
              std::tuple(L"7", L"-3", 31u, L"", L"1", L"30"));
    EXPECT_EQ(FileFilter(), std::wstring(L"BGM\uFF8C\uFF67\uFF72\uFF99 (MP3 WAV)\0*.MP3;*.WAV\0\0", 31));
    EXPECT_TRUE(SaveFailedMessage(L"C:\\x\\Lullvane.ini").ends_with(L"\nC:\\x\\Lullvane.ini"));
    // A 1024 x 768 screen and a 502 x 276 pixel window, in twips; then a window larger than the
    // screen, where the divisions truncate toward zero.
    const Point placed = DialogPlacement(15360, 11520, 7530, 4140), over = DialogPlacement(101, 100, 7530, 4140);
    EXPECT_EQ(std::tuple(placed.x, placed.y, over.x, over.y), std::tuple(3915, 2460, -3714, -1346));
    ExpectRows<std::optional<Point>, std::pair<int, int>>([](auto cursor) { return std::pair<int, int>(ZoomPointFrom(cursor).x, ZoomPointFrom(cursor).y); },
        {{std::nullopt, {0, 0}}, {Point{640, 480}, {640, 480}}, {Point{70000, -40000}, {32767, -32768}}});
    TempFolder folder;
    FileProfileStore store;
    const auto stored = [&](auto key) { return store.ReadIniValue(kSettingsSection, key, SettingsFilePath(folder.Folder())); };
    const std::wstring song = L"C:\\\u97F3\u697D\\a b.mp3";
    SettingsVariables settings;
    SettingsDialogModel model(settings);
    model.ChooseSource(2);
    model.ChooseSource(1);  // the last choice counts
    model.ChooseFile(song);  // which leaves the source as it is
    EXPECT_TRUE(model.Store(store, folder.Folder(), L"7"));
    EXPECT_EQ(std::tuple(model.View().trackBoxEnabled, model.FileText(), model.FileFolder(), model.InitialTrackText()),
              std::tuple(true, song, L"C:\\\u97F3\u697D", L"7"));
    EXPECT_EQ(std::tuple(stored(kBgmKindKey), stored(kBgmRepeatKey), stored(kBgmFileKey)), std::tuple(L"1", L"7", song));
    EXPECT_FALSE(model.Store(store, folder.File(L"gone"), L"7"));  // a folder that is not there
}

TEST(DialogFont, TheDesignedFaceWhereItIsElseTheFirstProportionalGothicThere) {
    const std::wstring designed = L"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF";
    // The designed face listed under its English name; the fixed-pitch IPAGothic is no substitute;
    // nothing known (an empty name is no face): the designed one, for the system to substitute.
    EXPECT_EQ(DialogFont([](std::wstring_view) { return false; }), (CaptionFont{designed, 9.75, 400, 128}));
    ExpectRows<std::set<std::wstring>, std::wstring>([](const std::set<std::wstring>& installed) {
            return DialogFont([&](std::wstring_view face) { return installed.contains(std::wstring(face)); }).face;
        },
        {{{designed, L"IPAPGothic"}, designed}, {{L"MS PGothic", L"IPAPGothic"}, L"MS PGothic"},
         {{L"IPAGothic", L"IPAPGothic", L"VL PGothic"}, L"IPAPGothic"}, {{L"VL PGothic", L"Noto Sans CJK JP"}, L"VL PGothic"},
         {{L"Noto Sans CJK JP"}, L"Noto Sans CJK JP"}, {{}, designed}, {{L""}, designed}});
}

TEST(DialogLayout, WholePixelsInsideTheContainerCaptionsBesideIndicatorsOneFocusOrderAndSkinsAlongHalfASine) {
    const ControlLayout& panel = LayoutOf(Control::PicC0);
    std::set<int> tabs;
    for (const ControlLayout& c : kDialogControls) {
        for (int length : {c.left, c.top, c.width, c.height, kDialogClientWidth, kDialogClientHeight}) {
            EXPECT_EQ(length % kDesignTwipsPerPixel, 0) << c.name;
        }
        const bool inPanel = c.container == Container::Panel;
        EXPECT_LE(c.left + c.width, inPanel ? panel.width : kDialogClientWidth) << c.name;
        EXPECT_LE(c.top + c.height, inPanel ? panel.height : kDialogClientHeight) << c.name;
        EXPECT_TRUE(c.tabIndex < 0 || tabs.insert(c.tabIndex).second) << c.name;
        // White for the credit line and the link, which alone is underlined; the labels size
        // themselves to their text but for the centred title and the sunken file name.
        const bool light = c.id == Control::LblUrl || c.id == Control::Lbl7, fixed = c.id == Control::Lbl15 || c.id == Control::LblFname0;
        EXPECT_EQ(std::tuple(c.name, c.textColour, c.underline, c.centred, c.sunkenBorder, c.autoSize),
                  std::tuple(c.name, light ? 0xFFFFFFu : 0u, c.id == Control::LblUrl, c.id == Control::Lbl15, c.id == Control::LblFname0,
                             c.kind == ControlKind::Label && !fixed));
    }
    EXPECT_EQ(std::tuple(*tabs.begin(), *tabs.rbegin()), std::tuple(1, static_cast<int>(tabs.size())));  // from 1, no gaps
    for (size_t i = 0; i < kSourceCaptions.size(); ++i) {  // each caption right of its indicator
        const ControlLayout& indicator = LayoutOf(kSourceIndicators.at(i)), &caption = LayoutOf(kSourceCaptions[i]);
        EXPECT_TRUE(caption.top == indicator.top && caption.left > indicator.left + indicator.width) << caption.name;
    }
    EXPECT_EQ(PixelFrameOf(panel, 12, 15), (PixelFrame{15, 16, 586, 165}));  // 12 twips to the pixel across, as at 120 dots per inch
    // The skins behind the dialog and the panel at 96 dots per inch: half a sine from edge to edge.
    using enum SkinSurface;
    const auto dialog = SkinLines(Dialog, PixelsOf(kDialogClientHeight, 15)), onPanel = SkinLines(Panel, PixelsOf(panel.height, 15));
    ASSERT_EQ(std::tuple(dialog.size(), onPanel.size()), std::tuple(244u, 166u));  // before the lines are read
    EXPECT_EQ(std::tuple(SkinLines(Dialog, 1).size(), SkinLines(Dialog, 0).size(), SkinLines(Panel, -5).size()), std::tuple(2u, 0u, 0u));
    EXPECT_EQ((std::vector{dialog[0], dialog[121], dialog[242], dialog[243], onPanel[0], onPanel[20], onPanel[82]}),
              (std::vector<Rgb>{{0, 0, 30}, {220, 220, 250}, {3, 3, 33}, {0, 0, 30}, {30, 30, 30}, {112, 112, 112}, {250, 250, 250}}));
}
// clang-format on

}  // namespace
