// The field table of an option page: one row per control that edits a
// setting, instead of code per control.
//
// A row names the control, the settings key (SettingsRecord::FindKey; the
// record knows each key's word, bit and width) and how the control shows
// the value. LoadPageFields fills the controls (OnInitDialog); SavePageFields
// writes them back (WM_SAVE_SETTINGS). Hidden controls are filled and saved
// like the others, so their settings pass through unchanged.
#ifndef VA_DIALOGS_PAGES_PAGEFIELDS_H
#define VA_DIALOGS_PAGES_PAGEFIELDS_H

#include "framework/win/WinDefs.h"
#include "shared/SettingsRecord.h"

enum class PageFieldKind {
    Check,          // check box: checked is 1, unchecked 0
    InvertedCheck,  // check box: checked is 0, unchecked 1
    Bit,            // check box: bit arg1 of a number, the other bits kept
    InvertedBit,    // check box: bit arg1 of a number set while unchecked
    WholeWord,      // no control: the number is rebuilt on save from the
                    // rows of its key (and the page's own code); bits in
                    // the mask arg1 are kept, the rest cleared
    Index,          // drop-down list: the current item's index; no current
                    // item keeps the stored value
    Radio,          // radio buttons nID .. nID + arg1 - 1: the checked one's
                    // index; none checked keeps the stored value
    Number,         // edit: a signed decimal in arg1 .. arg2, else arg3; an
                    // up-down control whose buddy it is gets that range
    NumberOrZero,   // edit: as Number, but 0 is kept (it means "automatic")
    Text,           // edit: at most arg1 bytes, cut on a character boundary;
                    // arg2 1: white space trimmed from both ends first
};

struct PageField
{
    PageFieldKind kind;
    int nID;
    const char* key;
    int arg1;
    int arg2;
    int arg3;
};

// Rows of the usual kinds.
constexpr PageField CheckField(int nID, const char* key) { return { PageFieldKind::Check, nID, key, 0, 0, 0 }; }
constexpr PageField InvertedCheckField(int nID, const char* key)
{
    return { PageFieldKind::InvertedCheck, nID, key, 0, 0, 0 };
}
constexpr PageField BitField(int nID, const char* key, int bit) { return { PageFieldKind::Bit, nID, key, bit, 0, 0 }; }
constexpr PageField WholeWordField(const char* key, int keepMask = 0)
{
    return { PageFieldKind::WholeWord, 0, key, keepMask, 0, 0 };
}
constexpr PageField InvertedBitField(int nID, const char* key, int bit)
{
    return { PageFieldKind::InvertedBit, nID, key, bit, 0, 0 };
}
constexpr PageField IndexField(int nID, const char* key) { return { PageFieldKind::Index, nID, key, 0, 0, 0 }; }
constexpr PageField RadioField(int nFirstID, const char* key, int count)
{
    return { PageFieldKind::Radio, nFirstID, key, count, 0, 0 };
}
constexpr PageField NumberField(int nID, const char* key, int minimum, int maximum, int fallback)
{
    return { PageFieldKind::Number, nID, key, minimum, maximum, fallback };
}
constexpr PageField NumberOrZeroField(int nID, const char* key, int minimum, int maximum, int fallback)
{
    return { PageFieldKind::NumberOrZero, nID, key, minimum, maximum, fallback };
}
constexpr PageField TextField(int nID, const char* key, int maxBytes)
{
    return { PageFieldKind::Text, nID, key, maxBytes, 0, 0 };
}
constexpr PageField TrimmedTextField(int nID, const char* key, int maxBytes)
{
    return { PageFieldKind::Text, nID, key, maxBytes, 1, 0 };
}

// The value a number edit's text saves: the signed decimal it starts with
// (0 for none) when it lies in minimum .. maximum, else the fallback.
int PageNumberValue(const char* text, int minimum, int maximum, int fallback);
// The value a Number or NumberOrZero row saves for an edit's text.
int PageFieldNumber(const PageField& row, const char* text);

// Rows whose key is unknown or whose control is missing are skipped.
void LoadPageFields(HWND hPage, const PageField* rows, int count, const SettingsRecord& settings);
void SavePageFields(HWND hPage, const PageField* rows, int count, SettingsRecord& settings);

#endif // VA_DIALOGS_PAGES_PAGEFIELDS_H
