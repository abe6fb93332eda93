// The favorites scan over a temporary Favorites folder, with and without
// the shell's order values.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "lists/FavoritesScan.h"
#include "shared/WidePath.h"
#include "tests/support/ProgramFolder.h"

namespace {

const char kOrderKey[] = "Software\\VantorelArcoTests\\MenuOrder\\Favorites";
const char kOrderValue[] = "Order";

std::string Word(uint32_t value)
{
    return std::string(reinterpret_cast<const char*>(&value), 4);
}

class FavoritesScanTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\VantorelArcoTests\\MenuOrder");
        m_fav.MakeFolder("Fav");
        m_fav.MakeFolder("Fav/News");
        m_fav.MakeFolder("Fav/Tools");
        m_fav.WriteBytes("Fav/a.url", "[InternetShortcut]\r\nURL=http://a.example/\r\n");
        m_fav.WriteBytes("Fav/b.URL", "[InternetShortcut]\r\nurl=http://lower/\r\nURL=http://b/\r\n");
        m_fav.WriteBytes("Fav/nourl.url", "[InternetShortcut]\r\nurl=http://lower-only/\r\n");
        m_fav.WriteBytes("Fav/page.htm", "<html></html>");
        m_fav.WriteBytes("Fav/notes.txt", "text");
        m_fav.WriteBytes("Fav/hidden.url", "[InternetShortcut]\r\nURL=http://hidden/\r\n");
        SetFileAttributesA(m_fav.File("Fav/hidden.url").c_str(), FILE_ATTRIBUTE_HIDDEN);
        m_fav.WriteBytes("Fav/News/\x95\x5C.url", "[InternetShortcut]\r\nURL=http://n/\r\n");
        m_places.folder = m_fav.File("Fav/").c_str();
        m_places.rootLabel = "Favorites";
        m_places.orderKey = kOrderKey;
        m_places.orderValueName = kOrderValue;
    }
    void TearDown() override
    {
        SetFileAttributesA(m_fav.File("Fav/hidden.url").c_str(), FILE_ATTRIBUTE_NORMAL);
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\VantorelArcoTests\\MenuOrder");
    }

    std::vector<std::string> RootLabels() const
    {
        std::vector<std::string> labels;
        for (INT_PTR i = 0; i < m_tree.GetRoot()->GetChildCount(); ++i)
            labels.push_back(m_tree.GetRoot()->GetChild(i)->m_label.GetString());
        return labels;
    }

    // An order value naming the given items of a folder, by their relative
    // item ID lists, with their order numbers.
    void WriteOrder(const std::string& key, const std::string& folder,
                    const std::vector<std::pair<std::string, int>>& items)
    {
        WriteOrderW(WidePath::FromAnsi(key.c_str()), folder, items);
    }
    void WriteOrderW(const std::wstring& key, const std::string& folder,
                     const std::vector<std::pair<std::string, int>>& items)
    {
        IShellFolder* desktop = nullptr;
        ASSERT_TRUE(SUCCEEDED(SHGetDesktopFolder(&desktop)));
        wchar_t wide[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, m_fav.File(folder).c_str(), -1, wide, MAX_PATH);
        LPITEMIDLIST folderPidl = nullptr;
        ASSERT_TRUE(SUCCEEDED(desktop->ParseDisplayName(nullptr, nullptr, wide, nullptr,
                                                        &folderPidl, nullptr)));
        IShellFolder* shellFolder = nullptr;
        ASSERT_TRUE(SUCCEEDED(desktop->BindToObject(folderPidl, nullptr, IID_IShellFolder,
                                                    reinterpret_cast<void**>(&shellFolder))));
        std::string value = Word(8) + std::string(16, '\0');
        for (const auto& item : items) {
            MultiByteToWideChar(CP_ACP, 0, item.first.c_str(), -1, wide, MAX_PATH);
            LPITEMIDLIST pidl = nullptr;
            ASSERT_TRUE(SUCCEEDED(shellFolder->ParseDisplayName(nullptr, nullptr, wide, nullptr,
                                                                &pidl, nullptr)))
                << item.first;
            UINT size = ILGetSize(pidl);
            std::string list(reinterpret_cast<const char*>(pidl), size);
            value += Word(8 + size) + Word(static_cast<uint32_t>(item.second)) + list;
            CoTaskMemFree(pidl);
        }
        shellFolder->Release();
        CoTaskMemFree(folderPidl);
        desktop->Release();
        WriteValue(key, value);
    }
    void WriteValue(const std::string& key, const std::string& value)
    {
        WriteValue(WidePath::FromAnsi(key.c_str()), value);
    }
    void WriteValue(const std::wstring& key, const std::string& value)
    {
        HKEY handle = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0,
                                                 KEY_SET_VALUE, nullptr, &handle, nullptr));
        RegSetValueExA(handle, kOrderValue, 0, REG_BINARY,
                       reinterpret_cast<const BYTE*>(value.data()),
                       static_cast<DWORD>(value.size()));
        RegCloseKey(handle);
    }

    ProgramFolder m_fav{ProgramFolder::kEmpty};
    FavoritesScanPlaces m_places;
    CFavoriteTree m_tree;
};

