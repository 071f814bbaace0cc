#include "cp932.h"

#include <gtest/gtest.h>

namespace {

TEST(Cp932, ConvertsBothWaysByteForByteAndReplacesWhatDoesNotConvert) {
    // The renderer's title and a settings key are contracts with other programs; half-width
    // katakana are single bytes; the long text fills the conversion buffer many times over.
    std::string longBytes;
    for (int i = 0; i < 5000; ++i) longBytes += "\x82\xA0";
    using Row = std::pair<std::wstring, std::string>;
    for (const auto& [text, bytes] :
         {Row{L"Torvane\u2161VC", "Torvane\x87\x55VC"},
          Row{L"BGM\u533A\u5206", "BGM\x8B\xE6\x95\xAA"},
          Row{L"\uFF98\uFF8B\uFF9F\uFF70\uFF84", "\xD8\xCB\xDF\xB0\xC4"}, Row{L"", ""},
          Row{std::wstring(5000, L'\u3042'), longBytes}}) {
        EXPECT_EQ(ToCp932(text), bytes);
        EXPECT_EQ(FromCp932(bytes), text);
    }
    EXPECT_EQ(ToCp932(L"a\u00E9b\U0001F600c"), "a?b?c");  // no code page 932 form
    EXPECT_EQ(FromCp932("x\xA0y"), L"x\uFFFDy");          // not a character
    EXPECT_EQ(FromCp932("x\x81"), L"x\uFFFD");            // a lead byte with no trail
}

}  // namespace
