// The registry key wrapper and the editor lookup, on the test prefix's
// registry under a key of the tests' own.
#include <gtest/gtest.h>

#include "shared/ExternalEditor.h"
#include "shared/RegKey.h"
#include "shared/WidePath.h"
#include "tests/support/ProgramFolder.h"

TEST(RegKeyTest, ValuesRoundTripAndATreeGoesWhole)
{
    CRegKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Create(HKEY_CURRENT_USER, "Software\\VaRegKeyTests\\a\\b"));
    EXPECT_EQ(ERROR_SUCCESS, key.SetString("text", "\x95\x5C\x8E\xA6"));  // "表示"
    EXPECT_EQ(ERROR_SUCCESS, key.SetDword("number", 0x80000001u));
    CString text;
    DWORD number = 0;
    EXPECT_EQ(ERROR_SUCCESS, key.QueryString("text", text));
    EXPECT_EQ(ERROR_SUCCESS, key.QueryDword("number", number));
    EXPECT_STREQ("\x95\x5C\x8E\xA6", text);
    EXPECT_EQ(0x80000001u, number);
    // A value of another type is not read.
    EXPECT_EQ(ERROR_INVALID_DATA, key.QueryDword("text", number));
    EXPECT_EQ(ERROR_INVALID_DATA, key.QueryString("number", text));
    key.Close();

    ASSERT_EQ(ERROR_SUCCESS, key.Open(HKEY_CURRENT_USER, "Software", KEY_READ | KEY_WRITE));
    EXPECT_EQ(ERROR_SUCCESS, key.DeleteSubKeyTree("VaRegKeyTests"));
    EXPECT_NE(ERROR_SUCCESS, key.Open(HKEY_CURRENT_USER, "Software\\VaRegKeyTests"));
    // An empty path never opens the parent itself; nor does the editor lookup.
    EXPECT_EQ(ERROR_INVALID_PARAMETER, key.Open(HKEY_CURRENT_USER, ""));
    EXPECT_STREQ("notepad.exe", ReadEditorPath(""));
    EXPECT_STREQ("notepad.exe", ReadEditorPath("SOFTWARE\\VaNoSuchKey\\Editor"));
    // The command starts Notepad from the system folder, by its full path.
    wchar_t system[MAX_PATH] = {};
    ::GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring notepad = std::wstring(system) + L"\\notepad.exe";
    for (const char* keyPath : { "", "SOFTWARE\\VaNoSuchKey\\Editor" }) {
        const EditorCommand command = ReadEditorCommand(keyPath);
        EXPECT_TRUE(command.program == notepad && command.arguments.empty()) << keyPath;
    }
}

// An editor in a folder whose name holds a space, registered with or
// without quotes, is started itself on the file: beside its folder lies a
// program whose name is the path up to the space ("ed" for "ed it").
TEST(ExternalEditorTest, AnEditorInAFolderWithASpaceIsStartedOnTheFile)
{
    ProgramFolder folder(ProgramFolder::kEmpty);
    folder.MakeFolder("ed it");
    wchar_t system[MAX_PATH] = {};
    ::GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring base = WidePath::FromAnsi(folder.Path().c_str());
    const std::wstring editor = base + L"ed it\\cmd.exe";
    ASSERT_TRUE(::CopyFileW((std::wstring(system) + L"\\cmd.exe").c_str(), editor.c_str(), FALSE));
    ASSERT_TRUE(::CopyFileW((std::wstring(system) + L"\\reg.exe").c_str(), (base + L"ed.exe").c_str(), FALSE));
    folder.WriteBytes("edited.txt", "edited");
    // A scripted editor that copies the edited text over the file.
    const std::wstring copy = L"/c copy /y \"" + WidePath::FromAnsi(folder.File("edited.txt").c_str()) + L"\"";
    const struct
    {
        const char* what;
        std::wstring value;
    } kEditors[] = {
        { "quoted", L"\"" + editor + L"\" " + copy },
        { "unquoted", editor + L" " + copy },
    };
    for (const auto& row : kEditors) {
        folder.WriteBytes("file.txt", "original");
        EXPECT_TRUE(RunEditorAndWait(SplitEditorCommand(row.value), folder.File("file.txt").c_str(), nullptr))
            << row.what;
        EXPECT_EQ("edited", folder.ReadBytes("file.txt")) << row.what;
    }
}
