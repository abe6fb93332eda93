#include "framework/core/CString.h"

#include <cstring>

#include <gtest/gtest.h>

TEST(CString, ConstructionKeepsCountedBytes)
{
    EXPECT_TRUE(CString().IsEmpty());
    EXPECT_TRUE(CString(static_cast<LPCSTR>(nullptr)).IsEmpty());
    EXPECT_EQ(CString('-', 3), "---");
    EXPECT_TRUE(CString('-', 0).IsEmpty());

    CString withNul("a\0b", 3);
    EXPECT_EQ(withNul.GetLength(), 3);
    EXPECT_EQ(withNul[2], 'b');
    EXPECT_EQ(std::strlen(withNul), 1u);   // still NUL-terminated for C callers
    EXPECT_NE(withNul, CString("a"));

    CString moved(std::move(withNul));
    EXPECT_EQ(moved.GetLength(), 3);
}

TEST(CString, BufferRoundTrip)
{
    CString s("abc");
    char* p = s.GetBuffer(10);
    std::strcpy(p, "0123456789");
    s.ReleaseBuffer();
    EXPECT_EQ(s, "0123456789");

    p = s.GetBuffer(4);            // keeps the contents
    EXPECT_EQ(std::memcmp(p, "0123", 4), 0);
    p[2] = '\0';
    s.ReleaseBuffer();
    EXPECT_EQ(s, "01");

    p = s.GetBufferSetLength(3);
    p[2] = 'z';
    s.ReleaseBuffer(3);
    EXPECT_EQ(s.GetLength(), 3);
    EXPECT_EQ(s[2], 'z');
}

TEST(CString, ExtractionClamps)
{
    CString s("abcdef");
    EXPECT_EQ(s.Left(2), "ab");
    EXPECT_EQ(s.Left(99), "abcdef");
    EXPECT_EQ(s.Left(-1), "");
    EXPECT_EQ(s.Mid(4), "ef");
    EXPECT_EQ(s.Mid(2, 2), "cd");
    EXPECT_EQ(s.Mid(5, 9), "f");
    EXPECT_EQ(s.Mid(9), "");
    EXPECT_EQ(s.Right(2), "ef");
    EXPECT_EQ(s.Right(99), "abcdef");
}

TEST(CString, FindIgnoresTrailBytesThatLookLikeAscii)
{
    CString so("\x83\x5c");                       // trail byte 0x5C
    EXPECT_EQ(so.Find('\\'), -1);
    EXPECT_EQ(so.ReverseFind('\\'), -1);
    EXPECT_EQ(so.Find("\\"), -1);

    CString path("C:\\\x95\x5c\\a");
    EXPECT_EQ(path.ReverseFind('\\'), 5);
    EXPECT_EQ(path.Left(path.ReverseFind('\\') + 1), "C:\\\x95\x5c\\");
    EXPECT_EQ(path.Find('\\', 3), 5);

    CString key("\x83\x41=\x83\x5c");             // trail bytes 'A' and '\\'
    EXPECT_EQ(key.Find('='), 2);
    EXPECT_EQ(key.FindOneOf("\\A="), 2);
    EXPECT_EQ(key.FindOneOf("\\A"), -1);
}

TEST(CString, LoneLeadByteAtTheEndIsOneChar)
{
    CString s("ab\x83");
    EXPECT_EQ(s.Find('\x83'), 2);
    EXPECT_EQ(s.Find("\x83"), 2);
    s.TrimRight("\x83");
    EXPECT_EQ(s, "ab");
}

TEST(CString, ReplaceAndRemoveSkipTrailBytes)
{
    CString s("\x83\x5c\\\x83\x5c\\");
    EXPECT_EQ(s.Replace('\\', '/'), 2);
    EXPECT_EQ(s, "\x83\x5c/\x83\x5c/");

    CString t("a\x95\x5cna\\n");
    EXPECT_EQ(t.Replace("\\n", "\n"), 1);
    EXPECT_EQ(t, "a\x95\x5cna\n");
    EXPECT_EQ(t.Replace("", "x"), 0);

    CString u("a-b--c");
    EXPECT_EQ(u.Replace("-", ""), 3);
    EXPECT_EQ(u, "abc");
    CString v("aaa");
    EXPECT_EQ(v.Replace("aa", "a"), 1);       // non-overlapping, left to right
    EXPECT_EQ(v, "aa");

    CString w("\\\x83\x5c\\");
    EXPECT_EQ(w.Remove('\\'), 2);
    EXPECT_EQ(w, "\x83\x5c");
}

TEST(CString, InsertAndDelete)
{
    CString s("ac");
    EXPECT_EQ(s.Insert(1, 'b'), 3);
    EXPECT_EQ(s.Insert(99, "de"), 5);
    EXPECT_EQ(s.Insert(-1, '>'), 6);
    EXPECT_EQ(s, ">abcde");
    EXPECT_EQ(s.Delete(0), 5);
    EXPECT_EQ(s.Delete(3, 99), 3);
    EXPECT_EQ(s.Delete(9, 1), 3);
    EXPECT_EQ(s, "abc");
    s.Insert(1, s);                           // the argument is this string
    EXPECT_EQ(s, "aabcbc");
}

