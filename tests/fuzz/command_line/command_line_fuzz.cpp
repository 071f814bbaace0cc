// The host's command line, two input bytes to a UTF-16 unit: the argument string after the
// program name, the mode letter and the preview handle.
#include <cmath>
#include <cstring>

#include "command_arguments.h"
#include "command_line.h"
#include "fuzz_support.h"
#include "number_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::wstring line;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        line += static_cast<wchar_t>(data[i] | data[i + 1] << 8);
    const std::wstring arguments = forms::ArgumentsAfterProgramName(line);
    FUZZ_CHECK(line.ends_with(arguments) && !arguments.starts_with(L' ') &&
               !arguments.starts_with(L'\t'));

    // The mode letter: the second character, in capitals; the first character does not count.
    const wchar_t mode = ModeLetter(arguments);
    FUZZ_CHECK(!(mode >= L'a' && mode <= L'z') && (arguments.size() >= 2 || mode == 0));
    if (arguments.size() >= 2) {
        std::wstring other = L"-" + arguments.substr(1);
        if (other[1] >= L'A' && other[1] <= L'Z') other[1] = static_cast<wchar_t>(other[1] + 32);
        FUZZ_CHECK(ModeLetter(other) == mode);
    }

    // The handle: read from the fourth character on, the nearest whole number to its number.
    const std::int32_t handle = PreviewHandle(arguments);
    FUZZ_CHECK(arguments.size() >= 4 || handle == 0);
    if (arguments.size() >= 4) {
        FUZZ_CHECK(PreviewHandle(L"/P:" + arguments.substr(3)) == handle);
        FUZZ_CHECK(handle == 0 || std::fabs(handle - LeadingNumber(arguments.substr(3))) <= 0.5);
    }
    // Any handle the system writes in decimal reads back.
    if (size >= 4) {
        std::int32_t written = 0;
        std::memcpy(&written, data, sizeof written);
        FUZZ_CHECK(PreviewHandle(L"/p " + std::to_wstring(written)) == written);
    }
    return 0;
}
