// CMainFrame: the commands that act on the frame, the active page or the
// program, and the page-selection commands of the page menu.
#include "app/MainFrame.h"

#include <windows.h>
#include <docobj.h>
#include <shellapi.h>
#include <shlobj.h>
#include <urlhist.h>
#include <wininet.h>

#include <vector>

#include "shared/DialogsLibrary.h"
#include "shared/ExternalEditor.h"
#include "app/VantorelApp.h"
#include "app/resource.h"
#include "bars/PageTabBar.h"
#include "framework/app/FaultGuard.h"
#include "framework/core/File.h"
#include "framework/win/RedrawGuard.h"
#include "lists/FavoritesScan.h"
#include "lists/SearchUrl.h"
#include "shared/StartupList.h"
#include "shared/UrlText.h"
#include "tab/BrowserView.h"
#include "tab/ChildFrame.h"
#include "tab/DocHostHandler.h"
#include "tab/PageSelection.h"
#include "tab/TabGroup.h"
#include "tab/TabItem.h"

namespace {

// The document host's command group: 1 find, 2 view source, 3 options.
const GUID kCgidDocHostCommandHandler = {0xED016940, 0xBD5B, 0x11CF, {0xBA, 0x4E, 0x00, 0xC0, 0x4F, 0xD7, 0x08, 0x16}};
const DWORD kDocHostFind = 1;
const DWORD kDocHostViewSource = 2;
const DWORD kDocHostOptions = 3;

bool IsFocusIn(HWND box, HWND edit)
{
    HWND focus = ::GetFocus();
    return focus != nullptr && (focus == box || (edit != nullptr && focus == edit));
}

} // namespace

BOOL CMainFrame::ExecBrowserCommand(DWORD command, BOOL docHostGroup)
{
    CTabItem* tab = GetActiveTab();
    CBrowserView* view = tab != nullptr ? tab->m_pView : nullptr;
    if (view == nullptr || view->GetSafeHwnd() == nullptr || view->GetBrowser() == nullptr)
        return FALSE;
    IDispatch* document = view->GetHtmlDocument();
    if (document == nullptr)
        return FALSE;
    BOOL done = FALSE;
    IOleCommandTarget* target = nullptr;
    if (SUCCEEDED(document->QueryInterface(IID_IOleCommandTarget, reinterpret_cast<void**>(&target))) &&
        target != nullptr) {
        // Only a command that ran counts: a refused one falls back where the
        // caller has a fallback.
        done = SUCCEEDED(target->Exec(docHostGroup ? &kCgidDocHostCommandHandler : nullptr, command, 0,
                                      nullptr, nullptr));
        target->Release();
    }
    document->Release();
    return done;
}

void CMainFrame::OpenInCurrentGroup(const CString& text)
{
    theApp.OpenUrl(theApp.GetActiveGroup(), text, kReasonLink);
}

void CMainFrame::OnFrameOpenCommand(UINT nID)
{
    switch (nID) {
    case ID_NAV_HOME:
    case ID_TAB_NEWHOME: OpenInCurrentGroup(kHomeToken); break;
    case ID_TAB_NEWBLANK: OpenInCurrentGroup("about:blank"); break;
    case ID_TAB_NEWCLIPBOARD: {
        const CString text = ReadClipboardUrl(m_hWnd);
        if (!text.IsEmpty())
            OpenInCurrentGroup(text);
        break;
    }
    case ID_HELP_HOMEPAGE: OpenInCurrentGroup(theApp.GetUrlText(8)); break;
    case ID_HELP_CONTENTS:
        // The help file lies in the program folder; without one there is none.
        if (!theApp.GetProgramFolder().IsEmpty())
            OpenInCurrentGroup("mk:@MSITStore:" + theApp.GetProgramFolder() + theApp.GetUrlText(9) + "::/" +
                               theApp.GetUrlText(10));
        break;
    case ID_FILE_NEWTAB: {
        static const UINT kByKind[] = {ID_TAB_NEWHOME, ID_TAB_NEWHOME, ID_TAB_NEWCLIPBOARD, ID_TAB_NEWBLANK};
        const UINT kind = theApp.m_settings.CtrlN;
        OnFrameOpenCommand(kind < 4 ? kByKind[kind] : ID_TAB_NEWHOME);
        break;
    }
    default: break;
    }
}

