#include "framework/core/Cp932.h"

#include <cstring>

int Cp932FloorBoundary(const char* s, int len, int pos)
{
    // Boundaries are only known from the start: a byte in the trail range may
    // be a trail byte or a character of its own depending on what precedes it.
    int i = 0;
    while (i < len) {
        int next = Cp932Next(s, len, i);
        if (next > pos)
            break;
        i = next;
    }
    return i;
}

bool Cp932EndsWithLoneLeadByte(const char* s, int len)
{
    // Only a lead byte at the end needs the walk from the start.
    return len > 0 && Cp932IsLeadByte(static_cast<BYTE>(s[len - 1])) && Cp932FloorBoundary(s, len, len - 1) == len - 1;
}

int Cp932Find(const char* s, int len, char ch, int start)
{
    for (int i = 0; i < len; i = Cp932Next(s, len, i)) {
        if (i >= start && s[i] == ch && Cp932CharLength(s, len, i) == 1)
            return i;
    }
    return -1;
}

int Cp932FindString(const char* s, int len, const char* sub, int subLen, int start)
{
    if (start < 0)
        start = 0;
    for (int i = 0; i < len; i = Cp932Next(s, len, i)) {
        if (i < start)
            continue;
        if (subLen > len - i)
            return -1;
        // A match must also end on a character boundary: a sub ending in a
        // lone lead byte must not match the first half of "\x83\x5c".
        if (std::memcmp(s + i, sub, static_cast<size_t>(subLen)) == 0) {
            int j = i;
            while (j < i + subLen)
                j = Cp932Next(s, len, j);
            if (j == i + subLen)
                return i;
        }
    }
    return (subLen == 0 && start <= len) ? len : -1;
}

int Cp932ReverseFind(const char* s, int len, char ch)
{
    int found = -1;
    for (int i = 0; i < len; i = Cp932Next(s, len, i)) {
        if (s[i] == ch && Cp932CharLength(s, len, i) == 1)
            found = i;
    }
    return found;
}

int Cp932FindOneOf(const char* s, int len, const char* set, int setLen)
{
    for (int i = 0; i < len; i = Cp932Next(s, len, i)) {
        int n = Cp932CharLength(s, len, i);
        for (int k = 0; k < setLen; k = Cp932Next(set, setLen, k)) {
            if (Cp932CharLength(set, setLen, k) == n && std::memcmp(s + i, set + k, static_cast<size_t>(n)) == 0)
                return i;
        }
    }
    return -1;
}
