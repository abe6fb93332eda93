#include "tab/BrowserView.h"

#include <windows.h>
#include <ocidl.h>
#include <oleauto.h>

#include "framework/ole/OleUtil.h"
#include "lists/SearchEngineMenu.h"
#include "lists/SearchEngineTree.h"
#include "menulib/NewMenu.h"
#include "lists/WebSearch.h"
#include "shared/AppData.h"
#include "shared/AppSettings.h"
#include "shared/FrameMessages.h"
#include "shared/UrlText.h"
#include "tab/PageSelection.h"
#include "tab/ChildFrame.h"
#include "tab/KeyState.h"
#include "tab/TabGroup.h"
#include "tab/TabHost.h"
#include "tab/TabItem.h"

namespace {

const UINT_PTR kReloadTimerId = 1;
const UINT kControlId = 0xE900;
const UINT kPageMenuId = 155;
const int kPageMenuPlugIns = 4;  // the plug-ins' submenu
const int kPageMenuScripts = 5;  // the scripts' submenu
const int kPageMenuEngines = 9;  // the search engines' submenu

} // namespace

BEGIN_MESSAGE_MAP(CBrowserView, CView)
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_TIMER()
    ON_WM_CLOSE()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_ERASEBKGND()
    ON_COMMAND(1018, OnGoBackCmd)
    ON_COMMAND(1019, OnGoForwardCmd)
    ON_COMMAND(1020, OnGoHomeCmd)
    ON_COMMAND(1021, OnStopCmd)
    ON_COMMAND(1022, OnRefreshCmd)
    ON_COMMAND(1024, OnStartAutoReloadCmd)
    ON_COMMAND(1025, OnStopAutoReloadCmd)
    ON_COMMAND(1052, OnGoUpCmd)
    ON_COMMAND(1058, OnPrevTab)
    ON_COMMAND(1061, OnNextTab)
    ON_COMMAND_RANGE(33000, 33050, OnBackMenu)
    ON_COMMAND_RANGE(35001, 35050, OnForwardMenu)
    ON_COMMAND_RANGE(36275, 36287, OnPageOption)
    ON_COMMAND_RANGE(36429, 36429, OnPageOption)
    ON_COMMAND_RANGE(32774, 32778, OnTextSize)
    ON_UPDATE_COMMAND_UI(1018, OnUpdateGoBack)
    ON_UPDATE_COMMAND_UI(1019, OnUpdateGoForward)
    ON_UPDATE_COMMAND_UI_RANGE(36275, 36287, OnUpdatePageOption)
    ON_UPDATE_COMMAND_UI(36429, OnUpdatePageOption)
END_MESSAGE_MAP()

// The view always answers its control with the tab's page-options word.
CBrowserView::CBrowserView(ITabHost* host) : m_pHost(host)
{
    m_ambient.SetOff(false);
}

CBrowserView::~CBrowserView()
{
    if (m_pTabItem != nullptr) {
        Host().ForgetTab(m_pTabItem);
        delete m_pTabItem;
        m_pTabItem = nullptr;
    }
}

void CBrowserView::PostNcDestroy()
{
    delete this;
}

ITabHost& CBrowserView::Host() const
{
    return TabHostOr(m_pHost, m_hWnd);
}

bool CBrowserView::IsActiveTab() const
{
    return Host().GetActiveTabView() == this;
}

CChildFrame* CBrowserView::GetChildFrame() const
{
    return dynamic_cast<CChildFrame*>(GetParentFrame());
}

//--- Creation

BOOL CBrowserView::Create(CWnd* pParent, UINT nID, DWORD dwStyle)
{
    if (!CView::Create(nullptr, nullptr, dwStyle, CRect(0, 0, 0, 0), pParent, nID))
        return FALSE;  // already deleted
    if (!CreateBrowserControl()) {
        ::DestroyWindow(m_hWnd);
        return FALSE;
    }
    return TRUE;
}

