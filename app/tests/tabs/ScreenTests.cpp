// Full screen, the tray icon's messages and the first show's placement.
#include <windows.h>

#include "app/MainFrame.h"
#include "app/VantorelApp.h"
#include "bars/GroupTabBar.h"
#include "bars/PageTabBar.h"
#include "shared/AppSettings.h"
#include "shared/CommandIds.h"
#include "shared/FrameMessages.h"
#include "tab/TabItem.h"
#include "app/tests/TabFixture.h"

namespace {

WINDOWPLACEMENT PlacementFor(int left, int top, int right, int bottom, int show)
{
    SettingsRecord& settings = AppSettings();
    settings.left = left;
    settings.top = top;
    settings.right = right;
    settings.bottom = bottom;
    settings.showCmd = static_cast<int16_t>(show);
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
    AppSettings().iFullScreenShowItem = 0xFFFF;
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
    AppSettings().iFullScreenShowItem = 0;
    HMENU menu = ::GetMenu(m_frame->m_hWnd);
    ASSERT_TRUE(Visible(m_frame->m_pPageTabBar));
    // The user had hidden the group tab bar before.
    AppSettings().bTabShow_P(false);
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
    WINDOWPLACEMENT small = PlacementFor(10, 10, 309, 810, 1);
    EXPECT_EQ(desktop.left + 60, small.rcNormalPosition.left);
    EXPECT_EQ(desktop.bottom - 60, small.rcNormalPosition.bottom);
    WINDOWPLACEMENT kept = PlacementFor(10, 20, 310, 320, 3);
    EXPECT_EQ(10, kept.rcNormalPosition.left);
    EXPECT_EQ(320, kept.rcNormalPosition.bottom);
    EXPECT_EQ(static_cast<UINT>(SW_SHOWMAXIMIZED), kept.showCmd);
    WINDOWPLACEMENT away = PlacementFor(5000, 5000, 5800, 5600, 1);
    EXPECT_EQ(desktop.left + 60, away.rcNormalPosition.left);
    // Saved hidden or minimised: shown normally.
    EXPECT_EQ(static_cast<UINT>(SW_SHOWNORMAL), PlacementFor(10, 20, 410, 420, 0).showCmd);
    EXPECT_EQ(static_cast<UINT>(SW_SHOWNORMAL), PlacementFor(10, 20, 410, 420, 2).showCmd);
}

TEST_F(TabTest, WithTheTrayIconMinimiseAndCloseHideTheWindow)
{
    AppSettings().bTaskTray(true);
    m_frame->m_stateWord |= kStateTrayIcon;
    // Commands carry flags in their low four bits.
    ::SendMessageA(m_frame->m_hWnd, WM_SYSCOMMAND, SC_CLOSE | 0x2, 0);
    ASSERT_TRUE(::IsWindow(m_frame->m_hWnd));
    EXPECT_FALSE(::IsWindowVisible(m_frame->m_hWnd));
    // A click on the icon brings it back; with the setting off the icon goes.
    AppSettings().bTaskTray(false);
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
    AppSettings().bTaskTray(true);
    m_frame->m_stateWord |= kStateTrayIcon;
    m_frame->OpenTextSearchPopup("word");
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

TEST_F(TabTest, FullScreenHidesTheBandsItMayAndShowsTheCaptionStripUntilItEnds)
{
    CSizableReBar& rebar = m_frame->m_wndReBar;
    // Only the search band stays; the user had hidden the address band.
    AppSettings().iFullScreenShowItem = 0x8000;
    ASSERT_TRUE(rebar.ShowBand(CAddressCombo::kId, FALSE));
    ASSERT_TRUE(rebar.IsBandVisible(AFX_IDW_TOOLBAR));
    m_frame->m_stateWord |= kStateCaptionPinned;
    ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, ID_VIEW_FULLSCREEN, 0);
    EXPECT_FALSE(rebar.IsBandVisible(AFX_IDW_TOOLBAR));
    EXPECT_TRUE(rebar.IsBandVisible(CSearchBar::kId));
    EXPECT_EQ(static_cast<DWORD>(kStateHiddenToolBar), m_frame->m_stateWord & (kStateHiddenToolBar | kStateHiddenAddress | kStateHiddenSearch));
    ASSERT_NE(nullptr, m_frame->m_pFullScreenBar);
    HWND strip = m_frame->m_pFullScreenBar->GetSafeHwnd();
    ASSERT_TRUE(::IsWindow(strip));
    EXPECT_TRUE(::IsWindowVisible(strip));
    EXPECT_EQ(m_frame->m_hWnd, ::GetWindow(strip, GW_OWNER));
    EXPECT_FALSE(m_frame->m_pFullScreenBar->IsAutoHide());
    // Keys on the strip are the frame's: a held key is swallowed.
    MSG key = {strip, WM_KEYDOWN, VK_F9, 1 | (1 << 30), 0, {0, 0}};
    EXPECT_TRUE(theApp.PreTranslateMessage(&key));

    // Unpinned meanwhile: remembered when full screen ends.
    m_frame->m_pFullScreenBar->SetPinned(false);
    ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, ID_VIEW_FULLSCREEN, 0);
    EXPECT_TRUE(rebar.IsBandVisible(AFX_IDW_TOOLBAR));
    EXPECT_FALSE(rebar.IsBandVisible(CAddressCombo::kId));
    EXPECT_TRUE(rebar.IsBandVisible(CSearchBar::kId));
    EXPECT_EQ(nullptr, m_frame->m_pFullScreenBar);
    EXPECT_FALSE(::IsWindow(strip));
    EXPECT_EQ(0u, m_frame->m_stateWord & (kStateCaptionPinned | kStateHiddenBarsMask));
}

