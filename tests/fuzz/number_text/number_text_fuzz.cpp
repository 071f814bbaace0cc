// The host's number reading against strtod: wherever strtod reads a decimal number, the host
// reads the same value, and a whole text is a number exactly when strtod leaves only blanks.
#include <cctype>
#include <cmath>
#include <cstring>

#include "fuzz_support.h"
#include "number_text.h"

static bool Same(double a, double b) {
    return a == b && std::signbit(a) == std::signbit(b);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // strtod reads up to a NUL; so does this comparison.
    const std::string text(reinterpret_cast<const char*>(data),
                           strnlen(reinterpret_cast<const char*>(data), size));
    const std::optional<double> whole = ParseNumber(Widened(text));
    const double leading = LeadingNumber(Widened(text));

    // The host skips spaces and tabs only; strtod skips any white space.
    const std::string number = text.substr(std::min(text.find_first_not_of(" \t"), text.size()));
    if (!number.empty() && std::isspace(static_cast<unsigned char>(number[0]))) {
        FUZZ_CHECK(!whole && Same(leading, 0.0));
        return 0;
    }
    char* end = nullptr;
    const double reference = std::strtod(number.c_str(), &end);
    const std::string_view read(number.c_str(), static_cast<std::size_t>(end - number.c_str()));
    // Hexadecimal numbers, infinities and not-a-numbers are strtod's own forms.
    if (read.find_first_of("xXiInN") != std::string_view::npos) return 0;

    FUZZ_CHECK(Same(leading, read.empty() ? 0.0 : reference));
    const bool onlyBlanksAfter = number.find_first_not_of(" \t", read.size()) == std::string::npos;
    FUZZ_CHECK(whole.has_value() == (!read.empty() && onlyBlanksAfter));
    if (!whole) return 0;
    FUZZ_CHECK(Same(*whole, reference));
    const auto rounded = RoundToInt32(*whole);
    FUZZ_CHECK(rounded ? std::fabs(*rounded - *whole) <= 0.5 : !(std::fabs(*whole) < 2147483647.0));
    if (const auto floored = FloorToInt16(*whole)) {
        FUZZ_CHECK(*floored <= *whole && *whole < *floored + 1);
        FUZZ_CHECK(ParseNumber(SettingNumberText(*floored)) == *floored);
    }
    return 0;
}
