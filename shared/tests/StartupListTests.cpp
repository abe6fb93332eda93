// The start-up list lines and the URL-form test.
#include <gtest/gtest.h>

#include "shared/StartupList.h"
#include "tests/support/ProgramFolder.h"

namespace {

TEST(UrlForm, KnownPrefixesDrivePathsAndNetworkPaths)
{
    for (const char* text : {"http://a", "https://a", "ftp://a", "file:///c", "mailto:x",
                             "news:x", "about:blank", "mk:@MSITStore:x", "prospero://x",
                             "C:\\dir\\page.htm", "\\\\server\\share"})
        EXPECT_TRUE(IsUrlForm(text)) << text;
    for (const char* text : {"", "C", "C:", "C:/dir", "HTTP://a", "www.example.com",
                             "\\single", "javascript:x"})
        EXPECT_FALSE(IsUrlForm(text)) << text;
    EXPECT_FALSE(IsUrlForm(nullptr));
}

TEST(StartupList, ALineCountsOnlyWithOneUrlAndAnEnabledFlag)
{
    const CString sep = "\x81\x4d";
    CString url;
    EXPECT_TRUE(ParseStartupListLine("http://a/" + sep + "1", url));
    EXPECT_STREQ("http://a/", url);
    EXPECT_TRUE(ParseStartupListLine("D:\\page.htm" + sep + "1", url));
    EXPECT_STREQ("D:\\page.htm", url);

    EXPECT_FALSE(ParseStartupListLine("http://a/" + sep + "0", url));
    EXPECT_FALSE(ParseStartupListLine("http://a/" + sep + "1" + sep + "1", url));
    EXPECT_FALSE(ParseStartupListLine("www.example.com" + sep + "1", url));
    EXPECT_FALSE(ParseStartupListLine("http://a/", url));
    EXPECT_FALSE(ParseStartupListLine(sep + "1", url));
}

TEST(StartupList, SeparatorBytesInsideACharacterDoNotSplit)
{
    // 0x81 0x4D also stands inside "\x88\x81\x4d": trail 0x81 then 'M'.
    CString url;
    EXPECT_TRUE(ParseStartupListLine(CString("file://\x88\x81Mx") + "\x81\x4d" + "1", url));
    EXPECT_STREQ("file://\x88\x81Mx", url);
}

TEST(StartupList, FileIsReadInOrderAndAMissingFileOpensNothing)
{
    ProgramFolder folder(ProgramFolder::kEmpty);
    folder.WriteBytes("StartUpURL.dat",
                      "http://one/\x81\x4d" "1\r\nhttp://off/\x81\x4d" "0\r\n"
                      "bad\x81\x4d" "1\r\nhttp://two/\x81\x4d" "1\r\n");
    CStringArray urls;
    ReadStartupList(folder.File("StartUpURL.dat").c_str(), urls);
    ASSERT_EQ(2, urls.GetSize());
    EXPECT_STREQ("http://one/", urls[0]);
    EXPECT_STREQ("http://two/", urls[1]);

    ReadStartupList(folder.File("missing.dat").c_str(), urls);
    EXPECT_EQ(0, urls.GetSize());
}

} // namespace
