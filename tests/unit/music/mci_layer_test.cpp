#include <string>

#include "music_fixture.h"

namespace {

using MciLayerTest = MusicTest;

TEST_F(MciLayerTest, AnEmptyCommandIsNotSentAndAnswersMinusOne) {
    std::wstring text = L"earlier";
    EXPECT_EQ(music.Layer().SendMci(L"", text), -1);
    EXPECT_EQ(text, L"コマンド文字列が指定されていません");
    EXPECT_EQ(music.Layer().MciQuery(L""), L"Error:-1");
    EXPECT_EQ(music.Layer().LastText(), L"コマンド文字列が指定されていません");
    EXPECT_TRUE(device.received.empty());
}

TEST_F(MciLayerTest, AFailedCommandGivesThePlatformsCodeAndText) {
    MciLayer& layer = music.Layer();
    std::wstring text;
    EXPECT_EQ(layer.SendMci(L"status cdaudio mode", text), kMciErrInvalidDeviceName);
    EXPECT_EQ(text, L"The specified device is not open or is not recognized by MCI.");
    EXPECT_EQ(layer.MciQuery(L"status cdaudio current track"), L"Error:263");
    EXPECT_EQ(layer.LastText(), L"The specified device is not open or is not recognized by MCI.");

    // Error texts come back from code page 932.
    EXPECT_EQ(layer.SendMci(L"open \"C:\\gone.mp3\" type MPEGVideo Alias MP3Play", text),
              kMciErrFileNotFound);
    EXPECT_EQ(text, L"指定されたファイルが見つかりません。");

    device.errorTextsKnown = false;
    EXPECT_EQ(layer.SendMci(L"play nothing", text), kMciErrInvalidDeviceName);
    EXPECT_EQ(text, L"Error (文字列が取れません)");

    for (const SentCommand& sent : device.received) EXPECT_EQ(sent.replySize, 512u);
}

TEST_F(MciLayerTest, RepliesComeBackAndNeverLingerIntoTheNextCommand) {
    MciLayer& layer = music.Layer();
    std::wstring text = L"earlier";
    EXPECT_EQ(layer.SendMci(L"open cdaudio", text), 0);
    EXPECT_EQ(text, L"");
    EXPECT_EQ(layer.MciQuery(L"status cdaudio number of tracks"), L"12");
    // The device writes nothing for a command without a reply: the text must be empty, not "12".
    EXPECT_EQ(layer.SendMci(L"stop cdaudio", text), 0);
    EXPECT_EQ(text, L"");
    EXPECT_EQ(layer.MciQuery(L"STATUS CDAUDIO MODE"), L"stopped");
}

TEST_F(MciLayerTest, PlayCommandsAreBuiltFromTheGivenParts) {
    MciLayer& layer = music.Layer();
    std::wstring text;
    layer.SendMci(L"open cdaudio", text);
    layer.SendMci(L"set cdaudio time format tmsf", text);
    device.TakeReceived();

    EXPECT_EQ(layer.MciPlay(L"cdaudio", L"", L""), 0);
    EXPECT_EQ(layer.MciPlay(L"cdaudio", L"03:00:00:00", L""), 0);
    EXPECT_EQ(device.currentTrack, 3);
    EXPECT_EQ(layer.MciPlay(L"cdaudio", L"", L"05"), 0);
    EXPECT_EQ(layer.MciPlay(L"cdaudio", L"04", L"05"), 0);
    EXPECT_EQ(device.currentTrack, 4);
    // Positions are passed on as they are, however odd.
    EXPECT_EQ(layer.MciPlay(L"cdaudio", L"Error:282", L""), kMciErrBadInteger);
    EXPECT_EQ(layer.LastText(), L"Error (文字列が取れません)");

    const std::vector<SentCommand> expected = {
        Layer("play cdaudio"),
        Layer("play cdaudio from 03:00:00:00"),
        Layer("play cdaudio to 05"),
        Layer("play cdaudio from 04 to 05"),
        Layer("play cdaudio from Error:282"),
    };
    EXPECT_EQ(device.TakeReceived(), expected);
}

}  // namespace