void CBrowserView::OnInitialUpdate()
{
    CChildFrame* frame = GetChildFrame();
    if (m_pTabItem != nullptr || frame == nullptr)
        return;
    m_pTabItem = new CTabItem;
    if (m_pTabItem == nullptr)
        return;
    CTabItem* tab = m_pTabItem;
    // Registered for the view window when the view first shows: a tab
    // opened in the background is hidden and can take no drop until then.
    if (m_pPageDropTarget == nullptr)
        m_pPageDropTarget = new CPageDropTarget(m_pHost);
    m_bIEMenuAllowed = 1;
    m_contextMenuMode = AppSettings().iIEContext;
    m_dwHostFlags = kTabHostFlags;
    AttachToSite(m_wndBrowser.GetControlSite(), &m_ambient);
    tab->m_pFrame = frame;
    tab->m_hFrame = frame->m_hWnd;
    tab->m_pView = this;
    if (m_pBrowser != nullptr && m_pApplication == nullptr)
        m_pBrowser->get_Application(&m_pApplication);

    const SettingsRecord& s = AppSettings();
    tab->m_reloadPeriod = s.iReload * 60;
    // The frame sets the tab's locks and page options.
    frame->AttachView(this);
    NotifyInserted();
    tab->m_insertHint = 0;
    if (m_pBrowser != nullptr)
        m_pBrowser->put_RegisterAsBrowser(s.bTargetName() ? VARIANT_TRUE : VARIANT_FALSE);
    Host().TrimWorkingSet(FALSE);
}

void CBrowserView::ApplyTabSettings()
{
    CTabItem* tab = m_pTabItem;
    if (tab == nullptr)
        return;
    const SettingsRecord& s = AppSettings();
    DWORD options = tab->m_pGroup != nullptr ? tab->m_pGroup->m_options : s.dwDLControlFlags;
    bool wheelLock = s.bTabActivate_WC();
    bool linkLock = s.bTabActivate_LINK();
    ITabHost& host = Host();
    CTabGroup* group = tab->m_pGroup != nullptr ? tab->m_pGroup : host.GetActiveGroup();
    CBrowserView* active = host.GetActiveTabView();
    if (s.bLinkActivateSetting() && host.GetGroupTabCount(group) >= 1 && active != nullptr &&
        active != this && active->GetTabItem() != nullptr) {
        CTabItem* activeTab = active->GetTabItem();
        options = s.dwDLControlFlags_LinkActivate != 0 ? active->GetPageOptions() : s.dwDLControlFlags;
        if (s.dwTool_LinkActivate & 0x10)
            wheelLock = (activeTab->m_flags & kTabWheelLock) != 0;
        if (s.dwTool_LinkActivate & 0x20)
            linkLock = (activeTab->m_flags & kTabLinkLock) != 0;
    }
    tab->m_flags = (tab->m_flags & ~(kTabWheelLock | kTabLinkLock)) |
                   (wheelLock ? DWORD(kTabWheelLock) : 0u) | (linkLock ? DWORD(kTabLinkLock) : 0u);
    SetPageOptions(options);
}

//--- What the document host asks of its window

CDocHostHandler::Options CBrowserView::GetHostOptions()
{
    const SettingsRecord& s = AppSettings();
    Options options;
    options.bShowScriptErr = s.bShowScriptErr();
    options.bShowActiveXErrMsg = s.bShowActiveXErrMsg();
    options.bShowRefreshMsg = s.bShowRefreshMsg();
    return options;
}

void CBrowserView::SetStatusText(LPCSTR pszText)
{
    Host().SetStatusText(pszText);
}

CString CBrowserView::GetEtcText(int line)
{
    return AppStrings().GetEtcText(line);
}

void CBrowserView::ShowEngineMenu()
{
    if (HWND hFrame = Host().GetFrameWindow())
        ::PostMessageA(hFrame, WM_COMMAND, kCmdShowEngineMenu, 0);
}

void CBrowserView::RememberContextMenu(POINT pt, DWORD dwID)
{
    m_ptContextMenu = pt;
    m_contextMenuId = dwID;
}

