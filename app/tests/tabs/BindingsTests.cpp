// Key and gesture bindings through the application, the closed-tab menu and
// the history popups.
#include <windows.h>

#include <string>

#include "app/MainFrame.h"
#include "app/VantorelApp.h"
#include "menulib/NewMenu.h"
#include "shared/AppSettings.h"
#include "shared/CommandIds.h"
#include "tab/BrowserView.h"
#include "tab/ChildFrame.h"
#include "tab/TabGroup.h"
#include "tab/TabItem.h"
#include "shared/BindingFile.h"
#include "app/tests/TabFixture.h"

namespace {

const std::string kSep = "\x81\x4D";

void Navigate(CTabItem* tab, const char* url)
{
    tab->m_pView->Navigate(url);
    TestWebBrowser::Settle();
}

CString MenuText(HMENU menu, int position)
{
    CNewMenu* owner = CNewMenu::FromHandleNew(menu);
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_DATA;
    ::GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info);
    if ((info.fType & MFT_OWNERDRAW) && owner != nullptr) {
        if (CNewMenuItemData* record = owner->FindRecord(reinterpret_cast<const void*>(info.dwItemData)))
            return record->m_strText;
    }
    char text[256] = {};
    ::GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof(text), MF_BYPOSITION);
    return text;
}

int s_shownItems = -1;

void CALLBACK CountAndEndMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    HMENU menu = nullptr;
    if (!TakeShownMenu(id, &menu))
        return;
    s_shownItems = menu != nullptr ? ::GetMenuItemCount(menu) : -1;
    ::EndMenu();
}

} // namespace

TEST_F(TabTest, KeyMapTakesTheLastLineForAKeyAndForACommandsShortcut)
{
    m_folder->WriteBytes("KEYCONF.dat", BindingLine("one", "F5", 1022) + BindingLine("two", "F5", 1021, 0) +
                                            BindingLine("other", "Ctrl+R", 1021) + "short" + kSep + "F6\r\n" + "x" +
                                            kSep + "F8" + kSep + "1022" + kSep + "1" + kSep + "\r\n");
    theApp.ReloadBindingMaps();
    const CBindingMap::Binding* f5 = theApp.m_keyBindings.Find("F5");
    ASSERT_NE(nullptr, f5);
    EXPECT_EQ(1021, f5->command);
    // A fifth, empty field: kind 0 whatever the fourth says.
    const CBindingMap::Binding* f8 = theApp.m_keyBindings.Find("F8");
    ASSERT_NE(nullptr, f8);
    EXPECT_EQ(0, f8->kind);
    CString text = "kept";
    AppSettings().bMenuShortCutKey(true);
    theApp.GetShortcutText(1021, text);
    EXPECT_STREQ("Ctrl+R", text);
    text = "kept";
    theApp.GetShortcutText(4242, text);
    EXPECT_STREQ("kept", text);
    AppSettings().bMenuShortCutKey(false);
    theApp.GetShortcutText(1021, text);
    EXPECT_STREQ("", text);
}

