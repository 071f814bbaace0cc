#pragma once

#include <string>

// Reads and writes single keys of a profile ("INI") file. Section, key and value are held wide
// and stored as code page 932 bytes. Implemented on the platform's profile routines on Windows
// and by a portable reader and writer of the same format everywhere.
class ProfileStore {
  public:
    virtual ~ProfileStore() = default;

    // The value of one key with the blanks around it removed, at most 255 bytes; empty when the
    // file, the section or the key is missing.
    virtual std::wstring ReadIniValue(const std::wstring& section, const std::wstring& key,
                                      const std::wstring& file) const = 0;
    // Creates or replaces one key, creating the file and the section when they are missing;
    // false when the file could not be written.
    virtual bool WriteIniValue(const std::wstring& section, const std::wstring& key,
                               const std::wstring& value, const std::wstring& file) = 0;
};
