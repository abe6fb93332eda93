#include "shared/WidePath.h"

#include <gtest/gtest.h>

namespace {

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

// Regression: a folder without a usable short name became its best-fit
// spelling, a look-alike folder ("Jörg" -> "Jorg", "a¥b" -> "a\b").
TEST(WidePath, AProgramFolderIsTheProgramsOwnFolderOrNone)
{
    const struct
    {
        const wchar_t* module;
        const wchar_t* shortPath;
        WidePath::Status status;
        const char* folder;
    } cases[] = {
        {L"C:\\Program Files\\VA\\VantorelArco.exe", L"", WidePath::kAsIs, "C:\\Program Files\\VA\\"},
        {L"C:\\J\u00F6rg\\VantorelArco.exe", L"C:\\JRG~1\\VANTOR~1.EXE", WidePath::kShortName, "C:\\JRG~1\\"},
        {L"\\\\server\\share\\VA\\VantorelArco.exe", L"", WidePath::kAsIs, "\\\\server\\share\\VA\\"},
        {L"D:\\VantorelArco.exe", L"", WidePath::kAsIs, "D:\\"},
        // No short name: none, not the look-alike.
        {L"C:\\J\u00F6rg\\VantorelArco.exe", L"", WidePath::kUnusable, ""},
        {L"C:\\J\u00F6rg\\VantorelArco.exe", L"C:\\J\u00F6rg\\VANTOR~1.EXE", WidePath::kUnusable, ""},
        {L"C:\\a\u00A5b\\VantorelArco.exe", L"", WidePath::kUnusable, ""},
        {L"C:\\x\\smile \U0001F600\\VantorelArco.exe", L"", WidePath::kUnusable, ""},
        // Paths that would name the current folder, or the current drive's root.
        {L"unix\\tmp\\VantorelArco.exe", L"", WidePath::kUnusable, ""},
        {L"VantorelArco.exe", L"", WidePath::kUnusable, ""},
        {L"\\VantorelArco.exe", L"", WidePath::kUnusable, ""},
        {L"C:VantorelArco.exe", L"", WidePath::kUnusable, ""},
        {L"", L"", WidePath::kUnusable, ""},
    };
    for (const auto& c : cases) {
        CString folder = "unchanged";
        EXPECT_EQ(c.status, WidePath::ChooseProgramFolder(c.module, c.shortPath, folder)) << c.folder;
        EXPECT_STREQ(c.folder, folder) << c.folder;
    }
}
