#include "dialogs/pages/GroupTabPage.h"

#include "dialogs/core/FileFailure.h"
#include "dialogs/core/FormsetApp.h"
#include "dialogs/pages/GroupTabPageRes.h"
#include "lists/GroupTabDefs.h"
#include "menulib/NewMenu.h"
#include "shared/DataFields.h"
#include "shared/FrameMessages.h"
#include "shared/GroupImageMenu.h"
#include "tab/TabGroup.h"
#include "tab/TabItem.h"

const GroupTabSwitch kGroupTabSwitches[10] = {
    { 0x10, true }, { 0x40, true }, { 0x20, true }, { 0x1, true }, { 0x80, false },
    { 0x100, false }, { 0x200, false }, { 0x400, false }, { 0x4000, true }, { 0x40000000, true },
};

namespace {

const int kSwitchWidths[10] = { 40, 28, 48, 44, 65, 40, 62, 62, 67, 62 };
// The customise dialog's check box of each switch.
const int kSwitchChecks[10] = {
    IDC_PTAB_IMAGES, IDC_PTAB_SOUNDS, IDC_PTAB_VIDEOS, IDC_PTAB_FLASH, IDC_PTAB_SCRIPTS,
    IDC_PTAB_JAVA, IDC_PTAB_ACTIVEX, IDC_PTAB_ACTIVEXDL, IDC_PTAB_NOCACHE, IDC_PTAB_SILENT,
};
const int kButtons[] = { IDC_PTAB_ADDCURRENT, IDC_PTAB_NEW, IDC_PTAB_DELETE, IDC_PTAB_UP, IDC_PTAB_DOWN };
const int kPickerImages = 30;
const int kLastImage = 30;

CString GroupTabPath(const char* name)
{
    return FormsetApp().GetFolders().ProgramFile(name);
}

CTabGroup* CurrentGroup()
{
    return reinterpret_cast<CTabGroup*>(::SendMessageA(FormsetApp().m_hMainWnd, WM_FRAME_GETCURRENTGROUP, 0, 0));
}

bool IsWindowOfThisThread(HWND hWnd)
{
    return hWnd != nullptr && ::IsWindow(hWnd) && ::GetWindowThreadProcessId(hWnd, nullptr) == ::GetCurrentThreadId();
}

int PickedImage(UINT nID)
{
    const int nImage = static_cast<int>(nID) - ID_PTAB_IMAGE_FIRST;
    return nImage < 0 || nImage > kLastImage ? 0 : nImage;
}

} // namespace

DWORD GroupTabWordOf(const bool on[10])
{
    DWORD word = 0;
    for (int i = 0; i < 10; ++i) {
        if (on[i] == kGroupTabSwitches[i].bOnWhenSet)
            word |= kGroupTabSwitches[i].bit;
    }
    return word;
}

bool IsGroupTabSwitchOn(DWORD word, int nSwitch)
{
    return ((word & kGroupTabSwitches[nSwitch].bit) != 0) == kGroupTabSwitches[nSwitch].bOnWhenSet;
}

bool LoadGroupTabImages(CImageList& images)
{
    if (images.GetSafeHandle() != nullptr)
        return true;
    // A list without the strip is not kept: the rows then show no image.
    if (!LoadGroupImages(images, FormsetApp().GetFolders()) || images.GetImageCount() == 0) {
        images.DeleteImageList();
        return false;
    }
    return true;
}

void TrackGroupImagePicker(CWnd* pOwner, CImageList& images)
{
    CNewMenu picker;
    if (!picker.CreatePopupMenu())
        return;
    AppendGroupImageItems(picker, images, kPickerImages, ID_PTAB_IMAGE_FIRST);
    POINT point = {};
    ::GetCursorPos(&point);
    picker.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, pOwner);
    picker.DestroyMenu();
}

//--- CDlgPTabSC

IMPLEMENT_DYNCREATE(CDlgPTabSC, CSettingsListPage)

BEGIN_MESSAGE_MAP(CDlgPTabSC, CSettingsListPage)
    ON_NOTIFY(LVN_COLUMNCLICK, IDC_PTAB_LIST, OnColumnClick)
    ON_NOTIFY(NM_DBLCLK, IDC_PTAB_LIST, OnDblClick)
    ON_COMMAND(IDC_PTAB_ADDCURRENT, OnAddCurrentGroup)
    ON_COMMAND(IDC_PTAB_NEW, OnNew)
    ON_COMMAND(IDC_PTAB_DELETE, OnDelete)
    ON_COMMAND(IDC_PTAB_UP, OnMoveUp)
    ON_COMMAND(IDC_PTAB_DOWN, OnMoveDown)
    ON_COMMAND_RANGE(ID_PTAB_IMAGE_FIRST, ID_PTAB_IMAGE_FIRST + kLastImage, OnPickImage)
