#include "dialogs/pages/TabBarPages.h"

#include "dialogs/core/FormsetApp.h"
#include "dialogs/pages/PopupPage.h"
#include "dialogs/pages/TabBarPagesRes.h"
#include "menulib/NewMenu.h"
#include "shared/FrameMessages.h"
#include "shared/GroupImageMenu.h"

namespace {

const PageField kPageTabFields[] = {
    CheckField(IDC_TABBAR_LINKOPEN, "bTabOpen"),
    CheckField(IDC_TABBAR_LINKLOCK, "bTabActivate_LINK"),
    CheckField(IDC_TABBAR_WHEELCHANGE, "bWheelChange"),
    CheckField(IDC_TABBAR_WHEELOPEN, "bOpenNewWindowWC"),
    CheckField(IDC_TABBAR_WHEELLOCK, "bTabActivate_WC"),
    CheckField(IDC_TABBAR_SHOW, "bTabShow"),
    CheckField(IDC_TABBAR_IMAGE, "bTabImage"),
    InvertedCheckField(IDC_TABBAR_GRADIENT, "bOldStyle"),
    CheckField(IDC_TABBAR_BUTTON, "bTabButton"),
    CheckField(IDC_TABBAR_MLINE, "bMLine"),
    CheckField(IDC_TABBAR_CLOSEBUTTON, "bShowTabCloseButton"),
    RadioField(IDC_TABBAR_POSDOWN, "iTabTop", 4),
    CheckField(IDC_TABBAR_FIXEDWIDTH, "bTabWidth"),
    NumberField(IDC_TABBAR_WIDTH, "iFixedWidth", 1, 255, 50),
    NumberField(IDC_TABBAR_TITLELEN, "iTabStrLen", 1, 255, 50),
    IndexField(IDC_TABBAR_MOUSEWC, "iTabmouseWC"),
    IndexField(IDC_TABBAR_MOUSER, "iTabmouseR"),
    IndexField(IDC_TABBAR_MOUSEDC, "iTabmouseDC"),
};

const PageField kGroupTabFields[] = {
    CheckField(IDC_TABBAR_WHEELCHANGE, "bWheelChange_P"),
    IndexField(IDC_TABBAR_NEWACTION, "iDefault_P"),
    TextField(IDC_TABBAR_URL, "strTargetURL_P", 500),
    TextField(IDC_TABBAR_DEFAULTNAME, "strTitle_P", 500),
    CheckField(IDC_TABBAR_SHOW, "bTabShow_P"),
    CheckField(IDC_TABBAR_IMAGE, "bTabImage_P"),
    InvertedCheckField(IDC_TABBAR_GRADIENT, "bOldStyle_P"),
    CheckField(IDC_TABBAR_BUTTON, "bTabButton_P"),
    CheckField(IDC_TABBAR_MLINE, "bMLine_P"),
    CheckField(IDC_TABBAR_CLOSEBUTTON, "bShowTabCloseButton_P"),
    RadioField(IDC_TABBAR_POSDOWN, "iTabTop_P", 4),
    CheckField(IDC_TABBAR_FIXEDWIDTH, "bTabWidth_P"),
    NumberField(IDC_TABBAR_WIDTH, "iFixedWidth_P", 1, 255, 50),
    NumberField(IDC_TABBAR_TITLELEN, "iTabStrLen_P", 1, 255, 50),
    IndexField(IDC_TABBAR_MOUSEWC, "iTabmouseWC_P"),
    IndexField(IDC_TABBAR_MOUSER, "iTabmouseR_P"),
    IndexField(IDC_TABBAR_MOUSEDC, "iTabmouseDC_P"),
    CheckField(IDC_TABBAR_MENUSHOW, "bTabMenuShow"),
    CheckField(IDC_TABBAR_CLOSEEMPTY, "bClosePTabChildEmpty"),
};

// What "タブを表示する" enables (the width edit also needs a fixed width).
const int kDesignControls[] = {
    IDC_TABBAR_TITLELEN, IDC_TABBAR_BUTTON, IDC_TABBAR_GRADIENT, IDC_TABBAR_FIXEDWIDTH, IDC_TABBAR_MLINE,
    IDC_TABBAR_IMAGE, IDC_TABBAR_POSDOWN, IDC_TABBAR_POSUP, IDC_TABBAR_POSLEFT, IDC_TABBAR_POSRIGHT,
    IDC_TABBAR_CLOSEBUTTON,
};
// What a bar on the left or right forces on.
const int kSideForced[] = { IDC_TABBAR_FIXEDWIDTH, IDC_TABBAR_MLINE, IDC_TABBAR_BUTTON };

const int kPageMouseItems = 7;
const int kGroupMouseItems = 5;
const int kNewActionItems = 3;
const int kNewActionUrl = 2;  // "指定したURLを開く"
const int kPickerImages = 30;
const int kLastImage = 30;

void FillMouseLists(HWND hPage, UINT nFirstString, int count)
{
    for (int nID : { IDC_TABBAR_MOUSEWC, IDC_TABBAR_MOUSER, IDC_TABBAR_MOUSEDC })
        FillComboStrings(::GetDlgItem(hPage, nID), nFirstString, count);
}

} // namespace

