#include "argument_numbers.h"

#include <cctype>
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
    // strtod would skip leading white space; an argument must begin as a number begins.
    if (text.empty() || !(std::isdigit(static_cast<unsigned char>(text.front())) ||
                          text.front() == '+' || text.front() == '-' || text.front() == '.')) {
        return std::nullopt;
    }
    const std::string copy(text);
    char* end = nullptr;
    const double value = std::strtod(copy.c_str(), &end);
    if (end != copy.c_str() + copy.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<float> NarrowToFloat(double value) {
    const auto narrow = static_cast<float>(value);
    if (!std::isfinite(narrow) || (narrow == 0.0f && value != 0.0)) return std::nullopt;
    return narrow;
}
