#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "../host/temp_folder.h"
#include "dialog_font.h"
#include "dialog_model.h"
#include "file_profile_store.h"
#include "layout.h"
#include "settings_file.h"
#include "skin.h"

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
        EXPECT_EQ(std::tuple(source, view.trackBoxEnabled, view.fileButtonEnabled),
                  std::tuple(source, trackBox, fileButton));
    }
}

TEST(SettingsDialogModel, TextsPlacementAndZoomPoint) {
    using namespace std::string_literals;
    EXPECT_EQ(std::tuple(TrackText(0), TrackText(7), TrackText(-3)), std::tuple(L"", L"7", L"-3"));
    const auto entries = TrackEntries();
    ASSERT_EQ(entries.size(), 31u);
    EXPECT_EQ(std::tie(entries[0], entries[1], entries[30]), std::tuple(L"", L"1", L"30"));
    EXPECT_EQ(FileFilter(), L"BGM\uFF8C\uFF67\uFF72\uFF99 (MP3 WAV)\0*.MP3;*.WAV\0\0"s);
    EXPECT_NE(SaveFailedMessage(L"C:\\x\\Lullvane.ini").find(L"\nC:\\x\\Lullvane.ini"),
              std::wstring::npos);
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

TEST(SettingsDialogModel, OkWritesTheChoiceAndTheTypedTrackAndReportsAFailedSave) {
    TempFolder folder;
    FileProfileStore store;
    const auto stored = [&, file = SettingsFilePath(folder.Folder())] {
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

TEST(DialogFont, TheDesignedFaceWhereItIsElseTheFirstProportionalGothicThere) {
    const std::wstring designed(kDialogFontFace);
    EXPECT_EQ(designed, L"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF");
    // A system in another language lists the designed face under its English name; the
    // fixed-pitch IPAGothic is no substitute; with nothing known (an empty name is no face) the
    // system substitutes for the designed face.
    using Row = std::pair<std::set<std::wstring>, std::wstring>;
    // clang-format off
    for (const auto& [installed, face] :
         {Row{{designed, L"IPAPGothic"}, designed}, Row{{L"MS PGothic", L"IPAPGothic"}, L"MS PGothic"},
          Row{{L"IPAGothic", L"IPAPGothic", L"VL PGothic"}, L"IPAPGothic"}, Row{{L"VL PGothic", L"Noto Sans CJK JP"}, L"VL PGothic"},
          Row{{L"Noto Sans CJK JP"}, L"Noto Sans CJK JP"}, Row{{}, designed}, Row{{L""}, designed}}) {
        // clang-format on
        const CaptionFont font =
            DialogFont([&](std::wstring_view f) { return installed.count(std::wstring(f)) > 0; });
        EXPECT_EQ(font, (CaptionFont{face, 9.75, 400, 128, false, false, false})) << face.size();
    }
}

TEST(DialogLayout, WholePixelsInsideTheContainerCaptionsBesideIndicatorsAndOneFocusOrder) {
    EXPECT_EQ(std::tuple(PixelsOf(kDialogClientWidth, kDesignTwipsPerPixel),
                         PixelsOf(kDialogClientHeight, kDesignTwipsPerPixel)),
              std::tuple(496, 243));
    const ControlLayout& panel = LayoutOf(Control::PicC0);
    std::set<int> tabs;
    for (const ControlLayout& c : kDialogControls) {
        for (int length :
             {c.left, c.top, c.width, c.height, kDialogClientWidth, kDialogClientHeight}) {
            EXPECT_EQ(length % kDesignTwipsPerPixel, 0) << c.name;
        }
        const bool inPanel = c.container == Container::Panel;
        EXPECT_LE(c.left + c.width, inPanel ? panel.width : kDialogClientWidth) << c.name;
        EXPECT_LE(c.top + c.height, inPanel ? panel.height : kDialogClientHeight) << c.name;
        EXPECT_TRUE(c.tabIndex < 0 || tabs.insert(c.tabIndex).second) << c.name;
        // White for the credit line and the link, which alone is underlined; the labels size
        // themselves to their text but for the centred title and the sunken file name.
        const bool light = c.id == Control::LblUrl || c.id == Control::Lbl7;
        EXPECT_EQ(
            std::tuple(c.name, c.textColour, c.underline, c.centred, c.sunkenBorder, c.autoSize),
            std::tuple(c.name, light ? 0x00FFFFFFu : 0u, c.id == Control::LblUrl,
                       c.id == Control::Lbl15, c.id == Control::LblFname0,
                       c.kind == ControlKind::Label && c.id != Control::Lbl15 &&
                           c.id != Control::LblFname0));
    }
    EXPECT_EQ(std::tuple(*tabs.begin(), *tabs.rbegin()),
              std::tuple(1, static_cast<int>(tabs.size())));
    for (size_t i = 0; i < kSourceCaptions.size(); ++i) {  // each caption right of its indicator
        const ControlLayout& indicator = LayoutOf(kSourceIndicators.at(i));
        EXPECT_EQ(LayoutOf(kSourceCaptions[i]).top, indicator.top);
        EXPECT_GT(LayoutOf(kSourceCaptions[i]).left, indicator.left + indicator.width);
    }
    EXPECT_EQ(PixelFrameOf(LayoutOf(Control::CmdCan), 15, 15), (PixelFrame{404, 200, 77, 25}));
    // At 120 dots per inch (12 twips to the pixel) the same twips give a larger dialog.
    EXPECT_EQ(PixelFrameOf(panel, 12, 15), (PixelFrame{15, 16, 586, 165}));
}

TEST(Skin, LinesFollowHalfASineFromEdgeToEdge) {
    // clang-format off
    for (const auto& [surface, height, y, expected] :
         {std::tuple(SkinSurface::Dialog, 243, 0, Rgb{0, 0, 30}), std::tuple(SkinSurface::Dialog, 243, 121, Rgb{220, 220, 250}),
          std::tuple(SkinSurface::Dialog, 243, 122, Rgb{220, 220, 250}), std::tuple(SkinSurface::Dialog, 243, 242, Rgb{3, 3, 33}),
          std::tuple(SkinSurface::Dialog, 243, 243, Rgb{0, 0, 30}), std::tuple(SkinSurface::Dialog, 1, 0, Rgb{0, 0, 30}),
          std::tuple(SkinSurface::Panel, 165, 0, Rgb{30, 30, 30}), std::tuple(SkinSurface::Panel, 165, 82, Rgb{250, 250, 250}),
          std::tuple(SkinSurface::Panel, 165, 83, Rgb{250, 250, 250}), std::tuple(SkinSurface::Panel, 165, 20, Rgb{112, 112, 112})}) {
        // clang-format on
        const auto lines = SkinLines(surface, height);
        ASSERT_EQ(lines.size(), height + 1u);
        EXPECT_EQ(lines[y], expected) << height << " " << y;
    }
    EXPECT_TRUE(SkinLines(SkinSurface::Dialog, 0).empty());
    EXPECT_TRUE(SkinLines(SkinSurface::Panel, -5).empty());
}

}  // namespace
