// Sizing docking bars on a test frame: edges towards row neighbours, size
// tracking, the gripper's buttons, docking by double click and dragging by
// the gripper.
#include <gtest/gtest.h>

#include <vector>

#include "bars/SizingControlBar.h"
#include "framework/frame/DockBar.h"
#include "framework/frame/FrameWnd.h"
#include "shared/AppSettings.h"

namespace {

class SizingBarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pFrame = new CFrameWnd;
        ASSERT_TRUE(m_pFrame->Create(nullptr, "panes", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 700, 500)));
        m_hFrame = m_pFrame->m_hWnd;
        ASSERT_TRUE(m_a.Create("A", m_pFrame, CSize(150, 80), 0xE830));
        ASSERT_TRUE(m_b.Create("B", m_pFrame, CSize(120, 80), 0xE831));
        m_a.EnableDocking(CBRS_ALIGN_ANY);
        m_b.EnableDocking(CBRS_ALIGN_ANY);
        m_a.m_closeCommand = 33100;
        m_pFrame->EnableDocking(CBRS_ALIGN_ANY);
    }
    void TearDown() override
    {
        if (::IsWindow(m_hFrame))
            ::DestroyWindow(m_hFrame);
    }
    // The frame asks its bars to recompute their non-client areas.
    void Refresh(CWnd& bar)
    {
        ::SetWindowPos(bar.m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    }
    LPARAM ScreenPoint(CWnd& bar, int dx, int dy, bool fromRight)
    {
        CRect rc;
        bar.GetWindowRect(&rc);
        return MAKELPARAM(fromRight ? rc.right - dx : rc.left + dx, rc.top + dy);
    }

    // Presses the gripper 10 pixels from its start (away from the
    // buttons at its far end) and drags it to each screen point in turn,
    // by messages posted to the bar, not by the shared pointer.
    void DragByGripper(CSizingControlBarG& bar, const std::vector<CPoint>& moves)
    {
        CPoint press(ScreenPoint(bar, 10, 6, false));
        ASSERT_EQ(HTCLIENT, bar.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(press.x, press.y)));
        for (size_t i = 0; i < moves.size(); ++i) {
            CPoint pt = moves[i];
            bar.ScreenToClient(&pt);
            bar.PostMessage(i + 1 < moves.size() ? WM_MOUSEMOVE : WM_LBUTTONUP, i + 1 < moves.size() ? MK_LBUTTON : 0,
                            MAKELPARAM(pt.x, pt.y));
        }
        bar.ScreenToClient(&press);
        EXPECT_LT(press.y, 0);  // the gripper lies above the client area
        bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(press.x, press.y));
        m_pFrame->RecalcLayout();
    }
    CRect FrameClient()
    {
        CRect rc;
        m_pFrame->GetClientRect(&rc);
        m_pFrame->ClientToScreen(&rc);
        return rc;
    }

    CFrameWnd* m_pFrame = nullptr;
    HWND m_hFrame = nullptr;
    CSizingControlBarG m_a, m_b;
};

TEST_F(SizingBarTest, ABarAloneInItsRowHasNoSizingEdges)
{
    m_pFrame->DockControlBar(&m_a, AFX_IDW_DOCKBAR_LEFT);
    m_pFrame->RecalcLayout();
    Refresh(m_a);
    EXPECT_EQ(0u, m_a.GetEdgeMask());
    EXPECT_EQ(static_cast<UINT>(AFX_IDW_DOCKBAR_LEFT), m_a.GetDockBarId());
    EXPECT_EQ(HTCLIENT, m_a.SendMessage(WM_NCHITTEST, 0, ScreenPoint(m_a, 1, 40, true)));
}

TEST_F(SizingBarTest, NeighboursInARowGetEdgesTowardsEachOtherAndTheEdgeSizes)
{
    m_pFrame->DockControlBar(&m_a, AFX_IDW_DOCKBAR_TOP);
    m_pFrame->DockControlBar(&m_b, AFX_IDW_DOCKBAR_TOP, 0);
    m_pFrame->RecalcLayout();
    Refresh(m_a);
    Refresh(m_b);
    EXPECT_EQ(static_cast<DWORD>(CSizingControlBar::kEdgeRight), m_a.GetEdgeMask());
    EXPECT_EQ(static_cast<DWORD>(CSizingControlBar::kEdgeLeft), m_b.GetEdgeMask());
    LPARAM edge = ScreenPoint(m_a, 1, 40, true);
    ASSERT_EQ(HTRIGHT, m_a.SendMessage(WM_NCHITTEST, 0, edge));

    // Dragging the right edge 20 pixels widens the bar by as much.
    m_a.SendMessage(WM_NCLBUTTONDOWN, HTRIGHT, edge);
    EXPECT_TRUE(m_a.IsTracking());
    CPoint to(GET_X_LPARAM(edge) + 20, GET_Y_LPARAM(edge));
    m_a.ScreenToClient(&to);
    m_a.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
    m_a.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    EXPECT_FALSE(m_a.IsTracking());
    EXPECT_EQ(170, m_a.CalcFixedLayout(FALSE, TRUE).cx);
}

