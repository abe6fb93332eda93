// A module that links the framework as the dialogs library does: it makes a
// window of its own and is unloaded afterwards.
#include <windows.h>

#include "framework/win/Wnd.h"

extern "C" BOOL CreateModuleMakeWindow()
{
    CWnd wnd;
    if (!wnd.CreateEx(0, nullptr, "module window", WS_POPUP, 0, 0, 40, 20, nullptr, nullptr))
        return FALSE;
    const BOOL attached = CWnd::FromHandlePermanent(wnd.m_hWnd) == &wnd;
    wnd.DestroyWindow();
    return attached;
}