TEST_F(FavoritesScanTest, FoldersComeFirstAndOnlyUsableFilesBecomeEntries)
{
    ASSERT_TRUE(ScanFavorites(m_tree, m_places));
    std::vector<std::string> labels = RootLabels();
    ASSERT_EQ(6u, labels.size());
    std::vector<std::string> folders(labels.begin(), labels.begin() + 2);
    std::sort(folders.begin(), folders.end());
    EXPECT_EQ((std::vector<std::string>{"News", "Tools"}), folders);
    std::vector<std::string> entries(labels.begin() + 2, labels.end());
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ((std::vector<std::string>{"a.url", "b.URL", "notes.txt", "page.htm"}), entries);

    CFavoriteNode* root = m_tree.GetRoot();
    EXPECT_STREQ(m_places.folder, root->m_url);
    for (INT_PTR i = 0; i < root->GetChildCount(); ++i) {
        CFavoriteNode* node = root->GetChild(i);
        CString label = node->m_label;
        if (label == "a.url") {
            EXPECT_STREQ("http://a.example/", node->m_url);
        } else if (label == "b.URL") {
            EXPECT_STREQ("http://b/", node->m_url);
        } else if (label == "page.htm") {
            EXPECT_EQ(CFavoriteNode::kShortcut, node->m_kind);
            EXPECT_STREQ(m_places.folder + "page.htm", node->m_url);
        } else if (label == "notes.txt") {
            EXPECT_EQ(CFavoriteNode::kFile, node->m_kind);
            EXPECT_STREQ(m_places.folder + "notes.txt", node->m_url);
        } else if (label == "News") {
            EXPECT_STREQ(m_places.folder + "News\\", node->m_url);
            ASSERT_EQ(1, node->GetChildCount());
            EXPECT_STREQ("http://n/", node->GetChild(0)->m_url);
        }
    }
    // Depth-first flat list: root, then each folder before its content.
    ASSERT_EQ(8, m_tree.GetFlatCount());
    for (INT_PTR i = 0; i < m_tree.GetFlatCount(); ++i)
        EXPECT_EQ(i, m_tree.GetNode(i)->m_flatIndex);
    EXPECT_EQ(3, m_tree.m_containers.GetSize());

    // The tree written as the cache reads back the same.
    ProgramFolder program(ProgramFolder::kEmpty);
    CString cache = program.File("IEFavorite.dat").c_str();
    ASSERT_TRUE(m_tree.Save(cache));
    CFavoriteTree loaded;
    ASSERT_TRUE(loaded.LoadCache(cache, "Favorites"));
    ASSERT_EQ(m_tree.GetFlatCount(), loaded.GetFlatCount());
    for (INT_PTR i = 1; i < loaded.GetFlatCount(); ++i) {
        EXPECT_STREQ(m_tree.GetNode(i)->m_label, loaded.GetNode(i)->m_label);
        EXPECT_STREQ(m_tree.GetNode(i)->m_url, loaded.GetNode(i)->m_url);
        EXPECT_EQ(m_tree.GetNode(i)->m_kind, loaded.GetNode(i)->m_kind);
    }
}

