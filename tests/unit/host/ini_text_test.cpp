#include "ini_text.h"

#include <gtest/gtest.h>

namespace {

TEST(IniText, ReadsValuesTheWayTheProfileRoutinesDo) {
    const std::string file =
        "; a comment\r\n"
        "[Other]\r\n"
        "Key=other section\r\n"
        "  [ section ]  \r\n"
        "Key=with blanks around the section name\r\n"
        "[SECTION]\r\n"
        "  kEy  =   two words  \r\n"
        "Quoted=\"a value\"\r\n"
        "Half=\"open\r\n"
        "Empty=\r\n"
        "NoEquals\r\n"
        "Last=no line end";
    EXPECT_EQ(IniValue(file, "Section", "KEY"), "two words");
    EXPECT_EQ(IniValue(file, "Other", "Key"), "other section");
    EXPECT_EQ(IniValue(file, " section ", "Key"), "with blanks around the section name");
    EXPECT_EQ(IniValue(file, "Section", "Quoted"), "a value");
    EXPECT_EQ(IniValue(file, "Section", "Half"), "\"open");
    EXPECT_EQ(IniValue(file, "Section", "Empty"), "");
    EXPECT_EQ(IniValue(file, "Section", "Last"), "no line end");
    EXPECT_EQ(IniValue(file, "Section", "NoEquals"), std::nullopt);
    EXPECT_EQ(IniValue(file, "Section", "Missing"), std::nullopt);
    EXPECT_EQ(IniValue(file, "Missing", "Key"), std::nullopt);
    EXPECT_EQ(IniValue("", "Section", "Key"), std::nullopt);
    EXPECT_EQ(IniValue("[Section]\nUnix=line ends\n", "Section", "Unix"), "line ends");
}

TEST(IniText, ComparesDoubleByteNamesExactlyAndAsciiWithoutCase) {
    // 83 41 is katakana A, 83 61 another katakana: a trail byte is not a letter to fold.
    const std::string file = "[Section]\r\nbgm\x83\x41=1\r\n";
    EXPECT_EQ(IniValue(file, "Section", "BGM\x83\x41"), "1");
    EXPECT_EQ(IniValue(file, "Section", "BGM\x83\x61"), std::nullopt);
}

TEST(IniText, WritesANewFileAsSectionAndKeyLines) {
    std::string file = WithIniValue("", "Section", "A", " 2");
    file = WithIniValue(file, "Section", "B", "");
    EXPECT_EQ(file, "[Section]\r\nA= 2\r\nB=\r\n");
}

TEST(IniText, ReplacesOnlyTheKeysLineAndKeepsEveryOtherByte) {
    const std::string file =
        "; kept\r\n"
        "[Other]\r\n"
        " x = y \r\n"
        "[section]\r\n"
        "A = 5 \n"
        "zz=1\r\n"
        "\r\n"
        "[Next]\r\n"
        "A=untouched\r\n";
    EXPECT_EQ(
        WithIniValue(file, "Section", "a", " 2"),
        "; kept\r\n[Other]\r\n x = y \r\n[section]\r\nA= 2\nzz=1\r\n\r\n[Next]\r\nA=untouched\r\n");
    // A new key goes after the section's last line, before the blank line that ends it.
    EXPECT_EQ(WithIniValue(file, "Section", "New", "v"),
              "; kept\r\n[Other]\r\n x = y \r\n[section]\r\nA = 5 \nzz=1\r\nNew=v\r\n\r\n[Next]\r\n"
              "A=untouched\r\n");
    // A missing section is added at the end, after a line end the file lacked.
    EXPECT_EQ(WithIniValue("[Other]\r\nx=y", "Section", "A", "1"),
              "[Other]\r\nx=y\r\n[Section]\r\nA=1\r\n");
    EXPECT_EQ(WithIniValue("[Section]\r\nx=y", "Section", "A", "1"), "[Section]\r\nx=y\r\nA=1\r\n");
}

TEST(IniText, CutsValuesToTheReplyBufferWithoutSplittingACharacter) {
    EXPECT_EQ(CutToReplyBuffer(std::string(300, 'a')), std::string(255, 'a'));
    EXPECT_EQ(CutToReplyBuffer(std::string(255, 'a')), std::string(255, 'a'));
    std::string doubleBytes = "ab";
    for (int i = 0; i < 200; ++i) doubleBytes += "\x89\xB9";  // a kanji: lead and trail byte
    const std::string cut = CutToReplyBuffer(doubleBytes);
    EXPECT_EQ(cut.size(), 254u);
    EXPECT_EQ(cut, doubleBytes.substr(0, 254));
}

}  // namespace
