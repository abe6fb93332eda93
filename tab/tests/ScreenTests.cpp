// Full screen, the tray icon's messages and the first show's placement.
#include <windows.h>

#include "app/MainFrame.h"
#include "app/VantorelApp.h"
#include "app/resource.h"
#include "bars/GroupTabBar.h"
#include "bars/PageTabBar.h"
#include "shared/FrameMessages.h"
#include "tab/tests/TabFixture.h"

namespace {

WINDOWPLACEMENT PlacementFor(const char* left, const char* top, const char* right, const char* bottom,
                             const char* show)
{
    theApp.m_keyMap.SetAt("left", left);
    theApp.m_keyMap.SetAt("top", top);
    theApp.m_keyMap.SetAt("right", right);
    theApp.m_keyMap.SetAt("bottom", bottom);
    theApp.m_keyMap.SetAt("showCmd", show);
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    CMainFrame::ChooseFirstPlacement(placement);
    return placement;
}

bool Visible(CWnd* bar)
{
    return bar != nullptr && bar->GetSafeHwnd() != nullptr && ::IsWindowVisible(bar->m_hWnd);
}

} // namespace

TEST_F(TabTest, FullScreenKeepingEveryItemChangesOnlyTheFrame)
{
    theApp.m_settings.iFullScreenShowItem = 0xFFFF;
    HMENU menu = ::GetMenu(m_frame->m_hWnd);
    ASSERT_NE(nullptr, menu);
    ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, ID_VIEW_FULLSCREEN, 0);
    EXPECT_NE(0u, m_frame->m_stateWord & kStateFullScreen);
    EXPECT_EQ(menu, ::GetMenu(m_frame->m_hWnd));
    EXPECT_EQ(0, ::GetWindowLongA(m_frame->m_hWnd, GWL_STYLE) & WS_THICKFRAME);
    EXPECT_EQ(0u, m_frame->m_stateWord & kStateHiddenBarsMask);
    ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, ID_VIEW_FULLSCREEN, 0);
    EXPECT_EQ(0u, m_frame->m_stateWord & kStateFullScreen);
    EXPECT_NE(0, ::GetWindowLongA(m_frame->m_hWnd, GWL_STYLE) & WS_THICKFRAME);
}

TEST_F(TabTest, FullScreenHidesWhatItMayAndRestoresOnlyWhatItHid)
{
    Open(nullptr, "http://a.example/");
    theApp.m_settings.iFullScreenShowItem = 0;
    HMENU menu = ::GetMenu(m_frame->m_hWnd);
    ASSERT_TRUE(Visible(m_frame->m_pPageTabBar));
    // The user had hidden the group tab bar before.
    theApp.m_settings.bTabShow_P(false);
    m_frame->RecalcLayout();
    ASSERT_FALSE(Visible(m_frame->m_pGroupTabBar));
    m_frame->SetFullScreen(1);
    EXPECT_EQ(nullptr, ::GetMenu(m_frame->m_hWnd));
    EXPECT_FALSE(Visible(m_frame->m_pPageTabBar));
    EXPECT_EQ(0u, m_frame->m_stateWord & kStateHiddenGroupBar);
    RECT rect = {};
    ::GetWindowRect(m_frame->m_hWnd, &rect);
    EXPECT_EQ(-1, rect.left);
    m_frame->SetFullScreen(0);
    EXPECT_EQ(menu, ::GetMenu(m_frame->m_hWnd));
    EXPECT_TRUE(Visible(m_frame->m_pPageTabBar));
    EXPECT_FALSE(Visible(m_frame->m_pGroupTabBar));
    EXPECT_EQ(0u, m_frame->m_stateWord & (kStateHiddenBarsMask | kStateFullScreen));
}

TEST_F(TabTest, FirstShowPlacementReplacesSmallOffScreenAndHiddenStates)
{
    RECT desktop = {};
    ::GetWindowRect(::GetDesktopWindow(), &desktop);
    WINDOWPLACEMENT small = PlacementFor("10", "10", "309", "810", "1");
    EXPECT_EQ(desktop.left + 60, small.rcNormalPosition.left);
    EXPECT_EQ(desktop.bottom - 60, small.rcNormalPosition.bottom);
    WINDOWPLACEMENT kept = PlacementFor("10", "20", "310", "320", "3");
    EXPECT_EQ(10, kept.rcNormalPosition.left);
    EXPECT_EQ(320, kept.rcNormalPosition.bottom);
    EXPECT_EQ(static_cast<UINT>(SW_SHOWMAXIMIZED), kept.showCmd);
    WINDOWPLACEMENT away = PlacementFor("5000", "5000", "5800", "5600", "1");
    EXPECT_EQ(desktop.left + 60, away.rcNormalPosition.left);
    // Saved hidden or minimised: shown normally.
    EXPECT_EQ(static_cast<UINT>(SW_SHOWNORMAL), PlacementFor("10", "20", "410", "420", "0").showCmd);
    EXPECT_EQ(static_cast<UINT>(SW_SHOWNORMAL), PlacementFor("10", "20", "410", "420", "2").showCmd);
    theApp.m_keyMap.RemoveAll();
}

TEST_F(TabTest, WithTheTrayIconMinimiseAndCloseHideTheWindow)
{
    theApp.m_settings.bTaskTray(true);
    m_frame->m_stateWord |= kStateTrayIcon;
    // Commands carry flags in their low four bits.
    ::SendMessageA(m_frame->m_hWnd, WM_SYSCOMMAND, SC_CLOSE | 0x2, 0);
    ASSERT_TRUE(::IsWindow(m_frame->m_hWnd));
    EXPECT_FALSE(::IsWindowVisible(m_frame->m_hWnd));
    // A click on the icon brings it back; with the setting off the icon goes.
    theApp.m_settings.bTaskTray(false);
    ::SendMessageA(m_frame->m_hWnd, WM_FRAME_TRAYNOTIFY, 12, WM_LBUTTONDOWN);
    EXPECT_TRUE(::IsWindowVisible(m_frame->m_hWnd));
    EXPECT_EQ(0u, m_frame->m_stateWord & kStateTrayIcon);
    // Without the icon, minimising is the ordinary one.
    ::SendMessageA(m_frame->m_hWnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(::IsIconic(m_frame->m_hWnd));
    ::ShowWindow(m_frame->m_hWnd, SW_RESTORE);
}

TEST_F(TabTest, TrayHidesTheTextSearchPopupWithTheWindowAndCloseTakesItDown)
{
    theApp.m_settings.bTaskTray(true);
    m_frame->m_stateWord |= kStateTrayIcon;
    m_frame->ShowTextSearchPopup("word");
    HWND popup = m_frame->GetTextSearchPopupWindow();
    ASSERT_NE(nullptr, popup);
    ::ShowWindow(popup, SW_SHOW);
    ::SendMessageA(m_frame->m_hWnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_FALSE(::IsWindowVisible(popup));
    ::SendMessageA(m_frame->m_hWnd, WM_FRAME_TRAYNOTIFY, 12, WM_LBUTTONDOWN);
    EXPECT_TRUE(::IsWindowVisible(m_frame->m_hWnd));
    EXPECT_TRUE(::IsWindowVisible(popup));
    ::SendMessageA(m_frame->m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(::IsWindow(popup));
    EXPECT_EQ(nullptr, m_frame->m_pHtmlPopup);
    ASSERT_TRUE(::IsWindow(m_frame->m_hWnd));
    ::ShowWindow(m_frame->m_hWnd, SW_SHOW);
}
