#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "lists/FavoritesScan.h"

#include <vector>

#include "lists/FavoritesOrder.h"
#include "lists/KeywordTreeFile.h"

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

} // namespace

bool ReadShortcutUrl(const CString& path, CString& url)
{
    url.Empty();
    CStdioFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyNone | CFile::typeText))
        return false;
    CString line;
    while (file.ReadString(line)) {
        if (KeywordTreeFile::StartsWith(line, "URL=")) {
            url = KeywordTreeFile::ValueOf(line, "URL=");
            return true;
        }
    }
    return false;
}

namespace {

class CFavoritesScanner
{
public:
    explicit CFavoritesScanner(CFavoriteTree& tree) : m_tree(tree) {}

    // Lists one folder into parent. FALSE when the folder cannot be listed.
    bool ScanFolder(CFavoriteNode* parent, const CString& path, int depth)
    {
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA(path + "*.*", &data);
        if (find == INVALID_HANDLE_VALUE)
            return false;
        do {
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0)
                continue;
            CString name(data.cFileName);
            if (name == "." || name == "..")
                continue;
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                // A junction or link may lead back to an ancestor: never
                // followed, nor folders deeper than the cache can hold.
                const bool link = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
                if (depth >= kMaxDepth || link)
                    continue;
                AddFolder(parent, path, name, depth);
            } else if (CFavoriteNode::KindOfFileName(name) == CFavoriteNode::kShortcut) {
                AddShortcut(parent, path + name, name);
            } else {
                parent->AddChild(name, path + name, CFavoriteNode::kFile);
            }
        } while (FindNextFileA(find, &data));
        FindClose(find);
        return true;
    }

private:
    // A folder whose name the ANSI API cannot give back (a character beyond
    // cp932) cannot be listed: it is left out and the scan goes on.
    void AddFolder(CFavoriteNode* parent, const CString& path, const CString& name, int depth)
    {
        CString folderPath = path + name + "\\";
        CFavoriteNode* folder = parent->AddChild(name, folderPath, CFavoriteNode::kFolder);
        if (folder == nullptr)
            return;
        const INT_PTR containers = m_tree.m_containers.GetSize();
        m_tree.m_containers.Add(folder);
        if (ScanFolder(folder, folderPath, depth + 1))
            return;
        m_tree.m_containers.SetSize(containers);
        parent->m_children.RemoveAt(parent->GetChildCount() - 1);
        delete folder;
    }

    void AddShortcut(CFavoriteNode* parent, const CString& path, const CString& name)
    {
        CString url;
        if (ReadShortcutUrl(path, url)) {
            if (!url.IsEmpty())
                parent->AddChild(name, url, CFavoriteNode::kShortcut);
            return;
        }
        // A saved page is opened from its own file; a shortcut without its
        // URL is left out.
        int dot = name.ReverseFind('.');
        if (dot >= 0 && name.Mid(dot).CompareNoCase(".url") != 0)
            parent->AddChild(name, path, CFavoriteNode::kShortcut);
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
    char text[MAX_PATH * 2] = {};
    if (FAILED(StrRetToBufA(&name, item, text, sizeof(text))))
        return CString();
    return LastComponent(text);
}

} // namespace

CString GetFavoritesFolderPath()
{
    char path[MAX_PATH * 2] = {};
    if (!SHGetSpecialFolderPathA(nullptr, path, CSIDL_FAVORITES, FALSE) || path[0] == '\0')
        return CString();
    CString folder(path);
    EnsureTrailingBackslash(folder);
    return folder;
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
    if (!CFavoritesScanner(tree).ScanFolder(tree.m_root, places.folder, 0)) {
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
