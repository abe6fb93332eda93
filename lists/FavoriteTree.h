// The favorites: a tree of folders and entries built from the shell's
// Favorites folder (FavoritesScan.h) or read from the cache "IEFavorite.dat".
//
// Classes in this file:
//   CFavoriteNode   the root, a folder, an internet shortcut or a plain file
//   CFavoriteTree   the tree, its container list and its flat list
//
// A node's position in the flat list is its command index (commands
// 40000 + index, and 45001 + index for a links-bar folder). Nodes beyond the
// last index those ranges allow stay in the tree but get the index -1.
#ifndef VA_LISTS_FAVORITETREE_H
#define VA_LISTS_FAVORITETREE_H

#include <map>
#include <string>

#include "framework/core/Collections.h"
#include "framework/core/CString.h"
#include "framework/core/File.h"
#include "shared/RecordPool.h"

//--- CFavoriteNode
class CFavoriteNode
{
public:
    enum Kind : BYTE { kRoot = 1, kFolder = 2, kShortcut = 3, kFile = 4 };

    explicit CFavoriteNode(BYTE kind = kShortcut) : m_kind(kind) {}
    virtual ~CFavoriteNode();
    CFavoriteNode(const CFavoriteNode&) = delete;
    CFavoriteNode& operator=(const CFavoriteNode&) = delete;

    VA_POOLED_NEW(CFavoriteNode, kPoolFavoriteNode)

    // The new node as the last child; null for an entry or without memory.
    CFavoriteNode* AddChild(const CString& label, const CString& url, BYTE kind);

    // Writes this node and its subtree; the root writes the whole file.
    void Write(CStdioFile& file, int depth) const;

    BOOL IsContainer() const { return m_kind == kRoot || m_kind == kFolder; }
    INT_PTR GetChildCount() const { return m_children.GetSize(); }
    CFavoriteNode* GetChild(INT_PTR i) const { return m_children[i]; }

    // The kind an entry labelled with this file name has: kShortcut for
    // ".url", ".htm" and ".html" (any case), else kFile.
    static BYTE KindOfFileName(const CString& name);

    CString m_url;        // shortcut: URL; file: its path; folder: its path
    CString m_label;      // file name with extension; folder name
    int m_flatIndex = 0;  // -1 beyond the command range
    // Only for a file or folder that no path of the ANSI functions reaches
    // (a name beyond the code page on a volume without short names): its
    // path for the wide functions, for this run; m_url then holds the
    // best-fit text, which is what the cache keeps of it.
    std::wstring m_widePath;
    CArray<CFavoriteNode*, CFavoriteNode*> m_children;
    BYTE m_kind;
};

// Whether the path ends in a backslash that is a character of its own, not
// the trail byte of a double-byte character. Folder paths end in one.
BOOL EndsWithBackslash(const CString& path);

// Appends a backslash unless the path ends in one, so that it then does: a
// stray lead byte at the end, which would take the backslash as its trail
// byte, is dropped first.
void EnsureTrailingBackslash(CString& path);

// The order value of one folder: record name to order number.
typedef std::map<std::string, int> FavoriteOrderMap;

//--- CFavoriteTree
class CFavoriteTree
{
public:
    static constexpr int kCommandCount = 5000;  // indexes 0-4999

    CFavoriteTree() = default;
    ~CFavoriteTree() { delete m_root; }
    CFavoriteTree(const CFavoriteTree&) = delete;
    CFavoriteTree& operator=(const CFavoriteTree&) = delete;

    // Deletes the tree and makes a fresh root; empties both lists and clears
    // the abort word. FALSE without memory (the tree then has no root).
    BOOL Reset(LPCTSTR rootLabel, LPCTSTR rootUrl);

    // Reads the cache into a fresh tree; FALSE (tree untouched) when the file
    // does not exist. A file that would not open leaves the root alone;
    // read, when given, says how the opening went.
    BOOL LoadCache(LPCTSTR path, LPCTSTR rootLabel, FileReadState* read = nullptr);

    // Writes the whole tree, replacing the file whole; FALSE without a tree
    // or when the file could not be written (the old file then stays).
    [[nodiscard]] BOOL Save(LPCTSTR path) const;

    // Orders a folder's children: by the order value when it names exactly
    // as many records as the folder has children, else folders first.
    static void OrderChildren(CFavoriteNode* folder, const FavoriteOrderMap* order);

    // Gives every node its index, depth-first from the root.
    void RebuildFlatList();

    CFavoriteNode* GetRoot() const { return m_root; }
    CFavoriteNode* GetNode(INT_PTR flatIndex) const;
    INT_PTR GetFlatCount() const { return m_flat.GetSize(); }

    CFavoriteNode* m_root = nullptr;
    CArray<CFavoriteNode*, CFavoriteNode*> m_containers;  // not owning
    CArray<CFavoriteNode*, CFavoriteNode*> m_flat;        // not owning
    DWORD m_abort = 0;  // the last scan could not list the Favorites folder

private:
    // Reads one folder body into parent.
    void ParseFolder(CStdioFile& file, CFavoriteNode* parent);
    void Index(CFavoriteNode* node);
    void AddToFlatList(CFavoriteNode* node);

    int m_depth = 0;  // folders being read
};

#endif // VA_LISTS_FAVORITETREE_H
