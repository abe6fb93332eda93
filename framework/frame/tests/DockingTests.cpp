// Docking: dock bars along the frame's sides, rows of bars, floating and
// docking again, and dragging a bar with the mouse.
#include <gtest/gtest.h>

#include <vector>

#include "framework/app/WinApp.h"
#include "framework/frame/DockBar.h"
#include "framework/frame/DockContext.h"
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

TEST_F(DockingTest, AFloatingFrameTakesItsBarsTextAsItsCaption)
{
    m_a.SetWindowText("\x82\xa8\x8b\x43\x82\xc9\x93\xfc\x82\xe8");
    m_pFrame->FloatControlBar(&m_a, CPoint(100, 100));
    HWND hMini = ::GetParent(::GetParent(m_a.m_hWnd));
    char caption[32] = {};
    ::GetWindowTextA(hMini, caption, sizeof(caption));
    EXPECT_STREQ("\x82\xa8\x8b\x43\x82\xc9\x93\xfc\x82\xe8", caption);
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

//--- Dragging with the mouse

// A bar 80 x 30 along a top or bottom side, 30 x 80 along the others.
class CShapedBar : public CControlBar
{
public:
    CSize CalcFixedLayout(BOOL, BOOL bHorz) override { return bHorz ? CSize(80, 30) : CSize(30, 80); }
};

// The drags below are driven by messages posted to the bar before the drag
// starts, never by the shared pointer.
class DockDragTest : public DockingTest
{
protected:
    void SetUp() override
    {
        DockingTest::SetUp();
        m_pFrame->ShowControlBar(&m_a, FALSE, FALSE);
        m_pFrame->ShowControlBar(&m_b, FALSE, FALSE);
        ASSERT_TRUE(m_bar.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, kPaneBarA + 2, 30));
        m_bar.EnableDocking(CBRS_ALIGN_ANY);
        m_pFrame->DockControlBar(&m_bar, AFX_IDW_DOCKBAR_TOP);
        m_pFrame->RecalcLayout();
        ::GetClientRect(m_hFrame, &m_client);
        ::MapWindowPoints(m_hFrame, nullptr, reinterpret_cast<POINT*>(&m_client), 2);
    }
    CRect BarRect(CWnd& bar)
    {
        CRect rc;
        bar.GetWindowRect(&rc);
        return rc;
    }
    // A press 5 pixels into the bar.
    CPoint Press(CWnd& bar) { return CPoint(BarRect(bar).left + 5, BarRect(bar).top + 5); }
    void Post(UINT message, WPARAM keys, CPoint screen)
    {
        ::ScreenToClient(m_bar.m_hWnd, &screen);
        ::PostMessageA(m_bar.m_hWnd, message, keys, MAKELPARAM(screen.x, screen.y));
    }
    // Moves through the points with the button held, then lets it go at
    // the last one.
    void Drag(CPoint press, const std::vector<CPoint>& moves, WPARAM keys = 0)
    {
        for (const CPoint& pt : moves)
            Post(WM_MOUSEMOVE, MK_LBUTTON | keys, pt);
        Post(WM_LBUTTONUP, keys, moves.back());
        CDockContext(&m_bar).StartDrag(press);
        m_pFrame->RecalcLayout();
    }
    UINT DockIdOfBar() { return static_cast<UINT>(::GetDlgCtrlID(::GetParent(m_bar.m_hWnd))); }
    HWND FloatingFrameOfBar() { return ::GetParent(::GetParent(m_bar.m_hWnd)); }
    CPoint Middle() { return CPoint((m_client.left + m_client.right) / 2, (m_client.top + m_client.bottom) / 2); }
    void Drain()
    {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageA(&msg);
    }

    CShapedBar m_bar;
    CRect m_client;  // the frame's client area on the screen
};

