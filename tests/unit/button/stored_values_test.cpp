#include "stored_values.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();

TEST(StoredValues, IntegersConvertFromNumbersAndTextsWithinRange) {
    using Row = std::tuple<PropertyValue, std::int64_t, std::int64_t, std::optional<std::int64_t>>;
    for (const auto& [value, low, high, integer] :
         {Row{std::int64_t{200}, 0, 255, 200}, Row{std::int64_t{256}, 0, 255, {}},
          Row{std::int64_t{-1}, 0, 255, {}}, Row{L" 1 ", 0, 255, 1}, Row{L"-1", -1, 0, -1},
          Row{L"True", -1, 0, -1}, Row{L"false", -1, 0, 0}, Row{L"TRUE", 0, 1, {}},
          Row{L"12a", 0, 255, {}}, Row{L"", 0, 255, {}}, Row{L"-", kMin, kMax, {}},
          Row{L"+", kMin, kMax, {}}, Row{CaptionFont{}, kMin, kMax, {}},
          Row{L"+0009223372036854775807", kMin, kMax, kMax},
          Row{L"9223372036854775808", kMin, kMax, {}}, Row{L"-9223372036854775809", kMin, kMax, {}},
          Row{L"18446744073709551616", kMin, kMax, {}}}) {
        EXPECT_EQ(IntegerFrom(value, low, high), integer) << testing::PrintToString(value);
    }
    // Every integer written as text reads back, over the whole range.
    for (const std::int64_t value : {kMin, kMin + 1, -1'000'000'000'000'000'000, std::int64_t{0},
                                     999'999'999'999'999'999, 1'000'000'000'000'000'000, kMax}) {
        EXPECT_EQ(IntegerFrom(*TextFrom(value), kMin, kMax), value) << value;
    }
    EXPECT_EQ(TextFrom(std::wstring(L"x")), L"x");
    // A font given without its styles has none.
    EXPECT_EQ((CaptionFont{L"x", 9, 400, 128}),
              (CaptionFont{L"x", 9, 400, 128, false, false, false}));
    EXPECT_EQ(TextFrom(CaptionFont{}), std::nullopt);
}

TEST(StoredValues, ABagMatchesKeysWithoutCaseAndLeavesOutDefaultsAndMissingValues) {
    MemoryPropertyBag bag;
    EXPECT_EQ(ReadInteger(bag, "Visible", 1, -32768, 32767), 1);  // a missing key: the default
    EXPECT_EQ(ReadText(bag, "Caption", L"Command1"), L"Command1");
    EXPECT_EQ(ReadFont(bag, "Font", CaptionFont{L"Ambient"}), CaptionFont{L"Ambient"});
    bag.Write("caption", std::wstring(L"OK"));
    bag.Write("CAPTION", std::wstring(L"Cancel"));
    EXPECT_EQ(bag.Size(), 1u);
    EXPECT_EQ(ReadText(bag, "Caption", L"Command1"), L"Cancel");
    bag.Write("Caption", std::nullopt);
    EXPECT_EQ(bag.Read("caption"), std::nullopt);

    bag.Write("Visible", std::wstring(L"not a number"));  // a value that does not convert: none
    EXPECT_EQ(ReadInteger(bag, "Visible", 1, -32768, 32767), std::nullopt);
    bag.Write("Font", std::int64_t{3});
    EXPECT_EQ(ReadFont(bag, "Font", CaptionFont{L"Ambient"}), std::nullopt);
    bag.Write("Font", CaptionFont{L"Bold", 12, 700});
    EXPECT_EQ(ReadFont(bag, "font", CaptionFont{}), (CaptionFont{L"Bold", 12, 700}));
    EXPECT_EQ(ReadText(bag, "Font", L""), std::nullopt);

    WriteValue(bag, "FirstRun", std::int64_t{1}, std::int64_t{1});
    EXPECT_EQ(bag.Read("FirstRun"), std::nullopt);
    WriteValue(bag, "FirstRun", std::int64_t{0}, std::int64_t{1});
    EXPECT_EQ(bag.Read("firstrun"), PropertyValue(std::int64_t{0}));
    WriteValue(bag, "FirstRun", std::int64_t{1}, std::int64_t{1});  // back to its default
    EXPECT_EQ(bag.Read("FirstRun"), std::nullopt);
}

}  // namespace
