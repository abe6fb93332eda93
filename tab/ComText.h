// Conversions between the program's 8-bit text (the ANSI code page, 932)
// and the wide strings of COM.
#ifndef VA_TAB_COMTEXT_H
#define VA_TAB_COMTEXT_H

#include <windows.h>
#include <oleauto.h>

#include "framework/core/CString.h"

// A new BSTR (the caller frees it); null for a null text.
BSTR AnsiToBstr(LPCSTR text);
CString WideToAnsi(LPCWSTR text);

#endif // VA_TAB_COMTEXT_H
