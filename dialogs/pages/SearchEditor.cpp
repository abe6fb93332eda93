#include "dialogs/pages/SearchEditor.h"

#include "dialogs/core/FileFailure.h"
#include "dialogs/core/FormsetApp.h"
#include "dialogs/pages/SearchEditorRes.h"
#include "dialogs/pages/SettingsPage.h"
#include "framework/core/AtomicFile.h"
#include "framework/win/RedrawGuard.h"
#include "shared/ExternalEditor.h"
#include "shared/FileFailureText.h"

namespace {

// Images of "mjr.bmp": the folder, the open folder, an entry without icon.
const int kFolderImage = 0;
const int kOpenFolderImage = 1;
const int kEntryImage = 2;

// The roles in the order their marks are shown, with the entry dialog's
// check box of each.
struct RoleMark
{
    int bit;
    const char* mark;
    int nCheckID;
};
const RoleMark kRoleMarks[] = {
    { kRoleCurrent, "\x81\x9A", IDC_ENGINE_DEFAULT },   // "★"
    { kRoleDragUp, "\x81\xAA", IDC_ENGINE_UP },         // "↑"
    { kRoleDragRight, "\x81\xA8", IDC_ENGINE_RIGHT },   // "→"
    { kRoleDragDown, "\x81\xAB", IDC_ENGINE_DOWN },     // "↓"
    { kRoleDragLeft, "\x81\xA9", IDC_ENGINE_LEFT },     // "←"
};

const int kEntryOnlyControls[] = {
    IDC_ENGINE_URL, IDC_ENGINE_ICONPATH, IDC_ENGINE_BROWSE, IDC_ENGINE_DEFAULT, IDC_ENGINE_ADDTOOL,
    IDC_ENGINE_UP, IDC_ENGINE_RIGHT, IDC_ENGINE_DOWN, IDC_ENGINE_LEFT,
};

// "アイコン ファイル (*.ico)|*.ico|すべてのファイル (*.*)|*.*|"
const char kIconFilter[] = "\x83\x41\x83\x43\x83R\x83\x93 \x83t\x83@\x83\x43\x83\x8B (*.ico)|*.ico|"
                           "\x82\xB7\x82\xD7\x82\xC4\x82\xCC\x83t\x83@\x83\x43\x83\x8B (*.*)|*.*|";

bool IsContainer(const CSearchEngineNode* pNode)
{
    return pNode != nullptr && pNode->m_kind != CSearchEngineNode::kEntry;
}

} // namespace

//--- CDlgSearchEdit

BEGIN_MESSAGE_MAP(CDlgSearchEdit, CDialog)
    ON_COMMAND(IDC_SEARCHEDIT_NEWITEM, OnNewItem)
    ON_COMMAND(IDC_SEARCHEDIT_NEWFOLDER, OnNewFolder)
    ON_COMMAND(IDC_SEARCHEDIT_EDIT, OnEditItem)
    ON_COMMAND(IDC_SEARCHEDIT_DELETE, OnDeleteItem)
    ON_COMMAND(IDC_SEARCHEDIT_EDITOR, OnEditInEditor)
    ON_NOTIFY(NM_DBLCLK, IDC_SEARCHEDIT_TREE, OnTreeDblClk)
END_MESSAGE_MAP()

CDlgSearchEdit::CDlgSearchEdit() : CDialog(IDD_SEARCHEDIT)
{
}

CDlgSearchEdit::~CDlgSearchEdit() = default;

CString CDlgSearchEdit::WorkingFilePath()
{
    return FormsetApp().GetFolders().ProgramFile("SearchEngine.dat.tmp");
}

void CDlgSearchEdit::ReportFileFailure(HWND hOwner, bool bWrite, DWORD error)
{
    ShowFileFailure(hOwner, bWrite, WorkingFilePath(), FileErrorReason(error));
}

BOOL CDlgSearchEdit::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetPageIcons(m_hWnd);
    m_tree.SubclassDlgItem(IDC_SEARCHEDIT_TREE, this);
    m_tree.RegisterDropTarget();
    // The page has just written the file: a file that cannot be read now
    // must not come back as an empty list.
    if (!LoadWorkingFile()) {
        ReportFileFailure(m_hWnd, false);
        EndDialog(IDCANCEL);
    }
    return TRUE;
}

