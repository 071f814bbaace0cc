// The settings file's reader and writer on any bytes as the file (and, after a NUL, the value to
// write): the three keys read, a value written reads back and leaves the other keys alone.
#include <array>

#include "cp932.h"
#include "fuzz_support.h"
#include "ini_text.h"
#include "settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string section = ToCp932(kSettingsSection);
    static const std::array<std::string, 3> keys = {ToCp932(kBgmKindKey), ToCp932(kBgmRepeatKey),
                                                    ToCp932(kBgmFileKey)};
    const auto parts = SplitOnNul(data, size);
    const std::string_view file = parts[0];
    const std::string_view value = parts.size() > 1 ? parts[1] : " 2";

    std::array<std::optional<std::string>, 3> before;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        before[i] = IniValue(file, section, keys[i]);
        if (!before[i]) continue;
        const std::string reply = CutToReplyBuffer(*before[i]);
        FUZZ_CHECK(reply.size() <= 255 && before[i]->starts_with(reply));
        FUZZ_CHECK(before[i]->size() > 255 || reply == *before[i]);
        FromCp932(reply);
    }

    const std::size_t written = size % keys.size();
    const std::string after = WithIniValue(file, section, keys[written], value);
    // A value of several lines, which no path or number the host writes can be, adds lines of
    // its own, as it does through the platform's profile routines.
    const bool oneLine = value.find_first_of("\r\n") == std::string_view::npos;
    for (std::size_t i = 0; i < keys.size() && oneLine; ++i) {
        FUZZ_CHECK(i == written || IniValue(after, section, keys[i]) == before[i]);
    }
    // A value reads back as written when it has no blanks at its ends and is not in quotes.
    constexpr std::string_view kBlanks = " \t\x1A\v\f";
    const bool trimmed = value.empty() || (kBlanks.find(value.front()) == std::string_view::npos &&
                                           kBlanks.find(value.back()) == std::string_view::npos);
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                        value.back() == value.front();
    if (oneLine && trimmed && !quoted) {
        FUZZ_CHECK(IniValue(after, section, keys[written]) == value);
        FUZZ_CHECK(WithIniValue(after, section, keys[written], value) == after);
    }
    return 0;
}
