// The modifier keys held while a command runs.
#ifndef VA_TAB_KEYSTATE_H
#define VA_TAB_KEYSTATE_H

#include <windows.h>

inline bool IsKeyHeld(int key)
{
    return (::GetKeyState(key) & 0x8000) != 0;
}

// Ctrl without Shift or Alt.
inline bool OnlyCtrlDown()
{
    return IsKeyHeld(VK_CONTROL) && !IsKeyHeld(VK_SHIFT) && !IsKeyHeld(VK_MENU);
}

// None of Shift, Ctrl and Alt.
inline bool NoModifierKeys()
{
    return !IsKeyHeld(VK_SHIFT) && !IsKeyHeld(VK_CONTROL) && !IsKeyHeld(VK_MENU);
}

#endif // VA_TAB_KEYSTATE_H
