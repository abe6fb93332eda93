// The gallery's shots of the real main frame: the window with two groups of
// tabs, each popup of its menu bar, the favorites pane, full screen, every
// page of the settings dialog and the dialogs the frame's commands open, in
// a program folder made from the shipped data with the built dialogs
// library beside the program.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/MainFrame.h"
#include "app/VantorelApp.h"
#include "bars/GroupTabBar.h"
#include "bars/PageTabBar.h"
#include "framework/win/TreeCtrl.h"
#include "shared/AppSettings.h"
#include "shared/CommandIds.h"
#include "tab/TabGroup.h"
#include "tab/TabItem.h"
#include "app/tests/TabFixture.h"
#include "tests/gallery/GalleryShots.h"

namespace {

// The settings dialog's tree of pages.
const int kSettingsTreeId = 1013;

// cp932 text from a UTF-8 literal, as the program's data holds it.
std::string Cp932(const char* utf8)
{
    wchar_t wide[512] = {};
    ::MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide, 512);
    char narrow[1024] = {};
    ::WideCharToMultiByte(932, 0, wide, -1, narrow, sizeof(narrow), nullptr, nullptr);
    return narrow;
}

// A test-control page whose title is the UTF-8 text.
std::string PageUrl(const char* host, const char* utf8Title)
{
    std::string url = std::string("http://") + host + "/?va-title=";
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(utf8Title); *p != 0; ++p) {
        char escaped[4];
        std::snprintf(escaped, sizeof(escaped), "%%%02X", *p);
        url += escaped;
    }
    return url;
}

std::string Numbered(const char* prefix, int number, const std::string& caption)
{
    char head[64];
    std::snprintf(head, sizeof(head), "%s-%02d", prefix, number);
    const std::string part = NamePart(caption);
    return part.empty() ? head : std::string(head) + "-" + part;
}

//--- Shots taken from a timer while a modal loop or a menu runs

std::function<bool()> s_tick;  // true once it is done
UINT_PTR s_timer = 0;

void CALLBACK TickTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (s_tick && s_tick()) {
        ::KillTimer(nullptr, s_timer);
        s_timer = 0;
    }
}

// Runs open (which returns once its modal loop or menu ends) while tick runs
// every 100 ms from that loop; the timer stops when tick says it is done or
// open returns.
void WhileRunning(const std::function<void()>& open, std::function<bool()> tick)
{
    s_tick = std::move(tick);
    s_timer = ::SetTimer(nullptr, 0, 100, TickTimer);
    open();
    if (s_timer != 0)
        ::KillTimer(nullptr, s_timer);
    s_timer = 0;
    s_tick = nullptr;
}

// Shoots the dialog that open shows as soon as it shows, then cancels it
// (and closes it should Cancel not end it). False when no dialog showed.
bool ShootDialogOf(const std::function<void()>& open, const std::string& name)
{
    bool shot = false;
    int ticks = 0;
    WhileRunning(open, [&] {
        HWND hDlg = ShownDialog(true);
        if (hDlg == nullptr)
            return ++ticks > 100;  // ten seconds: the command showed nothing
        if (!shot) {
            shot = true;
            KeepShot(name, CaptureShownWindow(hDlg));
            ::PostMessageA(hDlg, WM_COMMAND, IDCANCEL, 0);
        } else {
            ::PostMessageA(hDlg, WM_CLOSE, 0, 0);
        }
        return false;
    });
    return shot;
}

// The settings dialog's tree items, parents before their children.
std::vector<HTREEITEM> TreeItems(HWND hTree)
{
    std::vector<HTREEITEM> items;
    std::vector<HTREEITEM> pending;
    for (HTREEITEM h = TreeView_GetRoot(hTree); h != nullptr; h = TreeView_GetNextSibling(hTree, h))
        pending.push_back(h);
    for (size_t i = 0; i < pending.size(); ++i) {
        items.push_back(pending[i]);
        std::vector<HTREEITEM> children;
        for (HTREEITEM c = TreeView_GetChild(hTree, pending[i]); c != nullptr; c = TreeView_GetNextSibling(hTree, c))
            children.push_back(c);
        pending.insert(pending.begin() + static_cast<std::ptrdiff_t>(i) + 1, children.begin(), children.end());
    }
    return items;
}

