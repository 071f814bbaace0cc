#include "mci_layer.h"

#include "cp932.h"
#include "reply_buffer.h"

std::int32_t MciLayer::SendMci(std::wstring_view command, std::wstring& text) {
    if (command.empty()) {
        text = kMciEmptyCommandText;
        return kMciEmptyCommand;
    }
    ClearBuffer(mciReply);
    const std::int32_t code = port.SendString(ToCp932(command), mciReply);
    if (code == 0) {
        text = BufferText(mciReply);
        return 0;
    }
    ClearBuffer(mciErrorText);
    text = port.ErrorString(code, mciErrorText) ? BufferText(mciErrorText)
                                                : std::wstring(kMciNoErrorText);
    return code;
}

std::wstring MciLayer::MciQuery(std::wstring_view command) {
    const std::int32_t code = SendMci(command, mciLastText);
    if (code != 0) return L"Error:" + std::to_wstring(code);
    return mciLastText;
}

std::int32_t MciLayer::MciPlay(std::wstring_view device, std::wstring_view from,
                               std::wstring_view to) {
    std::wstring command = L"play ";
    command += device;
    if (!from.empty()) (command += L" from ") += from;
    if (!to.empty()) (command += L" to ") += to;
    return SendMci(command, mciLastText);
}
