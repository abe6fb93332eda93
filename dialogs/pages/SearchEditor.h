// The search-engine list editor and its entry dialog.
//
// Classes in this file:
//   CSearchEditItem    the record a tree item's data points to: its kind for
//                      the drops and its node
//   CDlgSearchEdit     the engines and folders in a drag-and-drop tree, read
//                      from and written to "SearchEngine.dat.tmp"
//   CDlgSearchEngine   one entry or folder: title, URL, icon and roles
//
// The search page and the editor meet only through the working file: the
// page writes it, the editor reads it and, on OK, writes the tree as shown;
// the page reads it back after IDOK. A file the editor cannot write or read
// back is reported and nothing is lost: the editor stays open with its tree.
#ifndef VA_DIALOGS_PAGES_SEARCHEDITOR_H
#define VA_DIALOGS_PAGES_SEARCHEDITOR_H

#include <memory>
#include <vector>

#include "dialogs/core/DragTreeCtrl.h"
#include "framework/dialog/Dialog.h"
#include "framework/win/ImageList.h"
#include "lists/SearchEngineTree.h"

//--- CSearchEditItem
struct CSearchEditItem : CDragTreeItem
{
    CSearchEngineNode* m_pNode = nullptr;
};

//--- CDlgSearchEdit
class CDlgSearchEdit : public CDialog
{
public:
    CDlgSearchEdit();
    ~CDlgSearchEdit() override;

    // "SearchEngine.dat.tmp" of the program folder.
    static CString WorkingFilePath();
    // Says that the working file could not be written (or read back).
    static void ReportFileFailure(HWND hOwner, bool bWrite, DWORD error = 0);

    // Writes the tree as shown to the working file, whole or not at all.
    [[nodiscard]] bool WriteWorkingFile(DWORD* pError = nullptr);
    // The item's node, or null.
    CSearchEngineNode* NodeOf(HTREEITEM hItem) const;
    CDragTreeCtrl& GetTreeCtrl() { return m_tree; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

    DECLARE_MESSAGE_MAP()
    void OnNewItem();
    void OnNewFolder();
    void OnEditItem();
    void OnDeleteItem();
    void OnEditInEditor();
    void OnTreeDblClk(NMHDR* pNMHDR, LRESULT* pResult);

private:
    // Reads the working file into a new tree and shows it; false (the tree
    // shown stays) when the file cannot be read.
    bool LoadWorkingFile();
    void ResetImages();
    void FillTree(CSearchEngineNode* pNode, HTREEITEM hParent);
    HTREEITEM InsertNode(CSearchEngineNode* pNode, HTREEITEM hParent, HTREEITEM hAfter);
    void SetRoleHolder(CSearchEngineNode* pNode);
    // Labels every childless item from hFirst on, with the marks of the
    // roles its node holds; folders with content keep their text.
    void UpdateItemLabels(HTREEITEM hFirst);
    void SetItemText(HTREEITEM hItem, const CString& text);
    void SetItemImage(HTREEITEM hItem, int nImage, int nSelectedImage);
    int AppendIcon(SearchEngineIcon icon);
    void ChangeIcon(HTREEITEM hItem, CSearchEngineNode* pNode, const CString& path);
    void ChooseInsertPlace(HTREEITEM& hParent, HTREEITEM& hAfter) const;
    void WriteSearchEngineFolder(CStdioFile& file, HTREEITEM hFirst, int depth) const;

    CDragTreeCtrl m_tree;
    CImageList m_images;
    std::unique_ptr<CSearchEngineTree> m_pEngines;
    // Nodes made here, and the items' records: freed on reload and at the
    // end, never when an item is deleted.
    std::vector<std::unique_ptr<CSearchEngineNode>> m_created;
    std::vector<std::unique_ptr<CSearchEditItem>> m_records;
};

//--- CDlgSearchEngine
class CDlgSearchEngine : public CDialog
{
public:
    CDlgSearchEngine();
    ~CDlgSearchEngine() override;

    // The record: set before DoModal, read after IDOK. A folder has only
    // its label.
    CString m_strLabel;
    CString m_strUrl;
    CString m_strIconPath;
    int m_nState = 0;
    int m_nAddTool = 0;
    bool m_bFolder = false;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

    DECLARE_MESSAGE_MAP()
    void OnBrowseIcon();

private:
    void ShowIcon(const CString& path);

    HICON m_hIcon = nullptr;
};

#endif // VA_DIALOGS_PAGES_SEARCHEDITOR_H
