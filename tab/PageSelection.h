// The selected part of a page, as the context menu and the main frame's
// selection commands read it.
//
// Classes in this file:
//   CPageSelection   the selection's HTML and text, read from a document and,
//                    when it has none, from its embedded frames
#ifndef VA_TAB_PAGESELECTION_H
#define VA_TAB_PAGESELECTION_H

#include "framework/core/CString.h"
#include "framework/ole/OleCompat.h"

class CPageSelection
{
public:
    enum Mode
    {
        kHtml = 0,  // into m_strHtml
        kText = 1,  // into m_strText
    };

    // Empties both strings, then reads the selection of pDocument (an HTML
    // document; null gives nothing) in the mode, trimmed at both ends. When
    // the document has no text range or the result is empty, the documents
    // of its embedded frames are read the same way; the first non-empty
    // result wins. TRUE when something was read.
    BOOL Read(IDispatch* pDocument, Mode mode);

    CString m_strHtml;
    CString m_strText;

private:
    BOOL ReadDocument(IDispatch* pDocument, Mode mode, int depth);
    BOOL ReadFrames(IDispatch* pDocument, Mode mode, int depth);
};

#endif // VA_TAB_PAGESELECTION_H
