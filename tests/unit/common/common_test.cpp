#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

#include "argument_numbers.h"
#include "cp932.h"
#include "number_text.h"

namespace {

using std::nullopt;
using testing::PrintToString;

TEST(ArgumentNumbers, AcceptOnlyABareFiniteNumberInRangeThatSurvivesNarrowing) {
    using Whole = std::pair<const char*, std::optional<long long>>;
    // clang-format off
    for (const auto& [text, value] : {Whole{"0", 0}, Whole{"100", 100}, Whole{"", {}}, Whole{" 1", {}}, Whole{"1 ", {}}, Whole{"+1", {}},
                                      Whole{"1.0", {}}, Whole{"12x", {}}, Whole{"0x10", {}}, Whole{"101", {}}, Whole{"-1", {}},
                                      Whole{"99999999999999999999", {}}}) {
        EXPECT_EQ(ParseWholeNumber(text, 0, 100), value) << text;
    }
    EXPECT_EQ(ParseWholeNumber("1c00007", 1, 1LL << 40, 16), 0x1c00007);
    // Any leading white space, even the kinds strtod skips silently, is refused.
    using Finite = std::pair<const char*, std::optional<double>>;
    for (const auto& [text, value] :
         {Finite{"0.015625", 0.015625}, Finite{"+3600", 3600}, Finite{"-2.5e-1", -0.25}, Finite{".5", 0.5}, Finite{"", {}},
          Finite{" 1", {}}, Finite{"\t1", {}}, Finite{"\n1", {}}, Finite{"\v1", {}}, Finite{"\f1", {}}, Finite{"\r1", {}},
          Finite{"\v\n1", {}}, Finite{"1 ", {}}, Finite{"nan", {}}, Finite{"inf", {}}, Finite{"1e999", {}}, Finite{"0.5s", {}},
          Finite{"--1", {}}}) {
        EXPECT_EQ(ParseFiniteNumber(text), value) << PrintToString(text);
    }
    // 1e-40 is subnormal in single precision, but not zero.
    for (const auto& [value, narrow] : {std::pair(0.015625, std::optional(0.015625f)), std::pair(0.0, std::optional(0.0f)),
                                        std::pair(1e-40, std::optional(static_cast<float>(1e-40))), std::pair(1e-50, std::optional<float>()),
                                        std::pair(-1e-50, std::optional<float>()), std::pair(1e39, std::optional<float>()),
                                        std::pair(-1e39, std::optional<float>())}) {
        // clang-format on
        EXPECT_EQ(NarrowToFloat(value), narrow) << value;
    }
}

TEST(Cp932, ConvertsBothWaysByteForByteAndReplacesWhatDoesNotConvert) {
    // The renderer's title and a settings key are contracts with other programs; half-width
    // katakana are single bytes; the long text fills the conversion buffer many times over.
    std::string longBytes;
    for (int i = 0; i < 5000; ++i) longBytes += "\x82\xA0";
    using Row = std::pair<std::wstring, std::string>;
    // clang-format off
    for (const auto& [text, bytes] :
         {Row{L"Torvane\u2161VC", "Torvane\x87\x55VC"}, Row{L"BGM\u533A\u5206", "BGM\x8B\xE6\x95\xAA"},
          Row{L"\uFF98\uFF8B\uFF9F\uFF70\uFF84", "\xD8\xCB\xDF\xB0\xC4"}, Row{L"", ""}, Row{std::wstring(5000, L'\u3042'), longBytes}}) {
        // clang-format on
        EXPECT_EQ(std::tuple(ToCp932(text), FromCp932(bytes)), std::tuple(bytes, text));
    }
    EXPECT_EQ(ToCp932(L"a\u00E9b\U0001F600c"), "a?b?c");  // no code page 932 form
    EXPECT_EQ(FromCp932("x\xA0y"), L"x\uFFFDy");          // not a character
    EXPECT_EQ(FromCp932("x\x81"), L"x\uFFFD");            // a lead byte with no trail
}

TEST(NumberText, ReadsAWholeTextStrictlyALeadingNumberLenientlyAndOutOfRangeAsZeroOrInfinity) {
    const double inf = std::numeric_limits<double>::infinity();
    const std::wstring zeros(1000, L'0');  // padding moves the first significant digit only
    // The text, what ParseNumber makes of it, what LeadingNumber makes of it; both read a number
    // beyond double as signed zero or infinity.
    using Row = std::tuple<std::wstring, std::optional<double>, double>;
    // clang-format off
    for (const auto& [text, whole, leading] :
         {Row{L"2.7", 2.7, 2.7}, Row{L"  -0.5\t", -0.5, -0.5}, Row{L"+5", 5, 5}, Row{L"1e3", 1000, 1000}, Row{L"1E+2", 100, 100},
          Row{L".5", 0.5, 0.5}, Row{L"7.", 7, 7}, Row{L"", {}, 0}, Row{L" ", {}, 0}, Row{L"abc", {}, 0}, Row{L".", {}, 0}, Row{L"-", {}, 0},
          Row{L"1e", {}, 1}, Row{L"2e-", {}, 2}, Row{L"5 6", {}, 5}, Row{L"12abc", {}, 12}, Row{L"0x10", {}, 0},
          Row{L" \t4711 trailing", {}, 4711}, Row{L"3.5e1x", {}, 35}, Row{L"-12abc", {}, -12}, Row{L"\n1", {}, 0},
          Row{L"9E-99994", 0.0, 0.0}, Row{L"-1e-400", -0.0, -0.0}, Row{L"0.00001e-320", 0.0, 0.0}, Row{L"1e-310", 1e-310, 1e-310},
          Row{L"-1e-99999999999999999999999", -0.0, -0.0}, Row{L"1e99999999999999999999999", inf, inf}, Row{L"1e400", inf, inf},
          Row{L"-1e309", -inf, -inf}, Row{L"100000e304", inf, inf}, Row{L"0.001e312", inf, inf}, Row{zeros + L".1e400", inf, inf},
          Row{zeros + L"1e-700", 0.0, 0.0}, Row{L"0." + zeros + L"1e310", 0.0, 0.0},
          Row{L"0." + std::wstring(10999, L'0') + L"1e9999", 0.0, 0.0}}) {
        // clang-format on
        const std::optional<double> parsed = ParseNumber(text);
        const double read = LeadingNumber(text + L"x");
        EXPECT_EQ(
            std::tuple(parsed, LeadingNumber(text), std::signbit(parsed.value_or(0)),
                       std::signbit(read)),
            std::tuple(whole, leading, std::signbit(whole.value_or(0)), std::signbit(leading)))
            << PrintToString(text);
    }
}

TEST(NumberText, RoundsHalvesToEvenFloorsDownAndRejectsWhatDoesNotFit) {
    // The value, rounded to 16 bits, floored to 16 bits.
    using Row = std::tuple<double, std::optional<std::int16_t>, std::optional<std::int16_t>>;
    // clang-format off
    for (const auto& [value, rounded, floored] : {Row{2.5, 2, 2}, Row{3.5, 4, 3}, Row{-2.5, -2, -3}, Row{-0.5, 0, -1},
                                                  Row{32767.4, 32767, 32767}, Row{32767.5, {}, 32767}, Row{-32768.5, -32768, {}},
                                                  Row{40000, {}, {}}}) {
        // clang-format on
        EXPECT_EQ(std::tuple(value, RoundToInt16(value), FloorToInt16(value)),
                  std::tuple(value, rounded, floored));
    }
    EXPECT_EQ(std::tuple(RoundToInt32(-2147483648.0), RoundToInt32(2147483647.0),
                         RoundToInt32(2147483648.0)),
              std::tuple(-2147483647 - 1, 2147483647, nullopt));
    EXPECT_EQ(std::tuple(SettingNumberText(0), SettingNumberText(-32768)),
              std::tuple(L" 0", L"-32768"));
}

}  // namespace
