// flame-trace's and flame-still's options, the input split into arguments on its NUL bytes: what
// is accepted is within range, and a frame time is zero only when it was given as zero.
#include <cmath>

#include "argument_numbers.h"
#include "fuzz_support.h"
#include "options.h"

namespace {

// A frame time as a tool may use it: finite, not negative, and zero only when the value given
// last for the option (the parsers take "--name value" pairs) was zero.
bool UsableSeconds(float seconds, const std::vector<std::string_view>& args,
                   std::string_view name) {
    std::optional<std::string_view> given;
    for (std::size_t i = 0; i + 1 < args.size(); i += 2) {
        if (args[i] == name) given = args[i + 1];
    }
    return std::isfinite(seconds) && seconds >= 0 &&
           (seconds != 0 || (given && ParseFiniteNumber(*given) == 0.0));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto args = SplitOnNul(data, size);

    const auto trace = ParseTraceOptions(args);
    FUZZ_CHECK(trace.options.has_value() == trace.error.empty());
    if (const auto& o = trace.options) {
        FUZZ_CHECK(UsableSeconds(o->dt, args, "--dt") && o->frames >= 0);
        FUZZ_CHECK(!o->firstDt || UsableSeconds(*o->firstDt, args, "--first-dt"));
        for (const KeyPress& key : o->keys) FUZZ_CHECK(key.frame >= 1 && key.code <= 0xFFFF);
    }

    const auto still = ParseStillOptions(args);
    FUZZ_CHECK(still.options.has_value() == still.error.empty());
    if (const auto& o = still.options) {
        FUZZ_CHECK(UsableSeconds(o->dt, args, "--dt") && o->frames >= 0 && !o->out.empty());
        FUZZ_CHECK(o->width >= 1 && o->width <= 16384 && o->height >= 1 && o->height <= 16384);
    }
    return 0;
}
