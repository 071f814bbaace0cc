#include "dialog_font.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "layout.h"

namespace {

auto Having(std::set<std::wstring> faces) {
    return [faces = std::move(faces)](std::wstring_view face) {
        return faces.count(std::wstring(face)) > 0;
    };
}

TEST(DialogFont, TheDesignedFaceWhereItIsElseTheFirstProportionalGothicThere) {
    const CaptionFont designed = DialogFont(Having({std::wstring(kDialogFontFace), L"IPAPGothic"}));
    EXPECT_EQ(designed, (CaptionFont{std::wstring(kDialogFontFace), 9.75, 400, 128}));

    // A system in another language lists the same face under its English name.
    EXPECT_EQ(DialogFont(Having({L"MS PGothic", L"IPAPGothic"})).face, L"MS PGothic");
    // A system without it: the fixed-pitch IPAGothic is no substitute, IPAPGothic is.
    const CaptionFont fallback = DialogFont(Having({L"IPAGothic", L"IPAPGothic"}));
    EXPECT_EQ(fallback.face, L"IPAPGothic");
    EXPECT_EQ(fallback.points, 9.75);
    EXPECT_EQ(fallback.charset, 128);
    EXPECT_FALSE(fallback.underline);
    EXPECT_EQ(DialogFont(Having({L"Noto Sans CJK JP"})).face, L"Noto Sans CJK JP");

    // Nothing known: the designed face, for the system to substitute.
    EXPECT_EQ(DialogFont(Having({})).face, kDialogFontFace);
}

}  // namespace
