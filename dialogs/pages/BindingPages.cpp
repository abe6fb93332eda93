#include "dialogs/pages/BindingPages.h"

#include "dialogs/pages/BindingDialog.h"
#include "dialogs/pages/BindingPagesRes.h"

namespace {

const BindingPageKind kKeys = { "KEYCONF.dat", "KEYCONFDefault.dat", "key_settinglist.htm", 39, 180, 120,
                                62, 63 };
const BindingPageKind kGestures = { "MGC.dat", "MGCDefault.dat", "mgc_settinglist.htm", 42, 130, 170,
                                    64, 65 };

const PageField kMouseFields[] = {
    IndexField(IDC_MOUSE_RL, "mouseRL"),
    IndexField(IDC_MOUSE_LR, "mouseLR"),
    IndexField(IDC_MOUSE_DC, "mouseDC"),
    CheckField(IDC_MOUSE_GESTURE, "bMouseG"),
    // Never shown; its value passes through.
    CheckField(IDC_MOUSE_GESTUREMENU, "bMouseGMenu"),
    NumberField(IDC_MOUSE_SENSE, "iMouseGSence", 1, 255, 255),
    NumberField(IDC_MOUSE_INTERVAL, "iMouseGSence2", 1, 3000, 120),
};

} // namespace

IMPLEMENT_DYNCREATE(CDlgSetTab13, CBindingListPage)

CDlgSetTab13::CDlgSetTab13() : CBindingListPage(IDD_SETTAB13, kKeys)
{
}

CBindingDialog* CDlgSetTab13::NewBindingDialog() const
{
    return new CDlgKeyCustom;
}

IMPLEMENT_DYNCREATE(CDlgSetTab6, CBindingListPage)

CDlgSetTab6::CDlgSetTab6()
    : CBindingListPage(IDD_SETTAB6, kGestures, kMouseFields, static_cast<int>(sizeof(kMouseFields) / sizeof(kMouseFields[0])))
{
}

BOOL CDlgSetTab6::OnInitDialog()
{
    for (int nID : { IDC_MOUSE_RL, IDC_MOUSE_LR, IDC_MOUSE_DC })
        FillComboStrings(::GetDlgItem(m_hWnd, nID), IDS_MOUSE_ACTION, 8);
    CBindingListPage::OnInitDialog();
    const int kHidden[] = { IDC_MOUSE_GESTUREMENU };
    HideDlgItems(m_hWnd, kHidden, 1);
    return TRUE;
}

CBindingDialog* CDlgSetTab6::NewBindingDialog() const
{
    return new CDlgGestureSetting;
}
