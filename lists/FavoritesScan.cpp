#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "lists/FavoritesScan.h"

#include <cwchar>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "lists/FavoritesOrder.h"
#include "lists/KeywordTreeFile.h"
#include "shared/WidePath.h"

namespace {

// Folders deeper than the cache can hold are not entered; nor can a link
// loop exhaust the stack.
const int kMaxDepth = KeywordTreeFile::kMaxFolderDepth;

// The scan's rules, which the cache's check must follow to the letter:
// hidden items and "." and ".." are not listed, and a link (a junction may
// lead back to an ancestor) or a folder too deep is not entered.
bool IsListed(const WIN32_FIND_DATAW& data)
{
    return (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) == 0 && wcscmp(data.cFileName, L".") != 0 &&
           wcscmp(data.cFileName, L"..") != 0;
}

bool IsEntered(const WIN32_FIND_DATAW& data, int depth)
{
    return (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0 && depth < kMaxDepth;
}

// The last component of a path, ignoring one trailing backslash.
CString LastComponent(const CString& path)
{
    CString text(path);
    if (EndsWithBackslash(text))
        text = text.Left(text.GetLength() - 1);
    int slash = text.ReverseFind('\\');
    return slash >= 0 ? text.Mid(slash + 1) : text;
}

// An item's short name: from the listing, else from the system; empty when
// it has none.
std::wstring ShortNameOf(const WIN32_FIND_DATAW& data, const std::wstring& path)
{
    if (data.cAlternateFileName[0] != L'\0')
        return data.cAlternateFileName;
    wchar_t shortPath[MAX_PATH] = {};
    const DWORD length = GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return std::wstring();
    const std::wstring text(shortPath, length);
    return text.substr(text.rfind(L'\\') + 1);
}

// One line of a shortcut: the URL when it is the "URL=" line.
bool TakeUrlLine(const std::string& line, CString& url)
{
    const CString text(line.data(), static_cast<int>(line.size()));
    if (!KeywordTreeFile::StartsWith(text, "URL="))
        return false;
    url = KeywordTreeFile::ValueOf(text, "URL=");
    return true;
}

} // namespace

bool ReadShortcutUrl(const std::wstring& path, CString& url)
{
    url.Empty();
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    // Lines end in LF; the CR of a CR LF is no part of the line.
    std::string line;
    bool found = false;
    char buffer[4096];
    DWORD read = 0;
    while (!found && ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0) {
        for (DWORD i = 0; i < read && !found; ++i) {
            if (buffer[i] != '\n') {
                line += buffer[i];
                continue;
            }
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            found = TakeUrlLine(line, url);
            line.clear();
        }
    }
    if (!found && !line.empty())
        found = TakeUrlLine(line, url);
    CloseHandle(file);
    return found;
}

namespace {

// What the scan makes of a shortcut file (label: its name with the best
// fit): an entry with its URL, an entry opened from its own file (a saved
// page without a URL), or nothing (a shortcut without its URL).
enum class ShortcutEntry { kNone, kUrl, kOwnFile };

ShortcutEntry TakeShortcut(const std::wstring& wide, const CString& label, CString& url)
{
    if (ReadShortcutUrl(wide, url))
        return url.IsEmpty() ? ShortcutEntry::kNone : ShortcutEntry::kUrl;
    const int dot = label.ReverseFind('.');
    return dot >= 0 && label.Mid(dot).CompareNoCase(".url") != 0 ? ShortcutEntry::kOwnFile
                                                                 : ShortcutEntry::kNone;
}

class CFavoritesScanner
{
public:
    // rootWide: the Favorites folder as the system names it, ending with a
    // backslash; the tree holds its root alone. kept (may be null): the
    // tree whose folders stand in for those that cannot be listed.
    CFavoritesScanner(CFavoriteTree& tree, const std::wstring& rootWide, const CFavoriteTree* kept)
        : m_tree(tree), m_kept(kept), m_wideFolders{rootWide}
    {
    }

    // The path of container i of the tree as the system names it; empty for
    // a folder taken from the kept tree, which keeps that tree's order.
    const std::wstring& WideFolder(INT_PTR i) const { return m_wideFolders[static_cast<size_t>(i)]; }

