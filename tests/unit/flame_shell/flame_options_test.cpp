#include "flame_options.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using Args = std::vector<std::string_view>;

// The fields of a parse that differ from a default FlameOptions, as "name=value" words; an error
// or a request for help as such.
std::string Parsed(const Args& args, std::optional<std::string_view> screensaverWindow = {}) {
    const FlameOptionsResult result = ParseFlameOptions(args, screensaverWindow);
    if (result.helpAsked) return (result.options ? "options and help" : "help") + result.error;
    if (!result.options) return "error: " + result.error;
    const FlameOptions& o = *result.options;
    const FlameOptions d;
    std::ostringstream text;
    const auto add = [&](bool changed, const char* name, const auto& value) {
        if (changed) text << (text.tellp() ? " " : "") << name << "=" << value;
    };
    constexpr const char* kModes[] = {"full", "window", "hosted", "still", "benchmark"};
    add(o.mode != d.mode, "mode", kModes[static_cast<int>(o.mode)]);
    add(o.width != d.width || o.height != d.height, "size",
        std::to_string(o.width) + "x" + std::to_string(o.height));
    add(o.hostWindow != d.hostWindow, "host", o.hostWindow.value_or(0));
    add(o.display != d.display, "display", o.display);
    add(o.showFps != d.showFps, "fps", o.showFps);
    add(o.delayMicroseconds != d.delayMicroseconds, "delay", o.delayMicroseconds);
    add(o.drawPath != d.drawPath, "draw", o.drawPath == DrawPath::Immediate ? "immediate" : "?");
    add(o.fixedDt != d.fixedDt, "dt", o.fixedDt);
    add(o.frames != d.frames, "frames", o.frames);
    add(o.screenshot != d.screenshot, "shot", o.screenshot);
    add(o.benchmarkFrames != d.benchmarkFrames, "bench", o.benchmarkFrames);
    return text.str();
}

TEST(FlameOptions, RunsFullScreenAtAboutSixtyFramesPerSecondUnlessAnOptionWithOneDashOrTwoSays) {
    const FlameOptions o = ParseFlameOptions({}, std::nullopt).options.value();
    EXPECT_EQ(std::tuple(o.mode, o.width, o.height, o.hostWindow, o.display, o.showFps,
                         o.delayMicroseconds, o.drawPath, o.fixedDt, o.frames, o.screenshot,
                         o.benchmarkFrames),
              std::tuple(FlameMode::FullScreen, 0, 0, std::nullopt, "", false, 16667,
                         DrawPath::VertexArrays, 0.015625f, 300, "", 0));
    using Row = std::pair<Args, std::string>;
    for (const auto& [args, parsed] :
         {Row{{}, ""}, Row{{"--window", "800x600"}, "mode=window size=800x600"},
          Row{{"-window", "16384x1"}, "mode=window size=16384x1"}, Row{{"-root"}, "mode=hosted"},
          Row{{"-window-id", "0x1c00007"}, "mode=hosted host=29360135"},
          Row{{"--display", ":1"}, "display=:1"}, Row{{"-fps", "-delay", "0"}, "fps=1 delay=0"},
          Row{{"-fps", "-no-fps", "--delay", "10000000"}, "delay=10000000"},
          Row{{"--draw", "immediate"}, "draw=immediate"}, Row{{"--draw", "arrays"}, ""},
          Row{{"--fixed-dt", "0.5", "--frames", "1000000000", "--screenshot", "f.png"},
              "mode=still dt=0.5 frames=1000000000 shot=f.png"},
          Row{{"--screenshot", "f.png", "--fixed-dt", "3600", "--frames", "1"},
              "mode=still dt=3600 frames=1 shot=f.png"},
          Row{{"--screenshot", "f.png", "--window", "640x480"},
              "mode=still size=640x480 shot=f.png"},
          Row{{"--benchmark-fps", "1000000", "--window", "1920x1080"},
              "mode=benchmark size=1920x1080 bench=1000000"},
          // A window id wins over --root in either order, as a settings tool's preview
          // appends it to a saved command line.
          Row{{"--root", "--window-id", "0x2a"}, "mode=hosted host=42"},
          Row{{"--window-id", "42", "-root"}, "mode=hosted host=42"},
          Row{{"--root", "--fps", "--delay", "20000", "--window-id", "42"},
              "mode=hosted host=42 fps=1 delay=20000"},
          Row{{"--window", "1x1", "-h"}, "help"}, Row{{"--h"}, "help"},
          Row{{"-help", "--colour"}, "help"}}) {
        EXPECT_EQ(Parsed(args), parsed) << testing::PrintToString(args);
    }
}

