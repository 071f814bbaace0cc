#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "cp932.h"
#include "torvane2_bgm.h"

namespace {

using Commands = std::vector<std::string>;

// The platform's media services as a script. Each command is answered from `answers` with a
// code and a reply (one not listed succeeds without one) and recorded as sent, with the size of
// its reply buffer when it had one: "status cdaudio mode [255]". Texts are code page 932 bytes.
class ScriptedPort final : public MciPort {
  public:
    std::int32_t SendString(const std::string& command, std::span<char> reply) override {
        sent.push_back(reply.empty() ? command
                                     : command + " [" + std::to_string(reply.size()) + "]");
        if (command == throwing) throw std::runtime_error("the platform failed");
        const auto& [code, text] = answers[command];
        if (!text.empty() && text.size() < reply.size()) {
            std::ranges::copy(text, reply.begin());
            reply[text.size()] = '\0';
        }
        return code;
    }
    bool ErrorString(std::int32_t code, std::span<char> text) override {
        if (!errorTexts.contains(code)) return false;
        std::ranges::copy(errorTexts[code], text.begin());
        text[errorTexts[code].size()] = '\0';
        return true;
    }
    unsigned WaveOutDevices() override { return waveOutDevices; }
    void PlaySoundFile(const std::optional<std::string>& name, std::uint32_t flags) override {
        sounds.emplace_back(name, flags);
    }

    // The commands sent since the last call.
    Commands Take() { return std::exchange(sent, {}); }

    std::map<std::string, std::pair<std::int32_t, std::string>> answers;
    std::string throwing;
    std::map<std::int32_t, std::string> errorTexts;
    unsigned waveOutDevices = 1;
    Commands sent;
    std::vector<std::pair<std::optional<std::string>, std::uint32_t>> sounds;
};

class MusicTest : public ::testing::Test {
  protected:
    std::unique_ptr<ScriptedPort> owned = std::make_unique<ScriptedPort>();
    ScriptedPort& port = *owned;
    Torvane2_BGM music{std::move(owned)};
};

TEST_F(MusicTest, ACommandAnswersWithItsReplyOrThePlatformsDescriptionOfItsError) {
    port.answers = {{"status cdaudio number of tracks", {0, "12"}},
                    {"status cdaudio mode", {263, ""}},
                    {ToCp932(L"open 音.mp3"), {275, ""}},
                    {"play nothing", {261, ""}}};
    port.errorTexts = {{263, "The device is not open."},
                       {275, ToCp932(L"指定されたファイルが見つかりません。")}};
    const struct {
        std::wstring command;
        std::int32_t code;
        std::wstring text, query;
    } cases[] = {
        {L"status cdaudio number of tracks", 0, L"12", L"12"},
        {L"stop cdaudio", 0, L"", L""},  // answers nothing: the reply before must not show
        {L"status cdaudio mode", 263, L"The device is not open.", L"Error:263"},
        {L"open 音.mp3", 275, L"指定されたファイルが見つかりません。", L"Error:275"},
        {L"play nothing", 261, L"Error (文字列が取れません)", L"Error:261"},
        {L"", -1, L"コマンド文字列が指定されていません", L"Error:-1"},  // not sent
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.command));
        std::wstring text = L"earlier";
        EXPECT_EQ(music.Layer().SendMci(c.command, text), c.code);
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(music.Layer().MciQuery(c.command), c.query);
        EXPECT_EQ(music.Layer().LastText(), c.text);
        EXPECT_EQ(port.Take(), Commands(c.command.empty() ? 0 : 2, ToCp932(c.command) + " [512]"));
    }
}

TEST_F(MusicTest, PlayCommandsAreBuiltFromTheGivenPartsAsTheyAre) {
    port.answers["play cdaudio from Error:282"] = {270, ""};
    const struct {
        const wchar_t *from, *to;
        const char* command;
        std::int32_t code;
    } cases[] = {
        {L"", L"", "play cdaudio", 0},
        {L"03:00:00:00", L"", "play cdaudio from 03:00:00:00", 0},
        {L"", L"05", "play cdaudio to 05", 0},
        {L"04", L"05", "play cdaudio from 04 to 05", 0},
        {L"Error:282", L"", "play cdaudio from Error:282", 270},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(music.Layer().MciPlay(L"cdaudio", c.from, c.to), c.code);
        EXPECT_EQ(port.Take(), Commands{std::string(c.command) + " [512]"});
    }
    EXPECT_EQ(music.Layer().LastText(), L"Error (文字列が取れません)");
}

TEST_F(MusicTest, AnMp3IsOpenedQuotedInCodePage932AndPlayedOnlyWhenTheOpenSucceeded) {
    // C:\音楽\表.mp3: the second byte of 表 is a backslash in code page 932.
    music.StartMp3(L"C:\\音楽\\表.mp3");
    EXPECT_EQ(port.Take(),
              (Commands{"open \"C:\\\x89\xB9\x8A\x79\\\x95\x5C.mp3\" type MPEGVideo Alias MP3Play",
                        "play MP3Play"}));
    const std::string openGone = "open \"C:\\My Music\\gone.mp3\" type MPEGVideo Alias MP3Play";
    port.answers[openGone] = {275, ""};
    music.StartMp3(L"C:\\My Music\\gone.mp3");
    EXPECT_EQ(port.Take(), Commands{openGone});
    music.StopMp3();
    EXPECT_EQ(port.Take(), (Commands{"stop MP3Play", "close MP3Play"}));
}

