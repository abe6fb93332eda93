// The one walk over a page's frames that every page feature uses: the
// document's OLE container lists its embedded objects, and each one that is
// a WebBrowser gives the frame's document.
#ifndef VA_TAB_PAGEFRAMES_H
#define VA_TAB_PAGEFRAMES_H

#include <functional>

#include "framework/core/CString.h"
#include "framework/ole/OleCompat.h"

struct IHTMLDocument2;
struct IHTMLElement;
struct IWebBrowser2;

// Frames nest; a page that embeds itself must not recurse for ever.
const int kMaxFrameDepth = 8;

// Calls visit for every frame of pDocument that has an HTML document, in the
// container's order, until visit returns true; true when one did.
bool ForEachFrame(IUnknown* pDocument,
                  const std::function<bool(IWebBrowser2* frame, IHTMLDocument2* doc)>& visit);

// Calls visit for the elements of the document's "all" collection, in
// order, until visit returns false.
void ForEachElement(IHTMLDocument2* pDoc, const std::function<bool(IHTMLElement* element)>& visit);
// The tag name of an element ("" when it cannot be read).
CString TagName(IHTMLElement* pElement);

// Both interfaces belong to one COM object (their IUnknowns are equal).
bool IsSameObject(IUnknown* a, IUnknown* b);

// pDisp as an HTML document (a new reference), or null.
IHTMLDocument2* AsHtmlDocument(IUnknown* pDisp);

#endif // VA_TAB_PAGEFRAMES_H
