#include "framework/frame/ControlBar.h"

#include "framework/frame/FrameWnd.h"

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
    ON_WM_DESTROY()
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

BOOL CControlBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID, int nSize)
{
    CRect rect(0, 0, nSize, nSize);
    return CreateBar(0, nullptr, pParentWnd, dwStyle, nID, 0, rect);
}

BOOL CControlBar::CreateBar(DWORD dwExStyle, LPCSTR lpszClassName, CWnd* pParentWnd, DWORD dwStyle,
                            UINT nID, DWORD dwCtrlStyle, const RECT& rect)
{
    m_dwStyle = dwStyle & CBRS_ALL;
    DWORD dwWndStyle = (dwStyle & ~CBRS_ALL) | dwCtrlStyle | WS_CHILD;
    if (!CreateEx(dwExStyle, lpszClassName, nullptr, dwWndStyle, rect, pParentWnd, nID))
        return FALSE;
    m_pDockSite = dynamic_cast<CFrameWnd*>(pParentWnd);
    if (m_pDockSite != nullptr)
        m_pDockSite->AddControlBar(this);
    return TRUE;
}

CSize CControlBar::CalcFixedLayout(BOOL, BOOL)
{
    CRect rect;
    GetWindowRect(&rect);
    return rect.Size();
}

void CControlBar::OnUpdateCmdUI(CFrameWnd*, BOOL)
{
}

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM)
{
    if (!IsVisible())
        return 0;
    CFrameWnd* pTarget = GetParentFrame();
    if (pTarget != nullptr)
        OnUpdateCmdUI(pTarget, static_cast<BOOL>(wParam));
    return 0;
}

void CControlBar::OnDestroy()
{
    if (m_pDockSite != nullptr)
    {
        m_pDockSite->RemoveControlBar(this);
        m_pDockSite = nullptr;
    }
    Default();
}
