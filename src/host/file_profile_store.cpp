#include "file_profile_store.h"

#include <fstream>
#include <iterator>

#include "cp932.h"
#include "host_paths.h"
#include "ini_text.h"

namespace {

std::string ReadBytes(const std::wstring& file) {
    std::ifstream stream(NativePath(file), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

}  // namespace

std::wstring FileProfileStore::ReadIniValue(const std::wstring& section, const std::wstring& key,
                                            const std::wstring& file) const {
    const auto value = IniValue(ReadBytes(file), ToCp932(section), ToCp932(key));
    return value ? FromCp932(CutToReplyBuffer(*value)) : std::wstring();
}

bool FileProfileStore::WriteIniValue(const std::wstring& section, const std::wstring& key,
                                     const std::wstring& value, const std::wstring& file) {
    const std::string text =
        WithIniValue(ReadBytes(file), ToCp932(section), ToCp932(key), ToCp932(value));
    std::ofstream stream(NativePath(file), std::ios::binary | std::ios::trunc);
    stream.write(text.data(), static_cast<std::streamsize>(text.size()));
    stream.close();
    return !stream.fail();
}