TEST(CString, Trim)
{
    CString s(" \t\r\n\v\fkey \f\v\n\r\t ");
    EXPECT_EQ(s.Trim(), "key");
    CString t("  a b  ");
    EXPECT_EQ(CString(t).TrimLeft(), "a b  ");
    EXPECT_EQ(CString(t).TrimRight(), "  a b");
    EXPECT_EQ(CString("xxaxx").Trim('x'), "a");
    EXPECT_EQ(CString("").Trim(), "");
    EXPECT_EQ(CString("   ").Trim(), "");
    // A trim set holding '\\' or '@' must not eat trail bytes 0x5C and 0x40.
    EXPECT_EQ(CString("\\\x83\x5c\\").Trim('\\'), "\x83\x5c");
    EXPECT_EQ(CString("\x81\x40@").TrimRight("@\\"), "\x81\x40");
    // A double-byte char in the set is trimmed as a whole.
    EXPECT_EQ(CString("\x81\x40" "a\x81\x40").Trim("\x81\x40"), "a");
}

TEST(CString, CaseChangeLeavesTrailBytes)
{
    CString s("\x83\x61" "ab\x83\x41");          // trail bytes 'a' and 'A'
    s.MakeUpper();
    EXPECT_EQ(s, "\x83\x61" "AB\x83\x41");
    s.MakeLower();
    EXPECT_EQ(s, "\x83\x61" "ab\x83\x41");
}

TEST(CString, CompareNoCaseFoldsOnlySingleByteLetters)
{
    EXPECT_EQ(CString("Abc").CompareNoCase("aBC"), 0);
    EXPECT_LT(CString("abc").CompareNoCase("ABD"), 0);
    EXPECT_GT(CString("abcd").CompareNoCase("ABC"), 0);
    EXPECT_LT(CString("ab").CompareNoCase("ABC"), 0);
    // Different characters whose trail bytes differ only in case.
    EXPECT_NE(CString("\x83\x61").CompareNoCase("\x83\x41"), 0);
    EXPECT_GT(CString("\x83\x61").CompareNoCase("\x83"), 0);
    EXPECT_EQ(CString("x\x83\x61Y").CompareNoCase("X\x83\x61y"), 0);
}

TEST(CString, CompareIsUnsignedBytes)
{
    EXPECT_LT(CString("a"), CString("\x83"));
    EXPECT_LT(CString("a"), "b");
    EXPECT_GT("b", CString("a"));
    EXPECT_EQ(CString("abc").Compare("abc"), 0);
    EXPECT_LT(CString("ab").Compare("abc"), 0);
    EXPECT_TRUE(CString("a") <= CString("a"));
    EXPECT_TRUE("abc" == CString("abc"));
    EXPECT_TRUE(CString("abc") != "abd");
}

TEST(CString, Concatenation)
{
    CString s("a");
    s += CString("b");
    s += "c";
    s += 'd';
    EXPECT_EQ(s, "abcd");
    EXPECT_EQ("<" + s + '>', "<abcd>");
    EXPECT_EQ('[' + s + "]", "[abcd]");
    s += s.GetString() + 2;                   // appending a part of itself
    EXPECT_EQ(s, "abcdcd");
}

TEST(CString, Format)
{
    CString s;
    s.Format("%d|%s|%08X|%u", -12, "x\x95\x5cy", 0xBEEFu, 4000000000u);
    EXPECT_EQ(s, "-12|x\x95\x5cy|0000BEEF|4000000000");
    s.AppendFormat("+%c%%", 'z');
    EXPECT_EQ(s, "-12|x\x95\x5cy|0000BEEF|4000000000+z%");

    CString self("abc");
    self.Format("%s%s", static_cast<LPCTSTR>(self), static_cast<LPCTSTR>(self));
    EXPECT_EQ(self, "abcabc");

    CString longText(static_cast<char>('q'), 1000);
    s.Format("[%s]", static_cast<LPCTSTR>(longText));
    EXPECT_EQ(s.GetLength(), 1002);
    EXPECT_EQ(s.Right(2), "q]");
}

TEST(CString, StrayLeadByteNeverSwallowsBlanksOrSeparators)
{
    EXPECT_EQ(CString("a\x97"), CString("a\x97 \r\n").TrimRight());
    EXPECT_EQ(CString("\x97"), CString("\t\x97\t").Trim());
    EXPECT_EQ(2, CString("a\x97\nb").Find('\n'));
    EXPECT_EQ(2, CString("a\x97?b").Find("?"));
    CString line("x\x97\r\ny\x83\n");
    EXPECT_EQ(1, line.Replace('\r', ' '));
    EXPECT_EQ(2, line.Replace('\n', ' '));
    EXPECT_EQ(CString("x\x97  y\x83 "), line);
}
