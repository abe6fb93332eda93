#include "tab/PageFrames.h"

#include <exdisp.h>
#include <mshtml.h>

#include "framework/ole/OleUtil.h"

IHTMLDocument2* AsHtmlDocument(IUnknown* pDisp)
{
    IHTMLDocument2* pDoc = nullptr;
    if (pDisp == nullptr
        || FAILED(pDisp->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(&pDoc))))
        return nullptr;
    return pDoc;
}

bool ForEachFrame(IUnknown* pDocument,
                  const std::function<bool(IWebBrowser2* frame, IHTMLDocument2* doc)>& visit)
{
    CComPtr<IOleContainer> container;
    if (pDocument == nullptr
        || FAILED(pDocument->QueryInterface(IID_IOleContainer, reinterpret_cast<void**>(&container)))
        || container == nullptr)
        return false;
    CComPtr<IEnumUnknown> objects;
    if (FAILED(container->EnumObjects(OLECONTF_EMBEDDINGS, &objects)) || objects == nullptr)
        return false;
    for (;;)
    {
        CComPtr<IUnknown> object;
        ULONG fetched = 0;
        if (objects->Next(1, &object, &fetched) != S_OK || object == nullptr)
            return false;
        CComPtr<IWebBrowser2> frame;
        if (FAILED(object->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&frame)))
            || frame == nullptr)
            continue;
        CComPtr<IDispatch> frameDisp;
        if (FAILED(frame->get_Document(&frameDisp)) || frameDisp == nullptr)
            continue;
        CComPtr<IHTMLDocument2> frameDoc;
        frameDoc.Attach(AsHtmlDocument(frameDisp));
        if (frameDoc != nullptr && visit(frame, frameDoc))
            return true;
    }
}

void ForEachElement(IHTMLDocument2* pDoc, const std::function<bool(IHTMLElement* element)>& visit)
{
    CComPtr<IHTMLElementCollection> all;
    LONG count = 0;
    if (pDoc == nullptr || FAILED(pDoc->get_all(&all)) || all == nullptr
        || FAILED(all->get_length(&count)))
        return;
    for (LONG i = 0; i < count; ++i)
    {
        CVariant index;
        index.SetLong(i);
        CComPtr<IDispatch> item;
        CComPtr<IHTMLElement> element;
        if (FAILED(all->item(index, index, &item)) || item == nullptr
            || FAILED(item.QueryInterface(IID_IHTMLElement, element)) || element == nullptr)
            continue;
        if (!visit(element.Get()))
            return;
    }
}

CString TagName(IHTMLElement* pElement)
{
    CBstr tag;
    if (pElement == nullptr || FAILED(pElement->get_tagName(&tag)))
        return CString();
    return tag.ToAnsi();
}

bool IsSameObject(IUnknown* a, IUnknown* b)
{
    CComPtr<IUnknown> ua, ub;
    return a != nullptr && b != nullptr
           && SUCCEEDED(a->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&ua)))
           && SUCCEEDED(b->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&ub)))
           && ua.Get() == ub.Get();
}
