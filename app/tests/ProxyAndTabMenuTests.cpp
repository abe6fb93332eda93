// The proxy commands, their menu checks and the tab context menu's fill,
// and the state of every submenu of the menu bar, through a real main frame.
#include <windows.h>
#include <wininet.h>

#include <string>
#include <vector>

#include "app/MainFrame.h"
#include "app/VantorelApp.h"
#include "app/resource.h"
#include "lists/ProxySettings.h"
#include "shared/ProfileSection.h"
#include "tab/TabItem.h"
#include "app/tests/TabFixture.h"
#include "tests/support/HeldFile.h"

namespace {

// What the process's proxy was set to; Wine refuses the real call whatever
// it is given, so the tests record the calls instead.
std::vector<std::pair<unsigned long, std::string>> g_proxyCalls;
bool RecordProxy(unsigned long accessType, const char* server, const char*)
{
    g_proxyCalls.emplace_back(accessType, server != nullptr ? server : "<null>");
    return true;
}

class ProxyAndTabMenu : public TabTest
{
protected:
    void TearDown() override
    {
        DestroyPlugInList(theApp.m_plugIns);
        DestroyScriptList(theApp.m_scripts);
        TabTest::TearDown();
    }

    void Command(UINT id) { ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, id, 0); }
    DWORD Stored(LPCTSTR key)
    {
        CProfileSection section(theApp.GetProgramFolder());
        section.Open("PROXY");
        DWORD value = 0xFFFFFFFF;
        section.QueryDWORDValue(value, key);
        return value;
    }
    // A proxy popup as the menus have it, opened through the frame (which
    // fills it and runs the command-state handlers).
    void OpenProxyPopup(CNewMenu& popup)
    {
        if (popup.m_hMenu == nullptr) {
            ASSERT_TRUE(popup.CreatePopupMenu());
            popup.AppendMenu(MF_STRING, ID_PROXY_IE, "system");
            popup.AppendMenu(MF_STRING, ID_PROXY_DIRECT, "direct");
            popup.AppendMenu(MF_STRING, ID_PROXY_USELIST, "list");
            popup.AppendMenu(MF_STRING, ID_PROXY_SETTINGS, "settings");
        }
        ::SendMessageA(m_frame->m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup.m_hMenu),
                       MAKELPARAM(0, FALSE));
    }
    static bool Checked(CNewMenu& popup, UINT id)
    {
        return (::GetMenuState(popup.m_hMenu, id, MF_BYCOMMAND) & MF_CHECKED) != 0;
    }
};

TEST_F(ProxyAndTabMenu, SelectingAnEntryStoresItsIndexAndTheMenuChecksIt)
{
    m_folder->WriteBytes("Proxy.ini", "[PROXY]\r\nProxy0=a.example:1\r\nProxy1=b.example:2\r\n"
                                      "Proxy2=c&d.example:3\r\nProxy3=\r\nProxy4=e.example:5\r\n"
                                      "Extended_Style=25\r\n");
    Command(ID_PROXY_ENTRY_FIRST + 2);
    EXPECT_EQ(2u, Stored("UseProxyIndex"));
    // The mode follows whether the session took the server (Wine 8 refuses
    // a named proxy); the other bits stay.
    const DWORD style = Stored("Extended_Style");
    EXPECT_EQ(24u, style & ~7u);
    EXPECT_EQ(style & 7u, m_frame->m_proxyList ? 4u : 1u);

    CNewMenu popup;
    OpenProxyPopup(popup);
    // The fixed items, a separator and the entries before the empty one.
    ASSERT_EQ(8, popup.GetMenuItemCount());
    EXPECT_EQ(static_cast<UINT>(ID_PROXY_ENTRY_FIRST + 2), popup.GetMenuItemID(7));
    CString caption;
    popup.GetMenuText(7, caption, MF_BYPOSITION);
    EXPECT_EQ(CString("c&&d.example:3"), caption);
    EXPECT_TRUE(Checked(popup, ID_PROXY_ENTRY_FIRST + 2));
    EXPECT_FALSE(Checked(popup, ID_PROXY_ENTRY_FIRST));

    Command(ID_PROXY_DIRECT);
    EXPECT_EQ(24u | 2u, Stored("Extended_Style"));
    OpenProxyPopup(popup);
    EXPECT_EQ(8, popup.GetMenuItemCount());  // refilled, not appended
    EXPECT_TRUE(Checked(popup, ID_PROXY_DIRECT));
    EXPECT_FALSE(Checked(popup, ID_PROXY_USELIST));
    EXPECT_FALSE(Checked(popup, ID_PROXY_IE));
    popup.DestroyMenu();
}

