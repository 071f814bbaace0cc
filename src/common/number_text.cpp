#include "number_text.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}
bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

size_t SkipDigits(std::wstring_view text, size_t at) {
    while (at < text.size() && IsDigit(text[at])) ++at;
    return at;
}

// The length of the number at the start of `text` (sign, digits, fraction, exponent), 0 when
// there is none; an exponent marker without digits is not part of the number.
size_t NumberLength(std::wstring_view text) {
    size_t at = 0;
    if (at < text.size() && (text[at] == L'+' || text[at] == L'-')) ++at;
    const size_t integerStart = at;
    at = SkipDigits(text, at);
    size_t digits = at - integerStart;
    if (at < text.size() && text[at] == L'.') {
        const size_t fractionStart = at + 1;
        const size_t fractionEnd = SkipDigits(text, fractionStart);
        digits += fractionEnd - fractionStart;
        at = fractionEnd;
    }
    if (digits == 0) return 0;
    if (at < text.size() && (text[at] == L'e' || text[at] == L'E')) {
        size_t exponent = at + 1;
        if (exponent < text.size() && (text[exponent] == L'+' || text[exponent] == L'-'))
            ++exponent;
        const size_t exponentEnd = SkipDigits(text, exponent);
        if (exponentEnd > exponent) at = exponentEnd;
    }
    return at;
}

// Converts a number that NumberLength accepted.
double ValueOf(std::wstring_view number) {
    std::string narrow;
    for (const wchar_t c : number) {
        if (c != L'+') narrow += static_cast<char>(c);
    }
    double value = 0.0;
    const auto result = std::from_chars(narrow.data(), narrow.data() + narrow.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        return narrow.front() == '-' ? -std::numeric_limits<double>::infinity()
                                     : std::numeric_limits<double>::infinity();
    }
    return value;
}

size_t SkipBlanks(std::wstring_view text, size_t at) {
    while (at < text.size() && IsBlank(text[at])) ++at;
    return at;
}

template <typename Integer>
std::optional<Integer> Fitting(double whole) {
    if (!(whole >= std::numeric_limits<Integer>::min() &&
          whole <= std::numeric_limits<Integer>::max())) {
        return std::nullopt;
    }
    return static_cast<Integer>(whole);
}

}  // namespace

std::optional<double> ParseNumber(std::wstring_view text) {
    const size_t start = SkipBlanks(text, 0);
    const size_t length = NumberLength(text.substr(start));
    if (length == 0 || SkipBlanks(text, start + length) != text.size()) return std::nullopt;
    return ValueOf(text.substr(start, length));
}

double LeadingNumber(std::wstring_view text) {
    const size_t start = SkipBlanks(text, 0);
    const size_t length = NumberLength(text.substr(start));
    return length == 0 ? 0.0 : ValueOf(text.substr(start, length));
}

std::optional<std::int32_t> RoundToInt32(double value) {
    return Fitting<std::int32_t>(std::nearbyint(value));
}

std::optional<std::int16_t> RoundToInt16(double value) {
    return Fitting<std::int16_t>(std::nearbyint(value));
}

std::optional<std::int16_t> FloorToInt16(double value) {
    return Fitting<std::int16_t>(std::floor(value));
}

std::wstring SettingNumberText(std::int16_t value) {
    return value < 0 ? std::to_wstring(value) : L" " + std::to_wstring(value);
}
