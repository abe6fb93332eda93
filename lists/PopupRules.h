// Popup-block rules, "PopClose.dat": one rule a line,
// "title｀URL｀title on｀URL on｀title regex｀URL regex", each flag "1" or "0".
#ifndef VA_LISTS_POPUPRULES_H
#define VA_LISTS_POPUPRULES_H

#include <vector>

#include "framework/core/CString.h"
#include "framework/core/File.h"
#include "shared/RecordPool.h"

struct PopupRule
{
    enum : DWORD {
        kTitleOn = 0x1,
        kUrlOn = 0x2,
        kTitleRegex = 0x4,
        kUrlRegex = 0x8,
    };

    CString title;
    CString url;
    DWORD flags = kTitleOn | kUrlOn;

    VA_POOLED_NEW(PopupRule, kPoolPopupRule)
};

// One line without its line end; false for fewer than four fields. The two
// regular-expression flags are read only from lines of exactly six fields.
bool ParsePopupRule(const CString& line, PopupRule& rule);
// The line of a rule, its texts made safe for their fields, with "\n".
CString FormatPopupRule(const PopupRule& rule);

// The rules of the file in order; false when it does not open, and *pState
// (when given) tells a missing file from one that would not open.
bool ReadPopupRules(const CString& path, std::vector<PopupRule>& rules, FileReadState* pState = nullptr);
// Replaces the file with the rules, whole or not at all; when not, false and
// the system's code in *pError (when given).
[[nodiscard]] bool WritePopupRules(const CString& path, const std::vector<PopupRule>& rules, DWORD* pError = nullptr);
// Adds one rule at the end of the file (made when missing), the lines
// before kept as they stand; the file is replaced whole or not at all, and
// a file that is there but cannot be read is left as it is (*pRead says
// why; a failed replacement gives its code in *pWriteError).
[[nodiscard]] bool AppendPopupRule(const CString& path, const PopupRule& rule, FileReadState* pRead = nullptr,
                     DWORD* pWriteError = nullptr);

#endif // VA_LISTS_POPUPRULES_H
