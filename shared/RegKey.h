// CRegKey: an open registry key that closes itself.
//
// One owner per key: not copyable; Attach and Detach hand the handle over.
// Results are the registry's error codes (ERROR_SUCCESS on success).
#ifndef VA_SHARED_REGKEY_H
#define VA_SHARED_REGKEY_H

#include <windows.h>

#include "framework/core/CString.h"

class CRegKey
{
public:
    CRegKey() = default;
    ~CRegKey() { Close(); }
    CRegKey(const CRegKey&) = delete;
    CRegKey& operator=(const CRegKey&) = delete;

    HKEY m_hKey = nullptr;
    operator HKEY() const { return m_hKey; }

    // Opens an existing key. An empty path is refused (it would open the
    // parent itself).
    LONG Open(HKEY hParent, LPCSTR keyPath, REGSAM access = KEY_READ);
    // Opens the key, creating it and the keys above it when missing.
    LONG Create(HKEY hParent, LPCSTR keyPath, REGSAM access = KEY_READ | KEY_WRITE);
    void Close();
    void Attach(HKEY hKey);
    HKEY Detach();

    // A REG_SZ or REG_EXPAND_SZ value (null name: the default value), not
    // expanded; ERROR_INVALID_DATA for a value of another type.
    LONG QueryString(LPCSTR valueName, CString& value) const;
    LONG QueryDword(LPCSTR valueName, DWORD& value) const;
    [[nodiscard]] LONG SetString(LPCSTR valueName, LPCSTR value);
    [[nodiscard]] LONG SetDword(LPCSTR valueName, DWORD value);
    [[nodiscard]] LONG DeleteValue(LPCSTR valueName);
    // Deletes a subkey and everything under it.
    [[nodiscard]] LONG DeleteSubKeyTree(LPCSTR subKey);
    // Deletes a key that has no subkeys. An empty path is refused (it would
    // name the parent itself).
    [[nodiscard]] static LONG DeleteKey(HKEY hParent, LPCSTR keyPath);
};

#endif // VA_SHARED_REGKEY_H
