#include "dialogs/core/SmallDialogs.h"

#include <commdlg.h>
#include <imm.h>

#include <climits>
#include <cstdlib>

#include "dialogs/core/FormsetApp.h"
#include "dialogs/res/resource.h"
#include "shared/TextFormat.h"

void SetLibraryIcons(CWnd* pWnd)
{
    HICON hIcon = FormsetApp().m_hIcon;
    pWnd->SetIcon(hIcon, TRUE);
    pWnd->SetIcon(hIcon, FALSE);
}

void EnableUrlAutoComplete(HWND hEdit)
{
    // SHACF_URLHISTORY | SHACF_URLMRU | SHACF_USETAB
    const DWORD kFlags = 0x0E;
    typedef HRESULT(WINAPI * SHAutoCompleteFn)(HWND, DWORD);
    HMODULE hLoaded = ::GetModuleHandleA("shlwapi.dll");
    HMODULE hModule = hLoaded != nullptr ? hLoaded : ::LoadLibraryA("shlwapi.dll");
    if (hModule == nullptr)
        return;
    if (SHAutoCompleteFn fn = reinterpret_cast<SHAutoCompleteFn>(
            reinterpret_cast<void*>(::GetProcAddress(hModule, "SHAutoComplete"))))
        fn(hEdit, kFlags);
    if (hLoaded == nullptr)
        ::FreeLibrary(hModule);
}

//--- CDlgOpenLocation

BEGIN_MESSAGE_MAP(CDlgOpenLocation, CDialog)
    ON_WM_PAINT()
    ON_COMMAND(IDC_OPEN_BROWSE, OnBrowse)
END_MESSAGE_MAP()

CDlgOpenLocation::CDlgOpenLocation() : CDialog(IDD_OPENLOCATION), m_text("http://")
{
}

BOOL CDlgOpenLocation::OnInitDialog()
{
    CenterWindow();
    HWND hEdit = ::GetDlgItem(m_hWnd, IDC_OPEN_TEXT);
    ::SetWindowTextA(hEdit, m_text);
    m_bCaretToEnd = 1;
    CFormsetApp& app = FormsetApp();
    if (app.m_settings.bOpenDlg_AutoCompEnable())
        EnableUrlAutoComplete(hEdit);
    if (m_nTitleMode == 1)
        SetWindowText(app.GetEtcString(47));
    // URLs are typed without the input method.
    ::ImmAssociateContext(hEdit, nullptr);
    return TRUE;
}

void CDlgOpenLocation::OnPaint()
{
    Default();
    if (m_bCaretToEnd) {
        m_bCaretToEnd = 0;
        HWND hEdit = ::GetDlgItem(m_hWnd, IDC_OPEN_TEXT);
        // The caret goes behind the text.
        ::SendMessageA(hEdit, WM_KEYDOWN, VK_END, 0);
        ::SendMessageA(hEdit, WM_KEYUP, VK_END, 0);
    }
}

void CDlgOpenLocation::OnBrowse()
{
    CFormsetApp& app = FormsetApp();
    // The filter's parts are separated by "|" in the string file.
    const CString filter = app.GetEtcString(49);
    const CString title = app.GetEtcString(48);
    CString path;
    if (!AfxPromptOpenFile(m_hWnd, filter, title, OFN_HIDEREADONLY, path))
        return;
    m_text = path;
    ::SetDlgItemTextA(m_hWnd, IDC_OPEN_TEXT, m_text);
}

void CDlgOpenLocation::OnOK()
{
    GetDlgItem(IDC_OPEN_TEXT)->GetWindowText(m_text);
    EndDialog(IDOK);
}

//--- CDlgKeywordHighlight

BEGIN_MESSAGE_MAP(CDlgKeywordHighlight, CDialog)
    ON_COMMAND(IDC_KEYWORD_CLEAR, OnClear)
END_MESSAGE_MAP()

CDlgKeywordHighlight::CDlgKeywordHighlight() : CDialog(IDD_KEYWORD)
{
}

BOOL CDlgKeywordHighlight::OnInitDialog()
{
    m_keyword.Empty();
    m_nReserved = 0;
    SetLibraryIcons(this);
    return TRUE;
}

