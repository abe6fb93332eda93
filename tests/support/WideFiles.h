// Files named beyond the ANSI code page, for the tests of dropped files:
// written by their wide names, read back by the paths the program took.
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

#endif // VA_TESTS_SUPPORT_WIDEFILES_H
