// Keys and mouse messages seen before dispatch: bindings in the frame's own
// windows and in pages, auto-repeat, rocker clicks and mouse gestures.
#include <windows.h>

#include <string>

#include "app/MainFrame.h"
#include "app/VantorelApp.h"
#include "bars/GroupTabBar.h"
#include "bars/PageTabBar.h"
#include "shared/AppSettings.h"
#include "shared/CommandIds.h"
#include "tab/BrowserView.h"
#include "tab/ChildFrame.h"
#include "tab/TabGroup.h"
#include "tab/TabItem.h"
#include "app/tests/TabFixture.h"

namespace {

const std::string kSep = "\x81\x4D";

MSG KeyDown(HWND hWnd, UINT vk, bool repeat = false)
{
    MSG msg = {};
    msg.hwnd = hWnd;
    msg.message = WM_KEYDOWN;
    msg.wParam = vk;
    msg.lParam = 1 | (repeat ? (1 << 30) : 0);
    return msg;
}

MSG Mouse(HWND hWnd, UINT message, WPARAM keys, int x, int y)
{
    MSG msg = {};
    msg.hwnd = hWnd;
    msg.message = message;
    msg.wParam = keys;
    msg.lParam = MAKELPARAM(x, y);
    return msg;
}

void PostMouse(HWND hWnd, UINT message, WPARAM keys, int x, int y)
{
    ::PostMessageA(hWnd, message, keys, MAKELPARAM(x, y));
}

class InputTest : public TabTest
{
protected:
    void SetUp() override
    {
        TabTest::SetUp();
        m_folder->WriteBytes("KEYCONF.dat", BindingLine("reload", "F5", 1022, 0) + BindingLine("stop", "Esc", 1021, 0));
        m_folder->WriteBytes("MGC.dat", BindingLine("up", "\x81\xAA", 1061, 0) + BindingLine("down", "\x81\xAB", 1058, 0) +
                                            BindingLine("downup", "\x81\xAB\x81\xAA", 1022, 0) +
                                            BindingLine("updown", "\x81\xAA\x81\xAB", 1020, 0));
        theApp.ReloadBindingMaps();
        AppSettings().iMouseGSence = 20;
        m_tab = Open(nullptr, "http://a.example/");
        ASSERT_NE(nullptr, m_tab);
        m_control = ControlOf(m_tab)->GetControlWindow();
        ASSERT_NE(nullptr, m_control);
        Pump();
    }

    // The program's own pre-translation of a message, as its loop does it.
    BOOL PreTranslate(MSG msg) { return theApp.PreTranslateMessage(&msg); }

    // Runs a right-button press over the page with the given moves (relative
    // to the press at 100, 100) and then the release, all queued before.
    BOOL Gesture(std::initializer_list<POINT> moves)
    {
        for (const POINT& p : moves)
            PostMouse(m_control, WM_MOUSEMOVE, MK_RBUTTON, 100 + p.x, 100 + p.y);
        PostMouse(m_control, WM_RBUTTONUP, 0, 100, 100);
        return PreTranslate(Mouse(m_control, WM_RBUTTONDOWN, MK_RBUTTON, 100, 100));
    }

    CTabItem* m_tab = nullptr;
    HWND m_control = nullptr;
};

} // namespace

TEST_F(InputTest, FrameWindowsRunBindingsOnceWhileAKeyIsHeld)
{
    HWND client = m_frame->m_hWndMDIClient;
    EXPECT_TRUE(PreTranslate(KeyDown(client, VK_F5)));
    EXPECT_EQ(1022u, TakePostedCommand(m_frame->m_hWnd));
    EXPECT_TRUE(PreTranslate(KeyDown(client, VK_F5, true)));
    EXPECT_EQ(0u, TakePostedCommand(m_frame->m_hWnd));
    EXPECT_TRUE(PreTranslate(KeyDown(m_frame->m_hWnd, VK_ESCAPE)));
    EXPECT_EQ(1021u, TakePostedCommand(m_frame->m_hWnd));
    // An unbound key goes on.
    EXPECT_FALSE(PreTranslate(KeyDown(client, VK_F9)));
    // Another window of the frame (not one of its own bars) is left alone.
    HWND edit = ::CreateWindowA("EDIT", "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, m_frame->m_hWnd, nullptr,
                                nullptr, nullptr);
    EXPECT_FALSE(PreTranslate(KeyDown(edit, VK_F5)));
    EXPECT_EQ(0u, TakePostedCommand(m_frame->m_hWnd));
    ::DestroyWindow(edit);
}