TEST_F(FavoritesScanTest, OrderValuesOrderTheirFolders)
{
    m_places.ieOrder = TRUE;
    WriteOrder(kOrderKey, "Fav/", {{"page.htm", 0}, {"News", 1}, {"a.url", 2}, {"notes.txt", 3},
                                   {"Tools", 4}, {"b.URL", 5}});
    ASSERT_TRUE(ScanFavorites(m_tree, m_places));
    EXPECT_EQ((std::vector<std::string>{"page.htm", "News", "a.url", "notes.txt", "Tools",
                                        "b.URL"}),
              RootLabels());

    // A new favorite the value does not name yet: folders first.
    m_fav.WriteBytes("Fav/new.url", "[InternetShortcut]\r\nURL=http://new/\r\n");
    ASSERT_TRUE(ScanFavorites(m_tree, m_places));
    std::vector<std::string> labels = RootLabels();
    ASSERT_EQ(7u, labels.size());
    EXPECT_TRUE((labels[0] == "News" || labels[0] == "Tools") &&
                (labels[1] == "News" || labels[1] == "Tools"));
}

TEST_F(FavoritesScanTest, BrokenOrderValuesFallBackToFoldersFirst)
{
    m_places.ieOrder = TRUE;
    std::string header = Word(8) + std::string(16, '\0');
    const std::string broken[] = {
        header + Word(0) + Word(1) + std::string("\0\0", 2),       // zero length
        header + Word(0x7FFFFFF0) + Word(1) + std::string("\0\0", 2),  // past the end
        Word(0xFFFFFFF0) + std::string(20, '\0'),
    };
    for (const std::string& value : broken) {
        WriteValue(kOrderKey, value);
        ASSERT_TRUE(ScanFavorites(m_tree, m_places));
        std::vector<std::string> labels = RootLabels();
        ASSERT_EQ(6u, labels.size());
        EXPECT_EQ(CFavoriteNode::kFolder, m_tree.GetRoot()->GetChild(0)->m_kind);
        EXPECT_EQ(CFavoriteNode::kFolder, m_tree.GetRoot()->GetChild(1)->m_kind);
    }
}

TEST_F(FavoritesScanTest, AnUnknownOrUnlistableFavoritesFolderAbortsTheScan)
{
    m_places.folder = "";
    EXPECT_FALSE(ScanFavorites(m_tree, m_places));
    EXPECT_EQ(0, m_tree.GetRoot()->GetChildCount());
    EXPECT_EQ(0, m_tree.GetFlatCount());

    m_places.folder = m_fav.File("Missing/").c_str();
    EXPECT_FALSE(ScanFavorites(m_tree, m_places));
    EXPECT_EQ(0, m_tree.GetFlatCount());
    EXPECT_NE(0u, m_tree.m_abort);
}

// Regression: a folder whose name the ANSI API cannot give back was left
// out with its content. It is kept, labelled with the best fit, and reached
// by its short name.
TEST_F(FavoritesScanTest, AFolderNamedBeyondTheCodePageIsKeptAndReached)
{
    const std::string folder = m_fav.File("Fav/");
    const std::wstring wide(folder.begin(), folder.end());
    ASSERT_TRUE(CreateDirectoryW((wide + L"caf\u00e9").c_str(), nullptr));
    ASSERT_TRUE(ScanFavorites(m_tree, m_places));
    EXPECT_EQ(0u, m_tree.m_abort);
    std::vector<std::string> labels = RootLabels();
    EXPECT_EQ(7u, labels.size());
    EXPECT_NE(labels.end(), std::find(labels.begin(), labels.end(), "Tools"));
    EXPECT_EQ(4, m_tree.m_containers.GetSize());
    EXPECT_EQ(9, m_tree.GetFlatCount());  // the root, seven children, one in News
    for (INT_PTR i = 1; i < m_tree.m_containers.GetSize(); ++i) {
        const DWORD attributes = GetFileAttributesA(m_tree.m_containers[i]->m_url);
        EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
    }
    RemoveDirectoryW((wide + L"caf\u00e9").c_str());
}

