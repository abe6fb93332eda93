// The browser control's window: window.close() of a page closes the tab.
#include <gtest/gtest.h>

#include "framework/ole/OccManager.h"
#include "tab/BrowserSubWnd.h"
#include "tests/support/TestWebBrowser.h"

namespace {

int g_tabCloses = 0;

LRESULT CALLBACK TabFrameProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    if (nMsg == WM_CLOSE)
    {
        ++g_tabCloses;
        return 0;
    }
    return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
}

void PumpThroughPreTranslation()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        if (CWnd::WalkPreTranslateTree(nullptr, &msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

// A nested loop (a modal dialog, a menu) dispatches without our
// pre-translation.
void PumpAsANestedLoop()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

void ExpectWindowCloseClosesTheTabFrame(void (*pump)())
{
    TestWebBrowserRegistration registration;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = TabFrameProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "VaTestTabFrame";
    ::RegisterClassA(&wc);
    HWND hFrame = ::CreateWindowExA(0, "VaTestTabFrame", "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200,
                                    nullptr, nullptr, wc.hInstance, nullptr);
    HWND hView = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 300, 200, hFrame,
                                   nullptr, nullptr, nullptr);
    CBrowserSubWnd wnd;
    ASSERT_TRUE(wnd.CreateControl(CLSID_WebBrowser, nullptr, WS_CHILD | WS_VISIBLE, { 0, 0, 300, 200 },
                                  hView, 0xE900, DIID_DWebBrowserEvents2));
    g_tabCloses = 0;
    TestWebBrowser::FromUnknown(wnd.GetControlUnknown())->ScriptWindowClose();
    pump();
    EXPECT_EQ(1, g_tabCloses);
    EXPECT_TRUE(::IsWindow(wnd.m_hWnd));

    // Its own popup menus get the engine's item enabled.
    HMENU hMenu = ::CreatePopupMenu();
    ::AppendMenuA(hMenu, MF_STRING | MF_GRAYED, kCmdEngineMenuItem, "item");
    wnd.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hMenu), 0);
    EXPECT_EQ(0u, ::GetMenuState(hMenu, kCmdEngineMenuItem, MF_BYCOMMAND) & MF_GRAYED);
    ::DestroyMenu(hMenu);
    ::DestroyWindow(hFrame);
}

TEST(BrowserSubWnd, WindowCloseFromThePageClosesTheTabFrameInstead)
{
    ExpectWindowCloseClosesTheTabFrame(PumpThroughPreTranslation);
}

// Regression: only our own pump redirected the close; in a nested loop the
// control's window was destroyed and the tab kept a dead control.
TEST(BrowserSubWnd, WindowCloseInsideANestedLoopAlsoClosesTheTabFrame)
{
    ExpectWindowCloseClosesTheTabFrame(PumpAsANestedLoop);
}

} // namespace
