// The main frame's start, its address-box messages, its closing rule for a
// tab and the protocol's index arguments, on real windows.
#include <windows.h>

#include <string>

#include "app/MainFrame.h"
#include "app/VantorelApp.h"
#include "bars/GroupTabBar.h"
#include "bars/PageTabBar.h"
#include "shared/FrameMessages.h"
#include "tab/BrowserView.h"
#include "tab/TabGroup.h"
#include "tab/TabItem.h"
#include "app/tests/TabFixture.h"

namespace {

class FrameProtocol : public TabTest
{
protected:
    void TearDown() override
    {
        if (m_combo.GetSafeHwnd() != nullptr)
            ::DestroyWindow(m_combo.Detach());
        TabTest::TearDown();
    }

    LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return ::SendMessageA(m_frame->m_hWnd, msg, wParam, lParam);
    }
    // A combo box of the frame with the id of the address or search box.
    void MakeCombo(int id)
    {
        theApp.m_settings.iParentTabNewRule = 0;
        HWND combo = ::CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | CBS_DROPDOWN, 0, 0, 200, 200,
                                       m_frame->m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                       nullptr, nullptr);
        ASSERT_NE(nullptr, combo);
        m_combo.Attach(combo);
    }
    LPARAM Combo() { return reinterpret_cast<LPARAM>(&m_combo); }
    int ComboCount() const { return static_cast<int>(::SendMessageA(m_combo.m_hWnd, CB_GETCOUNT, 0, 0)); }

    CWnd m_combo;
};

const int kAddressBoxId = 59395;
const int kSearchBoxId = 59400;

// A frame whose creation fails in WM_CREATE, counting its deletions.
class FailingFrame : public CMainFrame
{
public:
    ~FailingFrame() override { ++s_deleted; }
    int LoadBarData() override { return -1; }
    static int s_deleted;
};

int FailingFrame::s_deleted = 0;

} // namespace

TEST_F(FrameProtocol, FailedStartDeletesTheFrameOnceAndLeavesNoMainWindow)
{
    CWnd* mainWnd = theApp.m_pMainWnd;
    FailingFrame::s_deleted = 0;
    EXPECT_FALSE(theApp.StartMainFrame(new FailingFrame));
    EXPECT_EQ(1, FailingFrame::s_deleted);
    EXPECT_EQ(nullptr, theApp.m_pMainWnd);
    EXPECT_EQ(nullptr, g_pMainFrame);
    // The failed window ended the application's loop: take that back.
    MSG msg;
    ::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    theApp.m_pMainWnd = mainWnd;
    g_pMainFrame = m_frame;
    theApp.m_runFlags &= ~kRunFlagShuttingDown;
}

TEST_F(FrameProtocol, AddressEnterOpensATabThenNavigatesTheActiveOneAndKeepsTheText)
{
    MakeCombo(kAddressBoxId);
    ::SetWindowTextA(m_combo.m_hWnd, "http://a.example/");
    Send(WM_FRAME_ADDRESSENTER, 0, Combo());
    Pump();
    CTabItem* tab = Active();
    ASSERT_NE(nullptr, tab);
    EXPECT_STREQ("http://a.example/", tab->m_url);
    EXPECT_EQ(1, ComboCount());

    // With an active tab the typed address replaces its page...
    ::SetWindowTextA(m_combo.m_hWnd, "http://b.example/");
    Send(WM_FRAME_ADDRESSENTER, 0, Combo());
    Pump();
    EXPECT_EQ(1, theApp.GetGroupTabCount(theApp.GetActiveGroup()));
    EXPECT_STREQ("http://b.example/", tab->m_url);
    EXPECT_EQ(2, ComboCount());

    // ... unless the setting asks for a new tab.
    theApp.m_settings.bOpenNewTab_AddBar(true);
    ::SetWindowTextA(m_combo.m_hWnd, "http://c.example/");
    Send(WM_FRAME_ADDRESSENTER, 0, Combo());
    Pump();
    EXPECT_EQ(2, theApp.GetGroupTabCount(theApp.GetActiveGroup()));
    EXPECT_STREQ("http://b.example/", tab->m_url);

    // Empty text opens nothing and is not kept.
    ::SetWindowTextA(m_combo.m_hWnd, "");
    Send(WM_FRAME_ADDRESSENTER, 0, Combo());
    Pump();
    EXPECT_EQ(2, theApp.GetGroupTabCount(theApp.GetActiveGroup()));
    EXPECT_EQ(3, ComboCount());
}

TEST_F(FrameProtocol, AddressEnterWithTheNewGroupRuleOpensANewGroup)
{
    Open(nullptr, "about:blank");
    MakeCombo(kAddressBoxId);
    theApp.m_settings.iParentTabNewRule = 0x04;
    ::SetWindowTextA(m_combo.m_hWnd, "http://a.example/");
    Send(WM_FRAME_ADDRESSENTER, 0, Combo());
    Pump();
    EXPECT_EQ(2, theApp.GetGroupCount());
    ASSERT_NE(nullptr, Active());
    EXPECT_STREQ("http://a.example/", Active()->m_url);
}

