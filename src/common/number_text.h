#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Numbers as the host reads them from text.

// The whole text as a decimal number: blanks, an optional sign, digits with an optional
// fraction and exponent, blanks. Anything else, or no digit at all, gives nothing.
std::optional<double> ParseNumber(std::wstring_view text);

// As much of the text as forms a number, after leading blanks; reading stops at the first
// character that cannot continue the number, and no digits give 0.
double LeadingNumber(std::wstring_view text);

// The value rounded to the nearest whole number (halves to the even one) as a 32-bit or a
// 16-bit integer; nothing when it does not fit.
std::optional<std::int32_t> RoundToInt32(double value);
std::optional<std::int16_t> RoundToInt16(double value);

// The value's integer part toward minus infinity as a 16-bit integer; nothing when it does not fit.
std::optional<std::int16_t> FloorToInt16(double value);

// The settings file's number form: one leading blank when 0 or positive, a minus sign otherwise.
std::wstring SettingNumberText(std::int16_t value);
