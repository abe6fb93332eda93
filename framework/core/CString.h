// CString: a counted byte string of cp932 text.
//
// The length is stored, so a string may hold any bytes, and a terminating NUL
// is always kept after them for operator LPCTSTR. Lengths and indexes are
// bytes. Searching, trimming, comparing without case and case change work on
// characters (see Cp932.h): they never split a double-byte character and never
// take a trail byte for a character of its own. Left, Mid, Right, Insert and
// Delete are byte operations, as their callers count bytes.
#ifndef VA_FRAMEWORK_CORE_CSTRING_H
#define VA_FRAMEWORK_CORE_CSTRING_H

#include <cstdarg>
#include <string>

#include "framework/core/Types.h"

#if defined(__MINGW32__)
#define VA_PRINTF_FORMAT(fmtIndex, argIndex) __attribute__((format(gnu_printf, fmtIndex, argIndex)))
#elif defined(__GNUC__)
#define VA_PRINTF_FORMAT(fmtIndex, argIndex) __attribute__((format(printf, fmtIndex, argIndex)))
#else
#define VA_PRINTF_FORMAT(fmtIndex, argIndex)
#endif

class CString
{
public:
    CString() = default;
    CString(const CString& src) = default;
    CString(CString&& src) noexcept = default;
    CString(LPCSTR psz);                   // NULL gives an empty string
    CString(LPCSTR pch, int nLength);
    explicit CString(char ch, int nRepeat = 1);
    ~CString() = default;

    CString& operator=(const CString& src) = default;
    CString& operator=(CString&& src) noexcept = default;
    CString& operator=(LPCSTR psz);
    CString& operator=(char ch);

    // Size and elements
    int GetLength() const { return static_cast<int>(m_str.size()); }
    BOOL IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    char GetAt(int nIndex) const;
    void SetAt(int nIndex, char ch);
    char operator[](int nIndex) const { return GetAt(nIndex); }
    operator LPCTSTR() const { return m_str.c_str(); }
    LPCTSTR GetString() const { return m_str.c_str(); }

    // Direct buffer access. GetBuffer returns room for at least nMinBufLength
    // bytes plus a NUL, keeping the contents; ReleaseBuffer sets the length
    // (-1: up to the first NUL) and must be called before any other member.
    LPTSTR GetBuffer(int nMinBufLength);
    LPTSTR GetBuffer() { return GetBuffer(0); }
    LPTSTR GetBufferSetLength(int nNewLength);
    void ReleaseBuffer(int nNewLength = -1);

    // Extraction (byte counts, clamped to the string)
    CString Left(int nCount) const;
    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    CString Right(int nCount) const;

    // Searching (cp932 characters; byte index or -1)
    int Find(char ch, int nStart = 0) const;
    int Find(LPCSTR pszSub, int nStart = 0) const;
    int ReverseFind(char ch) const;
    int FindOneOf(LPCSTR pszCharSet) const;

    // Editing. Replace and Remove return the number of replacements or
    // removals; Insert and Delete return the new length.
    int Replace(char chOld, char chNew);
    int Replace(LPCSTR pszOld, LPCSTR pszNew);
    int Remove(char ch);
    int Insert(int nIndex, char ch);
    int Insert(int nIndex, LPCSTR psz);
    int Delete(int nIndex, int nCount = 1);

    // Trimming: white space is ' ', '\t', '\r', '\n', '\v' and '\f'.
    CString& TrimLeft();
    CString& TrimLeft(char chTarget);
    CString& TrimLeft(LPCSTR pszTargets);
    CString& TrimRight();
    CString& TrimRight(char chTarget);
    CString& TrimRight(LPCSTR pszTargets);
    CString& Trim();
    CString& Trim(char chTarget);
    CString& Trim(LPCSTR pszTargets);

    // Case change of ASCII letters only.
    CString& MakeUpper();
    CString& MakeLower();

    // Comparison: <0, 0 or >0, by unsigned bytes. CompareNoCase folds ASCII
    // letters that are characters of their own, never trail bytes.
    int Compare(LPCSTR psz) const;
    int Compare(const CString& str) const;
    int CompareNoCase(LPCSTR psz) const;

    // Concatenation
    CString& operator+=(const CString& str);
    CString& operator+=(LPCSTR psz);
    CString& operator+=(char ch);
    void Append(LPCSTR pch, int nLength);

    // printf-style formatting. Pass strings as (LPCTSTR)str for %s.
    void Format(LPCSTR pszFormat, ...) VA_PRINTF_FORMAT(2, 3);
    void FormatV(LPCSTR pszFormat, va_list args);
    void AppendFormat(LPCSTR pszFormat, ...) VA_PRINTF_FORMAT(2, 3);
    void AppendFormatV(LPCSTR pszFormat, va_list args);

private:
    CString& TrimLeftSet(const char* set, int setLen);
    CString& TrimRightSet(const char* set, int setLen);

    std::string m_str;
};

bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, LPCSTR b);
bool operator==(LPCSTR a, const CString& b);
bool operator!=(const CString& a, const CString& b);
bool operator!=(const CString& a, LPCSTR b);
bool operator!=(LPCSTR a, const CString& b);
bool operator<(const CString& a, const CString& b);
bool operator<(const CString& a, LPCSTR b);
bool operator<(LPCSTR a, const CString& b);
bool operator>(const CString& a, const CString& b);
bool operator>(const CString& a, LPCSTR b);
bool operator>(LPCSTR a, const CString& b);
bool operator<=(const CString& a, const CString& b);
bool operator>=(const CString& a, const CString& b);

CString operator+(const CString& a, const CString& b);
CString operator+(const CString& a, LPCSTR b);
CString operator+(LPCSTR a, const CString& b);
CString operator+(const CString& a, char b);
CString operator+(char a, const CString& b);

#endif // VA_FRAMEWORK_CORE_CSTRING_H
