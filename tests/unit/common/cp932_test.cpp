#include "cp932.h"

#include <gtest/gtest.h>

namespace {

std::string Bytes(std::initializer_list<unsigned char> values) {
    return std::string(values.begin(), values.end());
}

TEST(Cp932, ConvertsTheTextsOtherProgramsReadByteForByte) {
    // The renderer's title, the settings keys: their bytes are contracts with other programs.
    EXPECT_EQ(ToCp932(L"Torvane\u2161VC"),
              Bytes({0x54, 0x6F, 0x72, 0x76, 0x61, 0x6E, 0x65, 0x87, 0x55, 0x56, 0x43}));
    EXPECT_EQ(ToCp932(L"BGM\u533A\u5206"), Bytes({0x42, 0x47, 0x4D, 0x8B, 0xE6, 0x95, 0xAA}));
    // Half-width katakana are single bytes.
    EXPECT_EQ(ToCp932(L"\uFF98\uFF8B\uFF9F\uFF70\uFF84"), Bytes({0xD8, 0xCB, 0xDF, 0xB0, 0xC4}));
    EXPECT_EQ(ToCp932(L""), "");
}

TEST(Cp932, RoundTripsJapaneseTextAndLongInput) {
    const std::wstring path = L"C:\\\u97F3\u697D\\\u66F2 01.mp3";
    EXPECT_EQ(FromCp932(ToCp932(path)), path);
    const std::wstring longText(5000, L'\u3042');  // longer than one conversion buffer
    EXPECT_EQ(ToCp932(longText).size(), 10000u);
    EXPECT_EQ(FromCp932(ToCp932(longText)), longText);
}

TEST(Cp932, ReplacesWhatTheCodePageCannotHold) {
    EXPECT_EQ(ToCp932(L"a\u00E9b"), "a?b");  // e-acute has no code page 932 form
    const std::wstring decoded = FromCp932(Bytes({'x', 0x81}));  // a lead byte with no trail
    ASSERT_FALSE(decoded.empty());
    EXPECT_EQ(decoded.front(), L'x');
    EXPECT_EQ(decoded.back(), L'\uFFFD');
}

}  // namespace
