#include "dialogs/pages/ProxyPage.h"

#include <vector>

#include "dialogs/core/FileFailure.h"
#include "dialogs/core/FormsetApp.h"
#include "dialogs/pages/ProxyPageRes.h"
#include "framework/win/RedrawGuard.h"
#include "lists/ProxySettings.h"

namespace {

ProxyPlaces Places()
{
    ProxyPlaces places;
    places.programFolder = FormsetApp().GetDataFolder();
    return places;
}

// The lines of a text, each ended by CR LF, a bare LF or a bare CR (text
// pasted from elsewhere may hold any of them); at most nMax.
std::vector<CString> SplitLines(const CString& text, int nMax)
{
    std::vector<CString> lines;
    const char* s = text;
    const int nLength = text.GetLength();
    int nStart = 0;
    for (int i = 0; i < nLength && static_cast<int>(lines.size()) < nMax; ++i) {
        if (s[i] != '\r' && s[i] != '\n')
            continue;
        lines.push_back(text.Mid(nStart, i - nStart));
        if (s[i] == '\r' && i + 1 < nLength && s[i + 1] == '\n')
            ++i;
        nStart = i + 1;
    }
    return lines;
}

} // namespace

IMPLEMENT_DYNCREATE(CDlgSetTab8, CSettingsListPage)

BEGIN_MESSAGE_MAP(CDlgSetTab8, CSettingsListPage)
    ON_COMMAND(IDC_PROXY_NEW, OnNew)
    ON_COMMAND(IDC_PROXY_BATCH, OnBatch)
    ON_COMMAND(IDC_PROXY_DELETE, OnDeleteRows)
    ON_COMMAND(IDC_PROXY_UP, OnMoveRowUp)
    ON_COMMAND(IDC_PROXY_DOWN, OnMoveRowDown)
    ON_NOTIFY(NM_DBLCLK, IDC_PROXY_LIST, OnDblClick)
    ON_NOTIFY(LVN_COLUMNCLICK, IDC_PROXY_LIST, OnSortColumnClick)
END_MESSAGE_MAP()

CDlgSetTab8::CDlgSetTab8() : CSettingsListPage(IDD_SETTAB8, IDC_PROXY_LIST)
{
}

BOOL CDlgSetTab8::OnInitDialog()
{
    CSettingsListPage::OnInitDialog();
    m_bSortDescending = TRUE;
    m_layout.AddControl(&m_list, CAnchorLayout::kLeft | CAnchorLayout::kTop | CAnchorLayout::kRight |
                                     CAnchorLayout::kBottom);
    for (int nID : { IDC_PROXY_NEW, IDC_PROXY_BATCH, IDC_PROXY_UP, IDC_PROXY_DOWN, IDC_PROXY_DELETE }) {
        m_layout.AddControl(GetDlgItem(nID), CAnchorLayout::kLeft | CAnchorLayout::kKeepWidth |
                                                 CAnchorLayout::kBottom | CAnchorLayout::kKeepHeight);
    }
    CFormsetApp& app = FormsetApp();
    m_list.InsertColumn(0, app.GetDlgString(61), LVCFMT_LEFT, 185);
    m_list.InsertColumn(1, app.GetDlgString(17), LVCFMT_LEFT, 150);
    m_list.InsertColumn(2, app.GetDlgString(62), LVCFMT_LEFT, 47);
    m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_FULLROWSELECT);

    // The profile functions read a file held by another program as an
    // empty list, which OK would then write over it: the list comes from
    // the one read that says whether the file could be read.
    std::vector<CString> servers;
    m_bKeepFile = TellIfUnreadable(m_hWnd, ReadProxyList(Places(), servers, kMaxProxyListKeys));
    for (const CString& server : servers)
        AppendServer(server);
    return TRUE;
}

bool CDlgSetTab8::AppendServer(const CString& text)
{
    CString host;
    CString port;
    if (text.IsEmpty() || !SplitProxyServer(text, host, port))
        return false;
    const int nRow = m_list.InsertItem(m_list.GetItemCount(), text);
    m_list.SetItemText(nRow, 1, host);
    m_list.SetItemText(nRow, 2, port);
    return true;
}

