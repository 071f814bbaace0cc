// The settings file's reader and writer on any bytes as the file (after a NUL, the value to write):
// the three keys read; a value written reads back and leaves the other keys unchanged.
#include "cp932.h"
#include "fuzz_support.h"
#include "ini_text.h"
#include "settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string section = ToCp932(kSettingsSection);
    static const std::string keys[] = {ToCp932(kBgmKindKey), ToCp932(kBgmRepeatKey),
                                       ToCp932(kBgmFileKey)};
    const auto parts = SplitOnNul(data, size);
    const std::string_view value = parts.size() > 1 ? parts[1] : " 2";
    std::optional<std::string> before[3];
    for (int i = 0; i < 3; ++i) {  // as the host reads them, cut to its reply buffer
        before[i] = IniValue(parts[0], section, keys[i]);
        FromCp932(CutToReplyBuffer(before[i].value_or("")));
    }
    const std::size_t written = size % 3;
    const std::string after = WithIniValue(parts[0], section, keys[written], value);
    // A value of several lines, which no path or number the host writes is, adds lines of its own.
    if (value.find_first_of("\r\n") != value.npos) return 0;
    for (std::size_t i = 0; i < 3; ++i)
        FUZZ_CHECK(i == written || IniValue(after, section, keys[i]) == before[i]);
    // A value reads back as written unless blanks pad it or quotes enclose it.
    const std::string ends = value.empty() ? "" : std::string{value.front(), value.back()};
    if (ends.find_first_of(" \t\x1A\v\f") != ends.npos ||
        (value.size() >= 2 && ends[0] == ends[1] && (ends[0] == '"' || ends[0] == '\'')))
        return 0;
    FUZZ_CHECK(IniValue(after, section, keys[written]) == value &&
               WithIniValue(after, section, keys[written], value) == after);
    return 0;
}
