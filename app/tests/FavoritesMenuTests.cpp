// The favorites as menus, links-bar buttons and open commands, over a tree
// built in the test (the shell's own Favorites folder is the prefix's).
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/DlgFavTree.h"
#include "app/MainFrame.h"
#include "app/VantorelApp.h"
#include "app/resource.h"
#include "bars/ToolBarPopup.h"
#include "lists/FavoritesScan.h"
#include "shared/WidePath.h"
#include "tab/TabGroup.h"
#include "tab/TabItem.h"
#include "app/tests/TabFixture.h"
#include "tests/support/HeldFile.h"
#include "tests/support/WideFavorites.h"
#include "tests/support/WideFiles.h"
#include "tests/support/WindowCapture.h"

namespace {

const char kEllipsis[] = "\x81\x63";

class FavoritesMenu : public TabTest
{
protected:
    void SetUp() override
    {
        TabTest::SetUp();
        m_folder->WriteBytes("doc.txt", "text");
        CFavoriteTree& tree = m_frame->m_favorites;
        ASSERT_TRUE(tree.Reset("Favorites", "C:\\Fav\\"));
        CFavoriteNode* root = tree.GetRoot();
        m_news = root->AddChild("News", "C:\\Fav\\News\\", CFavoriteNode::kFolder);
        m_news->AddChild("a&b.url", "http://a.example/", CFavoriteNode::kShortcut);
        m_news->AddChild("run.url", "javascript:void(0)", CFavoriteNode::kShortcut);
        m_news->AddChild("c.url", "http://c.example/", CFavoriteNode::kShortcut);
        m_empty = root->AddChild("Empty", "C:\\Fav\\Empty\\", CFavoriteNode::kFolder);
        m_links = root->AddChild("Links", m_frame->GetLinksFolderPath(), CFavoriteNode::kFolder);
        m_links->AddChild("l1.url", "http://l1.example/", CFavoriteNode::kShortcut);
        m_sub = m_links->AddChild("Sub", "C:\\Fav\\Links\\Sub\\", CFavoriteNode::kFolder);
        m_sub->AddChild("deep.url", "http://deep.example/", CFavoriteNode::kShortcut);
        m_links->AddChild("doc.txt", m_folder->File("doc.txt").c_str(), CFavoriteNode::kFile);
        m_top = root->AddChild("0123456789abcdef.url", "http://top.example/", CFavoriteNode::kShortcut);
        m_percent = root->AddChild("50%off.url", "http://percent.example/", CFavoriteNode::kShortcut);
        m_noExt = root->AddChild("noext", "http://noext.example/", CFavoriteNode::kShortcut);
        tree.RebuildFlatList();
        theApp.m_settings.bMenuImage(false);
    }

    void Command(UINT id) { ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, id, 0); }
    UINT Id(const CFavoriteNode* node) { return kCmdFavoriteFirst + node->m_flatIndex; }
    HMENU FavoritesPopup()
    {
        HMENU bar = ::GetMenu(m_frame->m_hWnd);
        for (int i = 0; i < ::GetMenuItemCount(bar); ++i) {
            HMENU popup = ::GetSubMenu(bar, i);
            if (popup != nullptr && ::GetMenuItemID(popup, 0) == ID_FAV_ADD)
                return popup;
        }
        return nullptr;
    }
    CNewMenu* OpenFavoritesMenu()
    {
        HMENU popup = FavoritesPopup();
        ::SendMessageA(m_frame->m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup),
                       MAKELPARAM(3, FALSE));
        return CNewMenu::FromHandleNew(popup);
    }
    static CString Text(CNewMenu* menu, int position)
    {
        CString text;
        menu->GetMenuText(position, text, MF_BYPOSITION);
        return text;
    }
    std::vector<CString> GroupUrls(CTabGroup* group)
    {
        Pump();
        std::vector<CString> urls;
        for (CTabItem* tab : group->m_tabs)
            urls.push_back(tab->m_url);
        return urls;
    }

    CFavoriteNode* m_news = nullptr;
    CFavoriteNode* m_empty = nullptr;
    CFavoriteNode* m_links = nullptr;
    CFavoriteNode* m_sub = nullptr;
    CFavoriteNode* m_top = nullptr;
    CFavoriteNode* m_percent = nullptr;
    CFavoriteNode* m_noExt = nullptr;
};

TEST_F(FavoritesMenu, TheMenuHasItsFiveFixedItemsThenTheTreeByFlatIndex)
{
    theApp.m_settings.iFavTitleMaxStr = 10;
    theApp.m_settings.iFavItemRowMax = 4;
    theApp.m_settings.bFavAllOpenMenuAdd(true);
    CNewMenu* menu = OpenFavoritesMenu();
    ASSERT_NE(nullptr, menu);
    const UINT fixed[] = {ID_FAV_ADD, ID_FAV_ORGANIZE, ID_FAV_EXPLORE, ID_FAV_RELOAD, 0};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(fixed[i], menu->GetMenuItemID(i)) << i;
    // Open-all of the root, then News, Empty, Links, and three entries.
    ASSERT_EQ(5 + 1 + 3 + 3, menu->GetMenuItemCount());
    EXPECT_EQ(kCmdFavoriteFirst, menu->GetMenuItemID(5));
    EXPECT_EQ(CString("0123456789") + kEllipsis, Text(menu, 9));
    EXPECT_EQ(Id(m_top), menu->GetMenuItemID(9));
    EXPECT_EQ(CString("50%off"), Text(menu, 10));
    EXPECT_EQ(CString("noext"), Text(menu, 11));
    // n = items before it less the leading open-all item: the 4th, 8th ...
    // start columns.
    EXPECT_TRUE(menu->GetMenuState(9, MF_BYPOSITION) & MF_MENUBARBREAK);
    EXPECT_FALSE(menu->GetMenuState(10, MF_BYPOSITION) & MF_MENUBARBREAK);

    CNewMenu* news = menu->GetSubMenu(6);
    ASSERT_NE(nullptr, news);
    ASSERT_EQ(5, news->GetMenuItemCount());  // open-all, separator, three entries
    EXPECT_EQ(Id(m_news), news->GetMenuItemID(0));
    EXPECT_EQ(CString("a&&b"), Text(news, 2));
    CNewMenu* empty = menu->GetSubMenu(7);
    ASSERT_EQ(1, empty->GetMenuItemCount());
    EXPECT_EQ(kCmdFavoriteEmpty, empty->GetMenuItemID(0));
    EXPECT_TRUE(empty->GetMenuState(0, MF_BYPOSITION) & MF_GRAYED);

    // Built once until the tree is rebuilt.
    m_frame->m_favorites.GetRoot()->AddChild("late.url", "http://late/", CFavoriteNode::kShortcut);
    m_frame->m_favorites.RebuildFlatList();
    EXPECT_EQ(12, OpenFavoritesMenu()->GetMenuItemCount());
    m_frame->AfterFavoritesRebuilt();
    EXPECT_EQ(13, OpenFavoritesMenu()->GetMenuItemCount());
}

TEST_F(FavoritesMenu, WithImagesTheItemsShowTheStripImagesFromOneSharedList)
{
    theApp.m_settings.bMenuImage(true);
    theApp.m_settings.bFavAllOpenMenuAdd(false);
    CNewMenu* menu = OpenFavoritesMenu();
    ASSERT_NE(nullptr, menu);
    ASSERT_EQ(5 + 3 + 3, menu->GetMenuItemCount());
    const CNewMenuItemData& news = *menu->Items()[5];
    const CNewMenuItemData& top = *menu->Items()[8];
    CNewMenu* inside = menu->GetSubMenu(5);
    ASSERT_NE(nullptr, inside);
    const CNewMenuItemData& entry = *inside->Items()[2];
    ASSERT_TRUE(news.HasImage());
    ASSERT_TRUE(entry.HasImage());
    // Folders image 0 and entries image 3 of the frame's strip, each once.
    HIMAGELIST strip = m_frame->m_smallIcons.GetSafeHandle();
    EXPECT_EQ(ImagePixels(strip, 0), ImagePixels(news.GetImageList(), news.GetImageIndex()));
    EXPECT_EQ(ImagePixels(strip, 3), ImagePixels(entry.GetImageList(), entry.GetImageIndex()));
    EXPECT_NE(ImagePixels(strip, 0), ImagePixels(strip, 3));
    EXPECT_EQ(news.GetImageList(), entry.GetImageList());
    EXPECT_EQ(top.GetImageIndex(), entry.GetImageIndex());
}

