#include "app/MainFrame.h"

#include <windows.h>

#include "app/BrowserFeatures.h"
#include "app/InstanceHandOver.h"
#include "app/SettingsFile.h"
#include "app/VantorelApp.h"
#include "app/resource.h"
#include "bars/GroupTabBar.h"
#include "bars/PageTabBar.h"
#include "framework/app/FaultGuard.h"
#include "lists/ProxySettings.h"
#include "lists/WebSearch.h"
#include "shared/FileFailureText.h"
#include "shared/FrameMessages.h"
#include "tab/DocHostHandler.h"
#include "tab/HtmlPopupDlg.h"

CMainFrame* g_pMainFrame = nullptr;

namespace {

// The program's copy of the menu library: draw mode 0, no popup-menu hook.
CNewMenuHook g_menuLibrary(MenuLibBuild::MainProgram);

const UINT kCmdStartupIdle = 30102;
const UINT kAutosaveIntervalMs = 300000;
const UINT kStatusBarId = 59393;
const UINT kProgressPaneId = 1250;
const UINT kIndicators[] = {0, kProgressPaneId};

} // namespace

// The popup of the menu bar whose last item has the id, or -1.
int FindPopupByLastItem(HMENU bar, UINT lastId)
{
    for (int i = 0; i < GetMenuItemCount(bar); ++i) {
        HMENU popup = GetSubMenu(bar, i);
        if (popup == nullptr)
            continue;
        int count = GetMenuItemCount(popup);
        if (count > 0 && GetMenuItemID(popup, count - 1) == lastId)
            return i;
    }
    return -1;
}

// The n-th submenu (from 0) of a popup, or null.
HMENU NthSubMenu(HMENU popup, int n)
{
    for (int i = 0; i < GetMenuItemCount(popup); ++i) {
        HMENU sub = GetSubMenu(popup, i);
        if (sub != nullptr && n-- == 0)
            return sub;
    }
    return nullptr;
}

