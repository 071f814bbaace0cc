#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "host_paths.h"

// A fresh folder for one test, removed at the end. Paths are handed to the host in its own
// Windows form (backslash separators), which the portable code maps to native paths.
class TempFolder {
  public:
    TempFolder() { std::filesystem::create_directories(path_); }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }

    std::wstring Folder() const { return path_.wstring(); }
    std::wstring File(const std::wstring& name) const { return Folder() + L"\\" + name; }
    void Write(const std::wstring& name, const std::string& bytes) const {
        std::ofstream(NativePath(File(name)), std::ios::binary) << bytes;
    }
    std::string Read(const std::wstring& name) const {
        std::ifstream stream(NativePath(File(name)), std::ios::binary);
        return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
    }

  private:
    const std::filesystem::path path_ = std::filesystem::temp_directory_path() /
                                        ("lullvane-host-" + std::to_string(std::random_device()()));
};
