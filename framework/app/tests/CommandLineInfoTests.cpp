// Command-line splitting and the shell command it gives.
#include <gtest/gtest.h>

#include "framework/app/CommandLineInfo.h"

namespace {

CStringArray Split(LPCSTR line)
{
    CStringArray args;
    AfxSplitCommandLine(line, args);
    return args;
}

TEST(SplitCommandLine, BlanksSeparateAndQuotesGroup)
{
    CStringArray args = Split("  a  \"b c\"\td\"e f\"g ");
    ASSERT_EQ(3, args.GetSize());
    EXPECT_STREQ("a", args[0]);
    EXPECT_STREQ("b c", args[1]);
    EXPECT_STREQ("de fg", args[2]);
    EXPECT_EQ(0, Split("").GetSize());
    EXPECT_EQ(0, Split(nullptr).GetSize());
}

TEST(SplitCommandLine, BackslashesCountOnlyBeforeAQuote)
{
    CStringArray args = Split("C:\\dir\\ \"C:\\a b\\\\\" x\\\"y");
    ASSERT_EQ(3, args.GetSize());
    EXPECT_STREQ("C:\\dir\\", args[0]);
    EXPECT_STREQ("C:\\a b\\", args[1]);
    EXPECT_STREQ("x\"y", args[2]);
}

TEST(SplitCommandLine, TrailByte5CBeforeAQuoteIsNotABackslash)
{
    // "C:\表" quoted: the trail byte 0x5C of "表" must not escape the quote.
    CStringArray args = Split("\"C:\\\x95\x5c\" next");
    ASSERT_EQ(2, args.GetSize());
    EXPECT_STREQ("C:\\\x95\x5c", args[0]);
    EXPECT_STREQ("next", args[1]);
}

TEST(CommandLineInfo, FirstFileOpensAndFlagsSelectTheCommand)
{
    CCommandLineInfo empty;
    EXPECT_EQ(CCommandLineInfo::FileNew, empty.m_nShellCommand);

    CCommandLineInfo url;
    url.ParseParam("http://example.com/", FALSE, FALSE);
    url.ParseParam("second", FALSE, TRUE);
    EXPECT_EQ(CCommandLineInfo::FileOpen, url.m_nShellCommand);
    EXPECT_STREQ("http://example.com/", url.m_strFileName);

    CCommandLineInfo dde;
    dde.ParseParam("DDE", TRUE, TRUE);
    EXPECT_EQ(CCommandLineInfo::FileDDE, dde.m_nShellCommand);
}

} // namespace

namespace {

TEST(SplitCommandLine, StrayLeadByteDoesNotSwallowTheBlankOrQuote)
{
    const char* const expected[] = {"a\x97", "b\x83", "c\x95\x5c"};
    CStringArray args = Split("a\x97 \"b\x83\" c\x95\x5c");
    ASSERT_EQ(3, args.GetSize());
    for (int i = 0; i < 3; ++i)
        EXPECT_STREQ(expected[i], args[i]) << i;
}

} // namespace
