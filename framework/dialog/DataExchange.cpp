#include "framework/dialog/DataExchange.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "framework/dialog/Dialog.h"

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    HWND hWnd = ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
    if (hWnd == nullptr)
        Fail();
    m_hWndLastControl = hWnd;
    return hWnd;
}

void CDataExchange::Fail()
{
    if (m_bSaveAndValidate && m_hWndLastControl != nullptr)
    {
        ::SetFocus(m_hWndLastControl);
        ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
    throw CDataExchangeFailure();
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd != nullptr)
        return;
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (!rControl.SubclassWindow(hWnd))
        pDX->Fail();
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        CWnd::FromHandle(hWnd)->GetWindowText(value);
    else
        ::SetWindowTextA(hWnd, value);
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (!pDX->m_bSaveAndValidate)
    {
        char text[16];
        wsprintfA(text, "%d", value);
        ::SetWindowTextA(hWnd, text);
        return;
    }
    CString text;
    CWnd::FromHandle(hWnd)->GetWindowText(text);
    text.Trim();
    const char* begin = text;
    char* end = nullptr;
    errno = 0;
    long number = std::strtol(begin, &end, 10);
    if (end == begin || *end != '\0' || errno == ERANGE || number < INT_MIN || number > INT_MAX)
        pDX->Fail();
    value = static_cast<int>(number);
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = static_cast<int>(::SendMessageA(hWnd, BM_GETCHECK, 0, 0));
    else
        ::SendMessageA(hWnd, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void CDialog::DoDataExchange(CDataExchange*)
{
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    if (m_hWnd == nullptr)
        return FALSE;
    CDataExchange dx(this, bSaveAndValidate);
    try
    {
        DoDataExchange(&dx);
    }
    catch (const CDataExchangeFailure&)
    {
        return FALSE;
    }
    return TRUE;
}
