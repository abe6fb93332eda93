// Building file and folder names below the program folder.
//
// Every folder path of the program ends with the separator, so a file name is
// appended as it is. Windows uses '\\'; the native build of the data-file code
// uses '/'. Searching for the separator is cp932-aware: 0x5C is also the trail
// byte of characters such as 0x95 0x5C, which must not be taken for a '\\'.
#ifndef VA_SHARED_PROGRAMPATH_H
#define VA_SHARED_PROGRAMPATH_H

#include "framework/core/CString.h"

namespace ProgramPath {

#ifdef _WIN32
const char kSeparator = '\\';
#else
const char kSeparator = '/';
#endif

// folder (ending with the separator) + name. Empty when the folder is: a
// file of no folder is no file, not one of the current folder.
CString Join(const CString& folder, LPCTSTR name);

// folder + name + separator: the path of a subfolder; empty as Join.
CString SubFolder(const CString& folder, LPCTSTR name);

// The text of path up to and including its last separator character, or an
// empty string when path holds none. A null path gives an empty string.
CString FolderOf(LPCTSTR path, char separator = kSeparator);

} // namespace ProgramPath

#endif // VA_SHARED_PROGRAMPATH_H
