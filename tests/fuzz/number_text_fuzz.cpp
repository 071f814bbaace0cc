// The host's number reading against strtod: wherever strtod reads a decimal number, the host reads
// the same value, and a whole text is a number exactly when strtod leaves only blanks after it.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>

#include "fuzz_support.h"
#include "number_text.h"

static bool Same(double a, double b) {
    return a == b && std::signbit(a) == std::signbit(b);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const char* bytes = reinterpret_cast<const char*>(data);
    const std::string text(bytes, strnlen(bytes, size));  // strtod reads up to a NUL
    // The host skips spaces and tabs only; strtod skips any white space.
    const std::string number = text.substr(std::min(text.find_first_not_of(" \t"), text.size()));
    const bool otherSpace = !number.empty() && std::isspace(static_cast<unsigned char>(number[0]));
    char* end = nullptr;
    const double reference = otherSpace ? 0.0 : std::strtod(number.c_str(), &end);
    const std::string_view read(number.c_str(), otherSpace ? 0 : end - number.c_str());
    // Hexadecimal numbers, infinities and not-a-numbers are strtod's own forms.
    if (read.find_first_of("xXiInN") != read.npos) return 0;
    const std::optional<double> whole = ParseNumber(Widened(text));
    FUZZ_CHECK(Same(LeadingNumber(Widened(text)), read.empty() ? 0.0 : reference));
    FUZZ_CHECK(whole.has_value() ==
               (!read.empty() && number.find_first_not_of(" \t", read.size()) == number.npos));
    FUZZ_CHECK(!whole || Same(*whole, reference));
    return 0;
}