END_MESSAGE_MAP()

CDlgPTabSC::CDlgPTabSC() : CSettingsListPage(IDD_PTABSC, IDC_PTAB_LIST)
{
}

void CDlgPTabSC::ConfigureDefinitions(CWnd* pPage)
{
    if (CDlgPTabSC* page = dynamic_cast<CDlgPTabSC*>(pPage))
        page->m_nMode = 1;
}

void CDlgPTabSC::ConfigureLive(CWnd* pPage)
{
    if (CDlgPTabSC* page = dynamic_cast<CDlgPTabSC*>(pPage)) {
        page->m_nMode = 0;
        page->m_list.m_bDragEnabled = FALSE;
    }
}

BOOL CDlgPTabSC::OnInitDialog()
{
    CSettingsListPage::OnInitDialog();
    CFormsetApp& app = FormsetApp();
    m_layout.AddControl(&m_list, CAnchorLayout::kLeft | CAnchorLayout::kTop | CAnchorLayout::kRight |
                                     CAnchorLayout::kBottom);
    if (m_nMode == 1) {
        m_list.m_bDragEnabled = TRUE;
        for (int nID : kButtons) {
            m_layout.AddControl(GetDlgItem(nID), CAnchorLayout::kLeft | CAnchorLayout::kKeepWidth |
                                                     CAnchorLayout::kBottom | CAnchorLayout::kKeepHeight);
        }
        m_list.InsertColumn(0, "", LVCFMT_LEFT, 25);
        m_list.InsertColumn(1, app.GetDlgString(16), LVCFMT_LEFT, 150);
        if (LoadGroupTabImages(m_images))
            m_list.SetImageList(m_images, LVSIL_SMALL);
    } else {
        m_list.m_bDragEnabled = FALSE;
        HideDlgItems(m_hWnd, kButtons, static_cast<int>(sizeof(kButtons) / sizeof(kButtons[0])));
        m_list.InsertColumn(0, app.GetDlgString(16), LVCFMT_LEFT, 150);
        m_list.InsertColumn(1, app.GetDlgString(17), LVCFMT_LEFT, 150);
    }
    for (int i = 0; i < 10; ++i)
        m_list.InsertColumn(FirstSwitchColumn() + i, app.GetDlgString(6 + i), LVCFMT_CENTER, kSwitchWidths[i]);
    m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_FULLROWSELECT);

    if (m_nMode == 0) {
        m_pGroup = CurrentGroup();
        if (m_pGroup != nullptr) {
            for (CTabItem* tab : m_pGroup->m_tabs) {
                if (tab != nullptr)
                    AppendRow(tab->m_title, tab->m_url, tab->m_pageOptions, -1,
                              reinterpret_cast<LPARAM>(tab->m_hFrame));
            }
        }
        return TRUE;
    }
    std::vector<GroupTabDef> defs;
    const FileReadState state =
        ReadGroupTabDefsForEditing(GroupTabPath("GroupTab.dat"), GroupTabPath("GroupTabDefdefault.dat"), defs);
    m_bKeepFile = TellIfUnreadable(m_hWnd, state);
    for (const GroupTabDef& def : defs)
        AppendRow("", def.name, def.switches, def.image, 0);
    return TRUE;
}

int CDlgPTabSC::AppendRow(const CString& text0, const CString& text1, DWORD word, int nImage, LPARAM data)
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM | (nImage >= 0 ? LVIF_IMAGE : 0);
    item.iItem = m_list.GetItemCount();
    item.pszText = const_cast<LPSTR>(static_cast<LPCSTR>(text0));
    item.iImage = nImage;
    item.lParam = data;
    const int nRow = m_list.InsertItem(&item);
    if (nRow < 0)
        return -1;
    m_list.SetItemText(nRow, 1, text1);
    for (int i = 0; i < 10; ++i)
        m_list.SetItemText(nRow, FirstSwitchColumn() + i, CellText(IsGroupTabSwitchOn(word, i)));
    return nRow;
}

DWORD CDlgPTabSC::RowWord(int nRow) const
{
    bool on[10];
    for (int i = 0; i < 10; ++i)
        on[i] = m_list.GetItemText(nRow, FirstSwitchColumn() + i) == kCellOn;
    return GroupTabWordOf(on);
}

