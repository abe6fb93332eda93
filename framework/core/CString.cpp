#include "framework/core/CString.h"

#include <cstdio>
#include <cstring>

#include "framework/core/Cp932.h"

namespace {

const char kWhiteSpace[] = " \t\r\n\v\f";
const int kWhiteSpaceLength = static_cast<int>(sizeof(kWhiteSpace) - 1);

int SafeLength(LPCSTR psz)
{
    return psz ? static_cast<int>(std::strlen(psz)) : 0;
}

// Whether the character s[i..i+n) is one of the characters of set.
bool CharInSet(const char* s, int i, int n, const char* set, int setLen)
{
    for (int k = 0; k < setLen; k = Cp932Next(set, setLen, k)) {
        if (Cp932CharLength(set, setLen, k) == n && std::memcmp(s + i, set + k, static_cast<size_t>(n)) == 0)
            return true;
    }
    return false;
}

int CompareBytes(const char* a, int la, const char* b, int lb)
{
    int n = la < lb ? la : lb;
    int r = n > 0 ? std::memcmp(a, b, static_cast<size_t>(n)) : 0;
    if (r != 0)
        return r;
    return la < lb ? -1 : (la > lb ? 1 : 0);
}

char AsciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Formats into out; returns false if the format is invalid.
bool FormatTo(std::string& out, LPCSTR pszFormat, va_list args)
{
    // One pass into a stack buffer covers nearly every call; longer results
    // take a second pass with the exact size.
    char stackBuf[256];
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(stackBuf, sizeof(stackBuf), pszFormat, copy);
    va_end(copy);
    if (n < 0)
        return false;
    if (static_cast<size_t>(n) < sizeof(stackBuf)) {
        out.assign(stackBuf, static_cast<size_t>(n));
        return true;
    }
    out.resize(static_cast<size_t>(n));
    std::vsnprintf(&out[0], static_cast<size_t>(n) + 1, pszFormat, args);
    return true;
}

} // namespace

CString::CString(LPCSTR psz)
{
    if (psz)
        m_str.assign(psz);
}

CString::CString(LPCSTR pch, int nLength)
{
    if (pch && nLength > 0)
        m_str.assign(pch, static_cast<size_t>(nLength));
}

CString::CString(char ch, int nRepeat)
{
    if (nRepeat > 0)
        m_str.assign(static_cast<size_t>(nRepeat), ch);
}

CString& CString::operator=(LPCSTR psz)
{
    // psz may point into this string.
    if (psz)
        m_str = std::string(psz);
    else
        m_str.clear();
    return *this;
}

CString& CString::operator=(char ch)
{
    m_str.assign(1, ch);
    return *this;
}

char CString::GetAt(int nIndex) const
{
    ASSERT(nIndex >= 0 && nIndex < GetLength());
    if (nIndex < 0 || nIndex >= GetLength())
        return '\0';
    return m_str[static_cast<size_t>(nIndex)];
}

void CString::SetAt(int nIndex, char ch)
{
    ASSERT(nIndex >= 0 && nIndex < GetLength());
    if (nIndex >= 0 && nIndex < GetLength())
        m_str[static_cast<size_t>(nIndex)] = ch;
}

LPTSTR CString::GetBuffer(int nMinBufLength)
{
    if (nMinBufLength > GetLength())
        m_str.resize(static_cast<size_t>(nMinBufLength));
    return &m_str[0];
}

LPTSTR CString::GetBufferSetLength(int nNewLength)
{
    m_str.resize(static_cast<size_t>(nNewLength > 0 ? nNewLength : 0));
    return &m_str[0];
}

void CString::ReleaseBuffer(int nNewLength)
{
    if (nNewLength < 0) {
        const void* nul = std::memchr(m_str.data(), '\0', m_str.size());
        nNewLength = nul ? static_cast<int>(static_cast<const char*>(nul) - m_str.data()) : GetLength();
    }
    ASSERT(nNewLength <= GetLength());
    if (nNewLength < GetLength())
        m_str.resize(static_cast<size_t>(nNewLength));
}

CString CString::Left(int nCount) const
{
    if (nCount < 0)
        nCount = 0;
    if (nCount > GetLength())
        nCount = GetLength();
    return CString(m_str.data(), nCount);
}

CString CString::Mid(int nFirst) const
{
    return Mid(nFirst, GetLength());
}

CString CString::Mid(int nFirst, int nCount) const
{
    if (nFirst < 0)
        nFirst = 0;
    if (nFirst > GetLength())
        nFirst = GetLength();
    if (nCount < 0)
        nCount = 0;
    if (nCount > GetLength() - nFirst)
        nCount = GetLength() - nFirst;
    return CString(m_str.data() + nFirst, nCount);
}

CString CString::Right(int nCount) const
{
    if (nCount < 0)
        nCount = 0;
    if (nCount > GetLength())
        nCount = GetLength();
    return CString(m_str.data() + GetLength() - nCount, nCount);
}

int CString::Find(char ch, int nStart) const
{
    return Cp932Find(m_str.data(), GetLength(), ch, nStart);
}