void CBrowserView::ShowPageMenu(POINT pt, const CPageSelection& selection)
{
    ITabHost& host = Host();
    const HWND hFrame = host.GetFrameWindow();
    if (hFrame == nullptr)
        return;
    // The selection is what the menu's commands act on.
    host.SetPageMenuKeyword(selection.m_strText);
    CNewMenu menu;
    if (!menu.LoadMenu(kPageMenuId))
        return;
    CNewMenu* popup = menu.GetSubMenu(0);
    if (popup == nullptr) {
        menu.DestroyMenu();
        return;
    }
    if (CNewMenu* engines = popup->GetSubMenu(kPageMenuEngines))
        FillPageMenuEngines(*engines);
    if (CNewMenu* plugIns = popup->GetSubMenu(kPageMenuPlugIns))
        host.FillPlugInMenu(*plugIns);
    if (CNewMenu* scripts = popup->GetSubMenu(kPageMenuScripts))
        host.FillScriptMenu(*scripts);
    const HWND self = m_hWnd;
    UINT chosen = static_cast<UINT>(popup->TrackPopupMenu(TPM_RETURNCMD | TPM_RIGHTBUTTON, pt.x, pt.y + 1,
                                                          CWnd::FromHandle(hFrame)));
    menu.DestroyMenu();
    // The menu's loop may have closed this tab.
    if (IsStillAttached(this, self))
        OnPageMenuChoice(chosen);
}

// The engines' submenu: searching with every engine, then the engine tree.
void CBrowserView::FillPageMenuEngines(CNewMenu& engines)
{
    while (engines.DeleteMenu(0, MF_BYPOSITION)) {
    }
    const CSearchEngineTree& tree = Host().GetSearchEngines();
    const CSearchEngineNode* root = tree.GetRoot();
    // Searching with every engine is the root's command.
    const UINT first = kCmdSearchEngineFirst + static_cast<UINT>(root != nullptr ? root->m_flatIndex : 0);
    engines.AppendODMenu(AppStrings().GetEtcText(1), MF_STRING, first);
    engines.AppendODMenu(nullptr, MF_SEPARATOR, 0);
    if (root != nullptr) {
        AppendSearchEngineItems(engines, *root, Host().GetSearchEngineMenuTexts());
        MeasureMenuCaptions(engines, -1);
    }
}

void CBrowserView::OnPageMenuChoice(UINT nID)
{
    ITabHost& host = Host();
    const HWND hFrame = host.GetFrameWindow();
    if (nID == 0 || hFrame == nullptr)
        return;
    host.SetKeywordSearchPending(nID >= kCmdSearchEngineFirst &&
                                 nID < kCmdSearchEngineFirst + CSearchEngineTree::kCommandCount);
    ::PostMessageA(hFrame, WM_COMMAND, nID, 0);
}

//--- Control access

STDMETHODIMP CBrowserView::GetDropTarget(IDropTarget* pDropTarget, IDropTarget** ppDropTarget)
{
    return VaRunComMethod("GetDropTarget", [&]() -> HRESULT {
        if (ppDropTarget == nullptr)
            return E_POINTER;
        *ppDropTarget = nullptr;
        if (m_pPageDropTarget == nullptr)
            return E_NOTIMPL;
        m_pPageDropTarget->OfferPageTarget(pDropTarget);
        *ppDropTarget = m_pPageDropTarget;
        m_pPageDropTarget->AddRef();
        return S_OK;
    });
}

// The main frame's automation object, which pages reach as window.external.
IDispatch* CBrowserView::GetExternalObject()
{
    return Host().GetScriptObject();
}

IDispatch* CBrowserView::GetHtmlDocument() const
{
    IDispatch* document = nullptr;
    if (m_pBrowser != nullptr && FAILED(m_pBrowser->get_Document(&document)))
        document = nullptr;
    return document;
}

IDispatch* CBrowserView::GetApplication() const
{
    IDispatch* application = nullptr;
    if (m_pBrowser != nullptr && FAILED(m_pBrowser->get_Application(&application)))
        application = nullptr;
    return application;
}

BOOL CBrowserView::IsBusy() const
{
    VARIANT_BOOL busy = VARIANT_FALSE;
    if (m_pBrowser != nullptr && SUCCEEDED(m_pBrowser->get_Busy(&busy)))
        return busy != VARIANT_FALSE;
    return FALSE;
}

bool CBrowserView::IsReadyAndIdle() const
{
    READYSTATE state = READYSTATE_UNINITIALIZED;
    return m_pBrowser != nullptr && !IsBusy() && SUCCEEDED(m_pBrowser->get_ReadyState(&state)) &&
           state == READYSTATE_COMPLETE;
}

