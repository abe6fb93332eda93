#include "dialogs/pages/SearchPage.h"

#include "dialogs/core/FileFailure.h"
#include "dialogs/core/FormsetApp.h"
#include "dialogs/pages/SearchEditor.h"
#include "dialogs/pages/SearchPageRes.h"
#include "lists/SearchEngineMenu.h"
#include "lists/WebSearch.h"
#include "menulib/NewMenu.h"
#include "shared/FrameMessages.h"

namespace {

const PageField kFields[] = {
    BitField(IDC_SEARCH_NEWGROUP, "iParentTabNewRule", 6),     // kRuleSearchNewGroup
    BitField(IDC_SEARCH_FOLDERGROUP, "iParentTabNewRule", 7),  // kRuleFolderSearchNewGroup
};
static_assert(kRuleSearchNewGroup == 0x40 && kRuleFolderSearchNewGroup == 0x80, "the page's two bits");

// Each role: its bit, the first id of its menu range and the field that
// shows its engine (0: the default engine's fields).
struct Role
{
    int bit;
    UINT nFirstID;
    int nButtonID;
    int nTextID;
};

const Role kRoles[] = {
    { kRoleCurrent, ID_SEARCH_DEFAULT_FIRST, IDC_SEARCH_DEFAULT, 0 },
    { kRoleDragUp, ID_SEARCH_UP_FIRST, IDC_SEARCH_UP, IDC_SEARCH_UPTEXT },
    { kRoleDragRight, ID_SEARCH_RIGHT_FIRST, IDC_SEARCH_RIGHT, IDC_SEARCH_RIGHTTEXT },
    { kRoleDragDown, ID_SEARCH_DOWN_FIRST, IDC_SEARCH_DOWN, IDC_SEARCH_DOWNTEXT },
    { kRoleDragLeft, ID_SEARCH_LEFT_FIRST, IDC_SEARCH_LEFT, IDC_SEARCH_LEFTTEXT },
};

const Role* RoleOfId(UINT nID)
{
    for (const Role& role : kRoles) {
        if (nID >= role.nFirstID && nID < role.nFirstID + CSearchEngineTree::kCommandCount)
            return &role;
    }
    return nullptr;
}

CString EnginesPath()
{
    return FormsetApp().GetFolders().ProgramFile("SearchEngine.dat");
}

} // namespace

IMPLEMENT_DYNCREATE(CDlgSetTab18, CSettingsPage)

BEGIN_MESSAGE_MAP(CDlgSetTab18, CSettingsPage)
    ON_COMMAND(IDC_SEARCH_DEFAULT, OnDefaultEngineMenu)
    ON_COMMAND_RANGE(IDC_SEARCH_LEFT, IDC_SEARCH_DOWN, OnDirectionMenu)
    ON_COMMAND(IDC_SEARCH_EDITLIST, OnEditSearchList)
    ON_COMMAND_RANGE(ID_SEARCH_DEFAULT_FIRST, ID_SEARCH_DEFAULT_FIRST + 511, OnPickEngine)
    ON_COMMAND_RANGE(ID_SEARCH_UP_FIRST, ID_SEARCH_UP_FIRST + 511, OnPickEngine)
    ON_COMMAND_RANGE(ID_SEARCH_RIGHT_FIRST, ID_SEARCH_RIGHT_FIRST + 511, OnPickEngine)
    ON_COMMAND_RANGE(ID_SEARCH_DOWN_FIRST, ID_SEARCH_DOWN_FIRST + 511, OnPickEngine)
    ON_COMMAND_RANGE(ID_SEARCH_LEFT_FIRST, ID_SEARCH_LEFT_FIRST + 511, OnPickEngine)
END_MESSAGE_MAP()

CDlgSetTab18::CDlgSetTab18()
    : CSettingsPage(IDD_SETTAB18, kFields, static_cast<int>(sizeof(kFields) / sizeof(kFields[0]))),
      m_pTree(new CSearchEngineTree)
{
}

BOOL CDlgSetTab18::OnInitDialog()
{
    CSettingsPage::OnInitDialog();
    LoadEngines();
    return TRUE;
}

void CDlgSetTab18::LoadEngines()
{
    const CString path = EnginesPath();
    std::unique_ptr<CSearchEngineTree> pTree(new CSearchEngineTree);
    pTree->Load(path, FormsetApp().GetDataFolder());
    m_bTreeRead = pTree->WasFileRead();
    m_bFileKept = TellIfUnreadable(m_hWnd, pTree->GetReadState());
    ReplaceTree(std::move(pTree));
}

void CDlgSetTab18::ReplaceTree(std::unique_ptr<CSearchEngineTree> pTree)
{
    // The icon of the old default goes with the old tree.
    ::SendDlgItemMessageA(m_hWnd, IDC_SEARCH_ICON, STM_SETICON, 0, 0);
    m_pTree = std::move(pTree);
    ShowRoles();
}

void CDlgSetTab18::ShowDefault(const CSearchEngineNode* engine)
{
    ::SetDlgItemTextA(m_hWnd, IDC_SEARCH_TITLE, engine != nullptr ? static_cast<LPCSTR>(engine->m_label) : "");
    ::SetDlgItemTextA(m_hWnd, IDC_SEARCH_URL, engine != nullptr ? static_cast<LPCSTR>(engine->m_url) : "");
    ::SetDlgItemTextA(m_hWnd, IDC_SEARCH_ICONPATH, engine != nullptr ? static_cast<LPCSTR>(engine->m_iconPath) : "");
    HICON hIcon = engine != nullptr ? static_cast<HICON>(engine->m_icon) : nullptr;
    ::SendDlgItemMessageA(m_hWnd, IDC_SEARCH_ICON, STM_SETICON, reinterpret_cast<WPARAM>(hIcon), 0);
}

