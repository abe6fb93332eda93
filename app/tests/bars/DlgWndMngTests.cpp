// The window-list popup on the real main frame: its list, keys, group
// switching and what a choice does.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/MainFrame.h"
#include "app/VantorelApp.h"
#include "bars/DlgWndMng.h"
#include "bars/GroupTabBar.h"
#include "tab/TabGroup.h"
#include "tab/TabItem.h"
#include "app/tests/TabFixture.h"

namespace {

// Ends the popup's tracking once its loop runs.
void CALLBACK CloseWndList(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    if (g_pMainFrame != nullptr && g_pMainFrame->m_pWndList != nullptr)
        g_pMainFrame->m_pWndList->PostMessage(WM_WNDMNG_CLOSE);
}

// Another program closes the frame once the popup's loop runs.
void CALLBACK CloseFrame(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    if (g_pMainFrame != nullptr)
        ::PostMessageA(g_pMainFrame->m_hWnd, WM_CLOSE, 0, 0);
}

class WndListTest : public TabTest
{
protected:
    // Shows the popup for a group; its loop ends by the timer.
    BOOL ShowFor(CTabGroup* group)
    {
        m_frame->SetForegroundWindow();
        ::SetTimer(nullptr, 0, 10, CloseWndList);
        return m_frame->ShowGroupTabPopup(group, m_frame->m_pGroupTabBar->FindGroup(group));
    }
    CDlgWndMng& Popup() { return *m_frame->m_pWndList; }
};

TEST_F(WndListTest, ItListsTheGroupsPagesCutAndSelectsTheActiveOne)
{
    CTabItem* a = Open(nullptr, "http://a.example/");
    Open(nullptr, "http://b.example/");
    CTabGroup* group = theApp.GetActiveGroup();
    a->m_title = CString('x', 60);
    ASSERT_TRUE(ShowFor(group));
    CDrawTabCtrl& list = Popup().GetList();
    ASSERT_EQ(2, list.GetItemCount());
    EXPECT_EQ(TruncateTabText(a->m_title, 50, true), list.GetItemText(0));
    EXPECT_EQ(1, list.GetCurSel());
    EXPECT_FALSE(Popup().IsWindowVisible());  // hidden once closed
    EXPECT_FALSE(Popup().IsTracking());
}

TEST_F(WndListTest, UpAndDownWrapAroundTheList)
{
    Open(nullptr, "http://a.example/");
    Open(nullptr, "http://b.example/");
    Open(nullptr, "http://c.example/");
    ASSERT_TRUE(ShowFor(theApp.GetActiveGroup()));
    CDrawTabCtrl& list = Popup().GetList();
    list.SetCurSel(0);
    Popup().OnKey(VK_UP);
    EXPECT_EQ(2, list.GetCurSel());
    Popup().OnKey(VK_DOWN);
    EXPECT_EQ(0, list.GetCurSel());
}

TEST_F(WndListTest, EnterActivatesTheChosenPageInItsGroupButNotAClosedOne)
{
    CTabItem* a = Open(nullptr, "http://a.example/");
    CTabGroup* first = theApp.GetActiveGroup();
    CTabGroup* second = theApp.OpenUrlInNewGroup("http://b.example/", 0, 0);
    Pump();
    ASSERT_EQ(second, theApp.GetActiveGroup());
    ASSERT_TRUE(ShowFor(first));
    Popup().GetList().SetCurSel(0);
    Popup().ActivateSelection();
    Pump();
    EXPECT_EQ(first, theApp.GetActiveGroup());
    EXPECT_EQ(a, m_frame->GetActiveTab());

    // A page that left its group meanwhile is not activated.
    ASSERT_TRUE(ShowFor(first));
    Popup().GetList().SetCurSel(0);
    first->m_tabs.clear();
    m_frame->ActivateGroup(second);
    Popup().ActivateSelection();
    EXPECT_EQ(second, theApp.GetActiveGroup());
    first->m_tabs.push_back(a);
}

TEST_F(WndListTest, ClosingTheFrameWhileTheListTracksEndsItsLoopWithTheFrame)
{
    Open(nullptr, "http://a.example/");
    Open(nullptr, "http://b.example/");
    CTabGroup* group = theApp.GetActiveGroup();
    const HWND frame = m_frame->m_hWnd;
    m_frame->SetForegroundWindow();
    ::SetTimer(nullptr, 0, 10, CloseFrame);
    EXPECT_TRUE(m_frame->ShowGroupTabPopup(group, m_frame->m_pGroupTabBar->FindGroup(group)));
    m_frame = nullptr;  // deleted with its window
    EXPECT_FALSE(::IsWindow(frame));
}

} // namespace
