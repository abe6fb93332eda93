// CMainFrame: the rebar with the address box, main toolbar and search bar,
// their saved layout, and the frame's bar commands.
#include "app/MainFrame.h"

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "app/VantorelApp.h"
#include "app/resource.h"
#include "bars/GroupTabBar.h"
#include "bars/PageTabBar.h"
#include "framework/core/AtomicFile.h"
#include "framework/core/File.h"
#include "lists/WebSearch.h"
#include "shared/FrameMessages.h"
#include "tab/ChildFrame.h"
#include "tab/DroppedFiles.h"
#include "tab/PageScript.h"
#include "tab/TabGroup.h"
#include "tab/TabItem.h"

namespace {

const UINT kReBarBarId = 0xE8FE;       // 59646
const DWORD kReBarStyle = 0x56002844;  // child, visible, clipping, top, bottom border, dynamic
const DWORD kBandStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_FLYBY;
const int kFirstAddressText = 2;
const int kFirstAddressName = 3;
const int kFirstToolBarName = 5;
const int kFirstLinksBarName = 6;
const int kFirstSearchBarName = 15;
const int kEtcDefaultBands = 69;
const int kMaxOrderBytes = 2047;
const char kOrderFile[] = "toolbar.dat2";
const WORD kOpenDropped = 9;
const WORD kOpenLastDropped = 10;
const UINT kCmdFindInPage = 1076;
const UINT kCmdPageSearch = 1065;

bool IsScriptUrlText(const CString& url)
{
    CString head = url.Left(10);
    head.MakeLower();
    return head.Find("javascript") == 0 || head.Find("script") == 0 || head.Find("vbscript") == 0 ||
           head.Find("jscript") == 0;
}

// The address a dropped file opens: a shortcut's "URL=" line (its
// extension is looked at before the URL test: a shortcut is a drive path
// too, and would open as a file), else the name when it is an address
// (with "h" put before "ttp://", without line breaks). Empty for anything
// else and for a name no path for the ANSI functions reaches.
CString DroppedFileAddress(const DroppedFile& file)
{
    CString target;
    if (IsShortcutName(file)) {
        ReadDroppedShortcut(file, target);
        return target;
    }
    target = file.path;
    return AsDroppedAddress(target) ? target : CString();
}

// The bars are found by their rectangles: a tab control lets the mouse
// through between its tabs.
bool IsOverBar(CWnd* bar, POINT pt)
{
    RECT rc;
    return bar != nullptr && bar->IsWindowVisible() && ::GetWindowRect(bar->m_hWnd, &rc) && ::PtInRect(&rc, pt);
}

} // namespace

BOOL CMainFrame::CreateReBarBands()
{
    if (!m_wndReBar.Create(this, kReBarBarId, kReBarStyle))
        return FALSE;
    CWnd& host = m_wndReBar.GetReBar();
    m_wndAddress.m_pOwnerFrame = this;
    m_wndAddress.m_pHost = &m_barHost;
    m_wndSearchBar.GetSearchCombo().m_pOwnerFrame = this;
    m_wndSearchBar.GetSearchCombo().m_pHost = &m_barHost;
    if (!m_wndAddress.Create(WS_CHILD | CBS_DROPDOWN | CBS_AUTOHSCROLL, CRect(0, 0, 0, 0), &host, CAddressCombo::kId) ||
        !m_wndToolBar.Create(&host, kBandStyle, AFX_IDW_TOOLBAR) ||
        !m_wndLinksBar.Create(&host, kBandStyle, CLinksBar::kId) ||
        !m_wndSearchBar.Create(&host, kBandStyle, CSearchBar::kId))
        return FALSE;
    m_wndAddress.MoveWindow(0, 0, 200, 22);
    m_wndToolBar.ModifyStyle(0, CCS_ADJUSTABLE);
    m_wndLinksBar.ModifyStyle(0, CCS_ADJUSTABLE);
    m_wndSearchBar.ModifyStyle(0, CCS_ADJUSTABLE);
    // The saved order is read first, so that the toolbar gets its buttons
    // once instead of the defaults and then the order.
    m_wndToolBar.InitializeInOrder(ReadToolBarOrder());
    if (!m_wndSearchBar.Initialize())
        return FALSE;
    m_wndSearchBar.LoadImages();
    m_wndSearchBar.SetButtons(false);

    m_hReBarBack = static_cast<HBITMAP>(LoadImageA(
        nullptr, theApp.m_folders.ResFile("rebarbg.bmp"), IMAGE_BITMAP, 0, 0,
        LR_LOADFROMFILE));
    if (m_hReBarBack != nullptr)
        m_wndReBar.SetBkImage(m_hReBarBack);
    const SettingsRecord& settings = theApp.m_settings;
    CString addressText = settings.bAddStrEnable() ? theApp.GetFirstText(kFirstAddressText) : CString();
    const DWORD kBreak = RBBS_BREAK | RBBS_FIXEDBMP;
    const DWORD kBreakGripper = kBreak | RBBS_GRIPPERALWAYS;
    if (!m_wndReBar.AddBar(&m_wndAddress, addressText, kBreak, theApp.GetFirstText(kFirstAddressName), false) ||
        !m_wndReBar.AddBar(&m_wndToolBar, nullptr, kBreakGripper, theApp.GetFirstText(kFirstToolBarName), false) ||
        !m_wndReBar.AddBar(&m_wndLinksBar, nullptr, kBreakGripper, theApp.GetFirstText(kFirstLinksBarName), false) ||
        !m_wndReBar.AddBar(&m_wndSearchBar, nullptr, kBreakGripper, theApp.GetFirstText(kFirstSearchBarName), false))
        return FALSE;
    m_wndToolBar.UpdateBandSize();
    m_wndSearchBar.UpdateBandSize();
    m_wndReBar.LoadState(theApp.m_rebar);
    theApp.m_rebar.Empty();
    m_wndSearchBar.RecalcLayout();
    m_wndLinksBar.Initialize();  // its buttons come with the favorites' icons
    return TRUE;
}