TEST_F(InputTest, PageKeysRunBindingsAndRepeatsOnlyScroll)
{
    EXPECT_TRUE(PreTranslate(KeyDown(m_control, VK_F5)));
    EXPECT_EQ(1022u, TakePostedCommand(m_frame->m_hWnd));
    EXPECT_TRUE(PreTranslate(KeyDown(m_control, VK_F9, true)));
    EXPECT_FALSE(PreTranslate(KeyDown(m_control, VK_NEXT, true)));
    EXPECT_FALSE(PreTranslate(KeyDown(m_control, VK_F9)));
    EXPECT_EQ(0u, TakePostedCommand(m_frame->m_hWnd));
    // Return marks a user action.
    m_tab->m_pView->m_state &= ~static_cast<DWORD>(kViewKeyActivation);
    PreTranslate(KeyDown(m_control, VK_RETURN));
    EXPECT_NE(0u, m_tab->m_pView->m_state & kViewKeyActivation);
}

TEST_F(InputTest, RealKeyPressesThroughTheMessageLoopReachTheBindings)
{
    ::SetForegroundWindow(m_frame->m_hWnd);
    ::SetFocus(m_control);
    Pump();
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = inputs[1].ki.wVk = VK_F5;
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ASSERT_EQ(2u, ::SendInput(2, inputs, sizeof(INPUT)));
    bool ran = false;
    MSG msg;
    for (int round = 0; round < 50 && !ran; ++round) {
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_COMMAND && msg.hwnd == m_frame->m_hWnd && LOWORD(msg.wParam) == 1022) {
                ran = true;
                continue;
            }
            if (!theApp.PreTranslateMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
        }
        ::Sleep(10);
    }
    EXPECT_TRUE(ran);
}

TEST_F(InputTest, RockerClicksRunTheirActionsAndSwallowTheLaterLeftRelease)
{
    AppSettings().mouseLR = 5;  // next tab
    AppSettings().mouseRL = 4;  // previous tab
    CTabItem* second = Open(nullptr, "http://b.example/");
    ASSERT_EQ(second, Active());
    HWND control = ControlOf(second)->GetControlWindow();
    // Left held, right click: mouseLR (wraps to the first tab only with the loop setting).
    AppSettings().bWindowChangeLoop(true);
    EXPECT_TRUE(PreTranslate(Mouse(control, WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, 10, 10)));
    Pump();
    EXPECT_EQ(m_tab, Active());
    EXPECT_TRUE(PreTranslate(Mouse(control, WM_LBUTTONUP, 0, 10, 10)));
    EXPECT_FALSE(PreTranslate(Mouse(control, WM_LBUTTONUP, 0, 10, 10)));
    // Right held, left click: mouseRL, and the left release is not swallowed.
    EXPECT_TRUE(PreTranslate(Mouse(m_control, WM_LBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, 10, 10)));
    Pump();
    EXPECT_EQ(second, Active());
    EXPECT_FALSE(PreTranslate(Mouse(m_control, WM_LBUTTONUP, 0, 10, 10)));
    // Mouse actions are off with mouse gestures.
    AppSettings().bMouseG(false);
    EXPECT_TRUE(PreTranslate(Mouse(control, WM_LBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, 10, 10)));
    Pump();
    EXPECT_EQ(second, Active());
}

