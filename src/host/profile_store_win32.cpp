#include "profile_store_win32.h"

#include <windows.h>

#include "cp932.h"

namespace {

constexpr DWORD kReplySize = 256;

}  // namespace

std::wstring Win32ProfileStore::ReadIniValue(const std::wstring& section, const std::wstring& key,
                                             const std::wstring& file) const {
    char reply[kReplySize] = {};
    GetPrivateProfileStringA(ToCp932(section).c_str(), ToCp932(key).c_str(), "", reply, kReplySize,
                             ToCp932(file).c_str());
    return FromCp932(reply);
}

void Win32ProfileStore::WriteIniValue(const std::wstring& section, const std::wstring& key,
                                      const std::wstring& value, const std::wstring& file) {
    WritePrivateProfileStringA(ToCp932(section).c_str(), ToCp932(key).c_str(),
                               ToCp932(value).c_str(), ToCp932(file).c_str());
}
