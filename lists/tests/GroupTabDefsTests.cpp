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

// The editor writes the file back: the defaults stand in only for a missing
// file, never for one that is there but does not open (here a folder of its
// name), which must be left as it is.
TEST(GroupTabDefsTests, TheEditorTakesTheDefaultOnlyForAMissingFile)
{
    ProgramFolder folder(ProgramFolder::kEmpty);
    CString user = folder.File("GroupTab.dat").c_str();
    CString fallback = folder.File("GroupTabDefdefault.dat").c_str();
    folder.WriteBytes("GroupTabDefdefault.dat", "d" + kSep + "0" + kSep + "1\r\n");
    std::vector<GroupTabDef> defs;
    EXPECT_EQ(FileReadState::kMissing, ReadGroupTabDefsForEditing(user, fallback, defs).result);
    ASSERT_EQ(1u, defs.size());
    folder.MakeFolder("GroupTab.dat");
    const FileReadState state = ReadGroupTabDefsForEditing(user, fallback, defs);
    EXPECT_EQ(FileReadState::kUnreadable, state.result);
    EXPECT_STREQ(user, state.path);
    EXPECT_TRUE(defs.empty());
    // The main program's reader, which never writes it, takes the default.
    EXPECT_TRUE(ReadGroupTabDefs(user, fallback, defs));
    EXPECT_EQ(1u, defs.size());
}

TEST(GroupTabDefsTests, WrittenNamesStayOneFieldAndReadBackWhole)
{
    ProgramFolder folder(ProgramFolder::kEmpty);
    // "ソ" ends in "\"; "｀" and a line break would make the line unusable.
    std::vector<GroupTabDef> defs(3);
    defs[0].name = "\x83\x5C" "A";
    defs[0].switches = 0x40000071;
    defs[0].image = 29;
    defs[1].name = "a" + CString(kSep.c_str()) + "b\r\nc";
    defs[2].switches = 113;
    const CString path = (folder.Path() + "GroupTab.dat").c_str();
    ASSERT_TRUE(WriteGroupTabDefs(path, defs));
    EXPECT_EQ("\x83\x5C" "A" + kSep + "1073741937" + kSep + "29\r\n" + "a`b  c" + kSep + "0" + kSep +
                  "0\r\n" + kSep + "113" + kSep + "0\r\n",
              folder.ReadBytes("GroupTab.dat"));
    std::vector<GroupTabDef> again;
    ASSERT_TRUE(ReadGroupTabDefs(path, path, again, 1000));
    ASSERT_EQ(3u, again.size());
    EXPECT_EQ(0x40000071u, again[0].switches);
    EXPECT_EQ(defs[0].name, again[0].name);
    // An empty list leaves an empty file, which wins over the defaults.
    ASSERT_TRUE(WriteGroupTabDefs(path, {}));
    folder.WriteBytes("GroupTabDefdefault.dat", "d" + kSep + "1" + kSep + "2\r\n");
    EXPECT_TRUE(ReadGroupTabDefs(path, (folder.Path() + "GroupTabDefdefault.dat").c_str(), again));
    EXPECT_TRUE(again.empty());
}

} // namespace
