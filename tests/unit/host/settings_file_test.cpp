#include "settings_file.h"

#include <gtest/gtest.h>

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

class SettingsFileTest : public testing::Test {
  protected:
    SettingsVariables Load(const std::string& iniBytes) {
        folder.Write(L"Lullvane.ini", iniBytes);
        SettingsVariables settings;
        LoadSettings(store, folder.Folder(), settings);
        return settings;
    }

    TempFolder folder;
    FileProfileStore store;
};

TEST_F(SettingsFileTest, MissingFileGivesTheDefaults) {
    SettingsVariables settings;
    LoadSettings(store, folder.Folder(), settings);
    EXPECT_EQ(settings.BgmKind, 0);
    EXPECT_EQ(settings.BgmRepeatTrack, 0);
    EXPECT_EQ(settings.BgmFile, L"");
    EXPECT_EQ(settings.BgmFolder, folder.Folder());
}

TEST_F(SettingsFileTest, ReadsNumbersTowardMinusInfinityAndKeepsTheOldValueOtherwise) {
    SettingsVariables settings = Load(IniFile("2.7", "-0.5", ""));
    EXPECT_EQ(settings.BgmKind, 0);  // a file source without a file falls back to none
    EXPECT_EQ(settings.BgmRepeatTrack, -1);
    EXPECT_EQ(Load(IniFile(" 1 ", "32767.9", "")).BgmRepeatTrack, 32767);
    EXPECT_EQ(Load(IniFile("1.99", "-32768", "")).BgmKind, 1);

    settings = {};
    settings.BgmKind = 5;
    settings.BgmRepeatTrack = 7;
    folder.Write(L"Lullvane.ini", IniFile("abc", "40000", ""));
    LoadSettings(store, folder.Folder(), settings);
    EXPECT_EQ(settings.BgmKind, 5);
    EXPECT_EQ(settings.BgmRepeatTrack, 7);

    folder.Write(L"Lullvane.ini", IniFile("", "-32769", ""));
    LoadSettings(store, folder.Folder(), settings);
    EXPECT_EQ(settings.BgmKind, 0);  // an empty value is 0
    EXPECT_EQ(settings.BgmRepeatTrack, 7);
}

TEST_F(SettingsFileTest, KeepsAMusicFileThatExistsAndForgetsOneThatWasDeleted) {
    folder.Write(L"song.mp3", "ID3");
    const std::string song = ToCp932(folder.File(L"song.mp3"));
    SettingsVariables settings = Load(IniFile(" 2", " 0", song));
    EXPECT_EQ(settings.BgmKind, 2);
    EXPECT_EQ(settings.BgmFile, folder.File(L"song.mp3"));
    EXPECT_EQ(settings.BgmFolder, folder.Folder());

    const std::string gone = ToCp932(folder.File(L"gone.mp3"));
    settings = Load(IniFile(" 2", " 0", gone));
    EXPECT_EQ(settings.BgmKind, 0);
    EXPECT_EQ(settings.BgmFile, L"");
    EXPECT_EQ(settings.BgmFolder, folder.Folder());

    // An audio CD source keeps its kind whatever happened to the file beside it.
    settings = Load(IniFile(" 1", " 3", gone));
    EXPECT_EQ(settings.BgmKind, 1);
    EXPECT_EQ(settings.BgmRepeatTrack, 3);
    EXPECT_EQ(settings.BgmFile, L"");
    settings = Load(IniFile(" 1", " 0", ""));
    EXPECT_EQ(settings.BgmKind, 1);

    // A folder is not a music file.
    settings = Load(IniFile(" 2", " 0", ToCp932(folder.Folder())));
    EXPECT_EQ(settings.BgmKind, 0);
}

TEST_F(SettingsFileTest, ReadsJapaneseFileNamesAndCutsLongValues) {
    const std::wstring name = L"\u66F2 01.wav";  // a kanji and a blank in the name
    folder.Write(name, "RIFF");
    SettingsVariables settings = Load(IniFile(" 2", " 0", ToCp932(folder.File(name))));
    EXPECT_EQ(settings.BgmFile, folder.File(name));

    const std::wstring longValue(300, L'7');
    folder.Write(L"Lullvane.ini", IniFile(" 1", ToCp932(longValue), ToCp932(longValue)));
    EXPECT_EQ(
        store.ReadIniValue(kSettingsSection, kBgmRepeatKey, SettingsFilePath(folder.Folder())),
        std::wstring(255, L'7'));
    settings = {};
    LoadSettings(store, folder.Folder(), settings);
    EXPECT_EQ(settings.BgmRepeatTrack, 0);  // 255 sevens do not fit
    EXPECT_EQ(settings.BgmFile, L"");
}

TEST_F(SettingsFileTest, ReadsKeysWithoutRegardToCaseAndBlanks) {
    SettingsVariables settings =
        Load("[section]\r\nbgm\x8B\xE6\x95\xAA   =   1   \r\nBgm\xD8\xCB\xDF\xB0\xC4=\t12\r\n");
    EXPECT_EQ(settings.BgmKind, 1);
    EXPECT_EQ(settings.BgmRepeatTrack, 12);
}

