// Splitting data-file lines into fields.
#include "shared/DataFields.h"

#include <gtest/gtest.h>

TEST(DataFields, StrayLeadByteBeforeASeparatorKeepsTheFieldsApart)
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
