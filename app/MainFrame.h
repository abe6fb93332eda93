// CMainFrame: the program's one top-level window, an MDI frame whose
// children are the tabs and whose menus are owner-drawn CNewMenu objects. It
// owns the bars, the clipboard-viewer link and the five-minute autosave, makes
// the start-up settings of the shared browser components, and saves
// everything once when it closes.
#ifndef VA_APP_MAINFRAME_H
#define VA_APP_MAINFRAME_H

#include <memory>
#include <vector>

#include "app/ClosedTabList.h"
#include "app/FrameBarHost.h"
#include "framework/app/FaultGuard.h"
#include "framework/core/Collections.h"
#include "framework/frame/MDIFrameWnd.h"
#include "bars/ComboBoxXP.h"
#include "bars/DlgWndMng.h"
#include "bars/FullScreenTitleBar.h"
#include "bars/LinksBar.h"
#include "bars/MainToolBar.h"
#include "bars/SearchBar.h"
#include "bars/SizingControlBar.h"
#include "bars/SizableReBar.h"
#include "bars/StatusBarXP.h"
#include "bars/TabCloseButton.h"
#include "framework/win/Controls.h"
#include "framework/win/ImageList.h"
#include "lists/FavoriteTree.h"
#include "lists/FavoritesScan.h"
#include "lists/GroupTabDefs.h"
#include "lists/ProxySettings.h"
#include "lists/SearchEngineMenu.h"
#include "lists/SearchEngineTree.h"
#include "menulib/NewFrame.h"
#include "tab/DropTargets.h"
#include "tab/ScriptExternal.h"
#include "tab/TabHost.h"

class CBrowserView;
class CChildFrame;
class CDlgFavTree;
class CScriptItem;
class CGroupTabBar;
class CMainFrame;
class CPageTabBar;
class CTabBarCtrl;
class CTabGroup;
class CDlgHtmlPopup;
class CTabItem;
class SavedHistory;
class SettingsRecord;
struct FavoritesScanPlaces;
namespace TabSetFile {
struct Group;
}

// The popup of the menu bar whose last item has the id, or -1.
int FindPopupByLastItem(HMENU bar, UINT lastId);
// The n-th submenu (from 0) of a popup, or null.
HMENU NthSubMenu(HMENU popup, int n);

// The program-wide frame pointer: set first in OnCreate, cleared by the
// destructor.
extern CMainFrame* g_pMainFrame;

// Bits of CMainFrame::m_stateWord.
enum MainFrameState : DWORD
{
    kStateTrayIcon = 0x1,
    kStatePlacementPending = 0x2,
    kStateMenuStatesDone = 0x8,  // the menu bar's shortcut texts were set once
    kStateProxyMenuBuilt = 0x40,
    kStateReloadMenuBuilt = 0x80,
    kStatePlugInMenuBuilt = 0x100,
    kStateScriptMenuBuilt = 0x200,
    kStateReserved10 = 0x10,
    kStateFavoritesMenuBuilt = 0x20,  // the favorites menu shows the current tree
    kStateTemplateMenuBuilt = 0x400,  // the File menu's template submenu is filled
    kStateCaptionPinned = 0x800,
    kStateFullScreen = 0x1000,
    // What full screen hid, to show again when it ends.
    kStateHiddenToolBar = 0x2000,
    kStateHiddenAddress = 0x4000,
    kStateHiddenSearch = 0x8000,
    kStateHiddenStatus = 0x10000,
    kStateHiddenMenu = 0x20000,
    kStateHiddenLinks = 0x40000,
    kStateHiddenGroupBar = 0x80000,
    kStateHiddenPageBar = 0x100000,
    kStateHiddenBarsMask = 0x1FE000,
    kStateOpeningTabSet = 0x200000,  // a whole set of tabs is being opened
    kStatePendingKeyword = 0x400000,  // theApp.m_pendingKeyword waits for a search
};

// Favorites commands: 40000 + flat index opens a node, 45001 + flat index
// shows a folder's popup, 39999 is an empty folder's disabled item.
inline constexpr UINT kCmdFavoriteFirst = 40000;
inline constexpr UINT kCmdFavoriteLast = 45000;
inline constexpr UINT kCmdFavFolderFirst = 45001;
inline constexpr UINT kCmdFavFolderLast = 50000;
inline constexpr UINT kCmdFavoriteEmpty = 39999;

class CMainFrame : public CNewMDIFrameWnd, public ITabHost
{
public:
    CMainFrame();
    ~CMainFrame() override;