BEGIN_MESSAGE_MAP(CMainFrame, CNewMDIFrameWnd)
    ON_WM_CREATE()
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_NCACTIVATE, OnNcActivateMessage)
    ON_WM_TIMER()
    ON_WM_QUERYENDSESSION()
    ON_WM_ENDSESSION()
    ON_WM_COPYDATA()
    ON_WM_DRAWCLIPBOARD()
    ON_WM_CHANGECBCHAIN()
    ON_WM_VSCROLL()
    ON_WM_ERASEBKGND()
    ON_WM_ACTIVATE()
    ON_WM_MOUSEWHEEL()
    ON_MESSAGE(WM_DROPFILES, OnDropFilesMessage)
    ON_WM_SYSCOMMAND()
    ON_WM_SHOWWINDOW()
    ON_MESSAGE(WM_FRAME_OPENCOMMANDLINE, OnOpenCommandLine)
    ON_REGISTERED_MESSAGE(CMainFrame::s_taskbarCreated, OnTaskbarCreated)
    ON_WM_INITMENUPOPUP()
    ON_COMMAND(kCmdStartupIdle, OnStartupIdle)
    ON_COMMAND(ID_GROUP_PREV, OnGroupPrev)
    ON_COMMAND(ID_VIEW_RESETBARS, OnResetBands)
    ON_COMMAND(ID_VIEW_LOCKBARS, OnLockBars)
    ON_UPDATE_COMMAND_UI(ID_VIEW_LOCKBARS, OnUpdateLockBars)
    ON_COMMAND_RANGE(ID_VIEW_TOOLBAR_BAND, ID_VIEW_TOOLBAR_BAND, OnToggleBand)
    ON_COMMAND_RANGE(ID_VIEW_ADDRESS_BAND, ID_VIEW_ADDRESS_BAND, OnToggleBand)
    ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR_BAND, OnUpdateToggleBand)
    ON_UPDATE_COMMAND_UI(ID_VIEW_ADDRESS_BAND, OnUpdateToggleBand)
    ON_COMMAND_RANGE(ID_VIEW_LINKS_BAND, ID_VIEW_LINKS_BAND, OnToggleBand)
    ON_UPDATE_COMMAND_UI(ID_VIEW_LINKS_BAND, OnUpdateToggleBand)
    ON_COMMAND(ID_VIEW_SEARCH_BAND, OnToggleSearchBar)
    ON_UPDATE_COMMAND_UI(ID_VIEW_SEARCH_BAND, OnUpdateToggleSearchBar)
    ON_COMMAND(ID_FOCUS_ADDRESS, OnFocusAddress)
    ON_COMMAND(ID_FOCUS_SEARCH, OnFocusSearch)
    ON_COMMAND(ID_GO, OnGo)
    ON_COMMAND(ID_VIEW_STATUS_BAR, OnToggleStatusBar)
    ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, OnUpdateStatusBarCommand)
    ON_COMMAND(ID_VIEW_FAVORITES_PANE, OnToggleFavoritesPane)
    ON_UPDATE_COMMAND_UI(ID_VIEW_FAVORITES_PANE, OnUpdateFavoritesPane)
    ON_COMMAND(ID_OPTION_CLICKOPEN, OnToggleClickOpen)
    ON_UPDATE_COMMAND_UI(ID_OPTION_CLICKOPEN, OnUpdateClickOpen)
    ON_COMMAND(ID_EDIT_FINDDISPATCH, OnFindDispatch)
    ON_UPDATE_COMMAND_UI(32854, OnUpdateTabCommand)
    ON_UPDATE_COMMAND_UI(32855, OnUpdateTabCommand)
    ON_UPDATE_COMMAND_UI(1070, OnUpdateTabCommand)
    ON_UPDATE_COMMAND_UI(36262, OnUpdateTabCommand)
    ON_UPDATE_COMMAND_UI(36263, OnUpdateTabCommand)
    ON_UPDATE_COMMAND_UI(1071, OnUpdateTabCommand)
    ON_UPDATE_COMMAND_UI(32856, OnUpdateTabCommand)
    ON_UPDATE_COMMAND_UI(57642, OnUpdateTabCommand)
    ON_UPDATE_COMMAND_UI(1076, OnUpdateTabCommand)
    ON_UPDATE_COMMAND_UI(1065, OnUpdateTabCommand)
    ON_UPDATE_COMMAND_UI(32831, OnUpdateTabCommand)
    ON_UPDATE_COMMAND_UI(32832, OnUpdateTabCommand)
    ON_UPDATE_COMMAND_UI(32851, OnUpdateTabCommand)
    ON_UPDATE_COMMAND_UI(1069, OnUpdateTabCommand)
    ON_UPDATE_COMMAND_UI(1074, OnUpdateTabCommand)
    ON_UPDATE_COMMAND_UI(ID_EDIT_TEXTSEARCH, OnUpdateTabCommand)
    ON_UPDATE_COMMAND_UI(ID_EDIT_FINDDISPATCH, OnUpdateTabCommand)
    ON_COMMAND(ID_GROUP_NEXT, OnGroupNext)
    ON_COMMAND_RANGE(ID_PLUGIN_FIRST, ID_PLUGIN_LAST, OnRunPlugIn)
    ON_COMMAND_RANGE(ID_SCRIPT_FIRST, ID_SCRIPT_LAST, OnRunScript)
    ON_UPDATE_COMMAND_UI_RANGE(ID_PLUGIN_FIRST, ID_PLUGIN_LAST, OnUpdatePlugIn)
    ON_UPDATE_COMMAND_UI_RANGE(ID_SCRIPT_FIRST, ID_SCRIPT_LAST, OnUpdateScript)
    ON_COMMAND_RANGE(kCmdFavoriteFirst, kCmdFavoriteLast, OnFavoriteItem)
    ON_COMMAND_RANGE(kCmdFavFolderFirst, kCmdFavFolderLast, OnFavoriteFolder)
    ON_UPDATE_COMMAND_UI_RANGE(kCmdFavFolderFirst, kCmdFavFolderLast, OnUpdateFavoriteFolder)
    ON_COMMAND(ID_FAV_ADD, OnAddFavorite)
    ON_COMMAND(ID_FAV_ORGANIZE, OnOrganizeFavorites)
    ON_COMMAND(ID_FAV_RELOAD, OnReloadFavorites)
    ON_COMMAND(ID_PROXY_IE, OnProxySystem)
    ON_COMMAND(ID_PROXY_DIRECT, OnProxyDirect)
    ON_COMMAND(ID_PROXY_USELIST, OnProxyUseList)
    ON_COMMAND_RANGE(ID_PROXY_ENTRY_FIRST, ID_PROXY_ENTRY_FIRST + kMaxProxyEntries, OnSelectProxy)
    ON_COMMAND(ID_PROXY_SETTINGS, OnProxySettings)
    ON_UPDATE_COMMAND_UI(ID_PROXY_IE, OnUpdateProxySystem)
    ON_UPDATE_COMMAND_UI(ID_PROXY_DIRECT, OnUpdateProxyDirect)
    ON_UPDATE_COMMAND_UI(ID_PROXY_USELIST, OnUpdateProxyUse)
    ON_UPDATE_COMMAND_UI_RANGE(ID_PROXY_ENTRY_FIRST, ID_PROXY_ENTRY_FIRST + kMaxProxyEntries,
                               OnUpdateProxyEntry)
    ON_COMMAND_RANGE(39002, 39052, OnKeepEnabled)
    ON_COMMAND_RANGE(ID_CLOSEDTAB_FIRST, ID_CLOSEDTAB_LAST, OnReopenClosedTab)
    ON_COMMAND(ID_VIEW_FULLSCREEN, OnFullScreen)
    ON_COMMAND(ID_WINDOW_TOTRAY, OnWindowToTray)
    ON_COMMAND(ID_GROUP_TABMENU, OnGroupTabMenu)
    ON_COMMAND(ID_PAGE_SELECTIONMENU, ShowSelectionMenu)
    ON_COMMAND_RANGE(ID_NAV_HOME, ID_NAV_HOME, OnFrameOpenCommand)
    ON_COMMAND_RANGE(ID_TAB_NEWHOME, ID_TAB_NEWHOME, OnFrameOpenCommand)
    ON_COMMAND_RANGE(ID_TAB_NEWBLANK, ID_TAB_NEWBLANK, OnFrameOpenCommand)
    ON_COMMAND_RANGE(ID_TAB_NEWCLIPBOARD, ID_TAB_NEWCLIPBOARD, OnFrameOpenCommand)
    ON_COMMAND_RANGE(ID_HELP_HOMEPAGE, ID_HELP_HOMEPAGE, OnFrameOpenCommand)
    ON_COMMAND_RANGE(ID_HELP_CONTENTS, ID_HELP_CONTENTS, OnFrameOpenCommand)
    ON_COMMAND_RANGE(ID_FILE_NEWTAB, ID_FILE_NEWTAB, OnFrameOpenCommand)
    ON_COMMAND_RANGE(ID_FILE_PRINTPREVIEW_PAGE, ID_FILE_PRINTPREVIEW_PAGE, OnBrowserCommand)
    ON_COMMAND_RANGE(ID_FILE_PRINT_PAGE, ID_FILE_PRINT_PAGE, OnBrowserCommand)
    ON_COMMAND_RANGE(ID_FILE_SAVEAS_PAGE, ID_FILE_SAVEAS_PAGE, OnBrowserCommand)
    ON_COMMAND_RANGE(ID_EDIT_VIEWSOURCE, ID_EDIT_VIEWSOURCE, OnBrowserCommand)
    ON_COMMAND_RANGE(ID_EDIT_FIND, ID_EDIT_FIND, OnBrowserCommand)
    ON_COMMAND_RANGE(ID_TOOLS_INETOPTIONS, ID_TOOLS_INETOPTIONS, OnBrowserCommand)
    ON_COMMAND_RANGE(ID_EDIT_COPY, ID_EDIT_COPY, OnEditCommand)
    ON_COMMAND_RANGE(ID_EDIT_CUT, ID_EDIT_CUT, OnEditCommand)
    ON_COMMAND_RANGE(ID_EDIT_PASTE, ID_EDIT_PASTE, OnEditCommand)
    ON_COMMAND_RANGE(ID_EDIT_SELECT_ALL, ID_EDIT_SELECT_ALL, OnEditCommand)
    ON_COMMAND_RANGE(ID_FILE_CLOSE, ID_FILE_CLOSE, OnCloseTabsCommand)
    ON_COMMAND_RANGE(ID_GROUP_CLOSETABS, ID_GROUP_CLOSETABS, OnCloseTabsCommand)
    ON_COMMAND_RANGE(ID_TAB_CLOSELEFT, ID_TAB_CLOSELEFT, OnCloseTabsCommand)
    ON_COMMAND_RANGE(ID_TAB_CLOSERIGHT, ID_TAB_CLOSERIGHT, OnCloseTabsCommand)
    ON_COMMAND_RANGE(ID_PLUGIN_SETTINGS, ID_PLUGIN_SETTINGS, OnCatalogSettings)
    ON_COMMAND_RANGE(ID_SCRIPT_SETTINGS, ID_SCRIPT_SETTINGS, OnCatalogSettings)
    ON_COMMAND_RANGE(ID_EDIT_COPYTEXTONLY, ID_EDIT_COPYTEXTONLY, OnPageCommand)
    ON_COMMAND_RANGE(ID_PAGE_COPY, ID_PAGE_COPY, OnPageCommand)
    ON_COMMAND_RANGE(ID_PAGE_COPYTEXT, ID_PAGE_COPYTEXT, OnPageCommand)
    ON_COMMAND_RANGE(ID_PAGE_SEARCH, ID_PAGE_SEARCH, OnPageCommand)
    ON_COMMAND_RANGE(ID_PAGE_SEARCHNEWGROUP, ID_PAGE_SEARCHNEWGROUP, OnPageCommand)
    ON_COMMAND_RANGE(ID_PAGE_OPENASURL, ID_PAGE_OPENASURL, OnPageCommand)
    ON_COMMAND_RANGE(ID_PAGE_DICTIONARY, ID_PAGE_DICTIONARY, OnPageCommand)
    ON_COMMAND_RANGE(ID_PAGE_IEMENU, ID_PAGE_IEMENU, OnPageCommand)
    ON_COMMAND(ID_FAV_EXPLORE, OnExploreFavorites)
    ON_COMMAND(ID_FILE_OPENLOCATION, OnOpenLocation)
    ON_COMMAND(ID_EDIT_VIEWSELSOURCE, OnViewSelectionSource)
    ON_COMMAND(ID_NAV_BACKMENU, OnBackHistoryMenu)
    ON_COMMAND(ID_NAV_FORWARDMENU, OnForwardHistoryMenu)
    ON_COMMAND_RANGE(ID_GROUP_CLOSE, ID_GROUP_CLOSEALL, OnGroupsCommand)
    ON_COMMAND(ID_GROUP_NEW, OnNewGroupTab)
    ON_COMMAND(ID_GROUP_CUSTOMIZE, OnCustomizeGroup)
    ON_COMMAND(ID_GROUP_RENAME, OnRenameGroup)
    ON_COMMAND(ID_GROUP_IMAGE, OnPickGroupImage)
    ON_COMMAND(ID_GROUP_SWITCHES, OnGroupTabSwitches)
    ON_COMMAND_RANGE(ID_GROUP_IMAGE_FIRST, ID_GROUP_IMAGE_LAST, OnGroupImage)
    ON_COMMAND_RANGE(ID_GROUPTEMPLATE_FIRST, ID_GROUPTEMPLATE_LAST, OnGroupTemplate)
    ON_COMMAND(ID_GROUPTEMPLATE_EDIT, OnEditGroupTemplates)
    ON_UPDATE_COMMAND_UI_RANGE(ID_GROUP_NEW, ID_GROUP_SWITCHES, OnUpdateGroupTabCommand)
    ON_COMMAND_RANGE(kCmdSearchEngineFirst, kCmdSearchEngineLast, OnSearchEngine)
    ON_COMMAND(kCmdRunSearch, OnRunSearch)
    ON_COMMAND(ID_EDIT_TEXTSEARCH, OnTextSearchPopup)
    ON_COMMAND(kCmdReloadSearchEngines, OnReloadSearchEngines)
    ON_COMMAND(ID_TOOLS_SETTINGS, OnSettings)
    ON_COMMAND(kCmdSearchEngineMenu, OnSearchEngineMenu)
    ON_NOTIFY(TBN_DROPDOWN, kSearchBarId, OnSearchBarDropDown)
    ON_NOTIFY(TBN_DROPDOWN, AFX_IDW_TOOLBAR, OnToolbarDropDown)
    ON_NOTIFY(TBN_DROPDOWN, CLinksBar::kId, OnLinksDropDown)
