#include "tab/ScriptRunDlg.h"

#include <windows.h>
#include <exdisp.h>
#include <exdispid.h>

#include "framework/core/File.h"
#include "framework/ole/OleUtil.h"
#include "shared/AppData.h"
#include "shared/TextFormat.h"
#include "tab/PageFrames.h"
#include "tab/TabHost.h"

namespace {

const UINT_PTR kTimeLimitTimer = 1;
// DOCHOSTUIFLAG_ENABLE_FORMS_AUTOCOMPLETE, ENABLE_INPLACE_NAVIGATION, THEME.
const DWORD kRunnerHostFlags = 0x54000;
// No images, videos, sounds, ActiveX or Java, nothing from the cache.
const DWORD kRunnerDownloadControl = 0x4700;
const char kTempPage[] = "VAScriptCallTmp.html";
// etc.dat: the status text of a run stopped at the time limit (seconds).
const int kEtcTimeLimitStop = 82;
const char kTimeLimitStopText[] =
    "\x83X\x83N\x83\x8A\x83v\x83g\x82\xCC\x83y\x81[\x83W\x82\xAA %d \x95\x62\x82\xBD\x82\xC1\x82\xC4\x82\xE0"
    "\x93\xC7\x82\xDD\x8D\x9E\x82\xDD\x82\xF0\x8FI\x82\xA6\x82\xC8\x82\xA2\x82\xBD\x82\xDF\x81\x41\x83X\x83N"
    "\x83\x8A\x83v\x83g\x82\xF0\x8E~\x82\xDF\x82\xDC\x82\xB5\x82\xBD";

} // namespace

BEGIN_MESSAGE_MAP(CScriptRunDlg, CDialog)
    ON_WM_TIMER()
END_MESSAGE_MAP()

BEGIN_EVENTSINK_MAP(CScriptRunDlg, COleEventHandler)
    ON_EVENT(CScriptRunDlg, kScriptRunBrowser, DISPID_NEWWINDOW2, OnNewWindow2)
    ON_EVENT(CScriptRunDlg, kScriptRunBrowser, DISPID_DOCUMENTCOMPLETE, OnDocumentComplete)
END_EVENTSINK_MAP()

CScriptRunDlg::CScriptRunDlg(CWnd* pParent, ITabHost* host)
    : CDialog(kScriptRunTemplate, pParent), m_pHost(host)
{
}

CScriptRunDlg::~CScriptRunDlg()
{
    if (m_pBrowser != nullptr)
        m_pBrowser->Release();
}

ITabHost& CScriptRunDlg::Host() const
{
    return TabHostOr(m_pHost, m_hWnd);
}

IDispatch* CScriptRunDlg::GetExternalObject()
{
    return Host().GetScriptObject();
}

CString CScriptRunDlg::FillTemplate(const CString& pattern, const CString& language,
                                    const CString& path)
{
    CString text = pattern;
    int at = text.Find("%s");
    if (at < 0)
        return text;
    text = text.Left(at) + language + text.Mid(at + 2);
    const int after = at + language.GetLength();
    at = text.Find("%s", after);
    if (at >= 0)
        text = text.Left(at) + path + text.Mid(at + 2);
    return text;
}

CString CScriptRunDlg::PreparePage()
{
    const int dot = m_scriptPath.ReverseFind('.');
    CString ext = dot >= 0 ? m_scriptPath.Mid(dot) : CString();
    ext.MakeUpper();
    if (ext == ".HTM")
        return m_scriptPath;
    CString pattern;
    CFile in;
    if (in.Open(AppFolders().StringFile("scriptrun.dat"),
                CFile::modeRead | CFile::shareDenyNone))
    {
        const ULONGLONG size = in.GetLength();
        if (size < 1024 * 1024)
        {
            LPSTR buffer = pattern.GetBufferSetLength(static_cast<int>(size));
            const UINT got = in.Read(buffer, static_cast<UINT>(size));
            pattern.ReleaseBuffer(static_cast<int>(got));
        }
    }
    CString page;
    if (ext == ".JS")
        page = FillTemplate(pattern, "javascript", m_scriptPath);
    else if (ext == ".VBS")
        page = FillTemplate(pattern, "vbscript", m_scriptPath);
    const CString pagePath = AppFolders().ScriptFile(kTempPage);
    // A page that could not be written whole would run what an earlier run
    // left there: nothing runs then.
    CFile out;
    if (!out.Open(pagePath, CFile::modeCreate | CFile::modeWrite | CFile::shareDenyNone))
        return CString();
    const BOOL bWritten = out.Write(static_cast<LPCSTR>(page), static_cast<UINT>(page.GetLength())) && out.Flush();
    out.Close();
    return bWritten ? pagePath : CString();
}

BOOL CScriptRunDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_dwHostFlags = kRunnerHostFlags;
    m_bIEMenuAllowed = 0;
    if (m_pBrowser != nullptr)
        m_pBrowser->Release();
    m_pBrowser = HostDialogControl(m_hWnd, kScriptRunBrowser, m_ambient, kRunnerDownloadControl);
    CComPtr<IWebBrowser2> browser;
    if (m_pBrowser == nullptr
        || FAILED(m_pBrowser->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser))))
    {
        EndDialog(IDCANCEL);
        return FALSE;
    }
    const CString page = PreparePage();
    if (page.IsEmpty())
    {
        EndDialog(IDCANCEL);
        return FALSE;
    }
    ::SetTimer(m_hWnd, kTimeLimitTimer, m_timeLimitMs, nullptr);
    CBstr url = CBstr::FromAnsi(page);
    browser->Navigate(url, nullptr, nullptr, nullptr, nullptr);
    return FALSE;
}

// A page that never completes would keep the modal loop (and the program's
// windows, which it disables) for ever; the user is told that the script
// was stopped.
void CScriptRunDlg::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kTimeLimitTimer)
        return;
    ::KillTimer(m_hWnd, kTimeLimitTimer);
    const long seconds = static_cast<long>((m_timeLimitMs + 999) / 1000);
    Host().SetStatusText(TextFormat::FormatNumbers(AppStrings().GetEtcText(kEtcTimeLimitStop), 'd',
                                                   {seconds}, kTimeLimitStopText));
    EndDialog(IDCANCEL);
}

void CScriptRunDlg::OnNewWindow2(VaEventArgs& args)
{
    if (VARIANT_BOOL* pCancel = args.GetBoolRef(1))
        *pCancel = VARIANT_TRUE;
}

// Only the top document's completion ends the run: a frame completes first.
void CScriptRunDlg::OnDocumentComplete(VaEventArgs& args)
{
    if (!IsSameObject(args.GetDispatch(0), m_pBrowser))
        return;
    ::KillTimer(m_hWnd, kTimeLimitTimer);
    OnOK();
}
