// Tab groups and the frame's tab list on real windows.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "app/MainFrame.h"
#include "app/VantorelApp.h"
#include "bars/GroupTabBar.h"
#include "shared/AppSettings.h"
#include "shared/FrameMessages.h"
#include "tab/ChildFrame.h"
#include "tab/TabGroup.h"
#include "tab/TabItem.h"
#include "app/tests/TabFixture.h"

TEST_F(TabTest, FirstTabMakesAGroupAndComesToTheFront)
{
    CTabItem* tab = Open(nullptr, "about:blank");
    ASSERT_NE(nullptr, tab);
    ASSERT_EQ(1, theApp.GetGroupCount());
    CTabGroup* group = theApp.GetActiveGroup();
    EXPECT_EQ(group, tab->m_pGroup);
    EXPECT_EQ(1, group->GetTabCount());
    EXPECT_EQ(tab, Active());
    EXPECT_EQ(1, BarCount());
    EXPECT_EQ(tab, BarTab(0));
}

namespace {

CTabGroup* Current()
{
    return theApp.GetActiveGroup();
}

} // namespace

TEST_F(TabTest, NewTabPositionFollowsTheAppendSettingAndHint)
{
    CTabItem* a = Open(nullptr, "about:blank");
    CTabItem* b = Open(nullptr, "about:blank");
    CTabItem* c = Open(nullptr, "about:blank");
    CTabGroup* group = Current();
    ASSERT_EQ(3, group->GetTabCount());
    ::SendMessageA(m_frame->m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(b->m_hFrame), 0);
    Pump();
    ASSERT_EQ(b, Active());

    AppSettings().iTabAppendPos = 2;  // after the active tab
    CTabItem* afterB = Open(nullptr, "about:blank", kReasonPageBackground);
    EXPECT_EQ(2, group->IndexOf(afterB));
    AppSettings().iTabAppendPos = 3;  // before it
    CTabItem* beforeB = Open(nullptr, "about:blank", kReasonPageBackground);
    EXPECT_EQ(1, group->IndexOf(beforeB));
    AppSettings().iTabAppendPos = 1;  // head
    CTabItem* head = Open(nullptr, "about:blank", kReasonPageBackground);
    EXPECT_EQ(0, group->IndexOf(head));
    // 4: after the active tab only for a tab carrying hint 4 (a page's new
    // window), else at the end.
    AppSettings().iTabAppendPos = 4;
    CTabItem* plain = Open(nullptr, "about:blank", kReasonPageBackground);
    EXPECT_EQ(group->GetTabCount() - 1, group->IndexOf(plain));
    std::vector<CTabItem*> before = group->m_tabs;
    theApp.OpenUrl(nullptr, "about:blank", kReasonPageBackground, 0, 4);
    Pump();
    CTabItem* hinted = group->GetTab(group->IndexOf(b) + 1);
    EXPECT_EQ(before.end(), std::find(before.begin(), before.end(), hinted));
    EXPECT_EQ(b, Active());
    // The bar shows the group's list in order.
    ASSERT_EQ(group->GetTabCount(), BarCount());
    for (int i = 0; i < BarCount(); ++i)
        EXPECT_EQ(group->GetTab(i), BarTab(i)) << i;
    (void)a;
    (void)c;
}

TEST_F(TabTest, RelativePlaceUsesTheGroupsLastActiveTabWhenTheActiveTabIsElsewhere)
{
    CTabItem* a1 = Open(nullptr, "about:blank");
    CTabItem* a2 = Open(nullptr, "about:blank");
    CTabGroup* groupA = Current();
    ::SendMessageA(m_frame->m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(a1->m_hFrame), 0);
    Pump();
    CTabGroup* groupB = theApp.OpenUrlInNewGroup("about:blank", 0, 0);
    Pump();
    ASSERT_NE(nullptr, groupB);
    ASSERT_EQ(groupB, Active()->m_pGroup);

    AppSettings().iTabAppendPos = 2;
    CTabItem* added = Open(groupA, "about:blank");
    ASSERT_NE(nullptr, added);
    EXPECT_EQ(1, groupA->IndexOf(added));  // right after a1, the group's last active tab
    EXPECT_EQ(2, groupA->IndexOf(a2));
    // A tab opened in a group that is not current stays in the background.
    EXPECT_EQ(groupB, Active()->m_pGroup);
}