void CDlgSearchEdit::ResetImages()
{
    m_tree.SetImageList(nullptr, TVSIL_NORMAL);
    m_images.DeleteImageList();
    if (!m_images.Create(16, 16, ILC_COLOR24 | ILC_MASK, 32, 32))
        return;
    m_images.AddBitmapFile(FormsetApp().GetFolders().ResFile("mjr.bmp"), RGB(0xFF, 0x00, 0xFF));
    // Without the strip, icons appended later must still not take its places.
    if (m_images.GetImageCount() <= kEntryImage)
        ImageList_SetImageCount(m_images, kEntryImage + 1);
    m_tree.SetImageList(m_images, TVSIL_NORMAL);
}

bool CDlgSearchEdit::LoadWorkingFile()
{
    std::unique_ptr<CSearchEngineTree> pEngines(new CSearchEngineTree);
    pEngines->Load(WorkingFilePath(), FormsetApp().GetDataFolder());
    if (!pEngines->WasFileRead() || pEngines->GetRoot() == nullptr)
        return false;
    m_tree.DeleteAllItems();
    ResetImages();
    m_records.clear();
    m_created.clear();
    m_pEngines = std::move(pEngines);
    RedrawGuard redraw(m_tree.m_hWnd);
    FillTree(m_pEngines->GetRoot(), TVI_ROOT);
    UpdateItemLabels(m_tree.GetRootItem());
    return true;
}

void CDlgSearchEdit::FillTree(CSearchEngineNode* pNode, HTREEITEM hParent)
{
    SetRoleHolder(pNode);
    if (!IsContainer(pNode)) {
        InsertNode(pNode, hParent, TVI_LAST);
        return;
    }
    for (INT_PTR i = 0; i < pNode->GetChildCount(); ++i) {
        CSearchEngineNode* pChild = pNode->GetChild(i);
        HTREEITEM hItem = InsertNode(pChild, hParent, TVI_LAST);
        if (IsContainer(pChild) && hItem != nullptr)
            FillTree(pChild, hItem);
        else
            SetRoleHolder(pChild);
    }
}

HTREEITEM CDlgSearchEdit::InsertNode(CSearchEngineNode* pNode, HTREEITEM hParent, HTREEITEM hAfter)
{
    std::unique_ptr<CSearchEditItem> pRecord(new CSearchEditItem);
    pRecord->m_pNode = pNode;
    pRecord->m_nKind = IsContainer(pNode) ? CDragTreeItem::kFolder : CDragTreeItem::kEntry;
    const int nImage = IsContainer(pNode) ? kFolderImage : AppendIcon(pNode->m_icon);
    const int nSelected = IsContainer(pNode) ? kOpenFolderImage : nImage;
    HTREEITEM hItem = m_tree.InsertItemEx(hParent, hAfter, pNode->m_label, nImage, nSelected,
                                          reinterpret_cast<LPARAM>(pRecord.get()));
    if (hItem != nullptr)
        m_records.push_back(std::move(pRecord));
    return hItem;
}

int CDlgSearchEdit::AppendIcon(SearchEngineIcon icon)
{
    const int nImage = icon != nullptr && m_images.GetSafeHandle() != nullptr
        ? m_images.Add(static_cast<HICON>(icon)) : -1;
    return nImage >= 0 ? nImage : kEntryImage;
}

CSearchEngineNode* CDlgSearchEdit::NodeOf(HTREEITEM hItem) const
{
    const CSearchEditItem* pRecord =
        hItem != nullptr ? reinterpret_cast<const CSearchEditItem*>(m_tree.GetItemData(hItem)) : nullptr;
    return pRecord != nullptr ? pRecord->m_pNode : nullptr;
}

void CDlgSearchEdit::SetRoleHolder(CSearchEngineNode* pNode)
{
    if (m_pEngines != nullptr && pNode != nullptr && pNode->IsEntry())
        m_pEngines->TakeRoles(pNode);
}

