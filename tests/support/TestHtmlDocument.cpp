// The test control's document model: parser, tree, text positions and the
// COM objects over them.
#include "tests/support/TestHtmlDocument.h"

#include <algorithm>
#include <cwctype>

#include "tests/support/TestWebBrowser.h"

namespace {

const wchar_t kNbsp = 0x00A0;

// The private identity through which a range finds the element's node.
const IID kIID_TestHtmlElement =
    { 0x6b2f1d68, 0x4c8e, 0x4d3f, { 0xa0, 0x72, 0x3e, 0x1c, 0x88, 0x5f, 0x2b, 0xa4 } };

BSTR Bstr(const std::wstring& s)
{
    return ::SysAllocStringLen(s.data(), static_cast<UINT>(s.size()));
}

std::wstring FromBstr(BSTR b)
{
    return b != nullptr ? std::wstring(b, ::SysStringLen(b)) : std::wstring();
}

std::wstring Upper(std::wstring s)
{
    for (wchar_t& c : s)
        c = static_cast<wchar_t>(std::towupper(c));
    return s;
}

std::wstring Lower(std::wstring s)
{
    for (wchar_t& c : s)
        c = static_cast<wchar_t>(std::towlower(c));
    return s;
}

bool IsVoidTag(const std::wstring& upper)
{
    static const wchar_t* const kVoid[] = { L"BR", L"IMG", L"INPUT", L"HR", L"META", L"LINK",
                                            L"PARAM", L"FRAME", L"EMBED", L"AREA", L"BASE",
                                            L"COL" };
    for (const wchar_t* p : kVoid)
        if (upper == p)
            return true;
    return false;
}

std::wstring DecodeEntities(const std::wstring& s)
{
    static const struct { const wchar_t* name; wchar_t ch; } kEntities[] = {
        { L"&amp;", L'&' }, { L"&quot;", L'"' }, { L"&lt;", L'<' }, { L"&gt;", L'>' },
        { L"&nbsp;", kNbsp } };
    std::wstring out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();)
    {
        bool bDone = false;
        if (s[i] == L'&')
        {
            for (const auto& e : kEntities)
            {
                size_t n = wcslen(e.name);
                if (s.compare(i, n, e.name) == 0)
                {
                    out += e.ch;
                    i += n;
                    bDone = true;
                    break;
                }
            }
        }
        if (!bDone)
            out += s[i++];
    }
    return out;
}

void ParseAttributes(const std::wstring& s, size_t pos, HtmlNode& node)
{
    while (pos < s.size())
    {
        while (pos < s.size() && (std::iswspace(s[pos]) || s[pos] == L'/'))
            ++pos;
        size_t nameStart = pos;
        while (pos < s.size() && !std::iswspace(s[pos]) && s[pos] != L'=' && s[pos] != L'/')
            ++pos;
        if (pos == nameStart)
            break;
        std::wstring name = Lower(s.substr(nameStart, pos - nameStart));
        std::wstring value;
        while (pos < s.size() && std::iswspace(s[pos]))
            ++pos;
        if (pos < s.size() && s[pos] == L'=')
        {
            ++pos;
            while (pos < s.size() && std::iswspace(s[pos]))
                ++pos;
            if (pos < s.size() && (s[pos] == L'"' || s[pos] == L'\''))
            {
                wchar_t quote = s[pos++];
                size_t end = s.find(quote, pos);
                if (end == std::wstring::npos)
                    end = s.size();
                value = s.substr(pos, end - pos);
                pos = end + 1;
            }
            else
            {
                size_t start = pos;
                while (pos < s.size() && !std::iswspace(s[pos]))
                    ++pos;
                value = s.substr(start, pos - start);
            }
        }
        node.attributes.emplace_back(name, DecodeEntities(value));
    }
}

void CollectElements(HtmlNode* pNode, std::vector<HtmlNode*>& out)
{
    for (const HtmlNodePtr& child : pNode->children)
    {
        if (child->IsText())
            continue;
        out.push_back(child.get());
        CollectElements(child.get(), out);
    }
}

std::wstring StartTagOf(const HtmlNode& node)
{
    if (!node.startTag.empty())
        return node.startTag;
    std::wstring out = L"<" + node.name;
    for (const auto& a : node.attributes)
    {
        std::wstring v;
        for (wchar_t c : a.second)
            v += c == L'"' ? std::wstring(L"&quot;") : std::wstring(1, c);
        out += L" " + a.first + L"=\"" + v + L"\"";
    }
    return out + L">";
}

void Serialize(const HtmlNode& node, std::wstring& out)
{
    if (node.IsText())
    {
        out += EscapeHtmlText(node.text);
        return;
    }
    out += StartTagOf(node);
    if (node.bVoid)
        return;
    for (const HtmlNodePtr& child : node.children)
        Serialize(*child, out);
    out += L"</" + node.name + L">";
}

void AppendText(const HtmlNode& node, std::wstring& out)
{
    if (node.IsText())
    {
        out += node.text;
        return;
    }
    for (const HtmlNodePtr& child : node.children)
        AppendText(*child, out);
}

bool IsWordChar(wchar_t c)
{
    return ::IsCharAlphaNumericW(c) || c == L'_';
}

} // namespace

//--- HtmlNode

std::wstring HtmlNode::GetAttribute(const std::wstring& attrName) const
{
    for (const auto& a : attributes)
        if (a.first == attrName)
            return a.second;
    return std::wstring();
}

void HtmlNode::SetAttribute(const std::wstring& attrName, const std::wstring& value)
{
    startTag.clear();
    for (auto& a : attributes)
    {
        if (a.first == attrName)
        {
            a.second = value;
            return;
        }
    }
    attributes.emplace_back(attrName, value);
}

std::wstring HtmlNode::InnerHtml() const
{
    std::wstring out;
    for (const HtmlNodePtr& child : children)
        Serialize(*child, out);
    return out;
}

std::wstring HtmlNode::OuterHtml() const
{
    std::wstring out;
    Serialize(*this, out);
    return out;
}

std::wstring HtmlNode::InnerText() const
{
    std::wstring out;
    AppendText(*this, out);
    return out;
}

