// What the program's popups (the toolbar overflow and the window list) share
// while they track: the nested message loop and the thread keyboard hook.
//
// Classes in this file:
//   CPopupKeyHook   keys to the tracking popup, for the length of a scope
#ifndef VA_BARS_POPUPLOOP_H
#define VA_BARS_POPUPLOOP_H

#include <windows.h>

#include <functional>

#include "framework/app/FaultGuard.h"

// Dispatches messages, without idle work, while running stays true and both
// the popup and the window it shows for (hSource) exist. running belongs to
// the popup: it is read only while the popup's window is there. A WM_QUIT
// ends the loop and is posted again for the outer loop; a GetMessage
// failure and a fault in the popup's code end it too (CFaultLoop), a fault
// in another window does not.
void RunPopupLoop(const bool& running, HWND hPopup, HWND hSource);

//--- CPopupKeyHook
// While the mouse capture is on the popup or its inner control, key
// presses go to onKey and every key message is eaten; other keys pass on.
// One popup tracks at a time. The hook ends with the scope, or when a fault
// breaks the scope off.
class CPopupKeyHook
{
public:
    CPopupKeyHook(HWND hPopup, HWND hInner, std::function<void(UINT)> onKey);
    CPopupKeyHook(const CPopupKeyHook&) = delete;
    CPopupKeyHook& operator=(const CPopupKeyHook&) = delete;

private:
    // The hook's work, and its answer after a fault (AfxSetGuardedHook).
    static LRESULT Proc(int nCode, WPARAM wParam, LPARAM lParam);
    static LRESULT EatKey(int nCode, WPARAM wParam, LPARAM lParam);
    // data: the hook, this object and the one it hid.
    static void Unhook(const ULONG_PTR* data);
    static CPopupKeyHook* s_pActive;

    HWND m_hPopup;
    HWND m_hInner;
    std::function<void(UINT)> m_onKey;
    HHOOK m_hHook = nullptr;
    CPopupKeyHook* m_pOuter;
    CFaultHold m_hold;
};

#endif // VA_BARS_POPUPLOOP_H
