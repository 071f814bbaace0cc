#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "draw_path.h"

// What lullvane-flame was asked to do.
enum class FlameMode {
    FullScreen,  // borderless, above the others, closes on Esc or when it loses the focus
    Windowed,    // an ordinary window that stays open when another window takes the focus
    Hosted,      // draws into a window it was given (a screen saver's) until told to stop
    Still,       // renders a fixed number of frames with a fixed delta and saves the last one
    Benchmark,   // measures frames per second of both drawing paths
};

// About 60 frames per second: the pace the automatic 500-frame freeze phases suit.
inline constexpr std::int64_t kDefaultDelayMicroseconds = 16667;

struct FlameOptions {
    FlameMode mode = FlameMode::FullScreen;
    int width = 0, height = 0;  // from --window; 0 means the whole screen
    // Hosted: the window to draw into; none means the root window.
    std::optional<unsigned long> hostWindow;
    std::string display;  // empty: $DISPLAY
    bool showFps = false;
    std::int64_t delayMicroseconds = kDefaultDelayMicroseconds;
    DrawPath drawPath = DrawPath::VertexArrays;
    // Still
    float fixedDt = 0.015625f;
    long long frames = 300;
    std::string screenshot;
    // Benchmark: frames measured per drawing path
    long long benchmarkFrames = 0;
};

struct FlameOptionsResult {
    std::optional<FlameOptions> options = {};
    bool helpAsked = false;
    std::string error = {};  // one line naming the bad argument
};

// Parses the arguments after the program name. `screensaverWindow` is the value of the
// XSCREENSAVER_WINDOW environment variable, if set: the window a screen saver made for us.
// Options may be spelt with one dash or two, as screen-saver hacks accept both.
FlameOptionsResult ParseFlameOptions(const std::vector<std::string_view>& args,
                                     std::optional<std::string_view> screensaverWindow);

// A window id in hexadecimal ("0x" prefix) or decimal; never 0.
std::optional<unsigned long> ParseWindowId(std::string_view text);

std::string FlameUsage();
