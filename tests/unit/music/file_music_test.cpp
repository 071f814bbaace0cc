#include <algorithm>
#include <string>

#include "cp932.h"
#include "music_fixture.h"

namespace {

using FileMusicTest = MusicTest;

const std::string kBlankPath = "C:\\My Music\\a.mp3";

TEST_F(FileMusicTest, AQuotedPathWithBlanksOpensAndPlays) {
    device.fileLengths[kBlankPath] = 3000;
    music.StartMp3(L"C:\\My Music\\a.mp3");
    const std::vector<SentCommand> expected = {
        Direct("open \"C:\\My Music\\a.mp3\" type MPEGVideo Alias MP3Play"),
        Direct("play MP3Play"),
    };
    EXPECT_EQ(device.TakeReceived(), expected);
    EXPECT_EQ(device.openFile, kBlankPath);
    EXPECT_EQ(device.mp3Mode, PlayMode::Playing);
}

TEST_F(FileMusicTest, AJapanesePathReachesTheDeviceAsCodePage932) {
    // C:\音楽\表.mp3: the second byte of 表 is a backslash in code page 932.
    const std::string bytes = "C:\\\x89\xB9\x8A\x79\\\x95\x5C.mp3";
    device.fileLengths[bytes] = 1000;
    music.StartMp3(L"C:\\音楽\\表.mp3");
    ASSERT_FALSE(device.received.empty());
    EXPECT_EQ(device.received.front().command,
              "open \"" + bytes + "\" type MPEGVideo Alias MP3Play");
    EXPECT_EQ(device.mp3Mode, PlayMode::Playing);
}

TEST_F(FileMusicTest, AFileThatCannotBeOpenedIsRetriedQuietlyAndNeverPlays) {
    music.StartMp3(L"C:\\gone.mp3");
    EXPECT_EQ(
        device.TakeReceived(),
        std::vector<SentCommand>{Direct("open \"C:\\gone.mp3\" type MPEGVideo Alias MP3Play")});
    EXPECT_EQ(device.answered.back(), kMciErrFileNotFound);

    music.RestartMp3IfEnded();
    const std::vector<SentCommand> retry = {Mp3Mode(), Direct("stop MP3Play"),
                                            Direct("play MP3Play from 0")};
    EXPECT_EQ(device.TakeReceived(), retry);
    EXPECT_TRUE(std::all_of(device.answered.begin() + 1, device.answered.end(),
                            [](std::int32_t code) { return code != 0; }));
    music.RestartMp3IfEnded();
    EXPECT_EQ(device.TakeReceived(), retry);
    EXPECT_FALSE(device.openAlias);
}

TEST_F(FileMusicTest, AnEndedMp3StartsAgainWithinOneTimerTick) {
    constexpr int kLength = 3050;
    constexpr int kTick = 1000;
    constexpr int kStep = 50;
    device.fileLengths[kBlankPath] = kLength;
    music.StartMp3(L"C:\\My Music\\a.mp3");
    device.TakeReceived();

    int silence = 0;
    int longestSilence = 0;
    int restarts = 0;
    for (int now = kStep; now <= 20000; now += kStep) {
        device.Advance(kStep);
        silence = device.mp3Mode == PlayMode::Playing ? 0 : silence + kStep;
        longestSilence = std::max(longestSilence, silence);
        if (now % kTick != 0) continue;
        const bool wasPlaying = device.mp3Mode == PlayMode::Playing;
        music.RestartMp3IfEnded();
        const std::vector<SentCommand> sent = device.TakeReceived();
        if (wasPlaying) {
            EXPECT_EQ(sent, std::vector<SentCommand>{Mp3Mode()}) << "at " << now << " ms";
        } else {
            const std::vector<SentCommand> restart = {Mp3Mode(), Direct("stop MP3Play"),
                                                      Direct("play MP3Play from 0")};
            EXPECT_EQ(sent, restart) << "at " << now << " ms";
            EXPECT_EQ(device.mp3Mode, PlayMode::Playing);
            EXPECT_EQ(device.mp3Position, 0);
            ++restarts;
        }
    }
    EXPECT_EQ(restarts, 5);  // ends at 3.05, 7.05, 11.05, 15.05, 19.05 s
    EXPECT_GT(longestSilence, 0);
    EXPECT_LE(longestSilence, kTick);
}

TEST_F(FileMusicTest, APausedMp3IsPlayedAgainFromItsStart) {
    device.fileLengths[kBlankPath] = 60000;
    music.StartMp3(L"C:\\My Music\\a.mp3");
    device.Advance(5000);
    device.mp3Mode = PlayMode::Paused;
    music.RestartMp3IfEnded();
    EXPECT_EQ(device.mp3Mode, PlayMode::Playing);
    EXPECT_EQ(device.mp3Position, 0);
}

TEST_F(FileMusicTest, StoppingClosesTheAliasSoTheNextRunCanOpenItAgain) {
    device.fileLengths[kBlankPath] = 3000;
    music.StartMp3(L"C:\\My Music\\a.mp3");
    device.TakeReceived();
    music.StopMp3();
    EXPECT_EQ(device.TakeReceived(),
              (std::vector<SentCommand>{Direct("stop MP3Play"), Direct("close MP3Play")}));
    EXPECT_FALSE(device.openAlias);

    music.StartMp3(L"C:\\My Music\\a.mp3");
    EXPECT_EQ(device.answered.end()[-2], 0);  // the open, not a duplicate alias
    EXPECT_EQ(device.mp3Mode, PlayMode::Playing);
}

TEST_F(FileMusicTest, AWavLoopsUntilStoppedAndIsSkippedWithoutAWaveDevice) {
    music.StartWav(L"C:\\My Music\\音.wav");
    music.StopWav();
    const std::vector<SoundCall> expected = {
        {ToCp932(L"C:\\My Music\\音.wav"), 9},
        {std::nullopt, 0},
    };
    EXPECT_EQ(device.sounds, expected);
    EXPECT_TRUE(device.received.empty());

    device.sounds.clear();
    device.waveOutDevices = 0;
    music.StartWav(L"C:\\loop.wav");
    EXPECT_TRUE(device.sounds.empty());
    music.StopWav();  // harmless: silences nothing
    EXPECT_EQ(device.sounds, (std::vector<SoundCall>{{std::nullopt, 0}}));
}

}  // namespace
