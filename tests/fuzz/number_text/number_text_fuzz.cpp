// The host's number reading against strtod: wherever strtod reads a decimal number, the host
// reads the same value, and a whole text is a number exactly when strtod leaves only blanks.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "number_text.h"

namespace {

bool Same(double a, double b) {
    return a == b && std::signbit(a) == std::signbit(b);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // strtod reads up to a NUL; so does this comparison.
    std::string text(reinterpret_cast<const char*>(data), size);
    text.resize(text.find('\0') == std::string::npos ? text.size() : text.find('\0'));
    std::wstring wide;
    for (const char c : text) wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
    const std::optional<double> whole = ParseNumber(wide);
    const double leading = LeadingNumber(wide);

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
    if (const auto rounded = RoundToInt32(*whole)) {
        FUZZ_CHECK(std::fabs(*rounded - *whole) <= 0.5);
    } else {
        FUZZ_CHECK(!(std::fabs(*whole) < 2147483647.0));
    }
    if (const auto floored = FloorToInt16(*whole)) {
        FUZZ_CHECK(*floored <= *whole && *whole < *floored + 1);
        FUZZ_CHECK(ParseNumber(SettingNumberText(*floored)) == *floored);
    }
    return 0;
}
