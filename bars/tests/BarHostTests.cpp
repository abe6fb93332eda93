// The tab bars, the tab button and the window list with a stand-in of the
// frame: what each asks of its host, and that a bar without one stays safe.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bars/BarHost.h"
#include "bars/DlgWndMng.h"
#include "bars/GroupTabBar.h"
#include "bars/PageTabBar.h"
#include "bars/TabCloseButton.h"
#include "tests/support/PlainFrameFixture.h"
#include "tab/TabGroup.h"
#include "tab/TabItem.h"

namespace {

using Log = std::vector<std::string>;

// Keeps the groups itself and logs what the bars ask of the frame: groups
// by their index in the list, tabs by their title.
class StandInHost : public IBarHost
{
public:
    int GetGroupCount() const override { return static_cast<int>(m_groups.size()); }
    CTabGroup* GetGroupAt(int i) const override { return i >= 0 && i < GetGroupCount() ? m_groups[i] : nullptr; }
    int GetGroupIndex(const CTabGroup* group) const override
    {
        auto it = std::find(m_groups.begin(), m_groups.end(), group);
        return it == m_groups.end() ? -1 : static_cast<int>(it - m_groups.begin());
    }
    CTabGroup* GetActiveGroup() const override { return m_active; }
    void SetCurrentGroup(CTabGroup* group) override { m_active = group; }
    bool IsGroupListed(const CTabGroup* group) const override { return GetGroupIndex(group) >= 0; }
    bool IsTabListed(const CTabItem* tab) const override { return tab->m_pGroup->IndexOf(tab) >= 0; }
    void MoveGroupInList(CTabGroup* group, int to) override { Note("MoveGroupInList", group, std::to_string(to)); }
    void ActivateGroup(CTabGroup* group) override { Note("ActivateGroup", group); }
    void CloseGroup(CTabGroup* group) override { Note("CloseGroup", group); }
    void DuplicateGroup(CTabGroup* group) override { Note("DuplicateGroup", group); }
    CTabGroup* CreateDefaultGroup(LPCTSTR) override { return nullptr; }
    void MoveTabToGroup(CTabItem*, CTabGroup*) override {}
    void FillTabBar(CTabGroup*) override {}
    BOOL ShowGroupTabPopup(CTabGroup*, int) override { return FALSE; }
    CTabItem* GetActiveTab() const override { return nullptr; }
    bool HasActiveTabFrame() const override { return true; }
    void CloseTab(CTabItem* tab) override { m_log.push_back("CloseTab " + std::string(tab->m_title)); }
    void GetTabUrlAt(int index, CString& url) const override { url = m_active->GetTab(index)->m_url; }
    void OpenUrl(CTabGroup* group, LPCTSTR url, WORD) override { Note("OpenUrl", group, url); }
    void FocusActivePage() override {}
    void TrackTabContextMenu() override { m_log.push_back("TrackTabContextMenu"); }
    void HideTabButton() override {}
    CGroupTabBar* GetGroupTabBar() const override { return m_groupBar; }
    CPageTabBar* GetPageTabBar() const override { return m_pageBar; }
    HWND GetMdiClient() const override { return nullptr; }

    Log TakeLog() { return std::move(m_log); }

    std::vector<CTabGroup*> m_groups;
    CTabGroup* m_active = nullptr;
    CGroupTabBar* m_groupBar = nullptr;
    CPageTabBar* m_pageBar = nullptr;

private:
    void Note(const char* what, const CTabGroup* group, const std::string& more = "")
    {
        m_log.push_back(std::string(what) + " " + std::to_string(GetGroupIndex(group)) + (more.empty() ? "" : " ") + more);
    }
    Log m_log;
};

// Two groups, the first current with pages a, b and c, on a frame with an
// MDI client; both tab bars at the top, filled from the host.
class BarHostTest : public PlainFrameTest
{
public:
    using PlainFrameTest::m_hFrame;

