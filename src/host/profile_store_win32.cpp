#include "profile_store_win32.h"

#include <windows.h>

#include "cp932.h"
#include "ini_text.h"

namespace {

constexpr DWORD kReplySize = 256;

// The wide profile routines turn text into the file's bytes, and back, through the system's ANSI
// code page, as the ANSI routines would. Handing them the code page 932 bytes decoded that same
// way makes them write exactly those bytes whatever the ANSI code page is; this is the one place
// where the ANSI code page is meant.
std::wstring AsAnsiCallSees(const std::wstring& text) {
    const std::string bytes = ToCp932(text);
    if (bytes.empty()) return {};
    const int length = static_cast<int>(bytes.size());
    std::wstring wide(static_cast<size_t>(length), L'\0');
    const int size = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, wide.data(), length);
    wide.resize(static_cast<size_t>(size > 0 ? size : 0));
    return wide;
}

std::string FileBytesOf(const wchar_t* reply) {
    const int size = WideCharToMultiByte(CP_ACP, 0, reply, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return {};
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, reply, -1, bytes.data(), size, nullptr, nullptr);
    bytes.resize(static_cast<size_t>(size - 1));  // without the terminating NUL
    return bytes;
}

}  // namespace

std::wstring Win32ProfileStore::ReadIniValue(const std::wstring& section, const std::wstring& key,
                                             const std::wstring& file) const {
    wchar_t reply[kReplySize] = {};
    GetPrivateProfileStringW(AsAnsiCallSees(section).c_str(), AsAnsiCallSees(key).c_str(), L"",
                             reply, kReplySize, file.c_str());
    return FromCp932(CutToReplyBuffer(FileBytesOf(reply)));
}

bool Win32ProfileStore::WriteIniValue(const std::wstring& section, const std::wstring& key,
                                      const std::wstring& value, const std::wstring& file) {
    return WritePrivateProfileStringW(AsAnsiCallSees(section).c_str(), AsAnsiCallSees(key).c_str(),
                                      AsAnsiCallSees(value).c_str(), file.c_str()) != FALSE;
}