TEST_F(TabTest, KeyBindingPostsItsCommandRemapsKeysAndIgnoresModifiersAlone)
{
    m_folder->WriteBytes("KEYCONF.dat", BindingLine("reload", "F5", 1022, 0) + BindingLine("up", "Shift+Space", 33, 1) +
                                            BindingLine("mods", "Ctrl+", 1022) + BindingLine("reopen", "Ctrl+Shift+T", 32300) +
                                            BindingLine("second", "Ctrl+Shift+U", 32301));
    theApp.ReloadBindingMaps();
    Pump();
    MSG key = {};
    key.message = WM_KEYDOWN;
    key.wParam = 116;
    EXPECT_TRUE(theApp.ExecuteKeyBinding("F5", &key));
    EXPECT_EQ(1022u, TakePostedCommand(m_frame->m_hWnd));
    key.wParam = ' ';
    EXPECT_FALSE(theApp.ExecuteKeyBinding("Shift+Space", &key));
    EXPECT_EQ(33u, key.wParam);
    EXPECT_FALSE(theApp.ExecuteKeyBinding("Ctrl+", &key));
    EXPECT_FALSE(theApp.ExecuteKeyBinding("F9", &key));
    // No closed tab: nothing to reopen, and nothing posted.
    EXPECT_FALSE(theApp.ExecuteKeyBinding("Ctrl+Shift+T", &key));
    EXPECT_EQ(0u, TakePostedCommand(m_frame->m_hWnd));

    for (const char* url : {"http://a.example/?va-title=A", "http://b.example/?va-title=B"}) {
        CTabItem* tab = Open(nullptr, url);
        ::SendMessageA(tab->m_hFrame, WM_CLOSE, 0, 0);
        Pump();
    }
    ASSERT_EQ(2u, m_frame->m_closedTabs.size());
    // 32300 is the newest closed tab, 32301 the one before.
    EXPECT_TRUE(theApp.ExecuteKeyBinding("Ctrl+Shift+T", &key));
    EXPECT_EQ(ID_CLOSEDTAB_FIRST + static_cast<UINT>(m_frame->m_closedTabs.GetIdAt(0)),
              TakePostedCommand(m_frame->m_hWnd));
    EXPECT_TRUE(theApp.ExecuteKeyBinding("Ctrl+Shift+U", &key));
    const UINT older = TakePostedCommand(m_frame->m_hWnd);
    EXPECT_STREQ("http://a.example/?va-title=A", m_frame->m_closedTabs.Find(static_cast<int>(older - 32300))->url);
}

TEST_F(TabTest, GestureBindingPostsACommandOrPressesTheBoundKey)
{
    m_folder->WriteBytes("MGC.dat", BindingLine("back", "\x81\xA9", 1018, 0) + BindingLine("end", "\x81\xAB", 35, 1));
    theApp.ReloadBindingMaps();
    Pump();
    theApp.ExecuteGesture("\x81\xA9");
    EXPECT_EQ(1018u, TakePostedCommand(m_frame->m_hWnd));
    theApp.ExecuteGesture("\x81\xAA");
    EXPECT_EQ(0u, TakePostedCommand(m_frame->m_hWnd));
    HWND edit = ::CreateWindowA("EDIT", "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, m_frame->m_hWnd, nullptr,
                                nullptr, nullptr);
    ::SetFocus(edit);
    theApp.ExecuteGesture("\x81\xAB");
    bool sawEnd = false;
    MSG msg;
    while (::PeekMessageA(&msg, edit, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE))
        sawEnd = sawEnd || msg.wParam == 35;
    EXPECT_TRUE(sawEnd);
    ::DestroyWindow(edit);
}

TEST_F(TabTest, ShippedDefaultBindingsAreSortedAndNameRealCommands)
{
    const std::string keys = m_folder->ReadBytes("KEYCONFDefault.dat");
    const std::string gestures = m_folder->ReadBytes("MGCDefault.dat");
    for (const std::string& file : {keys, gestures}) {
        std::string previous;
        bool keyEvent = false;
        size_t start = 0;
        while (start < file.size()) {
            size_t end = file.find("\r\n", start);
            ASSERT_NE(std::string::npos, end);
            std::string line = file.substr(start, end - start);
            start = end + 2;
            BindingFile::Line parsed;
            ASSERT_TRUE(BindingFile::Parse(line.c_str(), parsed)) << line;
            ASSERT_EQ(4, parsed.fieldCount) << line;
            const std::string text(parsed.text, static_cast<size_t>(parsed.text.GetLength()));
            EXPECT_LT(previous, text);  // std::string compares as unsigned bytes
            previous = text;
            keyEvent = keyEvent || parsed.kind == 1;
        }
        EXPECT_TRUE(keyEvent);
    }
    theApp.ReloadBindingMaps();
    const CBindingMap::Binding* newTab = theApp.m_keyBindings.Find("Ctrl+N");
    ASSERT_NE(nullptr, newTab);
    EXPECT_EQ(ID_FILE_NEWTAB, newTab->command);
    ASSERT_NE(nullptr, theApp.m_gestureBindings.Find("\x81\xA9"));
}

