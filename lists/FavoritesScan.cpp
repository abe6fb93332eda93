#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "lists/FavoritesScan.h"

#include <functional>
#include <string>
#include <vector>

#include "lists/FavoritesOrder.h"
#include "lists/KeywordTreeFile.h"
#include "shared/WidePath.h"

namespace {

// Folders deeper than the cache can hold are not entered; nor can a link
// loop exhaust the stack.
const int kMaxDepth = KeywordTreeFile::kMaxFolderDepth;

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

bool ReadShortcutUrl(const CString& path, CString& url)
{
    return ReadShortcutUrl(WidePath::FromAnsi(path), url);
}

namespace {

class CFavoritesScanner
{
public:
    explicit CFavoritesScanner(CFavoriteTree& tree) : m_tree(tree) {}

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
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0)
                continue;
            const std::wstring wideName(data.cFileName);
            if (wideName == L"." || wideName == L"..")
                continue;
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
                // A junction or link may lead back to an ancestor: never
                // followed, nor folders deeper than the cache can hold.
                const bool link = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
                if (depth >= kMaxDepth || link)
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
        if (ScanFolder(folder, folder->m_url, item.wide + L"\\", depth + 1))
            return;
        m_tree.m_containers.SetSize(containers);
        parent->m_children.RemoveAt(parent->GetChildCount() - 1);
        delete folder;
    }

    void AddShortcut(CFavoriteNode* parent, const Item& item)
    {
        CString url;
        if (ReadShortcutUrl(item.wide, url)) {
            if (!url.IsEmpty())
                parent->AddChild(item.label, url, CFavoriteNode::kShortcut);
            return;
        }
        // A saved page is opened from its own file; a shortcut without its
        // URL is left out.
        int dot = item.label.ReverseFind('.');
        if (dot >= 0 && item.label.Mid(dot).CompareNoCase(".url") != 0)
            Remember(parent->AddChild(item.label, item.path, CFavoriteNode::kShortcut), item);
    }

    CFavoriteTree& m_tree;
};

