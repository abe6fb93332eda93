// Files named beyond the ANSI code page, for the tests of dropped files,
// editors and folders: written by their wide names, read back by the paths
// the program took, and places where such names have no short form.
#ifndef VA_TESTS_SUPPORT_WIDEFILES_H
#define VA_TESTS_SUPPORT_WIDEFILES_H

#include <windows.h>

#include <string>

inline bool WriteWideFile(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

// The bytes of the file an ANSI path names; "<none>" when it names none.
inline std::string ReadAnsiPathFile(const char* path)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "<none>";
    char buffer[256];
    DWORD read = 0;
    ReadFile(file, buffer, sizeof(buffer), &read, nullptr);
    CloseHandle(file);
    return std::string(buffer, read);
}

// The folder (ending with a backslash) through the drive that Wine gives
// the Unix root ("Z:\tmp\..."); empty where there is none. There a name
// below a folder with a long name has no short form.
inline std::wstring ThroughUnixRoot(const std::wstring& folder)
{
    using UnixName = char*(CDECL*)(LPCWSTR);
    const auto unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    char* name = unixName != nullptr ? unixName(folder.c_str()) : nullptr;
    if (name == nullptr)
        return std::wstring();
    const int chars = MultiByteToWideChar(CP_UTF8, 0, name, -1, nullptr, 0);
    std::wstring path(static_cast<size_t>(chars > 0 ? chars : 1), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, name, -1, &path[0], chars);
    HeapFree(GetProcessHeap(), 0, name);
    path.resize(path.size() - 1);
    for (wchar_t& c : path)
        if (c == L'/')
            c = L'\\';
    path = L"Z:" + path;
    if (path.back() != L'\\')
        path += L'\\';
    return GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES ? std::wstring() : path;
}

// Whether the system gives the path no short form.
inline bool HasNoShortName(const std::wstring& path)
{
    wchar_t shortName[MAX_PATH] = {};
    return GetShortPathNameW(path.c_str(), shortName, MAX_PATH) == 0;
}

#endif // VA_TESTS_SUPPORT_WIDEFILES_H
