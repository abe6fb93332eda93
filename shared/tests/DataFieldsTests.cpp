// Fields of the "｀"-separated lines: splitting, and titles and URLs made
// safe to write as one field.
#include <gtest/gtest.h>

#include "shared/DataFields.h"

TEST(DataFieldsTest, StrayLeadByteBeforeASeparatorKeepsTheFieldsApart)
{
    CStringArray fields;
    DataFields::SplitTerminated("a\x97?b\x83?", "?", fields);
    ASSERT_EQ(2, fields.GetSize());
    EXPECT_STREQ("a\x97", fields[0]);
    EXPECT_STREQ("b\x83", fields[1]);

    // "｀" after a stray lead byte is read as the system's decoder reads it:
    // the lead byte pairs with its first byte, so no field ends there.
    CString line("http://x/\x97\x81\x4D" "1\x81\x4D");
    DataFields::SplitTerminated(line, DataFields::kSeparator, fields);
    ASSERT_EQ(1, fields.GetSize());
    EXPECT_STREQ("http://x/\x97\x81\x4D" "1", fields[0]);

    DataFields::SplitTerminated("u\x81\x4D" "1\x81\x4D", DataFields::kSeparator, fields);
    ASSERT_EQ(2, fields.GetSize());
}

TEST(DataFieldsTest, TitleFieldLosesSeparatorsAndLineBreaks)
{
    // "a｀b＾c" with CR LF; "表" (0x95 0x5C) and "ソ" (0x83 0x5C) stay whole.
    EXPECT_STREQ("a`b^c  \x95\x5c\x83\x5c",
                 DataFields::CleanTitleField("a\x81\x4d" "b\x81\x4f" "c\r\n\x95\x5c\x83\x5c"));
    // A byte pair 0x81 0x4D inside another character is no separator:
    // "\x88\x81" is one character, followed by "M".
    EXPECT_STREQ("\x88\x81M", DataFields::CleanTitleField("\x88\x81M"));
}

TEST(DataFieldsTest, UrlFieldDropsLineBreaksAndEscapesBothSeparators)
{
    EXPECT_STREQ("http://x/?q=%81%4Dz%81%4F", DataFields::CleanUrlField("http://x/\r\n?q=\x81\x4dz\x81\x4f"));
    CStringArray fields;
    const CString line = DataFields::CleanTitleField("t\x81\x4dt") + DataFields::kSeparator +
                         DataFields::CleanUrlField("u\x81\x4du") + DataFields::kSeparator;
    DataFields::SplitTerminated(line, DataFields::kSeparator, fields);
    ASSERT_EQ(2, fields.GetSize());
}

// A line cut in the middle of a character (a truncated file, a stray byte)
// ends with a lone lead byte; the separator appended for the split must not
// become its trail, which would give the last field "メM" (83 81 4D).
TEST(DataFieldsTest, ALoneLeadByteAtTheLineEndIsDroppedBeforeTheSplit)
{
    const struct
    {
        const char* line;
        const char* separator;
        const char* fields;  // joined by "|"
    } kCases[] = {
        { "a\x81\x4D" "b\x83", DataFields::kSeparator, "a|b" },
        { "a\x81\x4D\x83", DataFields::kSeparator, "a|" },
        { "a\x81\x4D" "b\x81", DataFields::kSeparator, "a|b" },
        { "a\x81\x4D" "b\xE0", DataFields::kSeparator, "a|b" },
        { "\x83", DataFields::kSeparator, "" },
        // Whole characters at the end stay: "メ", "ソ", a pair then a lone lead.
        { "a\x81\x4D\x83\x81", DataFields::kSeparator, "a|\x83\x81" },
        { "a\x81\x4D\x83\x5C", DataFields::kSeparator, "a|\x83\x5C" },
        { "a\x81\x4D\x81\x81\x83", DataFields::kSeparator, "a|\x81\x81" },
        { "a\x81\x4D" "bc", DataFields::kSeparator, "a|bc" },
        // The list separator "＾" (81 4F) the same way.
        { "u\x81\x4Fv\x83", DataFields::kListSeparator, "u|v" },
    };
    for (const auto& c : kCases) {
        CStringArray fields;
        DataFields::SplitLine(c.line, c.separator, fields);
        CString joined;
        for (INT_PTR i = 0; i < fields.GetSize(); ++i)
            joined += (i > 0 ? "|" : "") + fields[i];
        EXPECT_STREQ(c.fields, joined) << c.line;
    }
}
