// Calling a page's own script functions.
#ifndef VA_TAB_PAGESCRIPT_H
#define VA_TAB_PAGESCRIPT_H

#include "framework/core/Collections.h"
#include "framework/ole/OleCompat.h"

// Looks name up in the document's script object and calls it as a method
// with the strings as string arguments, in order; TRUE when it was found
// and called.
BOOL CallPageScript(IUnknown* pDocument, LPCSTR name, const CStringArray& args);
// The same on the script object itself.
BOOL CallScriptFunction(IDispatch* pScript, LPCSTR name, const CStringArray& args);

#endif // VA_TAB_PAGESCRIPT_H
