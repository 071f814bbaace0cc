// The probe's commands on programs: what a program file carries, and a program started late.
#include <windows.h>

#include <cstdio>

#include "probe_commands_win32.h"
#include "probe_support_win32.h"

namespace {

// The program manifest's bytes, empty when there is none.
std::string Manifest(const std::wstring& file) {
    const HMODULE module = LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    const HRSRC found =
        module ? FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)) : nullptr;
    const HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const char* text = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    std::string bytes = text ? std::string(text, SizeofResource(module, found)) : "";
    if (module) FreeLibrary(module);
    return bytes;
}

}  // namespace

int ResourcesCommand(const Arguments& args) {
    const std::wstring& file = args[0];
    std::vector<char> info(GetFileVersionInfoSizeW(file.c_str(), nullptr));
    VS_FIXEDFILEINFO* fixed = nullptr;
    const WORD* language = nullptr;
    UINT length = 0;
    if (info.empty() || !GetFileVersionInfoW(file.c_str(), 0, info.size(), info.data()) ||
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
                        reinterpret_cast<void**>(const_cast<WORD**>(&language)), &length) ||
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
    const std::string manifest = Manifest(file);
    std::printf("manifest=%s\n", ToHex(manifest).c_str());
    return manifest.empty() ? 1 : 0;
}

// Installed as Lullvane.dll, a renderer slow to open its window: it starts the program late.
int StartLateCommand(const Arguments& args) {
    Sleep(Milliseconds(args[0]));
    const HANDLE program = Start(args[1], L"");
    DWORD code = 1;
    // Never outlive a test that forgot to end it.
    if (program && WaitForSingleObject(program, 300000) == WAIT_OBJECT_0) {
        GetExitCodeProcess(program, &code);
    } else if (program) {
        TerminateProcess(program, 1);
    }
    if (program) CloseHandle(program);
    return static_cast<int>(code);
}
