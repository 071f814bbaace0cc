// lullvane-flame's options, the input split into arguments on its NUL bytes; the first part, when
// not empty, is $XSCREENSAVER_WINDOW. What is accepted is within the documented ranges.
#include <cmath>
#include <string>

#include "flame_options.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto parts = SplitOnNul(data, size);
    const std::vector<std::string_view> args(parts.begin() + 1, parts.end());
    const std::optional<std::string_view> screensaverWindow =
        parts[0].empty() ? std::nullopt : std::optional(parts[0]);
    const FlameOptionsResult result = ParseFlameOptions(args, screensaverWindow);
    FUZZ_CHECK(result.options.has_value() + result.helpAsked + !result.error.empty() == 1);

    for (const std::string_view part : parts) {
        if (const auto id = ParseWindowId(part)) {
            FUZZ_CHECK(*id != 0 && ParseWindowId(std::to_string(*id)) == id);
        }
    }
    if (!result.options) return 0;
    const FlameOptions& options = *result.options;
    FUZZ_CHECK(std::isfinite(options.fixedDt) && options.fixedDt > 0 && options.fixedDt <= 3600);
    FUZZ_CHECK(options.frames >= 1 && options.benchmarkFrames >= 0);
    FUZZ_CHECK(options.delayMicroseconds >= 0 && options.delayMicroseconds <= 10'000'000);
    FUZZ_CHECK((options.width == 0) == (options.height == 0));
    FUZZ_CHECK(options.width >= 0 && options.width <= 16384 && options.height <= 16384);
    FUZZ_CHECK((options.mode == FlameMode::Still) == !options.screenshot.empty());
    FUZZ_CHECK((options.mode == FlameMode::Benchmark) == (options.benchmarkFrames > 0));
    FUZZ_CHECK(!options.hostWindow || (options.mode == FlameMode::Hosted && *options.hostWindow));
    return 0;
}
