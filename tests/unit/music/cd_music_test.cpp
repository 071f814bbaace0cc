#include <string>

#include "scripted_port.h"

namespace {

using CdWatchTest = MusicTest;

const Sent kCurrentTrack = {"status cdaudio current track", 512};
const Sent kTrackCount = {"status cdaudio number of tracks", 512};
const Sent kMode = {"status cdaudio mode", 255};

// A disc of 12 tracks at track `current` in `mode`.
void ScriptDisc(ScriptedPort& port, const char* current, const char* mode) {
    port.answers = {{"status cdaudio current track", Replies(current)},
                    {"status cdaudio number of tracks", Replies("12")},
                    {"status cdaudio mode", Replies(mode)},
                    {"status cdaudio position track 3", Replies("03:00:00:00")},
                    {"status cdaudio position track 20", Fails(282)},
                    {"play cdaudio from Error:282", Fails(270)}};
}

TEST_F(CdWatchTest, TheDiscIsOpenedInTrackTimeAndClosedWithoutReplies) {
    music.OpenCd(3);
    EXPECT_EQ(port.Take(),
              (std::vector<Sent>{{"open cdaudio", 0}, {"set cdaudio time format tmsf", 0}}));
    music.StopCd();
    EXPECT_EQ(port.Take(), (std::vector<Sent>{{"stop cdaudio", 0}, {"close cdaudio", 0}}));
}

TEST_F(CdWatchTest, EachTickLooksAtTheDiscAndStartsPlayOnlyWhereItMust) {
    const std::vector<Sent> backToTrack3 = {{"status cdaudio position track 3", 512},
                                            {"play cdaudio from 03:00:00:00", 512}};
    // A track beyond the last: its position's error goes to play unparsed, and the watch stays on.
    const std::vector<Sent> beyondTheLast = {{"status cdaudio position track 20", 512},
                                             {"play cdaudio from Error:282", 512}};
    const std::vector<Sent> playOn = {{"play cdaudio", 512}};
    const struct {
        int repeat;
        const char *current, *mode;
        std::vector<Sent> more;
    } cases[] = {
        {3, "1", "stopped", backToTrack3},  // idle at the first track
        {3, "3", "playing", {}},
        {3, "4", "playing", backToTrack3},  // moved on, or another program chose a track
        {3, "3", "paused", {}},             // a pause is respected
        {3, " 3 ", "paused", {}},           // blanks around the number are fine
        {3, "3", "stopped", backToTrack3},
        {20, "1", "stopped", beyondTheLast},
        {0, "1", "stopped", playOn},  // no chosen track: the disc is played on from where it is
        {0, "9", "playing", {}},
        {0, "9", "paused", {}},
        {0, "three", "stopped", playOn},  // the track number is read only for a chosen track
        {0, "E R R", "stopped", playOn},  // an error holds the three letters side by side
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.repeat) + " " + c.current + " " + c.mode);
        music.OpenCd(c.repeat);
        ScriptDisc(port, c.current, c.mode);
        port.Take();
        music.CdWatchTick();
        std::vector<Sent> expected = {kCurrentTrack, kTrackCount, kMode};
        expected.insert(expected.end(), c.more.begin(), c.more.end());
        EXPECT_EQ(port.Take(), expected);
        EXPECT_TRUE(music.CdWatchOk());
    }
}

TEST_F(CdWatchTest, TheFirstFailedLookSwitchesTheWatchOffForGood) {
    const struct {
        const char* what;
        int repeat;
        std::string command;
        Answer answer;
        std::vector<Sent> sent;
    } cases[] = {
        {"no drive or no disc", 0, kCurrentTrack.command, Fails(276), {kCurrentTrack}},
        {"an answer holding ERR in any case",
         0,
         kCurrentTrack.command,
         Replies("xErR"),
         {kCurrentTrack}},
        {"no track count", 3, kTrackCount.command, Fails(263), {kCurrentTrack, kTrackCount}},
        {"a chosen track and a current one that is no number",
         3,
         kCurrentTrack.command,
         Replies("3a"),
         {kCurrentTrack, kTrackCount, kMode}},
        {"a platform that throws", 0, kMode.command, Throws(), {kCurrentTrack, kTrackCount, kMode}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        music.OpenCd(c.repeat);
        ScriptDisc(port, "1", "stopped");
        port.answers[c.command] = c.answer;
        port.Take();
        music.CdWatchTick();
        EXPECT_FALSE(music.CdWatchOk());
        EXPECT_EQ(port.Take(), c.sent);
        // A disc put in later is not played during this run.
        ScriptDisc(port, "1", "stopped");
        music.CdWatchTick();
        music.CdWatchTick();
        EXPECT_TRUE(port.Take().empty());
        EXPECT_FALSE(music.CdWatchOk());
    }
}

}  // namespace
