#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "mci_port.h"

// Commands whose answer nobody reads go straight to the platform with no reply buffer.
std::int32_t SendMciDirect(MciPort& port, std::wstring_view command);

// A "status <device> mode" query answered into `buffer`: the first 7 characters of the reply,
// which is all the callers compare ("playing", "stopped"). A failed query gives the empty text.
std::wstring QueryModeWord(MciPort& port, std::wstring_view command, std::span<char> buffer);
