// Paths held wide and opened as UTF-8 bytes: any valid UTF-8 text taken wide gives back the same
// bytes, backslashes turned into slashes, and the same characters decoded again.
#include <algorithm>

#include "fuzz_support.h"
#include "host_paths.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::u32string characters;
    try {
        characters = std::filesystem::path(std::u8string(data, data + size)).u32string();
    } catch (const std::exception&) {
        return 0;  // not valid UTF-8
    }
    const std::wstring wide(characters.begin(), characters.end());
    const std::filesystem::path native = NativePath(wide);
    std::string bytes(reinterpret_cast<const char*>(data), size);
    std::ranges::replace(bytes, '\\', '/');
    std::ranges::replace(characters, U'\\', U'/');
    FUZZ_CHECK(native.native() == bytes && native.u32string() == characters);
    return 0;
}
