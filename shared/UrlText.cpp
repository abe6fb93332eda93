#include "shared/UrlText.h"

#include <cstring>


namespace {

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// ASCII letters compare without case; other bytes as they are.
bool StartsWithNoCase(LPCTSTR text, LPCTSTR prefix)
{
    if (text == nullptr)
        return false;
    const int length = static_cast<int>(strlen(prefix));
    return CString(text).Left(length).CompareNoCase(prefix) == 0;
}

} // namespace

CString UrlDecode(const CString& text, bool bPlus)
{
    CString result;
    const int length = text.GetLength();
    for (int i = 0; i < length; ++i) {
        char c = text[i];
        if (c == '%' && i + 2 < length && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
            char decoded = static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
            if (decoded != '\r')
                result += decoded;
        } else if (c == '+' && bPlus) {
            result += ' ';
        } else {
            result += c;
        }
    }
    return result;
}

bool IsScriptUrl(LPCTSTR url)
{
    return StartsWithNoCase(url, "javascript") || StartsWithNoCase(url, "script") ||
           StartsWithNoCase(url, "vbscript") || StartsWithNoCase(url, "jscript");
}
