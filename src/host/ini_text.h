#pragma once

#include <optional>
#include <string>
#include <string_view>

// The profile ("INI") format on code page 932 bytes, read and edited the way the platform's
// profile routines do: "[Section]" lines, "key=value" lines, names compared without regard to
// ASCII case, blanks around names and values ignored on reading, a value in a matching pair of
// quotes read without them. Editing a key touches only that key's line; every other line of
// the file keeps its bytes.

// The value of `key` in `section`, or nothing when either is missing.
std::optional<std::string> IniValue(std::string_view file, std::string_view section,
                                    std::string_view key);

// The file with `key` in `section` set to `value`: the key's line is replaced, or a new line is
// added at the end of the section, or the section is added at the end of the file.
std::string WithIniValue(std::string_view file, std::string_view section, std::string_view key,
                         std::string_view value);

// The value as a reply buffer of 256 bytes holds it: at most 255 bytes, never half a character.
std::string CutToReplyBuffer(std::string value);