// Proxy.ini held by a program that lets others read it but not change it:
// the choice is told, the file stays as it was and the mode is not switched.
TEST_F(ProxyAndTabMenu, AChoiceTheFileWillNotTakeIsToldAndNotApplied)
{
    m_folder->WriteBytes("Proxy.ini", "[PROXY]\r\nProxy0=a.example:1\r\nProxy1=b.example:2\r\nUseProxyIndex=0\r\n");
    Command(ID_PROXY_DIRECT);
    ASSERT_EQ(1, m_frame->m_proxyDirect);
    const std::string bytes = m_folder->ReadBytes("Proxy.ini");
    {
        HeldFile held(m_folder->File("Proxy.ini"), FILE_SHARE_READ);
        ASSERT_TRUE(held.IsHeld());
        AnswerNextMessageBox(IDOK);
        Command(ID_PROXY_ENTRY_FIRST + 1);
        EXPECT_TRUE(AllAnswered());
    }
    EXPECT_EQ(bytes, m_folder->ReadBytes("Proxy.ini"));
    EXPECT_EQ(1, m_frame->m_proxyDirect);
    EXPECT_EQ(0, m_frame->m_proxyList);
}

TEST_F(ProxyAndTabMenu, SwitchingToAnEmptyServerKeepsTheModeButStoresTheChoice)
{
    m_folder->WriteBytes("Proxy.ini", "[PROXY]\r\nProxy0=\r\nProxy1=b.example:2\r\n");
    Command(ID_PROXY_DIRECT);
    ASSERT_EQ(1, m_frame->m_proxyDirect);
    Command(ID_PROXY_ENTRY_FIRST);
    EXPECT_EQ(0u, Stored("UseProxyIndex"));
    EXPECT_EQ(2u, Stored("Extended_Style"));
    EXPECT_EQ(1, m_frame->m_proxyDirect);
    EXPECT_EQ(0, m_frame->m_proxyList);

    CNewMenu popup;
    OpenProxyPopup(popup);
    EXPECT_EQ(4, popup.GetMenuItemCount());  // entry 0 is empty: no list
    popup.DestroyMenu();
}

TEST_F(ProxyAndTabMenu, ListModeWithAnEmptyServerNeverSetsTheProxy)
{
    g_proxyCalls.clear();
    ProcessProxySetter previous = ReplaceProcessProxySetter(&RecordProxy);
    m_folder->WriteBytes("Proxy.ini", "[PROXY]\r\nProxy0=\r\nProxy1=b.example:2\r\n");
    Command(ID_PROXY_ENTRY_FIRST);
    Command(ID_PROXY_USELIST);
    const auto emptyCalls = g_proxyCalls;
    const BYTE emptyList = m_frame->m_proxyList;
    Command(ID_PROXY_ENTRY_FIRST + 1);
    ReplaceProcessProxySetter(previous);
    EXPECT_TRUE(emptyCalls.empty());
    EXPECT_EQ(0, emptyList);
    // A server: set once, and the list is in use.
    ASSERT_EQ(1u, g_proxyCalls.size());
    EXPECT_EQ(static_cast<unsigned long>(INTERNET_OPEN_TYPE_PROXY), g_proxyCalls[0].first);
    EXPECT_EQ("b.example:2", g_proxyCalls[0].second);
    EXPECT_EQ(1, m_frame->m_proxyList);
}

TEST_F(ProxyAndTabMenu, TabMenuFillShowsTheLiveListsApartFromTracking)
{
    theApp.m_settings.iReload = 7;
    m_folder->WriteBytes("Proxy.ini", "[PROXY]\r\nProxy0=a.example:1\r\n");
    m_folder->WriteBytes("Script/s.js", "");
    ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, 30102, 0);

    CNewMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_TABMENU));
    CNewMenu* popup = menu.GetSubMenu(0);
    ASSERT_NE(nullptr, popup);
    EXPECT_EQ(static_cast<UINT>(ID_FAV_ADD), popup->GetMenuItemID(6));
    m_frame->FillTabContextMenu(*popup);

    CNewMenu* reload = popup->GetSubMenu(7);
    ASSERT_NE(nullptr, reload);
    ASSERT_EQ(8, reload->GetMenuItemCount());
    EXPECT_EQ(static_cast<UINT>(ID_RELOAD_USER), reload->GetMenuItemID(7));
    CNewMenu* proxies = popup->GetSubMenu(8);
    ASSERT_EQ(6, proxies->GetMenuItemCount());
    EXPECT_EQ(static_cast<UINT>(ID_PROXY_ENTRY_FIRST), proxies->GetMenuItemID(5));
    CNewMenu* plugIns = popup->GetSubMenu(9);
    ASSERT_EQ(1, plugIns->GetMenuItemCount());  // the empty list's item
    EXPECT_TRUE(plugIns->GetMenuState(0, MF_BYPOSITION) & MF_GRAYED);
    CNewMenu* scripts = popup->GetSubMenu(10);
    ASSERT_EQ(1, scripts->GetMenuItemCount());
    CString caption;
    scripts->GetMenuText(0, caption, MF_BYPOSITION);
    EXPECT_EQ(CString("s.js"), caption);
    EXPECT_EQ(static_cast<UINT>(ID_SCRIPT_FIRST), scripts->GetMenuItemID(0));
    menu.DestroyMenu();
}