TEST_F(TabTest, RecreatedTabBarsKeepTheirItemsSelectionAndPlace)
{
    Open(nullptr, "http://a.example/");
    CTabItem* b = Open(nullptr, "http://b.example/");
    Open(nullptr, "http://c.example/");
    ::BringWindowToTop(b->m_hFrame);
    Pump();
    ASSERT_EQ(1, BarSelection());
    theApp.OpenUrlInNewGroup("http://d.example/", 0, 0);
    Pump();
    m_frame->ActivateGroup(theApp.m_groups.front());
    Pump();
    HWND oldPages = m_frame->m_pPageTabBar->m_hWnd;
    HWND oldGroups = m_frame->m_pGroupTabBar->m_hWnd;
    m_frame->RecreateGroupTabBar();
    m_frame->RecreateTabBar();
    EXPECT_FALSE(::IsWindow(oldPages));
    EXPECT_FALSE(::IsWindow(oldGroups));
    CGroupTabBar& groups = *m_frame->m_pGroupTabBar;
    ASSERT_TRUE(groups.IsWindow());
    EXPECT_EQ(2, groups.GetItemCount());
    EXPECT_EQ(0, groups.GetCurSel());
    ASSERT_EQ(3, BarCount());
    EXPECT_EQ(b, BarTab(1));
    EXPECT_EQ(1, BarSelection());
    EXPECT_EQ(m_frame->m_pPageTabBar->m_hWnd, ::GetWindow(groups.m_hWnd, GW_HWNDNEXT));
    EXPECT_TRUE(m_frame->m_pPageTabBar->IsWindowVisible());

    // Changed page bar options make only that bar again.
    struct Access : CMainFrame
    {
        using CMainFrame::ApplySettingsChanges;
    };
    const SettingsRecord before(AppSettings());
    AppSettings().bTabImage(!before.bTabImage());
    oldPages = m_frame->m_pPageTabBar->m_hWnd;
    oldGroups = groups.m_hWnd;
    (m_frame->*(&Access::ApplySettingsChanges))(before);
    EXPECT_FALSE(::IsWindow(oldPages));
    EXPECT_EQ(oldGroups, groups.m_hWnd);
    EXPECT_EQ(3, BarCount());
}