TEST_F(MusicTest, AnMp3IsPlayedAgainFromItsStartWheneverItIsNotPlaying) {
    // One run through the rows: each query's buffer still holds the reply of the row before.
    const struct {
        std::int32_t code;
        const char* mode;
        bool restarted;
    } ticks[] = {
        {0, "playing", false},  {263, "", true},  // a failed query after a reply
        {0, "stopped", true},   {0, "paused", true},
        {0, "playingX", false},  // only the first seven letters count
    };
    for (const auto& tick : ticks) {
        port.answers["status MP3Play mode"] = {tick.code, tick.mode};
        music.RestartMp3IfEnded();
        Commands expected = {"status MP3Play mode [30]"};
        if (tick.restarted) {
            expected.insert(expected.end(), {"stop MP3Play", "play MP3Play from 0"});
        }
        EXPECT_EQ(port.Take(), expected) << tick.code << tick.mode;
    }
}

TEST_F(MusicTest, AWavLoopsUntilStoppedAndIsSkippedWithoutAWaveDevice) {
    music.StartWav(L"C:\\My Music\\音.wav");
    port.waveOutDevices = 0;
    music.StartWav(L"C:\\loop.wav");
    music.StopWav();
    const decltype(port.sounds) expected = {{ToCp932(L"C:\\My Music\\音.wav"), 9u},  // async, loop
                                            {std::nullopt, 0u}};
    EXPECT_EQ(port.sounds, expected);
    EXPECT_TRUE(port.sent.empty());
}

// A disc of 12 tracks at track `current` in `mode`.
void ScriptDisc(ScriptedPort& port, const char* current, const char* mode) {
    port.answers = {{"status cdaudio current track", {0, current}},
                    {"status cdaudio number of tracks", {0, "12"}},
                    {"status cdaudio mode", {0, mode}},
                    {"status cdaudio position track 3", {0, "03:00:00:00"}},
                    {"status cdaudio position track 20", {282, ""}},
                    {"play cdaudio from Error:282", {270, ""}}};
    port.throwing.clear();
}

TEST_F(MusicTest, TheDiscIsOpenedInTrackTimeAndClosedWithoutReplies) {
    music.OpenCd(3);
    EXPECT_EQ(port.Take(), (Commands{"open cdaudio", "set cdaudio time format tmsf"}));
    music.StopCd();
    EXPECT_EQ(port.Take(), (Commands{"stop cdaudio", "close cdaudio"}));
}

TEST_F(MusicTest, EachCdWatchTickLooksAtTheDiscAndStartsPlayOnlyWhereItMust) {
    const Commands back = {"status cdaudio position track 3 [512]",
                           "play cdaudio from 03:00:00:00 [512]"};
    // A track beyond the last: its position's error goes to play unparsed, and the watch stays on.
    const Commands beyondTheLast = {"status cdaudio position track 20 [512]",
                                    "play cdaudio from Error:282 [512]"};
    const Commands playOn = {"play cdaudio [512]"};
    const struct {
        int repeat;
        const char *current, *mode;
        Commands more;
    } cases[] = {
        {3, "1", "stopped", back},  // idle at the first track
        {3, "3", "playing", {}},
        {3, "4", "playing", back},  // moved on, or another program chose a track
        {3, "3", "paused", {}},     // a pause is respected
        {3, " 3 ", "paused", {}},   // blanks around the number are fine
        {3, "3", "stopped", back},
        {20, "1", "stopped", beyondTheLast},
        {0, "1", "stopped", playOn},  // no chosen track: the disc is played on from where it is
        {0, "9", "playing", {}},
        {0, "9", "paused", {}},
        {0, "three", "stopped", playOn},  // the track number is read only for a chosen track
        {0, "E R R", "stopped", playOn},  // an error holds the three letters side by side
    };
    for (const auto& c : cases) {
        music.OpenCd(c.repeat);
        ScriptDisc(port, c.current, c.mode);
        port.Take();
        music.CdWatchTick();
        Commands expected = {"status cdaudio current track [512]",
                             "status cdaudio number of tracks [512]", "status cdaudio mode [255]"};
        expected.insert(expected.end(), c.more.begin(), c.more.end());
        EXPECT_EQ(port.Take(), expected) << c.repeat << " " << c.current << " " << c.mode;
        EXPECT_TRUE(music.CdWatchOk());
    }
}

TEST_F(MusicTest, TheFirstFailedLookAtTheDiscSwitchesTheWatchOffForGood) {
    const struct {
        int repeat;
        const char* command;
        std::pair<std::int32_t, std::string> answer;
        bool throws;
        size_t looks;
    } cases[] = {
        {0, "status cdaudio current track", {276, ""}, false, 1},    // no drive or no disc
        {0, "status cdaudio current track", {0, "xErR"}, false, 1},  // ERR in any case
        {3, "status cdaudio number of tracks", {263, ""}, false, 2},
        {3, "status cdaudio current track", {0, "3a"}, false, 3},  // a chosen track, no number
        {0, "status cdaudio mode", {}, true, 3},
    };
    for (const auto& c : cases) {
        music.OpenCd(c.repeat);
        ScriptDisc(port, "1", "stopped");
        if (c.throws) {
            port.throwing = c.command;
        } else {
            port.answers[c.command] = c.answer;
        }
        port.Take();
        music.CdWatchTick();
        EXPECT_FALSE(music.CdWatchOk()) << c.command;
        EXPECT_EQ(port.Take().size(), c.looks) << c.command;
        // A disc put in later is not played during this run.
        ScriptDisc(port, "1", "stopped");
        music.CdWatchTick();
        music.CdWatchTick();
        EXPECT_TRUE(port.Take().empty()) << c.command;
        EXPECT_FALSE(music.CdWatchOk()) << c.command;
    }
}

}  // namespace
