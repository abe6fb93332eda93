#include "framework/frame/ControlBar.h"

#include <algorithm>

#include "framework/frame/FrameWnd.h"

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
    ON_WM_DESTROY()
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
END_MESSAGE_MAP()

void AfxRepositionWindow(AFX_SIZEPARENTPARAMS* pLayout, HWND hWnd, LPCRECT lpRect)
{
    const UINT nFlags = SWP_NOZORDER | SWP_NOACTIVATE;
    int cx = lpRect->right - lpRect->left, cy = lpRect->bottom - lpRect->top;
    if (pLayout->hDWP != nullptr)
        pLayout->hDWP = ::DeferWindowPos(pLayout->hDWP, hWnd, nullptr, lpRect->left, lpRect->top, cx, cy, nFlags);
    if (pLayout->hDWP == nullptr)
        ::SetWindowPos(hWnd, nullptr, lpRect->left, lpRect->top, cx, cy, nFlags);
}

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
    return TRUE;
}

CSize CControlBar::CalcFixedLayout(BOOL, BOOL)
{
    CRect rect;
    GetWindowRect(&rect);
    return rect.Size();
}

CSize CControlBar::CalcDynamicLayout(int, DWORD dwMode)
{
    return CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZ) != 0);
}

LRESULT CControlBar::OnSizeParent(WPARAM, LPARAM lParam)
{
    auto* pLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    if (pLayout == nullptr || !IsVisible() || (m_dwStyle & CBRS_FLOATING) != 0)
        return 0;
    DWORD dwAlign = m_dwStyle & CBRS_ALIGN_ANY;
    BOOL bHorz = (dwAlign & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)) != 0 || dwAlign == 0;
    CSize size;
    if (m_dwStyle & CBRS_SIZE_DYNAMIC)
    {
        DWORD dwMode = (pLayout->bStretch ? LM_STRETCH : 0) | LM_COMMIT |
                       (bHorz ? LM_HORZ | LM_HORZDOCK : LM_VERTDOCK);
        size = CalcDynamicLayout(-1, dwMode);
    }
    else
        size = CalcFixedLayout(pLayout->bStretch, bHorz);
    CRect rest(pLayout->rect);
    CRect rc = rest;
    if (dwAlign & CBRS_ALIGN_BOTTOM)
        rest.bottom = rc.top = std::max(rest.top, rest.bottom - size.cy);
    else if (dwAlign & CBRS_ALIGN_LEFT)
        rest.left = rc.right = std::min(rest.right, rest.left + size.cx);
    else if (dwAlign & CBRS_ALIGN_RIGHT)
        rest.right = rc.left = std::max(rest.left, rest.right - size.cx);
    else
        rest.top = rc.bottom = std::min(rest.bottom, rest.top + size.cy);
    if (bHorz)
        pLayout->sizeTotal.cy += rc.Height();
    else
        pLayout->sizeTotal.cx += rc.Width();
    pLayout->rect = rest;
    AfxRepositionWindow(pLayout, m_hWnd, &rc);
    return 0;
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
    m_pDockSite = nullptr;
    Default();
}
