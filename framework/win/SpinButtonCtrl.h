// CSpinButtonCtrl: the system up-down control ("msctls_updown32").
#ifndef VA_FRAMEWORK_WIN_SPINBUTTONCTRL_H
#define VA_FRAMEWORK_WIN_SPINBUTTONCTRL_H

#include "framework/win/Wnd.h"

class CSpinButtonCtrl : public CWnd
{
public:
    static LPCSTR GetWndClassName() { return UPDOWN_CLASSA; }

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::Create(GetWndClassName(), nullptr, dwStyle, rect, pParentWnd, nID);
    }
    // The position; *pbError (optional) is TRUE when the buddy's text is no number.
    int GetPos32(BOOL* pbError = nullptr) const
    {
        return static_cast<int>(::SendMessageA(m_hWnd, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(pbError)));
    }
    int SetPos32(int nPos) { return static_cast<int>(SendMessage(UDM_SETPOS32, 0, nPos)); }
    void SetRange32(int nLower, int nUpper) { SendMessage(UDM_SETRANGE32, static_cast<WPARAM>(nLower), nUpper); }
    void GetRange32(int& nLower, int& nUpper) const
    {
        ::SendMessageA(m_hWnd, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&nLower), reinterpret_cast<LPARAM>(&nUpper));
    }
    HWND SetBuddy(HWND hBuddy) { return reinterpret_cast<HWND>(SendMessage(UDM_SETBUDDY, reinterpret_cast<WPARAM>(hBuddy))); }
    HWND GetBuddy() const { return reinterpret_cast<HWND>(::SendMessageA(m_hWnd, UDM_GETBUDDY, 0, 0)); }
};

#endif // VA_FRAMEWORK_WIN_SPINBUTTONCTRL_H
