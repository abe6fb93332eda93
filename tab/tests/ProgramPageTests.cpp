// Which page addresses name a file inside the program folder, by direct
// calls with the folder given with and without its trailing separator.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "tab/ScriptExternal.h"

TEST(ProgramPage, OnlyFilesBelowTheFolderAreInsideItWhateverItsTrailingSeparator)
{
    const struct
    {
        const wchar_t* href;
        bool inside;
    } kCases[] = {
        { L"file:///C:/Prog/VA/page.htm", true },
        { L"file:///C:/Prog/VA/Favorite/a.htm", true },
        { L"mk:@MSITStore:C:\\Prog\\VA\\help.chm::/index.htm", true },
        { L"file:///C:/Prog/VA-other/page.htm", false },
        { L"file:///C:/Prog/VAX/page.htm", false },
        { L"file:///C:/Prog/VA.htm", false },
        { L"mk:@MSITStore:C:\\Prog\\VA-other\\help.chm::/index.htm", false },
        { L"file:///C:/Prog/VA", false },
        { L"file:///C:/Prog/VA/", false },
    };
    for (const wchar_t* folder : { L"C:\\Prog\\VA", L"C:\\Prog\\VA\\" }) {
        for (const auto& c : kCases) {
            EXPECT_EQ(c.inside, CScriptExternal::IsProgramPage(c.href, folder)) << c.href << " in " << folder;
        }
    }
}
