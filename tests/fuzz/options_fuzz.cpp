// The option parsers of flame-trace, flame-still and lullvane-flame (whose first part, when not
// empty, is $XSCREENSAVER_WINDOW), arguments split on NUL: each answers options or an error, and
// a frame time is zero only when the value given last for it was zero.
#include <cmath>

#include "argument_numbers.h"
#include "flame_options.h"
#include "fuzz_support.h"
#include "options.h"

static bool Usable(float seconds, const std::vector<std::string_view>& args, const char* name) {
    std::optional<std::string_view> given;
    for (std::size_t i = 0; i + 1 < args.size(); i += 2)
        if (args[i] == name) given = args[i + 1];
    return std::isfinite(seconds) && seconds >= 0 &&
           (seconds != 0 || (given && ParseFiniteNumber(*given) == 0.0));
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto args = SplitOnNul(data, size);
    const auto trace = ParseTraceOptions(args);
    const auto still = ParseStillOptions(args);
    FUZZ_CHECK(trace.options.has_value() == trace.error.empty() &&
               still.options.has_value() == still.error.empty());
    if (const auto& o = trace.options)
        FUZZ_CHECK(Usable(o->dt, args, "--dt") &&
                   (!o->firstDt || Usable(*o->firstDt, args, "--first-dt")));
    if (const auto& o = still.options) FUZZ_CHECK(Usable(o->dt, args, "--dt"));
    const FlameOptionsResult flame = ParseFlameOptions(
        {args.begin() + 1, args.end()}, args[0].empty() ? std::nullopt : std::optional(args[0]));
    FUZZ_CHECK(flame.options.has_value() + flame.helpAsked + !flame.error.empty() == 1);
    if (const auto& o = flame.options) FUZZ_CHECK(std::isfinite(o->fixedDt) && o->fixedDt > 0);
    return 0;
}