    //--- ITabHost (MainFrameTabHost.cpp): what the tabs ask of the frame.
    // These frame members implement it as they are: SetStatusText,
    // SetStatusProgress, UpdateAddressBar, GetSearchBoxText,
    // GetSearchEngineMenuTexts, UpdateTabImage, RefreshTabState,
    // CreateTabFrame, InsertNewTab, OnTabActivated, OnTabClosed,
    // AddClosedTabToMenu, CreateEmptyGroup, CreateDefaultGroup, CloseGroup,
    // CloseCTabItem, CloseTabsBeside, ActivatePrevTab, ActivateNextTab,
    // ShowTextSearchPopup, GetTextSearchPopupWindow, GetBrowserWindowAtCursor
    // and SaveTabSet.
    HWND GetFrameWindow() const override;
    CBrowserView* GetActiveTabView() const override;
    void SetActiveTabView(CBrowserView* view) override;
    void SetActiveTabFrame(CChildFrame* frame) override;
    const CSearchEngineTree& GetSearchEngines() const override;
    void SetPageMenuKeyword(const CString& text) override;
    void SetKeywordSearchPending(bool pending) override;
    bool IsOpeningTabSet() const override;
    void ForgetTab(CTabItem* tab) override;
    void ForgetTabFrame(CChildFrame* frame) override;
    bool IsShuttingDown() const override;
    CTabGroup* GetActiveGroup() const override;
    int GetGroupTabCount(const CTabGroup* group) const override;
    bool IsGroupListed(const CTabGroup* group) const override;
    CTabItem* FindTabById(HWND hTab) const override;
    CTabGroup* OpenUrl(CTabGroup* group, LPCTSTR url, WORD reason) override;
    CTabGroup* OpenUrlInNewGroup(LPCTSTR url, WORD reason, DWORD loadFlags) override;
    void OpenUrlWithHistory(CTabGroup* group, LPCTSTR url, const SavedHistory* back,
                            const SavedHistory* forward, WORD reason, DWORD loadFlags) override;
    void OpenUrlHoldingTabBar(CWnd* holder, CTabGroup* group, LPCTSTR url, WORD reason) override;
    BOOL OpenShortcut(LPCTSTR url, LPCTSTR sourcePage) override;
    bool IsOwnFavoritePage(const CString& page) const override;
    void TrackTabMenu(POINT at) override;
    void FillPlugInMenu(CNewMenu& menu) override;
    void FillScriptMenu(CNewMenu& menu) override;
    IDispatch* GetScriptObject() override;
    CString FormatKey(UINT vk) const override;
    BOOL ExecuteKeyBinding(const CString& text, MSG* pMsg) override;
    void ExecuteGesture(const CString& gesture) override;
    void RememberCursorPos() override;
    void TrimWorkingSet(BOOL bForce) override;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // Mouse, then keys, then the base (MainFrameInput.cpp).
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCreateClient(LPCREATESTRUCT lpcs) override;

    virtual void ClearStringMap();
    virtual void SaveSettings();
    virtual int LoadBarData();
    virtual int CreateStatusBar();
    virtual void SaveOnExit();
    // Closes as WM_CLOSE does but writes nothing: no settings, no lists, no
    // bar layout.
    virtual void CloseWithoutSave();

    //--- Tab-set files (MainFrameTabSets.cpp)
    // Writes every group and tab with their history (version 3); nothing
    // while another instance writes one.
    virtual void SaveTabSet(LPCTSTR path);
    // Version 2: one address a tab, no history.
    virtual void SaveTabSetV2(LPCTSTR path);
    // Opens the groups and tabs of a version-3 file, or of a version-2 one.
    virtual void LoadTabSet(LPCTSTR path);
    virtual void LoadTabSetV2(LPCTSTR path);
    // Opens a set without history: version-2 groups or plain tab lines.
    virtual void LoadClosedTabSet(LPCTSTR path);

    void SetStatusText(LPCTSTR text);
    // Runs a user script file in the modal script runner.
    void RunScript(const CString& path);
    // The find-in-pages popup's window, or null while there is none.
    HWND GetTextSearchPopupWindow() const;
    // The find-in-pages popup for the search box's text; nothing while the
    // search bar has no window.
    void ShowTextSearchPopup();
    // Opens the find-in-pages popup (a new one each time) for the keyword.
    void OpenTextSearchPopup(const CString& keyword);
    // Command 36290: the popup for the active page's selection, else for
    // the last search keyword.
    void OnTextSearchPopup();
    // The one HTML popup the frame owns, or null.
    CDlgHtmlPopup* m_pHtmlPopup = nullptr;
    // Where the cursor was when a popup last moved out of its way.
    POINT m_ptLastCursor = {0, 0};
    // window.external of every page and user script.
    CScriptExternal m_scriptExternal;
    // Drops on the frame window, its bars and free areas; registered while
    // the window lives, then detached and released.
    CFrameDropTarget* m_pFrameDropTarget = nullptr;
    // A percentage over the status bar's second pane; negative hides it.
    void SetStatusProgress(int percent);
    void StopAutosave();

