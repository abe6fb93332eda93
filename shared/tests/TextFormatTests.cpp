// Lines of the string files used as formats: checked conversions, filled by
// replacement, a built-in text for anything else.
#include <gtest/gtest.h>

#include <string>

#include "shared/TextFormat.h"

TEST(TextFormatTest, FillsExactlyTheExpectedConversions)
{
    EXPECT_STREQ("1 から 5000 まで", TextFormat::FormatNumbers("%d から %d まで", 'd', { 1, 5000 }, "x"));
    EXPECT_STREQ("\\StringFileInfo\\041103a4\\",
                 TextFormat::FormatNumbers("\\StringFileInfo\\%04x%04x\\", 'x', { 0x0411, 0x03a4 }, "x"));
    EXPECT_STREQ("100% 7", TextFormat::FormatNumbers("100%% %d", 'd', { 7 }, "x"));
    // The widest width accepted is filled whole, the number at its end.
    EXPECT_STREQ(("[" + std::string(39, ' ') + "7]").c_str(), TextFormat::FormatNumbers("[%40d]", 'd', { 7 }, "x"));
    EXPECT_STREQ(("[-" + std::string(94, '0') + "1234]").c_str(),
                 TextFormat::FormatNumbers("[%099d]", 'd', { -1234 }, "x"));
}

TEST(TextFormatTest, AnyOtherLineGivesTheBuiltInText)
{
    const char* fallback = "between %d and %d";
    // A string conversion, too few, too many, a bare percent sign at the end.
    for (const char* line : { "%s and %d", "%d only", "%d %d %d", "%d and %d %", "%n%d", "%123d %d" })
        EXPECT_STREQ("between 1 and 5000", TextFormat::FormatNumbers(line, 'd', { 1, 5000 }, fallback)) << line;
    EXPECT_FALSE(TextFormat::HasNumberConversions("%x%x", 'd', 2));
    EXPECT_TRUE(TextFormat::HasNumberConversions("%04x%04x", 'x', 2));
    // A fallback that does not fit is returned as it stands, never formatted.
    EXPECT_STREQ("%s", TextFormat::FormatNumbers("%s", 'd', { 1 }, "%s"));
}

TEST(TextFormatTest, ReplaceFirstReplacesOneOccurrence)
{
    CString text("%s and %s");
    TextFormat::ReplaceFirst(text, "%s", "a");
    EXPECT_STREQ("a and %s", text);
    TextFormat::ReplaceFirst(text, "none", "b");
    EXPECT_STREQ("a and %s", text);
}

TEST(TextFormatTest, StringsGoInByPositionAndAreNeverReadAsFormats)
{
    struct Case
    {
        const char* format;
        const char* expected;
    };
    const Case cases[] = {
        { "\"%s\" and \"%s\" 100%%", "\"a%d\" and \"b%s\" 100%" },
        { "only %s", "fallback a%d b%s" },       // one text short: the fallback
        { "%s %s %d", "fallback a%d b%s" },      // another conversion
        { "%s%s", "a%db%s" },
    };
    for (const Case& c : cases)
        EXPECT_STREQ(c.expected, TextFormat::FormatStrings(c.format, { "a%d", "b%s" }, "fallback %s %s")) << c.format;
    // A fallback that does not fit either stands as it is.
    EXPECT_STREQ("plain", TextFormat::FormatStrings("x", { "a" }, "plain"));
}

TEST(TextFormatTest, StringLinesTakeTheirTextsByPositionOrTheBuiltInText)
{
    const char* fallback = "[%s|%s]";
    // Texts go in as they stand, "%" included.
    EXPECT_STREQ("Ctrl+A is Back (100%)",
                 TextFormat::FormatStrings("%s is %s", { "Ctrl+A", "Back (100%)" }, fallback));
    EXPECT_STREQ("50% a b", TextFormat::FormatStrings("50%% %s %s", { "a", "b" }, fallback));
    for (const char* line : { "", "%s", "%s %s %s", "%s %d", "%s %n", "%s %s %" })
        EXPECT_STREQ("[a|b]", TextFormat::FormatStrings(line, { "a", "b" }, fallback)) << line;
}