TEST_F(DockDragTest, TheTrackingRectangleTakesTheShapeOfTheSideThePointerIsAtOrFloats)
{
    CRect bar = BarRect(m_bar);
    CPoint press = Press(m_bar);
    CDockContext context(&m_bar);
    context.BeginDrag(press);
    CRect rect;
    // Along its own side it stays there, moved with the pointer.
    EXPECT_EQ(static_cast<UINT>(AFX_IDW_DOCKBAR_TOP), context.CalcDrop(CPoint(press.x + 40, press.y), false, &rect));
    EXPECT_EQ(CRect(bar.left + 40, bar.top, bar.right + 40, bar.bottom), rect);
    // Against the empty left side (below the top row).
    CPoint left(m_client.left + 2, Middle().y);
    EXPECT_EQ(static_cast<UINT>(AFX_IDW_DOCKBAR_LEFT), context.CalcDrop(left, false, &rect));
    EXPECT_EQ(CRect(CPoint(left.x - 5, left.y - 5), CSize(30, 80)), rect);
    EXPECT_EQ(static_cast<UINT>(AFX_IDW_DOCKBAR_RIGHT),
              context.CalcDrop(CPoint(m_client.right - 2, Middle().y), false, &rect));
    EXPECT_EQ(static_cast<UINT>(AFX_IDW_DOCKBAR_BOTTOM),
              context.CalcDrop(CPoint(Middle().x, m_client.bottom - 2), false, &rect));
    // Away from the sides, or with docking refused (Ctrl), it is the
    // floating frame around the bar.
    CRect floating(CPoint(Middle().x - 5, Middle().y - 5), CSize(80, 30));
    ::AdjustWindowRectEx(&floating, CMiniDockFrameWnd::kStyle, FALSE, CMiniDockFrameWnd::kExStyle);
    EXPECT_EQ(0u, context.CalcDrop(Middle(), false, &rect));
    EXPECT_EQ(floating, rect);
    EXPECT_EQ(0u, context.CalcDrop(left, true, &rect));
    // A side the bar does not allow never takes it.
    m_bar.EnableDocking(CBRS_ALIGN_TOP);
    EXPECT_EQ(0u, context.CalcDrop(left, false, &rect));
    EXPECT_EQ(floating.Size(), rect.Size());
}

TEST_F(DockDragTest, ADropDocksToTheSideFloatsAwayFromThemAndDocksTheFloatingBarAgain)
{
    // To the left side: the pane gives up the bar's width there.
    CPoint left(m_client.left + 2, Middle().y);
    Drag(Press(m_bar), {CPoint(Press(m_bar).x + 20, Press(m_bar).y + 20), left});
    EXPECT_EQ(static_cast<UINT>(AFX_IDW_DOCKBAR_LEFT), DockIdOfBar());
    EXPECT_TRUE(m_bar.GetBarStyle() & CBRS_ALIGN_LEFT);
    EXPECT_EQ(30, PaneRect().left);
    EXPECT_EQ(0, PaneRect().top);

    // Into the middle: it floats with the press point under the pointer.
    Drag(Press(m_bar), {Middle()});
    EXPECT_TRUE(m_bar.GetBarStyle() & CBRS_FLOATING);
    EXPECT_EQ(CPoint(Middle().x - 5, Middle().y - 5), BarRect(m_bar).TopLeft());
    EXPECT_TRUE(::IsWindowVisible(FloatingFrameOfBar()));
    EXPECT_EQ(0, PaneRect().left);

    // A floating bar moves with its frame.
    HWND hFloating = FloatingFrameOfBar();
    CPoint from = Press(m_bar);
    Drag(from, {CPoint(from.x + 30, from.y + 10)});
    EXPECT_EQ(hFloating, FloatingFrameOfBar());
    EXPECT_EQ(CPoint(from.x + 25, from.y + 5), BarRect(m_bar).TopLeft());

    // Dropped on the top side it docks there again, its frame gone.
    Drag(Press(m_bar), {CPoint(Middle().x, m_client.top + 2)});
    EXPECT_EQ(static_cast<UINT>(AFX_IDW_DOCKBAR_TOP), DockIdOfBar());
    EXPECT_FALSE(m_bar.GetBarStyle() & CBRS_FLOATING);
    EXPECT_FALSE(::IsWindow(hFloating));
    EXPECT_EQ(30, PaneRect().top);
}