    //--- Tab groups and the tab list
    CTabGroup* CreateGroup(LPCTSTR name, DWORD options, BYTE image);
    CTabGroup* CreateDefaultGroup(LPCTSTR name);
    CTabGroup* CreateEmptyGroup();
    virtual CTabGroup* NewGroupWithDefaultPage(LPCTSTR name);
    CChildFrame* CreateTabFrame();
    void InsertNewTab(CTabItem* tab);
    void OnTabActivated(CTabItem* tab);
    void OnTabClosed(CTabItem* tab);
    void MoveTabToGroup(CTabItem* tab, CTabGroup* target);
    void FillTabBar(CTabGroup* group);
    void ActivateGroup(CTabGroup* group);
    // The user chose the group on the group tab bar.
    void OnGroupTabSelected(CTabGroup* group);
    void UpdateTabImage(CTabItem* tab, BOOL bIconOnly);
    void RefreshTabState(CTabItem* tab);
    CTabItem* ClampTabImage(CTabItem* tab);
    void CloseGroupsCommand(UINT nID);
    void CloseGroup(CTabGroup* group);
    void CloseOtherGroups(CTabGroup* kept);
    void CloseGroupsLeft(CTabGroup* kept);
    void CloseGroupsRight(CTabGroup* kept);
    void CloseGroupList(const std::vector<CTabGroup*>& doomed);
    // Asks first; anything but Yes keeps every group.
    void CloseAllGroups();
    // Closes every group without asking.
    void CloseAllGroupsNow();
    void CloseCTabItem(CTabItem* tab);
    // Closes every tab of the active tab's group but the active one.
    void CloseTabsBeside();
    void ActivatePrevTab(CTabItem* tab);
    void ActivateNextTab(CTabItem* tab);
    // The tab whose frame is active, or null.
    CTabItem* GetActiveTab() const;
    virtual void UpdateAddressBar(HWND hTab, LPCTSTR url);
    // Typed text: navigates the active tab or opens a new tab (or group).
    virtual void OpenAddressBarUrl(LPCTSTR text);
    //--- Commands (MainFrameCommands.cpp)
    // Exec of the active page's document (in the document host's command
    // group when docHostGroup is set); TRUE only when the command ran.
    virtual BOOL ExecBrowserCommand(DWORD command, BOOL docHostGroup);
    // The page-menu search URL of theApp.m_pendingKeyword with the current
    // engine; url is left as it was without either.
    void BuildKeywordSearchUrl(CString& url);
    // The page menu's operations on the selected text of the active page
    // (the pending keyword): the engine's own copy; a search with the
    // current engine in the current group, or in a new group named after
    // the keyword. A search keeps its keyword as the last one.
    virtual void CopyPageSelection();
    virtual void SearchSelection();
    virtual void SearchSelectionInNewGroup();
    void CopySelectionTextOnly();
    // The engine's own context menu for the last page menu's place and
    // kind, with the selection menu's item added.
    void ShowIEDefaultMenu();
    // The rest of it on an engine menu popup (not destroyed here): asks the
    // page's document to add its items, adds the selection menu's, tracks it
    // at the page menu's point with the document window subclassed by
    // m_menuWindowHook, and hands the choice on.
    void TrackEngineMenu(CBrowserView& view, HMENU popup);
    // The page menu over the active page's selected text (command 36433).
    void ShowSelectionMenu();
    // Opens the keyword as a URL ("ttp://" mended, a URL's line breaks
    // removed).
    void CompleteUrlScheme();
    // Looks the keyword up with the dictionary template (url.dat line 7).
    void EncodeSearchKeyword();
    // At exit, as the settings ask: the URL cache and cookies, the history.
    virtual void ClearUrlCache();
    virtual void CreateComObject();

    //--- Input of every window (MainFrameInput.cpp)
    // Whether moving the mouse may take the keyboard focus from focus; keeps
    // the cursor position.
    virtual BOOL GetBrowserWindowAtCursor(HWND focus);
    // The address box and the search box, each with its edit; null while
    // the box has no window.
    virtual HWND GetAddressBoxWindow(HWND* pEdit) const;
    virtual HWND GetSearchBoxWindow(HWND* pEdit) const;
    // The tab button over the tab under the mouse: placed, or hidden, on a
    // move over a tab bar; a press on it tracked (TRUE when it consumed
    // the message), and clicks between the tabs given to their bar.
    virtual void TrackTabCloseButton(const MSG* pMsg);
    virtual BOOL ClickTabCloseButton(const MSG* pMsg);
    // The keyboard focus into the active page.
    void FocusActivePage();
    POINT m_ptFocusMove = {0, 0};   // the cursor when the focus last followed it

