#include "tab/FavHtmlPane.h"

#include <windows.h>
#include <exdisp.h>
#include <exdispid.h>
#include <mshtml.h>

#include "framework/ole/OleUtil.h"
#include "shared/AppData.h"
#include "shared/AppSettings.h"
#include "shared/UrlText.h"
#include "tab/BrowserView.h"
#include "tab/LocalPageHost.h"
#include "tab/PageFrames.h"
#include "tab/TabHost.h"
#include "tab/TextSearchDriver.h"

namespace {

const UINT kBrowserId = 1008;
const DWORD kPaneHostFlags = 0x54000;
const DWORD kPaneDownloadControl = 0x10;

} // namespace

BEGIN_MESSAGE_MAP(CDlgFavHtml, CDialog)
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

BEGIN_EVENTSINK_MAP(CDlgFavHtml, COleEventHandler)
    ON_EVENT(CDlgFavHtml, kBrowserId, DISPID_BEFORENAVIGATE2, OnBeforeNavigate2)
    ON_EVENT(CDlgFavHtml, kBrowserId, DISPID_NEWWINDOW2, OnNewWindow2)
    ON_EVENT(CDlgFavHtml, kBrowserId, DISPID_STATUSTEXTCHANGE, OnStatusTextChange)
END_EVENTSINK_MAP()

CDlgFavHtml::CDlgFavHtml(CWnd* pParent) : CDialog(kFavHtmlTemplate, pParent)
{
    m_ambient.SetOff(true);
    m_ambient.SetDownloadControl(0x71);
}

CDlgFavHtml::~CDlgFavHtml()
{
    if (GetSafeHwnd() != nullptr)
        DestroyWindow();
    m_ambient.SetControl(nullptr);
    if (m_pBrowser != nullptr)
        m_pBrowser->Release();
}

ITabHost& CDlgFavHtml::Host() const
{
    return TabHostOr(nullptr, m_hWnd);
}

IDispatch* CDlgFavHtml::GetExternalObject()
{
    return Host().GetScriptObject();
}

BOOL CDlgFavHtml::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_bIEMenuAllowed = 1;
    m_contextMenuMode = 0;
    m_dwHostFlags = kPaneHostFlags;
    if (m_pBrowser != nullptr)
        m_pBrowser->Release();
    m_pBrowser = HostDialogControl(m_hWnd, kBrowserId, m_ambient, kPaneDownloadControl);
    return TRUE;
}

void CDlgFavHtml::OnSize(UINT, int cx, int cy)
{
    HWND hControl = ::GetDlgItem(m_hWnd, kBrowserId);
    if (hControl != nullptr)
        ::SetWindowPos(hControl, nullptr, 0, 0, cx, cy, SWP_NOZORDER);
}

// The control covers the pane: the pane itself never paints.
void CDlgFavHtml::OnPaint()
{
    ::ValidateRect(m_hWnd, nullptr);
}

BOOL CDlgFavHtml::OnEraseBkgnd(HDC)
{
    return TRUE;
}

void CDlgFavHtml::Navigate(const CString& url)
{
    CComPtr<IWebBrowser2> browser;
    if (m_pBrowser == nullptr
        || FAILED(m_pBrowser->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser))))
        return;
    CBstr target = CBstr::FromAnsi(url);
    browser->Navigate(target, nullptr, nullptr, nullptr, nullptr);
}

void CDlgFavHtml::CreateHistoryPage()
{
    const CString path = AppFolders().FavoriteFile("history.htm");
    // Without a program folder there is no page to make (the start said so).
    if (path.IsEmpty() || ::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES)
        return;
    DWORD error = 0;
    if (!WritePageFile(path, AppStrings().GetIEHistoryText(1), &error))
        ReportPageWriteFailure(m_hWnd, path, error);
}

BOOL CDlgFavHtml::WriteIndexPage(const CString& rows)
{
    CString page = "<html><head><title>";
    page += AppClassName();
    page += "Favorite</title></head>\r\n<frameset rows=" + rows
            + " frameborder=0 framespacing=0 border=0>\r\n"
              "<frame src=navtabs.htm name=frm_navtabs>\r\n"
              "<frame src=bookmark.htm name=frm_main>\r\n"
              "</frameset>\r\n</frameset>\r\n";
    // Written while the pane goes, often with the frame: no message box
    // then, and a failure keeps the last index page whole.
    DWORD error = 0;
    return WritePageFile(AppFolders().FavoriteFile("index.htm"), page, &error) ? TRUE : FALSE;
}

bool CDlgFavHtml::ReadFrameRows(CString& rows) const
{
    CComPtr<IHTMLDocument2> doc;
    doc.Attach(HostedDocument(m_pBrowser));
    if (doc == nullptr)
        return false;
    bool bFound = false;
    ForEachElement(doc, [&](IHTMLElement* element) {
        CComPtr<IHTMLFrameSetElement> frameset;
        CBstr value;
        if (TagName(element) != "FRAMESET"
            || FAILED(element->QueryInterface(IID_IHTMLFrameSetElement, reinterpret_cast<void**>(&frameset)))
            || FAILED(frameset->get_rows(&value)))
            return true;
        rows = value.ToAnsi();
        bFound = true;
        return false;
    });
    return bFound;
}

