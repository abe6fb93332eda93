// End-to-end: a program folder whose path holds characters the ANSI code
// page lacks. Regression: the program took it from the ANSI module name, got
// "?" in their place, and then silently wrote nothing (settings, lists,
// recovery).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "shared/FrameMessages.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/ProgramRun.h"

namespace {

const UINT kCmdSettings = 32772;

bool WaitUntilGone(HWND wnd)
{
    for (int i = 0; i < 400 && IsWindow(wnd); ++i)
        Sleep(50);
    return !IsWindow(wnd);
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

std::string Tab(const char* url)
{
    return std::string("\tENTRY:\r\n\t\tSTATE:0\r\n\t\tLABEL:T\r\n\t\tURL:") + url + "\r\n\tENDENTRY:\r\n";
}

class ProgramFolderBeyondTheCodePage : public ::testing::TestWithParam<const wchar_t*>
{
};

// Settings read and written with their backup, the favorites cache and the
// bar order written, crash recovery restored and cleared, the dialogs
// library's strings and a plug-in of the plug-in folder.
TEST_P(ProgramFolderBeyondTheCodePage, EverythingIsReadAndWrittenThere)
{
    ProgramFolder folder(ProgramFolder::kShippedData, GetParam());
    const std::string crafted = "[Vantorel]\r\niniver=1038\r\niTabStrLen_P=12\r\nbFavLoadCache=1\r\n"
                                "bPlgEnable=1\r\niInitMode=0\r\n";
    folder.WriteBytes("VantorelArco.ini", crafted);
    folder.MakeFolder("plugin");
    const std::string bin = ProgramFolder::PathFromEnvironment("VA_BIN_DIR");
    ASSERT_TRUE(CopyFileA((bin + "\\plugin\\Skiffport.vap").c_str(),
                          folder.File("plugin/Skiffport.vap").c_str(), FALSE));
    folder.WriteBytes("Exception.dat", "VADatFileVer003\r\nFOLDER:\r\n\tLABEL:Old\r\n\tSTATE:0\r\n\tICON:0\r\n" +
                                           Tab("http://a.example/") + Tab("http://b.example/") +
                                           "ENDFOLDER:\r\n");

    ProgramRun run(folder);
    ASSERT_TRUE(run.Start());
    // The restore question, asked from the string files of the folder.
    HWND question = run.WaitForWindow("#32770");
    ASSERT_NE(nullptr, question);
    PostMessageA(question, WM_COMMAND, IDYES, 0);
    HWND main = run.WaitForMainWindow();
    ASSERT_NE(nullptr, main);
    EXPECT_EQ(2, ProgramRun::WaitForReply(main, WM_FRAME_GETCOUNT, 0, 0, 2));
    EXPECT_TRUE(ProgramRun::HasModule(run.GetProcessId(), "Skiffport.vap"));

    // The settings dialog's title ends with its line of the etc string file.
    PostMessageA(main, WM_COMMAND, kCmdSettings, 0);
    HWND dialog = run.WaitForWindow("#32770");
    ASSERT_NE(nullptr, dialog);
    char title[256] = {};
    GetWindowTextA(dialog, title, sizeof(title));
    const std::string line28 = Lines(folder.ReadBytes("String/etc.dat")).at(27);
    ASSERT_FALSE(line28.empty());
    EXPECT_EQ(line28, std::string(title).substr(std::max<size_t>(strlen(title), line28.size()) - line28.size()));
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntilGone(dialog));

    EXPECT_EQ(0u, run.CloseAndWait());
    const std::string written = folder.ReadBytes("VantorelArco.ini");
    EXPECT_EQ(185u, Lines(written).size());
    EXPECT_NE(std::string::npos, written.find("\r\niTabStrLen_P=12\r\n"));
    EXPECT_EQ(crafted, folder.ReadBytes("VantorelArco.ini.bak0"));
    EXPECT_TRUE(folder.Exists("toolbar.dat2"));
    EXPECT_EQ(0u, folder.ReadBytes("IEFavorite.dat").find("ROOT:\r\n"));
    EXPECT_FALSE(folder.Exists("Exception.dat"));
}

INSTANTIATE_TEST_SUITE_P(Names, ProgramFolderBeyondTheCodePage,
                         ::testing::Values(L"J\u00F6rg \uD55C", L"smile \U0001F600"));

} // namespace