TEST_F(FavoritesMenu, OpenAllSkipsScriptsAndOpensTheFolderInANewGroupByRule)
{
    theApp.m_settings.iParentTabNewRule = 0x04;
    Command(Id(m_news));
    CTabGroup* group = theApp.GetActiveGroup();
    ASSERT_NE(nullptr, group);
    EXPECT_EQ(CString("News[%c]"), group->m_captionTemplate);
    std::vector<CString> urls = GroupUrls(group);
    ASSERT_EQ(2u, urls.size());
    EXPECT_EQ(CString("http://a.example/"), urls[0]);
    EXPECT_EQ(CString("http://c.example/"), urls[1]);

    // Only scripts: nothing opens and no group is made.
    CFavoriteNode* scripts = m_frame->m_favorites.GetRoot()->AddChild("S", "C:\\S\\", CFavoriteNode::kFolder);
    scripts->AddChild("x.url", "javascript:1", CFavoriteNode::kShortcut);
    m_frame->m_favorites.RebuildFlatList();
    const int groups = theApp.GetGroupCount();
    Command(Id(scripts));
    EXPECT_EQ(groups, theApp.GetGroupCount());
}

// Regression: names beyond cp932 came back from the ANSI listing with "?" in
// them and were lost, with their folders, without a word.
TEST_F(FavoritesMenu, NamesBeyondTheCodePageAreScannedCachedShownAndOpened)
{
    // The shell's Favorites folder, under a path that holds "ö".
    const std::wstring wide = WidePath::FromAnsi(m_folder->Path().c_str()) + L"Fav\u00F6\\";
    ASSERT_TRUE(CreateDirectoryW(wide.c_str(), nullptr));
    ASSERT_TRUE(WriteWideFavorites(wide));
    FavoritesFolderOverride override(wide);
    ASSERT_TRUE(m_frame->ScanFavorites());
    CFavoriteTree& tree = m_frame->m_favorites;

    // Every shortcut with its URL; every folder reached by its ANSI path.
    std::vector<std::string> urls, expected;
    for (const WideFavorite& favorite : kWideFavorites)
        expected.push_back(favorite.url);
    for (INT_PTR i = 0; i < tree.GetFlatCount(); ++i) {
        const CFavoriteNode* node = tree.GetNode(i);
        if (node->m_kind == CFavoriteNode::kShortcut)
            urls.push_back(node->m_url.GetString());
        else
            EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(node->m_url)) << node->m_url;
    }
    std::sort(urls.begin(), urls.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, urls);

    // The cache reads back the same tree (the root is not in it).
    const CString cache = m_folder->File("IEFavorite.dat").c_str();
    ASSERT_TRUE(tree.Save(cache));
    CFavoriteTree loaded;
    ASSERT_TRUE(loaded.LoadCache(cache, "Favorites"));
    ASSERT_EQ(tree.GetFlatCount(), loaded.GetFlatCount());
    for (INT_PTR i = 1; i < tree.GetFlatCount(); ++i) {
        EXPECT_EQ(tree.GetNode(i)->m_label, loaded.GetNode(i)->m_label);
        EXPECT_EQ(tree.GetNode(i)->m_url, loaded.GetNode(i)->m_url);
    }

    // Menu captions: the names with the best fit, as the labels are.
    theApp.m_settings.iFavTitleMaxStr = 100;
    theApp.m_settings.iFavItemRowMax = 50;
    theApp.m_settings.bFavAllOpenMenuAdd(false);
    m_frame->AfterFavoritesRebuilt();
    CNewMenu* menu = OpenFavoritesMenu();
    ASSERT_NE(nullptr, menu);
    std::vector<std::string> captions;
    for (int i = 5; i < menu->GetMenuItemCount(); ++i)
        captions.push_back(Text(menu, i).GetString());
    std::sort(captions.begin(), captions.end());
    std::vector<std::string> names;
    for (const wchar_t* name : {L"\u65E5\u672C\u8A9E\u30DA\u30FC\u30B8", L"\uD55C\uAD6D\uC5B4 \uD398\uC774\uC9C0",
                                L"smile \U0001F600", L"\uD55C\uAD6D", L"\u30D5\u30A9\u30EB\u30C0"})
        names.push_back(WidePath::ToBestFitAnsi(name).GetString());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, captions);

    // Open-all of the root: the three shortcuts directly in it navigate.
    theApp.m_settings.iParentTabNewRule = 0x04;
    Command(kCmdFavoriteFirst + tree.GetRoot()->m_flatIndex);
    std::vector<CString> opened = GroupUrls(theApp.GetActiveGroup());
    std::vector<std::string> direct;
    urls.clear();
    for (const WideFavorite& favorite : kWideFavorites)
        if (favorite.direct)
            direct.push_back(favorite.url);
    for (const CString& url : opened)
        urls.push_back(url.GetString());
    std::sort(urls.begin(), urls.end());
    std::sort(direct.begin(), direct.end());
    EXPECT_EQ(direct, urls);
}

// Regression: a Favorites folder the code page cannot name and without a
// short name was taken by its best-fit spelling ("Fav\u00F6" as "Favo"):
// explore and organise were handed that look-alike folder, and the scan,
// finding it there, gave the favorites its paths. The folder has no ANSI
// path; the scan reaches it and everything in it by the wide paths.
TEST_F(FavoritesMenu, AFavoritesFolderWithoutAShortNameIsNeverTakenForItsLookAlike)
{
    const std::wstring base = ThroughUnixRoot(WidePath::FromAnsi(m_folder->Path().c_str()));
    const std::wstring wide = base + L"Fav\u00F6\\";
    const std::wstring lookAlike = base + L"Favo\\";
    if (base.empty() || !CreateDirectoryW(wide.c_str(), nullptr) || !HasNoShortName(wide))
        GTEST_SKIP() << "no folder without a short name here";
    ASSERT_TRUE(CreateDirectoryW(lookAlike.c_str(), nullptr));
    ASSERT_TRUE(WriteWideFile(wide + L"doc.txt", "the folder's"));
    ASSERT_TRUE(WriteWideFile(lookAlike + L"doc.txt", "the look-alike's"));
    ASSERT_TRUE(WriteWideFavorites(wide));
    FavoritesFolderOverride override(wide);

    std::wstring named;
    EXPECT_STREQ("", GetFavoritesFolderPath(&named));
    EXPECT_TRUE(named == wide);
    ASSERT_TRUE(m_frame->ScanFavorites());
    const CFavoriteTree& tree = m_frame->m_favorites;
    std::vector<std::string> urls, expected;
    for (const WideFavorite& favorite : kWideFavorites)
        expected.push_back(favorite.url);
    int files = 0;
    for (INT_PTR i = 0; i < tree.GetFlatCount(); ++i) {
        const CFavoriteNode* node = tree.GetNode(i);
        if (node->m_kind == CFavoriteNode::kShortcut)
            urls.push_back(node->m_url.GetString());
        if (node->m_kind == CFavoriteNode::kFile) {
            ++files;
            EXPECT_TRUE(node->m_widePath == wide + L"doc.txt") << node->m_url;
        }
    }
    std::sort(urls.begin(), urls.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, urls);
    EXPECT_EQ(1, files);
}