TEST_F(FrameProtocol, ComboSelectionOpensTheChosenEntryOrFillsTheSearchBox)
{
    CTabItem* tab = Open(nullptr, "about:blank");
    MakeCombo(kAddressBoxId);
    ::SendMessageA(m_combo.m_hWnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("http://chosen.example/"));
    ::SendMessageA(m_combo.m_hWnd, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    Send(WM_FRAME_COMBOSELECT, 0, Combo());
    Pump();
    EXPECT_STREQ("about:blank", tab->m_url);
    ::SendMessageA(m_combo.m_hWnd, CB_SETCURSEL, 0, 0);
    Send(WM_FRAME_COMBOSELECT, 0, Combo());
    Pump();
    EXPECT_STREQ("http://chosen.example/", tab->m_url);
    ::DestroyWindow(m_combo.Detach());

    MakeCombo(kSearchBoxId);
    ::SendMessageA(m_combo.m_hWnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("keyword"));
    ::SendMessageA(m_combo.m_hWnd, CB_SETCURSEL, 0, 0);
    ::SetWindowTextA(m_combo.m_hWnd, "other");
    Send(WM_FRAME_COMBOSELECT, 0, Combo());
    Pump();
    char text[32] = {};
    ::GetWindowTextA(m_combo.m_hWnd, text, sizeof(text));
    EXPECT_STREQ("keyword", text);
    EXPECT_STREQ("http://chosen.example/", tab->m_url);
    EXPECT_EQ(1, theApp.GetGroupTabCount(theApp.GetActiveGroup()));
}

TEST_F(FrameProtocol, CloseTabLeavesClosingTabsAloneAndKeepsAnUnrecordedClose)
{
    CTabItem* a = Open(nullptr, "about:blank");
    CTabItem* b = Open(nullptr, "about:blank");
    // Already closing: no second close is asked for.
    b->m_closeReason = kCloseClosing;
    Send(WM_FRAME_CLOSETAB, 0, reinterpret_cast<LPARAM>(b));
    Pump();
    EXPECT_TRUE(::IsWindow(b->m_hFrame));
    b->m_closeReason = kCloseNone;

    // A tab closing without joining the recently closed list stays so.
    a->m_closeReason = kCloseUnrecorded;
    HWND frame = a->m_hFrame;
    Send(WM_FRAME_CLOSETAB, 0, reinterpret_cast<LPARAM>(a));
    Pump();
    EXPECT_FALSE(::IsWindow(frame));
    EXPECT_TRUE(m_frame->m_closedTabs.empty());
}

TEST_F(FrameProtocol, IndexArgumentsOutsideTheIntegerRangeNameNothing)
{
    Open(nullptr, "about:blank");
    EXPECT_EQ(-1, Send(WM_FRAME_GETCOUNT, 1, -1));
    EXPECT_EQ(0, Send(WM_FRAME_GETURLAT, 0, -1));
#ifdef _WIN64
    const LPARAM wide = static_cast<LPARAM>(0x100000000LL);
    EXPECT_EQ(-1, Send(WM_FRAME_GETCOUNT, 1, wide));
    EXPECT_EQ(0, Send(WM_FRAME_GETTABID, 0, wide));
    EXPECT_EQ(0, Send(WM_FRAME_GETTABURLINGROUP, static_cast<WPARAM>(wide), 0));
#endif
}

TEST_F(FrameProtocol, SeamMessagesAnswerZeroAndUnhandledOnesGoToTheDefault)
{
    Open(nullptr, "about:blank");
    EXPECT_EQ(0, Send(WM_FRAME_UNLOADPLUGINS));
    EXPECT_EQ(0, Send(WM_FRAME_UNLOADSCRIPTS));
    EXPECT_EQ(0, Send(WM_FRAME_RELOADSCRIPTS));
    EXPECT_EQ(0, Send(WM_FRAME_TRAYNOTIFY, 1, WM_LBUTTONUP));
    EXPECT_EQ(0, Send(WM_FRAME_APPLYDONE));
    EXPECT_EQ(0, Send(WM_FRAME_ADDPOPUPENTRY));
    EXPECT_EQ(0, Send(WM_FRAME_ISNAVIGATELOCK));
    EXPECT_EQ(0, Send(WM_FRAME_SETDOMAINLOCK, 1, 1));
    EXPECT_EQ(1, theApp.GetGroupTabCount(theApp.GetActiveGroup()));
}

TEST_F(FrameProtocol, ClosingTheCurrentGroupShowsTheNextCurrentGroupsTabs)
{
    CTabItem* a = Open(nullptr, "about:blank");
    CTabGroup* groupA = theApp.GetActiveGroup();
    CTabGroup* groupB = theApp.OpenUrlInNewGroup("about:blank", 0, 0);
    Pump();
    ASSERT_EQ(groupB, theApp.GetActiveGroup());
    m_frame->CloseGroup(groupB);
    Pump();
    EXPECT_EQ(groupA, theApp.GetActiveGroup());
    ASSERT_EQ(1, BarCount());
    EXPECT_EQ(a, BarTab(0));
    EXPECT_EQ(a, Active());
}

TEST_F(FrameProtocol, DroppedUrlOpensInTheCurrentGroupAndPlainTextNeedsAMode)
{
    Open(nullptr, "about:blank");
    PointAt(m_frame->m_pPageTabBar->m_hWnd);
    Send(WM_FRAME_DROPTEXT, 0, reinterpret_cast<LPARAM>("ttp://dropped.example/\r\n"));
    Pump();
    ASSERT_EQ(2, theApp.GetGroupTabCount(theApp.GetActiveGroup()));
    EXPECT_STREQ("http://dropped.example/", theApp.GetActiveGroup()->GetTab(1)->m_url);
    // Words dropped in mode 0 are ignored.
    Send(WM_FRAME_DROPTEXT, 0, reinterpret_cast<LPARAM>("plain words"));
    Pump();
    EXPECT_EQ(1, theApp.GetGroupCount());
    EXPECT_EQ(2, theApp.GetGroupTabCount(theApp.GetActiveGroup()));
}

TEST_F(FrameProtocol, UrlDroppedOnTheGroupBarOpensInThatGroupOrANewOne)
{
    Open(nullptr, "about:blank");
    CTabGroup* groupA = theApp.GetActiveGroup();
    CTabGroup* groupB = theApp.OpenUrlInNewGroup("about:blank", 0, 0);
    Pump();
    HWND bar = m_frame->m_pGroupTabBar->m_hWnd;
    RECT item = {};
    ASSERT_TRUE(::SendMessageA(bar, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item)));
    PointAt(bar, &item);
    Send(WM_FRAME_DROPTEXT, 1, reinterpret_cast<LPARAM>("http://on-a.example/"));
    Pump();
    EXPECT_EQ(2, groupA->GetTabCount());
    EXPECT_EQ(1, groupB->GetTabCount());
    EXPECT_TRUE(theApp.m_settings.bLinkActivateSetting());

    // Beside the group tabs: a new group.
    RECT last = {};
    ASSERT_TRUE(::SendMessageA(bar, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&last)));
    RECT empty = {last.right + 10, last.top, last.right + 30, last.bottom};
    PointAt(bar, &empty);
    Send(WM_FRAME_DROPTEXT, 1, reinterpret_cast<LPARAM>("http://new.example/"));
    Pump();
    EXPECT_EQ(3, theApp.GetGroupCount());
}

