#include "dialogs/pages/PopupPage.h"

#include <memory>
#include <vector>

#include <shlwapi.h>

#include "dialogs/core/FileFailure.h"
#include "dialogs/core/FormsetApp.h"
#include "dialogs/pages/PopupPageRes.h"
#include "shared/FrameMessages.h"

namespace {

const PageField kFields[] = {
    CheckField(IDC_POP_ENABLE, "bPopUpCloseEnable"),
};

const int kButtons[] = { IDC_POP_ADDACTIVE, IDC_POP_NEW, IDC_POP_DELETE, IDC_POP_UP, IDC_POP_DOWN };
const DWORD kFlagBits[4] = { PopupRule::kTitleOn, PopupRule::kUrlOn, PopupRule::kTitleRegex, PopupRule::kUrlRegex };

CString RulesPath()
{
    return FormsetApp().GetFolders().ProgramFile("PopClose.dat");
}

} // namespace

void AutoCompleteUrl(HWND hEdit)
{
    typedef HRESULT(WINAPI * AutoCompleteFn)(HWND, DWORD);
    HMODULE hShell = ::GetModuleHandleA("shlwapi.dll");
    const bool bLoaded = hShell == nullptr;
    if (bLoaded)
        hShell = ::LoadLibraryA("shlwapi.dll");
    if (hShell == nullptr)
        return;
    AutoCompleteFn fn = reinterpret_cast<AutoCompleteFn>(
        reinterpret_cast<void*>(::GetProcAddress(hShell, "SHAutoComplete")));
    if (fn != nullptr)
        fn(hEdit, 0x0E);
    if (bLoaded)
        ::FreeLibrary(hShell);
}

CString AskMainWindowText(UINT nMsg)
{
    const char* text = reinterpret_cast<const char*>(::SendMessageA(FormsetApp().m_hMainWnd, nMsg, 0, 0));
    return text != nullptr ? CString(text) : CString();
}

//--- CDlgPop

IMPLEMENT_DYNCREATE(CDlgPop, CSettingsListPage)

BEGIN_MESSAGE_MAP(CDlgPop, CSettingsListPage)
    ON_COMMAND(IDC_POP_ADDACTIVE, OnAddActiveTab)
    ON_COMMAND(IDC_POP_NEW, OnNewRule)
    ON_COMMAND(IDC_POP_DELETE, OnDeleteRows)
    ON_COMMAND(IDC_POP_UP, OnMoveRowUp)
    ON_COMMAND(IDC_POP_DOWN, OnMoveRowDown)
    ON_NOTIFY(NM_DBLCLK, IDC_POP_LIST, OnEditRule)
    ON_NOTIFY(LVN_COLUMNCLICK, IDC_POP_LIST, OnSortColumnClick)
END_MESSAGE_MAP()

CDlgPop::CDlgPop()
    : CSettingsListPage(IDD_POP, IDC_POP_LIST, kFields, static_cast<int>(sizeof(kFields) / sizeof(kFields[0])))
{
}

BOOL CDlgPop::OnInitDialog()
{
    CSettingsListPage::OnInitDialog();
    m_layout.AddControl(&m_list, CAnchorLayout::kLeft | CAnchorLayout::kTop | CAnchorLayout::kRight |
                                     CAnchorLayout::kBottom);
    for (int nID : kButtons) {
        m_layout.AddControl(GetDlgItem(nID), CAnchorLayout::kLeft | CAnchorLayout::kKeepWidth |
                                                 CAnchorLayout::kBottom | CAnchorLayout::kKeepHeight);
    }
    CFormsetApp& app = FormsetApp();
    m_list.InsertColumn(0, app.GetDlgString(16), LVCFMT_LEFT, 100);
    m_list.InsertColumn(1, app.GetDlgString(17), LVCFMT_LEFT, 150);
    for (int i = 0; i < 4; ++i)
        m_list.InsertColumn(2 + i, app.GetDlgString(29 + i), LVCFMT_CENTER, 60);
    m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
    m_bSortDescending = TRUE;

    std::vector<PopupRule> rules;
    FileReadState state;
    ReadPopupRules(RulesPath(), rules, &state);
    m_bKeepFile = TellIfUnreadable(m_hWnd, state);
    for (const PopupRule& rule : rules)
        AppendRule(rule);
    return TRUE;
}

// Escape on the page or its controls goes nowhere: the rules page does not
// let it cancel the dialog it stands in.
BOOL CDlgPop::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE &&
        (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd)))
        return TRUE;
    return CSettingsListPage::PreTranslateMessage(pMsg);
}

void CDlgPop::AppendRule(const PopupRule& rule)
{
    SetRule(m_list.InsertItem(m_list.GetItemCount(), rule.title), rule);
}

void CDlgPop::SetRule(int nRow, const PopupRule& rule)
{
    if (nRow < 0)
        return;
    m_list.SetItemText(nRow, 0, rule.title);
    m_list.SetItemText(nRow, 1, rule.url);
    for (int i = 0; i < 4; ++i)
        m_list.SetItemText(nRow, 2 + i, CellText((rule.flags & kFlagBits[i]) != 0));
}

PopupRule CDlgPop::GetRule(int nRow) const
{
    PopupRule rule;
    rule.title = m_list.GetItemText(nRow, 0);
    rule.url = m_list.GetItemText(nRow, 1);
    rule.flags = 0;
    for (int i = 0; i < 4; ++i) {
        if (m_list.GetItemText(nRow, 2 + i) == kCellOn)
            rule.flags |= kFlagBits[i];
    }
    return rule;
}

