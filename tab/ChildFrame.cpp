#include "tab/ChildFrame.h"

#include <windows.h>
#include <windowsx.h>

#include <cstring>

#include "shared/AppData.h"
#include "shared/AppSettings.h"
#include "shared/DialogsLibrary.h"
#include "shared/TextFormat.h"
#include "shared/UrlText.h"
#include "tab/BrowserView.h"
#include "tab/KeyState.h"
#include "tab/TabHost.h"
#include "tab/TabGroup.h"
#include "tab/TabItem.h"

namespace {

const UINT kViewId = 0xE900;
const DWORD kViewStyle = 0x50800000;  // WS_CHILD | WS_VISIBLE | WS_BORDER
const UINT kCmdReloadStart = 1024;
const UINT kCmdReloadStop = 1025;
const UINT kCmdRefresh = 1022;

const UINT kAppIconId = 128;
const int kEtcHighlightIdPrefix = 42;
const int kEtcHighlightStyle = 43;

// Whether a tab opened for the reason stays in the background.
bool IsBackgroundReason(WORD reason, const SettingsRecord& s)
{
    switch (reason) {
    case kReasonLink: return s.bTabActivate_LINK();
    case kReasonFavorite: return s.bTabActivate_FAV();
    case kReasonAddressBar: return s.bTabActivate_AddBar();
    case kReasonDocHistory: return s.bTabActivate_DocHistory();
    case kReasonWheelClick: return s.bTabActivate_WC();
    case kReasonPlugin: return s.bTabActivate_PL();
    case kReasonPopup: return true;
    case kReasonFavoriteWheel: return s.bTabActivate_FAV_WC();
    case kReasonPageBackground: return true;
    default: return false;  // 8 and undefined values
    }
}

} // namespace

BEGIN_MESSAGE_MAP(CChildFrame, CMDIChildWnd)
    ON_WM_CREATE()
    ON_WM_MDIACTIVATE()
    ON_WM_SIZE()
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_WM_WINDOWPOSCHANGING()
    ON_MESSAGE(WM_TAB_MOUSECLICK, OnTabMouseAction)
    ON_COMMAND(32790, OnNewTabKey)
    ON_COMMAND(36013, OnOpenDialog)
    ON_COMMAND(1044, OnToggleReload)
    ON_COMMAND_RANGE(36264, 36271, OnReloadPeriod)
    ON_COMMAND_RANGE(1069, 1075, OnTabCommand)
    ON_COMMAND(1065, FindInPage)
    ON_COMMAND(30513, OnSearchBoxHighlight)
    ON_COMMAND(30514, OnSearchBoxTextSearch)
    ON_COMMAND(1076, OnFindIE)
    ON_COMMAND_RANGE(1077, 1084, OnTabCommand2)
    ON_COMMAND(36011, EditPageSource)
    ON_COMMAND(36443, OnWheelLock)
    ON_COMMAND(36444, OnLinkLock)
    ON_UPDATE_COMMAND_UI(1044, OnUpdateToggleReload)
    ON_UPDATE_COMMAND_UI(36443, OnUpdateWheelLock)
    ON_UPDATE_COMMAND_UI(36444, OnUpdateLinkLock)
    ON_UPDATE_COMMAND_UI_RANGE(36264, 36271, OnUpdateReloadPeriod)
    ON_UPDATE_COMMAND_UI_RANGE(32774, 32778, OnUpdateTextSize)
END_MESSAGE_MAP()

CTabItem* CChildFrame::GetTabItem() const
{
    return m_pView != nullptr ? m_pView->GetTabItem() : nullptr;
}

ITabHost& CChildFrame::Host() const
{
    return TabHostOr(m_pHost, m_hWnd);
}

// The frame's own commands that a tab command stands for.
void CChildFrame::PostToFrame(UINT command) const
{
    if (HWND hFrame = Host().GetFrameWindow())
        ::PostMessageA(hFrame, WM_COMMAND, command, 0);
}

bool CChildFrame::IsTabClosing() const
{
    CTabItem* tab = GetTabItem();
    return tab != nullptr && tab->IsClosing();
}

//--- Creation

BOOL CChildFrame::PreCreateWindow(CREATESTRUCTA& cs)
{
    cs.style &= ~WS_SYSMENU;
    if (!CMDIChildWnd::PreCreateWindow(cs))
        return FALSE;
    cs.dwExStyle ^= WS_EX_CLIENTEDGE;
    return TRUE;
}

