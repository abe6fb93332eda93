// End-to-end: another program on the desktop posts and sends every private
// message of the main window with forged pointers, handles and indices. The
// browser lives on, unchanged; the open queries still answer.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "shared/FrameMessages.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/ProgramRun.h"

namespace {

// One answer of the window; -999 when it did not answer.
LRESULT Ask(HWND wnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0)
{
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(wnd, msg, wParam, lParam, SMTO_ABORTIFHUNG, 10000, &answer))
        return -999;
    return static_cast<LRESULT>(answer);
}

std::vector<UINT> EveryPrivateMessage()
{
    std::vector<UINT> messages = {WM_FRAME_OPENCOMMANDLINE, WM_FRAME_ACTIVATEPREVTAB, WM_FRAME_ACTIVATENEXTTAB,
                                  WM_FRAME_TRAYNOTIFY, WM_FRAME_CLOSETAB, WM_FRAME_COMBOSELECT,
                                  WM_FRAME_ADDRESSENTER, WM_FRAME_DROPTEXT, WM_FRAME_CREATEGROUP};
    for (UINT msg = WM_FRAME_OPENURL; msg <= WM_FRAME_GETACTIVEID; ++msg)
        messages.push_back(msg);
    for (UINT msg = WM_FRAME_GETCURRENTGROUP; msg <= WM_FRAME_RELOADSCRIPTS; ++msg)
        messages.push_back(msg);
    messages.push_back(WM_FRAME_SAVEKEYWORD);
    messages.push_back(WM_FRAME_SHOWMENU);
    return messages;
}

class ForeignSender : public ::testing::Test
{
protected:
    ProgramFolder m_folder;
};

TEST_F(ForeignSender, ForgedPrivateMessagesPostedAndSentChangeNothing)
{
    ProgramRun run(m_folder);
    ASSERT_TRUE(run.Start("http://example.com/"));
    HWND wnd = run.WaitForMainWindow();
    ASSERT_NE(nullptr, wnd);
    ASSERT_EQ(1, ProgramRun::WaitForReply(wnd, WM_FRAME_GETCOUNT, 0, 0, 1));
    const LPARAM tab = static_cast<LPARAM>(Ask(wnd, WM_FRAME_GETTABID, 0, 0));
    ASSERT_NE(0, tab);
    const LRESULT menuStyle = Ask(wnd, WM_FRAME_GETMENUSTYLE);
    std::vector<LRESULT> options;
    for (UINT msg = WM_FRAME_ISJAVASCRIPTENABLED; msg <= WM_FRAME_ISVIDEOENABLED; ++msg)
        options.push_back(Ask(wnd, msg, 0, tab));

    // Addresses that mean nothing in the browser, the live tab's id where a
    // handle goes, and indices out of every range. A hand-over's atom is
    // forged only where no atom has it: every integer atom (below 0xC000,
    // as the low word of a tab's id is) has the text "#n", which a hand-over
    // rightly opens; the top of the string atoms is unused.
    const WPARAM noAtom = 0xFFFF;
    char name[64];
    ASSERT_EQ(0u, GlobalGetAtomNameA(static_cast<ATOM>(noAtom), name, sizeof(name)));
    const LPARAM forged[] = {0x10, 1, static_cast<LPARAM>(0xDEADBEEF), -1, tab, 0x7FFFFFFF};
    for (UINT msg : EveryPrivateMessage()) {
        for (LPARAM value : forged) {
            const bool handOver = msg == WM_FRAME_OPENCOMMANDLINE;
            const WPARAM wParam = handOver ? noAtom : static_cast<WPARAM>(value);
            PostMessageA(wnd, msg, wParam, value);
            PostMessageA(wnd, msg, 0, value);
            Ask(wnd, msg, wParam, value);
            Ask(wnd, msg, value == tab && !handOver ? static_cast<WPARAM>(tab) : 0, value);
        }
    }
    // A real hand-over posted last: once its page shows, every posted
    // message before it has been handled, and its tab is the only new one.
    ATOM atom = GlobalAddAtomA("http://example.org/");
    ASSERT_NE(0, atom);
    ASSERT_TRUE(PostMessageA(wnd, WM_FRAME_OPENCOMMANDLINE, atom, 0));
    EXPECT_TRUE(ProgramRun::WaitForPage(wnd, "http://example.org/"));
    std::vector<std::string> pages = ProgramRun::ShownPages(wnd);
    std::sort(pages.begin(), pages.end());
    EXPECT_EQ((std::vector<std::string>{"http://example.com/", "http://example.org/"}), pages);
    EXPECT_EQ(2, Ask(wnd, WM_FRAME_GETCOUNT));

    EXPECT_TRUE(run.IsRunning());
    EXPECT_EQ(1, Ask(wnd, WM_FRAME_GETGROUPCOUNT));
    EXPECT_EQ(0, Ask(wnd, WM_FRAME_GETTABINDEX, 0, tab));
    EXPECT_EQ(menuStyle, Ask(wnd, WM_FRAME_GETMENUSTYLE));
    for (UINT msg = WM_FRAME_ISJAVASCRIPTENABLED; msg <= WM_FRAME_ISVIDEOENABLED; ++msg)
        EXPECT_EQ(options[msg - WM_FRAME_ISJAVASCRIPTENABLED], Ask(wnd, msg, 0, tab)) << std::hex << msg;
    // Pointer results never leave the process.
    EXPECT_EQ(0, Ask(wnd, WM_FRAME_GETCURRENTGROUP));
    EXPECT_EQ(0, Ask(wnd, WM_FRAME_GETWEBBROWSEROBJECT, 0, tab));
    EXPECT_EQ(0u, run.CloseAndWait());
}

} // namespace
