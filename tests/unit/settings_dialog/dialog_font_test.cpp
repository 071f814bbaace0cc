#include "dialog_font.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "layout.h"

namespace {

TEST(DialogFont, TheDesignedFaceWhereItIsElseTheFirstProportionalGothicThere) {
    const std::wstring designed(kDialogFontFace);
    const std::pair<std::set<std::wstring>, std::wstring> rows[] = {
        {{designed, L"IPAPGothic"}, designed},
        // A system in another language lists the same face under its English name.
        {{L"MS PGothic", L"IPAPGothic"}, L"MS PGothic"},
        // The fixed-pitch IPAGothic is no substitute.
        {{L"IPAGothic", L"IPAPGothic", L"VL PGothic"}, L"IPAPGothic"},
        {{L"VL PGothic", L"Noto Sans CJK JP"}, L"VL PGothic"},
        {{L"Noto Sans CJK JP"}, L"Noto Sans CJK JP"},
        // Nothing known: the designed face, for the system to substitute. An empty name is no
        // face, whatever the system answers for it.
        {{}, designed},
        {{L""}, designed},
    };
    for (const auto& row : rows) {
        const auto& face = row.second;
        const CaptionFont font = DialogFont(
            [&row](std::wstring_view f) { return row.first.count(std::wstring(f)) > 0; });
        EXPECT_EQ(font, (CaptionFont{face, 9.75, 400, 128, false, false, false})) << face.size();
    }
    EXPECT_EQ(designed, L"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF");
}

}  // namespace