TEST_F(TabTest, TabLimitRefusesTheTabBeyondIt)
{
    AppSettings().bWindowMaxCnt(true);
    AppSettings().iWindowMaxCnt = 3;
    for (int i = 0; i < 3; ++i)
        ASSERT_NE(nullptr, Open(nullptr, "about:blank"));
    EXPECT_EQ(nullptr, Open(nullptr, "about:blank"));
    EXPECT_EQ(3, Current()->GetTabCount());
    EXPECT_EQ(3, BarCount());
}

TEST_F(TabTest, ActivationReasonDecidesForegroundAndOnlyThePopupReasonSurvives)
{
    CTabItem* first = Open(nullptr, "about:blank");
    CTabItem* back = Open(nullptr, "about:blank", kReasonPageBackground);
    EXPECT_EQ(first, Active());
    CTabItem* front = Open(nullptr, "about:blank", kReasonPageForeground);
    EXPECT_EQ(front, Active());
    CTabItem* popup = Open(nullptr, "about:blank", kReasonPopup);
    EXPECT_EQ(front, Active());
    EXPECT_EQ(kReasonPopup, static_cast<CChildFrame*>(popup->m_pFrame)->m_activationReason);
    EXPECT_EQ(kReasonLink, static_cast<CChildFrame*>(back->m_pFrame)->m_activationReason);
    AppSettings().bTabActivate_AddBar(true);
    Open(nullptr, "about:blank", kReasonAddressBar);
    EXPECT_EQ(front, Active());
}

TEST_F(TabTest, ClosingTheActiveTabActivatesTheNeighbourByTheCloseSetting)
{
    CTabItem* a = Open(nullptr, "about:blank");
    CTabItem* b = Open(nullptr, "about:blank");
    CTabItem* c = Open(nullptr, "about:blank");
    CTabGroup* group = Current();
    ASSERT_EQ(c, Active());
    AppSettings().iTabClosePos = 1;  // the next one; the new last when it was last
    ::SendMessageA(c->m_hFrame, WM_CLOSE, 0, 0);
    Pump();
    EXPECT_EQ(2, group->GetTabCount());
    EXPECT_EQ(b, Active());
    EXPECT_EQ(2, BarCount());
    EXPECT_EQ(1, BarSelection());

    AppSettings().iTabClosePos = 2;  // the previous one; the new first when it was first
    ::SendMessageA(m_frame->m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(a->m_hFrame), 0);
    Pump();
    ::SendMessageA(a->m_hFrame, WM_CLOSE, 0, 0);
    Pump();
    EXPECT_EQ(b, Active());
    EXPECT_EQ(1, group->GetTabCount());
}

// Regression: setting 5 was never tested; without the hint it puts a new
// tab at the head, with hint 5 before the active tab.
TEST_F(TabTest, AppendSettingFivePutsATabAtTheHeadOrWithItsHintBeforeTheActiveTab)
{
    Open(nullptr, "about:blank");
    CTabItem* b = Open(nullptr, "about:blank");
    Open(nullptr, "about:blank");
    CTabGroup* group = Current();
    ::SendMessageA(m_frame->m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(b->m_hFrame), 0);
    Pump();
    ASSERT_EQ(b, Active());
    AppSettings().iTabAppendPos = 5;
    CTabItem* plain = Open(nullptr, "about:blank", kReasonPageBackground);
    EXPECT_EQ(0, group->IndexOf(plain));
    ASSERT_EQ(2, group->IndexOf(b));
    std::vector<CTabItem*> before = group->m_tabs;
    theApp.OpenUrl(nullptr, "about:blank", kReasonPageBackground, 0, 5);
    Pump();
    CTabItem* hinted = group->GetTab(2);
    EXPECT_EQ(before.end(), std::find(before.begin(), before.end(), hinted));
    EXPECT_EQ(3, group->IndexOf(b));
    EXPECT_EQ(b, Active());
}

// Regression: the tests closed only the first and last tabs, where settings
// 1 and 2 pick the same tab, and never closed under settings 3 and 4.
TEST_F(TabTest, ClosingAMiddleTabActivatesTheTabEachCloseSettingNames)
{
    struct Case { int setting; int expected; } cases[] = {
        {1, 3},  // the next one
        {2, 1},  // the previous one
        {3, 4},  // the last
        {4, 0},  // the first
    };
    for (const Case& c : cases) {
        std::vector<CTabItem*> tabs;
        for (int i = 0; i < 5; ++i)
            tabs.push_back(Open(nullptr, "about:blank"));
        ::SendMessageA(m_frame->m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(tabs[2]->m_hFrame), 0);
        Pump();
        ASSERT_EQ(tabs[2], Active());
        AppSettings().iTabClosePos = c.setting;
        ::SendMessageA(tabs[2]->m_hFrame, WM_CLOSE, 0, 0);
        Pump();
        EXPECT_EQ(tabs[c.expected], Active()) << "setting " << c.setting;
        m_frame->CloseAllGroupsNow();
        Pump();
        ASSERT_EQ(0, theApp.GetGroupCount());
    }
}

