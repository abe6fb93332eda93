// The system's calls that change a file or a registry value, declared again
// with [[nodiscard]], so that a caller that drops their result fails to
// build (the build makes an unused result an error).
//
// The build puts this header before the first line of every module's own
// sources (not of the tests): a write the user's data depends on is told
// when it fails, and a caller that means to drop a result says so with a
// cast to void and a comment why.
#ifndef VA_FRAMEWORK_WIN_SYSTEMWRITES_H
#define VA_FRAMEWORK_WIN_SYSTEMWRITES_H

#include <windows.h>

extern "C" {

[[nodiscard]] WINBASEAPI WINBOOL WINAPI CopyFileA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName,
                                                  WINBOOL bFailIfExists);
[[nodiscard]] WINBASEAPI WINBOOL WINAPI CopyFileW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName,
                                                  WINBOOL bFailIfExists);
[[nodiscard]] WINBASEAPI WINBOOL WINAPI MoveFileA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName);
[[nodiscard]] WINBASEAPI WINBOOL WINAPI MoveFileW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName);
[[nodiscard]] WINBASEAPI WINBOOL WINAPI MoveFileExA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName,
                                                    DWORD dwFlags);
[[nodiscard]] WINBASEAPI WINBOOL WINAPI MoveFileExW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName,
                                                    DWORD dwFlags);
[[nodiscard]] WINBASEAPI WINBOOL WINAPI DeleteFileA(LPCSTR lpFileName);
[[nodiscard]] WINBASEAPI WINBOOL WINAPI DeleteFileW(LPCWSTR lpFileName);
[[nodiscard]] WINBASEAPI WINBOOL WINAPI WritePrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName,
                                                                   LPCSTR lpString, LPCSTR lpFileName);
[[nodiscard]] WINBASEAPI WINBOOL WINAPI WritePrivateProfileStringW(LPCWSTR lpAppName, LPCWSTR lpKeyName,
                                                                   LPCWSTR lpString, LPCWSTR lpFileName);
[[nodiscard]] WINBASEAPI WINBOOL WINAPI WritePrivateProfileSectionA(LPCSTR lpAppName, LPCSTR lpString,
                                                                    LPCSTR lpFileName);
[[nodiscard]] WINBASEAPI WINBOOL WINAPI WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite,
                                                  LPDWORD lpNumberOfBytesWritten, LPOVERLAPPED lpOverlapped);
[[nodiscard]] WINADVAPI LONG WINAPI RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD Reserved, DWORD dwType,
                                                   CONST BYTE* lpData, DWORD cbData);
[[nodiscard]] WINADVAPI LONG WINAPI RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD Reserved, DWORD dwType,
                                                   CONST BYTE* lpData, DWORD cbData);
[[nodiscard]] WINADVAPI LONG WINAPI RegSetValueA(HKEY hKey, LPCSTR lpSubKey, DWORD dwType, LPCSTR lpData,
                                                 DWORD cbData);
[[nodiscard]] WINADVAPI LONG WINAPI RegDeleteValueA(HKEY hKey, LPCSTR lpValueName);

} // extern "C"

#endif // VA_FRAMEWORK_WIN_SYSTEMWRITES_H