TEST_F(SizingBarTest, GripperButtonsDockAndPostTheirCommands)
{
    m_pFrame->DockControlBar(&m_a, AFX_IDW_DOCKBAR_TOP);
    m_pFrame->RecalcLayout();
    m_a.SendMessage(WM_NCLBUTTONUP, CSizingControlBarG::kHitDockLeft, 0);
    m_pFrame->RecalcLayout();
    EXPECT_EQ(static_cast<UINT>(AFX_IDW_DOCKBAR_LEFT), m_a.GetDockBarId());
    m_a.SendMessage(WM_NCLBUTTONUP, CSizingControlBarG::kHitClose, 0);
    MSG msg = {};
    ASSERT_TRUE(::PeekMessageA(&msg, m_a.m_hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(33100u, LOWORD(msg.wParam));
    // A release elsewhere on the caption does nothing.
    m_a.SendMessage(WM_NCLBUTTONUP, HTCAPTION, 0);
    EXPECT_EQ(static_cast<UINT>(AFX_IDW_DOCKBAR_LEFT), m_a.GetDockBarId());
}

TEST_F(SizingBarTest, ADoubleClickFloatsItAndAnotherDocksItBack)
{
    m_pFrame->DockControlBar(&m_a, AFX_IDW_DOCKBAR_RIGHT);
    m_pFrame->RecalcLayout();
    m_a.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 20));
    EXPECT_EQ(0u, m_a.GetDockBarId());
    EXPECT_TRUE(m_a.GetBarStyle() & CBRS_FLOATING);
    EXPECT_EQ(HTCLIENT, m_a.SendMessage(WM_NCHITTEST, 0, ScreenPoint(m_a, 1, 20, true)));
    m_a.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 20));
    EXPECT_EQ(static_cast<UINT>(AFX_IDW_DOCKBAR_RIGHT), m_a.GetDockBarId());
    // Closing does nothing: the bar is hidden by its commands.
    m_a.SendMessage(WM_CLOSE);
    EXPECT_TRUE(m_a.IsWindow());
}

TEST_F(SizingBarTest, TheGripperDragsTheBarToAnotherSideOutToFloatAndBack)
{
    m_pFrame->DockControlBar(&m_a, AFX_IDW_DOCKBAR_LEFT);
    m_pFrame->RecalcLayout();
    const CRect client = FrameClient();
    const int middleY = (client.top + client.bottom) / 2;
    DragByGripper(m_a, {CPoint(client.left + 200, middleY), CPoint(client.right - 2, middleY),
                        CPoint(client.right - 2, middleY)});
    EXPECT_EQ(static_cast<UINT>(AFX_IDW_DOCKBAR_RIGHT), m_a.GetDockBarId());
    CRect rc;
    m_a.GetWindowRect(&rc);
    EXPECT_EQ(client.right, rc.right);

    // Out in the middle it floats; its gripper brings it back to the left.
    const CPoint middle((client.left + client.right) / 2, middleY);
    DragByGripper(m_a, {middle, middle});
    EXPECT_EQ(0u, m_a.GetDockBarId());
    EXPECT_TRUE(m_a.GetBarStyle() & CBRS_FLOATING);
    m_a.GetWindowRect(&rc);
    EXPECT_EQ(CPoint(middle.x - 10, middle.y - 6), rc.TopLeft());
    DragByGripper(m_a, {CPoint(client.left + 2, middleY), CPoint(client.left + 2, middleY)});
    EXPECT_EQ(static_cast<UINT>(AFX_IDW_DOCKBAR_LEFT), m_a.GetDockBarId());
    EXPECT_FALSE(m_a.GetBarStyle() & CBRS_FLOATING);
}

TEST_F(SizingBarTest, ABarInNoDockBarTakesAPressAsAPlainWindow)
{
    // m_b was never docked: the press starts no drag, so the release
    // posted after it changes nothing either.
    CPoint at(20, 20);
    m_b.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(300, 300));
    m_b.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_EQ(m_hFrame, ::GetParent(m_b.m_hWnd));
    MSG msg;
    EXPECT_TRUE(::PeekMessageA(&msg, m_b.m_hWnd, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE));
}

TEST_F(SizingBarTest, PanesWithoutTheirDialogsStayEmpty)
{
    CDockBarB pane;
    ASSERT_TRUE(pane.Create("B", m_pFrame, CSize(100, 100), 0xE832));
    EXPECT_EQ(nullptr, ::GetWindow(pane.m_hWnd, GW_CHILD));
    AppSettings().iDocFavMode = 2;
    CFavoritesBar favorites;
    ASSERT_TRUE(favorites.Create("F", m_pFrame, CSize(100, 100), 0xE833));
    EXPECT_EQ(nullptr, ::GetWindow(favorites.m_hWnd, GW_CHILD));
}

} // namespace