// Regression: every exit read every shortcut again to rewrite the cache. It
// is written again only when a scan would give another tree: something in
// the folder changed after it, the cache lacks a favorite the folder holds,
// or the user reloaded the favorites. A cache that differs from the folder
// only in a URL (what only reading the shortcut tells) shows whether the
// exit wrote it.
TEST_F(FavoritesMenu, TheExitWritesTheCacheOnlyWhenAScanWouldChangeIt)
{
    const std::wstring wide = WidePath::FromAnsi(m_folder->Path().c_str()) + L"Fav\\";
    ASSERT_TRUE(CreateDirectoryW(wide.c_str(), nullptr));
    ASSERT_TRUE(WriteWideFavorites(wide));
    FavoritesFolderOverride override(wide);
    theApp.m_settings.bFavLoadCache(true);
    auto exitWrites = [&] {
        m_frame->SendMessage(WM_QUERYENDSESSION, 0, 0);
        return m_folder->ReadBytes("IEFavorite.dat");
    };
    auto write = [&](const wchar_t* path, const char* text) {
        HANDLE file = CreateFileW((wide + path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, text, static_cast<DWORD>(strlen(text)), &written, nullptr);
        CloseHandle(file);
    };
    auto hide = [&](const wchar_t* path, bool hidden) {
        SetFileAttributesW((wide + path).c_str(), hidden ? FILE_ATTRIBUTE_HIDDEN : FILE_ATTRIBUTE_NORMAL);
    };
    // The fresh cache with every URL marked.
    auto markedCache = [&] {
        ::DeleteFileA(m_folder->File("IEFavorite.dat").c_str());
        std::string cache = exitWrites();
        EXPECT_NE(std::string::npos, cache.find("http://ja.example/"));
        for (size_t at = cache.find("URL:http://"); at != std::string::npos; at = cache.find("URL:http://", at + 1))
            cache.insert(at + 11, "marked.");
        m_folder->WriteBytes("IEFavorite.dat", cache);
        return cache;
    };
    auto writeTime = [&] {
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        GetFileAttributesExA(m_folder->File("IEFavorite.dat").c_str(), GetFileExInfoStandard, &data);
        const FILETIME& time = data.ftLastWriteTime;
        return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    const wchar_t* const korean = L"\uD55C\uAD6D\uC5B4 \uD398\uC774\uC9C0.url";

    struct Change
    {
        const char* what;
        std::function<void()> make;  // null: nothing changes
        std::string found;
        std::string gone;
    };
    const Change changes[] = {
        {"nothing", nullptr, "", ""},
        {"added in a subfolder", [&] { write(L"\uD55C\uAD6D\\added.url", "[InternetShortcut]\r\nURL=http://added.example/\r\n"); },
         "http://added.example/", ""},
        {"a shortcut's URL edited", [&] { write(L"\uD55C\uAD6D\\inner.url", "[InternetShortcut]\r\nURL=http://edited.example/\r\n"); },
         "http://edited.example/", "http://inner.example/"},
        {"deleted from a subfolder", [&] { DeleteFileW((wide + L"\uD55C\uAD6D\\added.url").c_str()); },
         "", "http://added.example/"},
        {"a shortcut hidden", [&] { hide(korean, true); }, "", "http://ko.example/"},
        {"a hidden shortcut shown", [&] { hide(korean, false); }, "http://ko.example/", ""},
        // Last: the reload replaces the tree the menus were built from.
        {"the favorites reloaded", [&] { Command(ID_FAV_RELOAD); }, "http://edited.example/", ""},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.what);
        const std::string marked = markedCache();
        Sleep(20);  // the change's time is later than the cache's
        const ULONGLONG before = writeTime();
        if (change.make)
            change.make();
        const std::string cache = exitWrites();
        if (!change.make) {
            EXPECT_EQ(marked, cache);
            EXPECT_EQ(before, writeTime());
            continue;
        }
        EXPECT_EQ(std::string::npos, cache.find("marked."));
        if (!change.found.empty()) {
            EXPECT_NE(std::string::npos, cache.find(change.found));
        }
        if (!change.gone.empty()) {
            EXPECT_EQ(std::string::npos, cache.find(change.gone));
        }
        // Once written, the cache stays until the next change.
        Sleep(20);
        const ULONGLONG written = writeTime();
        EXPECT_EQ(cache, exitWrites());
        EXPECT_EQ(written, writeTime()) << "written again";
        // The menus keep the tree they were built from.
        if (std::string(change.what) != "the favorites reloaded") {
            EXPECT_EQ(m_news, m_frame->m_favorites.GetRoot()->GetChild(0));
        }
    }
    hide(korean, false);
}

// Regression: a subfolder that could not be listed (held by another
// program, closed to the user) was left out of the exit's scan, which still
// counted as complete, so the cache lost its favorites and the next
// session's menus lacked them. It keeps what the cache holds of it.
TEST_F(FavoritesMenu, AFolderThatCannotBeListedKeepsItsFavoritesInTheCache)
{
    // Where names have no short form (below a long folder name through the
    // Unix root), a name beyond the code page is reached only by its wide
    // path.
    const std::wstring unixRoot = ThroughUnixRoot(WidePath::FromAnsi(m_folder->Path().c_str()));
    const std::wstring wide =
        (unixRoot.empty() ? WidePath::FromAnsi(m_folder->Path().c_str()) : unixRoot) + L"Favorites\\";
    ASSERT_TRUE(CreateDirectoryW(wide.c_str(), nullptr));
    ASSERT_TRUE(WriteWideFavorites(wide));
    m_folder->MakeFolder("Favorites/Held");
    m_folder->WriteBytes("Favorites/Held/kept.url", "[InternetShortcut]\r\nURL=http://kept.example/\r\n");
    m_folder->MakeFolder("Favorites/Held/Inner");
    m_folder->WriteBytes("Favorites/Held/Inner/inner.url", "[InternetShortcut]\r\nURL=http://inner-kept.example/\r\n");
    // Two folders the code page spells alike: a plain name, and an accented
    // one it spells as that name.
    const std::wstring alike[] = { wide + L"cafe", wide + L"caf\u00E9" };
    ASSERT_EQ(WidePath::ToBestFitAnsi(L"cafe"), WidePath::ToBestFitAnsi(L"caf\u00E9"));
    const char* const alikeUrls[] = { "http://plain.example/", "http://accented.example/" };
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(CreateDirectoryW(alike[i].c_str(), nullptr));
        ASSERT_TRUE(WriteWideFile(alike[i] + L"\\a.url", std::string("[InternetShortcut]\r\nURL=") + alikeUrls[i] + "\r\n"));
    }
    std::vector<HANDLE> alikeHeld;
    FavoritesFolderOverride override(wide);
    theApp.m_settings.bFavLoadCache(true);
    auto exitWrites = [&] {
        m_frame->SendMessage(WM_QUERYENDSESSION, 0, 0);
        return m_folder->ReadBytes("IEFavorite.dat");
    };
    struct Access : CMainFrame
    {
        using CMainFrame::ApplySettingsChanges;
    };
    struct Change
    {
        const char* what;
        std::function<void()> make;  // null: nothing changes
        const char* found;
    } changes[] = {
        { "nothing else", nullptr, "" },
        { "a favorite added beside it",
          [&] { m_folder->WriteBytes("Favorites/new.url", "[InternetShortcut]\r\nURL=http://new.example/\r\n"); },
          "http://new.example/" },
        { "the favorites reloaded", [&] { Command(ID_FAV_RELOAD); }, "" },
        { "both folders spelt alike held too",
          [&] {
              for (const std::wstring& folder : alike)
                  alikeHeld.push_back(CreateFileW(folder.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr));
              m_folder->WriteBytes("Favorites/new.url", "[InternetShortcut]\r\nURL=http://new.example/\r\n");
          },
          "http://new.example/" },
        { "the shell's order switched in the settings",
          [&] {
              const SettingsRecord before(theApp.m_settings);
              theApp.m_settings.bIEOrder(!before.bIEOrder());
              (m_frame->*(&Access::ApplySettingsChanges))(before);
          },
          "" },
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.what);
        ::DeleteFileA(m_folder->File("IEFavorite.dat").c_str());
        ASSERT_NE(std::string::npos, exitWrites().find("http://kept.example/"));
        // A marked copy shows whether the exit wrote it again.
        const std::string marked = m_folder->ReadBytes("IEFavorite.dat") + "\n";
        m_folder->WriteBytes("IEFavorite.dat", marked);
        Sleep(20);  // a change's time is later than the cache's
        HeldFile held = HeldFile::Folder(m_folder->File("Favorites/Held"));
        ASSERT_TRUE(held.IsHeld());
        if (change.make)
            change.make();
        const std::string cache = exitWrites();
        held.Release();
        for (HANDLE folder : alikeHeld)
            CloseHandle(folder);
        alikeHeld.clear();
        EXPECT_NE(std::string::npos, cache.find("http://kept.example/"));
        EXPECT_NE(std::string::npos, cache.find("http://inner-kept.example/"));
        // A held folder never takes what the cache holds of the one spelt
        // like it.
        for (const char* url : alikeUrls) {
            const size_t first = cache.find(url);
            EXPECT_TRUE(first == std::string::npos || cache.find(url, first + 1) == std::string::npos) << url;
        }
        EXPECT_NE(std::string::npos, cache.find("http://ja.example/"));
        EXPECT_NE(std::string::npos, cache.find(change.found));
        // The folder it cannot list alone does not make the cache stale.
        EXPECT_EQ(!change.make, cache == marked);
        ::DeleteFileA(m_folder->File("Favorites/new.url").c_str());
    }
}

