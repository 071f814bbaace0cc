#include "command_arguments.h"

#include <gtest/gtest.h>

TEST(CommandArguments, DropTheProgramNameQuotedOrNotAndTheBlanksAfterIt) {
    // clang-format off
    for (const auto& [line, arguments] :
         {std::pair(L"\"C:\\My Savers\\Lullvane.scr\" /p 4711", L"/p 4711"), std::pair(L"C:\\WINDOWS\\LULLVA~1.SCR /s", L"/s"),
          std::pair(L"\"C:\\x.scr\"/c:123", L"/c:123"), std::pair(L"Lullvane.scr   \t /S  ", L"/S  "),
          std::pair(L"Lullvane.scr\t/c", L"/c"), std::pair(L"Lullvane.scr", L""), std::pair(L"\"C:\\a b\\Lullvane.scr\"  ", L""),
          std::pair(L"\"unterminated /s", L""), std::pair(L"", L"")}) {
        // clang-format on
        EXPECT_EQ(forms::ArgumentsAfterProgramName(line), arguments);
    }
}
