// The page and group tab bars on the real main frame: drag zones, clicks,
// duplication, tooltips and the layout at each position.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/MainFrame.h"
#include "app/VantorelApp.h"
#include "bars/GroupTabBar.h"
#include "bars/PageTabBar.h"
#include "shared/AppData.h"
#include "shared/AppSettings.h"
#include "tab/BrowserView.h"
#include "tab/TabGroup.h"
#include "tab/TabItem.h"
#include "app/tests/TabFixture.h"
#include "tests/support/WindowCapture.h"

namespace {

class TabBarTest : public TabTest
{
protected:
    CPageTabBar& Pages() { return *m_frame->m_pPageTabBar; }
    CGroupTabBar& Groups() { return *m_frame->m_pGroupTabBar; }

    CRect ItemRect(CTabBarCtrl& bar, int index)
    {
        CRect rc;
        bar.GetItemRect(index, &rc);
        return rc;
    }
    static CPoint Center(const CRect& rc, int dy = 0)
    {
        return CPoint((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 + dy);
    }
    // Press, one move with the button down, release: a drag the way the
    // mouse makes it.
    static void Drag(CWnd& bar, CPoint from, CPoint to)
    {
        bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
        bar.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
        bar.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
        Pump();
    }
    // [A, B, C] in the current group.
    CTabGroup* OpenThree()
    {
        m_a = Open(nullptr, "http://a.example/");
        m_b = Open(nullptr, "http://b.example/");
        m_c = Open(nullptr, "http://c.example/");
        return theApp.GetActiveGroup();
    }
    void ExpectOrder(CTabGroup* group, std::vector<CTabItem*> order)
    {
        ASSERT_EQ(static_cast<int>(order.size()), Pages().GetItemCount());
        for (size_t i = 0; i < order.size(); ++i)
        {
            EXPECT_EQ(order[i], Pages().GetTabAt(static_cast<int>(i))) << "bar item " << i;
            EXPECT_EQ(order[i], group->GetTab(static_cast<int>(i))) << "list entry " << i;
        }
    }
    CRect ChildRect(HWND hChild) { return CRect(WindowRectIn(m_frame->m_hWnd, hChild)); }
    // The drop position dx pixels right of the last item, level with it.
    CPoint BesideLast(CTabBarCtrl& bar, int dx)
    {
        CRect last = ItemRect(bar, bar.GetItemCount() - 1);
        return CPoint(last.right + dx, last.top + 3);
    }

    CTabItem* m_a = nullptr;
    CTabItem* m_b = nullptr;
    CTabItem* m_c = nullptr;
};

TEST_F(TabBarTest, DraggingATabOntoAnotherPutsItJustBeforeIt)
{
    CTabGroup* group = OpenThree();
    CPoint from = Center(ItemRect(Pages(), 0));
    CPoint onto = Center(ItemRect(Pages(), 2), 3);
    Drag(Pages(), from, onto);
    ExpectOrder(group, {m_b, m_a, m_c});

    Drag(Pages(), Center(ItemRect(Pages(), 2)), Center(ItemRect(Pages(), 0), 3));
    ExpectOrder(group, {m_c, m_b, m_a});
}

TEST_F(TabBarTest, AMoveWithinOnePixelOnAnAxisIsNoDrag)
{
    CTabGroup* group = OpenThree();
    CPoint from = Center(ItemRect(Pages(), 0));
    CPoint onto = Center(ItemRect(Pages(), 2));
    onto.y = from.y + 1;  // purely sideways along the strip
    Drag(Pages(), from, onto);
    ExpectOrder(group, {m_a, m_b, m_c});
}

TEST_F(TabBarTest, DropBesideTheLastTabMovesItThereOrReopensItFarther)
{
    CTabGroup* group = OpenThree();
    CPoint from = Center(ItemRect(Pages(), 0));
    Drag(Pages(), from, BesideLast(Pages(), 29));
    ExpectOrder(group, {m_b, m_c, m_a});

    Drag(Pages(), Center(ItemRect(Pages(), 0)), BesideLast(Pages(), 30));
    ASSERT_EQ(4, group->GetTabCount());
    EXPECT_EQ(m_b, group->GetTab(0));  // the dragged page stays
    EXPECT_STREQ("http://b.example/", group->GetTab(3)->m_url);
}

TEST_F(TabBarTest, AScriptAddressIsNotReopenedByADropClearOfTheTabs)
{
    CTabGroup* group = OpenThree();
    m_a->m_url = "javascript:alert(1)";
    Drag(Pages(), Center(ItemRect(Pages(), 0)), BesideLast(Pages(), 60));
    EXPECT_EQ(3, group->GetTabCount());
}

TEST_F(TabBarTest, PressOffTheTabsNeverDragsAnEarlierPressedTab)
{
    CTabGroup* group = OpenThree();
    // A click on tab 0 first, then a press on the empty strip dragged onto tab 2.
    CPoint first = Center(ItemRect(Pages(), 0));
    Pages().SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(first.x, first.y));
    Pages().SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(first.x, first.y));
    Drag(Pages(), BesideLast(Pages(), 200), Center(ItemRect(Pages(), 2), 3));
    ExpectOrder(group, {m_a, m_b, m_c});
    EXPECT_EQ(nullptr, ::GetCapture());
}

