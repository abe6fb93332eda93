// CSettingsListPage: the base of the pages that edit a list in a list
// control (a CDragListCtrl): what every such page repeats, once.
//
// Row commands work on the selection: moving up and down and editing need
// exactly one selected row; deleting walks from the last row to the first.
// A header click sorts by that column's text in unsigned byte order
// (descending first) or, on a switch column, sets the column; switch cells
// show kCellOn ("○") and kCellOff ("－").
#ifndef VA_DIALOGS_PAGES_LISTPAGE_H
#define VA_DIALOGS_PAGES_LISTPAGE_H

#include "dialogs/core/DragListCtrl.h"
#include "dialogs/pages/SettingsPage.h"

extern const char kCellOn[];   // "○"
extern const char kCellOff[];  // "－"

class CSettingsListPage : public CSettingsPage
{
    DECLARE_DYNAMIC(CSettingsListPage)

public:
    CSettingsListPage(UINT nIDTemplate, int nListID, const PageField* fields = nullptr, int nFields = 0);

    CDragListCtrl& GetList() { return m_list; }

    // The selected row when exactly one is selected, else -1.
    int GetSingleSelectedRow() const;
    // Deletes every selected row, from the last row to the first; how many.
    int DeleteSelectedRows();
    // Moves the one selected row a place up (nDelta -1) or down (+1) and
    // selects it there; false without exactly one selected row or at the
    // list's end.
    bool MoveSelectedRow(int nDelta);
    // Sorts the rows by the column's text, byte by byte as unsigned values
    // (a prefix first): descending while m_bSortDescending is set, then the
    // flag flips. Every row's item data becomes its position before.
    void SortByColumn(int nColumn);

    // Handlers a page maps to its delete, up and down buttons and to its
    // list's header click when they do no more than the helpers above.
    void OnDeleteRows() { DeleteSelectedRows(); }
    void OnMoveRowUp() { MoveSelectedRow(-1); }
    void OnMoveRowDown() { MoveSelectedRow(1); }
    void OnSortColumnClick(NMHDR* pNMHDR, LRESULT* pResult);

    // A switch cell is on unless it shows kCellOff.
    static bool IsCellOn(const CString& text) { return text != kCellOff; }
    static const char* CellText(bool bOn) { return bOn ? kCellOn : kCellOff; }
    // Inverts one switch cell.
    void ToggleCell(int nRow, int nColumn);
    // A switch column's header click: with bEach every cell is inverted;
    // otherwise every row takes the first row's inverted value.
    void ToggleColumn(int nColumn, bool bEach);

    int m_nSortColumn = -1;
    BOOL m_bSortDescending = TRUE;

protected:
    // Subclasses the list, then fills the field table's controls.
    BOOL OnInitDialog() override;

    CDragListCtrl m_list;
    int m_nListID;
    // The page's list file was there but could not be read: it is left as
    // it is (set from TellIfUnreadable when the file is read).
    bool m_bKeepFile = false;
};

// The row commands above for a list of any page (the plug-in page is a
// plain dialog): the one selected row moved by nDelta and selected, and the
// byte-order sort that flips bDescending.
int GetSingleSelectedListRow(const CListCtrl& list);
bool MoveSelectedListRow(CDragListCtrl& list, int nDelta);
void SortListByColumn(CListCtrl& list, int nColumn, BOOL& bDescending);

// Whether Shift is down now (a header click with Shift inverts each cell).
bool IsShiftDown();

#endif // VA_DIALOGS_PAGES_LISTPAGE_H
