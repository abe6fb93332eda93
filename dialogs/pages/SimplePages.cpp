#include "dialogs/pages/SimplePages.h"

#include "dialogs/pages/SimplePagesRes.h"

namespace {

const PageField kFavoritesFields[] = {
    CheckField(IDC_FAV_NEWTAB, "bOpenNewTab_FAV"),
    CheckField(IDC_FAV_NOACTIVATE, "bTabActivate_FAV"),
    CheckField(IDC_FAV_WCNEWTAB, "bOpenNewTab_FAV_WC"),
    CheckField(IDC_FAV_WCNOACTIVATE, "bTabActivate_FAV_WC"),
    CheckField(IDC_FAV_IEORDER, "bIEOrder"),
    CheckField(IDC_FAV_CACHE, "bFavLoadCache"),
    CheckField(IDC_FAV_OPENALL, "bFavAllOpenMenuAdd"),
    NumberField(IDC_FAV_TITLEMAX, "iFavTitleMaxStr", 1, 255, 55),
    // 0 lays the columns out automatically.
    NumberOrZeroField(IDC_FAV_ROWMAX, "iFavItemRowMax", 30, 5000, 35),
    CheckField(IDC_FAV_AUTOHIDE, "bFavViewAutoHide"),
    WholeWordField("bFavViewAutoHideClick"),
    BitField(IDC_FAV_HIDECLICK, "bFavViewAutoHideClick", 0),
    BitField(IDC_FAV_HIDERCLICK, "bFavViewAutoHideClick", 1),
    NumberField(IDC_FAV_DELAY, "iFavViewAutoDelay", 1, 9999, 250),
    NumberField(IDC_FAV_BARWIDTH, "iFavViewAutoSence", 1, 9999, 25),
    CheckField(IDC_FAV_HIDEBARSHOW, "bFavHideBarShow"),
    // The main program forces the tree pane; the list stays hidden.
    IndexField(IDC_FAV_DISPTYPE, "iDocFavMode"),
};

// The auto-hide group, which the favorites window does not offer; the
// arrows of its two edits stay enabled.
const int kAutoHideGroup[] = {
    IDC_FAV_AUTOHIDE, IDC_FAV_HIDECLICK, IDC_FAV_HIDERCLICK, IDC_FAV_HIDEBARSHOW, IDC_FAV_DELAY, IDC_FAV_BARWIDTH,
};

const PageField kAddressFields[] = {
    CheckField(IDC_ADDR_NEWTAB, "bOpenNewTab_AddBar"),
    CheckField(IDC_ADDR_NOACTIVATE, "bTabActivate_AddBar"),
    CheckField(IDC_ADDR_AUTOCOMP, "bAddBar_AutoCompEnable"),
    CheckField(IDC_ADDR_OPENAUTOCOMP, "bOpenDlg_AutoCompEnable"),
    CheckField(IDC_ADDR_LABEL, "bAddStrEnable"),
};

const PageField kMessageFields[] = {
    CheckField(IDC_MSG_SCRIPTERR, "bShowScriptErr"),
    CheckField(IDC_MSG_OFFLINE, "bShowOFFLineMsg"),
    CheckField(IDC_MSG_ACTIVEX, "bShowActiveXErrMsg"),
    CheckField(IDC_MSG_REFRESH, "bShowRefreshMsg"),
    NumberField(IDC_MSG_HISTORYMAX, "iBackHistoryMax", 1, 255, 255),
    CheckField(IDC_MSG_SUPERDND, "bSuperDnD"),
};

bool IsOn(HWND hPage, int nID)
{
    return ::IsDlgButtonChecked(hPage, nID) == BST_CHECKED;
}

} // namespace

//--- CDlgSetTab3

IMPLEMENT_DYNCREATE(CDlgSetTab3, CSettingsPage)