TEST_F(FrameProtocol, GroupMadeForATabThatCannotOpenIsRemovedAgain)
{
    theApp.m_settings.bWindowMaxCnt(true);
    theApp.m_settings.iWindowMaxCnt = 0;
    EXPECT_EQ(nullptr, theApp.OpenUrl(nullptr, "about:blank", 0));
    EXPECT_EQ(0, theApp.GetGroupCount());
    EXPECT_EQ(0, m_frame->m_pGroupTabBar->GetItemCount());

    theApp.m_settings.iWindowMaxCnt = 1;
    CTabItem* first = Open(nullptr, "about:blank");
    ASSERT_NE(nullptr, first);
    CTabGroup* group = theApp.GetActiveGroup();
    theApp.m_settings.iWindowMaxCnt = 0;
    EXPECT_EQ(nullptr, theApp.OpenUrlInNewGroup("about:blank", 0, 0));
    Pump();
    EXPECT_EQ(1, theApp.GetGroupCount());
    EXPECT_EQ(group, theApp.GetActiveGroup());
    EXPECT_EQ(first, Active());
}

TEST_F(FrameProtocol, PrevAndNextTabMessagesStepThroughTheGroupAndLoopOnlyByTheSetting)
{
    CTabItem* a = Open(nullptr, "about:blank");
    CTabItem* b = Open(nullptr, "about:blank");
    CTabItem* c = Open(nullptr, "about:blank");
    ASSERT_EQ(c, Active());
    Send(WM_FRAME_ACTIVATEPREVTAB, 0, reinterpret_cast<LPARAM>(c));
    Pump();
    EXPECT_EQ(b, Active());
    theApp.m_settings.bWindowChangeLoop(false);
    Send(WM_FRAME_ACTIVATENEXTTAB, 0, reinterpret_cast<LPARAM>(c));
    Pump();
    EXPECT_EQ(b, Active());
    theApp.m_settings.bWindowChangeLoop(true);
    Send(WM_FRAME_ACTIVATENEXTTAB, 0, reinterpret_cast<LPARAM>(c));
    Pump();
    EXPECT_EQ(a, Active());
}

