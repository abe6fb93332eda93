#include "framework/dialog/Dialog.h"

#include <cstring>
#include <vector>

#include "framework/app/FaultGuard.h"
#include "framework/app/WinApp.h"
#include "framework/dialog/PropertyPage.h"
#include "framework/ole/OccManager.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)
IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDHelp(nIDTemplate), m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd)
{
}

HWND CDialog::ParentHandle() const
{
    if (m_pParentWnd != nullptr)
        return m_pParentWnd->m_hWnd;
    CWnd* pMain = AfxGetMainWnd();
    return pMain != nullptr ? pMain->m_hWnd : nullptr;
}

// Only WM_INITDIALOG is the dialog procedure's: everything else reached the
// object's map already, on its way to the system's dialog procedure.
// The initialisation runs in a guard for the dialog's window, inside the
// system's call: a fault in OnInitDialog unwinds no frame of the system's
// dialog procedure, and breaks the loop the dialog is starting for.
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT nMsg, WPARAM, LPARAM)
{
    if (nMsg != WM_INITDIALOG)
        return FALSE;
    BOOL bResult = TRUE;
    bool returned = false;
    const DWORD fault = AfxCallGuardedFor(hWnd, [&] {
        try
        {
            CDialog* pDialog = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(hWnd));
            if (pDialog != nullptr)
            {
                // Controls the template names by class id (resource scripts
                // cannot describe them) exist before the dialog's own
                // initialisation.
                AfxCreateTemplateControls(hWnd);
                RECT rcCreated = {};
                ::GetWindowRect(hWnd, &rcCreated);
                bResult = pDialog->OnInitDialog();
                pDialog->CenterIfUnplaced(rcCreated);
            }
            returned = true;
        }
        catch (...)
        {
        }
    });
    if (!returned)
        AfxReportEntryFailure("OnInitDialog", fault);
    return returned ? bResult : TRUE;
}

namespace {

// The template resource and, when pcb is given, its size in bytes.
const void* FindDialogTemplate(UINT nIDTemplate, DWORD* pcb = nullptr)
{
    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hRes = ::FindResourceA(hInst, MAKEINTRESOURCEA(nIDTemplate), MAKEINTRESOURCEA(5) /* RT_DIALOG */);
    HGLOBAL hGlobal = hRes != nullptr ? ::LoadResource(hInst, hRes) : nullptr;
    if (pcb != nullptr)
        *pcb = hGlobal != nullptr ? ::SizeofResource(hInst, hRes) : 0;
    return hGlobal != nullptr ? ::LockResource(hGlobal) : nullptr;
}

// Where a template keeps its style: an extended template (signature 0xFFFF
// in its second word) after its version, signature, help id and ex-style.
size_t TemplateStyleOffset(const BYTE* pTemplate, DWORD cb)
{
    const bool bExtended = cb >= 16 && pTemplate[2] == 0xFF && pTemplate[3] == 0xFF;
    return bExtended ? 12 : 0;
}

// Dialogs that the template itself places (the system centres DS_CENTER
// ones; DS_ABSALIGN ones stand at screen coordinates), children and
// dialogs shown at creation are left where they are.
bool IsAutoCenterStyle(DWORD dwStyle)
{
    return (dwStyle & (WS_CHILD | WS_VISIBLE | DS_CENTER | DS_CENTERMOUSE | DS_ABSALIGN)) == 0;
}

} // namespace

BOOL CDialog::CreateIndirect(const void* lpTemplate, HWND hWndParent)
{
    CreateState state;
    BeginCreate(state, this);
    HWND hWnd = lpTemplate == nullptr ? nullptr
        : ::CreateDialogIndirectParamA(AfxGetResourceHandle(), static_cast<LPCDLGTEMPLATEA>(lpTemplate),
                                       hWndParent, AfxDlgProc, 0);
    return EndCreate(state, hWnd);
}

void CDialog::PrepareModeless(UINT nIDTemplate, CWnd* pParentWnd)
{
    m_nIDTemplate = nIDTemplate;
    if (m_nIDHelp == 0)
        m_nIDHelp = nIDTemplate;
    m_pParentWnd = pParentWnd;
    m_bModal = FALSE;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    PrepareModeless(nIDTemplate, pParentWnd);
    return CreateIndirect(FindDialogTemplate(nIDTemplate), ParentHandle());
}

BOOL CDialog::CreateAsChild(UINT nIDTemplate, CWnd* pParentWnd)
{
    PrepareModeless(nIDTemplate, pParentWnd);
    DWORD cb = 0;
    const BYTE* pSource = static_cast<const BYTE*>(FindDialogTemplate(nIDTemplate, &cb));
    if (pSource == nullptr || pParentWnd == nullptr)
        return CreateIndirect(nullptr, nullptr);
    // A copy with the page's styles.
    std::vector<BYTE> copy(pSource, pSource + cb);
    const size_t nStyleAt = TemplateStyleOffset(pSource, cb);
    if (copy.size() < nStyleAt + 4)
        return CreateIndirect(nullptr, nullptr);
    DWORD dwStyle;
    memcpy(&dwStyle, &copy[nStyleAt], sizeof(dwStyle));
    dwStyle &= ~static_cast<DWORD>(WS_CAPTION | WS_BORDER | WS_THICKFRAME | WS_POPUP | WS_VISIBLE |
                                   WS_SYSMENU | DS_MODALFRAME);
    dwStyle |= WS_CHILD | DS_CONTROL;
    memcpy(&copy[nStyleAt], &dwStyle, sizeof(dwStyle));
    return CreateIndirect(copy.data(), pParentWnd->m_hWnd);
}

