// The nested message loop of the program's popups (the toolbar overflow
// and the window list): messages are dispatched, without idle work, while
// running stays true. A WM_QUIT ends the loop and is posted again for the
// outer loop; a GetMessage failure ends it too.
#ifndef VA_BARS_POPUPLOOP_H
#define VA_BARS_POPUPLOOP_H

#include <windows.h>

inline void RunPopupLoop(const bool& running, HWND hPopup)
{
    while (running && ::IsWindow(hPopup))
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

#endif // VA_BARS_POPUPLOOP_H
