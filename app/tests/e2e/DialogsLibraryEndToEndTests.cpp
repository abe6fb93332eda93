// End-to-end: the real program's settings and about commands through the
// dialogs library, driven from outside as a user would answer its dialogs.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/support/ProgramFolder.h"
#include "tests/support/ProgramRun.h"

namespace {

const UINT kCmdSettings = 32772;
const UINT kCmdAbout = 57664;

bool WaitUntilGone(HWND wnd)
{
    for (int i = 0; i < 400 && IsWindow(wnd); ++i)
        Sleep(50);
    return !IsWindow(wnd);
}

std::string ItemText(HWND dialog, int id)
{
    char text[256] = {};
    GetDlgItemTextA(dialog, id, text, sizeof(text));
    return text;
}

class DialogsLibraryEndToEnd : public ::testing::Test
{
protected:
    // Starts the program and gives its settings file a section the program
    // does not write, so that only a rewrite drops it; the main window, and
    // the marked contents in marked.
    HWND StartAndMarkSettings(ProgramRun& run, std::string& marked)
    {
        if (!run.Start())
            return nullptr;
        HWND main = run.WaitForMainWindow();
        marked = m_folder.ReadBytes("VantorelArco.ini") + "[Marker]\r\nkept=1\r\n";
        m_folder.WriteBytes("VantorelArco.ini", marked);
        return main;
    }

    ProgramFolder m_folder;
};

} // namespace

TEST_F(DialogsLibraryEndToEnd, SettingsCancelKeepsTheFileAndOKRewritesIt)
{
    ProgramRun run(m_folder);
    std::string marked;
    HWND main = StartAndMarkSettings(run, marked);
    ASSERT_NE(nullptr, main);

    PostMessageA(main, WM_COMMAND, kCmdSettings, 0);
    HWND dialog = run.WaitForWindow("#32770");
    ASSERT_NE(nullptr, dialog);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntilGone(dialog));
    EXPECT_EQ(marked, m_folder.ReadBytes("VantorelArco.ini"));

    PostMessageA(main, WM_COMMAND, kCmdSettings, 0);
    dialog = run.WaitForWindow("#32770");
    ASSERT_NE(nullptr, dialog);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntilGone(dialog));
    std::string rewritten;
    for (int i = 0; i < 100 && (rewritten = m_folder.ReadBytes("VantorelArco.ini")) == marked; ++i)
        Sleep(50);
    EXPECT_EQ(std::string::npos, rewritten.find("[Marker]"));
    EXPECT_EQ(0u, run.CloseAndWait());
}

TEST_F(DialogsLibraryEndToEnd, AboutBoxShowsTheVersionAndTheLibraryIsUnloadedAfterIt)
{
    ProgramRun run(m_folder);
    ASSERT_TRUE(run.Start());
    HWND main = run.WaitForMainWindow();
    ASSERT_NE(nullptr, main);
    PostMessageA(main, WM_COMMAND, kCmdAbout, 0);
    HWND dialog = run.WaitForWindow("#32770");
    ASSERT_NE(nullptr, dialog);
    EXPECT_NE(std::string::npos, ItemText(dialog, 1012).find(" ver "));
    EXPECT_EQ("Build 13014", ItemText(dialog, 1015));
    EXPECT_TRUE(ProgramRun::HasModule(run.GetProcessId(), "Formbay.dll"));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntilGone(dialog));
    bool loaded = true;
    for (int i = 0; i < 100 && (loaded = ProgramRun::HasModule(run.GetProcessId(), "Formbay.dll")); ++i)
        Sleep(50);
    EXPECT_FALSE(loaded);
    EXPECT_EQ(0u, run.CloseAndWait());
}

TEST_F(DialogsLibraryEndToEnd, OKWithoutARecordChangesNothing)
{
    std::string fake = ProgramFolder::PathFromEnvironment("VA_FAKE_FORMBAY_DIR") + "\\Formbay.dll";
    ASSERT_TRUE(CopyFileA(fake.c_str(), m_folder.File("Formbay.dll").c_str(), FALSE));
    ProgramRun run(m_folder);
    std::string marked;
    HWND main = StartAndMarkSettings(run, marked);
    ASSERT_NE(nullptr, main);
    PostMessageA(main, WM_COMMAND, kCmdSettings, 0);
    for (int i = 0; i < 200 && !m_folder.Exists("fake-settings-called"); ++i)
        Sleep(50);
    ASSERT_TRUE(m_folder.Exists("fake-settings-called"));
    // Answered before the program goes on: a message round trip after it.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &ignored);
    EXPECT_EQ(marked, m_folder.ReadBytes("VantorelArco.ini"));
    run.CloseAndWait();
}
