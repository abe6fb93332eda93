// The main window's private messages, sent as other parts of the program
// send them.
#include <windows.h>

#include "app/MainFrame.h"
#include "app/VantorelApp.h"
#include "shared/AppSettings.h"
#include "shared/FrameMessages.h"
#include "tab/TabGroup.h"
#include "tab/TabItem.h"
#include "app/tests/TabFixture.h"

namespace {

class FrameMessages : public TabTest
{
protected:
    LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return ::SendMessageA(m_frame->m_hWnd, msg, wParam, lParam);
    }
    LRESULT SendText(UINT msg, WPARAM wParam, const char* text)
    {
        return Send(msg, wParam, reinterpret_cast<LPARAM>(text));
    }
};

const char* AsText(LRESULT result)
{
    return reinterpret_cast<const char*>(result);
}

} // namespace

TEST_F(FrameMessages, CountsTabsAndGroups)
{
    EXPECT_EQ(0, Send(WM_FRAME_GETCOUNT));
    EXPECT_EQ(0, Send(WM_FRAME_GETGROUPCOUNT));
    Open(nullptr, "about:blank");
    Open(nullptr, "about:blank");
    EXPECT_EQ(2, Send(WM_FRAME_GETCOUNT));
    EXPECT_EQ(2, Send(WM_FRAME_GETCOUNT, 1, 0));
    EXPECT_EQ(-1, Send(WM_FRAME_GETCOUNT, 1, 5));
    EXPECT_EQ(-1, Send(WM_FRAME_GETCOUNT, 0, 1));
    EXPECT_EQ(1, Send(WM_FRAME_GETGROUPCOUNT));
}

TEST_F(FrameMessages, TextRepliesComeFromTheReplyBufferOrAreNull)
{
    CTabItem* a = Open(nullptr, "about:blank");
    a->m_url = "http://a.example/";
    a->m_title = "A";
    EXPECT_STREQ("http://a.example/", AsText(Send(WM_FRAME_GETURLAT, 0, 0)));
    EXPECT_STREQ("A", AsText(Send(WM_FRAME_GETTITLEAT, 0, 0)));
    EXPECT_STREQ("A", AsText(Send(WM_FRAME_GETACTIVETITLE)));
    EXPECT_EQ(0, Send(WM_FRAME_GETURLAT, 0, 7));
    EXPECT_TRUE(m_frame->m_replyBuffer.IsEmpty());
    a->m_url.Empty();
    EXPECT_EQ(0, Send(WM_FRAME_GETACTIVEURL));
}

TEST_F(FrameMessages, GroupTitlesAndIndexes)
{
    CTabGroup* made = reinterpret_cast<CTabGroup*>(SendText(WM_FRAME_CREATEGROUP, 0, "G%i"));
    ASSERT_NE(nullptr, made);
    EXPECT_STREQ("G%i", AsText(Send(WM_FRAME_GETACTIVEGROUPTITLE, 0)));
    EXPECT_STREQ("G1", AsText(Send(WM_FRAME_GETACTIVEGROUPTITLE, 1)));
    EXPECT_EQ(1, SendText(WM_FRAME_CREATEGROUPINDEX, 0, "second"));
    EXPECT_STREQ("second", AsText(Send(WM_FRAME_GETGROUPTITLEAT, 1, 1)));
    EXPECT_EQ(0, Send(WM_FRAME_GETGROUPTITLEAT, 0, 9));
    EXPECT_EQ(reinterpret_cast<LRESULT>(theApp.GetActiveGroup()), Send(WM_FRAME_GETCURRENTGROUP));
}

TEST_F(FrameMessages, TabIdsAndIndexesAcrossGroups)
{
    CTabItem* a = Open(nullptr, "about:blank");
    CTabItem* b = Open(nullptr, "about:blank");
    theApp.OpenUrlInNewGroup("about:blank", 0, 0);
    Pump();
    CTabItem* other = theApp.GetActiveGroup()->GetTab(0);
    EXPECT_EQ(reinterpret_cast<LRESULT>(other->m_hFrame), Send(WM_FRAME_GETTABID, 0, 0));
    // A tab of a group that is not current: its index in its own group.
    EXPECT_EQ(1, Send(WM_FRAME_GETTABINDEX, 0, reinterpret_cast<LPARAM>(b->m_hFrame)));
    EXPECT_EQ(0, Send(WM_FRAME_GETTABINDEX, 0, reinterpret_cast<LPARAM>(a->m_hFrame)));
    EXPECT_EQ(-1, Send(WM_FRAME_GETTABINDEX, 0, 0));
    EXPECT_EQ(-1, Send(WM_FRAME_GETTABINDEX, 0, 12345));
    EXPECT_EQ(reinterpret_cast<LRESULT>(other->m_hFrame), Send(WM_FRAME_GETACTIVEID));
    EXPECT_EQ(0, Send(WM_FRAME_GETACTIVEINDEX));
    b->m_url = "http://b.example/";
    EXPECT_STREQ("http://b.example/", AsText(Send(WM_FRAME_GETTABURLINGROUP, 0, 1)));
    EXPECT_EQ(0, Send(WM_FRAME_GETTABTITLEINGROUP, 0, 2));
}

