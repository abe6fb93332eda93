#include "lists/SearchUrl.h"

#include "framework/core/Cp932.h"

namespace {

const char* const kTags[] = {"<UTF8>", "<EUC>", "<SJIS>"};

bool IsQueryLiteral(BYTE b)
{
    return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') ||
           b == '*' || b == '-' || b == '.' || b == '@' || b == '_';
}

// Symbols of the vendors' rows that are the same characters as JIS X 0208
// ones: cp932 code, JIS code.
const unsigned kVendorTwins[][2] = {
    {0x8790, 0x2262}, {0x8791, 0x2261}, {0x8792, 0x2269}, {0x8795, 0x2265},
    {0x8796, 0x225D}, {0x8797, 0x225C}, {0x879A, 0x2268}, {0x879B, 0x2241},
    {0x879C, 0x2240}, {0xFA5B, 0x2268}, {0xFA54, 0x224C}, {0xEEF9, 0x224C},
};

// The JIS X 0208 code of a Shift-JIS pair, or 0 when it has none.
unsigned SjisToJis(BYTE lead, BYTE trail)
{
    if (!Cp932IsTrailByte(trail))
        return 0;
    for (const auto& twin : kVendorTwins) {
        if (twin[0] == (static_cast<unsigned>(lead) << 8 | trail))
            return twin[1];
    }
    unsigned pairRow;  // rows 2n-1 and 2n share a lead byte
    if (lead >= 0x81 && lead <= 0x9F)
        pairRow = lead - 0x70;
    else if (lead >= 0xE0 && lead <= 0xEF)
        pairRow = lead - 0xB0;
    else
        return 0;
    unsigned high, low;
    if (trail >= 0x9F) {
        high = pairRow * 2;
        low = trail - 0x7E;
    } else {
        high = pairRow * 2 - 1;
        low = trail - (trail >= 0x80 ? 0x20 : 0x1F);
    }
    // Rows 9 to 15 (the vendors' row 13 among them) and 85 to 94 are not
    // part of JIS X 0208.
    unsigned row = high - 0x20;
    if (row < 1 || (row >= 9 && row <= 15) || row > 84)
        return 0;
    return high << 8 | low;
}

} // namespace

int CountSubstring(const CString& text, const CString& pattern)
{
    if (pattern.IsEmpty())
        return 0;
    int count = 0;
    int position = 0;
    while ((position = Cp932FindString(text.GetString(), text.GetLength(), pattern.GetString(),
                                       pattern.GetLength(), position)) >= 0) {
        ++count;
        position += pattern.GetLength();
    }
    return count;
}

void UrlEncodeQuery(CString& text, bool doubleByte)
{
    if (text.IsEmpty())
        return;
    static const char kHex[] = "0123456789ABCDEF";
    const char* s = text.GetString();
    int length = text.GetLength();
    CString out;
    for (int i = 0; i < length;) {
        int next = doubleByte ? Cp932Next(s, length, i) : i + 1;
        for (int j = i; j < next; ++j) {
            BYTE b = static_cast<BYTE>(s[j]);
            if (next - i == 1 && IsQueryLiteral(b)) {
                out += static_cast<char>(b);
            } else if (next - i == 1 && b == ' ') {
                out += '+';
            } else {
                out += '%';
                out += kHex[b >> 4];
                out += kHex[b & 0x0F];
            }
        }
        i = next;
    }
    text = out;
}

void ConvertSjisToEuc(const CString& in, CString& out)
{
    out.Empty();
    const char* s = in.GetString();
    int length = in.GetLength();
    for (int i = 0; i < length; ++i) {
        BYTE b = static_cast<BYTE>(s[i]);
        if (Cp932IsLeadByte(b)) {
            // A lead byte without its trail byte is one unknown character;
            // the byte after it is converted on its own.
            if (Cp932CharLength(s, length, i) == 1) {
                out += '?';
                continue;
            }
            unsigned jis = SjisToJis(b, static_cast<BYTE>(s[++i]));
            if (jis == 0) {
                out += '?';
            } else {
                out += static_cast<char>((jis >> 8) | 0x80);
                out += static_cast<char>((jis & 0xFF) | 0x80);
            }
        } else if (b >= 0xA1 && b <= 0xDF) {
            out += static_cast<char>(0x8E);
            out += static_cast<char>(b);
        } else {
            out += static_cast<char>(b);
        }
    }
}

void SplitSearchWords(const CString& keyword, CStringArray& words)
{
    words.RemoveAll();
    const char* s = keyword.GetString();
    int length = keyword.GetLength();
    CString word;
    for (int i = 0; i < length;) {
        int next = Cp932Next(s, length, i);
        bool space = (next - i == 1 && s[i] == ' ') ||
                     (next - i == 2 && static_cast<BYTE>(s[i]) == 0x81 &&
                      static_cast<BYTE>(s[i + 1]) == 0x40);
        if (space) {
            words.Add(word);
            word.Empty();
        } else {
            word.Append(s + i, next - i);
        }
        i = next;
    }
    words.Add(word);  // the piece before the appended space
}

CString EncodeSearchWord(const CString& word, const CString& tag)
{
    CString converted;
    bool doubleByte = false;
    if (tag == "<UTF8>") {
        ConvertAnsiToUtf8(word, converted);
    } else if (tag == "<EUC>") {
        ConvertSjisToEuc(word, converted);
    } else {
        converted = word;
        doubleByte = true;
    }
    UrlEncodeQuery(converted, doubleByte);
    return converted;
}

CString FillSearchTags(const CString& urlTemplate, const CString& tag, const CStringArray& words)
{
    CString text = urlTemplate + tag;
    CString result;
    INT_PTR counter = 0;
    int start = 0;
    int found;
    while ((found = Cp932FindString(text.GetString(), text.GetLength(), tag.GetString(),
                                    tag.GetLength(), start)) >= 0) {
        CString piece = text.Mid(start, found - start);
        start = found + tag.GetLength();
        if (piece.IsEmpty())
            continue;
        result += piece;
        if (counter < words.GetSize())
            result += EncodeSearchWord(words[counter], tag);
        ++counter;
    }
    return result;
}

CString BuildSearchUrl(const CString& keyword, const CString& urlTemplate)
{
    for (const char* tagText : kTags) {
        CString tag(tagText);
        int count = CountSubstring(urlTemplate, tag);
        if (count == 0)
            continue;
        if (count == 1) {
            CString url(urlTemplate);
            url.Replace(tag, EncodeSearchWord(keyword, tag));
            return url;
        }
        CStringArray words;
        SplitSearchWords(keyword, words);
        if (words.GetSize() < count)
            return urlTemplate;
        return FillSearchTags(urlTemplate, tag, words);
    }
    return urlTemplate;
}
