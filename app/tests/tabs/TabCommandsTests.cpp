// A tab's own commands: text size, finding text and the page's context menu.
#include <windows.h>

#include "app/MainFrame.h"
#include "app/VantorelApp.h"
#include "framework/win/CmdUI.h"
#include "framework/win/Menu.h"
#include "tab/BrowserControlSite.h"
#include "tab/BrowserView.h"
#include "tab/ChildFrame.h"
#include "tab/PageSelection.h"
#include "tab/TabItem.h"
#include "app/tests/TabFixture.h"

namespace {

// The checked item among the commands first..last of a menu, after the
// frame's update handlers ran over it; 0 for none, 1 for more than one.
// With mustBeEnabled every item is also expected to be enabled.
UINT CheckedItem(CChildFrame* frame, UINT first, UINT last, bool mustBeEnabled)
{
    CMenu menu;
    menu.CreatePopupMenu();
    for (UINT id = first; id <= last; ++id)
        ::AppendMenuA(menu.m_hMenu, MF_STRING, id, "item");
    AfxUpdateMenuItems(frame, &menu, TRUE);
    UINT checked = 0;
    for (UINT id = first; id <= last; ++id) {
        UINT state = ::GetMenuState(menu.m_hMenu, id, MF_BYCOMMAND);
        if (mustBeEnabled) {
            EXPECT_EQ(0u, state & (MF_GRAYED | MF_DISABLED)) << id;
        }
        if (state & MF_CHECKED)
            checked = checked == 0 ? id : 1;
    }
    return checked;
}

// The five text sizes, every one enabled.
UINT CheckedTextSize(CChildFrame* frame)
{
    return CheckedItem(frame, 32774, 32778, true);
}

// The auto-reload periods.
UINT CheckedReloadPeriod(CChildFrame* frame)
{
    return CheckedItem(frame, 36264, 36271, false);
}

} // namespace

TEST_F(TabTest, TextSizeCommandsZoomThePageAndTheFrameChecksTheCurrentSize)
{
    CTabItem* tab = Open(nullptr, "http://a.example/");
    ASSERT_NE(nullptr, tab);
    CBrowserView* view = tab->m_pView;
    CChildFrame* frame = static_cast<CChildFrame*>(tab->m_pFrame);
    TestWebBrowser* control = ControlOf(tab);

    EXPECT_EQ(32776u, view->GetTextSize());
    EXPECT_EQ(32776u, CheckedTextSize(frame));

    ::SendMessageA(view->m_hWnd, WM_COMMAND, 32774, 0);
    EXPECT_EQ(4, control->GetZoom());
    EXPECT_EQ(32774u, CheckedTextSize(frame));

    ::SendMessageA(view->m_hWnd, WM_COMMAND, 32778, 0);
    EXPECT_EQ(0, control->GetZoom());
    EXPECT_EQ(32778u, view->GetTextSize());
    EXPECT_EQ(32778u, CheckedTextSize(frame));
}

TEST_F(TabTest, FindCommandsWithoutDialogsLibraryOrSearchBoxShowNothing)
{
    CTabItem* tab = Open(nullptr, "http://a.example/");
    AnswerNextMessageBox(IDOK);
    // No dialogs library in the program folder and no search box: neither
    // command reaches the page, so no box reports a count.
    ::SendMessageA(tab->m_hFrame, WM_COMMAND, 1065, 0);
    ::SendMessageA(tab->m_hFrame, WM_COMMAND, 30513, 0);
    Pump();
    EXPECT_FALSE(s_messageBoxSeen);
    EXPECT_FALSE(AllAnswered());
    EXPECT_EQ(tab, Active());
}

TEST_F(TabTest, FindReportsTheCountOnceAndClearingReportsNothing)
{
    CTabItem* tab = Open(nullptr, "http://a.example/");
    CChildFrame* frame = static_cast<CChildFrame*>(tab->m_pFrame);
    AnswerNextMessageBox(IDOK);
    frame->FindTextWithBusyDialog("word", 0, false);
    EXPECT_TRUE(AllAnswered());
    s_messageBoxSeen = false;
    frame->FindTextWithBusyDialog("word", 0, true);
    Pump();
    EXPECT_FALSE(s_messageBoxSeen);
}

TEST_F(TabTest, PageContextMenuRemembersItsPointAndKind)
{
    CTabItem* tab = Open(nullptr, "http://a.example/");
    CBrowserView* view = tab->m_pView;
    IOleClientSite* site = ControlOf(tab)->GetClientSite();
    ASSERT_NE(nullptr, site);
    IDocHostUIHandler* handler = nullptr;
    ASSERT_EQ(S_OK, site->QueryInterface(IID_IDocHostUIHandler, reinterpret_cast<void**>(&handler)));
    POINT pt = {120, 80};
    handler->ShowContextMenu(CONTEXT_MENU_IMAGE, &pt, nullptr, nullptr);
    handler->Release();
    EXPECT_EQ(120, view->m_ptContextMenu.x);
    EXPECT_EQ(80, view->m_ptContextMenu.y);
    EXPECT_EQ(static_cast<DWORD>(CONTEXT_MENU_IMAGE), view->m_contextMenuId);
}

