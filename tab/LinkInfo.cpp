#include "tab/LinkInfo.h"

#include <exdisp.h>
#include <mshtml.h>

#include "framework/ole/OleUtil.h"
#include "shared/StartupList.h"
#include "tab/PageFrames.h"

namespace {

CComPtr<IHTMLElement> ActiveElement(IHTMLDocument2* pDoc)
{
    CComPtr<IHTMLElement> element;
    if (pDoc != nullptr)
        pDoc->get_activeElement(&element);
    return element;
}

} // namespace

int CLinkInfo::Test(IHTMLElement* pElement)
{
    CBstr value;
    switch (m_mode)
    {
    case kInnerHtml:
        if (SUCCEEDED(pElement->get_innerHTML(&value)))
            m_html = value.ToAnsi();
        m_html.Trim();
        return m_html.IsEmpty() ? 0 : 1;
    case kInnerText:
        if (SUCCEEDED(pElement->get_innerText(&value)))
            m_text = value.ToAnsi();
        m_text.Trim();
        return m_text.IsEmpty() ? 0 : 1;
    case kLinkUrl: {
        CComPtr<IHTMLAnchorElement> anchor;
        CComPtr<IHTMLAreaElement> area;
        if (SUCCEEDED(pElement->QueryInterface(IID_IHTMLAnchorElement, reinterpret_cast<void**>(&anchor)))
            && anchor != nullptr)
            anchor->get_href(&value);
        else if (SUCCEEDED(pElement->QueryInterface(IID_IHTMLAreaElement, reinterpret_cast<void**>(&area)))
                 && area != nullptr)
            area->get_href(&value);
        else
            return 0;
        m_url = value.ToAnsi();
        m_url.Trim();
        return !m_url.IsEmpty() && IsUrlForm(m_url) ? 1 : 0;
    }
    case kSpecific: {
        CComPtr<IHTMLFrameSetElement> frameset;
        if (SUCCEEDED(pElement->QueryInterface(IID_IHTMLFrameSetElement, reinterpret_cast<void**>(&frameset)))
            && frameset != nullptr)
            return -1;
        const CString tag = TagName(pElement);
        return tag == "BODY" || tag == "TD" || tag == "TR" || tag == "TABLE" ? -1 : 1;
    }
    default:
        return -1;
    }
}

BOOL CLinkInfo::FromElement(IHTMLDocument2* pDoc, int depth)
{
    m_html.Empty();
    m_text.Empty();
    m_url.Empty();
    CComPtr<IHTMLElement> element = ActiveElement(pDoc);
    if (element == nullptr)
        return FALSE;
    const int found = Test(element);
    if (found != 0)
        return found > 0;
    return FromFrames(pDoc, depth);
}

BOOL CLinkInfo::FromFrames(IHTMLDocument2* pDoc, int depth)
{
    if (pDoc == nullptr || depth > kMaxFrameDepth)
        return FALSE;
    m_html.Empty();
    m_text.Empty();
    m_url.Empty();
    CComPtr<IHTMLElement> element = ActiveElement(pDoc);
    if (element != nullptr && Test(element) > 0)
        return TRUE;
    return ForEachFrame(pDoc, [&](IWebBrowser2*, IHTMLDocument2* frameDoc) {
        return FromElement(frameDoc, depth + 1) != FALSE;
    }) ? TRUE : FALSE;
}

BOOL IsEditableElement(IHTMLDocument2* pDoc, int depth)
{
    if (pDoc == nullptr || depth > kMaxFrameDepth)
        return FALSE;
    const CString tag = TagName(ActiveElement(pDoc));
    if (tag == "INPUT" || tag == "TEXTAREA" || tag == "OBJECT" || tag == "pdec")
        return TRUE;
    return ForEachFrame(pDoc, [&](IWebBrowser2*, IHTMLDocument2* frameDoc) {
        return IsEditableElement(frameDoc, depth + 1) != FALSE;
    }) ? TRUE : FALSE;
}
