#include "tab/HtmlPopupDlg.h"

#include <windows.h>
#include <exdisp.h>
#include <exdispid.h>
#include <mshtml.h>

#include "app/MainFrame.h"
#include "app/StartupList.h"
#include "app/TabGroup.h"
#include "app/VantorelApp.h"
#include "framework/core/File.h"
#include "framework/ole/OleUtil.h"
#include "lists/SearchUrl.h"
#include "tab/BrowserView.h"
#include "tab/ChildFrame.h"
#include "tab/LinkInfo.h"
#include "tab/PageFrames.h"
#include "tab/PageScript.h"

namespace {

// DOCHOSTUIFLAG_ENABLE_FORMS_AUTOCOMPLETE, ENABLE_INPLACE_NAVIGATION, THEME.
const DWORD kPopupHostFlags = 0x54000;
// DLCTL_DLIMAGES alone: no videos or sounds; scripts, Java, ActiveX allowed.
const DWORD kPopupDownloadControl = 0x10;
const int kDlgTitleLine = 64;
const UINT kAppIcon = 128;
const int kModeCount = 11;

// The remembered sizes of the modes, in the settings record.
struct ModeSize
{
    uint16_t SettingsRecord::*height;
    uint16_t SettingsRecord::*width;
    bool bSaved;
};
const ModeSize kModeSizes[kModeCount] = {
    { &SettingsRecord::POPUP_F2_H, &SettingsRecord::POPUP_F2_W, false },
    { &SettingsRecord::POPUP_FAV_H, &SettingsRecord::POPUP_FAV_W, false },
    { &SettingsRecord::POPUP_FAVA_H, &SettingsRecord::POPUP_FAVA_W, false },
    { &SettingsRecord::POPUP_FIND_H, &SettingsRecord::POPUP_FIND_W, true },
    { &SettingsRecord::POPUP_Y_H, &SettingsRecord::POPUP_Y_W, true },
    { &SettingsRecord::POPUP_TR_H, &SettingsRecord::POPUP_TR_W, true },
    { &SettingsRecord::POPUP_SOFT_H, &SettingsRecord::POPUP_SOFT_W, true },
    { &SettingsRecord::POPUP_MAP_H, &SettingsRecord::POPUP_MAP_W, true },
    { &SettingsRecord::POPUP_IEH_H, &SettingsRecord::POPUP_IEH_W, false },
    { &SettingsRecord::POPUP_TEXT_FIND_H, &SettingsRecord::POPUP_TEXT_FIND_W, false },
    { &SettingsRecord::POPUP_HYPER_FIND_H, &SettingsRecord::POPUP_HYPER_FIND_W, true },
};

// The main toolbar (control 59392), in the rebar (59646) or on the frame.
HWND MainToolBar()
{
    HWND hFrame = g_pMainFrame != nullptr ? g_pMainFrame->GetSafeHwnd() : nullptr;
    if (hFrame == nullptr)
        return nullptr;
    HWND hRebar = ::GetDlgItem(hFrame, 59646);
    HWND hToolBar = hRebar != nullptr ? ::GetDlgItem(hRebar, 59392) : nullptr;
    return hToolBar != nullptr ? hToolBar : ::GetDlgItem(hFrame, 59392);
}

int ClampMode(int mode)
{
    return mode < 0 || mode >= kModeCount ? 0 : mode;
}

// A "file:" URL or a path, as the path of a file.
CString FilePathOf(CString url)
{
    url.Replace('/', '\\');
    if (strncmp(url, "file:\\\\\\", 8) == 0)
        url = url.Mid(8);
    else if (strncmp(url, "file:\\\\", 7) == 0)
        url = url.Mid(7);
    return UrlDecode(url);
}

} // namespace

BEGIN_MESSAGE_MAP(CDlgHtmlPopup, CDialog)
    ON_WM_SIZE()
    ON_WM_CLOSE()
END_MESSAGE_MAP()

BEGIN_EVENTSINK_MAP(CDlgHtmlPopup, COleEventHandler)
    ON_EVENT(CDlgHtmlPopup, kHtmlPopupBrowser, DISPID_NEWWINDOW2, OnNewWindow2)
    ON_EVENT(CDlgHtmlPopup, kHtmlPopupBrowser, DISPID_STATUSTEXTCHANGE, OnStatusTextChange)
    ON_EVENT(CDlgHtmlPopup, kHtmlPopupBrowser, DISPID_BEFORENAVIGATE2, OnBeforeNavigate2)
    ON_EVENT(CDlgHtmlPopup, kHtmlPopupBrowser, DISPID_DOCUMENTCOMPLETE, OnDocumentComplete)
