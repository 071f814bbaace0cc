#include "argument_numbers.h"

#include <gtest/gtest.h>

namespace {

TEST(ArgumentNumbers, AcceptOnlyABareNumberInRange) {
    EXPECT_EQ(ParseWholeNumber("42", 0, 100), 42);
    EXPECT_EQ(ParseWholeNumber("100", 0, 100), 100);
    EXPECT_EQ(ParseWholeNumber("1c00007", 1, 1LL << 40, 16), 0x1c00007);
    for (const char* bad :
         {"", " 1", "1 ", "+1", "1.0", "12x", "0x10", "101", "-1", "99999999999999999999"}) {
        EXPECT_FALSE(ParseWholeNumber(bad, 0, 100)) << bad;
    }
    EXPECT_EQ(ParseFiniteNumber("0.015625"), 0.015625);
    EXPECT_EQ(ParseFiniteNumber("+3600"), 3600.0);
    EXPECT_EQ(ParseFiniteNumber("-2.5e-1"), -0.25);
    EXPECT_EQ(ParseFiniteNumber(".5"), 0.5);
    // Any leading white space, even the kinds strtod skips silently, is refused.
    for (const char* bad : {"", " 1", "\t1", "\n1", "\v1", "\f1", "\r1", "\v\n1", "1 ", "nan",
                            "inf", "1e999", "0.5s", "--1"}) {
        EXPECT_FALSE(ParseFiniteNumber(bad)) << testing::PrintToString(bad);
    }
}

TEST(ArgumentNumbers, NarrowingToFloatRefusesWhatBecomesZeroOrInfinite) {
    EXPECT_EQ(NarrowToFloat(0.015625), 0.015625f);
    EXPECT_EQ(NarrowToFloat(0.0), 0.0f);
    EXPECT_EQ(NarrowToFloat(1e-40), static_cast<float>(1e-40));  // subnormal, but not zero
    for (const double lost : {1e-50, -1e-50, 1e39, -1e39}) EXPECT_FALSE(NarrowToFloat(lost));
}

}  // namespace