BEGIN_MESSAGE_MAP(CDlgSetTab3, CSettingsPage)
    ON_COMMAND(IDC_FAV_NEWTAB, OnNewTabRule)
    ON_COMMAND(IDC_FAV_WCNEWTAB, OnWheelNewTabRule)
    ON_COMMAND(IDC_FAV_AUTOHIDE, OnAutoHideRule)
END_MESSAGE_MAP()

CDlgSetTab3::CDlgSetTab3()
    : CSettingsPage(IDD_SETTAB3, kFavoritesFields,
                    static_cast<int>(sizeof(kFavoritesFields) / sizeof(kFavoritesFields[0])))
{
}

BOOL CDlgSetTab3::OnInitDialog()
{
    FillComboStrings(::GetDlgItem(m_hWnd, IDC_FAV_DISPTYPE), IDS_FAV_DISPTYPE, 2);
    CSettingsPage::OnInitDialog();
    OnNewTabRule();
    OnWheelNewTabRule();
    OnAutoHideRule();
    const int hidden[] = { IDC_FAV_DISPTYPE };
    HideDlgItems(m_hWnd, hidden, 1);
    ::ShowWindow(::GetDlgItem(m_hWnd, IDC_FAV_DISPTYPELABEL), SW_HIDE);
    ::ShowWindow(::GetDlgItem(m_hWnd, IDC_FAV_DISPTYPENOTE), SW_HIDE);
    for (int nID : kAutoHideGroup)
        EnableDlgItem(m_hWnd, nID, false);
    return FALSE;
}

// Each click runs its own rule only: the auto-hide group, disabled as a
// whole after the rules ran at start, stays so.
void CDlgSetTab3::OnNewTabRule()
{
    EnableDlgItem(m_hWnd, IDC_FAV_NOACTIVATE, IsOn(m_hWnd, IDC_FAV_NEWTAB));
}

void CDlgSetTab3::OnWheelNewTabRule()
{
    EnableDlgItem(m_hWnd, IDC_FAV_WCNOACTIVATE, IsOn(m_hWnd, IDC_FAV_WCNEWTAB));
}

void CDlgSetTab3::OnAutoHideRule()
{
    const bool bAutoHide = IsOn(m_hWnd, IDC_FAV_AUTOHIDE);
    for (int nID : { IDC_FAV_DELAY, IDC_FAV_HIDECLICK, IDC_FAV_HIDERCLICK })
        EnableDlgItem(m_hWnd, nID, bAutoHide);
    EnableDlgItem(m_hWnd, IDC_FAV_HIDEBARSHOW, !bAutoHide);
}

//--- CDlgSetTab4

IMPLEMENT_DYNCREATE(CDlgSetTab4, CSettingsPage)

BEGIN_MESSAGE_MAP(CDlgSetTab4, CSettingsPage)
    ON_COMMAND(IDC_ADDR_NEWTAB, OnNewTab)
END_MESSAGE_MAP()

CDlgSetTab4::CDlgSetTab4()
    : CSettingsPage(IDD_SETTAB4, kAddressFields, static_cast<int>(sizeof(kAddressFields) / sizeof(kAddressFields[0])))
{
}

BOOL CDlgSetTab4::OnInitDialog()
{
    CSettingsPage::OnInitDialog();
    OnNewTab();
    return FALSE;
}

void CDlgSetTab4::OnNewTab()
{
    EnableDlgItem(m_hWnd, IDC_ADDR_NOACTIVATE, IsOn(m_hWnd, IDC_ADDR_NEWTAB));
}

//--- CDlgSetTab17

IMPLEMENT_DYNCREATE(CDlgSetTab17, CSettingsPage)

CDlgSetTab17::CDlgSetTab17()
    : CSettingsPage(IDD_SETTAB17, kMessageFields, static_cast<int>(sizeof(kMessageFields) / sizeof(kMessageFields[0])))
{
}

BOOL CDlgSetTab17::OnInitDialog()
{
    CSettingsPage::OnInitDialog();
    const int hidden[] = { IDC_MSG_OFFLINE };
    HideDlgItems(m_hWnd, hidden, 1);
    return FALSE;
}