    // Lists one folder into parent: path for the ANSI functions, wide as the
    // system names it, both ending with a backslash. FALSE when the folder
    // cannot be listed.
    bool ScanFolder(CFavoriteNode* parent, const CString& path, const std::wstring& wide, int depth)
    {
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW((wide + L"*.*").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE)
            return false;
        do {
            if (!IsListed(data))
                continue;
            const std::wstring wideName(data.cFileName);
            Item item;
            item.label = WidePath::ToBestFitAnsi(wideName);
            item.wide = wide + wideName;
            // The name itself, else its short name; else only the wide path
            // reaches the item, as it does everything below such a folder.
            CString name;
            const bool reachable =
                WidePath::ToExactAnsi(wideName, name) ||
                WidePath::Choose(wideName, ShortNameOf(data, item.wide), name) != WidePath::kUnusable;
            item.unreachable = !reachable || !parent->m_widePath.empty();
            item.path = path + name;
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                if (!IsEntered(data, depth))
                    continue;
                AddFolder(parent, item, depth);
            } else if (CFavoriteNode::KindOfFileName(item.label) == CFavoriteNode::kShortcut) {
                AddShortcut(parent, item);
            } else {
                Remember(parent->AddChild(item.label, item.path, CFavoriteNode::kFile), item);
            }
        } while (FindNextFileW(find, &data));
        FindClose(find);
        return true;
    }

private:
    struct Item
    {
        CString label;             // the name with the best fit
        CString path;              // for the ANSI functions, when reachable
        std::wstring wide;         // as the system names it
        bool unreachable = false;  // no path for the ANSI functions
    };

    // Keeps the wide path of an item only it reaches.
    static void Remember(CFavoriteNode* node, const Item& item)
    {
        if (node != nullptr && item.unreachable)
            node->m_widePath = item.wide;
    }

    void AddFolder(CFavoriteNode* parent, const Item& item, int depth)
    {
        CFavoriteNode* folder = parent->AddChild(item.label, item.path + "\\", CFavoriteNode::kFolder);
        if (folder == nullptr)
            return;
        if (item.unreachable)
            folder->m_widePath = item.wide + L"\\";
        const INT_PTR containers = m_tree.m_containers.GetSize();
        m_tree.m_containers.Add(folder);
        const std::wstring wide = item.wide + L"\\";
        m_wideFolders.push_back(wide);
        if (ScanFolder(folder, folder->m_url, wide, depth + 1))
            return;
        // Held by another program or closed to this user: what the kept
        // tree holds of it stands, else it is left out.
        if (const CFavoriteNode* kept = KeptFolder(*folder)) {
            m_wideFolders[static_cast<size_t>(containers)].clear();
            CopyChildren(folder, *kept);
            return;
        }
        m_tree.m_containers.SetSize(containers);
        m_wideFolders.resize(static_cast<size_t>(containers));
        parent->m_children.RemoveAt(parent->GetChildCount() - 1);
        delete folder;
    }

    void AddShortcut(CFavoriteNode* parent, const Item& item)
    {
        CString url;
        switch (TakeShortcut(item.wide, item.label, url)) {
        case ShortcutEntry::kUrl:
            parent->AddChild(item.label, url, CFavoriteNode::kShortcut);
            break;
        case ShortcutEntry::kOwnFile:
            Remember(parent->AddChild(item.label, item.path, CFavoriteNode::kShortcut), item);
            break;
        case ShortcutEntry::kNone:
            break;
        }
    }

    // The kept folder whose path names this folder as the system names it:
    // by the wide path where both know one; else by the path for the ANSI
    // functions, which names one folder only when the folder has no wide
    // path of its own. A kept path that two folders share (a name beyond
    // the code page spelt with the best fit, beside the one it is spelt
    // like) tells neither as its own: none is taken then.
    const CFavoriteNode* KeptFolder(const CFavoriteNode& folder) const
    {
        if (m_kept == nullptr)
            return nullptr;
        const CFavoriteNode* found = nullptr;
        for (INT_PTR i = 1; i < m_kept->m_containers.GetSize(); ++i) {
            const CFavoriteNode* kept = m_kept->m_containers[i];
            if (kept->m_widePath != folder.m_widePath || (folder.m_widePath.empty() && kept->m_url != folder.m_url))
                continue;
            if (found != nullptr)
                return nullptr;
            found = kept;
        }
        return found;
    }

