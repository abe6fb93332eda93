// CDialog: a dialog box from a template resource, modal or modeless.
//
// The dialog window is attached to its object when it is created (as every
// framework window is) and its messages run through the object's message map
// before the system's dialog procedure. The dialog procedure only starts the
// dialog (OnInitDialog); no exception leaves it.
//
// A modal dialog runs in the framework's own loop (CWnd::RunModalLoop) with
// its owner disabled, so that its windows' PreTranslateMessage sees every
// message before the dialog keys (IsDialogMessage) do. A fault while it
// starts or runs ends it as cancelled: its window is destroyed and its owner
// enabled again as after any other end.
#ifndef VA_FRAMEWORK_DIALOG_DIALOG_H
#define VA_FRAMEWORK_DIALOG_DIALOG_H

#include "framework/win/Wnd.h"

class CDataExchange;

class CDialog : public CWnd
{
    DECLARE_DYNAMIC(CDialog)

public:
    CDialog() = default;
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // Modeless: creates the dialog and returns; FALSE when it could not be made.
    BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    // A page: the template as a hidden child of pParentWnd, its caption,
    // border, thick frame and popup styles removed and DS_CONTROL added, so
    // that the host's dialog keys cover it (Tab walks into it; Enter and Esc
    // in it reach the host's OK and Cancel). FALSE when it could not be made.
    BOOL CreateAsChild(UINT nIDTemplate, CWnd* pParentWnd);
    // Modal: runs the dialog until EndDialog; -1 when it could not be made.
    // The owner is the parent given, else the main window, else the
    // thread's active top-level window.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);

    // Moves data between the controls and the members (DoDataExchange):
    // bSaveAndValidate TRUE stores the controls; FALSE when a check failed.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    // Called with WM_INITDIALOG; TRUE gives the focus to the first control.
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    BOOL PreTranslateMessage(MSG* pMsg) override;

    UINT m_nIDHelp = 0;

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    // A modal dialog that OnInitDialog neither moved nor showed is centred
    // over its owner, inside the work area, before it first shows; a dialog
    // whose own rule may leave it where the system put it returns FALSE.
    // Templates that place the dialog themselves (DS_CENTER, DS_CENTERMOUSE,
    // DS_ABSALIGN), visible ones and children are never moved.
    virtual BOOL CheckAutoCenter();
    // Creates the dialog from a template in memory; the owner or parent given.
    BOOL CreateIndirect(const void* lpTemplate, HWND hWndParent);

    UINT m_nIDTemplate = 0;
    CWnd* m_pParentWnd = nullptr;
    BOOL m_bModal = FALSE;

    DECLARE_MESSAGE_MAP()

private:
    friend INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM);
    HWND ParentHandle() const;
    HWND ModalOwner() const;
    void PrepareModeless(UINT nIDTemplate, CWnd* pParentWnd);
    void CenterIfUnplaced(const RECT& rcCreated);

    // Set by DoModal when the template leaves the dialog's place to the
    // framework.
    BOOL m_bCenterUnplaced = FALSE;
};

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

#endif // VA_FRAMEWORK_DIALOG_DIALOG_H
