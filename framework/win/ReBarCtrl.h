// The system rebar control ("ReBarWindow32"); one message each.
//
// Classes in this file:
//   CReBarCtrlT   the control's messages over a window base (CWnd, or the
//                 control bar that CReBar is)
//   CReBarCtrl    the control as a plain window
#ifndef VA_FRAMEWORK_WIN_REBARCTRL_H
#define VA_FRAMEWORK_WIN_REBARCTRL_H

#include "framework/win/Wnd.h"

template <class TBase>
class CReBarCtrlT : public TBase
{
public:
    static LPCSTR GetWndClassName() { return REBARCLASSNAMEA; }
    UINT GetBandCount() const { return static_cast<UINT>(::SendMessageA(this->m_hWnd, RB_GETBANDCOUNT, 0, 0)); }
    // fMask of prbbi says what to read; cbSize is set here.
    BOOL GetBandInfo(UINT uBand, REBARBANDINFOA* prbbi) const
    {
        prbbi->cbSize = sizeof(REBARBANDINFOA);
        return static_cast<BOOL>(::SendMessageA(this->m_hWnd, RB_GETBANDINFOA, uBand, reinterpret_cast<LPARAM>(prbbi)));
    }
    BOOL SetBandInfo(UINT uBand, REBARBANDINFOA* prbbi)
    {
        prbbi->cbSize = sizeof(REBARBANDINFOA);
        return static_cast<BOOL>(this->SendMessage(RB_SETBANDINFOA, uBand, reinterpret_cast<LPARAM>(prbbi)));
    }
    // nIndex -1 appends.
    BOOL InsertBand(int nIndex, REBARBANDINFOA* prbbi)
    {
        prbbi->cbSize = sizeof(REBARBANDINFOA);
        return static_cast<BOOL>(this->SendMessage(RB_INSERTBANDA, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(prbbi)));
    }
    BOOL DeleteBand(UINT uBand) { return static_cast<BOOL>(this->SendMessage(RB_DELETEBAND, uBand)); }
    // The index of the band with that id, or -1.
    int IDToIndex(UINT uBandID) const { return static_cast<int>(::SendMessageA(this->m_hWnd, RB_IDTOINDEX, uBandID, 0)); }
    BOOL MoveBand(UINT uFrom, UINT uTo) { return static_cast<BOOL>(this->SendMessage(RB_MOVEBAND, uFrom, uTo)); }
    void MaximizeBand(UINT uBand) { this->SendMessage(RB_MAXIMIZEBAND, uBand, 0); }
    void MinimizeBand(UINT uBand) { this->SendMessage(RB_MINIMIZEBAND, uBand); }
    BOOL ShowBand(UINT uBand, BOOL bShow = TRUE) { return static_cast<BOOL>(this->SendMessage(RB_SHOWBAND, uBand, bShow)); }
    BOOL GetRect(UINT uBand, LPRECT prc) const
    {
        return static_cast<BOOL>(::SendMessageA(this->m_hWnd, RB_GETRECT, uBand, reinterpret_cast<LPARAM>(prc)));
    }
    UINT GetBarHeight() const { return static_cast<UINT>(::SendMessageA(this->m_hWnd, RB_GETBARHEIGHT, 0, 0)); }
    UINT GetRowCount() const { return static_cast<UINT>(::SendMessageA(this->m_hWnd, RB_GETROWCOUNT, 0, 0)); }
    UINT GetRowHeight(UINT uRow) const { return static_cast<UINT>(::SendMessageA(this->m_hWnd, RB_GETROWHEIGHT, uRow, 0)); }
    void GetBandBorders(UINT uBand, LPRECT prc) const
    {
        ::SendMessageA(this->m_hWnd, RB_GETBANDBORDERS, uBand, reinterpret_cast<LPARAM>(prc));
    }
    BOOL SetBarInfo(REBARINFO* prbi)
    {
        prbi->cbSize = sizeof(REBARINFO);
        return static_cast<BOOL>(this->SendMessage(RB_SETBARINFO, 0, reinterpret_cast<LPARAM>(prbi)));
    }
    // The band under a client point, or -1.
    int HitTest(RBHITTESTINFO* prbht) const
    {
        return static_cast<int>(::SendMessageA(this->m_hWnd, RB_HITTEST, 0, reinterpret_cast<LPARAM>(prbht)));
    }
    COLORREF SetBkColor(COLORREF cr) { return static_cast<COLORREF>(this->SendMessage(RB_SETBKCOLOR, 0, static_cast<LPARAM>(cr))); }
};

// The control as a plain window.
class CReBarCtrl : public CReBarCtrlT<CWnd>
{
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::Create(GetWndClassName(), nullptr, dwStyle, rect, pParentWnd, nID);
    }
};

#endif // VA_FRAMEWORK_WIN_REBARCTRL_H
