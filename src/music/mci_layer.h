#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "mci_port.h"

// The thin layer over MCI: a command's answer as a code and a text, a query as a text, and
// "play" commands built from a device and optional positions. Its buffers are overwritten by
// every call.
class MciLayer {
  public:
    explicit MciLayer(MciPort& port) : port_(port) {}

    // Code 0 with the reply in `text`, or the error code with the platform's description of it.
    // An empty command is not sent: code -1 with a text saying so.
    std::int32_t SendMci(std::wstring_view command, std::wstring& text);
    // The reply, or "Error:" followed by the code; callers look for "ERR" in the answer.
    std::wstring MciQuery(std::wstring_view command);
    // Sends "play <device>[ from <from>][ to <to>]", the positions inserted exactly as given.
    std::int32_t MciPlay(std::wstring_view device, std::wstring_view from, std::wstring_view to);

    const std::wstring& LastText() const { return mciLastText_; }

  private:
    MciPort& port_;
    std::array<char, 512> mciReply_{};
    std::array<char, 256> mciErrorText_{};
    std::wstring mciLastText_;
};

inline constexpr std::int32_t kMciEmptyCommand = -1;
inline constexpr std::wstring_view kMciEmptyCommandText = L"コマンド文字列が指定されていません";
inline constexpr std::wstring_view kMciNoErrorText = L"Error (文字列が取れません)";
