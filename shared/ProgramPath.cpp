#include "shared/ProgramPath.h"

#include <cstring>

#include "framework/core/Cp932.h"

namespace ProgramPath {

CString Join(const CString& folder, LPCTSTR name)
{
    return folder.IsEmpty() ? CString() : folder + name;
}

CString SubFolder(const CString& folder, LPCTSTR name)
{
    return folder.IsEmpty() ? CString() : folder + name + kSeparator;
}

CString FolderOf(LPCTSTR path, char separator)
{
    if (path == nullptr)
        return CString();
    const int len = static_cast<int>(std::strlen(path));
    const int last = Cp932ReverseFind(path, len, separator);
    if (last < 0)
        return CString();
    return CString(path, last + 1);
}

} // namespace ProgramPath