void CMainFrame::OnBrowserCommand(UINT nID)
{
    switch (nID) {
    case ID_FILE_PRINTPREVIEW_PAGE: ExecBrowserCommand(OLECMDID_PRINTPREVIEW, FALSE); break;
    case ID_FILE_PRINT_PAGE: ExecBrowserCommand(OLECMDID_PRINT, FALSE); break;
    case ID_FILE_SAVEAS_PAGE: ExecBrowserCommand(OLECMDID_SAVEAS, FALSE); break;
    case ID_EDIT_VIEWSOURCE: ExecBrowserCommand(kDocHostViewSource, TRUE); break;
    case ID_EDIT_FIND: ExecBrowserCommand(kDocHostFind, TRUE); break;
    case ID_TOOLS_INETOPTIONS:
        if (!ExecBrowserCommand(kDocHostOptions, TRUE))
            ::ShellExecuteA(m_hWnd, "open", "control.exe", "inetcpl.cpl", ".", SW_SHOWNORMAL);
        break;
    default: break;
    }
}

void CMainFrame::OnEditCommand(UINT nID)
{
    HWND addressEdit = nullptr;
    HWND searchEdit = nullptr;
    HWND address = GetAddressBoxWindow(&addressEdit);
    HWND search = GetSearchBoxWindow(&searchEdit);
    HWND edit = nullptr;
    if (address != nullptr && IsFocusIn(address, addressEdit))
        edit = addressEdit != nullptr ? addressEdit : address;
    else if (search != nullptr && IsFocusIn(search, searchEdit))
        edit = searchEdit != nullptr ? searchEdit : search;
    if (edit != nullptr) {
        switch (nID) {
        case ID_EDIT_COPY: ::SendMessageA(edit, WM_COPY, 0, 0); break;
        case ID_EDIT_CUT: ::SendMessageA(edit, WM_CUT, 0, 0); break;
        case ID_EDIT_PASTE: ::SendMessageA(edit, WM_PASTE, 0, 0); break;
        case ID_EDIT_SELECT_ALL:
            ::SendMessageA(edit, EM_SETSEL, 0, ::GetWindowTextLengthA(edit));
            ::SendMessageA(edit, EM_SCROLLCARET, 0, 0);
            break;
        default: break;
        }
        return;
    }
    switch (nID) {
    case ID_EDIT_COPY: ExecBrowserCommand(OLECMDID_COPY, FALSE); break;
    case ID_EDIT_CUT: ExecBrowserCommand(OLECMDID_CUT, FALSE); break;
    case ID_EDIT_PASTE: ExecBrowserCommand(OLECMDID_PASTE, FALSE); break;
    case ID_EDIT_SELECT_ALL: ExecBrowserCommand(OLECMDID_SELECTALL, FALSE); break;
    default: break;
    }
}

void CMainFrame::OnCloseTabsCommand(UINT nID)
{
    CTabItem* active = GetActiveTab();
    if (nID == ID_FILE_CLOSE) {
        CloseCTabItem(active);
        return;
    }
    CTabGroup* group = nID == ID_GROUP_CLOSETABS ? theApp.GetActiveGroup()
                                              : (active != nullptr ? active->m_pGroup : nullptr);
    if (group == nullptr || group->GetTabCount() == 0)
        return;
    if (nID == ID_GROUP_CLOSETABS &&
        ::MessageBoxA(m_hWnd, theApp.GetMessageText(14), theApp.GetMainClassName(),
                      MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) != IDYES)
        return;
    if (nID != ID_GROUP_CLOSETABS && (active == nullptr || !::IsWindow(active->m_hFrame)))
        return;
    // The list is copied: each close may change the group.
    std::vector<CTabItem*> tabs = group->m_tabs;
    if (nID == ID_TAB_CLOSERIGHT)
        tabs.assign(group->m_tabs.rbegin(), group->m_tabs.rend());
    RedrawGuard redraw(m_pPageTabBar != nullptr ? m_pPageTabBar->GetSafeHwnd() : nullptr);
    for (CTabItem* tab : tabs) {
        if (nID != ID_GROUP_CLOSETABS && tab == active)
            break;
        if (theApp.IsTabListed(tab))
            CloseCTabItem(tab);
    }
}