    void CopyChildren(CFavoriteNode* folder, const CFavoriteNode& kept)
    {
        for (INT_PTR i = 0; i < kept.GetChildCount(); ++i) {
            const CFavoriteNode* child = kept.GetChild(i);
            CFavoriteNode* copy = folder->AddChild(child->m_label, child->m_url, child->m_kind);
            if (copy == nullptr || !copy->IsContainer())
                continue;
            m_tree.m_containers.Add(copy);
            m_wideFolders.emplace_back();
            CopyChildren(copy, *child);
        }
    }

    CFavoriteTree& m_tree;
    const CFavoriteTree* m_kept;
    std::vector<std::wstring> m_wideFolders;  // of each container, in the same order
};

IShellFolder* BindToFolder(const std::wstring& path)
{
    IShellFolder* desktop = nullptr;
    if (FAILED(SHGetDesktopFolder(&desktop)))
        return nullptr;
    std::vector<wchar_t> text(path.begin(), path.end());
    text.push_back(L'\0');
    LPITEMIDLIST pidl = nullptr;
    IShellFolder* folder = nullptr;
    if (SUCCEEDED(desktop->ParseDisplayName(nullptr, nullptr, text.data(), nullptr, &pidl, nullptr))) {
        desktop->BindToObject(pidl, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&folder));
        CoTaskMemFree(pidl);
    }
    desktop->Release();
    return folder;
}

// The file-system name of a folder item, or empty.
CString ItemName(IShellFolder* folder, const std::string& idList)
{
    // Copied to an aligned buffer: the value's bytes carry no alignment.
    std::vector<ULONG_PTR> buffer(idList.size() / sizeof(ULONG_PTR) + 1);
    memcpy(buffer.data(), idList.data(), idList.size());
    PCUITEMID_CHILD item = reinterpret_cast<PCUITEMID_CHILD>(buffer.data());
    STRRET name = {};
    if (FAILED(folder->GetDisplayNameOf(item, SHGDN_FORPARSING, &name)))
        return CString();
    // With the best fit, as the scan makes the labels the names are matched to.
    wchar_t text[MAX_PATH * 2] = {};
    if (FAILED(StrRetToBufW(&name, item, text, MAX_PATH * 2)))
        return CString();
    return LastComponent(WidePath::ToBestFitAnsi(text));
}

bool IsLater(const FILETIME& time, const FILETIME& since)
{
    return CompareFileTime(&time, &since) > 0;
}

