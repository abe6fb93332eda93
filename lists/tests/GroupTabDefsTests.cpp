// "GroupTab.dat" lines and the file choice.
#include "lists/GroupTabDefs.h"

#include <gtest/gtest.h>

#include "tests/support/ProgramFolder.h"

namespace {

const std::string kSep = "\x81\x4d";

TEST(GroupTabDefsTests, ThreeFieldsWithEmptyNumbersAsZero)
{
    GroupTabDef def;
    ASSERT_TRUE(ParseGroupTabLine(("A&B[%c]" + kSep + "96" + kSep + "7").c_str(), def));
    EXPECT_EQ(CString("A&B[%c]"), def.name);
    EXPECT_EQ(96u, def.switches);
    EXPECT_EQ(7, def.image);
    ASSERT_TRUE(ParseGroupTabLine(("n" + kSep + kSep).c_str(), def));
    EXPECT_EQ(0u, def.switches);
    EXPECT_EQ(0, def.image);
    EXPECT_FALSE(ParseGroupTabLine(("n" + kSep + "1").c_str(), def));
    EXPECT_FALSE(ParseGroupTabLine(("n" + kSep + "1" + kSep + "2" + kSep + "3").c_str(), def));
    EXPECT_FALSE(ParseGroupTabLine("", def));
}

TEST(GroupTabDefsTests, SeparatorBytesInsideANameDoNotSplitIt)
{
    // Regression: "メM" is 83 81 4D; a byte-wise split cut it after 0x83.
    GroupTabDef def;
    ASSERT_TRUE(ParseGroupTabLine(("\x83\x81M" + kSep + "1" + kSep + "2").c_str(), def));
    EXPECT_EQ(CString("\x83\x81M"), def.name);
    EXPECT_EQ(2, def.image);
}

TEST(GroupTabDefsTests, TheUsersFileWinsOverTheDefaultAndAtMost100AreRead)
{
    ProgramFolder folder(ProgramFolder::kEmpty);
    CString user = folder.File("GroupTab.dat").c_str();
    CString fallback = folder.File("GroupTabDefdefault.dat").c_str();
    std::vector<GroupTabDef> defs;
    EXPECT_FALSE(ReadGroupTabDefs(user, fallback, defs));
    folder.WriteBytes("GroupTabDefdefault.dat", "d" + kSep + "0" + kSep + "1\r\n");
    ASSERT_TRUE(ReadGroupTabDefs(user, fallback, defs));
    ASSERT_EQ(1u, defs.size());
    EXPECT_EQ(CString("d"), defs[0].name);

    std::string many;
    for (int i = 0; i < 120; ++i)
        many += "g" + std::to_string(i) + kSep + "0" + kSep + "0\r\nbroken\r\n";
    folder.WriteBytes("GroupTab.dat", many);
    ASSERT_TRUE(ReadGroupTabDefs(user, fallback, defs));
    ASSERT_EQ(100u, defs.size());
    EXPECT_EQ(CString("g99"), defs[99].name);
}

} // namespace
