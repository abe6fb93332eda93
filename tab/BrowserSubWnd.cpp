#include "tab/BrowserSubWnd.h"

IMPLEMENT_DYNAMIC(CBrowserSubWnd, COleControlWnd)

BEGIN_MESSAGE_MAP(CBrowserSubWnd, COleControlWnd)
    ON_WM_CLOSE()
    ON_WM_INITMENUPOPUP()
END_MESSAGE_MAP()

void CBrowserSubWnd::OnClose()
{
    HWND hView = ::GetParent(m_hWnd);
    HWND hTabFrame = hView != nullptr ? ::GetParent(hView) : nullptr;
    if (hTabFrame != nullptr)
        ::PostMessageA(hTabFrame, WM_CLOSE, 0, 0);
}

void CBrowserSubWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu)
{
    COleControlWnd::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
    if (pPopupMenu != nullptr)
        ::EnableMenuItem(pPopupMenu->m_hMenu, kCmdEngineMenuItem, MF_BYCOMMAND | MF_ENABLED);
}
