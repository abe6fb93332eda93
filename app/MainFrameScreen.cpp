// CMainFrame: full screen, the notification-area icon and the placement of
// the first show.
#include "app/MainFrame.h"

#include <windows.h>
#include <shellapi.h>

#include "app/VantorelApp.h"
#include "app/resource.h"
#include "bars/GroupTabBar.h"
#include "bars/PageTabBar.h"
#include "shared/FrameMessages.h"
#include "tab/HtmlPopupDlg.h"

namespace {

const UINT kTrayIconId = 12;
const LONG kResizeFrameStyles = WS_THICKFRAME | WS_DLGFRAME;
const int kMinPlacementSize = 300;
const int kPlacementInset = 60;

// iFullScreenShowItem bits (set: the item stays in full screen).
const UINT kShowMenu = 0x100;
const UINT kShowStatus = 0x10;
const UINT kShowGroupBar = 0x400;
const UINT kShowPageBar = 0x800;
const UINT kShowToolBar = 0x2;
const UINT kShowAddress = 0x1;
const UINT kShowSearch = 0x8000;
const UINT kShowLinks = 0x200;
// etc.dat: what follows the class name in the caption strip.
const int kEtcCaptionText = 41;

UINT RegisteredTaskbarCreated()
{
    static const UINT message = ::RegisterWindowMessageA("TaskbarCreated");
    return message;
}

} // namespace

const UINT CMainFrame::s_taskbarCreated = RegisteredTaskbarCreated();

//--- Full screen

void CMainFrame::OnFullScreen()
{
    if (m_pFullScreenBar == nullptr) {
        m_pFullScreenBar.reset(new CFullScreenTitleBar(AfxGetInstanceHandle(), m_hWnd));
        m_pFullScreenBar->SetPinned((m_stateWord & kStateCaptionPinned) != 0);
        m_pFullScreenBar->SetTitle(CString(theApp.GetMainClassName()) + theApp.GetEtcText(kEtcCaptionText));
    }
    SetFullScreen(!(m_stateWord & kStateFullScreen));
}

void CMainFrame::HideBandForFullScreen(UINT controlId, DWORD stateBit)
{
    if (m_wndReBar.IsWindow() && m_wndReBar.IsBandVisible(controlId) && m_wndReBar.ShowBand(controlId, FALSE))
        m_stateWord |= stateBit;
}

void CMainFrame::RestoreBandAfterFullScreen(UINT controlId, DWORD stateBit)
{
    if ((m_stateWord & stateBit) && m_wndReBar.IsWindow())
        m_wndReBar.ShowBand(controlId, TRUE);
}

// The bar's own mark keeps the frame's layout from showing it again.
void CMainFrame::HideBarForFullScreen(CTabBarCtrl* bar, DWORD stateBit)
{
    if (bar == nullptr || bar->GetSafeHwnd() == nullptr || !::IsWindowVisible(bar->m_hWnd))
        return;
    bar->m_layoutSuspended = true;
    ::ShowWindow(bar->m_hWnd, SW_HIDE);
    m_stateWord |= stateBit;
}

void CMainFrame::RestoreBarAfterFullScreen(CTabBarCtrl* bar, DWORD stateBit)
{
    if (!(m_stateWord & stateBit) || bar == nullptr || bar->GetSafeHwnd() == nullptr)
        return;
    bar->m_layoutSuspended = false;
    ::ShowWindow(bar->m_hWnd, SW_SHOW);
}

