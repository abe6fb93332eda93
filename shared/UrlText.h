// Small tests and conversions of URL text that the frame, the tabs and the
// start-up code share.
#ifndef VA_SHARED_URLTEXT_H
#define VA_SHARED_URLTEXT_H

#include "framework/core/CString.h"

// The pseudo-URL that stands for the home page; every opening path honours it.
inline constexpr char kHomeToken[] = "gOhOmE!!!";

// Percent-decoding of 8-bit text: "%XX" (digits and upper-case letters)
// becomes its byte, a decoded carriage return is dropped, "+" becomes a
// space when bPlus is set; an incomplete or non-hex escape is copied as it is.
CString UrlDecode(const CString& text, bool bPlus = false);

// The text starts with a script scheme ("javascript", "vbscript", ...).
bool IsScriptUrl(LPCTSTR url);

#endif // VA_SHARED_URLTEXT_H
