// CDlgSetting: the settings dialog that hosts the settings pages.
//
// Full mode shows a tree of page titles beside the selected page; single-page
// mode hides the tree and shows one page in a resizable window whose
// rectangle the caller keeps between runs. A page's window is made when the
// page is first shown; on OK every page that has a window is told to save
// (WM_SAVE_SETTINGS), in registration order, and a page never shown writes
// nothing.
#ifndef VA_DIALOGS_CORE_DLGSETTING_H
#define VA_DIALOGS_CORE_DLGSETTING_H

#include <map>
#include <memory>
#include <vector>

#include "dialogs/core/AnchorLayout.h"
#include "dialogs/core/PageCaption.h"
#include "framework/dialog/Dialog.h"
#include "framework/win/ToolTipCtrl.h"
#include "framework/win/TreeCtrl.h"

// To every page that has a window, on OK: store the controls into the
// library's settings and rewrite the page's files. wParam 0, lParam 0.
#define WM_SAVE_SETTINGS 0x8E48
// wParam: a control (CWnd*), lParam: its help text; both non-null. Makes the
// text the control's help tip.
#define WM_SHOW_HELPTIP 0x8FC3

struct CCreateContext;

class CDlgSetting : public CDialog
{
public:
    // One registered page.
    struct PageEntry
    {
        BOOL bNotDialog;       // the page object is no dialog
        UINT nIDTemplate;
        CWnd* pPage;           // null: a page that only names itself
        CWnd* pParentPage;     // goes under this page's tree item when set
        CString title;
        CString parentTitle;
    };

    explicit CDlgSetting(CWnd* pOwner = nullptr);
    ~CDlgSetting() override;

    // Registers a page before the dialog runs: its object is made from the
    // runtime class (null: none) and returned, so that the caller can set its
    // switches. Null once the dialog window exists.
    CWnd* AddPage(const CRuntimeClass* pClass, LPCSTR title, UINT nIDTemplate, LPCSTR parentTitle);
    void SetTitle(LPCSTR title) { m_title = title; }
    void SetProductName(LPCSTR name) { m_productName = name; }

    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    const PageEntry& GetPage(int index) const { return *m_pages[static_cast<size_t>(index)]; }

    // Single-page mode; set before the dialog runs.
    int m_bSinglePage = 0;
    // Screen rectangle of the whole window: the one to restore (single-page
    // mode), and where the dialog was when it ended.
    RECT m_rcSaved = {};

    // The saved rectangle is restored when it is not empty, at least 200
    // wide and 100 high, and one of its corners lies on the desktop shrunk
    // by 60 pixels on every side.
    static bool IsRestorable(const RECT& rcSaved, const RECT& rcDesktop);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // Makes a page that is no dialog: a visible bordered child window.
    virtual BOOL CreateViewPage(CWnd* pPage, CCreateContext* pContext);

    DECLARE_MESSAGE_MAP()
    void OnSize(UINT nType, int cx, int cy);
    void OnGetMinMaxInfo(MINMAXINFO* pInfo);
    void OnDestroy();
    void OnHelp();
    void OnHelpTipCheck();
    LRESULT OnShowHelpTip(WPARAM wParam, LPARAM lParam);
    void OnGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult);
    void OnSelChanged(NMHDR* pNMHDR, LRESULT* pResult);

private:
    void FillTree();
    void ExpandAll();
    void ExpandBranch(HTREEITEM hItem);
    HTREEITEM GetNextTreeItem(HTREEITEM hItem) const;
    HTREEITEM FindItemByTitle(const CString& title) const;
    void ShowPage(PageEntry* pEntry, int nCmdShow);
    void CreatePage(PageEntry* pEntry);
    void DestroyPages();
    void StoreRect();
    // OK or Cancel already ended the modal loop.
    bool HasEnded() const;
    bool FocusWantsEscape(MSG* pMsg) const;

    CAnchorLayout m_layout;
    CToolTipCtrl m_helpTip;
    std::vector<std::unique_ptr<PageEntry>> m_pages;
    RECT m_rcPageArea = {};
    SIZE m_sizeMin = {};  // single-page mode: the template's window size
    CString m_title;
    CString m_productName;
    std::map<CWnd*, HTREEITEM> m_pageItems;
    CWnd* m_pOwner;
    CStatic m_pageFrame;
    CTreeCtrl m_tree;
    CPageCaption m_caption;
};

#endif // VA_DIALOGS_CORE_DLGSETTING_H