std::string TreeItemText(HWND hTree, HTREEITEM hItem)
{
    CTreeCtrl tree;
    tree.Attach(hTree);
    const std::string text = static_cast<LPCSTR>(tree.GetItemText(hItem));
    tree.Detach();
    return text;
}

class Gallery : public TabTest
{
protected:
    // The frame as a first start of the program shows it.
    Gallery() { m_shippedSettings = true; }

    void SetUp() override
    {
        TabTest::SetUp();
        // Titles and captions name the product as the program does (the
        // fixture's own name serves only to make its window class).
        lstrcpynA(theApp.m_className, "VantorelArco", sizeof(theApp.m_className));
        // The dialogs library as the program finds it: in its own folder.
        const std::string built = ProgramFolder::PathFromEnvironment("VA_BIN_DIR") + "\\Formbay.dll";
        ASSERT_TRUE(::CopyFileA(built.c_str(), m_folder->File("Formbay.dll").c_str(), FALSE));
        ::SetWindowPos(m_frame->m_hWnd, HWND_TOP, 40, 30, 1040, 740, SWP_SHOWWINDOW);
        ::SetForegroundWindow(m_frame->m_hWnd);
        FillFavorites();
        OpenTabs();
        Idle(300);
    }

    // A few favorites with Japanese names, in folders, for the menu and the
    // pane.
    void FillFavorites()
    {
        CFavoriteTree& tree = m_frame->m_favorites;
        ASSERT_TRUE(tree.Reset("Favorites", "C:\\Fav\\"));
        CFavoriteNode* root = tree.GetRoot();
        CFavoriteNode* news = root->AddChild(Cp932("ニュース").c_str(), "C:\\Fav\\News\\", CFavoriteNode::kFolder);
        news->AddChild(Cp932("朝刊.url").c_str(), "http://news.example.jp/", CFavoriteNode::kShortcut);
        news->AddChild(Cp932("天気予報.url").c_str(), "http://weather.example.jp/", CFavoriteNode::kShortcut);
        CFavoriteNode* links = root->AddChild("Links", m_frame->GetLinksFolderPath(), CFavoriteNode::kFolder);
        links->AddChild(Cp932("検索.url").c_str(), "http://search.example.jp/", CFavoriteNode::kShortcut);
        root->AddChild(Cp932("地図.url").c_str(), "http://map.example.jp/", CFavoriteNode::kShortcut);
        root->AddChild("Example.url", "http://www.example.com/", CFavoriteNode::kShortcut);
        m_frame->AfterFavoritesRebuilt();
    }

    // Two groups: three tabs in the first, which stays current, and two in
    // the second.
    void OpenTabs()
    {
        Open(nullptr, PageUrl("www.example.jp", "ようこそ").c_str());
        Open(nullptr, PageUrl("news.example.jp", "ニュース - 今日の話題").c_str());
        Open(nullptr, PageUrl("weather.example.jp", "天気予報").c_str());
        theApp.OpenUrlInNewGroup(PageUrl("map.example.jp", "地図").c_str(), 0, 0);
        Pump();
        Open(nullptr, PageUrl("search.example.jp", "検索結果").c_str());
        m_frame->ActivateGroup(theApp.m_groups.front());
        Pump();
    }

    // Runs the queue and the application's idle work for a while, as the
    // program's message loop does: the frame lays its bars out again and
    // updates its commands' states when the queue is empty.
    static void Idle(DWORD ms = 300)
    {
        const DWORD start = ::GetTickCount();
        do {
            Pump();
            for (LONG count = 0; theApp.OnIdle(count); ++count) {
            }
            ::Sleep(10);
        } while (::GetTickCount() - start < ms);
    }

    HWND Frame() const { return m_frame->m_hWnd; }
    void Command(UINT nID) const { ::SendMessageA(Frame(), WM_COMMAND, nID, 0); }
};

} // namespace

TEST_F(Gallery, MainWindowWithTabs)
{
    Idle(300);
    KeepShot("frame-tabs", CaptureShownWindow(Frame()));
}

