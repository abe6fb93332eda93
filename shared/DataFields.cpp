#include "shared/DataFields.h"

#include <cstring>

#include "framework/core/Cp932.h"

namespace DataFields {

const char kSeparator[] = "\x81\x4d";

void SplitTerminated(const CString& text, LPCTSTR separator, CStringArray& fields)
{
    fields.RemoveAll();
    const int sepLen = static_cast<int>(strlen(separator));
    const char* s = text;
    const int len = text.GetLength();
    int start = 0;
    while (start < len) {
        int at = sepLen > 0 ? Cp932FindString(s, len, separator, sepLen, start) : -1;
        if (at < 0) {
            fields.Add(text.Mid(start));
            break;
        }
        fields.Add(text.Mid(start, at - start));
        start = at + sepLen;
    }
}

} // namespace DataFields
