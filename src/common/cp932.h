#pragma once

#include <string>
#include <string_view>

// The host keeps text wide and hands it to the platform as code page 932 bytes (the settings
// file, MCI command strings, window titles other programs look for). The conversion is explicit,
// never the system's ANSI code page. Characters code page 932 cannot hold become '?'; byte
// sequences that are not code page 932 become U+FFFD.
std::string ToCp932(std::wstring_view text);
std::wstring FromCp932(std::string_view bytes);
