#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "host_paths.h"

// A fresh folder for one test, removed at the end, named the host's way (backslashes), which the
// portable code maps to native paths.
struct TempFolder {
    TempFolder() { std::filesystem::create_directories(path_); }
    ~TempFolder() { std::filesystem::remove_all(path_, ignored_); }
    std::wstring Folder() const { return path_.wstring(); }
    std::wstring File(const std::wstring& name) const { return Folder() + L"\\" + name; }
    void Write(const std::wstring& name, const std::string& bytes) const {
        std::ofstream(NativePath(File(name)), std::ios::binary) << bytes;
    }
    std::string Read(const std::wstring& name) const {
        std::ifstream stream(NativePath(File(name)), std::ios::binary);
        return {std::istreambuf_iterator<char>(stream), {}};
    }

  private:
    const std::filesystem::path path_ = std::filesystem::temp_directory_path() /
                                        ("lullvane-host-" + std::to_string(std::random_device()()));
    std::error_code ignored_;
};
