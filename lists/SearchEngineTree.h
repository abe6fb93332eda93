// The search engines: a tree of folders and engine entries read from
// "SearchEngine.dat", with the views the program keeps of it.
//
// Classes in this file:
//   CSearchEngineNode   the root, a folder or an engine entry
//   CSearchEngineTree   the tree, its flat command index, the search-bar
//                       list and the five role slots
//
// The flat list holds every node in file order, the root first; a node's
// position there is its command index (command 30001 + index). Nodes that
// would need an id beyond 30512 stay in the tree, and are saved, but get the
// index -1 and no command.
#ifndef VA_LISTS_SEARCHENGINETREE_H
#define VA_LISTS_SEARCHENGINETREE_H

#include "framework/core/Collections.h"
#include "framework/core/CString.h"
#include "framework/core/File.h"
#include "shared/RecordPool.h"

// A 16 x 16 icon of the platform (an HICON on Windows), or null.
typedef void* SearchEngineIcon;

// The platform side: loading an icon file and releasing the icon.
SearchEngineIcon LoadSearchEngineIcon(LPCTSTR path);
void DestroySearchEngineIcon(SearchEngineIcon icon);

// Loads an entry's icon file; a relative path is taken from folder (ending
// with the separator), never from the current directory. Null for an empty
// path, a relative one without a folder or a file that does not load.
SearchEngineIcon LoadSearchEngineIconIn(const CString& folder, const CString& iconPath);

// State bits of an entry: the roles it holds.
enum SearchEngineRole : int {
    kRoleCurrent = 1,      // the current engine
    kRoleDragUp = 2,       // engines for text dragged up, right, down, left
    kRoleDragRight = 4,
    kRoleDragDown = 8,
    kRoleDragLeft = 16,
};

//--- CSearchEngineNode
class CSearchEngineNode
{
public:
    enum Kind : BYTE { kRoot = 1, kFolder = 2, kEntry = 3 };

    explicit CSearchEngineNode(BYTE kind = kEntry);
    virtual ~CSearchEngineNode();
    CSearchEngineNode(const CSearchEngineNode&) = delete;
    CSearchEngineNode& operator=(const CSearchEngineNode&) = delete;

    VA_POOLED_NEW(CSearchEngineNode, kPoolSearchEngineNode)

    // The new node as the last child; null for an entry or without memory.
    CSearchEngineNode* AddChild(const CString& label, const CString& url,
                                const CString& iconPath, int state, BYTE kind, int addTool);

    // Writes this node (and a folder's subtree) at the given depth.
    void Write(CStdioFile& file, int depth) const;
    // The pieces of Write for a writer that walks another order: an entry
    // whole or a folder's opening lines, then a folder's closing line.
    void WriteHead(CStdioFile& file, int depth) const;
    void WriteTail(CStdioFile& file, int depth) const;

    BOOL IsEntry() const { return m_kind == kEntry; }
    INT_PTR GetChildCount() const { return m_children.GetSize(); }
    CSearchEngineNode* GetChild(INT_PTR i) const { return m_children[i]; }

    CString m_url;         // entry: URL template; root: the file it came from
    CString m_label;       // root: "SearchROOT"
    CString m_iconPath;    // entry: icon file, relative to the program folder
    int m_flatIndex = 0;   // command index, -1 when beyond the command range
    SearchEngineIcon m_icon = nullptr;
    int m_state = 0;       // SearchEngineRole bits
    int m_addTool = 0;     // 1: a button on the search bar
    CArray<CSearchEngineNode*, CSearchEngineNode*> m_children;
    BYTE m_kind;
};

//--- CSearchEngineTree
class CSearchEngineTree
{
public:
    static constexpr int kCommandCount = 512;   // commands 30001-30512
    static constexpr int kSlotCount = 5;

    CSearchEngineTree() = default;
    ~CSearchEngineTree() { Clear(); }
    CSearchEngineTree(const CSearchEngineTree&) = delete;
    CSearchEngineTree& operator=(const CSearchEngineTree&) = delete;

