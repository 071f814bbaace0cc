#include "flame_options.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

// The parse of ARGS (words split at spaces; '' is an empty one) as the fields that differ from
// a default FlameOptions, "name=value" words; or "error: " and its message, or "help".
std::string Parsed(const std::string& args, std::optional<std::string_view> window = {}) {
    std::vector<std::string> words;
    std::istringstream in(args);
    for (std::string word; in >> word;) words.push_back(word == "''" ? "" : word);
    const FlameOptionsResult r = ParseFlameOptions({words.begin(), words.end()}, window);
    if (r.helpAsked) return (r.options ? "options and help" : "help") + r.error;
    if (!r.options) return "error: " + r.error;
    const FlameOptions &o = *r.options, d;
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
    // A window id wins over --root in either order: a settings tool's preview appends it to a
    // saved command line.
    const char* rows[][2] = {{"--window 800x600", "mode=window size=800x600"},
                             {"-window 16384x1", "mode=window size=16384x1"},
                             {"-root", "mode=hosted"},
                             {"-window-id 0x1c00007", "mode=hosted host=29360135"},
                             {"--display :1 -fps -delay 0", "display=:1 fps=1 delay=0"},
                             {"-fps -no-fps --delay 10000000 --draw arrays", "delay=10000000"},
                             {"--draw immediate", "draw=immediate"},
                             {"--fixed-dt 0.5 --frames 1000000000 --screenshot f.png",
                              "mode=still dt=0.5 frames=1000000000 shot=f.png"},
                             {"--screenshot f.png --fixed-dt 3600 --frames 1 --window 640x480",
                              "mode=still size=640x480 dt=3600 frames=1 shot=f.png"},
                             {"--benchmark-fps 1000000 --window 1920x1080",
                              "mode=benchmark size=1920x1080 bench=1000000"},
                             {"--root --window-id 0x2a", "mode=hosted host=42"},
                             {"--window-id 42 -root --fps", "mode=hosted host=42 fps=1"},
                             {"--window 1x1 -h", "help"},
                             {"--h", "help"},
                             {"-help --colour", "help"}};
    for (const auto& [args, parsed] : rows) EXPECT_EQ(Parsed(args), parsed) << args;
    // A screen saver's window comes from the environment unless an option names one.
    const char* environment[][3] = {{"", "1234", "mode=hosted host=1234"},
                                    {"-root", "0x400001", "mode=hosted host=4194305"},
                                    {"--root --window-id 77", "1234", "mode=hosted host=77"},
                                    {"--window 320x200", "1234", "mode=window size=320x200"},
                                    {"", "", ""},
                                    {"", "window", "error: bad XSCREENSAVER_WINDOW: window"}};
    for (const auto& [args, window, parsed] : environment)
        EXPECT_EQ(Parsed(args, window), parsed) << window;
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
        EXPECT_EQ(Parsed("--screenshot f " + name + " " + (value.empty() ? "''" : value)),
                  "error: bad value for " + name + ": " + value);
    }
    const char* rows[][2] = {
        {"--window", "--window: missing value"},
        {"--frames 10", "--frames and --fixed-dt need --screenshot"},
        {"--fixed-dt 0.1", "--frames and --fixed-dt need --screenshot"},
        {"--window 10x10 -root", "choose one of --window, --root and --window-id"},
        {"-window-id 5 --window 10x10", "choose one of --window, --root and"},
        {"--screenshot f --benchmark-fps 5", "choose one of --screenshot and"},
        {"--screenshot f -root", "--screenshot and --benchmark-fps draw into a"},
        {"--benchmark-fps 5 -window-id 9", "--screenshot and --benchmark-fps"},
        {"--colour red", "unknown option: --colour"},
        {"---root", "unknown option: ---root"},
        {"picture.png", "unexpected argument: picture.png"},
        {"-", "unexpected argument: -"},
        {"--", "unexpected argument: --"}};
    for (const auto& [args, error] : rows) {
        EXPECT_EQ(Parsed(args).substr(0, 7 + std::string_view(error).size()),
                  std::string("error: ") + error);
    }
    // Window ids are hexadecimal or decimal, 32 bits, never zero.
    for (const char* text : {"0x2a", "0X2A", "42"}) EXPECT_EQ(ParseWindowId(text), 42u) << text;
    for (const char* text : {"0xffffffff", "4294967295"})
        EXPECT_EQ(ParseWindowId(text), 0xFFFFFFFFu);
    for (const char* text :
         {"", "0", "0x0", "0x", "-5", "12a", "0x100000000", "0x-1", "4294967296"}) {
        EXPECT_FALSE(ParseWindowId(text)) << text;
    }
}

}  // namespace
