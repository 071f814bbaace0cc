#include <string>

#include "cp932.h"
#include "scripted_port.h"

namespace {

using FileMusicTest = MusicTest;

TEST_F(FileMusicTest, AnMp3IsOpenedQuotedInCodePage932AndPlayedOnlyWhenTheOpenSucceeded) {
    // C:\音楽\表.mp3: the second byte of 表 is a backslash in code page 932.
    music.StartMp3(L"C:\\音楽\\表.mp3");
    EXPECT_EQ(port.Take(),
              (std::vector<Sent>{
                  {"open \"C:\\\x89\xB9\x8A\x79\\\x95\x5C.mp3\" type MPEGVideo Alias MP3Play", 0},
                  {"play MP3Play", 0}}));

    const std::string openGone = "open \"C:\\My Music\\gone.mp3\" type MPEGVideo Alias MP3Play";
    port.answers[openGone] = Fails(275);
    music.StartMp3(L"C:\\My Music\\gone.mp3");
    EXPECT_EQ(port.Take(), (std::vector<Sent>{{openGone, 0}}));

    music.StopMp3();
    EXPECT_EQ(port.Take(), (std::vector<Sent>{{"stop MP3Play", 0}, {"close MP3Play", 0}}));
}

TEST_F(FileMusicTest, AnMp3IsPlayedAgainFromItsStartWheneverItIsNotPlaying) {
    // One run through the rows: each query's buffer still holds the reply of the row before.
    const struct {
        const char* what;
        Answer mode;
        bool restarted;
    } ticks[] = {
        {"playing", Replies("playing"), false},
        {"a failed query after a reply", Fails(263), true},
        {"ended", Replies("stopped"), true},
        {"paused", Replies("paused"), true},
        {"only the first seven letters count", Replies("playingX"), false},
    };
    for (const auto& tick : ticks) {
        SCOPED_TRACE(tick.what);
        port.answers["status MP3Play mode"] = tick.mode;
        music.RestartMp3IfEnded();
        std::vector<Sent> expected = {{"status MP3Play mode", 30}};
        if (tick.restarted) {
            expected.insert(expected.end(), {{"stop MP3Play", 0}, {"play MP3Play from 0", 0}});
        }
        EXPECT_EQ(port.Take(), expected);
    }
}

TEST_F(FileMusicTest, AWavLoopsUntilStoppedAndIsSkippedWithoutAWaveDevice) {
    music.StartWav(L"C:\\My Music\\音.wav");
    port.waveOutDevices = 0;
    music.StartWav(L"C:\\loop.wav");
    music.StopWav();
    const decltype(port.sounds) expected = {{ToCp932(L"C:\\My Music\\音.wav"), 9u},  // async, loop
                                            {std::nullopt, 0u}};
    EXPECT_EQ(port.sounds, expected);
    EXPECT_TRUE(port.sent.empty());
}

}  // namespace