TEST_F(SettingsFileTest, SavesTheThreeKeysInTheirNumberForms) {
    SettingsVariables settings;
    settings.BgmKind = 2;
    settings.BgmFile = L"C:\\\u97F3\u697D\\a b.mp3";
    SaveSettings(store, folder.Folder(), settings, L"");
    EXPECT_EQ(settings.BgmRepeatTrack, 0);
    EXPECT_EQ(folder.Read(L"Lullvane.ini"), "[Section]\r\n" + kKindKey + "= 2\r\n" + kRepeatKey +
                                                "= 0\r\n" + kFileKey +
                                                "=C:\\\x89\xB9\x8A\x79\\a b.mp3\r\n");

    settings.BgmKind = -1;
    settings.BgmFile.clear();
    SaveSettings(store, folder.Folder(), settings, L"12");
    EXPECT_EQ(settings.BgmRepeatTrack, 12);
    EXPECT_EQ(folder.Read(L"Lullvane.ini"), "[Section]\r\n" + kKindKey + "=-1\r\n" + kRepeatKey +
                                                "= 12\r\n" + kFileKey + "=\r\n");
}

TEST_F(SettingsFileTest, SaveRoundsTheTrackTextAndTreatsAnythingElseAsZero) {
    SettingsVariables settings;
    const std::pair<const wchar_t*, std::int16_t> cases[] = {
        {L"2.5", 2}, {L"3.5", 4}, {L" 30 ", 30}, {L"abc", 0}, {L"99999", 0}, {L"-3", -3}, {L"", 0}};
    for (const auto& [text, track] : cases) {
        settings.BgmRepeatTrack = 9;
        SaveSettings(store, folder.Folder(), settings, text);
        EXPECT_EQ(settings.BgmRepeatTrack, track) << testing::PrintToString(std::wstring(text));
        SettingsVariables reread;
        LoadSettings(store, folder.Folder(), reread);
        EXPECT_EQ(reread.BgmRepeatTrack, track);
    }
}

TEST_F(SettingsFileTest, SaveKeepsTheRestOfTheFile) {
    folder.Write(L"Lullvane.ini",
                 "; mine\r\n[Other]\r\nx = y\r\n[SECTION]\r\nbgm\x8B\xE6\x95\xAA = 1\r\n");
    SettingsVariables settings;
    settings.BgmKind = 2;
    settings.BgmFile = L"D:a.wav";
    SaveSettings(store, folder.Folder(), settings, L"4");
    EXPECT_EQ(folder.Read(L"Lullvane.ini"),
              "; mine\r\n[Other]\r\nx = y\r\n[SECTION]\r\nbgm\x8B\xE6\x95\xAA= 2\r\n" + kRepeatKey +
                  "= 4\r\n" + kFileKey + "=D:a.wav\r\n");
}

// A store whose writes fail from a given one on, counting the writes tried.
class FailingStore final : public ProfileStore {
  public:
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
    for (const int firstFailure : {1, 2, 3}) {
        FailingStore failing(firstFailure);
        EXPECT_FALSE(SaveSettings(failing, folder.Folder(), settings, L"1"));
        EXPECT_EQ(failing.tried, firstFailure);
    }
    FailingStore working(4);
    EXPECT_TRUE(SaveSettings(working, folder.Folder(), settings, L"1"));
    EXPECT_EQ(working.tried, 3);

    // The portable store reports a file it cannot write.
    EXPECT_TRUE(SaveSettings(store, folder.Folder(), settings, L"1"));
    EXPECT_FALSE(SaveSettings(store, folder.File(L"no such folder"), settings, L"1"));
}

TEST(HostPaths, FolderOfKeepsDriveRootsWithoutABackslash) {
    EXPECT_EQ(FolderOf(L"C:\\Music\\a.mp3"), L"C:\\Music");
    EXPECT_EQ(FolderOf(L"C:\\a.mp3"), L"C:");
    EXPECT_EQ(FolderOf(L"D:a.wav"), L"D:");
    EXPECT_EQ(FolderOf(L"a.wav"), L"");
    EXPECT_EQ(FolderOf(L"\\\\server\\share\\a.mp3"), L"\\\\server\\share");
    EXPECT_EQ(FolderOf(L"C:\\Music\\"), L"C:\\Music");
    EXPECT_EQ(FolderOf(L""), L"");
}

TEST(HostPaths, FileExistsOnlyForFilesThatOpen) {
    TempFolder folder;
    folder.Write(L"a.mp3", "x");
    EXPECT_TRUE(FileExists(folder.File(L"a.mp3")));
    EXPECT_TRUE(FileExists(folder.File(L"a.mp3") + L"\\"));  // one trailing backslash is ignored
    EXPECT_FALSE(FileExists(folder.File(L"b.mp3")));
    EXPECT_FALSE(FileExists(folder.Folder()));
    EXPECT_FALSE(FileExists(folder.Folder() + L"\\"));
    EXPECT_FALSE(FileExists(L""));
    EXPECT_FALSE(FileExists(L"\\"));
}

}  // namespace
