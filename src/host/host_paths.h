#pragma once

#include <filesystem>
#include <string>

// Path rules of the host. Paths are Windows paths held wide; the program folder carries no
// trailing backslash and file names are joined to it by plain concatenation.

// True when the file can be opened for reading; a folder, a missing file and an empty path
// give false. One trailing backslash is ignored.
bool FileExists(const std::wstring& path);

// The folder part of a path without a trailing backslash: C:\Music\a.mp3 gives C:\Music,
// C:\a.mp3 gives C:, D:a.wav gives D:, a.wav gives the empty text.
std::wstring FolderOf(const std::wstring& path);

// The path as the standard library opens it: on a system whose separator is '/', backslashes
// become slashes so that the same Windows-style paths work in the native tests and tools.
std::filesystem::path NativePath(const std::wstring& path);

std::wstring SettingsFilePath(const std::wstring& programFolder);
std::wstring RendererPath(const std::wstring& programFolder);