// A link back to an ancestor is not entered: the scan neither loops nor
// multiplies the tree.
TEST_F(FavoritesScanTest, LinksToFoldersAreNotEntered)
{
    const std::string link = m_fav.File("Fav/News/Back");
    if (!CreateSymbolicLinkA(link.c_str(), m_fav.File("Fav").c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY))
        GTEST_SKIP() << "no folder links here";
    ASSERT_TRUE(ScanFavorites(m_tree, m_places));
    CFavoriteNode* news = nullptr;
    for (INT_PTR i = 0; i < m_tree.GetRoot()->GetChildCount(); ++i) {
        if (m_tree.GetRoot()->GetChild(i)->m_label == "News")
            news = m_tree.GetRoot()->GetChild(i);
    }
    ASSERT_NE(nullptr, news);
    EXPECT_EQ(1, news->GetChildCount());
    EXPECT_EQ(3, m_tree.m_containers.GetSize());
    RemoveDirectoryA(link.c_str());
}

// The cache is stale after any change the user can make to the folder,
// told from the listings: also when only an attribute changed, or when the
// cache lacks a favorite an older build left out. A shortcut without its URL,
// which the scan leaves out, leaves the cache fresh.
TEST_F(FavoritesScanTest, TheCacheIsStaleAfterEveryChangeAndOnlyThen)
{
    m_places.ieOrder = TRUE;
    const std::wstring fav = WidePath::FromAnsi(m_fav.File("Fav/").c_str());
    const std::wstring cafeKey = WidePath::FromAnsi(kOrderKey) + L"\\caf\u00e9";
    auto hide = [&](const char* file, bool hidden) {
        SetFileAttributesA(m_fav.File(file).c_str(), hidden ? FILE_ATTRIBUTE_HIDDEN : FILE_ATTRIBUTE_NORMAL);
    };
    auto dropChild = [](CFavoriteNode* folder, const char* label) {
        for (INT_PTR i = 0; i < folder->GetChildCount(); ++i) {
            if (folder->GetChild(i)->m_label == label) {
                delete folder->GetChild(i);
                folder->m_children.RemoveAt(i);
                return;
            }
        }
        ADD_FAILURE() << label;
    };
    auto findChild = [](CFavoriteNode* folder, const char* label) -> CFavoriteNode* {
        for (INT_PTR i = 0; i < folder->GetChildCount(); ++i)
            if (folder->GetChild(i)->m_label == label)
                return folder->GetChild(i);
        throw std::runtime_error(label);
    };
    struct Change
    {
        const char* what;
        std::function<void()> inFolder;              // made after the cache
        std::function<void(CFavoriteTree&)> inCache;  // the cache differs from the scan so
        bool stale;
    };
    const Change changes[] = {
        {"nothing", nullptr, nullptr, false},
        {"a cache without a favorite the scan finds", nullptr,
         [&](CFavoriteTree& cache) { dropChild(cache.GetRoot(), "b.URL"); }, true},
        {"a cache without a favorite of a subfolder", nullptr,
         [&](CFavoriteTree& cache) { dropChild(findChild(cache.GetRoot(), "News"), "\x95\x5C.url"); }, true},
        {"a cache with a favorite the scan does not find", nullptr,
         [&](CFavoriteTree& cache) {
             findChild(cache.GetRoot(), "Tools")->AddChild("gone.url", "http://gone/", CFavoriteNode::kShortcut);
         },
         true},
        {"a cache without a subfolder", nullptr,
         [&](CFavoriteTree& cache) { dropChild(cache.GetRoot(), "Tools"); }, true},
        {"a shortcut added to a subfolder",
         [&] { m_fav.WriteBytes("Fav/News/added.url", "[InternetShortcut]\r\nURL=http://added/\r\n"); }, nullptr, true},
        {"a shortcut in a subfolder edited",
         [&] { m_fav.WriteBytes("Fav/News/\x95\x5C.url", "[InternetShortcut]\r\nURL=http://edited/\r\n"); }, nullptr,
         true},
        {"a subfolder renamed", [&] { MoveFileA(m_fav.File("Fav/Tools").c_str(), m_fav.File("Fav/Tools2").c_str()); },
         nullptr, true},
        {"a shortcut hidden", [&] { hide("Fav/a.url", true); }, nullptr, true},
        {"a hidden shortcut shown", [&] { hide("Fav/a.url", false); }, nullptr, true},
        {"an order value written",
         [&] { WriteOrder(kOrderKey, "Fav/", {{"a.url", 0}, {"News", 1}}); }, nullptr, true},
        {"an order value of a folder beyond the code page written", [&] { WriteValue(cafeKey, "0123456789abc"); },
         nullptr, true},
    };
    // The folder and its key are older than every cache.
    ASSERT_TRUE(CreateDirectoryW((fav + L"caf\u00e9").c_str(), nullptr));
    WriteValue(cafeKey, "");
    for (const Change& change : changes) {
        SCOPED_TRACE(change.what);
        CFavoriteTree cache;
        ASSERT_TRUE(ScanFavorites(cache, m_places));
        if (change.inCache)
            change.inCache(cache);
        Sleep(20);  // the cache is later than every file and key
        FILETIME written = {};
        GetSystemTimeAsFileTime(&written);
        Sleep(20);
        if (change.inFolder)
            change.inFolder();
        EXPECT_EQ(change.stale, FavoritesCacheStale(m_places, cache, written));
    }
    hide("Fav/a.url", false);
    RemoveDirectoryW((fav + L"caf\u00e9").c_str());
}