TEST_F(TabTest, MenuBarShowsBoundShortcutsOnlyWhileTheSettingIsOn)
{
    theApp.ReloadBindingMaps();
    HMENU bar = m_frame->m_DefaultNewMenu.m_hMenu;
    HMENU file = ::GetSubMenu(bar, 0);
    AppSettings().bMenuShortCutKey(false);
    m_frame->UpdateMenuStates(bar);
    EXPECT_STREQ("\x90V\x82\xB5\x82\xA2\x83^\x83u(&N)", MenuText(file, 0));
    AppSettings().bMenuShortCutKey(true);
    m_frame->UpdateMenuStates(bar);
    m_frame->UpdateMenuStates(bar);
    EXPECT_STREQ("\x90V\x82\xB5\x82\xA2\x83^\x83u(&N)\tCtrl+N", MenuText(file, 0));
}

TEST_F(TabTest, ClosedTabsFillTheMenuNumberedAndReopenWithTheirHistory)
{
    AppSettings().iFavTitleMaxStr = 10;
    CTabItem* first = Open(nullptr, "http://a.example/1?va-title=%26%26Co");
    Navigate(first, "http://a.example/2?va-title=Two");
    ::SendMessageA(first->m_hFrame, WM_CLOSE, 0, 0);
    Pump();
    for (int i = 0; i < 16; ++i) {
        CString url;
        url.Format("http://n.example/%d?va-title=%%E3%%83%%A1%%E3%%83%%A1%%E3%%83%%A1%%E3%%83%%A1%%E3%%83%%A1%d", i, i);
        CTabItem* tab = Open(nullptr, url);
        ::SendMessageA(tab->m_hFrame, WM_CLOSE, 0, 0);
        Pump();
    }
    HMENU closed = m_frame->GetClosedTabMenu();
    ASSERT_NE(nullptr, closed);
    ASSERT_EQ(15, ::GetMenuItemCount(closed));
    ASSERT_EQ(15u, m_frame->m_closedTabs.size());
    // Five "メ" (10 bytes) and a digit cut at 10 bytes keep the five.
    EXPECT_STREQ("\x83\x81\x83\x81\x83\x81\x83\x81\x83\x81\x81\x63", MenuText(closed, 0));
    m_frame->RenumberClosedTabMenu();
    m_frame->RenumberClosedTabMenu();
    EXPECT_STREQ("&0 \x83\x81\x83\x81\x83\x81\x83\x81\x83\x81\x81\x63", MenuText(closed, 0));
    EXPECT_EQ(0, CString(MenuText(closed, 10)).Find("&a "));
    EXPECT_EQ(0, CString(MenuText(closed, 14)).Find("&e "));

    // The first tab was pushed out; close and reopen one with history.
    CTabItem* tab = Open(nullptr, "http://h.example/1?va-title=H1");
    Navigate(tab, "http://h.example/2?va-title=H2");
    ::SendMessageA(tab->m_hFrame, WM_CLOSE, 0, 0);
    Pump();
    EXPECT_STREQ("H2", MenuText(closed, 0));
    const UINT id = ::GetMenuItemID(closed, 0);
    ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, id, 0);
    Pump();
    CTabItem* reopened = Active();
    ASSERT_NE(nullptr, reopened);
    EXPECT_STREQ("http://h.example/2?va-title=H2", reopened->m_url);
    std::vector<std::wstring> backs = ControlOf(reopened)->GetTravelLog().GetBackUrls();
    ASSERT_EQ(1u, backs.size());
    EXPECT_EQ(L"http://h.example/1?va-title=H1", backs[0]);
}

