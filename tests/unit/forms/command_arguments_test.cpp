#include "command_arguments.h"

#include <gtest/gtest.h>

namespace {

using forms::ArgumentsAfterProgramName;

TEST(CommandArguments, DropsTheProgramNameQuotedOrNot) {
    EXPECT_EQ(ArgumentsAfterProgramName(L"\"C:\\My Savers\\Lullvane.scr\" /p 4711"), L"/p 4711");
    EXPECT_EQ(ArgumentsAfterProgramName(L"C:\\WINDOWS\\LULLVA~1.SCR /s"), L"/s");
    EXPECT_EQ(ArgumentsAfterProgramName(L"\"C:\\x.scr\"/c:123"), L"/c:123");
    EXPECT_EQ(ArgumentsAfterProgramName(L"Lullvane.scr   \t /S  "), L"/S  ");
}

TEST(CommandArguments, NothingAfterTheProgramGivesAnEmptyString) {
    EXPECT_EQ(ArgumentsAfterProgramName(L"Lullvane.scr"), L"");
    EXPECT_EQ(ArgumentsAfterProgramName(L"\"C:\\a b\\Lullvane.scr\"  "), L"");
    EXPECT_EQ(ArgumentsAfterProgramName(L"\"unterminated /s"), L"");
    EXPECT_EQ(ArgumentsAfterProgramName(L""), L"");
}

}  // namespace
