#include "shared/KeyText.h"

#include <cstdio>

namespace KeyText {

namespace {

const char kNone[] = "\x82\xC8\x82\xB5";  // "なし": a key that binds nothing

bool IsOemKey(unsigned vk)
{
    return (vk >= 186 && vk <= 193) || (vk >= 219 && vk <= 222) || vk == 226 || vk == 229 ||
           vk == 240 || (vk >= 242 && vk <= 252) || vk == 254 || vk == 255;
}

} // namespace

CString OemKeyName(unsigned vk, int keyboardType)
{
    const bool jp = keyboardType == kKeyboard106;
    switch (vk) {
    case 186: return jp ? ":" : ";";
    case 187: return jp ? ";" : "=";
    case 188: return ",";
    case 189: return "-";
    case 190: return ".";
    case 191: return "/";
    case 192: return jp ? "@" : "`";
    case 219: return "[";
    case 220:
    case 226: return "\\";
    case 221: return "]";
    case 222: return jp ? "^" : "'";
    default: return IsOemKey(vk) ? CString(kNone) : CString();
    }
}

CString KeyName(unsigned vk, int keyboardType)
{
    static const char* const kArrows[] = {"\x81\xA9", "\x81\xAA", "\x81\xA8", "\x81\xAB"};
    switch (vk) {
    case 8: return "BackSpace";
    case 9:
    case 16:
    case 17:
    case 18: return CString();
    case 12: return "Clear";
    case 13: return "Enter";
    case 19: return "Pause";
    case 20:
    case 91:
    case 92:
    case 93:
    case 144:
    case 145: return kNone;
    case 25: return "\x8A\xBF\x8E\x9A";          // "漢字"
    case 27: return "Esc";
    case 28: return "\x95\xCF\x8A\xB7";          // "変換"
    case 29: return "\x96\xB3\x95\xCF\x8A\xB7";  // "無変換"
    case 32: return "Space";
    case 33: return "PageUp";
    case 34: return "PageDown";
    case 35: return "End";
    case 36: return "Home";
    case 45: return "Insert";
    case 46: return "Delete";
    case 106: return "Num*";
    case 107: return "Num\x81\x7B";  // full-width plus
    case 108: return "Num,";
    case 109: return "Num-";
    case 110: return "NumDel";
    case 111: return "Num/";
    default: break;
    }
    char text[16];
    if (vk >= 37 && vk <= 40)
        return kArrows[vk - 37];
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) {
        text[0] = static_cast<char>(vk);
        text[1] = '\0';
    } else if (vk >= 96 && vk <= 105) {
        snprintf(text, sizeof(text), "Num%u", vk - 96);
    } else if (vk >= 112 && vk <= 135) {
        snprintf(text, sizeof(text), "F%u", vk - 111);
    } else if (IsOemKey(vk)) {
        return OemKeyName(vk, keyboardType);
    } else {
        snprintf(text, sizeof(text), "%x", vk);
    }
    return text;
}

CString Format(unsigned vk, unsigned modifiers, int keyboardType)
{
    CString text;
    if (modifiers & kCtrl)
        text += "Ctrl+";
    if (modifiers & kShift)
        text += "Shift+";
    if (modifiers & kAlt)
        text += "Alt+";
    if (modifiers & kTab)
        text += "Tab+";
    text += KeyName(vk, keyboardType);
    if (text == "Ctrl+Tab+" || text == "Ctrl+Shift+Tab+")
        text = text.Left(text.GetLength() - 1);
    return text;
}

} // namespace KeyText

CString GetOemKeyName(unsigned vk, int keyboardType)
{
    return KeyText::OemKeyName(vk, keyboardType);
}
