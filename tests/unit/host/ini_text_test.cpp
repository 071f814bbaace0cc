#include "ini_text.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

TEST(IniText, ReadsValuesTheWayTheProfileRoutinesDo) {
    const std::string file =
        "Key=before the first section\r\n[Other]\r\nKey=other section\r\n"
        "  [ section ]  \r\nKey=with blanks around the section name\r\n"
        "[SECTION]\r\n  kEy  =   two words  \r\nQuoted=\"a value\"\r\nSingle='it'\r\n"
        "Az=letters at both ends\r\nHalf=\"open\r\nMixed=\"a'\r\nEmpty=\r\nNoEquals\r\nUnix=line "
        "end\nLast=no line end";
    using Row = std::tuple<const char*, const char*, std::optional<std::string>>;
    // clang-format off
    for (const auto& [section, key, value] :
         {Row{"Section", "KEY", "two words"}, Row{"Section", "aZ", "letters at both ends"}, Row{"Other", "Key", "other section"},
          Row{" section ", "Key", "with blanks around the section name"}, Row{"Section", "Quoted", "a value"},
          Row{"Section", "Single", "it"}, Row{"Section", "Half", "\"open"}, Row{"Section", "Mixed", "\"a'"}, Row{"Section", "Empty", ""},
          Row{"Section", "Unix", "line end"}, Row{"Section", "Last", "no line end"}, Row{"Section", "NoEquals", {}},
          Row{"Section", "Missing", {}}, Row{"Missing", "Key", {}}, Row{"", "Key", {}}}) {
        // clang-format on
        EXPECT_EQ(IniValue(file, section, key), value) << section << "/" << key;
    }
    EXPECT_EQ(IniValue("", "Section", "Key"), std::nullopt);
}

TEST(IniText, ADoubleByteCharacterIsComparedAndCutWhole) {
    // A trail byte may look like a letter: after a lead byte it is not one to fold.
    // clang-format off
    for (const auto& [byte, lead] : {std::pair(0x81, true), std::pair(0x9F, true), std::pair(0xE0, true), std::pair(0xFC, true),
                                    std::pair(0x80, false), std::pair(0xA0, false), std::pair(0xDF, false), std::pair(0xFD, false)}) {
        // clang-format on
        const std::string character{static_cast<char>(byte), 'a'};
        const std::string file = "[Section]\r\n" + character + "bgm=1\r\n";
        EXPECT_EQ(IniValue(file, "section", character + "BGM"), "1") << byte;
        EXPECT_EQ(IniValue(file, "Section", character.substr(0, 1) + "Abgm").has_value(), !lead)
            << byte;
        std::string value = "ab";  // 200 characters from the third byte on: 254 bytes fit
        for (int i = 0; i < 200; ++i) value += character;
        EXPECT_EQ(CutToReplyBuffer(value), value.substr(0, lead ? 254 : 255)) << byte;
    }
    EXPECT_EQ(CutToReplyBuffer(std::string(300, 'a')), std::string(255, 'a'));
    EXPECT_EQ(CutToReplyBuffer(std::string(255, '\x89')), std::string(255, '\x89'));
}

TEST(IniText, WritingChangesOnlyTheKeysLineAndKeepsEveryOtherByte) {
    const std::string file =
        "B=before\r\n[Other]\r\n x = y \r\n[section]\r\nA = 5 \nzz=1\r\n\r\n[Next]\r\nA=kept\r\n";
    // The key keeps its spelling and its line end; a new key goes after the section's last line,
    // before the blank line that ends it; a missing section is added at the end, after a line
    // end the file lacked.
    using Row = std::tuple<std::string, const char*, const char*, std::string>;
    // clang-format off
    for (const auto& [before, key, value, after] :
         {Row{"", "A", " 2", "[Section]\r\nA= 2\r\n"}, Row{"[Section]\r\nA= 2\r\n", "B", "", "[Section]\r\nA= 2\r\nB=\r\n"},
          Row{file, "a", " 2", "B=before\r\n[Other]\r\n x = y \r\n[section]\r\nA= 2\nzz=1\r\n\r\n[Next]\r\nA=kept\r\n"},
          Row{file, "B", "v", "B=before\r\n[Other]\r\n x = y \r\n[section]\r\nA = 5 \nzz=1\r\nB=v\r\n\r\n[Next]\r\nA=kept\r\n"},
          Row{"[Other]\r\nx=y", "A", "1", "[Other]\r\nx=y\r\n[Section]\r\nA=1\r\n"},
          Row{"[Section]\r\nx=y", "A", "1", "[Section]\r\nx=y\r\nA=1\r\n"}, Row{"[Section]\r\nA=1", "A", "2", "[Section]\r\nA=2\r\n"}}) {
        // clang-format on
        EXPECT_EQ(WithIniValue(before, "Section", key, value), after);
    }
}

}  // namespace
