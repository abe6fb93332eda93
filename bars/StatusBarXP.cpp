#include "bars/StatusBarXP.h"

BEGIN_MESSAGE_MAP(CStatusBarXP, CStatusBar)
    ON_WM_CREATE()
    ON_WM_SIZE()
END_MESSAGE_MAP()

int CStatusBarXP::OnCreate(LPCREATESTRUCT)
{
    if (Default() == -1)
        return -1;
    if (!m_progress.Create(WS_CHILD | PBS_SMOOTH, CRect(0, 0, 80, 10), this, kProgressId))
        return -1;
    return 0;
}

BOOL CStatusBarXP::SetIndicators(const UINT* lpIDArray, int nIDCount)
{
    if (!CStatusBar::SetIndicators(lpIDArray, nIDCount))
        return FALSE;
    SendMessage(SB_SETMINHEIGHT, kMinHeight);
    return TRUE;
}

void CStatusBarXP::PlaceProgress(BOOL bRepaint)
{
    if (m_progress.m_hWnd == nullptr || m_progressPane < 0 || m_progressPane >= GetCount())
        return;
    CRect pane;
    GetItemRect(m_progressPane, &pane);
    m_progress.MoveWindow(&pane, bRepaint);
}

int CStatusBarXP::ShowProgress(bool show)
{
    if (m_progress.m_hWnd == nullptr)
        return 0;
    if (!show)
    {
        m_progress.ShowWindow(SW_HIDE);
        return 0;
    }
    m_progressPane = 1;
    PlaceProgress(TRUE);
    m_progress.ShowWindow(SW_SHOWNA);
    return 0;
}

void CStatusBarXP::OnSize(UINT nType, int cx, int cy)
{
    CStatusBar::OnSize(nType, cx, cy);
    PlaceProgress(FALSE);
}