TEST_F(TabTest, ClosedTabKeepsItsPlaceInTheRecentlyClosedList)
{
    CTabItem* a = Open(nullptr, "about:blank");
    a->m_title = "Kept";
    ::SendMessageA(a->m_hFrame, WM_CLOSE, 0, 0);
    Pump();
    ASSERT_EQ(1u, m_frame->m_closedTabs.size());
    EXPECT_STREQ("Kept", m_frame->m_closedTabs[0].title);
}

TEST_F(TabTest, EmptiedGroupShowsItsDefaultPageWhenGroupsStay)
{
    CTabItem* a = Open(nullptr, "about:blank");
    CTabGroup* group = Current();
    ::SendMessageA(a->m_hFrame, WM_CLOSE, 0, 0);
    Pump();
    EXPECT_EQ(1, theApp.GetGroupCount());
    EXPECT_EQ(1, group->GetTabCount());
    EXPECT_NE(a, group->GetTab(0));
}

TEST_F(TabTest, EmptiedGroupIsClosedEvenWhenAnotherGroupIsCurrent)
{
    AppSettings().bClosePTabChildEmpty(true);
    CTabItem* a = Open(nullptr, "about:blank");
    CTabGroup* groupA = Current();
    CTabGroup* groupB = theApp.OpenUrlInNewGroup("about:blank", 0, 0);
    Pump();
    ASSERT_EQ(groupB, Current());
    ::SendMessageA(a->m_hFrame, WM_CLOSE, 0, 0);
    Pump();
    EXPECT_FALSE(theApp.IsGroupListed(groupA));
    EXPECT_TRUE(theApp.IsGroupListed(groupB));
    EXPECT_EQ(groupB, Current());
    EXPECT_EQ(1, groupB->GetTabCount());
}

// Another instance holds the semaphore: the emptied group cannot be closed,
// and still gets its default page and caption instead of staying empty.
TEST_F(TabTest, EmptiedGroupKeptWhileTheSemaphoreIsHeldShowsItsDefaultPage)
{
    AppSettings().bClosePTabChildEmpty(true);
    AppSettings().strTitle_P = "G(%c)";
    theApp.m_hSemaphore = ::CreateSemaphoreA(nullptr, 0, 1, nullptr);  // held
    CTabItem* a = Open(nullptr, "about:blank");
    CTabGroup* group = Current();
    ::SendMessageA(a->m_hFrame, WM_CLOSE, 0, 0);
    Pump();
    ::CloseHandle(theApp.m_hSemaphore);
    theApp.m_hSemaphore = nullptr;
    ASSERT_TRUE(theApp.IsGroupListed(group));
    ASSERT_EQ(1, group->GetTabCount());
    EXPECT_NE(a, group->GetTab(0));
    EXPECT_STREQ("G(1)", group->m_caption);
}

TEST_F(TabTest, CaptionsNumberGroupsAndCountTabsAndNumberingRestartsAfterCloseAll)
{
    AppSettings().strTitle_P = "G%i(%c)";
    Open(nullptr, "about:blank");
    theApp.OpenUrlInNewGroup("about:blank", 0, 0);
    CTabGroup* third = m_frame->CreateDefaultGroup(nullptr);
    ASSERT_NE(nullptr, third);
    EXPECT_STREQ("G3(1)", third->m_caption);
    Open(third, "about:blank");
    Open(third, "about:blank");
    EXPECT_STREQ("G3(2)", third->m_caption);
    EXPECT_STREQ("G3(2)", m_frame->m_pGroupTabBar->GetGroupAt(2) == third ? third->m_caption : CString("?"));

    m_frame->CloseAllGroupsNow();
    Pump();
    EXPECT_EQ(0, theApp.GetGroupCount());
    EXPECT_EQ(nullptr, Active());
    CTabGroup* fresh = m_frame->CreateDefaultGroup(nullptr);
    EXPECT_EQ(1, fresh->m_number);
}

