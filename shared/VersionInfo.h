// CVersionInfo: the version resource of a module file, read once, queried
// by value path. Windows only.
#ifndef VA_SHARED_VERSIONINFO_H
#define VA_SHARED_VERSIONINFO_H

#include <windows.h>

#include <vector>

#include "framework/core/CString.h"

class CVersionInfo
{
public:
    // Reads the file's version resource; false when it has none.
    bool Load(LPCTSTR path);
    bool IsLoaded() const { return !m_data.empty(); }

    // The first entry of a translation table at path (such as
    // "\VarFileInfo\Translation"); false when there is none.
    bool GetTranslation(LPCTSTR path, WORD& language, WORD& codePage) const;
    // A text value at path; empty when it is missing.
    CString QueryText(const CString& path) const;

private:
    std::vector<BYTE> m_data;
};

#endif // VA_SHARED_VERSIONINFO_H
