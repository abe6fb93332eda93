// Wrappers of the common controls the frame uses. Each is a CWnd over the
// system control (subclassed at creation, so it can take handlers); methods
// are one message each and keep no state of their own.
//
// Classes in this file:
//   CProgressCtrl   progress bar
#ifndef VA_FRAMEWORK_WIN_CONTROLS_H
#define VA_FRAMEWORK_WIN_CONTROLS_H

#include "framework/win/Wnd.h"

//--- CProgressCtrl
class CProgressCtrl : public CWnd
{
public:
    static LPCSTR GetWndClassName() { return PROGRESS_CLASSA; }

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::Create(GetWndClassName(), nullptr, dwStyle, rect, pParentWnd, nID);
    }
    // 16-bit bounds only; SetRange32 for wider ones.
    void SetRange(short nLower, short nUpper) { SendMessage(PBM_SETRANGE, 0, MAKELPARAM(nLower, nUpper)); }
    void SetRange32(int nLower, int nUpper) { SendMessage(PBM_SETRANGE32, static_cast<WPARAM>(nLower), nUpper); }
    void GetRange(int& nLower, int& nUpper) const
    {
        PBRANGE range = {};
        ::SendMessageA(m_hWnd, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
        nLower = range.iLow;
        nUpper = range.iHigh;
    }
    int SetPos(int nPos) { return static_cast<int>(SendMessage(PBM_SETPOS, static_cast<WPARAM>(nPos))); }
    int GetPos() const { return static_cast<int>(::SendMessageA(m_hWnd, PBM_GETPOS, 0, 0)); }
    int OffsetPos(int nPos) { return static_cast<int>(SendMessage(PBM_DELTAPOS, static_cast<WPARAM>(nPos))); }
    int SetStep(int nStep) { return static_cast<int>(SendMessage(PBM_SETSTEP, static_cast<WPARAM>(nStep))); }
    int StepIt() { return static_cast<int>(SendMessage(PBM_STEPIT)); }
};

#endif // VA_FRAMEWORK_WIN_CONTROLS_H
