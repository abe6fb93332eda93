#include "shared/KeyText.h"

#include <windows.h>

CString FormatKeyText(unsigned vk, int keyboardType)
{
    unsigned modifiers = 0;
    if (GetKeyState(VK_CONTROL) < 0)
        modifiers |= KeyText::kCtrl;
    if (GetKeyState(VK_SHIFT) < 0)
        modifiers |= KeyText::kShift;
    if (GetKeyState(VK_MENU) < 0)
        modifiers |= KeyText::kAlt;
    if (GetKeyState(VK_TAB) < 0)
        modifiers |= KeyText::kTab;
    return KeyText::Format(vk, modifiers, keyboardType);
}
