// The popups' nested loop: a fault in one of its turns ends it, as a click
// outside the popup would, and the messages after the fault are left to the
// loop outside.
#include <windows.h>

#include <gtest/gtest.h>

#include "bars/PopupLoop.h"
#include "framework/win/Wnd.h"
#include "tests/support/FaultingWnd.h"

namespace {

const UINT kMsgFault = CFaultingWnd::kMsgFault;
const UINT kMsgAfter = WM_APP + 51;

TEST(PopupLoop, AFaultInOneOfItsTurnsEndsTheLoop)
{
    CFaultingWnd popup;
    CWnd source;
    ASSERT_TRUE(popup.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    ASSERT_TRUE(source.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        ::DispatchMessageA(&msg);
    popup.PostMessage(kMsgFault);
    popup.PostMessage(kMsgAfter);
    const bool running = true;
    RunPopupLoop(running, popup.m_hWnd, source.m_hWnd);
    EXPECT_TRUE(::PeekMessageA(&msg, popup.m_hWnd, kMsgAfter, kMsgAfter, PM_REMOVE));
    popup.DestroyWindow();
    source.DestroyWindow();
}

} // namespace
