#include "tab/LocalPageHost.h"

#include <windows.h>
#include <exdisp.h>
#include <mshtml.h>

#include <cwchar>
#include <string>

#include "framework/core/AtomicFile.h"
#include "framework/ole/OleEvents.h"
#include "framework/ole/OleUtil.h"
#include "shared/AppData.h"
#include "shared/AppSettings.h"
#include "shared/StartupList.h"
#include "tab/BrowserView.h"
#include "tab/ChildFrame.h"
#include "tab/KeyState.h"
#include "tab/LinkInfo.h"
#include "tab/PageFrames.h"
#include "tab/TabHost.h"

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

BOOL TranslateHostedKey(ITabHost& tabHost, CWnd* pHost, IDispatch* pBrowser, UINT nControlId, MSG* pMsg)
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
    if (IsEditableElement(page) && IsTextInputKey(vk))
        return FALSE;
    // An auto-repeated key (bit 30: already down) runs no binding again.
    if (pMsg->lParam & 0x40000000)
        return TRUE;
    return tabHost.ExecuteKeyBinding(tabHost.FormatKey(vk), pMsg) ? TRUE : FALSE;
}

HostedInput OpenMiddleClickedLink(ITabHost& tabHost, IDispatch* pBrowser, bool& bArmed)
{
    CComPtr<IHTMLDocument2> page;
    page.Attach(HostedDocument(pBrowser));
    CLinkInfo info(CLinkInfo::kLinkUrl);
    if (!info.FromElement(page))
        return HostedInput::kPass;
    if (!bArmed)
        return HostedInput::kConsumed;
    bArmed = false;
    const SettingsRecord& s = AppSettings();
    CBrowserView* pView = tabHost.GetActiveTabView();
    if (s.bOpenNewTab_FAV_WC())
        tabHost.OpenUrl(tabHost.GetActiveGroup(), info.m_url, 7);
    else if (pView != nullptr && ::IsWindow(pView->GetSafeHwnd()))
        pView->Navigate(info.m_url);
    else
        tabHost.OpenUrl(tabHost.GetActiveGroup(), info.m_url, 0);
    return HostedInput::kLinkOpened;
}

} // namespace

HostedInput TranslateHostedInput(ITabHost& tabHost, CWnd* pHost, IDispatch* pBrowser, UINT nControlId,
                                 const CString& statusText, bool& bArmed, MSG* pMsg)
{
    switch (pMsg->message)
    {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        return TranslateHostedKey(tabHost, pHost, pBrowser, nControlId, pMsg) ? HostedInput::kConsumed
                                                                     : HostedInput::kPageKey;
    case WM_MBUTTONDOWN:
        if (IsUrlForm(statusText.Left(11)))
        {
            bArmed = true;
            pMsg->message = WM_RBUTTONDOWN;
        }
        return HostedInput::kPass;
    case WM_MBUTTONUP:
        return OpenMiddleClickedLink(tabHost, pBrowser, bArmed);
    default:
        return HostedInput::kPass;
    }
}

void OpenLinkInTabs(ITabHost& tabHost, const CString& url, WORD newTabReason)
{
    CBrowserView* pView = tabHost.GetActiveTabView();
    if (AppSettings().bOpenNewTab_FAV())
        tabHost.OpenUrl(tabHost.GetActiveGroup(), url, newTabReason);
    else if (pView != nullptr && ::IsWindow(pView->GetSafeHwnd()))
        pView->Navigate(url);
    else
        tabHost.OpenUrl(tabHost.GetActiveGroup(), url, 0);
}

void OpenLinkInNewGroup(ITabHost& tabHost, CWnd* pHolder, CTabGroup* group, const CString& url)
{
    tabHost.OpenUrlHoldingTabBar(pHolder, group, url, 1);
}

bool OpenNewWindowAsTab(ITabHost& tabHost, VaEventArgs& args)
{
    IDispatch** ppDisp = args.GetDispatchRef(0);
    VARIANT_BOOL* pCancel = args.GetBoolRef(1);
    if (ppDisp == nullptr || pCancel == nullptr)
        return false;
    const SettingsRecord& s = AppSettings();
    CTabGroup* group = tabHost.GetActiveGroup();
    if (s.bWindowMaxCnt() && tabHost.GetGroupTabCount(group) >= s.iWindowMaxCnt)
    {
        *pCancel = VARIANT_TRUE;
        return false;
    }
    CChildFrame* frame = tabHost.CreateTabFrame();
    if (frame == nullptr)
    {
        // No tab for it: a window outside the program must not open.
        *pCancel = VARIANT_TRUE;
        return false;
    }
    if (group == nullptr)
        group = tabHost.CreateEmptyGroup();
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

//--- Page files

namespace {

// One character (a surrogate pair counts as one) in cp932, or empty when
// cp932 has no such character: best-fit replacements do not come back as
// the same character and are refused.
std::string CharToCp932(const wchar_t* ch, int units)
{
    char bytes[8];
    const int n = ::WideCharToMultiByte(kVaCodePage, 0, ch, units, bytes, sizeof(bytes), nullptr, nullptr);
    wchar_t back[4];
    if (n <= 0 || ::MultiByteToWideChar(kVaCodePage, 0, bytes, n, back, 4) != units
        || wmemcmp(back, ch, static_cast<size_t>(units)) != 0)
        return std::string();
    return std::string(bytes, static_cast<size_t>(n));
}

} // namespace

CString HtmlTextToCp932(const wchar_t* text, int length)
{
    std::string out;
    out.reserve(static_cast<size_t>(length));
    for (int i = 0; i < length;) {
        const wchar_t c = text[i];
        if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        const bool pair = c >= 0xD800 && c < 0xDC00 && i + 1 < length && text[i + 1] >= 0xDC00
                          && text[i + 1] < 0xE000;
        const int units = pair ? 2 : 1;
        const std::string bytes = CharToCp932(text + i, units);
        if (!bytes.empty()) {
            out += bytes;
        } else {
            const unsigned long code = pair ? 0x10000UL + ((c - 0xD800UL) << 10) + (text[i + 1] - 0xDC00UL)
                                            : static_cast<unsigned long>(c);
            out += "&#" + std::to_string(code) + ";";
        }
        i += units;
    }
    return CString(out.c_str(), static_cast<int>(out.size()));
}

bool WritePageFile(const CString& path, const CString& text, DWORD* pError)
{
    CAtomicTextFile file;
    // Raw bytes: the page's own line ends are kept as they are.
    if (file.Begin(path) && file.Write(static_cast<LPCSTR>(text), static_cast<UINT>(text.GetLength()))
        && file.Commit())
        return true;
    *pError = ::GetLastError();
    file.Abandon();
    return false;
}

void ReportPageWriteFailure(HWND hOwner, const CString& path, DWORD error)
{
    CString message = path;
    char* reason = nullptr;
    if (error != 0
        && ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                            nullptr, error, 0, reinterpret_cast<LPSTR>(&reason), 0, nullptr) != 0) {
        message += "\r\n\r\n";
        message += reason;
    }
    if (reason != nullptr)
        ::LocalFree(reason);
    ::MessageBoxA(hOwner, message, AppClassName(), MB_OK | MB_ICONWARNING);
}
