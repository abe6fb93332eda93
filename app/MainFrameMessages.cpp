// CMainFrame: the private window messages through which scripts, plug-ins,
// the dialogs library and the tabs drive the main window.
#include "app/MainFrame.h"

#include <windows.h>
#include <mshtml.h>
#include <commctrl.h>

#include <climits>
#include <vector>

#include "app/VantorelApp.h"
#include "app/resource.h"
#include "bars/GroupTabBar.h"
#include "framework/app/FaultGuard.h"
#include "shared/FrameMessages.h"
#include "shared/FrameSend.h"
#include "shared/StartupList.h"
#include "tab/BrowserView.h"
#include "tab/ChildFrame.h"
#include "tab/TabGroup.h"
#include "tab/TabItem.h"

namespace {

const UINT kShowMenuResource = IDR_SCRIPTMENU;
const UINT kShowMenuFirstId = 39002;
const int kSearchBoxId = 59400;

// Messages that another thread or process may send: read-only answers that
// carry no pointer either way, the shell's tray callback, and the no-ops.
// Every other private message carries an address (a string, a record, a
// window object), returns one, or changes the program's state, and is
// honoured only when this thread sends it: every sender in the program runs
// on it.
bool OpenToOtherSenders(UINT nMsg)
{
    switch (nMsg) {
    case WM_FRAME_TRAYNOTIFY:
    case WM_FRAME_GETCOUNT:
    case WM_FRAME_GETMENUSTYLE:
    case WM_FRAME_GETGROUPCOUNT:
    case WM_FRAME_GETTABID:
    case WM_FRAME_GETTABINDEX:
    case WM_FRAME_ISBUSY:
    case WM_FRAME_ISJAVASCRIPTENABLED:
    case WM_FRAME_ISJAVAENABLED:
    case WM_FRAME_ISRUNACTIVEXENABLED:
    case WM_FRAME_ISDOWNLOADACTIVEXENABLED:
    case WM_FRAME_ISPICTUREENABLED:
    case WM_FRAME_ISSOUNDENABLED:
    case WM_FRAME_ISVIDEOENABLED:
    case WM_FRAME_ISNAVIGATELOCK:
    case WM_FRAME_ISDOMAINLOCK:
    case WM_FRAME_ISLINKLOCK:
    case WM_FRAME_ISWHEELLOCK:
    case WM_FRAME_SETNAVIGATELOCK:
    case WM_FRAME_SETDOMAINLOCK:
    case WM_FRAME_GETACTIVEINDEX:
    case WM_FRAME_GETACTIVEID:
    case WM_FRAME_APPLYDONE:
        return true;
    default:
        return false;
    }
}

bool IsPrivateMessage(UINT nMsg)
{
    return nMsg == WM_FRAME_ACTIVATEPREVTAB || nMsg == WM_FRAME_ACTIVATENEXTTAB ||
           nMsg == WM_FRAME_CLOSETAB || nMsg == WM_FRAME_CREATEGROUP || nMsg == WM_FRAME_COMBOSELECT ||
           nMsg == WM_FRAME_ADDRESSENTER || nMsg == WM_FRAME_TRAYNOTIFY ||
           (nMsg >= WM_FRAME_UNLOADPLUGINS && nMsg <= WM_FRAME_RELOADSCRIPTS && nMsg != WM_FRAME_PLUGINSSAVED) ||
           nMsg == WM_FRAME_DROPTEXT || nMsg == WM_FRAME_SAVEKEYWORD ||
           (nMsg >= WM_FRAME_OPENURL && nMsg <= WM_FRAME_GETACTIVEID) || nMsg == WM_FRAME_GETCURRENTGROUP ||
           nMsg == WM_FRAME_APPLYTABSECURITY || nMsg == WM_FRAME_APPLYDONE || nMsg == WM_FRAME_SHOWMENU;
}

HHOOK g_hPostedFilter = nullptr;
int g_postedFilterUsers = 0;

// WH_GETMESSAGE sees every message this thread takes from its queue, in our
// pump and in the system's modal loops alike; a posted in-process message
// to a main frame becomes WM_NULL there.
LRESULT PostedMessageFilterProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HC_ACTION && wParam == PM_REMOVE) {
        MSG* msg = reinterpret_cast<MSG*>(lParam);
        if (msg->hwnd != nullptr && IsPrivateMessage(msg->message) && !OpenToOtherSenders(msg->message) &&
            dynamic_cast<CMainFrame*>(CWnd::FromHandlePermanent(msg->hwnd)) != nullptr)
            msg->message = WM_NULL;
    }
    return ::CallNextHookEx(g_hPostedFilter, nCode, wParam, lParam);
}