TEST_F(TabTest, ClosingAGroupForgetsItInItsTabsAndInTheGroupKeys)
{
    Open(nullptr, "about:blank");
    CTabGroup* groupA = Current();
    CTabGroup* groupB = theApp.OpenUrlInNewGroup("about:blank", 0, 0);
    Pump();
    CTabItem* closing = groupB->GetTab(0);
    HWND closingFrame = closing->m_hFrame;
    m_frame->CloseGroup(groupB);
    // Before its posted close arrives the tab no longer names the group.
    EXPECT_EQ(nullptr, closing->m_pGroup);
    EXPECT_EQ(nullptr, theApp.m_pCurrentGroupKey == groupB ? groupB : nullptr);
    EXPECT_NE(groupB, theApp.m_pFallbackGroupKey);
    EXPECT_EQ(groupA, Current());
    Pump();
    EXPECT_FALSE(::IsWindow(closingFrame));
    EXPECT_EQ(1, groupA->GetTabCount());
}

// Regression: the group emptied by a closing tab was deleted while that
// tab and its frame still pointed at it.
TEST_F(TabTest, GroupClosedByItsLastTabIsForgottenByThatTabAndItsFrame)
{
    AppSettings().bClosePTabChildEmpty(true);
    Open(nullptr, "about:blank");
    CTabGroup* groupB = theApp.OpenUrlInNewGroup("about:blank", 0, 0);
    Pump();
    CTabItem* last = groupB->GetTab(0);
    CChildFrame* frame = dynamic_cast<CChildFrame*>(CWnd::FromHandlePermanent(last->m_hFrame));
    ASSERT_NE(nullptr, frame);
    ASSERT_EQ(groupB, frame->m_pGroup);
    // The closing step of the tab, before its window goes.
    m_frame->OnTabClosed(last);
    EXPECT_FALSE(theApp.IsGroupListed(groupB));
    EXPECT_EQ(nullptr, last->m_pGroup);
    EXPECT_EQ(nullptr, frame->m_pGroup);
    HWND closing = last->m_hFrame;
    ::SendMessageA(closing, WM_CLOSE, 0, 0);
    Pump();
    EXPECT_FALSE(::IsWindow(closing));
    EXPECT_EQ(1, theApp.GetGroupCount());
}

TEST_F(TabTest, ActivatingAnEmptyGroupDoesNothing)
{
    Open(nullptr, "about:blank");
    CTabGroup* empty = m_frame->CreateDefaultGroup("empty");
    ASSERT_NE(nullptr, empty);
    CTabGroup* first = theApp.GetGroupAt(0);
    m_frame->ActivateGroup(first);
    m_frame->ActivateGroup(empty);
    Pump();
    EXPECT_EQ(empty, Current());
    EXPECT_EQ(0, BarCount());
}

TEST_F(TabTest, MovingATabActivatesTheTargetGroupAndReshowsBothCaptions)
{
    AppSettings().strTitle_P = "%c";
    CTabItem* a = Open(nullptr, "about:blank");
    CTabItem* b = Open(nullptr, "about:blank");
    CTabGroup* groupA = Current();
    CTabGroup* groupB = theApp.OpenUrlInNewGroup("about:blank", 0, 0);
    Pump();
    m_frame->ActivateGroup(groupA);
    Pump();
    ASSERT_EQ(groupA, Current());
    m_frame->MoveTabToGroup(b, groupB);
    Pump();
    EXPECT_EQ(groupB, b->m_pGroup);
    EXPECT_EQ(1, groupA->GetTabCount());
    EXPECT_EQ(2, groupB->GetTabCount());
    EXPECT_STREQ("1", groupA->m_caption);
    EXPECT_STREQ("2", groupB->m_caption);
    EXPECT_EQ(groupB, Current());
    EXPECT_EQ(b, Active());
    EXPECT_EQ(2, BarCount());
    (void)a;
}

TEST_F(TabTest, TabClosedDuringShutdownLeavesTheGroupsAlone)
{
    CTabItem* a = Open(nullptr, "about:blank");
    CTabGroup* group = Current();
    theApp.m_runFlags |= kRunFlagShuttingDown;
    m_frame->OnTabClosed(a);
    EXPECT_EQ(1, group->GetTabCount());
    theApp.m_runFlags &= ~kRunFlagShuttingDown;
}

TEST_F(TabTest, MailLinksOpenNoTab)
{
    AppSettings().bMailToNotOpen(true);
    EXPECT_EQ(nullptr, theApp.OpenUrl(nullptr, "MAILTO:someone@example.com", 0));
    EXPECT_EQ(0, theApp.GetGroupCount());
}

