#include "lists/SearchEngineTree.h"

#include "framework/core/AtomicFile.h"
#include "framework/core/FileSystem.h"
#include "lists/KeywordTreeFile.h"
#include "shared/ProgramPath.h"

using namespace KeywordTreeFile;

namespace {

const char kRootLabel[] = "SearchROOT";
// Role bits in slot order.
const int kSlotBits[CSearchEngineTree::kSlotCount] = {
    kRoleCurrent, kRoleDragUp, kRoleDragDown, kRoleDragLeft, kRoleDragRight};

bool IsRelativePath(const CString& path)
{
    if (path.IsEmpty())
        return false;
    char first = path[0];
    return first != '\\' && first != '/' && !(path.GetLength() > 1 && path[1] == ':');
}

} // namespace

SearchEngineIcon LoadSearchEngineIconIn(const CString& folder, const CString& iconPath)
{
    if (iconPath.IsEmpty())
        return nullptr;
    if (!IsRelativePath(iconPath))
        return LoadSearchEngineIcon(iconPath);
    // Without a folder a relative path would name a file of the current one.
    return folder.IsEmpty() ? nullptr : LoadSearchEngineIcon(folder + iconPath);
}

//--- CSearchEngineNode

CSearchEngineNode::CSearchEngineNode(BYTE kind) : m_kind(kind) {}

CSearchEngineNode::~CSearchEngineNode()
{
    for (INT_PTR i = 0; i < m_children.GetSize(); ++i)
        delete m_children[i];
    m_children.RemoveAll();
    if (m_icon != nullptr)
        DestroySearchEngineIcon(m_icon);
}

CSearchEngineNode* CSearchEngineNode::AddChild(const CString& label, const CString& url,
                                               const CString& iconPath, int state, BYTE kind,
                                               int addTool)
{
    if (m_kind == kEntry)
        return nullptr;
    CSearchEngineNode* node = new CSearchEngineNode(kind);
    if (node == nullptr)
        return nullptr;
    node->m_label = label;
    node->m_url = url;
    node->m_iconPath = iconPath;
    node->m_state = state;
    node->m_addTool = addTool;
    m_children.Add(node);
    return node;
}

void CSearchEngineNode::Write(CStdioFile& file, int depth) const
{
    WriteHead(file, depth);
    if (m_kind == kEntry)
        return;
    for (INT_PTR i = 0; i < m_children.GetSize(); ++i)
        m_children[i]->Write(file, depth + 1);
    WriteTail(file, depth);
}

void CSearchEngineNode::WriteHead(CStdioFile& file, int depth) const
{
    // Built from the counted texts: a NUL inside a label or URL must not cut
    // the value, or the entry would be dropped at the next load.
    const CString indent = Indent(depth);
    const CString inner = Indent(depth + 1);
    if (m_kind == kEntry) {
        CString numbers;
        numbers.Format("ADDTOOL:%d\n", m_addTool);
        CString text = indent + "ENTRY:\n" + inner + "LABEL:" + m_label + "\n" + inner + "URL:" + m_url +
                       "\n" + inner + "ICON:" + m_iconPath + "\n" + inner + numbers + inner;
        numbers.Format("STATE:%d\n", m_state);
        file.WriteString(text + numbers);
        return;
    }
    file.WriteString(indent + "FOLDER:\n" + inner + "LABEL:" + m_label + "\n" + inner + "PATH:\n");
}

void CSearchEngineNode::WriteTail(CStdioFile& file, int depth) const
{
    if (m_kind != kEntry)
        file.WriteString(Indent(depth) + "ENDFOLDER:\n");
}

//--- CSearchEngineTree

void CSearchEngineTree::Clear()
{
    delete m_root;
    m_root = nullptr;
    m_toolbarCount = 0;
    m_toolbar.RemoveAll();
    m_containers.RemoveAll();
    m_flat.RemoveAll();
    for (CSearchEngineNode*& slot : m_slots)
        slot = nullptr;
}

bool CSearchEngineTree::ResetToRoot(LPCTSTR path)
{
    Clear();
    m_root = new CSearchEngineNode(CSearchEngineNode::kRoot);
    if (m_root == nullptr)
        return false;
    m_root->m_url = path;
    m_root->m_label = kRootLabel;
    m_containers.Add(m_root);
    return true;
}

BOOL CSearchEngineTree::Load(LPCTSTR path, LPCTSTR iconFolder)
{
    if (!ResetToRoot(path))
        return TRUE;
    m_iconFolder = iconFolder != nullptr ? CString(iconFolder) : ProgramPath::FolderOf(path);

    CStdioFile file;
    m_readState = OpenForReading(file, path);
    if (!m_readState.IsOpened())
        return TRUE;
    CString line;
    while (ReadLine(file, line)) {
        if (!IsRootLine(line))
            continue;
        // A second "ROOT:" reads on into the same root, which is listed once.
        if (m_flat.GetSize() == 0)
            Register(m_root);
        ParseFolder(file, m_root);
    }
    // A read that failed part-way counts as a file that could not be read:
    // the root alone, never written over the file.
    file.NoteReadFailure(m_readState);
    if (m_readState.IsUnreadable())
        ResetToRoot(path);
    return TRUE;
}

