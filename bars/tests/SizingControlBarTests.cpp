// Sizing docking bars on a test frame: edges towards row neighbours, size
// tracking, the gripper's buttons, docking by double click and dragging by
// the gripper.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bars/SizingControlBar.h"
#include "framework/frame/DockBar.h"
#include "framework/frame/FrameWnd.h"
#include "shared/AppSettings.h"
#include "tests/support/WindowCapture.h"

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

// Along a row: the dock's length, taken by the bar's own and the bars after.
int LengthAlong(CSizingControlBar& bar, bool horizontal)
{
    CRect rc;
    bar.GetWindowRect(&rc);
    return horizontal ? rc.Width() : rc.Height();
}

TEST_F(SizingBarTest, TheLastBarOfARowFillsTheDockAndTheEdgeBetweenTwoMovesBoth)
{
    struct
    {
        UINT dock;
        bool horizontal;
        UINT leadingEdge;  // of the second bar, towards the first
    } const cases[] = {
        {AFX_IDW_DOCKBAR_LEFT, false, HTTOP},
        {AFX_IDW_DOCKBAR_TOP, true, HTLEFT},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dock);
        m_pFrame->DockControlBar(&m_a, c.dock);
        m_pFrame->RecalcLayout();
        const auto dockLength = [&] {
            CRect dock;
            ::GetClientRect(::GetParent(m_a.m_hWnd), &dock);
            return c.horizontal ? dock.Width() : dock.Height();
        };
        EXPECT_EQ(dockLength(), LengthAlong(m_a, c.horizontal));

        // A second bar in the row: the first keeps its size (150 across a
        // top dock, 80 down a side), the second takes the rest.
        m_pFrame->DockControlBar(&m_b, c.dock, 0);
        m_pFrame->RecalcLayout();
        Refresh(m_b);
        const int length = dockLength();
        const int first = c.horizontal ? 150 : 80;
        EXPECT_EQ(first, LengthAlong(m_a, c.horizontal));
        EXPECT_EQ(length - first, LengthAlong(m_b, c.horizontal));
        // Beside the narrower one the dock bar shows the face colour.
        HWND dock = ::GetParent(m_a.m_hWnd);
        ::RedrawWindow(dock, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        const WindowCapture shot = CaptureWindow(dock);
        const CRect inA = WindowRectIn(dock, m_a.m_hWnd), inB = WindowRectIn(dock, m_b.m_hWnd);
        int unpainted = 0;
        for (int y = 0; y < shot.nHeight; ++y)
            for (int x = 0; x < shot.nWidth; ++x)
                if (!inA.PtInRect(CPoint(x, y)) && !inB.PtInRect(CPoint(x, y)) && shot.At(x, y) != ::GetSysColor(COLOR_BTNFACE))
                    ++unpainted;
        EXPECT_EQ(0, unpainted);

        // Dragging the second bar's leading edge 20 pixels on gives the
        // first 20 more, the second 20 less.
        CRect b;
        m_b.GetWindowRect(&b);
        const CPoint edge = c.horizontal ? CPoint(b.left + 1, b.top + 30) : CPoint(b.left + 30, b.top + 1);
        ASSERT_EQ(static_cast<LRESULT>(c.leadingEdge), m_b.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(edge.x, edge.y)));
        m_b.SendMessage(WM_NCLBUTTONDOWN, c.leadingEdge, MAKELPARAM(edge.x, edge.y));
        CPoint to = c.horizontal ? CPoint(edge.x + 20, edge.y) : CPoint(edge.x, edge.y + 20);
        m_b.ScreenToClient(&to);
        m_b.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
        m_b.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
        m_pFrame->RecalcLayout();
        EXPECT_EQ(first + 20, LengthAlong(m_a, c.horizontal));
        EXPECT_EQ(length - first - 20, LengthAlong(m_b, c.horizontal));

        // Back out of the way for the next side.
        m_pFrame->FloatControlBar(&m_a, CPoint(50, 50));
        m_pFrame->FloatControlBar(&m_b, CPoint(60, 60));
        m_a.SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    }
}

// The gripper's buttons: close, the second one only for a bar with a second
// command, and the four sides, each in its own 11 x 11 square of the strip
// with a glyph of its own; across a side dock's top, or down the strip of a
// top dock.
TEST_F(SizingBarTest, EachGripperButtonStandsInTheStripWithAGlyphOfItsOwn)
{
    using Bar = CSizingControlBarG;
    struct
    {
        UINT dock;
        UINT secondCommand;
        bool sideStrip;
    } const cases[] = {
        {AFX_IDW_DOCKBAR_LEFT, 0, false},
        {AFX_IDW_DOCKBAR_BOTTOM, 0, true},
        {AFX_IDW_DOCKBAR_LEFT, 33101, false},
        {AFX_IDW_DOCKBAR_TOP, 33101, true},
    };
    const UINT hits[] = {Bar::kHitClose, Bar::kHitCommand, Bar::kHitDockLeft, Bar::kHitDockRight,
                         Bar::kHitDockTop, Bar::kHitDockBottom};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.dock) + " " + std::to_string(c.secondCommand));
        m_a.m_secondCommand = c.secondCommand;
        m_pFrame->DockControlBar(&m_a, c.dock);
        m_pFrame->RecalcLayout();
        Refresh(m_a);
        ::RedrawWindow(m_a.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
        const WindowCapture shot = CaptureWindow(m_a.m_hWnd);
        CRect client;
        m_a.GetClientRect(&client);
        m_a.ClientToScreen(&client);
        CRect window;
        m_a.GetWindowRect(&window);
        client.OffsetRect(-window.left, -window.top);
        const CRect strip = c.sideStrip ? CRect(client.left - Bar::kGripper, client.top, client.left, client.bottom)
                                        : CRect(client.left, client.top - Bar::kGripper, client.right, client.top);
        std::vector<std::vector<bool>> glyphs;
        for (int i = 0; i < Bar::kButtonCount; ++i) {
            const CRect rect = m_a.GetButtonRect(static_cast<Bar::Button>(i));
            if (hits[i] == Bar::kHitCommand && c.secondCommand == 0) {
                EXPECT_TRUE(rect.IsRectEmpty());
                continue;
            }
            SCOPED_TRACE(hits[i]);
            EXPECT_EQ(CSize(Bar::kButton, Bar::kButton), rect.Size());
            CRect inside;
            EXPECT_TRUE(::IntersectRect(&inside, &rect, &strip) && inside == rect);
            EXPECT_EQ(hits[i], m_a.HitButton(CPoint(rect.left + 5, rect.top + 5)));
            std::vector<bool> glyph;
            for (int y = rect.top + 1; y < rect.bottom - 1; ++y)
                for (int x = rect.left + 1; x < rect.right - 1; ++x)
                    glyph.push_back(shot.At(x, y) == ::GetSysColor(COLOR_BTNTEXT));
            EXPECT_NE(std::vector<bool>(glyph.size(), false), glyph);
            for (const auto& other : glyphs)
                EXPECT_NE(other, glyph);
            glyphs.push_back(glyph);
        }
        EXPECT_EQ(c.secondCommand != 0 ? 6u : 5u, glyphs.size());
        WriteBitmap(ArtifactFolder("VA_BARS_ARTIFACTS") + "/sizing-bar-gripper-" + std::to_string(c.dock) + ".bmp", shot);
    }
    // The second button posts its command.
    m_a.SendMessage(WM_NCLBUTTONUP, Bar::kHitCommand, 0);
    MSG msg = {};
    ASSERT_TRUE(::PeekMessageA(&msg, m_a.m_hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(33101u, LOWORD(msg.wParam));
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
