// CStatic: the static control.
#ifndef VA_FRAMEWORK_WIN_STATIC_H
#define VA_FRAMEWORK_WIN_STATIC_H

#include "framework/win/Wnd.h"

class CStatic : public CWnd
{
public:
    static LPCSTR GetWndClassName() { return "STATIC"; }

    BOOL Create(LPCSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::Create(GetWndClassName(), lpszText, dwStyle, rect, pParentWnd, nID);
    }
    // An SS_ICON static's icon; returns the previous one.
    HICON SetIcon(HICON hIcon) { return (HICON)SendMessage(STM_SETICON, (WPARAM)hIcon); }
    HICON GetIcon() const { return (HICON)::SendMessageA(m_hWnd, STM_GETICON, 0, 0); }
};

#endif // VA_FRAMEWORK_WIN_STATIC_H