void CDlgSetTab8::OnNew()
{
    CDlgProxyEntry dialog;
    if (dialog.DoModal() == IDOK)
        AppendServer(dialog.m_strText);
}

void CDlgSetTab8::OnDblClick(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    const int nRow = GetSingleSelectedRow();
    if (nRow < 0)
        return;
    CDlgProxyEntry dialog;
    dialog.m_strText = m_list.GetItemText(nRow, 0);
    if (dialog.DoModal() != IDOK)
        return;
    CString host;
    CString port;
    if (!SplitProxyServer(dialog.m_strText, host, port))
        return;
    m_list.SetItemText(nRow, 0, dialog.m_strText);
    m_list.SetItemText(nRow, 1, host);
    m_list.SetItemText(nRow, 2, port);
}

void CDlgSetTab8::SetServersFromText(const CString& text)
{
    RedrawGuard redraw(m_list.m_hWnd);
    m_list.DeleteAllItems();
    for (const CString& line : SplitLines(text + "\r\n", kMaxProxyListKeys))
        AppendServer(line);
}

void CDlgSetTab8::OnBatch()
{
    CDlgProxyBatch dialog;
    const int nCount = m_list.GetItemCount();
    for (int nRow = 0; nRow < nCount; ++nRow)
        dialog.m_strText += m_list.GetItemText(nRow, 0) + "\r\n";
    if (dialog.DoModal() == IDOK)
        SetServersFromText(dialog.m_strText);
}

void CDlgSetTab8::OnSaveSettings()
{
    CSettingsListPage::OnSaveSettings();
    if (m_bKeepFile)
        return;
    std::vector<CString> servers;
    const int nCount = m_list.GetItemCount();
    for (int nRow = 0; nRow < nCount; ++nRow)
        servers.push_back(m_list.GetItemText(nRow, 0));
    const ProxyPlaces places = Places();
    DWORD error = 0;
    if (!WriteProxyList(places, servers, &error))
        TellNotSaved(m_hWnd, ProxyListPath(places), error);
}

//--- CDlgProxyEntry

CDlgProxyEntry::CDlgProxyEntry() : CDialog(IDD_PROXYENTRY)
{
}

BOOL CDlgProxyEntry::OnInitDialog()
{
    CDialog::OnInitDialog();
    ::SetDlgItemTextA(m_hWnd, IDC_PROXY_TEXT, m_strText);
    SetPageIcons(m_hWnd);
    return TRUE;
}

void CDlgProxyEntry::OnOK()
{
    const CString text = PageItemText(m_hWnd, IDC_PROXY_TEXT);
    if (text.IsEmpty()) {
        ::MessageBoxA(m_hWnd, FormsetApp().GetMessageString(7), FormsetApp().GetProductName(), MB_OK);
        ::SetFocus(::GetDlgItem(m_hWnd, IDC_PROXY_TEXT));
        return;
    }
    m_strText = text;
    EndDialog(IDOK);
}

//--- CDlgProxyBatch

BEGIN_MESSAGE_MAP(CDlgProxyBatch, CDialog)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CDlgProxyBatch::CDlgProxyBatch() : CDialog(IDD_PROXYBATCH)
{
}

BOOL CDlgProxyBatch::OnInitDialog()
{
    CDialog::OnInitDialog();
    ::SetDlgItemTextA(m_hWnd, IDC_PROXY_BATCHTEXT, m_strText);
    m_bCaretToEnd = true;
    return TRUE;
}

void CDlgProxyBatch::OnPaint()
{
    PAINTSTRUCT ps;
    ::BeginPaint(m_hWnd, &ps);
    ::EndPaint(m_hWnd, &ps);
    if (m_bCaretToEnd) {
        m_bCaretToEnd = false;
        ::SendDlgItemMessageA(m_hWnd, IDC_PROXY_BATCHTEXT, WM_KEYDOWN, VK_END, 0);
    }
}

void CDlgProxyBatch::OnOK()
{
    m_strText = PageItemText(m_hWnd, IDC_PROXY_BATCHTEXT);
    EndDialog(IDOK);
}
