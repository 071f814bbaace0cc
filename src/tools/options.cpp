#include "options.h"

#include <limits>

#include "argument_numbers.h"

namespace {

// A non-negative, finite number of seconds that single precision can hold.
std::optional<float> ParseSeconds(std::string_view text) {
    const auto value = ParseFiniteNumber(text);
    if (!value || *value < 0) return std::nullopt;
    return NarrowToFloat(*value);
}

std::optional<KeyPress> ParseKey(std::string_view text) {
    const auto colon = text.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    const auto frame =
        ParseWholeNumber(text.substr(0, colon), 1, std::numeric_limits<long long>::max());
    const auto code = ParseWholeNumber(text.substr(colon + 1), 0, 0xFFFF);
    if (!frame || !code) return std::nullopt;
    return KeyPress{*frame, static_cast<unsigned>(*code)};
}

std::optional<TracePrint> ParsePrint(std::string_view text) {
    if (text == "summary") return TracePrint::Summary;
    if (text == "particles") return TracePrint::Particles;
    if (text == "field") return TracePrint::Field;
    if (text == "all") return TracePrint::All;
    return std::nullopt;
}

// Walks "--name value" pairs; `take` stores one and says whether its value was good.
template <typename Options, typename Take>
ParseResult<Options> ParsePairs(const std::vector<std::string_view>& args, Options options,
                                Take take) {
    for (size_t i = 0; i < args.size(); i += 2) {
        const std::string_view name = args[i];
        if (i + 1 >= args.size()) return {.error = std::string(name) + ": missing value"};
        const std::string_view value = args[i + 1];
        switch (take(options, name, value)) {
            case 0:
                return {.error = "unknown argument: " + std::string(name)};
            case -1:
                return {.error = "bad value for " + std::string(name) + ": " + std::string(value)};
            default:
                break;
        }
    }
    return {.options = options};
}

// 1: stored; 0: unknown name; -1: bad value.
template <typename T>
int Store(std::optional<T> parsed, T& target) {
    if (!parsed) return -1;
    target = *parsed;
    return 1;
}

}  // namespace

const char kTraceUsage[] =
    "usage: flame-trace [--frames N] [--dt S] [--first-dt S] [--key F:C]... "
    "[--print summary|particles|field|all]\n"
    "  --frames N    frames to run (default 1; 0 = only the reset)\n"
    "  --dt S        frame delta in seconds (default 0.015625)\n"
    "  --first-dt S  delta of frame 1 (default: the --dt value)\n"
    "  --key F:C     before frame F (1-based) runs, deliver character code C to the key commands\n"
    "                (13 flips running, 32 rotating, 48 fineField, every other code is ignored);\n"
    "                repeatable, applied in the order given\n"
    "  --print WHAT  after the last frame: summary (default), particles, field, or all\n";

const char kStillUsage[] =
    "usage: flame-still [--frames N] [--dt S] [--width W] [--height H] --out FILE.png\n"
    "  --frames N    frames to run before the picture is taken (default 300)\n"
    "  --dt S        frame delta in seconds (default 0.015625)\n"
    "  --width W     picture width in pixels (default 640)\n"
    "  --height H    picture height in pixels (default 480)\n"
    "  --out FILE    the PNG file to write\n";

ParseResult<TraceOptions> ParseTraceOptions(const std::vector<std::string_view>& args) {
    constexpr long long kMaxFrames = std::numeric_limits<long long>::max();
    return ParsePairs(args, TraceOptions{},
                      [&](TraceOptions& o, std::string_view name, std::string_view value) {
                          if (name == "--frames")
                              return Store(ParseWholeNumber(value, 0, kMaxFrames), o.frames);
                          if (name == "--dt") return Store(ParseSeconds(value), o.dt);
                          if (name == "--first-dt") {
                              const auto seconds = ParseSeconds(value);
                              if (!seconds) return -1;
                              o.firstDt = seconds;
                              return 1;
                          }
                          if (name == "--key") {
                              const auto key = ParseKey(value);
                              if (!key) return -1;
                              o.keys.push_back(*key);
                              return 1;
                          }
                          if (name == "--print") return Store(ParsePrint(value), o.print);
                          return 0;
                      });
}

ParseResult<StillOptions> ParseStillOptions(const std::vector<std::string_view>& args) {
    constexpr long long kMaxSide = 16384;
    auto result = ParsePairs(
        args, StillOptions{}, [&](StillOptions& o, std::string_view name, std::string_view value) {
            if (name == "--frames") {
                return Store(ParseWholeNumber(value, 0, std::numeric_limits<long long>::max()),
                             o.frames);
            }
            if (name == "--dt") return Store(ParseSeconds(value), o.dt);
            long long side = 0;
            if (name == "--width" || name == "--height") {
                if (Store(ParseWholeNumber(value, 1, kMaxSide), side) < 0) return -1;
                (name == "--width" ? o.width : o.height) = static_cast<int>(side);
                return 1;
            }
            if (name == "--out") {
                if (value.empty()) return -1;
                o.out = std::string(value);
                return 1;
            }
            return 0;
        });
    if (result.options && result.options->out.empty()) {
        return {.error = "--out: missing (the PNG file to write)"};
    }
    return result;
}