TEST_F(FrameProtocol, SecurityMessagesKeepTheFixedBitsAndRefreshOnlyOnAChange)
{
    CTabItem* a = Open(nullptr, "about:blank");
    LPARAM id = reinterpret_cast<LPARAM>(a->m_hFrame);
    a->m_pView->SetPageOptions(0x1 | 0x10 | 0x4000);
    const int refreshes = ControlOf(a)->GetRefreshCount();
    Send(WM_FRAME_SETSECURITY, static_cast<WPARAM>(id), 0x80);
    Pump();
    EXPECT_EQ(0x1u | 0x80u | 0x4000u, a->m_pageOptions);
    EXPECT_EQ(refreshes + 1, ControlOf(a)->GetRefreshCount());
    Send(WM_FRAME_SETSECURITY, static_cast<WPARAM>(id), 0x80);
    Pump();
    EXPECT_EQ(refreshes + 1, ControlOf(a)->GetRefreshCount());
    Send(WM_FRAME_SETSECURITY, 12345, 0x80);

    Send(WM_FRAME_APPLYTABSECURITY, reinterpret_cast<WPARAM>(a), 0);
    Pump();
    EXPECT_EQ(refreshes + 2, ControlOf(a)->GetRefreshCount());
}

TEST_F(FrameProtocol, ObjectQueriesHandOutReferencesOnlyForLiveTabs)
{
    CTabItem* a = Open(nullptr, "about:blank");
    LPARAM id = reinterpret_cast<LPARAM>(a->m_hFrame);
    IDispatch* browser = reinterpret_cast<IDispatch*>(Send(WM_FRAME_GETWEBBROWSEROBJECT, 0, id));
    ASSERT_NE(nullptr, browser);
    browser->Release();
    EXPECT_EQ(0, Send(WM_FRAME_GETWEBBROWSEROBJECT, 0, 12345));
    EXPECT_EQ(0, Send(WM_FRAME_GETDOCUMENTOBJECT, 0, 0));
    EXPECT_EQ(0, Send(WM_FRAME_ISBUSY, 0, id));
    ControlOf(a)->SetBusy(true);
    EXPECT_EQ(1, Send(WM_FRAME_ISBUSY, 0, id));
    ControlOf(a)->SetBusy(false);
    EXPECT_EQ(0, Send(WM_FRAME_ISBUSY, 0, 0));
}

TEST_F(FrameProtocol, ClosingTheActiveTabNeverActivatesATabMovedToAnotherGroup)
{
    CTabItem* a = Open(nullptr, "about:blank");
    CTabItem* b = Open(nullptr, "about:blank");
    CTabItem* c = Open(nullptr, "about:blank");
    CTabGroup* groupA = theApp.GetActiveGroup();
    CTabGroup* groupB = theApp.OpenUrlInNewGroup("about:blank", 0, 0);
    Pump();
    m_frame->ActivateGroup(groupA);
    Pump();
    ASSERT_EQ(c, Active());
    ASSERT_EQ(b->m_hFrame, groupA->m_hPrevTab);
    m_frame->MoveTabToGroup(b, groupB);
    Pump();
    m_frame->ActivateGroup(groupA);
    Pump();
    ASSERT_EQ(c, Active());
    theApp.m_settings.iTabClosePos = 0;
    ::SendMessageA(c->m_hFrame, WM_CLOSE, 0, 0);
    Pump();
    EXPECT_EQ(a, Active());
    EXPECT_EQ(groupA, theApp.GetActiveGroup());
}

TEST_F(FrameProtocol, NewGroupOpensTheDefaultPageChosenBySetting)
{
    auto opened = [this](int mode, const char* target) -> std::wstring {
        theApp.m_settings.iDefault_P = static_cast<BYTE>(mode);
        theApp.m_settings.strTargetURL_P = target;
        CTabGroup* group = m_frame->NewGroupWithDefaultPage(nullptr);
        Pump();
        if (group == nullptr || group->GetTabCount() != 1)
            return L"(no tab)";
        const auto& calls = ControlOf(group->GetTab(0))->GetNavigateCalls();
        return calls.empty() ? L"(home)" : calls.back().url;
    };
    EXPECT_EQ(L"(home)", opened(0, ""));
    EXPECT_EQ(L"http://target.example/", opened(2, "http://target.example/"));
    EXPECT_EQ(L"about:blank", opened(2, "start.html"));
    EXPECT_EQ(L"about:blank", opened(2, ""));
    EXPECT_EQ(L"about:blank", opened(1, "http://target.example/"));
    EXPECT_EQ(5, theApp.GetGroupCount());
}
