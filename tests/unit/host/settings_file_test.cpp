#include "settings_file.h"

#include <gtest/gtest.h>

#include <tuple>

#include "cp932.h"
#include "file_profile_store.h"
#include "host_paths.h"
#include "temp_folder.h"

namespace {

const std::string kKindKey = "BGM\x8B\xE6\x95\xAA";
const std::string kRepeatKey = "BGM\xD8\xCB\xDF\xB0\xC4";
const std::string kFileKey = "BGM\xCC\xA7\xB2\xD9";

std::string IniFile(const std::string& kind, const std::string& repeat, const std::string& file) {
    return "[Section]\r\n" + kKindKey + "=" + kind + "\r\n" + kRepeatKey + "=" + repeat + "\r\n" +
           kFileKey + "=" + file + "\r\n";
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

TEST_F(SettingsFileTest, LoadReadsNumbersDownwardsAndKeepsTheOldValueForAnythingElse) {
    // The kind's text and the track's, then what they read as; an empty text reads as 0.
    using Row = std::tuple<const char*, const char*, std::int16_t, std::int16_t>;
    for (const auto& [kind, track, kindRead, trackRead] :
         {Row{"1.99", "-0.5", 1, -1}, Row{" 1 ", "32767.9", 1, 32767},
          Row{"\t1", "-32768", 1, -32768}, Row{"abc", "40000", 5, 7}, Row{"", "-32769", 0, 7},
          Row{"-1e-400", "", 0, 0},
          Row{"2.7", "12", 0, 12}}) {  // a file source without its file falls back to none
        const SettingsVariables settings = Load(IniFile(kind, track, ""));
        EXPECT_EQ(settings.BgmKind, kindRead) << kind;
        EXPECT_EQ(settings.BgmRepeatTrack, trackRead) << track;
        EXPECT_EQ(settings.BgmFolder, folder.Folder());
    }
    std::filesystem::remove(NativePath(folder.File(L"Lullvane.ini")));
    SettingsVariables defaults;
    LoadSettings(store, folder.Folder(), defaults);
    EXPECT_EQ(std::tie(defaults.BgmKind, defaults.BgmRepeatTrack, defaults.BgmFile),
              std::tuple(0, 0, L""));
    EXPECT_EQ(defaults.BgmFolder, folder.Folder());
}

TEST_F(SettingsFileTest, LoadKeepsAMusicFileThatOpensAndForgetsAnyOther) {
    folder.Write(L"song.mp3", "ID3");
    folder.Write(L"\u66F2 01.wav", "RIFF");  // a kanji and a blank in the name
    // The kind, the file in the folder (the folder itself when empty), whether it is kept, and
    // the kind read: an audio CD keeps its kind whatever happened to the file.
    using Row = std::tuple<const char*, const wchar_t*, bool, std::int16_t>;
    for (const auto& [kind, name, kept, kindRead] :
         {Row{" 2", L"song.mp3", true, 2}, Row{" 2", L"\u66F2 01.wav", true, 2},
          Row{" 2", L"gone.mp3", false, 0}, Row{" 1", L"gone.mp3", false, 1},
          Row{" 2", L"", false, 0}}) {
        const SettingsVariables settings = Load(IniFile(kind, " 3", ToCp932(folder.File(name))));
        EXPECT_EQ(settings.BgmKind, kindRead);
        EXPECT_EQ(settings.BgmRepeatTrack, 3);
        EXPECT_EQ(settings.BgmFile, kept ? folder.File(name) : L"");
        EXPECT_EQ(settings.BgmFolder, folder.Folder());
    }
    // Keys and section without regard to case, blanks around names and values ignored.
    const SettingsVariables settings =
        Load("[section]\r\nbgm\x8B\xE6\x95\xAA   =   1   \r\nBgm\xD8\xCB\xDF\xB0\xC4=\t12\r\n");
    EXPECT_EQ(std::tie(settings.BgmKind, settings.BgmRepeatTrack), std::tuple(1, 12));
    // Values are cut to 255 bytes: 255 sevens are no 16-bit number and no file.
    const std::string sevens(300, '7');
    folder.Write(L"Lullvane.ini", IniFile(" 1", sevens, sevens));
    EXPECT_EQ(store.ReadIniValue(kSettingsSection, kBgmFileKey, SettingsFilePath(folder.Folder())),
              std::wstring(255, L'7'));
}

TEST_F(SettingsFileTest, SaveWritesTheThreeKeysInTheirFormsAndKeepsTheRestOfTheFile) {
    SettingsVariables settings;
    settings.BgmKind = 2;
    settings.BgmFile = L"C:\\\u97F3\u697D\\a b.mp3";
    EXPECT_TRUE(SaveSettings(store, folder.Folder(), settings, L""));
    EXPECT_EQ(folder.Read(L"Lullvane.ini"), IniFile(" 2", " 0", "C:\\\x89\xB9\x8A\x79\\a b.mp3"));

    folder.Write(L"Lullvane.ini",
                 "; mine\r\n[Other]\r\nx = y\r\n[SECTION]\r\nbgm\x8B\xE6\x95\xAA = 1\r\n");
    settings.BgmKind = -1;
    settings.BgmFile = L"D:a.wav";
    SaveSettings(store, folder.Folder(), settings, L"4");
    EXPECT_EQ(folder.Read(L"Lullvane.ini"),
              "; mine\r\n[Other]\r\nx = y\r\n[SECTION]\r\nbgm\x8B\xE6\x95\xAA=-1\r\n" + kRepeatKey +
                  "= 4\r\n" + kFileKey + "=D:a.wav\r\n");

    // The track box's text: a number rounded (halves to even), anything else 0.
    using Row = std::pair<const wchar_t*, std::int16_t>;
    for (const auto& [text, track] :
         {Row{L"2.5", 2}, Row{L"3.5", 4}, Row{L" 30 ", 30}, Row{L"-3", -3}, Row{L"abc", 0},
          Row{L"99999", 0}, Row{L"", 0}}) {
        settings.BgmRepeatTrack = 9;
        SaveSettings(store, folder.Folder(), settings, text);
        EXPECT_EQ(settings.BgmRepeatTrack, track) << testing::PrintToString(std::wstring(text));
        EXPECT_EQ(Load(folder.Read(L"Lullvane.ini")).BgmRepeatTrack, track);
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
    const int firstFailure;
    int tried = 0;
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

TEST(HostPaths, FolderOfKeepsDriveRootsWithoutABackslash) {
    using Row = std::pair<const wchar_t*, const wchar_t*>;
    for (const auto& [path, folder] :
         {Row{L"C:\\Music\\a.mp3", L"C:\\Music"}, Row{L"C:\\a.mp3", L"C:"}, Row{L"D:a.wav", L"D:"},
          Row{L"a.wav", L""}, Row{L"\\\\server\\share\\a.mp3", L"\\\\server\\share"},
          Row{L"C:\\Music\\", L"C:\\Music"}, Row{L"", L""}}) {
        EXPECT_EQ(FolderOf(path), folder);
    }
}

TEST(HostPaths, FileExistsOnlyForFilesThatOpen) {
    TempFolder folder;
    folder.Write(L"a.mp3", "x");
    EXPECT_TRUE(FileExists(folder.File(L"a.mp3")));
    EXPECT_TRUE(FileExists(folder.File(L"a.mp3") + L"\\"));  // one trailing backslash is ignored
    for (const std::wstring& path :
         {folder.File(L"b.mp3"), folder.Folder(), folder.Folder() + L"\\", std::wstring(L""),
          std::wstring(L"\\")}) {
        EXPECT_FALSE(FileExists(path));
    }
}

TEST(HostPaths, NativePathsAreUtf8WithSlashes) {
    // The edges of each UTF-8 length, up to characters beyond U+FFFF.
    EXPECT_EQ(NativePath(L"C:\\a\u007F\u0080\u07FF\u0800\uFFFF\U00010000\U0010FFFF").native(),
              "C:/a\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF");
}

}  // namespace
