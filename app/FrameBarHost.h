// The main frame's side of the bars: the group list of the application and
// the frame's group and tab operations, for the tab bars, the tab button,
// the window list and the address and search boxes.
//
// Classes in this file:
//   CFrameBarHost   IBarHost over one main frame
#ifndef VA_APP_FRAMEBARHOST_H
#define VA_APP_FRAMEBARHOST_H

#include "bars/BarHost.h"

class CMainFrame;

//--- CFrameBarHost
class CFrameBarHost : public IBarHost
{
public:
    explicit CFrameBarHost(CMainFrame& frame) : m_frame(frame) {}
    CFrameBarHost(const CFrameBarHost&) = delete;
    CFrameBarHost& operator=(const CFrameBarHost&) = delete;

    int GetGroupCount() const override;
    CTabGroup* GetGroupAt(int index) const override;
    int GetGroupIndex(const CTabGroup* group) const override;
    CTabGroup* GetActiveGroup() const override;
    void SetCurrentGroup(CTabGroup* group) override;
    bool IsGroupListed(const CTabGroup* group) const override;
    bool IsTabListed(const CTabItem* tab) const override;
    void MoveGroupInList(CTabGroup* group, int to) override;

    void ActivateGroup(CTabGroup* group) override;
    void CloseGroup(CTabGroup* group) override;
    void DuplicateGroup(CTabGroup* group) override;
    CTabGroup* CreateDefaultGroup(LPCTSTR name) override;
    void MoveTabToGroup(CTabItem* tab, CTabGroup* target) override;
    void FillTabBar(CTabGroup* group) override;
    BOOL ShowGroupTabPopup(CTabGroup* group, int index) override;

    CTabItem* GetActiveTab() const override;
    bool HasActiveTabFrame() const override;
    void CloseTab(CTabItem* tab) override;
    void GetTabUrlAt(int index, CString& url) const override;
    void OpenUrl(CTabGroup* group, LPCTSTR url, WORD reason) override;
    void FocusActivePage() override;
    void TrackTabContextMenu() override;
    void HideTabButton() override;

    CGroupTabBar* GetGroupTabBar() const override;
    CPageTabBar* GetPageTabBar() const override;
    HWND GetMdiClient() const override;

private:
    CMainFrame& m_frame;
};

#endif // VA_APP_FRAMEBARHOST_H
