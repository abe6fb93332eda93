#include "lists/FavoriteTree.h"

#include <algorithm>
#include <vector>

#include "framework/core/AtomicFile.h"
#include "framework/core/Cp932.h"
#include "framework/core/FileSystem.h"
#include "lists/KeywordTreeFile.h"

using namespace KeywordTreeFile;

BOOL EndsWithBackslash(const CString& path)
{
    int length = path.GetLength();
    return length > 0 && path[length - 1] == '\\' &&
           Cp932FloorBoundary(path.GetString(), length, length - 1) == length - 1;
}

void EnsureTrailingBackslash(CString& path)
{
    if (EndsWithBackslash(path))
        return;
    // A stray lead byte at the end would pair with the new backslash and
    // hide it; it names no character and goes.
    const int length = path.GetLength();
    if (Cp932EndsWithLoneLeadByte(path.GetString(), length))
        path = path.Left(length - 1);
    path += '\\';
}

//--- CFavoriteNode

CFavoriteNode::~CFavoriteNode()
{
    for (INT_PTR i = 0; i < m_children.GetSize(); ++i)
        delete m_children[i];
    m_children.RemoveAll();
}

CFavoriteNode* CFavoriteNode::AddChild(const CString& label, const CString& url, BYTE kind)
{
    if (!IsContainer())
        return nullptr;
    CFavoriteNode* node = new CFavoriteNode(kind);
    if (node == nullptr)
        return nullptr;
    node->m_label = label;
    node->m_url = url;
    m_children.Add(node);
    return node;
}

void CFavoriteNode::Write(CStdioFile& file, int depth) const
{
    // Built from the counted texts: a NUL inside a label or URL must not cut
    // the value, or the node would be dropped at the next load.
    const CString indent = Indent(depth);
    const CString inner = Indent(depth + 1);
    switch (m_kind) {
    case kRoot:
        file.WriteString("ROOT:\n");
        break;
    case kFolder:
        file.WriteString(indent + "FOLDER:\n" + inner + "LABEL:" + m_label + "\n" + inner +
                         "PATH:" + m_url + "\n");
        break;
    default:
        file.WriteString(indent + "ENTRY:\n" + inner + "LABEL:" + m_label + "\n" + inner +
                         "URL:" + m_url + "\n");
        return;
    }
    for (INT_PTR i = 0; i < m_children.GetSize(); ++i)
        m_children[i]->Write(file, depth + 1);
    file.WriteString(m_kind == kRoot ? CString("ENDROOT:\n") : indent + "ENDFOLDER:\n");
}

BYTE CFavoriteNode::KindOfFileName(const CString& name)
{
    int dot = name.ReverseFind('.');
    CString extension = dot >= 0 ? name.Mid(dot) : name;
    if (extension.CompareNoCase(".url") == 0 || extension.CompareNoCase(".html") == 0 ||
        extension.CompareNoCase(".htm") == 0)
        return kShortcut;
    return kFile;
}

//--- CFavoriteTree

BOOL CFavoriteTree::Reset(LPCTSTR rootLabel, LPCTSTR rootUrl)
{
    delete m_root;
    m_containers.RemoveAll();
    m_flat.RemoveAll();
    m_abort = 0;
    m_root = new CFavoriteNode(CFavoriteNode::kRoot);
    if (m_root == nullptr)
        return FALSE;
    m_root->m_label = rootLabel;
    m_root->m_url = rootUrl;
    m_containers.Add(m_root);
    return TRUE;
}

BOOL CFavoriteTree::LoadCache(LPCTSTR path, LPCTSTR rootLabel, FileReadState* read)
{
    if (read != nullptr)
        *read = FileReadState();
    FileSystem::FileInfo info;
    if (path == nullptr || !FileSystem::GetInfo(path, info) || info.isDirectory)
        return FALSE;
    if (!Reset(rootLabel, ""))
        return TRUE;
    CStdioFile file;
    FileReadState opened = OpenForReading(file, path);
    if (read != nullptr)
        *read = opened;
    if (!opened.IsOpened())
        return TRUE;
    CString line;
    while (ReadLine(file, line)) {
        if (!IsRootLine(line))
            continue;
        // A second "ROOT:" reads on into the same root, which is listed once.
        if (m_flat.GetSize() == 0)
            AddToFlatList(m_root);
        ParseFolder(file, m_root);
    }
    // A read that failed part-way counts as a cache that could not be read:
    // the root alone, and the caller leaves the file as it is.
    file.NoteReadFailure(opened);
    if (read != nullptr)
        *read = opened;
    if (opened.IsUnreadable())
        Reset(rootLabel, "");
    return TRUE;
}