void CDlgFavHtml::OnDestroy()
{
    CString rows;
    // The index page is made again from the Favorites whenever the pane
    // opens; one that could not be written loses nothing of the user's.
    if (ReadFrameRows(rows))
        (void)WriteIndexPage(rows);
    CDialog::OnDestroy();
}

STDMETHODIMP CDlgFavHtml::ShowContextMenu(DWORD dwID, POINT*, IUnknown*, IDispatch*)
{
    return VaRunComMethod("ShowContextMenu", [&]() -> HRESULT {
        const SettingsRecord& s = AppSettings();
        if (s.bFavViewAutoHide == 0 || s.bFavViewAutoHideClick != 2)
            return S_FALSE;
        if (dwID == 1 || dwID == 2 || dwID == 4 || dwID == 5)
            return S_FALSE;
        return Host().GetFrameWindow() != nullptr ? S_OK : S_FALSE;
    });
}

STDMETHODIMP CDlgFavHtml::GetDropTarget(IDropTarget*, IDropTarget** ppDropTarget)
{
    return VaRunComMethod("GetDropTarget", [&]() -> HRESULT {
        if (ppDropTarget != nullptr)
            *ppDropTarget = nullptr;
        return S_FALSE;
    });
}

void CDlgFavHtml::OnStatusTextChange(VaEventArgs& args)
{
    m_statusText = args.GetString(0);
}

// Script links and pages of the Favorite folder stay in the pane (a post
// of the find-in-pages page runs its search); other links open in the tabs,
// and the pane stays.
void CDlgFavHtml::OnBeforeNavigate2(VaEventArgs& args)
{
    if (m_bPassNext)
    {
        m_bPassNext = 0;
        return;
    }
    VARIANT_BOOL* pCancel = args.GetBoolRef(6);
    if (pCancel == nullptr)
        return;
    const CString url = args.GetString(1);
    *pCancel = VARIANT_TRUE;
    if (IsScriptUrl(url))
    {
        *pCancel = VARIANT_FALSE;
        return;
    }
    if (Host().OpenShortcut(url, nullptr))
        return;
    if (Host().IsOwnFavoritePage(url))
    {
        CString lower = url;
        lower.MakeLower();
        if (lower.Find("text_search.htm") < 0)
            *pCancel = VARIANT_FALSE;
        else
        {
            try
            {
                RunTextSearch(args.Get(4), pCancel);
            }
            catch (...)
            {
            }
        }
        return;
    }
    if (AppSettings().iParentTabNewRule & 0x100)
    {
        ITabHost& host = Host();
        if (host.GetFrameWindow() != nullptr)
            OpenLinkInNewGroup(host, this, host.CreateEmptyGroup(), url);
    }
    else
        OpenLinkInTabs(Host(), url, 1);
}

void CDlgFavHtml::OnNewWindow2(VaEventArgs& args)
{
    OpenNewWindowAsTab(Host(), args);
}

void CDlgFavHtml::RunTextSearch(const VARIANT* pPostData, VARIANT_BOOL* pCancel)
{
    CMapStringToString fields;
    ITabHost& host = Host();
    if (!BeginTextSearch(host, pPostData, pCancel, fields))
        return;
    // The page stays, whether the run ends early or not.
    CComPtr<IHTMLDocument2> page;
    page.Attach(HostedDocument(m_pBrowser));
    ForEachScriptDocument(page, false, [&](IHTMLDocument2* doc) {
        CBrowserView* pActive = host.GetActiveTabView();
        if (pActive == nullptr || !::IsWindow(pActive->GetSafeHwnd()) || pActive->GetBrowser() == nullptr)
            return false;
        return RunTextSearchStep(host, doc, pActive, fields, m_hWnd) == TextSearchStep::kDone;
    });
}

//--- Keys and the mouse

BOOL CDlgFavHtml::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_MOUSEMOVE)
        FollowMouseWithFocus();
    bool bArmed = m_bMiddleArmed != 0;
    const HostedInput input =
        TranslateHostedInput(Host(), this, m_pBrowser, kBrowserId, m_statusText, bArmed, pMsg);
    m_bMiddleArmed = bArmed ? 1 : 0;
    if (input == HostedInput::kPageKey)
        return FALSE;
    return input != HostedInput::kPass ? TRUE : CDialog::PreTranslateMessage(pMsg);
}

// When the main frame lets the focused window lose the focus: a window of
// the pane is remembered; otherwise the focus goes back to the remembered
// one, or else to the pane's page.
void CDlgFavHtml::FollowMouseWithFocus()
{
    HWND hFocus = ::GetFocus();
    if (!Host().GetBrowserWindowAtCursor(hFocus))
        return;
    if (::IsChild(m_hWnd, hFocus))
    {
        m_hRememberedFocus = hFocus;
        return;
    }
    // Only a window still inside the pane: SetFocus(null) would take the
    // focus from everything.
    if (m_hRememberedFocus != nullptr && ::IsChild(m_hWnd, m_hRememberedFocus))
        ::SetFocus(m_hRememberedFocus);
    hFocus = ::GetFocus();
    if (hFocus != m_hWnd && !::IsChild(m_hWnd, hFocus))
        FocusHostedPage(m_pBrowser);
}