int CDlgPTabSC::RowImage(int nRow) const
{
    LVITEMA item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = nRow;
    ::SendMessageA(m_list.m_hWnd, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.iImage;
}

void CDlgPTabSC::OnColumnClick(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    const int nColumn = reinterpret_cast<NMLISTVIEW*>(pNMHDR)->iSubItem;
    if (nColumn >= FirstSwitchColumn())
        ToggleColumn(nColumn, IsShiftDown());
}

void CDlgPTabSC::OnDblClick(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    const NMITEMACTIVATE* info = reinterpret_cast<const NMITEMACTIVATE*>(pNMHDR);
    const int nRow = info->iItem;
    if (nRow < 0 || nRow >= m_list.GetItemCount())
        return;
    if (info->iSubItem >= FirstSwitchColumn()) {
        ToggleCell(nRow, info->iSubItem);
    } else if (m_nMode == 1 && info->iSubItem == 1) {
        CDlgPTabRename dialog;
        dialog.m_strName = m_list.GetItemText(nRow, 1);
        if (dialog.DoModal() == IDOK)
            m_list.SetItemText(nRow, 1, dialog.m_strName);
    } else if (m_nMode == 1 && info->iSubItem == 0) {
        TrackGroupImagePicker(this, m_images);
    }
}

void CDlgPTabSC::OnPickImage(UINT nID)
{
    const int nRow = GetSingleSelectedRow();
    if (m_nMode != 1 || nRow < 0)
        return;
    LVITEMA item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = nRow;
    item.iImage = PickedImage(nID);
    ::SendMessageA(m_list.m_hWnd, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void CDlgPTabSC::OnAddCurrentGroup()
{
    CTabGroup* group = CurrentGroup();
    if (m_nMode == 1 && group != nullptr)
        AppendRow("", group->m_captionTemplate, group->m_options, group->m_image, 0);
}

void CDlgPTabSC::OnNew()
{
    if (m_nMode != 1)
        return;
    CDlgPTabRename dialog;
    dialog.m_strName = Settings().strTitle_P;
    if (dialog.DoModal() == IDOK)
        AppendRow("", dialog.m_strName, Settings().dwDLControlFlags, 0, 0);
}

void CDlgPTabSC::OnDelete()
{
    if (m_nMode == 1)
        DeleteSelectedRows();
}

void CDlgPTabSC::OnMoveUp()
{
    if (m_nMode == 1)
        MoveSelectedRow(-1);
}

void CDlgPTabSC::OnMoveDown()
{
    if (m_nMode == 1)
        MoveSelectedRow(1);
}

void CDlgPTabSC::OnSaveSettings()
{
    CSettingsListPage::OnSaveSettings();
    if (m_nMode == 1)
        SaveDefinitions();
    else
        SaveLive();
}

void CDlgPTabSC::SaveDefinitions()
{
    if (m_bKeepFile)
        return;
    std::vector<GroupTabDef> defs;
    const int nCount = m_list.GetItemCount();
    for (int nRow = 0; nRow < nCount; ++nRow) {
        GroupTabDef def;
        def.name = m_list.GetItemText(nRow, 1);
        def.switches = RowWord(nRow);
        def.image = RowImage(nRow);
        defs.push_back(def);
    }
    const CString path = GroupTabPath("GroupTab.dat");
    DWORD error = 0;
    if (!WriteGroupTabDefs(path, defs, &error))
        TellNotSaved(m_hWnd, path, error);
}

void CDlgPTabSC::SaveLive()
{
    // Timers and scripts may have closed tabs, or the group, while the page
    // was open: only tabs still listed in the same group with the row's
    // frame are written.
    HWND hMain = FormsetApp().m_hMainWnd;
    CTabGroup* group = CurrentGroup();
    if (group != nullptr && group == m_pGroup) {
        const int nCount = m_list.GetItemCount();
        for (int nRow = 0; nRow < nCount; ++nRow) {
            const HWND hFrame = reinterpret_cast<HWND>(m_list.GetItemData(nRow));
            CTabItem* tab = nullptr;
            for (CTabItem* candidate : group->m_tabs) {
                if (candidate != nullptr && candidate->m_hFrame == hFrame)
                    tab = candidate;
            }
            const DWORD word = RowWord(nRow);
            if (tab == nullptr || tab->m_pageOptions == word)
                continue;
            tab->m_pageOptions = word;
            ::SendMessageA(hMain, WM_FRAME_APPLYTABSECURITY, reinterpret_cast<WPARAM>(tab), 0);
        }
    }
    ::SendMessageA(hMain, WM_FRAME_APPLYDONE, 0, 0);
}

//--- CDlgPTabRename

CDlgPTabRename::CDlgPTabRename() : CDialog(IDD_PTABRENAME)
{
}

BOOL CDlgPTabRename::OnInitDialog()
{
    CDialog::OnInitDialog();
    ::SetDlgItemTextA(m_hWnd, IDC_PTAB_NAME, m_strName);
    SetPageIcons(m_hWnd);
    return TRUE;
}

void CDlgPTabRename::OnOK()
{
    CString name = PageItemText(m_hWnd, IDC_PTAB_NAME);
    name.Trim();
    // "｀" separates the fields of "GroupTab.dat".
    const CString cleaned = DataFields::CleanTitleField(name);
    if (cleaned.IsEmpty()) {
        ::MessageBoxA(m_hWnd, FormsetApp().GetMessageString(16), FormsetApp().GetProductName(), MB_OK);
        ::SetFocus(::GetDlgItem(m_hWnd, IDC_PTAB_NAME));
        return;
    }
    m_strName = cleaned;
    EndDialog(IDOK);
}

//--- CDlgPTabCustom

BEGIN_MESSAGE_MAP(CDlgPTabCustom, CNewDialog)
    ON_COMMAND(IDC_PTAB_CHANGEIMAGE, OnChangeImage)
    ON_COMMAND_RANGE(ID_PTAB_IMAGE_FIRST, ID_PTAB_IMAGE_FIRST + kLastImage, OnPickImage)
END_MESSAGE_MAP()

CDlgPTabCustom::CDlgPTabCustom() : CNewDialog(IDD_PTABCUSTOM)
{
}

CDlgPTabCustom::~CDlgPTabCustom()
{
    if (m_hPreview != nullptr)
        ::DestroyIcon(m_hPreview);
}

BOOL CDlgPTabCustom::OnInitDialog()
{
    CNewDialog::OnInitDialog();
    SetPageIcons(m_hWnd);
    if (m_pGroup == nullptr)
        return TRUE;
    m_hMain = FindMainWindow();
    m_nGroupNumber = m_pGroup->m_number;
    m_nImage = m_pGroup->m_image;
    LoadGroupTabImages(m_images);
    ShowImage();
    m_strTitle = m_pGroup->m_captionTemplate;
    ::SetDlgItemTextA(m_hWnd, IDC_PTAB_NAME, m_strTitle);
    for (int i = 0; i < 10; ++i) {
        ::CheckDlgButton(m_hWnd, kSwitchChecks[i],
                         IsGroupTabSwitchOn(m_pGroup->m_options, i) ? BST_CHECKED : BST_UNCHECKED);
    }
    return TRUE;
}

void CDlgPTabCustom::ShowImage()
{
    HICON hIcon = m_images.GetSafeHandle() != nullptr ? ImageList_GetIcon(m_images, m_nImage, ILD_NORMAL) : nullptr;
    ::SendDlgItemMessageA(m_hWnd, IDC_PTAB_PREVIEW, STM_SETICON, reinterpret_cast<WPARAM>(hIcon), 0);
    if (m_hPreview != nullptr)
        ::DestroyIcon(m_hPreview);
    m_hPreview = hIcon;
}

void CDlgPTabCustom::OnChangeImage()
{
    TrackGroupImagePicker(this, m_images);
}

void CDlgPTabCustom::OnPickImage(UINT nID)
{
    m_nImage = PickedImage(nID);
    ShowImage();
}

HWND CDlgPTabCustom::FindMainWindow() const
{
    // The export is given no main window: the one a settings export stored,
    // else the one that holds the group's tabs, else the one the modal loop
    // disables.
    if (IsWindowOfThisThread(FormsetApp().m_hMainWnd))
        return FormsetApp().m_hMainWnd;
    for (const CTabItem* tab : m_pGroup->m_tabs) {
        if (tab != nullptr && IsWindowOfThisThread(tab->m_hFrame))
            return ::GetAncestor(tab->m_hFrame, GA_ROOT);
    }
    HWND hOwner = ::GetWindow(m_hWnd, GW_OWNER);
    return IsWindowOfThisThread(hOwner) ? hOwner : nullptr;
}

CTabGroup* CDlgPTabCustom::LiveGroup() const
{
    if (m_pGroup == nullptr || m_hMain == nullptr || !::IsWindow(m_hMain))
        return nullptr;
    CTabGroup* current = reinterpret_cast<CTabGroup*>(::SendMessageA(m_hMain, WM_FRAME_GETCURRENTGROUP, 0, 0));
    return current == m_pGroup && current->m_number == m_nGroupNumber ? current : nullptr;
}

void CDlgPTabCustom::OnOK()
{
    // The modal loop runs the main window's timers and pages, which may
    // close the group's last tab and so free the group: it is looked up
    // again, and a group that is gone gets nothing.
    if (CTabGroup* group = LiveGroup()) {
        group->m_image = static_cast<BYTE>(m_nImage);
        bool on[10];
        for (int i = 0; i < 10; ++i)
            on[i] = ::IsDlgButtonChecked(m_hWnd, kSwitchChecks[i]) == BST_CHECKED;
        group->m_options = GroupTabWordOf(on);
    }
    m_strTitle = PageItemText(m_hWnd, IDC_PTAB_NAME);
    EndDialog(IDOK);
}