// Regression: the key of a folder's order value was built from its short
// name where the code page lacks its name, so it was never found and the
// folder fell back to folders first. The key holds the folder's long names.
TEST_F(FavoritesScanTest, AFolderKnownByItsShortNameKeepsItsOrder)
{
    m_places.ieOrder = TRUE;
    const std::wstring cafe = WidePath::FromAnsi(m_fav.File("Fav/").c_str()) + L"caf\u00e9\\";
    const std::wstring uber = cafe + L"inner\\\u00fcber\\";
    for (const std::wstring& folder : {cafe, cafe + L"inner", uber, uber + L"sub"})
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    for (const std::wstring& file : {cafe + L"first.url", uber + L"one.url"}) {
        HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, handle);
        const char text[] = "[InternetShortcut]\r\nURL=http://cafe/\r\n";
        DWORD done = 0;
        WriteFile(handle, text, sizeof(text) - 1, &done, nullptr);
        CloseHandle(handle);
    }
    // In both folders the entry before the folder, in the keys of their
    // long names; the folders are reached by their short names.
    CString cafePath, uberPath;
    ASSERT_EQ(WidePath::kShortName, WidePath::ToAnsiPath(cafe, cafePath));
    ASSERT_EQ(WidePath::kShortName, WidePath::ToAnsiPath(uber, uberPath));
    const size_t base = m_fav.File("").size();
    const std::wstring key = WidePath::FromAnsi(kOrderKey);
    WriteOrderW(key + L"\\caf\u00e9", cafePath.Mid(static_cast<int>(base)).GetString(),
                {{"first.url", 0}, {"inner", 1}});
    WriteOrderW(key + L"\\caf\u00e9\\inner\\\u00fcber", uberPath.Mid(static_cast<int>(base)).GetString(),
                {{"one.url", 0}, {"sub", 1}});
    ASSERT_TRUE(ScanFavorites(m_tree, m_places));
    const CFavoriteNode* folder = nullptr;
    for (INT_PTR i = 0; i < m_tree.GetRoot()->GetChildCount(); ++i)
        if (m_tree.GetRoot()->GetChild(i)->m_label == WidePath::ToBestFitAnsi(L"caf\u00e9"))
            folder = m_tree.GetRoot()->GetChild(i);
    ASSERT_NE(nullptr, folder);
    ASSERT_EQ(2, folder->GetChildCount());
    EXPECT_STREQ("first.url", folder->GetChild(0)->m_label);
    EXPECT_STREQ("inner", folder->GetChild(1)->m_label);
    ASSERT_EQ(1, folder->GetChild(1)->GetChildCount());
    const CFavoriteNode* inner = folder->GetChild(1)->GetChild(0);
    ASSERT_EQ(2, inner->GetChildCount());
    EXPECT_STREQ("one.url", inner->GetChild(0)->m_label);
    EXPECT_STREQ("sub", inner->GetChild(1)->m_label);
}

TEST(FavoritesFolderTest, SystemFolderEndsWithABackslash)
{
    CString path = GetFavoritesFolderPath();
    if (path.IsEmpty())
        GTEST_SKIP() << "no Favorites folder in this prefix";
    EXPECT_EQ('\\', path[path.GetLength() - 1]);
}

} // namespace
