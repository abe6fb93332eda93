// Search URLs: a keyword put into an engine's URL template.
//
// A template names the character set of the keyword by a tag: "<UTF8>",
// "<EUC>" or "<SJIS>". One kind of tag is served per search, the first of
// that order found in the template; a template with several tags of that
// kind takes one word of the keyword per tag. Keywords are cp932 text and
// are always scanned by characters, so a trail byte never passes for a
// space or an ASCII character.
#ifndef VA_LISTS_SEARCHURL_H
#define VA_LISTS_SEARCHURL_H

#include "framework/core/Collections.h"
#include "framework/core/CString.h"

// Non-overlapping occurrences of pattern, scanning from the left; 0 for an
// empty pattern.
int CountSubstring(const CString& text, const CString& pattern);

// Query escaping in place: ASCII letters, digits and "*-.@_" stay, a space
// becomes "+", every other byte becomes "%XX". In cp932 text (doubleByte)
// both bytes of a double-byte character are escaped; UTF-8 and EUC-JP text
// is escaped byte by byte.
void UrlEncodeQuery(CString& text, bool doubleByte = true);

// cp932 to UTF-8. Returns 1, or 0 for an empty input (output empty).
int ConvertAnsiToUtf8(const CString& in, CString& out);

// cp932 (Shift-JIS) to EUC-JP: JIS X 0208 characters as two bytes with the
// high bit set, half-width katakana after the byte 0x8E. A character without
// an EUC-JP code (user-defined and vendor rows, a lead byte with a bad or
// missing trail byte) becomes "?".
void ConvertSjisToEuc(const CString& in, CString& out);

// The words of a keyword: cut at every space and full-width space; empty
// words between runs of spaces are kept, and the text after the last space
// is the last word.
void SplitSearchWords(const CString& keyword, CStringArray& words);

// One word converted for the tag and escaped.
CString EncodeSearchWord(const CString& word, const CString& tag);

// The template with the words put in for its tags, in order.
CString FillSearchTags(const CString& urlTemplate, const CString& tag, const CStringArray& words);

// The URL of a search for keyword with an engine's template. A template
// with more tags than the keyword has words comes back unchanged.
CString BuildSearchUrl(const CString& keyword, const CString& urlTemplate);

#endif // VA_LISTS_SEARCHURL_H