std::wstring EscapeHtmlText(const std::wstring& text)
{
    std::wstring out;
    out.reserve(text.size());
    for (wchar_t c : text)
    {
        switch (c)
        {
        case L'&': out += L"&amp;"; break;
        case L'<': out += L"&lt;"; break;
        case L'>': out += L"&gt;"; break;
        case kNbsp: out += L"&nbsp;"; break;
        default: out += c; break;
        }
    }
    return out;
}

std::vector<HtmlNodePtr> ParseHtml(const std::wstring& html)
{
    auto root = std::make_shared<HtmlNode>();
    root->tag = L"#ROOT";
    HtmlNode* pOpen = root.get();
    size_t pos = 0;
    while (pos < html.size())
    {
        size_t lt = html.find(L'<', pos);
        if (lt != pos)
        {
            size_t end = lt == std::wstring::npos ? html.size() : lt;
            auto text = std::make_shared<HtmlNode>();
            text->text = DecodeEntities(html.substr(pos, end - pos));
            text->parent = pOpen;
            pOpen->children.push_back(text);
            pos = end;
            continue;
        }
        size_t gt = html.find(L'>', lt);
        if (gt == std::wstring::npos)
            gt = html.size() - 1;
        std::wstring inner = html.substr(lt + 1, gt - lt - 1);
        pos = gt + 1;
        if (!inner.empty() && inner[0] == L'/')
        {
            std::wstring closing = Upper(inner.substr(1));
            while (!closing.empty() && std::iswspace(closing.back()))
                closing.pop_back();
            for (HtmlNode* p = pOpen; p != root.get(); p = p->parent)
            {
                if (p->tag == closing)
                {
                    pOpen = p->parent;
                    break;
                }
            }
            continue;
        }
        if (!inner.empty() && inner[0] == L'!')
            continue;  // comments and document types are dropped
        auto element = std::make_shared<HtmlNode>();
        size_t nameEnd = 0;
        while (nameEnd < inner.size() && !std::iswspace(inner[nameEnd]) && inner[nameEnd] != L'/')
            ++nameEnd;
        element->name = inner.substr(0, nameEnd);
        element->tag = Upper(element->name);
        element->startTag = L"<" + inner + L">";
        ParseAttributes(inner, nameEnd, *element);
        element->bVoid = IsVoidTag(element->tag) || (!inner.empty() && inner.back() == L'/');
        element->parent = pOpen;
        pOpen->children.push_back(element);
        if (!element->bVoid)
            pOpen = element.get();
    }
    for (const HtmlNodePtr& n : root->children)
        n->parent = nullptr;
    return root->children;
}

//--- The COM objects over the tree

namespace {

template <class Base>
class CountedObject : public Base
{
public:
    STDMETHOD_(ULONG, AddRef)() override { return ++m_cRef; }
    STDMETHOD_(ULONG, Release)() override
    {
        ULONG n = --m_cRef;
        if (n == 0)
            delete this;
        return n;
    }

protected:
    virtual ~CountedObject() = default;
    ULONG m_cRef = 1;
};

class TestHtmlStyle : public CountedObject<StubIHTMLStyle>
{
public:
    TestHtmlStyle(TestHtmlDocument* pDoc, HtmlNodePtr node) : m_pDoc(pDoc), m_node(std::move(node))
    {
        m_pDoc->AddRef();
    }
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override
    {
        if (ppv == nullptr)
            return E_POINTER;
        *ppv = nullptr;
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IHTMLStyle)
        {
            *ppv = static_cast<IHTMLStyle*>(this);
            AddRef();
            return S_OK;
        }
        return E_NOINTERFACE;
    }
    STDMETHOD(put_visibility)(BSTR v) override { return Set(L"visibility", FromBstr(v)); }
    STDMETHOD(put_pixelHeight)(LONG v) override
    {
        return Set(L"height", std::to_wstring(v) + L"px");
    }
    STDMETHOD(put_pixelWidth)(LONG v) override { return Set(L"width", std::to_wstring(v) + L"px"); }

private:
    ~TestHtmlStyle() override { m_pDoc->Release(); }
    // Rewrites the element's style attribute with one property replaced.
    HRESULT Set(const std::wstring& name, const std::wstring& value)
    {
        std::vector<std::pair<std::wstring, std::wstring>> props;
        std::wstring style = m_node->GetAttribute(L"style");
        size_t pos = 0;
        while (pos < style.size())
        {
            size_t semi = style.find(L';', pos);
            if (semi == std::wstring::npos)
                semi = style.size();
            std::wstring item = style.substr(pos, semi - pos);
            size_t colon = item.find(L':');
            if (colon != std::wstring::npos)
            {
                auto trim = [](std::wstring s) {
                    while (!s.empty() && std::iswspace(s.front()))
                        s.erase(0, 1);
                    while (!s.empty() && std::iswspace(s.back()))
                        s.pop_back();
                    return s;
                };
                props.emplace_back(Lower(trim(item.substr(0, colon))), trim(item.substr(colon + 1)));
            }
            pos = semi + 1;
        }
        bool bFound = false;
        for (auto& p : props)
            if (p.first == name)
            {
                p.second = value;
                bFound = true;
            }
        if (!bFound)
            props.emplace_back(name, value);
        std::wstring out;
        for (const auto& p : props)
            out += (out.empty() ? L"" : L"; ") + p.first + L": " + p.second;
        m_node->SetAttribute(L"style", out);
        return S_OK;
    }

    TestHtmlDocument* m_pDoc;
    HtmlNodePtr m_node;
};

