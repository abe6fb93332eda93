// Data exchange between a dialog's controls and its members.
//
// Classes in this file:
//   CDataExchange   one exchange: its direction and the dialog
//
// A dialog's DoDataExchange calls the DDX_ functions for its controls;
// CDialog::UpdateData runs it in one direction. A value that cannot be
// stored (a number edit holding no number) gives the control the focus and
// ends the exchange through Fail, which UpdateData reports as FALSE.
#ifndef VA_FRAMEWORK_DIALOG_DATAEXCHANGE_H
#define VA_FRAMEWORK_DIALOG_DATAEXCHANGE_H

#include "framework/win/Wnd.h"

class CDataExchange
{
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

    // The control's window; a missing control fails the exchange.
    HWND PrepareCtrl(int nIDC);
    // Ends the exchange: the last prepared control gets the focus.
    [[noreturn]] void Fail();

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;

private:
    HWND m_hWndLastControl = nullptr;
};

// Thrown by CDataExchange::Fail, caught by UpdateData.
struct CDataExchangeFailure
{
};

// Subclasses the dialog's control into rControl, once.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
// A signed decimal number; saving fails when the text is none.
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
// Check-box state: 0, 1 or 2 (indeterminate).
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);

#endif // VA_FRAMEWORK_DIALOG_DATAEXCHANGE_H
