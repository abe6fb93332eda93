// The main window's private messages, sent as other parts of the program
// send them.
#include <windows.h>

#include "app/MainFrame.h"
#include "app/TabGroup.h"
#include "app/VantorelApp.h"
#include "shared/FrameMessages.h"
#include "tab/TabItem.h"
#include "tab/tests/TabFixture.h"

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
    theApp.m_settings.iParentTabNewRule = 0x20;
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