    //--- Menus built from data (MainFrameMenus.cpp)
    // Keeps a closing tab in the closed-tab list and puts it at the top of
    // the menu bar's recently-closed submenu.
    virtual void AddClosedTabToMenu(CTabItem* tab);
    // The Tools popup's proxy list and user reload period, filled once.
    void BuildProxyMenu(HMENU popup);
    // The recently-closed submenu (third of the File popup), or null.
    HMENU GetClosedTabMenu() const;
    // Access keys 0-9 and a-f for the recently-closed items, top down.
    void RenumberClosedTabMenu();
    // Every command item of the menu (and its submenus) bound to a key shows
    // the key's text after a tab while bMenuShortCutKey is on; any other
    // loses the text an earlier pass gave it.
    void UpdateMenuStates(HMENU menu);
    void RefreshMenuStatesOnce();
    // The group tab menu (resource 258) at the point, its template submenu
    // filled from the group-tab definitions; withImages (the menu at the
    // group tab) puts the first group images in a submenu ahead of the
    // templates, which without it is dropped.
    void BuildPopupMenu(POINT at, bool withImages);
    // The back (or forward) entries of the active tab at a screen point,
    // or at the cursor.
    void ShowHistoryMenu(bool back, POINT at);
    void ShowHistoryMenu(bool back);
    //--- Full screen, the tray icon, the first show (MainFrameScreen.cpp)
    // Non-zero enters full screen, 0 leaves it.
    virtual void SetFullScreen(int enter);
    virtual BOOL AddTrayIcon(UINT iconId, DWORD message);
    // Adds the icon when the shell's notification area exists.
    virtual BOOL FindTrayWindow();
    virtual void RemoveTrayIcon();
    virtual void RestoreFromTray();
    // The placement of the first show: the one the loaded settings hold,
    // or the desktop inset when it is too small or mostly off the screens.
    static void ChooseFirstPlacement(WINDOWPLACEMENT& placement);
    // The text-search popup shown again with the window, unless its user
    // hid it.
    void ShowTextSearchPopupAgain(int nCmdShow);
    UINT m_savedShowCmd = SW_SHOWNORMAL;
    RECT m_rcSavedNormal = {0, 0, 0, 0};
    HMENU m_hSavedMenu = nullptr;
    HWND m_hTrayWindow = nullptr;
    DWORD m_trayThreadId = 0;
    DWORD m_trayProcessId = 0;
    static const UINT s_taskbarCreated;

    // Plug-ins and scripts (MainFramePlugIns.cpp): the lists' messages.
    virtual void UnloadPlugins();
    virtual void UnloadScripts();
    virtual void ReloadScripts();
    // Runs a user script against the active page.
    virtual void ShowTextDialog(const CScriptItem& script);
    // The start-up step: plug-ins (with their idle calls) and scripts.
    void LoadPlugInsAndScripts();
    // The active page's selected text ("" without a selection); false when
    // no page window exists.
    bool ReadActiveSelection(CString& text) const;
    // Keys of windows outside the frame go to the plug-ins first; TRUE when
    // one consumed the key.
    BOOL OfferKeyToPlugIns(const MSG* pMsg);
    enum class CatalogMenu { kPlugIns, kScripts };
    // Replaces the catalog items of a plug-in or script submenu (those before
    // its first separator) with the list's entries that have a caption, at
    // most 100, as commands 36297 + index or 36701 + index (a script's with
    // its shortcut text); a disabled item stands for an empty list.
    void FillCatalogMenu(CNewMenu& menu, CatalogMenu kind, BOOL withIcons);
    // The tab context menu (MainFrameTabMenu.cpp). Actions: 0 nothing, 1 the
    // menu (at the point, else at the cursor; owner gets the command), 3
    // reload, any other closes the active tab. Nothing without an active tab.
    void TrackTabContextMenu(CWnd* owner, int action, const POINT* at = nullptr);
    // Fills the dynamic submenus of the tab menu: the user's auto-reload
    // period, the proxy list, the plug-ins and the scripts.
    void FillTabContextMenu(CNewMenu& popup);
    // etc.dat line 4 with the auto-reload minutes.
    CString GetReloadCaption() const;

    // Group-tab templates and group commands (MainFrameGroupTabs.cpp).
    // Rebuilds the definitions and the template submenu after its first item.
    void LoadGroupTabDefs(CNewMenu* menu);
    void LoadGroupTabImages();
    // Items 36500 + i showing group image i, numbered, ten to a column.
    std::vector<GroupTabDef> m_groupTabDefs;  // definition n: command 36600 + n
    CImageList m_groupTabImages;              // "ptab.bmp", 16 x 16 cells

