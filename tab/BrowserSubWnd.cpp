#include "tab/BrowserSubWnd.h"

IMPLEMENT_DYNAMIC(CBrowserSubWnd, COleControlWnd)

BEGIN_MESSAGE_MAP(CBrowserSubWnd, COleControlWnd)
    ON_WM_INITMENUPOPUP()
END_MESSAGE_MAP()

BOOL CBrowserSubWnd::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_CLOSE && pMsg->hwnd == m_hWnd)
    {
        HWND hView = ::GetParent(m_hWnd);
        HWND hTabFrame = hView != nullptr ? ::GetParent(hView) : nullptr;
        if (hTabFrame != nullptr)
            ::PostMessageA(hTabFrame, WM_CLOSE, 0, 0);
        return TRUE;
    }
    return COleControlWnd::PreTranslateMessage(pMsg);
}

void CBrowserSubWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu)
{
    COleControlWnd::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
    if (pPopupMenu != nullptr)
        ::EnableMenuItem(pPopupMenu->m_hMenu, kCmdEngineMenuItem, MF_BYCOMMAND | MF_ENABLED);
}
