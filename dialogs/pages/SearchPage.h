// CDlgSetTab18, the search page: the two search options, the default engine
// and the engines of the four drag directions, chosen from menus of the
// page's own copy of "SearchEngine.dat", which OK writes back.
#ifndef VA_DIALOGS_PAGES_SEARCHPAGE_H
#define VA_DIALOGS_PAGES_SEARCHPAGE_H

#include <memory>

#include "dialogs/pages/SettingsPage.h"
#include "lists/SearchEngineTree.h"

class CNewMenu;

// The menus' command ranges, 512 ids each: the first id + a node's index.
const UINT ID_SEARCH_DEFAULT_FIRST = 30001;
const UINT ID_SEARCH_UP_FIRST = 31001;
const UINT ID_SEARCH_RIGHT_FIRST = 32001;
const UINT ID_SEARCH_DOWN_FIRST = 33001;
const UINT ID_SEARCH_LEFT_FIRST = 34001;

class CDlgSetTab18 : public CSettingsPage
{
    DECLARE_DYNCREATE(CDlgSetTab18)

public:
    CDlgSetTab18();

    // Fills a menu with the tree for one role bit: folders as submenus,
    // engines as items of the role's range, the holder checked (the default
    // engine when the role has none), "&" shown as itself.
    void BuildEngineMenu(CNewMenu& menu, int bit);
    // Applies a menu choice; ids outside the ranges or the tree do nothing.
    void OnPickEngine(UINT nID);

    CSearchEngineTree& GetTree() { return *m_pTree; }

protected:
    BOOL OnInitDialog() override;
    void OnSaveSettings() override;

    DECLARE_MESSAGE_MAP()
    void OnDefaultEngineMenu();
    void OnDirectionMenu(UINT nID);
    void OnEditSearchList();

    // Reads "SearchEngine.dat" into a new tree for the page and shows it. A
    // file that is there but would not open is told about and kept.
    void LoadEngines();
    // The page's tree replaced, and its roles shown.
    void ReplaceTree(std::unique_ptr<CSearchEngineTree> pTree);
    void ShowEngineMenu(int nButtonID, int bit);
    // The default engine's fields and the four direction texts.
    void ShowRoles();
    void ShowDefault(const CSearchEngineNode* engine);

    std::unique_ptr<CSearchEngineTree> m_pTree;
    // Whether OK writes the tree: "SearchEngine.dat" was read, or the user
    // confirmed a list in the editor. An empty tree from a missing file is
    // not written, so the shipped defaults keep standing in for it.
    bool m_bTreeRead = false;
    // "SearchEngine.dat" is there but could not be read: it is never
    // written, and the editor does not open on the empty tree.
    bool m_bFileKept = false;
};

#endif // VA_DIALOGS_PAGES_SEARCHPAGE_H
