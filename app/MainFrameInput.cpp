// CMainFrame: keys and mouse messages of every window, seen before they are
// dispatched: key bindings in the frame's own bars, focus that follows the
// mouse into the address and search boxes, keys of foreign windows offered
// to the plug-ins.
#include "app/MainFrame.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "app/DlgFavTree.h"
#include "app/VantorelApp.h"
#include "bars/GroupTabBar.h"
#include "bars/PageTabBar.h"
#include "tab/BrowserView.h"
#include "tab/HtmlPopupDlg.h"
#include "tab/KeyState.h"
#include "tab/TabGroup.h"
#include "tab/TabItem.h"

namespace {

// Bits of iFocusMove.
const BYTE kFocusFollowsMouse = 0x1;
const BYTE kFocusKeepAddress = 0x2;
const BYTE kFocusKeepSearch = 0x4;
// A move shorter than this in both directions leaves the focus alone.
const int kFocusMoveDistance = 6;

bool IsAutoRepeat(const MSG* pMsg)
{
    return (pMsg->lParam & (1 << 30)) != 0;
}

bool IsWindowOrChild(HWND parent, HWND hWnd)
{
    return parent != nullptr && hWnd != nullptr && (hWnd == parent || ::IsChild(parent, hWnd));
}

// A box and its edit; both null while the box has no window.
HWND BoxWindows(const CComboBoxXP& box, HWND* pEdit)
{
    HWND hBox = box.GetSafeHwnd();
    if (pEdit != nullptr)
        *pEdit = hBox != nullptr ? box.GetEdit().GetSafeHwnd() : nullptr;
    return hBox;
}

// A mouse message's point in the client coordinates of another window.
POINT MessagePointIn(const MSG* pMsg, HWND hWnd)
{
    POINT at = CPoint(pMsg->lParam);
    ::MapWindowPoints(pMsg->hwnd, hWnd, &at, 1);
    return at;
}

} // namespace

BOOL CMainFrame::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST && PreTranslateMouse(pMsg))
        return TRUE;
    if ((pMsg->message == WM_KEYDOWN || pMsg->message == WM_SYSKEYDOWN) && PreTranslateKey(pMsg))
        return TRUE;
    return CNewMDIFrameWnd::PreTranslateMessage(pMsg);
}

HWND CMainFrame::GetAddressBoxWindow(HWND* pEdit) const
{
    return BoxWindows(m_wndAddress, pEdit);
}

HWND CMainFrame::GetSearchBoxWindow(HWND* pEdit) const
{
    return BoxWindows(m_wndSearchBar.GetSearchCombo(), pEdit);
}

CTabBarCtrl* CMainFrame::TabButtonBarOf(HWND hWnd) const
{
    const SettingsRecord& settings = theApp.m_settings;
    if (IsPageBarReady() && hWnd == m_pPageTabBar->m_hWnd)
        return settings.bShowTabCloseButton() ? m_pPageTabBar : nullptr;
    if (IsGroupBarReady() && hWnd == m_pGroupTabBar->m_hWnd)
        return settings.bShowTabCloseButton_P() ? m_pGroupTabBar : nullptr;
    return nullptr;
}

// On a group tab the button has the window-list part while the group
// holds more than one page. Moves over the button itself leave it: hidden
// there, it would come back at the next move over the bar, and so on.
void CMainFrame::TrackTabCloseButton(const MSG* pMsg)
{
    if (pMsg->hwnd == m_wndTabButton.GetSafeHwnd())
        return;
    CTabBarCtrl* bar = TabButtonBarOf(pMsg->hwnd);
    const int index = bar != nullptr && m_wndTabButton.GetSafeHwnd() != nullptr
                          ? bar->HitTest(CPoint(pMsg->lParam))
                          : -1;
    CRect tab;
    if (index < 0 || !bar->GetItemRect(index, &tab)) {
        HideTabButton();
        return;
    }
    ::MapWindowPoints(bar->m_hWnd, m_hWnd, reinterpret_cast<LPPOINT>(&tab), 2);
    const CTabGroup* group = bar == m_pGroupTabBar ? m_pGroupTabBar->GetGroupAt(index) : nullptr;
    const bool twoPart = group != nullptr && group->GetTabCount() > 1;
    // Laid at the tab's top right corner.
    tab.left = tab.right - (twoPart ? 2 : 1) * CTabCloseButton::kSide;
    m_wndTabButton.Place(tab, twoPart);
    m_hTabButtonBar = bar->m_hWnd;
}

