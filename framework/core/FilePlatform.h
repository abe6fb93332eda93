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
[[nodiscard]] BOOL Write(INT_PTR h, const void* buf, UINT nCount);
// nFrom is CFile::SeekPosition; returns the new position or -1.
LONGLONG Seek(INT_PTR h, LONGLONG lOff, UINT nFrom);
// Returns the size in bytes or -1.
LONGLONG GetSize(INT_PTR h);
BOOL Flush(INT_PTR h);
void Close(INT_PTR h);

// Names the temporary files of this process apart from another's.
DWORD CurrentProcessId();

// The system's code of the calling thread's last failure (GetLastError,
// errno), taken right after the call that failed.
DWORD LastError();
// Whether an error of Open says that nothing is at the path: no such file,
// or no such folder on the way.
BOOL IsNotFoundError(DWORD error);
// The system's own words for an error, on one line; empty when it has none.
void ErrorText(DWORD error, char* buffer, UINT size);

} // namespace FilePlatform

#endif // VA_FRAMEWORK_CORE_FILEPLATFORM_H
