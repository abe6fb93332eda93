#include "tab/HtmlPopupDlg.h"

#include <windows.h>
#include <exdisp.h>
#include <exdispid.h>
#include <mshtml.h>

#include "framework/ole/OleUtil.h"
#include "lists/SearchUrl.h"
#include "shared/AppData.h"
#include "shared/AppSettings.h"
#include "shared/StartupList.h"
#include "shared/UrlText.h"
#include "tab/BrowserView.h"
#include "tab/ChildFrame.h"
#include "tab/LinkInfo.h"
#include "tab/LocalPageHost.h"
#include "tab/PageFrames.h"
#include "tab/PageScript.h"
#include "tab/TabGroup.h"
#include "tab/TabHost.h"

namespace {

// DOCHOSTUIFLAG_ENABLE_FORMS_AUTOCOMPLETE, ENABLE_INPLACE_NAVIGATION, THEME.
const DWORD kPopupHostFlags = 0x54000;
// DLCTL_DLIMAGES alone: no videos or sounds; scripts, Java, ActiveX allowed.
const DWORD kPopupDownloadControl = 0x10;
const int kDlgTitleLine = 64;
const UINT kAppIcon = 128;
const int kModeCount = 11;
// The layered style: each mode opens this much lower, and the inactive
// popup shrinks to this height.
const int kLayeredModeStep = 23;
const int kLayeredInactiveHeight = 30;

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
HWND MainToolBar(HWND hFrame)
{
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
    ON_WM_DESTROY()
    ON_MESSAGE(WM_NCACTIVATE, OnNcActivate)
END_MESSAGE_MAP()

BEGIN_EVENTSINK_MAP(CDlgHtmlPopup, COleEventHandler)
    ON_EVENT(CDlgHtmlPopup, kHtmlPopupBrowser, DISPID_NEWWINDOW2, OnNewWindow2)
    ON_EVENT(CDlgHtmlPopup, kHtmlPopupBrowser, DISPID_STATUSTEXTCHANGE, OnStatusTextChange)
    ON_EVENT(CDlgHtmlPopup, kHtmlPopupBrowser, DISPID_BEFORENAVIGATE2, OnBeforeNavigate2)
    ON_EVENT(CDlgHtmlPopup, kHtmlPopupBrowser, DISPID_DOCUMENTCOMPLETE, OnDocumentComplete)
END_EVENTSINK_MAP()

CDlgHtmlPopup::CDlgHtmlPopup(CWnd* pParent, ITabHost* host)
    : CDialog(kHtmlPopupTemplate, pParent), m_pHost(host)
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

ITabHost& CDlgHtmlPopup::Host() const
{
    return TabHostOr(m_pHost, m_hWnd);
}

IDispatch* CDlgHtmlPopup::GetExternalObject()
{
    return Host().GetScriptObject();
}

// A right click on a selection gets the page menu of the active tab.
void CDlgHtmlPopup::ShowPageMenu(POINT pt, const CPageSelection& selection)
{
    CBrowserView* pView = Host().GetActiveTabView();
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
        m_pagePath = AppFolders().FavoriteFile("index.htm");
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
        const LONG place = CDlgLayout::kFromPlace;
        m_layout.AddControl(hControl, {place, place, place, place},
                            CDlgLayout::kRight | CDlgLayout::kBottom);
        CBstr url = CBstr::FromAnsi(m_pagePath);
        browser->Navigate(url, nullptr, nullptr, nullptr, nullptr);
    }
    HICON icon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(kAppIcon));
    ::SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    ::SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    ::SetWindowTextA(m_hWnd, AppStrings().GetDlgText(kDlgTitleLine + m_mode));
    // Placed under the main toolbar's forward button when there is one.
    POINT at = {0, 0};
    HWND hToolBar = MainToolBar(Host().GetFrameWindow());
    RECT button = {};
    if (hToolBar != nullptr
        && ::SendMessageA(hToolBar, TB_GETRECT, 1019, reinterpret_cast<LPARAM>(&button)))
    {
        ::MapWindowPoints(hToolBar, nullptr, reinterpret_cast<POINT*>(&button), 2);
        at = {button.left, button.bottom};
    }
    LONG_PTR exStyle = ::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE) | WS_EX_TOOLWINDOW;
    if (AppSettings().bPopUpNewStyle())
    {
        // Translucent while inactive; the modes open one under the other.
        exStyle |= WS_EX_LAYERED;
        FreeUser32();
        m_hUser32 = ::LoadLibraryA("user32");
        if (m_hUser32 != nullptr)
            m_pfnSetLayered = reinterpret_cast<SetLayeredFn>(
                reinterpret_cast<void*>(::GetProcAddress(m_hUser32, "SetLayeredWindowAttributes")));
        at.y += m_mode * kLayeredModeStep;
    }
    ::SetWindowLongPtrA(m_hWnd, GWL_EXSTYLE, exStyle);
    // A layered window shows nothing until its alpha is set.
    SetAlpha(255);
    const ModeSize& size = kModeSizes[m_mode];
    const int width = AppSettings().*size.width;
    const int height = AppSettings().*size.height;
    ::SetWindowPos(m_hWnd, nullptr, at.x, at.y, width, height, SWP_SHOWWINDOW | SWP_NOZORDER);
    ::GetWindowRect(m_hWnd, &m_rcRemembered);
    return FALSE;
}

