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
