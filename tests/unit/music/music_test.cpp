#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <stdexcept>
#include <utility>

#include "cp932.h"
#include "torvane2_bgm.h"

namespace {

using Commands = std::vector<std::string>;
constexpr std::int32_t kThrows = -99;  // answered by throwing

// The platform's media services as a script: a command is answered from `answers` (one not
// listed succeeds without a reply) and recorded with the size of its reply buffer, if it has
// one: "status cdaudio mode [255]". Texts are code page 932 bytes.
struct ScriptedPort final : MciPort {
    std::int32_t SendString(const std::string& command, std::span<char> reply) override {
        sent.push_back(command + (reply.empty() ? "" : " [" + std::to_string(reply.size()) + "]"));
        const auto& [code, text] = answers[command];
        if (code == kThrows) throw std::runtime_error("the platform failed");
        if (!text.empty()) std::ranges::copy(text + '\0', reply.begin());
        return code;
    }
    bool ErrorString(std::int32_t code, std::span<char> text) override {
        if (errorTexts.contains(code)) std::ranges::copy(errorTexts[code] + '\0', text.begin());
        return errorTexts.contains(code);
    }
    unsigned WaveOutDevices() override { return waveOutDevices; }
    void PlaySoundFile(const std::optional<std::string>& name, std::uint32_t flags) override {
        sounds.emplace_back(name, flags);
    }
    Commands Take() { return std::exchange(sent, {}); }  // the commands sent since the last call

    std::map<std::string, std::pair<std::int32_t, std::string>> answers;
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
        {L"", -1, L"コマンド文字列が指定されていません", L"Error:-1"}  // not sent
    };
    for (const auto& c : cases) {
        std::wstring text = L"earlier";
        EXPECT_EQ(music.Layer().SendMci(c.command, text), c.code);
        EXPECT_EQ(music.Layer().MciQuery(c.command), c.query);
        EXPECT_TRUE(text == c.text && music.Layer().LastText() == c.text);
        EXPECT_EQ(port.Take(), Commands(c.command.empty() ? 0 : 2, ToCp932(c.command) + " [512]"));
    }
    // A play command is built from the parts given, as they are.
    const std::tuple<const wchar_t*, const wchar_t*, std::string> plays[] = {
        {L"", L"", "play cdaudio"},
        {L"03:00:00:00", L"", "play cdaudio from 03:00:00:00"},
        {L"", L"05", "play cdaudio to 05"},
        {L"04", L"05", "play cdaudio from 04 to 05"}};
    for (const auto& [from, to, command] : plays) {
        EXPECT_EQ(music.Layer().MciPlay(L"cdaudio", from, to), 0);
        EXPECT_EQ(port.Take(), Commands{std::string(command) + " [512]"});
    }
    port.answers["play x"] = {270, ""};
    EXPECT_EQ(music.Layer().MciPlay(L"x", L"", L""), 270);
    EXPECT_EQ(music.Layer().LastText(), L"Error (文字列が取れません)");
}

TEST_F(MusicTest, AnMp3IsOpenedInCodePage932PlayedIfOpenAndPlayedAgainWheneverItIsNotPlaying) {
    // C:\音楽\表.mp3: the second byte of 表 is a backslash in code page 932.
    music.StartMp3(L"C:\\音楽\\表.mp3");
    const std::string open =
        "open \"C:\\\x89\xB9\x8A\x79\\\x95\x5C.mp3\" type MPEGVideo Alias MP3Play";
    EXPECT_EQ(port.Take(), (Commands{open, "play MP3Play"}));
    port.answers[open] = {275, ""};
    music.StartMp3(L"C:\\音楽\\表.mp3");
    EXPECT_EQ(port.Take(), Commands{open});
    music.StopMp3();
    EXPECT_EQ(port.Take(), (Commands{"stop MP3Play", "close MP3Play"}));
    // Each query's buffer still holds the reply of the one before; seven letters count.
    const std::tuple<int, const char*, bool> ticks[] = {{0, "playing", false},
                                                        {263, "", true},
                                                        {0, "stopped", true},
                                                        {0, "paused", true},
                                                        {0, "playingX", false}};
    for (const auto& [code, mode, restarted] : ticks) {
        port.answers["status MP3Play mode"] = {code, mode};
        music.RestartMp3IfEnded();
        Commands expected = {"status MP3Play mode [30]"};
        if (restarted) expected.insert(expected.end(), {"stop MP3Play", "play MP3Play from 0"});
        EXPECT_EQ(port.Take(), expected) << code << mode;
    }
    // A wav loops until stopped and is skipped without a wave device.
    music.StartWav(L"C:\\My Music\\音.wav");
    port.waveOutDevices = 0;
    music.StartWav(L"C:\\loop.wav");
    music.StopWav();
    const decltype(port.sounds) sounds = {{ToCp932(L"C:\\My Music\\音.wav"), 9u},
                                          {std::nullopt, 0u}};
    EXPECT_TRUE(port.sounds == sounds && port.sent.empty());
}

