#include "dialogs/core/DlgAbout.h"

#include "dialogs/core/FormsetApp.h"
#include "dialogs/core/SmallDialogs.h"
#include "dialogs/res/resource.h"
#include "shared/FrameMessages.h"

namespace {

const char kLinkClassName[] = "VaLinkLabel";

// The link's class: a static with the library's hand cursor and no
// background of its own (unregistered with the library's other classes).
bool RegisterLinkClass()
{
    WNDCLASSA wc = {};
    if (!::GetClassInfoA(nullptr, "STATIC", &wc))
        return false;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDC_LINKHAND));
    wc.hbrBackground = nullptr;
    wc.hIcon = nullptr;
    wc.lpszClassName = kLinkClassName;
    return AfxRegisterClass(&wc) != FALSE;
}

// One registry value of HKEY_LOCAL_MACHINE as text; false when the key does
// not open.
bool ReadMachineValue(const CString& keyName, const char* valueName, CString& value)
{
    HKEY hKey = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyName, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return false;
    char buffer[261] = {};
    DWORD cb = 260;
    DWORD type = 0;
    if (::RegQueryValueExA(hKey, valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &cb) == ERROR_SUCCESS &&
        type == REG_SZ)
        value = CString(buffer, static_cast<int>(strnlen(buffer, cb)));
    ::RegCloseKey(hKey);
    return true;
}

} // namespace

//--- CLinkLabel

BEGIN_MESSAGE_MAP(CLinkLabel, CStatic)
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

CLinkLabel::CLinkLabel() : m_url(FormsetApp().GetUrlString(8))
{
}

BOOL CLinkLabel::Create(const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    if (!RegisterLinkClass())
        return FALSE;
    return CWnd::Create(kLinkClassName, "", WS_CHILD | WS_VISIBLE | SS_NOTIFY, rect, pParentWnd, nID);
}

void CLinkLabel::OnLButtonDown(UINT nFlags, CPoint point)
{
    m_bVisited = 1;
    ::SendMessageA(FormsetApp().m_hMainWnd, WM_FRAME_NEWWINDOW, reinterpret_cast<WPARAM>(static_cast<LPCSTR>(m_url)),
                   0);
    CStatic::OnLButtonDown(nFlags, point);
    GetParent()->PostMessage(WM_CLOSE);
}

//--- CDlgAbout

BEGIN_MESSAGE_MAP(CDlgAbout, CDialog)
    ON_MESSAGE(WM_CTLCOLORSTATIC, OnCtlColorStatic)
    ON_COMMAND(IDC_ABOUT_COPY, OnCopyVersion)
END_MESSAGE_MAP()

CDlgAbout::CDlgAbout() : CDialog(IDD_ABOUT)
{
}

CDlgAbout::~CDlgAbout()
{
    if (m_hUnderlineFont != nullptr)
        ::DeleteObject(m_hUnderlineFont);
}

BOOL CDlgAbout::OnInitDialog()
{
    CFormsetApp& app = FormsetApp();
    ::SetDlgItemTextA(m_hWnd, IDC_ABOUT_TEXT1, m_text1);
    ::SetDlgItemTextA(m_hWnd, IDC_ABOUT_TEXT2, m_text2);
    ::SetDlgItemTextA(m_hWnd, IDC_ABOUT_TEXT3, m_text3);

    // The label lies under the template's link static, whose clicks and
    // cursor requests pass through to it.
    if (CWnd* pStatic = GetDlgItem(IDC_ABOUT_LINK)) {
        RECT rc;
        pStatic->GetWindowRect(&rc);
        ScreenToClient(&rc);
        m_link.Create(rc, this, IDC_ABOUT_LINK);
    }
    ::SetDlgItemTextA(m_hWnd, IDC_ABOUT_LINK, app.GetUrlString(8));

    BuildVersionText();

    ::CheckDlgButton(m_hWnd, IDC_ABOUT_TRACE, m_nTrace != 0 ? BST_CHECKED : BST_UNCHECKED);
    ::SendDlgItemMessageA(m_hWnd, IDC_ABOUT_ICON, STM_SETICON, reinterpret_cast<WPARAM>(app.m_hIcon), 0);
    HWND hTrace = ::GetDlgItem(m_hWnd, IDC_ABOUT_TRACE);
    ::EnableWindow(hTrace, FALSE);
    ::ShowWindow(hTrace, SW_HIDE);
    return TRUE;
}

void CDlgAbout::OnOK()
{
    CFormsetApp& app = FormsetApp();
    const bool checked = ::IsDlgButtonChecked(m_hWnd, IDC_ABOUT_TRACE) == BST_CHECKED;
    if (app.m_settings.bVATrace() && !checked)
        // The trace log is the program's own record; one that stays is only
        // written no further.
        (void)::DeleteFileA(app.GetFolders().ProgramFile("VA_TRACE.txt"));
    m_nTrace = checked ? 1 : 0;
    EndDialog(IDOK);
}

