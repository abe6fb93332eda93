// The Windows side of CFile and FileSystem: the ...A functions, so that file
// names are cp932 bytes.
#include <windows.h>

#include "framework/core/FilePlatform.h"
#include "framework/core/File.h"
#include "framework/core/FileSystem.h"

namespace {

HANDLE ToHandle(INT_PTR h)
{
    return reinterpret_cast<HANDLE>(h);
}

DWORD ShareMode(UINT nOpenFlags)
{
    switch (nOpenFlags & 0x70) {
    case CFile::shareExclusive: return 0;
    case CFile::shareDenyWrite: return FILE_SHARE_READ;
    case CFile::shareDenyRead: return FILE_SHARE_WRITE;
    case CFile::shareDenyNone:
        // Also lets another process replace the file while it is read: a
        // writer moving a new version over it must not fail on our reader.
        return FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    default:
        // No share flag: like the C runtime's fopen, so that two readers of
        // one file never collide.
        return FILE_SHARE_READ | FILE_SHARE_WRITE;
    }
}

} // namespace

namespace FilePlatform {

INT_PTR Open(LPCSTR name, UINT nOpenFlags)
{
    DWORD access;
    switch (nOpenFlags & 3) {
    case CFile::modeWrite: access = GENERIC_WRITE; break;
    case CFile::modeReadWrite: access = GENERIC_READ | GENERIC_WRITE; break;
    default: access = GENERIC_READ; break;
    }
    DWORD disposition = OPEN_EXISTING;
    if (nOpenFlags & CFile::modeCreate)
        disposition = (nOpenFlags & CFile::modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
    // Never inheritable: a program started from here must not keep our files
    // open or locked.
    HANDLE h = ::CreateFileA(name, access, ShareMode(nOpenFlags), NULL, disposition,
                             FILE_ATTRIBUTE_NORMAL, NULL);
    if (h == INVALID_HANDLE_VALUE)
        return kInvalid;
    return reinterpret_cast<INT_PTR>(h);
}

BOOL Read(INT_PTR h, void* buf, UINT nCount, UINT* pRead)
{
    DWORD n = 0;
    BOOL ok = ::ReadFile(ToHandle(h), buf, nCount, &n, NULL);
    *pRead = ok ? n : 0;
    return ok;
}

BOOL Write(INT_PTR h, const void* buf, UINT nCount)
{
    DWORD n = 0;
    return ::WriteFile(ToHandle(h), buf, nCount, &n, NULL) && n == nCount;
}

LONGLONG Seek(INT_PTR h, LONGLONG lOff, UINT nFrom)
{
    DWORD method = nFrom == CFile::current ? FILE_CURRENT : (nFrom == CFile::end ? FILE_END : FILE_BEGIN);
    LARGE_INTEGER dist;
    LARGE_INTEGER pos;
    dist.QuadPart = lOff;
    if (!::SetFilePointerEx(ToHandle(h), dist, &pos, method))
        return -1;
    return pos.QuadPart;
}

LONGLONG GetSize(INT_PTR h)
{
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(ToHandle(h), &size))
        return -1;
    return size.QuadPart;
}

BOOL Flush(INT_PTR h)
{
    return ::FlushFileBuffers(ToHandle(h));
}

void Close(INT_PTR h)
{
    ::CloseHandle(ToHandle(h));
}

DWORD CurrentProcessId()
{
    return ::GetCurrentProcessId();
}

DWORD LastError()
{
    return ::GetLastError();
}

BOOL IsNotFoundError(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

void ErrorText(DWORD error, char* buffer, UINT size)
{
    if (size == 0)
        return;
    buffer[0] = '\0';
    // In the user's language, in the ANSI code page the program's texts use.
    DWORD n = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL, error, 0, buffer,
                               size, NULL);
    // The system's texts end with a line break.
    while (n > 0 && (buffer[n - 1] == '\r' || buffer[n - 1] == '\n' || buffer[n - 1] == ' '))
        buffer[--n] = '\0';
}

} // namespace FilePlatform

namespace FileSystem {

BOOL GetInfo(LPCTSTR path, FileInfo& info)
{
    info = FileInfo();
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!path || !::GetFileAttributesExA(path, GetFileExInfoStandard, &data))
        return FALSE;
    info.exists = TRUE;
    info.isDirectory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (!info.isDirectory)
        info.size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return TRUE;
}

BOOL CopyFileOverwrite(LPCTSTR from, LPCTSTR to)
{
    return ::CopyFileA(from, to, FALSE);
}

BOOL MoveFileReplace(LPCTSTR from, LPCTSTR to)
{
    return ::MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

BOOL RemoveFile(LPCTSTR path)
{
    return ::DeleteFileA(path);
}

BOOL MakeDirectory(LPCTSTR path)
{
    if (::CreateDirectoryA(path, NULL))
        return TRUE;
    FileInfo info;
    return ::GetLastError() == ERROR_ALREADY_EXISTS && GetInfo(path, info) && info.isDirectory;
}

} // namespace FileSystem