END_EVENTSINK_MAP()

CDlgHtmlPopup::CDlgHtmlPopup(CWnd* pParent) : CDialog(kHtmlPopupTemplate, pParent)
{
    m_ambient.SetOff(true);
    m_ambient.SetDownloadControl(0x71);
}

CDlgHtmlPopup::~CDlgHtmlPopup()
{
    if (GetSafeHwnd() != nullptr)
        DestroyWindow();
    m_ambient.SetControl(nullptr);
    if (m_pBrowser != nullptr)
        m_pBrowser->Release();
}

IDispatch* CDlgHtmlPopup::GetExternalObject()
{
    return g_pMainFrame != nullptr ? &g_pMainFrame->m_scriptExternal : nullptr;
}

// A right click on a selection gets the page menu of the active tab.
void CDlgHtmlPopup::ShowPageMenu(POINT pt, const CPageSelection& selection)
{
    CBrowserView* pView = theApp.m_pActiveView;
    if (pView != nullptr && ::IsWindow(pView->GetSafeHwnd()))
        pView->ShowPageMenu(pt, selection);
}

BOOL CDlgHtmlPopup::OnInitDialog()
{
    m_flags &= ~static_cast<DWORD>(kPopupHidden);
    CDialog::OnInitDialog();
    m_mode = ClampMode(m_mode);
    if (m_pagePath.IsEmpty())
    {
        m_pagePath = theApp.GetProgramFolder() + "Favorite\\index.htm";
        m_mode = 0;
    }
    m_dwHostFlags = kPopupHostFlags;
    m_bIEMenuAllowed = 1;
    m_contextMenuMode = 0;
    if (m_pBrowser != nullptr)
        m_pBrowser->Release();
    m_pBrowser = HostDialogControl(m_hWnd, kHtmlPopupBrowser, m_ambient, kPopupDownloadControl);
    HWND hControl = ::GetDlgItem(m_hWnd, kHtmlPopupBrowser);
    CComPtr<IWebBrowser2> browser;
    if (m_pBrowser != nullptr && hControl != nullptr
        && SUCCEEDED(m_pBrowser->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser))))
    {
        RECT client, control;
        ::GetClientRect(m_hWnd, &client);
        ::GetWindowRect(hControl, &control);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&control), 2);
        m_controlMargins = { control.left, control.top, client.right - control.right,
                             client.bottom - control.bottom };
        CBstr url = CBstr::FromAnsi(m_pagePath);
        browser->Navigate(url, nullptr, nullptr, nullptr, nullptr);
    }
    HICON icon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(kAppIcon));
    ::SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    ::SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    ::SetWindowTextA(m_hWnd, theApp.GetDlgText(kDlgTitleLine + m_mode));
    // Placed under the main toolbar's forward button when there is one.
    POINT at = {0, 0};
    HWND hToolBar = MainToolBar();
    RECT button = {};
    if (hToolBar != nullptr
        && ::SendMessageA(hToolBar, TB_GETRECT, 1019, reinterpret_cast<LPARAM>(&button)))
    {
        ::MapWindowPoints(hToolBar, nullptr, reinterpret_cast<POINT*>(&button), 2);
        at = {button.left, button.bottom};
    }
    ::SetWindowLongPtrA(m_hWnd, GWL_EXSTYLE,
                        ::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
    const ModeSize& size = kModeSizes[m_mode];
    ::SetWindowPos(m_hWnd, nullptr, at.x, at.y, theApp.m_settings.*size.width,
                   theApp.m_settings.*size.height, SWP_SHOWWINDOW | SWP_NOZORDER);
    return FALSE;
}

// The browser control follows the right and bottom edges (a small stand-in
// for the dialog layout helper).
void CDlgHtmlPopup::OnSize(UINT, int cx, int cy)
{
    HWND hControl = ::GetDlgItem(m_hWnd, kHtmlPopupBrowser);
    if (hControl == nullptr)
        return;
    ::SetWindowPos(hControl, nullptr, m_controlMargins.left, m_controlMargins.top,
                   cx - m_controlMargins.left - m_controlMargins.right,
                   cy - m_controlMargins.top - m_controlMargins.bottom, SWP_NOZORDER);
}