class TestHtmlElement : public CountedObject<StubIHTMLElement>,
                        public StubIHTMLBodyElement,
                        public StubIHTMLAnchorElement,
                        public StubIHTMLAreaElement,
                        public StubIHTMLObjectElement,
                        public StubIHTMLInputElement,
                        public StubIHTMLTextAreaElement,
                        public StubIHTMLFrameSetElement
{
public:
    TestHtmlElement(TestHtmlDocument* pDoc, HtmlNodePtr node) : m_pDoc(pDoc), m_node(std::move(node))
    {
        m_pDoc->AddRef();
    }

    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override;
    STDMETHOD_(ULONG, AddRef)() override { return CountedObject<StubIHTMLElement>::AddRef(); }
    STDMETHOD_(ULONG, Release)() override { return CountedObject<StubIHTMLElement>::Release(); }
    STDMETHOD(Invoke)(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return DISP_E_MEMBERNOTFOUND;
    }

    // IHTMLElement
    STDMETHOD(get_tagName)(BSTR* p) override { return Out(p, m_node->tag); }
    STDMETHOD(get_id)(BSTR* p) override { return Out(p, m_node->GetAttribute(L"id")); }
    STDMETHOD(get_className)(BSTR* p) override { return Out(p, m_node->GetAttribute(L"class")); }
    STDMETHOD(getAttribute)(BSTR name, LONG, VARIANT* p) override
    {
        if (p == nullptr)
            return E_POINTER;
        ::VariantInit(p);
        p->vt = VT_BSTR;
        p->bstrVal = Bstr(m_node->GetAttribute(Lower(FromBstr(name))));
        return S_OK;
    }
    STDMETHOD(get_innerHTML)(BSTR* p) override { return Out(p, m_node->InnerHtml()); }
    STDMETHOD(get_outerHTML)(BSTR* p) override { return Out(p, m_node->OuterHtml()); }
    STDMETHOD(get_innerText)(BSTR* p) override { return Out(p, m_node->InnerText()); }
    STDMETHOD(put_outerHTML)(BSTR v) override
    {
        if (m_node->parent == nullptr)
            return E_FAIL;
        m_pDoc->ReplaceNode(m_node.get(), ParseHtml(FromBstr(v)));
        return S_OK;
    }
    STDMETHOD(put_innerHTML)(BSTR v) override
    {
        m_node->children.clear();
        for (HtmlNodePtr& n : ParseHtml(FromBstr(v)))
        {
            n->parent = m_node.get();
            m_node->children.push_back(n);
        }
        m_pDoc->Changed();
        return S_OK;
    }
    STDMETHOD(get_parentElement)(IHTMLElement** p) override
    {
        if (p == nullptr)
            return E_POINTER;
        *p = m_node->parent != nullptr ? m_pDoc->WrapElement(m_node->parent) : nullptr;
        return S_OK;
    }
    STDMETHOD(get_style)(IHTMLStyle** p) override
    {
        if (p == nullptr)
            return E_POINTER;
        *p = new TestHtmlStyle(m_pDoc, m_node);
        return S_OK;
    }
    STDMETHOD(get_offsetHeight)(LONG* p) override
    {
        if (p == nullptr)
            return E_POINTER;
        *p = m_pDoc->GetDocumentHeight();
        return S_OK;
    }
    // IHTMLBodyElement (also text inputs and text areas)
    STDMETHOD(createTextRange)(IHTMLTxtRange** range) override;
    // IHTMLAnchorElement, IHTMLAreaElement
    STDMETHOD(get_href)(BSTR* p) override { return Out(p, m_node->GetAttribute(L"href")); }
    // IHTMLObjectElement
    STDMETHOD(get_classid)(BSTR* p) override { return Out(p, m_node->GetAttribute(L"classid")); }
    // IHTMLInputElement: an input without a type is a text input.
    STDMETHOD(get_type)(BSTR* p) override
    {
        std::wstring type = m_node->GetAttribute(L"type");
        if (type.empty() && m_node->tag == L"INPUT")
            type = L"text";
        if (m_node->tag == L"TEXTAREA")
            type = L"textarea";
        return Out(p, Lower(type));
    }
    // IHTMLFrameSetElement
    STDMETHOD(get_rows)(BSTR* p) override { return Out(p, m_node->GetAttribute(L"rows")); }

    HtmlNode* Node() const { return m_node.get(); }

private:
    ~TestHtmlElement() override { m_pDoc->Release(); }
    static HRESULT Out(BSTR* p, const std::wstring& s)
    {
        if (p == nullptr)
            return E_POINTER;
        *p = Bstr(s);
        return S_OK;
    }

    TestHtmlDocument* m_pDoc;
    HtmlNodePtr m_node;
};

STDMETHODIMP TestHtmlElement::QueryInterface(REFIID riid, void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    *ppv = nullptr;
    const std::wstring& tag = m_node->tag;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IHTMLElement)
        *ppv = static_cast<IHTMLElement*>(static_cast<StubIHTMLElement*>(this));
    else if (riid == kIID_TestHtmlElement)
        *ppv = this;
    else if (riid == IID_IHTMLBodyElement && tag == L"BODY")
        *ppv = static_cast<IHTMLBodyElement*>(this);
    else if (riid == IID_IHTMLAnchorElement && tag == L"A")
        *ppv = static_cast<IHTMLAnchorElement*>(this);
    else if (riid == IID_IHTMLAreaElement && tag == L"AREA")
        *ppv = static_cast<IHTMLAreaElement*>(this);
    else if (riid == IID_IHTMLObjectElement && tag == L"OBJECT")
        *ppv = static_cast<IHTMLObjectElement*>(this);
    else if (riid == IID_IHTMLInputElement && tag == L"INPUT")
        *ppv = static_cast<IHTMLInputElement*>(this);
    else if (riid == IID_IHTMLTextAreaElement && tag == L"TEXTAREA")
        *ppv = static_cast<IHTMLTextAreaElement*>(this);
    else if (riid == IID_IHTMLFrameSetElement && tag == L"FRAMESET")
        *ppv = static_cast<IHTMLFrameSetElement*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

class TestHtmlCollection : public CountedObject<StubIHTMLElementCollection>
{
public:
    TestHtmlCollection(TestHtmlDocument* pDoc, std::vector<HtmlNode*> nodes) : m_pDoc(pDoc)
    {
        m_pDoc->AddRef();
        for (HtmlNode* p : nodes)
            m_nodes.push_back(m_pDoc->Share(p));
    }
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override
    {
        if (ppv == nullptr)
            return E_POINTER;
        *ppv = nullptr;
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IHTMLElementCollection)
        {
            *ppv = static_cast<IHTMLElementCollection*>(this);
            AddRef();
            return S_OK;
        }
        return E_NOINTERFACE;
    }
    STDMETHOD(get_length)(LONG* p) override
    {
        if (p == nullptr)
            return E_POINTER;
        *p = static_cast<LONG>(m_nodes.size());
        return S_OK;
    }
    STDMETHOD(item)(VARIANT name, VARIANT, IDispatch** pdisp) override
    {
        if (pdisp == nullptr)
            return E_POINTER;
        *pdisp = nullptr;
        VARIANT v;
        ::VariantInit(&v);
        if (name.vt == VT_BSTR)
        {
            std::wstring id = FromBstr(name.bstrVal);
            for (const HtmlNodePtr& n : m_nodes)
                if (n->GetAttribute(L"id") == id)
                {
                    *pdisp = m_pDoc->WrapElement(n.get());
                    return S_OK;
                }
            return S_OK;
        }
        if (FAILED(::VariantChangeType(&v, &name, 0, VT_I4)))
            return E_INVALIDARG;
        if (v.lVal < 0 || static_cast<size_t>(v.lVal) >= m_nodes.size())
            return S_OK;
        *pdisp = m_pDoc->WrapElement(m_nodes[v.lVal].get());
        return S_OK;
    }
    STDMETHOD(tags)(VARIANT tagName, IDispatch** pdisp) override
    {
        if (pdisp == nullptr)
            return E_POINTER;
        *pdisp = nullptr;
        if (tagName.vt != VT_BSTR)
            return E_INVALIDARG;
        std::wstring tag = Upper(FromBstr(tagName.bstrVal));
        std::vector<HtmlNode*> found;
        for (const HtmlNodePtr& n : m_nodes)
            if (n->tag == tag)
                found.push_back(n.get());
        *pdisp = new TestHtmlCollection(m_pDoc, found);
        return S_OK;
    }