// A filter that faulted lets no message it looked at through.
LRESULT DropMessageAfterFailure(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HC_ACTION && wParam == PM_REMOVE)
        reinterpret_cast<MSG*>(lParam)->message = WM_NULL;
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}

LPCTSTR TextArg(WPARAM value)
{
    return reinterpret_cast<LPCTSTR>(value);
}

bool IsEmptyText(LPCTSTR text)
{
    return text == nullptr || *text == '\0';
}

// A group or tab index from a message argument; -1 when it cannot be one.
int IndexArg(LONG_PTR value)
{
    return value >= 0 && value <= INT_MAX ? static_cast<int>(value) : -1;
}

// The text of a combo box's list entry, empty when there is none.
CString ComboEntryText(HWND combo, LRESULT index)
{
    CString text;
    if (index < 0)
        return text;
    LRESULT length = ::SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length <= 0)
        return text;
    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    ::SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data()));
    return CString(buffer.data());
}

// The download-control bit a "... enabled" query reads, and whether a set
// bit means enabled.
bool QueryOptionBit(UINT nMsg, DWORD* pBit, bool* pSetMeansOn)
{
    static const struct { UINT msg; DWORD bit; bool setMeansOn; } kQueries[] = {
        {WM_FRAME_ISJAVASCRIPTENABLED, 0x80, false},
        {WM_FRAME_ISJAVAENABLED, 0x100, false},
        {WM_FRAME_ISRUNACTIVEXENABLED, 0x200, false},
        {WM_FRAME_ISDOWNLOADACTIVEXENABLED, 0x400, false},
        {WM_FRAME_ISPICTUREENABLED, 0x10, true},
        {WM_FRAME_ISSOUNDENABLED, 0x40, true},
        {WM_FRAME_ISVIDEOENABLED, 0x20, true},
    };
    for (const auto& q : kQueries) {
        if (q.msg == nMsg) {
            *pBit = q.bit;
            *pSetMeansOn = q.setMeansOn;
            return true;
        }
    }
    return false;
}

CBrowserView* LiveView(CTabItem* tab)
{
    CBrowserView* view = tab != nullptr ? tab->m_pView : nullptr;
    return view != nullptr && view->IsWindow() ? view : nullptr;
}

// The tab with the id, or null when none has it or its view window is gone.
CTabItem* LiveTabById(HWND id, int* pIndex = nullptr)
{
    CTabItem* tab = theApp.FindTabById(id, pIndex);
    return LiveView(tab) != nullptr ? tab : nullptr;
}

// The page's window object: document, its HTML interface, its parent window.
LRESULT WindowObjectOf(CBrowserView* view)
{
    IDispatch* dispatch = view->GetHtmlDocument();
    if (dispatch == nullptr)
        return 0;
    IHTMLWindow2* window = nullptr;
    IHTMLDocument2* document = nullptr;
    if (SUCCEEDED(dispatch->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(&document)))) {
        if (FAILED(document->get_parentWindow(&window)))
            window = nullptr;
        document->Release();
    }
    dispatch->Release();
    return reinterpret_cast<LRESULT>(window);
}

} // namespace

