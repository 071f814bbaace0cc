#include "flame_options.h"

#include <gtest/gtest.h>

namespace {

FlameOptionsResult Parse(std::vector<std::string_view> args,
                         std::optional<std::string_view> screensaverWindow = std::nullopt) {
    return ParseFlameOptions(args, screensaverWindow);
}

FlameOptions Good(std::vector<std::string_view> args,
                  std::optional<std::string_view> screensaverWindow = std::nullopt) {
    const auto result = Parse(args, screensaverWindow);
    EXPECT_TRUE(result.options) << result.error;
    return result.options.value_or(FlameOptions{});
}

std::string Bad(std::vector<std::string_view> args,
                std::optional<std::string_view> screensaverWindow = std::nullopt) {
    const auto result = Parse(args, screensaverWindow);
    EXPECT_FALSE(result.options);
    EXPECT_FALSE(result.helpAsked);
    return result.error;
}

TEST(FlameOptions, WithoutArgumentsRunsFullScreenPacedWithVertexArrays) {
    const FlameOptions options = Good({});
    EXPECT_EQ(options.mode, FlameMode::FullScreen);
    EXPECT_EQ(options.width, 0);
    EXPECT_EQ(options.delayMicroseconds, kDefaultDelayMicroseconds);
    EXPECT_EQ(options.drawPath, DrawPath::VertexArrays);
    EXPECT_FALSE(options.showFps);
}

TEST(FlameOptions, WindowTakesASizeWithEitherDashAndRejectsBadSizes) {
    for (const std::string_view name : {"--window", "-window"}) {
        const FlameOptions options = Good({name, "800x600"});
        EXPECT_EQ(options.mode, FlameMode::Windowed);
        EXPECT_EQ(options.width, 800);
        EXPECT_EQ(options.height, 600);
    }
    for (const std::string_view size : {"800", "0x600", "800x", "x600", "20000x10", "8o0x600"}) {
        EXPECT_NE(Bad({"--window", size}).find("--window"), std::string::npos) << size;
    }
    EXPECT_NE(Bad({"--window"}).find("missing value"), std::string::npos);
}

TEST(FlameOptions, WindowIdsAreHexOrDecimalThirtyTwoBitAndNeverZero) {
    EXPECT_EQ(ParseWindowId("0x2a"), 42u);
    EXPECT_EQ(ParseWindowId("0X2A"), 42u);
    EXPECT_EQ(ParseWindowId("42"), 42u);
    EXPECT_EQ(ParseWindowId("0xffffffff"), 0xFFFFFFFFu);
    for (const std::string_view text : {"", "0", "0x0", "0x", "-5", "12a", "0x100000000", "0x-1"}) {
        EXPECT_FALSE(ParseWindowId(text)) << text;
    }
}

TEST(FlameOptions, HackModeComesFromRootWindowIdOrTheScreenSaversWindow) {
    FlameOptions options = Good({"-root"});
    EXPECT_EQ(options.mode, FlameMode::Hosted);
    EXPECT_FALSE(options.hostWindow);  // the root window itself

    options = Good({"-window-id", "0x1c00007"});
    EXPECT_EQ(options.mode, FlameMode::Hosted);
    EXPECT_EQ(options.hostWindow, 0x1c00007u);

    // A screen saver names its window in the environment, with or without -root.
    EXPECT_EQ(Good({}, "1234").hostWindow, 1234u);
    options = Good({"-root"}, "0x400001");
    EXPECT_EQ(options.mode, FlameMode::Hosted);
    EXPECT_EQ(options.hostWindow, 0x400001u);
    // An explicit window id wins over the environment; an explicit window of our own too.
    EXPECT_EQ(Good({"--window-id", "77"}, "1234").hostWindow, 77u);
    EXPECT_EQ(Good({"--root", "--window-id", "77"}, "1234").hostWindow, 77u);
    EXPECT_EQ(Good({"--window", "320x200"}, "1234").mode, FlameMode::Windowed);
    // An empty variable is no window; a bad one is an error.
    EXPECT_EQ(Good({}, "").mode, FlameMode::FullScreen);
    EXPECT_NE(Bad({}, "window").find("XSCREENSAVER_WINDOW"), std::string::npos);
    EXPECT_NE(Bad({"-window-id", "0"}).find("-window-id"), std::string::npos);
}

TEST(FlameOptions, AWindowIdWinsOverRootInEitherOrderAsASettingsToolsPreviewAppendsIt) {
    const std::vector<std::vector<std::string_view>> commands = {
        {"--root", "--window-id", "0x2a"},
        {"-root", "-window-id", "0x2a"},
        {"--window-id", "0x2a", "--root"},
        {"--root", "--fps", "--delay", "20000", "--window-id", "42"},
    };
    for (const auto& command : commands) {
        const FlameOptions options = Good(command);
        EXPECT_EQ(options.mode, FlameMode::Hosted) << command.size();
        EXPECT_EQ(options.hostWindow, 42u) << command.size();
    }
}

TEST(FlameOptions, HackConventionsForFpsAndDelay) {
    FlameOptions options = Good({"-fps", "-delay", "0"});
    EXPECT_TRUE(options.showFps);
    EXPECT_EQ(options.delayMicroseconds, 0);
    EXPECT_FALSE(Good({"-fps", "-no-fps"}).showFps);
    EXPECT_EQ(Good({"--delay", "30000"}).delayMicroseconds, 30000);
    for (const std::string_view delay : {"-1", "1.5", "", "10000001"}) {
        EXPECT_FALSE(Parse({"-delay", delay}).options) << delay;
    }
}

TEST(FlameOptions, StillNeedsAScreenshotAndTakesFramesAndAFixedDelta) {
    FlameOptions options =
        Good({"--fixed-dt", "0.015625", "--frames", "300", "--screenshot", "f.png"});
    EXPECT_EQ(options.mode, FlameMode::Still);
    EXPECT_FLOAT_EQ(options.fixedDt, 0.015625f);
    EXPECT_EQ(options.frames, 300);
    EXPECT_EQ(options.screenshot, "f.png");
    EXPECT_EQ(options.width, 0);  // the whole screen unless --window says otherwise

    options = Good({"--screenshot", "f.png", "--window", "640x480"});
    EXPECT_EQ(options.mode, FlameMode::Still);
    EXPECT_EQ(options.width, 640);

    EXPECT_NE(Bad({"--frames", "10"}).find("--screenshot"), std::string::npos);
    EXPECT_NE(Bad({"--fixed-dt", "0.1"}).find("--screenshot"), std::string::npos);
    for (const std::string_view dt : {"0", "-1", "nan", "inf", "1e9", "x", "1e-50"}) {
        EXPECT_FALSE(Parse({"--screenshot", "f.png", "--fixed-dt", dt}).options) << dt;
    }
    EXPECT_FALSE(Parse({"--screenshot", "f.png", "--frames", "0"}).options);
    EXPECT_FALSE(Parse({"--screenshot", ""}).options);
}

TEST(FlameOptions, BenchmarkAndDrawPath) {
    const FlameOptions options = Good({"--benchmark-fps", "200", "--window", "1920x1080"});
    EXPECT_EQ(options.mode, FlameMode::Benchmark);
    EXPECT_EQ(options.benchmarkFrames, 200);
    EXPECT_EQ(Good({"--draw", "immediate"}).drawPath, DrawPath::Immediate);
    EXPECT_EQ(Good({"--draw", "arrays"}).drawPath, DrawPath::VertexArrays);
    EXPECT_FALSE(Parse({"--draw", "fast"}).options);
    EXPECT_FALSE(Parse({"--benchmark-fps", "0"}).options);
}

TEST(FlameOptions, ConflictsAndStrangersAreErrors) {
    EXPECT_NE(Bad({"--window", "10x10", "-root"}).find("choose one"), std::string::npos);
    EXPECT_NE(Bad({"-window-id", "5", "--window", "10x10"}).find("choose one"), std::string::npos);
    EXPECT_NE(Bad({"--screenshot", "f.png", "--benchmark-fps", "5"}).find("choose one"),
              std::string::npos);
    EXPECT_NE(Bad({"--screenshot", "f.png", "-root"}).find("window of their own"),
              std::string::npos);
    EXPECT_NE(Bad({"--benchmark-fps", "5", "-window-id", "9"}).find("window of their own"),
              std::string::npos);
    EXPECT_NE(Bad({"--colour", "red"}).find("unknown option: --colour"), std::string::npos);
    EXPECT_NE(Bad({"picture.png"}).find("unexpected argument"), std::string::npos);
    EXPECT_NE(Bad({"-"}).find("unexpected argument"), std::string::npos);
    EXPECT_NE(Bad({"---root"}).find("unknown option"), std::string::npos);
}

TEST(FlameOptions, HelpIsNotAnError) {
    for (const std::string_view help : {"-h", "--help", "-help"}) {
        const auto result = Parse({"--window", "1x1", help});
        EXPECT_TRUE(result.helpAsked);
        EXPECT_FALSE(result.options);
    }
}

}  // namespace