void CMainFrame::OnExploreFavorites()
{
    // By the name the system gives it, which the code page may not hold.
    std::wstring folder;
    GetFavoritesFolderPath(&folder);
    if (!folder.empty())
        ::ShellExecuteW(m_hWnd, L"explore", folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void CMainFrame::OnOpenLocation()
{
    CString text;
    int result = 0;
    {
        CDialogsLibrary library(theApp.GetProgramFolder());
        auto show = library.Get<FormbayExports::ShowOpenDlgFn>("ShowOpenDlg");
        if (show == nullptr)
            return;
        const char* entered = show(0, nullptr, &result);
        if (entered != nullptr)
            text = entered;
    }
    if (result == 1 && !text.IsEmpty())
        OpenInCurrentGroup(text);
}

void CMainFrame::OnCatalogSettings(UINT nID)
{
    const bool plugIns = nID == ID_PLUGIN_SETTINGS;
    // The menu is built again when it next opens.
    if (RunSettingsExport(plugIns ? "ShowPlgSettingDlg" : "ShowScriptSettingDlg") == 1)
        m_stateWord &= ~static_cast<DWORD>(plugIns ? kStatePlugInMenuBuilt : kStateScriptMenuBuilt);
}

void CMainFrame::OnViewSelectionSource()
{
    CTabItem* tab = GetActiveTab();
    CBrowserView* view = tab != nullptr ? tab->m_pView : nullptr;
    if (view == nullptr || view->GetBrowser() == nullptr)
        return;
    IDispatch* document = view->GetHtmlDocument();
    CPageSelection selection;
    selection.Read(document, CPageSelection::kHtml);
    if (document != nullptr)
        document->Release();
    if (selection.m_strHtml.IsEmpty())
        return;
    const CString path = theApp.ProgramFile("SelSource.htm");
    CFile file;
    if (!file.Open(path, CFile::modeCreate | CFile::modeWrite))
        return;
    const BOOL written = file.Write(selection.m_strHtml.GetString(), static_cast<UINT>(selection.m_strHtml.GetLength()));
    file.Close();
    if (!written)
        return;
    // Started as the page-source editor is, from the same split of the value.
    StartEditor(AppEditorCommand(), path);
}

//--- Page selection commands (the page menu's)

void CMainFrame::BuildKeywordSearchUrl(CString& url)
{
    CSearchEngineNode* engine = m_searchEngines.GetCurrentEngine();
    if (theApp.m_pendingKeyword.IsEmpty() || engine == nullptr)
        return;
    url = BuildSearchUrl(theApp.m_pendingKeyword, engine->m_url);
}

void CMainFrame::CopyPageSelection()
{
    ExecBrowserCommand(OLECMDID_COPY, FALSE);
}

void CMainFrame::SearchSelection()
{
    CString url;
    BuildKeywordSearchUrl(url);
    if (url.IsEmpty())
        return;
    OpenInCurrentGroup(url);
    theApp.m_lastSearchKeyword = theApp.m_pendingKeyword;
}

void CMainFrame::SearchSelectionInNewGroup()
{
    const CString keyword = theApp.m_pendingKeyword;
    if (keyword.IsEmpty())
        return;
    CString url;
    BuildKeywordSearchUrl(url);
    if (!url.IsEmpty()) {
        CTabGroup* group = theApp.CreateSearchGroup(keyword, FALSE);
        if (group != nullptr)
            theApp.OpenUrl(group, url, kReasonLink);
    }
    theApp.m_lastSearchKeyword = keyword;
}

void CMainFrame::CopySelectionTextOnly()
{
    HWND addressEdit = nullptr;
    HWND searchEdit = nullptr;
    HWND address = GetAddressBoxWindow(&addressEdit);
    HWND search = GetSearchBoxWindow(&searchEdit);
    if (address != nullptr && IsFocusIn(address, addressEdit)) {
        ::SendMessageA(addressEdit != nullptr ? addressEdit : address, WM_COPY, 0, 0);
        return;
    }
    if (search != nullptr && IsFocusIn(search, searchEdit)) {
        ::SendMessageA(searchEdit != nullptr ? searchEdit : search, WM_COPY, 0, 0);
        return;
    }
    // With the frame as owner: a clipboard opened without one refuses
    // SetClipboardData.
    if (!::OpenClipboard(m_hWnd))
        return;
    ::EmptyClipboard();
    const CString& text = theApp.m_pendingKeyword;
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(text.GetLength()) + 1);
    if (block != nullptr) {
        if (void* data = ::GlobalLock(block)) {
            memcpy(data, text.GetString(), static_cast<size_t>(text.GetLength()) + 1);
            ::GlobalUnlock(block);
        }
        if (::SetClipboardData(CF_TEXT, block) == nullptr)
            ::GlobalFree(block);
    }
    ::CloseClipboard();
}

void CMainFrame::OnPageCommand(UINT nID)
{
    CString& keyword = theApp.m_pendingKeyword;
    switch (nID) {
    case ID_EDIT_COPYTEXTONLY: {
        CTabItem* tab = GetActiveTab();
        if (tab != nullptr && tab->m_pView != nullptr) {
            IDispatch* document = tab->m_pView->GetHtmlDocument();
            CPageSelection selection;
            if (selection.Read(document, CPageSelection::kText) && !selection.m_strText.IsEmpty())
                keyword = selection.m_strText;
            if (document != nullptr)
                document->Release();
        }
        CopySelectionTextOnly();
        break;
    }
    case ID_PAGE_COPY: CopyPageSelection(); break;
    case ID_PAGE_COPYTEXT: CopySelectionTextOnly(); break;
    case ID_PAGE_SEARCH: SearchSelection(); break;
    case ID_PAGE_SEARCHNEWGROUP: SearchSelectionInNewGroup(); break;
    case ID_PAGE_OPENASURL: CompleteUrlScheme(); break;
    case ID_PAGE_DICTIONARY: EncodeSearchKeyword(); break;
    case ID_PAGE_IEMENU: ShowIEDefaultMenu(); break;
    default: break;
    }
}

void CMainFrame::ShowSelectionMenu()
{
    CTabItem* tab = GetActiveTab();
    CBrowserView* view = tab != nullptr ? tab->m_pView : nullptr;
    if (view == nullptr || view->GetSafeHwnd() == nullptr)
        return;
    IDispatch* document = view->GetHtmlDocument();
    if (document == nullptr)
        return;
    CPageSelection selection;
    selection.Read(document, CPageSelection::kText);
    document->Release();
    if (selection.m_strText.IsEmpty())
        return;
    // The page menu's own routine fills and tracks it, at the last right
    // click on the page.
    view->ShowPageMenu(view->m_ptContextMenu, selection);
}

namespace {

// The module holding the engine's own context menus: loaded as data when it
// is not loaded already; *loadedHere says whether the caller frees it.
HMODULE LoadContextMenuModule(bool* loadedHere)
{
    *loadedHere = false;
    const bool frame = GetIEMajorVersion() >= 7;
    const char* name = frame ? "ieframe.dll.mui" : "SHDOCLC.DLL";
    if (HMODULE module = ::GetModuleHandleA(name))
        return module;
    HMODULE module = ::LoadLibraryExA(name, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module == nullptr && frame) {
        char system[MAX_PATH] = {};
        ::GetSystemDirectoryA(system, MAX_PATH);
        module = ::LoadLibraryExA(CString(system) + "\\ja-jp\\ieframe.dll.mui", nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE);
    }
    *loadedHere = module != nullptr;
    return module;
}

// For the scope's life a window's messages reach the frame's hook object
// first (the window's own procedure stays the default one). The hook ends
// with the scope, or with a fault that breaks the scope off (the page's
// code faulting while its menu shows). A window destroyed meanwhile has
// released the hook itself.
class WindowHookScope
{
public:
    WindowHookScope(CWnd& hook, HWND hWnd)
    {
        if (hook.SubclassWindow(hWnd))
            m_hold.Hold(&End, reinterpret_cast<ULONG_PTR>(&hook), reinterpret_cast<ULONG_PTR>(hWnd));
    }
    WindowHookScope(const WindowHookScope&) = delete;
    WindowHookScope& operator=(const WindowHookScope&) = delete;

private:
    // data: the hook object and the window it was given.
    static void End(const ULONG_PTR* data)
    {
        CWnd* hook = reinterpret_cast<CWnd*>(data[0]);
        if (hook->m_hWnd == reinterpret_cast<HWND>(data[1]))
            hook->UnsubclassWindow();
    }
    CFaultHold m_hold;
};

} // namespace

void CMainFrame::ShowIEDefaultMenu()
{
    const UINT kEngineContextMenus = 0x6041;
    CTabItem* tab = GetActiveTab();
    CBrowserView* view = tab != nullptr ? tab->m_pView : nullptr;
    if (view == nullptr || view->GetSafeHwnd() == nullptr || view->GetBrowser() == nullptr)
        return;
    bool loadedHere = false;
    HMODULE module = LoadContextMenuModule(&loadedHere);
    if (module == nullptr)
        return;
    HMENU menus = ::LoadMenuA(module, MAKEINTRESOURCEA(kEngineContextMenus));
    HMENU popup = menus != nullptr ? ::GetSubMenu(menus, static_cast<int>(view->m_contextMenuId)) : nullptr;
    if (popup != nullptr)
        TrackEngineMenu(*view, popup);
    if (menus != nullptr)
        ::DestroyMenu(menus);
    if (loadedHere)
        ::FreeLibrary(module);
}

void CMainFrame::TrackEngineMenu(CBrowserView& view, HMENU popup)
{
    static const GUID kCgidShellDocView = {0x000214D1, 0x0000, 0x0000,
                                           {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
    const DWORD kGetMimeCharsetMenu = 27;
    const DWORD kAddMenuExtensions = 53;
    IDispatch* document = view.GetHtmlDocument();
    IOleCommandTarget* target = nullptr;
    IOleWindow* window = nullptr;
    HWND documentWindow = nullptr;
    if (document != nullptr &&
        SUCCEEDED(document->QueryInterface(IID_IOleCommandTarget, reinterpret_cast<void**>(&target))) &&
        SUCCEEDED(document->QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(&window))))
        window->GetWindow(&documentWindow);
    if (documentWindow != nullptr &&
        SUCCEEDED(target->Exec(&kCgidShellDocView, kGetMimeCharsetMenu, 0, nullptr, nullptr))) {
        VARIANT in;
        VARIANT out;
        ::VariantInit(&in);
        ::VariantInit(&out);
        in.vt = VT_INT_PTR;
        in.byref = popup;
        out.vt = VT_I4;
        out.lVal = static_cast<LONG>(view.m_contextMenuId);
        if (SUCCEEDED(target->Exec(&kCgidShellDocView, kAddMenuExtensions, 0, &in, &out))) {
            ::AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
            ::AppendMenuA(popup, MF_STRING, ID_PAGE_SELECTIONMENU, theApp.GetEtcText(70));
            // The choice goes on while the hook still stands, so that a
            // command for the document reaches the hook first.
            WindowHookScope hook(m_menuWindowHook, documentWindow);
            const UINT chosen = static_cast<UINT>(
                ::TrackPopupMenuEx(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON, view.m_ptContextMenu.x,
                                   view.m_ptContextMenu.y, documentWindow, nullptr));
            if (chosen == ID_PAGE_SELECTIONMENU)
                PostMessage(WM_COMMAND, ID_PAGE_SELECTIONMENU);
            else if (chosen != 0 && ::IsWindow(documentWindow))
                ::SendMessageA(documentWindow, WM_COMMAND, chosen, 0);
        }
    }
    if (window != nullptr)
        window->Release();
    if (target != nullptr)
        target->Release();
    if (document != nullptr)
        document->Release();
}

void CMainFrame::CompleteUrlScheme()
{
    CString text = theApp.m_pendingKeyword;
    theApp.m_pendingKeyword.Empty();
    if (text.IsEmpty())
        return;
    if (strncmp(text, "ttp://", 6) == 0 || strncmp(text, "ttps://", 7) == 0)
        text = "h" + text;
    // A URL broken over lines is joined; other text keeps its lines.
    if (IsUrlForm(text)) {
        text.Remove('\n');
        text.Remove('\r');
    }
    OpenInCurrentGroup(text);
}

void CMainFrame::EncodeSearchKeyword()
{
    const CString keyword = theApp.m_pendingKeyword;
    if (keyword.IsEmpty())
        return;
    theApp.m_lastSearchKeyword = keyword;
    theApp.m_pendingKeyword.Empty();
    // The first tag the template holds takes the whole keyword; a template
    // without one names no page.
    static const char* const kTags[] = {"<UTF8>", "<EUC>", "<SJIS>"};
    CString url = theApp.GetUrlText(7);
    for (const char* tag : kTags) {
        if (url.Find(tag) < 0)
            continue;
        url.Replace(tag, EncodeSearchWord(keyword, tag));
        OpenInCurrentGroup(url);
        return;
    }
}

//--- At exit

void CMainFrame::ClearUrlCache()
{
    const bool cache = theApp.m_settings.bDelCache();
    const bool cookies = theApp.m_settings.bDelCookie();
    if (!cache && !cookies)
        return;
    std::vector<BYTE> buffer(4096);
    DWORD size = static_cast<DWORD>(buffer.size());
    auto* entry = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer.data());
    HANDLE find = ::FindFirstUrlCacheEntryA(nullptr, entry, &size);
    if (find == nullptr && ::GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
        buffer.resize(size);
        entry = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer.data());
        find = ::FindFirstUrlCacheEntryA(nullptr, entry, &size);
    }
    if (find == nullptr)
        return;
    for (;;) {
        const DWORD type = entry->CacheEntryType;
        if ((cache && cookies) || (cache && (type & NORMAL_CACHE_ENTRY)) || (cookies && (type & COOKIE_CACHE_ENTRY)))
            ::DeleteUrlCacheEntryA(entry->lpszSourceUrlName);
        size = static_cast<DWORD>(buffer.size());
        if (::FindNextUrlCacheEntryA(find, entry, &size))
            continue;
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER)
            break;
        buffer.resize(size);
        entry = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer.data());
        if (!::FindNextUrlCacheEntryA(find, entry, &size))
            break;
    }
    ::FindCloseUrlCache(find);
}

void CMainFrame::CreateComObject()
{
    if (!theApp.m_settings.bDelHistory())
        return;
    IUrlHistoryStg2* history = nullptr;
    if (SUCCEEDED(::CoCreateInstance(CLSID_CUrlHistory, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                     IID_IUrlHistoryStg2, reinterpret_cast<void**>(&history))) &&
        history != nullptr) {
        history->ClearHistory();
        history->Release();
    }
}