TEST_F(TabTest, RenumberingKeepsADoubledAmpersandOfTheTitle)
{
    CTabItem* tab = Open(nullptr, "http://a.example/?va-title=%26%26Co");
    ::SendMessageA(tab->m_hFrame, WM_CLOSE, 0, 0);
    Pump();
    HMENU closed = m_frame->GetClosedTabMenu();
    ASSERT_NE(nullptr, closed);
    EXPECT_STREQ("&&&&Co", MenuText(closed, 0));
    m_frame->RenumberClosedTabMenu();
    EXPECT_STREQ("&0 &&&&Co", MenuText(closed, 0));
}

TEST_F(TabTest, HistoryPopupOfThirtyBackEntriesShowsTwentyFive)
{
    AppSettings().iBackHistoryMax = 50;
    CTabItem* tab = Open(nullptr, "http://h.example/0");
    for (int i = 1; i <= 30; ++i) {
        CString url;
        url.Format("http://h.example/%d", i);
        Navigate(tab, url);
    }
    s_shownItems = -1;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, CountAndEndMenu);
    ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, ID_NAV_BACKMENU, 0);
    ::KillTimer(nullptr, timer);
    EXPECT_EQ(25, s_shownItems);
    s_shownItems = -1;
    // No forward entries: no popup.
    ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, ID_NAV_FORWARDMENU, 0);
    EXPECT_EQ(-1, s_shownItems);
}

TEST_F(TabTest, ToolsPopupListsProxiesUpToTheFirstGapOnceAndTheUserReloadPeriod)
{
    m_folder->WriteBytes("Proxy.ini", "[PROXY]\r\nProxy0=a:1\r\nProxy1=b:2\r\nProxy2=c&d:3\r\nProxy4=e:5\r\n");
    m_folder->WriteBytes("KEYCONF.dat", BindingLine("proxy b", "F7", 36061));
    theApp.ReloadBindingMaps();
    AppSettings().bMenuShortCutKey(true);
    AppSettings().iReload = 7;
    HMENU bar = m_frame->m_DefaultNewMenu.m_hMenu;
    HMENU tools = nullptr;
    for (int i = 0; i < ::GetMenuItemCount(bar) && tools == nullptr; ++i) {
        HMENU popup = ::GetSubMenu(bar, i);
        if (popup != nullptr && ::GetMenuItemID(popup, 0) == ID_TAB_WHEELLOCK)
            tools = popup;
    }
    ASSERT_NE(nullptr, tools);
    m_frame->BuildProxyMenu(tools);
    m_frame->BuildProxyMenu(tools);
    HMENU proxies = ::GetSubMenu(tools, ::GetMenuItemCount(tools) - 1);
    ASSERT_EQ(8, ::GetMenuItemCount(proxies));
    EXPECT_EQ(36060u, ::GetMenuItemID(proxies, 5));
    EXPECT_EQ(36062u, ::GetMenuItemID(proxies, 7));
    EXPECT_STREQ("b:2\tF7", MenuText(proxies, 6));
    EXPECT_STREQ("c&&d:3", MenuText(proxies, 7));
    HMENU reload = ::GetSubMenu(tools, 5);
    ASSERT_NE(nullptr, reload);
    EXPECT_EQ(static_cast<UINT>(ID_RELOAD_USER), ::GetMenuItemID(reload, 7));
    EXPECT_EQ(0, MenuText(reload, 7).Find("7"));
}

namespace {

UINT s_groupMenuFirst = 0;
int s_groupMenuItems = -1;

void CALLBACK ReadGroupMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    HMENU menu = nullptr;
    if (!TakeShownMenu(id, &menu))
        return;
    s_groupMenuItems = menu != nullptr ? ::GetMenuItemCount(menu) : -1;
    HMENU templates = menu != nullptr ? ::GetSubMenu(menu, 1) : nullptr;
    s_groupMenuFirst = templates != nullptr ? ::GetMenuItemID(templates, 0) : 0;
    ::EndMenu();
}

} // namespace