// The tab bars as the program draws them itself (the look the settings
// record's defaults ask for; a start forces the system's).
TEST_F(Gallery, TabBarsDrawnByTheProgram)
{
    AppSettings().bOldStyle(false);
    AppSettings().bOldStyle_P(false);
    m_frame->RecreateGroupTabBar();
    m_frame->RecreateTabBar();
    Idle(300);
    KeepShot("frame-tabs-drawn", CaptureShownWindow(Frame()));
}

// The tab button over a page tab and, in its two parts, over the tab of a
// group of several pages, where the mouse has moved onto the tab.
TEST_F(Gallery, TabButtonOverTheTabUnderTheMouse)
{
    const struct
    {
        CTabBarCtrl* bar;
        const char* name;
    } kBars[] = {
        { m_frame->m_pPageTabBar, "frame-tab-button-page" },
        { m_frame->m_pGroupTabBar, "frame-tab-button-group" },
    };
    for (const auto& shot : kBars) {
        RECT item = {};
        ASSERT_TRUE(shot.bar->GetItemRect(0, &item)) << shot.name;
        // The first move makes the button, the next lays it over the tab.
        for (int i = 0; i < 2; ++i) {
            MSG move = { shot.bar->m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(item.left + 4, item.top + 4), ::GetTickCount(), {} };
            m_frame->PreTranslateMessage(&move);
        }
        Idle(200);
        EXPECT_TRUE(::IsWindowVisible(m_frame->m_wndTabButton.m_hWnd)) << shot.name;
        KeepShot(shot.name, CaptureShownWindow(Frame()));
    }
}

TEST_F(Gallery, EachMenuBarPopup)
{
    HMENU bar = ::GetMenu(Frame());
    ASSERT_NE(nullptr, bar);
    int popups = 0;
    for (int i = 0; i < ::GetMenuItemCount(bar); ++i) {
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_SUBMENU;
        // The maximised tab's window menu shows as a bitmap on the bar.
        if (!::GetMenuItemInfoA(bar, static_cast<UINT>(i), TRUE, &info) || info.hSubMenu == nullptr ||
            (info.fType & MFT_BITMAP) != 0)
            continue;
        ++popups;
        char caption[128] = {};
        ::GetMenuStringA(bar, static_cast<UINT>(i), caption, sizeof(caption), MF_BYPOSITION);
        RECT item = {};
        ASSERT_TRUE(::GetMenuItemRect(Frame(), bar, static_cast<UINT>(i), &item));
        const std::string name = Numbered("menu", popups, caption);
        bool shot = false;
        // A click on the bar item, as the user opens it: the frame gets the
        // bar's WM_INITMENU and the popup's WM_INITMENUPOPUP.
        const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
        WhileRunning([&] { ::SendMessageA(Frame(), WM_SYSCOMMAND, SC_MOUSEMENU | HTMENU, at); }, [&] {
            HWND popup = ShownPopupMenu();
            if (popup == nullptr)
                return false;
            ::UpdateWindow(popup);
            RECT rc = {};
            ::GetWindowRect(popup, &rc);
            // The menu's shadow lies beside it, at the right and below.
            rc.right += 6;
            rc.bottom += 6;
            shot = KeepShot(name, CaptureScreen(rc));
            ::EndMenu();
            return true;
        });
        EXPECT_TRUE(shot) << name;
        // What the ended menu left in the queue goes before the next click.
        Idle(100);
    }
    EXPECT_GT(popups, 3);
}

TEST_F(Gallery, FavoritesPane)
{
    Command(ID_VIEW_FAVORITES_PANE);
    Idle(500);
    KeepShot("frame-favorites-pane", CaptureShownWindow(Frame()));
}

TEST_F(Gallery, FullScreen)
{
    Command(ID_VIEW_FULLSCREEN);
    Idle(500);
    const RECT screen = { 0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN) };
    KeepShot("frame-fullscreen", CaptureScreen(screen));
    Command(ID_VIEW_FAVORITES_PANE);
    Idle(300);
    KeepShot("frame-fullscreen-favorites-pane", CaptureScreen(screen));
    Command(ID_VIEW_FULLSCREEN);
    Idle(300);
    KeepShot("frame-after-fullscreen", CaptureShownWindow(Frame()));
}