//--- CTabBarPage

IMPLEMENT_DYNAMIC(CTabBarPage, CSettingsPage)

BEGIN_MESSAGE_MAP(CTabBarPage, CSettingsPage)
    ON_COMMAND(IDC_TABBAR_SHOW, OnDesign)
    ON_COMMAND(IDC_TABBAR_FIXEDWIDTH, OnDesign)
    ON_COMMAND_RANGE(IDC_TABBAR_POSDOWN, IDC_TABBAR_POSRIGHT, OnPosition)
END_MESSAGE_MAP()

CTabBarPage::CTabBarPage(UINT nIDTemplate, const PageField* fields, int nFields)
    : CSettingsPage(nIDTemplate, fields, nFields)
{
}

BOOL CTabBarPage::OnInitDialog()
{
    CSettingsPage::OnInitDialog();
    ApplyOwnRules();
    ApplyDesignRule();
    const int hidden[] = { IDC_TABBAR_GRADIENT };
    HideDlgItems(m_hWnd, hidden, 1);
    return FALSE;
}

bool CTabBarPage::IsOn(int nID) const
{
    return ::IsDlgButtonChecked(m_hWnd, nID) == BST_CHECKED;
}

void CTabBarPage::ApplyDesignRule()
{
    const bool bShow = IsOn(IDC_TABBAR_SHOW);
    for (int nID : kDesignControls)
        EnableDlgItem(m_hWnd, nID, bShow);
    EnableDlgItem(m_hWnd, IDC_TABBAR_WIDTH, bShow && IsOn(IDC_TABBAR_FIXEDWIDTH));
    ApplyPositionRule();
}

void CTabBarPage::ApplyPositionRule()
{
    if (!IsOn(IDC_TABBAR_SHOW))
        return;
    const bool bSide = IsOn(IDC_TABBAR_POSLEFT) || IsOn(IDC_TABBAR_POSRIGHT);
    if (!bSide && !IsOn(IDC_TABBAR_POSUP) && !IsOn(IDC_TABBAR_POSDOWN))
        return;
    for (int nID : kSideForced) {
        if (bSide)
            ::CheckDlgButton(m_hWnd, nID, BST_CHECKED);
        EnableDlgItem(m_hWnd, nID, !bSide);
    }
    EnableDlgItem(m_hWnd, IDC_TABBAR_WIDTH, bSide || IsOn(IDC_TABBAR_FIXEDWIDTH));
}

void CTabBarPage::OnDesign()
{
    ApplyDesignRule();
}

void CTabBarPage::OnPosition(UINT)
{
    ApplyPositionRule();
}

//--- CDlgSetTab1

IMPLEMENT_DYNCREATE(CDlgSetTab1, CTabBarPage)

BEGIN_MESSAGE_MAP(CDlgSetTab1, CTabBarPage)
    ON_COMMAND(IDC_TABBAR_LINKOPEN, OnLinkRule)
    ON_COMMAND(IDC_TABBAR_WHEELOPEN, OnLinkRule)
END_MESSAGE_MAP()

CDlgSetTab1::CDlgSetTab1()
    : CTabBarPage(IDD_SETTAB1, kPageTabFields, static_cast<int>(sizeof(kPageTabFields) / sizeof(kPageTabFields[0])))
{
}

BOOL CDlgSetTab1::OnInitDialog()
{
    FillMouseLists(m_hWnd, IDS_TABBAR_PAGEMOUSE, kPageMouseItems);
    return CTabBarPage::OnInitDialog();
}

