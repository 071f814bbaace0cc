// flame-trace's and flame-still's options, the input split into arguments on its NUL bytes: what
// is accepted is within range, and a frame time is zero only when it was given as zero.
#include <cmath>
#include <string>

#include "argument_numbers.h"
#include "fuzz_support.h"
#include "options.h"

namespace {

// The value given last for an option, the way the parsers take "--name value" pairs.
std::optional<std::string_view> LastValue(const std::vector<std::string_view>& args,
                                          std::string_view name) {
    std::optional<std::string_view> value;
    for (std::size_t i = 0; i + 1 < args.size(); i += 2) {
        if (args[i] == name) value = args[i + 1];
    }
    return value;
}

// A frame time as a tool may use it: finite, not negative, and zero only when asked for.
bool UsableSeconds(float seconds, std::optional<std::string_view> given) {
    if (!std::isfinite(seconds) || seconds < 0) return false;
    return seconds != 0 || (given && ParseFiniteNumber(*given) == 0.0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto args = SplitOnNul(data, size);

    const auto trace = ParseTraceOptions(args);
    FUZZ_CHECK(trace.options.has_value() == trace.error.empty());
    if (trace.options) {
        FUZZ_CHECK(UsableSeconds(trace.options->dt, LastValue(args, "--dt")));
        if (trace.options->firstDt) {
            FUZZ_CHECK(UsableSeconds(*trace.options->firstDt, LastValue(args, "--first-dt")));
        }
        FUZZ_CHECK(trace.options->frames >= 0);
        for (const KeyPress& key : trace.options->keys) {
            FUZZ_CHECK(key.frame >= 1 && key.code <= 0xFFFF);
        }
    }

    const auto still = ParseStillOptions(args);
    FUZZ_CHECK(still.options.has_value() == still.error.empty());
    if (still.options) {
        FUZZ_CHECK(UsableSeconds(still.options->dt, LastValue(args, "--dt")));
        FUZZ_CHECK(still.options->frames >= 0 && !still.options->out.empty());
        FUZZ_CHECK(still.options->width >= 1 && still.options->width <= 16384);
        FUZZ_CHECK(still.options->height >= 1 && still.options->height <= 16384);
    }
    return 0;
}