TEST_F(InputTest, GestureStepsAtTheSectorEdgesAndTheirCommands)
{
    // 45 and 135 degrees are up; 225 and 315 are down.
    EXPECT_TRUE(Gesture({{20, -20}}));
    EXPECT_EQ(1061u, TakePostedCommand(m_frame->m_hWnd));
    EXPECT_TRUE(Gesture({{-20, -20}}));
    EXPECT_EQ(1061u, TakePostedCommand(m_frame->m_hWnd));
    EXPECT_TRUE(Gesture({{-20, 20}}));
    EXPECT_EQ(1058u, TakePostedCommand(m_frame->m_hWnd));
    EXPECT_TRUE(Gesture({{20, 20}}));
    EXPECT_EQ(1058u, TakePostedCommand(m_frame->m_hWnd));
    // Moves shorter than the sensitivity count from the same reference.
    EXPECT_TRUE(Gesture({{0, 19}, {0, 25}, {0, 50}, {0, 20}}));
    EXPECT_EQ(1022u, TakePostedCommand(m_frame->m_hWnd));
    // The status bar named the gesture's command.
    char text[128] = {};
    ::SendMessageA(m_frame->m_wndStatusBar.m_hWnd, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_NE(nullptr, strstr(text, "[downup]")) << text;
}

TEST_F(InputTest, SideButtonsGoBackWithTheFirstAndForwardWithTheSecond)
{
    m_tab->m_pView->Navigate("http://b.example/");
    Pump();
    m_tab->m_pView->Navigate("http://c.example/");
    Pump();
    const struct
    {
        WORD button;
        const char* url;
    } steps[] = {{XBUTTON1, "http://b.example/"}, {XBUTTON1, "http://a.example/"}, {XBUTTON2, "http://b.example/"}};
    for (const auto& step : steps) {
        EXPECT_TRUE(PreTranslate(Mouse(m_control, WM_XBUTTONUP, MAKEWPARAM(0, step.button), 10, 10)));
        Pump();
        EXPECT_STREQ(step.url, m_tab->m_url);
    }
}

TEST_F(InputTest, NoGestureReplaysTheReleaseAndAZeroMoveDrawsNothing)
{
    AppSettings().iMouseGSence = 0;
    MSG press = Mouse(m_control, WM_RBUTTONDOWN, MK_RBUTTON, 100, 100);
    PostMouse(m_control, WM_MOUSEMOVE, MK_RBUTTON, 100, 100);
    PostMouse(m_control, WM_RBUTTONUP, 0, 100, 100);
    EXPECT_EQ(0, m_tab->m_pView->TrackMouseGesture(&press));
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, m_control, WM_RBUTTONUP, WM_RBUTTONUP, PM_REMOVE));
    EXPECT_EQ(MAKELPARAM(100, 100), msg.lParam);
    EXPECT_EQ(0u, TakePostedCommand(m_frame->m_hWnd));
    EXPECT_EQ(nullptr, ::GetCapture());
}

TEST_F(InputTest, RockerDuringAGestureRunsTheActionAndNoGesture)
{
    AppSettings().mouseRL = 2;  // refresh
    const int refreshes = ControlOf(m_tab)->GetRefreshCount();
    PostMouse(m_control, WM_MOUSEMOVE, MK_RBUTTON, 100, 50);
    PostMouse(m_control, WM_LBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, 100, 50);
    MSG press = Mouse(m_control, WM_RBUTTONDOWN, MK_RBUTTON, 100, 100);
    EXPECT_EQ(1, m_tab->m_pView->TrackMouseGesture(&press));
    EXPECT_EQ(refreshes + 1, ControlOf(m_tab)->GetRefreshCount());
    EXPECT_EQ(0u, TakePostedCommand(m_frame->m_hWnd));
    MSG msg;
    EXPECT_FALSE(::PeekMessageA(&msg, m_control, WM_RBUTTONUP, WM_RBUTTONUP, PM_REMOVE));
}

TEST_F(InputTest, QuitDuringAGestureIsKeptForTheOuterLoop)
{
    PostMouse(m_control, WM_MOUSEMOVE, MK_RBUTTON, 100, 50);
    ::PostQuitMessage(7);
    MSG press = Mouse(m_control, WM_RBUTTONDOWN, MK_RBUTTON, 100, 100);
    m_tab->m_pView->TrackMouseGesture(&press);
    EXPECT_EQ(nullptr, ::GetCapture());
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(7u, msg.wParam);
}

TEST_F(InputTest, GestureNameComesFromTheFirstLineThatBeginsWithIt)
{
    m_folder->WriteBytes("MGC.dat", BindingLine("longer", "\x81\xAA\x81\xAB", 1, 0) + BindingLine("exact", "\x81\xAA", 2, 0) +
                                        "three" + kSep + "\x81\xAB" + kSep + "3\r\n" + BindingLine("down", "\x81\xAB", 4, 0));
    CString name;
    CBrowserView::GetGestureCommandName("\x81\xAA", name);
    EXPECT_STREQ("", name);
    CBrowserView::GetGestureCommandName("\x81\xAA\x81\xAB", name);
    EXPECT_STREQ("longer", name);
    // Lines of three fields do not count.
    CBrowserView::GetGestureCommandName("\x81\xAB", name);
    EXPECT_STREQ("down", name);
}

