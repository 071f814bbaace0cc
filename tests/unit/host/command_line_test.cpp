#include "command_line.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandLine, TheModeIsTheSecondCharacterUpperCased) {
    EXPECT_EQ(ModeLetter(L"/s"), L'S');
    EXPECT_EQ(ModeLetter(L"/S"), L'S');
    EXPECT_EQ(ModeLetter(L"-s"), L'S');
    EXPECT_EQ(ModeLetter(L"/s:123"), L'S');
    EXPECT_EQ(ModeLetter(L"/c:4711"), L'C');
    EXPECT_EQ(ModeLetter(L"/p 4711"), L'P');
    EXPECT_EQ(ModeLetter(L"/x"), L'X');
    EXPECT_EQ(ModeLetter(L"/"), 0);
    EXPECT_EQ(ModeLetter(L""), 0);
}

TEST(CommandLine, ThePreviewHandleIsReadLenientlyFromTheFourthCharacter) {
    EXPECT_EQ(PreviewHandle(L"/p 4711"), 4711);
    EXPECT_EQ(PreviewHandle(L"/p:4711"), 4711);
    EXPECT_EQ(PreviewHandle(L"/P   65602 trailing"), 65602);
    EXPECT_EQ(PreviewHandle(L"/p 12.5"), 12);
    EXPECT_EQ(PreviewHandle(L"/p -5"), -5);
    EXPECT_EQ(PreviewHandle(L"/p"), 0);
    EXPECT_EQ(PreviewHandle(L"/p "), 0);
    EXPECT_EQ(PreviewHandle(L"/p garbage"), 0);
    EXPECT_EQ(PreviewHandle(L"/p 99999999999"), 0);  // does not fit 32 bits
}

}  // namespace