void CDlgPop::OnAddActiveTab()
{
    CDlgAddPopup dialog;
    dialog.m_rule.url = AskMainWindowText(WM_FRAME_GETACTIVEURL);
    dialog.m_rule.title = AskMainWindowText(WM_FRAME_GETACTIVETITLE);
    if (dialog.DoModal() != IDOK)
        return;
    AppendRule(dialog.m_rule);
    std::unique_ptr<PopupRule> rule(new PopupRule(dialog.m_rule));
    if (rule)
        ::SendMessageA(FormsetApp().m_hMainWnd, WM_FRAME_ADDPOPUPENTRY, reinterpret_cast<WPARAM>(rule.get()), 0);
}

void CDlgPop::OnNewRule()
{
    CDlgAddPopup dialog;
    if (dialog.DoModal() == IDOK)
        AppendRule(dialog.m_rule);
}

void CDlgPop::OnEditRule(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    if (GetSingleSelectedRow() < 0)
        return;
    const int nRow = m_list.GetNextItem(-1, LVNI_FOCUSED);
    if (nRow < 0)
        return;
    CDlgAddPopup dialog;
    dialog.m_rule = GetRule(nRow);
    if (dialog.DoModal() == IDOK)
        SetRule(nRow, dialog.m_rule);
}

void CDlgPop::OnSaveSettings()
{
    std::vector<PopupRule> rules;
    const int nCount = m_list.GetItemCount();
    for (int nRow = 0; nRow < nCount; ++nRow)
        rules.push_back(GetRule(nRow));
    DWORD error = 0;
    if (!m_bKeepFile && !WritePopupRules(RulesPath(), rules, &error))
        TellNotSaved(m_hWnd, RulesPath(), error);
    CSettingsListPage::OnSaveSettings();
    ::SendMessageA(FormsetApp().m_hMainWnd, WM_FRAME_POPUPOPTIONCHANGED, 0, 0);
}

//--- CDlgAddPopup

BEGIN_MESSAGE_MAP(CDlgAddPopup, CDialog)
    ON_COMMAND(IDC_POP_TITLEON, OnTitleOn)
    ON_COMMAND(IDC_POP_URLON, OnUrlOn)
END_MESSAGE_MAP()

CDlgAddPopup::CDlgAddPopup() : CDialog(IDD_ADDPOPUP)
{
}

BOOL CDlgAddPopup::OnInitDialog()
{
    CDialog::OnInitDialog();
    ::SetDlgItemTextA(m_hWnd, IDC_POP_TITLE, m_rule.title);
    ::SetDlgItemTextA(m_hWnd, IDC_POP_URL, m_rule.url);
    const int kChecks[4] = { IDC_POP_TITLEON, IDC_POP_URLON, IDC_POP_TITLEREGEX, IDC_POP_URLREGEX };
    for (int i = 0; i < 4; ++i)
        ::CheckDlgButton(m_hWnd, kChecks[i], (m_rule.flags & kFlagBits[i]) != 0 ? BST_CHECKED : BST_UNCHECKED);
    AutoCompleteUrl(::GetDlgItem(m_hWnd, IDC_POP_URL));
    SetPageIcons(m_hWnd);
    return TRUE;
}

void CDlgAddPopup::OnTitleOn()
{
    if (::IsDlgButtonChecked(m_hWnd, IDC_POP_TITLEON) == BST_CHECKED)
        m_rule.flags |= PopupRule::kTitleOn;
    else
        m_rule.flags &= ~static_cast<DWORD>(PopupRule::kTitleOn);
}

void CDlgAddPopup::OnUrlOn()
{
    if (::IsDlgButtonChecked(m_hWnd, IDC_POP_URLON) == BST_CHECKED)
        m_rule.flags |= PopupRule::kUrlOn;
    else
        m_rule.flags &= ~static_cast<DWORD>(PopupRule::kUrlOn);
}

void CDlgAddPopup::OnOK()
{
    const CString title = PageItemText(m_hWnd, IDC_POP_TITLE);
    const CString url = PageItemText(m_hWnd, IDC_POP_URL);
    if (title.IsEmpty() || url.IsEmpty()) {
        ::MessageBoxA(m_hWnd, FormsetApp().GetMessageString(title.IsEmpty() ? 5 : 2), FormsetApp().GetProductName(),
                      MB_OK);
        ::SetFocus(::GetDlgItem(m_hWnd, title.IsEmpty() ? IDC_POP_TITLE : IDC_POP_URL));
        return;
    }
    m_rule.title = title;
    m_rule.url = url;
    const bool bTitleRegex = ::IsDlgButtonChecked(m_hWnd, IDC_POP_TITLEREGEX) == BST_CHECKED;
    const bool bUrlRegex = ::IsDlgButtonChecked(m_hWnd, IDC_POP_URLREGEX) == BST_CHECKED;
    m_rule.flags &= ~static_cast<DWORD>(PopupRule::kTitleRegex | PopupRule::kUrlRegex);
    if (bTitleRegex)
        m_rule.flags |= PopupRule::kTitleRegex;
    if (bUrlRegex)
        m_rule.flags |= PopupRule::kUrlRegex;
    EndDialog(IDOK);
}
