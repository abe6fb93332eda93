#include "dialogs/pages/BindingPage.h"

#include <cstdlib>
#include <memory>

#include "dialogs/core/FileFailure.h"
#include "dialogs/core/FormsetApp.h"
#include "dialogs/pages/BindingDialog.h"
#include "dialogs/pages/BindingPagesRes.h"
#include "shared/FrameMessages.h"
#include "shared/TextFormat.h"

namespace {

// Used when "config.dat" lines 1 and 2 are missing or not of that form.
const char kHtmlHeader[] = "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">"
                           "<title>%s</title></head><body><h3>%s</h3><p>%s</p><table border=\"1\">";
const char kHtmlFooter[] = "</table></body></html>";
// "　": each exported cell starts with a full-width space.
const char kCellLead[] = "\x81\x40";

} // namespace

CString EscapeHtml(const CString& text)
{
    CString out;
    const int n = text.GetLength();
    for (int i = 0; i < n; ++i) {
        const char c = text[i];
        // Trail bytes of cp932 never take these values, so a byte-wise walk
        // is safe.
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c; break;
        }
    }
    return out;
}

IMPLEMENT_DYNAMIC(CBindingListPage, CSettingsListPage)

BEGIN_MESSAGE_MAP(CBindingListPage, CSettingsListPage)
    ON_COMMAND(IDC_BINDING_NEW, OnNewBinding)
    ON_COMMAND(IDC_BINDING_DELETE, DeleteSelectedBindings)
    ON_COMMAND(IDC_BINDING_EXPORT, ExportBindingListHtml)
    ON_NOTIFY(NM_DBLCLK, IDC_BINDING_LIST, OnEditBinding)
END_MESSAGE_MAP()

CBindingListPage::CBindingListPage(UINT nIDTemplate, const BindingPageKind& kind, const PageField* fields,
                                   int nFields)
    : CSettingsListPage(nIDTemplate, IDC_BINDING_LIST, fields, nFields), m_kind(kind)
{
}

BOOL CBindingListPage::OnInitDialog()
{
    CSettingsListPage::OnInitDialog();
    CFormsetApp& app = FormsetApp();
    m_list.InsertColumn(0, app.GetDlgString(38), LVCFMT_LEFT, m_kind.nLabelWidth);
    m_list.InsertColumn(1, app.GetDlgString(m_kind.nTextTitleLine), LVCFMT_LEFT, m_kind.nTextWidth);
    m_list.InsertColumn(2, app.GetDlgString(40), LVCFMT_RIGHT, 65);
    m_list.InsertColumn(3, app.GetDlgString(41), LVCFMT_RIGHT, 40);
    m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_FULLROWSELECT);

    m_layout.AddControl(&m_list, CAnchorLayout::kLeft | CAnchorLayout::kTop | CAnchorLayout::kRight |
                                     CAnchorLayout::kBottom);
    for (int nID : { IDC_BINDING_NEW, IDC_BINDING_DELETE, IDC_BINDING_EXPORT }) {
        m_layout.AddControl(GetDlgItem(nID), CAnchorLayout::kLeft | CAnchorLayout::kKeepWidth |
                                                 CAnchorLayout::kBottom | CAnchorLayout::kKeepHeight);
    }

    std::vector<BindingFile::Line> lines;
    m_bKeepFile = TellIfUnreadable(
        m_hWnd, BindingFile::ReadForEditing(app.GetDataFolder(), m_kind.fileName, m_kind.defaultName, lines));
    for (const BindingFile::Line& line : lines)
        AppendRow(line);
    return TRUE;
}

void CBindingListPage::AppendRow(const BindingFile::Line& line)
{
    SetRow(m_list.InsertItem(m_list.GetItemCount(), line.label), line);
}

void CBindingListPage::SetRow(int nRow, const BindingFile::Line& line)
{
    if (nRow < 0)
        return;
    m_list.SetItemText(nRow, 0, line.label);
    m_list.SetItemText(nRow, 1, line.text);
    m_list.SetItemText(nRow, 2, line.commandField);
    m_list.SetItemText(nRow, 3, line.kindField);
}

BindingFile::Line CBindingListPage::GetRow(int nRow) const
{
    BindingFile::Line line;
    line.label = m_list.GetItemText(nRow, 0);
    line.text = m_list.GetItemText(nRow, 1);
    line.commandField = m_list.GetItemText(nRow, 2);
    line.kindField = m_list.GetItemText(nRow, 3);
    line.command = atoi(line.commandField);
    line.kind = atoi(line.kindField);
    return line;
}