// Regression: entering took the maximised state away again, the full-screen
// rectangle became the window's normal one, and leaving kept it.
TEST_F(TabTest, LeavingFullScreenGivesTheWindowItsEarlierPlacementBack)
{
    struct Case
    {
        const char* name;
        bool maximised;
    };
    for (const Case& c : {Case{"normal", false}, Case{"maximised", true}}) {
        SCOPED_TRACE(c.name);
        HWND wnd = m_frame->m_hWnd;
        ::ShowWindow(wnd, SW_RESTORE);
        ASSERT_TRUE(::SetWindowPos(wnd, nullptr, 100, 80, 700, 500, SWP_NOZORDER));
        if (c.maximised)
            ::ShowWindow(wnd, SW_MAXIMIZE);
        Pump();
        RECT before = {};
        ::GetWindowRect(wnd, &before);

        ::SendMessageA(wnd, WM_COMMAND, ID_VIEW_FULLSCREEN, 0);
        Pump();
        RECT full = {};
        ::GetWindowRect(wnd, &full);
        EXPECT_EQ(-1, full.left);
        EXPECT_EQ(-1, full.top);
        EXPECT_EQ(::GetSystemMetrics(SM_CXSCREEN) + 3, full.right - full.left);
        EXPECT_EQ(::GetSystemMetrics(SM_CYSCREEN) + 3, full.bottom - full.top);

        ::SendMessageA(wnd, WM_COMMAND, ID_VIEW_FULLSCREEN, 0);
        Pump();
        RECT after = {};
        ::GetWindowRect(wnd, &after);
        EXPECT_EQ(before.left, after.left);
        EXPECT_EQ(before.top, after.top);
        EXPECT_EQ(before.right, after.right);
        EXPECT_EQ(before.bottom, after.bottom);
        EXPECT_EQ(c.maximised, ::IsZoomed(wnd) != FALSE);
        EXPECT_NE(0, ::GetWindowLongA(wnd, GWL_STYLE) & WS_THICKFRAME);
        // What the settings file would get at the exit.
        WINDOWPLACEMENT placement = {};
        placement.length = sizeof(placement);
        ASSERT_TRUE(::GetWindowPlacement(wnd, &placement));
        EXPECT_EQ(100, placement.rcNormalPosition.left);
        EXPECT_EQ(80, placement.rcNormalPosition.top);
        EXPECT_EQ(800, placement.rcNormalPosition.right);
        EXPECT_EQ(580, placement.rcNormalPosition.bottom);
    }
    ::ShowWindow(m_frame->m_hWnd, SW_RESTORE);
}

// Regression: "Arial" with every other parameter left at zero asked for the
// Western character set, and the Japanese caption was drawn as mojibake.
TEST_F(TabTest, TheCaptionStripsFontCanDrawTheTitleInTheSystemsCodePage)
{
    ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, ID_VIEW_FULLSCREEN, 0);
    ASSERT_NE(nullptr, m_frame->m_pFullScreenBar);
    HWND strip = m_frame->m_pFullScreenBar->GetSafeHwnd();
    HFONT font = reinterpret_cast<HFONT>(::SendMessageA(strip, WM_GETFONT, 0, 0));
    ASSERT_NE(nullptr, font);
    LOGFONTA logical = {};
    ASSERT_EQ(static_cast<int>(sizeof(logical)), ::GetObjectA(font, sizeof(logical), &logical));
    EXPECT_NE(ANSI_CHARSET, logical.lfCharSet);
    EXPECT_EQ(DEFAULT_CHARSET, logical.lfCharSet);
    EXPECT_STREQ("Arial", logical.lfFaceName);
    HDC dc = ::GetDC(strip);
    EXPECT_EQ(-::MulDiv(10, ::GetDeviceCaps(dc, LOGPIXELSY), 72), logical.lfHeight);
    // What the strip draws with takes its text in the program's code page.
    HGDIOBJ old = ::SelectObject(dc, font);
    CHARSETINFO system = {};
    ASSERT_TRUE(::TranslateCharsetInfo(reinterpret_cast<DWORD*>(static_cast<UINT_PTR>(::GetACP())), &system,
                                       TCI_SRCCODEPAGE));
    EXPECT_EQ(static_cast<int>(system.ciCharset), ::GetTextCharset(dc));
    ::SelectObject(dc, old);
    ::ReleaseDC(strip, dc);
    ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, ID_VIEW_FULLSCREEN, 0);
}
