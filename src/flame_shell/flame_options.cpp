#include "flame_options.h"

#include "argument_numbers.h"

namespace {

// A positive, finite number of seconds, at most an hour.
std::optional<float> ParsePositiveSeconds(std::string_view text) {
    const auto value = ParseFiniteNumber(text);
    if (!value || *value <= 0 || *value > 3600) return std::nullopt;
    return NarrowToFloat(*value);
}

// "WIDTHxHEIGHT", each side from 1 to 16384 pixels.
bool ParseSize(std::string_view text, int& width, int& height) {
    const auto x = text.find('x');
    if (x == std::string_view::npos) return false;
    const auto w = ParseWholeNumber(text.substr(0, x), 1, 16384);
    const auto h = ParseWholeNumber(text.substr(x + 1), 1, 16384);
    if (!w || !h) return false;
    width = static_cast<int>(*w);
    height = static_cast<int>(*h);
    return true;
}

std::optional<DrawPath> ParseDrawPath(std::string_view text) {
    if (text == "immediate") return DrawPath::Immediate;
    if (text == "arrays") return DrawPath::VertexArrays;
    return std::nullopt;
}

// "--name" and "-name" are the same option; anything else is not an option name.
std::optional<std::string_view> OptionName(std::string_view arg) {
    if (arg.size() > 2 && arg.substr(0, 2) == "--") return arg.substr(2);
    if (arg.size() > 1 && arg[0] == '-' && arg[1] != '-') return arg.substr(1);
    return std::nullopt;
}

FlameOptionsResult Error(std::string message) {
    return {.error = std::move(message)};
}

}  // namespace

std::string FlameUsage() {
    return "usage: lullvane-flame [--window WxH] [--fps] [--delay MICROSECONDS] "
           "[--draw immediate|arrays]\n"
           "       lullvane-flame --root | --window-id ID    (as a screen-saver hack)\n"
           "       lullvane-flame [--window WxH] --screenshot FILE.png [--frames N] "
           "[--fixed-dt S]\n"
           "       lullvane-flame [--window WxH] --benchmark-fps FRAMES\n"
           "Full screen unless --window; --delay is the shortest time between frames (default " +
           std::to_string(kDefaultDelayMicroseconds) +
           "); $XSCREENSAVER_WINDOW names a window to draw into.\n"
           "Options may start with one dash or two; --display NAME picks the X display.\n";
}

std::optional<unsigned long> ParseWindowId(std::string_view text) {
    constexpr long long kMax = 0xFFFFFFFFLL;  // X resource ids are 32 bits
    std::optional<long long> value;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        value = ParseWholeNumber(text.substr(2), 1, kMax, 16);
    } else {
        value = ParseWholeNumber(text, 1, kMax);
    }
    if (!value) return std::nullopt;
    return static_cast<unsigned long>(*value);
}

FlameOptionsResult ParseFlameOptions(const std::vector<std::string_view>& args,
                                     std::optional<std::string_view> screensaverWindow) {
    FlameOptions options;
    bool window = false, root = false, framesGiven = false, fixedDtGiven = false;
    std::optional<unsigned long> windowId;

    for (size_t i = 0; i < args.size(); ++i) {
        const auto name = OptionName(args[i]);
        if (!name) return Error("unexpected argument: " + std::string(args[i]));
        if (*name == "h" || *name == "help") return {.helpAsked = true};
        if (*name == "root") {
            root = true;
            continue;
        }
        if (*name == "fps" || *name == "no-fps") {
            options.showFps = *name == "fps";
            continue;
        }

        const bool takesValue = *name == "window" || *name == "window-id" || *name == "display" ||
                                *name == "delay" || *name == "draw" || *name == "fixed-dt" ||
                                *name == "frames" || *name == "screenshot" ||
                                *name == "benchmark-fps";
        if (!takesValue) return Error("unknown option: " + std::string(args[i]));
        if (i + 1 >= args.size()) return Error(std::string(args[i]) + ": missing value");
        const std::string_view value = args[++i];
        const auto bad = [&] {
            return Error("bad value for " + std::string(args[i - 1]) + ": " + std::string(value));
        };

        if (*name == "window") {
            if (!ParseSize(value, options.width, options.height)) return bad();
            window = true;
        } else if (*name == "window-id") {
            windowId = ParseWindowId(value);
            if (!windowId) return bad();
        } else if (*name == "display") {
            if (value.empty()) return bad();
            options.display = value;
        } else if (*name == "delay") {
            const auto delay = ParseWholeNumber(value, 0, 10'000'000);
            if (!delay) return bad();
            options.delayMicroseconds = *delay;
        } else if (*name == "draw") {
            const auto path = ParseDrawPath(value);
            if (!path) return bad();
            options.drawPath = *path;
        } else if (*name == "fixed-dt") {
            const auto dt = ParsePositiveSeconds(value);
            if (!dt) return bad();
            options.fixedDt = *dt;
            fixedDtGiven = true;
        } else if (*name == "frames") {
            const auto frames = ParseWholeNumber(value, 1, 1'000'000'000);
            if (!frames) return bad();
            options.frames = *frames;
            framesGiven = true;
        } else if (*name == "screenshot") {
            if (value.empty()) return bad();
            options.screenshot = value;
        } else {
            const auto frames = ParseWholeNumber(value, 1, 1'000'000);
            if (!frames) return bad();
            options.benchmarkFrames = *frames;
        }
    }

    const bool still = !options.screenshot.empty();
    const bool benchmark = options.benchmarkFrames > 0;
    // A window id wins over --root, in either order: screen-saver settings tools preview a hack
    // by appending --window-id to its saved command line, which already holds --root.
    if (window && (root || windowId)) {
        return Error("choose one of --window, --root and --window-id");
    }
    if (still && benchmark) return Error("choose one of --screenshot and --benchmark-fps");
    if ((still || benchmark) && (root || windowId)) {
        return Error("--screenshot and --benchmark-fps draw into a window of their own");
    }
    if ((framesGiven || fixedDtGiven) && !still)
        return Error("--frames and --fixed-dt need --screenshot");

    if (still) {
        options.mode = FlameMode::Still;
    } else if (benchmark) {
        options.mode = FlameMode::Benchmark;
    } else if (windowId) {
        options.mode = FlameMode::Hosted;
        options.hostWindow = windowId;
    } else if (!window && screensaverWindow && !screensaverWindow->empty()) {
        // A screen saver that made a window for us says so in the environment, with or
        // without --root.
        options.hostWindow = ParseWindowId(*screensaverWindow);
        if (!options.hostWindow) {
            return Error("bad XSCREENSAVER_WINDOW: " + std::string(*screensaverWindow));
        }
        options.mode = FlameMode::Hosted;
    } else if (root) {
        options.mode = FlameMode::Hosted;
    } else if (window) {
        options.mode = FlameMode::Windowed;
    }
    return {.options = options};
}
