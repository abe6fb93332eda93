// The two pages that show one bit field of the settings as a list of
// checkable rows: CDlgSetTab16 (template 257, iParentTabNewRule: what opens
// in a new group tab) and CDlgSetTab14 (template 255, iFullScreenShowItem:
// the bars full screen keeps).
#ifndef VA_DIALOGS_PAGES_CHECKLISTPAGES_H
#define VA_DIALOGS_PAGES_CHECKLISTPAGES_H

#include "dialogs/pages/SettingsPage.h"
#include "framework/win/ListCtrl.h"

// One row: its text ("dlg.dat" line) and its bit.
struct CheckListRow
{
    int nDlgLine;
    unsigned bit;
};

class CCheckListPage : public CSettingsPage
{
    DECLARE_DYNAMIC(CCheckListPage)

protected:
    // fields: the one WholeWordField row of the key (its mask keeps the
    // bits no row names).
    CCheckListPage(UINT nIDTemplate, const PageField* fields, const CheckListRow* rows, int nRows);

    BOOL OnInitDialog() override;
    void OnSaveSettings() override;

    DECLARE_MESSAGE_MAP()
    void OnCheckAll();
    void OnCheckNone();
    void OnDblClick(NMHDR* pNMHDR, LRESULT* pResult);

private:
    void CheckEveryRow(BOOL bCheck);

    CListCtrl m_list;
    const CheckListRow* m_pRows;
    int m_nRows;
};

class CDlgSetTab16 : public CCheckListPage
{
    DECLARE_DYNCREATE(CDlgSetTab16)

public:
    CDlgSetTab16();
};

class CDlgSetTab14 : public CCheckListPage
{
    DECLARE_DYNCREATE(CDlgSetTab14)

public:
    CDlgSetTab14();
};

#endif // VA_DIALOGS_PAGES_CHECKLISTPAGES_H