CMainFrame::CPostedMessageFilter::CPostedMessageFilter()
{
    if (g_postedFilterUsers++ == 0)
        g_hPostedFilter = AfxSetGuardedHook<PostedMessageFilterProc, DropMessageAfterFailure>(WH_GETMESSAGE);
}

CMainFrame::CPostedMessageFilter::~CPostedMessageFilter()
{
    if (--g_postedFilterUsers == 0 && g_hPostedFilter != nullptr) {
        ::UnhookWindowsHookEx(g_hPostedFilter);
        g_hPostedFilter = nullptr;
    }
}

BOOL CMainFrame::OnWndMsg(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (!IsPrivateMessage(nMsg))
        return CNewMDIFrameWnd::OnWndMsg(nMsg, wParam, lParam, pResult);
    // Sent by another thread or process: only the open messages answer.
    // Posted copies never get here (PostedMessageFilterProc). The program's
    // own marked sends pass even while this thread serves another's send.
    if (!OpenToOtherSenders(nMsg) && ::InSendMessage() && !TakeOwnFrameMessage(nMsg, wParam, lParam)) {
        *pResult = 0;
        return TRUE;
    }
    if (nMsg == WM_FRAME_SHOWMENU)
        *pResult = OnShowMenu(wParam, lParam);
    else if (nMsg >= WM_FRAME_OPENURL && nMsg <= WM_FRAME_GETACTIVEID)
        *pResult = nMsg <= WM_FRAME_GETTABID ? GroupQuery(nMsg, wParam, lParam) : TabQuery(nMsg, wParam, lParam);
    else
        *pResult = OnFrameMessage(nMsg, wParam, lParam);
    return TRUE;
}

LRESULT CMainFrame::ReplyText(const CString& text)
{
    m_replyBuffer.Empty();
    if (text.IsEmpty())
        return 0;
    m_replyBuffer = text;
    return reinterpret_cast<LRESULT>(static_cast<LPCTSTR>(m_replyBuffer));
}

// A CTabItem pointer from a message, used only when some group lists it.
CTabItem* CMainFrame::TabFromMessagePointer(LPARAM lParam) const
{
    CTabItem* tab = reinterpret_cast<CTabItem*>(lParam);
    return theApp.IsTabListed(tab) ? tab : nullptr;
}

CTabItem* CMainFrame::TabAtInCurrentGroup(LPARAM index) const
{
    CTabGroup* group = theApp.GetActiveGroup();
    return group != nullptr ? group->GetTab(IndexArg(index)) : nullptr;
}

LRESULT CMainFrame::OnFrameMessage(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    switch (nMsg) {
    case WM_FRAME_ACTIVATEPREVTAB:
        ActivatePrevTab(TabFromMessagePointer(lParam));
        return 0;
    case WM_FRAME_COMBOSELECT:
    case WM_FRAME_ADDRESSENTER:
        return OnComboMessage(nMsg, reinterpret_cast<CWnd*>(lParam));
    case WM_FRAME_TRAYNOTIFY:
        OnTrayNotify(static_cast<UINT>(wParam), static_cast<UINT>(lParam));
        return 0;
    case WM_FRAME_UNLOADPLUGINS:
        UnloadPlugins();
        return 0;
    case WM_FRAME_UNLOADSCRIPTS:
        UnloadScripts();
        return 0;
    case WM_FRAME_RELOADSCRIPTS:
        ReloadScripts();
        return 0;
    case WM_FRAME_ACTIVATENEXTTAB:
        ActivateNextTab(TabFromMessagePointer(lParam));
        return 0;
    case WM_FRAME_CLOSETAB:
        CloseCTabItem(TabFromMessagePointer(lParam));
        return 0;
    case WM_FRAME_CREATEGROUP:
        return reinterpret_cast<LRESULT>(CreateGroup(reinterpret_cast<LPCTSTR>(lParam),
                                                     theApp.m_settings.dwDLControlFlags,
                                                     static_cast<BYTE>(wParam)));
    case WM_FRAME_GETCURRENTGROUP:
        return reinterpret_cast<LRESULT>(theApp.GetActiveGroup());
    case WM_FRAME_DROPTEXT:
        if (IsEmptyText(reinterpret_cast<LPCTSTR>(lParam)))
            return 0;
        return OpenDroppedText(CString(reinterpret_cast<LPCTSTR>(lParam)), static_cast<int>(wParam)) ? 1 : 0;
    case WM_FRAME_SAVEKEYWORD:
        theApp.m_lastSearchKeyword = lParam != 0 ? CString(reinterpret_cast<LPCTSTR>(lParam)) : CString();
        return 0;
    case WM_FRAME_APPLYTABSECURITY: {
        CBrowserView* view = LiveView(TabFromMessagePointer(static_cast<LPARAM>(wParam)));
        if (view != nullptr) {
            view->SetPageOptions(view->GetTabItem()->m_pageOptions);
            view->Refresh();
        }
        return 0;
    }
    default:
        return 0;
    }
}