void CFavoriteTree::ParseFolder(CStdioFile& file, CFavoriteNode* parent)
{
    CString line;
    while (ReadLine(file, line)) {
        if (StartsWith(line, "ENDFOLDER:"))
            return;
        bool folder = StartsWith(line, "FOLDER:");
        if (!folder && !StartsWith(line, "ENTRY:"))
            continue;
        // Exactly the next two lines are used up, whatever they hold.
        const char* secondKey = folder ? "PATH:" : "URL:";
        CString label, value;
        if (ReadLine(file, line) && StartsWith(line, "LABEL:"))
            label = ValueOf(line, "LABEL:");
        if (ReadLine(file, line) && StartsWith(line, secondKey))
            value = ValueOf(line, secondKey);
        if (label.IsEmpty() || value.IsEmpty())
            continue;
        if (folder) {
            if (m_depth >= kMaxFolderDepth) {
                SkipFolderBody(file);
                continue;
            }
            EnsureTrailingBackslash(value);
            CFavoriteNode* node = parent->AddChild(label, value, CFavoriteNode::kFolder);
            if (node == nullptr)
                continue;
            m_containers.Add(node);
            AddToFlatList(node);
            ++m_depth;
            ParseFolder(file, node);
            --m_depth;
        } else {
            CFavoriteNode* node =
                parent->AddChild(label, value, CFavoriteNode::KindOfFileName(label));
            if (node != nullptr)
                AddToFlatList(node);
        }
    }
}

BOOL CFavoriteTree::Save(LPCTSTR path) const
{
    if (m_root == nullptr)
        return FALSE;
    CAtomicTextFile file;
    if (!file.Begin(path))
        return FALSE;
    m_root->Write(file, 0);
    return file.Commit();
}

void CFavoriteTree::OrderChildren(CFavoriteNode* folder, const FavoriteOrderMap* order)
{
    CArray<CFavoriteNode*, CFavoriteNode*>& children = folder->m_children;
    INT_PTR count = children.GetSize();
    if (order != nullptr && static_cast<INT_PTR>(order->size()) == count) {
        if (count < 2)
            return;
        std::vector<CFavoriteNode*> slots(static_cast<size_t>(count), nullptr);
        std::vector<CFavoriteNode*> overflow;
        for (INT_PTR i = 0; i < count; ++i) {
            CFavoriteNode* child = children[i];
            auto found = order->find(std::string(child->m_label.GetString()));
            if (found != order->end() && found->second >= 0 && found->second < count &&
                slots[static_cast<size_t>(found->second)] == nullptr)
                slots[static_cast<size_t>(found->second)] = child;
            else
                overflow.push_back(child);
        }
        INT_PTR next = 0;
        for (CFavoriteNode* child : slots) {
            if (child != nullptr)
                children[next++] = child;
        }
        for (CFavoriteNode* child : overflow)
            children[next++] = child;
        return;
    }
    // Folders first, then entries, each in their present order.
    std::stable_partition(children.GetData(), children.GetData() + count,
                          [](const CFavoriteNode* child) {
                              return child->m_kind == CFavoriteNode::kFolder;
                          });
}

void CFavoriteTree::RebuildFlatList()
{
    m_flat.RemoveAll();
    if (m_root != nullptr)
        Index(m_root);
}

void CFavoriteTree::Index(CFavoriteNode* node)
{
    AddToFlatList(node);
    for (INT_PTR i = 0; i < node->m_children.GetSize(); ++i)
        Index(node->m_children[i]);
}

void CFavoriteTree::AddToFlatList(CFavoriteNode* node)
{
    KeywordTreeFile::AddToFlatList(m_flat, node, kCommandCount);
}

CFavoriteNode* CFavoriteTree::GetNode(INT_PTR flatIndex) const
{
    return FlatListAt(m_flat, flatIndex);
}