BOOL CMainFrame::ClickTabCloseButton(const MSG* pMsg)
{
    if (!IsWindowOrChild(m_hWnd, pMsg->hwnd))
        return FALSE;
    const HWND button = m_wndTabButton.GetSafeHwnd();
    CRect buttonRect;
    if (button != nullptr && ::IsWindowVisible(button)) {
        ::GetWindowRect(button, &buttonRect);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(&buttonRect), 2);
    }
    if (pMsg->message == WM_LBUTTONDOWN) {
        // The press reaches the button, or its bar where the bar lies on
        // top; the button judges it as a press on the bar.
        const HWND barWnd = pMsg->hwnd == button ? m_hTabButtonBar : pMsg->hwnd;
        if (!buttonRect.PtInRect(MessagePointIn(pMsg, m_hWnd)) || TabButtonBarOf(barWnd) == nullptr)
            return FALSE;
        MSG down = *pMsg;
        const POINT at = MessagePointIn(pMsg, barWnd);
        down.hwnd = barWnd;
        down.lParam = MAKELPARAM(at.x, at.y);
        return m_wndTabButton.TrackClick(down);
    }
    // By the cursor: a release the button gave back to its bar carries the
    // press's point, which lies on the button.
    POINT cursor = {};
    ::GetCursorPos(&cursor);
    ::ScreenToClient(m_hWnd, &cursor);
    if (buttonRect.PtInRect(cursor))
        return TRUE;
    // A click between the tabs comes to the frame (a tab control is
    // transparent there); the bar under it takes it.
    const HWND child = ::ChildWindowFromPointEx(m_hWnd, MessagePointIn(pMsg, m_hWnd),
                                                CWP_SKIPINVISIBLE | CWP_SKIPDISABLED | CWP_SKIPTRANSPARENT);
    if (child == nullptr || child == pMsg->hwnd)
        return FALSE;
    if (IsGroupBarReady() && child == m_pGroupTabBar->m_hWnd)
        return m_pGroupTabBar->OnParentClick(pMsg);
    if (IsPageBarReady() && child == m_pPageTabBar->m_hWnd)
        return m_pPageTabBar->OnParentClick(pMsg);
    return FALSE;
}

BOOL CMainFrame::PreTranslateMouse(MSG* pMsg)
{
    switch (pMsg->message) {
    case WM_MOUSEMOVE:
        if (::GetAsyncKeyState(VK_LBUTTON) < 0 || ::GetAsyncKeyState(VK_RBUTTON) < 0)
            return FALSE;
        TrackTabCloseButton(pMsg);
        FollowMouseWithFocus(pMsg);
        return FALSE;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
        return ClickTabCloseButton(pMsg);
    default:
        return FALSE;
    }
}

void CMainFrame::FollowMouseWithFocus(const MSG* pMsg)
{
    POINT cursor = {};
    ::GetCursorPos(&cursor);
    if (abs(cursor.x - m_ptFocusMove.x) < kFocusMoveDistance &&
        abs(cursor.y - m_ptFocusMove.y) < kFocusMoveDistance)
        return;
    m_ptFocusMove = cursor;
    if (!IsWindowOrChild(m_hWnd, pMsg->hwnd))
        return;
    HWND focus = ::GetFocus();
    if (!GetBrowserWindowAtCursor(focus))
        return;
    HWND edit = nullptr;
    HWND boxes[2][2] = {};
    boxes[0][0] = GetAddressBoxWindow(&edit);
    boxes[0][1] = edit;
    boxes[1][0] = GetSearchBoxWindow(&edit);
    boxes[1][1] = edit;
    for (auto& box : boxes) {
        RECT rect = {};
        if (box[0] == nullptr || !::IsWindowVisible(box[0]) || !::GetWindowRect(box[0], &rect) ||
            !::PtInRect(&rect, cursor))
            continue;
        if (focus != box[0] && focus != box[1])
            ::SetFocus(box[1] != nullptr ? box[1] : box[0]);
        focus = ::GetFocus();
    }
}