CString CMainFrame::ReadToolBarOrder() const
{
    CFile file;
    if (!file.Open(theApp.ProgramFile(kOrderFile), CFile::modeRead | CFile::shareDenyNone))
        return theApp.GetEtcText(CMainToolBar::kDefaultOrderLine);
    char buffer[kMaxOrderBytes + 1] = "";
    UINT got = file.Read(buffer, kMaxOrderBytes);
    buffer[got <= static_cast<UINT>(kMaxOrderBytes) ? got : kMaxOrderBytes] = '\0';
    return CString(buffer);
}

void CMainFrame::SaveBarState()
{
    if (!m_wndReBar.IsWindow())
        return;
    CString bands;
    m_wndReBar.SaveState(bands);
    theApp.m_rebar = bands;
    CString order;
    m_wndToolBar.GetLayoutString(order);
    if (order.IsEmpty())
        return;
    // Replaced whole or not at all: a failed write keeps the last order.
    CAtomicTextFile file;
    if (!file.Begin(theApp.ProgramFile(kOrderFile)) ||
        !file.Write(static_cast<LPCSTR>(order), static_cast<UINT>(order.GetLength()))) {
        file.Abandon();
        return;
    }
    DWORD error = 0;
    if (!file.CommitIfChanged(&error))
        TellNotSaved(theApp.ProgramFile(kOrderFile), error);
}

//--- Seams of the search box and the address box

BOOL CMainFrame::GetSearchBoxText(CString& text)
{
    text.Empty();
    CSearchCombo& box = m_wndSearchBar.GetSearchCombo();
    if (box.GetSafeHwnd() == nullptr)
        return FALSE;
    box.GetWindowText(text);
    return TRUE;
}

void CMainFrame::AddSearchBoxHistory(const CString& text)
{
    CSearchCombo& box = m_wndSearchBar.GetSearchCombo();
    if (box.GetSafeHwnd() == nullptr || text.IsEmpty())
        return;
    int found = box.FindStringExact(-1, text);
    if (found >= 0)
        box.DeleteString(found);
    box.InsertString(0, text);
    box.SetWindowText(text);
}

void CMainFrame::FocusSearchBox()
{
    CSearchCombo& box = m_wndSearchBar.GetSearchCombo();
    if (box.GetSafeHwnd() != nullptr)
        box.SetFocus();
}

BOOL CMainFrame::GetSearchButtonRect(RECT& rect)
{
    ::SetRectEmpty(&rect);
    if (!m_wndSearchBar.IsWindow() || !m_wndSearchBar.GetRect(CSearchBar::kCmdRunSearch, &rect))
        return FALSE;
    ::MapWindowPoints(m_wndSearchBar.m_hWnd, nullptr, reinterpret_cast<LPPOINT>(&rect), 2);
    return TRUE;
}

