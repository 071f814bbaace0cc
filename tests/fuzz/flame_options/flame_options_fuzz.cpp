// lullvane-flame's options, the input split into arguments on its NUL bytes; the first part, when
// not empty, is $XSCREENSAVER_WINDOW. What is accepted is within the documented ranges.
#include <cmath>

#include "flame_options.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto parts = SplitOnNul(data, size);
    const FlameOptionsResult result =
        ParseFlameOptions({parts.begin() + 1, parts.end()},
                          parts[0].empty() ? std::nullopt : std::optional(parts[0]));
    FUZZ_CHECK(result.options.has_value() + result.helpAsked + !result.error.empty() == 1);
    for (const std::string_view part : parts) {
        const auto id = ParseWindowId(part);
        FUZZ_CHECK(!id || (*id != 0 && ParseWindowId(std::to_string(*id)) == id));
    }
    if (!result.options) return 0;
    const FlameOptions& o = *result.options;
    FUZZ_CHECK(std::isfinite(o.fixedDt) && o.fixedDt > 0 && o.fixedDt <= 3600);
    FUZZ_CHECK(o.frames >= 1 && o.benchmarkFrames >= 0);
    FUZZ_CHECK(o.delayMicroseconds >= 0 && o.delayMicroseconds <= 10'000'000);
    FUZZ_CHECK((o.width == 0) == (o.height == 0));
    FUZZ_CHECK(o.width >= 0 && o.width <= 16384 && o.height <= 16384);
    FUZZ_CHECK((o.mode == FlameMode::Still) == !o.screenshot.empty());
    FUZZ_CHECK((o.mode == FlameMode::Benchmark) == (o.benchmarkFrames > 0));
    FUZZ_CHECK(!o.hostWindow || (o.mode == FlameMode::Hosted && *o.hostWindow));
    return 0;
}