BOOL CMainFrame::GetBrowserWindowAtCursor(HWND focus)
{
    if (::GetActiveWindow() == nullptr || focus == nullptr ||
        !(theApp.m_settings.iFocusMove & kFocusFollowsMouse))
        return FALSE;
    ::GetCursorPos(&m_ptLastCursor);
    HWND edit = nullptr;
    HWND box = GetAddressBoxWindow(&edit);
    if (box != nullptr && (focus == box || focus == edit))
        return !(theApp.m_settings.iFocusMove & kFocusKeepAddress);
    box = GetSearchBoxWindow(&edit);
    if (box != nullptr && (focus == box || focus == edit))
        return !(theApp.m_settings.iFocusMove & kFocusKeepSearch);
    CTabItem* tab = GetActiveTab();
    if (tab != nullptr && tab->m_pView != nullptr && IsWindowOrChild(tab->m_pView->GetSafeHwnd(), focus))
        return TRUE;
    if (m_pHtmlPopup != nullptr && IsWindowOrChild(m_pHtmlPopup->GetSafeHwnd(), focus)) {
        m_pHtmlPopup->RememberFocus();
        return TRUE;
    }
    // The favorites pane is one of the frame's panes: the page under the
    // mouse takes the focus back from it.
    if (m_pFavoritesPane != nullptr && IsWindowOrChild(m_pFavoritesPane->GetSafeHwnd(), focus))
        return TRUE;
    if (focus == m_hWndMDIClient || (m_pPageTabBar != nullptr && focus == m_pPageTabBar->GetSafeHwnd()) ||
        (m_pGroupTabBar != nullptr && focus == m_pGroupTabBar->GetSafeHwnd()))
        return TRUE;
    char className[65] = {};
    ::GetClassNameA(focus, className, sizeof(className));
    return strcmp(className, "Internet Explorer_Server") == 0;
}

BOOL CMainFrame::PreTranslateKey(MSG* pMsg)
{
    const HWND target = pMsg->hwnd;
    const HWND captionBar = m_pFullScreenBar != nullptr ? m_pFullScreenBar->GetSafeHwnd() : nullptr;
    const bool onCaptionBar = captionBar != nullptr && target == captionBar;
    if (!onCaptionBar && !IsWindowOrChild(m_hWnd, target))
        return OfferKeyToPlugIns(pMsg);
    const UINT vk = static_cast<UINT>(pMsg->wParam);
    const bool ownWindow = onCaptionBar || target == m_hWnd || target == m_hWndMDIClient ||
                           (m_pPageTabBar != nullptr && target == m_pPageTabBar->GetSafeHwnd()) ||
                           (m_pGroupTabBar != nullptr && target == m_pGroupTabBar->GetSafeHwnd());
    if (ownWindow) {
        // A held key runs its binding once.
        if (IsAutoRepeat(pMsg))
            return TRUE;
        return theApp.ExecuteKeyBinding(theApp.FormatKey(vk), pMsg);
    }
    HWND addressEdit = nullptr;
    HWND searchEdit = nullptr;
    HWND address = GetAddressBoxWindow(&addressEdit);
    HWND search = GetSearchBoxWindow(&searchEdit);
    const bool inBox = (address != nullptr && (target == address || target == addressEdit)) ||
                       (search != nullptr && (target == search || target == searchEdit));
    if (!inBox)
        return FALSE;
    if (IsTextInputKey(vk))
        return FALSE;
    const CString text = theApp.FormatKey(vk);
    if (text == "Tab+") {
        FocusActivePage();
        return TRUE;
    }
    if (IsAutoRepeat(pMsg))
        return TRUE;
    return theApp.ExecuteKeyBinding(text, pMsg);
}

void CMainFrame::FocusActivePage()
{
    CTabItem* tab = GetActiveTab();
    CBrowserView* view = tab != nullptr ? tab->m_pView : nullptr;
    if (view == nullptr || view->GetSafeHwnd() == nullptr || !::IsWindow(tab->m_hFrame))
        return;
    HWND focus = ::GetFocus();
    HWND control = view->GetControlWindow();
    if (control != nullptr && ::IsChild(view->m_hWnd, control) && focus != control) {
        ::SetFocus(control);
        return;
    }
    if (!IsWindowOrChild(view->m_hWnd, focus))
        view->FocusPage();
}