void CMainFrame::SetFullScreen(int enter)
{
    const UINT keep = theApp.m_settings.iFullScreenShowItem;
    if (enter) {
        WINDOWPLACEMENT placement = {};
        placement.length = sizeof(placement);
        ::GetWindowPlacement(m_hWnd, &placement);
        m_savedShowCmd = placement.showCmd;
        m_rcSavedNormal = placement.rcNormalPosition;
        ::ShowWindow(m_hWnd, SW_MAXIMIZE);
        m_stateWord &= ~static_cast<DWORD>(kStateHiddenBarsMask);
        if (!(keep & kShowMenu) && ::GetMenu(m_hWnd) != nullptr) {
            m_hSavedMenu = ::GetMenu(m_hWnd);
            ::SetMenu(m_hWnd, nullptr);
            m_stateWord |= kStateHiddenMenu;
        }
        if (!(keep & kShowToolBar))
            HideBandForFullScreen(AFX_IDW_TOOLBAR, kStateHiddenToolBar);
        if (!(keep & kShowAddress))
            HideBandForFullScreen(CAddressCombo::kId, kStateHiddenAddress);
        if (!(keep & kShowSearch))
            HideBandForFullScreen(CSearchBar::kId, kStateHiddenSearch);
        if (!(keep & kShowStatus) && m_wndStatusBar.GetSafeHwnd() != nullptr &&
            ::IsWindowVisible(m_wndStatusBar.m_hWnd)) {
            ShowControlBar(&m_wndStatusBar, FALSE, FALSE);
            m_stateWord |= kStateHiddenStatus;
        }
        if (!(keep & kShowLinks))
            HideBandForFullScreen(CLinksBar::kId, kStateHiddenLinks);
        if (!(keep & kShowGroupBar))
            HideBarForFullScreen(m_pGroupTabBar, kStateHiddenGroupBar);
        if (!(keep & kShowPageBar))
            HideBarForFullScreen(m_pPageTabBar, kStateHiddenPageBar);
        // The style as the maximising left it: with WS_MAXIMIZE taken away
        // the full-screen rectangle would become the normal one, and leaving
        // would keep it instead of the earlier placement.
        const LONG style = ::GetWindowLongA(m_hWnd, GWL_STYLE);
        ::SetWindowLongA(m_hWnd, GWL_STYLE, style & ~kResizeFrameStyles);
        ::SetWindowPos(m_hWnd, nullptr, -1, -1, ::GetSystemMetrics(SM_CXSCREEN) + 3,
                       ::GetSystemMetrics(SM_CYSCREEN) + 3, SWP_NOZORDER | SWP_FRAMECHANGED);
        m_stateWord |= kStateFullScreen;
        if (m_pFullScreenBar != nullptr)
            m_pFullScreenBar->Show(true, true);
    } else {
        const LONG style = ::GetWindowLongA(m_hWnd, GWL_STYLE);
        if ((m_stateWord & kStateHiddenMenu) && m_hSavedMenu != nullptr)
            ::SetMenu(m_hWnd, m_hSavedMenu);
        m_hSavedMenu = nullptr;
        RestoreBandAfterFullScreen(CAddressCombo::kId, kStateHiddenAddress);
        RestoreBandAfterFullScreen(CSearchBar::kId, kStateHiddenSearch);
        RestoreBandAfterFullScreen(AFX_IDW_TOOLBAR, kStateHiddenToolBar);
        if ((m_stateWord & kStateHiddenStatus) && m_wndStatusBar.GetSafeHwnd() != nullptr)
            ShowControlBar(&m_wndStatusBar, TRUE, FALSE);
        RestoreBandAfterFullScreen(CLinksBar::kId, kStateHiddenLinks);
        RestoreBarAfterFullScreen(m_pGroupTabBar, kStateHiddenGroupBar);
        RestoreBarAfterFullScreen(m_pPageTabBar, kStateHiddenPageBar);
        m_stateWord &= ~static_cast<DWORD>(kStateHiddenBarsMask);
        ::SetWindowLongA(m_hWnd, GWL_STYLE, style | kResizeFrameStyles);
        ::SetWindowPos(m_hWnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_FRAMECHANGED);
        if (m_savedShowCmd == SW_MAXIMIZE) {
            ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
            ::ShowWindow(m_hWnd, SW_MAXIMIZE);
        } else {
            ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
        }
        m_stateWord &= ~static_cast<DWORD>(kStateFullScreen);
        if (m_pFullScreenBar != nullptr) {
            if (m_pFullScreenBar->IsAutoHide())
                m_stateWord &= ~static_cast<DWORD>(kStateCaptionPinned);
            else
                m_stateWord |= kStateCaptionPinned;
            m_pFullScreenBar->Show(false, true);
            m_pFullScreenBar.reset();
        }
    }
    RecalcLayout();
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

//--- The notification-area icon

BOOL CMainFrame::AddTrayIcon(UINT iconId, DWORD message)
{
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = m_hWnd;
    data.uID = kTrayIconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_FRAME_TRAYNOTIFY;
    data.hIcon = ::LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(iconId));
    ::LoadStringA(AfxGetInstanceHandle(), IDR_MAINFRAME, data.szTip, sizeof(data.szTip));
    m_stateWord |= kStateTrayIcon;
    return ::Shell_NotifyIconA(message, &data);
}