TEST_F(TabTest, GroupTabMenuOpensWithItsTemplateSubmenuAfterTheImages)
{
    Open(nullptr, "http://a.example/");
    s_groupMenuFirst = 0;
    s_groupMenuItems = -1;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, ReadGroupMenu);
    ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, ID_GROUP_TABMENU, 0);
    ::KillTimer(nullptr, timer);
    EXPECT_EQ(static_cast<UINT>(ID_GROUP_NEW), s_groupMenuFirst);
    EXPECT_EQ(13, s_groupMenuItems);
}

namespace {

// A frame that starts with its own key bindings in "KEYCONF.dat".
class MenuShortcuts : public TabTest
{
protected:
    void WriteStartFiles() override
    {
        m_folder->WriteBytes("KEYCONF.dat",
                             BindingLine("\x90V\x82\xB5\x82\xA2\x83^\x83u", "Ctrl+Shift+N", ID_FILE_NEWTAB, 0) +
                                 BindingLine("\x82\xB1\x82\xCC\x83y\x81[\x83W", "Alt+F2", ID_TAB_DUPLICATE, 0) +
                                 BindingLine("\x83t\x83\x8B\x83X\x83N\x83\x8A\x81[\x83\x93", "F11",
                                             ID_VIEW_FULLSCREEN, 0));
    }

    CString Shown(const std::function<void()>& open, HMENU popup, UINT id)
    {
        CString caption = CaptionWhileShown(open, popup, id);
        Pump();
        return caption;
    }
};

} // namespace

// Regression: the captions got their shortcut texts, and every opening of
// a popup took them away again before it showed.
TEST_F(MenuShortcuts, TheMenuShowsTheShortcutOfEachBoundCommandWhenItOpens)
{
    ASSERT_TRUE(AppSettings().bMenuShortCutKey());
    HWND frame = m_frame->m_hWnd;
    HMENU bar = ::GetMenu(frame);
    HMENU file = ::GetSubMenu(bar, 0);
    HMENU kinds = ::GetSubMenu(file, 1);
    HMENU view = ::GetSubMenu(bar, 2);
    ASSERT_NE(nullptr, kinds);
    ASSERT_NE(nullptr, view);
    // The menu bar opened from the keyboard, as Alt+F and Alt+V open it.
    auto fromBar = [frame](char key) {
        return [frame, key] { ::SendMessageA(frame, WM_SYSCOMMAND, SC_KEYMENU, key); };
    };
    auto tracked = [frame](HMENU popup) {
        return [frame, popup] { ::TrackPopupMenu(popup, TPM_LEFTALIGN, 200, 200, 0, frame, nullptr); };
    };
    struct Case
    {
        const char* name;
        std::function<void()> open;
        HMENU popup;
        UINT id;
        const char* caption;
    };
    const Case cases[] = {
        {"File", fromBar('f'), file, ID_FILE_NEWTAB, "\x90V\x82\xB5\x82\xA2\x83^\x83u(&N)\tCtrl+Shift+N"},
        {"File again", fromBar('f'), file, ID_FILE_NEWTAB, "\x90V\x82\xB5\x82\xA2\x83^\x83u(&N)\tCtrl+Shift+N"},
        {"unbound", fromBar('f'), file, ID_APP_EXIT,
         "\x83" "A\x83v\x83\x8A\x83P\x81[\x83V\x83\x87\x83\x93\x82\xCC\x8FI\x97\xB9(&S)"},
        {"submenu", tracked(kinds), kinds, ID_TAB_DUPLICATE, "\x82\xB1\x82\xCC\x83y\x81[\x83W(&A)\tAlt+F2"},
        {"View", fromBar('v'), view, ID_VIEW_FULLSCREEN,
         "\x83t\x83\x8B\x83X\x83N\x83\x8A\x81[\x83\x93\x83\x82\x81[\x83h(&Q)\tF11"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_STREQ(c.caption, Shown(c.open, c.popup, c.id));
    }
}
