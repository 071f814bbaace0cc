#include "argument_numbers.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

std::optional<long long> ParseWholeNumber(std::string_view text, long long min, long long max,
                                          int base) {
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size() || value < min ||
        value > max) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> ParseFiniteNumber(std::string_view text) {
    // strtod would skip leading blanks; an argument with blanks is not a number.
    if (text.empty() || text.front() == ' ' || text.front() == '\t') return std::nullopt;
    const std::string copy(text);
    char* end = nullptr;
    const double value = std::strtod(copy.c_str(), &end);
    if (end != copy.c_str() + copy.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}
