// RedrawGuard: a window's redrawing is off for a scope; when the scope ends
// it is switched on again and the window repainted, so that what changed
// meanwhile shows.
#ifndef VA_FRAMEWORK_WIN_REDRAWGUARD_H
#define VA_FRAMEWORK_WIN_REDRAWGUARD_H

#include "framework/win/WinDefs.h"

class RedrawGuard
{
public:
    explicit RedrawGuard(HWND hWnd) : m_hWnd(hWnd)
    {
        if (m_hWnd != nullptr)
            ::SendMessageA(m_hWnd, WM_SETREDRAW, FALSE, 0);
    }
    ~RedrawGuard()
    {
        if (m_hWnd == nullptr || !::IsWindow(m_hWnd))
            return;
        ::SendMessageA(m_hWnd, WM_SETREDRAW, TRUE, 0);
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
    }
    RedrawGuard(const RedrawGuard&) = delete;
    RedrawGuard& operator=(const RedrawGuard&) = delete;

private:
    HWND m_hWnd;
};

#endif // VA_FRAMEWORK_WIN_REDRAWGUARD_H