    // Proxies (MainFrameProxy.cpp). The mode in force as three flags.
    ProxyPlaces GetProxyPlaces() const;
    // Switches the connection; false (nothing changed) when it did not take.
    bool SwitchProxyMode(ProxyMode mode);
    // Replaces what follows the four fixed items of a proxy menu with a
    // separator and the list's entries (36060 + index).
    void FillProxyMenu(CNewMenu& menu);
    BYTE m_proxySystem = 1;
    BYTE m_proxyDirect = 0;
    BYTE m_proxyList = 0;
    // Calls a settings export of the dialogs library with the live record;
    // on OK (result 1) the returned record becomes the live one and what
    // changed is rebuilt. The result, 0 when the library or export is missing.
    int RunSettingsExport(LPCSTR exportName);

    // A mouse message of the notification-area icon.
    virtual void OnTrayNotify(UINT nIconId, UINT nMouseMsg);

    // The window-list popup of a group beside its tab; FALSE while there is
    // no popup to show.
    virtual BOOL ShowGroupTabPopup(CTabGroup* group, int index);

    //--- IBarHost (FrameBarHost.cpp): what the bars need of the frame,
    // handed to each bar as the frame makes it. Declared before the bars
    // so that it outlives them.
    CFrameBarHost m_barHost{*this};

    std::unique_ptr<CDlgWndMng> m_pWndList;  // the window-list popup, made once
    CTabCloseButton m_wndTabButton;          // laid over the tab under the mouse
    HWND m_hTabButtonBar = nullptr;          // the bar it was laid over
    // The tab button goes away with the tab it covered.
    void HideTabButton();
    // A tab bar made again with the current settings, in its place in the
    // window order, refilled, and the frame laid out.
    virtual void RecreateTabBar();
    virtual void RecreateGroupTabBar();
    // The caption strip of full screen, while there is one.
    std::unique_ptr<CFullScreenTitleBar> m_pFullScreenBar;

    CPageTabBar* m_pPageTabBar = nullptr;
    CGroupTabBar* m_pGroupTabBar = nullptr;
    CClosedTabList m_closedTabs;
    CString m_replyBuffer;

    // Favorites (MainFrameLists.cpp). ScanFavorites returns FALSE when the
    // scan was aborted; a subfolder it cannot list keeps what kept (when
    // given) holds of it.
    virtual BOOL ScanFavorites(const CFavoriteTree* kept = nullptr);
    virtual void LoadFavoritesCache();
    // Favorites menus, links bar and commands (MainFrameFavorites.cpp).
    // Builds the favorites menu after its five fixed items, once until the
    // next rebuild of the tree.
    void BuildFavoritesMenu(CNewMenu& menu);
    void TrimFavoritesMenu(CNewMenu& menu);
    void ClearMenuItems(CNewMenu& menu);
    // A folder's content (or one entry); images: the strip to take images
    // from and add shell icons to, null for none.
    void AppendFavoritesItems(CNewMenu& menu, const CFavoriteNode& node, CImageList* images);
    // The popup of a folder (its open-all item and content); false when the
    // index names no folder.
    bool BuildFavoriteFolderMenu(CNewMenu& menu, int flatIndex);
    void ShowFavoriteFolderMenu(int flatIndex, int x, int y);
    // The links bar's buttons from the Links folder (the root when it has
    // none).
    virtual void BuildFavoriteIcons();
    CString GetLinksFolderPath() const;
    // A folder button's drop-down: the folder's popup under the button.
    void OnLinksDropDown(NMHDR* pNMHDR, LRESULT* pResult);
    // A shortcut's URL as a favorite opens it: a script URL in the active
    // page, else by the new-group and new-tab settings.
    void OpenFavoriteUrl(const CString& url, const CString& groupName);
    // Every shortcut directly in the folder as one run of tabs.
    void OpenFavoriteFolder(const CFavoriteNode& folder);
    // After a rescan: the links bar, the menu and the pane follow the tree.
    void AfterFavoritesRebuilt();
    // The favorites pane shows the new tree (nothing while there is none).
    virtual void RefillFavoritesPane();
    // The favorites docking bar, made and docked on the left when first
    // asked for; its tree pane, filled from the favorites read, becomes
    // m_pFavoritesPane.
    bool CreateFavoritesBar();
    static constexpr UINT kFavoritesBarId = 0xE830;
    CFavoritesBar m_wndFavoritesBar;
    // The tree pane while one shows (owned by the window that hosts it).
    CDlgFavTree* m_pFavoritesPane = nullptr;
    int m_favMenuLeadingItems = 0;  // 1 when the menu starts with open-all

