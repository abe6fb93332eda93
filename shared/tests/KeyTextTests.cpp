// Shortcut texts: every key name on both layouts, the modifier prefixes and
// the two Ctrl+Tab forms.
#include <gtest/gtest.h>

#include <string>

#include "shared/KeyText.h"

using namespace KeyText;

namespace {

const char kNone[] = "\x82\xC8\x82\xB5";

std::string Name(unsigned vk, int type) { return static_cast<LPCTSTR>(KeyName(vk, type)); }

} // namespace

TEST(KeyText, EveryNamedKeyOnBothLayouts)
{
    struct Case { unsigned vk; const char* name; };
    const Case cases[] = {
        {8, "BackSpace"}, {9, ""}, {12, "Clear"}, {13, "Enter"}, {16, ""}, {17, ""}, {18, ""},
        {19, "Pause"}, {20, kNone}, {25, "\x8A\xBF\x8E\x9A"}, {27, "Esc"}, {28, "\x95\xCF\x8A\xB7"},
        {29, "\x96\xB3\x95\xCF\x8A\xB7"}, {32, "Space"}, {33, "PageUp"}, {34, "PageDown"}, {35, "End"},
        {36, "Home"}, {37, "\x81\xA9"}, {38, "\x81\xAA"}, {39, "\x81\xA8"}, {40, "\x81\xAB"},
        {45, "Insert"}, {46, "Delete"}, {48, "0"}, {57, "9"}, {65, "A"}, {90, "Z"}, {91, kNone},
        {92, kNone}, {93, kNone}, {96, "Num0"}, {105, "Num9"}, {106, "Num*"}, {107, "Num\x81\x7B"},
        {108, "Num,"}, {109, "Num-"}, {110, "NumDel"}, {111, "Num/"}, {112, "F1"}, {135, "F24"},
        {144, kNone}, {145, kNone}, {7, "7"}, {136, "88"}, {166, "a6"}, {194, "c2"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.name, Name(c.vk, kKeyboard106)) << c.vk;
        EXPECT_EQ(c.name, Name(c.vk, kKeyboard101)) << c.vk;
    }
}

TEST(KeyText, OemKeysFollowTheLayoutAndOtherLayoutsGetThe101Names)
{
    struct Case { unsigned vk; const char* jp; const char* us; };
    const Case cases[] = {
        {186, ":", ";"}, {187, ";", "="}, {188, ",", ","}, {189, "-", "-"}, {190, ".", "."},
        {191, "/", "/"}, {192, "@", "`"}, {219, "[", "["}, {220, "\\", "\\"}, {221, "]", "]"},
        {222, "^", "'"}, {226, "\\", "\\"}, {193, kNone, kNone}, {229, kNone, kNone},
        {240, kNone, kNone}, {242, kNone, kNone}, {252, kNone, kNone}, {254, kNone, kNone},
        {255, kNone, kNone},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.jp, Name(c.vk, kKeyboard106)) << c.vk;
        EXPECT_EQ(c.us, Name(c.vk, kKeyboard101)) << c.vk;
        EXPECT_EQ(c.us, Name(c.vk, 0)) << c.vk;
        EXPECT_EQ(c.us, std::string(GetOemKeyName(c.vk, 103))) << c.vk;
    }
    EXPECT_STREQ("", OemKeyName(65, kKeyboard106));
    EXPECT_STREQ("", OemKeyName(241, kKeyboard101));
}

TEST(KeyText, ModifiersArePrefixedInOrderAndCtrlTabLosesItsLastPlus)
{
    EXPECT_STREQ("Ctrl+Shift+Alt+Tab+A", Format('A', kCtrl | kShift | kAlt | kTab, kKeyboard106));
    EXPECT_STREQ("Ctrl+", Format(17, kCtrl, kKeyboard106));
    EXPECT_STREQ("Ctrl+Tab", Format(9, kCtrl | kTab, kKeyboard106));
    EXPECT_STREQ("Ctrl+Shift+Tab", Format(9, kCtrl | kShift | kTab, kKeyboard106));
    EXPECT_STREQ("Alt+Tab+", Format(9, kAlt | kTab, kKeyboard106));
    EXPECT_STREQ("Tab+", Format(9, kTab, kKeyboard106));
    EXPECT_STREQ("Shift+F5", Format(116, kShift, kKeyboard101));
}