HWND CDialog::ModalOwner() const
{
    HWND hWnd = ParentHandle();
    if (hWnd == nullptr)
        hWnd = ::GetActiveWindow();
    // A child cannot own a window: its top-level window does.
    return hWnd != nullptr ? ::GetAncestor(hWnd, GA_ROOT) : nullptr;
}

INT_PTR CDialog::DoModal()
{
    DWORD cb = 0;
    const void* lpTemplate = FindDialogTemplate(m_nIDTemplate, &cb);
    if (lpTemplate == nullptr)
        return -1;
    const size_t nStyleAt = TemplateStyleOffset(static_cast<const BYTE*>(lpTemplate), cb);
    DWORD dwStyle = 0;
    if (cb >= nStyleAt + sizeof(dwStyle))
        memcpy(&dwStyle, static_cast<const BYTE*>(lpTemplate) + nStyleAt, sizeof(dwStyle));
    m_bCenterUnplaced = IsAutoCenterStyle(dwStyle);
    HWND hOwner = ModalOwner();
    // The owner takes input again when the dialog ends, or when a fault
    // breaks this call off, even before the dialog's window exists (a
    // control of other code faulting while the system makes it).
    CFaultHold ownerDisabled;
    if (hOwner != nullptr && ::IsWindowEnabled(hOwner))
    {
        ::EnableWindow(hOwner, FALSE);
        ownerDisabled.Hold([](const ULONG_PTR* data) { ::EnableWindow(reinterpret_cast<HWND>(data[0]), TRUE); },
                           reinterpret_cast<ULONG_PTR>(hOwner));
    }

    m_bModal = TRUE;
    // Set before the window exists, so that an EndDialog in OnInitDialog holds.
    m_bContinueModal = TRUE;
    m_nModalResult = -1;
    INT_PTR nResult = -1;
    CFaultLoop starting(m_hWnd);
    // A fault that breaks this call off (not one its loop takes) leaves no
    // window on the object, whose frame may be gone with the call; the
    // window goes before the owner is enabled. After an orderly end there is
    // nothing left to do.
    CFaultHold abandoned;
    if (CreateIndirect(lpTemplate, hOwner))
    {
        abandoned.Hold(&AfxDestroyAbandonedWindow, reinterpret_cast<ULONG_PTR>(this),
                       reinterpret_cast<ULONG_PTR>(m_hWnd));
        // A fault in the dialog's code while it started ends it as cancelled.
        if (starting.IsBroken())
            EndModalLoop(IDCANCEL);
        if (m_bContinueModal)
        {
            DWORD dwFlags = MLF_SHOWONIDLE;
            if (GetStyle() & DS_NOIDLEMSG)
                dwFlags |= MLF_NOIDLEMSG;
            RunModalLoop(dwFlags);
        }
        nResult = m_nModalResult;
        // Hidden before the owner is enabled, so that activation returns to
        // the owner and not to some other window.
        if (m_hWnd != nullptr)
            ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                           SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    ownerDisabled.Release();
    if (hOwner != nullptr && m_hWnd != nullptr && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(hOwner);
    DestroyWindow();
    m_bModal = FALSE;
    m_bCenterUnplaced = FALSE;
    m_bContinueModal = FALSE;
    return nResult;
}

void CDialog::EndDialog(int nResult)
{
    if (m_hWnd == nullptr)
        return;
    if (m_bModal)
        EndModalLoop(nResult);
    else
        DestroyWindow();
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

BOOL CDialog::CheckAutoCenter()
{
    return TRUE;
}

// The system opens a dialog at its template's place in the owner's client
// area, usually the owner's top-left corner: a modal dialog that its
// initialisation neither moved nor showed is centred over its owner instead.
void CDialog::CenterIfUnplaced(const RECT& rcCreated)
{
    if (!m_bModal || !m_bCenterUnplaced || !m_bContinueModal || !IsWindow() || (GetStyle() & WS_VISIBLE))
        return;
    RECT rc = {};
    GetWindowRect(&rc);
    if (rc.left != rcCreated.left || rc.top != rcCreated.top || !CheckAutoCenter())
        return;
    CenterWindow();
}

// A dialog whose controls cannot be stored stays open.
void CDialog::OnOK()
{
    if (UpdateData(TRUE))
        EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

// The dialog keys belong to the top-level dialog: a child dialog (a page)
// leaves them to it, so that Enter and Esc in a page reach its host's OK and
// Cancel.
BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE;
    return m_hWnd != nullptr && !(GetStyle() & WS_CHILD) && ::IsDialogMessageA(m_hWnd, pMsg);
}
