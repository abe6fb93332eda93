// Character stepping and searching in cp932 (Shift-JIS) byte strings.
//
// A double-byte character is a lead byte (0x81-0x9F, 0xE0-0xFC) and a trail
// byte (0x40-0x7E, 0x80-0xFC) after it; the trail byte may equal an ASCII
// byte such as '\\' (0x5C) or 'a', so every search here compares whole
// characters and only starts at character boundaries. A lead byte followed by
// anything else (the end, NUL, CR, LF, a space, a quote...) stands alone as a
// malformed character of one byte: nothing here reads past the end or
// swallows a terminator or separator.
//
// Strings are given as (pointer, length in bytes); positions are byte indexes
// and -1 means "not found".
#ifndef VA_FRAMEWORK_CORE_CP932_H
#define VA_FRAMEWORK_CORE_CP932_H

#include "framework/core/Types.h"

inline BOOL Cp932IsLeadByte(BYTE b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

inline BOOL Cp932IsTrailByte(BYTE b)
{
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// Whether the two bytes form one double-byte character.
inline BOOL Cp932IsPair(char lead, char trail)
{
    return Cp932IsLeadByte(static_cast<BYTE>(lead)) && Cp932IsTrailByte(static_cast<BYTE>(trail));
}

// Length in bytes (1 or 2) of the character starting at s[i], 0 <= i < len.
inline int Cp932CharLength(const char* s, int len, int i)
{
    return (i + 1 < len && Cp932IsPair(s[i], s[i + 1])) ? 2 : 1;
}

// Index of the character after the one at s[i].
inline int Cp932Next(const char* s, int len, int i)
{
    return i + Cp932CharLength(s, len, i);
}

// NUL-terminated stepping: the character after *p, or p itself at the end.
inline const char* Cp932CharNext(const char* p)
{
    if (*p == '\0')
        return p;
    if (Cp932IsPair(p[0], p[1]))
        return p + 2;
    return p + 1;
}

// The largest character boundary <= pos (0 <= pos <= len): where a string may
// be cut to at most pos bytes without splitting a character.
int Cp932FloorBoundary(const char* s, int len, int pos);

// Whether the last byte of s is a lead byte without its trail: a stray byte
// that would pair with whatever is appended.
bool Cp932EndsWithLoneLeadByte(const char* s, int len);

// First single-byte character ch at or after start. A start inside a
// double-byte character begins the search at the next character.
int Cp932Find(const char* s, int len, char ch, int start = 0);

// First occurrence of sub (subLen bytes) starting at a character boundary at
// or after start. An empty sub is found at the first boundary >= start.
int Cp932FindString(const char* s, int len, const char* sub, int subLen, int start = 0);

// Last single-byte character ch.
int Cp932ReverseFind(const char* s, int len, char ch);

// First character of s that is also a character of set (setLen bytes).
int Cp932FindOneOf(const char* s, int len, const char* set, int setLen);

#endif // VA_FRAMEWORK_CORE_CP932_H
