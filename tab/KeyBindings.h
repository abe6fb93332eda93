// The key and gesture bindings as the program looks them up: text (a
// shortcut text or a gesture of arrows) to command, and for keys also
// command to shortcut text, for the menus.
//
// Classes in this file:
//   CBindingMap   one binding file's map
#ifndef VA_TAB_KEYBINDINGS_H
#define VA_TAB_KEYBINDINGS_H

#include <string>
#include <unordered_map>
#include <vector>

#include "framework/core/CString.h"
#include "shared/BindingFile.h"

// The commands 32300-32315 of the closed-tab menu: a binding to 32300 + n
// reopens the n-th newest closed tab.
const int kCmdClosedTabFirst = 32300;
const int kCmdClosedTabLast = 32315;

//--- CBindingMap
class CBindingMap
{
public:
    struct Binding
    {
        int command = 0;
        int kind = 0;  // BindingFile::kKindKeyEvent: command is a virtual key
    };

    void Clear();
    // The last line for a text wins, and for a command the last line's text
    // is its shortcut.
    void Load(const std::vector<BindingFile::Line>& lines);
    // The binding of the text, or null.
    const Binding* Find(const CString& text) const;
    // The shortcut text of the command, or null.
    const CString* FindShortcut(int command) const;
    size_t GetCount() const { return m_bindings.size(); }

private:
    std::unordered_map<std::string, Binding> m_bindings;
    std::unordered_map<int, CString> m_shortcuts;
};

#endif // VA_TAB_KEYBINDINGS_H
