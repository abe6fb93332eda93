// A file held open as another program would: by default sharing nothing
// with anyone, so that reading and writing it fail with a sharing
// violation; with FILE_SHARE_READ others may read it but not replace it.
#ifndef VA_TESTS_SUPPORT_HELDFILE_H
#define VA_TESTS_SUPPORT_HELDFILE_H

#include <windows.h>

#include <string>

class HeldFile
{
public:
    explicit HeldFile(const std::string& path, DWORD share = 0)
        : m_h(::CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr))
    {
    }
    // A folder held the same way: listing it then fails with a sharing
    // violation, under Wine too, which honours no access lists.
    static HeldFile Folder(const std::string& path) { return HeldFile(path, 0, FILE_FLAG_BACKUP_SEMANTICS); }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    ~HeldFile() { Release(); }

    bool IsHeld() const { return m_h != INVALID_HANDLE_VALUE; }
    void Release()
    {
        if (m_h != INVALID_HANDLE_VALUE)
            ::CloseHandle(m_h);
        m_h = INVALID_HANDLE_VALUE;
    }

private:
    HeldFile(const std::string& path, DWORD share, DWORD flags)
        : m_h(::CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, flags, nullptr))
    {
    }

    HANDLE m_h;
};

#endif // VA_TESTS_SUPPORT_HELDFILE_H
