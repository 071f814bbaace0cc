#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <stdexcept>

#include "cp932.h"
#include "torvane2_bgm.h"

namespace {

using Commands = std::vector<std::string>;
constexpr std::int32_t kThrows = -99;  // answered by throwing

// Media services as a script: a command is answered from `answers` (else succeeds, no reply) and
// recorded with the size of its reply buffer: "status cdaudio mode [255]". Texts are CP932.
struct ScriptedPort final : MciPort {
    std::int32_t SendString(const std::string& command, std::span<char> reply) override {
        sent.push_back(command + (reply.empty() ? "" : " [" + std::to_string(reply.size()) + "]"));
        const auto& [code, text] = answers[command];
        if (code == kThrows) throw std::runtime_error("the platform failed");
        if (!text.empty()) std::ranges::copy(text + '\0', reply.begin());
        return code;
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

    std::map<std::string, std::pair<std::int32_t, std::string>> answers;
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
                    {"play nothing", {261, ""}}};
    // The command, its code, text and query answer; no reply shows an earlier one.
    const std::tuple<std::wstring, std::int32_t, std::wstring, std::wstring> cases[] = {
        {L"status cdaudio number of tracks", 0, L"12", L"12"},
        {L"stop cdaudio", 0, L"", L""},
        {L"status cdaudio mode", 263, L"開いていません。", L"Error:263"},
        {L"play nothing", 261, L"Error (文字列が取れません)", L"Error:261"},
        {L"", -1, L"コマンド文字列が指定されていません", L"Error:-1"}};
    for (const auto& [command, code, reply, query] : cases) {
        std::wstring text = L"earlier";
        EXPECT_EQ(music.Layer().SendMci(command, text), code);
        EXPECT_EQ(music.Layer().MciQuery(command), query);
        EXPECT_TRUE(text == reply && music.Layer().LastText() == reply);
        EXPECT_EQ(port.Take(), Commands(command.empty() ? 0 : 2, ToCp932(command) + " [512]"));
    }
}

TEST_F(MusicTest, AnMp3IsOpenedInCodePage932PlayedIfOpenAndPlayedAgainWheneverItIsNotPlaying) {
    // C:\音楽\表.mp3: the second byte of 表 is a backslash in code page 932.
    music.StartMp3(L"C:\\音楽\\表.mp3");
    const std::string open =
        "open \"C:\\\x89\xB9\x8A\x79\\\x95\x5C.mp3\" type MPEGVideo Alias MP3Play";
    port.answers[open] = {275, ""};
    music.StartMp3(L"C:\\音楽\\表.mp3");
    music.StopMp3();
    EXPECT_EQ(port.Take(), (Commands{open, "play MP3Play", open, "stop MP3Play", "close MP3Play"}));
    // Each query's buffer still holds the reply before; seven letters count.
    const std::tuple<int, const char*, bool> ticks[] = {
        {0, "playing", false}, {263, "", true}, {0, "paused", true}, {0, "playingX", false}};
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

TEST_F(MusicTest, EachCdWatchTickStartsPlayOnlyWhereItMustAndTheFirstFailedLookEndsTheWatch) {
    // Watched track (0: none), current track, mode, the track played from its start ("" none,
    // "on" from where it is); past the last one plays from its position's error, unparsed.
    const std::tuple<int, const char*, const char*, const char*> ticks[] = {
        {3, "1", "stopped", "3"},     {3, "3", "playing", ""},  {3, "4", "playing", "3"},
        {3, " 3 ", "paused", ""},     {3, "3", "stopped", "3"}, {20, "1", "stopped", "20"},
        {0, "1", "stopped", "on"},    {0, "9", "playing", ""},  {0, "9", "paused", ""},
        {0, "E R R", "stopped", "on"}};
    // The watched track, the look that fails and its answer, the looks made.
    const std::tuple<int, const char*, std::int32_t, const char*, size_t> failures[] = {
        {0, "status cdaudio current track", 276, "", 1},
        {0, "status cdaudio current track", 0, "xErR", 1},
        {3, "status cdaudio number of tracks", 263, "", 2},
        {3, "status cdaudio current track", 0, "3a", 3},
        {0, "status cdaudio mode", kThrows, "", 3}};
    const auto open = [&](int repeat, const char* current, const char* mode) {
        music.OpenCd(repeat);
        port.answers = {{"status cdaudio current track", {0, current}},
                        {"status cdaudio number of tracks", {0, "12"}},
                        {"status cdaudio mode", {0, mode}},
                        {"status cdaudio position track 3", {0, "03:00:00:00"}},
                        {"status cdaudio position track 20", {282, ""}}};
        EXPECT_EQ(port.Take(), (Commands{"open cdaudio", "set cdaudio time format tmsf"}));
    };
    for (const auto& [repeat, current, mode, played] : ticks) {
        open(repeat, current, mode);
        music.CdWatchTick();
        Commands expected = {"status cdaudio current track [512]",
                             "status cdaudio number of tracks [512]", "status cdaudio mode [255]"};
        const std::string track = played,
                          from = track == "3" ? " from 03:00:00:00" : " from Error:282";
        if (track == "on") expected.push_back("play cdaudio [512]");
        if (track != "" && track != "on") {
            expected.insert(expected.end(), {"status cdaudio position track " + track + " [512]",
                                             "play cdaudio" + from + " [512]"});
        }
        EXPECT_TRUE(port.Take() == expected && music.CdWatchOk()) << repeat << current << mode;
    }
    for (const auto& [repeat, command, code, answer, looks] : failures) {
        open(repeat, "1", "stopped");
        port.answers[command] = {code, answer};
        music.CdWatchTick();
        EXPECT_TRUE(!music.CdWatchOk() && port.Take().size() == looks) << command;
        port.answers[command] = {0, "1"};  // a disc put in later is not played during this run
        music.CdWatchTick();
        EXPECT_TRUE(port.Take().empty() && !music.CdWatchOk()) << command;
    }
    music.StopCd();
    EXPECT_EQ(port.Take(), (Commands{"stop cdaudio", "close cdaudio"}));
}

}  // namespace