void CDlgSetTab18::ShowRoles()
{
    // Without a default the fields are emptied: they may show engines of a
    // tree replaced since (whose icon is gone with it).
    const CSearchEngineNode* fallback = m_pTree->GetRoleHolder(kRoleCurrent);
    ShowDefault(fallback);
    for (const Role& role : kRoles) {
        if (role.nTextID == 0)
            continue;
        const CSearchEngineNode* holder = m_pTree->GetRoleHolder(role.bit);
        if (holder == nullptr)
            holder = fallback;
        ::SetDlgItemTextA(m_hWnd, role.nTextID, holder != nullptr ? static_cast<LPCSTR>(holder->m_label) : "");
    }
}

void CDlgSetTab18::BuildEngineMenu(CNewMenu& menu, int bit)
{
    const Role* role = nullptr;
    for (const Role& r : kRoles) {
        if (r.bit == bit)
            role = &r;
    }
    if (role == nullptr || m_pTree->GetRoot() == nullptr)
        return;
    SearchEngineMenuTexts texts;
    texts.maxCaption = -1;
    texts.withIcons = TRUE;
    texts.idBase = role->nFirstID;
    texts.roleBit = bit;
    texts.folderSearchAll = false;
    const CSearchEngineNode* holder = m_pTree->GetRoleHolder(bit);
    texts.checkedNode = holder != nullptr ? holder : m_pTree->GetRoleHolder(kRoleCurrent);
    AppendSearchEngineItems(menu, *m_pTree->GetRoot(), texts);
    MeasureMenuCaptions(menu, -1);
}

void CDlgSetTab18::ShowEngineMenu(int nButtonID, int bit)
{
    RECT rc = {};
    ::GetWindowRect(::GetDlgItem(m_hWnd, nButtonID), &rc);
    CNewMenu::SetMenuDrawMode(
        static_cast<int>(::SendMessageA(FormsetApp().m_hMainWnd, WM_FRAME_GETMENUSTYLE, 0, 0)));
    CNewMenu menu;
    if (!menu.LoadMenu(IDR_SEARCH_ENGINE_MENU))
        return;
    CNewMenu* popup = menu.GetSubMenu(0);
    if (popup == nullptr)
        return;
    while (popup->DeleteMenu(0, MF_BYPOSITION)) {
    }
    BuildEngineMenu(*popup, bit);
    popup->TrackPopupMenu(TPM_LEFTALIGN, rc.left, rc.bottom, this);
    menu.DestroyMenu();
}

void CDlgSetTab18::OnDefaultEngineMenu()
{
    ShowEngineMenu(IDC_SEARCH_DEFAULT, kRoleCurrent);
}

void CDlgSetTab18::OnDirectionMenu(UINT nID)
{
    for (const Role& role : kRoles) {
        if (role.nButtonID == static_cast<int>(nID))
            ShowEngineMenu(role.nButtonID, role.bit);
    }
}

void CDlgSetTab18::OnPickEngine(UINT nID)
{
    const Role* role = RoleOfId(nID);
    if (role == nullptr || m_pTree->GetFlatCount() < 2)
        return;
    CSearchEngineNode* node = m_pTree->GetNode(static_cast<INT_PTR>(nID - role->nFirstID));
    if (node == nullptr || !node->IsEntry())
        return;
    m_pTree->SetRoleHolder(role->bit, node);
    if (role->nTextID == 0)
        ShowDefault(node);
    else
        ::SetDlgItemTextA(m_hWnd, role->nTextID, node->m_label);
}

void CDlgSetTab18::OnEditSearchList()
{
    // An engine file that could not be read is tried again (the program
    // holding it may have let go): the editor must not start from an empty
    // list that could never be saved over it.
    if (m_bFileKept) {
        LoadEngines();
        if (m_bFileKept)
            return;
    }
    // The editor works on the file alone; one that cannot be written would
    // open it on an old or empty list.
    const CString work = CDlgSearchEdit::WorkingFilePath();
    DWORD error = 0;
    if (!m_pTree->Save(work, &error)) {
        CDlgSearchEdit::ReportFileFailure(m_hWnd, true, error);
        return;
    }
    CDlgSearchEdit editor;
    if (editor.DoModal() != IDOK)
        return;
    std::unique_ptr<CSearchEngineTree> pEdited(new CSearchEngineTree);
    pEdited->Load(work, FormsetApp().GetDataFolder());
    if (!pEdited->WasFileRead()) {
        CDlgSearchEdit::ReportFileFailure(m_hWnd, false);
        return;
    }
    // The user's confirmed list: OK writes it, also where there was no
    // engine file to read.
    m_bTreeRead = true;
    ReplaceTree(std::move(pEdited));
}

void CDlgSetTab18::OnSaveSettings()
{
    CSettingsPage::OnSaveSettings();
    // Neither an unread file nor its absence is replaced by the empty tree.
    DWORD error = 0;
    if (m_bTreeRead && !m_pTree->Save(EnginesPath(), &error))
        TellNotSaved(m_hWnd, EnginesPath(), error);
}
