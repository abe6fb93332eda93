// OLE set-up of a program and the control-container manager.
//
// Classes in this file:
//   COccManager   makes the containers and sites of hosted controls; a
//                 program installs its own (AfxEnableControlContainer) to
//                 hand out sites of its own class
#ifndef VA_FRAMEWORK_OLE_OCCMANAGER_H
#define VA_FRAMEWORK_OLE_OCCMANAGER_H

#include "framework/ole/OleCompat.h"

class COleControlContainer;
class COleControlSite;

class COccManager
{
public:
    virtual ~COccManager() = default;
    virtual COleControlContainer* CreateContainer(HWND hWnd);
    virtual COleControlSite* CreateSite(COleControlContainer* pCtrlCont);
};

// OLE on a single-threaded apartment for this thread; FALSE when it failed.
// Each successful call is matched by one AfxOleTerm.
BOOL AfxOleInit();
void AfxOleTerm();

// Installs the manager (not owned; null restores the framework's own).
void AfxEnableControlContainer(COccManager* pOccManager = nullptr);
COccManager* AfxGetOccManager();

// Creates the controls that a dialog template names by placeholder: each
// child "Static" whose text is a class id in braces ("{8856F961-...}") is
// replaced by that control, at the placeholder's rectangle and with its id,
// visibility and tab stop. Returns how many were created; a placeholder whose
// control cannot be created stays as it is.
int AfxCreateTemplateControls(HWND hDlg);

#endif // VA_FRAMEWORK_OLE_OCCMANAGER_H