TEST_F(InputTest, FocusQuestionFollowsTheSettingAndTheWindow)
{
    ::SetForegroundWindow(m_frame->m_hWnd);
    AppSettings().iFocusMove = 0;
    EXPECT_FALSE(m_frame->GetBrowserWindowAtCursor(m_control));
    AppSettings().iFocusMove = 1;
    EXPECT_TRUE(m_frame->GetBrowserWindowAtCursor(m_control));
    EXPECT_TRUE(m_frame->GetBrowserWindowAtCursor(m_frame->m_hWndMDIClient));
    EXPECT_FALSE(m_frame->GetBrowserWindowAtCursor(m_frame->m_hWnd));
    EXPECT_FALSE(m_frame->GetBrowserWindowAtCursor(nullptr));
}

TEST_F(InputTest, TheBoxesKeepTextKeysAndRunBindingsAndTabMovesIntoThePage)
{
    HWND addressEdit = nullptr;
    HWND searchEdit = nullptr;
    HWND address = m_frame->GetAddressBoxWindow(&addressEdit);
    HWND search = m_frame->GetSearchBoxWindow(&searchEdit);
    ASSERT_EQ(m_frame->m_wndAddress.m_hWnd, address);
    ASSERT_EQ(m_frame->m_wndSearchBar.GetSearchCombo().m_hWnd, search);
    ASSERT_TRUE(::IsChild(address, addressEdit));
    ASSERT_TRUE(::IsChild(search, searchEdit));
    EXPECT_FALSE(PreTranslate(KeyDown(addressEdit, 'A')));
    EXPECT_FALSE(PreTranslate(KeyDown(searchEdit, VK_BACK)));
    EXPECT_TRUE(PreTranslate(KeyDown(searchEdit, VK_F5)));
    EXPECT_EQ(1022u, TakePostedCommand(m_frame->m_hWnd));
    EXPECT_TRUE(PreTranslate(KeyDown(addressEdit, VK_F5, true)));
    EXPECT_EQ(0u, TakePostedCommand(m_frame->m_hWnd));

    ::SetForegroundWindow(m_frame->m_hWnd);
    ::SetFocus(addressEdit);
    ASSERT_EQ(addressEdit, ::GetFocus());
    // The key text is "Tab+" while Tab is down.
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_TAB] = 0x80;
    ::SetKeyboardState(keys);
    const BOOL taken = PreTranslate(KeyDown(addressEdit, VK_TAB));
    keys[VK_TAB] = 0;
    ::SetKeyboardState(keys);
    EXPECT_TRUE(taken);
    EXPECT_EQ(m_control, ::GetFocus());

    // Focus in a box moves with the mouse unless its bit keeps it.
    AppSettings().iFocusMove = 0x1 | 0x4;
    EXPECT_TRUE(m_frame->GetBrowserWindowAtCursor(addressEdit));
    EXPECT_FALSE(m_frame->GetBrowserWindowAtCursor(searchEdit));
    AppSettings().iFocusMove = 0x1 | 0x2;
    EXPECT_FALSE(m_frame->GetBrowserWindowAtCursor(address));
    EXPECT_TRUE(m_frame->GetBrowserWindowAtCursor(search));

    // Select all works on the focused box's text, not on the page.
    ::SetWindowTextA(search, "keyword");
    ::SetFocus(searchEdit);
    ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, ID_EDIT_SELECT_ALL, 0);
    DWORD from = 0, to = 0;
    ::SendMessageA(searchEdit, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(0u, from);
    EXPECT_EQ(7u, to);
}

namespace {

class TabButtonInputTest : public InputTest
{
protected:
    void SetUp() override
    {
        InputTest::SetUp();
        m_second = Open(nullptr, "http://b.example/");
        ASSERT_NE(nullptr, m_second);
    }

