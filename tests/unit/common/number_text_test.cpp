#include "number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

namespace {

TEST(NumberText, ReadsAWholeTextStrictlyAndALeadingNumberLeniently) {
    // The text, what ParseNumber makes of it, what LeadingNumber makes of it.
    using Row = std::tuple<const wchar_t*, std::optional<double>, double>;
    for (const auto& [text, whole, leading] :
         {Row{L"2.7", 2.7, 2.7},  Row{L"  -0.5\t", -0.5, -0.5},
          Row{L"+5", 5, 5},       Row{L"1e3", 1000, 1000},
          Row{L"1E+2", 100, 100}, Row{L".5", 0.5, 0.5},
          Row{L"7.", 7, 7},       Row{L"", {}, 0},
          Row{L" ", {}, 0},       Row{L"abc", {}, 0},
          Row{L".", {}, 0},       Row{L"-", {}, 0},
          Row{L"1e", {}, 1},      Row{L"2e-", {}, 2},
          Row{L"5 6", {}, 5},     Row{L"12abc", {}, 12},
          Row{L"0x10", {}, 0},    Row{L" \t4711 trailing", {}, 4711},
          Row{L"3.5e1x", {}, 35}, Row{L"-12abc", {}, -12},
          Row{L"\n1", {}, 0}}) {
        EXPECT_EQ(ParseNumber(text), whole) << testing::PrintToString(std::wstring(text));
        EXPECT_EQ(LeadingNumber(text), leading) << testing::PrintToString(std::wstring(text));
    }
}

TEST(NumberText, NumbersBeyondDoubleUnderflowToSignedZeroAndOverflowToInfinity) {
    const double inf = std::numeric_limits<double>::infinity();
    const std::wstring zeros(1000, L'0');  // padding moves the first significant digit only
    using Row = std::pair<std::wstring, double>;
    for (const auto& [text, expected] :
         {Row{L"9E-99994", 0.0}, Row{L"-1e-400", -0.0}, Row{L"0.00001e-320", 0.0},
          Row{L"1e-310", 1e-310}, Row{L"-1e-99999999999999999999999", -0.0},
          Row{L"1e99999999999999999999999", inf}, Row{L"1e400", inf}, Row{L"-1e309", -inf},
          Row{L"100000e304", inf}, Row{L"0.001e312", inf}, Row{zeros + L".1e400", inf},
          Row{zeros + L"1e-700", 0.0}, Row{L"0." + zeros + L"1e310", 0.0},
          Row{L"0." + std::wstring(10999, L'0') + L"1e9999", 0.0}}) {
        for (const auto read : {ParseNumber(text).value_or(42), LeadingNumber(text + L"x")}) {
            EXPECT_EQ(read, expected) << testing::PrintToString(text);
            EXPECT_EQ(std::signbit(read), std::signbit(expected)) << testing::PrintToString(text);
        }
    }
}

TEST(NumberText, RoundsHalvesToEvenFloorsDownAndRejectsWhatDoesNotFit) {
    // The value, rounded to 16 bits, floored to 16 bits.
    using Row = std::tuple<double, std::optional<std::int16_t>, std::optional<std::int16_t>>;
    for (const auto& [value, rounded, floored] :
         {Row{2.5, 2, 2}, Row{3.5, 4, 3}, Row{-2.5, -2, -3}, Row{-0.5, 0, -1},
          Row{32767.4, 32767, 32767}, Row{32767.5, {}, 32767}, Row{-32768.5, -32768, {}},
          Row{40000, {}, {}}}) {
        EXPECT_EQ(RoundToInt16(value), rounded) << value;
        EXPECT_EQ(FloorToInt16(value), floored) << value;
    }
    EXPECT_EQ(RoundToInt32(-2147483648.0), -2147483647 - 1);
    EXPECT_EQ(RoundToInt32(2147483647.0), 2147483647);
    EXPECT_EQ(RoundToInt32(2147483648.0), std::nullopt);
    EXPECT_EQ(SettingNumberText(0), L" 0");  // the settings file's form
    EXPECT_EQ(SettingNumberText(-32768), L"-32768");
}

}  // namespace
