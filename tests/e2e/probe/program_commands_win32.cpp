// The probe's commands on programs: what a program file carries, and a program started late.
#include <cstdio>

#include "probe_win32.h"

int ResourcesCommand(const Arguments& args) {
    std::vector<char> info(GetFileVersionInfoSizeW(args[0].c_str(), nullptr));
    VS_FIXEDFILEINFO* fixed = nullptr;
    WORD* language = nullptr;
    UINT length = 0;
    if (info.empty() || !GetFileVersionInfoW(args[0].c_str(), 0, info.size(), info.data()) ||
        !VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length)) {
        std::printf("version=0\n");
        return 1;
    }
    std::printf("file_version=%u.%u.%u.%u product_version=%u.%u.%u.%u\n",
                HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS),
                HIWORD(fixed->dwProductVersionMS), LOWORD(fixed->dwProductVersionMS),
                HIWORD(fixed->dwProductVersionLS), LOWORD(fixed->dwProductVersionLS));
    // The strings of the first language the resource lists.
    if (!VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&language), &length) ||
        length < 2 * sizeof(WORD)) {
        return 1;
    }
    wchar_t block[64];
    std::swprintf(block, 64, L"\\StringFileInfo\\%04x%04x\\", language[0], language[1]);
    for (const wchar_t* name : {L"FileVersion", L"ProductVersion", L"ProductName",
                                L"FileDescription", L"CompanyName", L"LegalCopyright"}) {
        wchar_t* value = nullptr;
        const bool found = VerQueryValueW(info.data(), (std::wstring(block) + name).c_str(),
                                          reinterpret_cast<void**>(&value), &length);
        std::printf("%s=%s\n", Narrow(name, CP_UTF8).c_str(), found ? Utf8Hex(value).c_str() : "");
    }
    // The program manifest: resource 1 of type 24, RT_MANIFEST.
    const HMODULE module = LoadLibraryExW(args[0].c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    const HRSRC found =
        module ? FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)) : nullptr;
    const HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const char* text = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    const std::string manifest = text ? std::string(text, SizeofResource(module, found)) : "";
    if (module) FreeLibrary(module);
    std::printf("manifest=%s\n", ToHex(manifest).c_str());
    return manifest.empty() ? 1 : 0;
}

// Installed as Lullvane.dll, a renderer slow to open its window: it starts the program late, and
// never outlives a test that forgot to end it.
int StartLateCommand(const Arguments& args) {
    Sleep(std::stoul(args[0]));
    const HANDLE program = Start(args[1], L"");
    const auto code = program ? ExitCodeWithin(program, 300000) : std::nullopt;
    return static_cast<int>(code.value_or(1));
}
