#include <limits>

#include "../common/expect_rows.h"
#include "face_painting.h"
#include "stored_values.h"

namespace {

constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
using Range = std::tuple<PropertyValue, std::int64_t, std::int64_t>;

// clang-format off
TEST(StoredValues, IntegersConvertWithinRangeReadBackFromTextAndABagLeavesOutDefaultsAndMissingValues) {
    ExpectRows<Range, std::optional<std::int64_t>>([](const Range& r) { return std::apply(IntegerFrom, r); },
        {{{std::int64_t{200}, 0, 255}, 200}, {{std::int64_t{256}, 0, 255}, {}}, {{std::int64_t{-1}, 0, 255}, {}}, {{L" 1 ", 0, 255}, 1},
         {{L"-1", -1, 0}, -1}, {{L"True", -1, 0}, -1}, {{L"false", -1, 0}, 0}, {{L"TRUE", 0, 1}, {}}, {{L"12a", 0, 255}, {}},
         {{L"", 0, 255}, {}}, {{L"-", kMin, kMax}, {}}, {{L"+", kMin, kMax}, {}}, {{CaptionFont{}, kMin, kMax}, {}},
         {{L"+0009223372036854775807", kMin, kMax}, kMax}, {{L"9223372036854775808", kMin, kMax}, {}},
         {{L"-9223372036854775809", kMin, kMax}, {}}, {{L"18446744073709551616", kMin, kMax}, {}}});
    for (const std::int64_t value : {kMin, -1'000'000'000'000'000'000, 999'999'999'999'999'999, 1'000'000'000'000'000'000, kMax}) {
        EXPECT_EQ(IntegerFrom(*TextFrom(value), kMin, kMax), value) << value;
    }
    EXPECT_EQ(std::tuple(TextFrom(std::wstring(L"x")), TextFrom(CaptionFont{})), std::tuple(L"x", std::nullopt));
    EXPECT_EQ((CaptionFont{L"x", 9, 400, 128}), (CaptionFont{L"x", 9, 400, 128, false, false, false}));  // no styles given: none
    MemoryPropertyBag bag;
    const auto read = [&] {  // a missing key reads as the default, a value that does not convert as none
        return std::tuple(ReadInteger(bag, "Visible", 1, -32768, 32767), ReadText(bag, "Caption", L"Command1"),
                          ReadFont(bag, "font", CaptionFont{L"Ambient"}), ReadText(bag, "Font", L""), bag.Size());
    };
    EXPECT_EQ(read(), std::tuple(1, L"Command1", CaptionFont{L"Ambient"}, L"", 0u));
    bag.Write("caption", std::wstring(L"OK"));
    bag.Write("CAPTION", std::wstring(L"Cancel"));
    bag.Write("Visible", std::wstring(L"not a number"));
    bag.Write("Font", std::int64_t{3});
    EXPECT_EQ(read(), std::tuple(std::nullopt, L"Cancel", std::nullopt, L"3", 3u));
    bag.Write("Caption", std::nullopt);
    bag.Write("Font", CaptionFont{L"Bold", 12, 700});
    EXPECT_EQ(read(), std::tuple(std::nullopt, L"Command1", CaptionFont{L"Bold", 12, 700}, std::nullopt, 2u));
    for (const auto& [value, stored] : {std::pair(1, false), std::pair(0, true), std::pair(1, false)}) {
        WriteValue(bag, "FirstRun", std::int64_t{value}, std::int64_t{1});  // the default is left out
        EXPECT_EQ(bag.Read("firstrun"), stored ? std::optional(PropertyValue(std::int64_t{value})) : std::nullopt);
    }
}

TEST(FacePlan, TheFrameStretchesTheSkinsEdgesTheCaptionSitsAboveTheMiddleAndTheShadeReadsFromSixDigits) {
    const auto unstretched = FramePieces(64, 25);  // at the skin's own size: drawn where taken from
    for (const FramePiece& piece : unstretched) EXPECT_EQ(piece.source, piece.destination);
    // The file button is narrower and lower than the skin: its edges shrink. Smaller than its
    // corners: empty edges, not mirrored ones.
    const auto file = FramePieces(41, 21), tiny = FramePieces(5, 3);
    EXPECT_EQ(std::tuple(file[3].destination, file[5].destination, tiny[1].destination, tiny[3].destination),
              std::tuple(PixelRect{37, 4, 4, 13}, PixelRect{4, 17, 33, 4}, PixelRect{4, 0, 0, 4}, PixelRect{1, 4, 4, 0}));
    ExpectRows<int, int>(TwipsToPixels, {{7, 0}, {8, 1}, {1155, 77}, {-7, 0}, {-8, -1}});
    ExpectRows<int, int>(CaptionTopTwips, {{375, 80}, {315, 50}, {420, 102}});  // the OK, file and a fresh button
    // The shade is red C6, not D7: the text is not a 0x00BBGGRR number.
    ExpectRows<std::pair<const char*, int>, std::optional<std::uint16_t>>([](auto r) { return ChannelFromHex(r.first, r.second); },
        {{{"&HC6C5D7", 1}, 0xC600}, {{"&HC6C5D7", 2}, 0xC500}, {{"&hc6c5d7", 3}, 0xD700}, {{"&H00FF10", 1}, 0x0000},
         {{"&H00fF10", 3}, 0x1000}, {{"&HFA", 3}, 0xFA00}, {{"&HFA", 2}, 0x0000}, {{"&h9", 3}, 0x0900}, {{"&HFFFFFF", 0}, {}},
         {{"&HFFFFFF", 4}, {}}, {{"", 1}, {}}, {{"&H", 1}, {}}, {{"FFFFFF", 1}, {}}, {{"&HFFFFFFF", 1}, {}}, {{"&HGG0000", 1}, {}}});
    const GradientVertex white{0, 0, 0xFF00, 0xFF00, 0xFF00, 0}, shade{0, 0, 0xC600, 0xC500, 0xD700, 0};
    const FacePlan plan = PlanFace(SkinImage::Pressed, 77, 25, false);
    EXPECT_EQ(std::tuple(plan.image, plan.frame), std::tuple(SkinImage::Pressed, FramePieces(77, 25)));
    EXPECT_EQ(plan.gradient, (std::array{white, GradientVertex{76, 24, 0xC600, 0xC500, 0xD700}}));
    EXPECT_EQ(GradientVertices(41, 21, true), (std::array{shade, GradientVertex{40, 20, 0xFF00, 0xFF00, 0xFF00}}));
}
// clang-format on

}  // namespace
