#include "framework/frame/ReBar.h"

#include "framework/frame/FrameWnd.h"

IMPLEMENT_DYNAMIC(CReBar, CControlBar)

BEGIN_MESSAGE_MAP(CReBar, CControlBar)
    ON_NOTIFY_REFLECT(RBN_HEIGHTCHANGE, OnHeightChange)
END_MESSAGE_MAP()

BOOL CReBar::Create(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID)
{
    dwCtrlStyle |= CCS_NOPARENTALIGN | CCS_NODIVIDER;
    if (!CreateBar(0, GetWndClassName(), pParentWnd, dwStyle, nID, dwCtrlStyle, CRect(0, 0, 100, 24)))
        return FALSE;
    REBARINFO info = {};
    SetBarInfo(&info);
    return TRUE;
}

BOOL CReBar::AddBar(CWnd* pBar, LPCSTR lpszText, HBITMAP hbmp, DWORD dwStyle)
{
    if (pBar == nullptr || !pBar->IsWindow())
        return FALSE;
    pBar->SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetParent(pBar->m_hWnd, m_hWnd);
    CRect rc;
    pBar->GetWindowRect(&rc);
    REBARBANDINFOA band = {};
    band.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_ID | RBBIM_SIZE;
    band.fStyle = dwStyle;
    band.hwndChild = pBar->m_hWnd;
    band.cxMinChild = 0;
    band.cyMinChild = static_cast<UINT>(rc.Height());
    band.cx = static_cast<UINT>(rc.Width());
    band.wID = static_cast<UINT>(pBar->GetDlgCtrlID());
    CString text(lpszText != nullptr ? lpszText : "");
    if (lpszText != nullptr)
    {
        band.fMask |= RBBIM_TEXT;
        band.lpText = const_cast<LPSTR>(static_cast<LPCSTR>(text));
    }
    if (hbmp != nullptr)
    {
        band.fMask |= RBBIM_BACKGROUND;
        band.hbmBack = hbmp;
    }
    return InsertBand(-1, &band);
}

CSize CReBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    CRect window, client;
    GetWindowRect(&window);
    GetClientRect(&client);
    // The bands' height plus the window's own borders.
    int height = static_cast<int>(GetBarHeight());
    CSize size(bStretch && bHorz ? 32767 : window.Width(),
               height > 0 ? height + window.Height() - client.Height() : window.Height());
    return size;
}

void CReBar::OnHeightChange(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != nullptr)
        pFrame->DelayRecalcLayout();
}
