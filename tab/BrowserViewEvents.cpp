// CBrowserView: the WebBrowser control's events.
#include "tab/BrowserView.h"

#include <windows.h>
#include <mshtml.h>
#include <exdispid.h>

#include <cstring>

#include "framework/ole/OleUtil.h"
#include "shared/AppData.h"
#include "shared/AppSettings.h"
#include "shared/StartupList.h"
#include "shared/UrlText.h"
#include "tab/ChildFrame.h"
#include "tab/LinkInfo.h"
#include "tab/PageFrames.h"
#include "tab/TabGroup.h"
#include "tab/TabHost.h"
#include "tab/TabItem.h"

BEGIN_EVENTSINK_MAP(CBrowserView, COleEventHandler)
    ON_EVENT(CBrowserView, 0xE900, DISPID_BEFORENAVIGATE2, OnBeforeNavigate2Event)
    ON_EVENT(CBrowserView, 0xE900, DISPID_NEWWINDOW2, OnNewWindow2Event)
    ON_EVENT(CBrowserView, 0xE900, DISPID_NAVIGATECOMPLETE2, OnNavigateComplete2Event)
    ON_EVENT(CBrowserView, 0xE900, DISPID_DOCUMENTCOMPLETE, OnDocumentCompleteEvent)
    ON_EVENT(CBrowserView, 0xE900, DISPID_NAVIGATEERROR, OnNavigateErrorEvent)
    ON_EVENT(CBrowserView, 0xE900, DISPID_STATUSTEXTCHANGE, OnStatusTextChangeEvent)
    ON_EVENT(CBrowserView, 0xE900, DISPID_COMMANDSTATECHANGE, OnCommandStateChangeEvent)
    ON_EVENT(CBrowserView, 0xE900, DISPID_DOWNLOADBEGIN, OnDownloadBeginEvent)
    ON_EVENT(CBrowserView, 0xE900, DISPID_DOWNLOADCOMPLETE, OnDownloadCompleteEvent)
    ON_EVENT(CBrowserView, 0xE900, DISPID_TITLECHANGE, OnTitleChangeEvent)
    ON_EVENT(CBrowserView, 0xE900, DISPID_PROGRESSCHANGE, OnProgressChangeEvent)
END_EVENTSINK_MAP()

void CBrowserView::OnBeforeNavigate2Event(VaEventArgs& args)
{
    VARIANT_BOOL* cancel = args.GetBoolRef(6);
    BOOL bCancel = cancel != nullptr && *cancel != VARIANT_FALSE;
    const VARIANT* url = args.Get(1);
    CString text = args.GetString(1);
    OnBeforeNavigate2(args.GetDispatch(0), url != nullptr && url->vt != VT_EMPTY ? static_cast<LPCTSTR>(text) : nullptr,
                      &bCancel);
    if (cancel != nullptr)
        *cancel = bCancel ? VARIANT_TRUE : VARIANT_FALSE;
}

void CBrowserView::OnNewWindow2Event(VaEventArgs& args)
{
    IDispatch** ppDisp = args.GetDispatchRef(0);
    VARIANT_BOOL* cancel = args.GetBoolRef(1);
    IDispatch* created = nullptr;
    BOOL bCancel = cancel != nullptr && *cancel != VARIANT_FALSE;
    OnNewWindow2(&created, &bCancel);
    if (ppDisp != nullptr)
        *ppDisp = created;
    else if (created != nullptr)
        created->Release();
    if (cancel != nullptr)
        *cancel = bCancel ? VARIANT_TRUE : VARIANT_FALSE;
}

void CBrowserView::OnNavigateComplete2Event(VaEventArgs& args)
{
    OnNavigateComplete2(args.GetDispatch(0), args.GetString(1));
}

void CBrowserView::OnDocumentCompleteEvent(VaEventArgs& args)
{
    OnDocumentComplete(args.GetDispatch(0), args.GetString(1));
}

void CBrowserView::OnNavigateErrorEvent(VaEventArgs&)
{
    OnNavigateError();
}

void CBrowserView::OnStatusTextChangeEvent(VaEventArgs& args)
{
    OnStatusTextChange(args.GetString(0));
}

void CBrowserView::OnCommandStateChangeEvent(VaEventArgs& args)
{
    OnCommandStateChange(args.GetLong(0), args.GetBool(1));
}

