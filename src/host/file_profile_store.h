#pragma once

#include "profile_store.h"

// The profile format read and written with the standard library, for systems without the
// platform's profile routines (the native tests and tools). The file keeps every line that is not
// the key being written.
class FileProfileStore final : public ProfileStore {
  public:
    std::wstring ReadIniValue(const std::wstring& section, const std::wstring& key,
                              const std::wstring& file) const override;
    bool WriteIniValue(const std::wstring& section, const std::wstring& key,
                       const std::wstring& value, const std::wstring& file) override;
};