TEST(FlameOptions, AScreenSaversWindowComesFromTheEnvironmentUnlessAnOptionNamesOne) {
    using Row = std::tuple<Args, const char*, std::string>;
    for (const auto& [args, variable, parsed] :
         {Row{{}, "1234", "mode=hosted host=1234"},
          Row{{"-root"}, "0x400001", "mode=hosted host=4194305"},
          Row{{"--window-id", "77"}, "1234", "mode=hosted host=77"},
          Row{{"--root", "--window-id", "77"}, "1234", "mode=hosted host=77"},
          Row{{"--window", "320x200"}, "1234", "mode=window size=320x200"}, Row{{}, "", ""},
          Row{{}, "window", "error: bad XSCREENSAVER_WINDOW: window"}}) {
        EXPECT_EQ(Parsed(args, variable), parsed) << variable;
    }
}

TEST(FlameOptions, NamesTheArgumentItCannotTake) {
    // Values out of range; seconds that are not positive, not finite, more than an hour, or zero
    // in single precision. (A screenshot is asked for, so that --frames and --fixed-dt apply.)
    std::istringstream bad(
        "--window=800 --window=0x600 --window=800x -window=x600 --window=16385x10 --window=8o0x600 "
        "-window-id=0 --display= --draw=fast --screenshot= -delay=-1 -delay=1.5 -delay= "
        "-delay=10000001 --frames=0 --frames=1000000001 --benchmark-fps=0 --benchmark-fps=1000001 "
        "--fixed-dt=0 --fixed-dt=-1 --fixed-dt=nan --fixed-dt=inf --fixed-dt=3600.5 --fixed-dt=x "
        "--fixed-dt=1e-50");
    for (std::string option; bad >> option;) {
        const std::string name = option.substr(0, option.find('=')),
                          value = option.substr(name.size() + 1);
        EXPECT_EQ(Parsed({"--screenshot", "f", name, value}),
                  "error: bad value for " + name + ": " + value);
    }
    using Row = std::pair<Args, std::string>;
    for (const auto& [args, error] :
         {Row{{"--window"}, "--window: missing value"},
          Row{{"--frames", "10"}, "--frames and --fixed-dt need --screenshot"},
          Row{{"--fixed-dt", "0.1"}, "--frames and --fixed-dt need --screenshot"},
          Row{{"--window", "10x10", "-root"}, "choose one of --window, --root and --window-id"},
          Row{{"-window-id", "5", "--window", "10x10"}, "choose one of --window, --root and"},
          Row{{"--screenshot", "f", "--benchmark-fps", "5"}, "choose one of --screenshot and"},
          Row{{"--screenshot", "f", "-root"}, "--screenshot and --benchmark-fps draw into a"},
          Row{{"--benchmark-fps", "5", "-window-id", "9"}, "--screenshot and --benchmark-fps"},
          Row{{"--colour", "red"}, "unknown option: --colour"},
          Row{{"---root"}, "unknown option: ---root"},
          Row{{"picture.png"}, "unexpected argument: picture.png"},
          Row{{"-"}, "unexpected argument: -"}, Row{{"--"}, "unexpected argument: --"}}) {
        EXPECT_EQ(Parsed(args).substr(0, 7 + error.size()), "error: " + error);
    }
}

TEST(FlameOptions, WindowIdsAreHexOrDecimalThirtyTwoBitAndNeverZero) {
    for (const auto& [text, id] : {std::pair("0x2a", 42UL),
                                   {"0X2A", 42UL},
                                   {"42", 42UL},
                                   {"0xffffffff", 0xFFFFFFFFUL},
                                   {"4294967295", 0xFFFFFFFFUL}}) {
        EXPECT_EQ(ParseWindowId(text), id) << text;
    }
    for (const char* text :
         {"", "0", "0x0", "0x", "-5", "12a", "0x100000000", "0x-1", "4294967296"}) {
        EXPECT_FALSE(ParseWindowId(text)) << text;
    }
}

}  // namespace
