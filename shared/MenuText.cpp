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
    // A lead byte that stood alone in the caption names no character; with
    // what stood between gone it would pair with the byte now after it
    // ("\x83&A" would read as a katakana), so it goes instead.
    auto take = [&](int from, int to) {
        const int n = out.GetLength();
        if (Cp932EndsWithLoneLeadByte(out, n) && Cp932IsPair(out[n - 1], s[from]))
            out.Delete(n - 1);
        out += CString(s + from, to - from);
    };
    for (int i = 0; i < len;) {
        if (const int marker = MarkerLength(s, len, i)) {
            if (!out.IsEmpty() && out[out.GetLength() - 1] == ' ')
                out.Delete(out.GetLength() - 1);
            i += marker;
            continue;
        }
        if (s[i] == '&') {
            // "&&" is one literal "&"; a lone "&" marks the next character,
            // which stays as it is, a "(" too.
            if (i + 1 < len && s[i + 1] == '&') {
                take(i, i + 1);
                i += 2;
            } else if (i + 1 < len) {
                const int next = Cp932Next(s, len, i + 1);
                take(i + 1, next);
                i = next;
            } else {
                ++i;
            }
            continue;
        }
        const int next = Cp932Next(s, len, i);
        take(i, next);
        i = next;
    }
    return out;
}

} // namespace MenuText
