#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// What the host reads from the command line that the system hands a screen saver.

// The second character of the upper-cased argument string, or 0 when it is shorter: /s, /S,
// -s and /s:123 all give 'S'.
wchar_t ModeLetter(std::wstring_view arguments);

// The preview host window's handle: the argument string from its fourth character on, read
// leniently as a number and rounded to a 32-bit integer; 0 when there is no number or it does
// not fit. Both "/p 4711" and "/p:4711" give 4711.
std::int32_t PreviewHandle(std::wstring_view arguments);