// Only the active tab's address shows; script addresses never do. A blank
// page puts the keyboard into the box unless the user is busy with the
// box or the tab bars.
void CMainFrame::UpdateAddressBar(HWND hTab, LPCTSTR url)
{
    if (m_wndAddress.GetSafeHwnd() == nullptr)
        return;
    if (hTab == nullptr && url == nullptr) {
        m_wndAddress.SetWindowText("");
        return;
    }
    CTabItem* active = GetActiveTab();
    if (url == nullptr || *url == '\0' || active == nullptr || active->m_hFrame != hTab || IsScriptUrlText(url))
        return;
    m_wndAddress.SetWindowText(url);
    if (lstrcmpiA(url, "about:blank") != 0)
        return;
    HWND focus = ::GetFocus();
    if (focus == m_wndAddress.m_hWnd || focus == m_wndAddress.GetEdit().m_hWnd)
        return;
    POINT cursor = {};
    ::GetCursorPos(&cursor);
    if ((IsPageBarReady() && IsOverBar(m_pPageTabBar, cursor)) || (IsGroupBarReady() && IsOverBar(m_pGroupTabBar, cursor)))
        return;
    m_wndAddress.SetFocus();
}

//--- Bar commands

void CMainFrame::OnResetBands()
{
    CReBar& bar = m_wndReBar.GetReBar();
    for (UINT i = 0, n = bar.GetBandCount(); i < n; ++i)
        bar.ShowBand(i, TRUE);
    m_wndReBar.LoadState(theApp.GetEtcText(kEtcDefaultBands));
    RecalcLayout();
}

void CMainFrame::OnLockBars()
{
    m_wndReBar.ToggleGrippers();
}

void CMainFrame::OnUpdateLockBars(CCmdUI* pCmdUI)
{
    CReBar& bar = m_wndReBar.GetReBar();
    int index = bar.IsWindow() ? bar.IDToIndex(AFX_IDW_TOOLBAR) : -1;
    REBARBANDINFOA band = {};
    band.fMask = RBBIM_STYLE;
    pCmdUI->SetCheck(index >= 0 && bar.GetBandInfo(static_cast<UINT>(index), &band) &&
                     (band.fStyle & RBBS_NOGRIPPER) != 0);
}

namespace {

// The control id of the band a band toggle shows or hides.
UINT BandOfToggle(UINT command)
{
    switch (command) {
    case ID_VIEW_TOOLBAR_BAND: return AFX_IDW_TOOLBAR;
    case ID_VIEW_LINKS_BAND: return CLinksBar::kId;
    case ID_VIEW_SEARCH_BAND: return kSearchBarId;
    default: return CAddressCombo::kId;
    }
}

} // namespace

void CMainFrame::OnToggleBand(UINT nID)
{
    m_wndReBar.ToggleBand(BandOfToggle(nID));
    RecalcLayout();
}

void CMainFrame::OnUpdateToggleBand(CCmdUI* pCmdUI)
{
    UINT band = BandOfToggle(pCmdUI->m_nID);
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(m_wndReBar.IsWindow() && m_wndReBar.IsBandVisible(band));
}

void CMainFrame::OnToggleSearchBar()
{
    OnToggleBand(ID_VIEW_SEARCH_BAND);
}

void CMainFrame::OnUpdateToggleSearchBar(CCmdUI* pCmdUI)
{
    OnUpdateToggleBand(pCmdUI);
}

void CMainFrame::OnFocusAddress()
{
    if (m_wndAddress.GetSafeHwnd() != nullptr)
        m_wndAddress.SetFocus();
}

void CMainFrame::OnFocusSearch()
{
    FocusSearchBox();
}

void CMainFrame::OnGo()
{
    if (m_wndAddress.GetSafeHwnd() != nullptr)
        OnComboMessage(WM_FRAME_ADDRESSENTER, &m_wndAddress);
}

//--- The status bar and option toggles

void CMainFrame::OnToggleStatusBar()
{
    SettingsRecord& settings = theApp.m_settings;
    settings.bBar_Status(!settings.bBar_Status());
    ShowBar(&m_wndStatusBar, settings.bBar_Status(), FALSE);
}

void CMainFrame::OnUpdateStatusBarCommand(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(theApp.m_settings.bBar_Status() ? 1 : 0);
}

void CMainFrame::OnToggleClickOpen()
{
    SettingsRecord& settings = theApp.m_settings;
    settings.bClickOpen(!settings.bClickOpen());
}

void CMainFrame::OnUpdateClickOpen(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(theApp.m_settings.bClickOpen() ? 1 : 0);
}

//--- The find dispatch

