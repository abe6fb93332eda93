#include "dialogs/pages/DocPage.h"

#include "dialogs/pages/DocPageRes.h"

namespace {

const PageField kFields[] = {
    CheckField(IDC_DOC_ENABLE, "bEnableDoc"),
    CheckField(IDC_DOC_NEWTAB, "bOpenNewTab_DocHistory"),
    CheckField(IDC_DOC_NOACTIVATE, "bTabActivate_DocHistory"),
    CheckField(IDC_DOC_LIMIT, "bCloseWindowHistoryMax"),
    NumberField(IDC_DOC_LIMITCNT, "iCloseWindowHistoryMaxCnt", 1, 32767, 300),
    CheckField(IDC_DOC_APPENDTOP, "bCloseWindowHistoryAppendTop"),
    CheckField(IDC_DOC_HISTORY, "bShowDocCloseHistory"),
    CheckField(IDC_DOC_SHOWLIST, "bShowDocList"),
    CheckField(IDC_DOC_AUTOHIDE, "bDocViewAutoHide"),
    CheckField(IDC_DOC_HIDECLICK, "bDocViewAutoHideClick"),
    NumberField(IDC_DOC_DELAY, "iDocViewAutoDelay", 1, 9999, 250),
    NumberField(IDC_DOC_WIDTH, "iDocViewAutoSence", 1, 9999, 25),
    CheckField(IDC_DOC_HIDEBAR, "bDocHideBarShow"),
    IndexField(IDC_DOC_RIGHT, "iDocmouseR"),
    IndexField(IDC_DOC_DBLCLK, "iDocmouseDC"),
    // The seven detail columns, written whole.
    WholeWordField("wDocListViewState"),
    BitField(IDC_DOC_COLUMN_FIRST, "wDocListViewState", 0),
    BitField(IDC_DOC_COLUMN_FIRST + 1, "wDocListViewState", 1),
    BitField(IDC_DOC_COLUMN_FIRST + 2, "wDocListViewState", 2),
    BitField(IDC_DOC_COLUMN_FIRST + 3, "wDocListViewState", 3),
    BitField(IDC_DOC_COLUMN_FIRST + 4, "wDocListViewState", 4),
    BitField(IDC_DOC_COLUMN_FIRST + 5, "wDocListViewState", 5),
    BitField(IDC_DOC_COLUMN_FIRST + 6, "wDocListViewState", 6),
};

// What the master switch enables and disables: every check, list, edit and
// arrow of the page but itself.
const int kSwept[] = {
    IDC_DOC_NEWTAB, IDC_DOC_NOACTIVATE, IDC_DOC_LIMIT, IDC_DOC_LIMITCNT, IDC_DOC_LIMITSPIN, IDC_DOC_APPENDTOP,
    IDC_DOC_HISTORY, IDC_DOC_SHOWLIST, IDC_DOC_AUTOHIDE, IDC_DOC_HIDECLICK, IDC_DOC_DELAY, IDC_DOC_DELAYSPIN,
    IDC_DOC_WIDTH, IDC_DOC_WIDTHSPIN, IDC_DOC_HIDEBAR, IDC_DOC_RIGHT, IDC_DOC_DBLCLK,
    IDC_DOC_COLUMN_FIRST, IDC_DOC_COLUMN_FIRST + 1, IDC_DOC_COLUMN_FIRST + 2, IDC_DOC_COLUMN_FIRST + 3,
    IDC_DOC_COLUMN_FIRST + 4, IDC_DOC_COLUMN_FIRST + 5, IDC_DOC_COLUMN_FIRST + 6,
};

} // namespace

IMPLEMENT_DYNCREATE(CDlgSetTab2, CSettingsPage)

BEGIN_MESSAGE_MAP(CDlgSetTab2, CSettingsPage)
    ON_COMMAND(IDC_DOC_ENABLE, OnEnable)
    ON_COMMAND(IDC_DOC_NEWTAB, OnNewTab)
    ON_COMMAND(IDC_DOC_LIMIT, OnLimit)
    ON_COMMAND(IDC_DOC_AUTOHIDE, OnAutoHide)
END_MESSAGE_MAP()

CDlgSetTab2::CDlgSetTab2()
    : CSettingsPage(IDD_SETTAB2, kFields, static_cast<int>(sizeof(kFields) / sizeof(kFields[0])))
{
}

BOOL CDlgSetTab2::OnInitDialog()
{
    FillComboStrings(::GetDlgItem(m_hWnd, IDC_DOC_RIGHT), IDS_DOC_MOUSE, 5);
    FillComboStrings(::GetDlgItem(m_hWnd, IDC_DOC_DBLCLK), IDS_DOC_MOUSE, 5);
    CSettingsPage::OnInitDialog();
    OnNewTab();
    OnLimit();
    OnAutoHide();
    OnEnable();
    return FALSE;
}

// The master switch sweeps over the dependent rules: while it is checked
// every control is enabled until a dependent check is clicked again.
void CDlgSetTab2::OnEnable()
{
    const bool bOn = ::IsDlgButtonChecked(m_hWnd, IDC_DOC_ENABLE) == BST_CHECKED;
    for (int nID : kSwept)
        EnableDlgItem(m_hWnd, nID, bOn);
}

void CDlgSetTab2::OnNewTab()
{
    EnableDlgItem(m_hWnd, IDC_DOC_NOACTIVATE, ::IsDlgButtonChecked(m_hWnd, IDC_DOC_NEWTAB) == BST_CHECKED);
}

void CDlgSetTab2::OnLimit()
{
    EnableDlgItem(m_hWnd, IDC_DOC_LIMITCNT, ::IsDlgButtonChecked(m_hWnd, IDC_DOC_LIMIT) == BST_CHECKED);
}

void CDlgSetTab2::OnAutoHide()
{
    const bool bOn = ::IsDlgButtonChecked(m_hWnd, IDC_DOC_AUTOHIDE) == BST_CHECKED;
    EnableDlgItem(m_hWnd, IDC_DOC_HIDECLICK, bOn);
    EnableDlgItem(m_hWnd, IDC_DOC_DELAY, bOn);
    EnableDlgItem(m_hWnd, IDC_DOC_HIDEBAR, !bOn);
}