void CDlgHtmlPopup::SetAlpha(BYTE alpha)
{
    if (m_pfnSetLayered != nullptr && (::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE) & WS_EX_LAYERED))
        m_pfnSetLayered(m_hWnd, 0, alpha, LWA_ALPHA);
}

void CDlgHtmlPopup::FreeUser32()
{
    m_pfnSetLayered = nullptr;
    if (m_hUser32 != nullptr)
        ::FreeLibrary(m_hUser32);
    m_hUser32 = nullptr;
}

// The layered popup is whole and opaque while active; inactive it shrinks
// to its caption and turns translucent. The whole rectangle is read only
// from the whole window: a second deactivation must not remember the
// shrunk one.
LRESULT CDlgHtmlPopup::OnNcActivate(WPARAM wParam, LPARAM)
{
    if (AppSettings().bPopUpNewStyle() && m_pfnSetLayered != nullptr)
    {
        if (wParam)
        {
            if (m_bShrunk)
                ::SetWindowPos(m_hWnd, nullptr, m_rcRemembered.left, m_rcRemembered.top,
                               m_rcRemembered.right - m_rcRemembered.left,
                               m_rcRemembered.bottom - m_rcRemembered.top,
                               SWP_NOZORDER | SWP_NOACTIVATE);
            m_bShrunk = false;
            SetAlpha(255);
        }
        else
        {
            RememberFocus();
            if (!m_bShrunk)
            {
                ::GetWindowRect(m_hWnd, &m_rcRemembered);
                ::SetWindowPos(m_hWnd, nullptr, 0, 0, m_rcRemembered.right - m_rcRemembered.left,
                               kLayeredInactiveHeight, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
                m_bShrunk = true;
            }
            const int alpha = AppSettings().iPopUpNewStyle_nnn;
            SetAlpha(static_cast<BYTE>(alpha > 0 && alpha <= 255 ? alpha : 200));
        }
    }
    return Default();
}

void CDlgHtmlPopup::OnDestroy()
{
    FreeUser32();
    CDialog::OnDestroy();
}

void CDlgHtmlPopup::OnSize(UINT, int, int)
{
    Default();
    m_layout.OnSize(m_hWnd);
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
    return HostedDocument(m_pBrowser);
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
    if (Host().OpenShortcut(url, m_pagePath))
        return;
    if (Host().IsOwnFavoritePage(url))
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
    const SettingsRecord& s = AppSettings();
    if (s.iParentTabNewRule & 0x100)
    {
        CComPtr<IHTMLDocument2> page;
        page.Attach(PageDocument());
        CLinkInfo info(CLinkInfo::kInnerText);
        ITabHost& host = Host();
        if (host.GetFrameWindow() == nullptr)
            return;
        // A link with a text opens a group of that name.
        const bool bNamed = info.FromElement(page) && !info.m_text.IsEmpty();
        CTabGroup* group = bNamed ? host.CreateDefaultGroup(info.m_text) : host.CreateEmptyGroup();
        OpenLinkInNewGroup(host, this, group, url);
        return;
    }
    OpenLinkInTabs(Host(), url, 1);
    if (!s.bPopUpNewStyle())
        ::PostMessageA(m_hWnd, WM_CLOSE, 0, 0);
}

void CDlgHtmlPopup::OnNewWindow2(VaEventArgs& args)
{
    if (OpenNewWindowAsTab(Host(), args) && !AppSettings().bPopUpNewStyle() && m_mode != 1)
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
    CComPtr<IHTMLDocument2> page;
    page.Attach(PageDocument());
    ForEachScriptDocument(page, true, [&](IHTMLDocument2* doc) {
        CallPageScript(doc, "SetSelTextValues", words);
        CallPageScript(doc, "SubmitDataEx", words);
        return true;
    });
    m_keyword.Empty();
    m_searchPending = 0;
}

//--- Closing

void CDlgHtmlPopup::OnClose()
{
    m_flags |= kPopupHidden;
    SaveSize();
    // "user32" stays loaded until the window goes: a hidden popup can be
    // shown and activated again, and its alpha is set through it.
    const int mode = ClampMode(m_mode);
    if (kModeSizes[mode].bSaved)
        SavePage();
    ::ShowWindow(m_hWnd, SW_HIDE);
}

// The mode's size is the popup's whole size: an inactive layered popup,
// shrunk to its caption, has it in the remembered rectangle.
void CDlgHtmlPopup::SaveSize()
{
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof(wp);
    if (!::GetWindowPlacement(m_hWnd, &wp))
        return;
    const RECT& whole = m_bShrunk ? m_rcRemembered : wp.rcNormalPosition;
    const ModeSize& size = kModeSizes[ClampMode(m_mode)];
    AppSettings().*size.height = static_cast<uint16_t>(whole.bottom - whole.top);
    AppSettings().*size.width = static_cast<uint16_t>(whole.right - whole.left);
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
        CString text = HtmlTextToCp932(html, static_cast<int>(html.Length()));
        if (m_mode == 4)
        {
            CString euc;
            ConvertSjisToEuc(text, euc);
            text = euc;
        }
        DWORD error = 0;
        if (!WritePageFile(m_pagePath, text, &error))
            ReportPageWriteFailure(m_hWnd, m_pagePath, error);
        return false;
    });
}

