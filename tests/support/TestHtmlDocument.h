// The test control's document model: a small HTML tree behind the document,
// element, window, text-range and style interfaces that the page features
// call, so they run against real COM calls under Wine.
//
// Classes in this file:
//   HtmlNode          one element or text node of the tree
//   TestHtmlDocument  the document (IHTMLDocument2, IHTMLDocument3,
//                     IOleContainer over the frames) with its window, script
//                     object and what the page recorded
//
// The HTML subset: elements with attributes (quoted with " or ', or bare),
// void elements (br, img, input, hr, meta, link, param, frame, embed, area,
// base, col), text, and the entities &amp; &quot; &lt; &gt; &nbsp;. Element
// ids are matched exactly, tag names without regard to case. An element
// keeps its opening tag as written until a script changes its style, so a
// page whose marks were removed serialises byte for byte as it was given.
//
// Script: the functions that the page's SCRIPT elements define
// ("function Name(") and those the test declares are the script object's;
// their calls are recorded. Script text must not contain "<".
//
// Frames: every FRAME or IFRAME element with a "src" becomes a child test
// control showing that page, placed at the element's "left" and "top"
// attributes (a convention of this control; pixels relative to the page).
//
// Layout, for the text-range metrics: text flows in lines of 80 characters
// of 8 x 16 pixels; the document element's offsetHeight is 600 unless set.
#ifndef VA_TESTS_SUPPORT_TESTHTMLDOCUMENT_H
#define VA_TESTS_SUPPORT_TESTHTMLDOCUMENT_H

#include <windows.h>
#include <mshtml.h>
#include <oleidl.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/HtmlStubs.h"

class TestWebBrowser;
class TestHtmlWindow;
class TestPageScript;
class TestHtmlLocation;

struct HtmlNode
{
    bool IsText() const { return tag.empty(); }
    std::wstring GetAttribute(const std::wstring& name) const;  // name lower case
    void SetAttribute(const std::wstring& name, const std::wstring& value);
    std::wstring InnerHtml() const;
    std::wstring OuterHtml() const;
    std::wstring InnerText() const;

    std::wstring tag;        // upper case; empty for a text node
    std::wstring text;       // a text node's characters, entities decoded
    std::wstring startTag;   // the opening tag as written ("" once changed)
    std::wstring name;       // the tag name as written
    std::vector<std::pair<std::wstring, std::wstring>> attributes;  // names lower case
    std::vector<std::shared_ptr<HtmlNode>> children;
    HtmlNode* parent = nullptr;
    bool bVoid = false;
};
using HtmlNodePtr = std::shared_ptr<HtmlNode>;

// Parses the subset into top-level nodes (parents not set at the top).
std::vector<HtmlNodePtr> ParseHtml(const std::wstring& html);
// Text escaped as the serialiser writes it: & < > and the no-break space.
std::wstring EscapeHtmlText(const std::wstring& text);

