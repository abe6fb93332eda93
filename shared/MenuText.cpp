#include "shared/MenuText.h"

#include "framework/core/Cp932.h"

namespace MenuText {

namespace {

// The length of a marker "(&X)" at s[i] (X one character other than "&"),
// or 0.
int MarkerLength(const char* s, int len, int i)
{
    if (i + 3 >= len || s[i] != '(' || s[i + 1] != '&' || s[i + 2] == '&')
        return 0;
    const int after = Cp932Next(s, len, i + 2);
    return after < len && s[after] == ')' ? after + 1 - i : 0;
}

} // namespace

CString WithoutMnemonic(const CString& caption)
{
    // "&", "(" and ")" are never cp932 trail bytes: a byte is one of them
    // only where a character starts.
    const char* s = caption;
    const int len = caption.GetLength();
    CString out;
    for (int i = 0; i < len;) {
        if (const int marker = MarkerLength(s, len, i)) {
            if (!out.IsEmpty() && out[out.GetLength() - 1] == ' ')
                out.Delete(out.GetLength() - 1);
            i += marker;
            continue;
        }
        if (s[i] == '&') {
            // "&&" is one literal "&"; a lone "&" marks the next character.
            const bool bLiteral = i + 1 < len && s[i + 1] == '&';
            if (bLiteral)
                out += '&';
            i += bLiteral ? 2 : 1;
            continue;
        }
        const int next = Cp932Next(s, len, i);
        out += CString(s + i, next - i);
        i = next;
    }
    return out;
}

} // namespace MenuText
