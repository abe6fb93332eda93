#include "dialogs/pages/ListPage.h"

#include <cstring>
#include <vector>

#include "framework/app/FaultGuard.h"
#include "framework/win/RedrawGuard.h"

const char kCellOn[] = "\x81\x9B";
const char kCellOff[] = "\x81\x7C";

IMPLEMENT_DYNAMIC(CSettingsListPage, CSettingsPage)

CSettingsListPage::CSettingsListPage(UINT nIDTemplate, int nListID, const PageField* fields, int nFields)
    : CSettingsPage(nIDTemplate, fields, nFields), m_nListID(nListID)
{
}

BOOL CSettingsListPage::OnInitDialog()
{
    if (m_list.m_hWnd == nullptr && ::GetDlgItem(m_hWnd, m_nListID) != nullptr)
        m_list.SubclassDlgItem(static_cast<UINT>(m_nListID), this);
    return CSettingsPage::OnInitDialog();
}

int CSettingsListPage::GetSingleSelectedRow() const
{
    return GetSingleSelectedListRow(m_list);
}

int CSettingsListPage::DeleteSelectedRows()
{
    int nDeleted = 0;
    for (int nRow = m_list.GetItemCount() - 1; nRow >= 0; --nRow) {
        if (m_list.GetItemState(nRow, LVIS_SELECTED) & LVIS_SELECTED) {
            m_list.DeleteItem(nRow);
            ++nDeleted;
        }
    }
    return nDeleted;
}

bool CSettingsListPage::MoveSelectedRow(int nDelta)
{
    return MoveSelectedListRow(m_list, nDelta);
}

int GetSingleSelectedListRow(const CListCtrl& list)
{
    if (list.m_hWnd == nullptr || list.GetSelectedCount() != 1)
        return -1;
    return list.GetNextItem(-1, LVNI_SELECTED);
}

bool MoveSelectedListRow(CDragListCtrl& list, int nDelta)
{
    const int nRow = GetSingleSelectedListRow(list);
    const int nTo = nRow + nDelta;
    if (nRow < 0 || nTo < 0 || nTo >= list.GetItemCount())
        return false;
    const int nNew = list.MoveRow(nRow, nTo);
    if (nNew < 0)
        return false;
    list.SetItemState(nNew, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    list.EnsureVisible(nNew, FALSE);
    return true;
}

namespace {

struct SortState
{
    std::vector<CString> texts;  // by the rows' positions before the sort
    bool bDescending;
};

int CompareBytes(const CString& a, const CString& b)
{
    const int nA = a.GetLength();
    const int nB = b.GetLength();
    const int n = memcmp(static_cast<LPCSTR>(a), static_cast<LPCSTR>(b), static_cast<size_t>(nA < nB ? nA : nB));
    if (n != 0)
        return n;
    return nA < nB ? -1 : (nA > nB ? 1 : 0);
}

int CALLBACK CompareRows(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort)
{
    return AfxRunEntry("CompareRows", 0, [&]() -> int {
        const SortState* state = reinterpret_cast<const SortState*>(lParamSort);
        const size_t i1 = static_cast<size_t>(lParam1);
        const size_t i2 = static_cast<size_t>(lParam2);
        if (i1 >= state->texts.size() || i2 >= state->texts.size())
            return 0;
        const int n = CompareBytes(state->texts[i1], state->texts[i2]);
        return state->bDescending ? -n : n;
    });
}

} // namespace

void CSettingsListPage::OnSortColumnClick(NMHDR* pNMHDR, LRESULT* pResult)
{
    SortByColumn(reinterpret_cast<NMLISTVIEW*>(pNMHDR)->iSubItem);
    *pResult = 0;
}

void CSettingsListPage::SortByColumn(int nColumn)
{
    m_nSortColumn = nColumn;
    SortListByColumn(m_list, nColumn, m_bSortDescending);
}

void SortListByColumn(CListCtrl& list, int nColumn, BOOL& bDescending)
{
    RedrawGuard redraw(list.m_hWnd);
    SortState state;
    state.bDescending = bDescending != FALSE;
    const int nCount = list.GetItemCount();
    for (int nRow = 0; nRow < nCount; ++nRow) {
        state.texts.push_back(list.GetItemText(nRow, nColumn));
        list.SetItemData(nRow, static_cast<DWORD_PTR>(nRow));
    }
    list.SortItems(CompareRows, reinterpret_cast<DWORD_PTR>(&state));
    bDescending = !bDescending;
}

void CSettingsListPage::ToggleCell(int nRow, int nColumn)
{
    m_list.SetItemText(nRow, nColumn, CellText(!IsCellOn(m_list.GetItemText(nRow, nColumn))));
}

void CSettingsListPage::ToggleColumn(int nColumn, bool bEach)
{
    const int nCount = m_list.GetItemCount();
    if (nCount == 0)
        return;
    const bool bFirst = !IsCellOn(m_list.GetItemText(0, nColumn));
    for (int nRow = 0; nRow < nCount; ++nRow) {
        if (bEach)
            ToggleCell(nRow, nColumn);
        else
            m_list.SetItemText(nRow, nColumn, CellText(bFirst));
    }
}

bool IsShiftDown()
{
    return (::GetKeyState(VK_SHIFT) & 0x8000) != 0;
}