// Regression: two folders, or two shortcuts, whose names the code page
// spells alike were each compared with the other's cached item, so every
// exit found the cache stale and wrote it again.
TEST_F(FavoritesMenu, NamesSpeltAlikeLeaveTheCacheAsItIsAtTheNextExit)
{
    const std::wstring accented[] = { L"caf\u00E9", L"caf\u00EB" };
    ASSERT_EQ(WidePath::ToBestFitAnsi(accented[0]), WidePath::ToBestFitAnsi(accented[1]));
    const std::string shortcut = "[InternetShortcut]\r\nURL=http://";
    const struct
    {
        const char* what;
        const wchar_t* folder;
        std::function<void(const std::wstring&)> make;
    } kCases[] = {
        { "folders of different contents", L"Folders\\",
          [&](const std::wstring& fav) {
              for (const std::wstring& name : accented)
                  ASSERT_TRUE(CreateDirectoryW((fav + name).c_str(), nullptr));
              ASSERT_TRUE(WriteWideFile(fav + accented[0] + L"\\a.url", shortcut + "a.example/\r\n"));
              ASSERT_TRUE(WriteWideFile(fav + accented[0] + L"\\b.url", shortcut + "b.example/\r\n"));
              ASSERT_TRUE(WriteWideFile(fav + accented[1] + L"\\c.url", shortcut + "c.example/\r\n"));
          } },
        { "a shortcut without its URL listed first", L"Shortcuts\\",
          [&](const std::wstring& fav) {
              for (const std::wstring& name : accented)
                  ASSERT_TRUE(WriteWideFile(fav + name + L".url", ""));
              // The URL goes into the one listed second.
              WIN32_FIND_DATAW data;
              HANDLE find = FindFirstFileW((fav + L"caf*.url").c_str(), &data);
              ASSERT_NE(INVALID_HANDLE_VALUE, find);
              ASSERT_TRUE(FindNextFileW(find, &data));
              FindClose(find);
              ASSERT_TRUE(WriteWideFile(fav + data.cFileName, shortcut + "second.example/\r\n"));
          } },
    };
    theApp.m_settings.bFavLoadCache(true);
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.what);
        const std::wstring wide = WidePath::FromAnsi(m_folder->Path().c_str()) + c.folder;
        ASSERT_TRUE(CreateDirectoryW(wide.c_str(), nullptr));
        c.make(wide);
        FavoritesFolderOverride override(wide);
        ::DeleteFileA(m_folder->File("IEFavorite.dat").c_str());
        m_frame->SendMessage(WM_QUERYENDSESSION, 0, 0);
        const std::string cache = m_folder->ReadBytes("IEFavorite.dat");
        ASSERT_NE(std::string::npos, cache.find("http://"));
        // A marked copy shows whether the next exit wrote it again.
        m_folder->WriteBytes("IEFavorite.dat", cache + "\n");
        Sleep(20);
        m_frame->SendMessage(WM_QUERYENDSESSION, 0, 0);
        EXPECT_EQ(cache + "\n", m_folder->ReadBytes("IEFavorite.dat"));
    }
}

TEST_F(FavoritesMenu, ARefusedTabInARunSendsTheRestToTheCurrentGroup)
{
    Open(nullptr, "http://first.example/");
    CTabGroup* current = theApp.GetActiveGroup();
    theApp.m_settings.iParentTabNewRule = 0;
    theApp.m_settings.bWindowMaxCnt(true);
    theApp.m_settings.iWindowMaxCnt = 2;
    Command(Id(m_news));  // into the current group, which takes one more
    EXPECT_EQ(2u, GroupUrls(current).size());
    EXPECT_EQ(1, theApp.GetGroupCount());
}

TEST_F(FavoritesMenu, OneFavoriteOpensByTheNewTabAndNewGroupSettings)
{
    theApp.m_settings.bOpenNewTab_FAV(true);
    Command(Id(m_top));
    CTabGroup* group = theApp.GetActiveGroup();
    ASSERT_NE(nullptr, group);
    ASSERT_EQ(1u, GroupUrls(group).size());
    EXPECT_EQ(CString("http://top.example/"), group->m_tabs[0]->m_url);

    // A group named after the label keeps the label's "%" literal.
    theApp.m_settings.iParentTabNewRule = 0x100;
    Command(Id(m_percent));
    CTabGroup* named = theApp.GetActiveGroup();
    ASSERT_NE(group, named);
    GroupUrls(named);
    EXPECT_EQ(CString("50%off[1]"), named->m_caption);

    // Without the new-tab setting the active tab navigates.
    theApp.m_settings.iParentTabNewRule = 0;
    theApp.m_settings.bOpenNewTab_FAV(false);
    Command(Id(m_noExt));
    std::vector<CString> urls = GroupUrls(named);
    ASSERT_EQ(1u, urls.size());
    EXPECT_EQ(CString("http://noext.example/"), urls[0]);

    Command(kCmdFavoriteFirst + 4999);  // beyond the list: nothing
}

//--- The links bar

// What a tracked popup menu showed, read by a timer inside its loop.
struct ShownMenu
{
    static int s_items;
    static UINT s_firstId;
    static RECT s_rect;
    static void Reset()
    {
        s_items = -1;
        s_firstId = 0;
        ::SetRectEmpty(&s_rect);
    }
    static void CALLBACK ReadAndEnd(HWND, UINT, UINT_PTR id, DWORD)
    {
        HMENU menu = nullptr;
        HWND window = nullptr;
        if (!TakeShownMenu(id, &menu, &window))
            return;
        s_items = menu != nullptr ? ::GetMenuItemCount(menu) : -1;
        s_firstId = menu != nullptr ? ::GetMenuItemID(menu, 0) : 0;
        ::GetWindowRect(window, &s_rect);
        ::EndMenu();
    }
};
int ShownMenu::s_items = -1;
UINT ShownMenu::s_firstId = 0;
RECT ShownMenu::s_rect = {};

class LinksBar : public FavoritesMenu
{
protected:
    CLinksBar& Bar() { return m_frame->m_wndLinksBar; }
    CReBar& Bands() { return m_frame->m_wndReBar.GetReBar(); }
    bool BandShown(UINT id) { return m_frame->m_wndReBar.IsBandVisible(id) != FALSE; }
    CString ButtonText(UINT id)
    {
        char text[256] = "";
        Bar().SendMessage(TB_GETBUTTONTEXTA, id, reinterpret_cast<LPARAM>(text));
        return text;
    }
    // Sends the message with a timer that reads and ends the menu it tracks.
    void WithMenu(HWND target, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        ShownMenu::Reset();
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 30, &ShownMenu::ReadAndEnd);
        ::SendMessageA(target, msg, wParam, lParam);
        ::KillTimer(nullptr, timer);
    }
    LRESULT DropDown(HWND from, UINT button)
    {
        NMTOOLBARA info = {};
        info.hdr.hwndFrom = from;
        info.hdr.idFrom = CLinksBar::kId;
        info.hdr.code = TBN_DROPDOWN;
        info.iItem = static_cast<int>(button);
        ShownMenu::Reset();
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 30, &ShownMenu::ReadAndEnd);
        LRESULT result = ::SendMessageA(m_frame->m_hWnd, WM_NOTIFY, CLinksBar::kId, reinterpret_cast<LPARAM>(&info));
        ::KillTimer(nullptr, timer);
        return result;
    }
    int Check(UINT id)
    {
        struct Probe : CCmdUI
        {
            int check = -1;
            void SetCheck(int nCheck) override { check = nCheck; }
        } probe;
        probe.m_nID = id;
        probe.DoUpdate(m_frame, FALSE);
        return probe.check;
    }
    UINT SubId() { return kCmdFavFolderFirst + m_sub->m_flatIndex; }
};

TEST_F(LinksBar, TheThirdBandHoldsTheLinksFolderAsButtonsWithTheirNames)
{
    ASSERT_NE(nullptr, Bar().GetSafeHwnd());
    EXPECT_EQ(2, Bands().IDToIndex(CLinksBar::kId));
    EXPECT_EQ(Bands().m_hWnd, ::GetParent(Bar().m_hWnd));
    EXPECT_TRUE(Bar().GetStyle() & CCS_ADJUSTABLE);
    EXPECT_EQ(static_cast<DWORD>(TBSTYLE_EX_HIDECLIPPEDBUTTONS),
              Bar().GetExtendedStyle() & ~static_cast<DWORD>(TBSTYLE_EX_MIXEDBUTTONS));

    m_frame->BuildFavoriteIcons();
    ASSERT_EQ(3, Bar().GetButtonCount());
    const UINT ids[] = {Id(m_links->GetChild(0)), SubId(), Id(m_links->GetChild(2))};
    const char* const names[] = {"l1", "Sub", "doc"};
    for (int i = 0; i < 3; ++i) {
        TBBUTTON button = {};
        ASSERT_TRUE(Bar().GetButton(i, &button));
        EXPECT_EQ(static_cast<int>(ids[i]), button.idCommand) << i;
        EXPECT_TRUE(button.fsStyle & BTNS_SHOWTEXT) << i;
        EXPECT_TRUE(button.fsState & TBSTATE_ENABLED) << i;
        EXPECT_EQ(CString(names[i]), ButtonText(ids[i])) << i;
    }
    TBBUTTON entry = {}, folder = {}, file = {};
    Bar().GetButton(0, &entry);
    Bar().GetButton(1, &folder);
    Bar().GetButton(2, &file);
    EXPECT_EQ(3, entry.iBitmap);
    EXPECT_EQ(0, folder.iBitmap);
    EXPECT_TRUE(folder.fsStyle & BTNS_DROPDOWN);
    EXPECT_FALSE(entry.fsStyle & BTNS_DROPDOWN);
    // The file's icon, when the shell gives one, follows the bar's own four.
    EXPECT_TRUE(file.iBitmap == 0 || file.iBitmap >= CLinksBar::kImages) << file.iBitmap;
    EXPECT_TRUE(Bar().GetStyle() & TBSTYLE_LIST);

    // The band's ideal width is the buttons' and the chevron shows below it.
    REBARBANDINFOA band = {};
    band.fMask = RBBIM_IDEALSIZE | RBBIM_STYLE;
    Bands().GetBandInfo(2, &band);
    CRect last;
    Bar().GetItemRect(2, &last);
    EXPECT_GE(static_cast<int>(band.cxIdeal), last.right - 4);
    EXPECT_TRUE(band.fStyle & RBBS_USECHEVRON);

    // Rebuilt without a Links folder: the root's children, and no button of
    // the old table names an item any more.
    CString name;
    EXPECT_TRUE(Bar().GetItemName(entry, name));
    m_frame->m_favorites.GetRoot()->m_children.RemoveAt(2);
    delete m_links;
    m_frame->m_favorites.RebuildFlatList();
    m_frame->AfterFavoritesRebuilt();
    EXPECT_EQ(m_frame->m_favorites.GetRoot()->GetChildCount(), Bar().GetButtonCount());
    EXPECT_FALSE(Bar().GetItemName(entry, name));
}

