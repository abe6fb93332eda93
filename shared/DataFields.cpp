#include "shared/DataFields.h"

#include <cstring>

#include "framework/core/Cp932.h"

namespace DataFields {

const char kSeparator[] = "\x81\x4d";
const char kListSeparator[] = "\x81\x4f";

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

void SplitLine(const CString& line, LPCTSTR separator, CStringArray& fields)
{
    const int len = line.GetLength();
    const bool bLoneLead = Cp932EndsWithLoneLeadByte(line, len);
    SplitTerminated((bLoneLead ? line.Left(len - 1) : line) + separator, separator, fields);
}

namespace {

// text with each field separator, list separator, CR and LF replaced (an
// empty replacement drops it).
CString ReplaceByCharacters(const CString& text, const char* separatorBy, const char* listSeparatorBy,
                            const char* lineBreakBy)
{
    const char* s = text;
    const int len = text.GetLength();
    CString out;
    int i = 0;
    while (i < len) {
        const int next = Cp932Next(s, len, i);
        if (next == i + 2 && s[i] == kSeparator[0] && s[i + 1] == kSeparator[1])
            out += separatorBy;
        else if (next == i + 2 && s[i] == kListSeparator[0] && s[i + 1] == kListSeparator[1])
            out += listSeparatorBy;
        else if (next == i + 1 && (s[i] == '\r' || s[i] == '\n'))
            out += lineBreakBy;
        else
            out.Append(s + i, next - i);
        i = next;
    }
    return out;
}

} // namespace

CString CleanTitleField(const CString& title)
{
    return ReplaceByCharacters(title, "`", "^", " ");
}

CString CleanUrlField(const CString& url)
{
    return ReplaceByCharacters(url, "%81%4D", "%81%4F", "");
}

} // namespace DataFields
