#include "shared/TextFormat.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace TextFormat {

namespace {

// One piece of a format: literal text, or a conversion with its spec.
struct Piece
{
    CString text;
    bool conversion;
};

// Splits format into pieces; false when a "%" starts anything but "%%" or a
// conversion of the given kind. '%' is never a cp932 trail byte, so a
// byte-wise scan is safe.
bool Split(const CString& format, char conv, std::vector<Piece>& pieces)
{
    const char* s = format;
    const int len = format.GetLength();
    CString literal;
    for (int i = 0; i < len; ++i) {
        if (s[i] != '%') {
            literal += s[i];
            continue;
        }
        if (i + 1 < len && s[i + 1] == '%') {
            literal += '%';
            ++i;
            continue;
        }
        int j = i + 1;
        if (j < len && s[j] == '0')
            ++j;
        int digits = 0;
        while (j < len && s[j] >= '0' && s[j] <= '9' && digits < 2) {
            ++j;
            ++digits;
        }
        if (j >= len || s[j] != conv)
            return false;
        pieces.push_back(Piece{ literal, false });
        literal.Empty();
        pieces.push_back(Piece{ format.Mid(i, j - i + 1), true });
        i = j;
    }
    pieces.push_back(Piece{ literal, false });
    return true;
}

int CountConversions(const std::vector<Piece>& pieces)
{
    int count = 0;
    for (const Piece& p : pieces)
        count += p.conversion ? 1 : 0;
    return count;
}

} // namespace

void ReplaceFirst(CString& text, const char* what, const CString& by)
{
    int at = text.Find(what);
    if (at >= 0)
        text = text.Left(at) + by + text.Mid(at + static_cast<int>(strlen(what)));
}

bool HasNumberConversions(const CString& format, char conv, int count)
{
    std::vector<Piece> pieces;
    return Split(format, conv, pieces) && CountConversions(pieces) == count;
}

CString FormatNumbers(const CString& format, char conv, std::initializer_list<long> numbers,
                      const char* fallback)
{
    std::vector<Piece> pieces;
    const int expected = static_cast<int>(numbers.size());
    if (!Split(format, conv, pieces) || CountConversions(pieces) != expected) {
        pieces.clear();
        if (!Split(CString(fallback), conv, pieces) || CountConversions(pieces) != expected)
            return CString(fallback);
    }
    CString out;
    auto number = numbers.begin();
    for (const Piece& p : pieces) {
        if (!p.conversion) {
            out += p.text;
            continue;
        }
        // The format was checked above: one integer conversion, short width.
        char spec[8];
        snprintf(spec, sizeof(spec), "%%%sl%c", static_cast<const char*>(p.text.Mid(1, p.text.GetLength() - 2)), conv);
        char buffer[32];
        snprintf(buffer, sizeof(buffer), spec, *number++);
        out += buffer;
    }
    return out;
}

CString FormatStrings(const CString& format, std::initializer_list<CString> texts, const char* fallback)
{
    std::vector<Piece> pieces;
    const int expected = static_cast<int>(texts.size());
    if (!Split(format, 's', pieces) || CountConversions(pieces) != expected) {
        pieces.clear();
        if (!Split(CString(fallback), 's', pieces) || CountConversions(pieces) != expected)
            return CString(fallback);
    }
    CString out;
    auto text = texts.begin();
    for (const Piece& p : pieces)
        out += p.conversion ? *text++ : p.text;
    return out;
}

} // namespace TextFormat