TEST_F(LinksBar, ButtonTextsAreCutOnCharactersWithAnEllipsisAndShowAmpersands)
{
    // Cut first, then "&" doubled, so the limit counts the name's bytes.
    EXPECT_EQ(CString("Tom&&Je") + kEllipsis, CLinksBar::MakeButtonText("Tom&Jerry", 6));
    EXPECT_EQ(CString("ab") + kEllipsis, CLinksBar::MakeButtonText("ab\x83\x41" "c", 3));
    EXPECT_EQ(CString("ab\x83\x41"), CLinksBar::MakeButtonText("ab\x83\x41", 4));
    EXPECT_EQ(CString(kEllipsis), CLinksBar::MakeButtonText("abc", 0));

    theApp.m_settings.iFavTitleMaxStr = 6;
    CFavoriteNode* cat = m_links->AddChild("Tom&Jerry.url", "http://tj.example/", CFavoriteNode::kShortcut);
    CFavoriteNode* dotted = m_links->AddChild("v1.2 notes", "C:\\Fav\\Links\\v1.2 notes\\", CFavoriteNode::kFolder);
    m_frame->m_favorites.RebuildFlatList();
    m_frame->BuildFavoriteIcons();
    EXPECT_EQ(CString("Tom&&Je") + kEllipsis, ButtonText(Id(cat)));
    // A folder keeps the text after its last ".".
    EXPECT_EQ(CString("v1.2 n") + kEllipsis, ButtonText(kCmdFavFolderFirst + dotted->m_flatIndex));

    // The customize dialog gets the same name, cut to its buffer.
    NMTOOLBARA info = {};
    char buffer[5] = "";
    info.hdr.hwndFrom = Bar().m_hWnd;
    info.hdr.idFrom = CLinksBar::kId;
    info.hdr.code = TBN_GETBUTTONINFOA;
    info.iItem = 3;
    info.pszText = buffer;
    info.cchText = sizeof(buffer);
    EXPECT_TRUE(::SendMessageA(Bands().m_hWnd, WM_NOTIFY, CLinksBar::kId, reinterpret_cast<LPARAM>(&info)));
    EXPECT_EQ(static_cast<int>(Id(cat)), info.tbButton.idCommand);
    EXPECT_STREQ("Tom&", buffer);

    // Text modes: none, on the right, hidden.
    Bar().SetTextMode(CToolBarEx::kTextHidden, true);
    TBBUTTON button = {};
    Bar().GetButton(0, &button);
    EXPECT_FALSE(button.fsStyle & BTNS_SHOWTEXT);
    EXPECT_FALSE(Bar().GetStyle() & TBSTYLE_LIST);
    Bar().SetTextMode(CToolBarEx::kTextRight, true);
    Bar().GetButton(0, &button);
    EXPECT_TRUE(button.fsStyle & BTNS_SHOWTEXT);
    EXPECT_EQ(CString("Tom&&Je") + kEllipsis, ButtonText(Id(cat)));
}

TEST_F(LinksBar, AFolderButtonDropsItsPopupUnderItAndItsCommandAtTheBarsCorner)
{
    theApp.m_settings.bFavAllOpenMenuAdd(true);
    m_frame->BuildFavoriteIcons();
    ASSERT_EQ(TBDDRET_DEFAULT, DropDown(Bar().m_hWnd, SubId()));
    EXPECT_EQ(3, ShownMenu::s_items);  // open-all, separator, one entry
    EXPECT_EQ(Id(m_sub), ShownMenu::s_firstId);
    RECT button = {};
    Bar().GetRect(SubId(), &button);
    ::MapWindowPoints(Bar().m_hWnd, nullptr, reinterpret_cast<LPPOINT>(&button), 2);
    EXPECT_EQ(button.left, ShownMenu::s_rect.left);
    EXPECT_EQ(button.bottom, ShownMenu::s_rect.top);

    // Not a folder button, or not from a toolbar (the rebar bears the same
    // id): no menu.
    DropDown(Bar().m_hWnd, Id(m_links->GetChild(0)));
    EXPECT_EQ(-1, ShownMenu::s_items);
    DropDown(Bands().m_hWnd, SubId());
    EXPECT_EQ(-1, ShownMenu::s_items);

    // The folder's command: the popup at the bar's bottom-right corner.
    WithMenu(m_frame->m_hWnd, WM_COMMAND, SubId(), 0);
    EXPECT_EQ(3, ShownMenu::s_items);
    CRect bar;
    Bar().GetWindowRect(&bar);
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    EXPECT_EQ(bar.bottom, ShownMenu::s_rect.top);
    EXPECT_TRUE(ShownMenu::s_rect.left == bar.right || ShownMenu::s_rect.right == width) << ShownMenu::s_rect.left;

    // A click on the button itself drops the menu through the rebar.
    theApp.m_settings.bFavAllOpenMenuAdd(false);
    RECT client = {};
    Bar().GetRect(SubId(), &client);
    const LPARAM point = MAKELPARAM((client.left + client.right) / 2, (client.top + client.bottom) / 2);
    Bar().PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, point);
    Bar().PostMessage(WM_LBUTTONUP, 0, point);
    ShownMenu::Reset();
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 30, &ShownMenu::ReadAndEnd);
    Pump();
    ::KillTimer(nullptr, timer);
    EXPECT_EQ(1, ShownMenu::s_items);
    EXPECT_EQ(Id(m_sub->GetChild(0)), ShownMenu::s_firstId);
}

TEST_F(LinksBar, TheToggleShowsAndHidesTheBandAndChecksItsItem)
{
    ASSERT_TRUE(BandShown(CLinksBar::kId));
    EXPECT_EQ(1, Check(ID_VIEW_LINKS_BAND));
    Command(ID_VIEW_LINKS_BAND);
    EXPECT_FALSE(BandShown(CLinksBar::kId));
    EXPECT_FALSE(Bar().IsWindowVisible());
    EXPECT_EQ(0, Check(ID_VIEW_LINKS_BAND));
    EXPECT_TRUE(BandShown(AFX_IDW_TOOLBAR));
    Command(ID_VIEW_LINKS_BAND);
    EXPECT_TRUE(BandShown(CLinksBar::kId));
    EXPECT_EQ(1, Check(ID_VIEW_LINKS_BAND));
}

TEST_F(LinksBar, FullScreenHidesTheBandByItsSettingAndRestoresOnlyWhatItHid)
{
    theApp.m_settings.iFullScreenShowItem = static_cast<uint16_t>(0xFFFF & ~0x200);
    m_frame->SetFullScreen(1);
    EXPECT_FALSE(BandShown(CLinksBar::kId));
    EXPECT_TRUE(BandShown(AFX_IDW_TOOLBAR));
    EXPECT_TRUE(m_frame->m_stateWord & kStateHiddenLinks);
    m_frame->SetFullScreen(0);
    EXPECT_TRUE(BandShown(CLinksBar::kId));
    EXPECT_FALSE(m_frame->m_stateWord & kStateHiddenLinks);

    // A band the user hid stays hidden after full screen.
    Command(ID_VIEW_LINKS_BAND);
    m_frame->SetFullScreen(1);
    EXPECT_FALSE(m_frame->m_stateWord & kStateHiddenLinks);
    m_frame->SetFullScreen(0);
    EXPECT_FALSE(BandShown(CLinksBar::kId));

    // Kept by the setting: untouched.
    Command(ID_VIEW_LINKS_BAND);
    theApp.m_settings.iFullScreenShowItem = 0x200;
    m_frame->SetFullScreen(1);
    EXPECT_TRUE(BandShown(CLinksBar::kId));
    EXPECT_FALSE(BandShown(AFX_IDW_TOOLBAR));
    m_frame->SetFullScreen(0);
    EXPECT_TRUE(BandShown(AFX_IDW_TOOLBAR));
}

