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

// The key is ordinary typing in an edit field: a letter, digit, number-pad,
// editing, movement or character key with neither Ctrl, Alt nor Tab held.
inline bool IsTextInputKey(UINT vk)
{
    if (IsKeyHeld(VK_CONTROL) || IsKeyHeld(VK_MENU) || IsKeyHeld(VK_TAB))
        return false;
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9') || (vk >= 96 && vk <= 111))
        return true;
    switch (vk) {
    case 8: case 13: case 25: case 28: case 29: case 32: case 46: case 226: case 229: case 240:
    case 254: case 255:
        return true;
    default:
        return (vk >= 35 && vk <= 40) || (vk >= 186 && vk <= 193) || (vk >= 219 && vk <= 222) ||
               (vk >= 242 && vk <= 252);
    }
}

#endif // VA_TAB_KEYSTATE_H
