// Docking: dock bars along the frame's sides, rows of bars, floating and
// docking again.
#include <gtest/gtest.h>

#include "framework/app/WinApp.h"
#include "framework/frame/DockBar.h"
#include "framework/frame/FrameWnd.h"

namespace {

const UINT kPaneBarA = 0xE820;
const UINT kPaneBarB = 0xE821;

class DockingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pFrame = new CFrameWnd;
        ASSERT_TRUE(m_pFrame->Create(nullptr, "dock", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 600, 400)));
        m_hFrame = m_pFrame->m_hWnd;
        ASSERT_TRUE(m_a.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, kPaneBarA, 30));
        ASSERT_TRUE(m_b.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, kPaneBarB, 20));
        ASSERT_TRUE(m_pane.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), m_pFrame, AFX_IDW_PANE_FIRST));
        m_a.EnableDocking(CBRS_ALIGN_ANY);
        m_b.EnableDocking(CBRS_ALIGN_ANY);
        m_pFrame->EnableDocking(CBRS_ALIGN_ANY);
    }
    void TearDown() override
    {
        if (::IsWindow(m_hFrame))
            ::DestroyWindow(m_hFrame);
    }
    CRect PaneRect()
    {
        CRect rc;
        m_pane.GetWindowRect(&rc);
        m_pFrame->ScreenToClient(&rc);
        return rc;
    }

    CWinApp m_app;
    CFrameWnd* m_pFrame = nullptr;
    HWND m_hFrame = nullptr;
    CControlBar m_a, m_b;
    CWnd m_pane;
};

TEST_F(DockingTest, EnableDockingMakesADockBarPerSide)
{
    for (UINT id : {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT, AFX_IDW_DOCKBAR_BOTTOM})
        EXPECT_NE(nullptr, dynamic_cast<CDockBar*>(m_pFrame->GetControlBar(id))) << id;
}

TEST_F(DockingTest, BarsInOneRowShareItsThicknessAndANewRowAddsIts)
{
    m_pFrame->DockControlBar(&m_a, AFX_IDW_DOCKBAR_TOP);
    m_pFrame->DockControlBar(&m_b, AFX_IDW_DOCKBAR_TOP, 0);
    m_pFrame->RecalcLayout();
    EXPECT_EQ(30, PaneRect().top);
    CDockBar* top = dynamic_cast<CDockBar*>(m_pFrame->GetControlBar(AFX_IDW_DOCKBAR_TOP));
    ASSERT_NE(nullptr, top);
    EXPECT_EQ(1, top->GetRowCount());
    EXPECT_EQ(top->m_hWnd, ::GetParent(m_b.m_hWnd));

    m_pFrame->DockControlBar(&m_b, AFX_IDW_DOCKBAR_TOP);  // its own row
    m_pFrame->RecalcLayout();
    EXPECT_EQ(2, top->GetRowCount());
    EXPECT_EQ(50, PaneRect().top);
}

TEST_F(DockingTest, ASideBarTakesItsWidthFromTheLeft)
{
    m_pFrame->DockControlBar(&m_a, AFX_IDW_DOCKBAR_LEFT);
    m_pFrame->RecalcLayout();
    EXPECT_EQ(30, PaneRect().left);
    EXPECT_TRUE(m_a.GetBarStyle() & CBRS_ALIGN_LEFT);
}

TEST_F(DockingTest, FloatingAndTogglingBack)
{
    m_pFrame->ShowControlBar(&m_b, FALSE, FALSE);
    m_pFrame->DockControlBar(&m_a, AFX_IDW_DOCKBAR_TOP);
    m_pFrame->RecalcLayout();
    m_pFrame->FloatControlBar(&m_a, CPoint(100, 100));
    m_pFrame->RecalcLayout();
    EXPECT_TRUE(m_a.GetBarStyle() & CBRS_FLOATING);
    EXPECT_EQ(0, PaneRect().top);
    HWND hMini = ::GetParent(::GetParent(m_a.m_hWnd));
    EXPECT_EQ(m_hFrame, ::GetWindow(hMini, GW_OWNER));
    EXPECT_TRUE(::IsWindowVisible(hMini));

    m_pFrame->ToggleDocking(&m_a);
    m_pFrame->RecalcLayout();
    EXPECT_FALSE(m_a.GetBarStyle() & CBRS_FLOATING);
    EXPECT_EQ(30, PaneRect().top);
    EXPECT_FALSE(::IsWindowVisible(hMini));
}

} // namespace