int CString::Find(LPCSTR pszSub, int nStart) const
{
    if (!pszSub)
        return -1;
    return Cp932FindString(m_str.data(), GetLength(), pszSub, SafeLength(pszSub), nStart);
}

int CString::ReverseFind(char ch) const
{
    return Cp932ReverseFind(m_str.data(), GetLength(), ch);
}

int CString::FindOneOf(LPCSTR pszCharSet) const
{
    return Cp932FindOneOf(m_str.data(), GetLength(), pszCharSet ? pszCharSet : "", SafeLength(pszCharSet));
}

int CString::Replace(char chOld, char chNew)
{
    int count = 0;
    const int len = GetLength();
    for (int i = 0; i < len;) {
        // Step before changing the byte: chNew may be a lead byte.
        int next = Cp932Next(m_str.data(), len, i);
        if (next == i + 1 && m_str[static_cast<size_t>(i)] == chOld) {
            m_str[static_cast<size_t>(i)] = chNew;
            ++count;
        }
        i = next;
    }
    return count;
}

int CString::Replace(LPCSTR pszOld, LPCSTR pszNew)
{
    const int oldLen = SafeLength(pszOld);
    if (oldLen == 0)
        return 0;
    const int len = GetLength();
    std::string result;
    int count = 0;
    int pos = 0;
    for (;;) {
        int found = Cp932FindString(m_str.data(), len, pszOld, oldLen, pos);
        if (found < 0)
            break;
        result.append(m_str, static_cast<size_t>(pos), static_cast<size_t>(found - pos));
        if (pszNew)
            result.append(pszNew);
        pos = found + oldLen;
        ++count;
    }
    if (count > 0) {
        result.append(m_str, static_cast<size_t>(pos), std::string::npos);
        m_str.swap(result);
    }
    return count;
}

int CString::Remove(char ch)
{
    const int len = GetLength();
    std::string result;
    result.reserve(m_str.size());
    int count = 0;
    for (int i = 0; i < len;) {
        int next = Cp932Next(m_str.data(), len, i);
        if (next == i + 1 && m_str[static_cast<size_t>(i)] == ch)
            ++count;
        else
            result.append(m_str, static_cast<size_t>(i), static_cast<size_t>(next - i));
        i = next;
    }
    m_str.swap(result);
    return count;
}

int CString::Insert(int nIndex, char ch)
{
    if (nIndex < 0)
        nIndex = 0;
    if (nIndex > GetLength())
        nIndex = GetLength();
    m_str.insert(static_cast<size_t>(nIndex), 1, ch);
    return GetLength();
}

int CString::Insert(int nIndex, LPCSTR psz)
{
    if (nIndex < 0)
        nIndex = 0;
    if (nIndex > GetLength())
        nIndex = GetLength();
    if (psz)
        m_str.insert(static_cast<size_t>(nIndex), std::string(psz));
    return GetLength();
}

int CString::Delete(int nIndex, int nCount)
{
    if (nIndex < 0)
        nIndex = 0;
    if (nCount > 0 && nIndex < GetLength())
        m_str.erase(static_cast<size_t>(nIndex), static_cast<size_t>(nCount));
    return GetLength();
}

CString& CString::TrimLeftSet(const char* set, int setLen)
{
    const int len = GetLength();
    int i = 0;
    while (i < len) {
        int n = Cp932CharLength(m_str.data(), len, i);
        if (!CharInSet(m_str.data(), i, n, set, setLen))
            break;
        i += n;
    }
    m_str.erase(0, static_cast<size_t>(i));
    return *this;
}

CString& CString::TrimRightSet(const char* set, int setLen)
{
    // Characters are only known walking forwards; keep the end of the last
    // character that is not trimmed.
    const int len = GetLength();
    int keep = 0;
    for (int i = 0; i < len;) {
        int n = Cp932CharLength(m_str.data(), len, i);
        if (!CharInSet(m_str.data(), i, n, set, setLen))
            keep = i + n;
        i += n;
    }
    m_str.resize(static_cast<size_t>(keep));
    return *this;
}

CString& CString::TrimLeft() { return TrimLeftSet(kWhiteSpace, kWhiteSpaceLength); }
CString& CString::TrimLeft(char chTarget) { return TrimLeftSet(&chTarget, 1); }
CString& CString::TrimLeft(LPCSTR pszTargets) { return pszTargets ? TrimLeftSet(pszTargets, SafeLength(pszTargets)) : *this; }
CString& CString::TrimRight() { return TrimRightSet(kWhiteSpace, kWhiteSpaceLength); }
CString& CString::TrimRight(char chTarget) { return TrimRightSet(&chTarget, 1); }
CString& CString::TrimRight(LPCSTR pszTargets) { return pszTargets ? TrimRightSet(pszTargets, SafeLength(pszTargets)) : *this; }
CString& CString::Trim() { return TrimRight().TrimLeft(); }
CString& CString::Trim(char chTarget) { return TrimRight(chTarget).TrimLeft(chTarget); }
CString& CString::Trim(LPCSTR pszTargets) { return TrimRight(pszTargets).TrimLeft(pszTargets); }