    // Search engines: "SearchEngine.dat", from the default list when missing.
    void LoadSearchEngines();
    // The URL of a search for keyword with an engine's URL template.
    CString BuildSearchUrl(const CString& keyword, const CString& urlTemplate) const;
    // Searches keyword with one engine; reverse swaps the new-group choice.
    void SearchWithEngine(const CString& keyword, CSearchEngineNode* engine, BOOL reverse);
    // The page context menu's selected text, searched by the next search
    // command (30001 + n) instead of the search box's text.
    void SetPendingSearchKeyword(const CString& text);
    // Files dropped on the window (a DROPFILES block; the sender frees it):
    // URLs and Internet shortcuts open as tabs of the group under the cursor.
    void OnDropFiles(HDROP hDrop);
    // Text dropped on a page in a drag direction (role bit 2, 4, 8 or 16);
    // false when no engine searched it.
    bool OnDropText(const CString& text, int roleBit);
    // The search box of the search bar; until the bar exists there is none.
    virtual BOOL GetSearchBoxText(CString& text);
    virtual void AddSearchBoxHistory(const CString& text);
    virtual void FocusSearchBox();
    // The screen rectangle of the search bar's run-search button.
    virtual BOOL GetSearchButtonRect(RECT& rect);
    // The search engines' drop-down menu, filled from the tree.
    void BuildSearchEngineMenu(CNewMenu& menu);
    // What the engines' menu items show, from the settings and string files.
    SearchEngineMenuTexts GetSearchEngineMenuTexts() const;

    CFavoriteTree m_favorites;
    BOOL m_favIEOrder = FALSE;         // bIEOrder at the last scan or load
    // The favorites were reloaded after the cache was read or last
    // written: the exit writes it again.
    bool m_favReloaded = false;
    CSearchEngineTree m_searchEngines; // held here until the search bar holds it

