#include "tab/FlashHiding.h"

#include <exdisp.h>
#include <mshtml.h>

#include "framework/ole/OleUtil.h"
#include "tab/PageFrames.h"

namespace {

const char kFlashClassId[] = "CLSID:D27CDB6E-AE6D-11CF-96B8-444553540000";

} // namespace

int HideFlashInDocument(IHTMLDocument2* pDoc)
{
    CComPtr<IHTMLElementCollection> all;
    CComPtr<IDispatch> objectsDisp;
    CComPtr<IHTMLElementCollection> objects;
    CVariant tag;
    tag.SetWideString(L"OBJECT");
    LONG count = 0;
    if (pDoc == nullptr || FAILED(pDoc->get_all(&all)) || all == nullptr
        || FAILED(all->tags(tag, &objectsDisp)) || objectsDisp == nullptr
        || FAILED(objectsDisp.QueryInterface(IID_IHTMLElementCollection, objects))
        || objects == nullptr || FAILED(objects->get_length(&count)))
        return 0;
    int hidden = 0;
    for (LONG i = 0; i < count; ++i)
    {
        CVariant index;
        index.SetLong(i);
        CComPtr<IDispatch> item;
        CComPtr<IHTMLObjectElement> object;
        CComPtr<IHTMLElement> element;
        CComPtr<IHTMLStyle> style;
        CBstr classId;
        if (FAILED(objects->item(index, index, &item)) || item == nullptr
            || FAILED(item.QueryInterface(IID_IHTMLObjectElement, object)) || object == nullptr
            || FAILED(object->get_classid(&classId)))
            continue;
        CString id = classId.ToAnsi();
        id.MakeUpper();
        if (id != kFlashClassId || FAILED(item.QueryInterface(IID_IHTMLElement, element))
            || element == nullptr || FAILED(element->get_style(&style)) || style == nullptr)
            continue;
        CBstr hiddenValue(L"hidden");
        style->put_visibility(hiddenValue);
        style->put_pixelHeight(0);
        style->put_pixelWidth(0);
        ++hidden;
    }
    return hidden;
}

int HideFlashInFrames(IHTMLDocument2* pDoc, int depth)
{
    if (pDoc == nullptr || depth > kMaxFrameDepth)
        return 0;
    int hidden = HideFlashInDocument(pDoc);
    ForEachFrame(pDoc, [&](IWebBrowser2*, IHTMLDocument2* frameDoc) {
        hidden += HideFlashInFrames(frameDoc, depth + 1);
        return false;
    });
    return hidden;
}
