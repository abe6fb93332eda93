// Shortcut texts: the text of a key with its modifiers, as the key bindings
// are keyed by ("Ctrl+Shift+A", "F5", "Num＋") and as the menus show them.
// One source for the program and the dialogs library, so that a binding
// recorded in the settings matches the key pressed in the browser.
#ifndef VA_SHARED_KEYTEXT_H
#define VA_SHARED_KEYTEXT_H

#include "framework/core/CString.h"

namespace KeyText {

// The two keyboard layouts whose key names differ.
const int kKeyboard101 = 101;
const int kKeyboard106 = 106;

// Modifier keys held, in the order their prefixes are written.
enum Modifier : unsigned
{
    kCtrl = 0x1,
    kShift = 0x2,
    kAlt = 0x4,
    kTab = 0x8,
};

// The printed character of an OEM key (186-193, 219-222, 226, 229, 240,
// 242-252, 254, 255) on a 106 keyboard, or on a 101 keyboard for any other
// type; empty for other codes.
CString OemKeyName(unsigned vk, int keyboardType);

// The name of the key alone (empty for Tab, Shift, Ctrl and Alt).
CString KeyName(unsigned vk, int keyboardType);

// The prefixes of the modifiers held, then the key's name. "Ctrl+Tab+" and
// "Ctrl+Shift+Tab+" lose their last "+".
CString Format(unsigned vk, unsigned modifiers, int keyboardType);

} // namespace KeyText

// The shortcut text of a virtual key with the modifiers held now
// (GetKeyState). Windows only.
CString FormatKeyText(unsigned vk, int keyboardType);
// The keyboard type the key names follow: 106 for a Japanese keyboard
// that reports a subtype, 101 for one without, else the system's type.
// Windows only.
int DetectKeyboardType();
// KeyText::OemKeyName under the name both modules call.
CString GetOemKeyName(unsigned vk, int keyboardType);

#endif // VA_SHARED_KEYTEXT_H
