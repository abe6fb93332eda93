// The registry key wrapper and the editor lookup, on the test prefix's
// registry under a key of the tests' own.
#include <gtest/gtest.h>

#include "shared/ExternalEditor.h"
#include "shared/RegKey.h"

TEST(RegKeyTest, ValuesRoundTripAndATreeGoesWhole)
{
    CRegKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Create(HKEY_CURRENT_USER, "Software\\VaRegKeyTests\\a\\b"));
    EXPECT_EQ(ERROR_SUCCESS, key.SetString("text", "\x95\x5C\x8E\xA6"));  // "表示"
    EXPECT_EQ(ERROR_SUCCESS, key.SetDword("number", 0x80000001u));
    CString text;
    DWORD number = 0;
    EXPECT_EQ(ERROR_SUCCESS, key.QueryString("text", text));
    EXPECT_EQ(ERROR_SUCCESS, key.QueryDword("number", number));
    EXPECT_STREQ("\x95\x5C\x8E\xA6", text);
    EXPECT_EQ(0x80000001u, number);
    // A value of another type is not read.
    EXPECT_EQ(ERROR_INVALID_DATA, key.QueryDword("text", number));
    EXPECT_EQ(ERROR_INVALID_DATA, key.QueryString("number", text));
    key.Close();

    ASSERT_EQ(ERROR_SUCCESS, key.Open(HKEY_CURRENT_USER, "Software", KEY_READ | KEY_WRITE));
    EXPECT_EQ(ERROR_SUCCESS, key.DeleteSubKeyTree("VaRegKeyTests"));
    EXPECT_NE(ERROR_SUCCESS, key.Open(HKEY_CURRENT_USER, "Software\\VaRegKeyTests"));
    // An empty path never opens the parent itself; nor does the editor lookup.
    EXPECT_EQ(ERROR_INVALID_PARAMETER, key.Open(HKEY_CURRENT_USER, ""));
    EXPECT_STREQ("notepad.exe", ReadEditorPath(""));
    EXPECT_STREQ("notepad.exe", ReadEditorPath("SOFTWARE\\VaNoSuchKey\\Editor"));
}