TEST_F(TabBarTest, WithTheBarOffItemOperationsDoNothingAndItTakesNoRoom)
{
    OpenThree();
    AppSettings().bTabShow(false);
    Pages().DeleteAllItems();
    Pages().InsertPageItem(m_a, 0);
    EXPECT_EQ(0, Pages().GetItemCount());
    m_frame->RecalcLayout();
    EXPECT_FALSE(Pages().IsWindowVisible());
    CRect groups = ChildRect(Groups().m_hWnd);
    EXPECT_EQ(groups.bottom, ChildRect(m_frame->m_hWndMDIClient).top);
}

TEST_F(TabBarTest, OldStyleCaptionsShowAmpersandsAsThemselves)
{
    OpenThree();
    AppSettings().bOldStyle(true);
    m_a->m_title = "R&D";
    Pages().UpdatePageItem(m_a, 0);
    EXPECT_STREQ("R&&D", Pages().GetItemText(0));
    AppSettings().bOldStyle(false);
    Pages().UpdatePageItem(m_a, 0);
    EXPECT_STREQ("R&D", Pages().GetItemText(0));
}

TEST_F(TabBarTest, EachPositionTakesItsSideOfThePages)
{
    OpenThree();
    std::string dir = ArtifactFolder("VA_BARS_ARTIFACTS");
    for (int position = 0; position < 4; ++position)
    {
        AppSettings().iTabTop = static_cast<BYTE>(position);
        ASSERT_TRUE(Pages().Create(m_frame, 0x2, position));
        m_frame->FillTabBar(theApp.GetActiveGroup());
        m_frame->RecalcLayout();
        Pump();
        CRect bar = ChildRect(Pages().m_hWnd);
        CRect pages = ChildRect(m_frame->m_hWndMDIClient);
        ASSERT_TRUE(Pages().IsWindowVisible()) << position;
        EXPECT_GT(bar.Width(), 0);
        EXPECT_GT(bar.Height(), 0);
        switch (position)
        {
        case 0: EXPECT_EQ(pages.bottom, bar.top); break;
        case 1: EXPECT_EQ(pages.top, bar.bottom); break;
        case 2: EXPECT_EQ(pages.left, bar.right); break;
        default: EXPECT_EQ(pages.right, bar.left); break;
        }
        EXPECT_EQ(3, Pages().GetItemCount());
        m_frame->UpdateWindow();
        WriteBitmap(dir + "/page-bar-position-" + std::to_string(position) + ".bmp", CaptureWindow(m_frame->m_hWnd));
    }
}

TEST_F(TabBarTest, ColumnPositionsForceButtonsAndSeveralRows)
{
    OpenThree();
    AppSettings().bTabButton(false);
    AppSettings().bMLine(false);
    ASSERT_TRUE(Pages().Create(m_frame, 0, CBaseTabCtrl::kLeftColumn));
    EXPECT_TRUE(AppSettings().bTabButton());
    EXPECT_TRUE(AppSettings().bMLine());
    EXPECT_TRUE(AppSettings().bTabWidth());
    ASSERT_NE(nullptr, Pages().GetScrollBar());
    EXPECT_EQ(m_frame->m_hWnd, ::GetParent(Pages().GetScrollBar()->m_hWnd));
}

