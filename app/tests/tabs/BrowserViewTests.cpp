// Tabs that browse: the browser view around the test WebBrowser control.
#include <windows.h>

#include <string>
#include <vector>

#include "app/MainFrame.h"
#include "app/VantorelApp.h"
#include "bars/PageTabBar.h"
#include "shared/AppData.h"
#include "shared/AppSettings.h"
#include "tab/BrowserView.h"
#include "tab/ChildFrame.h"
#include "tab/TabGroup.h"
#include "tab/TabItem.h"
#include "app/tests/TabFixture.h"

namespace {


void Navigate(CTabItem* tab, const char* url)
{
    tab->m_pView->Navigate(url);
    TestWebBrowser::Settle();
}

CString ItemText(CPageTabBar* bar, int index)
{
    char buffer[256] = {};
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = buffer;
    item.cchTextMax = sizeof(buffer);
    ::SendMessageA(bar->m_hWnd, TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return CString(buffer);
}

} // namespace

TEST_F(TabTest, OpenedTabNavigatesAndReportsUrlAndTitle)
{
    CTabItem* tab = Open(nullptr, "http://a.example/page?va-title=Alpha");
    ASSERT_NE(nullptr, tab);
    TestWebBrowser* control = ControlOf(tab);
    ASSERT_NE(nullptr, control);
    ASSERT_EQ(1u, control->GetNavigateCalls().size());
    EXPECT_EQ(L"http://a.example/page?va-title=Alpha", control->GetNavigateCalls()[0].url);
    EXPECT_STREQ("http://a.example/page?va-title=Alpha", tab->m_url);
    EXPECT_STREQ("Alpha", tab->m_title);
    EXPECT_STREQ("Alpha", ItemText(m_frame->m_pPageTabBar, 0));
    EXPECT_EQ(kProgressIdle, tab->m_pView->m_progress);
}

TEST_F(TabTest, HomeTokenCallsTheControlsHomeAndOtherCasesAreUrls)
{
    CTabItem* home = Open(nullptr, "gOhOmE!!!");
    ASSERT_NE(nullptr, home);
    EXPECT_TRUE(ControlOf(home)->GetNavigateCalls().empty());
    EXPECT_FALSE(home->m_url.IsEmpty());
    CTabItem* other = Open(nullptr, "GOHOME!!!");
    ASSERT_EQ(1u, ControlOf(other)->GetNavigateCalls().size());
    EXPECT_EQ(L"GOHOME!!!", ControlOf(other)->GetNavigateCalls()[0].url);
}

TEST_F(TabTest, MailLinkInAPageIsCancelledOnlyWhenTheSettingSaysSo)
{
    CTabItem* tab = Open(nullptr, "http://a.example/");
    CBrowserView* view = tab->m_pView;
    BOOL cancel = FALSE;
    AppSettings().bMailToNotOpen(true);
    view->OnBeforeNavigate2(view->GetBrowser(), "MAILTO:x@example.com", &cancel);
    EXPECT_TRUE(cancel);
    cancel = FALSE;
    AppSettings().bMailToNotOpen(false);
    view->OnBeforeNavigate2(view->GetBrowser(), "MAILTO:x@example.com", &cancel);
    EXPECT_FALSE(cancel);
    // Neither is stored as the tab's address, nor is a script URL.
    view->OnBeforeNavigate2(view->GetBrowser(), "JavaScript:void(0)", &cancel);
    EXPECT_FALSE(cancel);
    EXPECT_STREQ("http://a.example/", tab->m_url);
}

TEST_F(TabTest, FrameNavigationLeavesTheTabsAddress)
{
    CTabItem* tab = Open(nullptr, "http://a.example/");
    ControlOf(tab)->ScriptFrameNavigation(L"http://frame.example/");
    Pump();
    EXPECT_STREQ("http://a.example/", tab->m_url);
}

TEST_F(TabTest, StatusTextAndProgressReachTheFrameForTheActiveTabOnly)
{
    CTabItem* a = Open(nullptr, "http://a.example/");
    CTabItem* b = Open(nullptr, "http://b.example/", kReasonPageBackground);
    ASSERT_EQ(a, Active());
    ControlOf(b)->ScriptStatusText(L"from b");
    ControlOf(a)->ScriptStatusText(L"from a");
    ControlOf(b)->ScriptStatusText(L"from b again");
    char text[64] = {};
    ::SendMessageA(m_frame->m_wndStatusBar.m_hWnd, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ("from a", text);
    ControlOf(a)->ScriptProgress(50, 200);
    EXPECT_EQ(25, a->m_pView->m_progress);
    CProgressCtrl& bar = m_frame->m_wndStatusBar.GetProgressCtrl();
    EXPECT_EQ(25, bar.GetPos());
    EXPECT_TRUE(bar.IsWindowVisible());
    ControlOf(b)->ScriptProgress(150, 200);
    EXPECT_EQ(75, b->m_pView->m_progress);
    EXPECT_EQ(25, bar.GetPos());
    ControlOf(a)->ScriptProgress(5, 50);
    EXPECT_EQ(kProgressIdle, a->m_pView->m_progress);
    // Idle is negative: the control hides rather than showing 0.
    EXPECT_FALSE(bar.IsWindowVisible());
}

TEST_F(TabTest, NewWindowOpensInTheOpenersGroupAndReturnsItsControl)
{
    CTabItem* opener = Open(nullptr, "http://a.example/");
    theApp.OpenUrlInNewGroup("http://other.example/", 0, 0);
    Pump();
    CTabGroup* openerGroup = opener->m_pGroup;
    ASSERT_NE(openerGroup, theApp.GetActiveGroup());
    TestWebBrowser::NewWindowResult result = ControlOf(opener)->ScriptNewWindow(L"http://popup.example/");
    Pump();
    ASSERT_FALSE(result.cancelled);
    ASSERT_NE(nullptr, result.pNewBrowser);
    ASSERT_EQ(2, openerGroup->GetTabCount());
    CTabItem* created = openerGroup->GetTab(1);
    EXPECT_EQ(result.pNewBrowser, ControlOf(created));
    EXPECT_STREQ("http://popup.example/", created->m_url);
}

TEST_F(TabTest, NewWindowAtTheTabLimitIsCancelledAndOneBelowOpens)
{
    AppSettings().bWindowMaxCnt(true);
    AppSettings().iWindowMaxCnt = 3;
    CTabItem* opener = Open(nullptr, "http://a.example/");
    Open(nullptr, "http://b.example/");
    EXPECT_FALSE(ControlOf(opener)->ScriptNewWindow(L"http://c.example/").cancelled);
    Pump();
    const int groups = theApp.GetGroupCount();
    EXPECT_TRUE(ControlOf(opener)->ScriptNewWindow(L"http://d.example/").cancelled);
    Pump();
    EXPECT_EQ(3, opener->m_pGroup->GetTabCount());
    EXPECT_EQ(groups, theApp.GetGroupCount());
}

TEST_F(TabTest, WheelNewWindowWithTheNewGroupRuleGoesIntoANewGroupPastTheLimit)
{
    AppSettings().bWindowMaxCnt(true);
    AppSettings().iWindowMaxCnt = 1;
    AppSettings().iParentTabNewRule = 0x8;
    CTabItem* opener = Open(nullptr, "http://a.example/");
    opener->m_pView->m_state |= kViewWheelNewWindow;
    EXPECT_FALSE(ControlOf(opener)->ScriptNewWindow(L"http://wheel.example/").cancelled);
    Pump();
    EXPECT_EQ(2, theApp.GetGroupCount());
    EXPECT_EQ(1, opener->m_pGroup->GetTabCount());
    EXPECT_EQ(0u, opener->m_pView->m_state & kViewWheelNewWindow);
}

TEST_F(TabTest, ClosingATabKeepsItsHistoryForReopening)
{
    CTabItem* tab = Open(nullptr, "http://a.example/?va-title=A");
    Navigate(tab, "http://b.example/?va-title=B");
    Navigate(tab, "http://c.example/?va-title=C");
    Navigate(tab, "http://d.example/?va-title=D");
    tab->m_pView->GoBack();
    Pump();
    ASSERT_STREQ("http://c.example/?va-title=C", tab->m_url);
    ::SendMessageA(tab->m_hFrame, WM_CLOSE, 0, 0);
    Pump();
    ASSERT_EQ(1u, m_frame->m_closedTabs.size());
    const ClosedTabEntry& closed = m_frame->m_closedTabs[0];
    EXPECT_STREQ("http://c.example/?va-title=C", closed.url);
    ASSERT_EQ(2, closed.back.GetCount());
    EXPECT_STREQ("http://b.example/?va-title=B", closed.back.m_urls[0]);
    EXPECT_STREQ("A", closed.back.m_titles[1]);
    ASSERT_EQ(1, closed.forward.GetCount());
    EXPECT_STREQ("http://d.example/?va-title=D", closed.forward.m_urls[0]);
}

TEST_F(TabTest, SavedHistorySkipsDownloadsAndStopsAtTheLimit)
{
    AppSettings().iBackHistoryMax = 3;
    CTabItem* tab = Open(nullptr, "http://a.example/1.html");
    Navigate(tab, "http://a.example/file.ZIP?x=1");
    for (int i = 2; i <= 5; ++i) {
        CString url;
        url.Format("http://a.example/%d.html", i);
        Navigate(tab, url);
    }
    SavedHistory back;
    tab->m_pView->SaveBackHistory(back);
    ASSERT_EQ(3, back.GetCount());
    EXPECT_STREQ("http://a.example/4.html", back.m_urls[0]);
    EXPECT_STREQ("http://a.example/2.html", back.m_urls[2]);
}

TEST_F(TabTest, ReplayedHistoryKeepsItsOrderAroundTheCurrentPage)
{
    SavedHistory back, forward;
    back.Add("http://b.example/", "B");   // nearest first
    back.Add("http://a.example/", "A");
    forward.Add("http://d.example/", "D");
    forward.Add("http://e.example/", "E");
    theApp.OpenUrlWithHistory(nullptr, "http://c.example/", &back, &forward, 0, 0);
    Pump();
    CTabItem* tab = Active();
    ASSERT_NE(nullptr, tab);
    TestTravelLog& log = ControlOf(tab)->GetTravelLog();
    std::vector<TestTravelLog::Page> pages = log.GetPages();
    ASSERT_EQ(5u, pages.size());
    const wchar_t* expected[] = {L"http://a.example/", L"http://b.example/", L"http://c.example/",
                                 L"http://d.example/", L"http://e.example/"};
    for (size_t i = 0; i < pages.size(); ++i)
        EXPECT_EQ(expected[i], pages[i].url) << i;
    EXPECT_EQ(2, log.GetCurrentIndex());
    // Replayed once: the saved lists are empty now.
    EXPECT_TRUE(tab->m_pBack->IsEmpty());
    EXPECT_TRUE(tab->m_pForward->IsEmpty());
}

TEST_F(TabTest, DuplicatedTabCarriesTheHistory)
{
    CTabItem* tab = Open(nullptr, "http://a.example/?va-title=A");
    Navigate(tab, "http://b.example/?va-title=B");
    ::SendMessageA(tab->m_hFrame, WM_COMMAND, 1074, 0);
    Pump();
    CTabGroup* group = tab->m_pGroup;
    ASSERT_EQ(2, group->GetTabCount());
    CTabItem* copy = group->GetTab(1);
    EXPECT_STREQ("http://b.example/?va-title=B", copy->m_url);
    std::vector<std::wstring> backs = ControlOf(copy)->GetTravelLog().GetBackUrls();
    ASSERT_EQ(1u, backs.size());
    EXPECT_EQ(L"http://a.example/?va-title=A", backs[0]);
}

TEST_F(TabTest, PageOptionCommandsChangeTheWordTheControlReads)
{
    CTabItem* tab = Open(nullptr, "http://a.example/");
    AppSettings().bLightRefresh(false);
    CBrowserView* view = tab->m_pView;
    view->SetPageOptions(0x71);
    ::SendMessageA(view->m_hWnd, WM_COMMAND, 36282, 0);
    EXPECT_EQ(0x71u, view->GetPageOptions());
    ::SendMessageA(view->m_hWnd, WM_COMMAND, 36283, 0);
    EXPECT_EQ(0u, view->GetPageOptions());
    EXPECT_EQ(0u, tab->m_pageOptions);
    EXPECT_EQ(0, ControlOf(tab)->GetDlControl());
    view->SetPageOptions(0x780);
    ::SendMessageA(view->m_hWnd, WM_COMMAND, 36284, 0);
    EXPECT_EQ(0u, view->GetPageOptions());
    ::SendMessageA(view->m_hWnd, WM_COMMAND, 36285, 0);
    EXPECT_EQ(0x780u, view->GetPageOptions());
    EXPECT_EQ(0x780, ControlOf(tab)->GetDlControl());
    // Without the light refresh the page is not reloaded.
    EXPECT_EQ(1u, ControlOf(tab)->GetNavigateCalls().size());
}

TEST_F(TabTest, LoadFlagsOfTheOpenerReachTheNewTab)
{
    CTabGroup* group = theApp.OpenUrlWithLoadFlags(nullptr, "http://a.example/", 0, 0x11);
    Pump();
    ASSERT_NE(nullptr, group);
    CTabItem* tab = group->GetTab(0);
    EXPECT_EQ(0xE1u, tab->m_pageOptions);
    EXPECT_EQ(0xE1, ControlOf(tab)->GetDlControl());
}

TEST_F(TabTest, AutoReloadWithAPeriodOfZeroDoesNotStart)
{
    CTabItem* tab = Open(nullptr, "http://a.example/");
    tab->m_reloadPeriod = 0;
    tab->m_pView->StartAutoReload();
    EXPECT_EQ(0u, tab->m_flags & kTabAutoReload);
    tab->m_reloadPeriod = 15;
    tab->m_pView->StartAutoReload();
    EXPECT_NE(0u, tab->m_flags & kTabAutoReload);
    EXPECT_EQ(15, tab->m_reloadCountdown);
    tab->m_pView->StopAutoReload();
    EXPECT_EQ(0u, tab->m_flags & kTabAutoReload);
}

TEST_F(TabTest, ClipboardCommandWithoutTextOpensNothing)
{
    CTabItem* tab = Open(nullptr, "http://a.example/");
    ASSERT_TRUE(::OpenClipboard(m_frame->m_hWnd));
    ::EmptyClipboard();
    ::CloseClipboard();
    ::SendMessageA(tab->m_hFrame, WM_COMMAND, 1073, 0);
    Pump();
    EXPECT_EQ(1, tab->m_pGroup->GetTabCount());

    const char text[] = "ttp://clip.example/";
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, sizeof(text));
    memcpy(::GlobalLock(memory), text, sizeof(text));
    ::GlobalUnlock(memory);
    ASSERT_TRUE(::OpenClipboard(m_frame->m_hWnd));
    ::EmptyClipboard();
    ::SetClipboardData(CF_TEXT, memory);
    ::CloseClipboard();
    ::SendMessageA(tab->m_hFrame, WM_COMMAND, 1073, 0);
    Pump();
    ASSERT_EQ(2, tab->m_pGroup->GetTabCount());
    EXPECT_STREQ("http://clip.example/", tab->m_pGroup->GetTab(1)->m_url);
}

TEST_F(TabTest, ClosingTabSilencesItsPageButLeavesImagesAndSoundsOff)
{
    CTabItem* tab = Open(nullptr, "http://a.example/");
    TestWebBrowser* control = ControlOf(tab);
    control->AddRef();
    tab->m_pView->SetPageOptions(0x71);
    ::SendMessageA(tab->m_hFrame, WM_CLOSE, 0, 0);
    Pump();
    // Sounds, videos, images and Flash off; scripts, Java and ActiveX stopped.
    EXPECT_EQ(0x780, control->GetDlControl());
    control->Release();
}

TEST_F(TabTest, NewWindowOfATabWithoutGroupLeavesNoEmptyGroupWhenRefused)
{
    AppSettings().bWindowMaxCnt(true);
    AppSettings().iWindowMaxCnt = 1;
    CTabItem* opener = Open(nullptr, "http://a.example/");
    CTabGroup* group = opener->m_pGroup;
    opener->m_pGroup = nullptr;
    EXPECT_TRUE(ControlOf(opener)->ScriptNewWindow(L"http://b.example/").cancelled);
    Pump();
    EXPECT_EQ(1, theApp.GetGroupCount());
    opener->m_pGroup = group;
}

// Regression: a new window whose control gave no application object was
// refused, but its tab stayed open, empty, when no group had been made.
TEST_F(TabTest, NewWindowWithoutAnApplicationObjectLeavesNoTab)
{
    CTabItem* opener = Open(nullptr, "http://a.example/");
    const size_t closedBefore = m_frame->m_closedTabs.size();
    TestWebBrowser::SetApplicationFails(true);
    TestWebBrowser::NewWindowResult result = ControlOf(opener)->ScriptNewWindow(L"http://b.example/");
    TestWebBrowser::SetApplicationFails(false);
    EXPECT_TRUE(result.cancelled);
    Pump();
    EXPECT_EQ(1, theApp.GetActiveGroup()->GetTabCount());
    EXPECT_EQ(1, theApp.GetGroupCount());
    EXPECT_EQ(1, BarCount());
    EXPECT_EQ(closedBefore, m_frame->m_closedTabs.size());
}

TEST_F(TabTest, WheelClickOnATabRefreshesItsPageByTheSetting)
{
    AppSettings().iTabmouseWC = 2;  // refresh
    CTabItem* tab = Open(nullptr, "http://a.example/");
    RECT item = {};
    ::SendMessageA(m_frame->m_pPageTabBar->m_hWnd, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    ::SendMessageA(m_frame->m_pPageTabBar->m_hWnd, WM_MBUTTONDOWN, 0,
                   MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2));
    Pump();
    EXPECT_EQ(1, ControlOf(tab)->GetRefreshCount());
}

TEST_F(TabTest, EditingThePageSourceWithoutADocumentReportsAndLeavesNoFile)
{
    CTabItem* tab = Open(nullptr, "http://a.example/");
    AnswerMessageBoxes({IDYES, IDOK});
    ::SendMessageA(tab->m_hFrame, WM_COMMAND, 36011, 0);
    EXPECT_TRUE(AllAnswered());
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA(AppFolders().ProgramFile("PageEdit*.htm"), &data);
    EXPECT_EQ(INVALID_HANDLE_VALUE, find);
    if (find != INVALID_HANDLE_VALUE)
        ::FindClose(find);
}

namespace {

int s_tabMenuSeen = 0;
int s_proxyItems = 0;

// Chooses the second item of the tab menu (close, after the new-tab
// submenu) once it shows.
void CALLBACK ChooseFirstTabMenuItem(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND menu = ShownPopupMenu();
    if (menu == nullptr)
        return;
    ::KillTimer(nullptr, id);
    HMENU hMenu = reinterpret_cast<HMENU>(::SendMessageA(menu, MN_GETHMENU, 0, 0));
    HMENU proxies = hMenu != nullptr ? ::GetSubMenu(hMenu, 8) : nullptr;
    s_proxyItems = proxies != nullptr ? ::GetMenuItemCount(proxies) : -1;
    ++s_tabMenuSeen;
    ::PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
    ::PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
    ::PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
}

} // namespace

TEST_F(TabTest, RightClickMenuActsOnTheClickedTab)
{
    AppSettings().iTabmouseR = 1;  // the tab menu
    m_folder->WriteBytes("Proxy.ini", "[PROXY]\r\nProxy0=a.example:8080\r\nProxy1=\r\nProxy2=b.example:80\r\n");
    CTabItem* a = Open(nullptr, "http://a.example/");
    CTabItem* b = Open(nullptr, "http://b.example/");
    ASSERT_EQ(b, Active());
    HWND frameA = a->m_hFrame;
    m_frame->SetForegroundWindow();
    s_tabMenuSeen = 0;
    ::SetTimer(nullptr, 0, 50, ChooseFirstTabMenuItem);
    ::SendMessageA(frameA, WM_TAB_MOUSECLICK, 1, MAKELPARAM(20, 20));
    Pump();
    EXPECT_EQ(1, s_tabMenuSeen);
    // Four fixed items, a separator and the servers up to the first empty
    // entry: item k always selects entry k.
    EXPECT_EQ(6, s_proxyItems);
    EXPECT_FALSE(::IsWindow(frameA));
    EXPECT_EQ(1, theApp.GetGroupTabCount(theApp.GetActiveGroup()));
    EXPECT_EQ(b, Active());
}

TEST_F(TabTest, UnrequestedPopupClosesWhenItsFirstPageCompletes)
{
    AppSettings().bTargetName(true);
    CTabItem* popup = Open(nullptr, "http://a.example/");
    EXPECT_TRUE(ControlOf(popup)->IsRegisteredAsBrowser());
    HWND frame = popup->m_hFrame;
    popup->m_closeReason = kClosePopup;
    Navigate(popup, "http://ad.example/");
    Pump();
    EXPECT_FALSE(::IsWindow(frame));
}