bool CanList(const std::wstring& wide)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((wide + L"*.*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    FindClose(find);
    return true;
}

// A folder's listing (wide, ending with a backslash) against the cache's
// node of it, and so on down the folders the scan enters: true at the first
// item written after the time, or when the listing and the node's children
// differ in what the scan would make of them. Items that share a label (two
// names the code page spells alike) meet their own cached items: the scan
// keeps them in listing order, folders and entries each among themselves. A
// subfolder that cannot be listed changes nothing: the scan keeps what the
// cache holds of it.
bool FolderStale(const std::wstring& wide, const CFavoriteNode& cached, const FILETIME& since, int depth)
{
    // The cache's children by label, in their order: the best-fit names, as
    // the scan makes them.
    std::unordered_map<std::string, std::vector<const CFavoriteNode*>> folders;
    std::unordered_map<std::string, std::vector<const CFavoriteNode*>> entries;
    for (INT_PTR i = 0; i < cached.GetChildCount(); ++i) {
        const CFavoriteNode* child = cached.GetChild(i);
        (child->IsContainer() ? folders : entries)[child->m_label.GetString()].push_back(child);
    }
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((wide + L"*.*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return depth == 0;
    std::unordered_map<std::string, size_t> foldersMatched;
    // The listed files by label, in listing order.
    std::unordered_map<std::string, std::vector<std::wstring>> files;
    // The labels of hidden files: one of them may be spelt like a listed
    // file whose entry the cache holds for it.
    std::unordered_set<std::string> hiddenFiles;
    bool stale = false;
    do {
        if (!IsListed(data)) {
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
                hiddenFiles.insert(WidePath::ToBestFitAnsi(data.cFileName).GetString());
            continue;
        }
        const std::wstring name(data.cFileName);
        stale = IsLater(data.ftLastWriteTime, since);
        if (stale)
            break;
        const CString label = WidePath::ToBestFitAnsi(name);
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            files[label.GetString()].push_back(name);
            continue;
        }
        if (!IsEntered(data, depth))
            continue;
        const std::wstring folder = wide + name + L"\\";
        const std::vector<const CFavoriteNode*>& own = folders[label.GetString()];
        size_t& matched = foldersMatched[label.GetString()];
        if (matched < own.size())
            stale = FolderStale(folder, *own[matched++], since, depth + 1);
        else
            stale = CanList(folder);  // one the cache lacks, unless the scan leaves it out
    } while (!stale && FindNextFileW(find, &data));
    FindClose(find);
    if (stale)
        return true;
    // What the cache holds beyond the listing was deleted or hidden.
    for (const auto& folder : folders) {
        if (foldersMatched[folder.first] != folder.second.size())
            return true;
    }
    for (const auto& file : files) {
        auto found = entries.find(file.first);
        const std::vector<const CFavoriteNode*> held =
            found != entries.end() ? found->second : std::vector<const CFavoriteNode*>();
        if (found != entries.end())
            entries.erase(found);
        // A label no other name shares: the listed file has its own entry.
        const bool alike = file.second.size() > 1 || hiddenFiles.count(file.first) != 0;
        if (file.second.size() == held.size() && !alike)
            continue;
        if (file.second.size() < held.size())
            return true;
        // More files than entries, or names spelt alike: each file the scan
        // keeps meets its own cached entry in listing order, which for a
        // shortcut only its content tells.
        const CString label(file.first.c_str());
        size_t kept = 0;
        for (const std::wstring& name : file.second) {
            CString url;
            ShortcutEntry entry = ShortcutEntry::kOwnFile;
            if (CFavoriteNode::KindOfFileName(label) == CFavoriteNode::kShortcut) {
                entry = TakeShortcut(wide + name, label, url);
                if (entry == ShortcutEntry::kNone)
                    continue;
            }
            if (kept == held.size() || (entry == ShortcutEntry::kUrl && held[kept]->m_url != url))
                return true;
            ++kept;
        }
        if (kept != held.size())
            return true;
    }
    return !entries.empty();
}

// The key and every key below it, by their write times.
bool OrderKeyChangedSince(HKEY parent, const std::wstring& name, const FILETIME& since, int depth)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(parent, name.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;  // no order values: nothing a scan reads
    FILETIME written = {};
    bool changed = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                    nullptr, nullptr, nullptr, &written) != ERROR_SUCCESS ||
                   IsLater(written, since);
    wchar_t sub[256];
    for (DWORD i = 0; !changed && depth < kMaxDepth; ++i) {
        DWORD length = ARRAYSIZE(sub);
        if (RegEnumKeyExW(key, i, sub, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        changed = OrderKeyChangedSince(key, std::wstring(sub, length), since, depth + 1);
    }
    RegCloseKey(key);
    return changed;
}

bool UsesOrderValues(const FavoritesScanPlaces& places)
{
    return places.ieOrder && !places.orderKey.IsEmpty() && !places.orderValueName.IsEmpty();
}

std::wstring WideFolderOf(const FavoritesScanPlaces& places)
{
    return places.wideFolder.empty() ? WidePath::FromAnsi(places.folder) : places.wideFolder;
}

} // namespace

bool FavoritesCacheStale(const FavoritesScanPlaces& places, const CFavoriteTree& cached,
                         const FILETIME& written)
{
    if ((places.folder.IsEmpty() && places.wideFolder.empty()) || cached.GetRoot() == nullptr)
        return true;
    const std::wstring wide = WideFolderOf(places);
    WIN32_FILE_ATTRIBUTE_DATA root = {};
    if (!GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &root) ||
        IsLater(root.ftLastWriteTime, written) || FolderStale(wide, *cached.GetRoot(), written, 0))
        return true;
    return UsesOrderValues(places) &&
           OrderKeyChangedSince(HKEY_CURRENT_USER, WidePath::FromAnsi(places.orderKey), written, 0);
}

CString GetFavoritesFolderPath(std::wstring* wide)
{
    wchar_t path[MAX_PATH] = {};
    if (wide != nullptr)
        wide->clear();
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_FAVORITES, nullptr, SHGFP_TYPE_CURRENT, path)) ||
        path[0] == L'\0')
        return CString();
    std::wstring folder(path);
    CString ansi;
    // A best-fit spelling would name a look-alike folder: no path then.
    const bool usable = WidePath::ToAnsiPath(folder, ansi) != WidePath::kUnusable;
    if (folder.back() != L'\\')
        folder += L'\\';
    if (wide != nullptr)
        *wide = folder;
    if (!usable)
        return CString();
    EnsureTrailingBackslash(ansi);
    return ansi;
}

