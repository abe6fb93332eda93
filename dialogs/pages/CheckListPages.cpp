#include "dialogs/pages/CheckListPages.h"

#include "dialogs/core/FormsetApp.h"
#include "dialogs/pages/CheckListPagesRes.h"

namespace {

const CheckListRow kNewGroupRows[] = {
    { 55, 0x1 }, { 56, 0x2 }, { 57, 0x4 }, { 58, 0x8 }, { 59, 0x10 }, { 60, 0x20 }, { 65, 0x100 },
};
// Bits 0x40 and 0x80 belong to the search page, and no row names the
// others: they are kept.
const PageField kNewGroupFields[] = { WholeWordField("iParentTabNewRule", ~0x13F) };

const CheckListRow kFullScreenRows[] = {
    { 45, 0x100 }, { 46, 0x2 }, { 47, 0x1 }, { 80, 0x8000 }, { 49, 0x10 }, { 52, 0x200 }, { 75, 0x400 },
    { 76, 0x800 },
};
// Written whole from the rows: the other bits name no bar.
const PageField kFullScreenFields[] = { WholeWordField("iFullScreenShowItem") };

const int kDlgColumnTitle = 44;
const int kColumnWidth = 375;

int32_t KeyNumber(const char* key)
{
    return ParseSettingsNumber(CSettingsPage::Settings().GetKeyValue(SettingsRecord::FindKey(key)));
}

} // namespace

//--- CCheckListPage

IMPLEMENT_DYNAMIC(CCheckListPage, CSettingsPage)

BEGIN_MESSAGE_MAP(CCheckListPage, CSettingsPage)
    ON_COMMAND(IDC_CHECKLIST_ALL, OnCheckAll)
    ON_COMMAND(IDC_CHECKLIST_NONE, OnCheckNone)
    ON_NOTIFY(NM_DBLCLK, IDC_CHECKLIST_LIST, OnDblClick)
END_MESSAGE_MAP()

CCheckListPage::CCheckListPage(UINT nIDTemplate, const PageField* fields, const CheckListRow* rows, int nRows)
    : CSettingsPage(nIDTemplate, fields, 1), m_pRows(rows), m_nRows(nRows)
{
}

BOOL CCheckListPage::OnInitDialog()
{
    CSettingsPage::OnInitDialog();
    m_list.SubclassDlgItem(IDC_CHECKLIST_LIST, this);
    m_layout.AddControl(&m_list, CAnchorLayout::kLeft | CAnchorLayout::kTop | CAnchorLayout::kRight |
                                     CAnchorLayout::kBottom);
    for (int nID : { IDC_CHECKLIST_ALL, IDC_CHECKLIST_NONE }) {
        m_layout.AddControl(GetDlgItem(nID), CAnchorLayout::kLeft | CAnchorLayout::kKeepWidth |
                                                 CAnchorLayout::kBottom | CAnchorLayout::kKeepHeight);
    }
    m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    CFormsetApp& app = FormsetApp();
    m_list.InsertColumn(0, app.GetDlgString(kDlgColumnTitle), LVCFMT_LEFT, kColumnWidth);
    const uint32_t word = static_cast<uint32_t>(KeyNumber(GetFields()[0].key));
    for (int i = 0; i < m_nRows; ++i) {
        const int nRow = m_list.InsertItem(i, app.GetDlgString(m_pRows[i].nDlgLine));
        m_list.SetCheck(nRow, (word & m_pRows[i].bit) != 0);
    }
    return TRUE;
}

void CCheckListPage::OnSaveSettings()
{
    // The field table keeps the masked bits; the rows add theirs.
    CSettingsPage::OnSaveSettings();
    const char* key = GetFields()[0].key;
    uint32_t word = static_cast<uint32_t>(KeyNumber(key));
    for (int i = 0; i < m_nRows && i < m_list.GetItemCount(); ++i) {
        if (m_list.GetCheck(i))
            word |= m_pRows[i].bit;
    }
    CString text;
    text.Format("%u", static_cast<unsigned>(word));
    Settings().SetKeyValue(SettingsRecord::FindKey(key), text);
}

void CCheckListPage::CheckEveryRow(BOOL bCheck)
{
    for (int i = 0; i < m_list.GetItemCount(); ++i)
        m_list.SetCheck(i, bCheck);
}

void CCheckListPage::OnCheckAll()
{
    CheckEveryRow(TRUE);
}

void CCheckListPage::OnCheckNone()
{
    CheckEveryRow(FALSE);
}

void CCheckListPage::OnDblClick(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    if (m_list.GetSelectedCount() != 1)
        return;
    const int nRow = m_list.GetNextItem(-1, LVNI_SELECTED);
    m_list.SetCheck(nRow, !m_list.GetCheck(nRow));
}

//--- CDlgSetTab16, CDlgSetTab14

IMPLEMENT_DYNCREATE(CDlgSetTab16, CCheckListPage)

CDlgSetTab16::CDlgSetTab16()
    : CCheckListPage(IDD_SETTAB16, kNewGroupFields, kNewGroupRows,
                     static_cast<int>(sizeof(kNewGroupRows) / sizeof(kNewGroupRows[0])))
{
}

IMPLEMENT_DYNCREATE(CDlgSetTab14, CCheckListPage)

CDlgSetTab14::CDlgSetTab14()
    : CCheckListPage(IDD_SETTAB14, kFullScreenFields, kFullScreenRows,
                     static_cast<int>(sizeof(kFullScreenRows) / sizeof(kFullScreenRows[0])))
{
}