TEST_F(TabTest, ReloadPeriodCommandsSetThePeriodAndTheCheckFollowsTheTimer)
{
    CTabItem* tab = Open(nullptr, "http://a.example/");
    CChildFrame* frame = static_cast<CChildFrame*>(tab->m_pFrame);
    EXPECT_EQ(36264u, CheckedReloadPeriod(frame));

    ::SendMessageA(tab->m_hFrame, WM_COMMAND, 36266, 0);
    Pump();
    EXPECT_NE(0u, tab->m_flags & kTabAutoReload);
    EXPECT_EQ(30, tab->m_reloadPeriod);
    EXPECT_EQ(30, tab->m_reloadCountdown);
    EXPECT_EQ(36266u, CheckedReloadPeriod(frame));

    // The toggle stops it; the period stays for the next start.
    ::SendMessageA(tab->m_hFrame, WM_COMMAND, 1044, 0);
    Pump();
    EXPECT_EQ(0u, tab->m_flags & kTabAutoReload);
    EXPECT_EQ(36264u, CheckedReloadPeriod(frame));
    ::SendMessageA(tab->m_hFrame, WM_COMMAND, 1044, 0);
    Pump();
    EXPECT_NE(0u, tab->m_flags & kTabAutoReload);
    EXPECT_EQ(30, tab->m_reloadPeriod);
    EXPECT_EQ(36271u, CheckedReloadPeriod(frame));

    ::SendMessageA(tab->m_hFrame, WM_COMMAND, 36264, 0);
    Pump();
    EXPECT_EQ(0u, tab->m_flags & kTabAutoReload);
}

namespace {

WNDPROC s_viewProc = nullptr;
bool s_targetGoneAtDestroy = false;

// Runs the view's own WM_DESTROY, then looks whether its page drop target
// is still registered with the window.
LRESULT CALLBACK WatchViewDestroy(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = ::CallWindowProcA(s_viewProc, hWnd, message, wParam, lParam);
    if (message == WM_DESTROY)
        s_targetGoneAtDestroy = ::GetPropA(hWnd, "OleDropTargetInterface") == nullptr;
    return result;
}

} // namespace

TEST_F(TabTest, ClosingTabRevokesItsPageDropTargetBeforeTheViewGoes)
{
    CTabItem* tab = Open(nullptr, "http://a.example/");
    Open(nullptr, "http://b.example/");
    HWND view = tab->m_pView->m_hWnd;
    ASSERT_NE(nullptr, ::GetPropA(view, "OleDropTargetInterface"));
    s_targetGoneAtDestroy = false;
    s_viewProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(view, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WatchViewDestroy)));
    ::SendMessageA(tab->m_hFrame, WM_COMMAND, 1069, 0);
    Pump();
    EXPECT_FALSE(::IsWindow(view));
    EXPECT_TRUE(s_targetGoneAtDestroy);
}

// The first tab, a tab opened in front and one opened behind, once it is
// activated, all take drops on their page.
TEST_F(TabTest, EveryPageThatShowsTakesDrops)
{
    CTabItem* tabs[] = { Open(nullptr, "http://a.example/"), Open(nullptr, "http://b.example/"),
                         Open(nullptr, "http://c.example/", kReasonPageBackground) };
    ASSERT_TRUE(tabs[0] != nullptr && tabs[1] != nullptr && tabs[2] != nullptr);
    HWND behind = tabs[2]->m_hFrame;
    ::SendMessageA(::GetParent(behind), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(behind), 0);
    Pump();
    ASSERT_EQ(tabs[2], Active());
    for (CTabItem* tab : tabs)
        EXPECT_NE(nullptr, ::GetPropA(tab->m_pView->m_hWnd, "OleDropTargetInterface"));
}

namespace {

int s_pageMenuItems = -1;
UINT s_firstEngineItem = 0;
int s_engineItems = -1;

// While the page menu is up: reads it, then closes it without a choice.
void CALLBACK ReadAndEndMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    HMENU menu = nullptr;
    if (!TakeShownMenu(id, &menu))
        return;
    if (menu != nullptr) {
        s_pageMenuItems = ::GetMenuItemCount(menu);
        s_firstEngineItem = ::GetMenuItemID(::GetSubMenu(menu, 9), 0);
        s_engineItems = ::GetMenuItemCount(::GetSubMenu(menu, 9));
    }
    ::EndMenu();
}

} // namespace

TEST_F(TabTest, PageMenuKeepsTheSelectionAndMarksOnlySearchesAsFromThePage)
{
    CTabItem* tab = Open(nullptr, "http://a.example/");
    CBrowserView* view = tab->m_pView;
    CPageSelection selection;
    selection.m_strText = "selected words";
    theApp.m_pendingKeyword.Empty();
    s_pageMenuItems = -1;
    s_firstEngineItem = 0;
    s_engineItems = -1;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, ReadAndEndMenu);
    view->ShowPageMenu(POINT{200, 200}, selection);
    ::KillTimer(nullptr, timer);
    EXPECT_STREQ("selected words", theApp.m_pendingKeyword);
    EXPECT_EQ(13, s_pageMenuItems);
    // The root's command searches with every engine.
    EXPECT_EQ(30001u, s_firstEngineItem);
    // Search all, a separator, then the root's engines and folders.
    const CSearchEngineNode* root = m_frame->m_searchEngines.GetRoot();
    ASSERT_NE(nullptr, root);
    EXPECT_EQ(2 + static_cast<int>(root->GetChildCount()), s_engineItems);

    MSG msg;
    while (::PeekMessageA(&msg, m_frame->m_hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE)) {
    }
    view->OnPageMenuChoice(30003);
    EXPECT_NE(0u, m_frame->m_stateWord & kStatePendingKeyword);
    ASSERT_TRUE(::PeekMessageA(&msg, m_frame->m_hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(30003u, LOWORD(msg.wParam));
    view->OnPageMenuChoice(32850);
    EXPECT_EQ(0u, m_frame->m_stateWord & kStatePendingKeyword);
    ASSERT_TRUE(::PeekMessageA(&msg, m_frame->m_hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(32850u, LOWORD(msg.wParam));
    view->OnPageMenuChoice(0);
    EXPECT_FALSE(::PeekMessageA(&msg, m_frame->m_hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE));
}