    // The drop-down menu of a main-toolbar button, ready to track (the
    // caller destroys it); null for buttons without one here.
    HMENU BuildToolbarDropDown(int buttonId, HMENU* pOwnerMenu);
    // Title or address of the tab at an index of the current group; the
    // text is left as it is when there is no such tab.
    void GetTabTitleAt(int index, CString& text) const;
    void GetTabUrlAt(int index, CString& text) const;
    // Shows or hides a bar now (and lays out) or at the next idle time; a
    // floating bar's frame goes with it.
    void ShowBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);
    // The normal place of the active tab's frame or of the main window.
    void SetActiveTabPlacement(const RECT& rect);
    void SetFramePlacement(const RECT& rect);
    // Calls a page's script function with string arguments (passed last
    // first); 1 on success, 0 otherwise.
    int CallPageScript(LPCTSTR name, const CStringArray& args, IDispatch* pScript);
    //--- Bars (MainFrameBars.cpp)
    // The rebar's bands, the saved band layout and button order applied.
    BOOL CreateReBarBands();
    // The button order of "toolbar.dat2" (at most 2047 bytes), else the
    // default order of the string file.
    CString ReadToolBarOrder() const;
    // Writes the band layout to the settings and the button order to
    // "toolbar.dat2" (only when there is one).
    void SaveBarState();

    CSizableReBar m_wndReBar;
    CAddressCombo m_wndAddress;
    CMainToolBar m_wndToolBar;
    CSearchBar m_wndSearchBar{&m_searchEngines};
    CLinksBar m_wndLinksBar;
    HBITMAP m_hReBarBack = nullptr;  // the bands' background, kept for the rebar's life
    HWND m_hFocusMemory = nullptr;   // the focus when the window was deactivated
    CStatusBarXP m_wndStatusBar;
    int m_progressValue = -1;  // the last progress; negative: none shown
    CWnd m_wndMDIClient;
    CWnd m_menuWindowHook;  // the page's document window while its engine menu shows
    CImageList m_smallIcons;
    HWND m_hWndNextViewer = nullptr;
    DWORD m_stateWord = kStatePlacementPending | kStateReserved10 | kStateCaptionPinned;
    BYTE m_exitDone = 0;
    UINT_PTR m_autosaveTimer = 0;

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnClose();
    void OnDestroy();
    LRESULT OnNcActivateMessage(WPARAM wParam, LPARAM lParam);
    void OnTimer(UINT_PTR nIDEvent);
    BOOL OnQueryEndSession();
    void OnEndSession(BOOL bEnding);
    BOOL OnCopyData(CWnd* pWnd, COPYDATASTRUCT* pCopyData);
    void OnDrawClipboard();
    void OnChangeCbChain(HWND hWndRemove, HWND hWndAfter);
    LRESULT OnOpenCommandLine(WPARAM wParam, LPARAM lParam);
    void OnStartupIdle();
    void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    void OnProxySystem();
    void OnProxyDirect();
    void OnProxyUseList();
    void OnSelectProxy(UINT nID);
    void OnProxySettings();
    void OnUpdateProxySystem(CCmdUI* pCmdUI);
    void OnUpdateProxyDirect(CCmdUI* pCmdUI);
    void OnUpdateProxyUse(CCmdUI* pCmdUI);
    void OnUpdateProxyEntry(CCmdUI* pCmdUI);
    void OnNewGroupTab();
    void OnGroupTemplate(UINT nID);
    void OnEditGroupTemplates();
    void OnGroupTabSwitches();
    void OnCustomizeGroup();
    void OnRenameGroup();
    void OnPickGroupImage();
    void OnGroupImage(UINT nID);
    void OnUpdateGroupTabCommand(CCmdUI* pCmdUI);
    void OnFavoriteItem(UINT nID);
    void OnFavoriteFolder(UINT nID);
    void OnUpdateFavoriteFolder(CCmdUI* pCmdUI);
    void OnAddFavorite();
    void OnOrganizeFavorites();
    void OnReloadFavorites();
    void OnRunPlugIn(UINT nID);
    void OnRunScript(UINT nID);
    void OnUpdatePlugIn(CCmdUI* pCmdUI);
    void OnUpdateScript(CCmdUI* pCmdUI);
    void OnKeepEnabled(UINT nID);
    void OnReopenClosedTab(UINT nID);
    void OnGroupTabMenu();
    void OnFullScreen();
    void OnWindowToTray();
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnShowWindow(BOOL bShow, UINT nStatus);
    LRESULT OnTaskbarCreated(WPARAM wParam, LPARAM lParam);
    void OnFrameOpenCommand(UINT nID);
    void OnBrowserCommand(UINT nID);
    void OnEditCommand(UINT nID);
    void OnCloseTabsCommand(UINT nID);
    void OnExploreFavorites();
    void OnOpenLocation();
    void OnCatalogSettings(UINT nID);
    void OnViewSelectionSource();
    void OnPageCommand(UINT nID);
    void OnBackHistoryMenu() { ShowHistoryMenu(true); }
    void OnForwardHistoryMenu() { ShowHistoryMenu(false); }
    void OnGroupsCommand(UINT nID);
    LRESULT OnFrameMessage(UINT nMsg, WPARAM wParam, LPARAM lParam);
    LRESULT OnShowMenu(WPARAM wParam, LPARAM lParam);
    BOOL OnWndMsg(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void OnSearchEngine(UINT nID);
    void OnRunSearch();
    void OnReloadSearchEngines();
    // Writes the engines to their file; a failed write is told.
    void SaveSearchEngines();
    // Tells the user that a file of the program folder could not be written.
    void TellNotSaved(const CString& path, DWORD error);
    void OnSearchEngineMenu();
    // Settings (MainFrameSettings.cpp): the dialog, then what changed is
    // rebuilt from the saved record.
    void OnSettings();
    // What a settings dialog changed since before takes effect: bars, menus,
    // the tray icon, the popup, the proxy and the key and gesture maps.
    void ApplySettingsChanges(const SettingsRecord& before);
    void OnSearchBarDropDown(NMHDR* pNMHDR, LRESULT* pResult);
    // A tab column's scroll bar moved: the column follows.
    void OnVScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar);
    void OnGroupPrev();
    void OnGroupNext();
    void OnResetBands();
    void OnLockBars();
    void OnUpdateLockBars(CCmdUI* pCmdUI);
    void OnToggleBand(UINT nID);
    void OnUpdateToggleBand(CCmdUI* pCmdUI);
    // Command 36466: the search bar's band, shown or hidden; its item is
    // checked while the band shows.
    void OnToggleSearchBar();
    void OnUpdateToggleSearchBar(CCmdUI* pCmdUI);
    void OnFocusAddress();
    void OnFocusSearch();
    void OnGo();
    LRESULT OnDropFilesMessage(WPARAM wParam, LPARAM lParam);
    void OnToolbarDropDown(NMHDR* pNMHDR, LRESULT* pResult);
    BOOL OnEraseBkgnd(HDC hdc);
    void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    // The wheel over a tab bar: the next or previous tab or group, or the
    // bar scrolls, by the settings.
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    void OnToggleStatusBar();
    void OnUpdateStatusBarCommand(CCmdUI* pCmdUI);
    void OnToggleFavoritesPane();
    void OnUpdateFavoritesPane(CCmdUI* pCmdUI);
    void OnToggleClickOpen();
    void OnUpdateClickOpen(CCmdUI* pCmdUI);
    void OnFindDispatch();
    // Tab commands need a tab in the current group.
    void OnUpdateTabCommand(CCmdUI* pCmdUI);

    DECLARE_MESSAGE_MAP()

