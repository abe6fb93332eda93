#include "dialogs/pages/DlgSetTab5.h"

#include "dialogs/pages/DlgSetTab5Res.h"

namespace {

const PageField kFields[] = {
    CheckField(IDC_GEN_MAILTO, "bMailToNotOpen"),
    CheckField(IDC_GEN_TASKTRAY, "bTaskTray"),
    CheckField(IDC_GEN_WINDOWLOOP, "bWindowChangeLoop"),
    CheckField(IDC_GEN_CLIPBOARD, "bClipBordCheck"),
    CheckField(IDC_GEN_DOUBLEINSTANCE, "bDoubleInstance"),
    CheckField(IDC_GEN_WINDOWMAX, "bWindowMaxCnt"),
    NumberField(IDC_GEN_WINDOWMAXCNT, "iWindowMaxCnt", 1, 255, 255),
    CheckField(IDC_GEN_CLICKOPEN, "bClickOpen"),
    CheckField(IDC_GEN_DOMAINLOCK, "bDiffDomainNewWnd"),
    CheckField(IDC_GEN_STATUSURL, "bStatusBar_URL_Only"),
    CheckField(IDC_GEN_POPUPSTYLE, "bPopUpNewStyle"),
    NumberField(IDC_GEN_POPUPALPHA, "iPopUpNewStyle_nnn", 1, 255, 255),
    CheckField(IDC_GEN_TABMODE, "bTabMode"),
    CheckField(IDC_GEN_TARGETNAME, "bTargetName"),
    CheckField(IDC_GEN_PARAMACTIVATE, "bParamActivate"),
    // Bits 0-2 from the three checks, the others cleared.
    WholeWordField("iFocusMove"),
    BitField(IDC_GEN_FOCUSMOVE, "iFocusMove", 0),
    BitField(IDC_GEN_FOCUSADDRESS, "iFocusMove", 1),
    BitField(IDC_GEN_FOCUSSEARCH, "iFocusMove", 2),
    CheckField(IDC_GEN_MENUIMAGE, "bMenuImage"),
    CheckField(IDC_GEN_MENUSHORTCUT, "bMenuShortCutKey"),
    CheckField(IDC_GEN_WORKINGSET, "bWorkingSet"),
    NumberField(IDC_GEN_RELOAD, "iReload", 1, 255, 255),
    // Modes 3 to 5, which the page does not offer, stay as they are.
    IndexField(IDC_GEN_INITMODE, "iInitMode"),
    IndexField(IDC_GEN_MENUSTYLE, "iMENU_STYLE"),
};

// What the page never shows: the main program forces or ignores them.
const int kHidden[] = {
    IDC_GEN_POPUPALPHA, IDC_GEN_POPUPALPHASPIN, IDC_GEN_POPUPALPHALABEL, IDC_GEN_CLIPBOARD, IDC_GEN_DOMAINLOCK,
    IDC_GEN_POPUPSTYLE, IDC_GEN_TABMODE, IDC_GEN_MENUIMAGE, IDC_GEN_MENUSTYLE, IDC_GEN_MENUSTYLELABEL,
};

} // namespace

IMPLEMENT_DYNCREATE(CDlgSetTab5, CSettingsPage)

BEGIN_MESSAGE_MAP(CDlgSetTab5, CSettingsPage)
    ON_COMMAND(IDC_GEN_WINDOWMAX, OnWindowMax)
    ON_COMMAND(IDC_GEN_FOCUSMOVE, OnFocusMove)
    ON_COMMAND(IDC_GEN_POPUPSTYLE, OnPopUpStyle)
END_MESSAGE_MAP()

CDlgSetTab5::CDlgSetTab5()
    : CSettingsPage(IDD_SETTAB5, kFields, static_cast<int>(sizeof(kFields) / sizeof(kFields[0])))
{
}

BOOL CDlgSetTab5::OnInitDialog()
{
    FillComboStrings(::GetDlgItem(m_hWnd, IDC_GEN_INITMODE), IDS_GEN_INITMODE, 3);
    FillComboStrings(::GetDlgItem(m_hWnd, IDC_GEN_MENUSTYLE), IDS_GEN_MENUSTYLE, 6);
    CSettingsPage::OnInitDialog();
    OnWindowMax();
    OnFocusMove();
    OnPopUpStyle();
    HideDlgItems(m_hWnd, kHidden, static_cast<int>(sizeof(kHidden) / sizeof(kHidden[0])));
    return FALSE;
}

void CDlgSetTab5::OnWindowMax()
{
    EnableDlgItem(m_hWnd, IDC_GEN_WINDOWMAXCNT, ::IsDlgButtonChecked(m_hWnd, IDC_GEN_WINDOWMAX) == BST_CHECKED);
}

void CDlgSetTab5::OnFocusMove()
{
    const bool bOn = ::IsDlgButtonChecked(m_hWnd, IDC_GEN_FOCUSMOVE) == BST_CHECKED;
    EnableDlgItem(m_hWnd, IDC_GEN_FOCUSADDRESS, bOn);
    EnableDlgItem(m_hWnd, IDC_GEN_FOCUSSEARCH, bOn);
}

void CDlgSetTab5::OnPopUpStyle()
{
    EnableDlgItem(m_hWnd, IDC_GEN_POPUPALPHA, ::IsDlgButtonChecked(m_hWnd, IDC_GEN_POPUPSTYLE) == BST_CHECKED);
}