    void SetUp() override
    {
        PlainFrameTest::SetUp();
        CLIENTCREATESTRUCT client = {nullptr, 0xFF00};
        ::CreateWindowExA(0, "MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 600, 400, m_hFrame, nullptr,
                          ::GetModuleHandleA(nullptr), &client);
        for (int i = 0; i < 3; ++i)
        {
            m_tabs[i].m_title = std::string(1, static_cast<char>('a' + i)).c_str();
            m_tabs[i].m_url = "http://" + m_tabs[i].m_title + ".example/";
            m_tabs[i].m_pGroup = &m_first;
            m_first.m_tabs.push_back(&m_tabs[i]);
        }
        m_host.m_groups = {&m_first, &m_second};
        m_host.m_active = &m_first;
        m_host.m_groupBar = &m_groups;
        m_host.m_pageBar = &m_pages;
        m_groups.m_pHost = m_pages.m_pHost = &m_host;
        ASSERT_TRUE(m_groups.Create(m_pFrame, 0, 1));
        ASSERT_TRUE(m_pages.Create(m_pFrame, 0, 1));
        m_groups.RebuildFromGroupList();
        m_pages.RebuildFromActiveGroup();
        m_pFrame->RecalcLayout();
    }
    static CPoint Center(CTabBarCtrl& bar, int index)
    {
        CRect rc;
        bar.GetItemRect(index, &rc);
        return CPoint((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    }
    static CPoint BesideLast(CTabBarCtrl& bar, int dx)
    {
        CRect rc;
        bar.GetItemRect(bar.GetItemCount() - 1, &rc);
        return CPoint(rc.right + dx, rc.top + 3);
    }
    static void Drag(CWnd& bar, CPoint from, CPoint to)
    {
        bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
        bar.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
        bar.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    }

    StandInHost m_host;
    CTabGroup m_first, m_second;
    CTabItem m_tabs[3];
    CGroupTabBar m_groups;
    CPageTabBar m_pages;
};

TEST_F(BarHostTest, TheTabBarsShowTheHostsGroupsAndPagesAndActThroughIt)
{
    ASSERT_EQ(2, m_groups.GetItemCount());
    EXPECT_EQ(&m_second, m_groups.GetGroupAt(1));
    EXPECT_EQ(0, m_groups.GetCurSel());
    ASSERT_EQ(3, m_pages.GetItemCount());
    EXPECT_EQ(&m_tabs[2], m_pages.GetTabAt(2));

    struct Case
    {
        const char* what;
        void (*act)(BarHostTest&);
        Log log;
    };
    const Case cases[] = {
        {"group closed by its click action",
         [](BarHostTest& t) {
             AppSettings().iTabmouseR_P = 2;
             CPoint at = Center(t.m_groups, 1);
             t.m_groups.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(at.x, at.y));
         },
         {"CloseGroup 1"}},
        {"group dragged to the end",
         [](BarHostTest& t) { Drag(t.m_groups, Center(t.m_groups, 0), BesideLast(t.m_groups, 10)); },
         {"ActivateGroup 0", "MoveGroupInList 0 1"}},
        {"the first group (now the bar's second) dropped farther",
         [](BarHostTest& t) { Drag(t.m_groups, Center(t.m_groups, 1), BesideLast(t.m_groups, 40)); },
         {"ActivateGroup 0", "DuplicateGroup 0"}},
        {"page dropped clear of the tabs",
         [](BarHostTest& t) { Drag(t.m_pages, Center(t.m_pages, 1), BesideLast(t.m_pages, 60)); },
         {"OpenUrl 0 http://b.example/"}},
        {"the frame's right click beside the page tabs",
         [](BarHostTest& t) {
             MSG click = {t.m_hFrame, WM_RBUTTONDOWN, 0, 0, 0, {0, 0}};
             EXPECT_TRUE(t.m_pages.OnParentClick(&click));
         },
         {"TrackTabContextMenu"}},
    };
    for (const Case& c : cases)
    {
        m_host.TakeLog();
        c.act(*this);
        EXPECT_EQ(c.log, m_host.TakeLog()) << c.what;
    }
}

TEST_F(BarHostTest, TheTabButtonAndTheWindowListActThroughTheHostOnListedTabsOnly)
{
    CTabCloseButton button;
    button.m_pHost = &m_host;
    ASSERT_TRUE(button.Create(m_pFrame, 0xE900));
    auto pressOn = [](CTabBarCtrl& bar, int index, int dx) {
        CRect rc;
        bar.GetItemRect(index, &rc);
        return MSG{bar.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rc.left + dx, rc.top + 3), 0, {0, 0}};
    };
    EXPECT_EQ(1, button.OnClick(pressOn(m_pages, 1, 3)));
    EXPECT_EQ(1, button.OnClick(pressOn(m_groups, 1, 20)));
    m_first.m_tabs.pop_back();  // c has left its group: not closed again
    EXPECT_EQ(1, button.OnClick(pressOn(m_pages, 2, 3)));
    EXPECT_EQ(Log({"CloseTab b", "CloseGroup 1"}), m_host.TakeLog());

    CDlgWndMng list;
    list.m_pHost = &m_host;
    ASSERT_TRUE(list.Create(CDlgWndMng::kTemplateId, m_pFrame));
    ASSERT_TRUE(list.FillTabs(nullptr));
    EXPECT_EQ(2, list.GetList().GetItemCount());
    m_host.m_active = &m_second;
    list.ActivateSelection();
    EXPECT_EQ(Log({"ActivateGroup 0"}), m_host.TakeLog());
}

TEST_F(BarHostTest, BarsWithoutAHostDoNothingThatNeedsTheFrame)
{
    m_groups.m_pHost = m_pages.m_pHost = nullptr;
    m_groups.RebuildFromGroupList();
    m_pages.RebuildFromActiveGroup();
    EXPECT_EQ(0, m_groups.GetItemCount() + m_pages.GetItemCount());
    m_groups.AddGroup(&m_first, true);
    Drag(m_groups, Center(m_groups, 0), BesideLast(m_groups, 40));
    MSG click = {m_hFrame, WM_RBUTTONDOWN, 0, 0, 0, {0, 0}};
    EXPECT_FALSE(m_pages.OnParentClick(&click));
    EXPECT_EQ(0, CTabCloseButton().OnClick(click));
    CDlgWndMng list;
    ASSERT_TRUE(list.Create(CDlgWndMng::kTemplateId, m_pFrame));
    EXPECT_FALSE(list.FillTabs(&m_first));
    EXPECT_TRUE(m_host.TakeLog().empty());
}

} // namespace