private:
    void AfterCreate();
    void ApplyStartupProxy();
    void SetProxyFlags(ProxyMode mode);
    UINT FavoriteColumnFlag(CNewMenu& menu) const;
    void AppendOpenAllItem(CNewMenu& menu, const CFavoriteNode& folder);
    void MakeFavoriteMenuImages(CImageList& images) const;
    // Runs a group dialog export on the current group; on OK its text
    // becomes the group's caption template. bWritesGroup: the dialog writes
    // into the group itself, which it does only while the group is still
    // the current one.
    void RunGroupExport(LPCSTR exportName, bool bWritesGroup);
    void BringToForeground();
    void OpenHandedOverText(const CString& text);
    BOOL CreateTabBars();
    bool IsPageBarReady() const;
    bool IsGroupBarReady() const;
    void AddGroupToBar(CTabGroup* group);
    void UpdateGroupCaption(CTabGroup* group);
    int ChooseInsertIndex(CTabItem* tab, bool* pInsert);
    CTabItem* FindReferenceTab(CTabGroup* group);
    void ActivateAfterClose(CTabGroup* group, CTabItem* closed, CTabItem* before, CTabItem* after);
    void ActivateTabWindow(HWND hTab);
    void CloseTabsOf(CTabGroup* group);
    void DeleteGroup(CTabGroup* group);
    void AfterLastGroupClosed();
    // Private messages
    LRESULT ReplyText(const CString& text);
    CTabItem* TabFromMessagePointer(LPARAM lParam) const;
    CTabItem* TabAtInCurrentGroup(LPARAM index) const;
    LRESULT OpenUrlByMessage(CTabGroup* group, LPCTSTR url, WORD loadFlags, BOOL bNewGroup);
    LRESULT NavigateActiveByMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnComboMessage(UINT nMsg, CWnd* pCombo);
    // Dropped text: a URL opens in a tab (of the group under the cursor),
    // other text is searched unless the drop mode is 0; false when nothing
    // opened.
    bool OpenDroppedText(const CString& text, int mode);
    LRESULT TabQuery(UINT nMsg, WPARAM wParam, LPARAM lParam);
    LRESULT GroupQuery(UINT nMsg, WPARAM wParam, LPARAM lParam);
    // Writes the favorites cache (when on) and the search-engine list.
    void SaveListsOnExit();
    // The work of SaveOnExit after its once-only mark.
    void WriteOnExit();
    void RefreshFavoritesCache();
    [[nodiscard]] bool SaveFavoritesCache(const CFavoriteTree& tree);
    FavoritesScanPlaces GetFavoritesPlaces() const;
    void OpenInCurrentGroup(const CString& text);
    // Out of the clipboard-viewer chain, and the tray icon removed.
    void LeaveShellLinks();
    void HideBarForFullScreen(CTabBarCtrl* bar, DWORD stateBit);
    void HideBandForFullScreen(UINT controlId, DWORD stateBit);
    void RestoreBandAfterFullScreen(UINT controlId, DWORD stateBit);
    // The tab bar the tab button may be laid over for a mouse message to
    // the window, by the settings; null for any other window.
    CTabBarCtrl* TabButtonBarOf(HWND hWnd) const;
    void RestoreBarAfterFullScreen(CTabBarCtrl* bar, DWORD stateBit);
    void AfterTabBarRecreated(CTabBarCtrl* bar);
    BOOL PreTranslateMouse(MSG* pMsg);
    BOOL PreTranslateKey(MSG* pMsg);
    void FollowMouseWithFocus(const MSG* pMsg);
    // Tab sets
    void CollectTabSet(std::vector<TabSetFile::Group>& groups, bool withHistory) const;
    [[nodiscard]] bool WriteTabSet(LPCTSTR path, bool version3);
    void OpenTabSetGroups(const std::vector<TabSetFile::Group>& groups, bool withHistory);

    // While a frame exists, posted copies of its in-process messages are
    // dropped wherever this thread retrieves them (our pump or a nested
    // loop), before any window procedure sees them.
    class CPostedMessageFilter
    {
    public:
        CPostedMessageFilter();
        ~CPostedMessageFilter();
        CPostedMessageFilter(const CPostedMessageFilter&) = delete;
        CPostedMessageFilter& operator=(const CPostedMessageFilter&) = delete;
    };
    CPostedMessageFilter m_postedFilter;
};

// The frame's mark that a whole set of tabs is being opened
// (kStateOpeningTabSet), for the length of a scope; it ends with the scope,
// or with a fault that breaks the scope off.
class CTabSetMark
{
public:
    explicit CTabSetMark(CMainFrame& frame);
    CTabSetMark(const CTabSetMark&) = delete;
    CTabSetMark& operator=(const CTabSetMark&) = delete;

private:
    CFaultHold m_hold;
};

#endif // VA_APP_MAINFRAME_H