BOOL CMainFrame::FindTrayWindow()
{
    HWND tray = ::FindWindowA("Shell_TrayWnd", nullptr);
    HWND notify = tray != nullptr ? ::FindWindowExA(tray, nullptr, "TrayNotifyWnd", nullptr) : nullptr;
    if (notify == nullptr)
        return FALSE;
    m_hTrayWindow = notify;
    m_trayThreadId = ::GetWindowThreadProcessId(notify, &m_trayProcessId);
    return AddTrayIcon(IDR_MAINFRAME, NIM_ADD);
}

void CMainFrame::RemoveTrayIcon()
{
    if (!(m_stateWord & kStateTrayIcon))
        return;
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = m_hWnd;
    data.uID = kTrayIconId;
    ::Shell_NotifyIconA(NIM_DELETE, &data);
    m_hTrayWindow = nullptr;
    m_trayThreadId = m_trayProcessId = 0;
    m_stateWord &= ~static_cast<DWORD>(kStateTrayIcon);
}

void CMainFrame::RestoreFromTray()
{
    ::ShowWindow(m_hWnd, ::IsZoomed(m_hWnd) ? SW_MAXIMIZE : ::IsIconic(m_hWnd) ? SW_RESTORE : SW_SHOWNORMAL);
    ShowTextSearchPopupAgain(SW_SHOWNORMAL);
    if (!theApp.m_settings.bTaskTray())
        RemoveTrayIcon();
}

void CMainFrame::OnTrayNotify(UINT, UINT nMouseMsg)
{
    switch (nMouseMsg) {
    case WM_MOUSEMOVE:
        if (theApp.m_settings.bTaskTray())
            break;
        // The icon of a hidden window brings it back at a touch.
        [[fallthrough]];
    case WM_LBUTTONDOWN:
        ::SetForegroundWindow(m_hWnd);
        RestoreFromTray();
        ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
        break;
    case WM_RBUTTONUP: {
        POINT at = {};
        ::GetCursorPos(&at);
        ::SetForegroundWindow(m_hWnd);
        RestoreFromTray();
        HMENU menu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
        HMENU file = menu != nullptr ? ::GetSubMenu(menu, 0) : nullptr;
        if (file != nullptr) {
            // Only the exit command stays.
            while (::GetMenuItemCount(file) > 1)
                ::DeleteMenu(file, 0, MF_BYPOSITION);
            ::TrackPopupMenu(file, TPM_RIGHTBUTTON, at.x, at.y, 0, m_hWnd, nullptr);
            ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
        }
        if (menu != nullptr)
            ::DestroyMenu(menu);
        break;
    }
    default: break;
    }
}

void CMainFrame::ShowTextSearchPopupAgain(int nCmdShow)
{
    // Not when its user hid it.
    if (m_pHtmlPopup != nullptr && m_pHtmlPopup->GetSafeHwnd() != nullptr &&
        !(m_pHtmlPopup->m_flags & kPopupHidden))
        m_pHtmlPopup->ShowWindow(nCmdShow);
}