// The overflow popup's buttons, read inside its loop; then one is chosen.
struct ChevronPopup
{
    static std::vector<CString> s_texts;
    static UINT s_choose;
    static void CALLBACK ReadAndChoose(HWND, UINT, UINT_PTR id, DWORD)
    {
        HWND popup = ::GetCapture();
        HWND bar = popup != nullptr ? ::FindWindowExA(popup, nullptr, TOOLBARCLASSNAMEA, nullptr) : nullptr;
        if (bar == nullptr)
            return;
        ::KillTimer(nullptr, id);
        for (int i = 0, n = static_cast<int>(::SendMessageA(bar, TB_BUTTONCOUNT, 0, 0)); i < n; ++i) {
            TBBUTTON button = {};
            ::SendMessageA(bar, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button));
            char text[256] = "";
            ::SendMessageA(bar, TB_GETBUTTONTEXTA, static_cast<WPARAM>(button.idCommand), reinterpret_cast<LPARAM>(text));
            s_texts.push_back(text);
        }
        if (s_choose != 0)
            ::SendMessageA(popup, WM_COMMAND, s_choose, 0);
        else
            ::PostMessageA(popup, WM_TOOLBARPOPUP_CLOSE, 0, 0);
    }
};
std::vector<CString> ChevronPopup::s_texts;
UINT ChevronPopup::s_choose = 0;

TEST_F(LinksBar, TheChevronPopupListsTheHiddenButtonsByNameAndRunsTheChosenOne)
{
    for (int i = 0; i < 12; ++i) {
        CString label, url;
        label.Format("extra%02d&.url", i);
        url.Format("http://extra%02d.example/", i);
        m_links->AddChild(label, url, CFavoriteNode::kShortcut);
    }
    m_frame->m_favorites.RebuildFlatList();
    m_frame->BuildFavoriteIcons();
    theApp.m_settings.bOpenNewTab_FAV(true);
    // Room for the first button only.
    CRect first;
    Bar().GetItemRect(0, &first);
    Bar().SetWindowPos(nullptr, 0, 0, first.right + 1, first.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const int hidden = Bar().GetButtonCount() - 1;

    CRect chevron;
    Bar().GetWindowRect(&chevron);
    chevron.left = chevron.right - 12;
    ChevronPopup::s_texts.clear();
    ChevronPopup::s_choose = 0;
    UINT_PTR timer = ::SetTimer(nullptr, 0, 30, &ChevronPopup::ReadAndChoose);
    Bar().SendMessage(WM_REBAR_CHEVRONPUSHED, reinterpret_cast<WPARAM>(&chevron), 0);
    ::KillTimer(nullptr, timer);
    ASSERT_EQ(static_cast<size_t>(hidden), ChevronPopup::s_texts.size());
    EXPECT_EQ(CString("Sub"), ChevronPopup::s_texts[0]);
    EXPECT_EQ(CString("extra00&&"), ChevronPopup::s_texts[2]);

    // The chosen button's command reaches the frame: the favorite opens.
    ChevronPopup::s_texts.clear();
    ChevronPopup::s_choose = Id(m_links->GetChild(3));
    timer = ::SetTimer(nullptr, 0, 30, &ChevronPopup::ReadAndChoose);
    Bar().SendMessage(WM_REBAR_CHEVRONPUSHED, reinterpret_cast<WPARAM>(&chevron), 0);
    ::KillTimer(nullptr, timer);
    Pump();
    CTabGroup* group = theApp.GetActiveGroup();
    ASSERT_NE(nullptr, group);
    ASSERT_EQ(1, group->GetTabCount());
    EXPECT_EQ(CString("http://extra00.example/"), group->GetTab(0)->m_url);
}

TEST_F(LinksBar, ReloadingRebuildsTheButtonsAndTakesTheBusyDialogDown)
{
    m_frame->BuildFavoriteIcons();
    ASSERT_EQ(3, Bar().GetButtonCount());
    Command(ID_FAV_RELOAD);  // the prefix's own Favorites folder
    const CFavoriteNode* root = m_frame->m_favorites.GetRoot();
    ASSERT_NE(nullptr, root);
    const CFavoriteNode* links = root;
    for (INT_PTR i = 0; i < root->GetChildCount(); ++i)
        if (root->GetChild(i)->m_url.CompareNoCase(m_frame->GetLinksFolderPath()) == 0)
            links = root->GetChild(i);
    EXPECT_EQ(links->GetChildCount(), Bar().GetButtonCount());
    EXPECT_EQ(static_cast<size_t>(Bar().GetButtonCount()), Bar().GetLinks().size());
    struct Busy
    {
        static BOOL CALLBACK Find(HWND hWnd, LPARAM found)
        {
            char name[16] = "";
            ::GetClassNameA(hWnd, name, sizeof(name));
            if (lstrcmpA(name, "#32770") == 0 && ::IsWindowVisible(hWnd))
                *reinterpret_cast<bool*>(found) = true;
            return TRUE;
        }
    };
    bool found = false;
    ::EnumThreadWindows(::GetCurrentThreadId(), &Busy::Find, reinterpret_cast<LPARAM>(&found));
    EXPECT_FALSE(found);
}

TEST_F(LinksBar, TheBandMenuOffersNoCustomizeItem)
{
    CNewMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    Bar().SendMessage(WM_REBAR_CONTEXTMENU, reinterpret_cast<WPARAM>(&menu), 0);
    ASSERT_EQ(2, menu.GetMenuItemCount());
    EXPECT_EQ(static_cast<UINT>(CToolBarEx::kCmdLockBars), menu.GetMenuItemID(0));
    EXPECT_EQ(static_cast<UINT>(CToolBarEx::kCmdResetBands), menu.GetMenuItemID(1));
    menu.DestroyMenu();
}

TEST_F(FavoritesMenu, ALinksKeyWithoutItsValueFallsBackToTheShippedName)
{
    const char key[] = "Software\\Microsoft\\Internet Explorer\\Toolbar";
    HKEY hKey = nullptr;
    const bool existed =
        RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &hKey) == ERROR_SUCCESS;
    // The value must be missing for this case; a prefix that has it is left
    // alone.
    if (existed && RegQueryValueExA(hKey, "LinksFolderName", nullptr, nullptr, nullptr, nullptr) ==
                       ERROR_SUCCESS) {
        RegCloseKey(hKey);
        GTEST_SKIP();
    }
    if (!existed) {
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyA(HKEY_CURRENT_USER, key, &hKey));
    }
    RegCloseKey(hKey);
    CString path = m_frame->GetLinksFolderPath();
    if (!existed)
        RegDeleteKeyA(HKEY_CURRENT_USER, key);
    // Regression: an empty name made the whole Favorites folder the links.
    const CString name = theApp.GetFirstText(7) + "\\";
    ASSERT_FALSE(theApp.GetFirstText(7).IsEmpty());
    EXPECT_EQ(name, path.Right(name.GetLength()));
}

//--- The tree pane

class FavoritesPane : public FavoritesMenu
{
protected:
    void SetUp() override
    {
        FavoritesMenu::SetUp();
        ASSERT_TRUE(m_pane.Create(IDD_FAVTREE, m_frame));
        m_pane.MoveWindow(0, 0, 300, 400);
        m_pane.ShowWindow(SW_SHOW);
        m_frame->m_pFavoritesPane = &m_pane;
        m_pane.Fill();
        theApp.m_settings.bOpenNewTab_FAV(true);
        theApp.m_settings.iParentTabNewRule = 0;
    }
    void TearDown() override
    {
        m_frame->m_pFavoritesPane = nullptr;
        if (m_pane.GetSafeHwnd() != nullptr)
            m_pane.DestroyWindow();
        FavoritesMenu::TearDown();
    }

    // The item whose text is text, searched depth-first.
    HTREEITEM Find(const CString& text, HTREEITEM from = TVI_ROOT)
    {
        CTreeCtrl& tree = m_pane.m_tree;
        for (HTREEITEM item = tree.GetChildItem(from); item != nullptr;
             item = tree.GetNextSiblingItem(item)) {
            if (tree.GetItemText(item) == text)
                return item;
            tree.Expand(item, TVE_EXPAND);
            if (HTREEITEM inner = Find(text, item))
                return inner;
        }
        return nullptr;
    }
    RECT LabelRect(HTREEITEM item)
    {
        RECT rect = {};
        *reinterpret_cast<HTREEITEM*>(&rect) = item;
        m_pane.m_tree.SendMessage(TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect));
        return rect;
    }
    MSG Message(UINT msg, WPARAM wParam, LPARAM lParam)
    {
        MSG m = {m_pane.m_tree.m_hWnd, msg, wParam, lParam, 0, {0, 0}};
        return m;
    }
    CTabGroup* Group() { return theApp.GetActiveGroup(); }

    CDlgFavTree m_pane;
};