// CtrlF picks the kind of find: the text search popup, the page's own find
// or the in-page search; other values do nothing.
void CMainFrame::OnFindDispatch()
{
    static const UINT kFinds[] = {ID_EDIT_TEXTSEARCH, kCmdFindInPage, kCmdPageSearch};
    UINT kind = theApp.m_settings.CtrlF;
    if (kind < sizeof(kFinds) / sizeof(kFinds[0]))
        PostMessage(WM_COMMAND, kFinds[kind], 0);
}

void CMainFrame::OnUpdateTabCommand(CCmdUI* pCmdUI)
{
    CTabGroup* group = theApp.GetActiveGroup();
    pCmdUI->Enable(group != nullptr && group->GetTabCount() > 0);
}

//--- Dropped files

LRESULT CMainFrame::OnDropFilesMessage(WPARAM wParam, LPARAM)
{
    OnDropFiles(reinterpret_cast<HDROP>(wParam));
    return 0;
}

void CMainFrame::OnDropFiles(HDROP hDrop)
{
    std::vector<DroppedFile> files;
    if (!ReadDroppedFiles(reinterpret_cast<HGLOBAL>(hDrop), files) || files.empty())
        return;
    // Over a group tab: that group; anywhere else the current one.
    CTabGroup* group = nullptr;
    if (IsGroupBarReady() && m_pGroupTabBar->IsWindowVisible()) {
        POINT cursor = {};
        ::GetCursorPos(&cursor);
        m_pGroupTabBar->ScreenToClient(&cursor);
        int index = m_pGroupTabBar->HitTest(cursor);
        if (index >= 0)
            group = m_pGroupTabBar->GetGroupAt(index);
    }
    std::vector<std::wstring> unreachable;
    {
        CTabSetMark mark(*this);
        CTabBatch batch;
        for (size_t i = 0; i < files.size(); ++i) {
            const CString target = DroppedFileAddress(files[i]);
            if (target.IsEmpty()) {
                if (IsUnreachable(files[i]))
                    unreachable.push_back(files[i].name);
                continue;
            }
            const WORD kind = i + 1 == files.size() ? kOpenLastDropped : kOpenDropped;
            theApp.OpenUrl(group != nullptr && theApp.IsGroupListed(group) ? group : nullptr, target, kind);
        }
    }
    ReportUnreachableFiles(m_hWnd, unreachable);
}

//--- The wheel over the tab bars

BOOL CMainFrame::OnMouseWheel(UINT, short zDelta, CPoint pt)
{
    const SettingsRecord& settings = theApp.m_settings;
    const bool towardsUser = zDelta < 0;
    if (IsPageBarReady() && IsOverBar(m_pPageTabBar, pt)) {
        CTabItem* active = GetActiveTab();
        if (active == nullptr)
            return TRUE;
        if (!settings.bWheelChange())
            m_pPageTabBar->ScrollStep(towardsUser);
        else if (towardsUser)
            ActivateNextTab(active);
        else
            ActivatePrevTab(active);
        return TRUE;
    }
    if (IsGroupBarReady() && IsOverBar(m_pGroupTabBar, pt)) {
        if (!settings.bWheelChange_P())
            m_pGroupTabBar->ScrollStep(towardsUser);
        else if (towardsUser)
            m_pGroupTabBar->SelectNextGroup();
        else
            m_pGroupTabBar->SelectPrevGroup();
        return TRUE;
    }
    return static_cast<BOOL>(Default());
}

//--- The main toolbar's drop-down menus

HMENU CMainFrame::BuildToolbarDropDown(int buttonId, HMENU* pOwnerMenu)
{
    UINT resource = 0;
    switch (buttonId) {
    case 32790: resource = IDR_MENU_NEWTAB; break;
    case ID_EDIT_FINDDISPATCH: resource = IDR_MENU_FIND; break;
    case 32772: resource = IDR_MENU_PROXY; break;
    case 1044: resource = IDR_MENU_RELOAD; break;
    default: return nullptr;
    }
    HMENU menu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(resource));
    HMENU popup = menu != nullptr ? ::GetSubMenu(menu, 0) : nullptr;
    if (popup == nullptr) {
        if (menu != nullptr)
            ::DestroyMenu(menu);
        return nullptr;
    }
    *pOwnerMenu = menu;
    if (buttonId == 32790 && GetActiveTab() == nullptr) {
        ::DeleteMenu(popup, 0, MF_BYPOSITION);  // no page to duplicate
    } else if (buttonId == 32772) {
        CNewMenu proxies;
        if (proxies.Attach(popup)) {
            FillProxyMenu(proxies);
            proxies.Detach();
        }
    } else if (buttonId == 1044) {
        ::ModifyMenuA(popup, 6, MF_BYPOSITION | MF_STRING, ID_RELOAD_USER, GetReloadCaption());
    }
    return popup;
}