    CRect ItemRect(CTabBarCtrl& bar, int index)
    {
        CRect rc;
        bar.GetItemRect(index, &rc);
        return rc;
    }
    // A move over item index of the bar, as the loop would see it.
    BOOL MoveOver(CTabBarCtrl& bar, int index)
    {
        CRect rc = ItemRect(bar, index);
        MSG move = Mouse(bar.m_hWnd, WM_MOUSEMOVE, 0, rc.left + 2, rc.top + 2);
        return m_frame->PreTranslateMessage(&move);
    }
    // The button's rectangle in frame client coordinates; empty while hidden.
    CRect ButtonRect()
    {
        CRect rc;
        HWND button = m_frame->m_wndTabButton.m_hWnd;
        if (!::IsWindowVisible(button))
            return rc;
        ::GetWindowRect(button, &rc);
        ::MapWindowPoints(nullptr, m_frame->m_hWnd, reinterpret_cast<LPPOINT>(&rc), 2);
        return rc;
    }
    CRect FrameRect(CTabBarCtrl& bar, int index)
    {
        CRect rc = ItemRect(bar, index);
        ::MapWindowPoints(bar.m_hWnd, m_frame->m_hWnd, reinterpret_cast<LPPOINT>(&rc), 2);
        return rc;
    }

    CTabItem* m_second = nullptr;
};

} // namespace

TEST_F(TabButtonInputTest, TheButtonFollowsTheMouseOverTabsWhereTheSettingsAllowIt)
{
    CPageTabBar& pages = *m_frame->m_pPageTabBar;
    CGroupTabBar& groups = *m_frame->m_pGroupTabBar;
    AppSettings().bShowTabCloseButton(true);
    AppSettings().bShowTabCloseButton_P(false);
    EXPECT_FALSE(MoveOver(pages, 1));
    CRect tab = FrameRect(pages, 1);
    EXPECT_EQ(CRect(tab.right - 16, tab.top, tab.right, tab.bottom), ButtonRect());
    // Moving onto the button keeps it.
    MSG onButton = Mouse(m_frame->m_wndTabButton.m_hWnd, WM_MOUSEMOVE, 0, 3, 3);
    m_frame->PreTranslateMessage(&onButton);
    EXPECT_EQ(CRect(tab.right - 16, tab.top, tab.right, tab.bottom), ButtonRect());
    // Off the tabs, or over a bar whose option is off, it goes away.
    MSG away = Mouse(pages.m_hWnd, WM_MOUSEMOVE, 0, ItemRect(pages, 1).right + 200, 2);
    m_frame->PreTranslateMessage(&away);
    EXPECT_TRUE(ButtonRect().IsRectEmpty());
    MoveOver(pages, 0);
    ASSERT_FALSE(ButtonRect().IsRectEmpty());
    MoveOver(groups, 0);
    EXPECT_TRUE(ButtonRect().IsRectEmpty());

    // On a group tab: two parts while the group holds more than one page.
    AppSettings().bShowTabCloseButton_P(true);
    theApp.OpenUrlInNewGroup("http://c.example/", 0, 0);
    Pump();
    ASSERT_EQ(2, groups.GetItemCount());
    MoveOver(groups, 0);
    tab = FrameRect(groups, 0);
    EXPECT_EQ(CRect(tab.right - 32, tab.top, tab.right, tab.bottom), ButtonRect());
    EXPECT_TRUE(m_frame->m_wndTabButton.IsTwoPart());
    MoveOver(groups, 1);
    EXPECT_EQ(16, ButtonRect().Width());
    EXPECT_FALSE(m_frame->m_wndTabButton.IsTwoPart());
}

