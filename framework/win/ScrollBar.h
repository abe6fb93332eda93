// CScrollBar: the system scroll bar control; one call each.
#ifndef VA_FRAMEWORK_WIN_SCROLLBAR_H
#define VA_FRAMEWORK_WIN_SCROLLBAR_H

#include "framework/win/Wnd.h"

class CScrollBar : public CWnd
{
public:
    static LPCSTR GetWndClassName() { return "SCROLLBAR"; }

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::Create(GetWndClassName(), nullptr, dwStyle, rect, pParentWnd, nID);
    }
    int GetScrollPos() const { return ::GetScrollPos(m_hWnd, SB_CTL); }
    int SetScrollPos(int nPos, BOOL bRedraw = TRUE) { return ::SetScrollPos(m_hWnd, SB_CTL, nPos, bRedraw); }
    void GetScrollRange(LPINT lpMinPos, LPINT lpMaxPos) const { ::GetScrollRange(m_hWnd, SB_CTL, lpMinPos, lpMaxPos); }
    void SetScrollRange(int nMinPos, int nMaxPos, BOOL bRedraw = TRUE)
    {
        ::SetScrollRange(m_hWnd, SB_CTL, nMinPos, nMaxPos, bRedraw);
    }
    BOOL GetScrollInfo(LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL) const
    {
        lpScrollInfo->cbSize = sizeof(SCROLLINFO);
        lpScrollInfo->fMask = nMask;
        return ::GetScrollInfo(m_hWnd, SB_CTL, lpScrollInfo);
    }
    BOOL SetScrollInfo(LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE)
    {
        lpScrollInfo->cbSize = sizeof(SCROLLINFO);
        ::SetScrollInfo(m_hWnd, SB_CTL, lpScrollInfo, bRedraw);
        return TRUE;
    }
    // The page size (SIF_PAGE).
    UINT GetPageSize() const
    {
        SCROLLINFO si = {};
        GetScrollInfo(&si, SIF_PAGE);
        return si.nPage;
    }
    void ShowScrollBar(BOOL bShow = TRUE) { ::ShowScrollBar(m_hWnd, SB_CTL, bShow); }
};

#endif // VA_FRAMEWORK_WIN_SCROLLBAR_H
