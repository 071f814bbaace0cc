#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Command-line options of the headless tools. A parse either succeeds or names the argument
// that was wrong.

struct KeyPress {
    long long frame;  // delivered before this frame (1-based) runs
    unsigned code;
};

enum class TracePrint { Summary, Particles, Field, All };

struct TraceOptions {
    long long frames = 1;
    float dt = 0.015625f;
    std::optional<float> firstDt;
    std::vector<KeyPress> keys;
    TracePrint print = TracePrint::Summary;
};

struct StillOptions {
    long long frames = 300;
    float dt = 0.015625f;
    int width = 640;
    int height = 480;
    std::string out;
};

template <typename Options>
struct ParseResult {
    std::optional<Options> options = {};
    std::string error = {};  // one line naming the bad argument
};

ParseResult<TraceOptions> ParseTraceOptions(const std::vector<std::string_view>& args);
ParseResult<StillOptions> ParseStillOptions(const std::vector<std::string_view>& args);

extern const char kTraceUsage[];
extern const char kStillUsage[];
