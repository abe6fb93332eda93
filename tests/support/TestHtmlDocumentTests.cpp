// The test control's document model: what the page features rely on.
#include <gtest/gtest.h>

#include <windows.h>
#include <mshtml.h>

#include <string>

#include "tests/support/TestHtmlDocument.h"
#include "tests/support/TestWebBrowser.h"

namespace {

class HtmlModel : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_control = new TestWebBrowser;
        m_control->AddRef();
    }
    void TearDown() override
    {
        m_control->Release();
        TestWebBrowser::ClearPages();
    }
    TestHtmlDocument* Show(const std::wstring& html)
    {
        m_control->SetDocumentHtml(html, L"http://model.test/");
        return m_control->GetDocument();
    }
    IHTMLTxtRange* BodyRange(TestHtmlDocument* doc)
    {
        IHTMLElement* body = nullptr;
        doc->get_body(&body);
        IHTMLBodyElement* bodyElement = nullptr;
        body->QueryInterface(IID_IHTMLBodyElement, reinterpret_cast<void**>(&bodyElement));
        IHTMLTxtRange* range = nullptr;
        bodyElement->createTextRange(&range);
        bodyElement->Release();
        body->Release();
        return range;
    }
    std::wstring TextOf(IHTMLTxtRange* range)
    {
        BSTR b = nullptr;
        range->get_text(&b);
        std::wstring s = b != nullptr ? b : L"";
        ::SysFreeString(b);
        return s;
    }

    TestWebBrowser* m_control = nullptr;
};

} // namespace

TEST_F(HtmlModel, PagesSerialiseAsGivenAndDecodeTheFiveEntities)
{
    const std::wstring html = L"<p class='x'>a &amp; b &lt;c&gt; d&nbsp;e</p><br><img src=y>";
    TestHtmlDocument* doc = Show(html);
    EXPECT_EQ(html, doc->GetBodyHtml());
    EXPECT_EQ(L"a & b <c> d\u00A0e", doc->GetBodyText());
    EXPECT_EQ(1u, doc->FindByTag(L"img").size());
}

TEST_F(HtmlModel, FindTextIgnoresCaseAndWholeWordSkipsPartsOfWords)
{
    TestHtmlDocument* doc = Show(L"<p>Cats cat CAT</p>");
    IHTMLTxtRange* range = BodyRange(doc);
    BSTR word = ::SysAllocString(L"cat");
    VARIANT_BOOL found = VARIANT_FALSE;
    range->findText(word, 1, 0, &found);
    EXPECT_EQ(VARIANT_TRUE, found);
    EXPECT_EQ(L"Cat", TextOf(range));
    range->collapse(VARIANT_FALSE);
    range->findText(word, 1, 2, &found);
    EXPECT_EQ(L"cat", TextOf(range));
    // The end moves by characters and says how far it went.
    LONG moved = 0;
    BSTR unit = ::SysAllocString(L"character");
    range->moveEnd(unit, 25, &moved);
    EXPECT_EQ(4, moved);
    EXPECT_EQ(L"cat CAT", TextOf(range));
    ::SysFreeString(unit);
    ::SysFreeString(word);
    range->Release();
}

TEST_F(HtmlModel, PastedHtmlReplacesTheRangeInsideItsElement)
{
    TestHtmlDocument* doc = Show(L"<p>one <b>two</b> three</p>");
    IHTMLTxtRange* range = BodyRange(doc);
    BSTR word = ::SysAllocString(L"two");
    VARIANT_BOOL found = VARIANT_FALSE;
    range->findText(word, 1, 0, &found);
    BSTR mark = ::SysAllocString(L"<span id='m'>two</span>");
    range->pasteHTML(mark);
    EXPECT_EQ(L"<p>one <b><span id='m'>two</span></b> three</p>", doc->GetBodyHtml());
    ::SysFreeString(mark);
    ::SysFreeString(word);
    range->Release();
}

TEST_F(HtmlModel, FramesAreChildControlsListedInOrderWithTheirPlaces)
{
    TestWebBrowser::SetPageHtml(L"http://f.test/1", L"<p>one</p>");
    TestWebBrowser::SetPageHtml(L"http://f.test/2", L"<p>two</p>");
    TestHtmlDocument* doc = Show(L"<iframe src='http://f.test/1' left='5' top='7'></iframe>"
                                 L"<iframe src='http://f.test/2'></iframe>");
    ASSERT_EQ(2u, doc->GetFrames().size());
    IEnumUnknown* objects = nullptr;
    ASSERT_EQ(S_OK, doc->EnumObjects(OLECONTF_EMBEDDINGS, &objects));
    IUnknown* first = nullptr;
    ASSERT_EQ(S_OK, objects->Next(1, &first, nullptr));
    IWebBrowser2* frame = nullptr;
    first->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&frame));
    LONG left = 0, top = 0;
    frame->get_Left(&left);
    frame->get_Top(&top);
    EXPECT_EQ(5, left);
    EXPECT_EQ(7, top);
    EXPECT_EQ(L"one", TestWebBrowser::FromUnknown(frame)->GetDocument()->GetBodyText());
    frame->Release();
    first->Release();
    objects->Release();
}

TEST_F(HtmlModel, ScriptFunctionsOfThePageRecordTheirArguments)
{
    TestHtmlDocument* doc = Show(L"<script>function Hello(a, b) { }</script><p>x</p>");
    IDispatch* script = nullptr;
    doc->get_Script(&script);
    LPOLESTR name = const_cast<LPOLESTR>(L"Hello");
    DISPID id = DISPID_UNKNOWN;
    ASSERT_EQ(S_OK, script->GetIDsOfNames(IID_NULL, &name, 1, 0, &id));
    VARIANT args[2];
    ::VariantInit(&args[0]);
    ::VariantInit(&args[1]);
    args[0].vt = args[1].vt = VT_BSTR;
    args[1].bstrVal = ::SysAllocString(L"first");
    args[0].bstrVal = ::SysAllocString(L"second");
    DISPPARAMS params = { args, nullptr, 2, 0 };
    EXPECT_EQ(S_OK, script->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr));
    ASSERT_EQ(1u, doc->GetScriptCalls().size());
    EXPECT_EQ(L"first", doc->GetScriptCalls()[0].args[0]);
    EXPECT_EQ(L"second", doc->GetScriptCalls()[0].args[1]);
    ::VariantClear(&args[0]);
    ::VariantClear(&args[1]);
    script->Release();
}
