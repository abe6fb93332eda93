// Keyword tree files: the tab-indented text format of the search-engine list
// ("SearchEngine.dat") and of the favorites cache ("IEFavorite.dat").
//
// A file is "ROOT:", the root's children and "ENDROOT:"; a folder is
// "FOLDER:", "LABEL:", "PATH:", its children and "ENDFOLDER:"; an entry is
// "ENTRY:" followed by its value lines. Values run from the colon to the end
// of the line, trailing blanks included, so a read line loses only its line
// end and its leading indentation. The readers live with the trees
// (SearchEngineTree.h, FavoriteTree.h); these are the pieces both share.
#ifndef VA_LISTS_KEYWORDTREEFILE_H
#define VA_LISTS_KEYWORDTREEFILE_H

#include "framework/core/Collections.h"
#include "framework/core/CString.h"
#include "framework/core/File.h"

namespace KeywordTreeFile {

// Opens a file for reading (text, deny-write sharing), telling a missing
// file from one that would not open. The writers replace their files whole
// (AtomicFile.h).
FileReadState OpenForReading(CStdioFile& file, LPCTSTR path);

// The next line without its line end and leading indentation (blanks and
// tabs). FALSE at the end of the file.
BOOL ReadLine(CStdioFile& file, CString& line);

// Whether the line is the root keyword, blanks around it ignored.
BOOL IsRootLine(const CString& line);

// Whether the line starts with the keyword (compared byte for byte).
BOOL StartsWith(const CString& line, LPCTSTR keyword);

// The text after the keyword; the line must start with it.
CString ValueOf(const CString& line, LPCTSTR keyword);

// A leading optional sign and decimal digits; 0 when there are none.
// Values beyond the range of int are clamped.
int ParseNumber(const CString& value);

// Folders nest at most this deep; deeper ones are skipped whole, so a
// crafted file cannot exhaust the stack of the recursive readers.
const int kMaxFolderDepth = 100;

// Reads past the body of a folder whose "FOLDER:" line was just read, up to
// its matching "ENDFOLDER:" line.
void SkipFolderBody(CStdioFile& file);

// depth tab characters.
CString Indent(int depth);

// A tree's flat list gives each node its command index. Appends the node and
// gives it its index, or gives it -1 once the list holds limit nodes.
template <class Node>
void AddToFlatList(CArray<Node*, Node*>& flat, Node* node, INT_PTR limit)
{
    if (flat.GetSize() < limit) {
        node->m_flatIndex = static_cast<int>(flat.GetSize());
        flat.Add(node);
    } else {
        node->m_flatIndex = -1;
    }
}

// The node at a flat-list index, or null outside the list.
template <class Node>
Node* FlatListAt(const CArray<Node*, Node*>& flat, INT_PTR index)
{
    if (index < 0 || index >= flat.GetSize())
        return nullptr;
    return flat[index];
}

} // namespace KeywordTreeFile

#endif // VA_LISTS_KEYWORDTREEFILE_H
