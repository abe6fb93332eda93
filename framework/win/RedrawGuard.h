// RedrawGuard: a window's redrawing is off for a scope; when the scope ends
// (or End is called), or a fault breaks it off, it is switched on again and
// the window repainted with its frame and children, so that what changed
// meanwhile shows. Every redraw turned off goes through it: a check the test
// command runs fails on one turned off elsewhere.
#ifndef VA_FRAMEWORK_WIN_REDRAWGUARD_H
#define VA_FRAMEWORK_WIN_REDRAWGUARD_H

#include "framework/app/FaultGuard.h"
#include "framework/win/WinDefs.h"

class RedrawGuard
{
public:
    explicit RedrawGuard(HWND hWnd)
    {
        if (hWnd == nullptr)
            return;
        ::SendMessageA(hWnd, WM_SETREDRAW, FALSE, 0);
        m_hold.Hold(&RedrawAgain, reinterpret_cast<ULONG_PTR>(hWnd));
    }
    RedrawGuard(const RedrawGuard&) = delete;
    RedrawGuard& operator=(const RedrawGuard&) = delete;

    // Redrawing comes back now, before the scope ends (for code of the scope
    // that must see the window drawn, such as a message box over it).
    void End() { m_hold.Release(); }

private:
    static void RedrawAgain(const ULONG_PTR* data)
    {
        const HWND hWnd = reinterpret_cast<HWND>(data[0]);
        if (!::IsWindow(hWnd))
            return;
        ::SendMessageA(hWnd, WM_SETREDRAW, TRUE, 0);
        ::RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
    }

    CFaultHold m_hold;
};

#endif // VA_FRAMEWORK_WIN_REDRAWGUARD_H