void CDlgHtmlPopup::ShowWindow(int nCmdShow)
{
    if (nCmdShow == SW_SHOWNORMAL || nCmdShow == SW_SHOW)
        m_flags &= ~static_cast<DWORD>(kPopupHidden);
    if (GetSafeHwnd() != nullptr)
        ::ShowWindow(m_hWnd, nCmdShow);
}

BOOL CDlgHtmlPopup::RememberFocus()
{
    HWND hFocus = ::GetFocus();
    if (hFocus == nullptr || GetSafeHwnd() == nullptr
        || (hFocus != m_hWnd && !::IsChild(m_hWnd, hFocus)))
        return FALSE;
    m_hRememberedFocus = hFocus;
    return TRUE;
}

// The modeless popup hides on Enter and Escape.
void CDlgHtmlPopup::OnOK()
{
    ::ShowWindow(m_hWnd, SW_HIDE);
}

void CDlgHtmlPopup::OnCancel()
{
    ::ShowWindow(m_hWnd, SW_HIDE);
}

void CDlgHtmlPopup::FocusBrowser()
{
    HWND hControl = ::GetDlgItem(m_hWnd, kHtmlPopupBrowser);
    if (hControl != nullptr)
        ::SetFocus(hControl);
}

bool CDlgHtmlPopup::IsTopLevel(IDispatch* pDisp) const
{
    return IsSameObject(pDisp, m_pBrowser);
}

IHTMLDocument2* CDlgHtmlPopup::PageDocument() const
{
    CComPtr<IWebBrowser2> browser;
    CComPtr<IDispatch> disp;
    if (m_pBrowser == nullptr
        || FAILED(m_pBrowser->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser)))
        || FAILED(browser->get_Document(&disp)) || disp == nullptr)
        return nullptr;
    return AsHtmlDocument(disp);
}

void CDlgHtmlPopup::ForEachScriptDocument(const std::function<void(IHTMLDocument2*)>& fn) const
{
    CComPtr<IHTMLDocument2> page;
    page.Attach(PageDocument());
    CComPtr<IHTMLFramesCollection2> frames;
    LONG count = 0;
    if (page == nullptr || FAILED(page->get_frames(&frames)) || frames == nullptr
        || FAILED(frames->get_length(&count)))
        return;
    if (count == 0)
    {
        fn(page);
        return;
    }
    for (LONG i = 1; i < count; ++i)
    {
        CVariant index, item;
        index.SetLong(i);
        CComPtr<IHTMLWindow2> window;
        CComPtr<IHTMLDocument2> doc;
        if (FAILED(frames->item(&index, &item)) || item.vt != VT_DISPATCH || item.pdispVal == nullptr
            || FAILED(item.pdispVal->QueryInterface(IID_IHTMLWindow2, reinterpret_cast<void**>(&window)))
            || FAILED(window->get_document(&doc)) || doc == nullptr)
            continue;
        fn(doc);
    }
}

//--- Events

void CDlgHtmlPopup::OnStatusTextChange(VaEventArgs& args)
{
    m_statusText = args.GetString(0);
}

void CDlgHtmlPopup::OnBeforeNavigate2(VaEventArgs& args)
{
    if (m_flags & kPopupPassNext)
    {
        m_flags &= ~static_cast<DWORD>(kPopupPassNext);
        return;
    }
    VARIANT_BOOL* pCancel = args.GetBoolRef(6);
    if (pCancel == nullptr)
        return;
    const CString url = args.GetString(1);
    *pCancel = VARIANT_TRUE;
    CString head = url.Left(10);
    head.MakeLower();
    if (strncmp(head, "javascript", 10) == 0 || strncmp(head, "script", 6) == 0
        || strncmp(head, "vbscript", 8) == 0 || strncmp(head, "jscript", 7) == 0)
    {
        *pCancel = VARIANT_FALSE;
        return;
    }
    if (theApp.OpenShortcut(url, m_pagePath))
        return;
    if (theApp.IsOwnFavoritePage(url))
    {
        CString lower = url;
        lower.MakeLower();
        if (lower.Find("text_search.htm") >= 0)
        {
            try
            {
                RunTextSearch(args.Get(4), pCancel);
            }
            catch (...)
            {
            }
        }
        else
            *pCancel = VARIANT_FALSE;
        return;
    }
    OpenOutside(url);
}

