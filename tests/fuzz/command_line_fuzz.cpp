// The host's command line (two bytes to a UTF-16 unit): the mode letter and the preview handle.
#include <cmath>

#include "command_arguments.h"
#include "command_line.h"
#include "fuzz_support.h"
#include "number_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::wstring line;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        line += static_cast<wchar_t>(data[i] | data[i + 1] << 8);
    const std::wstring arguments = forms::ArgumentsAfterProgramName(line);
    FUZZ_CHECK(line.ends_with(arguments));
    const wchar_t mode = ModeLetter(arguments);
    FUZZ_CHECK((mode < L'a' || mode > L'z') && (arguments.size() >= 2 || mode == 0));
    const std::int32_t handle = PreviewHandle(arguments);
    FUZZ_CHECK(
        arguments.size() < 4
            ? handle == 0
            : PreviewHandle(L"/P:" + arguments.substr(3)) == handle &&
                  (handle == 0 || std::fabs(handle - LeadingNumber(arguments.substr(3))) <= 0.5));
    return 0;
}