TEST_F(TabButtonInputTest, APressOnTheButtonClosesItsPageOnlyWhileItShows)
{
    CPageTabBar& pages = *m_frame->m_pPageTabBar;
    AppSettings().bShowTabCloseButton(true);
    MoveOver(pages, 1);
    HWND button = m_frame->m_wndTabButton.m_hWnd;
    ASSERT_TRUE(::IsWindowVisible(button));

    // Dragged off before the release: nothing closes, the bar gets the release.
    ::PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(4, 300));
    MSG down = Mouse(button, WM_LBUTTONDOWN, MK_LBUTTON, 4, 4);
    EXPECT_FALSE(m_frame->PreTranslateMessage(&down));
    EXPECT_TRUE(::IsWindow(m_second->m_hFrame));
    MSG up = {};
    ASSERT_TRUE(::PeekMessageA(&up, pages.m_hWnd, WM_LBUTTONUP, WM_LBUTTONUP, PM_REMOVE));
    CRect tab = ItemRect(pages, 1);
    EXPECT_TRUE(tab.PtInRect(CPoint(up.lParam)));

    // A hidden button takes no press.
    m_frame->HideTabButton();
    EXPECT_FALSE(m_frame->PreTranslateMessage(&down));

    MoveOver(pages, 1);
    ::PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    HWND frame = m_second->m_hFrame;
    EXPECT_TRUE(m_frame->PreTranslateMessage(&down));
    Pump();
    EXPECT_FALSE(::IsWindow(frame));
    EXPECT_FALSE(::IsWindowVisible(button));
}

TEST_F(TabButtonInputTest, ADoubleClickBetweenTheGroupTabsGoesToTheGroupBar)
{
    CGroupTabBar& groups = *m_frame->m_pGroupTabBar;
    ASSERT_TRUE(groups.IsWindowVisible());
    m_frame->HideTabButton();
    CRect last = FrameRect(groups, groups.GetItemCount() - 1);
    MSG click = Mouse(m_frame->m_hWnd, WM_LBUTTONDBLCLK, 0, last.right + 40, last.top + 2);
    EXPECT_TRUE(m_frame->PreTranslateMessage(&click));
    EXPECT_EQ(CGroupTabBar::kGroupMenuCommand, TakePostedCommand(m_frame->m_hWnd));
    // Over the frame's other children nothing is forwarded.
    CRect client;
    ::GetClientRect(m_frame->m_hWndMDIClient, &client);
    MSG elsewhere = Mouse(m_frame->m_hWndMDIClient, WM_LBUTTONDBLCLK, 0, client.right / 2, client.bottom / 2);
    EXPECT_FALSE(m_frame->PreTranslateMessage(&elsewhere));
}

// Regression: a refill after a group switch rewrote the items' texts but
// kept the other group's pages, so a click or the close button acted on a
// page the user could not see.
TEST_F(TabButtonInputTest, AfterGroupSwitchesEveryItemActsOnThePageItShows)
{
    CPageTabBar& pages = *m_frame->m_pPageTabBar;
    AppSettings().bShowTabCloseButton(true);
    CTabGroup* two = m_tab->m_pGroup;
    theApp.OpenUrlInNewGroup("http://c.example/", 0, 0);
    Pump();
    CTabGroup* three = theApp.GetActiveGroup();
    ASSERT_NE(two, three);
    Open(three, "http://d.example/");
    Open(three, "http://e.example/");
    ASSERT_EQ(3, three->GetTabCount());

    for (CTabGroup* shown : {two, three, two}) {
        m_frame->ActivateGroup(shown);
        Pump();
        ASSERT_EQ(shown, theApp.GetActiveGroup());
        ASSERT_EQ(shown->GetTabCount(), BarCount());
        for (int i = 0; i < BarCount(); ++i)
            EXPECT_EQ(shown->GetTab(i), BarTab(i)) << i;
        // A click on the first item brings its page up.
        CRect first = ItemRect(pages, 0);
        pages.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(first.left + 4, first.top + 4));
        pages.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(first.left + 4, first.top + 4));
        Pump();
        EXPECT_EQ(shown->GetTab(0), Active());
    }

    // The close button over the second item closes that page and no other.
    CTabItem* target = two->GetTab(1);
    HWND closed = target->m_hFrame;
    HWND others[] = {two->GetTab(0)->m_hFrame, three->GetTab(0)->m_hFrame, three->GetTab(1)->m_hFrame,
                     three->GetTab(2)->m_hFrame};
    MoveOver(pages, 1);
    HWND button = m_frame->m_wndTabButton.m_hWnd;
    ASSERT_TRUE(::IsWindowVisible(button));
    ::PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    MSG down = Mouse(button, WM_LBUTTONDOWN, MK_LBUTTON, 4, 4);
    EXPECT_TRUE(m_frame->PreTranslateMessage(&down));
    Pump();
    EXPECT_FALSE(::IsWindow(closed));
    for (HWND other : others)
        EXPECT_TRUE(::IsWindow(other));
}
