// The bars without the main frame: a plain frame window with an MDI client,
// in a test's own program folder, and a stand-in host that keeps a list of
// groups itself and logs what the bars ask of the frame.
#ifndef VA_BARS_TESTS_BARFIXTURE_H
#define VA_BARS_TESTS_BARFIXTURE_H

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "bars/BarHost.h"
#include "framework/frame/FrameWnd.h"
#include "tests/support/ProgramFolder.h"

//--- StandInBarHost
// Groups are named by their index in the list, tabs by their title: the log
// reads "ActivateGroup 1", "CloseTab b", "OpenUrl http://a.example/".
class StandInBarHost : public IBarHost
{
public:
    int GetGroupCount() const override { return static_cast<int>(m_groups.size()); }
    CTabGroup* GetGroupAt(int index) const override;
    int GetGroupIndex(const CTabGroup* group) const override;
    CTabGroup* GetActiveGroup() const override { return m_active; }
    void SetCurrentGroup(CTabGroup* group) override { m_active = group; }
    bool IsGroupListed(const CTabGroup* group) const override { return GetGroupIndex(group) >= 0; }
    bool IsTabListed(const CTabItem* tab) const override;
    void MoveGroupInList(CTabGroup* group, int to) override { Log("MoveGroupInList", group, to); }

    void ActivateGroup(CTabGroup* group) override { Log("ActivateGroup", group); }
    void CloseGroup(CTabGroup* group) override { Log("CloseGroup", group); }
    void DuplicateGroup(CTabGroup* group) override { Log("DuplicateGroup", group); }
    CTabGroup* CreateDefaultGroup(LPCTSTR name) override;
    void MoveTabToGroup(CTabItem* tab, CTabGroup* target) override;
    void FillTabBar(CTabGroup* group) override { Log("FillTabBar", group); }
    BOOL ShowGroupTabPopup(CTabGroup* group, int) override { Log("ShowGroupTabPopup", group); return FALSE; }

    CTabItem* GetActiveTab() const override { return nullptr; }
    bool HasActiveTabFrame() const override { return true; }
    void CloseTab(CTabItem* tab) override;
    void GetTabUrlAt(int index, CString& url) const override;
    void OpenUrl(CTabGroup* group, LPCTSTR url, WORD reason) override;
    void FocusActivePage() override { m_log.push_back("FocusActivePage"); }
    void TrackTabContextMenu() override { m_log.push_back("TrackTabContextMenu"); }
    void HideTabButton() override {}

    CGroupTabBar* GetGroupTabBar() const override { return m_groupBar; }
    CPageTabBar* GetPageTabBar() const override { return m_pageBar; }
    HWND GetMdiClient() const override { return m_hMdiClient; }

    // The log since the last call, emptied.
    std::vector<std::string> TakeLog();

    std::vector<CTabGroup*> m_groups;
    CTabGroup* m_active = nullptr;
    CGroupTabBar* m_groupBar = nullptr;
    CPageTabBar* m_pageBar = nullptr;
    HWND m_hMdiClient = nullptr;

private:
    void Log(const char* what, const CTabGroup* group, int to = -1);

    std::vector<std::string> m_log;
};

//--- BarTest
class BarTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    std::unique_ptr<ProgramFolder> m_folder;
    CFrameWnd* m_pFrame = nullptr;  // deletes itself with its window
    HWND m_hFrame = nullptr;
    StandInBarHost m_host;
};

#endif // VA_BARS_TESTS_BARFIXTURE_H
