// The start-up list "StartUpURL.dat": one URL a line with an enabled flag,
// "url｀1". Also the URL-form test that every stored text must pass before
// it is opened.
#ifndef VA_SHARED_STARTUPLIST_H
#define VA_SHARED_STARTUPLIST_H

#include "framework/core/Collections.h"
#include "framework/core/CString.h"

// A text counts as a URL when it starts with a known scheme prefix, or is a
// drive path ("C:\...") or a network path ("\\server...").
bool IsUrlForm(LPCTSTR text);

// The URL of a line that counts: exactly two fields, a non-zero flag and a
// first field in URL form. Other lines give false.
bool ParseStartupListLine(const CString& line, CString& url);

// The URLs of the list file in order; a missing file gives none.
void ReadStartupList(LPCTSTR path, CStringArray& urls);

#endif // VA_SHARED_STARTUPLIST_H