//--- Keys and the mouse

BOOL CDlgHtmlPopup::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_MOUSEMOVE)
        FollowMouseWithFocus();
    bool bArmed = (m_flags & kPopupMiddleArmed) != 0;
    const HostedInput input =
        TranslateHostedInput(Host(), this, m_pBrowser, kHtmlPopupBrowser, m_statusText, bArmed, pMsg);
    m_flags = bArmed ? (m_flags | kPopupMiddleArmed) : (m_flags & ~static_cast<DWORD>(kPopupMiddleArmed));
    if (input == HostedInput::kLinkOpened && !AppSettings().bPopUpNewStyle())
        ::PostMessageA(m_hWnd, WM_CLOSE, 0, 0);
    if (input == HostedInput::kPageKey)
        return FALSE;
    return input != HostedInput::kPass ? TRUE : CDialog::PreTranslateMessage(pMsg);
}

// The mouse over the popup takes the focus from a window the main frame
// lets lose it: back to the popup's last focused window, else to its page.
void CDlgHtmlPopup::FollowMouseWithFocus()
{
    HWND hFocus = ::GetFocus();
    if (hFocus == m_hWnd || ::IsChild(m_hWnd, hFocus) || !Host().GetBrowserWindowAtCursor(hFocus)
        || hFocus == m_hRememberedFocus)
        return;
    if (m_hRememberedFocus != nullptr && ::IsChild(m_hWnd, m_hRememberedFocus))
    {
        ::SetFocus(m_hRememberedFocus);
        return;
    }
    m_flags &= ~static_cast<DWORD>(kPopupPageFocused);
    FocusPage();
}

BOOL CDlgHtmlPopup::FocusPage()
{
    if ((m_flags & kPopupPageFocused) || ::GetActiveWindow() == nullptr || m_pBrowser == nullptr)
        return FALSE;
    if (!FocusHostedPage(m_pBrowser))
        return FALSE;
    m_flags |= kPopupPageFocused;
    return TRUE;
}
