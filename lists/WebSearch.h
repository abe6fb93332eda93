// Web search: the search commands turned into the URLs to open and the group
// to open them in, and the opening itself through the program's tabs.
//
// Classes in this file:
//   ISearchTabs     what a search needs of the tabs and groups
//   SearchPlan      the URLs of one search and where they go
//   CWebSearch      the search commands over a search-engine tree
#ifndef VA_LISTS_WEBSEARCH_H
#define VA_LISTS_WEBSEARCH_H

#include "framework/core/Collections.h"
#include "framework/core/CString.h"
#include "lists/SearchEngineTree.h"

class CTabGroup;

// Command ids of the searches.
const UINT kCmdSearchEngineFirst = 30001;  // + flat index of a node
const UINT kCmdSearchEngineLast = 30512;
const UINT kCmdRunSearch = 36804;          // the current engine
const UINT kCmdReloadSearchEngines = 36467;
const UINT kCmdSearchEngineMenu = 36468;   // the engines' drop-down menu
const UINT kSearchBarId = 59401;           // the search bar and its rebar band

// Bits of iParentTabNewRule read here.
const unsigned kRuleSearchNewGroup = 0x40;
const unsigned kRuleFolderSearchNewGroup = 0x80;

// Open reasons of search tabs.
const int kReasonSearch = 0;
const int kReasonBatch = 1;

//--- ISearchTabs
class ISearchTabs
{
public:
    virtual ~ISearchTabs() = default;
    // A new group for search results. name is the user's text, shown as it
    // stands and followed by the group's number of tabs in brackets.
    // defaultOptions: the default group options (a folder search); else the
    // download-control word dwDLControlFlags and image 1. Null when no group
    // could be made.
    virtual CTabGroup* CreateSearchGroup(const CString& name, bool defaultOptions) = 0;
    // Removes a group made by CreateSearchGroup that received no tab.
    virtual void DiscardSearchGroup(CTabGroup* group) = 0;
    // Opens url as a new tab of group (null: the current group). false when
    // the tab was refused.
    virtual bool OpenSearchTab(CTabGroup* group, const CString& url, int reason) = 0;
    // A batch of many tabs: new tabs are not placed by the append position
    // and the page tab bar stays hidden until EndBatch.
    virtual void BeginBatch() = 0;
    // Trims the working set and waits 100 ms.
    virtual void PauseBatch() = 0;
    virtual void EndBatch() = 0;
};

//--- SearchPlan
struct SearchPlan
{
    CStringArray urls;
    CArray<BYTE, BYTE> pauseBefore;  // per URL: pause before opening it
    bool newGroup = false;           // open in a new group named groupName
    CString groupName;
    bool batch = false;              // a folder search
    int reason = kReasonSearch;

    bool IsEmpty() const { return urls.GetSize() == 0; }
};

// One engine: its URL, in a new group when reverse differs from the rule's
// new-group bit. Nothing for an empty keyword or URL.
SearchPlan PlanEngineSearch(const CString& keyword, const CString& urlTemplate, bool reverse,
                            unsigned parentTabNewRule);

// The entries directly in a root or folder node, pausing before the
// children at positions 0, 10, 20...; a new group named after the node when
// the rule says so and some entry has a URL.
SearchPlan PlanFolderSearch(const CString& keyword, const CSearchEngineNode& folder,
                            unsigned parentTabNewRule);

// Opens a plan; a refused tab in a new group sends the rest to the current
// group. Returns the number of tabs opened.
int OpenSearchPlan(const SearchPlan& plan, ISearchTabs& tabs);

//--- CWebSearch
class CWebSearch
{
public:
    enum Outcome { kNothing, kFocusSearchBox, kSearched };

    CWebSearch(CSearchEngineTree& tree, ISearchTabs& tabs) : m_tree(tree), m_tabs(tabs) {}

    // Command id (0 or 36804: the current engine, else 30001 + flat index) with a
    // keyword already trimmed. Ctrl or Shift on an engine makes it current;
    // with Ctrl alone nothing is searched (kFocusSearchBox). A search sets
    // the last keyword.
    Outcome Run(UINT id, const CString& keyword, bool ctrl, bool shift, unsigned parentTabNewRule);

    // One engine, as with a dropped text.
    bool SearchWithEngine(const CString& keyword, const CSearchEngineNode& engine, bool reverse,
                          unsigned parentTabNewRule);

    // Text dropped in a drag direction (role bit 2, 4, 8 or 16): searched
    // with that role's engine, else with the current engine.
    bool SearchDroppedText(const CString& text, int roleBit, unsigned parentTabNewRule);

    const CString& GetLastKeyword() const { return m_lastKeyword; }

private:
    CSearchEngineTree& m_tree;
    ISearchTabs& m_tabs;
    CString m_lastKeyword;
};

#endif // VA_LISTS_WEBSEARCH_H
