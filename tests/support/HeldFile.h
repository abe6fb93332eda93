// A file held open as another program would that shares nothing with
// anyone, so that reading and writing it fail with a sharing violation.
#ifndef VA_TESTS_SUPPORT_HELDFILE_H
#define VA_TESTS_SUPPORT_HELDFILE_H

#include <windows.h>

#include <string>

class HeldFile
{
public:
    // A folder (bFolder) is held the same way: listing it then fails with a
    // sharing violation, under Wine too, which honours no access lists.
    explicit HeldFile(const std::string& path, bool bFolder = false)
        : m_h(::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            bFolder ? FILE_FLAG_BACKUP_SEMANTICS : 0, nullptr))
    {
    }
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
    HANDLE m_h;
};

#endif // VA_TESTS_SUPPORT_HELDFILE_H
