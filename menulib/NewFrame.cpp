#include "menulib/NewFrame.h"

IMPLEMENT_DYNCREATE(CNewFrameWnd, CFrameWnd)
IMPLEMENT_DYNAMIC(CNewMDIFrameWnd, CMDIFrameWnd)
IMPLEMENT_DYNCREATE(CNewMDIChildWnd, CMDIChildWnd)
IMPLEMENT_DYNAMIC(CNewDialog, CDialog)
IMPLEMENT_DYNCREATE(CNewMiniFrameWnd, CMiniFrameWnd)
IMPLEMENT_DYNCREATE(CNewMiniDockFrameWnd, CMiniDockFrameWnd)
IMPLEMENT_DYNAMIC(CNewMultiDocTemplate, CMultiDocTemplate)

namespace NewFrameImpl {

BOOL DrawMenuItem(const DRAWITEMSTRUCT* lpDis)
{
    if (lpDis == nullptr || lpDis->CtlType != ODT_MENU)
        return FALSE;
    CNewMenu* pMenu = CNewMenu::FromHandleNew(reinterpret_cast<HMENU>(lpDis->hwndItem));
    if (pMenu == nullptr)
        return FALSE;
    pMenu->DrawItem(const_cast<LPDRAWITEMSTRUCT>(lpDis));
    return TRUE;
}

LRESULT EnterMenuLoop(CWnd* pWnd, UINT_PTR& rTimer, int& rHotItem)
{
    if (rTimer != 0)
    {
        pWnd->KillTimer(rTimer);
        rTimer = 0;
    }
    if (rHotItem != -1)
    {
        // The hot item goes back to its normal look before the menu opens.
        RedrawMenuBarItem(pWnd->m_hWnd, ::GetMenu(pWnd->m_hWnd), rHotItem, 0);
        rHotItem = -1;
    }
    return pWnd->Default();
}

void OnTimer(CWnd* pWnd, UINT_PTR nIDEvent, UINT_PTR nHotTimer)
{
    pWnd->Default();
    if (nHotTimer == 0 || nIDEvent != nHotTimer)
        return;
    POINT pt;
    ::GetCursorPos(&pt);
    pWnd->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
}

} // namespace NewFrameImpl

// A bar floated off these frames stands in a frame whose system menu is
// drawn as theirs.
CNewFrameWnd::CNewFrameWnd()
{
    m_pFloatingFrameClass = RUNTIME_CLASS(CNewMiniDockFrameWnd);
}

CNewMDIFrameWnd::CNewMDIFrameWnd()
{
    m_pFloatingFrameClass = RUNTIME_CLASS(CNewMiniDockFrameWnd);
}

BOOL CNewFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd)
{
    return LoadFrameWithNewMenu(nIDResource, dwDefaultStyle, pParentWnd);
}

BOOL CNewMDIFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd)
{
    return LoadFrameWithNewMenu(nIDResource, dwDefaultStyle, pParentWnd);
}

//--- CNewDialog

BEGIN_MESSAGE_MAP(CNewDialog, CNewFrame<CDialog>)
    ON_WM_INITMENUPOPUP()
END_MESSAGE_MAP()

CNewDialog::CNewDialog(UINT nIDTemplate, CWnd* pParentWnd)
{
    m_nIDTemplate = nIDTemplate;
    m_nIDHelp = nIDTemplate;
    m_pParentWnd = pParentWnd;
}

void CNewDialog::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu)
{
    // Modes of the dialog's windows (capture, dropped lists) end first.
    HWND hCapture = ::GetCapture();
    if (hCapture != nullptr && hCapture != m_hWnd)
        ::SendMessageA(hCapture, WM_CANCELMODE, 0, 0);
    if (!bSysMenu && pPopupMenu != nullptr)
        AfxUpdateMenuItems(this, pPopupMenu, TRUE);
    Default();
    CNewMenu::OnInitMenuPopup(m_hWnd, pPopupMenu != nullptr ? pPopupMenu->m_hMenu : nullptr, nIndex, bSysMenu);
}
