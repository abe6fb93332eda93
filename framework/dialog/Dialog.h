// CDialog: a dialog box from a template resource, modal or modeless.
//
// The dialog window is attached to its object when it is created (as every
// framework window is) and its messages run through the object's message map
// before the system's dialog procedure. The dialog procedure only starts the
// dialog (OnInitDialog); no exception leaves it.
#ifndef VA_FRAMEWORK_DIALOG_DIALOG_H
#define VA_FRAMEWORK_DIALOG_DIALOG_H

#include "framework/win/Wnd.h"

class CDialog : public CWnd
{
    DECLARE_DYNAMIC(CDialog)

public:
    CDialog() = default;
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // Modeless: creates the dialog and returns; FALSE when it could not be made.
    BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    // Modal: runs the dialog until EndDialog; -1 when it could not be made.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);

    // Called with WM_INITDIALOG; TRUE gives the focus to the first control.
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    BOOL PreTranslateMessage(MSG* pMsg) override;

    UINT m_nIDHelp = 0;

protected:
    UINT m_nIDTemplate = 0;
    CWnd* m_pParentWnd = nullptr;
    BOOL m_bModal = FALSE;

    DECLARE_MESSAGE_MAP()

private:
    friend INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM);
    HWND ParentHandle() const;
};

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

#endif // VA_FRAMEWORK_DIALOG_DIALOG_H