void CDlgSearchEdit::UpdateItemLabels(HTREEITEM hFirst)
{
    for (HTREEITEM hItem = hFirst; hItem != nullptr; hItem = m_tree.GetNextSiblingItem(hItem)) {
        HTREEITEM hChild = m_tree.GetChildItem(hItem);
        if (hChild != nullptr) {
            UpdateItemLabels(hChild);
            continue;
        }
        const CSearchEngineNode* pNode = NodeOf(hItem);
        if (pNode == nullptr)
            continue;
        CString marks;
        for (const RoleMark& role : kRoleMarks) {
            if (m_pEngines != nullptr && m_pEngines->GetRoleHolder(role.bit) == pNode)
                marks += role.mark;
        }
        SetItemText(hItem, marks.IsEmpty() ? pNode->m_label : "[" + marks + "]" + pNode->m_label);
    }
}

void CDlgSearchEdit::SetItemText(HTREEITEM hItem, const CString& text)
{
    TVITEMA item = {};
    item.mask = TVIF_TEXT;
    item.hItem = hItem;
    item.pszText = const_cast<LPSTR>(static_cast<LPCSTR>(text));
    m_tree.SetItem(&item);
}

void CDlgSearchEdit::SetItemImage(HTREEITEM hItem, int nImage, int nSelectedImage)
{
    TVITEMA item = {};
    item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.hItem = hItem;
    item.iImage = nImage;
    item.iSelectedImage = nSelectedImage;
    m_tree.SetItem(&item);
}

void CDlgSearchEdit::ChooseInsertPlace(HTREEITEM& hParent, HTREEITEM& hAfter) const
{
    hParent = TVI_ROOT;
    hAfter = TVI_LAST;
    HTREEITEM hSelected = m_tree.GetSelectedItem();
    if (hSelected == nullptr)
        return;
    if (IsContainer(NodeOf(hSelected))) {
        hParent = hSelected;
        return;
    }
    HTREEITEM hUp = m_tree.GetParentItem(hSelected);
    hParent = hUp != nullptr ? hUp : TVI_ROOT;
    hAfter = hSelected;
}

void CDlgSearchEdit::OnNewItem()
{
    if (m_pEngines == nullptr)
        return;
    HTREEITEM hParent = nullptr;
    HTREEITEM hAfter = nullptr;
    ChooseInsertPlace(hParent, hAfter);
    CDlgSearchEngine dialog;
    if (dialog.DoModal() != IDOK)
        return;
    std::unique_ptr<CSearchEngineNode> pNode(
        new CSearchEngineNode(dialog.m_bFolder ? CSearchEngineNode::kFolder : CSearchEngineNode::kEntry));
    pNode->m_label = dialog.m_strLabel;
    pNode->m_url = dialog.m_strUrl;
    pNode->m_state = dialog.m_nState;
    pNode->m_addTool = dialog.m_nAddTool;
    // The icon resolves as the file's do; a path that does not load is not kept.
    pNode->m_icon = m_pEngines->LoadIconFile(dialog.m_strIconPath);
    if (pNode->m_icon != nullptr)
        pNode->m_iconPath = dialog.m_strIconPath;
    CSearchEngineNode* pAdded = pNode.get();
    m_created.push_back(std::move(pNode));
    InsertNode(pAdded, hParent, hAfter);
    SetRoleHolder(pAdded);
    UpdateItemLabels(m_tree.GetRootItem());
}

void CDlgSearchEdit::OnNewFolder()
{
    if (m_pEngines == nullptr)
        return;
    HTREEITEM hParent = nullptr;
    HTREEITEM hAfter = nullptr;
    ChooseInsertPlace(hParent, hAfter);
    CDlgSearchEngine dialog;
    dialog.m_bFolder = true;
    if (dialog.DoModal() != IDOK)
        return;
    std::unique_ptr<CSearchEngineNode> pNode(new CSearchEngineNode(CSearchEngineNode::kFolder));
    pNode->m_label = dialog.m_strLabel;
    CSearchEngineNode* pAdded = pNode.get();
    m_created.push_back(std::move(pNode));
    InsertNode(pAdded, hParent, TVI_FIRST);
}

