// Fields of the program's data-file lines. Lines split on the cp932
// character "｀" (0x81 0x4D); some files use "?" instead. Splitting is by
// characters: the bytes of a separator inside another double-byte character
// never count.
#ifndef VA_SHARED_DATAFIELDS_H
#define VA_SHARED_DATAFIELDS_H

#include "framework/core/Collections.h"
#include "framework/core/CString.h"

namespace DataFields {

// "｀" in cp932.
extern const char kSeparator[];

// Splits a line whose every field ends with the separator (the readers
// append one to the line first): "a｀b｀" gives "a", "b"; text after the last
// separator is a final field of its own when it is not empty.
void SplitTerminated(const CString& text, LPCTSTR separator, CStringArray& fields);

// Splits one line of a data file (its line end stripped) into its fields:
// one separator is appended and the fields cut as SplitTerminated does. A
// lone lead byte at the line's end is dropped first: with the separator's
// first byte as its trail it would make one character ("\x83" + "｀" reads
// as "メM") and join the separator to the last field.
void SplitLine(const CString& line, LPCTSTR separator, CStringArray& fields);

// "＾" in cp932: the separator of the items of a list inside one field.
extern const char kListSeparator[];

// A title made safe for one field of a line, or one item of a list: "｀"
// and "＾" become their single-byte forms "`" and "^", and a CR or LF a
// blank (cp932 characters, never split).
CString CleanTitleField(const CString& title);

// A URL made safe for one field or list item: CR and LF are dropped, and
// "｀" and "＾" become their escaped bytes "%81%4D" and "%81%4F", which
// name the same address.
CString CleanUrlField(const CString& url);

} // namespace DataFields

#endif // VA_SHARED_DATAFIELDS_H