bool CBrowserView::IsTopLevel(IDispatch* pDisp) const
{
    if (m_pBrowser == nullptr || pDisp == nullptr)
        return false;
    // Identity of COM objects is the IUnknown pointer.
    IUnknown* a = nullptr;
    IUnknown* b = nullptr;
    bool same = SUCCEEDED(pDisp->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&a))) &&
                SUCCEEDED(m_pBrowser->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&b))) &&
                a == b;
    if (a != nullptr)
        a->Release();
    if (b != nullptr)
        b->Release();
    return same;
}

//--- Navigation

void CBrowserView::Navigate(LPCTSTR url, DWORD flags, LPCTSTR targetFrame, const void* postData,
                            int postLength, LPCTSTR headers)
{
    if (m_pBrowser == nullptr || url == nullptr)
        return;
    CVariant vUrl, vFlags, vTarget, vPost, vHeaders;
    vUrl.SetString(url);
    vFlags.SetLong(static_cast<LONG>(flags));
    if (targetFrame != nullptr)
        vTarget.SetString(targetFrame);
    if (postData != nullptr) {
        ULONG length = postLength > 0 ? static_cast<ULONG>(postLength)
                                      : static_cast<ULONG>(strlen(static_cast<const char*>(postData)));
        vPost.SetBytes(postData, length);
    }
    if (headers != nullptr)
        vHeaders.SetString(headers);
    m_pBrowser->Navigate2(&vUrl, &vFlags, &vTarget, &vPost, &vHeaders);
}

void CBrowserView::GoHomeControl()
{
    if (m_pBrowser != nullptr)
        m_pBrowser->GoHome();
}

void CBrowserView::GoBack()
{
    if (m_pBrowser != nullptr)
        m_pBrowser->GoBack();
}

void CBrowserView::GoForward()
{
    if (m_pBrowser != nullptr)
        m_pBrowser->GoForward();
}

void CBrowserView::OnBackMenu(UINT nID)
{
    for (UINT n = nID - 32999; n > 0; --n)
        GoBack();
}

void CBrowserView::OnForwardMenu(UINT nID)
{
    for (UINT n = nID - 35000; n > 0; --n)
        GoForward();
}

void CBrowserView::GoHome()
{
    if (AppSettings().iParentTabNewRule & 0x1) {
        Host().OpenUrlInNewGroup(kHomeToken, kReasonLink, 0);
        return;
    }
    m_state |= kViewNavigating;
    GoHomeControl();
}

void CBrowserView::Stop()
{
    if (m_pTabItem != nullptr && m_pTabItem->m_closeReason > 0)
        return;
    m_state &= ~kViewNavigating;
    if (m_pBrowser != nullptr)
        m_pBrowser->Stop();
    if (m_hRestoreActive != nullptr && ::IsWindow(m_hRestoreActive))
        ::SetActiveWindow(m_hRestoreActive);
    if (m_hRestoreFocus != nullptr && ::IsWindow(m_hRestoreFocus))
        ::SetFocus(m_hRestoreFocus);
}

void CBrowserView::Refresh()
{
    m_state |= kViewNavigating;
    m_progress = 0;
    m_hRestoreActive = ::GetActiveWindow();
    m_hRestoreFocus = ::GetFocus();
    if (m_pBrowser == nullptr)
        return;
    if (OnlyCtrlDown()) {
        CVariant level;
        level.SetLong(REFRESH_COMPLETELY);
        m_pBrowser->Refresh2(&level);
    } else {
        m_pBrowser->Refresh();
    }
}

CString CBrowserView::UpOneLevel(const CString& url)
{
    CString up = url;
    int query = up.Find('?');
    if (query >= 0)
        up = up.Left(query);
    if (up.Right(1) == "/")
        up = up.Left(up.GetLength() - 1);
    int slash = up.ReverseFind('/');
    // Never cut into the "//" after the scheme.
    if (slash <= 0 || up[slash - 1] == '/')
        return CString();
    up = up.Left(slash + 1);
    return up == url ? CString() : up;
}

void CBrowserView::GoUp()
{
    if (m_pTabItem == nullptr)
        return;
    CString up = UpOneLevel(m_pTabItem->m_url);
    if (!up.IsEmpty())
        Navigate(up);
}

