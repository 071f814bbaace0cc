#include "show_mode.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>

namespace {

// The music and the platform in one, recording each call in order.
class Recorder final : public BackgroundMusic, public ShowPlatform {
  public:
    void StartMp3(const std::wstring& file) override { Record("mp3 " + Narrow(file)); }
    void RestartMp3IfEnded() override { Record("restart mp3"); }
    void StopMp3() override { Record("stop mp3"); }
    void StartWav(const std::wstring& file) override { Record("wav " + Narrow(file)); }
    void StopWav() override { Record("stop wav"); }
    void OpenCd(int repeatTrack) override { Record("cd " + std::to_string(repeatTrack)); }
    void CdWatchTick() override { Record("watch cd"); }
    bool CdWatchOk() const override { return cdOk; }
    void StopCd() override { Record("stop cd"); }
    void StartRenderer(const std::wstring& path) override { Record("renderer " + Narrow(path)); }
    bool RendererWindowExists() override { return window; }
    bool RendererEnded() override { return ended; }
    std::int32_t ShowCursor(bool show) override {
        Record(show ? "show cursor" : "hide cursor");
        return 0;
    }
    std::string Take() { return std::exchange(calls_, {}); }

    bool cdOk = true, window = false, ended = false;

  private:
    static std::string Narrow(const std::wstring& text) { return {text.begin(), text.end()}; }
    void Record(const std::string& call) { calls_ += (calls_.empty() ? "" : "; ") + call; }
    std::string calls_;
};

struct ShowModeTest : testing::Test {
    ShowMode& Start(std::int16_t kind, const std::wstring& file, wchar_t mode = L'S') {
        settings = {kind, 4, file, L"", -1};
        show.emplace(recorder, recorder, settings, mode);
        show->Load(L"C:\\Savers");
        return *show;
    }

    Recorder recorder;
    SettingsVariables settings;
    std::optional<ShowMode> show;
};

TEST_F(ShowModeTest, StartsTheRendererAndTheMusicByKindAndFileTypeAndStopsThemAtTheEnd) {
    // The kind and file, the music started, the music stopped, whether timers 1 and 2 run.
    using Row = std::tuple<std::int16_t, const wchar_t*, std::string, std::string, bool, bool>;
    for (const auto& [kind, file, started, stopped, timer1, timer2] :
         {Row{2, L"D:\\x.Mp3", "; mp3 D:\\x.Mp3", "stop mp3; ", true, false},
          Row{2, L"mp3", "; mp3 mp3", "stop mp3; ", true, false},
          Row{2, L"a.WAV", "; wav a.WAV", "stop wav; ", false, false},
          Row{1, L"x.mp3", "; cd 4", "stop cd; ", false, true},
          Row{2, L"x.mid", "", "", false, false}, Row{2, L"mp", "", "", false, false},
          Row{0, L"x.mp3", "", "", false, false}, Row{3, L"x.wav", "", "", false, false}}) {
        ShowMode& mode = Start(kind, file);
        EXPECT_EQ(recorder.Take(), "renderer C:\\Savers\\Lullvane.dll" + started);
        EXPECT_EQ(std::tuple(mode.Timer1Enabled(), mode.Timer2Enabled(), mode.Timer3Enabled()),
                  std::tuple(timer1, timer2, true));
        mode.QueryUnload();
        EXPECT_EQ(recorder.Take(), stopped + "show cursor");
        EXPECT_EQ(settings.CursorCount, 0);
        EXPECT_FALSE(mode.Timer2Enabled());
    }
    // Started without arguments, the cursor was never hidden.
    Start(2, L"x.wav", 0).QueryUnload();
    EXPECT_EQ(recorder.Take(), "renderer C:\\Savers\\Lullvane.dll; wav x.wav; stop wav");
    EXPECT_EQ(settings.CursorCount, -1);
}

TEST_F(ShowModeTest, TimersKeepTheMusicGoingAndTheCdWatchSwitchesItselfOff) {
    Start(2, L"x.mp3").Timer1Tick();
    ShowMode& cd = Start(1, L"");
    recorder.Take();
    cd.Timer2Tick();
    EXPECT_TRUE(cd.Timer2Enabled());
    recorder.cdOk = false;
    cd.Timer2Tick();
    EXPECT_FALSE(cd.Timer2Enabled());
    cd.QueryUnload();  // a watch that failed leaves the device alone at the end
    EXPECT_EQ(recorder.Take(), "watch cd; watch cd; show cursor");
}

TEST_F(ShowModeTest, TheRendererIsGoneOnceItsWindowClosedOrItsProcessEndedOrTheGraceRanOut) {
    ShowMode& seen = Start(0, L"");
    for (int tick = 0; tick < 3; ++tick) EXPECT_FALSE(seen.Timer3Tick());  // still starting
    recorder.window = true;
    for (int tick = 0; tick < 100; ++tick) EXPECT_FALSE(seen.Timer3Tick());
    EXPECT_TRUE(seen.Timer3Enabled());
    recorder.window = false;
    EXPECT_TRUE(seen.Timer3Tick());
    EXPECT_FALSE(seen.Timer3Enabled());

    ShowMode& slow = Start(0, L"");
    for (int tick = 0; tick < ShowMode::kStartGraceTicks; ++tick) ASSERT_FALSE(slow.Timer3Tick());
    EXPECT_TRUE(slow.Timer3Tick());
    EXPECT_FALSE(slow.Timer3Enabled());
    EXPECT_GE(ShowMode::kStartGraceTicks * ShowMode::kTimer3Interval, 10000);

    recorder.ended = true;  // could not start, or ended before its window opened
    EXPECT_TRUE(Start(0, L"").Timer3Tick());
}

}  // namespace
