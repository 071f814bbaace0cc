#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <stdexcept>

#include "cp932.h"
#include "torvane2_bgm.h"

namespace {

using Commands = std::vector<std::string>;

// Media services as a script: a command is answered from `answers` (else succeeds, no reply) and
// recorded with the size of its reply buffer: "status cdaudio mode [255]". An answer is a reply,
// or "!" and an error code ("!throw": the platform throws). Texts are CP932.
struct ScriptedPort final : MciPort {
    std::int32_t SendString(const std::string& command, std::span<char> reply) override {
        sent.push_back(command + (reply.empty() ? "" : " [" + std::to_string(reply.size()) + "]"));
        const std::string answer = answers[command];
        if (answer == "!throw") throw std::runtime_error("the platform failed");
        if (answer.starts_with("!")) return std::stoi(answer.substr(1));
        if (!answer.empty()) std::ranges::copy(answer + '\0', reply.begin());
        return 0;
    }
    bool ErrorString(std::int32_t code, std::span<char> text) override {
        if (code == 263) std::ranges::copy(ToCp932(L"開いていません。") + '\0', text.begin());
        return code == 263;
    }
    unsigned WaveOutDevices() override { return waveOutDevices; }
    void PlaySoundFile(const std::optional<std::string>& name, std::uint32_t flags) override {
        sounds.emplace_back(name, flags);
    }
    Commands Take() { return std::exchange(sent, {}); }  // sent since the last call

    std::map<std::string, std::string> answers;
    unsigned waveOutDevices = 1;
    Commands sent;
    std::vector<std::pair<std::optional<std::string>, std::uint32_t>> sounds;
};

struct MusicTest : ::testing::Test {
    ScriptedPort& port = *new ScriptedPort;  // owned by the music
    Torvane2_BGM music{std::unique_ptr<MciPort>(&port)};
};

// clang-format off
TEST_F(MusicTest, ACommandAnswersWithItsReplyOrThePlatformsDescriptionOfItsError) {
    port.answers = {{"status cdaudio number of tracks", "12"}, {"status cdaudio mode", "!263"}, {"play nothing", "!261"}};
    // The command, its code, text and query answer; no reply shows an earlier one.
    const std::tuple<std::wstring, std::int32_t, std::wstring, std::wstring> cases[] = {
        {L"status cdaudio number of tracks", 0, L"12", L"12"}, {L"stop cdaudio", 0, L"", L""},
        {L"status cdaudio mode", 263, L"開いていません。", L"Error:263"}, {L"play nothing", 261, L"Error (文字列が取れません)", L"Error:261"},
        {L"", -1, L"コマンド文字列が指定されていません", L"Error:-1"}};
    for (const auto& [command, code, reply, query] : cases) {
        std::wstring text = L"earlier";
        EXPECT_EQ(std::tuple(music.Layer().SendMci(command, text), music.Layer().MciQuery(command)), std::tuple(code, query));
        EXPECT_TRUE(text == reply && music.Layer().LastText() == reply);
        EXPECT_EQ(port.Take(), Commands(command.empty() ? 0 : 2, ToCp932(command) + " [512]"));
    }
}

TEST_F(MusicTest, AnMp3IsOpenedInCodePage932PlayedIfOpenAndPlayedAgainWheneverItIsNotPlaying) {
    // C:\音楽\表.mp3: the second byte of 表 is a backslash in code page 932.
    const std::string open = "open \"C:\\\x89\xB9\x8A\x79\\\x95\x5C.mp3\" type MPEGVideo Alias MP3Play";
    music.StartMp3(L"C:\\音楽\\表.mp3");
    port.answers[open] = "!275";
    music.StartMp3(L"C:\\音楽\\表.mp3");
    music.StopMp3();
    EXPECT_EQ(port.Take(), (Commands{open, "play MP3Play", open, "stop MP3Play", "close MP3Play"}));
    // Each query's buffer still holds the reply before; seven letters count.
    for (const auto& [mode, restarted] : {std::pair("playing", false), {"!263", true}, {"paused", true}, {"playingX", false}}) {
        port.answers["status MP3Play mode"] = mode;
        music.RestartMp3IfEnded();
        const std::string look = "status MP3Play mode [30]";
        EXPECT_EQ(port.Take(), (restarted ? Commands{look, "stop MP3Play", "play MP3Play from 0"} : Commands{look})) << mode;
    }
    // A wav loops until stopped and is skipped without a wave device.
    music.StartWav(L"C:\\My Music\\音.wav");
    port.waveOutDevices = 0;
    music.StartWav(L"C:\\loop.wav");
    music.StopWav();
    const decltype(port.sounds) sounds = {{ToCp932(L"C:\\My Music\\音.wav"), 9u}, {std::nullopt, 0u}};
    EXPECT_TRUE(port.sounds == sounds && port.sent.empty());
}

TEST_F(MusicTest, EachCdWatchTickStartsPlayOnlyWhereItMustAndTheFirstFailedLookEndsTheWatch) {
    // The watched track (0: none), the answers of the three looks at the disc, then where play
    // starts ("" none, "on" where it is, or from the watched track's position; past the last track
    // from its position's error, unparsed) or, when a look failed, the looks made. Once failed, the watch
    // stays off: a disc put in later is not played during this run, until the CD is opened again.
    const std::string from3 = "from 03:00:00:00";
    const std::tuple<int, const char*, const char*, const char*, std::string> ticks[] = {
        {3, "1", "12", "stopped", from3}, {3, "3", "12", "playing", ""}, {3, "4", "12", "playing", from3}, {3, " 3 ", "12", "paused", ""},
        {0, "!276", "12", "stopped", "failed 1"}, {3, "3", "12", "stopped", from3}, {0, "xErR", "12", "stopped", "failed 1"},
        {3, "1", "!263", "stopped", "failed 2"}, {20, "1", "12", "stopped", "from Error:282"}, {3, "3a", "12", "stopped", "failed 3"},
        {0, "1", "12", "!throw", "failed 3"}, {0, "1", "12", "stopped", "on"}, {0, "9", "12", "paused", ""}, {0, "E R R", "12", "stopped", "on"}};
    for (const auto& [repeat, current, tracks, mode, play] : ticks) {
        music.OpenCd(repeat);
        port.answers = {{"status cdaudio current track", current}, {"status cdaudio number of tracks", tracks}, {"status cdaudio mode", mode},
                        {"status cdaudio position track 3", "03:00:00:00"}, {"status cdaudio position track 20", "!282"}};
        EXPECT_EQ(port.Take(), (Commands{"open cdaudio", "set cdaudio time format tmsf"}));
        music.CdWatchTick();
        Commands expected = {"status cdaudio current track [512]", "status cdaudio number of tracks [512]", "status cdaudio mode [255]"};
        if (play.starts_with("failed")) {
            expected.resize(std::stoul(play.substr(7)));
            port.answers = {{"status cdaudio current track", "1"}, {"status cdaudio mode", "stopped"}};
            music.CdWatchTick();
        }
        if (play == "on") expected.push_back("play cdaudio [512]");
        if (play.starts_with("from")) {
            expected.insert(expected.end(), {"status cdaudio position track " + std::to_string(repeat) + " [512]", "play cdaudio " + play + " [512]"});
        }
        EXPECT_TRUE(port.Take() == expected && music.CdWatchOk() == !play.starts_with("failed")) << repeat << current << tracks << mode;
    }
    music.StopCd();
    EXPECT_EQ(port.Take(), (Commands{"stop cdaudio", "close cdaudio"}));
}
// clang-format on

}  // namespace