// A link that leaves the popup opens in the tabs.
void CDlgHtmlPopup::OpenOutside(const CString& url)
{
    const SettingsRecord& s = theApp.m_settings;
    if (s.iParentTabNewRule & 0x100)
    {
        CComPtr<IHTMLDocument2> page;
        page.Attach(PageDocument());
        CLinkInfo info(CLinkInfo::kInnerText);
        CTabGroup* group = nullptr;
        if (g_pMainFrame != nullptr)
            group = info.FromElement(page) ? g_pMainFrame->CreateDefaultGroup(info.m_text)
                                           : g_pMainFrame->CreateEmptyGroup();
        theApp.OpenUrl(group, url, 1);
        return;
    }
    CBrowserView* pView = theApp.m_pActiveView;
    if (s.bOpenNewTab_FAV())
        theApp.OpenUrl(theApp.GetActiveGroup(), url, 1);
    else if (pView != nullptr && ::IsWindow(pView->GetSafeHwnd()))
        pView->Navigate(url);
    else
        theApp.OpenUrl(theApp.GetActiveGroup(), url, 0);
    if (!s.bPopUpNewStyle())
        ::PostMessageA(m_hWnd, WM_CLOSE, 0, 0);
}

void CDlgHtmlPopup::OnNewWindow2(VaEventArgs& args)
{
    IDispatch** ppDisp = args.GetDispatchRef(0);
    VARIANT_BOOL* pCancel = args.GetBoolRef(1);
    if (ppDisp == nullptr || pCancel == nullptr)
        return;
    const SettingsRecord& s = theApp.m_settings;
    CTabGroup* group = theApp.GetActiveGroup();
    if (s.bWindowMaxCnt() && theApp.GetGroupTabCount(group) >= s.iWindowMaxCnt)
    {
        *pCancel = VARIANT_TRUE;
        return;
    }
    CChildFrame* frame = g_pMainFrame != nullptr ? g_pMainFrame->CreateTabFrame() : nullptr;
    if (frame == nullptr)
    {
        // No tab for it: a window outside the program must not open.
        *pCancel = VARIANT_TRUE;
        return;
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
        return;
    }
    if (IWebBrowser2* pBrowser = pView->GetBrowser())
        pBrowser->put_RegisterAsBrowser(s.bTargetName() ? VARIANT_TRUE : VARIANT_FALSE);
    *ppDisp = pApp;
    if (!s.bPopUpNewStyle() && m_mode != 1)
        ::PostMessageA(m_hWnd, WM_CLOSE, 0, 0);
}

// Only the page's own completion hands the keyword over: its frames
// complete first.
void CDlgHtmlPopup::OnDocumentComplete(VaEventArgs& args)
{
    if (!IsTopLevel(args.GetDispatch(0)) || m_mode != kPopupModeTextFind || m_keyword.IsEmpty())
        return;
    CStringArray words;
    words.Add(m_keyword);
    ForEachScriptDocument([&](IHTMLDocument2* doc) {
        CallPageScript(doc, "SetSelTextValues", words);
        CallPageScript(doc, "SubmitDataEx", words);
    });
    m_keyword.Empty();
    m_searchPending = 0;
}

//--- Closing

void CDlgHtmlPopup::OnClose()
{
    m_flags |= kPopupHidden;
    SaveSize();
    const int mode = ClampMode(m_mode);
    if (kModeSizes[mode].bSaved)
        SavePage();
    ::ShowWindow(m_hWnd, SW_HIDE);
}

void CDlgHtmlPopup::SaveSize()
{
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof(wp);
    if (!::GetWindowPlacement(m_hWnd, &wp))
        return;
    const ModeSize& size = kModeSizes[ClampMode(m_mode)];
    theApp.m_settings.*size.height =
        static_cast<uint16_t>(wp.rcNormalPosition.bottom - wp.rcNormalPosition.top);
    theApp.m_settings.*size.width =
        static_cast<uint16_t>(wp.rcNormalPosition.right - wp.rcNormalPosition.left);
}

