#include "number_text.h"

#include <algorithm>
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

// The power of ten of the first significant digit of a number that NumberLength accepted and
// that is not zero: 2 for "123.4", -3 for "0.001", -400 for "1e-400". An exponent too long to
// count is held at a size no text can make up for with its digits.
long long LeadingPowerOfTen(std::string_view number) {
    constexpr long long kHeld = 1LL << 58;
    const size_t marker = number.find_first_of("eE");
    long long exponent = 0;
    if (marker != std::string_view::npos) {
        size_t at = marker + 1;
        const bool negative = number[at] == '-';
        if (number[at] == '-' || number[at] == '+') ++at;
        for (; at < number.size() && exponent < kHeld; ++at) {
            exponent = exponent * 10 + (number[at] - '0');
        }
        if (negative) exponent = -exponent;
    }
    const std::string_view mantissa = number.substr(0, marker);
    const size_t point = std::min(mantissa.find('.'), mantissa.size());
    const size_t first = mantissa.find_first_of("123456789");
    const long long position = first < point ? static_cast<long long>(point - first) - 1
                                             : -static_cast<long long>(first - point);
    return position + exponent;
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
        // from_chars says the same for a number too small for a double as for one too large.
        const double magnitude =
            LeadingPowerOfTen(narrow) < 0 ? 0.0 : std::numeric_limits<double>::infinity();
        return narrow.front() == '-' ? -magnitude : magnitude;
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