// Every page of the settings dialog as the settings command shows it, one
// page selected per tick so that each has painted before its shot.
TEST_F(Gallery, EverySettingsPage)
{
    std::vector<HTREEITEM> items;
    size_t next = 0;
    int shots = 0;
    int ticks = 0;
    HWND hTree = nullptr;
    WhileRunning([&] { Command(ID_TOOLS_SETTINGS); }, [&] {
        HWND hDlg = ShownDialog(true);
        if (hDlg == nullptr || ::GetDlgItem(hDlg, kSettingsTreeId) == nullptr)
            return ++ticks > 100;
        if (hTree == nullptr) {
            hTree = ::GetDlgItem(hDlg, kSettingsTreeId);
            items = TreeItems(hTree);
        } else if (next > 0 && KeepShot(Numbered("page", static_cast<int>(next), TreeItemText(hTree, items[next - 1])),
                                        CaptureShownWindow(hDlg))) {
            ++shots;
        }
        if (next < items.size()) {
            TreeView_SelectItem(hTree, items[next++]);
            return false;
        }
        ::PostMessageA(hDlg, WM_COMMAND, IDCANCEL, 0);
        return true;
    });
    ASSERT_NE(nullptr, hTree) << "the settings dialog did not show";
    EXPECT_EQ(static_cast<int>(items.size()), shots);
}

// The dialogs the frame's commands open from the dialogs library, each with
// the content the program gives it.
TEST_F(Gallery, DialogsOfTheFramesCommands)
{
    const struct
    {
        UINT nID;
        const char* name;
    } kCommands[] = {
        { ID_APP_ABOUT, "command-about" },
        { ID_FILE_OPENLOCATION, "command-open-location" },
        { ID_PLUGIN_SETTINGS, "command-plugin-settings" },
        { ID_SCRIPT_SETTINGS, "command-script-settings" },
        { ID_PROXY_SETTINGS, "command-proxy-settings" },
        { ID_GROUPTEMPLATE_EDIT, "command-group-templates" },
        { ID_GROUP_SWITCHES, "command-group-switches" },
        { ID_GROUP_CUSTOMIZE, "command-group-customize" },
        { ID_GROUP_RENAME, "command-group-rename" },
    };
    for (const auto& command : kCommands)
        EXPECT_TRUE(ShootDialogOf([&] { Command(command.nID); }, command.name)) << command.name;
    // The keyword dialog belongs to the tab.
    HWND tab = Active() != nullptr ? Active()->m_hFrame : nullptr;
    ASSERT_NE(nullptr, tab);
    EXPECT_TRUE(ShootDialogOf([&] { ::SendMessageA(tab, WM_COMMAND, 1065, 0); }, "command-keyword"));
}

// The boxes that name paths the program cannot reach: its own folder at the
// start, and dropped files.
TEST_F(Gallery, MessagesOfPathsTheProgramCannotReach)
{
    theApp.m_unusableProgramFolder = L"C:\\Users\\J\u00F6rg\\\uD55C\uAD6D\\VantorelArco\\";
    EXPECT_TRUE(ShootDialogOf([] { theApp.ReportUnusableProgramFolder(); }, "message-program-folder"));
    theApp.m_unusableProgramFolder.clear();

    const std::wstring names = std::wstring(L"C:\\\uD55C\uAD6D\\r\u00E9sum\u00E9.html") + L'\0' +
                               L"C:\\\uD55C\uAD6D\\smile \U0001F600.html" + L'\0' + L'\0';
    HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
    BYTE* block = static_cast<BYTE*>(::GlobalLock(h));
    reinterpret_cast<DROPFILES*>(block)->pFiles = sizeof(DROPFILES);
    reinterpret_cast<DROPFILES*>(block)->fWide = TRUE;
    memcpy(block + sizeof(DROPFILES), names.data(), names.size() * sizeof(wchar_t));
    ::GlobalUnlock(h);
    EXPECT_TRUE(ShootDialogOf(
        [&] {
            ::SendMessageA(Frame(), WM_DROPFILES, reinterpret_cast<WPARAM>(h), 0);
            // The box shows from the message loop once the drop has returned.
            PumpFor(1000);
        },
        "message-dropped-files"));
    ::GlobalFree(h);
}
