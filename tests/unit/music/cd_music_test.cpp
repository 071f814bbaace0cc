#include <string>

#include "music_fixture.h"

namespace {

using CdWatchTest = MusicTest;

// The three looks every healthy tick takes at the disc.
std::vector<SentCommand> Looks() {
    return {Layer("status cdaudio current track"), Layer("status cdaudio number of tracks"),
            CdMode()};
}

std::vector<SentCommand> LooksThen(std::vector<SentCommand> more) {
    std::vector<SentCommand> sent = Looks();
    sent.insert(sent.end(), more.begin(), more.end());
    return sent;
}

std::vector<SentCommand> BackToTrack3() {
    return LooksThen(
        {Layer("status cdaudio position track 3"), Layer("play cdaudio from 03:00:00:00")});
}

TEST_F(CdWatchTest, RepeatingTrack3OverAScriptedDiscSendsExactlyTheseCommands) {
    music.OpenCd(3);
    EXPECT_EQ(device.TakeReceived(), (std::vector<SentCommand>{
                                         Direct("open cdaudio"),
                                         Direct("set cdaudio time format tmsf"),
                                     }));
    EXPECT_TRUE(device.cdTimeFormatTmsf);

    // First tick: the disc is idle at track 1; play starts at track 3 and runs on.
    music.CdWatchTick();
    EXPECT_EQ(device.TakeReceived(), BackToTrack3());
    EXPECT_EQ(device.cdMode, PlayMode::Playing);
    EXPECT_EQ(device.currentTrack, 3);

    // Track 3 playing: the watch only looks.
    music.CdWatchTick();
    EXPECT_EQ(device.TakeReceived(), Looks());

    // Track 4 begins: back to the start of track 3.
    device.NextTrackBegins();
    music.CdWatchTick();
    EXPECT_EQ(device.TakeReceived(), BackToTrack3());
    EXPECT_EQ(device.currentTrack, 3);

    // Another program plays track 7: back to track 3 again.
    device.PlayElsewhere(7);
    music.CdWatchTick();
    EXPECT_EQ(device.TakeReceived(), BackToTrack3());

    // Track 3 paused: left paused.
    device.cdMode = PlayMode::Paused;
    music.CdWatchTick();
    EXPECT_EQ(device.TakeReceived(), Looks());
    EXPECT_EQ(device.cdMode, PlayMode::Paused);

    // Stopped on track 3 itself: played again from its start.
    device.cdMode = PlayMode::Stopped;
    music.CdWatchTick();
    EXPECT_EQ(device.TakeReceived(), BackToTrack3());
    EXPECT_TRUE(music.CdWatchOk());

    music.StopCd();
    EXPECT_EQ(device.TakeReceived(), (std::vector<SentCommand>{
                                         Direct("stop cdaudio"),
                                         Direct("close cdaudio"),
                                     }));
    EXPECT_FALSE(device.cdOpen);
    EXPECT_EQ(device.cdMode, PlayMode::Stopped);
    for (const std::int32_t code : device.answered) EXPECT_EQ(code, 0);
}

TEST_F(CdWatchTest, WithoutAChosenTrackTheDiscIsStartedWheneverItStops) {
    music.OpenCd(0);
    device.TakeReceived();
    music.CdWatchTick();
    EXPECT_EQ(device.TakeReceived(), LooksThen({Layer("play cdaudio")}));
    EXPECT_EQ(device.cdMode, PlayMode::Playing);
    EXPECT_EQ(device.currentTrack, 1);

    // Moving on through the disc is fine.
    device.NextTrackBegins();
    device.PlayElsewhere(9);
    music.CdWatchTick();
    EXPECT_EQ(device.TakeReceived(), Looks());

    // A pause is respected.
    device.cdMode = PlayMode::Paused;
    music.CdWatchTick();
    EXPECT_EQ(device.TakeReceived(), Looks());

    // After the last track the disc stops; the next tick plays it on.
    device.PlayElsewhere(12);
    device.NextTrackBegins();
    ASSERT_EQ(device.cdMode, PlayMode::Stopped);
    music.CdWatchTick();
    EXPECT_EQ(device.TakeReceived(), LooksThen({Layer("play cdaudio")}));
    EXPECT_EQ(device.cdMode, PlayMode::Playing);
    EXPECT_TRUE(music.CdWatchOk());
}

TEST_F(CdWatchTest, TheFirstFailedLookSwitchesTheWatchOffForGood) {
    struct Case {
        const char* what;
        bool drive;
        bool disc;
        std::int32_t code;
    };
    // Without a drive the open fails and every later command names a device that is not open.
    for (const Case& c : {Case{"no drive", false, false, kMciErrInvalidDeviceName},
                          Case{"no disc", true, false, kMciErrDeviceNotReady}}) {
        SCOPED_TRACE(c.what);
        auto owned = std::make_unique<FakeMciDevice>();
        FakeMciDevice& drive = *owned;
        drive.drivePresent = c.drive;
        drive.discPresent = c.disc;
        Torvane2_BGM cd(std::move(owned));
        cd.OpenCd(0);
        cd.CdWatchTick();
        EXPECT_FALSE(cd.CdWatchOk());
        EXPECT_EQ(drive.answered.back(), c.code);
        EXPECT_EQ(drive.received.back(), Layer("status cdaudio current track"));
        // A disc inserted later is not played during this run.
        drive.drivePresent = drive.discPresent = true;
        const size_t sent = drive.received.size();
        cd.CdWatchTick();
        cd.CdWatchTick();
        EXPECT_EQ(drive.received.size(), sent);
        EXPECT_FALSE(cd.CdWatchOk());
    }
}

TEST_F(CdWatchTest, EjectingTheDiscWhilePlayingSwitchesTheWatchOff) {
    music.OpenCd(3);
    music.CdWatchTick();
    ASSERT_EQ(device.cdMode, PlayMode::Playing);
    device.TakeReceived();

    device.EjectDisc();
    music.CdWatchTick();
    EXPECT_FALSE(music.CdWatchOk());
    EXPECT_EQ(device.TakeReceived(),
              std::vector<SentCommand>{Layer("status cdaudio current track")});

    device.discPresent = true;
    music.CdWatchTick();
    EXPECT_TRUE(device.TakeReceived().empty());
    EXPECT_EQ(device.cdMode, PlayMode::Stopped);
}

TEST_F(CdWatchTest, ATrackBeyondTheLastIsTriedAgainAndAgainWithoutSwitchingOff) {
    music.OpenCd(20);  // the disc has 12 tracks
    device.TakeReceived();
    for (int tick = 0; tick < 3; ++tick) {
        music.CdWatchTick();
        EXPECT_EQ(device.TakeReceived(), LooksThen({Layer("status cdaudio position track 20"),
                                                    Layer("play cdaudio from Error:282")}));
        EXPECT_EQ(device.answered.end()[-2], kMciErrOutOfRange);
        EXPECT_NE(device.answered.back(), 0);
        EXPECT_TRUE(music.CdWatchOk());
        EXPECT_EQ(device.cdMode, PlayMode::Stopped);
    }
}

TEST_F(CdWatchTest, ACurrentTrackThatIsNoNumberFailsTheTickOnlyWhenATrackIsChosen) {
    device.oddCurrentTrackReply = "three";
    music.OpenCd(0);
    music.CdWatchTick();
    EXPECT_TRUE(music.CdWatchOk());
    EXPECT_EQ(device.cdMode, PlayMode::Playing);

    auto owned = std::make_unique<FakeMciDevice>();
    FakeMciDevice& drive = *owned;
    Torvane2_BGM repeating(std::move(owned));
    repeating.OpenCd(3);
    drive.cdMode = PlayMode::Paused;
    drive.oddCurrentTrackReply = " 3 ";  // blanks around a number are fine
    repeating.CdWatchTick();
    EXPECT_TRUE(repeating.CdWatchOk());
    EXPECT_EQ(drive.cdMode, PlayMode::Paused);  // read as track 3: left alone
    drive.oddCurrentTrackReply = "3a";
    repeating.CdWatchTick();
    EXPECT_FALSE(repeating.CdWatchOk());
}

}  // namespace