void CBrowserView::OnDownloadBeginEvent(VaEventArgs&)
{
    OnDownloadBegin();
}

void CBrowserView::OnDownloadCompleteEvent(VaEventArgs&)
{
    OnDownloadComplete();
}

void CBrowserView::OnTitleChangeEvent(VaEventArgs& args)
{
    OnTitleChange(args.GetString(0));
}

void CBrowserView::OnProgressChangeEvent(VaEventArgs& args)
{
    SetProgress(args.GetLong(0), args.GetLong(1));
}

void CBrowserView::OnBeforeNavigate2(IDispatch* pDisp, LPCTSTR url, BOOL* pCancel)
{
    if (IsClosing()) {
        *pCancel = TRUE;
        return;
    }
    if (url != nullptr && _strnicmp(url, "mailto:", 7) == 0) {
        if (AppSettings().bMailToNotOpen())
            *pCancel = TRUE;
        return;
    }
    if (IsScriptUrl(url)) {
        *pCancel = FALSE;
        m_progress = 0;
        return;
    }
    if (Host().OpenShortcut(url, m_pTabItem != nullptr ? static_cast<LPCTSTR>(m_pTabItem->m_url) : "")) {
        *pCancel = TRUE;
        return;
    }
    if (m_pTabItem != nullptr && IsTopLevel(pDisp) && !(m_pTabItem->m_flags & kTabAutoReload))
        m_pTabItem->m_url = url != nullptr ? url : "";
    m_progress = 0;
}

// True only when the opening page has a focused element and it is not a
// specific one (the body, a table part or the frameset, in the page and its
// frames): a window opened without a click on something is an unrequested
// pop-up.
bool CBrowserView::IsActiveElementNotLink() const
{
    CComPtr<IDispatch> dispatch;
    dispatch.Attach(GetHtmlDocument());
    CComPtr<IHTMLDocument2> document;
    document.Attach(AsHtmlDocument(dispatch));
    CComPtr<IHTMLElement> active;
    if (document == nullptr || FAILED(document->get_activeElement(&active)) || active == nullptr)
        return false;
    CLinkInfo info(CLinkInfo::kSpecific);
    return !info.FromElement(document);
}

void CBrowserView::OnNewWindow2(IDispatch** ppDisp, BOOL* pCancel)
{
    ITabHost& host = Host();
    if (IsClosing() || m_pTabItem == nullptr) {
        *pCancel = TRUE;
        return;
    }
    const SettingsRecord& s = AppSettings();
    const bool wheel = (m_state & kViewWheelNewWindow) != 0;
    const bool wheelNewGroup = wheel && (s.iParentTabNewRule & 0x8);
    CTabGroup* group = m_pTabItem->m_pGroup;
    // A new group is made only once the tab is certain.
    const bool needGroup = group == nullptr || wheelNewGroup;
    if (s.bWindowMaxCnt() && !wheelNewGroup) {
        CTabGroup* counted = group != nullptr ? group : host.GetActiveGroup();
        if (host.GetGroupTabCount(counted) >= s.iWindowMaxCnt) {
            *pCancel = TRUE;
            return;
        }
    }
    CChildFrame* frame = host.CreateTabFrame();
    if (frame == nullptr || frame->GetSafeHwnd() == nullptr) {
        *pCancel = TRUE;
        return;
    }
    WORD reason = kReasonLink;
    if (s.bClickOpen() && !(m_state & kViewKeyActivation) && IsActiveElementNotLink()) {
        reason = kReasonPopup;
        frame->m_popupMark = kClosePopup;
        host.SetStatusText(AppStrings().GetEtcText(72));
    }
    if (wheel) {
        if (!wheelNewGroup)
            reason = (m_pTabItem->m_flags & kTabWheelLock) ? kReasonPageBackground : kReasonPageForeground;
        m_state &= ~kViewWheelNewWindow;
    } else if (reason != kReasonPopup) {
        reason = (m_pTabItem->m_flags & kTabLinkLock) ? kReasonPageBackground : kReasonPageForeground;
    }
    if (needGroup) {
        group = host.CreateEmptyGroup();
        if (group == nullptr) {
            frame->DestroyWindow();
            *pCancel = TRUE;
            return;
        }
    }
    const HWND hFrame = frame->m_hWnd;
    frame->m_activationReason = reason;
    frame->m_pGroup = group;
    frame->m_insertHint = s.iTabAppendPos;
    CBrowserView* view = frame->InitialUpdateAndActivate();
    IDispatch* application = nullptr;
    if (view != nullptr && view->m_pBrowser != nullptr) {
        view->m_pBrowser->put_RegisterAsBrowser(s.bTargetName() ? VARIANT_TRUE : VARIANT_FALSE);
        application = view->GetApplication();
    }
    if (application == nullptr) {
        *pCancel = TRUE;
        // The refused window's tab goes again, unrecorded, and with it the
        // group made for it.
        CTabItem* refused = view != nullptr ? view->GetTabItem() : nullptr;
        if (refused != nullptr)
            refused->m_closeReason = kCloseUnrecorded;
        if (needGroup && host.IsGroupListed(group))
            host.CloseGroup(group);
        else if (refused != nullptr)
            host.CloseCTabItem(refused);
        else if (::IsWindow(hFrame))
            ::PostMessageA(hFrame, WM_CLOSE, 0, 0);
        return;
    }
    *ppDisp = application;  // the reference goes to the caller
}