// Only the main toolbar's own notifications: the id alone is not enough.
void CMainFrame::OnToolbarDropDown(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = TBDDRET_DEFAULT;
    auto* pInfo = reinterpret_cast<NMTOOLBARA*>(pNMHDR);
    if (pInfo->hdr.hwndFrom != m_wndToolBar.m_hWnd)
        return;
    RECT button = {};
    m_wndToolBar.GetRect(pInfo->iItem, &button);
    ::MapWindowPoints(m_wndToolBar.m_hWnd, nullptr, reinterpret_cast<LPPOINT>(&button), 2);
    if (pInfo->iItem == ID_GROUP_NEW) {
        BuildPopupMenu({button.left, button.bottom}, false);
        return;
    }
    if (pInfo->iItem == ID_NAV_BACK || pInfo->iItem == ID_NAV_FORWARD) {
        ShowHistoryMenu(pInfo->iItem == ID_NAV_BACK, POINT{button.left, button.bottom});
        return;
    }
    HMENU owner = nullptr;
    HMENU popup = BuildToolbarDropDown(pInfo->iItem, &owner);
    if (popup == nullptr)
        return;
    ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, button.left, button.bottom, 0, m_hWnd,
                     nullptr);
    ::DestroyMenu(owner);
}

//--- Tab queries, placement, background and focus

void CMainFrame::GetTabTitleAt(int index, CString& text) const
{
    CTabGroup* group = theApp.GetActiveGroup();
    CTabItem* tab = group != nullptr ? group->GetTab(index) : nullptr;
    if (tab != nullptr)
        text = tab->m_title;
}

void CMainFrame::GetTabUrlAt(int index, CString& text) const
{
    CTabGroup* group = theApp.GetActiveGroup();
    CTabItem* tab = group != nullptr ? group->GetTab(index) : nullptr;
    if (tab != nullptr)
        text = tab->m_url;
}

void CMainFrame::ShowBar(CControlBar* pBar, BOOL bShow, BOOL bDelay)
{
    if (pBar == nullptr || !pBar->IsWindow())
        return;
    ::SetWindowPos(pBar->m_hWnd, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | (bShow ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    if (pBar->GetBarStyle() & CBRS_FLOATING) {
        HWND hFloating = ::GetParent(::GetParent(pBar->m_hWnd));
        if (hFloating != nullptr)
            ::ShowWindow(hFloating, bShow ? SW_SHOWNOACTIVATE : SW_HIDE);
    }
    if (bDelay)
        DelayRecalcLayout();
    else
        RecalcLayout();
}

namespace {

void SetNormalPlacement(HWND hWnd, const RECT& rect)
{
    if (hWnd == nullptr || !::IsWindow(hWnd))
        return;
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    ::GetWindowPlacement(hWnd, &placement);
    placement.rcNormalPosition = rect;
    placement.showCmd = SW_SHOWNORMAL;
    ::SetWindowPlacement(hWnd, &placement);
}

} // namespace

void CMainFrame::SetActiveTabPlacement(const RECT& rect)
{
    CTabItem* active = GetActiveTab();
    if (active != nullptr)
        SetNormalPlacement(active->m_hFrame, rect);
}

void CMainFrame::SetFramePlacement(const RECT& rect)
{
    SetNormalPlacement(m_hWnd, rect);
}

// Nothing is painted: the pages cover the client area. Without a page the
// system paints the background.
BOOL CMainFrame::OnEraseBkgnd(HDC)
{
    return theApp.m_pActiveTabFrame != nullptr ? TRUE : FALSE;
}

// The window that had the keyboard gets it back when the program is
// activated again.
void CMainFrame::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
    if (nState == WA_INACTIVE) {
        HWND focus = ::GetFocus();
        m_hFocusMemory = focus != nullptr && ::IsChild(m_hWnd, focus) ? focus : nullptr;
    }
    CNewMDIFrameWnd::OnActivate(nState, pWndOther, bMinimized);
    if (nState != WA_INACTIVE && !bMinimized && m_hFocusMemory != nullptr && ::IsWindow(m_hFocusMemory) &&
        ::IsChild(m_hWnd, m_hFocusMemory))
        ::SetFocus(m_hFocusMemory);
}

int CMainFrame::CallPageScript(LPCTSTR name, const CStringArray& args, IDispatch* pScript)
{
    return CallScriptFunction(pScript, name, args) ? 1 : 0;
}
