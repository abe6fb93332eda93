// A window whose handler of one message writes through a null pointer: an
// access violation inside a window procedure, as a faulty handler or
// plug-in makes one.
#ifndef VA_TESTS_SUPPORT_FAULTINGWND_H
#define VA_TESTS_SUPPORT_FAULTINGWND_H

#include "framework/win/Wnd.h"

class CFaultingWnd : public CWnd
{
public:
    // The message whose handler faults.
    static const UINT kMsgFault = WM_APP + 0x3F0;

protected:
    LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (nMsg == kMsgFault)
            *s_nowhere = 1;
        return CWnd::WindowProc(nMsg, wParam, lParam);
    }

private:
    static inline int* volatile s_nowhere = nullptr;
};

#endif // VA_TESTS_SUPPORT_FAULTINGWND_H