END_MESSAGE_MAP()

CMainFrame::CMainFrame()
{
    m_scriptExternal.SetHost(this);
}

CMainFrame::~CMainFrame()
{
    delete m_pHtmlPopup;
    delete m_pPageTabBar;
    delete m_pGroupTabBar;
    if (m_hReBarBack != nullptr)
        DeleteObject(m_hReBarBack);
    if (g_pMainFrame == this)
        g_pMainFrame = nullptr;
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    // The frame's own class, given before the base's turn: the base would
    // register a default class of its own for a frame that names none.
    WNDCLASSA wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = AfxWndProc;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hIcon = LoadIconA(wc.hInstance, MAKEINTRESOURCEA(IDR_MAINFRAME));
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = theApp.GetMainClassName();
    WNDCLASSA existing;
    if (!GetClassInfoA(wc.hInstance, wc.lpszClassName, &existing) && !RegisterClassA(&wc))
        return FALSE;
    cs.lpszClass = theApp.GetMainClassName();
    return CMDIFrameWnd::PreCreateWindow(cs);
}

BOOL CMainFrame::OnCreateClient(LPCREATESTRUCT lpcs)
{
    // No window menu: the Window popup holds only the program's own commands.
    return CreateClient(lpcs, nullptr);
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    g_pMainFrame = this;
    theApp.BeginFaultRecovery();
    if (CNewMDIFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    SetClassLongA(m_hWnd, GCL_STYLE, CS_DBLCLKS);
    m_scriptExternal.SetMainWindow(m_hWnd);
    m_pFrameDropTarget = new CFrameDropTarget(m_hWnd);

    m_smallIcons.Create(16, 16, ILC_COLOR24 | ILC_MASK, 4, 1);
    m_smallIcons.AddBitmapFile(theApp.m_folders.ResFile("mjr.bmp"),
                               RGB(0xFF, 0x00, 0xFF));

    if (!m_wndMDIClient.SubclassWindow(m_hWndMDIClient))
        return -1;
    if (LoadBarData() != 0 || CreateStatusBar() != 0 || !CreateTabBars())
        return -1;
    EnableDocking(CBRS_ALIGN_ANY);
    ClearStringMap();

    if (theApp.m_settings.bFavLoadCache())
        LoadFavoritesCache();
    else
        ScanFavorites();

    m_hWndNextViewer = SetClipboardViewer(m_hWnd);

    const SettingsRecord& settings = theApp.m_settings;
    BrowserFeatures::SetUserAgent(settings.strUserAgent);
    ApplyStartupProxy();
    BrowserFeatures::WriteEmulationValues(theApp.GetMainClassName(),
                                          BrowserFeatures::ChooseEmulation(GetIEMajorVersion()));
    BrowserFeatures::RaiseConnectionLimits();
    BrowserFeatures::EnableUrlMonikerFeatures();

    // The user can type an address at once: the focus goes to the box
    // when the window shows (set now, it would activate the hidden frame
    // for nothing).
    PostMessage(WM_COMMAND, ID_FOCUS_ADDRESS, 0);
    AfterCreate();
    PostMessage(WM_COMMAND, kCmdStartupIdle, 0);
    return 0;
}

void CMainFrame::AfterCreate()
{
    if (theApp.m_settings.bTaskTray())
        FindTrayWindow();
    m_autosaveTimer = SetTimer(reinterpret_cast<UINT_PTR>(this), kAutosaveIntervalMs);

    HMENU bar = m_DefaultNewMenu.m_hMenu;
    if (bar == nullptr)
        return;
    int file = FindPopupByLastItem(bar, ID_APP_EXIT);
    if (file >= 0) {
        // Item 0 of the recently-closed list only holds the place in the
        // resource; the list fills it at run time.
        CNewMenu* closed = CNewMenu::FromHandleNew(NthSubMenu(GetSubMenu(bar, file), 2));
        if (closed != nullptr)
            closed->RemoveMenu(0, MF_BYPOSITION);
    }
    if (!theApp.m_settings.bPlgEnable()) {
        int plugins = FindPopupByLastItem(bar, ID_PLUGIN_SETTINGS);
        if (plugins >= 0)
            m_DefaultNewMenu.DeleteMenu(plugins, MF_BYPOSITION);
    }
    // A hidden frame measures its changed menu bar when it first shows.
    if (IsWindowVisible())
        DrawMenuBar();
}

int CMainFrame::LoadBarData()
{
    LoadSearchEngines();
    return CreateReBarBands() ? 0 : -1;
}

int CMainFrame::CreateStatusBar()
{
    if (!m_wndStatusBar.Create(this, 0x50008200, kStatusBarId))
        return -1;
    m_wndStatusBar.SetIndicators(kIndicators, 2);
    m_wndStatusBar.SetPaneInfo(1, kProgressPaneId, SBPS_NOBORDERS, 74);
    m_wndStatusBar.SetProgressRange(0, 100);
    // Laid out with the other bars when the frame is first shown.
    ShowControlBar(&m_wndStatusBar, theApp.m_settings.bBar_Status(), TRUE);
    return 0;
}

void CMainFrame::ClearStringMap()
{
    theApp.m_keyMap.RemoveAll();
}

void CMainFrame::SetStatusText(LPCTSTR text)
{
    if (m_wndStatusBar.GetSafeHwnd() != nullptr)
        m_wndStatusBar.SetPaneText(0, text);
}

void CMainFrame::SetStatusProgress(int percent)
{
    m_progressValue = percent;
    if (m_wndStatusBar.GetSafeHwnd() == nullptr)
        return;
    if (percent < 0) {
        m_wndStatusBar.ShowProgress(false);
        return;
    }
    m_wndStatusBar.SetProgressPos(percent);
    m_wndStatusBar.ShowProgress(true);
}

void CMainFrame::SaveSettings()
{
    SettingsWindowPos pos;
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    if (GetSafeHwnd() != nullptr && ::GetWindowPlacement(m_hWnd, &placement)) {
        pos.left = placement.rcNormalPosition.left;
        pos.top = placement.rcNormalPosition.top;
        pos.right = placement.rcNormalPosition.right;
        pos.bottom = placement.rcNormalPosition.bottom;
        pos.showCmd = static_cast<int16_t>(placement.showCmd);
    }
    SaveBarState();
    const CSettingsFile file(theApp.GetProgramFolder(), theApp.GetMainClassName());
    DWORD error = 0;
    if (!file.Save(theApp.m_settings, pos, theApp.m_rebar, &error))
        TellNotSaved(file.GetCurrentPath(), error);
}

void CMainFrame::TellNotSaved(const CString& path, DWORD error)
{
    // Without a program folder nothing is written by design, and the start
    // said so once.
    if (theApp.GetProgramFolder().IsEmpty())
        return;
    TellFileNotSaved(GetSafeHwnd(), theApp.GetMainClassName(), path, error);
}

void CMainFrame::StopAutosave()
{
    if (m_autosaveTimer != 0) {
        if (GetSafeHwnd() != nullptr)
            KillTimer(m_autosaveTimer);
        m_autosaveTimer = 0;
    }
}

void CMainFrame::SaveOnExit()
{
    if (m_exitDone)
        return;
    m_exitDone = 1;
    theApp.m_runFlags |= kRunFlagShuttingDown;
    // A fault in the exit's work ends the writing there; the window still
    // closes, and the recovery file of the last autosave stays for the next
    // start, since this exit did not end in order.
    if (AfxCallGuarded([this] { WriteOnExit(); }) != 0)
        theApp.KeepRecoveryFile();
}

void CMainFrame::WriteOnExit()
{
    if ((m_stateWord & kStateFullScreen) && GetSafeHwnd() != nullptr)
        SetFullScreen(0);
    const bool autosaved = m_autosaveTimer != 0;
    StopAutosave();
    SaveSettings();
    // Only here, at an exit that goes on: a session end that may still be
    // cancelled never gets this far.
    ClearUrlCache();
    CreateComObject();
    SaveListsOnExit();
    LeaveShellLinks();
    // Last, when every write of the exit is done: a crash or kill before
    // this point still finds the recovery file at the next start. A clean
    // exit leaves none, unless several instances share the folder and
    // another may still rely on it.
    // A recovery file that stays only offers this session again at the next
    // start, which the user may decline.
    if (autosaved && !theApp.m_settings.bDoubleInstance())
        (void)DeleteFileA(theApp.ProgramFile("Exception.dat"));
}

void CMainFrame::LeaveShellLinks()
{
    if (GetSafeHwnd() == nullptr)
        return;
    ChangeClipboardChain(m_hWnd, m_hWndNextViewer);
    m_hWndNextViewer = nullptr;
    RemoveTrayIcon();
}

void CMainFrame::OnClose()
{
    SaveOnExit();
    CNewMDIFrameWnd::OnClose();
}

void CMainFrame::CloseWithoutSave()
{
    // Marked as done, so that the destruction that follows writes nothing
    // either; what other programs see of the window still goes with it.
    m_exitDone = 1;
    theApp.m_runFlags |= kRunFlagShuttingDown;
    StopAutosave();
    LeaveShellLinks();
    CNewMDIFrameWnd::OnClose();
}

void CMainFrame::OnDestroy()
{
    if (m_pFrameDropTarget != nullptr) {
        m_pFrameDropTarget->Detach();
        m_pFrameDropTarget->Release();
        m_pFrameDropTarget = nullptr;
    }
    SaveOnExit();
    CNewMDIFrameWnd::OnDestroy();
}

LRESULT CMainFrame::OnNcActivateMessage(WPARAM, LPARAM)
{
    // The destruction hides the frame, then deactivates it: repainting the
    // caption and the owner-drawn menu bar of a window nobody sees any more
    // would only slow the exit.
    if (m_exitDone && !IsWindowVisible())
        return TRUE;
    return Default();
}

BOOL CMainFrame::OnQueryEndSession()
{
    // The session end may still be cancelled: write the user's settings and
    // lists, but stop, leave and delete nothing. The exit itself runs when
    // the end is confirmed, or at the later close. A fault in the writing
    // ends it there and does not hold the session up.
    AfxCallGuarded([this] {
        SaveSettings();
        SaveListsOnExit();
    });
    return TRUE;
}

void CMainFrame::OnEndSession(BOOL bEnding)
{
    if (!bEnding)
        return;
    SaveOnExit();
    theApp.ShutdownCleanup();
}

void CMainFrame::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == m_autosaveTimer && m_autosaveTimer != 0) {
        theApp.TrimWorkingSet(FALSE);
        // Only while a window of this program is active.
        if (::GetActiveWindow() != nullptr)
            SaveTabSet(theApp.ProgramFile("Exception.dat"));
    }
    Default();
}

