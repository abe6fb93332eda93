// The window object through which a view creates and holds its WebBrowser
// control's window.
//
// Classes in this file:
//   CBrowserSubWnd   the control's window: a page's window.close() closes
//                    the whole tab
#ifndef VA_TAB_BROWSERSUBWND_H
#define VA_TAB_BROWSERSUBWND_H

#include "framework/ole/OleControlWnd.h"

// The menu item the control's own popup menus get enabled.
const UINT kCmdEngineMenuItem = 36433;

class CBrowserSubWnd : public COleControlWnd
{
    DECLARE_DYNAMIC(CBrowserSubWnd)
public:
    CBrowserSubWnd() = default;

protected:
    // WM_CLOSE of the control's window (a script's window.close()) is
    // swallowed and posted to the window two levels up instead (control
    // window, view, tab frame), so that the whole tab closes; handled here,
    // it is caught in whichever loop dispatches it.
    void OnClose();
    void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);

    DECLARE_MESSAGE_MAP()
};

#endif // VA_TAB_BROWSERSUBWND_H