// A disc of 12 tracks at track `current` in `mode`, watched for track `repeat` (0: none).
void ScriptDisc(Torvane2_BGM& music, ScriptedPort& port, int repeat, const char* current,
                const char* mode) {
    music.OpenCd(repeat);
    port.answers = {{"status cdaudio current track", {0, current}},
                    {"status cdaudio number of tracks", {0, "12"}},
                    {"status cdaudio mode", {0, mode}},
                    {"status cdaudio position track 3", {0, "03:00:00:00"}},
                    {"status cdaudio position track 20", {282, ""}}};
    EXPECT_EQ(port.Take(), (Commands{"open cdaudio", "set cdaudio time format tmsf"}));
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
        {3, " 3 ", "paused", {}},   // a pause is respected; blanks around the number are fine
        {3, "3", "stopped", back},
        {20, "1", "stopped", beyondTheLast},
        {0, "1", "stopped", playOn},  // no chosen track: the disc is played on from where it is
        {0, "9", "playing", {}},
        {0, "9", "paused", {}},
        {0, "E R R", "stopped", playOn}  // the track number is read only for a chosen track
    };
    for (const auto& c : cases) {
        ScriptDisc(music, port, c.repeat, c.current, c.mode);
        music.CdWatchTick();
        Commands expected = {"status cdaudio current track [512]",
                             "status cdaudio number of tracks [512]", "status cdaudio mode [255]"};
        expected.insert(expected.end(), c.more.begin(), c.more.end());
        EXPECT_EQ(port.Take(), expected) << c.repeat << " " << c.current << " " << c.mode;
        EXPECT_TRUE(music.CdWatchOk());
    }
    music.StopCd();
    EXPECT_EQ(port.Take(), (Commands{"stop cdaudio", "close cdaudio"}));
}

TEST_F(MusicTest, TheFirstFailedLookAtTheDiscSwitchesTheWatchOffForGood) {
    // The watched track, the look that fails and its answer, the looks made.
    const struct {
        int repeat;
        const char* command;
        std::pair<std::int32_t, std::string> answer;
        size_t looks;
    } cases[] = {{0, "status cdaudio current track", {276, ""}, 1},    // no drive or no disc
                 {0, "status cdaudio current track", {0, "xErR"}, 1},  // ERR in any case
                 {3, "status cdaudio number of tracks", {263, ""}, 2},
                 {3, "status cdaudio current track", {0, "3a"}, 3},  // a chosen track, no number
                 {0, "status cdaudio mode", {kThrows, ""}, 3}};
    for (const auto& c : cases) {
        ScriptDisc(music, port, c.repeat, "1", "stopped");
        port.answers[c.command] = c.answer;
        music.CdWatchTick();
        EXPECT_FALSE(music.CdWatchOk()) << c.command;
        EXPECT_EQ(port.Take().size(), c.looks) << c.command;
        port.answers[c.command] = {0, "1"};  // a disc put in later is not played during this run
        music.CdWatchTick();
        music.CdWatchTick();
        EXPECT_TRUE(port.Take().empty() && !music.CdWatchOk()) << c.command;
    }
}

}  // namespace
