#include "shared/KeyText.h"

#include <windows.h>

int DetectKeyboardType()
{
    const int type = ::GetKeyboardType(0);
    if (type == 7)
        return ::GetKeyboardType(1) != 0 ? KeyText::kKeyboard106 : KeyText::kKeyboard101;
    return type;
}

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