int CChildFrame::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CMDIChildWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    CBrowserView* view = new CBrowserView(m_pHost);
    // A view that fails to create has deleted itself.
    if (view == nullptr || !view->Create(this, kViewId, kViewStyle))
        return -1;
    m_pView = view;
    SetActiveView(view, FALSE);
    PostMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
    RecalcLayout();

    // A tab that is restored still fills the screen; the main frame makes
    // its tabs there already, and then none is moved again.
    WINDOWPLACEMENT placement = {};
    const RECT screen = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    if (GetWindowPlacement(&placement) && !::EqualRect(&placement.rcNormalPosition, &screen)) {
        placement.rcNormalPosition = screen;
        placement.showCmd = IsWindowVisible() ? placement.showCmd : SW_HIDE;
        SetWindowPlacement(&placement);
    }
    return 0;
}

CBrowserView* CChildFrame::InitialUpdateAndActivate()
{
    CBrowserView* view = m_pView;
    if (view == nullptr)
        return nullptr;
    HWND hSelf = m_hWnd;
    view->OnInitialUpdate();
    // The tab may have been refused (over the limit) and be closing.
    if (!::IsWindow(hSelf))
        return nullptr;
    // Without its record the tab cannot take part in any group.
    if (view->GetTabItem() == nullptr) {
        DestroyWindow();
        return nullptr;
    }
    ActivateFrame(-1);
    // A view that shows without being activated (a tab of another group)
    // takes drops as well.
    if (view->IsWindowVisible())
        view->RegisterDropTarget();
    return view;
}

void CChildFrame::AttachView(CBrowserView* view)
{
    m_pView = view;
    CTabItem* tab = view->GetTabItem();
    if (tab == nullptr)
        return;
    tab->m_pGroup = m_pGroup;
    tab->m_insertHint = m_insertHint;
    m_insertHint = 0;
    view->ApplyTabSettings();
    tab->m_closeReason = m_popupMark;
}

//--- Showing and activation

void CChildFrame::ActivateFrame(int nCmdShow)
{
    CTabGroup* current = Host().GetActiveGroup();
    if (m_pGroup != nullptr && current != nullptr && m_pGroup != current) {
        m_activationReason = kReasonLink;
        CMDIChildWnd::ActivateFrame(SW_SHOWNOACTIVATE);
        return;
    }
    const bool openingSet = Host().IsOpeningTabSet();
    if ((current == nullptr || current->GetTabCount() <= 1) && !openingSet) {
        CMDIChildWnd::ActivateFrame(SW_SHOWMAXIMIZED);
        return;
    }
    if (m_activationReason == kReasonForceForeground) {
        m_activationReason = kReasonLink;
        CMDIChildWnd::ActivateFrame(SW_SHOWMAXIMIZED);
        return;
    }
    bool background = IsBackgroundReason(m_activationReason, AppSettings());
    if (m_activationReason != kReasonPopup)
        m_activationReason = kReasonLink;
    if (OnlyCtrlDown())
        background = !background;
    if (background) {
        if (m_pView != nullptr)
            m_pView->ShowView(false);
        CMDIChildWnd::ActivateFrame(SW_SHOWNOACTIVATE);
    } else {
        CMDIChildWnd::ActivateFrame(nCmdShow);
    }
}

void CChildFrame::OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd*)
{
    Default();
    CBrowserView* view = m_pView;
    if (view == nullptr || view->GetSafeHwnd() == nullptr)
        return;
    const bool activated = bActivate && pActivateWnd != nullptr && pActivateWnd->m_hWnd == m_hWnd;
    if (!activated) {
        view->ShowView(false);
        return;
    }
    view->ShowView(true);
    if (view->m_progress == kProgressIdle)
        view->m_progress = -1;
    ITabHost& host = Host();
    host.SetStatusProgress(view->m_progress);
    CTabItem* tab = view->GetTabItem();
    if (tab == nullptr || tab->IsClosing())
        return;
    host.SetActiveTabFrame(this);
    SetActiveTabView(view);
    host.OnTabActivated(tab);
    host.UpdateAddressBar(m_hWnd, tab->m_url);
    HWND focus = ::GetFocus();
    if (focus != nullptr && ::IsChild(view->m_hWnd, focus))
        view->m_hLastFocus = focus;
}