void CDlgSetTab1::ApplyOwnRules()
{
    EnableDlgItem(m_hWnd, IDC_TABBAR_LINKLOCK, IsOn(IDC_TABBAR_LINKOPEN));
    EnableDlgItem(m_hWnd, IDC_TABBAR_WHEELLOCK, IsOn(IDC_TABBAR_WHEELOPEN));
}

void CDlgSetTab1::OnLinkRule()
{
    ApplyOwnRules();
}

//--- CDlgSetTab15

IMPLEMENT_DYNCREATE(CDlgSetTab15, CTabBarPage)

BEGIN_MESSAGE_MAP(CDlgSetTab15, CTabBarPage)
    ON_CONTROL(CBN_SELCHANGE, IDC_TABBAR_NEWACTION, OnNewAction)
    ON_COMMAND(IDC_TABBAR_ACTIVEURL, OnActiveTabUrl)
    ON_COMMAND(IDC_TABBAR_CHANGEIMAGE, OnChangeImage)
    ON_COMMAND_RANGE(ID_TABBAR_IMAGE_FIRST, ID_TABBAR_IMAGE_FIRST + kLastImage, OnPickImage)
END_MESSAGE_MAP()

CDlgSetTab15::CDlgSetTab15()
    : CTabBarPage(IDD_SETTAB15, kGroupTabFields,
                  static_cast<int>(sizeof(kGroupTabFields) / sizeof(kGroupTabFields[0])))
{
}

CDlgSetTab15::~CDlgSetTab15()
{
    if (m_hImage != nullptr)
        ::DestroyIcon(m_hImage);
}

BOOL CDlgSetTab15::OnInitDialog()
{
    FillMouseLists(m_hWnd, IDS_TABBAR_GROUPMOUSE, kGroupMouseItems);
    FillComboStrings(::GetDlgItem(m_hWnd, IDC_TABBAR_NEWACTION), IDS_TABBAR_NEWACTION, kNewActionItems);
    LoadGroupImages(m_images, FormsetApp().GetFolders());
    m_nImage = Settings().iTabImageDef_P;
    ShowImage();
    return CTabBarPage::OnInitDialog();
}

void CDlgSetTab15::ApplyOwnRules()
{
    const bool bUrl = ::SendDlgItemMessageA(m_hWnd, IDC_TABBAR_NEWACTION, CB_GETCURSEL, 0, 0) == kNewActionUrl;
    EnableDlgItem(m_hWnd, IDC_TABBAR_URL, bUrl);
    EnableDlgItem(m_hWnd, IDC_TABBAR_ACTIVEURL, bUrl);
}

void CDlgSetTab15::OnSaveSettings()
{
    CTabBarPage::OnSaveSettings();
    Settings().iTabImageDef_P = static_cast<uint8_t>(m_nImage);
}

void CDlgSetTab15::OnNewAction()
{
    ApplyOwnRules();
}

void CDlgSetTab15::OnActiveTabUrl()
{
    // The main window answers null when no tab is open or its address is
    // empty; then the field stays as it is.
    const CString url = AskMainWindowText(WM_FRAME_GETACTIVEURL);
    if (!url.IsEmpty())
        ::SetDlgItemTextA(m_hWnd, IDC_TABBAR_URL, url);
}

void CDlgSetTab15::OnChangeImage()
{
    // The chosen item's command (36500 + image) comes back to the page.
    CNewMenu picker;
    if (!picker.CreatePopupMenu())
        return;
    AppendGroupImageItems(picker, m_images, kPickerImages, ID_TABBAR_IMAGE_FIRST);
    POINT point = {};
    ::GetCursorPos(&point);
    picker.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, this);
    picker.DestroyMenu();
}

void CDlgSetTab15::OnPickImage(UINT nID)
{
    const int nImage = static_cast<int>(nID) - ID_TABBAR_IMAGE_FIRST;
    m_nImage = nImage < 0 || nImage > kLastImage ? 0 : nImage;
    ShowImage();
}

void CDlgSetTab15::ShowImage()
{
    // An index beyond the strip shows an empty box.
    HICON hIcon = m_images.GetSafeHandle() != nullptr && m_nImage < m_images.GetImageCount()
                      ? ImageList_GetIcon(m_images, m_nImage, ILD_NORMAL)
                      : nullptr;
    ::SendDlgItemMessageA(m_hWnd, IDC_TABBAR_IMAGEBOX, STM_SETICON, reinterpret_cast<WPARAM>(hIcon), 0);
    if (m_hImage != nullptr)
        ::DestroyIcon(m_hImage);
    m_hImage = hIcon;
}