TEST_F(TabTest, HandedOverCommandLineOpensATab)
{
    ATOM atom = ::GlobalAddAtomA("\"about:blank\"");
    ::SendMessageA(m_frame->m_hWnd, WM_FRAME_OPENCOMMANDLINE, atom, 0);
    Pump();
    EXPECT_EQ(1, theApp.GetGroupTabCount(Current()));
}

TEST_F(TabTest, SearchGroupKeepsThePercentSignsOfItsName)
{
    CTabGroup* group = theApp.CreateSearchGroup("50%c off", FALSE);
    ASSERT_NE(nullptr, group);
    EXPECT_TRUE(theApp.OpenUrlInGroup(group, "about:blank", 0));
    Pump();
    EXPECT_STREQ("50%c off[1]", group->m_caption);
    EXPECT_EQ(1, group->m_image);
}

namespace {

bool s_semaphoreFreeDuringPrompt = false;

void CheckSemaphoreIsFree()
{
    s_semaphoreFreeDuringPrompt = ::WaitForSingleObject(theApp.m_hSemaphore, 0) == WAIT_OBJECT_0;
    if (s_semaphoreFreeDuringPrompt)
        ::ReleaseSemaphore(theApp.m_hSemaphore, 1, nullptr);
}

} // namespace

TEST_F(TabTest, CloseAllAsksBeforeTakingTheLockAndNoKeepsEveryGroup)
{
    theApp.m_hSemaphore = ::CreateSemaphoreA(nullptr, 1, 1, nullptr);
    Open(nullptr, "about:blank");
    theApp.OpenUrlInNewGroup("about:blank", 0, 0);
    Pump();
    s_semaphoreFreeDuringPrompt = false;
    AnswerNextMessageBox(IDNO, CheckSemaphoreIsFree);
    m_frame->CloseGroupsCommand(36451);
    EXPECT_TRUE(s_messageBoxSeen);
    EXPECT_TRUE(s_semaphoreFreeDuringPrompt);
    EXPECT_EQ(2, theApp.GetGroupCount());

    AnswerNextMessageBox(IDYES);
    m_frame->CloseGroupsCommand(36451);
    Pump();
    EXPECT_EQ(0, theApp.GetGroupCount());
    EXPECT_EQ(0, BarCount());
    // The lock was given back.
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(theApp.m_hSemaphore, 0));
    ::CloseHandle(theApp.m_hSemaphore);
    theApp.m_hSemaphore = nullptr;
}

TEST_F(TabTest, GroupCommandsWaitForTheLockAndGiveUpWhenItIsBusy)
{
    theApp.m_hSemaphore = ::CreateSemaphoreA(nullptr, 1, 1, nullptr);
    Open(nullptr, "about:blank");
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(theApp.m_hSemaphore, 0));
    m_frame->CloseGroupsCommand(36447);
    EXPECT_EQ(1, theApp.GetGroupCount());
    ::ReleaseSemaphore(theApp.m_hSemaphore, 1, nullptr);
    m_frame->CloseGroupsCommand(36447);
    Pump();
    EXPECT_EQ(0, theApp.GetGroupCount());
    ::CloseHandle(theApp.m_hSemaphore);
    theApp.m_hSemaphore = nullptr;
}

TEST_F(TabTest, CloseOtherLeftAndRightGroupsKeepTheCurrentGroup)
{
    std::vector<CTabGroup*> groups;
    for (int i = 0; i < 5; ++i)
        groups.push_back(theApp.OpenUrlInNewGroup("about:blank", 0, 0));
    Pump();
    ASSERT_EQ(5, theApp.GetGroupCount());

    m_frame->ActivateGroup(groups[1]);
    Pump();
    ASSERT_EQ(groups[1], theApp.GetActiveGroup());
    m_frame->CloseGroupsCommand(36449);  // left of the current group
    Pump();
    EXPECT_EQ((std::vector<CTabGroup*>{groups[1], groups[2], groups[3], groups[4]}), theApp.m_groups);

    m_frame->ActivateGroup(groups[2]);
    Pump();
    m_frame->CloseGroupsCommand(36450);  // right of it
    Pump();
    EXPECT_EQ((std::vector<CTabGroup*>{groups[1], groups[2]}), theApp.m_groups);

    m_frame->CloseGroupsCommand(36448);  // every other group
    Pump();
    EXPECT_EQ((std::vector<CTabGroup*>{groups[2]}), theApp.m_groups);
    EXPECT_EQ(groups[2], theApp.GetActiveGroup());
}
