#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "extension_list.h"
#include "flame_options.h"
#include "flame_session.h"
#include "frame_clock.h"
#include "frame_pacing.h"
#include "monitor_placement.h"

namespace {

// Every field of OPTIONS as a "name=value" word.
std::string Fields(const FlameOptions& o) {
    constexpr const char* kModes[] = {"full", "window", "hosted", "still", "benchmark"};
    std::ostringstream text;
    text << "mode=" << kModes[static_cast<int>(o.mode)] << " size=" << o.width << "x" << o.height
         << " host=" << o.hostWindow.value_or(0) << " display=" << o.display << " fps=" << o.showFps
         << " delay=" << o.delayMicroseconds
         << " draw=" << (o.drawPath == DrawPath::Immediate ? "immediate" : "arrays")
         << " dt=" << o.fixedDt << " frames=" << o.frames << " shot=" << o.screenshot
         << " bench=" << o.benchmarkFrames;
    return text.str();
}

// Full screen at about sixty frames a second unless an option says otherwise.
constexpr const char* kDefaults =
    "mode=full size=0x0 host=0 display= fps=0 delay=16667 draw=arrays dt=0.015625 frames=300 shot= "
    "bench=0";

// Each row is the arguments (words split at spaces; '' is an empty one, $VALUE the value of
// $XSCREENSAVER_WINDOW), " => " and their parse: the fields that differ from kDefaults, "help",
// or "error: " and the start of its message.
void ExpectRows(std::initializer_list<std::string_view> rows) {
    for (const std::string_view row : rows) {
        const size_t arrow = row.find(" => ");
        std::vector<std::string> words;
        std::optional<std::string> window;
        std::istringstream in(std::string(row.substr(0, arrow)));
        for (std::string word; in >> word;) {
            if (word.ends_with("''")) word.resize(word.size() - 2);
            const bool environment = word.starts_with('$');
            (environment ? window.emplace() : words.emplace_back()) = word.substr(environment);
        }
        const FlameOptionsResult r = ParseFlameOptions({words.begin(), words.end()}, window);
        const std::string want(row.substr(arrow + 4));
        std::ostringstream text;
        if (!r.options) text << (r.helpAsked ? "help" : "error: " + r.error).substr(0, want.size());
        std::istringstream fields(Fields(r.options.value_or(FlameOptions{}))), defaults(kDefaults);
        for (std::string field, byDefault; fields >> field && defaults >> byDefault;)
            if (field != byDefault) text << (text.tellp() ? " " : "") << field;
        EXPECT_EQ(text.str(), want) << row;
    }
}

TEST(FlameOptions, RunFullScreenAtSixtyHertzUnlessOptionsWithOneDashOrTwoSayAndNameBadOnes) {
    // A window id, hexadecimal or decimal, wins over --root in either order: a settings tool's
    // preview appends it. A screen saver's window comes from the environment unless an option
    // names one.
    ExpectRows(
        {" => ", "-window 16384x1 => mode=window size=16384x1", "-root => mode=hosted",
         "--display :1 -fps -delay 0 --draw immediate => display=:1 fps=1 delay=0 draw=immediate",
         "-fps -no-fps --delay 10000000 --draw arrays => delay=10000000",
         "--screenshot f.png --fixed-dt 3600 --frames 1000000000 --window 640x480 => mode=still "
         "size=640x480 dt=3600 frames=1000000000 shot=f.png",
         "--benchmark-fps 1000000 --window 1920x1080 => mode=benchmark size=1920x1080 "
         "bench=1000000",
         "--root --window-id 0X2A => mode=hosted host=42",
         "--window-id 4294967295 -root --fps => mode=hosted host=4294967295 fps=1",
         "--window 1x1 -h => help", "-help --colour => help", "$1234 => mode=hosted host=1234",
         "-root $0x400001 => mode=hosted host=4194305", "$'' => ",
         "--root --window-id 77 $1234 => mode=hosted host=77",
         "--window 320x200 $1234 => mode=window size=320x200",
         "$window => error: bad XSCREENSAVER_WINDOW: window"});
    // Out of range; seconds not positive, not finite, over an hour or zero in single precision;
    // window ids not hexadecimal or decimal, over 32 bits or zero.
    std::istringstream bad(
        "--window=800 --window=0x600 --window=800x -window=x600 --window=16385x10 --window=8o0x600 "
        "--display= --draw=fast --screenshot= -delay=-1 -delay=1.5 -delay= -delay=10000001 "
        "--frames=0 --frames=1000000001 --benchmark-fps=0 --benchmark-fps=1000001 --fixed-dt=0 "
        "--fixed-dt=-1 --fixed-dt=nan --fixed-dt=inf --fixed-dt=3600.5 --fixed-dt=x "
        "--fixed-dt=1e-50 -window-id= -window-id=0 -window-id=0x0 -window-id=0x -window-id=-5 "
        "-window-id=12a -window-id=0x100000000 -window-id=0x-1 -window-id=4294967296");
    for (std::string option; bad >> option;) {
        const std::string name = option.substr(0, option.find('=')),
                          value = option.substr(name.size() + 1);
        const std::string row = "--screenshot f " + name + " " + (value.empty() ? "''" : value);
        ExpectRows({row + " => error: bad value for " + name + ": " + value});
    }
    ExpectRows({"--window => error: --window: missing value",
                "--frames 1 => error: --frames and --fixed-dt need --screenshot",
                "--fixed-dt 1 => error: --frames and --fixed-dt need --screenshot",
                "--window 10x10 -root => error: choose one of --window, --root and --window-id",
                "-window-id 5 --window 10x10 => error: choose one of --window, --root and",
                "--screenshot f --benchmark-fps 5 => error: choose one of --screenshot and",
                "--screenshot f -root => error: --screenshot and --benchmark-fps draw into a",
                "--benchmark-fps 5 -window-id 9 => error: --screenshot and --benchmark-fps",
                "--colour red => error: unknown option: --colour",
                "---root => error: unknown option: ---root",
                "picture.png => error: unexpected argument: picture.png",
                "- => error: unexpected argument: -", "-- => error: unexpected argument: --"});
}

TEST(FlameSession, EachModeAnswersItsKeysAndEndsOnItsEvents) {
    // Keys are answered full screen and in a window; losing the focus ends full screen alone.
    for (const FlameMode mode : {FlameMode::FullScreen, FlameMode::Windowed, FlameMode::Hosted,
                                 FlameMode::Still, FlameMode::Benchmark}) {
        const bool keys = mode <= FlameMode::Windowed;
        const auto flame = std::make_unique<Flame>();
        StartFlame(*flame);
        const auto quits = [&, rules = RulesFor(mode)](ShellEvent event, unsigned code = 0) {
            return HandleShellEvent(*flame, rules, event, code) == SessionStep::Quit;
        };
        // Enter, Space and 0 flip their switch; other keys do nothing.
        for (const unsigned code : {13u, 32u, 48u, 97u, 0u, 0x3042u})
            EXPECT_FALSE(quits(ShellEvent::Key, code));
        EXPECT_EQ(
            std::tuple(flame->scene.running, flame->scene.view.rotating, flame->scene.fineField),
            std::tuple(!keys, !keys, keys));
        EXPECT_EQ(quits(ShellEvent::Key, 27), keys);
        EXPECT_EQ(quits(ShellEvent::FocusLost), mode == FlameMode::FullScreen);
        EXPECT_TRUE(quits(ShellEvent::CloseRequested) && quits(ShellEvent::WindowGone) &&
                    quits(ShellEvent::Terminated));
    }
}

TEST(FrameTiming, DeltasRunFromStartPacingNeverCatchesUpAndTheRateIsReportedEachSecond) {
    FrameClock clock;
    clock.Start(1000, 500);
    const float ticks[][2] = {{750, 0.25f}, {760, 0.01f}, {760, 0}, {1500, 0.74f}};
    for (const auto& [now, delta] : ticks)
        EXPECT_FLOAT_EQ(clock.Tick(static_cast<std::int64_t>(now)), delta);
    clock.Start(0, 0);  // a frequency that is not positive does not trap
    EXPECT_FLOAT_EQ(clock.Tick(3), 3.0f);
    // Nanoseconds after two days: single-precision seconds would turn 60 Hz into 0 or 2/60.
    constexpr std::int64_t kTwoDays = 48LL * 3600 * 1'000'000'000;
    clock.Start(1'000'000'000, kTwoDays);
    EXPECT_NEAR(clock.Tick(kTwoDays + 1'000'000'000 / 60), 1.0 / 60, 1e-6);
    // (now, sleep): a frame 5 ms late starts the next period at once, no burst follows.
    FramePacer pacer(10000), unpaced(0);
    const int starts[][2] = {{0, 0},         {1000, 9000}, {10500, 9500},
                             {20000, 10000}, {45000, 0},   {46000, 9000}};
    for (const auto& [now, sleep] : starts)
        EXPECT_TRUE(pacer.SleepBeforeFrame(now) == sleep && unpaced.SleepBeforeFrame(now) == 0)
            << now;
    // The rate is reported once a second: 60 frames a second from 5 s on, none before.
    FpsCounter fps;
    for (int frame = 0; frame <= 180; ++frame) {
        EXPECT_EQ(fps.CountFrame(5'000'000 + frame * 1'000'000LL / 60), frame && frame % 60 == 0);
        EXPECT_NEAR(fps.Rate(), frame < 60 ? 0 : 60, 0.01) << frame;
    }
    EXPECT_EQ(FpsText(1234.56), "FPS: 1234.6");
}

// The monitors (the primary's corner is the origin), then the window's rectangle and the flame's
// viewport, whose rows count from the window's bottom: one monitor; two side by side; one at
// negative x listed first; a taller one; three none flagged (the one at the origin is primary).
TEST(MonitorPlacement, CoversEveryMonitorAndDrawsOnThePrimary) {
    using Row = std::pair<std::vector<Monitor>, std::array<int, 8>>;
    for (const auto& [monitors, placed] :
         {Row{{{{0, 0, 4, 3}, true}}, {0, 0, 4, 3, 0, 0, 4, 3}},
          Row{{{{0, 0, 4, 3}, true}, {{4, 0, 9, 2}}}, {0, 0, 9, 3, 0, 0, 4, 3}},
          Row{{{{-3, 0, 0, 2}}, {{0, 0, 4, 3}, true}}, {-3, 0, 4, 3, 3, 0, 4, 3}},
          Row{{{{0, 0, 4, 3}, true}, {{4, -1, 7, 5}}}, {0, -1, 7, 5, 0, 2, 4, 3}},
          Row{{{{-2, 1, 0, 3}}, {{0, 0, 4, 3}}, {{4, -1, 6, 2}}}, {-2, -1, 6, 3, 2, 0, 4, 3}},
          Row{{}, {}}}) {
        const auto [w, f] = PlaceFlame(monitors);
        EXPECT_EQ((std::array{w.left, w.top, w.right, w.bottom, f.x, f.y, f.width, f.height}),
                  placed);
    }
}

TEST(ExtensionList, NamesOnlyWholeEntries) {
    const auto has = [](const char* list) { return HasExtension(list, "WGL_EXT_swap_control"); };
    EXPECT_TRUE(has("WGL_EXT_swap_control") && has("WGL_ARB_pixel_format WGL_EXT_swap_control "));
    EXPECT_FALSE(has("WGL_EXT_swap_control_tear X") || has("XWGL_EXT_swap_control") || has(""));
}

}  // namespace
