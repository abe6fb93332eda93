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

namespace {

enum class Expect { CentredOverMain, AtSavedRectangle, InsideWorkArea };

POINT Centre(const RECT& rc)
{
    return POINT{ (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 };
}

} // namespace

// Where the settings, about and proxy dialogs open over a main window that
// is not at the screen's origin, or lies partly off the screen.
TEST_F(DialogsLibraryEndToEnd, DialogsOpenCentredOverTheMainWindowOrAtTheirSavedRectangle)
{
    const UINT kCmdProxySettings = 36211;
    const struct
    {
        const char* placement;
        UINT command;
        Expect expect;
    } cases[] = {
        { "left=260\r\ntop=170\r\nright=960\r\nbottom=730", kCmdSettings, Expect::CentredOverMain },
        { "left=260\r\ntop=170\r\nright=960\r\nbottom=730", kCmdAbout, Expect::CentredOverMain },
        { "left=260\r\ntop=170\r\nright=960\r\nbottom=730", kCmdProxySettings, Expect::AtSavedRectangle },
        { "left=-500\r\ntop=-300\r\nright=400\r\nbottom=500", kCmdAbout, Expect::InsideWorkArea },
    };
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.placement) + " " + std::to_string(c.command));
        m_folder.WriteBytes("VantorelArco.ini", std::string("[Vantorel]\r\niniver=1038\r\n") + c.placement +
                                                    "\r\nshowCmd=1\r\nrcPrxpSetting.left=40\r\n"
                                                    "rcPrxpSetting.top=30\r\nrcPrxpSetting.right=880\r\n"
                                                    "rcPrxpSetting.bottom=790\r\n");
        ProgramRun run(m_folder);
        ASSERT_TRUE(run.Start());
        HWND main = run.WaitForMainWindow();
        ASSERT_NE(nullptr, main);
        for (int i = 0; i < 100 && !IsWindowVisible(main); ++i)
            Sleep(50);
        RECT rcMain = {};
        GetWindowRect(main, &rcMain);
        PostMessageA(main, WM_COMMAND, c.command, 0);
        HWND dialog = run.WaitForWindow("#32770");
        ASSERT_NE(nullptr, dialog);
        RECT rc = {};
        GetWindowRect(dialog, &rc);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        ASSERT_TRUE(WaitUntilGone(dialog));
        EXPECT_EQ(0u, run.CloseAndWait());

        switch (c.expect) {
        case Expect::CentredOverMain:
            EXPECT_NEAR(Centre(rcMain).x, Centre(rc).x, 1);
            EXPECT_NEAR(Centre(rcMain).y, Centre(rc).y, 1);
            break;
        case Expect::AtSavedRectangle:
            EXPECT_EQ(40, rc.left);
            EXPECT_EQ(30, rc.top);
            EXPECT_EQ(880, rc.right);
            EXPECT_EQ(790, rc.bottom);
            break;
        case Expect::InsideWorkArea:
            EXPECT_LT(rcMain.left, work.left);  // the owner does stick out
            EXPECT_EQ(work.left, rc.left);
            EXPECT_GE(rc.top, work.top);
            EXPECT_LE(rc.bottom, work.bottom);
            break;
        }
    }
}