void CDlgSearchEdit::OnEditItem()
{
    HTREEITEM hItem = m_tree.GetSelectedItem();
    CSearchEngineNode* pNode = NodeOf(hItem);
    if (pNode == nullptr || m_pEngines == nullptr)
        return;
    CDlgSearchEngine dialog;
    dialog.m_strLabel = pNode->m_label;
    dialog.m_strUrl = pNode->m_url;
    dialog.m_strIconPath = pNode->m_iconPath;
    dialog.m_nState = pNode->m_state;
    dialog.m_nAddTool = pNode->m_addTool;
    dialog.m_bFolder = IsContainer(pNode);
    if (dialog.DoModal() != IDOK)
        return;
    pNode->m_label = dialog.m_strLabel;
    pNode->m_url = dialog.m_strUrl;
    pNode->m_addTool = dialog.m_nAddTool;
    pNode->m_state = dialog.m_nState;
    if (!IsContainer(pNode))
        ChangeIcon(hItem, pNode, dialog.m_strIconPath);
    // Roles un-ticked end this node's holding of them too.
    SetRoleHolder(pNode);
    SetItemText(hItem, pNode->m_label);
    UpdateItemLabels(m_tree.GetRootItem());
}

void CDlgSearchEdit::ChangeIcon(HTREEITEM hItem, CSearchEngineNode* pNode, const CString& path)
{
    // An emptied path removes the icon; a new icon that does not load
    // leaves the old one and its path.
    SearchEngineIcon icon = nullptr;
    if (path.CompareNoCase(pNode->m_iconPath) == 0) {
        pNode->m_iconPath = path;
        return;
    }
    if (!path.IsEmpty()) {
        icon = m_pEngines->LoadIconFile(path);
        if (icon == nullptr)
            return;
    }
    DestroySearchEngineIcon(pNode->m_icon);
    pNode->m_icon = icon;
    pNode->m_iconPath = path;
    const int nImage = AppendIcon(icon);
    SetItemImage(hItem, nImage, nImage);
}

void CDlgSearchEdit::OnTreeDblClk(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    OnEditItem();
}

void CDlgSearchEdit::OnDeleteItem()
{
    // The nodes stay until the dialog ends; a deleted holder's role is
    // written nowhere, since the writer walks the items.
    if (HTREEITEM hItem = m_tree.GetSelectedItem())
        m_tree.DeleteItem(hItem);
}

void CDlgSearchEdit::OnEditInEditor()
{
    if (::MessageBoxA(m_hWnd, FormsetApp().GetMessageString(31), FormsetApp().GetProductName(), MB_YESNO) != IDYES)
        return;
    DWORD error = 0;
    if (!WriteWorkingFile(&error)) {
        ReportFileFailure(m_hWnd, true, error);
        return;
    }
    // An editor that does not start leaves the file as just written.
    RunEditorAndWait(ReadEditorCommand(FormsetApp().GetRegString(3)), WorkingFilePath(), m_hWnd);
    if (!LoadWorkingFile())
        ReportFileFailure(m_hWnd, false);
}

void CDlgSearchEdit::OnOK()
{
    // The edits are lost if the dialog ends with a file that was not written.
    DWORD error = 0;
    if (!WriteWorkingFile(&error)) {
        ReportFileFailure(m_hWnd, true, error);
        return;
    }
    EndDialog(IDOK);
}

bool CDlgSearchEdit::WriteWorkingFile(DWORD* pError)
{
    CAtomicTextFile file;
    if (!file.Begin(WorkingFilePath()))
        return false;
    file.WriteString("ROOT:\n");
    WriteSearchEngineFolder(file, m_tree.GetRootItem(), 1);
    file.WriteString("ENDROOT:\n");
    return file.Commit(pError) != FALSE;
}

void CDlgSearchEdit::WriteSearchEngineFolder(CStdioFile& file, HTREEITEM hFirst, int depth) const
{
    // The order and nesting the user sees, not the node tree's.
    for (HTREEITEM hItem = hFirst; hItem != nullptr; hItem = m_tree.GetNextSiblingItem(hItem)) {
        const CSearchEngineNode* pNode = NodeOf(hItem);
        if (pNode == nullptr)
            continue;
        pNode->WriteHead(file, depth);
        if (IsContainer(pNode)) {
            WriteSearchEngineFolder(file, m_tree.GetChildItem(hItem), depth + 1);
            pNode->WriteTail(file, depth);
        }
    }
}

