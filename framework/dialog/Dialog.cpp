#include "framework/dialog/Dialog.h"

#include "framework/app/WinApp.h"
#include "framework/ole/OccManager.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

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
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT nMsg, WPARAM, LPARAM)
{
    if (nMsg != WM_INITDIALOG)
        return FALSE;
    CDialog* pDialog = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(hWnd));
    if (pDialog == nullptr)
        return TRUE;
    try
    {
        // Controls the template names by class id (resource scripts cannot
        // describe them) exist before the dialog's own initialisation.
        AfxCreateTemplateControls(hWnd);
        return pDialog->OnInitDialog();
    }
    catch (...)
    {
        ::OutputDebugStringA("CDialog: exception in OnInitDialog\n");
        return TRUE;
    }
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    m_nIDTemplate = nIDTemplate;
    if (m_nIDHelp == 0)
        m_nIDHelp = nIDTemplate;
    m_pParentWnd = pParentWnd;
    m_bModal = FALSE;
    CreateState state;
    BeginCreate(state, this);
    HWND hWnd = ::CreateDialogParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDTemplate), ParentHandle(),
                                     AfxDlgProc, 0);
    return EndCreate(state, hWnd);
}

INT_PTR CDialog::DoModal()
{
    m_bModal = TRUE;
    HWND hParent = ParentHandle();
    CreateState state;
    BeginCreate(state, this);
    // The creation state is needed only until the dialog window exists; the
    // system's modal loop runs inside this call.
    INT_PTR nResult = ::DialogBoxParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIDTemplate), hParent,
                                        AfxDlgProc, 0);
    m_bModal = FALSE;
    // A dialog that was never made has had PostNcDestroy here.
    if (!EndCreate(state, state.hAttached))
        return -1;
    return nResult;
}

void CDialog::EndDialog(int nResult)
{
    if (m_hWnd == nullptr)
        return;
    if (m_bModal)
        ::EndDialog(m_hWnd, nResult);
    else
        DestroyWindow();
}

BOOL CDialog::OnInitDialog()
{
    return TRUE;
}

void CDialog::OnOK()
{
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    if (m_hWnd != nullptr && !m_bModal && ::IsDialogMessageA(m_hWnd, pMsg))
        return TRUE;
    return CWnd::PreTranslateMessage(pMsg);
}
