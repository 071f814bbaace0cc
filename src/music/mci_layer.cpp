#include "mci_layer.h"

#include "cp932.h"
#include "reply_buffer.h"

std::int32_t MciLayer::SendMci(std::wstring_view command, std::wstring& text) {
    if (command.empty()) {
        text = kMciEmptyCommandText;
        return kMciEmptyCommand;
    }
    ClearBuffer(mciReply_);
    const std::int32_t code = port_.SendString(ToCp932(command), mciReply_);
    if (code == 0) {
        text = BufferText(mciReply_);
        return 0;
    }
    ClearBuffer(mciErrorText_);
    text = port_.ErrorString(code, mciErrorText_) ? BufferText(mciErrorText_)
                                                  : std::wstring(kMciNoErrorText);
    return code;
}

std::wstring MciLayer::MciQuery(std::wstring_view command) {
    const std::int32_t code = SendMci(command, mciLastText_);
    if (code != 0) return L"Error:" + std::to_wstring(code);
    return mciLastText_;
}

std::int32_t MciLayer::MciPlay(std::wstring_view device, std::wstring_view from,
                               std::wstring_view to) {
    std::wstring command = L"play ";
    command += device;
    if (!from.empty()) (command += L" from ") += from;
    if (!to.empty()) (command += L" to ") += to;
    return SendMci(command, mciLastText_);
}