//--- CDlgSearchEngine

BEGIN_MESSAGE_MAP(CDlgSearchEngine, CDialog)
    ON_COMMAND(IDC_ENGINE_BROWSE, OnBrowseIcon)
END_MESSAGE_MAP()

CDlgSearchEngine::CDlgSearchEngine() : CDialog(IDD_SEARCHENGINE)
{
}

CDlgSearchEngine::~CDlgSearchEngine()
{
    if (m_hIcon != nullptr)
        ::DestroyIcon(m_hIcon);
}

BOOL CDlgSearchEngine::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetPageIcons(m_hWnd);
    ::SetDlgItemTextA(m_hWnd, IDC_ENGINE_TITLE, m_strLabel);
    if (m_bFolder) {
        for (int nID : kEntryOnlyControls)
            EnableDlgItem(m_hWnd, nID, false);
        return TRUE;
    }
    ::SetDlgItemTextA(m_hWnd, IDC_ENGINE_URL, m_strUrl);
    ::SetDlgItemTextA(m_hWnd, IDC_ENGINE_ICONPATH, m_strIconPath);
    ShowIcon(m_strIconPath);
    for (const RoleMark& role : kRoleMarks)
        ::CheckDlgButton(m_hWnd, role.nCheckID, (m_nState & role.bit) != 0 ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(m_hWnd, IDC_ENGINE_ADDTOOL, m_nAddTool == 1 ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

void CDlgSearchEngine::ShowIcon(const CString& path)
{
    HICON hIcon = static_cast<HICON>(LoadSearchEngineIconIn(FormsetApp().GetDataFolder(), path));
    ::SendDlgItemMessageA(m_hWnd, IDC_ENGINE_ICON, STM_SETICON, reinterpret_cast<WPARAM>(hIcon), 0);
    if (m_hIcon != nullptr)
        ::DestroyIcon(m_hIcon);
    m_hIcon = hIcon;
}

void CDlgSearchEngine::OnBrowseIcon()
{
    CFormsetApp& app = FormsetApp();
    // The line is a filter only when it holds the "|" separators (an older
    // etc.dat holds another text there).
    CString filter = app.GetEtcString(81);
    if (filter.Find('|') < 0)
        filter = kIconFilter;
    CString path;
    if (!AfxPromptOpenFile(m_hWnd, filter, app.GetEtcString(48), OFN_HIDEREADONLY, path) || path.IsEmpty())
        return;
    // A file inside the program folder is kept relative to it.
    const CString& folder = app.GetDataFolder();
    if (!folder.IsEmpty() && path.GetLength() > folder.GetLength() &&
        path.Left(folder.GetLength()).CompareNoCase(folder) == 0)
        path = ".\\" + path.Mid(folder.GetLength());
    ShowIcon(path);
    ::SetDlgItemTextA(m_hWnd, IDC_ENGINE_ICONPATH, path);
}

void CDlgSearchEngine::OnOK()
{
    const CString label = PageItemText(m_hWnd, IDC_ENGINE_TITLE);
    const CString url = m_bFolder ? CString() : PageItemText(m_hWnd, IDC_ENGINE_URL);
    if (label.IsEmpty() || (!m_bFolder && url.IsEmpty())) {
        ::MessageBoxA(m_hWnd, FormsetApp().GetMessageString(label.IsEmpty() ? 5 : 2), FormsetApp().GetProductName(),
                      MB_OK);
        ::SetFocus(::GetDlgItem(m_hWnd, label.IsEmpty() ? IDC_ENGINE_TITLE : IDC_ENGINE_URL));
        return;
    }
    m_strLabel = label;
    m_strUrl = url;
    if (!m_bFolder) {
        m_strIconPath = PageItemText(m_hWnd, IDC_ENGINE_ICONPATH);
        m_nAddTool = ::IsDlgButtonChecked(m_hWnd, IDC_ENGINE_ADDTOOL) == BST_CHECKED ? 1 : 0;
        m_nState = 0;
        for (const RoleMark& role : kRoleMarks) {
            if (::IsDlgButtonChecked(m_hWnd, role.nCheckID) == BST_CHECKED)
                m_nState |= role.bit;
        }
    }
    EndDialog(IDOK);
}
