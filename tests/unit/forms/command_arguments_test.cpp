#include "command_arguments.h"

#include "../common/expect_rows.h"

// clang-format off
TEST(CommandArguments, DropTheProgramNameQuotedOrNotAndTheBlanksAfterIt) {
    ExpectRows<const wchar_t*, std::wstring>(forms::ArgumentsAfterProgramName,
        {{L"\"C:\\My Savers\\Lullvane.scr\" /p 4711", L"/p 4711"}, {L"C:\\WINDOWS\\LULLVA~1.SCR /s", L"/s"},
         {L"\"C:\\x.scr\"/c:123", L"/c:123"}, {L"Lullvane.scr   \t /S  ", L"/S  "}, {L"Lullvane.scr\t/c", L"/c"}, {L"Lullvane.scr", L""},
         {L"\"C:\\a b\\Lullvane.scr\"  ", L""}, {L"\"unterminated /s", L""}, {L"", L""}});
}
// clang-format on
