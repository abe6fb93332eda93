#include "dialogs/pages/StartupPage.h"

#include "dialogs/core/FileFailure.h"
#include "dialogs/core/FormsetApp.h"
#include "dialogs/pages/PopupPage.h"
#include "dialogs/pages/StartupPageRes.h"
#include "framework/core/AtomicFile.h"
#include "framework/core/File.h"
#include "shared/DataFields.h"
#include "shared/FrameMessages.h"

namespace {

// Lines of dlg.dat (the column titles) and message.dat (no URL typed).
const int kDlgUrlColumn = 17;
const int kDlgStateColumn = 43;
const int kMsgNoUrl = 2;

const int kButtons[] = { IDC_START_NEW, IDC_START_ADDACTIVE, IDC_START_UP, IDC_START_DELETE, IDC_START_DOWN };

CString ListPath()
{
    return FormsetApp().GetFolders().ProgramFile("StartUpURL.dat");
}

CString FormatEntry(const StartupEntry& entry)
{
    return DataFields::CleanUrlField(entry.url) + DataFields::kSeparator + (entry.bEnabled ? "1" : "0") + "\n";
}

} // namespace

bool ReadStartupEntries(const CString& path, std::vector<StartupEntry>& entries, FileReadState* pState)
{
    entries.clear();
    CStdioFile file;
    FileReadState state = file.OpenToRead(path, CFile::modeRead | CFile::shareDenyNone | CFile::typeText);
    if (pState != nullptr)
        *pState = state;
    if (!state.IsOpened())
        return false;
    CString line;
    while (file.ReadString(line)) {
        CStringArray fields;
        DataFields::SplitLine(line, DataFields::kSeparator, fields);
        if (fields.GetSize() != 2)
            continue;
        StartupEntry entry;
        entry.url = fields[0];
        entry.bEnabled = fields[1] == "1";
        entries.push_back(entry);
    }
    // A read that failed part-way counts as a file that could not be read:
    // no part of it is shown, and it is not written in this dialog.
    file.NoteReadFailure(state);
    if (pState != nullptr)
        *pState = state;
    if (state.IsUnreadable()) {
        entries.clear();
        return false;
    }
    return true;
}

bool WriteStartupEntries(const CString& path, const std::vector<StartupEntry>& entries, DWORD* pError)
{
    CAtomicTextFile file;
    if (!file.Begin(path))
        return false;
    for (const StartupEntry& entry : entries)
        file.WriteString(FormatEntry(entry));
    return file.Commit(pError) != FALSE;
}

bool AppendStartupEntry(const CString& path, const StartupEntry& entry, FileReadState* pRead, DWORD* pWriteError)
{
    return CAtomicTextFile::AppendText(path, FormatEntry(entry), pRead, pWriteError) != FALSE;
}

//--- CDlgSetTab7

IMPLEMENT_DYNCREATE(CDlgSetTab7, CSettingsListPage)

BEGIN_MESSAGE_MAP(CDlgSetTab7, CSettingsListPage)
    ON_WM_PAINT()
    ON_COMMAND(IDC_START_ADDACTIVE, OnAddActiveTab)
    ON_COMMAND(IDC_START_NEW, OnNewEntry)
    ON_COMMAND(IDC_START_DELETE, OnDeleteRows)
    ON_COMMAND(IDC_START_UP, OnMoveRowUp)
    ON_COMMAND(IDC_START_DOWN, OnMoveRowDown)
    ON_NOTIFY(NM_DBLCLK, IDC_START_LIST, OnEditEntry)
    ON_NOTIFY(LVN_COLUMNCLICK, IDC_START_LIST, OnSortColumnClick)
END_MESSAGE_MAP()

CDlgSetTab7::CDlgSetTab7() : CSettingsListPage(IDD_SETTAB7, IDC_START_LIST)
{
}