void OrganizeFavoritesWith(HMODULE library, HWND owner)
{
    std::wstring wide;
    CString folder = GetFavoritesFolderPath(&wide);
    if (!folder.IsEmpty()) {
        typedef BOOL(WINAPI * OrganizeFn)(HWND, LPSTR);
        auto organize = reinterpret_cast<OrganizeFn>(
            reinterpret_cast<void*>(GetProcAddress(library, "DoOrganizeFavDlg")));
        if (organize != nullptr)
            organize(owner, folder.GetBuffer(folder.GetLength() + 1));
        return;
    }
    // No ANSI path reaches the folder: only the wide entry can be given it.
    typedef BOOL(WINAPI * OrganizeWideFn)(HWND, LPWSTR);
    auto organize = reinterpret_cast<OrganizeWideFn>(
        reinterpret_cast<void*>(GetProcAddress(library, "DoOrganizeFavDlgW")));
    if (organize != nullptr && !wide.empty())
        organize(owner, &wide[0]);
}

BOOL ReadFavoritesOrder(const std::wstring& folderPath, const std::wstring& orderKey,
                        const CString& valueName, FavoriteOrderMap& order)
{
    order.clear();
    HKEY key = nullptr;
    if (orderKey.empty() ||
        RegOpenKeyExW(HKEY_CURRENT_USER, orderKey.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return FALSE;
    const std::wstring value = WidePath::FromAnsi(valueName);
    DWORD type = 0;
    DWORD size = 0;
    std::vector<BYTE> data;
    if (RegQueryValueExW(key, value.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        type == REG_BINARY && size > 11) {
        data.resize(size);
        if (RegQueryValueExW(key, value.c_str(), nullptr, &type, data.data(), &size) == ERROR_SUCCESS)
            data.resize(size);
        else
            data.clear();
    }
    RegCloseKey(key);
    std::vector<FavoriteOrderRecord> records = ParseFavoritesOrder(data.data(), data.size());
    if (records.empty())
        return FALSE;
    IShellFolder* folder = BindToFolder(folderPath);
    if (folder == nullptr)
        return FALSE;
    for (const FavoriteOrderRecord& record : records) {
        CString name = ItemName(folder, record.idList);
        if (!name.IsEmpty())
            order[std::string(name.GetString())] = record.order;
    }
    folder->Release();
    return !order.empty();
}

BOOL ScanFavorites(CFavoriteTree& tree, const FavoritesScanPlaces& places, const CFavoriteTree* kept)
{
    // A folder no ANSI path reaches is listed by its wide path, and so is
    // everything in it; its best-fit text is only what the nodes' texts
    // begin with (and the cache keeps).
    const std::wstring wide = WideFolderOf(places);
    const CString folder = places.folder.IsEmpty() ? WidePath::ToBestFitAnsi(wide) : places.folder;
    if (!tree.Reset(places.rootLabel, folder))
        return FALSE;
    if (wide.empty()) {
        // Never fall back to the root of the current drive.
        tree.m_abort = 1;
        return FALSE;
    }
    // Only the Favorites folder itself failing aborts the scan.
    if (places.folder.IsEmpty() || GetFileAttributesA(places.folder) == INVALID_FILE_ATTRIBUTES)
        tree.m_root->m_widePath = wide;
    CFavoritesScanner scanner(tree, wide, kept);
    if (!scanner.ScanFolder(tree.m_root, folder, wide, 0)) {
        tree.m_abort = 1;
        return FALSE;
    }
    const std::wstring orderKey = WidePath::FromAnsi(places.orderKey);
    for (INT_PTR i = 0; i < tree.m_containers.GetSize(); ++i) {
        if (scanner.WideFolder(i).empty())
            continue;  // kept as it was
        CFavoriteNode* folder = tree.m_containers[i];
        FavoriteOrderMap order;
        bool ordered = false;
        if (UsesOrderValues(places)) {
            // A subfolder's key: its path below the Favorites folder in its
            // long names (never the short names its ANSI path may hold),
            // without the trailing backslash.
            const std::wstring& path = scanner.WideFolder(i);
            std::wstring key(orderKey);
            if (i > 0)
                key += L"\\" + path.substr(wide.size(), path.size() - wide.size() - 1);
            ordered = ReadFavoritesOrder(path, key, places.orderValueName, order);
        }
        CFavoriteTree::OrderChildren(folder, ordered ? &order : nullptr);
    }
    tree.RebuildFlatList();
    return TRUE;
}