// The address box (WM_FRAME_ADDRESSENTER: its text; WM_FRAME_COMBOSELECT:
// its chosen entry) opens what it holds; the search box's chosen entry
// becomes its text and is searched with the current engine.
LRESULT CMainFrame::OnComboMessage(UINT nMsg, CWnd* pCombo)
{
    HWND combo = pCombo != nullptr ? pCombo->GetSafeHwnd() : nullptr;
    if (combo == nullptr || !::IsWindow(combo))
        return 0;
    if (nMsg == WM_FRAME_ADDRESSENTER) {
        CString text;
        pCombo->GetWindowText(text);
        OpenAddressBarUrl(text);
        if (!text.IsEmpty() && ::IsWindow(combo))
            ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(text)));
        return 0;
    }
    CString entry = ComboEntryText(combo, ::SendMessageA(combo, CB_GETCURSEL, 0, 0));
    if (entry.IsEmpty())
        return 0;
    if (::GetDlgCtrlID(combo) == kSearchBoxId) {
        ::SetWindowTextA(combo, entry);
        OnRunSearch();
    } else {
        OpenAddressBarUrl(entry);
    }
    return 0;
}

bool CMainFrame::OpenDroppedText(const CString& text, int mode)
{
    CString url = text;
    if (strncmp(url, "ttp://", 6) == 0 || strncmp(url, "ttps://", 7) == 0)
        url = "h" + url;
    if (!IsUrlForm(url)) {
        return mode != 0 && OnDropText(text, mode);
    }
    url.Remove('\n');
    url.Remove('\r');
    POINT cursor = {};
    ::GetCursorPos(&cursor);
    // The tab control lets the cursor through between its tabs, so the bar
    // is found by its rectangle.
    HWND groupBar = m_pGroupTabBar != nullptr ? m_pGroupTabBar->GetSafeHwnd() : nullptr;
    RECT barRect = {};
    if (groupBar == nullptr || !::IsWindowVisible(groupBar) || !::GetWindowRect(groupBar, &barRect) ||
        !::PtInRect(&barRect, cursor)) {
        const BYTE hint = mode != 0 ? theApp.m_settings.iTabAppendPos : 0;
        return theApp.OpenUrl(nullptr, url, kReasonLink, 0, hint) != nullptr;
    }
    // Onto a group tab: that group; onto the bar beside the tabs: a new one.
    TCHITTESTINFO hit = {};
    hit.pt = cursor;
    ::ScreenToClient(groupBar, &hit.pt);
    int index = static_cast<int>(::SendMessageA(groupBar, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    CTabGroup* group = index >= 0 ? m_pGroupTabBar->GetGroupAt(index) : CreateEmptyGroup();
    if (group == nullptr)
        return false;
    SettingsRecord& settings = theApp.m_settings;
    const bool linkActivate = settings.bLinkActivateSetting();
    settings.bLinkActivateSetting(false);
    const bool opened = theApp.OpenUrl(group, url, kReasonLink) != nullptr;
    settings.bLinkActivateSetting(linkActivate);
    return opened;
}

LRESULT CMainFrame::OpenUrlByMessage(CTabGroup* group, LPCTSTR url, WORD loadFlags, BOOL bNewGroup)
{
    if (bNewGroup)
        return theApp.OpenUrlInNewGroupWithLoadFlags(url, kReasonPlugin, loadFlags) != nullptr;
    return theApp.OpenUrlWithLoadFlags(group, url, kReasonPlugin, loadFlags) != nullptr;
}

LRESULT CMainFrame::NavigateActiveByMessage(WPARAM wParam, LPARAM lParam)
{
    LPCTSTR url = reinterpret_cast<LPCTSTR>(lParam);
    WORD flags = static_cast<WORD>(wParam);
    CTabItem* active = GetActiveTab();
    CBrowserView* view = LiveView(active);
    if (view == nullptr) {
        if (!IsEmptyText(url))
            theApp.OpenUrlWithLoadFlags(nullptr, url, kReasonPlugin, flags);
        return 0;
    }
    if (flags != 0)
        view->SetPageOptions(ConvertTabLoadFlags(flags));
    if (!IsEmptyText(url))
        view->Navigate(url);
    if (flags != 0 && view->GetBrowser() != nullptr) {
        VARIANT level;
        VariantInit(&level);
        level.vt = VT_I4;
        level.lVal = REFRESH_COMPLETELY;
        view->GetBrowser()->Refresh2(&level);
    }
    return 0;
}

// Messages 38000 to 38016: opening, groups and the current group's tabs.
LRESULT CMainFrame::GroupQuery(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    CTabGroup* current = theApp.GetActiveGroup();
    switch (nMsg) {
    case WM_FRAME_OPENURL: {
        LPCTSTR url = reinterpret_cast<LPCTSTR>(lParam);
        if (!IsEmptyText(url))
            OpenUrlByMessage(nullptr, url, static_cast<WORD>(wParam),
                             (theApp.m_settings.iParentTabNewRule & 0x20) != 0);
        return 0;
    }
    case WM_FRAME_GETACTIVEURL:
    case WM_FRAME_GETACTIVETITLE: {
        CTabItem* tab = GetActiveTab();
        if (tab == nullptr)
            return ReplyText(CString());
        return ReplyText(nMsg == WM_FRAME_GETACTIVEURL ? tab->m_url : tab->m_title);
    }
    case WM_FRAME_GETCOUNT:
        if (wParam == 0 && lParam == 0)
            return theApp.GetGroupTabCount(current);
        if (wParam == 1) {
            CTabGroup* group = theApp.GetGroupAt(IndexArg(lParam));
            return group != nullptr ? group->GetTabCount() : -1;
        }
        return -1;
    case WM_FRAME_GETURLAT:
    case WM_FRAME_GETTITLEAT: {
        CTabItem* tab = TabAtInCurrentGroup(lParam);
        if (tab == nullptr)
            return ReplyText(CString());
        return ReplyText(nMsg == WM_FRAME_GETURLAT ? tab->m_url : tab->m_title);
    }
    case WM_FRAME_GETACTIVEDOCUMENT: {
        CBrowserView* view = LiveView(GetActiveTab());
        return view != nullptr ? reinterpret_cast<LRESULT>(view->GetHtmlDocument()) : 0;
    }
    case WM_FRAME_GETMENUSTYLE:
        return theApp.m_settings.iMENU_STYLE;
    case WM_FRAME_NAVIGATEACTIVE:
        return NavigateActiveByMessage(wParam, lParam);
    case WM_FRAME_CREATEGROUPINDEX: {
        CTabGroup* group = CreateGroup(reinterpret_cast<LPCTSTR>(lParam),
                                       theApp.m_settings.dwDLControlFlags, static_cast<BYTE>(wParam));
        return theApp.GetGroupIndex(group);
    }
    case WM_FRAME_OPENURLINGROUP: {
        LPCTSTR url = reinterpret_cast<LPCTSTR>(lParam);
        int index = HIWORD(wParam);
        CTabGroup* group = theApp.GetGroupAt(index);
        if (IsEmptyText(url) || group == nullptr)
            return -1;
        OpenUrlByMessage(group, url, LOWORD(wParam), FALSE);
        return index;
    }
    case WM_FRAME_GETGROUPCOUNT:
        return theApp.GetGroupCount();
    case WM_FRAME_GETACTIVEGROUPTITLE:
    case WM_FRAME_GETGROUPTITLEAT: {
        CTabGroup* group = nMsg == WM_FRAME_GETACTIVEGROUPTITLE ? current
                                                                : theApp.GetGroupAt(IndexArg(lParam));
        if (group == nullptr)
            return ReplyText(CString());
        return ReplyText(wParam == 0 ? group->m_captionTemplate : group->m_caption);
    }
    case WM_FRAME_GETTABTITLEINGROUP:
    case WM_FRAME_GETTABURLINGROUP: {
        CTabGroup* group = theApp.GetGroupAt(IndexArg(static_cast<LONG_PTR>(wParam)));
        CTabItem* tab = group != nullptr ? group->GetTab(IndexArg(lParam)) : nullptr;
        if (tab == nullptr)
            return ReplyText(CString());
        return ReplyText(nMsg == WM_FRAME_GETTABTITLEINGROUP ? tab->m_title : tab->m_url);
    }
    case WM_FRAME_GETTABID: {
        CTabItem* tab = TabAtInCurrentGroup(lParam);
        return tab != nullptr ? reinterpret_cast<LRESULT>(tab->m_hFrame) : 0;
    }
    default:
        return 0;
    }
}

// Messages 38017 to 38041: one tab, named by its id.
LRESULT CMainFrame::TabQuery(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    const HWND id = reinterpret_cast<HWND>(lParam);
    DWORD bit = 0;
    bool setMeansOn = false;
    if (QueryOptionBit(nMsg, &bit, &setMeansOn)) {
        CTabItem* tab = LiveTabById(id);
        if (tab == nullptr)
            return 0;
        return ((tab->m_pageOptions & bit) != 0) == setMeansOn ? 1 : 0;
    }
    switch (nMsg) {
    case WM_FRAME_GETWINDOWOBJECT:
    case WM_FRAME_GETDOCUMENTOBJECT:
    case WM_FRAME_GETWEBBROWSEROBJECT: {
        CBrowserView* view = LiveView(theApp.FindTabById(id));
        if (view == nullptr)
            return 0;
        if (nMsg == WM_FRAME_GETWINDOWOBJECT)
            return WindowObjectOf(view);
        if (nMsg == WM_FRAME_GETDOCUMENTOBJECT)
            return reinterpret_cast<LRESULT>(view->GetHtmlDocument());
        return reinterpret_cast<LRESULT>(view->GetApplication());
    }
    case WM_FRAME_NEWWINDOW: {
        LPCTSTR url = TextArg(wParam);
        if (IsEmptyText(url))
            return 0;
        CTabItem* tab = theApp.OpenUrlReturnBrowser(
            nullptr, url, lParam == 1 ? kReasonForceForeground : kReasonPageBackground, 0);
        return tab != nullptr ? reinterpret_cast<LRESULT>(tab->m_hFrame) : 0;
    }
    case WM_FRAME_NAVIGATETAB: {
        CBrowserView* view = LiveView(theApp.FindTabById(reinterpret_cast<HWND>(wParam)));
        LPCTSTR url = reinterpret_cast<LPCTSTR>(lParam);
        if (view != nullptr && !IsEmptyText(url))
            view->Navigate(url);
        return 0;
    }
    case WM_FRAME_GETTABINDEX: {
        int index = -1;
        return LiveTabById(id, &index) != nullptr ? index : -1;
    }
    case WM_FRAME_ISBUSY: {
        CBrowserView* view = LiveView(theApp.FindTabById(id));
        return view != nullptr && view->IsBusy() ? 1 : 0;
    }
    case WM_FRAME_SETSECURITY: {
        CBrowserView* view = LiveView(theApp.FindTabById(reinterpret_cast<HWND>(wParam)));
        if (view == nullptr)
            return 0;
        DWORD word = static_cast<DWORD>(lParam) | (view->GetPageOptions() & (0x1 | 0x4000 | 0x40000000));
        if (word != view->GetTabItem()->m_pageOptions) {
            view->SetPageOptions(word);
            view->Refresh();
        }
        return 0;
    }
    case WM_FRAME_ISLINKLOCK:
    case WM_FRAME_ISWHEELLOCK: {
        CTabItem* tab = LiveTabById(id);
        DWORD lockBit = nMsg == WM_FRAME_ISLINKLOCK ? kTabLinkLock : kTabWheelLock;
        return tab != nullptr && (tab->m_flags & lockBit) ? 1 : 0;
    }
    case WM_FRAME_SETLINKLOCK:
    case WM_FRAME_SETWHEELLOCK: {
        CBrowserView* view = LiveView(theApp.FindTabById(id));
        if (view == nullptr)
            return 0;
        if (nMsg == WM_FRAME_SETLINKLOCK)
            wParam != 0 ? view->ClearLinkLock() : view->SetLinkLock();
        else
            wParam != 0 ? view->ClearWheelLock() : view->SetWheelLock();
        return 0;
    }
    case WM_FRAME_GETACTIVEINDEX: {
        CTabItem* tab = GetActiveTab();
        CTabGroup* current = theApp.GetActiveGroup();
        return tab != nullptr && current != nullptr ? current->IndexOf(tab) : -1;
    }
    case WM_FRAME_GETACTIVEID: {
        CTabItem* tab = GetActiveTab();
        return tab != nullptr ? reinterpret_cast<LRESULT>(tab->m_hFrame) : -1;
    }
    default:  // the navigate and domain locks: always 0
        return 0;
    }
}

// A popup menu of the array's strings at the cursor; the chosen item's
// number, or -1.
LRESULT CMainFrame::OnShowMenu(WPARAM, LPARAM lParam)
{
    const CStringArray* items = reinterpret_cast<const CStringArray*>(lParam);
    HMENU resource = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(kShowMenuResource));
    HMENU popup = resource != nullptr ? ::GetSubMenu(resource, 0) : nullptr;
    HMENU own = nullptr;
    if (popup == nullptr)
        popup = own = ::CreatePopupMenu();
    if (popup == nullptr) {
        if (resource != nullptr)
            ::DestroyMenu(resource);
        return -1;
    }
    while (::GetMenuItemCount(popup) > 0)
        ::DeleteMenu(popup, 0, MF_BYPOSITION);
    // Separators count against the cap too: a page's list of commas alone
    // must not build a menu of millions of entries.
    int added = 0;
    for (INT_PTR i = 0; items != nullptr && i < items->GetSize() && i < VA_SHOWMENU_MAX_ENTRIES; ++i) {
        const CString& text = items->GetAt(i);
        if (text.IsEmpty()) {
            ::AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
        } else {
            ::AppendMenuA(popup, MF_STRING, kShowMenuFirstId + static_cast<UINT>(added), text);
            ++added;
        }
    }
    POINT cursor = {};
    ::GetCursorPos(&cursor);
    UINT chosen = static_cast<UINT>(::TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON, cursor.x,
                                                     cursor.y, 0, m_hWnd, nullptr));
    if (resource != nullptr)
        ::DestroyMenu(resource);
    if (own != nullptr)
        ::DestroyMenu(own);
    if (chosen >= kShowMenuFirstId && chosen < kShowMenuFirstId + static_cast<UINT>(added))
        return static_cast<LRESULT>(chosen - kShowMenuFirstId);
    return -1;
}
