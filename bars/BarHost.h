// What the bars need of the frame that owns them: its list of tab groups,
// its tabs and a few of its operations. The frame hands its host to each bar
// as it makes it; a bar without a host (a test's, or one that outlives its
// frame) does nothing that needs the frame.
//
// Classes in this file:
//   IBarHost   the frame's side of the tab bars, the tab button, the window
//              list and the address and search boxes
#ifndef VA_BARS_BARHOST_H
#define VA_BARS_BARHOST_H

#include <windows.h>

class CGroupTabBar;
class CPageTabBar;
class CString;
class CTabGroup;
class CTabItem;

//--- IBarHost
class IBarHost
{
public:
    //--- The group list, in the order of the group tabs
    virtual int GetGroupCount() const = 0;
    // Null outside the list.
    virtual CTabGroup* GetGroupAt(int index) const = 0;
    // -1 for a group not listed.
    virtual int GetGroupIndex(const CTabGroup* group) const = 0;
    // The group whose pages show; null without groups.
    virtual CTabGroup* GetActiveGroup() const = 0;
    // Records the group as current without showing its pages.
    virtual void SetCurrentGroup(CTabGroup* group) = 0;
    virtual bool IsGroupListed(const CTabGroup* group) const = 0;
    // The tab is still in a group (it may have closed while a bar held it).
    virtual bool IsTabListed(const CTabItem* tab) const = 0;
    // Moves a listed group to position to of the list.
    virtual void MoveGroupInList(CTabGroup* group, int to) = 0;

    //--- Group operations
    virtual void ActivateGroup(CTabGroup* group) = 0;
    virtual void CloseGroup(CTabGroup* group) = 0;
    // A copy of the group with all its pages, made current.
    virtual void DuplicateGroup(CTabGroup* group) = 0;
    // A new group with the default options, named name.
    virtual CTabGroup* CreateDefaultGroup(LPCTSTR name) = 0;
    virtual void MoveTabToGroup(CTabItem* tab, CTabGroup* target) = 0;
    // The page tab bar shows the group's pages.
    virtual void FillTabBar(CTabGroup* group) = 0;
    // The window list beside the group's tab; FALSE when it did not show.
    virtual BOOL ShowGroupTabPopup(CTabGroup* group, int index) = 0;

    //--- Tabs
    // The active tab, while its window lives; else null.
    virtual CTabItem* GetActiveTab() const = 0;
    // A tab frame is active (its window may be on its way out).
    virtual bool HasActiveTabFrame() const = 0;
    virtual void CloseTab(CTabItem* tab) = 0;
    // The address of the page at index of the active group; url is left as
    // it is when there is none.
    virtual void GetTabUrlAt(int index, CString& url) const = 0;
    // Opens the address in a new tab of the group (null: the current one).
    virtual void OpenUrl(CTabGroup* group, LPCTSTR url, WORD reason) = 0;
    // The active page takes the keyboard.
    virtual void FocusActivePage() = 0;
    // The tab context menu of the active tab, at the cursor.
    virtual void TrackTabContextMenu() = 0;
    // Hides the button laid over the tab under the mouse.
    virtual void HideTabButton() = 0;

    //--- The frame's windows
    virtual CGroupTabBar* GetGroupTabBar() const = 0;
    virtual CPageTabBar* GetPageTabBar() const = 0;
    // The MDI client holding the tabs' frames.
    virtual HWND GetMdiClient() const = 0;

protected:
    ~IBarHost() = default;
};

#endif // VA_BARS_BARHOST_H
