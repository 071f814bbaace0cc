// The settings file's reader and writer on any bytes as the file (and, after a NUL, the value to
// write): the three keys read, a value written reads back and leaves the other keys alone.
#include <array>
#include <string>

#include "cp932.h"
#include "fuzz_support.h"
#include "ini_text.h"
#include "settings_file.h"

namespace {

bool OneLine(std::string_view value) {
    return value.find_first_of("\r\n") == std::string_view::npos;
}

// A value the format gives back as it was: one line, no blanks at its ends, not in quotes.
bool ReadsBackAsWritten(std::string_view value) {
    constexpr std::string_view kBlanks = " \t\x1A\v\f";
    if (!OneLine(value)) return false;
    if (!value.empty() && (kBlanks.find(value.front()) != std::string_view::npos ||
                           kBlanks.find(value.back()) != std::string_view::npos)) {
        return false;
    }
    return !(value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
             value.back() == value.front());
}

}  // namespace

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
    for (std::size_t i = 0; i < keys.size() && OneLine(value); ++i) {
        if (i != written) FUZZ_CHECK(IniValue(after, section, keys[i]) == before[i]);
    }
    if (ReadsBackAsWritten(value)) {
        FUZZ_CHECK(IniValue(after, section, keys[written]) == value);
        FUZZ_CHECK(WithIniValue(after, section, keys[written], value) == after);
    }
    return 0;
}