private:
    ~TestHtmlCollection() override { m_pDoc->Release(); }
    TestHtmlDocument* m_pDoc;
    std::vector<HtmlNodePtr> m_nodes;
};

// Positions are offsets into the body's text; the range is [m_start, m_end).
class TestTextRange : public CountedObject<StubIHTMLTxtRange>, public StubIHTMLTextRangeMetrics
{
public:
    TestTextRange(TestHtmlDocument* pDoc, size_t start, size_t end)
        : m_pDoc(pDoc), m_start(start), m_end(end)
    {
        m_pDoc->AddRef();
    }
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override
    {
        if (ppv == nullptr)
            return E_POINTER;
        *ppv = nullptr;
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IHTMLTxtRange)
            *ppv = static_cast<IHTMLTxtRange*>(static_cast<StubIHTMLTxtRange*>(this));
        else if (riid == IID_IHTMLTextRangeMetrics)
            *ppv = static_cast<IHTMLTextRangeMetrics*>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHOD_(ULONG, AddRef)() override { return CountedObject<StubIHTMLTxtRange>::AddRef(); }
    STDMETHOD_(ULONG, Release)() override { return CountedObject<StubIHTMLTxtRange>::Release(); }
    STDMETHOD(Invoke)(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return DISP_E_MEMBERNOTFOUND;
    }

    STDMETHOD(get_text)(BSTR* p) override
    {
        if (p == nullptr)
            return E_POINTER;
        Clamp();
        *p = Bstr(m_pDoc->Text().substr(m_start, m_end - m_start));
        return S_OK;
    }
    STDMETHOD(parentElement)(IHTMLElement** parent) override
    {
        if (parent == nullptr)
            return E_POINTER;
        Clamp();
        *parent = m_pDoc->WrapElement(m_pDoc->CommonParent(m_start, m_end));
        return S_OK;
    }
    STDMETHOD(duplicate)(IHTMLTxtRange** dup) override
    {
        if (dup == nullptr)
            return E_POINTER;
        *dup = new TestTextRange(m_pDoc, m_start, m_end);
        return S_OK;
    }
    STDMETHOD(collapse)(VARIANT_BOOL bStart) override
    {
        if (bStart != VARIANT_FALSE)
            m_end = m_start;
        else
            m_start = m_end;
        return S_OK;
    }
    STDMETHOD(moveEnd)(BSTR unit, LONG count, LONG* actual) override
    {
        if (FromBstr(unit) != L"character")
            return E_INVALIDARG;
        Clamp();
        LONG length = static_cast<LONG>(m_pDoc->Text().size());
        LONG end = static_cast<LONG>(m_end) + count;
        end = std::max<LONG>(static_cast<LONG>(m_start), std::min(end, length));
        if (actual != nullptr)
            *actual = end - static_cast<LONG>(m_end);
        m_end = static_cast<size_t>(end);
        return S_OK;
    }
    STDMETHOD(select)() override
    {
        Clamp();
        m_pDoc->RecordSelection(m_pDoc->Text().substr(m_start, m_end - m_start));
        return S_OK;
    }
    // Deletes the range's text and puts the parsed nodes in its place; the
    // range then lies after them.
    STDMETHOD(pasteHTML)(BSTR html) override
    {
        Clamp();
        std::vector<HtmlNodePtr> nodes = ParseHtml(FromBstr(html));
        if (m_start == m_end)
        {
            m_end = m_start = m_pDoc->InsertNodes(m_start, std::move(nodes));
            return S_OK;
        }
        // The nodes go where the range's first character was.
        size_t offset = 0;
        HtmlNode* pText = m_pDoc->TextNodeAt(m_start, offset);
        m_pDoc->DeleteText(m_start, m_end);
        m_end = m_start = m_pDoc->InsertNodesIn(pText, offset, m_start, std::move(nodes));
        return S_OK;
    }
    STDMETHOD(moveToElementText)(IHTMLElement* element) override;
    // Searches forward from the range's start to the end of the text.
    STDMETHOD(findText)(BSTR str, LONG, LONG flags, VARIANT_BOOL* success) override
    {
        if (success == nullptr)
            return E_POINTER;
        *success = VARIANT_FALSE;
        Clamp();
        std::wstring word = Upper(FromBstr(str));
        if (word.empty())
            return S_OK;
        const std::wstring& text = m_pDoc->Text();
        const bool bWhole = (flags & 2) != 0;
        for (size_t pos = m_start; pos + word.size() <= text.size(); ++pos)
        {
            size_t i = 0;
            while (i < word.size() && static_cast<wchar_t>(std::towupper(text[pos + i])) == word[i])
                ++i;
            if (i != word.size())
                continue;
            if (bWhole)
            {
                size_t end = pos + word.size();
                if ((pos > 0 && IsWordChar(text[pos - 1]) && IsWordChar(word.front()))
                    || (end < text.size() && IsWordChar(text[end]) && IsWordChar(word.back())))
                    continue;
            }
            m_start = pos;
            m_end = pos + word.size();
            *success = VARIANT_TRUE;
            return S_OK;
        }
        return S_OK;
    }

