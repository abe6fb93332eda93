#include "shared/ProgramPath.h"

#include <gtest/gtest.h>

TEST(ProgramPath, FolderOfCutsAfterTheLastSeparator)
{
    EXPECT_EQ(CString("C:\\Program\\"), ProgramPath::FolderOf("C:\\Program\\VantorelArco.exe", '\\'));
    EXPECT_EQ(CString("/opt/va/"), ProgramPath::FolderOf("/opt/va/VantorelArco.exe", '/'));
    EXPECT_TRUE(ProgramPath::FolderOf("VantorelArco.exe", '\\').IsEmpty());
    EXPECT_TRUE(ProgramPath::FolderOf(nullptr).IsEmpty());
}

// 0x95 0x5C is one character; its trail byte is not a backslash.
TEST(ProgramPath, FolderOfSkipsTrailBytesThatEqualBackslash)
{
    EXPECT_EQ(CString("C:\\\x95\x5c\\"), ProgramPath::FolderOf("C:\\\x95\x5c\\VantorelArco.exe", '\\'));
    EXPECT_EQ(CString("C:\\app\\"), ProgramPath::FolderOf("C:\\app\\\x95\x5c.exe", '\\'));
    EXPECT_EQ(CString("C:\\"), ProgramPath::FolderOf("C:\\\x83\x5c\x95\x5c", '\\'));
}

TEST(ProgramPath, JoinAndSubFolderUseThePlatformSeparator)
{
    const CString folder = CString("base") + ProgramPath::kSeparator;
    EXPECT_EQ(folder + "file.dat", ProgramPath::Join(folder, "file.dat"));
    EXPECT_EQ(folder + "String" + ProgramPath::kSeparator, ProgramPath::SubFolder(folder, "String"));
}

// Regression: no folder gave the bare name, a file of the current folder.
TEST(ProgramPath, NoFolderNamesNoFile)
{
    EXPECT_TRUE(ProgramPath::Join(CString(), "VantorelArco.ini").IsEmpty());
    EXPECT_TRUE(ProgramPath::SubFolder(CString(), "plugin").IsEmpty());
}
