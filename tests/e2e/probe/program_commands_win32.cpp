// The probe's commands on programs: what a program file carries, and a program started late.
#include <windows.h>

#include <cstdio>

#include "probe_commands_win32.h"
#include "probe_support_win32.h"

namespace {

// The longest a late start waits for its program: never outlive a test that forgot to end it.
constexpr DWORD kGiveUpMs = 300000;

// False when the resource lists no language.
bool PrintVersionStrings(const std::vector<char>& info) {
    // The strings of the first language the resource lists.
    const WORD* translation = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(const_cast<WORD**>(&translation)), &length) ||
        length < 2 * sizeof(WORD)) {
        return false;
    }
    wchar_t block[64];
    std::swprintf(block, 64, L"\\StringFileInfo\\%04x%04x\\", translation[0], translation[1]);
    for (const wchar_t* name : {L"FileVersion", L"ProductVersion", L"ProductName",
                                L"FileDescription", L"CompanyName", L"LegalCopyright"}) {
        wchar_t* value = nullptr;
        const bool found = VerQueryValueW(info.data(), (std::wstring(block) + name).c_str(),
                                          reinterpret_cast<void**>(&value), &length);
        std::printf("%s=%s\n", Narrow(name, CP_UTF8).c_str(), found ? Utf8Hex(value).c_str() : "");
    }
    return true;
}

std::string Manifest(const std::wstring& file) {
    const HMODULE module = LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return "";
    const HRSRC manifest =
        FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24 /* RT_MANIFEST */));
    const HGLOBAL loaded = manifest ? LoadResource(module, manifest) : nullptr;
    const char* text = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    std::string bytes = text ? std::string(text, SizeofResource(module, manifest)) : "";
    FreeLibrary(module);
    return bytes;
}

}  // namespace

int ResourcesCommand(const Arguments& args) {
    const std::wstring& file = args[0];
    DWORD unused = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &unused);
    std::vector<char> info(size);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (size == 0 || !GetFileVersionInfoW(file.c_str(), 0, size, info.data()) ||
        !VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length)) {
        std::printf("version=0\n");
        return 1;
    }
    std::printf("file_version=%u.%u.%u.%u product_version=%u.%u.%u.%u\n",
                HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS),
                HIWORD(fixed->dwProductVersionMS), LOWORD(fixed->dwProductVersionMS),
                HIWORD(fixed->dwProductVersionLS), LOWORD(fixed->dwProductVersionLS));
    if (!PrintVersionStrings(info)) return 1;
    const std::string manifest = Manifest(file);
    std::printf("manifest=%s\n", ToHex(manifest).c_str());
    return manifest.empty() ? 1 : 0;
}

int StartLateCommand(const Arguments& args) {
    Sleep(Milliseconds(args[0]));
    const HANDLE program = Start(args[1], L"");
    if (!program) return 1;
    DWORD code = 1;
    if (WaitForSingleObject(program, kGiveUpMs) == WAIT_OBJECT_0) {
        GetExitCodeProcess(program, &code);
    } else {
        TerminateProcess(program, 1);
    }
    CloseHandle(program);
    return static_cast<int>(code);
}
