#include "ini_text.h"

#include "../common/expect_rows.h"

namespace {

// clang-format off
TEST(IniText, ReadsValuesTheWayTheProfileRoutinesDoComparingAndCuttingDoubleByteCharactersWhole) {
    const std::string file =
        "Key=before the first section\r\n[Other]\r\nKey=other section\r\n  [ section ]  \r\nKey=with blanks around the section name\r\n"
        "[SECTION]\r\n  kEy  =   two words  \r\nQuoted=\"a value\"\r\nSingle='it'\r\nAz=letters at both ends\r\nHalf=\"open\r\n"
        "A]=b\r\nMixed=\"a'\r\nEmpty=\r\nBare=\"\"\r\nNoEquals\r\nUnix=line end\nLast=no line end";
    ExpectRows<std::pair<const char*, const char*>, std::optional<std::string>>(  // section and key
        [&](auto names) { return IniValue(file, names.first, names.second); },
        {{{"Section", "KEY"}, "two words"}, {{"Section", "aZ"}, "letters at both ends"}, {{"Other", "Key"}, "other section"},
         {{" section ", "Key"}, "with blanks around the section name"}, {{"Section", "Quoted"}, "a value"}, {{"Section", "Single"}, "it"},
         {{"Section", "Half"}, "\"open"}, {{"Section", "Mixed"}, "\"a'"}, {{"Section", "Empty"}, ""}, {{"Section", "Bare"}, ""}, {{"Section", "Unix"}, "line end"},
         {{"Section", "Last"}, "no line end"}, {{"Section", "NoEquals"}, {}}, {{"Section", "Missing"}, {}}, {{"Missing", "Key"}, {}},
         {{"", "Key"}, {}}, {{"Section", "A]"}, "b"}});  // a bracket in a key makes no section
    // A trail byte may look like a letter: after a lead byte it is not one to fold, at either end of
    // a name. A value of 200 characters from its third byte on is cut to 254 bytes when they are
    // double-byte ones.
    using Text = std::optional<std::string>;
    for (const auto& [byte, lead] : {std::pair(0x81, true), std::pair(0x9F, true), std::pair(0xE0, true), std::pair(0xFC, true),
                                     std::pair(0x80, false), std::pair(0xA0, false), std::pair(0xDF, false), std::pair(0xFD, false)}) {
        const std::string character{static_cast<char>(byte), 'a'}, named = "[Section]\r\n" + character + "bgm=1\r\nbgm" + character + "=2\r\n";
        std::string value = "ab";
        for (int i = 0; i < 200; ++i) value += character;
        EXPECT_EQ(std::tuple(IniValue(named, "section", character + "BGM"), IniValue(named, "Section", character.substr(0, 1) + "Abgm"),
                             IniValue(named, "Section", "BGM" + character.substr(0, 1) + "A"), CutToReplyBuffer(value)),
                  std::tuple("1", lead ? Text() : "1", lead ? Text() : "2", value.substr(0, lead ? 254 : 255))) << byte;
    }
    // A trail byte that could also lead is skipped with its pair: the letter after it still folds. An empty file holds nothing.
    EXPECT_EQ(std::tuple(IniValue("[Section]\r\n\x81\x81" "bgm=1\r\n", "Section", "\x81\x81" "BGM"), IniValue("", "Section", "Key"),
                         CutToReplyBuffer(std::string(255, '\x89'))), std::tuple("1", std::nullopt, std::string(255, '\x89')));
}

TEST(IniText, WritingChangesOnlyTheKeysLineAndKeepsEveryOtherByte) {
    // The key keeps its spelling and its line end; a new key goes after the section's last line,
    // before the blank line that ends it; a missing section is added at the end, after a line end
    // the file lacked.
    const std::string file = "B=before\r\n[Other]\r\n x = y \r\n[section]\r\nA = 5 \nzz=1\r\n\r\n[Next]\r\nA=kept\r\n";
    using Edit = std::tuple<std::string, const char*, const char*>;  // file, key, value
    ExpectRows<Edit, std::string>([](const Edit& e) { return WithIniValue(std::get<0>(e), "Section", std::get<1>(e), std::get<2>(e)); },
        {{{"", "A", " 2"}, "[Section]\r\nA= 2\r\n"}, {{"[Section]\r\nA= 2\r\n", "B", ""}, "[Section]\r\nA= 2\r\nB=\r\n"},
         {{file, "a", " 2"}, "B=before\r\n[Other]\r\n x = y \r\n[section]\r\nA= 2\nzz=1\r\n\r\n[Next]\r\nA=kept\r\n"},
         {{file, "B", "v"}, "B=before\r\n[Other]\r\n x = y \r\n[section]\r\nA = 5 \nzz=1\r\nB=v\r\n\r\n[Next]\r\nA=kept\r\n"},
         {{"[Other]\r\nx=y", "A", "1"}, "[Other]\r\nx=y\r\n[Section]\r\nA=1\r\n"},
         {{"[Section]\r\nx=y", "A", "1"}, "[Section]\r\nx=y\r\nA=1\r\n"}, {{"[Section]\r\nA=1", "A", "2"}, "[Section]\r\nA=2\r\n"},
         {{"[Section]\r\nA=1\r\nB=2\r\n", "A", "3"}, "[Section]\r\nA=3\r\nB=2\r\n"}});
}
// clang-format on

}  // namespace