void CMainFrame::OnDrawClipboard()
{
    if (m_hWndNextViewer != nullptr)
        ::SendMessageA(m_hWndNextViewer, WM_DRAWCLIPBOARD, 0, 0);
}

void CMainFrame::OnChangeCbChain(HWND hWndRemove, HWND hWndAfter)
{
    if (hWndRemove == m_hWndNextViewer)
        m_hWndNextViewer = hWndAfter;
    else if (m_hWndNextViewer != nullptr)
        ::SendMessageA(m_hWndNextViewer, WM_CHANGECBCHAIN, reinterpret_cast<WPARAM>(hWndRemove),
                       reinterpret_cast<LPARAM>(hWndAfter));
}

void CMainFrame::OpenHandedOverText(const CString& text)
{
    theApp.OpenUrl(InstanceHandOver::NormalizeText(text), 0);
}

LRESULT CMainFrame::OnOpenCommandLine(WPARAM wParam, LPARAM)
{
    ATOM atom = static_cast<ATOM>(wParam);
    CString text;
    if (!InstanceHandOver::ReadAtomText(atom, text))
        return 0;
    OpenHandedOverText(text);
    GlobalDeleteAtom(atom);
    return 0;
}

BOOL CMainFrame::OnCopyData(CWnd*, COPYDATASTRUCT* pCopyData)
{
    if (pCopyData == nullptr || pCopyData->dwData != VA_COPYDATA_OPENCOMMANDLINE ||
        pCopyData->lpData == nullptr || pCopyData->cbData == 0)
        return FALSE;
    // The sender's text need not be terminated: never read past cbData.
    const char* data = static_cast<const char*>(pCopyData->lpData);
    int length = 0;
    while (length < static_cast<int>(pCopyData->cbData) && data[length] != '\0')
        ++length;
    OpenHandedOverText(CString(data, length));
    return TRUE;
}