    // IHTMLTextRangeMetrics over the fixed layout.
    STDMETHOD(get_offsetTop)(LONG* p) override { return OutLong(p, static_cast<LONG>(m_start / 80) * 16); }
    STDMETHOD(get_offsetLeft)(LONG* p) override { return OutLong(p, static_cast<LONG>(m_start % 80) * 8); }
    STDMETHOD(get_boundingTop)(LONG* p) override { return get_offsetTop(p); }
    STDMETHOD(get_boundingLeft)(LONG* p) override { return get_offsetLeft(p); }
    STDMETHOD(get_boundingWidth)(LONG* p) override
    {
        return OutLong(p, static_cast<LONG>(m_end - m_start) * 8);
    }
    STDMETHOD(get_boundingHeight)(LONG* p) override { return OutLong(p, 16); }

private:
    ~TestTextRange() override { m_pDoc->Release(); }
    static HRESULT OutLong(LONG* p, LONG v)
    {
        if (p == nullptr)
            return E_POINTER;
        *p = v;
        return S_OK;
    }
    void Clamp()
    {
        size_t n = m_pDoc->Text().size();
        m_end = std::min(m_end, n);
        m_start = std::min(m_start, m_end);
    }

    TestHtmlDocument* m_pDoc;
    size_t m_start;
    size_t m_end;
};

STDMETHODIMP TestHtmlElement::createTextRange(IHTMLTxtRange** range)
{
    if (range == nullptr)
        return E_POINTER;
    size_t start = 0, end = 0;
    m_pDoc->ElementSpan(m_node.get(), start, end);
    *range = new TestTextRange(m_pDoc, start, end);
    return S_OK;
}

// The element's node, found through the private element class.
STDMETHODIMP TestTextRange::moveToElementText(IHTMLElement* element)
{
    if (element == nullptr)
        return E_POINTER;
    void* p = nullptr;
    if (FAILED(element->QueryInterface(kIID_TestHtmlElement, &p)) || p == nullptr)
        return E_INVALIDARG;
    auto* pElement = static_cast<TestHtmlElement*>(p);
    m_pDoc->ElementSpan(pElement->Node(), m_start, m_end);
    pElement->Release();
    return S_OK;
}

} // namespace

//--- The document's window, location and script: parts of the document

class TestHtmlWindow : public StubIHTMLWindow2
{
public:
    explicit TestHtmlWindow(TestHtmlDocument* pDoc) : m_pDoc(pDoc) {}
    virtual ~TestHtmlWindow() = default;

    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override
    {
        if (ppv == nullptr)
            return E_POINTER;
        *ppv = nullptr;
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IHTMLWindow2
            || riid == IID_IHTMLFramesCollection2)
        {
            *ppv = static_cast<IHTMLWindow2*>(this);
            AddRef();
            return S_OK;
        }
        return E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override { return m_pDoc->AddRef(); }
    STDMETHOD_(ULONG, Release)() override { return m_pDoc->Release(); }

    STDMETHOD(get_length)(LONG* p) override
    {
        if (p == nullptr)
            return E_POINTER;
        *p = static_cast<LONG>(m_pDoc->GetFrames().size());
        return S_OK;
    }
    // The frame's window by index.
    STDMETHOD(item)(VARIANT* pvarIndex, VARIANT* pvarResult) override
    {
        if (pvarIndex == nullptr || pvarResult == nullptr)
            return E_POINTER;
        ::VariantInit(pvarResult);
        VARIANT v;
        ::VariantInit(&v);
        if (FAILED(::VariantChangeType(&v, pvarIndex, 0, VT_I4)) || v.lVal < 0
            || static_cast<size_t>(v.lVal) >= m_pDoc->GetFrames().size())
            return E_INVALIDARG;
        TestHtmlDocument* pFrameDoc = m_pDoc->GetFrames()[v.lVal]->GetDocument();
        if (pFrameDoc == nullptr)
            return S_OK;
        IHTMLWindow2* pWindow = nullptr;
        pFrameDoc->get_parentWindow(&pWindow);
        pvarResult->vt = VT_DISPATCH;
        pvarResult->pdispVal = pWindow;
        return S_OK;
    }
    STDMETHOD(get_frames)(IHTMLFramesCollection2** p) override
    {
        if (p == nullptr)
            return E_POINTER;
        *p = this;
        AddRef();
        return S_OK;
    }
    STDMETHOD(get_document)(IHTMLDocument2** p) override
    {
        if (p == nullptr)
            return E_POINTER;
        *p = m_pDoc;
        m_pDoc->AddRef();
        return S_OK;
    }
    STDMETHOD(get_location)(IHTMLLocation** p) override { return m_pDoc->get_location(p); }
    STDMETHOD(focus)() override
    {
        ++m_focusCount;
        return S_OK;
    }
    STDMETHOD(scrollBy)(LONG x, LONG y) override
    {
        m_scrolls.push_back({ x, y });
        return S_OK;
    }

    int m_focusCount = 0;
    std::vector<POINT> m_scrolls;

private:
    TestHtmlDocument* m_pDoc;
};

class TestHtmlLocation : public StubIHTMLLocation
{
public:
    explicit TestHtmlLocation(TestHtmlDocument* pDoc) : m_pDoc(pDoc) {}
    virtual ~TestHtmlLocation() = default;

    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override
    {
        if (ppv == nullptr)
            return E_POINTER;
        *ppv = nullptr;
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IHTMLLocation)
        {
            *ppv = static_cast<IHTMLLocation*>(this);
            AddRef();
            return S_OK;
        }
        return E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override { return m_pDoc->AddRef(); }
    STDMETHOD_(ULONG, Release)() override { return m_pDoc->Release(); }
    STDMETHOD(get_href)(BSTR* p) override
    {
        if (p == nullptr)
            return E_POINTER;
        *p = Bstr(m_pDoc->GetUrl());
        return S_OK;
    }
    // The scheme with its colon, lower case ("file:", "http:").
    STDMETHOD(get_protocol)(BSTR* p) override
    {
        if (p == nullptr)
            return E_POINTER;
        const std::wstring& url = m_pDoc->GetUrl();
        size_t colon = url.find(L':');
        *p = Bstr(colon == std::wstring::npos ? std::wstring() : Lower(url.substr(0, colon + 1)));
        return S_OK;
    }

private:
    TestHtmlDocument* m_pDoc;
};

