#pragma once

#include <optional>
#include <string_view>

// Numbers given as command-line arguments: the whole text must be the number.

// A whole number in the given base within [min, max].
std::optional<long long> ParseWholeNumber(std::string_view text, long long min, long long max,
                                          int base = 10);

// A finite decimal number (fraction and exponent allowed).
std::optional<double> ParseFiniteNumber(std::string_view text);

// The number in single precision; nothing when it becomes infinite there, or becomes zero
// although it is not.
std::optional<float> NarrowToFloat(double value);
