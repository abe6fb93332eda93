#include "shared/WidePath.h"

#include <gtest/gtest.h>

#include "tests/support/ProgramFolder.h"

namespace {

// Names the code page lacks: an accented letter with Hangul, an emoji.
const wchar_t kJorg[] = L"J\u00F6rg \uD55C";
const wchar_t kSmile[] = L"smile \U0001F600";

struct ChooseCase
{
    const wchar_t* path;
    const wchar_t* shortPath;
    WidePath::Status status;
    const char* ansi;  // null: not compared (the best-fit text)
};

} // namespace

TEST(WidePath, ReadablePartsStayAndOnlyTheOthersTakeTheirShortNames)
{
    const ChooseCase cases[] = {
        // cp932 with a trail byte 0x5C ("表") needs no short name.
        {L"C:\\\u8868\u793A\\a.exe", L"C:\\8868~1\\a.exe", WidePath::kAsIs, "C:\\\x95\x5C\x8E\xA6\\a.exe"},
        {L"C:\\J\u00F6rg \uD55C\\Sub\\a.exe", L"C:\\JRG~1\\Sub\\a.exe", WidePath::kShortName,
         "C:\\JRG~1\\Sub\\a.exe"},
        {L"C:\\x\\smile \U0001F600", L"C:\\x\\SMILE~1", WidePath::kShortName, "C:\\x\\SMILE~1"},
        // No short name: the system gives the long path back, or nothing.
        {L"C:\\J\u00F6rg\\a.exe", L"C:\\J\u00F6rg\\a.exe", WidePath::kUnusable, nullptr},
        {L"C:\\J\u00F6rg\\a.exe", L"", WidePath::kUnusable, nullptr},
        {L"C:\\J\u00F6rg\\a.exe", L"C:\\JRG~1", WidePath::kUnusable, nullptr},
    };
    for (const ChooseCase& c : cases) {
        CString ansi;
        EXPECT_EQ(c.status, WidePath::Choose(c.path, c.shortPath, ansi)) << ansi;
        if (c.ansi != nullptr)
            EXPECT_STREQ(c.ansi, ansi) << ansi;
        else
            EXPECT_EQ(WidePath::ToBestFitAnsi(c.path), ansi);
    }
}

// Both names reach the same folder through the ANSI functions: what is
// written by the short path is there under the wide one.
TEST(WidePath, FoldersBeyondTheCodePageAreReachedByTheirShortNames)
{
    ProgramFolder base(ProgramFolder::kEmpty);
    for (const wchar_t* name : {kJorg, kSmile}) {
        const std::wstring wide = WidePath::FromAnsi(base.Path().c_str()) + name;
        ASSERT_TRUE(CreateDirectoryW(wide.c_str(), nullptr));
        CString ansi;
        ASSERT_EQ(WidePath::kShortName, WidePath::ToAnsiPath(wide, ansi));
        EXPECT_EQ(0, ansi.Find(base.Path().c_str()));
        HANDLE file = CreateFileA(ansi + "\\written.txt", GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        CloseHandle(file);
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((wide + L"\\written.txt").c_str()));
    }
}

TEST(WidePath, ProgramFolderOfAReadablePathIsThePathItself)
{
    CString folder;
    std::wstring wide;
    ASSERT_EQ(WidePath::kAsIs, WidePath::GetProgramFolder(folder, &wide));
    EXPECT_EQ('\\', folder[folder.GetLength() - 1]);
    EXPECT_EQ(WidePath::FromAnsi(folder), wide);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(folder));
}
