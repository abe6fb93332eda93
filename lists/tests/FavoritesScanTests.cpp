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

// The cache against the folder's listings (the changes to the folder
// itself are tried through the frame): stale when it lacks what the scan
// finds, down to a subfolder, or holds what it does not, and when an order
// value was written after it, also in the key of a folder named beyond the
// code page. A shortcut without its URL, which the scan leaves out and the
// cache so lacks, leaves it fresh.
TEST_F(FavoritesScanTest, TheCacheIsStaleWhenItDiffersFromTheListingsOrAnOrderKeyChanged)
{
    m_places.ieOrder = TRUE;
    const std::wstring cafeKey = WidePath::FromAnsi(kOrderKey) + L"\\caf\u00e9";
    auto find = [](CFavoriteNode* folder, const char* label) {
        for (INT_PTR i = 0; i < folder->GetChildCount(); ++i)
            if (folder->GetChild(i)->m_label == label)
                return i;
        throw std::runtime_error(label);
    };
    auto drop = [&](CFavoriteNode* folder, const char* label) {
        const INT_PTR i = find(folder, label);
        delete folder->GetChild(i);
        folder->m_children.RemoveAt(i);
    };
    struct Change
    {
        const char* what;
        std::function<void(CFavoriteTree&)> inCache;  // the cache differs from the scan so
        std::function<void()> after;                  // made after the cache
        bool stale;
    };
    const Change changes[] = {
        {"nothing", nullptr, nullptr, false},
        {"a favorite missing", [&](CFavoriteTree& cache) { drop(cache.GetRoot(), "b.URL"); }, nullptr, true},
        {"a favorite of a subfolder missing",
         [&](CFavoriteTree& cache) {
             CFavoriteNode* root = cache.GetRoot();
             drop(root->GetChild(find(root, "News")), "\x95\x5C.url");
         }, nullptr, true},
        {"a subfolder missing", [&](CFavoriteTree& cache) { drop(cache.GetRoot(), "Tools"); }, nullptr, true},
        {"a folder too many",
         [&](CFavoriteTree& cache) { cache.GetRoot()->AddChild("Gone", "C:\\Gone\\", CFavoriteNode::kFolder); },
         nullptr, true},
        {"a favorite too many",
         [&](CFavoriteTree& cache) { cache.GetRoot()->AddChild("gone.url", "http://gone/", CFavoriteNode::kShortcut); },
         nullptr, true},
        {"an order value written", nullptr, [&] { WriteOrder(kOrderKey, "Fav/", {{"a.url", 0}, {"News", 1}}); }, true},
        {"the order value of a folder beyond the code page written", nullptr,
         [&] { WriteValue(cafeKey, "0123456789abc"); }, true},
    };
    WriteValue(cafeKey, "");  // older than every cache
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
        if (change.after)
            change.after();
        EXPECT_EQ(change.stale, FavoritesCacheStale(m_places, cache, written));
    }
}

// Regression: the key of a folder's order value was built from its short
// name where the code page lacks its name, so it was never found and the
// folder fell back to folders first. The key holds the folder's long names.
TEST_F(FavoritesScanTest, AFolderKnownByItsShortNameKeepsItsOrder)
{
    m_places.ieOrder = TRUE;
    const std::wstring cafe = WidePath::FromAnsi(m_fav.File("Fav/").c_str()) + L"caf\u00e9\\";
    ASSERT_TRUE(CreateDirectoryW(cafe.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((cafe + L"inner").c_str(), nullptr));
    CString path;
    ASSERT_EQ(WidePath::kShortName, WidePath::ToAnsiPath(cafe, path));
    const std::string folder(path.Mid(static_cast<int>(m_fav.File("").size())).GetString());
    m_fav.WriteBytes(folder + "first.url", "[InternetShortcut]\r\nURL=http://cafe/\r\n");
    // The entry before the folder.
    WriteOrderW(WidePath::FromAnsi(kOrderKey) + L"\\caf\u00e9", folder, {{"first.url", 0}, {"inner", 1}});
    ASSERT_TRUE(ScanFavorites(m_tree, m_places));
    std::vector<std::string> labels;
    for (INT_PTR i = 0; i < m_tree.GetRoot()->GetChildCount(); ++i) {
        const CFavoriteNode* child = m_tree.GetRoot()->GetChild(i);
        if (child->m_label != WidePath::ToBestFitAnsi(L"caf\u00e9"))
            continue;
        for (INT_PTR j = 0; j < child->GetChildCount(); ++j)
            labels.push_back(child->GetChild(j)->m_label.GetString());
    }
    EXPECT_EQ((std::vector<std::string>{"first.url", "inner"}), labels);
}

TEST(FavoritesFolderTest, SystemFolderEndsWithABackslash)
{
    CString path = GetFavoritesFolderPath();
    if (path.IsEmpty())
        GTEST_SKIP() << "no Favorites folder in this prefix";
    EXPECT_EQ('\\', path[path.GetLength() - 1]);
}

} // namespace
