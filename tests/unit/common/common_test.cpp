#include <cmath>
#include <cstdint>
#include <limits>
#include <tuple>

#include "argument_numbers.h"
#include "cp932.h"
#include "expect_rows.h"
#include "number_text.h"

namespace {

// clang-format off
TEST(ArgumentNumbers, AcceptOnlyABareFiniteNumberInRangeThatSurvivesNarrowing) {
    ExpectRows<const char*, std::optional<long long>>([](const char* text) { return ParseWholeNumber(text, 0, 100); },
        {{"0", 0}, {"100", 100}, {"", {}}, {" 1", {}}, {"1 ", {}}, {"+1", {}}, {"1.0", {}}, {"12x", {}}, {"0x10", {}}, {"101", {}},
         {"-1", {}}, {"99999999999999999999", {}}});
    EXPECT_EQ(ParseWholeNumber("1c00007", 1, 1LL << 40, 16), 0x1c00007);
    // Any leading white space, even the kinds strtod skips silently, is refused.
    ExpectRows<const char*, std::optional<double>>(ParseFiniteNumber,
        {{"0.015625", 0.015625}, {"+3600", 3600}, {"-2.5e-1", -0.25}, {".5", 0.5}, {"", {}}, {" 1", {}}, {"\t1", {}}, {"\n1", {}},
         {"\v1", {}}, {"\f1", {}}, {"\r1", {}}, {"\v\n1", {}}, {"1 ", {}}, {"nan", {}}, {"inf", {}}, {"1e999", {}}, {"0.5s", {}},
         {"--1", {}}});
    // 1e-40 is subnormal in single precision, but not zero.
    ExpectRows<double, std::optional<float>>(NarrowToFloat, {{0.015625, 0.015625f}, {0.0, 0.0f},
        {1e-40, static_cast<float>(1e-40)}, {1e-50, {}}, {-1e-50, {}}, {1e39, {}}, {-1e39, {}}});
}

TEST(Cp932, ConvertsBothWaysByteForByteAndReplacesWhatDoesNotConvert) {
    // The renderer's title and a settings key are contracts with other programs; half-width
    // katakana are single bytes; the long text fills the conversion buffer many times over.
    std::string longBytes;
    for (int i = 0; i < 5000; ++i) longBytes += "\x82\xA0";
    for (const auto& [text, bytes] : std::initializer_list<std::pair<std::wstring, std::string>>{
             {L"Torvane\u2161VC", "Torvane\x87\x55VC"}, {L"BGM\u533A\u5206", "BGM\x8B\xE6\x95\xAA"}, {L"", ""},
             {L"\uFF98\uFF8B\uFF9F\uFF70\uFF84", "\xD8\xCB\xDF\xB0\xC4"}, {std::wstring(5000, L'\u3042'), longBytes}}) {
        EXPECT_EQ(std::pair(ToCp932(text), FromCp932(bytes)), std::pair(bytes, text));
    }
    // Text with no code page 932 form; bytes that are no character; a lead byte with no trail.
    EXPECT_EQ(std::tuple(ToCp932(L"a\u00E9b\U0001F600c"), FromCp932("x\xA0y"), FromCp932("x\x81")),
              std::tuple("a?b?c", L"x\uFFFDy", L"x\uFFFD"));
}

TEST(NumberText, ReadsAWholeTextStrictlyALeadingNumberLenientlyAndFitsWholeNumbersByRoundingOrFlooring) {
    const double inf = std::numeric_limits<double>::infinity();
    const std::wstring zeros(1000, L'0');  // padding moves the first significant digit only
    // What ParseNumber (42: nothing) and LeadingNumber make of a text, with their signs: a number
    // beyond double reads as signed zero or infinity.
    for (const auto& [text, whole, leading] : std::initializer_list<std::tuple<std::wstring, double, double>>{
        {L"2.7", 2.7, 2.7}, {L"  -0.5\t", -0.5, -0.5}, {L"+5", 5, 5}, {L"1e3", 1000, 1000}, {L"1E+2", 100, 100}, {L".5", 0.5, 0.5},
        {L"7.", 7, 7}, {L"", 42, 0}, {L" ", 42, 0}, {L"abc", 42, 0}, {L".", 42, 0}, {L"-", 42, 0}, {L"1e", 42, 1}, {L"2e-", 42, 2},
        {L"5 6", 42, 5}, {L"12abc", 42, 12}, {L"0x10", 42, 0}, {L" \t4711 trailing", 42, 4711}, {L"3.5e1x", 42, 35},
        {L"-12abc", 42, -12}, {L"\n1", 42, 0}, {L"9E-99994", 0.0, 0.0}, {L"-1e-400", -0.0, -0.0}, {L"0.00001e-320", 0.0, 0.0},
        {L"1e-310", 1e-310, 1e-310}, {L"-1e-99999999999999999999999", -0.0, -0.0}, {L"1e99999999999999999999999", inf, inf},
        {L"1e400", inf, inf}, {L"-1e309", -inf, -inf}, {L"100000e304", inf, inf}, {L"0.001e312", inf, inf},
        {zeros + L".1e400", inf, inf}, {zeros + L"1e-700", 0.0, 0.0}, {L"0." + zeros + L"1e310", 0.0, 0.0},
        {L"0." + std::wstring(10999, L'0') + L"1e9999", 0.0, 0.0}}) {
        const double gotWhole = ParseNumber(text).value_or(42), gotLeading = LeadingNumber(text + L"x");
        EXPECT_EQ(std::tuple(gotWhole, std::signbit(gotWhole), gotLeading, std::signbit(gotLeading)),
                  std::tuple(whole, std::signbit(whole), leading, std::signbit(leading))) << text.substr(0, 40);
    }
    using Int16 = std::optional<std::int16_t>;
    ExpectRows<double, std::pair<Int16, Int16>>([](double value) { return std::pair(RoundToInt16(value), FloorToInt16(value)); },
        {{2.5, {2, 2}}, {3.5, {4, 3}}, {-2.5, {-2, -3}}, {-0.5, {0, -1}}, {32767.4, {32767, 32767}}, {32767.5, {{}, 32767}},
         {-32768.5, {-32768, {}}}, {40000, {{}, {}}}});
    ExpectRows<double, std::optional<int>>(RoundToInt32, {{-2147483648.0, INT32_MIN}, {2147483647.0, 2147483647}, {2147483648.0, {}}});
    EXPECT_EQ(std::tuple(SettingNumberText(0), SettingNumberText(-32768)), std::tuple(L" 0", L"-32768"));
}
// clang-format on

}  // namespace
