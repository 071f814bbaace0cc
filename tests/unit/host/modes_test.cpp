#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "command_line.h"
#include "preview_frame.h"
#include "show_mode.h"
#include "startup.h"
#include "temp_folder.h"

namespace {

using enum StartupAction;

// Records each call in order and gives the answer it is handed.
struct CallLog {
    template <typename Answer = int>
    Answer Log(const std::string& call, Answer answer = {}) {
        calls += (calls.empty() ? "" : ", ") + call;
        return answer;
    }
    std::string Take() { return std::exchange(calls, {}); }
    static std::string Narrow(const std::wstring& text) { return {text.begin(), text.end()}; }
    std::string calls;
};

// Window 4711 is the one handle that is a window; loading the settings sets kind 1.
struct FakeStartup final : StartupPlatform, CallLog {
    bool WindowTitled(std::string_view title) override { return Log("find", title == running); }
    bool IsWindowHandle(std::int32_t handle) override { return handle == 4711; }
    void LoadSettings(SettingsVariables& s) override { s.BgmKind = Log<std::int16_t>("load", 1); }
    void ShowRendererMissing() override { Log("missing"); }
    std::int32_t HideCursor() override { return Log("hide", -1); }
    bool ClaimShow() override { return Log("claim", showFree); }
    std::string running;  // the title of the window already open
    bool showFree = true;
};

TEST(Startup, PicksTheModeOnceEachOfItsNeedsIsMetAndNeverBesideARunningShowOrDialog) {
    // Whether the renderer is there, the title of a window already open, whether the show is
    // free to claim; the arguments; the mode, the calls made, the preview's window.
    using Row = std::tuple<bool, const char*, bool, std::vector<const wchar_t*>, StartupAction,
                           std::string, std::int32_t>;
    // clang-format off
    for (const auto& [renderer, running, showFree, argumentses, action, calls, handle] : {
             // Without the renderer: a message for every mode but the preview.
             Row{false, "", true, {L"/s", L"/c", L"", L"/x"}, End, "find, find, load, missing", 0},
             Row{false, "", true, {L"/p 4711", L"/P:4711"}, Preview, "find, find", 4711},
             Row{true, "", true, {L"/s", L"-S", L"/s:123"}, Show, "find, find, load, claim, hide", 0},
             Row{true, "", true, {L""}, Show, "find, find, load, claim", 0},  // started bare, the cursor stays
             Row{true, "", true, {L"/c:1234"}, SettingsDialog, "find, find, load", 0},
             Row{true, "", true, {L"/a"}, End, "find, find, load", 0},
             Row{true, "", true, {L"/p 0", L"/p", L"/p garbage", L"/p 4712"}, End, "find, find", 0},  // no parent
             // A show also needs the claim that another host starting at the same time may hold.
             Row{true, "", false, {L"/s", L""}, End, "find, find, load, claim", 0},
             Row{true, "", false, {L"/c"}, SettingsDialog, "find, find, load", 0},
             Row{true, "", false, {L"/p 4711"}, Preview, "find, find", 4711},
             Row{true, "Torvane2_Main", true, {L"/s", L"/p 4711", L"/c", L""}, End, "find", 0},
             Row{true, "<Lullvane>", true, {L"/s", L"/p 4711", L"/c", L""}, End, "find, find", 0}}) {
        // clang-format on
        TempFolder folder;
        if (renderer) folder.Write(L"Lullvane.dll", "MZ");
        for (const wchar_t* arguments : argumentses) {
            FakeStartup platform;
            platform.running = running;
            platform.showFree = showFree;
            SettingsVariables settings;
            const StartupDecision decision = Main(arguments, folder.Folder(), platform, settings);
            const bool loaded = calls.find("load") != std::string::npos;
            const bool hidden = calls.find("hide") != std::string::npos;
            EXPECT_EQ(std::tuple(decision.action, decision.previewHandle, platform.Take(),
                                 settings.BgmKind, settings.CursorCount),
                      std::tuple(action, handle, calls, loaded ? 1 : 0, hidden ? -1 : 0))
                << platform.Narrow(arguments) << " " << running << showFree;
        }
    }
}

TEST(CommandLine, TheModeIsTheSecondCharacterInCapitalsAndTheHandleIsReadFromTheFourth) {
    // The arguments, their mode letter, their preview handle (read leniently, rounded to 32 bits).
    using Row = std::tuple<const wchar_t*, wchar_t, std::int32_t>;
    // clang-format off
    for (const auto& [arguments, mode, handle] :
         {Row{L"", 0, 0}, Row{L"/", 0, 0}, Row{L"/s", L'S', 0}, Row{L"-S", L'S', 0}, Row{L"/a", L'A', 0}, Row{L"/z", L'Z', 0},
          Row{L"/`", L'`', 0}, Row{L"/{", L'{', 0}, Row{L"/p ", L'P', 0}, Row{L"/p 7", L'P', 7}, Row{L"/p 4711", L'P', 4711},
          Row{L"/P:4711", L'P', 4711}, Row{L"/c:4711", L'C', 4711}, Row{L"/p   65602 trailing", L'P', 65602},
          Row{L"/p 12.5", L'P', 12}, Row{L"/p -5", L'P', -5}, Row{L"/p garbage", L'P', 0}, Row{L"/p 99999999999", L'P', 0}}) {
        // clang-format on
        EXPECT_EQ(std::tuple(arguments, ModeLetter(arguments), PreviewHandle(arguments)),
                  std::tuple(arguments, mode, handle));
    }
}

TEST(PreviewFrame, TakesTheAreasSizeWhileItFitsSixteenBitTwips) {
    // Width and height in pixels, twips per pixel across and down; whether the frame is taken.
    // clang-format off
    for (const auto& [width, height, across, down, taken] :
         {std::tuple(152, 112, 15, 15, true), std::tuple(0, 0, 15, 15, true), std::tuple(2184, 100, 15, 12, true),
          std::tuple(32767, 1, 1, 1, true), std::tuple(2185, 100, 15, 15, false), std::tuple(100, 2731, 15, 12, false),
          std::tuple(-1, 100, 15, 15, false), std::tuple(152, 112, 0, 15, false), std::tuple(152, 112, 15, 0, false)}) {
        // clang-format on
        const auto frame = PreviewFrameFor(width, height, across, down);
        EXPECT_EQ(frame ? std::optional(std::pair(frame->width, frame->height)) : std::nullopt,
                  taken ? std::optional(std::pair(width, height)) : std::nullopt)
            << width << "x" << height;
    }
}

// The music and the platform in one.
struct FakeShow final : BackgroundMusic, ShowPlatform, CallLog {
    void StartMp3(const std::wstring& file) override { Log("mp3 " + Narrow(file)); }
    void RestartMp3IfEnded() override { Log("restart mp3"); }
    void StopMp3() override { Log("stop mp3"); }
    void StartWav(const std::wstring& file) override { Log("wav " + Narrow(file)); }
    void StopWav() override { Log("stop wav"); }
    void OpenCd(int repeatTrack) override { Log("cd " + std::to_string(repeatTrack)); }
    void CdWatchTick() override { Log("watch cd"); }
    bool CdWatchOk() const override { return cdOk; }
    void StopCd() override { Log("stop cd"); }
    void StartRenderer(const std::wstring& path) override { Log("renderer " + Narrow(path)); }
    bool RendererWindowExists() override { return window; }
    bool RendererEnded() override { return ended; }
    std::int32_t ShowCursor(bool show) override { return Log(show ? "show" : "hide", 0); }
    bool cdOk = true, window = false, ended = false;
};

struct ShowModeTest : testing::Test {
    ShowMode& Start(std::int16_t kind, const std::wstring& file, wchar_t mode = L'S') {
        settings = {kind, 4, file, L"", -1};
        show.emplace(fake, fake, settings, mode);
        show->Load(L"C:\\Savers");
        return *show;
    }
    FakeShow fake;
    SettingsVariables settings;
    std::optional<ShowMode> show;
};

TEST_F(ShowModeTest, StartsTheRendererAndTheMusicByKindAndFileTypeAndStopsThemAtTheEnd) {
    // The kind and file, the music started, the music stopped, whether timers 1 and 2 run.
    using Row = std::tuple<std::int16_t, const wchar_t*, std::string, std::string, bool, bool>;
    // clang-format off
    for (const auto& [kind, file, started, stopped, timer1, timer2] :
         {Row{2, L"D:\\x.Mp3", ", mp3 D:\\x.Mp3", "stop mp3, ", true, false}, Row{2, L"mp3", ", mp3 mp3", "stop mp3, ", true, false},
          Row{2, L"a.WAV", ", wav a.WAV", "stop wav, ", false, false}, Row{1, L"x.mp3", ", cd 4", "stop cd, ", false, true},
          Row{2, L"x.mid", "", "", false, false}, Row{2, L"mp", "", "", false, false}, Row{0, L"x.mp3", "", "", false, false},
          Row{3, L"x.wav", "", "", false, false}}) {
        // clang-format on
        ShowMode& mode = Start(kind, file);
        EXPECT_EQ(fake.Take(), "renderer C:\\Savers\\Lullvane.dll" + started);
        EXPECT_EQ(std::tuple(mode.Timer1Enabled(), mode.Timer2Enabled(), mode.Timer3Enabled()),
                  std::tuple(timer1, timer2, true));
        mode.QueryUnload();
        EXPECT_EQ(std::tuple(fake.Take(), settings.CursorCount, mode.Timer2Enabled()),
                  std::tuple(stopped + "show", 0, false));
    }
    Start(2, L"x.wav", 0).QueryUnload();  // started without arguments, the cursor was never hidden
    EXPECT_EQ(std::tuple(fake.Take(), settings.CursorCount),
              std::tuple("renderer C:\\Savers\\Lullvane.dll, wav x.wav, stop wav", -1));
}

TEST_F(ShowModeTest, TimersKeepTheMusicGoingAndTheCdWatchSwitchesItselfOff) {
    Start(2, L"x.mp3").Timer1Tick();
    EXPECT_EQ(fake.Take(), "renderer C:\\Savers\\Lullvane.dll, mp3 x.mp3, restart mp3");
    ShowMode& cd = Start(1, L"");
    fake.Take();
    cd.Timer2Tick();
    EXPECT_TRUE(cd.Timer2Enabled());
    fake.cdOk = false;
    cd.Timer2Tick();
    EXPECT_FALSE(cd.Timer2Enabled());
    cd.QueryUnload();  // a watch that failed leaves the device alone at the end
    EXPECT_EQ(fake.Take(), "watch cd, watch cd, show");
}

TEST_F(ShowModeTest, TheRendererIsGoneOnceItsWindowClosedOrItsProcessEndedOrTheGraceRanOut) {
    ShowMode& seen = Start(0, L"");
    for (int tick = 0; tick < 3; ++tick) EXPECT_FALSE(seen.Timer3Tick());  // still starting
    fake.window = true;
    for (int tick = 0; tick < 100; ++tick) EXPECT_FALSE(seen.Timer3Tick());
    EXPECT_TRUE(seen.Timer3Enabled());
    fake.window = false;
    EXPECT_TRUE(seen.Timer3Tick());
    EXPECT_FALSE(seen.Timer3Enabled());
    ShowMode& slow = Start(0, L"");
    for (int tick = 0; tick < ShowMode::kStartGraceTicks; ++tick) ASSERT_FALSE(slow.Timer3Tick());
    EXPECT_TRUE(slow.Timer3Tick());
    EXPECT_FALSE(slow.Timer3Enabled());
    EXPECT_GE(ShowMode::kStartGraceTicks * ShowMode::kTimer3Interval, 10000);
    fake.ended = true;  // could not start, or ended before its window opened
    EXPECT_TRUE(Start(0, L"").Timer3Tick());
}

}  // namespace
