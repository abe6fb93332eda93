#include "shared/RegKey.h"

#include <vector>

LONG CRegKey::Open(HKEY hParent, LPCSTR keyPath, REGSAM access)
{
    Close();
    if (keyPath == nullptr || *keyPath == '\0')
        return ERROR_INVALID_PARAMETER;
    return ::RegOpenKeyExA(hParent, keyPath, 0, access, &m_hKey);
}

LONG CRegKey::Create(HKEY hParent, LPCSTR keyPath, REGSAM access)
{
    Close();
    if (keyPath == nullptr || *keyPath == '\0')
        return ERROR_INVALID_PARAMETER;
    return ::RegCreateKeyExA(hParent, keyPath, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &m_hKey,
                             nullptr);
}

void CRegKey::Close()
{
    if (m_hKey != nullptr)
        ::RegCloseKey(m_hKey);
    m_hKey = nullptr;
}

void CRegKey::Attach(HKEY hKey)
{
    Close();
    m_hKey = hKey;
}

HKEY CRegKey::Detach()
{
    HKEY hKey = m_hKey;
    m_hKey = nullptr;
    return hKey;
}

LONG CRegKey::QueryString(LPCSTR valueName, CString& value) const
{
    DWORD type = 0;
    DWORD size = 0;
    LONG result = ::RegQueryValueExA(m_hKey, valueName, nullptr, &type, nullptr, &size);
    if (result != ERROR_SUCCESS)
        return result;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return ERROR_INVALID_DATA;
    // The value may lack its terminator: one byte more, zeroed.
    std::vector<BYTE> data(size + 1, 0);
    result = ::RegQueryValueExA(m_hKey, valueName, nullptr, &type, data.data(), &size);
    if (result != ERROR_SUCCESS)
        return result;
    value = reinterpret_cast<const char*>(data.data());
    return ERROR_SUCCESS;
}

LONG CRegKey::QueryDword(LPCSTR valueName, DWORD& value) const
{
    DWORD type = 0;
    DWORD data = 0;
    DWORD size = 0;
    LONG result = ::RegQueryValueExA(m_hKey, valueName, nullptr, &type, nullptr, &size);
    if (result != ERROR_SUCCESS)
        return result;
    if (type != REG_DWORD || size != sizeof(data))
        return ERROR_INVALID_DATA;
    result = ::RegQueryValueExA(m_hKey, valueName, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size);
    if (result != ERROR_SUCCESS)
        return result;
    value = data;
    return ERROR_SUCCESS;
}

LONG CRegKey::SetString(LPCSTR valueName, LPCSTR value)
{
    const char* text = value != nullptr ? value : "";
    return ::RegSetValueExA(m_hKey, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                            static_cast<DWORD>(lstrlenA(text) + 1));
}

LONG CRegKey::SetDword(LPCSTR valueName, DWORD value)
{
    return ::RegSetValueExA(m_hKey, valueName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

LONG CRegKey::DeleteValue(LPCSTR valueName)
{
    return ::RegDeleteValueA(m_hKey, valueName);
}

LONG CRegKey::DeleteSubKeyTree(LPCSTR subKey)
{
    if (subKey == nullptr || *subKey == '\0')
        return ERROR_INVALID_PARAMETER;
    CRegKey child;
    LONG result = child.Open(m_hKey, subKey, KEY_READ | KEY_WRITE);
    if (result != ERROR_SUCCESS)
        return result;
    // Children first: RegDeleteKey removes only a key without subkeys.
    for (;;) {
        char name[256] = {};
        DWORD length = sizeof(name);
        if (::RegEnumKeyExA(child, 0, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        result = child.DeleteSubKeyTree(name);
        if (result != ERROR_SUCCESS)
            return result;
    }
    child.Close();
    return ::RegDeleteKeyA(m_hKey, subKey);
}

LONG CRegKey::DeleteKey(HKEY hParent, LPCSTR keyPath)
{
    if (keyPath == nullptr || *keyPath == '\0')
        return ERROR_INVALID_PARAMETER;
    return ::RegDeleteKeyA(hParent, keyPath);
}
