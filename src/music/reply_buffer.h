#pragma once

#include <algorithm>
#include <span>
#include <string>
#include <string_view>

#include "cp932.h"

// The fixed-size character buffers the platform answers into. Each is cleared before it is
// handed over, so an answer that writes nothing never shows an earlier reply.
inline void ClearBuffer(std::span<char> buffer) {
    std::ranges::fill(buffer, '\0');
}

// The buffer's text up to its first NUL, back from code page 932.
inline std::wstring BufferText(std::span<const char> buffer) {
    const auto end = std::ranges::find(buffer, '\0');
    return FromCp932(std::string_view(buffer.data(), static_cast<size_t>(end - buffer.begin())));
}
