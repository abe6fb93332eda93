#include "framework/core/Cp932.h"

#include <cstring>

#include <gtest/gtest.h>

namespace {

int Len(const char* s)
{
    return static_cast<int>(std::strlen(s));
}

} // namespace

TEST(Cp932, LeadByteRanges)
{
    EXPECT_FALSE(Cp932IsLeadByte(0x80));
    EXPECT_TRUE(Cp932IsLeadByte(0x81));
    EXPECT_TRUE(Cp932IsLeadByte(0x9F));
    EXPECT_FALSE(Cp932IsLeadByte(0xA0));   // half-width katakana
    EXPECT_FALSE(Cp932IsLeadByte(0xDF));
    EXPECT_TRUE(Cp932IsLeadByte(0xE0));
    EXPECT_TRUE(Cp932IsLeadByte(0xFC));
    EXPECT_FALSE(Cp932IsLeadByte(0xFD));
    EXPECT_FALSE(Cp932IsLeadByte('\\'));
}

TEST(Cp932, StepsOverDoubleByteCharsAndStopsAtTheEnd)
{
    const char s[] = "a\x95\x5c" "b\x83";   // a, hyou, b, lone lead
    const int len = Len(s);
    EXPECT_EQ(Cp932Next(s, len, 0), 1);
    EXPECT_EQ(Cp932Next(s, len, 1), 3);
    EXPECT_EQ(Cp932Next(s, len, 3), 4);
    EXPECT_EQ(Cp932Next(s, len, 4), 5);    // truncated char, never past len

    const char* p = s;
    int steps = 0;
    while (*p) {
        p = Cp932CharNext(p);
        ++steps;
    }
    EXPECT_EQ(steps, 4);
    EXPECT_EQ(p, s + len);
    EXPECT_EQ(Cp932CharNext(p), p);
}

TEST(Cp932, LeadByteBeforeNulDoesNotSwallowIt)
{
    const char s[] = { '\x83', '\0', 'a' };
    EXPECT_EQ(Cp932CharLength(s, 3, 0), 1);
    EXPECT_EQ(Cp932Find(s, 3, 'a'), 2);
}

TEST(Cp932, FloorBoundaryNeverSplitsAChar)
{
    const char s[] = "ab\x83\x5c\x83\x5c";
    const int len = Len(s);
    EXPECT_EQ(Cp932FloorBoundary(s, len, 0), 0);
    EXPECT_EQ(Cp932FloorBoundary(s, len, 2), 2);
    EXPECT_EQ(Cp932FloorBoundary(s, len, 3), 2);
    EXPECT_EQ(Cp932FloorBoundary(s, len, 5), 4);
    EXPECT_EQ(Cp932FloorBoundary(s, len, 6), 6);
    EXPECT_EQ(Cp932FloorBoundary(s, len, 99), 6);
}

TEST(Cp932, FindSkipsTrailBytes)
{
    const char so[] = "\x83\x5c";                 // trail byte is '\\'
    EXPECT_EQ(Cp932Find(so, Len(so), '\\'), -1);
    const char mixed[] = "\x83\x5c\\x";
    EXPECT_EQ(Cp932Find(mixed, Len(mixed), '\\'), 2);
    // A start on a trail byte begins at the next character.
    EXPECT_EQ(Cp932Find(mixed, Len(mixed), '\\', 1), 2);
    EXPECT_EQ(Cp932Find(mixed, Len(mixed), '\\', 3), -1);
    EXPECT_EQ(Cp932Find(mixed, Len(mixed), 'x', 99), -1);
}

TEST(Cp932, FindStringMatchesWholeCharsOnly)
{
    // "\x5c\x83" occurs in the bytes across two characters, not as text.
    const char s[] = "\x83\x5c\x83\x5c";
    EXPECT_EQ(Cp932FindString(s, Len(s), "\x5c\x83", 2), -1);
    EXPECT_EQ(Cp932FindString(s, Len(s), "\x83\x5c", 2, 1), 2);
    // A sub ending in a lone lead byte does not match half a character.
    const char t[] = "x\x83\x5c";
    EXPECT_EQ(Cp932FindString(t, Len(t), "x\x83", 2), -1);
    const char u[] = "x\x83";
    EXPECT_EQ(Cp932FindString(u, Len(u), "x\x83", 2), 0);
    EXPECT_EQ(Cp932FindString(u, Len(u), "", 0, 1), 1);
    EXPECT_EQ(Cp932FindString(u, Len(u), "", 0, 2), 2);
    EXPECT_EQ(Cp932FindString(u, Len(u), "", 0, 3), -1);
    EXPECT_EQ(Cp932FindString(u, Len(u), "x\x83y", 3), -1);
}

TEST(Cp932, ReverseFindFindsTheRealLastSeparator)
{
    const char path[] = "C:\\\x95\x5c\\a\x95\x5c";
    EXPECT_EQ(Cp932ReverseFind(path, Len(path), '\\'), 5);
    const char none[] = "\x95\x5c\x83\x5c";
    EXPECT_EQ(Cp932ReverseFind(none, Len(none), '\\'), -1);
}

TEST(Cp932, FindOneOfComparesCharacters)
{
    const char s[] = "\x83\x61" "a";
    EXPECT_EQ(Cp932FindOneOf(s, Len(s), "a", 1), 2);
    EXPECT_EQ(Cp932FindOneOf(s, Len(s), "\x83\x61", 2), 0);
    // A lone lead byte in the set is not the lead half of a character.
    EXPECT_EQ(Cp932FindOneOf(s, Len(s), "\x83", 1), -1);
}

// A lead byte pairs only with a trail byte; before anything else it stands
// alone, so the separator or line break after it is still found.
TEST(Cp932, StrayLeadByteKeepsTheSeparatorAfterIt)
{
    for (char after : {'\r', '\n', ' ', '\t', '"', '/', '?', '\x7F'}) {
        const char s[] = {'a', '\x97', after, 'b'};
        EXPECT_EQ(1, Cp932CharLength(s, 4, 1)) << int(after);
        EXPECT_EQ(2, Cp932Find(s, 4, after)) << int(after);
        EXPECT_EQ(2, Cp932ReverseFind(s, 4, after)) << int(after);
        EXPECT_EQ(2, Cp932FindOneOf(s, 4, &after, 1)) << int(after);
        EXPECT_EQ(2, Cp932FindString(s, 4, &after, 1)) << int(after);
        EXPECT_EQ(s + 2, Cp932CharNext(s + 1)) << int(after);
    }
    // Trail bytes at both ends of their two ranges still pair.
    EXPECT_EQ(2, Cp932CharLength("\x81\x40", 2, 0));
    EXPECT_EQ(2, Cp932CharLength("\x81\x7E", 2, 0));
    EXPECT_EQ(2, Cp932CharLength("\x81\x80", 2, 0));
    EXPECT_EQ(2, Cp932CharLength("\xFC\xFC", 2, 0));
    EXPECT_EQ(1, Cp932CharLength("\x81\x3F", 2, 0));
    EXPECT_EQ(1, Cp932CharLength("\x81\xFD", 2, 0));
    // "｀" begins with a byte that is also a trail byte: after a stray lead
    // byte it is read as the system's decoder reads it, one pair then 0x4D.
    const char grave[] = "\x97\x81\x4D";
    EXPECT_EQ(2, Cp932CharLength(grave, 3, 0));
    EXPECT_EQ(-1, Cp932FindString(grave, 3, "\x81\x4D", 2));
}
