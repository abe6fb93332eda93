// The framework's modal loop and window centring.
#include "framework/win/Wnd.h"

#include "framework/app/FaultGuard.h"

namespace {

// The window is the loop's window or lies inside it.
bool IsInside(HWND hWndLoop, HWND hWnd)
{
    return hWnd != nullptr && (hWnd == hWndLoop || ::IsChild(hWndLoop, hWnd));
}

} // namespace

int CWnd::RunModalLoop(DWORD dwFlags)
{
    if (!IsWindow())
        return -1;
    // Kept in locals: the object may be ended and its window destroyed by
    // a message of the loop.
    HWND hWnd = m_hWnd;
    HWND hWndParent = ::GetParent(hWnd);
    BOOL bShowIdle = (dwFlags & MLF_SHOWONIDLE) != 0 && !(GetStyle() & WS_VISIBLE);
    BOOL bIdle = TRUE;
    LONG lIdleCount = 0;
    m_bContinueModal = TRUE;
    m_nModalResult = -1;
    // A fault in the loop's own turns or in the window's code ends the loop
    // as cancelled; one in any other window (another tab's page, a control
    // elsewhere) leaves it running.
    CFaultLoop loop(hWnd);

    MSG msg;
    for (;;)
    {
        while (bIdle && !::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE))
        {
            if (bShowIdle)
            {
                ::ShowWindow(hWnd, SW_SHOWNORMAL);
                ::UpdateWindow(hWnd);
                bShowIdle = FALSE;
            }
            if (!(dwFlags & MLF_NOIDLEMSG) && hWndParent != nullptr && lIdleCount == 0)
                ::SendMessageA(hWndParent, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(hWnd));
            if ((dwFlags & MLF_NOKICKIDLE) ||
                !::SendMessageA(hWnd, WM_KICKIDLE, MSGF_DIALOGBOX, lIdleCount++))
                bIdle = FALSE;
        }
        if (loop.IsBroken())
            return ::IsWindow(hWnd) ? EndAfterFault() : -1;

        do
        {
            if (!::GetMessageA(&msg, nullptr, 0, 0))
            {
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                m_bContinueModal = FALSE;
                return -1;
            }
            loop.Dispatch(msg, [&](MSG& m) {
                return IsInside(hWnd, m.hwnd) && WalkPreTranslateTree(hWnd, &m);
            });
            if (!::IsWindow(hWnd))
                return -1;
            if (loop.IsBroken())
                return EndAfterFault();
            if (!m_bContinueModal)
                return m_nModalResult;
            if (msg.message != WM_PAINT && msg.message != WM_SYSTIMER && msg.message != WM_NULL)
            {
                bIdle = TRUE;
                lIdleCount = 0;
            }
        } while (::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    }
}

int CWnd::EndAfterFault()
{
    m_bContinueModal = FALSE;
    m_nModalResult = IDCANCEL;
    return IDCANCEL;
}

void CWnd::EndModalLoop(int nResult)
{
    m_nModalResult = nResult;
    if (m_bContinueModal)
    {
        m_bContinueModal = FALSE;
        // Wakes a loop that waits in GetMessage.
        ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
    }
}

void CWnd::CenterWindow(CWnd* pAlternateOwner)
{
    HWND hWndCenter = pAlternateOwner != nullptr ? pAlternateOwner->m_hWnd : nullptr;
    DWORD dwStyle = GetStyle();
    if (hWndCenter == nullptr)
        hWndCenter = (dwStyle & WS_CHILD) ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER);

    RECT rcArea;
    RECT rcCenter;
    if (dwStyle & WS_CHILD)
    {
        HWND hWndParent = ::GetParent(m_hWnd);
        ::GetClientRect(hWndParent, &rcArea);
        if (hWndCenter == hWndParent)
            rcCenter = rcArea;
        else
        {
            ::GetWindowRect(hWndCenter, &rcCenter);
            ::MapWindowPoints(nullptr, hWndParent, reinterpret_cast<POINT*>(&rcCenter), 2);
        }
    }
    else
    {
        // A hidden or minimised owner gives no place: the work area's centre.
        if (hWndCenter != nullptr && (!::IsWindowVisible(hWndCenter) || ::IsIconic(hWndCenter)))
            hWndCenter = nullptr;
        // The work area of the owner's monitor, where the window is to go.
        MONITORINFO mi = {};
        mi.cbSize = sizeof(mi);
        if (::GetMonitorInfoA(::MonitorFromWindow(hWndCenter != nullptr ? hWndCenter : m_hWnd,
                                                  MONITOR_DEFAULTTONEAREST), &mi))
            rcArea = mi.rcWork;
        else
            ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcArea, 0);
        if (hWndCenter != nullptr)
            ::GetWindowRect(hWndCenter, &rcCenter);
        else
            rcCenter = rcArea;
    }

    RECT rc;
    ::GetWindowRect(m_hWnd, &rc);
    int cx = rc.right - rc.left;
    int cy = rc.bottom - rc.top;
    int x = (rcCenter.left + rcCenter.right) / 2 - cx / 2;
    int y = (rcCenter.top + rcCenter.bottom) / 2 - cy / 2;
    // Kept inside the work area (or the parent), the top-left corner first.
    if (x + cx > rcArea.right)
        x = rcArea.right - cx;
    if (x < rcArea.left)
        x = rcArea.left;
    if (y + cy > rcArea.bottom)
        y = rcArea.bottom - cy;
    if (y < rcArea.top)
        y = rcArea.top;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
