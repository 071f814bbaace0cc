#include "show_mode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Calls = std::vector<std::string>;

class FakeMusic final : public BackgroundMusic {
  public:
    explicit FakeMusic(Calls& calls) : calls(calls) {}
    void StartMp3(const std::wstring& file) override { Record("StartMp3", file); }
    void RestartMp3IfEnded() override { calls.push_back("RestartMp3IfEnded"); }
    void StopMp3() override { calls.push_back("StopMp3"); }
    void StartWav(const std::wstring& file) override { Record("StartWav", file); }
    void StopWav() override { calls.push_back("StopWav"); }
    void OpenCd(int repeatTrack) override {
        calls.push_back("OpenCd " + std::to_string(repeatTrack));
    }
    void CdWatchTick() override { calls.push_back("CdWatchTick"); }
    bool CdWatchOk() const override { return cdOk; }
    void StopCd() override { calls.push_back("StopCd"); }

    bool cdOk = true;

  private:
    void Record(const std::string& what, const std::wstring& file) {
        calls.push_back(what + " " + std::string(file.begin(), file.end()));
    }
    Calls& calls;
};

class FakeShowPlatform final : public ShowPlatform {
  public:
    explicit FakeShowPlatform(Calls& calls) : calls(calls) {}
    void StartRenderer(const std::wstring& path) override {
        calls.push_back("StartRenderer " + std::string(path.begin(), path.end()));
    }
    bool RendererWindowExists() override { return window; }
    bool RendererEnded() override { return ended; }
    std::int32_t ShowCursor(bool show) override {
        calls.push_back(show ? "ShowCursor on" : "ShowCursor off");
        return 0;
    }

    bool window = false;
    bool ended = false;

  private:
    Calls& calls;
};

class ShowModeTest : public testing::Test {
  protected:
    ShowMode& Start(std::int16_t kind, const std::wstring& file, wchar_t mode = L'S') {
        settings.BgmKind = kind;
        settings.BgmRepeatTrack = 4;
        settings.BgmFile = file;
        settings.CursorCount = -1;
        show.emplace(music, platform, settings, mode);
        show->Load(L"C:\\Savers");
        return *show;
    }

    Calls calls;
    FakeMusic music{calls};
    FakeShowPlatform platform{calls};
    SettingsVariables settings;
    std::optional<ShowMode> show;
};

TEST_F(ShowModeTest, StartsTheRendererThenTheMusicByKindAndFileType) {
    ShowMode& mp3 = Start(2, L"D:\\x.Mp3");
    EXPECT_EQ(calls, (Calls{"StartRenderer C:\\Savers\\Lullvane.dll", "StartMp3 D:\\x.Mp3"}));
    EXPECT_TRUE(mp3.Timer1Enabled());
    EXPECT_FALSE(mp3.Timer2Enabled());
    EXPECT_TRUE(mp3.Timer3Enabled());

    calls.clear();
    ShowMode& wav = Start(2, L"a.WAV");
    EXPECT_EQ(calls, (Calls{"StartRenderer C:\\Savers\\Lullvane.dll", "StartWav a.WAV"}));
    EXPECT_FALSE(wav.Timer1Enabled());

    calls.clear();
    ShowMode& cd = Start(1, L"ignored.mp3");
    EXPECT_EQ(calls, (Calls{"StartRenderer C:\\Savers\\Lullvane.dll", "OpenCd 4"}));
    EXPECT_FALSE(cd.Timer1Enabled());
    EXPECT_TRUE(cd.Timer2Enabled());

    for (const auto& [kind, file] : {std::pair<std::int16_t, const wchar_t*>{2, L"x.mid"},
                                     {2, L"mp"},
                                     {0, L"x.mp3"},
                                     {3, L"x.wav"}}) {
        calls.clear();
        const ShowMode& silent = Start(kind, file);
        EXPECT_EQ(calls, (Calls{"StartRenderer C:\\Savers\\Lullvane.dll"}));
        EXPECT_FALSE(silent.Timer1Enabled());
        EXPECT_FALSE(silent.Timer2Enabled());
    }
}

TEST_F(ShowModeTest, TimersKeepTheMusicGoingAndTheCdWatchSwitchesItselfOff) {
    ShowMode& mp3 = Start(2, L"x.mp3");
    calls.clear();
    mp3.Timer1Tick();
    EXPECT_EQ(calls, (Calls{"RestartMp3IfEnded"}));

    ShowMode& cd = Start(1, L"");
    calls.clear();
    cd.Timer2Tick();
    EXPECT_TRUE(cd.Timer2Enabled());
    music.cdOk = false;
    cd.Timer2Tick();
    EXPECT_FALSE(cd.Timer2Enabled());
    EXPECT_EQ(calls, (Calls{"CdWatchTick", "CdWatchTick"}));
    // A watch that failed leaves the device alone at the end.
    calls.clear();
    cd.QueryUnload();
    EXPECT_EQ(calls, (Calls{"ShowCursor on"}));
}

TEST_F(ShowModeTest, EndStepsStopTheMusicThenGiveTheCursorBackAfterS) {
    ShowMode& cd = Start(1, L"");
    calls.clear();
    cd.QueryUnload();
    EXPECT_EQ(calls, (Calls{"StopCd", "ShowCursor on"}));
    EXPECT_FALSE(cd.Timer2Enabled());
    EXPECT_EQ(settings.CursorCount, 0);

    ShowMode& mp3 = Start(2, L"x.MP3");
    calls.clear();
    mp3.QueryUnload();
    EXPECT_EQ(calls, (Calls{"StopMp3", "ShowCursor on"}));

    ShowMode& bare = Start(2, L"x.wav", 0);  // started without arguments
    calls.clear();
    bare.QueryUnload();
    EXPECT_EQ(calls, (Calls{"StopWav"}));
    EXPECT_EQ(settings.CursorCount, -1);
}

TEST_F(ShowModeTest, TheRendererIsGoneOnceItsWindowClosed) {
    ShowMode& mode = Start(0, L"");
    for (int tick = 0; tick < 3; ++tick) EXPECT_FALSE(mode.Timer3Tick());  // still starting
    platform.window = true;
    for (int tick = 0; tick < 100; ++tick) EXPECT_FALSE(mode.Timer3Tick());
    EXPECT_TRUE(mode.Timer3Enabled());
    platform.window = false;
    EXPECT_TRUE(mode.Timer3Tick());
    EXPECT_FALSE(mode.Timer3Enabled());
}

TEST_F(ShowModeTest, TheRendererIsGoneOnceItsProcessEndedOrTheGraceRanOut) {
    platform.ended = true;  // could not start, or ended before its window opened
    EXPECT_TRUE(Start(0, L"").Timer3Tick());

    platform.ended = false;
    ShowMode& slow = Start(0, L"");
    for (int tick = 0; tick < ShowMode::kStartGraceTicks; ++tick) {
        ASSERT_FALSE(slow.Timer3Tick()) << "tick " << tick;
    }
    EXPECT_TRUE(slow.Timer3Tick());
    EXPECT_FALSE(slow.Timer3Enabled());
    EXPECT_GE(ShowMode::kStartGraceTicks * ShowMode::kTimer3Interval, 10000);
}

}  // namespace