TEST_F(FavoritesPane, ItemsCarryTheirCommandImagesAndTexts)
{
    CTreeCtrl& tree = m_pane.m_tree;
    HTREEITEM news = Find("News");
    ASSERT_NE(nullptr, news);
    EXPECT_EQ(Id(m_news), tree.GetItemData(news));
    int image = -1, selected = -1;
    tree.GetItemImage(news, image, selected);
    EXPECT_EQ(1, image);
    EXPECT_EQ(1, selected);
    HTREEITEM entry = Find("a&b");
    ASSERT_NE(nullptr, entry);
    EXPECT_EQ(Id(m_news->GetChild(0)), tree.GetItemData(entry));
    tree.GetItemImage(entry, image, selected);
    EXPECT_EQ(3, image);
    // A label without "." shows the URL.
    EXPECT_NE(nullptr, Find("http://noext.example/"));
    EXPECT_NE(nullptr, Find("doc"));
    m_pane.Fill();  // filled once
    EXPECT_EQ(static_cast<UINT>(m_frame->m_favorites.GetFlatCount() - 1), tree.GetCount());
}

TEST_F(FavoritesPane, EnterAndClicksOpenEntriesButNeverFolders)
{
    CTreeCtrl& tree = m_pane.m_tree;
    tree.SelectItem(Find("News"));
    MSG enter = Message(WM_KEYDOWN, VK_RETURN, 1);
    m_pane.PreTranslateMessage(&enter);
    Pump();
    EXPECT_EQ(nullptr, Group());

    tree.SelectItem(Find("c"));
    m_pane.PreTranslateMessage(&enter);
    Pump();
    ASSERT_NE(nullptr, Group());
    ASSERT_EQ(1, Group()->GetTabCount());
    EXPECT_EQ(CString("http://c.example/"), Group()->GetTab(0)->m_url);
    // A repeated key does nothing.
    MSG repeat = Message(WM_KEYDOWN, VK_RETURN, 0x40000001);
    EXPECT_TRUE(m_pane.PreTranslateMessage(&repeat));
    Pump();
    EXPECT_EQ(1, Group()->GetTabCount());

    // A middle click on a folder opens its path by the middle-click setting.
    theApp.m_settings.bOpenNewTab_FAV_WC(true);
    RECT news = LabelRect(Find("News"));
    MSG middle = Message(WM_MBUTTONUP, 0, MAKELPARAM(news.left + 2, (news.top + news.bottom) / 2));
    m_pane.PreTranslateMessage(&middle);
    Pump();
    ASSERT_EQ(2, Group()->GetTabCount());
    EXPECT_EQ(CString("C:\\Fav\\News\\"), Group()->GetTab(1)->m_url);

    // A click on an entry's label opens it; on blank space nothing.
    m_frame->SetForegroundWindow();
    HTREEITEM top = Find("0123456789abcdef");
    RECT label = LabelRect(top);
    ASSERT_TRUE(PostClickAt(tree.m_hWnd, POINT{(label.left + label.right) / 2, (label.top + label.bottom) / 2}));
    Pump();
    ASSERT_EQ(3, Group()->GetTabCount());
    EXPECT_EQ(CString("http://top.example/"), Group()->GetTab(2)->m_url);
    // Regression: any release (a folder's button, blank space) reopened the
    // selected entry. Only a label or an icon counts.
    EXPECT_EQ(top, m_pane.m_tree.ItemOnLabelOrIcon(POINT{label.left + 2, label.top + 2}, false));
    EXPECT_EQ(nullptr, m_pane.m_tree.ItemOnLabelOrIcon(POINT{news.left - 30, news.top + 2}, false));
    EXPECT_EQ(nullptr, m_pane.m_tree.ItemOnLabelOrIcon(POINT{280, 390}, false));
}

TEST_F(FavoritesPane, BoundKeysRunTheirCommandsBeforeTheTreeSeesThem)
{
    m_folder->WriteBytes("KEYCONF.dat", BindingLine("reload", "F5", 1022) +
                                            BindingLine("as enter", "F8", VK_RETURN, 1) +
                                            BindingLine("mods", "Ctrl+", 1021));
    theApp.ReloadBindingMaps();
    Pump();
    m_pane.m_tree.SelectItem(Find("c"));
    MSG f5 = Message(WM_KEYDOWN, VK_F5, 1);
    EXPECT_TRUE(m_pane.PreTranslateMessage(&f5));
    EXPECT_EQ(1022u, TakePostedCommand(m_frame->m_hWnd));
    // Held down, it runs once.
    MSG repeat = Message(WM_KEYDOWN, VK_F5, 0x40000001);
    EXPECT_TRUE(m_pane.PreTranslateMessage(&repeat));
    EXPECT_EQ(0u, TakePostedCommand(m_frame->m_hWnd));
    // Unbound keys and modifiers alone go on to the tree.
    MSG f9 = Message(WM_KEYDOWN, VK_F9, 1);
    EXPECT_FALSE(m_pane.PreTranslateMessage(&f9));
    MSG down = Message(WM_KEYDOWN, VK_DOWN, 1);
    EXPECT_FALSE(m_pane.PreTranslateMessage(&down));
    EXPECT_EQ(0u, TakePostedCommand(m_frame->m_hWnd));
    EXPECT_EQ(nullptr, Group());
    // A key bound to Enter goes on as Enter, which opens the entry.
    MSG f8 = Message(WM_KEYDOWN, VK_F8, 1);
    EXPECT_FALSE(m_pane.PreTranslateMessage(&f8));
    EXPECT_EQ(static_cast<WPARAM>(VK_RETURN), f8.wParam);
    Pump();
    ASSERT_NE(nullptr, Group());
    EXPECT_EQ(CString("http://c.example/"), Group()->GetTab(0)->m_url);
}

TEST_F(FavoritesPane, TheTreeTakesTheFocusUnderTheMouseWhereTheFrameLetsIt)
{
    m_frame->SetForegroundWindow();
    HWND tree = m_pane.m_tree.m_hWnd;
    HWND addressEdit = nullptr;
    m_frame->GetAddressBoxWindow(&addressEdit);
    ASSERT_NE(nullptr, addressEdit);
    MSG move = Message(WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));

    theApp.m_settings.iFocusMove = 0;
    ::SetFocus(m_frame->m_hWndMDIClient);
    EXPECT_FALSE(m_pane.PreTranslateMessage(&move));
    EXPECT_EQ(m_frame->m_hWndMDIClient, ::GetFocus());

    theApp.m_settings.iFocusMove = 0x1 | 0x2;  // follow, but keep the address box
    EXPECT_FALSE(m_pane.PreTranslateMessage(&move));
    EXPECT_EQ(tree, ::GetFocus());
    ::SetFocus(addressEdit);
    m_pane.PreTranslateMessage(&move);
    EXPECT_EQ(addressEdit, ::GetFocus());
    theApp.m_settings.iFocusMove = 0x1;
    m_pane.PreTranslateMessage(&move);
    EXPECT_EQ(tree, ::GetFocus());
    // The page under the mouse takes it back from the pane, as from the
    // tab bars.
    EXPECT_TRUE(m_frame->GetBrowserWindowAtCursor(tree));
    m_frame->m_pFavoritesPane = nullptr;
    EXPECT_FALSE(m_frame->GetBrowserWindowAtCursor(tree));
}

TEST_F(FavoritesPane, TheFolderQuestionOpensAllAndNoSelectionDoesNothing)
{
    CTreeCtrl& tree = m_pane.m_tree;
    // Regression: without a selection the root was asked for and command 0
    // posted.
    tree.SelectItem(nullptr);
    s_messageBoxSeen = false;
    AnswerNextMessageBox(IDNO);  // a box that should not show is still answered
    m_pane.m_tree.ShowItemMenu(POINT{10, 10});
    Pump();
    EXPECT_FALSE(s_messageBoxSeen);
    EXPECT_EQ(nullptr, Group());

    // No keeps the folder closed, Yes opens its entries.
    tree.SelectItem(Find("News"));
    m_pane.m_tree.ShowItemMenu(POINT{10, 10});
    Pump();
    EXPECT_TRUE(AllAnswered());
    EXPECT_EQ(nullptr, Group());
    AnswerNextMessageBox(IDYES);
    m_pane.m_tree.ShowItemMenu(POINT{10, 10});
    Pump();
    EXPECT_TRUE(AllAnswered());
    ASSERT_NE(nullptr, Group());
    EXPECT_EQ(2, Group()->GetTabCount());  // the script URL is skipped
}

TEST_F(FavoritesPane, TheRebuiltTreeRefillsThePane)
{
    // Regression: after a rebuild the pane's items named the old indexes.
    CFavoriteNode* root = m_frame->m_favorites.GetRoot();
    root->m_children.InsertAt(0, root->AddChild("first.url", "http://first.example/",
                                                CFavoriteNode::kShortcut));
    root->m_children.RemoveAt(root->GetChildCount() - 1);
    m_frame->m_favorites.RebuildFlatList();
    m_frame->AfterFavoritesRebuilt();
    HTREEITEM top = Find("0123456789abcdef");
    ASSERT_NE(nullptr, top);
    EXPECT_EQ(Id(m_top), m_pane.m_tree.GetItemData(top));
    m_pane.m_tree.SelectItem(top);
    MSG enter = Message(WM_KEYDOWN, VK_RETURN, 1);
    m_pane.PreTranslateMessage(&enter);
    Pump();
    ASSERT_NE(nullptr, Group());
    EXPECT_EQ(CString("http://top.example/"), Group()->GetTab(0)->m_url);
}