// A column too short for its tabs ends a batch of opens laid out as the same
// opens one by one leave it: scrolled to its end. The page (the items
// between the band's top and bottom rows) depends on where the rows fall
// against the band, so a column can rest at its end one row apart after
// different histories.
TEST_F(TabBarTest, ABatchInAColumnEndsAsTheOpensOneByOne)
{
    struct Layout
    {
        CRect bar, scroll, pages;
        int pos, page, selection;
        bool scrollShown;
    };
    const int kTabs = 60;
    auto openAll = [&](bool batch) {
        AppSettings().iTabTop = CBaseTabCtrl::kLeftColumn;
        EXPECT_TRUE(Pages().Create(m_frame, 0x2, CBaseTabCtrl::kLeftColumn));
        {
            std::unique_ptr<CTabBatch> run(batch ? new CTabBatch : nullptr);
            for (int i = 0; i < kTabs; ++i)
                Open(nullptr, "http://column.example/");
        }
        Pump();
        CTabScrollBar* scroll = Pages().GetScrollBar();
        Layout layout{ChildRect(Pages().m_hWnd), ChildRect(scroll->m_hWnd), ChildRect(m_frame->m_hWndMDIClient),
                      scroll->GetScrollPos(), static_cast<int>(scroll->GetPageSize()), Pages().GetCurSel(),
                      scroll->IsWindowVisible() != FALSE};
        m_frame->CloseAllGroupsNow();
        Pump();
        return layout;
    };
    Layout single = openAll(false);
    Layout batch = openAll(true);
    ASSERT_TRUE(single.scrollShown);
    EXPECT_GT(single.pos, 0);
    EXPECT_EQ(kTabs - 1, single.selection);
    EXPECT_TRUE(batch.scrollShown);
    EXPECT_EQ(single.pos + single.page, batch.pos + batch.page);
    EXPECT_EQ(single.selection, batch.selection);
    auto text = [](const CRect& rc) {
        return std::to_string(rc.left) + "," + std::to_string(rc.top) + "," + std::to_string(rc.right) + "," +
               std::to_string(rc.bottom);
    };
    EXPECT_EQ(text(single.scroll), text(batch.scroll));
    EXPECT_EQ(text(single.pages), text(batch.pages));
}

// A column of 60 tabs scrolled to several positions: its page runs from the
// tab at the top of the visible band to the one at its bottom. Made taller
// while scrolled to its end, it comes down until a tab stands at the bottom.
TEST_F(TabBarTest, AColumnsPageSpansItsVisibleBandAndItComesDownWhenTheBandGrows)
{
    m_frame->SetWindowPos(nullptr, 0, 0, 700, 500, SWP_NOZORDER | SWP_NOACTIVATE);
    AppSettings().iTabTop = CBaseTabCtrl::kLeftColumn;
    ASSERT_TRUE(Pages().Create(m_frame, 0x2, CBaseTabCtrl::kLeftColumn));
    {
        CTabBatch batch;
        for (int i = 0; i < 60; ++i)
            Open(nullptr, "http://column.example/");
    }
    Pump();
    CTabScrollBar* scroll = Pages().GetScrollBar();
    ASSERT_TRUE(scroll->IsWindowVisible());
    const CRect first = ItemRect(Pages(), 0);
    const int step = ItemRect(Pages(), 1).top - first.top;
    // The tab at a height of the frame, looking one step on (dir) for a gap.
    auto tabNear = [&](int frameY, int dir) {
        for (int dy = 0; dy < step; ++dy)
        {
            POINT pt = {0, frameY + dir * dy};
            ::MapWindowPoints(m_frame->m_hWnd, Pages().m_hWnd, &pt, 1);
            pt.x = (first.left + first.right) / 2;
            int index = Pages().HitTest(pt);
            if (index >= 0)
                return index;
        }
        return -1;
    };
    auto scrollTo = [&](WPARAM code) {
        m_frame->SendMessage(WM_VSCROLL, code, reinterpret_cast<LPARAM>(scroll->m_hWnd));
        m_frame->RecalcLayout();
    };
    for (int pos : {0, 7, 25, 40})
    {
        SCOPED_TRACE(pos);
        scrollTo(MAKEWPARAM(SB_THUMBPOSITION, pos));
        ASSERT_EQ(pos, scroll->GetScrollPos());
        CRect band = ChildRect(scroll->m_hWnd);
        int top = tabNear(band.top, 1);
        int bottom = tabNear(band.bottom - 1, -1);
        EXPECT_EQ(bottom - top, static_cast<int>(scroll->GetPageSize()));
    }
    scrollTo(SB_BOTTOM);
    const int end = scroll->GetScrollPos();
    ASSERT_GT(end, 0);

    m_frame->SetWindowPos(nullptr, 0, 0, 700, 500 + 6 * step, SWP_NOZORDER | SWP_NOACTIVATE);
    m_frame->RecalcLayout();
    CRect band = ChildRect(scroll->m_hWnd);
    EXPECT_LT(scroll->GetScrollPos(), end);
    EXPECT_EQ(59, tabNear(band.bottom - 1, -1));
}