void CBrowserView::OnPrevTab()
{
    Host().ActivatePrevTab(m_pTabItem);
}

void CBrowserView::OnNextTab()
{
    Host().ActivateNextTab(m_pTabItem);
}

void CBrowserView::OnUpdateGoBack(CCmdUI* pCmdUI)
{
    pCmdUI->Enable((m_state & kViewCanGoBack) != 0);
}

void CBrowserView::OnUpdateGoForward(CCmdUI* pCmdUI)
{
    pCmdUI->Enable((m_state & kViewCanGoForward) != 0);
}

//--- Tab state

void CBrowserView::ShowView(bool bShow)
{
    if (m_hWnd == nullptr)
        return;
    ShowWindow(bShow ? SW_SHOWNA : SW_HIDE);
    EnableWindow(bShow);
    if (bShow)
        RegisterDropTarget();
}

void CBrowserView::RegisterDropTarget()
{
    if (m_pPageDropTarget != nullptr && !m_pPageDropTarget->IsRegistered())
        m_pPageDropTarget->Register(m_hWnd);
}

void CBrowserView::SetProgress(long progress, long progressMax)
{
    if (IsClosing())
        return;
    int percent;
    if (progressMax < 100 || progress < 0) {
        percent = kProgressIdle;
    } else {
        long long value = static_cast<long long>(progress) / (progressMax / 100);
        percent = value > 100 ? 100 : static_cast<int>(value);
    }
    m_progress = percent;
    if (IsActiveTab())
        Host().SetStatusProgress(percent);
}

void CBrowserView::StartTimer()
{
    if (m_reloadTimer != 0)
        KillTimer(m_reloadTimer);
    m_reloadTimer = SetTimer(kReloadTimerId, 1000);
    if (m_pTabItem != nullptr)
        m_pTabItem->m_flags |= kTabAutoReload;
}

void CBrowserView::StartAutoReload()
{
    if (m_pTabItem == nullptr)
        return;
    // A period of 0 would reload every second: no auto-reload then.
    if (m_pTabItem->m_reloadPeriod > 0) {
        m_pTabItem->m_reloadCountdown = m_pTabItem->m_reloadPeriod;
        StartTimer();
    }
    NotifyTabState(false);
}

void CBrowserView::StopAutoReload()
{
    if (m_reloadTimer != 0) {
        KillTimer(m_reloadTimer);
        m_reloadTimer = 0;
    }
    if (m_pTabItem != nullptr)
        m_pTabItem->m_flags &= ~kTabAutoReload;
    NotifyTabState(false);
}

void CBrowserView::OnTimer(UINT_PTR nIDEvent)
{
    if (IsClosing() || nIDEvent != m_reloadTimer || m_reloadTimer == 0 || m_pTabItem == nullptr)
        return;
    if (--m_pTabItem->m_reloadCountdown <= 0) {
        m_pTabItem->m_reloadCountdown = m_pTabItem->m_reloadPeriod;
        Navigate(m_pTabItem->m_url);
    }
}

void CBrowserView::RequestClose()
{
    m_state |= kViewClosing;
    const HWND hFrame = Host().GetFrameWindow();
    if (hFrame != nullptr && m_pTabItem != nullptr)
        ::SendMessageA(hFrame, WM_FRAME_CLOSETAB, 0, reinterpret_cast<LPARAM>(m_pTabItem));
}

void CBrowserView::SetWheelLock()
{
    if (m_pTabItem != nullptr)
        m_pTabItem->m_flags |= kTabWheelLock;
}

void CBrowserView::ClearWheelLock()
{
    if (m_pTabItem != nullptr)
        m_pTabItem->m_flags &= ~kTabWheelLock;
}

void CBrowserView::SetLinkLock()
{
    if (m_pTabItem != nullptr)
        m_pTabItem->m_flags |= kTabLinkLock;
}

void CBrowserView::ClearLinkLock()
{
    if (m_pTabItem != nullptr)
        m_pTabItem->m_flags &= ~kTabLinkLock;
}

