// The tab button over the tab under the mouse: its faces, and what a click
// on it closes, opens or gives back to the tab bar.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/MainFrame.h"
#include "app/VantorelApp.h"
#include "bars/GroupTabBar.h"
#include "bars/PageTabBar.h"
#include "tab/TabGroup.h"
#include "tab/TabItem.h"
#include "app/tests/TabFixture.h"

namespace {

class TabButtonTest : public TabTest
{
protected:
    CTabCloseButton& Button() { return m_frame->m_wndTabButton; }
    // The button over item index of the bar, as the frame lays it.
    void PlaceOver(CTabBarCtrl& bar, int index, bool twoPart)
    {
        CRect rc;
        bar.GetItemRect(index, &rc);
        ::MapWindowPoints(bar.m_hWnd, m_frame->m_hWnd, reinterpret_cast<LPPOINT>(&rc), 2);
        Button().Place(rc, twoPart);
    }
    // A press on the bar at item index (dx from its left edge), released
    // at the cursor's place.
    MSG PressOn(CTabBarCtrl& bar, int index, int dx)
    {
        CRect rc;
        bar.GetItemRect(index, &rc);
        MSG down = {bar.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rc.left + dx, rc.top + 3), 0, {0, 0}};
        return down;
    }
};

TEST_F(TabButtonTest, FacesFollowThePointerAndThePress)
{
    Open(nullptr, "http://a.example/");
    PlaceOver(*m_frame->m_pGroupTabBar, 0, true);
    int first = 0, second = 0;
    Button().GetFaces(CPoint(-5, -5), false, first, second);
    EXPECT_EQ(CTabCloseButton::kMenu, first);
    EXPECT_EQ(CTabCloseButton::kClose, second);
    Button().GetFaces(CPoint(3, 3), true, first, second);
    EXPECT_EQ(CTabCloseButton::kMenuPressed, first);
    Button().GetFaces(CPoint(20, 3), false, first, second);
    EXPECT_EQ(CTabCloseButton::kMenu, first);
    EXPECT_EQ(CTabCloseButton::kCloseHot, second);
    PlaceOver(*m_frame->m_pPageTabBar, 0, false);
    Button().GetFaces(CPoint(3, 3), false, first, second);
    EXPECT_EQ(CTabCloseButton::kCloseHot, first);
    EXPECT_EQ(-1, second);
}

TEST_F(TabButtonTest, AClickOnAPageTabClosesThatPageOnce)
{
    Open(nullptr, "http://a.example/");
    CTabItem* b = Open(nullptr, "http://b.example/");
    CPageTabBar& pages = *m_frame->m_pPageTabBar;
    PlaceOver(pages, 1, false);
    MSG down = PressOn(pages, 1, 3);
    b->m_closeReason = kCloseClosing;  // already going: not closed twice
    EXPECT_EQ(1, Button().OnClick(down));
    Pump();
    EXPECT_TRUE(::IsWindow(b->m_hFrame));
    b->m_closeReason = kCloseNone;
    PlaceOver(pages, 1, false);
    HWND frame = b->m_hFrame;
    EXPECT_EQ(1, Button().OnClick(down));
    Pump();
    EXPECT_FALSE(::IsWindow(frame));
    EXPECT_FALSE(Button().IsWindowVisible());
}

TEST_F(TabButtonTest, TheRightPartOfAGroupButtonClosesTheGroup)
{
    Open(nullptr, "http://a.example/");
    theApp.OpenUrlInNewGroup("http://b.example/", 0, 0);
    Pump();
    CGroupTabBar& groups = *m_frame->m_pGroupTabBar;
    PlaceOver(groups, 0, true);
    EXPECT_EQ(1, Button().OnClick(PressOn(groups, 0, 20)));
    Pump();
    EXPECT_EQ(1, theApp.GetGroupCount());
    MSG elsewhere = {m_frame->m_hWnd, WM_LBUTTONDOWN, 0, 0, 0, {0, 0}};
    EXPECT_EQ(0, Button().OnClick(elsewhere));
}

TEST_F(TabButtonTest, ReleasingOffTheTabClosesNothingAndTheBarGetsTheButtonUp)
{
    Open(nullptr, "http://a.example/");
    CTabItem* b = Open(nullptr, "http://b.example/");
    CPageTabBar& pages = *m_frame->m_pPageTabBar;
    PlaceOver(pages, 1, false);
    MSG down = PressOn(pages, 1, 3);
    ::PostMessageA(Button().m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(5, 300));  // dragged off
    EXPECT_FALSE(Button().TrackClick(down));
    EXPECT_TRUE(::IsWindow(b->m_hFrame));
    MSG msg = {};
    EXPECT_TRUE(::PeekMessageA(&msg, pages.m_hWnd, WM_LBUTTONUP, WM_LBUTTONUP, PM_REMOVE));
    EXPECT_EQ(down.lParam, msg.lParam);

    ::PostMessageA(Button().m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    HWND frame = b->m_hFrame;
    EXPECT_TRUE(Button().TrackClick(down));
    Pump();
    EXPECT_FALSE(::IsWindow(frame));
}

} // namespace
