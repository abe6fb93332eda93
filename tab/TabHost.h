// ITabHost: what a tab asks of the frame that holds it. The main frame
// implements it and hands itself to each tab's frame when it creates one;
// the view, its drop target and the windows that host local pages get it
// from their owner. A tab object without a host (a test, teardown) gets
// one that does nothing.
//
// Classes in this file: ITabHost, CNoTabHost.
#ifndef VA_TAB_TABHOST_H
#define VA_TAB_TABHOST_H

#include <windows.h>
#include <oaidl.h>

#include "framework/core/CString.h"
#include "lists/SearchEngineMenu.h"

class CBrowserView;
class CChildFrame;
class CNewMenu;
class CSearchEngineTree;
class CTabGroup;
class CTabItem;
class CWnd;
class SavedHistory;

class ITabHost
{
public:
    //--- The frame window: parent of the tabs, target of posted commands
    virtual HWND GetFrameWindow() const = 0;

    //--- The status bar's text and progress (negative hides it)
    virtual void SetStatusText(LPCTSTR text) = 0;
    virtual void SetStatusProgress(int percent) = 0;

    //--- The active tab's frame and view
    virtual CBrowserView* GetActiveTabView() const = 0;
    virtual void SetActiveTabView(CBrowserView* view) = 0;
    virtual void SetActiveTabFrame(CChildFrame* frame) = 0;

    //--- Address and search bars, and the page menu's keyword
    virtual void UpdateAddressBar(HWND hTab, LPCTSTR url) = 0;
    virtual BOOL GetSearchBoxText(CString& text) = 0;
    virtual const CSearchEngineTree& GetSearchEngines() const = 0;
    virtual SearchEngineMenuTexts GetSearchEngineMenuTexts() const = 0;
    virtual void SetPageMenuKeyword(const CString& text) = 0;
    // Whether the next search command searches that keyword.
    virtual void SetKeywordSearchPending(bool pending) = 0;

    //--- A tab's image and state on the tab bar
    virtual void UpdateTabImage(CTabItem* tab, BOOL bIconOnly) = 0;
    virtual void RefreshTabState(CTabItem* tab) = 0;
    virtual bool IsOpeningTabSet() const = 0;

    //--- A tab's life in the frame
    virtual CChildFrame* CreateTabFrame() = 0;
    virtual void InsertNewTab(CTabItem* tab) = 0;
    virtual void OnTabActivated(CTabItem* tab) = 0;
    virtual void OnTabClosed(CTabItem* tab) = 0;
    virtual void AddClosedTabToMenu(CTabItem* tab) = 0;
    virtual void ForgetTab(CTabItem* tab) = 0;
    virtual void ForgetTabFrame(CChildFrame* frame) = 0;
    virtual bool IsShuttingDown() const = 0;

    //--- Groups
    virtual CTabGroup* GetActiveGroup() const = 0;
    virtual int GetGroupTabCount(const CTabGroup* group) const = 0;
    virtual bool IsGroupListed(const CTabGroup* group) const = 0;
    virtual CTabItem* FindTabById(HWND hTab) const = 0;
    virtual CTabGroup* CreateEmptyGroup() = 0;
    virtual CTabGroup* CreateDefaultGroup(LPCTSTR name) = 0;
    virtual void CloseGroup(CTabGroup* group) = 0;

    //--- Opening a URL in a tab or a group
    virtual CTabGroup* OpenUrl(CTabGroup* group, LPCTSTR url, WORD reason) = 0;
    virtual CTabGroup* OpenUrlInNewGroup(LPCTSTR url, WORD reason, DWORD loadFlags) = 0;
    virtual void OpenUrlWithHistory(CTabGroup* group, LPCTSTR url, const SavedHistory* back,
                                    const SavedHistory* forward, WORD reason, DWORD loadFlags) = 0;
    // The page tab bar stays hidden for holder while the tab opens, unless
    // another holder has it already.
    virtual void OpenUrlHoldingTabBar(CWnd* holder, CTabGroup* group, LPCTSTR url, WORD reason) = 0;
    virtual BOOL OpenShortcut(LPCTSTR url, LPCTSTR sourcePage) = 0;
    virtual bool IsOwnFavoritePage(const CString& page) const = 0;

    //--- Closing and switching tabs
    virtual void CloseCTabItem(CTabItem* tab) = 0;
    virtual void CloseTabsBeside() = 0;
    virtual void ActivatePrevTab(CTabItem* tab) = 0;
    virtual void ActivateNextTab(CTabItem* tab) = 0;

    //--- The tab menu and the catalog submenus of the page menu
    virtual void TrackTabMenu(POINT at) = 0;
    virtual void FillPlugInMenu(CNewMenu& menu) = 0;
    virtual void FillScriptMenu(CNewMenu& menu) = 0;

    //--- The find-in-pages popup
    virtual void ShowTextSearchPopup() = 0;
    virtual HWND GetTextSearchPopupWindow() const = 0;