void CDlgKeywordHighlight::OnOK()
{
    GetDlgItem(IDC_KEYWORD_TEXT)->GetWindowText(m_keyword);
    if (m_keyword.IsEmpty()) {
        CString message = FormsetApp().GetMessageString(11);
        ::MessageBoxA(m_hWnd, message, FormsetApp().GetProductName(), MB_OK);
        return;
    }
    EndDialog(IDOK);
}

void CDlgKeywordHighlight::OnClear()
{
    m_bCleared = 1;
    EndDialog(IDOK);
}

//--- CDlgWindowSize

CDlgWindowSize::CDlgWindowSize() : CDialog(IDD_WINDOWSIZE)
{
}

BOOL CDlgWindowSize::OnInitDialog()
{
    for (int spin : { IDC_SIZE_WIDTHSPIN, IDC_SIZE_HEIGHTSPIN })
        ::SendDlgItemMessageA(m_hWnd, spin, UDM_SETRANGE32, kMinSize, kMaxSize);
    ::SetDlgItemInt(m_hWnd, IDC_SIZE_HEIGHT, static_cast<UINT>(m_rect.bottom - m_rect.top), TRUE);
    ::SetDlgItemInt(m_hWnd, IDC_SIZE_WIDTH, static_cast<UINT>(m_rect.right - m_rect.left), TRUE);
    SetLibraryIcons(this);
    return TRUE;
}

bool CDlgWindowSize::ReadSize(int nID, int& value)
{
    CString text;
    GetDlgItem(nID)->GetWindowText(text);
    char* end = nullptr;
    long number = std::strtol(text, &end, 10);
    if (number >= kMinSize && number <= kMaxSize) {
        value = static_cast<int>(number);
        return true;
    }
    // An empty edit counts as 0.
    CString message = TextFormat::FormatNumbers(FormsetApp().GetMessageString(17), 'd', { kMinSize, kMaxSize },
                                                "%d - %d");
    ::MessageBoxA(m_hWnd, message, FormsetApp().GetProductName(), MB_OK);
    GetDlgItem(nID)->SetFocus();
    return false;
}

void CDlgWindowSize::OnOK()
{
    int height = 0;
    int width = 0;
    if (!ReadSize(IDC_SIZE_HEIGHT, height))
        return;
    m_rect.bottom = m_rect.top + height;
    if (!ReadSize(IDC_SIZE_WIDTH, width))
        return;
    m_rect.right = m_rect.left + width;
    EndDialog(IDOK);
}

//--- CDlgPosted

BEGIN_MESSAGE_MAP(CDlgPosted, CDialog)
    ON_WM_SIZE()
    ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

CDlgPosted::CDlgPosted(LPCSTR text) : CDialog(IDD_POSTED), m_text(text)
{
}

BOOL CDlgPosted::Create()
{
    return CDialog::Create(IDD_POSTED, nullptr);
}

BOOL CDlgPosted::OnInitDialog()
{
    CWnd* pEdit = GetDlgItem(IDC_POSTED_TEXT);
    m_layout.AddControl(pEdit, CAnchorLayout::kRight | CAnchorLayout::kBottom);
    pEdit->SetWindowText(m_text);
    SetLibraryIcons(this);
    return TRUE;
}

// Ending hides the window; the object and its window stay until the next
// posted text or the library's exit.
void CDlgPosted::OnOK()
{
    ShowWindow(SW_HIDE);
}

void CDlgPosted::OnCancel()
{
    ShowWindow(SW_HIDE);
}

void CDlgPosted::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    m_layout.Relayout(this);
}

void CDlgPosted::OnShowWindow(BOOL bShow, UINT nStatus)
{
    CDialog::OnShowWindow(bShow, nStatus);
    // The end of the text in view (the End key would only reach the end
    // of the caret's line).
    HWND hEdit = ::GetDlgItem(m_hWnd, IDC_POSTED_TEXT);
    const int length = ::GetWindowTextLengthA(hEdit);
    ::SendMessageA(hEdit, EM_SETSEL, static_cast<WPARAM>(length), length);
    ::SendMessageA(hEdit, EM_SCROLLCARET, 0, 0);
}

//--- CToolTipCtrlEx

IMPLEMENT_DYNAMIC(CToolTipCtrlEx, CWnd)

BEGIN_MESSAGE_MAP(CToolTipCtrlEx, CWnd)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

BOOL CToolTipCtrlEx::OnEraseBkgnd(HDC)
{
    Default();
    return TRUE;
}
