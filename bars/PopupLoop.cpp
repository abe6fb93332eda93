#include "bars/PopupLoop.h"

#include <utility>

#include "framework/app/FaultGuard.h"

CPopupKeyHook* CPopupKeyHook::s_pActive = nullptr;

void RunPopupLoop(const bool& running, HWND hPopup, HWND hSource)
{
    // A fault in the popup's code ends the loop, as a click outside would;
    // one in another window (a page's timer) leaves the popup tracking.
    CFaultLoop loop(hPopup);
    while (::IsWindow(hPopup) && ::IsWindow(hSource) && running && !loop.IsBroken())
    {
        MSG msg;
        BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == -1)
            break;
        if (got == 0)
        {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        loop.Dispatch(msg);
    }
}

CPopupKeyHook::CPopupKeyHook(HWND hPopup, HWND hInner, std::function<void(UINT)> onKey)
    : m_hPopup(hPopup), m_hInner(hInner), m_onKey(std::move(onKey)), m_pOuter(s_pActive)
{
    s_pActive = this;
    m_hHook = AfxSetGuardedHook<&CPopupKeyHook::Proc, &CPopupKeyHook::EatKey>(WH_KEYBOARD);
    // A scope a fault breaks off takes the hook with it: nothing may call a
    // popup that is gone.
    m_hold.Hold(&Unhook, reinterpret_cast<ULONG_PTR>(m_hHook), reinterpret_cast<ULONG_PTR>(this),
                reinterpret_cast<ULONG_PTR>(m_pOuter));
}

void CPopupKeyHook::Unhook(const ULONG_PTR* data)
{
    if (data[0] != 0)
        ::UnhookWindowsHookEx(reinterpret_cast<HHOOK>(data[0]));
    if (s_pActive == reinterpret_cast<CPopupKeyHook*>(data[1]))
        s_pActive = reinterpret_cast<CPopupKeyHook*>(data[2]);
}

LRESULT CPopupKeyHook::Proc(int nCode, WPARAM wParam, LPARAM lParam)
{
    CPopupKeyHook* self = s_pActive;
    HWND hCapture = ::GetCapture();
    if (nCode == HC_ACTION && self != nullptr && hCapture != nullptr &&
        (hCapture == self->m_hPopup || hCapture == self->m_hInner))
    {
        if ((lParam & 0x80000000) == 0 && self->m_onKey)
            self->m_onKey(static_cast<UINT>(wParam));
        return 1;
    }
    return ::CallNextHookEx(self != nullptr ? self->m_hHook : nullptr, nCode, wParam, lParam);
}

// A key handler that faulted or threw eats the key.
LRESULT CPopupKeyHook::EatKey(int, WPARAM, LPARAM)
{
    return 1;
}
