#include "startup.h"

#include <gtest/gtest.h>

#include <tuple>

#include "command_line.h"
#include "preview_frame.h"
#include "temp_folder.h"

namespace {

using enum StartupAction;

// Records the calls as words; window 4711 is the one handle that is a window.
struct FakeStartupPlatform final : StartupPlatform {
    bool WindowTitled(std::string_view title) override {
        Record("find");
        return title == running;
    }
    bool IsWindowHandle(std::int32_t handle) override { return handle == 4711; }
    void LoadSettings(SettingsVariables& settings) override {
        Record("load");
        settings.BgmKind = 1;
    }
    void ShowRendererMissing() override { Record("missing"); }
    std::int32_t HideCursor() override {
        Record("hide");
        return -1;
    }
    bool ClaimShow() override {
        Record("claim");
        return showFree;
    }
    void Record(const char* call) { calls += calls.empty() ? call : std::string(" ") + call; }

    std::string running;  // the title of the window already open
    bool showFree = true;
    std::string calls;
};

struct StartupTest : testing::Test {
    void Expect(const wchar_t* arguments, StartupAction action, const std::string& calls,
                std::int32_t handle = 0) {
        platform.calls.clear();
        SettingsVariables settings;
        const StartupDecision decision = Main(arguments, folder.Folder(), platform, settings);
        const auto where = testing::PrintToString(std::wstring(arguments)) + " " + platform.running;
        EXPECT_EQ(decision.action, action) << where;
        EXPECT_EQ(decision.previewHandle, handle) << where;
        EXPECT_EQ(platform.calls, calls) << where;
        EXPECT_EQ(settings.BgmKind, calls.find("load") != std::string::npos ? 1 : 0) << where;
        EXPECT_EQ(settings.CursorCount, calls.find("hide") != std::string::npos ? -1 : 0) << where;
    }

    TempFolder folder;
    FakeStartupPlatform platform;
};

TEST_F(StartupTest, PicksTheModeOnceEachOfItsNeedsIsMet) {
    // Without the renderer: a message for every mode but the preview.
    for (const wchar_t* arguments : {L"/s", L"/c", L"", L"/x"}) {
        Expect(arguments, End, "find find load missing");
    }
    Expect(L"/p 4711", Preview, "find find", 4711);

    folder.Write(L"Lullvane.dll", "MZ");
    for (const wchar_t* arguments : {L"/s", L"-S", L"/s:123"}) {
        Expect(arguments, Show, "find find load claim hide");
    }
    Expect(L"", Show, "find find load claim");  // started bare, the cursor stays
    Expect(L"/c:1234", SettingsDialog, "find find load");
    Expect(L"/a", End, "find find load");
    Expect(L"/P:4711", Preview, "find find", 4711);
    for (const wchar_t* arguments : {L"/p 0", L"/p", L"/p garbage", L"/p 4712"}) {
        Expect(arguments, End, "find find");  // no window: a preview without a parent
    }

    // A show also needs the claim that another host starting at the same time may hold.
    platform.showFree = false;
    Expect(L"/s", End, "find find load claim");
    Expect(L"", End, "find find load claim");
    Expect(L"/c", SettingsDialog, "find find load");
    Expect(L"/p 4711", Preview, "find find", 4711);
}

TEST_F(StartupTest, ARunningShowOrSettingsDialogEndsEveryModeFirst) {
    folder.Write(L"Lullvane.dll", "MZ");
    platform.running = "Torvane2_Main";
    for (const wchar_t* arguments : {L"/s", L"/p 4711", L"/c", L""}) Expect(arguments, End, "find");
    platform.running = "<Lullvane>";
    for (const wchar_t* arguments : {L"/s", L"/p 4711", L"/c", L""}) {
        Expect(arguments, End, "find find");
    }
}

TEST(CommandLine, TheModeIsTheSecondCharacterInCapitalsAndTheHandleIsReadFromTheFourth) {
    // The arguments, their mode letter, their preview handle (read leniently, rounded to 32 bits).
    using Row = std::tuple<const wchar_t*, wchar_t, std::int32_t>;
    for (const auto& [arguments, mode, handle] :
         {Row{L"", 0, 0}, Row{L"/", 0, 0}, Row{L"/s", L'S', 0}, Row{L"-S", L'S', 0},
          Row{L"/a", L'A', 0}, Row{L"/z", L'Z', 0}, Row{L"/`", L'`', 0}, Row{L"/{", L'{', 0},
          Row{L"/p ", L'P', 0}, Row{L"/p 7", L'P', 7}, Row{L"/p 4711", L'P', 4711},
          Row{L"/P:4711", L'P', 4711}, Row{L"/c:4711", L'C', 4711},
          Row{L"/p   65602 trailing", L'P', 65602}, Row{L"/p 12.5", L'P', 12},
          Row{L"/p -5", L'P', -5}, Row{L"/p garbage", L'P', 0}, Row{L"/p 99999999999", L'P', 0}}) {
        EXPECT_EQ(ModeLetter(arguments), mode) << testing::PrintToString(std::wstring(arguments));
        EXPECT_EQ(PreviewHandle(arguments), handle)
            << testing::PrintToString(std::wstring(arguments));
    }
}

TEST(PreviewFrame, TakesTheAreasSizeWhileItFitsSixteenBitTwips) {
    // Width and height in pixels, twips per pixel across and down; the frame, or none.
    using Row = std::tuple<int, int, int, int, std::optional<std::pair<int, int>>>;
    for (const auto& [width, height, across, down, frame] :
         {Row{152, 112, 15, 15, std::pair(152, 112)}, Row{0, 0, 15, 15, std::pair(0, 0)},
          Row{2184, 100, 15, 12, std::pair(2184, 100)}, Row{32767, 1, 1, 1, std::pair(32767, 1)},
          Row{2185, 100, 15, 15, {}}, Row{100, 2731, 15, 12, {}}, Row{-1, 100, 15, 15, {}},
          Row{152, 112, 0, 15, {}}, Row{152, 112, 15, 0, {}}}) {
        const auto placed = PreviewFrameFor(width, height, across, down);
        EXPECT_EQ(placed ? std::optional(std::pair(placed->width, placed->height)) : std::nullopt,
                  frame)
            << width << "x" << height;
    }
}

}  // namespace