void CBrowserView::FocusPage()
{
    if (HWND control = ControlWindow())
        ::SetFocus(control);
    else if (m_hWnd != nullptr)
        ::SetFocus(m_hWnd);
}

//--- What the frame hears

void CBrowserView::NotifyUrlChange()
{
    NotifyTabState(false);
    if (m_pTabItem != nullptr)
        Host().UpdateAddressBar(m_pTabItem->m_hFrame,
                                m_pTabItem->m_url.IsEmpty() ? nullptr : static_cast<LPCTSTR>(m_pTabItem->m_url));
}

void CBrowserView::NotifyDocumentComplete()
{
    ITabHost& host = Host();
    if (IsClosing() || host.GetFrameWindow() == nullptr || m_pTabItem == nullptr)
        return;
    host.RefreshTabState(m_pTabItem);
    host.UpdateAddressBar(m_pTabItem->m_hFrame,
                          m_pTabItem->m_url.IsEmpty() ? nullptr : static_cast<LPCTSTR>(m_pTabItem->m_url));
}

void CBrowserView::NotifyInserted()
{
    if (Host().GetFrameWindow() != nullptr)
        Host().InsertNewTab(m_pTabItem);
}

void CBrowserView::NotifyTabState(bool bIconOnly)
{
    if (m_pTabItem == nullptr)
        return;
    if (bIconOnly)
        Host().UpdateTabImage(m_pTabItem, TRUE);
    else
        Host().RefreshTabState(m_pTabItem);
}

//--- Window messages

void CBrowserView::OnSize(UINT, int cx, int cy)
{
    if (HWND control = ControlWindow())
        ::MoveWindow(control, 0, 0, cx, cy, TRUE);
}

BOOL CBrowserView::OnEraseBkgnd(HDC)
{
    // The control covers the view.
    return ControlWindow() != nullptr ? TRUE : static_cast<BOOL>(Default());
}

void CBrowserView::OnClose()
{
    m_state |= kViewClosing;
    DestroyBrowserControl();
    Default();
}

void CBrowserView::OnDestroy()
{
    m_state |= kViewClosing;
    CTabItem* tab = m_pTabItem;
    ITabHost& host = Host();
    if (!host.IsShuttingDown() && tab != nullptr) {
        QuietPageOnClose();
        SavedHistory::Reset(tab->m_pBack, tab->m_pForward);
        SaveBackHistory(*tab->m_pBack);
        SaveForwardHistory(*tab->m_pForward);
        if (host.GetFrameWindow() != nullptr && tab->m_closeReason != kCloseUnrecorded)
            host.AddClosedTabToMenu(tab);
    }
    if (m_reloadTimer != 0) {
        KillTimer(m_reloadTimer);
        m_reloadTimer = 0;
    }
    if (IsActiveTab())
        host.SetActiveTabView(nullptr);
    // The target may outlive the view (a drag in progress holds it): it is
    // only detached from the view here.
    if (m_pPageDropTarget != nullptr) {
        m_pPageDropTarget->ForgetPageTarget();
        m_pPageDropTarget->Detach();
        m_pPageDropTarget->Release();
        m_pPageDropTarget = nullptr;
    }
    DestroyBrowserControl();
    CView::OnDestroy();
}

//--- The hosted control

BOOL CBrowserView::CreateBrowserControl()
{
    if (!m_wndBrowser.CreateControl(CLSID_WebBrowser, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0),
                                    this, kControlId, DIID_DWebBrowserEvents2))
        return FALSE;
    IUnknown* control = m_wndBrowser.GetControlUnknown();
    if (control == nullptr ||
        FAILED(control->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&m_pBrowser)))) {
        m_pBrowser = nullptr;
        m_wndBrowser.DestroyWindow();
        return FALSE;
    }
    m_ambient.SetControl(m_pBrowser);
    return TRUE;
}

void CBrowserView::DestroyBrowserControl()
{
    m_ambient.SetControl(nullptr);
    if (m_pApplication != nullptr) {
        m_pApplication->Release();
        m_pApplication = nullptr;
    }
    if (m_pBrowser != nullptr) {
        m_pBrowser->Release();
        m_pBrowser = nullptr;
    }
    if (m_wndBrowser.GetSafeHwnd() != nullptr)
        m_wndBrowser.DestroyWindow();
}
