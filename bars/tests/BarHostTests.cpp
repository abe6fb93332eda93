// The tab bars, the tab button, the window list and the favorites bar with a
// stand-in of the frame: what each asks of its host, and that a bar without
// a host stays safe.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bars/DlgWndMng.h"
#include "bars/GroupTabBar.h"
#include "bars/PageTabBar.h"
#include "bars/SizingControlBar.h"
#include "bars/TabCloseButton.h"
#include "bars/tests/BarFixture.h"
#include "shared/AppSettings.h"
#include "tab/TabGroup.h"
#include "tab/TabItem.h"

namespace {

using Log = std::vector<std::string>;

class BarHostTest : public BarTest
{
public:
    using BarTest::m_hFrame;

    void SetUp() override
    {
        BarTest::SetUp();
        const char* names[] = {"a", "b", "c"};
        for (int i = 0; i < 3; ++i)
        {
            m_tabs[i].m_title = names[i];
            m_tabs[i].m_url = CString("http://") + names[i] + ".example/";
            m_tabs[i].m_pGroup = &m_first;
            m_first.m_tabs.push_back(&m_tabs[i]);
        }
        m_first.m_caption = "one";
        m_second.m_caption = "two";
        m_host.m_groups = {&m_first, &m_second};
        m_host.m_active = &m_first;
        m_groups.m_pHost = &m_host;
        m_pages.m_pHost = &m_host;
        m_host.m_groupBar = &m_groups;
        m_host.m_pageBar = &m_pages;
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
    m_host.TakeLog();

    struct Case
    {
        const char* what;
        void (*act)(BarHostTest&);
        Log log;
    };
    const Case cases[] = {
        {"group click", [](BarHostTest& t) { t.Drag(t.m_groups, Center(t.m_groups, 1), Center(t.m_groups, 1)); },
         {"ActivateGroup 1"}},
        {"group closed by its click action",
         [](BarHostTest& t) {
             AppSettings().iTabmouseR_P = 2;
             CPoint at = Center(t.m_groups, 1);
             t.m_groups.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(at.x, at.y));
         },
         {"CloseGroup 1"}},
        {"group dragged to the end",
         [](BarHostTest& t) { t.Drag(t.m_groups, Center(t.m_groups, 0), BesideLast(t.m_groups, 10)); },
         {"ActivateGroup 0", "MoveGroupInList 0 1"}},
        {"group dropped farther (the bar moved its item: the first group is second now)",
         [](BarHostTest& t) { t.Drag(t.m_groups, Center(t.m_groups, 1), BesideLast(t.m_groups, 40)); },
         {"ActivateGroup 0", "DuplicateGroup 0"}},
        {"page dropped clear of the tabs",
         [](BarHostTest& t) { t.Drag(t.m_pages, Center(t.m_pages, 1), BesideLast(t.m_pages, 60)); },
         {"OpenUrl http://b.example/ 0"}},
        {"script page dropped clear of the tabs",
         [](BarHostTest& t) {
             t.m_tabs[0].m_url = "javascript:void(0)";
             t.Drag(t.m_pages, Center(t.m_pages, 0), BesideLast(t.m_pages, 60));
         },
         {}},
        {"frame's right click beside the page tabs",
         [](BarHostTest& t) {
             MSG click = {t.m_hFrame, WM_RBUTTONDOWN, 0, 0, 0, {0, 0}};
             EXPECT_TRUE(t.m_pages.OnParentClick(&click));
         },
         {"TrackTabContextMenu"}},
    };
    for (const Case& c : cases)
    {
        c.act(*this);
        EXPECT_EQ(c.log, m_host.TakeLog()) << c.what;
    }
}

TEST_F(BarHostTest, TheTabButtonClosesAListedPageOrAGroupThroughTheHost)
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
    m_first.m_tabs.pop_back();  // c has left its group: not closed again
    EXPECT_EQ(1, button.OnClick(pressOn(m_pages, 2, 3)));
    EXPECT_EQ(1, button.OnClick(pressOn(m_groups, 1, 20)));
    EXPECT_EQ(Log({"CloseTab b", "CloseGroup 1"}), m_host.TakeLog());
    button.m_pHost = nullptr;
    EXPECT_EQ(0, button.OnClick(pressOn(m_pages, 0, 3)));
}

TEST_F(BarHostTest, TheWindowListShowsTheHostsGroupAndActivatesItsChoiceThroughIt)
{
    CDlgWndMng list;
    ASSERT_TRUE(list.Create(CDlgWndMng::kTemplateId, m_pFrame));
    EXPECT_FALSE(list.FillTabs(nullptr));  // no host: nothing to list
    list.m_pHost = &m_host;
    ASSERT_TRUE(list.FillTabs(&m_first));
    EXPECT_EQ(3, list.GetList().GetItemCount());
    m_host.m_active = &m_second;
    list.GetList().SetCurSel(2);
    list.ActivateSelection();
    EXPECT_EQ(Log({"ActivateGroup 0"}), m_host.TakeLog());
}

TEST_F(BarHostTest, BarsWithoutAHostStaySafe)
{
    CGroupTabBar groups;
    CPageTabBar pages;
    ASSERT_TRUE(groups.Create(m_pFrame, 0, 1));
    ASSERT_TRUE(pages.Create(m_pFrame, 0, 1));
    groups.RebuildFromGroupList();
    pages.RebuildFromActiveGroup();
    EXPECT_EQ(0, groups.GetItemCount());
    groups.AddGroup(&m_first, true);
    groups.SelectNextGroup();
    groups.DuplicateGroup(&m_first);
    MSG click = {m_hFrame, WM_RBUTTONDOWN, 0, 0, 0, {0, 0}};
    EXPECT_FALSE(pages.OnParentClick(&click));
    CPoint at = Center(groups, 0);
    groups.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(at.x, at.y));
    EXPECT_EQ(1, groups.GetItemCount());
    EXPECT_TRUE(m_host.TakeLog().empty());
}

// The pane the program makes, filled each time the bar shows (the pane
// itself fills once).
class CountingTreePane : public CFavoritesTreePane
{
public:
    explicit CountingTreePane(CWnd* pParent) : CFavoritesTreePane(CFavoritesBar::kTreeDialogId, pParent) {}
    void Fill() override { ++m_fills; }
    int m_fills = 0;
};

TEST_F(BarTest, TheFavoritesBarHostsTheTreePaneItsMakerGivesAndFillsItWhenShown)
{
    AppSettings().iDocFavMode = 1;
    CFavoritesBar bar;
    bar.m_makeTreePane = [](CWnd* pBar) -> std::unique_ptr<CFavoritesTreePane> {
        return std::make_unique<CountingTreePane>(pBar);
    };
    ASSERT_TRUE(bar.Create("F", m_pFrame, CSize(150, 300), 0xE833, WS_CHILD | CBRS_ALIGN_LEFT));
    auto* pane = static_cast<CountingTreePane*>(bar.GetTreePane());
    ASSERT_NE(nullptr, pane);
    EXPECT_EQ(bar.m_hWnd, ::GetParent(pane->m_hWnd));
    EXPECT_EQ(0, pane->m_fills);  // hidden: nothing filled yet
    bar.ShowWindow(SW_SHOW);
    EXPECT_GE(pane->m_fills, 1);

    CFavoritesBar plain;
    ASSERT_TRUE(plain.Create("G", m_pFrame, CSize(150, 300), 0xE834));
    EXPECT_EQ(nullptr, plain.GetTreePane());
    EXPECT_EQ(nullptr, ::GetWindow(plain.m_hWnd, GW_CHILD));
}

} // namespace