    //--- window.external of pages and user scripts
    virtual IDispatch* GetScriptObject() = 0;

    //--- Key and gesture bindings
    virtual CString FormatKey(UINT vk) const = 0;
    virtual BOOL ExecuteKeyBinding(const CString& text, MSG* pMsg) = 0;
    virtual void ExecuteGesture(const CString& gesture) = 0;

    //--- The page under the cursor
    virtual BOOL GetBrowserWindowAtCursor(HWND focus) = 0;
    virtual void RememberCursorPos() = 0;

    //--- Memory and the recovery file
    virtual void TrimWorkingSet(BOOL bForce) = 0;
    virtual void SaveTabSet(LPCTSTR path) = 0;

protected:
    ~ITabHost() = default;
};

// A host without a frame: nothing is shown, opened or found.
class CNoTabHost : public ITabHost
{
public:
    HWND GetFrameWindow() const override { return nullptr; }
    void SetStatusText(LPCTSTR) override {}
    void SetStatusProgress(int) override {}
    CBrowserView* GetActiveTabView() const override { return nullptr; }
    void SetActiveTabView(CBrowserView*) override {}
    void SetActiveTabFrame(CChildFrame*) override {}
    void UpdateAddressBar(HWND, LPCTSTR) override {}
    BOOL GetSearchBoxText(CString&) override { return FALSE; }
    const CSearchEngineTree& GetSearchEngines() const override;
    SearchEngineMenuTexts GetSearchEngineMenuTexts() const override { return {}; }
    void SetPageMenuKeyword(const CString&) override {}
    void SetKeywordSearchPending(bool) override {}
    void UpdateTabImage(CTabItem*, BOOL) override {}
    void RefreshTabState(CTabItem*) override {}
    bool IsOpeningTabSet() const override { return false; }
    CChildFrame* CreateTabFrame() override { return nullptr; }
    void InsertNewTab(CTabItem*) override {}
    void OnTabActivated(CTabItem*) override {}
    void OnTabClosed(CTabItem*) override {}
    void AddClosedTabToMenu(CTabItem*) override {}
    void ForgetTab(CTabItem*) override {}
    void ForgetTabFrame(CChildFrame*) override {}
    bool IsShuttingDown() const override { return false; }
    CTabGroup* GetActiveGroup() const override { return nullptr; }
    int GetGroupTabCount(const CTabGroup*) const override { return 0; }
    bool IsGroupListed(const CTabGroup*) const override { return false; }
    CTabItem* FindTabById(HWND) const override { return nullptr; }
    CTabGroup* CreateEmptyGroup() override { return nullptr; }
    CTabGroup* CreateDefaultGroup(LPCTSTR) override { return nullptr; }
    void CloseGroup(CTabGroup*) override {}
    CTabGroup* OpenUrl(CTabGroup*, LPCTSTR, WORD) override { return nullptr; }
    CTabGroup* OpenUrlInNewGroup(LPCTSTR, WORD, DWORD) override { return nullptr; }
    void OpenUrlWithHistory(CTabGroup*, LPCTSTR, const SavedHistory*, const SavedHistory*, WORD,
                            DWORD) override {}
    void OpenUrlHoldingTabBar(CWnd*, CTabGroup*, LPCTSTR, WORD) override {}
    BOOL OpenShortcut(LPCTSTR, LPCTSTR) override { return FALSE; }
    bool IsOwnFavoritePage(const CString&) const override { return false; }
    void CloseCTabItem(CTabItem*) override {}
    void CloseTabsBeside() override {}
    void ActivatePrevTab(CTabItem*) override {}
    void ActivateNextTab(CTabItem*) override {}
    void TrackTabMenu(POINT) override {}
    void FillPlugInMenu(CNewMenu&) override {}
    void FillScriptMenu(CNewMenu&) override {}
    void ShowTextSearchPopup() override {}
    HWND GetTextSearchPopupWindow() const override { return nullptr; }
    IDispatch* GetScriptObject() override { return nullptr; }
    CString FormatKey(UINT) const override { return CString(); }
    BOOL ExecuteKeyBinding(const CString&, MSG*) override { return FALSE; }
    void ExecuteGesture(const CString&) override {}
    BOOL GetBrowserWindowAtCursor(HWND) override { return FALSE; }
    void RememberCursorPos() override {}
    void TrimWorkingSet(BOOL) override {}
    void SaveTabSet(LPCTSTR) override {}
};

// The host of a window: the first window up its parent and owner chain
// that is one, else the application's main window when it is one; null
// when there is none.
ITabHost* FindTabHost(HWND hWnd);

// The host an object was handed; without one, that of its window (see
// FindTabHost); without either, a CNoTabHost.
ITabHost& TabHostOr(ITabHost* handed, HWND hWnd = nullptr);

#endif // VA_TAB_TABHOST_H
