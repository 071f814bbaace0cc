#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

// Ends the run when a property does not hold; libFuzzer keeps the input that broke it.
#define FUZZ_CHECK(p) ((p) ? void() : (std::fputs("broken: " #p "\n", stderr), std::abort()))

// The input as the parts between its NUL bytes, the way a command line's arguments arrive.
inline std::vector<std::string_view> SplitOnNul(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string_view> parts;
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    for (std::size_t end; (end = rest.find('\0')) != rest.npos; rest.remove_prefix(end + 1))
        parts.push_back(rest.substr(0, end));
    parts.push_back(rest);
    return parts;
}

// Each byte as one wide character of the same value.
inline std::wstring Widened(std::string_view bytes) {
    return std::wstring(reinterpret_cast<const unsigned char*>(bytes.data()),
                        reinterpret_cast<const unsigned char*>(bytes.data() + bytes.size()));
}
