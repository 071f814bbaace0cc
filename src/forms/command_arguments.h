#pragma once

#include <string>
#include <string_view>

namespace forms {

// The argument string of a command line: what follows the program name (quoted or not) and the
// blanks after it. Nothing else is split.
std::wstring ArgumentsAfterProgramName(std::wstring_view commandLine);

}  // namespace forms
