// The search engines as owner-drawn menu items: the drop-down menu of the
// search bar and the search-engine submenu of the selection menu.
#ifndef VA_LISTS_SEARCHENGINEMENU_H
#define VA_LISTS_SEARCHENGINEMENU_H

#include "framework/core/CString.h"
#include "lists/SearchEngineTree.h"

class CNewMenu;

// What the items show.
struct SearchEngineMenuTexts
{
    CString searchAll;    // first item of a folder: search with all its engines
    CString emptyFolder;  // the disabled item of a folder without engines
    int maxCaption = 55;  // caption length in bytes
    BOOL withIcons = FALSE;
    // The command of a node is idBase + its index; an engine is checked when
    // it holds roleBit, or when it is checkedNode (when that is set).
    UINT idBase = 30001;
    int roleBit = kRoleCurrent;
    const CSearchEngineNode* checkedNode = nullptr;
    // A folder's submenu starts with the search-all item and a separator.
    bool folderSearchAll = true;
};

// The command of the disabled item of an empty folder.
const UINT kCmdSearchEngineNone = 30000;

// A caption for a menu: cut to maxBytes without splitting a double-byte
// character and then ended with "…" (maxBytes < 0: never cut), every "&"
// doubled so that it shows as itself.
CString MakeMenuCaption(const CString& text, int maxBytes);
// A text longer than maxBytes cut to maxBytes without splitting a
// double-byte character, with "…" after it; a shorter one as it is.
CString TruncateMenuText(const CString& text, int maxBytes);

// Appends the children of a root or folder node: an engine as an item
// (command idBase + its index, checked as texts say), a folder as a submenu
// (with the search-all item and a separator first when texts say so).
// Nodes without a command index are left out; a long submenu runs in
// columns.
void AppendSearchEngineItems(CNewMenu& menu, const CSearchEngineNode& folder,
                             const SearchEngineMenuTexts& texts);

// The whole drop-down menu: the search-all item of the root, a separator and
// the tree, in columns that fit the screen.
void BuildSearchEngineMenu(CNewMenu& menu, const CSearchEngineTree& tree,
                           const SearchEngineMenuTexts& texts);

// Menu-bar breaks so that a menu taller than the available height runs in
// columns; extra counts items still to come (-1: one less). With rows the
// items that fit, the first break goes to position rows + 1 - extra and
// each further one rows + 1 later, while the items from a break on still do
// not fit.
void BreakMenuIntoColumns(CNewMenu& menu, int extra, int itemHeight, int availableHeight);

// The same with the menu line height (menu font + 4, at least 20) and the
// screen height less four caption heights.
void MeasureMenuCaptions(CNewMenu& menu, int extra);

#endif // VA_LISTS_SEARCHENGINEMENU_H