void CChildFrame::SetActiveTabView(CBrowserView* view)
{
    if (view == nullptr || Host().GetActiveTabView() == view || !view->IsWindow())
        return;
    Host().SetActiveTabView(view);
    HWND focus = ::GetFocus();
    if (view->m_hLastFocus != nullptr && ::IsChild(view->m_hWnd, view->m_hLastFocus)) {
        if (focus != view->m_hLastFocus)
            ::SetFocus(view->m_hLastFocus);
        return;
    }
    if (focus != nullptr && (focus == view->m_hWnd || ::IsChild(view->m_hWnd, focus)))
        return;
    view->m_state &= ~kViewFocusPending;
    view->FocusPage();
}

void CChildFrame::OnSize(UINT nType, int, int)
{
    if (nType != SIZE_MAXIMIZED && nType != SIZE_MAXSHOW)
        return;
    if (IsTabClosing())
        return;
    RecalcLayout();
    Default();
}

void CChildFrame::OnWindowPosChanging(WINDOWPOS* pPos)
{
    // A maximized tab fills the client without the client's sunken edge.
    if (IsZoomed()) {
        HWND client = ::GetParent(m_hWnd);
        LONG_PTR exStyle = ::GetWindowLongPtrA(client, GWL_EXSTYLE);
        if (exStyle & WS_EX_CLIENTEDGE) {
            ::SetWindowLongPtrA(client, GWL_EXSTYLE, exStyle & ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE));
            ::SetWindowPos(client, nullptr, 0, 0, 0, 0,
                           SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    CWnd::OnWindowPosChanging(pPos);
}

//--- Closing

void CChildFrame::OnClose()
{
    CTabItem* tab = GetTabItem();
    if (tab != nullptr && tab->m_closeReason == kCloseNone)
        tab->m_closeReason = kCloseClosing;
    DestroyWindow();
}

BOOL CChildFrame::DestroyWindow()
{
    if (m_hWnd == nullptr)
        return FALSE;
    Host().OnTabClosed(GetTabItem());
    MDIDestroy();
    return TRUE;
}

void CChildFrame::OnDestroy()
{
    ITabHost& host = Host();
    host.ForgetTabFrame(this);
    if (m_pView != nullptr && host.GetActiveTabView() == m_pView)
        host.SetActiveTabView(nullptr);
    CMDIChildWnd::OnDestroy();
}

void CChildFrame::PostNcDestroy()
{
    Host().ForgetTabFrame(this);
    CMDIChildWnd::PostNcDestroy();
}

void CChildFrame::CloseThisTab()
{
    CTabItem* tab = GetTabItem();
    if (tab == nullptr || m_hWnd == nullptr)
        return;
    signed char reason = tab->m_closeReason;
    if (reason != kCloseNone && reason != kCloseUnrecorded && reason != kClosePopup)
        return;
    if (reason != kCloseUnrecorded)
        tab->m_closeReason = kCloseClosing;
    PostMessage(WM_CLOSE);
}

//--- Commands

CTabGroup* CChildFrame::GroupForNewTab() const
{
    CTabItem* tab = GetTabItem();
    return tab != nullptr && tab->m_pGroup != nullptr ? tab->m_pGroup : Host().GetActiveGroup();
}

void CChildFrame::OnNewTabKey()
{
    static const UINT kByCtrlN[] = {1074, 1075, 1073, 1072};
    UINT mode = AppSettings().CtrlN;
    if (mode < 4)
        OnTabCommand(kByCtrlN[mode]);
}

void CChildFrame::OnTabCommand(UINT nID)
{
    switch (nID) {
    case 1069: CloseThisTab(); break;
    case 1070:
        Host().CloseTabsBeside();
        break;
    case 1071:
        PostToFrame(32773);
        break;
    case 1072: Host().OpenUrl(GroupForNewTab(), "about:blank", kReasonLink); break;
    case 1073: OpenClipboardText(); break;
    case 1074: DuplicateTab(); break;
    case 1075:
        if (AppSettings().iParentTabNewRule & 0x1)
            Host().OpenUrlInNewGroup(kHomeToken, kReasonLink, 0);
        else
            Host().OpenUrl(GroupForNewTab(), kHomeToken, kReasonLink);
        break;
    default: break;
    }
}

CString ReadClipboardUrl(HWND owner)
{
    CString text;
    if (!::OpenClipboard(owner))
        return text;
    HANDLE data = ::GetClipboardData(CF_TEXT);
    const char* locked = data != nullptr ? static_cast<const char*>(::GlobalLock(data)) : nullptr;
    if (locked != nullptr) {
        // The clipboard block need not be terminated within its size.
        SIZE_T size = ::GlobalSize(data);
        SIZE_T length = 0;
        while (length < size && locked[length] != '\0')
            ++length;
        text = CString(locked, static_cast<int>(length));
        ::GlobalUnlock(data);
    }
    ::CloseClipboard();
    text.Trim();
    if (strncmp(text, "ttp://", 6) == 0 || strncmp(text, "ttps://", 7) == 0)
        text = "h" + text;
    return text;
}

void CChildFrame::OpenClipboardText()
{
    const CString text = ReadClipboardUrl(m_hWnd);
    if (!text.IsEmpty())
        Host().OpenUrl(GroupForNewTab(), text, kReasonLink);
}

void CChildFrame::DuplicateTab()
{
    CTabItem* tab = GetTabItem();
    if (m_pView == nullptr || tab == nullptr) {
        Host().OpenUrl(GroupForNewTab(), kHomeToken, kReasonLink);
        return;
    }
    SavedHistory back, forward;
    m_pView->SaveBackHistory(back);
    m_pView->SaveForwardHistory(forward);
    CString url = tab->m_url;
    Host().OpenUrlWithHistory(GroupForNewTab(), url, &back, &forward, kReasonLink, 0);
}

void CChildFrame::OnTabCommand2(UINT nID)
{
    static const struct { UINT id; UINT command; } kPosted[] = {
        {1079, 32858}, {1081, 57636}, {1082, 1065}, {1083, 32832}, {1084, 32831},
    };
    if (nID == 1077) {
        CloseThisTab();
        return;
    }
    for (const auto& entry : kPosted) {
        if (entry.id == nID)
            PostToFrame(entry.command);
    }
}

void CChildFrame::OnFindIE()
{
    PostToFrame(57636);
}

//--- Finding text in the page

void CChildFrame::FindInPage()
{
    if (m_pView == nullptr)
        return;
    CDialogsLibrary library(AppFolders().GetProgramFolder());
    auto show = library.Get<FormbayExports::ShowPFindDlgFn>("ShowPFindDlg");
    if (show == nullptr)
        return;
    HICON icon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(kAppIconId));
    int value = 0;
    int cleared = 0;
    int result = 0;
    // The dialog's loop may close this tab: only its handle is trusted after.
    const HWND self = m_hWnd;
    const char* text = show(icon, &value, &cleared, &result);
    // The library owns the text: copied before it can go.
    CString keyword = text != nullptr ? CString(text) : CString();
    if (result == 1 && IsStillAttached(this, self))
        FindTextWithBusyDialog(keyword, value, cleared != 0);
}

void CChildFrame::OnSearchBoxHighlight()
{
    CString text;
    if (m_pView == nullptr || !Host().GetSearchBoxText(text))
        return;
    FindTextWithBusyDialog(text, 0, false);
}

// The find-in-pages popup for the search box's text (only while the search
// bar is there).
void CChildFrame::OnSearchBoxTextSearch()
{
    Host().ShowTextSearchPopup();
}

void CChildFrame::FindTextWithBusyDialog(const CString& text, int value, bool cleared)
{
    if (m_pView == nullptr)
        return;
    const CString style = AppStrings().GetEtcText(kEtcHighlightStyle);
    const CString idPrefix = AppStrings().GetEtcText(kEtcHighlightIdPrefix);
    if (cleared) {
        m_pView->SetHighlightWords(TRUE, text, value, style, idPrefix);
        return;
    }
    if (text.IsEmpty())
        return;
    const int count = m_pView->SetHighlightWords(FALSE, text, value, style, idPrefix);
    if (count < 0)
        return;  // no highlighting in this page
    // The texts come from a data file: only their "%d" and "%s" are filled.
    CString message = AppStrings().GetMessageText(count == 0 ? 12 : 10);
    if (count > 0) {
        CString number;
        number.Format("%d", count);
        TextFormat::ReplaceFirst(message, "%d", number);
    }
    TextFormat::ReplaceFirst(message, "%s", text);
    ::MessageBoxA(m_hWnd, message, AppClassName(), MB_OK);
}

void CChildFrame::OnUpdateTextSize(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(m_pView != nullptr && m_pView->GetTextSize() == pCmdUI->m_nID ? 1 : 0);
}

void CChildFrame::OnOpenDialog()
{
    CTabItem* tab = GetTabItem();
    if (m_pView == nullptr || tab == nullptr)
        return;
    CDialogsLibrary library(AppFolders().GetProgramFolder());
    auto show = library.Get<FormbayExports::ShowOpenDlgFn>("ShowOpenDlg");
    if (show == nullptr)
        return;
    int result = 0;
    const HWND self = m_hWnd;
    const char* text = show(1, tab->m_url, &result);
    CString url = text != nullptr ? CString(text) : CString();
    // The dialog's loop may have closed this tab.
    if (result == 1 && !url.IsEmpty() && IsStillAttached(this, self) && m_pView != nullptr)
        m_pView->Navigate(url);
}

//--- Auto-reload and locks

void CChildFrame::OnReloadPeriod(UINT nID)
{
    static const int kSeconds[] = {15, 30, 60, 120, 180, 300};
    CTabItem* tab = GetTabItem();
    if (m_pView == nullptr || tab == nullptr)
        return;
    m_reloadCommand = nID;
    if (nID == 36264) {
        m_pView->PostMessage(WM_COMMAND, kCmdReloadStop);
        return;
    }
    tab->m_reloadPeriod = nID == 36271 ? AppSettings().iReload * 60 : kSeconds[nID - 36265];
    m_pView->PostMessage(WM_COMMAND, kCmdReloadStart);
}

void CChildFrame::OnToggleReload()
{
    CTabItem* tab = GetTabItem();
    if (m_pView == nullptr || tab == nullptr)
        return;
    if (!(tab->m_flags & kTabAutoReload)) {
        m_pView->PostMessage(WM_COMMAND, kCmdReloadStart);
        m_reloadCommand = 36271;
    } else {
        m_pView->PostMessage(WM_COMMAND, kCmdReloadStop);
        m_reloadCommand = 36264;
    }
}

void CChildFrame::OnWheelLock()
{
    if (m_pView == nullptr)
        return;
    if (TabHasFlag(kTabWheelLock))
        m_pView->ClearWheelLock();
    else
        m_pView->SetWheelLock();
}

void CChildFrame::OnLinkLock()
{
    if (m_pView == nullptr)
        return;
    if (TabHasFlag(kTabLinkLock))
        m_pView->ClearLinkLock();
    else
        m_pView->SetLinkLock();
}

bool CChildFrame::TabHasFlag(DWORD flag) const
{
    CTabItem* tab = GetTabItem();
    return tab != nullptr && (tab->m_flags & flag) != 0;
}

void CChildFrame::OnUpdateToggleReload(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(TabHasFlag(kTabAutoReload) ? 1 : 0);
}

void CChildFrame::OnUpdateWheelLock(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(TabHasFlag(kTabWheelLock) ? 1 : 0);
}

void CChildFrame::OnUpdateLinkLock(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(TabHasFlag(kTabLinkLock) ? 1 : 0);
}

void CChildFrame::OnUpdateReloadPeriod(CCmdUI* pCmdUI)
{
    if (!TabHasFlag(kTabAutoReload))
        m_reloadCommand = 36264;
    pCmdUI->Enable(TRUE);
    pCmdUI->SetRadio(pCmdUI->m_nID == m_reloadCommand);
}

//--- The tab's mouse actions and menu

LRESULT CChildFrame::OnTabMouseAction(WPARAM wParam, LPARAM lParam)
{
    const SettingsRecord& s = AppSettings();
    int action;
    switch (wParam) {
    case 0: action = s.iTabmouseDC; break;
    case 1: action = s.iTabmouseR; break;
    case 2: action = s.iTabmouseWC; break;
    default: return 0;
    }
    POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ShowTabMenu(action, point);
    return 0;
}

void CChildFrame::ShowTabMenu(int action, POINT point)
{
    if (action == 2) {
        if (m_pView != nullptr)
            m_pView->PostMessage(WM_COMMAND, kCmdRefresh);
        return;
    }
    if (action != 1 || Host().GetFrameWindow() == nullptr)
        return;
    // The menu's commands act on the active tab: this one.
    ::BringWindowToTop(m_hWnd);
    Host().TrackTabMenu(point);
}
