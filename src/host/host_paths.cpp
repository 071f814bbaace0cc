#include "host_paths.h"

#include <cstdint>
#include <fstream>
#include <system_error>

namespace {

void AppendUtf8(wchar_t character, std::string& bytes) {
    const auto code = static_cast<std::uint32_t>(character);
    const auto byte = [&](std::uint32_t value) { bytes += static_cast<char>(value); };
    if (code < 0x80) {
        byte(code);
    } else if (code < 0x800) {
        byte(0xC0 | (code >> 6));
        byte(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        byte(0xE0 | (code >> 12));
        byte(0x80 | ((code >> 6) & 0x3F));
        byte(0x80 | (code & 0x3F));
    } else {
        byte(0xF0 | (code >> 18));
        byte(0x80 | ((code >> 12) & 0x3F));
        byte(0x80 | ((code >> 6) & 0x3F));
        byte(0x80 | (code & 0x3F));
    }
}

}  // namespace

bool FileExists(const std::wstring& path) {
    std::wstring file = path;
    if (!file.empty() && file.back() == L'\\') file.pop_back();
    if (file.empty()) return false;
    const std::filesystem::path native = NativePath(file);
    std::error_code error;
    if (std::filesystem::is_directory(native, error)) return false;
    const std::ifstream stream(native, std::ios::binary);
    return stream.is_open();
}

std::wstring FolderOf(const std::wstring& path) {
    const size_t last = path.find_last_of(L":\\");
    if (last == std::wstring::npos) return {};
    std::wstring folder = path.substr(0, last + 1);
    if (folder.back() == L'\\') folder.pop_back();
    return folder;
}

std::filesystem::path NativePath(const std::wstring& path) {
    if constexpr (std::filesystem::path::preferred_separator == L'/') {
        // Such systems name files in UTF-8 bytes; the conversion is done here so that it never
        // depends on the process's locale.
        std::string bytes;
        for (const wchar_t c : path) AppendUtf8(c == L'\\' ? L'/' : c, bytes);
        return std::filesystem::path(bytes);
    }
    return std::filesystem::path(path);
}

std::wstring SettingsFilePath(const std::wstring& programFolder) {
    return programFolder + L"\\Lullvane.ini";
}

std::wstring RendererPath(const std::wstring& programFolder) {
    return programFolder + L"\\Lullvane.dll";
}
