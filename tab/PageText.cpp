#include "tab/PageText.h"

#include "framework/core/Cp932.h"

void TruncateToBytes(const CString& text, int maxBytes, CString& result, bool bEllipsis)
{
    if (text.GetLength() <= maxBytes || maxBytes < 0)
    {
        result = text;
        return;
    }
    result = text.Left(Cp932FloorBoundary(text, text.GetLength(), maxBytes));
    if (bEllipsis)
        result += "\x81\x63";
}

int CountMbChars(const CString& text)
{
    int n = 0;
    for (int i = 0; i < text.GetLength(); i = Cp932Next(text, text.GetLength(), i))
        ++n;
    return n;
}

CString MidMbChars(const CString& text, int first, int count)
{
    if (first < 0)
        first = 0;
    const int len = text.GetLength();
    int i = 0;
    for (int c = 0; c < first && i < len; ++c)
        i = Cp932Next(text, len, i);
    if (i >= len || count <= 0)
        return CString();
    int end = i;
    for (int c = 0; c < count && end < len; ++c)
        end = Cp932Next(text, len, end);
    return text.Mid(i, end - i);
}

void MakeSnippet(const CString& word, const CString& text, int width, CString& result)
{
    result.Empty();
    CString upperWord = word;
    CString upperText = text;
    upperWord.MakeUpper();
    upperText.MakeUpper();
    const int at = upperText.Find(upperWord);
    if (at < 0)
        return;
    if (at == 0)
    {
        TruncateToBytes(text, width, result, false);
        return;
    }
    const int spare = width - CountMbChars(word);
    const int half = spare % 2 != 0 ? (spare + 1) / 2 : spare / 2;
    result = MidMbChars(text, CountMbChars(text.Left(at)) - half, width);
}