// The page's script object: the functions the test declares, whose string
// arguments are recorded in call order.
class TestPageScript : public CDispatchNoTypeInfo<IDispatch>
{
public:
    explicit TestPageScript(TestHtmlDocument* pDoc) : m_pDoc(pDoc) {}
    virtual ~TestPageScript() = default;

    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override
    {
        return VaQueryInterface(static_cast<IDispatch*>(this), riid, IID_IDispatch, ppv);
    }
    STDMETHOD_(ULONG, AddRef)() override { return m_pDoc->AddRef(); }
    STDMETHOD_(ULONG, Release)() override { return m_pDoc->Release(); }
    STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override
    {
        if (names == nullptr || ids == nullptr)
            return E_POINTER;
        HRESULT hr = S_OK;
        for (UINT i = 0; i < count; ++i)
        {
            ids[i] = DISPID_UNKNOWN;
            for (size_t f = 0; f < m_functions.size(); ++f)
                if (i == 0 && m_functions[f] == names[i])
                    ids[i] = static_cast<DISPID>(f + 1);
            if (ids[i] == DISPID_UNKNOWN)
                hr = DISP_E_UNKNOWNNAME;
        }
        return hr;
    }
    STDMETHOD(Invoke)(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO*, UINT*) override
    {
        if (id < 1 || static_cast<size_t>(id) > m_functions.size())
            return DISP_E_MEMBERNOTFOUND;
        if (!(flags & DISPATCH_METHOD))
            return DISP_E_MEMBERNOTFOUND;
        TestHtmlDocument::ScriptCall call;
        call.name = m_functions[id - 1];
        if (params != nullptr)
        {
            // Arguments arrive last first.
            for (UINT i = params->cArgs; i-- > 0;)
            {
                VARIANT v;
                ::VariantInit(&v);
                if (SUCCEEDED(::VariantChangeType(&v, &params->rgvarg[i], 0, VT_BSTR)))
                    call.args.push_back(FromBstr(v.bstrVal));
                else
                    call.args.push_back(L"<not a string>");
                ::VariantClear(&v);
            }
        }
        m_calls.push_back(call);
        if (result != nullptr)
            ::VariantInit(result);
        m_pDoc->RunScriptBody(call);
        return S_OK;
    }

    std::vector<std::wstring> m_functions;
    std::vector<TestHtmlDocument::ScriptCall> m_calls;

private:
    TestHtmlDocument* m_pDoc;
};

//--- TestHtmlDocument

TestHtmlDocument* TestHtmlDocument::Create(TestWebBrowser* pOwner, const std::wstring& url,
                                           const std::wstring& html)
{
    auto* pDoc = new TestHtmlDocument(pOwner, url);
    pDoc->SetHtml(html);
    return pDoc;
}

namespace {
int g_liveDocuments = 0;
} // namespace

int TestHtmlDocument::LiveCount()
{
    return g_liveDocuments;
}

TestHtmlDocument::TestHtmlDocument(TestWebBrowser* pOwner, const std::wstring& url)
    : m_pOwner(pOwner), m_url(url)
{
    ++g_liveDocuments;
    m_pWindow = new TestHtmlWindow(this);
    m_pScript = new TestPageScript(this);
    m_pLocation = new TestHtmlLocation(this);
}

TestHtmlDocument::~TestHtmlDocument()
{
    --g_liveDocuments;
    ReleaseFrames();
    delete m_pWindow;
    delete m_pScript;
    delete m_pLocation;
}

STDMETHODIMP_(ULONG) TestHtmlDocument::Release()
{
    ULONG n = --m_cRef;
    if (n == 0)
        delete this;
    return n;
}

STDMETHODIMP TestHtmlDocument::QueryInterface(REFIID riid, void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    *ppv = nullptr;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IHTMLDocument
        || riid == IID_IHTMLDocument2)
        *ppv = static_cast<IHTMLDocument2*>(this);
    else if (riid == IID_IHTMLDocument3)
        *ppv = static_cast<IHTMLDocument3*>(this);
    else if (riid == IID_IOleContainer || riid == IID_IParseDisplayName)
        *ppv = static_cast<IOleContainer*>(this);
    else if (riid == IID_IOleCommandTarget)
        *ppv = static_cast<IOleCommandTarget*>(this);
    else if (riid == IID_IOleWindow)
        *ppv = static_cast<IOleWindow*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP TestHtmlDocument::GetWindow(HWND* phwnd)
{
    if (phwnd == nullptr)
        return E_POINTER;
    *phwnd = m_pOwner != nullptr ? m_pOwner->GetDocumentWindow() : nullptr;
    return *phwnd != nullptr ? S_OK : E_FAIL;
}

void TestHtmlDocument::ReleaseFrames()
{
    for (TestWebBrowser* p : m_frames)
        p->Release();
    m_frames.clear();
}

void TestHtmlDocument::SetHtml(const std::wstring& html)
{
    ReleaseFrames();
    m_pActive = nullptr;
    m_root = std::make_shared<HtmlNode>();
    m_root->tag = L"HTML";
    m_root->name = L"html";
    std::vector<HtmlNodePtr> nodes = ParseHtml(html);
    // A page written as <html>...</html> keeps its element; a fragment is
    // the body's content.
    HtmlNodePtr html0;
    for (const HtmlNodePtr& n : nodes)
        if (n->tag == L"HTML")
            html0 = n;
    if (html0 != nullptr)
        m_root = html0;
    else
    {
        auto body = std::make_shared<HtmlNode>();
        body->tag = L"BODY";
        body->name = L"body";
        body->startTag = L"<body>";
        body->parent = m_root.get();
        for (HtmlNodePtr& n : nodes)
        {
            n->parent = body.get();
            body->children.push_back(n);
        }
        m_root->startTag = L"<html>";
        m_root->children.push_back(body);
    }
    m_root->parent = nullptr;
    m_pBody = nullptr;
    std::vector<HtmlNode*> all;
    CollectElements(m_root.get(), all);
    for (HtmlNode* p : all)
        if (p->tag == L"BODY" || (m_pBody == nullptr && p->tag == L"FRAMESET"))
        {
            m_pBody = p;
            if (p->tag == L"BODY")
                break;
        }
    if (m_pBody == nullptr)
        m_pBody = m_root.get();
    Changed();
    LoadFrames();
    DeclarePageFunctions();
}

