#include "shared/NumberFormat.h"

#include <gtest/gtest.h>

namespace {

using NumberFormat::FormatTwo;
using NumberFormat::IsNumberFormat;

TEST(NumberFormatTests, IntegerConversionsUpToTheCountAreFilled)
{
    EXPECT_EQ(CString("\\StringFileInfo\\041104b0\\FileVersion"),
              FormatTwo("\\StringFileInfo\\%04x%04x\\FileVersion", 0x411, 0x4b0));
    EXPECT_EQ(CString("7 of 9, 100%"), FormatTwo("%d of %u, 100%%", 7, 9));
    EXPECT_EQ(CString("-5|  2A"), FormatTwo("%-2d|%4X", static_cast<unsigned>(-5), 42));
    EXPECT_EQ(CString("plain"), FormatTwo("plain", 1, 2));
}

TEST(NumberFormatTests, AnyOtherConversionLeavesTheTextLiteral)
{
    // A string, a pointer, a star width, a third number or a lone "%" would
    // read arguments that are not there.
    for (const char* text : {"%s", "%04x%04x%s", "%p", "%*d", "%d%d%d", "50%", "%n", "%ls",
                             "%.*x", "%I64x", "%c"}) {
        EXPECT_FALSE(IsNumberFormat(text, 2)) << text;
        EXPECT_EQ(CString(text), FormatTwo(text, 1, 2)) << text;
    }
    EXPECT_TRUE(IsNumberFormat("%d", 1));
    EXPECT_FALSE(IsNumberFormat("%d%d", 1));
    EXPECT_FALSE(IsNumberFormat(nullptr, 2));
}

} // namespace