TEST_F(FrameMessages, OpeningMessagesUseTheGroupAndRefuseEmptyUrls)
{
    EXPECT_EQ(0, Send(WM_FRAME_NEWWINDOW, reinterpret_cast<WPARAM>(""), 1));
    EXPECT_EQ(0, theApp.GetGroupCount());
    LRESULT id = Send(WM_FRAME_NEWWINDOW, reinterpret_cast<WPARAM>("about:blank"), 1);
    EXPECT_NE(0, id);
    EXPECT_TRUE(::IsWindow(reinterpret_cast<HWND>(id)));
    EXPECT_EQ(-1, SendText(WM_FRAME_OPENURLINGROUP, MAKEWPARAM(0, 3), "about:blank"));
    EXPECT_EQ(-1, SendText(WM_FRAME_OPENURLINGROUP, MAKEWPARAM(0, 0), ""));
    EXPECT_EQ(0, SendText(WM_FRAME_OPENURLINGROUP, MAKEWPARAM(0, 0), "about:blank"));
    SendText(WM_FRAME_OPENURL, 0, "about:blank");
    Pump();
    EXPECT_EQ(3, theApp.GetActiveGroup()->GetTabCount());
    AppSettings().iParentTabNewRule = 0x20;
    SendText(WM_FRAME_OPENURL, 0, "about:blank");
    Pump();
    EXPECT_EQ(2, theApp.GetGroupCount());
}

TEST_F(FrameMessages, PageOptionQueriesReadTheTabsWord)
{
    CTabItem* a = Open(nullptr, "about:blank");
    LPARAM id = reinterpret_cast<LPARAM>(a->m_hFrame);
    a->m_pageOptions = 0x10 | 0x80;
    EXPECT_EQ(0, Send(WM_FRAME_ISJAVASCRIPTENABLED, 0, id));
    EXPECT_EQ(1, Send(WM_FRAME_ISJAVAENABLED, 0, id));
    EXPECT_EQ(1, Send(WM_FRAME_ISPICTUREENABLED, 0, id));
    EXPECT_EQ(0, Send(WM_FRAME_ISSOUNDENABLED, 0, id));
    EXPECT_EQ(0, Send(WM_FRAME_ISNAVIGATELOCK, 0, id));
    Send(WM_FRAME_SETLINKLOCK, 0, id);
    EXPECT_EQ(1, Send(WM_FRAME_ISLINKLOCK, 0, id));
    Send(WM_FRAME_SETLINKLOCK, 1, id);
    EXPECT_EQ(0, Send(WM_FRAME_ISLINKLOCK, 0, id));
}

// Regression: no test told the sound (0x40) and video (0x20) bits apart.
TEST_F(FrameMessages, EachPageOptionQueryReadsItsOwnBit)
{
    CTabItem* a = Open(nullptr, "about:blank");
    LPARAM id = reinterpret_cast<LPARAM>(a->m_hFrame);
    struct Query { UINT msg; DWORD bit; bool setMeansOn; } queries[] = {
        {WM_FRAME_ISJAVASCRIPTENABLED, 0x80, false},  {WM_FRAME_ISJAVAENABLED, 0x100, false},
        {WM_FRAME_ISRUNACTIVEXENABLED, 0x200, false}, {WM_FRAME_ISDOWNLOADACTIVEXENABLED, 0x400, false},
        {WM_FRAME_ISPICTUREENABLED, 0x10, true},      {WM_FRAME_ISSOUNDENABLED, 0x40, true},
        {WM_FRAME_ISVIDEOENABLED, 0x20, true},
    };
    for (const Query& set : queries) {
        // One bit alone: only its own query changes its answer.
        a->m_pageOptions = set.bit;
        for (const Query& q : queries) {
            const bool on = (q.msg == set.msg) == q.setMeansOn;
            EXPECT_EQ(on ? 1 : 0, Send(q.msg, 0, id)) << std::hex << "bit 0x" << set.bit << " query 0x" << q.msg;
        }
    }
    EXPECT_EQ(0, Send(WM_FRAME_ISSOUNDENABLED, 0, 12345));
}