//--- The pane in the frame's docking bar

TEST_F(FavoritesMenu, TheFavoritesBarIsMadeAtItsFirstShowDockedLeftWithTheTreeAndToggles)
{
    CFavoritesBar& bar = m_frame->m_wndFavoritesBar;
    // Nothing of the pane exists until it is first asked for.
    EXPECT_EQ(nullptr, bar.GetSafeHwnd());
    EXPECT_EQ(nullptr, m_frame->m_pFavoritesPane);
    m_frame->AfterFavoritesRebuilt();

    struct Probe : CCmdUI
    {
        int check = -1;
        void SetCheck(int nCheck) override { check = nCheck; }
    } probe;
    probe.m_nID = ID_VIEW_FAVORITES_PANE;
    // The rebuilt links band may have changed the rebar's height: the
    // layout that waits for idle time is done first.
    m_frame->RecalcLayout();
    CRect before;
    ::GetWindowRect(m_frame->m_hWndMDIClient, &before);
    probe.DoUpdate(m_frame, FALSE);
    EXPECT_EQ(0, probe.check);

    // Shown, it is made, takes the frame's left side and the tree fills it.
    Command(ID_VIEW_FAVORITES_PANE);
    ASSERT_NE(nullptr, bar.GetSafeHwnd());
    EXPECT_EQ(static_cast<UINT>(AFX_IDW_DOCKBAR_LEFT), bar.GetDockBarId());
    CDlgFavTree* pane = static_cast<CDlgFavTree*>(bar.GetTreePane());
    ASSERT_NE(nullptr, pane);
    EXPECT_EQ(pane, m_frame->m_pFavoritesPane);
    EXPECT_EQ(bar.m_hWnd, ::GetParent(pane->m_hWnd));
    CTreeCtrl& tree = pane->m_tree;
    EXPECT_TRUE(bar.IsVisible());
    std::vector<CString> texts;
    for (HTREEITEM item = tree.GetChildItem(TVI_ROOT); item != nullptr; item = tree.GetNextSiblingItem(item))
        texts.push_back(tree.GetItemText(item));
    const std::vector<CString> expected = {"News", "Empty", "Links", "0123456789abcdef", "50%off",
                                           "http://noext.example/"};
    EXPECT_EQ(expected, texts);
    probe.DoUpdate(m_frame, FALSE);
    EXPECT_EQ(1, probe.check);
    CRect client, barRect, paneRect;
    ::GetWindowRect(m_frame->m_hWndMDIClient, &client);
    bar.GetWindowRect(&barRect);
    EXPECT_GE(client.left, barRect.right);
    EXPECT_GT(client.left, before.left);
    bar.GetClientRect(&barRect);
    pane->GetClientRect(&paneRect);
    EXPECT_EQ(barRect.Size(), paneRect.Size());

    // Its close button's command, posted to the bar, reaches the frame.
    bar.SendMessage(WM_COMMAND, ID_VIEW_FAVORITES_PANE);
    EXPECT_FALSE(bar.IsVisible());
    ::GetWindowRect(m_frame->m_hWndMDIClient, &client);
    EXPECT_EQ(before, client);
}

TEST_F(FavoritesMenu, TheFavoritesBarIsDraggedByItsGripperToTheRightAndOutToFloat)
{
    CFavoritesBar& bar = m_frame->m_wndFavoritesBar;
    Command(ID_VIEW_FAVORITES_PANE);
    ASSERT_EQ(static_cast<UINT>(AFX_IDW_DOCKBAR_LEFT), bar.GetDockBarId());
    CRect pages;
    ::GetWindowRect(m_frame->m_hWndMDIClient, &pages);
    // The gripper strip above the pane; the drag comes by messages posted
    // to the bar, not by the shared pointer.
    auto drag = [&](CPoint to) {
        CRect rc;
        bar.GetWindowRect(&rc);
        CPoint press(rc.left + 10, rc.top + 6);
        ASSERT_EQ(HTCLIENT, bar.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(press.x, press.y)));
        bar.ScreenToClient(&press);
        bar.ScreenToClient(&to);
        bar.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
        bar.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
        bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(press.x, press.y));
        m_frame->RecalcLayout();
    };

    // To the right side: the pages give up its width there, the tree goes
    // with it.
    drag(CPoint(pages.right - 2, (pages.top + pages.bottom) / 2));
    EXPECT_EQ(static_cast<UINT>(AFX_IDW_DOCKBAR_RIGHT), bar.GetDockBarId());
    CRect barRect, now;
    bar.GetWindowRect(&barRect);
    ::GetWindowRect(m_frame->m_hWndMDIClient, &now);
    EXPECT_EQ(pages.left - barRect.Width(), now.left);
    EXPECT_EQ(barRect.left, now.right);
    EXPECT_EQ(bar.m_hWnd, ::GetParent(bar.GetTreePane()->m_hWnd));

    // Out over the middle of the pages it floats and the pages take the
    // frame's width.
    const CPoint middle((now.left + now.right) / 2, (now.top + now.bottom) / 2);
    drag(middle);
    EXPECT_TRUE(bar.GetBarStyle() & CBRS_FLOATING);
    ::GetWindowRect(m_frame->m_hWndMDIClient, &now);
    EXPECT_EQ(pages.left - barRect.Width(), now.left);
    EXPECT_EQ(barRect.right, now.right);
    bar.GetWindowRect(&barRect);
    EXPECT_EQ(CPoint(middle.x - 10, middle.y - 6), barRect.TopLeft());
    EXPECT_TRUE(bar.IsVisible());
}

TEST_F(FavoritesMenu, TheFloatingFavoritesBarDocksBackByItsCaptionAndDocksWhereItsCaptionIsDragged)
{
    CFavoritesBar& bar = m_frame->m_wndFavoritesBar;
    Command(ID_VIEW_FAVORITES_PANE);
    // It last sat on the right, then floats over the middle of the pages.
    m_frame->DockControlBar(&bar, AFX_IDW_DOCKBAR_RIGHT);
    m_frame->RecalcLayout();
    CRect pages;
    ::GetWindowRect(m_frame->m_hWndMDIClient, &pages);
    const CPoint middle((pages.left + pages.right) / 2, (pages.top + pages.bottom) / 2);
    auto floatOverTheMiddle = [&]() -> HWND {
        m_frame->ToggleDocking(&bar);
        m_frame->RecalcLayout();
        HWND hFloating = ::GetParent(::GetParent(bar.m_hWnd));
        ::SetWindowPos(hFloating, nullptr, middle.x, middle.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return hFloating;
    };
    // A point on the floating frame's caption, which the system tells as such.
    auto caption = [](HWND hFloating) {
        CRect rc;
        ::GetWindowRect(hFloating, &rc);
        const CPoint at(rc.left + 20, rc.top + ::GetSystemMetrics(SM_CYFRAME) + ::GetSystemMetrics(SM_CYSMCAPTION) / 2);
        EXPECT_EQ(HTCAPTION, ::SendMessageA(hFloating, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y)));
        return at;
    };

    HWND hFloating = floatOverTheMiddle();
    ASSERT_TRUE(bar.GetBarStyle() & CBRS_FLOATING);
    CPoint at = caption(hFloating);
    ::SendMessageA(hFloating, WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(at.x, at.y));
    m_frame->RecalcLayout();
    EXPECT_EQ(static_cast<UINT>(AFX_IDW_DOCKBAR_RIGHT), bar.GetDockBarId());
    EXPECT_FALSE(::IsWindow(hFloating));

    // Dragged by the caption over the left edge of the pages, it docks
    // there; the drag comes by messages posted to the bar, which holds the
    // mouse meanwhile, not by the shared pointer.
    hFloating = floatOverTheMiddle();
    at = caption(hFloating);
    CPoint to(pages.left + 2, middle.y);
    bar.ScreenToClient(&to);
    bar.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
    bar.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    ::SendMessageA(hFloating, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(at.x, at.y));
    m_frame->RecalcLayout();
    EXPECT_EQ(static_cast<UINT>(AFX_IDW_DOCKBAR_LEFT), bar.GetDockBarId());
    EXPECT_FALSE(bar.GetBarStyle() & CBRS_FLOATING);
    EXPECT_FALSE(::IsWindow(hFloating));
    EXPECT_EQ(nullptr, ::GetCapture());
    CRect barRect, now;
    bar.GetWindowRect(&barRect);
    ::GetWindowRect(m_frame->m_hWndMDIClient, &now);
    EXPECT_EQ(barRect.right, now.left);
}

} // namespace