// A column of 60 tabs, of either bar in either look, at either side: brought
// to its bottom by the scroll bar's end, by its arrow or by activating the
// last tab, it shows that tab whole inside the visible band, also after the
// frame lays out again; back at the top it shows the first tab whole.
TEST_F(TabBarTest, AColumnBroughtToEitherEndShowsItsEndTabWhole)
{
    struct Case
    {
        bool groups;  // the group tab bar, else the page tab bar
        bool oldStyle;
        int position;
    };
    const Case cases[] = {
        {false, false, CBaseTabCtrl::kLeftColumn},
        {false, true, CBaseTabCtrl::kRightColumn},
        {true, false, CBaseTabCtrl::kRightColumn},
        {true, true, CBaseTabCtrl::kLeftColumn},
    };
    const int kTabs = 60;
    m_frame->SetWindowPos(nullptr, 0, 0, 700, 500, SWP_NOZORDER | SWP_NOACTIVATE);
    std::vector<CTabGroup*> groups;
    for (int i = 0; i < kTabs; ++i)
        groups.push_back(m_frame->CreateDefaultGroup("G%i"));
    CTabGroup* first = groups[0];
    ASSERT_NE(nullptr, first);
    ASSERT_TRUE(Groups().SelectGroup(first));
    std::vector<CTabItem*> tabs;
    {
        CTabBatch batch;
        for (int i = 0; i < kTabs; ++i)
            tabs.push_back(Open(first, "http://column.example/"));
    }
    Pump();
    std::string dir = ArtifactFolder("VA_BARS_ARTIFACTS");
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.groups ? "group" : "page") + " bar, old style " + (c.oldStyle ? "on" : "off") +
                     ", position " + std::to_string(c.position));
        SettingsRecord& settings = AppSettings();
        CTabBarCtrl* bar = nullptr;
        Groups().SelectGroup(first);
        if (c.groups)
        {
            settings.iTabTop_P = static_cast<BYTE>(c.position);
            settings.bOldStyle_P(c.oldStyle);
            m_frame->RecreateGroupTabBar();
            bar = &Groups();
        }
        else
        {
            settings.iTabTop = static_cast<BYTE>(c.position);
            settings.bOldStyle(c.oldStyle);
            m_frame->RecreateTabBar();
            bar = &Pages();
        }
        m_frame->RecalcLayout();
        Pump();
        ASSERT_EQ(kTabs, bar->GetItemCount());
        CTabScrollBar* scroll = bar->GetScrollBar();
        ASSERT_NE(nullptr, scroll);
        ASSERT_TRUE(scroll->IsWindowVisible());
        auto whole = [&](int index) -> ::testing::AssertionResult {
            for (int layout = 0; layout < 2; ++layout)
            {
                if (layout == 1)
                    m_frame->RecalcLayout();
                CRect band = ChildRect(scroll->m_hWnd);
                CRect item = ItemRect(*bar, index);
                const CRect strip = ChildRect(bar->m_hWnd);
                item.OffsetRect(strip.left, strip.top);
                if (item.top < band.top || item.bottom > band.bottom)
                    return ::testing::AssertionFailure()
                           << "tab " << index << " at " << item.top << ".." << item.bottom << ", band " << band.top
                           << ".." << band.bottom << (layout == 1 ? " after a layout" : "");
            }
            return ::testing::AssertionSuccess();
        };
        auto scrollBy = [&](WPARAM code) {
            m_frame->SendMessage(WM_VSCROLL, code, reinterpret_cast<LPARAM>(scroll->m_hWnd));
        };
        auto activate = [&](int index) {
            if (c.groups)
                Groups().SelectGroup(groups[static_cast<size_t>(index)]);
            else
                ::SendMessageA(m_frame->m_hWndMDIClient, WM_MDIACTIVATE,
                               reinterpret_cast<WPARAM>(tabs[static_cast<size_t>(index)]->m_hFrame), 0);
            Pump();
        };

        scrollBy(SB_BOTTOM);
        EXPECT_TRUE(whole(kTabs - 1)) << "scroll bar's end";
        m_frame->UpdateWindow();
        WriteBitmap(dir + "/column-bottom-" + (c.groups ? "groups" : "pages") + (c.oldStyle ? "-old" : "") + ".bmp",
                    CaptureWindow(m_frame->m_hWnd));
        scrollBy(SB_TOP);
        EXPECT_EQ(0, scroll->GetScrollPos());
        EXPECT_TRUE(whole(0)) << "scroll bar's top";

        for (int i = 0; i < 2 * kTabs; ++i)
            scrollBy(SB_LINEDOWN);
        EXPECT_TRUE(whole(kTabs - 1)) << "arrow down";
        for (int i = 0; i < 2 * kTabs; ++i)
            scrollBy(SB_LINEUP);
        EXPECT_EQ(0, scroll->GetScrollPos());
        EXPECT_TRUE(whole(0)) << "arrow up";

        activate(0);
        activate(kTabs - 1);
        EXPECT_TRUE(whole(kTabs - 1)) << "last activated";
        activate(0);
        EXPECT_TRUE(whole(0)) << "first activated";
    }
}