void CSearchEngineTree::ParseFolder(CStdioFile& file, CSearchEngineNode* parent)
{
    CString line;
    while (ReadLine(file, line)) {
        if (StartsWith(line, "ENDFOLDER:"))
            return;
        if (StartsWith(line, "FOLDER:")) {
            // The line after "FOLDER:" is used up whatever it holds.
            if (!ReadLine(file, line) || !StartsWith(line, "LABEL:"))
                continue;
            CString label = ValueOf(line, "LABEL:");
            if (label.IsEmpty())
                continue;
            if (m_depth >= kMaxFolderDepth) {
                SkipFolderBody(file);
                continue;
            }
            CSearchEngineNode* folder =
                parent->AddChild(label, "", "", 0, CSearchEngineNode::kFolder, 0);
            if (folder == nullptr)
                continue;
            m_containers.Add(folder);
            Register(folder);
            ++m_depth;
            ParseFolder(file, folder);
            --m_depth;
        } else if (StartsWith(line, "ENTRY:")) {
            ParseEntry(file, parent);
        }
    }
}

BOOL CSearchEngineTree::ParseEntry(CStdioFile& file, CSearchEngineNode* parent)
{
    CString label, url, iconPath, line;
    int addTool = 0;
    int state = 0;
    while (ReadLine(file, line)) {
        if (StartsWith(line, "LABEL:")) {
            label = ValueOf(line, "LABEL:");
        } else if (StartsWith(line, "URL:")) {
            url = ValueOf(line, "URL:");
        } else if (StartsWith(line, "ICON:")) {
            iconPath = ValueOf(line, "ICON:");
        } else if (StartsWith(line, "ADDTOOL:")) {
            addTool = ParseNumber(ValueOf(line, "ADDTOOL:"));
        } else if (StartsWith(line, "STATE:")) {
            state = ParseNumber(ValueOf(line, "STATE:"));
            break;
        } else {
            break;  // any other line ends the entry and is used up
        }
    }
    if (label.IsEmpty() || url.IsEmpty())
        return FALSE;
    CSearchEngineNode* entry =
        parent->AddChild(label, url, iconPath, state, CSearchEngineNode::kEntry, addTool);
    if (entry == nullptr)
        return FALSE;
    Register(entry);
    TakeRoles(entry);
    LoadIcon(entry);
    return TRUE;
}

void CSearchEngineTree::Register(CSearchEngineNode* node)
{
    AddToFlatList(m_flat, node, kCommandCount);
}

int CSearchEngineTree::SlotOfBit(int bit)
{
    for (int i = 0; i < kSlotCount; ++i) {
        if (kSlotBits[i] == bit)
            return i;
    }
    return -1;
}

void CSearchEngineTree::TakeRoles(CSearchEngineNode* entry)
{
    for (int i = 0; i < kSlotCount; ++i) {
        int bit = kSlotBits[i];
        if ((entry->m_state & bit) == 0) {
            if (m_slots[i] == entry)
                m_slots[i] = nullptr;
            continue;
        }
        if (m_slots[i] != nullptr && m_slots[i] != entry)
            m_slots[i]->m_state &= ~bit;
        m_slots[i] = entry;
    }
}

void CSearchEngineTree::LoadIcon(CSearchEngineNode* entry)
{
    if (entry->m_iconPath.IsEmpty() || entry->m_icon != nullptr)
        return;
    // An icon that does not load now keeps its path: the file may be back at
    // the next start.
    entry->m_icon = LoadIconFile(entry->m_iconPath);
    if (entry->m_icon != nullptr && entry->m_addTool == 1 && entry->m_flatIndex >= 0) {
        m_toolbar.Add(entry);
        ++m_toolbarCount;
    }
}

BOOL CSearchEngineTree::Save(LPCTSTR path, DWORD* pError) const
{
    if (pError != nullptr)
        *pError = 0;
    if (m_root == nullptr)
        return FALSE;
    CAtomicTextFile file;
    if (!file.Begin(path))
        return FALSE;
    file.WriteString("ROOT:\n");
    for (INT_PTR i = 0; i < m_root->m_children.GetSize(); ++i)
        m_root->m_children[i]->Write(file, 1);
    file.WriteString("ENDROOT:\n");
    return file.CommitIfChanged(pError);
}

void CSearchEngineTree::SetCurrentEngine(CSearchEngineNode* entry)
{
    if (entry == nullptr || !entry->IsEntry())
        return;
    entry->m_state |= kRoleCurrent;
    TakeRoles(entry);
}

void CSearchEngineTree::SetRoleHolder(int bit, CSearchEngineNode* entry)
{
    if (entry == nullptr || !entry->IsEntry() || SlotOfBit(bit) < 0)
        return;
    entry->m_state |= bit;
    TakeRoles(entry);
}

CSearchEngineNode* CSearchEngineTree::GetNode(INT_PTR flatIndex) const
{
    return FlatListAt(m_flat, flatIndex);
}

CSearchEngineNode* CSearchEngineTree::GetRoleHolder(int bit) const
{
    int slot = SlotOfBit(bit);
    return slot >= 0 ? m_slots[slot] : nullptr;
}

CString SearchEngineFilePath(const CString& programFolder)
{
    return ProgramPath::Join(programFolder, "SearchEngine.dat");
}

void LoadSearchEngineFile(CSearchEngineTree& tree, const CString& programFolder)
{
    CString path = SearchEngineFilePath(programFolder);
    FileSystem::FileInfo info;
    // A default list that cannot be copied is read where it lies; the
    // user's list is then written at the first save.
    const CString defaults = ProgramPath::Join(programFolder, "SearchEngineDefault.dat");
    if (!FileSystem::GetInfo(path, info) && !CAtomicTextFile::CopyOver(defaults, path))
        path = defaults;
    tree.Load(path, programFolder);
}

BOOL SaveSearchEngineFile(const CSearchEngineTree& tree, const CString& programFolder, DWORD* pError)
{
    if (pError != nullptr)
        *pError = 0;
    // A list that could not be read (held by another program, or missing
    // with no default to copy) is never replaced by the empty tree.
    if (!tree.WasFileRead())
        return FALSE;
    return tree.Save(SearchEngineFilePath(programFolder), pError);
}