void CMainFrame::BringToForeground()
{
    HWND foreground = ::GetForegroundWindow();
    DWORD foreignThread = foreground != nullptr ? GetWindowThreadProcessId(foreground, nullptr) : 0;
    DWORD thisThread = GetCurrentThreadId();
    bool attached = foreignThread != 0 && foreignThread != thisThread &&
                    AttachThreadInput(thisThread, foreignThread, TRUE);
    DWORD timeout = 0;
    SystemParametersInfoA(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &timeout, 0);
    // Never with SPIF_UPDATEINIFILE: a crash in between must not leave the
    // user's stored setting changed.
    SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, nullptr, 0);
    ::SetForegroundWindow(m_hWnd);
    SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0,
                          reinterpret_cast<void*>(static_cast<UINT_PTR>(timeout)), 0);
    if (attached)
        AttachThreadInput(thisThread, foreignThread, FALSE);
}

void CMainFrame::OnStartupIdle()
{
    // Nothing can be dropped on a window before it shows. The first drop
    // target of the process sets up OLE's marshalling, which the hidden
    // frame's start need not wait for.
    if (m_pFrameDropTarget != nullptr && !m_pFrameDropTarget->IsRegistered())
        m_pFrameDropTarget->Register(m_hWnd);
    m_wndSearchBar.RegisterDropTarget();
    BuildFavoriteIcons();
    LoadPlugInsAndScripts();
    theApp.LoadKeyMap();
    theApp.LoadGestureMap();
    BringToForeground();
    theApp.TrimWorkingSet(TRUE);
}