class TestHtmlDocument : public StubIHTMLDocument2, public StubIHTMLDocument3, public IOleContainer,
                         public IOleCommandTarget, public IOleWindow
{
public:
    // One IOleCommandTarget::Exec as the host made it.
    struct ExecCall
    {
        bool hasGroup = false;
        GUID group = {};
        DWORD id = 0;
    };
    // One call of a page script function declared by the test.
    struct ScriptCall
    {
        std::wstring name;
        std::vector<std::wstring> args;
    };

    // A new document (one reference, the caller's) of the control pOwner
    // (not held), showing html at url.
    static TestHtmlDocument* Create(TestWebBrowser* pOwner, const std::wstring& url,
                                    const std::wstring& html);
    // How many documents exist: a test sees one freed after its last Release.
    static int LiveCount();

    //--- What a test sets
    // Replaces the page (and its frames).
    void SetHtml(const std::wstring& html);
    void SetUrl(const std::wstring& url) { m_url = url; }
    // The element with that id becomes the active element (none: no element).
    void SetActiveElement(const std::wstring& id);
    // elementFromPoint(x, y) answers the element with that id.
    void SetElementAtPoint(LONG x, LONG y, const std::wstring& id);
    // A script function of the page whose calls are recorded.
    void DeclareScriptFunction(const std::wstring& name);
    // Runs after each recorded call, as the function's body would (which
    // may run a message loop: an alert, a message box).
    void SetScriptBody(std::function<void(const ScriptCall&)> body) { m_scriptBody = std::move(body); }
    void RunScriptBody(const ScriptCall& call)
    {
        // A copy: the body may set another one.
        const auto body = m_scriptBody;
        if (body)
            body(call);
    }
    void SetDocumentHeight(LONG height) { m_docHeight = height; }
    // What IOleCommandTarget::Exec answers (S_OK unless set).
    void SetExecResult(HRESULT hr) { m_execResult = hr; }

    //--- What a test reads
    std::wstring GetBodyHtml() const;
    std::wstring GetBodyText() const;
    HtmlNode* FindById(const std::wstring& id) const;
    std::vector<HtmlNode*> FindByTag(const std::wstring& tag) const;
    const std::vector<TestWebBrowser*>& GetFrames() const { return m_frames; }
    const std::vector<ScriptCall>& GetScriptCalls() const;
    int GetFocusCount() const;
    const std::vector<POINT>& GetScrollCalls() const;
    // The text of the last selected range, and how often a range was selected.
    const std::wstring& GetSelectedText() const { return m_selectedText; }
    int GetSelectCount() const { return m_selectCount; }
    const std::vector<ExecCall>& GetExecCalls() const { return m_execCalls; }
    TestWebBrowser* GetOwner() const { return m_pOwner; }
    const std::wstring& GetUrl() const { return m_url; }

    //--- The tree's text, as the text ranges see it (the body's text nodes)
    const std::wstring& Text();
    void DeleteText(size_t start, size_t end);
    // Inserts the nodes at a text position; returns the position after them.
    size_t InsertNodes(size_t pos, std::vector<HtmlNodePtr> nodes);
    // The same, after character offset of the text node pText (null: at the
    // end of the body); pos is the text position there.
    size_t InsertNodesIn(HtmlNode* pText, size_t offset, size_t pos, std::vector<HtmlNodePtr> nodes);
    // The text node holding the character at pos, and the offset in it.
    HtmlNode* TextNodeAt(size_t pos, size_t& offset);
    // The first and last text position inside an element.
    void ElementSpan(const HtmlNode* pNode, size_t& start, size_t& end);
    // The innermost element holding both text positions (the body at worst).
    HtmlNode* CommonParent(size_t start, size_t end);
    void ReplaceNode(HtmlNode* pNode, std::vector<HtmlNodePtr> nodes);
    void Changed() { m_bFlatValid = false; }
    void RecordSelection(const std::wstring& text) { m_selectedText = text; ++m_selectCount; }
    HtmlNodePtr Share(HtmlNode* pNode) const;
    HtmlNode* GetBody() const { return m_pBody; }
    LONG GetDocumentHeight() const { return m_docHeight; }
    // A new element object for the node (one reference), or null.
    IHTMLElement* WrapElement(HtmlNode* pNode);

    // IUnknown
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override;
    STDMETHOD_(ULONG, AddRef)() override { return ++m_cRef; }
    STDMETHOD_(ULONG, Release)() override;

    // IHTMLDocument2
    STDMETHOD(get_Script)(IDispatch** p) override;
    STDMETHOD(get_all)(IHTMLElementCollection** p) override;
    STDMETHOD(get_body)(IHTMLElement** p) override;
    STDMETHOD(get_activeElement)(IHTMLElement** p) override;
    STDMETHOD(get_frames)(IHTMLFramesCollection2** p) override;
    STDMETHOD(get_location)(IHTMLLocation** p) override;
    STDMETHOD(get_URL)(BSTR* p) override;
    STDMETHOD(get_title)(BSTR* p) override;
    STDMETHOD(elementFromPoint)(LONG x, LONG y, IHTMLElement** elementHit) override;
    STDMETHOD(get_parentWindow)(IHTMLWindow2** p) override;
    // IHTMLDocument3
    STDMETHOD(get_documentElement)(IHTMLElement** p) override;
    // IParseDisplayName, IOleContainer
    STDMETHOD(ParseDisplayName)(IBindCtx*, LPOLESTR, ULONG*, IMoniker**) override
    {
        return E_NOTIMPL;
    }
    STDMETHOD(EnumObjects)(DWORD grfFlags, IEnumUnknown** ppenum) override;
    STDMETHOD(LockContainer)(BOOL) override { return S_OK; }
    // IOleCommandTarget: every Exec is recorded and answered as set.
    STDMETHOD(QueryStatus)(const GUID*, ULONG, OLECMD*, OLECMDTEXT*) override { return E_NOTIMPL; }
    STDMETHOD(Exec)(const GUID* pguidCmdGroup, DWORD nCmdID, DWORD, VARIANT*, VARIANT*) override
    {
        ExecCall call;
        call.hasGroup = pguidCmdGroup != nullptr;
        if (pguidCmdGroup != nullptr)
            call.group = *pguidCmdGroup;
        call.id = nCmdID;
        m_execCalls.push_back(call);
        return m_execResult;
    }
    // IOleWindow: the control's document window.
    STDMETHOD(GetWindow)(HWND* phwnd) override;
    STDMETHOD(ContextSensitiveHelp)(BOOL) override { return E_NOTIMPL; }

private:
    TestHtmlDocument(TestWebBrowser* pOwner, const std::wstring& url);
    virtual ~TestHtmlDocument();
    void ReleaseFrames();
    void LoadFrames();
    void DeclarePageFunctions();
    void Flatten();

    ULONG m_cRef = 1;
    TestWebBrowser* m_pOwner;
    std::wstring m_url;
    HtmlNodePtr m_root;
    HtmlNode* m_pBody = nullptr;
    HtmlNode* m_pActive = nullptr;
    std::map<std::pair<LONG, LONG>, std::wstring> m_atPoint;
    std::vector<TestWebBrowser*> m_frames;  // held
    TestHtmlWindow* m_pWindow = nullptr;
    TestPageScript* m_pScript = nullptr;
    TestHtmlLocation* m_pLocation = nullptr;
    LONG m_docHeight = 600;
    std::wstring m_selectedText;
    int m_selectCount = 0;
    std::vector<ExecCall> m_execCalls;
    HRESULT m_execResult = S_OK;
    std::function<void(const ScriptCall&)> m_scriptBody;

    struct Segment { HtmlNode* pNode; size_t start; };
    bool m_bFlatValid = false;
    std::wstring m_flat;
    std::vector<Segment> m_segments;
};

#endif // VA_TESTS_SUPPORT_TESTHTMLDOCUMENT_H
