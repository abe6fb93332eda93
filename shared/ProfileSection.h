// CProfileSection: one section of a profile (ini) file in the program folder,
// read and written through the system's profile functions and shaped like a
// registry-key wrapper: results are Windows error codes.
#ifndef VA_SHARED_PROFILESECTION_H
#define VA_SHARED_PROFILESECTION_H

#include "framework/core/CString.h"

class CProfileSection
{
public:
    enum : long { kOk = 0, kCantRead = 1012, kCantWrite = 1013 };

    // Objects are short-lived: built on the stack, opened, used, closed.
    // Nothing is cached; every read goes to the file.
    explicit CProfileSection(const CString& programFolder) : m_programFolder(programFolder) {}
    virtual ~CProfileSection() = default;

    // Binds program folder + "Proxy.ini" and the section; no file access.
    void Open(LPCTSTR section);
    void Close();

    // 0 when the value is present and non-empty, else kCantRead. The buffer
    // holds *size characters; *size is not updated.
    long QueryStringValue(LPTSTR buffer, LPCTSTR key, DWORD* size) const;
    // 0 and the value when the key holds an integer, else kCantRead and
    // value untouched.
    long QueryDWORDValue(DWORD& value, LPCTSTR key) const;
    [[nodiscard]] long SetDWORDValue(DWORD value, LPCTSTR key) const;
    [[nodiscard]] long SetStringValue(LPCTSTR key, LPCTSTR value) const;

    const CString& GetFilePath() const { return m_filePath; }

    // Returned by the integer read for a missing key; a stored value equal to
    // it reads as missing too.
    static const unsigned kMissingSentinel = 0xABCD0123u;

private:
    CString m_programFolder;
    CString m_filePath;
    CString m_section;
};

#endif // VA_SHARED_PROFILESECTION_H
