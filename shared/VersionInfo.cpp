#include "shared/VersionInfo.h"

bool CVersionInfo::Load(LPCTSTR path)
{
    m_data.clear();
    DWORD handle = 0;
    DWORD size = ::GetFileVersionInfoSizeA(path, &handle);
    if (size == 0)
        return false;
    m_data.resize(size);
    if (!::GetFileVersionInfoA(path, 0, size, m_data.data())) {
        m_data.clear();
        return false;
    }
    return true;
}

bool CVersionInfo::GetTranslation(LPCTSTR path, WORD& language, WORD& codePage) const
{
    if (m_data.empty())
        return false;
    void* value = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(m_data.data(), path, &value, &length) || value == nullptr || length < 4)
        return false;
    const WORD* words = static_cast<const WORD*>(value);
    language = words[0];
    codePage = words[1];
    return true;
}

CString CVersionInfo::QueryText(const CString& path) const
{
    if (m_data.empty())
        return CString();
    void* value = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(m_data.data(), path, &value, &length) || value == nullptr || length == 0)
        return CString();
    const char* text = static_cast<const char*>(value);
    // length counts characters with the terminator; never read past it.
    return CString(text, static_cast<int>(strnlen(text, length)));
}