void CBindingListPage::OnSaveSettings()
{
    CSettingsListPage::OnSaveSettings();
    if (m_bKeepFile)
        return;
    std::vector<BindingFile::Line> lines;
    const int nCount = m_list.GetItemCount();
    for (int nRow = 0; nRow < nCount; ++nRow)
        lines.push_back(GetRow(nRow));
    const CString path = FormsetApp().GetFolders().ProgramFile(m_kind.fileName);
    DWORD error = 0;
    if (!BindingFile::Write(path, lines, &error))
        TellNotSaved(m_hWnd, path, error);
}

namespace {

BindingFile::Line LineOf(const CBindingDialog& dialog)
{
    BindingFile::Line line;
    line.label = dialog.m_strLabel;
    line.text = dialog.m_strText;
    line.command = dialog.m_nCommand;
    line.kind = dialog.m_nKind;
    line.commandField.Format("%d", dialog.m_nCommand);
    line.kindField.Format("%d", dialog.m_nKind);
    return line;
}

} // namespace

void CBindingListPage::OnNewBinding()
{
    int nContinuous = 0;
    bool bPositionKnown = false;
    RECT rcWindow = {};
    for (;;) {
        std::unique_ptr<CBindingDialog> dialog(NewBindingDialog());
        dialog->m_pList = &m_list;
        dialog->m_nContinuous = nContinuous;
        dialog->m_bPositionKnown = bPositionKnown;
        dialog->m_rcWindow = rcWindow;
        if (dialog->DoModal() != IDOK)
            break;
        AppendRow(LineOf(*dialog));
        rcWindow = dialog->m_rcWindow;
        bPositionKnown = true;
        if (dialog->m_nContinuous != 1)
            break;
        nContinuous = 1;
    }
}

void CBindingListPage::OnEditBinding(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    if (GetSingleSelectedRow() < 0)
        return;
    const int nRow = m_list.GetNextItem(-1, LVNI_FOCUSED);
    if (nRow < 0)
        return;
    const BindingFile::Line row = GetRow(nRow);
    std::unique_ptr<CBindingDialog> dialog(NewBindingDialog());
    dialog->m_pList = &m_list;
    dialog->m_nEditedRow = nRow;
    dialog->m_strText = row.text;
    dialog->m_strLabel = row.label;
    dialog->m_bHasCommand = true;
    dialog->m_nCommand = row.command;
    dialog->m_nKind = row.kind;
    dialog->m_nContinuous = 2;
    if (dialog->DoModal() == IDOK)
        SetRow(dialog->m_nEditedRow, LineOf(*dialog));
}

void CBindingListPage::DeleteSelectedBindings()
{
    DeleteSelectedRows();
}

CString CBindingListPage::BuildBindingListHtml() const
{
    CFormsetApp& app = FormsetApp();
    const CString title = app.GetEtcString(m_kind.nHtmlTitleLine);
    CString html = TextFormat::FormatStrings(app.GetFileString("config.dat", 1),
                                             { title, title, app.GetEtcString(m_kind.nHtmlSubtitleLine) },
                                             kHtmlHeader);
    const int nCount = m_list.GetItemCount();
    for (int nRow = 0; nRow < nCount; ++nRow) {
        html += CString("<tr><td>") + kCellLead + EscapeHtml(m_list.GetItemText(nRow, 0)) + "</td><td>" +
                kCellLead + EscapeHtml(m_list.GetItemText(nRow, 1)) + "</td></tr>";
    }
    const CString footer = app.GetFileString("config.dat", 2);
    html += footer.IsEmpty() ? CString(kHtmlFooter) : footer;
    return html;
}

void CBindingListPage::ExportBindingListHtml()
{
    const CString html = BuildBindingListHtml();
    const CString path = FormsetApp().GetFolders().FavoriteFile(m_kind.htmlName);
    CFile file;
    if (!file.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::shareDenyNone | CFile::typeBinary) ||
        !file.Write(static_cast<LPCSTR>(html), static_cast<UINT>(html.GetLength()))) {
        // "The list file could not be made."
        MessageBoxText(CString("\x83\x8A\x83\x58\x83\x67\x8F\x6F\x97\xCD\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xF0\x8D\xEC"
                               "\x90\xAC\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1\x82\xC5\x82\xB5\x82\xBD\x81\x42\r\n") +
                           path,
                       MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    file.Close();
    ::SendMessageA(FormsetApp().m_hMainWnd, WM_FRAME_NEWWINDOW, reinterpret_cast<WPARAM>(static_cast<LPCSTR>(path)),
                   0);
}
