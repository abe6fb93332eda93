#include "tab/PageSelection.h"

#include <mshtml.h>

#include "framework/ole/OleUtil.h"

namespace {

// Frames nest; a page that embeds itself must not recurse for ever.
const int kMaxFrameDepth = 8;

} // namespace

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
    CComPtr<IOleContainer> container;
    if (FAILED(pDocument->QueryInterface(IID_IOleContainer, reinterpret_cast<void**>(&container)))
        || container == nullptr)
        return FALSE;
    CComPtr<IEnumUnknown> objects;
    if (FAILED(container->EnumObjects(OLECONTF_EMBEDDINGS, &objects)) || objects == nullptr)
        return FALSE;
    for (;;)
    {
        CComPtr<IUnknown> object;
        ULONG fetched = 0;
        if (objects->Next(1, &object, &fetched) != S_OK || object == nullptr)
            return FALSE;
        CComPtr<IWebBrowser2> frame;
        if (FAILED(object->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&frame)))
            || frame == nullptr)
            continue;
        CComPtr<IDispatch> frameDoc;
        if (SUCCEEDED(frame->get_Document(&frameDoc)) && frameDoc != nullptr
            && ReadDocument(frameDoc, mode, depth + 1))
            return TRUE;
    }
}