// The functions a page's SCRIPT elements define ("function Name(") are its
// script object's, as if the test had declared them.
void TestHtmlDocument::DeclarePageFunctions()
{
    for (HtmlNode* pScript : FindByTag(L"SCRIPT"))
    {
        const std::wstring code = pScript->InnerText();
        for (size_t at = code.find(L"function "); at != std::wstring::npos;
             at = code.find(L"function ", at + 9))
        {
            size_t start = at + 9;
            size_t end = code.find(L'(', start);
            if (end == std::wstring::npos)
                break;
            std::wstring name = code.substr(start, end - start);
            while (!name.empty() && std::iswspace(name.back()))
                name.pop_back();
            if (!name.empty())
                DeclareScriptFunction(name);
        }
    }
}

void TestHtmlDocument::LoadFrames()
{
    std::vector<HtmlNode*> all;
    CollectElements(m_root.get(), all);
    for (HtmlNode* p : all)
    {
        if ((p->tag != L"FRAME" && p->tag != L"IFRAME") || p->GetAttribute(L"src").empty())
            continue;
        auto* pFrame = new TestWebBrowser;
        pFrame->AddRef();
        pFrame->SetFramePosition(_wtoi(p->GetAttribute(L"left").c_str()),
                                 _wtoi(p->GetAttribute(L"top").c_str()));
        pFrame->LoadDocument(p->GetAttribute(L"src"));
        m_frames.push_back(pFrame);
    }
}

void TestHtmlDocument::SetActiveElement(const std::wstring& id)
{
    m_pActive = FindById(id);
}

void TestHtmlDocument::SetElementAtPoint(LONG x, LONG y, const std::wstring& id)
{
    m_atPoint[{ x, y }] = id;
}

void TestHtmlDocument::DeclareScriptFunction(const std::wstring& name)
{
    auto& functions = m_pScript->m_functions;
    if (std::find(functions.begin(), functions.end(), name) == functions.end())
        functions.push_back(name);
}

const std::vector<TestHtmlDocument::ScriptCall>& TestHtmlDocument::GetScriptCalls() const
{
    return m_pScript->m_calls;
}

int TestHtmlDocument::GetFocusCount() const
{
    return m_pWindow->m_focusCount;
}

const std::vector<POINT>& TestHtmlDocument::GetScrollCalls() const
{
    return m_pWindow->m_scrolls;
}

std::wstring TestHtmlDocument::GetBodyHtml() const
{
    return m_pBody->InnerHtml();
}

std::wstring TestHtmlDocument::GetBodyText() const
{
    return m_pBody->InnerText();
}

HtmlNode* TestHtmlDocument::FindById(const std::wstring& id) const
{
    if (id.empty())
        return nullptr;
    std::vector<HtmlNode*> all;
    CollectElements(m_root.get(), all);
    for (HtmlNode* p : all)
        if (p->GetAttribute(L"id") == id)
            return p;
    return nullptr;
}

std::vector<HtmlNode*> TestHtmlDocument::FindByTag(const std::wstring& tag) const
{
    std::vector<HtmlNode*> all, found;
    CollectElements(m_root.get(), all);
    for (HtmlNode* p : all)
        if (p->tag == Upper(tag))
            found.push_back(p);
    return found;
}

HtmlNodePtr TestHtmlDocument::Share(HtmlNode* pNode) const
{
    if (pNode == m_root.get())
        return m_root;
    if (pNode == nullptr || pNode->parent == nullptr)
        return HtmlNodePtr();
    for (const HtmlNodePtr& n : pNode->parent->children)
        if (n.get() == pNode)
            return n;
    return HtmlNodePtr();
}

IHTMLElement* TestHtmlDocument::WrapElement(HtmlNode* pNode)
{
    HtmlNodePtr shared = Share(pNode);
    if (shared == nullptr)
        return nullptr;
    return static_cast<IHTMLElement*>(static_cast<StubIHTMLElement*>(
        new TestHtmlElement(this, shared)));
}

//--- Text positions

void TestHtmlDocument::Flatten()
{
    m_flat.clear();
    m_segments.clear();
    // Pre-order walk without recursion: 1 MB pages nest shallowly but long.
    std::vector<std::pair<HtmlNode*, size_t>> walk{ { m_pBody, 0 } };
    while (!walk.empty())
    {
        auto& top = walk.back();
        if (top.second >= top.first->children.size())
        {
            walk.pop_back();
            continue;
        }
        HtmlNode* pChild = top.first->children[top.second++].get();
        if (pChild->IsText())
        {
            m_segments.push_back({ pChild, m_flat.size() });
            m_flat += pChild->text;
        }
        else
            walk.push_back({ pChild, 0 });
    }
    m_bFlatValid = true;
}

const std::wstring& TestHtmlDocument::Text()
{
    if (!m_bFlatValid)
        Flatten();
    return m_flat;
}

void TestHtmlDocument::DeleteText(size_t start, size_t end)
{
    if (start >= end)
        return;
    Text();
    for (const Segment& s : m_segments)
    {
        size_t len = s.pNode->text.size();
        size_t a = std::max(start, s.start), b = std::min(end, s.start + len);
        if (a < b)
            s.pNode->text.erase(a - s.start, b - a);
    }
    Changed();
}

HtmlNode* TestHtmlDocument::TextNodeAt(size_t pos, size_t& offset)
{
    Text();
    for (const Segment& s : m_segments)
    {
        if (pos >= s.start && pos < s.start + s.pNode->text.size())
        {
            offset = pos - s.start;
            return s.pNode;
        }
    }
    return nullptr;
}

size_t TestHtmlDocument::InsertNodes(size_t pos, std::vector<HtmlNodePtr> nodes)
{
    Text();
    // The earliest text node that holds the position, at its end at worst.
    for (const Segment& s : m_segments)
        if (s.start <= pos && pos <= s.start + s.pNode->text.size())
            return InsertNodesIn(s.pNode, pos - s.start, pos, std::move(nodes));
    return InsertNodesIn(nullptr, 0, pos, std::move(nodes));
}