LRESULT CDlgAbout::OnCtlColorStatic(WPARAM wParam, LPARAM lParam)
{
    HWND hCtrl = reinterpret_cast<HWND>(lParam);
    if (::GetDlgCtrlID(hCtrl) != IDC_ABOUT_LINK)
        return Default();
    HDC hdc = reinterpret_cast<HDC>(wParam);
    if (m_hUnderlineFont == nullptr) {
        LOGFONTA lf = {};
        HFONT hDialogFont = GetFont();
        if (hDialogFont != nullptr && ::GetObjectA(hDialogFont, sizeof(lf), &lf) == sizeof(lf)) {
            lf.lfUnderline = TRUE;
            m_hUnderlineFont = ::CreateFontIndirectA(&lf);
            if (m_hUnderlineFont != nullptr)
                ::SendMessageA(hCtrl, WM_SETFONT, reinterpret_cast<WPARAM>(m_hUnderlineFont), FALSE);
        }
    }
    if (m_hUnderlineFont != nullptr)
        ::SelectObject(hdc, m_hUnderlineFont);
    ::SetTextColor(hdc, m_link.m_bVisited ? m_visitedColor : m_linkColor);
    ::SetBkMode(hdc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(::GetStockObject(HOLLOW_BRUSH));
}

void CDlgAbout::BuildVersionText()
{
    CFormsetApp& app = FormsetApp();
    CString version;
    if (!ReadMachineValue(app.GetRegString(5), "Version", version))
        version = "unknown";
    CString minor;
    ReadMachineValue(app.GetRegString(6), "MinorVersion", minor);
    CString systems = "OS:" + GetOsName() + "\r\nIE:" + version + minor;

    CString text1, text2;
    GetDlgItem(IDC_ABOUT_TEXT1)->GetWindowText(text1);
    GetDlgItem(IDC_ABOUT_TEXT2)->GetWindowText(text2);
    ::SetDlgItemTextA(m_hWnd, IDC_ABOUT_VERSIONS, text1 + "\r\n" + text2 + "\r\n" + systems + "\r\n");
}

const char* CDlgAbout::OsNameOf(const CString& version)
{
    static const struct
    {
        const char* version;
        const char* name;
    } kTable[] = {
        { "4.0", "Windows 95" },       { "4.0", "Windows 95 OSR2" }, { "4.10", "Windows 98" },
        { "4.10", "Windows 98 SE" },   { "4.90", "Windows Me" },     { "3.51", "Windows NT 3.51" },
        { "4.0", "Windows NT 4.0" },   { "5.0", "Windows 2000" },    { "5.1", "Windows XP" },
        { "5.2", "Windows 2003" },     { "6.0", "Windows Vista" },   { "6.1", "Windows 7" },
    };
    for (const auto& row : kTable) {
        if (version == row.version)
            return row.name;
    }
    return nullptr;
}

CString CDlgAbout::GetOsName()
{
    const OSVERSIONINFOA info = AfxGetVersionInfo();
    CString v;
    v.Format("%i.%i", static_cast<int>(info.dwMajorVersion), static_cast<int>(info.dwMinorVersion));
    CString name = "unknown";
    CString versionText = "unknown";
    if (const char* found = OsNameOf(v)) {
        name = found;
        versionText = v;
    }
    DWORD build = info.dwBuildNumber;
    if (info.dwPlatformId < VER_PLATFORM_WIN32_NT) {
        if (v == "4.0" && (info.szCSDVersion[1] == 'B' || info.szCSDVersion[1] == 'C'))
            name = "Windows 95 OSR2";
        build &= 0xFFFF;
        if (v == "4.10" && info.szCSDVersion[1] == 'A')
            name = "Windows 98 SE";
    } else if (info.dwPlatformId == VER_PLATFORM_WIN32_NT && v == "4.0") {
        name = "Windows NT 4.0";
    }
    CString buildText;
    buildText.Format(".%ld", static_cast<long>(build));
    versionText += buildText;
    CString result;
    result.Format("%s (%s) %s", static_cast<LPCSTR>(name), static_cast<LPCSTR>(versionText), info.szCSDVersion);
    return result;
}

bool CopyTextToClipboard(HWND hOwner, const CString& text)
{
    if (text.IsEmpty() || !::OpenClipboard(hOwner))
        return false;
    ::EmptyClipboard();
    const size_t cb = static_cast<size_t>(text.GetLength()) + 1;
    // Movable, as the clipboard wants; freed here only when the clipboard
    // did not take it.
    HGLOBAL hMem = ::GlobalAlloc(GMEM_MOVEABLE, cb);
    bool done = false;
    if (hMem != nullptr) {
        if (void* p = ::GlobalLock(hMem)) {
            memcpy(p, static_cast<LPCSTR>(text), cb);
            ::GlobalUnlock(hMem);
            done = ::SetClipboardData(CF_TEXT, hMem) != nullptr;
        }
        if (!done)
            ::GlobalFree(hMem);
    }
    ::CloseClipboard();
    return done;
}

void CDlgAbout::OnCopyVersion()
{
    CString text;
    GetDlgItem(IDC_ABOUT_VERSIONS)->GetWindowText(text);
    CopyTextToClipboard(m_hWnd, text);
}
