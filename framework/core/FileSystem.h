// The few file-system operations the data-file code needs.
//
// Paths are cp932 byte strings, passed to the system unchanged. The names
// avoid DeleteFile, CreateDirectory and the like, which <windows.h> defines
// as macros.
#ifndef VA_FRAMEWORK_CORE_FILESYSTEM_H
#define VA_FRAMEWORK_CORE_FILESYSTEM_H

#include "framework/core/Types.h"

namespace FileSystem {

struct FileInfo
{
    BOOL exists = FALSE;
    BOOL isDirectory = FALSE;
    ULONGLONG size = 0;     // bytes; 0 for folders
};

// Returns info.exists: FALSE when nothing is at path or it cannot be read.
BOOL GetInfo(LPCTSTR path, FileInfo& info);

// Copies a file, replacing an existing target.
[[nodiscard]] BOOL CopyFileOverwrite(LPCTSTR from, LPCTSTR to);

// Renames a file in one step, replacing an existing target, so the target is
// never seen torn or missing.
[[nodiscard]] BOOL MoveFileReplace(LPCTSTR from, LPCTSTR to);

// Deletes a file (not a folder). Returns FALSE if it did not exist.
[[nodiscard]] BOOL RemoveFile(LPCTSTR path);

// Creates one folder. Returns TRUE if it exists afterwards.
BOOL MakeDirectory(LPCTSTR path);

} // namespace FileSystem

#endif // VA_FRAMEWORK_CORE_FILESYSTEM_H
