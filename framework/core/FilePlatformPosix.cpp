// The POSIX side of CFile and FileSystem, for the native build.
//
// POSIX has no mandatory share modes, so the share flags are not enforced
// here; the Windows build enforces them.
#include "framework/core/FilePlatform.h"
#include "framework/core/File.h"
#include "framework/core/FileSystem.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FilePlatform {

INT_PTR Open(LPCSTR name, UINT nOpenFlags)
{
    int flags = O_CLOEXEC;
    switch (nOpenFlags & 3) {
    case CFile::modeWrite: flags |= O_WRONLY; break;
    case CFile::modeReadWrite: flags |= O_RDWR; break;
    default: flags |= O_RDONLY; break;
    }
    if (nOpenFlags & CFile::modeCreate) {
        flags |= O_CREAT;
        if (!(nOpenFlags & CFile::modeNoTruncate))
            flags |= O_TRUNC;
    }
    int fd;
    do {
        fd = ::open(name, flags, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return kInvalid;
    // Opening a folder succeeds on POSIX but fails on Windows; fail here too.
    struct stat st;
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        errno = EISDIR;
        return kInvalid;
    }
    return fd;
}

BOOL Read(INT_PTR h, void* buf, UINT nCount, UINT* pRead)
{
    ssize_t n;
    do {
        n = ::read(static_cast<int>(h), buf, nCount);
    } while (n < 0 && errno == EINTR);
    *pRead = n > 0 ? static_cast<UINT>(n) : 0;
    return n >= 0;
}

BOOL Write(INT_PTR h, const void* buf, UINT nCount)
{
    const char* p = static_cast<const char*>(buf);
    while (nCount > 0) {
        ssize_t n = ::write(static_cast<int>(h), p, nCount);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return FALSE;
        p += n;
        nCount -= static_cast<UINT>(n);
    }
    return TRUE;
}

LONGLONG Seek(INT_PTR h, LONGLONG lOff, UINT nFrom)
{
    int whence = nFrom == CFile::current ? SEEK_CUR : (nFrom == CFile::end ? SEEK_END : SEEK_SET);
    off_t pos = ::lseek(static_cast<int>(h), static_cast<off_t>(lOff), whence);
    return pos < 0 ? -1 : static_cast<LONGLONG>(pos);
}

LONGLONG GetSize(INT_PTR h)
{
    struct stat st;
    if (::fstat(static_cast<int>(h), &st) != 0)
        return -1;
    return static_cast<LONGLONG>(st.st_size);
}

BOOL Flush(INT_PTR h)
{
    return ::fsync(static_cast<int>(h)) == 0;
}

void Close(INT_PTR h)
{
    ::close(static_cast<int>(h));
}

DWORD CurrentProcessId()
{
    return static_cast<DWORD>(::getpid());
}

DWORD LastError()
{
    return static_cast<DWORD>(errno);
}

BOOL IsNotFoundError(DWORD error)
{
    return error == ENOENT || error == ENOTDIR;
}

void ErrorText(DWORD error, char* buffer, UINT size)
{
    if (size == 0)
        return;
    std::snprintf(buffer, size, "%s", std::strerror(static_cast<int>(error)));
}

} // namespace FilePlatform

namespace FileSystem {

BOOL GetInfo(LPCTSTR path, FileInfo& info)
{
    info = FileInfo();
    struct stat st;
    if (!path || ::stat(path, &st) != 0)
        return FALSE;
    info.exists = TRUE;
    info.isDirectory = S_ISDIR(st.st_mode);
    info.size = info.isDirectory ? 0 : static_cast<ULONGLONG>(st.st_size);
    return TRUE;
}

BOOL CopyFileOverwrite(LPCTSTR from, LPCTSTR to)
{
    CFile in;
    if (!in.Open(from, CFile::modeRead | CFile::shareDenyWrite))
        return FALSE;
    CFile out;
    if (!out.Open(to, CFile::modeWrite | CFile::modeCreate))
        return FALSE;
    char buf[16384];
    for (;;) {
        UINT n = in.Read(buf, sizeof(buf));
        if (n == 0)
            break;
        if (!out.Write(buf, n))
            return FALSE;
    }
    return TRUE;
}

BOOL MoveFileReplace(LPCTSTR from, LPCTSTR to)
{
    return from && to && std::rename(from, to) == 0;
}

BOOL RemoveFile(LPCTSTR path)
{
    return path && ::unlink(path) == 0;
}

BOOL MakeDirectory(LPCTSTR path)
{
    if (!path)
        return FALSE;
    if (::mkdir(path, 0777) == 0)
        return TRUE;
    FileInfo info;
    return errno == EEXIST && GetInfo(path, info) && info.isDirectory;
}

} // namespace FileSystem