// Writes the page back to its file, but only while the popup still shows
// that file: another document must never overwrite it.
void CDlgHtmlPopup::SavePage()
{
    CComPtr<IHTMLDocument2> page;
    page.Attach(PageDocument());
    CBstr docUrl;
    if (page == nullptr || FAILED(page->get_URL(&docUrl)))
        return;
    if (FilePathOf(docUrl.ToAnsi()).CompareNoCase(FilePathOf(m_pagePath)) != 0)
        return;
    ForEachElement(page, [&](IHTMLElement* element) {
        if (TagName(element) != "HTML")
            return true;
        CBstr html;
        if (FAILED(element->get_outerHTML(&html)))
            return false;
        CString text = html.ToAnsi();
        if (m_mode == 4)
        {
            CString euc;
            ConvertSjisToEuc(text, euc);
            text = euc;
        }
        CFile out;
        if (out.Open(m_pagePath, CFile::modeCreate | CFile::modeWrite | CFile::shareDenyNone))
            out.Write(static_cast<LPCSTR>(text), static_cast<UINT>(text.GetLength()));
        return false;
    });
}

//--- Keys and the mouse

BOOL CDlgHtmlPopup::PreTranslateMessage(MSG* pMsg)
{
    switch (pMsg->message)
    {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (TranslateKey(pMsg))
            return TRUE;
        break;
    case WM_MBUTTONDOWN:
        // Over a link (the status text names it) the click is armed.
        if (IsUrlForm(m_statusText.Left(11)))
        {
            m_flags |= kPopupMiddleArmed;
            pMsg->message = WM_RBUTTONDOWN;
        }
        break;
    case WM_MBUTTONUP:
        if (OpenMiddleClickedLink())
            return TRUE;
        break;
    default:
        break;
    }
    return CDialog::PreTranslateMessage(pMsg);
}

BOOL CDlgHtmlPopup::TranslateKey(MSG* pMsg)
{
    if (g_pMainFrame != nullptr && g_pMainFrame->GetSafeHwnd() != nullptr
        && g_pMainFrame->PreTranslateMessage(pMsg))
        return TRUE;
    CComPtr<IOleInPlaceActiveObject> active;
    if (m_pBrowser != nullptr
        && SUCCEEDED(m_pBrowser->QueryInterface(IID_IOleInPlaceActiveObject, reinterpret_cast<void**>(&active)))
        && active->TranslateAccelerator(pMsg) == S_OK)
        return TRUE;
    if (::GetDlgItem(m_hWnd, kHtmlPopupBrowser) == nullptr)
        return FALSE;
    CComPtr<IHTMLDocument2> page;
    page.Attach(PageDocument());
    if (page == nullptr || IsEditableElement(page))
        return FALSE;
    // An auto-repeated key (bit 30: already down) is swallowed.
    return (pMsg->lParam & 0x40000000) != 0 ? TRUE : FALSE;
}

BOOL CDlgHtmlPopup::OpenMiddleClickedLink()
{
    CComPtr<IHTMLDocument2> page;
    page.Attach(PageDocument());
    CLinkInfo info(CLinkInfo::kLinkUrl);
    if (!info.FromElement(page))
        return FALSE;
    if (!(m_flags & kPopupMiddleArmed))
        return TRUE;
    m_flags &= ~static_cast<DWORD>(kPopupMiddleArmed);
    const SettingsRecord& s = theApp.m_settings;
    CBrowserView* pView = theApp.m_pActiveView;
    if (s.bOpenNewTab_FAV_WC())
        theApp.OpenUrl(theApp.GetActiveGroup(), info.m_url, 7);
    else if (pView != nullptr && ::IsWindow(pView->GetSafeHwnd()))
        pView->Navigate(info.m_url);
    else
        theApp.OpenUrl(theApp.GetActiveGroup(), info.m_url, 0);
    if (!s.bPopUpNewStyle())
        ::PostMessageA(m_hWnd, WM_CLOSE, 0, 0);
    return TRUE;
}

BOOL CDlgHtmlPopup::FocusPage()
{
    if ((m_flags & kPopupPageFocused) || ::GetActiveWindow() == nullptr || m_pBrowser == nullptr)
        return FALSE;
    CComPtr<IHTMLDocument2> page;
    page.Attach(PageDocument());
    CComPtr<IHTMLWindow2> window;
    if (page == nullptr || FAILED(page->get_parentWindow(&window)) || window == nullptr)
        return FALSE;
    m_flags |= kPopupPageFocused;
    return SUCCEEDED(window->focus()) ? TRUE : FALSE;
}
