#include "shared/ProfileSection.h"

#include <windows.h>

#include "shared/ProgramPath.h"

void CProfileSection::Open(LPCTSTR section)
{
    m_filePath = ProgramPath::Join(m_programFolder, "Proxy.ini");
    m_section = section;
}

void CProfileSection::Close()
{
    m_filePath.Empty();
    m_section.Empty();
}

long CProfileSection::QueryStringValue(LPTSTR buffer, LPCTSTR key, DWORD* size) const
{
    if (buffer == nullptr || size == nullptr || *size == 0)
        return kCantRead;
    buffer[0] = '\0';
    if (m_filePath.IsEmpty())
        return kCantRead;
    GetPrivateProfileStringA(m_section, key, "", buffer, *size, m_filePath);
    return buffer[0] != '\0' ? kOk : kCantRead;
}

long CProfileSection::QueryDWORDValue(DWORD& value, LPCTSTR key) const
{
    if (m_filePath.IsEmpty())
        return kCantRead;
    UINT read = GetPrivateProfileIntA(m_section, key, static_cast<INT>(kMissingSentinel), m_filePath);
    if (read == kMissingSentinel)
        return kCantRead;
    value = read;
    return kOk;
}

long CProfileSection::SetDWORDValue(DWORD value, LPCTSTR key) const
{
    CString text;
    text.Format("%d", static_cast<int>(value));
    return SetStringValue(key, text);
}

long CProfileSection::SetStringValue(LPCTSTR key, LPCTSTR value) const
{
    if (m_filePath.IsEmpty())
        return kCantWrite;
    return WritePrivateProfileStringA(m_section, key, value, m_filePath) ? kOk : kCantWrite;
}
