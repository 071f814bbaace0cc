#include "mci_direct.h"

#include "cp932.h"
#include "reply_buffer.h"

namespace {
constexpr size_t kModeWordLength = 7;
}

std::int32_t SendMciDirect(MciPort& port, std::wstring_view command) {
    return port.SendString(ToCp932(command), {});
}

std::wstring QueryModeWord(MciPort& port, std::wstring_view command, std::span<char> buffer) {
    ClearBuffer(buffer);
    // The code is not looked at: a failed query leaves the buffer empty, which matches no mode.
    port.SendString(ToCp932(command), buffer);
    return BufferText(buffer).substr(0, kModeWordLength);
}
