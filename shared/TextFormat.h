// Filling texts of the string files that carry conversions ("%d", "%04x").
//
// A line of a string file is user data: it is never handed to a printf-style
// function as it stands. A line is used only when its conversions are
// exactly the expected ones, else the caller's built-in text is; the numbers
// are then put in by replacement, one conversion at a time.
#ifndef VA_SHARED_TEXTFORMAT_H
#define VA_SHARED_TEXTFORMAT_H

#include <initializer_list>

#include "framework/core/CString.h"

namespace TextFormat {

// Replaces the first occurrence of what in text.
void ReplaceFirst(CString& text, const char* what, const CString& by);

// Whether format holds exactly count conversions "%" [0] [width up to 2
// digits] conv ("%%" is a literal percent sign and counts as none).
bool HasNumberConversions(const CString& format, char conv, int count);

// format (or fallback, when format's conversions are not the expected ones)
// with its conversions replaced by the numbers in order. conv is 'd' or 'x'.
CString FormatNumbers(const CString& format, char conv, std::initializer_list<long> numbers,
                      const char* fallback);

// format (or fallback, when format's conversions are not exactly
// texts.size() "%s") with its "%s" replaced by the texts in order, inserted
// as they stand (a "%" in a text stays a "%").
CString FormatStrings(const CString& format, std::initializer_list<CString> texts, const char* fallback);

} // namespace TextFormat

#endif // VA_SHARED_TEXTFORMAT_H
