// The host's command line, two input bytes to a UTF-16 unit: the argument string after the program
// name; the mode letter, the second character in capitals; the preview handle, the nearest whole
// number to what follows the third character; any handle written in decimal reads back.
#include <algorithm>
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
    const wchar_t mode = ModeLetter(arguments);
    FUZZ_CHECK((mode < L'a' || mode > L'z') && (arguments.size() >= 2 || mode == 0));
    if (arguments.size() >= 2) {  // neither the first character nor the letter's case counts
        std::wstring other = L"-" + arguments.substr(1);
        if (other[1] >= L'A' && other[1] <= L'Z') other[1] = static_cast<wchar_t>(other[1] + 32);
        FUZZ_CHECK(ModeLetter(other) == mode);
    }
    const std::int32_t handle = PreviewHandle(arguments);
    FUZZ_CHECK(
        arguments.size() < 4
            ? handle == 0
            : PreviewHandle(L"/P:" + arguments.substr(3)) == handle &&
                  (handle == 0 || std::fabs(handle - LeadingNumber(arguments.substr(3))) <= 0.5));
    std::int32_t written = 0;
    std::memcpy(&written, data, std::min<std::size_t>(size, sizeof written));
    FUZZ_CHECK(PreviewHandle(L"/p " + std::to_wstring(written)) == written);
    return 0;
}
