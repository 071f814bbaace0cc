#include "settings_file.h"

#include <gtest/gtest.h>

#include <tuple>

#include "cp932.h"
#include "file_profile_store.h"
#include "temp_folder.h"

namespace {

std::string IniFile(const std::string& kind, const std::string& repeat, const std::string& file) {
    return "[Section]\r\n" + ToCp932(kBgmKindKey) + "=" + kind + "\r\n" + ToCp932(kBgmRepeatKey) +
           "=" + repeat + "\r\n" + ToCp932(kBgmFileKey) + "=" + file + "\r\n";
}

struct SettingsFileTest : testing::Test {
    // Loads over settings that hold kind 5 and track 7.
    SettingsVariables Load(const std::string& iniBytes) {
        folder.Write(L"Lullvane.ini", iniBytes);
        SettingsVariables settings;
        settings.BgmKind = 5;
        settings.BgmRepeatTrack = 7;
        LoadSettings(store, folder.Folder(), settings);
        return settings;
    }
    TempFolder folder;
    FileProfileStore store;
};

TEST_F(SettingsFileTest, LoadReadsNumbersDownwardsKeepsOnlyFilesThatOpenAndElseTheOldValue) {
    folder.Write(L"song.mp3", "ID3");
    folder.Write(L"\u66F2 01.wav", "RIFF");  // a kanji and a blank in the name
    // Kind, track and file name in the folder as stored, then kind and track as read, and whether
    // the file is kept: an empty text reads as 0, a file source without a file that opens falls
    // back to none, an audio CD keeps its kind.
    using Row = std::tuple<const char*, const char*, const wchar_t*, int, int, bool>;
    // clang-format off
    for (const auto& [kind, track, name, kindRead, trackRead, kept] :
         {Row{"1.99", "-0.5", L"", 1, -1, false}, Row{" 1 ", "32767.9", L"", 1, 32767, false}, Row{"\t1", "-32768", L"", 1, -32768, false},
          Row{"abc", "40000", L"", 5, 7, false}, Row{"", "-32769", L"", 0, 7, false}, Row{"-1e-400", "", L"", 0, 0, false},
          Row{"2.7", "12", L"", 0, 12, false}, Row{" 2", " 3", L"song.mp3", 2, 3, true}, Row{" 2", " 3", L"\u66F2 01.wav", 2, 3, true},
          Row{" 2", " 3", L"gone.mp3", 0, 3, false}, Row{" 1", " 3", L"gone.mp3", 1, 3, false}}) {
        // clang-format on
        const std::wstring file = *name ? folder.File(name) : L"";
        const SettingsVariables read = Load(IniFile(kind, track, ToCp932(file)));
        EXPECT_EQ(std::tuple(kind, track, read.BgmKind, read.BgmRepeatTrack, read.BgmFile),
                  std::tuple(kind, track, kindRead, trackRead, kept ? file : L""));
        EXPECT_EQ(read.BgmFolder, folder.Folder());
    }
    // Keys and section without regard to case, blanks around names and values ignored.
    const SettingsVariables read =
        Load("[section]\r\nbgm\x8B\xE6\x95\xAA   =   1   \r\nBgm\xD8\xCB\xDF\xB0\xC4=\t12\r\n");
    EXPECT_EQ(std::tie(read.BgmKind, read.BgmRepeatTrack), std::tuple(1, 12));
    const std::string sevens(300, '7');  // values are cut to 255 bytes
    folder.Write(L"Lullvane.ini", IniFile(" 1", sevens, sevens));
    EXPECT_EQ(store.ReadIniValue(kSettingsSection, kBgmFileKey, SettingsFilePath(folder.Folder())),
              std::wstring(255, L'7'));
    std::filesystem::remove(NativePath(folder.File(L"Lullvane.ini")));  // no file: all empty
    SettingsVariables none;
    LoadSettings(store, folder.Folder(), none);
    EXPECT_EQ(std::tie(none.BgmKind, none.BgmRepeatTrack, none.BgmFile, none.BgmFolder),
              std::tuple(0, 0, L"", folder.Folder()));
}

TEST_F(SettingsFileTest, SaveWritesTheThreeKeysInTheirFormsAndKeepsTheRestOfTheFile) {
    SettingsVariables settings{2, 0, L"C:\\\u97F3\u697D\\a b.mp3", L"", 0};
    EXPECT_TRUE(SaveSettings(store, folder.Folder(), settings, L""));
    EXPECT_EQ(folder.Read(L"Lullvane.ini"), IniFile(" 2", " 0", "C:\\\x89\xB9\x8A\x79\\a b.mp3"));
    folder.Write(L"Lullvane.ini",
                 "; mine\r\n[Other]\r\nx = y\r\n[SECTION]\r\nbgm\x8B\xE6\x95\xAA = 1");
    settings = {-1, 0, L"D:a.wav", L"", 0};
    SaveSettings(store, folder.Folder(), settings, L"4");
    EXPECT_EQ(folder.Read(L"Lullvane.ini"),
              "; mine\r\n[Other]\r\nx = y\r\n[SECTION]\r\nbgm\x8B\xE6\x95\xAA=-1\r\n" +
                  ToCp932(kBgmRepeatKey) + "= 4\r\n" + ToCp932(kBgmFileKey) + "=D:a.wav\r\n");
    // The track box's text: a number rounded (halves to even), anything else 0.
    for (const auto& [text, track] :
         {std::pair(L"2.5", 2), std::pair(L"3.5", 4), std::pair(L" 30 ", 30), std::pair(L"-3", -3),
          std::pair(L"abc", 0), std::pair(L"99999", 0), std::pair(L"", 0)}) {
        settings.BgmRepeatTrack = 9;
        SaveSettings(store, folder.Folder(), settings, text);
        EXPECT_EQ(std::tuple(text, settings.BgmRepeatTrack,
                             Load(folder.Read(L"Lullvane.ini")).BgmRepeatTrack),
                  std::tuple(text, track, track));
    }
}

// Writes that fail from a given one on, counting the writes tried.
struct FailingStore final : ProfileStore {
    explicit FailingStore(int firstFailure) : firstFailure(firstFailure) {}
    std::wstring ReadIniValue(const std::wstring&, const std::wstring&,
                              const std::wstring&) const override {
        return {};
    }
    bool WriteIniValue(const std::wstring&, const std::wstring&, const std::wstring&,
                       const std::wstring&) override {
        return ++tried < firstFailure;
    }
    int firstFailure, tried = 0;
};

TEST_F(SettingsFileTest, SaveReportsAFailedWriteAndTriesNoFurtherKey) {
    SettingsVariables settings;
    for (const int firstFailure : {1, 2, 3, 4}) {
        FailingStore failing(firstFailure);
        EXPECT_EQ(SaveSettings(failing, folder.Folder(), settings, L"1"), firstFailure == 4);
        EXPECT_EQ(failing.tried, std::min(firstFailure, 3));
    }
    EXPECT_FALSE(SaveSettings(store, folder.File(L"no such folder"), settings, L"1"));
}

TEST(HostPaths, FoldersKeepDriveRootsFilesMustOpenAndNativePathsAreUtf8WithSlashes) {
    // clang-format off
    for (const auto& [path, folder] :
         {std::pair(L"C:\\Music\\a.mp3", L"C:\\Music"), std::pair(L"C:\\a.mp3", L"C:"), std::pair(L"D:a.wav", L"D:"), std::pair(L"a.wav", L""),
          std::pair(L"\\\\server\\share\\a.mp3", L"\\\\server\\share"), std::pair(L"C:\\Music\\", L"C:\\Music"), std::pair(L"", L"")}) {
        // clang-format on
        EXPECT_EQ(FolderOf(path), folder);
    }
    TempFolder folder;  // a file opens, with one trailing backslash too; nothing else does
    folder.Write(L"a.mp3", "x");
    for (const auto& [path, opens] :
         {std::pair(folder.File(L"a.mp3"), true), std::pair(folder.File(L"a.mp3") + L"\\", true),
          std::pair(folder.File(L"b.mp3"), false), std::pair(folder.Folder(), false),
          std::pair(folder.Folder() + L"\\", false), std::pair(std::wstring(), false),
          std::pair(std::wstring(L"\\"), false)}) {
        EXPECT_EQ(FileExists(path), opens) << testing::PrintToString(path);
    }
    // The edges of each UTF-8 length, up to characters beyond U+FFFF.
    EXPECT_EQ(NativePath(L"C:\\a\u007F\u0080\u07FF\u0800\uFFFF\U00010000\U0010FFFF").native(),
              "C:/a\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF");
}

}  // namespace
