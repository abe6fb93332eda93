// The platform side of CFile and FileSystem: one implementation file per
// platform (FilePlatformWin32.cpp, FilePlatformPosix.cpp) provides these.
// Internal to framework/core.
#ifndef VA_FRAMEWORK_CORE_FILEPLATFORM_H
#define VA_FRAMEWORK_CORE_FILEPLATFORM_H

#include "framework/core/Types.h"

namespace FilePlatform {

// A handle is an INT_PTR; kInvalid marks failure and a closed file.
constexpr INT_PTR kInvalid = -1;

// nOpenFlags are CFile::OpenFlags; the type flags are ignored here.
INT_PTR Open(LPCSTR name, UINT nOpenFlags);
// Reads up to nCount bytes; returns FALSE on failure, *pRead = 0 at the end.
BOOL Read(INT_PTR h, void* buf, UINT nCount, UINT* pRead);
// Writes all nCount bytes or returns FALSE.
BOOL Write(INT_PTR h, const void* buf, UINT nCount);
// nFrom is CFile::SeekPosition; returns the new position or -1.
LONGLONG Seek(INT_PTR h, LONGLONG lOff, UINT nFrom);
// Returns the size in bytes or -1.
LONGLONG GetSize(INT_PTR h);
BOOL Flush(INT_PTR h);
void Close(INT_PTR h);

// Names the temporary files of this process apart from another's.
DWORD CurrentProcessId();

} // namespace FilePlatform

#endif // VA_FRAMEWORK_CORE_FILEPLATFORM_H