void CMainFrame::OnKeepEnabled(UINT) {}

void CMainFrame::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu)
{
    // The menu bar's proxy, plug-in and script popups show the lists as they
    // are now (a dialog or an unload may have changed them since).
    CNewMenu* popup = !bSysMenu && pPopupMenu != nullptr
                          ? CNewMenu::FromHandleNew(pPopupMenu->m_hMenu)
                          : nullptr;
    if (popup != nullptr) {
        const int count = popup->GetMenuItemCount();
        const UINT last = count > 0 ? popup->GetMenuItemID(count - 1) : 0;
        const BOOL withIcons = theApp.m_settings.bMenuImage();
        if (last == ID_APP_EXIT && (m_stateWord & kStateTemplateMenuBuilt) == 0) {
            m_stateWord |= kStateTemplateMenuBuilt;
            LoadGroupTabDefs(CNewMenu::FromHandleNew(NthSubMenu(popup->m_hMenu, 1)));
        }
        if (count > 0 && popup->GetMenuItemID(0) == ID_FAV_ADD)
            BuildFavoritesMenu(*popup);
        else if (count > 0 && popup->GetMenuItemID(0) == ID_PROXY_IE)
            FillProxyMenu(*popup);
        else if (last == ID_PLUGIN_SETTINGS)
            FillCatalogMenu(*popup, CatalogMenu::kPlugIns, withIcons);
        else if (last == ID_SCRIPT_SETTINGS)
            FillCatalogMenu(*popup, CatalogMenu::kScripts, withIcons);
        else if (last == ID_APP_EXIT)
            RenumberClosedTabMenu();
        BuildProxyMenu(popup->m_hMenu);
        RefreshMenuStatesOnce();
    }
    CNewMDIFrameWnd::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
}
