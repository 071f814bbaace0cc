#include "argument_numbers.h"

#include <gtest/gtest.h>

namespace {

TEST(ArgumentNumbers, WholeNumbersMustFillTheTextAndTheRange) {
    EXPECT_EQ(ParseWholeNumber("42", 0, 100), 42);
    EXPECT_EQ(ParseWholeNumber("1c00007", 1, 1LL << 40, 16), 0x1c00007);
    for (const char* bad : {"", " 1", "1 ", "+1", "1.0", "12x", "0x10"}) {
        EXPECT_FALSE(ParseWholeNumber(bad, 0, 100)) << bad;
    }
    EXPECT_FALSE(ParseWholeNumber("101", 0, 100));
    EXPECT_FALSE(ParseWholeNumber("-1", 0, 100));
    EXPECT_FALSE(ParseWholeNumber("99999999999999999999", 0, 100));  // overflows long long
}

TEST(ArgumentNumbers, FiniteNumbersRefuseBlanksInfinitiesAndTrailingText) {
    EXPECT_EQ(ParseFiniteNumber("0.015625"), 0.015625);
    EXPECT_EQ(ParseFiniteNumber("3600"), 3600.0);
    EXPECT_EQ(ParseFiniteNumber("-2.5e-1"), -0.25);
    for (const char* bad : {"", " 1", "1 ", "nan", "inf", "1e999", "0.5s", "--1"}) {
        EXPECT_FALSE(ParseFiniteNumber(bad)) << bad;
    }
}

}  // namespace