IShellFolder* BindToFolder(const CString& folderPath)
{
    IShellFolder* desktop = nullptr;
    if (FAILED(SHGetDesktopFolder(&desktop)))
        return nullptr;
    std::vector<wchar_t> wide(static_cast<size_t>(folderPath.GetLength()) + 1);
    MultiByteToWideChar(CP_ACP, 0, folderPath.GetString(), -1, wide.data(),
                        static_cast<int>(wide.size()));
    LPITEMIDLIST pidl = nullptr;
    IShellFolder* folder = nullptr;
    if (SUCCEEDED(desktop->ParseDisplayName(nullptr, nullptr, wide.data(), nullptr, &pidl,
                                            nullptr))) {
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

// A folder's entries (wide, ending with a backslash) and the folders the
// scan enters below it, by their write times; true at the first later one,
// or when the hook refuses a folder.
bool FolderChangedSince(const std::wstring& wide, const FILETIME& since, int depth,
                        const FavoritesFolderHook& beforeListing)
{
    if (beforeListing) {
        // The folder's own time (a name gone leaves only that) is read
        // again after the hook, which may begin to watch it.
        WIN32_FILE_ATTRIBUTE_DATA self = {};
        if (!beforeListing(wide) || !GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &self) ||
            IsLater(self.ftLastWriteTime, since))
            return true;
    }
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((wide + L"*.*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return true;
    bool changed = false;
    do {
        const std::wstring name(data.cFileName);
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0 || name == L"." || name == L"..")
            continue;
        changed = IsLater(data.ftLastWriteTime, since);
        const DWORD folderBits = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
        if (!changed && (data.dwFileAttributes & folderBits) == FILE_ATTRIBUTE_DIRECTORY && depth < kMaxDepth)
            changed = FolderChangedSince(wide + name + L"\\", since, depth + 1, beforeListing);
    } while (!changed && FindNextFileW(find, &data));
    FindClose(find);
    return changed;
}

// The key and every key below it, by their write times.
bool OrderKeyChangedSince(HKEY parent, const CString& name, const FILETIME& since, int depth)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(parent, name, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;  // no order values: nothing a scan reads
    FILETIME written = {};
    bool changed = RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                    nullptr, nullptr, nullptr, &written) != ERROR_SUCCESS ||
                   IsLater(written, since);
    char sub[256];
    for (DWORD i = 0; !changed && depth < kMaxDepth; ++i) {
        DWORD length = sizeof(sub);
        if (RegEnumKeyExA(key, i, sub, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        changed = OrderKeyChangedSince(key, sub, since, depth + 1);
    }
    RegCloseKey(key);
    return changed;
}

} // namespace

bool FavoritesChangedSince(const FavoritesScanPlaces& places, const FILETIME& since,
                           const FavoritesFolderHook& beforeListing)
{
    if (places.folder.IsEmpty())
        return true;
    const std::wstring wide =
        places.wideFolder.empty() ? WidePath::FromAnsi(places.folder) : places.wideFolder;
    WIN32_FILE_ATTRIBUTE_DATA root = {};
    if (!GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &root) ||
        IsLater(root.ftLastWriteTime, since) || FolderChangedSince(wide, since, 0, beforeListing))
        return true;
    return places.ieOrder && !places.orderKey.IsEmpty() &&
           OrderKeyChangedSince(HKEY_CURRENT_USER, places.orderKey, since, 0);
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
    WidePath::ToAnsiPath(folder, ansi);
    if (folder.back() != L'\\')
        folder += L'\\';
    if (wide != nullptr)
        *wide = folder;
    EnsureTrailingBackslash(ansi);
    return ansi;
}

BOOL ReadFavoritesOrder(const CString& folderPath, const CString& orderKey,
                        const CString& valueName, FavoriteOrderMap& order)
{
    order.clear();
    HKEY key = nullptr;
    if (orderKey.IsEmpty() ||
        RegOpenKeyExA(HKEY_CURRENT_USER, orderKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return FALSE;
    DWORD type = 0;
    DWORD size = 0;
    std::vector<BYTE> data;
    if (RegQueryValueExA(key, valueName, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        type == REG_BINARY && size > 11) {
        data.resize(size);
        if (RegQueryValueExA(key, valueName, nullptr, &type, data.data(), &size) == ERROR_SUCCESS)
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

BOOL ScanFavorites(CFavoriteTree& tree, const FavoritesScanPlaces& places)
{
    if (!tree.Reset(places.rootLabel, places.folder))
        return FALSE;
    if (places.folder.IsEmpty()) {
        // Never fall back to the root of the current drive.
        tree.m_abort = 1;
        return FALSE;
    }
    // Only the Favorites folder itself failing aborts the scan.
    const std::wstring wide =
        places.wideFolder.empty() ? WidePath::FromAnsi(places.folder) : places.wideFolder;
    if (GetFileAttributesA(places.folder) == INVALID_FILE_ATTRIBUTES)
        tree.m_root->m_widePath = wide;
    if (!CFavoritesScanner(tree).ScanFolder(tree.m_root, places.folder, wide, 0)) {
        tree.m_abort = 1;
        return FALSE;
    }
    for (INT_PTR i = 0; i < tree.m_containers.GetSize(); ++i) {
        CFavoriteNode* folder = tree.m_containers[i];
        FavoriteOrderMap order;
        bool ordered = false;
        if (places.ieOrder && !places.orderKey.IsEmpty() && !places.orderValueName.IsEmpty()) {
            CString key(places.orderKey);
            if (folder != tree.m_root) {
                // The folder's path below the Favorites folder, no trailing backslash.
                CString relative = folder->m_url.Mid(places.folder.GetLength());
                key += "\\" + relative.Left(relative.GetLength() - 1);
            }
            ordered = ReadFavoritesOrder(folder->m_url, key, places.orderValueName, order);
        }
        CFavoriteTree::OrderChildren(folder, ordered ? &order : nullptr);
    }
    tree.RebuildFlatList();
    return TRUE;
}