TEST_F(DockDragTest, CtrlFloatsTheBarWhereItWouldDock)
{
    Drag(Press(m_bar), {CPoint(m_client.left + 2, Middle().y)}, MK_CONTROL);
    EXPECT_TRUE(m_bar.GetBarStyle() & CBRS_FLOATING);
}

TEST_F(DockDragTest, AClickOrACancelledDragLeavesTheBarWhereItWas)
{
    // A floating frame lying over the top side: a click on it must not
    // dock it.
    m_pFrame->FloatControlBar(&m_bar, Middle());
    HWND hFloating = FloatingFrameOfBar();
    CRect frame;
    ::GetWindowRect(hFloating, &frame);
    ::SetWindowPos(hFloating, nullptr, frame.left, frame.top + m_client.top - 10 - BarRect(m_bar).top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    CRect before = BarRect(m_bar);
    CPoint nudge(Press(m_bar).x + 1, Press(m_bar).y);
    CDockContext probe(&m_bar);
    probe.BeginDrag(Press(m_bar));
    CRect rect;
    ASSERT_EQ(static_cast<UINT>(AFX_IDW_DOCKBAR_TOP), probe.CalcDrop(nudge, false, &rect));
    Drag(Press(m_bar), {nudge});
    EXPECT_TRUE(m_bar.GetBarStyle() & CBRS_FLOATING);
    EXPECT_EQ(before, BarRect(m_bar));
    EXPECT_EQ(nullptr, ::GetCapture());
    // Nor does a move without the button held (the shared pointer moved by
    // something else) make it a drag.
    Post(WM_MOUSEMOVE, 0, Middle());
    Drag(Press(m_bar), {nudge});
    EXPECT_EQ(hFloating, FloatingFrameOfBar());
    EXPECT_EQ(before, BarRect(m_bar));

    // Esc, the right button and a capture taken away each cancel.
    CPoint left(m_client.left + 2, Middle().y);
    Post(WM_MOUSEMOVE, MK_LBUTTON, left);
    ::PostMessageA(m_hFrame, WM_KEYDOWN, VK_ESCAPE, 0);
    Post(WM_LBUTTONUP, 0, left);
    CDockContext(&m_bar).StartDrag(Press(m_bar));
    Drain();
    EXPECT_EQ(hFloating, FloatingFrameOfBar());

    Post(WM_MOUSEMOVE, MK_LBUTTON, left);
    Post(WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, left);
    Post(WM_LBUTTONUP, 0, left);
    CDockContext(&m_bar).StartDrag(Press(m_bar));
    Drain();
    EXPECT_EQ(hFloating, FloatingFrameOfBar());

    Post(WM_MOUSEMOVE, MK_LBUTTON, left);
    ::PostMessageA(m_bar.m_hWnd, WM_CANCELMODE, 0, 0);
    Post(WM_LBUTTONUP, 0, left);
    CDockContext(&m_bar).StartDrag(Press(m_bar));
    Drain();
    EXPECT_EQ(hFloating, FloatingFrameOfBar());
    EXPECT_EQ(before, BarRect(m_bar));
}

TEST_F(DockDragTest, AQuitDuringTheDragEndsItAndReachesTheOuterLoop)
{
    Post(WM_MOUSEMOVE, MK_LBUTTON, CPoint(m_client.left + 2, Middle().y));
    ::PostQuitMessage(7);
    CDockContext(&m_bar).StartDrag(Press(m_bar));
    EXPECT_EQ(static_cast<UINT>(AFX_IDW_DOCKBAR_TOP), DockIdOfBar());
    EXPECT_EQ(nullptr, ::GetCapture());
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(7u, msg.wParam);
}

} // namespace
