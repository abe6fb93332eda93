// What the focused (active) element of a page is, looked for in the page and
// then depth-first in its frames.
//
// Classes in this file:
//   CLinkInfo   the inner HTML, inner text or link address of the active
//               element, or whether it is a specific element at all
#ifndef VA_TAB_LINKINFO_H
#define VA_TAB_LINKINFO_H

#include "framework/core/CString.h"

struct IHTMLDocument2;
struct IHTMLElement;

class CLinkInfo
{
public:
    enum Mode
    {
        kInnerHtml = 0,
        kInnerText = 1,
        kLinkUrl = 2,       // of an A or AREA element, with a known prefix
        kSpecific = 3,      // not the page's frameset, body or a table part
    };

    explicit CLinkInfo(int mode = kInnerText) : m_mode(mode) {}

    // Fills the field of the mode from the document's active element, else
    // from its frames' (not in mode 3); TRUE when something was found.
    BOOL FromElement(IHTMLDocument2* pDoc, int depth = 0);
    // The same test on the active element without the fall-back, then on
    // the documents of the page's frames.
    BOOL FromFrames(IHTMLDocument2* pDoc, int depth = 0);

    int m_mode;
    CString m_html;
    CString m_text;
    CString m_url;

private:
    // 1 found, 0 not found, -1 not found and no fall-back wanted.
    int Test(IHTMLElement* pElement);
};

// Whether the document's (or a frame's) active element takes typed text:
// an INPUT, TEXTAREA, OBJECT or "pdec" element.
BOOL IsEditableElement(IHTMLDocument2* pDoc, int depth = 0);

#endif // VA_TAB_LINKINFO_H
