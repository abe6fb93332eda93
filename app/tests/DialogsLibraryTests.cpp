// Binding to the dialogs library for one call.
#include <windows.h>

#include <gtest/gtest.h>

#include "shared/DialogsLibrary.h"
#include "tests/support/ProgramFolder.h"

namespace {

typedef int(WINAPI* FakeExportFn)(int);

TEST(DialogsLibrary, LoadsFromTheProgramFolderAndFreesOnlyWhatItLoaded)
{
    ProgramFolder folder(ProgramFolder::kEmpty);
    std::string source = ProgramFolder::PathFromEnvironment("VA_FAKE_FORMBAY_DIR") + "\\Formbay.dll";
    ASSERT_TRUE(CopyFileA(source.c_str(), folder.File("Formbay.dll").c_str(), FALSE));
    ASSERT_EQ(nullptr, GetModuleHandleA("Formbay.dll"));
    {
        CDialogsLibrary outer(folder.Path().c_str());
        ASSERT_TRUE(outer.IsLoaded());
        EXPECT_TRUE(outer.LoadedHere());
        auto fn = outer.Get<FakeExportFn>("FakeExport");
        ASSERT_NE(nullptr, fn);
        EXPECT_EQ(701, fn(7));
        EXPECT_EQ(nullptr, outer.Get<FakeExportFn>("NoSuchExport"));
        {
            // Already loaded: this binding takes it and leaves it loaded.
            CDialogsLibrary inner(folder.Path().c_str());
            EXPECT_TRUE(inner.IsLoaded());
            EXPECT_FALSE(inner.LoadedHere());
        }
        EXPECT_NE(nullptr, GetModuleHandleA("Formbay.dll"));
    }
    EXPECT_EQ(nullptr, GetModuleHandleA("Formbay.dll"));
}

TEST(DialogsLibrary, AMissingLibraryGivesNoExports)
{
    ProgramFolder folder(ProgramFolder::kEmpty);
    CDialogsLibrary library(folder.Path().c_str());
    EXPECT_FALSE(library.IsLoaded());
    EXPECT_EQ(nullptr, library.Get<FakeExportFn>("FakeExport"));
}

} // namespace