    // Deletes the tree and empties the lists and slots.
    void Clear();
    // Empties the tree to a fresh root for path; false when none could be made.
    bool ResetToRoot(LPCTSTR path);

    // Reads a file into a fresh tree (root alone when it cannot be read).
    // Relative icon paths are resolved against iconFolder (ending with the
    // separator), or the file's own folder when it is null. Always nonzero.
    BOOL Load(LPCTSTR path, LPCTSTR iconFolder = nullptr);

    // Writes "ROOT:", every child of the root at depth 1 and "ENDROOT:",
    // replacing the file whole. FALSE when there is no tree or the file could
    // not be written; the old file then stays as it was, and *pError (when
    // given) holds the system's code of the failed step (0 when none).
    [[nodiscard]] BOOL Save(LPCTSTR path, DWORD* pError = nullptr) const;

    // How the last Load's opening of its file went; whether it opened.
    const FileReadState& GetReadState() const { return m_readState; }
    bool WasFileRead() const { return m_readState.IsOpened(); }

    // Gives an entry the current-engine role (and the slot), taking it from
    // the entry that held it.
    void SetCurrentEngine(CSearchEngineNode* entry);
    // Gives an entry one role bit (1, 2, 4, 8 or 16), taking it from the
    // entry that held it.
    void SetRoleHolder(int bit, CSearchEngineNode* entry);
    // Makes an entry the holder of every role bit it carries, taking each
    // from its holder before (slot order: bits 1, 2, 8, 16, 4), and ends its
    // holding of the bits it no longer carries.
    void TakeRoles(CSearchEngineNode* entry);
    // Loads an entry's icon from its path; a relative path is taken from the
    // folder Load was given.
    void LoadIcon(CSearchEngineNode* entry);
    // An icon file resolved as LoadIcon does; null when it does not load.
    SearchEngineIcon LoadIconFile(const CString& iconPath) const
    {
        return LoadSearchEngineIconIn(m_iconFolder, iconPath);
    }

    CSearchEngineNode* GetRoot() const { return m_root; }
    // The node of a command index, or null.
    CSearchEngineNode* GetNode(INT_PTR flatIndex) const;
    INT_PTR GetFlatCount() const { return m_flat.GetSize(); }
    // The holder of one role bit, or null.
    CSearchEngineNode* GetRoleHolder(int bit) const;
    CSearchEngineNode* GetCurrentEngine() const { return GetRoleHolder(kRoleCurrent); }

    int m_toolbarCount = 0;
    CArray<CSearchEngineNode*, CSearchEngineNode*> m_toolbar;    // not owning
    CSearchEngineNode* m_root = nullptr;
    CArray<CSearchEngineNode*, CSearchEngineNode*> m_containers; // not owning
    CArray<CSearchEngineNode*, CSearchEngineNode*> m_flat;       // not owning
    CSearchEngineNode* m_slots[kSlotCount] = {};  // bits 1, 2, 8, 16 and 4

private:
    // Reads one folder body into parent.
    void ParseFolder(CStdioFile& file, CSearchEngineNode* parent);
    static int SlotOfBit(int bit);
    void Register(CSearchEngineNode* node);
    BOOL ParseEntry(CStdioFile& file, CSearchEngineNode* parent);

    CString m_iconFolder;
    int m_depth = 0;  // folders being read
    FileReadState m_readState;
};

// "SearchEngine.dat" in programFolder (ending with the separator).
CString SearchEngineFilePath(const CString& programFolder);

// At start: copies the shipped default list to "SearchEngine.dat" when that
// file does not exist, then loads it. programFolder ends with the separator.
void LoadSearchEngineFile(CSearchEngineTree& tree, const CString& programFolder);

// Writes the tree to "SearchEngine.dat" in the program folder, only when it
// was read from there. FALSE when nothing was written: the tree was not read
// from the file (which is left as it is), or the write failed, with the
// system's code in *pError as Save.
[[nodiscard]] BOOL SaveSearchEngineFile(const CSearchEngineTree& tree, const CString& programFolder,
                                        DWORD* pError = nullptr);

#endif // VA_LISTS_SEARCHENGINETREE_H