TEST_F(TabBarTest, TooltipsOfAPageAndOfAGroupCutTheirLines)
{
    OpenThree();
    CTabGroup* group = theApp.GetActiveGroup();
    CString text;
    group->m_caption = "G";
    m_a->m_title = CString('t', 60);
    Groups().BuildGroupTooltip(text, group);
    CString expected = "G\r\n" + TruncateTabText(m_a->m_title, 40, true) + "\r\n" + m_b->m_title + "\r\n" + m_c->m_title;
    EXPECT_STREQ(expected, text);

    // From the 31st page on, one line of etc.dat stands for the rest.
    for (int i = 0; i < 29; ++i)
        group->m_tabs.push_back(m_b);
    Groups().BuildGroupTooltip(text, group);
    CString last = AppStrings().GetEtcText(45);
    ASSERT_FALSE(last.IsEmpty());
    EXPECT_EQ(last, text.Right(last.GetLength()));
    EXPECT_EQ(31, text.Replace("\r\n", "\n"));  // the caption and 30 titles
    group->m_tabs.resize(3);
}

//--- Group bar

TEST_F(TabBarTest, GroupClickActionsCloseActivateOrDoNothing)
{
    Open(nullptr, "http://a.example/");
    CTabGroup* first = theApp.GetActiveGroup();
    CTabGroup* second = theApp.OpenUrlInNewGroup("http://b.example/", 0, 0);
    Pump();
    ASSERT_EQ(second, theApp.GetActiveGroup());
    CPoint onFirst = Center(ItemRect(Groups(), 0));

    AppSettings().iTabmouseR_P = 0;
    Groups().SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(onFirst.x, onFirst.y));
    EXPECT_EQ(2, theApp.GetGroupCount());
    EXPECT_EQ(second, theApp.GetActiveGroup());

    AppSettings().iTabmouseR_P = 1;
    Groups().SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(onFirst.x, onFirst.y));
    EXPECT_EQ(first, theApp.GetActiveGroup());
    MSG msg = {};
    EXPECT_TRUE(::PeekMessageA(&msg, m_frame->m_hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(CGroupTabBar::kGroupMenuCommand, LOWORD(msg.wParam));

    // Action 2 closes the group under the pointer, current or not.
    CPoint onSecond = Center(ItemRect(Groups(), 1));
    AppSettings().iTabmouseR_P = 2;
    Groups().SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(onSecond.x, onSecond.y));
    Pump();
    EXPECT_EQ(1, theApp.GetGroupCount());
    EXPECT_EQ(first, theApp.GetActiveGroup());
}

