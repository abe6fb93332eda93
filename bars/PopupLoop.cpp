#include "bars/PopupLoop.h"

#include <utility>

CPopupKeyHook* CPopupKeyHook::s_pActive = nullptr;

void RunPopupLoop(const bool& running, HWND hPopup, HWND hSource)
{
    while (::IsWindow(hPopup) && ::IsWindow(hSource) && running)
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
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

CPopupKeyHook::CPopupKeyHook(HWND hPopup, HWND hInner, std::function<void(UINT)> onKey)
    : m_hPopup(hPopup), m_hInner(hInner), m_onKey(std::move(onKey)), m_pOuter(s_pActive)
{
    s_pActive = this;
    m_hHook = ::SetWindowsHookExA(WH_KEYBOARD, Proc, nullptr, ::GetCurrentThreadId());
}

CPopupKeyHook::~CPopupKeyHook()
{
    if (m_hHook != nullptr)
        ::UnhookWindowsHookEx(m_hHook);
    if (s_pActive == this)
        s_pActive = m_pOuter;
}

// No exception leaves the hook: a failing key handler eats the key.
LRESULT CALLBACK CPopupKeyHook::Proc(int nCode, WPARAM wParam, LPARAM lParam)
{
    CPopupKeyHook* self = s_pActive;
    try
    {
        HWND hCapture = ::GetCapture();
        if (nCode == HC_ACTION && self != nullptr && hCapture != nullptr &&
            (hCapture == self->m_hPopup || hCapture == self->m_hInner))
        {
            if ((lParam & 0x80000000) == 0 && self->m_onKey)
                self->m_onKey(static_cast<UINT>(wParam));
            return 1;
        }
    }
    catch (...)
    {
        return 1;
    }
    return ::CallNextHookEx(self != nullptr ? self->m_hHook : nullptr, nCode, wParam, lParam);
}
