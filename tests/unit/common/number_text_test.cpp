#include "number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace {

TEST(NumberText, ParsesOnlyWholeDecimalNumbers) {
    EXPECT_EQ(ParseNumber(L"2.7"), 2.7);
    EXPECT_EQ(ParseNumber(L"  -0.5\t"), -0.5);
    EXPECT_EQ(ParseNumber(L"+5"), 5.0);
    EXPECT_EQ(ParseNumber(L"1e3"), 1000.0);
    EXPECT_EQ(ParseNumber(L".5"), 0.5);
    EXPECT_EQ(ParseNumber(L"7."), 7.0);
    for (const wchar_t* text : {L"", L" ", L"abc", L".", L"-", L"1e", L"5 6", L"12abc", L"0x10"}) {
        EXPECT_EQ(ParseNumber(text), std::nullopt)
            << "text: " << testing::PrintToString(std::wstring(text));
    }
}

TEST(NumberText, ReadsTheLeadingNumberLeniently) {
    EXPECT_EQ(LeadingNumber(L"4711"), 4711.0);
    EXPECT_EQ(LeadingNumber(L"   4711 trailing"), 4711.0);
    EXPECT_EQ(LeadingNumber(L"-12abc"), -12.0);
    EXPECT_EQ(LeadingNumber(L"3.5e1x"), 35.0);
    EXPECT_EQ(LeadingNumber(L"xyz"), 0.0);
    EXPECT_EQ(LeadingNumber(L""), 0.0);
}

TEST(NumberText, NumbersBeyondDoubleUnderflowToSignedZeroAndOverflowToInfinity) {
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<std::pair<std::wstring, double>> cases = {
        {L"9E-99994", 0.0},
        {L"-1e-400", -0.0},
        {L"0.00001e-320", 0.0},
        {L"-1e-99999999999999999999999", -0.0},
        {L"1e-310", 1e-310},
        {L"1e400", inf},
        {L"-1e309", -inf},
        {L"100000e304", inf},
        {L"0.001e312", inf},
        {L"1e99999999999999999999999", inf},
        // Padding with zeros moves the first significant digit, not the number.
        {std::wstring(1000, L'0') + L".1e400", inf},
        {std::wstring(1000, L'0') + L"1e-700", 0.0},
        {L"0." + std::wstring(400, L'0') + L"1e10", 0.0},
    };
    for (const auto& [text, expected] : cases) {
        for (const auto read : {ParseNumber(text).value_or(42), LeadingNumber(text + L"x")}) {
            EXPECT_EQ(read, expected) << testing::PrintToString(text);
            EXPECT_EQ(std::signbit(read), std::signbit(expected)) << testing::PrintToString(text);
        }
    }
}

TEST(NumberText, RoundsHalvesToEvenAndRejectsWhatDoesNotFit) {
    EXPECT_EQ(RoundToInt16(2.5), 2);
    EXPECT_EQ(RoundToInt16(3.5), 4);
    EXPECT_EQ(RoundToInt16(-2.5), -2);
    EXPECT_EQ(RoundToInt16(32767.4), 32767);
    EXPECT_EQ(RoundToInt16(32767.5), std::nullopt);
    EXPECT_EQ(RoundToInt16(-32768.5), -32768);
    EXPECT_EQ(RoundToInt32(2147483647.0), 2147483647);
    EXPECT_EQ(RoundToInt32(2147483648.0), std::nullopt);
    EXPECT_EQ(RoundToInt32(1e300), std::nullopt);
}

TEST(NumberText, FloorsTowardMinusInfinity) {
    EXPECT_EQ(FloorToInt16(2.7), 2);
    EXPECT_EQ(FloorToInt16(-0.5), -1);
    EXPECT_EQ(FloorToInt16(32767.9), 32767);
    EXPECT_EQ(FloorToInt16(-32768.1), std::nullopt);
    EXPECT_EQ(FloorToInt16(40000), std::nullopt);
}

TEST(NumberText, WritesTheSettingsNumberForm) {
    EXPECT_EQ(SettingNumberText(2), L" 2");
    EXPECT_EQ(SettingNumberText(0), L" 0");
    EXPECT_EQ(SettingNumberText(-1), L"-1");
    EXPECT_EQ(SettingNumberText(-32768), L"-32768");
}

}  // namespace
