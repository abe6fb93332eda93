// A window of code the program did not write, as a page engine's or a
// control's window is: a class of its own registered here with a plain
// window procedure that knows nothing of the framework. It writes through a
// null pointer on a posted kMsgFault and on its timer (once per SetTimer),
// so that the fault leaves its procedure for whatever guard lies outside.
#ifndef VA_TESTS_SUPPORT_FOREIGNWND_H
#define VA_TESTS_SUPPORT_FOREIGNWND_H

#include <windows.h>

class ForeignWnd
{
public:
    static const UINT kMsgFault = WM_APP + 0x3F1;
    static const UINT_PTR kFaultTimer = 0x3F1;

    // A child of parent, or a hidden popup without one.
    explicit ForeignWnd(HWND parent = nullptr)
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "VaTestForeignWnd";
        ::RegisterClassA(&wc);  // fails harmlessly once registered
        m_hWnd = ::CreateWindowExA(0, wc.lpszClassName, "", parent != nullptr ? WS_CHILD : WS_POPUP, 0, 0, 10, 10,
                                   parent, nullptr, wc.hInstance, nullptr);
    }
    ~ForeignWnd()
    {
        if (::IsWindow(m_hWnd))
            ::DestroyWindow(m_hWnd);
    }
    ForeignWnd(const ForeignWnd&) = delete;
    ForeignWnd& operator=(const ForeignWnd&) = delete;

    HWND Handle() const { return m_hWnd; }
    void PostFault() const { ::PostMessageA(m_hWnd, kMsgFault, 0, 0); }
    void FaultOnTimer(UINT ms) const { ::SetTimer(m_hWnd, kFaultTimer, ms, nullptr); }
    // How many faults windows of the class made.
    static int Faults() { return s_faults; }

private:
    static LRESULT CALLBACK Proc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
    {
        if (nMsg == WM_TIMER && wParam == kFaultTimer)
            ::KillTimer(hWnd, kFaultTimer);
        if (nMsg == kMsgFault || (nMsg == WM_TIMER && wParam == kFaultTimer)) {
            ++s_faults;
            *s_nowhere = 1;
        }
        return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
    }

    static inline int* volatile s_nowhere = nullptr;
    static inline int s_faults = 0;
    HWND m_hWnd = nullptr;
};

#endif // VA_TESTS_SUPPORT_FOREIGNWND_H
