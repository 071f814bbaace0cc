#pragma once

#include "profile_store.h"

// The profile store on the platform's profile routines. The file's path goes to them as it is,
// wide, so that a folder with characters outside code page 932 reads and writes its own file;
// section, key and value keep their code page 932 bytes in the file.
class Win32ProfileStore final : public ProfileStore {
  public:
    std::wstring ReadIniValue(const std::wstring& section, const std::wstring& key,
                              const std::wstring& file) const override;
    bool WriteIniValue(const std::wstring& section, const std::wstring& key,
                       const std::wstring& value, const std::wstring& file) override;
};
