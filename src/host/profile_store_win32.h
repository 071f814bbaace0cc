#pragma once

#include "profile_store.h"

// The profile store on the platform's profile routines, through their code page 932 (ANSI) forms.
class Win32ProfileStore final : public ProfileStore {
  public:
    std::wstring ReadIniValue(const std::wstring& section, const std::wstring& key,
                              const std::wstring& file) const override;
    void WriteIniValue(const std::wstring& section, const std::wstring& key,
                       const std::wstring& value, const std::wstring& file) override;
};