TEST_F(FrameMessages, SavedKeywordBecomesTheLastSearchKeyword)
{
    SendText(WM_FRAME_SAVEKEYWORD, 0, "kw");
    EXPECT_STREQ("kw", theApp.m_lastSearchKeyword);
}

TEST_F(FrameMessages, CloseTabTakesOnlyAListedRecord)
{
    CTabItem* a = Open(nullptr, "about:blank");
    CTabItem stranger;
    stranger.m_hFrame = a->m_hFrame;
    Send(WM_FRAME_CLOSETAB, 0, reinterpret_cast<LPARAM>(&stranger));
    Pump();
    EXPECT_TRUE(::IsWindow(a->m_hFrame));
    HWND frame = a->m_hFrame;
    Send(WM_FRAME_CLOSETAB, 0, reinterpret_cast<LPARAM>(a));
    Pump();
    EXPECT_FALSE(::IsWindow(frame));
}

namespace {

DWORD WINAPI SendFromAnotherThread(void* param)
{
    HWND frame = static_cast<HWND>(param);
    return static_cast<DWORD>(::SendMessageA(frame, WM_FRAME_GETCURRENTGROUP, 0, 0) != 0 ? 1 : 0);
}

struct ForeignSends
{
    HWND frame;
    HWND tab;
    LRESULT count;  // the open tab-count query's answer
};

// Valid addresses of this process, sent from a thread that is not the
// frame's: the messages that carry them or change a tab are refused.
DWORD WINAPI SendPointersFromAnotherThread(void* param)
{
    ForeignSends* sends = static_cast<ForeignSends*>(param);
    static const char kUrl[] = "about:blank";
    const LPARAM url = reinterpret_cast<LPARAM>(kUrl);
    ::SendMessageA(sends->frame, WM_FRAME_OPENURL, 0, url);
    ::SendMessageA(sends->frame, WM_FRAME_NEWWINDOW, reinterpret_cast<WPARAM>(kUrl), 1);
    ::SendMessageA(sends->frame, WM_FRAME_OPENURLINGROUP, 0, url);
    ::SendMessageA(sends->frame, WM_FRAME_CREATEGROUP, 0, url);
    ::SendMessageA(sends->frame, WM_FRAME_SETSECURITY, reinterpret_cast<WPARAM>(sends->tab), 0x80);
    ::SendMessageA(sends->frame, WM_FRAME_SETLINKLOCK, 0, reinterpret_cast<LPARAM>(sends->tab));
    sends->count = ::SendMessageA(sends->frame, WM_FRAME_GETCOUNT, 0, 0);
    return 0;
}

void RunAndPump(LPTHREAD_START_ROUTINE routine, void* param, DWORD* pCode = nullptr)
{
    HANDLE thread = ::CreateThread(nullptr, 0, routine, param, 0, nullptr);
    ASSERT_NE(nullptr, thread);
    while (::MsgWaitForMultipleObjects(1, &thread, FALSE, 5000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    if (pCode != nullptr)
        ::GetExitCodeThread(thread, pCode);
    ::CloseHandle(thread);
}

} // namespace

TEST_F(FrameMessages, PointerMessagesFromAnotherThreadAreIgnored)
{
    Open(nullptr, "about:blank");
    ASSERT_NE(0, Send(WM_FRAME_GETCURRENTGROUP));
    HANDLE thread = ::CreateThread(nullptr, 0, SendFromAnotherThread, m_frame->m_hWnd, 0, nullptr);
    ASSERT_NE(nullptr, thread);
    while (::MsgWaitForMultipleObjects(1, &thread, FALSE, 5000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1)
        Pump();
    DWORD code = 99;
    ::GetExitCodeThread(thread, &code);
    ::CloseHandle(thread);
    EXPECT_EQ(0u, code);
}

// Regression: a refused message was dropped from the pointer-carrying set
// and the only cross-thread test sent a message without pointers.
TEST_F(FrameMessages, PointerAndStateMessagesFromAnotherThreadChangeNothing)
{
    CTabItem* a = Open(nullptr, "about:blank");
    a->m_pageOptions = 0x10;
    ForeignSends sends = {m_frame->m_hWnd, a->m_hFrame, -5};
    RunAndPump(SendPointersFromAnotherThread, &sends);
    Pump();
    EXPECT_EQ(1, sends.count);  // open queries still answer other threads
    EXPECT_EQ(1, theApp.GetActiveGroup()->GetTabCount());
    EXPECT_EQ(1, theApp.GetGroupCount());
    EXPECT_EQ(0x10u, a->m_pageOptions);
    EXPECT_EQ(0, Send(WM_FRAME_ISLINKLOCK, 0, reinterpret_cast<LPARAM>(a->m_hFrame)));
}

TEST_F(FrameMessages, PostedCopiesOfInProcessMessagesAreDroppedEvenInANestedLoop)
{
    CTabItem* a = Open(nullptr, "about:blank");
    static const char kUrl[] = "about:blank";
    const LPARAM url = reinterpret_cast<LPARAM>(kUrl);
    HWND frame = m_frame->m_hWnd;
    ::PostMessageA(frame, WM_FRAME_OPENURL, 0, url);
    ::PostMessageA(frame, WM_FRAME_SETLINKLOCK, 0, reinterpret_cast<LPARAM>(a->m_hFrame));
    // Forged addresses, as another program would post them.
    ::PostMessageA(frame, WM_FRAME_SHOWMENU, 0, 0x10);
    ::PostMessageA(frame, WM_FRAME_DROPTEXT, 1, 0x10);
    Pump();
    // The same inside a modal loop that is not our pump: the box's loop is
    // the first to take them from the queue.
    ::PostMessageA(frame, WM_FRAME_OPENURL, 0, url);
    ::PostMessageA(frame, WM_FRAME_SAVEKEYWORD, 0, 0x10);
    AnswerNextMessageBox(IDOK);
    ::MessageBoxA(frame, "nested", "test", MB_OK);
    Pump();
    EXPECT_TRUE(AllAnswered());
    EXPECT_EQ(1, theApp.GetActiveGroup()->GetTabCount());
    EXPECT_EQ(0, Send(WM_FRAME_ISLINKLOCK, 0, reinterpret_cast<LPARAM>(a->m_hFrame)));
    // Sent from this thread they still act.
    Send(WM_FRAME_OPENURL, 0, url);
    Pump();
    EXPECT_EQ(2, theApp.GetActiveGroup()->GetTabCount());
}

TEST_F(FrameMessages, NavigateActiveAppliesFlagsNavigatesAndRefreshes)
{
    CTabItem* a = Open(nullptr, "http://a.example/");
    SendText(WM_FRAME_NAVIGATEACTIVE, 0x11, "http://b.example/");
    Pump();
    EXPECT_EQ(0xE1u, a->m_pageOptions);
    EXPECT_STREQ("http://b.example/", a->m_url);
    EXPECT_EQ(1, ControlOf(a)->GetRefreshCount());
    // Without flags: only the navigation.
    SendText(WM_FRAME_NAVIGATEACTIVE, 0, "http://c.example/");
    Pump();
    EXPECT_EQ(1, ControlOf(a)->GetRefreshCount());
    EXPECT_EQ(0xE1u, a->m_pageOptions);
}

namespace {

int s_menuKeysSent = 0;

// Walks the popup menu of this thread: down twice (the second command item,
// past the separator), then Enter.
void CALLBACK DriveMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND menu = ShownPopupMenu();
    if (menu == nullptr)
        return;
    ::KillTimer(nullptr, id);
    ::PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
    ::PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
    ::PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    ++s_menuKeysSent;
}

} // namespace

TEST_F(FrameMessages, ShowMenuReturnsTheNumberOfTheChosenCommandItem)
{
    CStringArray items;
    items.Add("first");
    items.Add("");
    items.Add("second");
    m_frame->SetForegroundWindow();
    s_menuKeysSent = 0;
    ::SetTimer(nullptr, 0, 50, DriveMenu);
    LRESULT chosen = Send(WM_FRAME_SHOWMENU, 0, reinterpret_cast<LPARAM>(&items));
    EXPECT_EQ(1, s_menuKeysSent);
    EXPECT_EQ(1, chosen);
}

TEST_F(FrameMessages, ShowMenuCountsSeparatorsAgainstItsCap)
{
    CStringArray items;
    for (int i = 0; i < 60; ++i)
        items.Add("");
    items.Add("late");
    int count = 0;
    m_frame->SetForegroundWindow();
    ASSERT_TRUE(ReadMenuShownBy([&] { Send(WM_FRAME_SHOWMENU, 0, reinterpret_cast<LPARAM>(&items)); },
                                [&](HMENU menu, HWND) { count = ::GetMenuItemCount(menu); }));
    EXPECT_EQ(VA_SHOWMENU_MAX_ENTRIES, count);
}
