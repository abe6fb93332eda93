#include "tab/LocalPageHost.h"

#include <windows.h>
#include <exdisp.h>
#include <mshtml.h>

#include "app/MainFrame.h"
#include "app/StartupList.h"
#include "app/VantorelApp.h"
#include "bars/PageTabBar.h"
#include "framework/ole/OleEvents.h"
#include "framework/ole/OleUtil.h"
#include "tab/BrowserView.h"
#include "tab/ChildFrame.h"
#include "tab/LinkInfo.h"
#include "tab/PageFrames.h"

IHTMLDocument2* HostedDocument(IDispatch* pBrowser)
{
    CComPtr<IWebBrowser2> browser;
    CComPtr<IDispatch> disp;
    if (pBrowser == nullptr
        || FAILED(pBrowser->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser)))
        || FAILED(browser->get_Document(&disp)) || disp == nullptr)
        return nullptr;
    return AsHtmlDocument(disp);
}

namespace {

BOOL TranslateHostedKey(CWnd* pHost, IDispatch* pBrowser, UINT nControlId, MSG* pMsg)
{
    for (CFrameWnd* frame = pHost->GetParentFrame(); frame != nullptr; frame = frame->GetParentFrame())
        if (frame->PreTranslateMessage(pMsg))
            return TRUE;
    CComPtr<IOleInPlaceActiveObject> active;
    if (pBrowser != nullptr
        && SUCCEEDED(pBrowser->QueryInterface(IID_IOleInPlaceActiveObject, reinterpret_cast<void**>(&active)))
        && active->TranslateAccelerator(pMsg) == S_OK)
        return TRUE;
    if (::GetDlgItem(pHost->GetSafeHwnd(), static_cast<int>(nControlId)) == nullptr)
        return FALSE;
    CComPtr<IHTMLDocument2> page;
    page.Attach(HostedDocument(pBrowser));
    if (page == nullptr)
        return FALSE;
    const UINT vk = static_cast<UINT>(pMsg->wParam);
    if (IsEditableElement(page) && CVantorelApp::IsTextInputKey(vk))
        return FALSE;
    // An auto-repeated key (bit 30: already down) runs no binding again.
    if (pMsg->lParam & 0x40000000)
        return TRUE;
    return theApp.ExecuteKeyBinding(theApp.FormatKey(vk), pMsg) ? TRUE : FALSE;
}

HostedInput OpenMiddleClickedLink(IDispatch* pBrowser, bool& bArmed)
{
    CComPtr<IHTMLDocument2> page;
    page.Attach(HostedDocument(pBrowser));
    CLinkInfo info(CLinkInfo::kLinkUrl);
    if (!info.FromElement(page))
        return HostedInput::kPass;
    if (!bArmed)
        return HostedInput::kConsumed;
    bArmed = false;
    const SettingsRecord& s = theApp.m_settings;
    CBrowserView* pView = theApp.m_pActiveView;
    if (s.bOpenNewTab_FAV_WC())
        theApp.OpenUrl(theApp.GetActiveGroup(), info.m_url, 7);
    else if (pView != nullptr && ::IsWindow(pView->GetSafeHwnd()))
        pView->Navigate(info.m_url);
    else
        theApp.OpenUrl(theApp.GetActiveGroup(), info.m_url, 0);
    return HostedInput::kLinkOpened;
}

} // namespace

HostedInput TranslateHostedInput(CWnd* pHost, IDispatch* pBrowser, UINT nControlId,
                                 const CString& statusText, bool& bArmed, MSG* pMsg)
{
    switch (pMsg->message)
    {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        return TranslateHostedKey(pHost, pBrowser, nControlId, pMsg) ? HostedInput::kConsumed
                                                                     : HostedInput::kPageKey;
    case WM_MBUTTONDOWN:
        if (IsUrlForm(statusText.Left(11)))
        {
            bArmed = true;
            pMsg->message = WM_RBUTTONDOWN;
        }
        return HostedInput::kPass;
    case WM_MBUTTONUP:
        return OpenMiddleClickedLink(pBrowser, bArmed);
    default:
        return HostedInput::kPass;
    }
}

void OpenLinkInTabs(const CString& url, WORD newTabReason)
{
    CBrowserView* pView = theApp.m_pActiveView;
    if (theApp.m_settings.bOpenNewTab_FAV())
        theApp.OpenUrl(theApp.GetActiveGroup(), url, newTabReason);
    else if (pView != nullptr && ::IsWindow(pView->GetSafeHwnd()))
        pView->Navigate(url);
    else
        theApp.OpenUrl(theApp.GetActiveGroup(), url, 0);
}

void OpenLinkInNewGroup(CWnd* pHolder, CTabGroup* group, const CString& url)
{
    CPageTabBar* bar = g_pMainFrame != nullptr ? g_pMainFrame->m_pPageTabBar : nullptr;
    const bool bHolding = bar != nullptr && bar->GetSafeHwnd() != nullptr && bar->BeginUpdate(pHolder);
    theApp.OpenUrl(group, url, 1);
    if (bHolding)
        bar->EndUpdate(pHolder);
}

bool OpenNewWindowAsTab(VaEventArgs& args)
{
    IDispatch** ppDisp = args.GetDispatchRef(0);
    VARIANT_BOOL* pCancel = args.GetBoolRef(1);
    if (ppDisp == nullptr || pCancel == nullptr)
        return false;
    const SettingsRecord& s = theApp.m_settings;
    CTabGroup* group = theApp.GetActiveGroup();
    if (s.bWindowMaxCnt() && theApp.GetGroupTabCount(group) >= s.iWindowMaxCnt)
    {
        *pCancel = VARIANT_TRUE;
        return false;
    }
    CChildFrame* frame = g_pMainFrame != nullptr ? g_pMainFrame->CreateTabFrame() : nullptr;
    if (frame == nullptr)
    {
        // No tab for it: a window outside the program must not open.
        *pCancel = VARIANT_TRUE;
        return false;
    }
    if (group == nullptr)
        group = g_pMainFrame->CreateEmptyGroup();
    frame->m_pGroup = group;
    frame->m_activationReason = 1;
    CBrowserView* pView = frame->InitialUpdateAndActivate();
    IDispatch* pApp = pView != nullptr ? pView->GetApplication() : nullptr;
    if (pApp == nullptr)
    {
        *pCancel = VARIANT_TRUE;
        return false;
    }
    if (IWebBrowser2* pNew = pView->GetBrowser())
        pNew->put_RegisterAsBrowser(s.bTargetName() ? VARIANT_TRUE : VARIANT_FALSE);
    *ppDisp = pApp;
    return true;
}

BOOL FocusHostedPage(IDispatch* pBrowser)
{
    CComPtr<IHTMLDocument2> page;
    page.Attach(HostedDocument(pBrowser));
    CComPtr<IHTMLWindow2> window;
    if (page == nullptr || FAILED(page->get_parentWindow(&window)) || window == nullptr)
        return FALSE;
    return SUCCEEDED(window->focus()) ? TRUE : FALSE;
}