// The icon is made again while it is in use: kept by bTaskTray, or shown
// for a window hidden in the tray, which has no other way back.
LRESULT CMainFrame::OnTaskbarCreated(WPARAM, LPARAM)
{
    if (theApp.m_settings.bTaskTray() || (m_stateWord & kStateTrayIcon))
        FindTrayWindow();
    return 0;
}

// Hides the window in the tray: the icon shows while it is hidden and goes
// when it comes back, unless bTaskTray keeps it. Without an icon (no
// notification area) the window only minimises: hidden, it could not be
// brought back.
void CMainFrame::OnWindowToTray()
{
    if (!(m_stateWord & kStateTrayIcon) && !AddTrayIcon(IDR_MAINFRAME, NIM_ADD))
        m_stateWord &= ~static_cast<DWORD>(kStateTrayIcon);
    PostMessage(WM_SYSCOMMAND, SC_MINIMIZE);
}

void CMainFrame::OnSysCommand(UINT nID, LPARAM lParam)
{
    const UINT command = nID & 0xFFF0;
    if (m_stateWord & kStateTrayIcon) {
        if (command == SC_RESTORE) {
            ::ShowWindow(m_hWnd, SW_RESTORE);
            ShowTextSearchPopupAgain(SW_RESTORE);
            return;
        }
        if (command == SC_MINIMIZE || (command == SC_CLOSE && theApp.m_settings.bTaskTray())) {
            // To the tray instead of the task bar or the exit.
            if (m_stateWord & kStateFullScreen)
                SetFullScreen(0);
            ::ShowWindow(m_hWnd, SW_HIDE);
            if (command == SC_MINIMIZE) {
                if (HWND popup = GetTextSearchPopupWindow())
                    ::ShowWindow(popup, SW_HIDE);
            } else {
                // Its destructor takes the window down first.
                delete m_pHtmlPopup;
                m_pHtmlPopup = nullptr;
            }
            return;
        }
    }
    CNewMDIFrameWnd::OnSysCommand(nID, lParam);
}

//--- The first show

void CMainFrame::ChooseFirstPlacement(WINDOWPLACEMENT& placement)
{
    // From the record the settings file was loaded into: the lines read at
    // start are gone by the time the window first shows.
    const SettingsRecord& settings = theApp.m_settings;
    RECT saved = {settings.left, settings.top, settings.right, settings.bottom};
    UINT show = static_cast<WORD>(settings.showCmd);
    // A window saved hidden or minimised comes back shown.
    if (show != SW_SHOWMAXIMIZED && show != SW_SHOWNORMAL)
        show = SW_SHOWNORMAL;
    const RECT screen = {::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN),
                         ::GetSystemMetrics(SM_XVIRTUALSCREEN) + ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
                         ::GetSystemMetrics(SM_YVIRTUALSCREEN) + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    const LONGLONG width = saved.right - saved.left;
    const LONGLONG height = saved.bottom - saved.top;
    RECT visible = {};
    ::IntersectRect(&visible, &saved, &screen);
    const LONGLONG shown = static_cast<LONGLONG>(visible.right - visible.left) * (visible.bottom - visible.top);
    if (width < kMinPlacementSize || height < kMinPlacementSize || shown * 100 < width * height * 15) {
        RECT desktop = {};
        ::GetWindowRect(::GetDesktopWindow(), &desktop);
        ::InflateRect(&desktop, -kPlacementInset, -kPlacementInset);
        saved = desktop;
    }
    placement.rcNormalPosition = saved;
    placement.showCmd = show;
}

void CMainFrame::OnShowWindow(BOOL bShow, UINT nStatus)
{
    if (bShow && (m_stateWord & kStatePlacementPending)) {
        m_stateWord &= ~static_cast<DWORD>(kStatePlacementPending);
        WINDOWPLACEMENT placement = {};
        placement.length = sizeof(placement);
        if (::GetWindowPlacement(m_hWnd, &placement)) {
            ChooseFirstPlacement(placement);
            ::SetWindowPlacement(m_hWnd, &placement);
        }
    }
    CNewMDIFrameWnd::OnShowWindow(bShow, nStatus);
}
