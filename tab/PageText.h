// cp932 text helpers of the page features: cutting to a byte length,
// counting and taking characters, and the snippet shown for a match.
#ifndef VA_TAB_PAGETEXT_H
#define VA_TAB_PAGETEXT_H

#include "framework/core/CString.h"

// text cut to at most maxBytes bytes without splitting a double-byte
// character, with "…" appended when it was cut and bEllipsis is set.
void TruncateToBytes(const CString& text, int maxBytes, CString& result, bool bEllipsis);
// The number of characters (a double-byte pair counts once).
int CountMbChars(const CString& text);
// count characters of text from character first on (a negative first
// counts as 0); empty when first is past the end or count <= 0.
CString MidMbChars(const CString& text, int first, int count);
// The width characters of text around the first match of word (compared in
// upper case), the match as near the middle as it goes; empty when word is
// not in text.
void MakeSnippet(const CString& word, const CString& text, int width, CString& result);

#endif // VA_TAB_PAGETEXT_H