size_t TestHtmlDocument::InsertNodesIn(HtmlNode* pText, size_t offset, size_t pos,
                                       std::vector<HtmlNodePtr> nodes)
{
    size_t added = 0;
    for (const HtmlNodePtr& n : nodes)
        added += n->IsText() ? n->text.size() : n->InnerText().size();
    HtmlNode* pParent = m_pBody;
    size_t index = m_pBody->children.size();
    if (pText != nullptr && pText->parent != nullptr)
    {
        pParent = pText->parent;
        auto it = std::find_if(pParent->children.begin(), pParent->children.end(),
                               [&](const HtmlNodePtr& c) { return c.get() == pText; });
        index = static_cast<size_t>(it - pParent->children.begin()) + 1;
        if (offset < pText->text.size())
        {
            auto rest = std::make_shared<HtmlNode>();
            rest->text = pText->text.substr(offset);
            rest->parent = pParent;
            pText->text.erase(offset);
            pParent->children.insert(pParent->children.begin() + index, rest);
        }
    }
    for (HtmlNodePtr& n : nodes)
    {
        n->parent = pParent;
        pParent->children.insert(pParent->children.begin() + index++, n);
    }
    Changed();
    return pos + added;
}

void TestHtmlDocument::ElementSpan(const HtmlNode* pNode, size_t& start, size_t& end)
{
    Text();
    start = end = 0;
    bool bFound = false;
    for (const Segment& s : m_segments)
    {
        bool bInside = false;
        for (const HtmlNode* p = s.pNode; p != nullptr; p = p->parent)
            if (p == pNode)
                bInside = true;
        if (!bInside)
            continue;
        if (!bFound)
            start = s.start;
        end = s.start + s.pNode->text.size();
        bFound = true;
    }
}

HtmlNode* TestHtmlDocument::CommonParent(size_t start, size_t end)
{
    Text();
    auto nodeAt = [&](size_t pos) -> HtmlNode* {
        for (const Segment& s : m_segments)
            if (pos >= s.start && pos < s.start + s.pNode->text.size())
                return s.pNode->parent;
        return m_pBody;
    };
    HtmlNode* a = nodeAt(start);
    HtmlNode* b = nodeAt(end > start ? end - 1 : start);
    for (HtmlNode* p = a; p != nullptr; p = p->parent)
        for (HtmlNode* q = b; q != nullptr; q = q->parent)
            if (p == q)
                return p;
    return m_pBody;
}

void TestHtmlDocument::ReplaceNode(HtmlNode* pNode, std::vector<HtmlNodePtr> nodes)
{
    HtmlNode* pParent = pNode->parent;
    auto& kids = pParent->children;
    auto it = std::find_if(kids.begin(), kids.end(),
                           [&](const HtmlNodePtr& c) { return c.get() == pNode; });
    if (it == kids.end())
        return;
    size_t index = static_cast<size_t>(it - kids.begin());
    HtmlNodePtr keep = *it;  // the element objects of the node may outlive it
    kids.erase(it);
    keep->parent = nullptr;
    if (m_pActive == pNode)
        m_pActive = nullptr;
    for (HtmlNodePtr& n : nodes)
    {
        n->parent = pParent;
        kids.insert(kids.begin() + index++, n);
    }
    Changed();
}

//--- IHTMLDocument2, IHTMLDocument3, IOleContainer

STDMETHODIMP TestHtmlDocument::get_Script(IDispatch** p)
{
    if (p == nullptr)
        return E_POINTER;
    *p = m_pScript;
    m_pScript->AddRef();
    return S_OK;
}

STDMETHODIMP TestHtmlDocument::get_all(IHTMLElementCollection** p)
{
    if (p == nullptr)
        return E_POINTER;
    std::vector<HtmlNode*> all{ m_root.get() };
    CollectElements(m_root.get(), all);
    *p = new TestHtmlCollection(this, all);
    return S_OK;
}

STDMETHODIMP TestHtmlDocument::get_body(IHTMLElement** p)
{
    if (p == nullptr)
        return E_POINTER;
    *p = WrapElement(m_pBody);
    return *p != nullptr ? S_OK : E_FAIL;
}

STDMETHODIMP TestHtmlDocument::get_activeElement(IHTMLElement** p)
{
    if (p == nullptr)
        return E_POINTER;
    *p = m_pActive != nullptr ? WrapElement(m_pActive) : nullptr;
    return S_OK;
}

STDMETHODIMP TestHtmlDocument::get_frames(IHTMLFramesCollection2** p)
{
    return m_pWindow->get_frames(p);
}

STDMETHODIMP TestHtmlDocument::get_location(IHTMLLocation** p)
{
    if (p == nullptr)
        return E_POINTER;
    *p = m_pLocation;
    AddRef();
    return S_OK;
}

STDMETHODIMP TestHtmlDocument::get_URL(BSTR* p)
{
    if (p == nullptr)
        return E_POINTER;
    *p = Bstr(m_url);
    return S_OK;
}

STDMETHODIMP TestHtmlDocument::get_title(BSTR* p)
{
    if (p == nullptr)
        return E_POINTER;
    std::vector<HtmlNode*> titles = FindByTag(L"TITLE");
    *p = Bstr(titles.empty() ? std::wstring() : titles.front()->InnerText());
    return S_OK;
}

STDMETHODIMP TestHtmlDocument::elementFromPoint(LONG x, LONG y, IHTMLElement** elementHit)
{
    if (elementHit == nullptr)
        return E_POINTER;
    *elementHit = nullptr;
    auto it = m_atPoint.find({ x, y });
    if (it != m_atPoint.end())
        *elementHit = WrapElement(FindById(it->second));
    return S_OK;
}

STDMETHODIMP TestHtmlDocument::get_parentWindow(IHTMLWindow2** p)
{
    if (p == nullptr)
        return E_POINTER;
    *p = m_pWindow;
    AddRef();
    return S_OK;
}

STDMETHODIMP TestHtmlDocument::get_documentElement(IHTMLElement** p)
{
    if (p == nullptr)
        return E_POINTER;
    *p = WrapElement(m_root.get());
    return S_OK;
}

STDMETHODIMP TestHtmlDocument::EnumObjects(DWORD grfFlags, IEnumUnknown** ppenum)
{
    if (ppenum == nullptr)
        return E_POINTER;
    std::vector<IUnknown*> items;
    if (grfFlags & OLECONTF_EMBEDDINGS)
        for (TestWebBrowser* p : m_frames)
            items.push_back(static_cast<IWebBrowser2*>(p));
    return CSnapshotEnum<IEnumUnknown, IID_IEnumUnknown, IUnknown>::Create(items, ppenum);
}
