#include "settings_file.h"

#include "../common/expect_rows.h"
#include "cp932.h"
#include "file_profile_store.h"
#include "temp_folder.h"

namespace {

std::string IniFile(const std::string& kind, const std::string& repeat, const std::string& file) {
    return "[Section]\r\n" + ToCp932(kBgmKindKey) + "=" + kind + "\r\n" + ToCp932(kBgmRepeatKey) +
           "=" + repeat + "\r\n" + ToCp932(kBgmFileKey) + "=" + file + "\r\n";
}

struct SettingsFileTest : testing::Test {
    // Kind, track and file as loaded over settings that hold kind 5 and track 7.
    std::tuple<int, int, std::wstring> Load(const std::string& iniBytes) {
        folder.Write(L"Lullvane.ini", iniBytes);
        SettingsVariables settings{5, 7, L"", L"", 0};
        LoadSettings(store, folder.Folder(), settings);
        return {settings.BgmKind, settings.BgmRepeatTrack, settings.BgmFile};
    }
    TempFolder folder;
    FileProfileStore store;
};

// clang-format off
// Writes that fail from a given one on, counting the writes tried.
struct FailingStore final : ProfileStore {
    explicit FailingStore(int firstFailure) : firstFailure(firstFailure) {}
    std::wstring ReadIniValue(const std::wstring&, const std::wstring&, const std::wstring&) const override { return {}; }
    bool WriteIniValue(const std::wstring&, const std::wstring&, const std::wstring&, const std::wstring&) override {
        return ++tried < firstFailure;
    }
    int firstFailure, tried = 0;
};

TEST_F(SettingsFileTest, LoadReadsNumbersDownAndFilesThatOpenSaveWritesTheKeysInTheirFormsAndPathsFollowTheDriveRules) {
    SettingsVariables settings{5, 7, L"", L"", 0};  // no file: all empty, the music from the program's folder
    LoadSettings(store, folder.Folder(), settings);
    EXPECT_EQ(std::tie(settings.BgmKind, settings.BgmRepeatTrack, settings.BgmFile, settings.BgmFolder),
              std::tuple(0, 0, L"", folder.Folder()));
    folder.Write(L"song.mp3", "ID3");
    folder.Write(L"\u66F2 01.wav", "RIFF");  // a kanji and a blank in the name
    const std::wstring song = folder.File(L"song.mp3"), kanji = folder.File(L"\u66F2 01.wav"), gone = folder.File(L"gone.mp3");
    using Stored = std::tuple<const char*, const char*, std::wstring>;  // kind, track, file
    using Read = std::tuple<int, int, std::wstring>;
    // An empty text reads as 0; a file source without a file that opens falls back to none; an
    // audio CD keeps its kind whatever happened to its file.
    ExpectRows<Stored, Read>([&](const Stored& s) { return Load(IniFile(std::get<0>(s), std::get<1>(s), ToCp932(std::get<2>(s)))); },
        {{{"1.99", "-0.5", L""}, {1, -1, L""}}, {{" 1 ", "32767.9", L""}, {1, 32767, L""}}, {{"\t1", "-32768", L""}, {1, -32768, L""}},
         {{"abc", "40000", L""}, {5, 7, L""}}, {{"", "-32769", L""}, {0, 7, L""}}, {{"-1e-400", "", L""}, {0, 0, L""}},
         {{"2.7", "12", L""}, {0, 12, L""}}, {{" 2", " 3", song}, {2, 3, song}}, {{" 2", " 3", kanji}, {2, 3, kanji}},
         {{" 2", " 3", gone}, {0, 3, L""}}, {{" 1", " 3", gone}, {1, 3, L""}}});
    // Keys and section without regard to case, blanks around names and values ignored.
    EXPECT_EQ(Load("[section]\r\nbgm\x8B\xE6\x95\xAA   =   1   \r\nBgm\xD8\xCB\xDF\xB0\xC4=\t12\r\n"), Read(1, 12, L""));
    const std::string sevens(300, '7');  // values are cut to 255 bytes
    folder.Write(L"Lullvane.ini", IniFile(" 1", sevens, sevens));
    EXPECT_EQ(store.ReadIniValue(kSettingsSection, kBgmFileKey, SettingsFilePath(folder.Folder())), std::wstring(255, L'7'));
    std::filesystem::remove(NativePath(folder.File(L"Lullvane.ini")));
    settings = {2, 0, L"C:\\\u97F3\u697D\\a b.mp3", L"", 0};
    EXPECT_TRUE(SaveSettings(store, folder.Folder(), settings, L""));
    EXPECT_EQ(folder.Read(L"Lullvane.ini"), IniFile(" 2", " 0", "C:\\\x89\xB9\x8A\x79\\a b.mp3"));
    folder.Write(L"Lullvane.ini", "; mine\r\n[Other]\r\nx = y\r\n[SECTION]\r\nbgm\x8B\xE6\x95\xAA = 1\r\n");
    settings = {-1, 0, L"D:a.wav", L"", 0};
    SaveSettings(store, folder.Folder(), settings, L"4");
    EXPECT_EQ(folder.Read(L"Lullvane.ini"), "; mine\r\n[Other]\r\nx = y\r\n[SECTION]\r\nbgm\x8B\xE6\x95\xAA=-1\r\n" +
                                                ToCp932(kBgmRepeatKey) + "= 4\r\n" + ToCp932(kBgmFileKey) + "=D:a.wav\r\n");
    // The track box's text: a number rounded (halves to even), anything else 0; as kept, as stored.
    for (const auto& [text, track] : {std::pair(L"abc", 0), {L"3.5", 4}, {L"2.5", 2}, {L"99999", 0}, {L" 30 ", 30}, {L"-3", -3}}) {
        SaveSettings(store, folder.Folder(), settings, text);  // each row's track differs from the one before, and is kept
        const int kept = settings.BgmRepeatTrack;
        EXPECT_EQ(std::pair(kept, std::get<1>(Load(folder.Read(L"Lullvane.ini")))), std::pair(track, track)) << text;
    }
    for (const auto& [firstFailure, saved, tried] : {std::tuple(1, false, 1), {2, false, 2}, {3, false, 3}, {4, true, 3}}) {
        FailingStore failing(firstFailure);
        EXPECT_EQ(std::pair(SaveSettings(failing, folder.Folder(), settings, L"1"), failing.tried), std::pair(saved, tried));
    }
    EXPECT_FALSE(SaveSettings(store, folder.File(L"no such folder"), settings, L"1"));
    ExpectRows<const wchar_t*, std::wstring>(FolderOf,
        {{L"C:\\Music\\a.mp3", L"C:\\Music"}, {L"C:\\a.mp3", L"C:"}, {L"D:a.wav", L"D:"}, {L"a.wav", L""},
         {L"\\\\server\\share\\a.mp3", L"\\\\server\\share"}, {L"C:\\Music\\", L"C:\\Music"}, {L"", L""}});
    // A file opens, with one trailing backslash too; nothing else does.
    ExpectRows<std::wstring, bool>(FileExists, {{song, true}, {song + L"\\", true}, {gone, false}, {folder.Folder(), false},
        {folder.Folder() + L"\\", false}, {L"", false}, {L"\\", false}});
    // The edges of each UTF-8 length, up to characters beyond U+FFFF.
    EXPECT_EQ(NativePath(L"C:\\a\u007F\u0080\u07FF\u0800\uFFFF\U00010000\U0010FFFF").native(),
              "C:/a\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF");
}
// clang-format on

}  // namespace