CString& CString::MakeUpper()
{
    const int len = GetLength();
    for (int i = 0; i < len; i = Cp932Next(m_str.data(), len, i)) {
        char& c = m_str[static_cast<size_t>(i)];
        if (c >= 'a' && c <= 'z' && Cp932CharLength(m_str.data(), len, i) == 1)
            c = static_cast<char>(c - 'a' + 'A');
    }
    return *this;
}

CString& CString::MakeLower()
{
    const int len = GetLength();
    for (int i = 0; i < len; i = Cp932Next(m_str.data(), len, i)) {
        char& c = m_str[static_cast<size_t>(i)];
        if (c >= 'A' && c <= 'Z' && Cp932CharLength(m_str.data(), len, i) == 1)
            c = static_cast<char>(c - 'A' + 'a');
    }
    return *this;
}

int CString::Compare(LPCSTR psz) const
{
    return CompareBytes(m_str.data(), GetLength(), psz ? psz : "", SafeLength(psz));
}

int CString::Compare(const CString& str) const
{
    return CompareBytes(m_str.data(), GetLength(), str.m_str.data(), str.GetLength());
}

int CString::CompareNoCase(LPCSTR psz) const
{
    const char* a = m_str.data();
    const int la = GetLength();
    const char* b = psz ? psz : "";
    const int lb = SafeLength(psz);
    // While the strings are equal so far, their character boundaries coincide,
    // so the character structure of a tells which bytes are letters.
    int i = 0;
    while (i < la && i < lb) {
        const int n = Cp932CharLength(a, la, i);
        for (int k = i; k < i + n; ++k) {
            if (k >= lb)
                return 1;
            const unsigned char ca = static_cast<unsigned char>(n == 1 ? AsciiLower(a[k]) : a[k]);
            const unsigned char cb = static_cast<unsigned char>(n == 1 ? AsciiLower(b[k]) : b[k]);
            if (ca != cb)
                return ca < cb ? -1 : 1;
        }
        i += n;
    }
    if (i >= la && i >= lb)
        return 0;
    return i >= la ? -1 : 1;
}

CString& CString::operator+=(const CString& str)
{
    m_str += str.m_str;
    return *this;
}

CString& CString::operator+=(LPCSTR psz)
{
    if (psz)
        m_str.append(psz);   // append copes with psz pointing into m_str
    return *this;
}

CString& CString::operator+=(char ch)
{
    m_str += ch;
    return *this;
}

void CString::Append(LPCSTR pch, int nLength)
{
    if (pch && nLength > 0)
        m_str.append(pch, static_cast<size_t>(nLength));
}

void CString::Format(LPCSTR pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    FormatV(pszFormat, args);
    va_end(args);
}

void CString::FormatV(LPCSTR pszFormat, va_list args)
{
    // Format into a new string: an argument may point into this one.
    std::string result;
    if (!FormatTo(result, pszFormat, args))
        result.clear();
    m_str.swap(result);
}

void CString::AppendFormat(LPCSTR pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    AppendFormatV(pszFormat, args);
    va_end(args);
}

void CString::AppendFormatV(LPCSTR pszFormat, va_list args)
{
    std::string result;
    if (FormatTo(result, pszFormat, args))
        m_str += result;
}

bool operator==(const CString& a, const CString& b) { return a.Compare(b) == 0; }
bool operator==(const CString& a, LPCSTR b) { return a.Compare(b) == 0; }
bool operator==(LPCSTR a, const CString& b) { return b.Compare(a) == 0; }
bool operator!=(const CString& a, const CString& b) { return a.Compare(b) != 0; }
bool operator!=(const CString& a, LPCSTR b) { return a.Compare(b) != 0; }
bool operator!=(LPCSTR a, const CString& b) { return b.Compare(a) != 0; }
bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
bool operator<(const CString& a, LPCSTR b) { return a.Compare(b) < 0; }
bool operator<(LPCSTR a, const CString& b) { return b.Compare(a) > 0; }
bool operator>(const CString& a, const CString& b) { return a.Compare(b) > 0; }
bool operator>(const CString& a, LPCSTR b) { return a.Compare(b) > 0; }
bool operator>(LPCSTR a, const CString& b) { return b.Compare(a) < 0; }
bool operator<=(const CString& a, const CString& b) { return a.Compare(b) <= 0; }
bool operator>=(const CString& a, const CString& b) { return a.Compare(b) >= 0; }

CString operator+(const CString& a, const CString& b)
{
    CString r(a);
    r += b;
    return r;
}

CString operator+(const CString& a, LPCSTR b)
{
    CString r(a);
    r += b;
    return r;
}

CString operator+(LPCSTR a, const CString& b)
{
    CString r(a);
    r += b;
    return r;
}

CString operator+(const CString& a, char b)
{
    CString r(a);
    r += b;
    return r;
}

CString operator+(char a, const CString& b)
{
    CString r(a);
    r += b;
    return r;
}
