// End-to-end: pages opened by the command line, by a second start and by the
// start-up list reach tabs of the running program.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "shared/FrameMessages.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/ProgramRun.h"

namespace {

class TabsEndToEnd : public ::testing::Test
{
protected:
    ProgramFolder m_folder;
};

TEST_F(TabsEndToEnd, CommandLineAndHandOverOpenTabsInTheCurrentGroup)
{
    ProgramRun first(m_folder);
    ASSERT_TRUE(first.Start("http://example.com/"));
    HWND wnd = first.WaitForMainWindow();
    ASSERT_NE(nullptr, wnd);
    EXPECT_EQ(1, ProgramRun::WaitForReply(wnd, WM_FRAME_GETCOUNT, 0, 0, 1));

    ProgramRun second(m_folder);
    ASSERT_TRUE(second.Start("http://example.org/"));
    EXPECT_NE(static_cast<DWORD>(STILL_ACTIVE), second.WaitForExit());
    EXPECT_EQ(2, ProgramRun::WaitForReply(wnd, WM_FRAME_GETCOUNT, 0, 0, 2));
    EXPECT_EQ(1, ProgramRun::WaitForReply(wnd, WM_FRAME_GETGROUPCOUNT, 0, 0, 1));
    // Text replies point into the program's memory: another process gets none.
    DWORD_PTR answer = 1;
    SendMessageTimeoutA(wnd, WM_FRAME_GETACTIVEURL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer);
    EXPECT_EQ(0u, answer);

    EXPECT_EQ(0u, first.CloseAndWait());
}

TEST_F(TabsEndToEnd, PageThatOpensAWindowGetsANewTabInItsGroup)
{
    ProgramRun run(m_folder);
    ASSERT_TRUE(run.Start("http://a.example/?va-popup=http%3A%2F%2Fb.example%2F"));
    HWND wnd = run.WaitForMainWindow();
    ASSERT_NE(nullptr, wnd);
    EXPECT_EQ(2, ProgramRun::WaitForReply(wnd, WM_FRAME_GETCOUNT, 0, 0, 2));
    EXPECT_EQ(1, ProgramRun::WaitForReply(wnd, WM_FRAME_GETGROUPCOUNT, 0, 0, 1));
    EXPECT_EQ(0u, run.CloseAndWait());
}

TEST_F(TabsEndToEnd, StartupListOpensEveryEnabledUrl)
{
    m_folder.WriteBytes("VantorelArco.ini", "[Vantorel]\r\niniver=1038\r\niInitMode=4\r\n");
    std::string list;
    for (int i = 0; i < 12; ++i)
        list += "http://example.com/" + std::to_string(i) + "\x81\x4D" + (i == 5 ? "0" : "1") + "\r\n";
    m_folder.WriteBytes("StartUpURL.dat", list);
    ProgramRun run(m_folder);
    ASSERT_TRUE(run.Start());
    HWND wnd = run.WaitForMainWindow();
    ASSERT_NE(nullptr, wnd);
    EXPECT_EQ(11, ProgramRun::WaitForReply(wnd, WM_FRAME_GETCOUNT, 0, 0, 11));
    EXPECT_EQ(0u, run.CloseAndWait());
}

TEST_F(TabsEndToEnd, StartupListAfterACommandLineOpensInAGroupOfItsOwn)
{
    m_folder.WriteBytes("VantorelArco.ini", "[Vantorel]\r\niniver=1038\r\niInitMode=4\r\n");
    m_folder.WriteBytes("StartUpURL.dat", "http://example.com/a\x81\x4D" "1\r\n"
                                          "http://example.com/b\x81\x4D" "1\r\n");
    ProgramRun run(m_folder);
    ASSERT_TRUE(run.Start("http://example.org/"));
    HWND wnd = run.WaitForMainWindow();
    ASSERT_NE(nullptr, wnd);
    EXPECT_EQ(2, ProgramRun::WaitForReply(wnd, WM_FRAME_GETGROUPCOUNT, 0, 0, 2));
    EXPECT_EQ(1, ProgramRun::WaitForReply(wnd, WM_FRAME_GETCOUNT, 1, 0, 1));
    EXPECT_EQ(2, ProgramRun::WaitForReply(wnd, WM_FRAME_GETCOUNT, 1, 1, 2));
    EXPECT_EQ(0u, run.CloseAndWait());
}

} // namespace
