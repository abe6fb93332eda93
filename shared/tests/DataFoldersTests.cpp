#include "shared/DataFolders.h"

#include <string>

#include <gtest/gtest.h>

#include "framework/core/FileSystem.h"
#include "shared/ProgramPath.h"
#include "tests/support/ProgramFolder.h"

namespace {

const char kSep = ProgramPath::kSeparator;

bool IsFolder(const CString& path)
{
    FileSystem::FileInfo info;
    return FileSystem::GetInfo(path, info) && info.isDirectory;
}

void ExpectDataFoldersIn(const CString& program)
{
    for (const char* name : {"Favorite", "Res", "plugin", "script", "help", "String", "Icon"})
        EXPECT_TRUE(IsFolder(program + name)) << name;
}

} // namespace

TEST(DataFolders, PathsFollowTheModuleFolder)
{
    ProgramFolder folder(ProgramFolder::kEmpty);
    const CString program = folder.Path().c_str();
    CDataFolders folders;
    ASSERT_TRUE(folders.CreateDataFolders(program + "VantorelArco.exe"));
    EXPECT_EQ(program, folders.GetProgramFolder());
    EXPECT_EQ(program + "Res" + kSep, folders.GetResFolder());
    EXPECT_EQ(program + "Script" + kSep, folders.GetScriptFolder());
    EXPECT_EQ(program + "Plugin" + kSep, folders.GetPluginFolder());
    EXPECT_EQ(program + "String" + kSep, folders.GetStringFolder());
    ExpectDataFoldersIn(program);
}

TEST(DataFolders, ExistingFoldersAndTheirFilesAreKept)
{
    ProgramFolder folder;
    const std::string shipped = folder.ReadBytes("String/etc.dat");
    ASSERT_FALSE(shipped.empty());
    CDataFolders folders;
    ASSERT_TRUE(folders.CreateDataFolders(CString(folder.Path().c_str()) + "VantorelArco.exe"));
    ASSERT_TRUE(folders.CreateDataFolders(CString(folder.Path().c_str()) + "VantorelArco.exe"));
    EXPECT_EQ(shipped, folder.ReadBytes("String/etc.dat"));
}

TEST(DataFolders, ModulePathWithoutSeparatorSetsAndCreatesNothing)
{
    CDataFolders folders;
    EXPECT_FALSE(folders.CreateDataFolders("VantorelArco.exe"));
    EXPECT_TRUE(folders.GetProgramFolder().IsEmpty());
    EXPECT_TRUE(folders.GetStringFolder().IsEmpty());
    // Nor does it name files of the current folder.
    EXPECT_TRUE(folders.ProgramFile("VantorelArco.ini").IsEmpty());
    EXPECT_TRUE(folders.PluginFile("plugin.dat").IsEmpty());
    EXPECT_FALSE(folders.CreateDataFolders(nullptr));
}

// A file of each data folder is named with the separator between the
// folder and the file, whatever the folder holds.
TEST(DataFolders, FilesOfEachFolderLieInsideIt)
{
    const CString program = CString("C:") + kSep + "\x95\x5c" + kSep;
    CDataFolders folders;
    ASSERT_TRUE(folders.SetProgramFolder(program));
    const struct
    {
        CString (CDataFolders::*file)(LPCTSTR) const;
        const char* folder;
    } cases[] = {
        { &CDataFolders::ResFile, "Res" },         { &CDataFolders::ScriptFile, "Script" },
        { &CDataFolders::PluginFile, "Plugin" },   { &CDataFolders::StringFile, "String" },
        { &CDataFolders::FavoriteFile, "Favorite" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(program + c.folder + kSep + "mjr.bmp", (folders.*c.file)("mjr.bmp")) << c.folder;
    EXPECT_EQ(program + "GroupTab.dat", folders.ProgramFile("GroupTab.dat"));
    EXPECT_EQ(program + "Favorite" + kSep, folders.GetFavoriteFolder());
}

// "表" (95 5C) in the folder and in the file name: the cut must fall after
// the real last separator, not after a trail byte.
TEST(DataFolders, Cp932TrailBytesInTheModulePath)
{
    ProgramFolder folder(ProgramFolder::kEmpty);
    const CString program = CString(folder.Path().c_str()) + "\x95\x5c" + kSep;
    ASSERT_TRUE(FileSystem::MakeDirectory(CString(folder.Path().c_str()) + "\x95\x5c"));
    CDataFolders folders;
    ASSERT_TRUE(folders.CreateDataFolders(program + "\x95\x5c.exe"));
    EXPECT_EQ(program, folders.GetProgramFolder());
    EXPECT_EQ(program + "String" + kSep, folders.GetStringFolder());
    ExpectDataFoldersIn(program);
}
