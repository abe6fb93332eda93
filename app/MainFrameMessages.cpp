// CMainFrame: the private window messages through which scripts, plug-ins,
// the dialogs library and the tabs drive the main window.
#include "app/MainFrame.h"

#include <windows.h>
#include <mshtml.h>

#include "app/TabGroup.h"
#include "app/VantorelApp.h"
#include "shared/FrameMessages.h"
#include "tab/BrowserView.h"
#include "tab/ChildFrame.h"
#include "tab/TabItem.h"

namespace {

const UINT kShowMenuResource = 266;
const UINT kShowMenuFirstId = 39002;
const int kShowMenuMaxItems = 50;

// Messages whose arguments or results are pointers: they mean something only
// inside this process.
bool CarriesPointers(UINT nMsg)
{
    switch (nMsg) {
    case WM_FRAME_ACTIVATEPREVTAB:
    case WM_FRAME_ACTIVATENEXTTAB:
    case WM_FRAME_CLOSETAB:
    case WM_FRAME_CREATEGROUP:
    case WM_FRAME_DROPTEXT:
    case WM_FRAME_SAVEKEYWORD:
    case WM_FRAME_OPENURL:
    case WM_FRAME_GETACTIVEURL:
    case WM_FRAME_GETACTIVETITLE:
    case WM_FRAME_GETURLAT:
    case WM_FRAME_GETTITLEAT:
    case WM_FRAME_GETACTIVEDOCUMENT:
    case WM_FRAME_NAVIGATEACTIVE:
    case WM_FRAME_CREATEGROUPINDEX:
    case WM_FRAME_OPENURLINGROUP:
    case WM_FRAME_GETACTIVEGROUPTITLE:
    case WM_FRAME_GETGROUPTITLEAT:
    case WM_FRAME_GETTABTITLEINGROUP:
    case WM_FRAME_GETTABURLINGROUP:
    case WM_FRAME_GETWINDOWOBJECT:
    case WM_FRAME_GETDOCUMENTOBJECT:
    case WM_FRAME_GETWEBBROWSEROBJECT:
    case WM_FRAME_NEWWINDOW:
    case WM_FRAME_NAVIGATETAB:
    case WM_FRAME_GETCURRENTGROUP:
    case WM_FRAME_APPLYTABSECURITY:
    case WM_FRAME_SHOWMENU:
        return true;
    default:
        return false;
    }
}

LPCTSTR TextArg(WPARAM value)
{
    return reinterpret_cast<LPCTSTR>(value);
}

bool IsEmptyText(LPCTSTR text)
{
    return text == nullptr || *text == '\0';
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

BOOL CMainFrame::OnWndMsg(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const bool isPrivate = nMsg == WM_FRAME_ACTIVATEPREVTAB || nMsg == WM_FRAME_ACTIVATENEXTTAB ||
                           nMsg == WM_FRAME_CLOSETAB || nMsg == WM_FRAME_CREATEGROUP ||
                           nMsg == WM_FRAME_DROPTEXT || nMsg == WM_FRAME_SAVEKEYWORD ||
                           (nMsg >= WM_FRAME_OPENURL && nMsg <= WM_FRAME_GETACTIVEID) ||
                           nMsg == WM_FRAME_GETCURRENTGROUP || nMsg == WM_FRAME_APPLYTABSECURITY ||
                           nMsg == WM_FRAME_APPLYDONE || nMsg == WM_FRAME_SHOWMENU;
    if (!isPrivate)
        return CNewMDIFrameWnd::OnWndMsg(nMsg, wParam, lParam, pResult);
    // Another thread's (or process's) pointers are not ours to follow.
    if (CarriesPointers(nMsg) && ::InSendMessage()) {
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
    return group != nullptr ? group->GetTab(static_cast<int>(index)) : nullptr;
}

LRESULT CMainFrame::OnFrameMessage(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    switch (nMsg) {
    case WM_FRAME_ACTIVATEPREVTAB:
        ActivatePrevTab(TabFromMessagePointer(lParam));
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
        if (!IsEmptyText(reinterpret_cast<LPCTSTR>(lParam)))
            OnDropText(CString(reinterpret_cast<LPCTSTR>(lParam)), static_cast<int>(wParam));
        return 0;
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
            CTabGroup* group = theApp.GetGroupAt(static_cast<int>(lParam));
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
                                                                : theApp.GetGroupAt(static_cast<int>(lParam));
        if (group == nullptr)
            return ReplyText(CString());
        return ReplyText(wParam == 0 ? group->m_captionTemplate : group->m_caption);
    }
    case WM_FRAME_GETTABTITLEINGROUP:
    case WM_FRAME_GETTABURLINGROUP: {
        CTabGroup* group = theApp.GetGroupAt(static_cast<int>(wParam));
        CTabItem* tab = group != nullptr ? group->GetTab(static_cast<int>(lParam)) : nullptr;
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
        CTabItem* tab = theApp.FindTabById(id);
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
        return theApp.FindTabById(id, &index) != nullptr ? index : -1;
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
        CTabItem* tab = theApp.FindTabById(id);
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
    int added = 0;
    for (INT_PTR i = 0; items != nullptr && i < items->GetSize() && added < kShowMenuMaxItems; ++i) {
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