TEST_F(ProxyAndTabMenu, TabActionsNeedAnActiveTabAndCloseOnlyOnce)
{
    m_frame->TrackTabContextMenu(m_frame, 2);  // no tab: nothing, no crash
    m_frame->TrackTabContextMenu(m_frame, 1);
    CTabItem* tab = Open(nullptr, "http://a.example/");
    ASSERT_EQ(tab, Active());
    HWND frame = tab->m_hFrame;
    m_frame->TrackTabContextMenu(m_frame, 0);
    Pump();
    EXPECT_TRUE(::IsWindow(frame));
    m_frame->TrackTabContextMenu(m_frame, 5);
    EXPECT_EQ(kCloseClosing, tab->m_closeReason);
    m_frame->TrackTabContextMenu(m_frame, 5);  // already closing: no second close
    Pump();
    EXPECT_FALSE(::IsWindow(frame));
}

// The frame of a first start with one page and no history.
class MenuBarWalk : public TabTest
{
protected:
    MenuBarWalk() { m_shippedSettings = true; }

    // Opens the popup as the system does (the owner hears of it first), then
    // each submenu in it in turn: none may be greyed while it holds an
    // item that can be chosen, since a greyed popup does not open.
    void Walk(HMENU popup, UINT position, const std::string& path)
    {
        ::SendMessageA(m_frame->m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup),
                       MAKELPARAM(position, FALSE));
        ++m_popups;
        for (int i = 0; i < ::GetMenuItemCount(popup); ++i) {
            HMENU sub = ::GetSubMenu(popup, i);
            if (sub == nullptr)
                continue;
            char caption[128] = {};
            ::GetMenuStringA(popup, static_cast<UINT>(i), caption, sizeof(caption), MF_BYPOSITION);
            const std::string subPath = path + " > " + caption;
            const bool greyed = (::GetMenuState(popup, static_cast<UINT>(i), MF_BYPOSITION) & MF_GRAYED) != 0;
            Walk(sub, static_cast<UINT>(i), subPath);
            EXPECT_FALSE(greyed && HasEnabledItem(sub)) << subPath;
        }
    }
    static bool HasEnabledItem(HMENU menu)
    {
        for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
            const UINT state = ::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
            if (!(state & MF_SEPARATOR) && !(state & (MF_GRAYED | MF_DISABLED)))
                return true;
        }
        return false;
    }

    int m_popups = 0;
};

TEST_F(MenuBarWalk, NoSubmenuIsGreyedWhileItHoldsAnItemThatCanBeChosen)
{
    ASSERT_NE(nullptr, Open(nullptr, "http://a.example/"));
    Pump();
    HMENU bar = ::GetMenu(m_frame->m_hWnd);
    ASSERT_NE(nullptr, bar);
    ::SendMessageA(m_frame->m_hWnd, WM_INITMENU, reinterpret_cast<WPARAM>(bar), 0);
    for (int i = 0; i < ::GetMenuItemCount(bar); ++i) {
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_SUBMENU;
        // The maximised tab's window menu shows as a bitmap on the bar.
        if (!::GetMenuItemInfoA(bar, static_cast<UINT>(i), TRUE, &info) || info.hSubMenu == nullptr ||
            (info.fType & MFT_BITMAP) != 0)
            continue;
        char caption[128] = {};
        ::GetMenuStringA(bar, static_cast<UINT>(i), caption, sizeof(caption), MF_BYPOSITION);
        Walk(info.hSubMenu, static_cast<UINT>(i), caption);
    }
    // The bar's popups and their submenus (移動, 新しいタブの種類, プロキシ...).
    EXPECT_GT(m_popups, 15);
}

} // namespace
