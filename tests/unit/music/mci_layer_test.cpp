#include <string>

#include "cp932.h"
#include "scripted_port.h"

namespace {

using MciLayerTest = MusicTest;

TEST_F(MciLayerTest, ACommandAnswersWithItsReplyOrThePlatformsDescriptionOfItsError) {
    port.answers = {{"status cdaudio number of tracks", Replies("12")},
                    {"status cdaudio mode", Fails(263)},
                    {ToCp932(L"open 音.mp3"), Fails(275)},
                    {"play nothing", Fails(261)}};
    port.errorTexts = {{263, "The device is not open."},
                       {275, ToCp932(L"指定されたファイルが見つかりません。")}};
    const struct {
        std::wstring command;
        std::int32_t code;
        std::wstring text, query;
    } cases[] = {
        {L"status cdaudio number of tracks", 0, L"12", L"12"},
        // Answers nothing: the reply before must not show through.
        {L"stop cdaudio", 0, L"", L""},
        {L"status cdaudio mode", 263, L"The device is not open.", L"Error:263"},
        {L"open 音.mp3", 275, L"指定されたファイルが見つかりません。", L"Error:275"},
        {L"play nothing", 261, L"Error (文字列が取れません)", L"Error:261"},
        {L"", -1, L"コマンド文字列が指定されていません", L"Error:-1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.command));
        std::wstring text = L"earlier";
        EXPECT_EQ(music.Layer().SendMci(c.command, text), c.code);
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(music.Layer().MciQuery(c.command), c.query);
        EXPECT_EQ(music.Layer().LastText(), c.text);
        // An empty command is never sent.
        const std::vector<Sent> sent(c.command.empty() ? 0 : 2, {ToCp932(c.command), 512});
        EXPECT_EQ(port.Take(), sent);
    }
}

TEST_F(MciLayerTest, PlayCommandsAreBuiltFromTheGivenPartsAsTheyAre) {
    port.answers["play cdaudio from Error:282"] = Fails(270);
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
        EXPECT_EQ(port.Take(), (std::vector<Sent>{{c.command, 512}}));
    }
    EXPECT_EQ(music.Layer().LastText(), L"Error (文字列が取れません)");
}

}  // namespace