BOOL CDlgSetTab7::OnInitDialog()
{
    CSettingsListPage::OnInitDialog();
    m_layout.AddControl(&m_list, CAnchorLayout::kLeft | CAnchorLayout::kTop | CAnchorLayout::kRight |
                                     CAnchorLayout::kBottom);
    for (int nID : kButtons) {
        m_layout.AddControl(GetDlgItem(nID), CAnchorLayout::kLeft | CAnchorLayout::kKeepWidth |
                                                 CAnchorLayout::kBottom | CAnchorLayout::kKeepHeight);
    }
    CFormsetApp& app = FormsetApp();
    m_list.InsertColumn(0, app.GetDlgString(kDlgUrlColumn), LVCFMT_LEFT, 250);
    m_list.InsertColumn(1, app.GetDlgString(kDlgStateColumn), LVCFMT_CENTER, 40);
    m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
    m_bSortDescending = TRUE;

    std::vector<StartupEntry> entries;
    FileReadState state;
    ReadStartupEntries(ListPath(), entries, &state);
    m_bKeepFile = TellIfUnreadable(m_hWnd, state);
    for (const StartupEntry& entry : entries)
        AppendEntry(entry);
    return TRUE;
}

void CDlgSetTab7::OnPaint()
{
    ::ValidateRect(m_hWnd, nullptr);
}

void CDlgSetTab7::AppendEntry(const StartupEntry& entry)
{
    SetEntry(m_list.InsertItem(m_list.GetItemCount(), entry.url), entry);
}

void CDlgSetTab7::SetEntry(int nRow, const StartupEntry& entry)
{
    if (nRow < 0)
        return;
    m_list.SetItemText(nRow, 0, entry.url);
    m_list.SetItemText(nRow, 1, CellText(entry.bEnabled));
}

StartupEntry CDlgSetTab7::GetEntry(int nRow) const
{
    StartupEntry entry;
    entry.url = m_list.GetItemText(nRow, 0);
    entry.bEnabled = m_list.GetItemText(nRow, 1) == kCellOn;
    return entry;
}

void CDlgSetTab7::OnAddActiveTab()
{
    CDlgStartupAdd dialog;
    dialog.m_entry.url = AskMainWindowText(WM_FRAME_GETACTIVEURL);
    if (dialog.DoModal() == IDOK)
        AppendEntry(dialog.m_entry);
}

void CDlgSetTab7::OnNewEntry()
{
    CDlgStartupAdd dialog;
    if (dialog.DoModal() == IDOK)
        AppendEntry(dialog.m_entry);
}

void CDlgSetTab7::OnEditEntry(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    const int nRow = GetSingleSelectedRow();
    if (nRow < 0)
        return;
    CDlgStartupAdd dialog;
    dialog.m_entry = GetEntry(nRow);
    if (dialog.DoModal() == IDOK)
        SetEntry(nRow, dialog.m_entry);
}

void CDlgSetTab7::OnSaveSettings()
{
    std::vector<StartupEntry> entries;
    const int nCount = m_list.GetItemCount();
    for (int nRow = 0; nRow < nCount; ++nRow)
        entries.push_back(GetEntry(nRow));
    DWORD error = 0;
    if (!m_bKeepFile && !WriteStartupEntries(ListPath(), entries, &error))
        TellNotSaved(m_hWnd, ListPath(), error);
    CSettingsListPage::OnSaveSettings();
}

//--- CDlgStartupAdd

CDlgStartupAdd::CDlgStartupAdd() : CDialog(IDD_STARTUPADD)
{
}

BOOL CDlgStartupAdd::OnInitDialog()
{
    CDialog::OnInitDialog();
    ::SetDlgItemTextA(m_hWnd, IDC_START_URL, m_entry.url);
    ::CheckDlgButton(m_hWnd, IDC_START_ENABLED, m_entry.bEnabled ? BST_CHECKED : BST_UNCHECKED);
    AutoCompleteUrl(::GetDlgItem(m_hWnd, IDC_START_URL));
    SetPageIcons(m_hWnd);
    return TRUE;
}

void CDlgStartupAdd::OnOK()
{
    const CString url = PageItemText(m_hWnd, IDC_START_URL);
    if (url.IsEmpty()) {
        ::MessageBoxA(m_hWnd, FormsetApp().GetMessageString(kMsgNoUrl), FormsetApp().GetProductName(), MB_OK);
        ::SetFocus(::GetDlgItem(m_hWnd, IDC_START_URL));
        return;
    }
    m_entry.url = url;
    m_entry.bEnabled = ::IsDlgButtonChecked(m_hWnd, IDC_START_ENABLED) == BST_CHECKED;
    EndDialog(IDOK);
}