void CBrowserView::OnNavigateComplete2(IDispatch* pDisp, LPCTSTR url)
{
    if (IsClosing() || m_pTabItem == nullptr || !IsTopLevel(pDisp))
        return;
    m_pTabItem->m_url = url != nullptr ? url : "";
    NotifyUrlChange();
    m_state |= kViewNavigating;
}

void CBrowserView::OnDocumentComplete(IDispatch* pDisp, LPCTSTR url)
{
    if (IsClosing() || m_pTabItem == nullptr || !IsTopLevel(pDisp))
        return;
    m_pTabItem->m_url = url != nullptr ? url : "";
    if (!m_pTabItem->m_url.IsEmpty() && IsReadyAndIdle()) {
        if (m_pTabItem->m_pBack != nullptr && !m_pTabItem->m_pBack->IsEmpty())
            RestoreBackHistory();
        if (m_pTabItem->m_pForward != nullptr && !m_pTabItem->m_pForward->IsEmpty())
            RestoreForwardHistory();
        if (AppSettings().iFocusMove == 0 && IsActiveTab())
            FocusPage();
    }
    m_progress = kProgressIdle;
    NotifyDocumentComplete();
    m_state &= ~kViewNavigating;
}

void CBrowserView::OnTitleChange(LPCTSTR text)
{
    if (IsClosing() || m_pTabItem == nullptr)
        return;
    m_pTabItem->m_title = text != nullptr ? text : "";
    CChildFrame* frame = GetChildFrame();
    if (frame != nullptr)
        frame->SetWindowText("");
    Host().UpdateTabImage(m_pTabItem, FALSE);
}

void CBrowserView::OnStatusTextChange(LPCTSTR text)
{
    if (IsClosing())
        return;
    if (IsActiveTab() && (!AppSettings().bStatusBar_URL_Only() || IsUrlForm(text)))
        Host().SetStatusText(text != nullptr ? text : "");
    if ((m_state & kViewNavigating) && IsReadyAndIdle()) {
        NotifyDocumentComplete();
        m_state &= ~kViewNavigating;
        HideFlashUnlessPlayed();
    }
}

void CBrowserView::OnCommandStateChange(long command, BOOL bEnable)
{
    if (IsClosing())
        return;
    DWORD bit = 0;
    if (command == CSC_NAVIGATEBACK)
        bit = kViewCanGoBack;
    else if (command == CSC_NAVIGATEFORWARD)
        bit = kViewCanGoForward;
    if (bit == 0)
        return;
    if (bEnable)
        m_state |= bit;
    else
        m_state &= ~bit;
}

void CBrowserView::OnDownloadBegin()
{
    if (!IsClosing())
        m_state &= ~kViewKeyActivation;
}

void CBrowserView::OnDownloadComplete()
{
    if (IsClosing() || m_pBrowser == nullptr)
        return;
    READYSTATE state = READYSTATE_UNINITIALIZED;
    if (!IsBusy() && SUCCEEDED(m_pBrowser->get_ReadyState(&state)) && state >= READYSTATE_LOADED &&
        state <= READYSTATE_COMPLETE)
        HideFlashUnlessPlayed();
}

void CBrowserView::HideFlashUnlessPlayed()
{
    if (!(GetPageOptions() & 0x1))
        HideFlashObjects();
}

void CBrowserView::OnNavigateError()
{
}
