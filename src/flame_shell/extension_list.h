#pragma once

#include <string_view>

// Whether a space-separated OpenGL extension list, as a driver reports it, names `extension`
// exactly: a longer name that begins with it (WGL_EXT_swap_control_tear) does not count.
bool HasExtension(std::string_view list, std::string_view extension);
