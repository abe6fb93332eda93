#include "tab/PageSelection.h"

#include <mshtml.h>

#include "framework/ole/OleUtil.h"
#include "tab/PageFrames.h"

BOOL CPageSelection::Read(IDispatch* pDocument, Mode mode)
{
    m_strHtml.Empty();
    m_strText.Empty();
    return ReadDocument(pDocument, mode, 0);
}

BOOL CPageSelection::ReadDocument(IDispatch* pDocument, Mode mode, int depth)
{
    if (pDocument == nullptr || depth > kMaxFrameDepth)
        return FALSE;
    CComPtr<IHTMLDocument2> doc;
    if (FAILED(pDocument->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(&doc)))
        || doc == nullptr)
        return FALSE;
    CComPtr<IHTMLSelectionObject> selection;
    CComPtr<IDispatch> rangeDisp;
    CComPtr<IHTMLTxtRange> range;
    if (SUCCEEDED(doc->get_selection(&selection)) && selection != nullptr
        && SUCCEEDED(selection->createRange(&rangeDisp)) && rangeDisp != nullptr
        && SUCCEEDED(rangeDisp->QueryInterface(IID_IHTMLTxtRange, reinterpret_cast<void**>(&range)))
        && range != nullptr)
    {
        CBstr value;
        HRESULT hr = mode == kHtml ? range->get_htmlText(&value) : range->get_text(&value);
        if (SUCCEEDED(hr))
        {
            CString& out = mode == kHtml ? m_strHtml : m_strText;
            out = value.ToAnsi();
            out.Trim();
            if (!out.IsEmpty())
                return TRUE;
        }
    }
    return ReadFrames(pDocument, mode, depth);
}

BOOL CPageSelection::ReadFrames(IDispatch* pDocument, Mode mode, int depth)
{
    return ForEachFrame(pDocument, [&](IWebBrowser2*, IHTMLDocument2* frameDoc) {
        return ReadDocument(frameDoc, mode, depth + 1) != FALSE;
    }) ? TRUE : FALSE;
}
