#include "stored_values.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(StoredValues, MemoryBagMatchesKeysWithoutRegardToCaseAndLeavesOutEmptyValues) {
    MemoryPropertyBag bag;
    bag.Write("caption", std::wstring(L"OK"));
    EXPECT_EQ(bag.Read("Caption"), PropertyValue(std::wstring(L"OK")));
    bag.Write("CAPTION", std::wstring(L"Cancel"));
    EXPECT_EQ(bag.Size(), 1u);
    EXPECT_EQ(bag.Read("caption"), PropertyValue(std::wstring(L"Cancel")));
    bag.Write("Caption", std::nullopt);
    EXPECT_EQ(bag.Read("Caption"), std::nullopt);
    EXPECT_EQ(bag.Size(), 0u);
}

TEST(StoredValues, IntegersConvertFromNumbersAndTextsWithinRange) {
    EXPECT_EQ(IntegerFrom(std::int64_t{200}, 0, 255), 200);
    EXPECT_EQ(IntegerFrom(std::int64_t{256}, 0, 255), std::nullopt);
    EXPECT_EQ(IntegerFrom(std::wstring(L" 1 "), 0, 255), 1);
    EXPECT_EQ(IntegerFrom(std::wstring(L"-1"), -1, 0), -1);
    EXPECT_EQ(IntegerFrom(std::wstring(L"True"), -1, 0), -1);
    EXPECT_EQ(IntegerFrom(std::wstring(L"false"), -1, 0), 0);
    EXPECT_EQ(IntegerFrom(std::wstring(L"12a"), 0, 255), std::nullopt);
    EXPECT_EQ(IntegerFrom(std::wstring(L""), 0, 255), std::nullopt);
    EXPECT_EQ(IntegerFrom(std::wstring(L"99999999999999999999999"), 0, 255), std::nullopt);
    EXPECT_EQ(IntegerFrom(CaptionFont{}, 0, 255), std::nullopt);
    EXPECT_EQ(TextFrom(std::int64_t{-7}), L"-7");
    EXPECT_EQ(TextFrom(CaptionFont{}), std::nullopt);
}

TEST(StoredValues, EveryIntegerWrittenAsTextReadsBack) {
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    for (const std::int64_t value : {kMin, kMin + 1, -1'000'000'000'000'000'000, std::int64_t{0},
                                     999'999'999'999'999'999, 1'000'000'000'000'000'000, kMax}) {
        EXPECT_EQ(IntegerFrom(*TextFrom(value), kMin, kMax), value) << value;
    }
    EXPECT_EQ(IntegerFrom(std::wstring(L"+0009223372036854775807"), kMin, kMax), kMax);
    for (const wchar_t* beyond :
         {L"9223372036854775808", L"-9223372036854775809", L"18446744073709551616", L"-", L"+"}) {
        EXPECT_EQ(IntegerFrom(std::wstring(beyond), kMin, kMax), std::nullopt)
            << testing::PrintToString(std::wstring(beyond));
    }
}

TEST(StoredValues, ReadingGivesTheDefaultOnlyForMissingKeys) {
    MemoryPropertyBag bag;
    EXPECT_EQ(ReadInteger(bag, "Visible", 1, -32768, 32767), 1);
    EXPECT_EQ(ReadText(bag, "Caption", L"Command1"), L"Command1");
    bag.Write("Visible", std::wstring(L"not a number"));
    EXPECT_EQ(ReadInteger(bag, "Visible", 1, -32768, 32767), std::nullopt);
    bag.Write("Font", std::int64_t{3});
    EXPECT_EQ(ReadFont(bag, "Font", CaptionFont{L"Ambient"}), std::nullopt);
    EXPECT_EQ(ReadFont(MemoryPropertyBag{}, "Font", CaptionFont{L"Ambient"})->face, L"Ambient");
}

TEST(StoredValues, WritingLeavesOutValuesEqualToTheirDefault) {
    MemoryPropertyBag bag;
    bag.Write("FirstRun", std::int64_t{0});
    WriteValue(bag, "FirstRun", std::int64_t{1}, std::int64_t{1});
    EXPECT_EQ(bag.Read("FirstRun"), std::nullopt);
    WriteValue(bag, "FirstRun", std::int64_t{0}, std::int64_t{1});
    EXPECT_EQ(bag.Read("FirstRun"), PropertyValue(std::int64_t{0}));
}

}  // namespace