TEST_F(TabBarTest, GroupDoubleClickOpensTheMenuEvenWithTheCloseAction)
{
    Open(nullptr, "http://a.example/");
    AppSettings().iTabmouseDC_P = 2;
    CPoint on = Center(ItemRect(Groups(), 0));
    Groups().SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(on.x, on.y));
    MSG msg = {};
    EXPECT_TRUE(::PeekMessageA(&msg, m_frame->m_hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(1, theApp.GetGroupCount());
}

TEST_F(TabBarTest, GroupTabsReorderAndADropFartherDuplicatesAGroup)
{
    Open(nullptr, "http://a.example/");
    Open(nullptr, "http://a2.example/");
    CTabGroup* first = theApp.GetActiveGroup();
    CTabGroup* second = theApp.OpenUrlInNewGroup("http://b.example/", 0, 0);
    Pump();
    Drag(Groups(), Center(ItemRect(Groups(), 0)), BesideLast(Groups(), 10));
    ASSERT_EQ(2, theApp.GetGroupCount());
    EXPECT_EQ(second, theApp.m_groups[0]);
    EXPECT_EQ(first, Groups().GetGroupAt(1));

    Drag(Groups(), Center(ItemRect(Groups(), 1)), BesideLast(Groups(), 40));
    ASSERT_EQ(3, theApp.GetGroupCount());
    CTabGroup* copy = theApp.m_groups[2];
    ASSERT_EQ(2, copy->GetTabCount());
    EXPECT_STREQ("http://a2.example/", copy->GetTab(1)->m_url);
    EXPECT_EQ(copy, theApp.GetActiveGroup());
    EXPECT_NE(first->m_number, copy->m_number);
    EXPECT_FALSE(Pages().IsUpdating());
    EXPECT_EQ(0u, m_frame->m_stateWord & kStateOpeningTabSet);
}

TEST_F(TabBarTest, CopiesOfAGroupsPagesKeepEachPagesDownloadControl)
{
    // Each page with a word of its own, none of them the group's.
    CTabGroup* group = OpenThree();
    group->m_options = 0x71;
    const DWORD words[3] = { 0x10 | 0x80, 0x71 | 0x4000, 0x1 | 0x780 | 0x40000000 };
    CTabItem* pages[3] = { m_a, m_b, m_c };
    for (int i = 0; i < 3; ++i)
        pages[i]->m_pView->SetPageOptions(words[i]);
    // The first page current: no copy's own word is the current page's or
    // the group's, which a new page may otherwise take.
    ::SendMessageA(m_frame->m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(m_a->m_hFrame), 0);
    ASSERT_EQ(m_a, Active());
    Drag(Groups(), Center(ItemRect(Groups(), 0)), BesideLast(Groups(), 40));
    ASSERT_TRUE(TestWebBrowser::Settle());
    ASSERT_EQ(2, theApp.GetGroupCount());
    CTabGroup* copy = theApp.m_groups[1];
    ASSERT_EQ(3, copy->GetTabCount());
    for (int i = 0; i < 3; ++i) {
        CTabItem* page = copy->GetTab(i);
        EXPECT_STREQ(pages[i]->m_url, page->m_url) << i;
        EXPECT_EQ(words[i], page->m_pageOptions) << i;
        // What the copy's control was told it may download and run.
        EXPECT_EQ(static_cast<LONG>(words[i]), ControlOf(page)->GetDlControl()) << i;
        EXPECT_EQ(words[i], pages[i]->m_pageOptions) << i;
    }
}

TEST_F(TabBarTest, PreviousAndNextGroupWrapAround)
{
    Open(nullptr, "http://a.example/");
    CTabGroup* first = theApp.GetActiveGroup();
    CTabGroup* second = theApp.OpenUrlInNewGroup("http://b.example/", 0, 0);
    Pump();
    m_frame->SendMessage(WM_COMMAND, 36532);
    EXPECT_EQ(first, theApp.GetActiveGroup());
    m_frame->SendMessage(WM_COMMAND, 36531);
    EXPECT_EQ(second, theApp.GetActiveGroup());
}

} // namespace
