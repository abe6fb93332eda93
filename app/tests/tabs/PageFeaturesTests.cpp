// Page features (keyword marks, Flash hiding, the active element), through
// the test control's documents.
#include <windows.h>
#include <mshtml.h>

#include <string>

#include "app/MainFrame.h"
#include "framework/ole/OleUtil.h"
#include "shared/AppData.h"
#include "tab/BrowserView.h"
#include "tab/LinkInfo.h"
#include "tab/PageText.h"
#include "tab/TabItem.h"
#include "app/tests/TabFixture.h"
#include "tests/support/TestHtmlDocument.h"

namespace {

const char kStyle[] = "color:red";

DWORD g_fakeTicks = 0;
DWORD g_tickStep = 0;
DWORD WINAPI FakeTicks()
{
    g_fakeTicks += g_tickStep;
    return g_fakeTicks;
}

class PageTest : public TabTest
{
protected:
    void SetUp() override
    {
        TabTest::SetUp();
        g_fakeTicks = 0;
        g_tickStep = 0;
        m_tab = Open(nullptr, "http://a.example/");
        ASSERT_NE(nullptr, m_tab);
        m_view = m_tab->m_pView;
        m_view->m_pfnHighlightTicks = &FakeTicks;
        m_prefix = AppStrings().GetEtcText(42);
        ASSERT_FALSE(m_prefix.IsEmpty());
    }
    void TearDown() override
    {
        TestWebBrowser::ClearPages();
        TabTest::TearDown();
    }
    TestHtmlDocument* Doc() { return ControlOf(m_tab)->GetDocument(); }
    void Show(const std::wstring& html) { ControlOf(m_tab)->SetDocumentHtml(html, L"http://a.example/"); }
    int Mark(const char* word) { return m_view->SetHighlightWords(FALSE, word, 0, kStyle, m_prefix); }
    int Clear() { return m_view->SetHighlightWords(TRUE, "", 0, kStyle, m_prefix); }
    std::wstring Id(int n)
    {
        char buf[16];
        wsprintfA(buf, "%04d", n);
        return VaWideFromAnsi(m_prefix + buf);
    }

    CTabItem* m_tab = nullptr;
    CBrowserView* m_view = nullptr;
    CString m_prefix;
};

} // namespace

TEST_F(PageTest, WholeWordMarksReplaceMatchesAndClearingRestoresTheHtmlExactly)
{
    const std::wstring page = L"<p>Cat and cat, <b>CAT</b> &amp; catalog &lt;cat&gt;</p>";
    Show(page);
    EXPECT_EQ(4, Mark("cat"));
    EXPECT_EQ(4u, Doc()->FindByTag(L"SPAN").size());
    HtmlNode* first = Doc()->FindById(Id(0));
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(L"Cat", first->InnerText());
    EXPECT_EQ(L"color:red", first->GetAttribute(L"style"));
    EXPECT_EQ(L"CAT", Doc()->FindById(Id(2))->InnerText());
    EXPECT_EQ(L"cat", Doc()->FindById(Id(3))->InnerText());
    // The text reads as before: no character was swallowed by a mark.
    EXPECT_EQ(L"Cat and cat, CAT & catalog <cat>", Doc()->GetBodyText());
    EXPECT_EQ(4, m_view->GetHighlightSnippets().GetSize());
    // The match and the 25 characters after it, without blanks.
    EXPECT_STREQ("Catandcat,CAT&catalog<", m_view->GetHighlightSnippets()[0]);

    EXPECT_EQ(0, Clear());
    EXPECT_EQ(page, Doc()->GetBodyHtml());
    EXPECT_EQ(0, m_view->GetHighlightSnippets().GetSize());
}

// A keyword holding "&" or "<" is put into the mark as text: "&" is escaped
// first, so the page reads the same and clearing restores the HTML exactly.
TEST_F(PageTest, KeywordsWithAmpersandOrLessThanAreMarkedAsText)
{
    const struct
    {
        const wchar_t* page;
        const char* word;
        int count;
        const wchar_t* text;
    } cases[] = {
        {L"<p>R&amp;D or r&amp;d</p>", "R&D", 2, L"R&D or r&d"},
        {L"<p>a&lt;b, a &lt; b</p>", "a<b", 1, L"a<b, a < b"},
        {L"<p>x&amp;lt;y</p>", "x&lt;y", 1, L"x&lt;y"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.word);
        Show(c.page);
        EXPECT_EQ(c.count, Mark(c.word));
        ASSERT_NE(nullptr, Doc()->FindById(Id(0)));
        EXPECT_EQ(c.text, Doc()->GetBodyText());
        Clear();
        EXPECT_EQ(c.page, Doc()->GetBodyHtml());
    }
}

TEST_F(PageTest, ShortTailAfterTheLastMatchKeepsEveryCharacter)
{
    // Fewer than 25 characters follow the match: the mark covers the match
    // alone and the text after it stays.
    const std::wstring page = L"<p>one word here</p>";
    Show(page);
    EXPECT_EQ(1, Mark("word"));
    EXPECT_EQ(L"one word here", Doc()->GetBodyText());
    EXPECT_EQ(L"word", Doc()->FindById(Id(0))->InnerText());
    Clear();
    EXPECT_EQ(page, Doc()->GetBodyHtml());
}

TEST_F(PageTest, SubstringMatchesGetNbspMarksAfterThemAndClearingDeletesOnlyThose)
{
    const std::wstring page = L"<div>catalog concatenate</div>";
    Show(page);
    EXPECT_EQ(2, Mark("cat"));
    HtmlNode* mark = Doc()->FindById(Id(1));
    ASSERT_NE(nullptr, mark);
    EXPECT_EQ(L"&nbsp;", mark->InnerHtml());
    EXPECT_EQ(L"cat\u00A0alog concat\u00A0enate", Doc()->GetBodyText());
    Clear();
    EXPECT_EQ(page, Doc()->GetBodyHtml());
}

TEST_F(PageTest, ALoneSpaceIsMarkedAfterTheSpaceAndClearingKeepsTheSpaces)
{
    const std::wstring page = L"<p>a b c</p>";
    Show(page);
    EXPECT_EQ(2, Mark(" "));
    EXPECT_EQ(L"a \u00A0b \u00A0c", Doc()->GetBodyText());
    Clear();
    EXPECT_EQ(page, Doc()->GetBodyHtml());
}

TEST_F(PageTest, MatchesInsideTextAreasAreNeitherCountedNorMarked)
{
    const std::wstring page = L"<textarea>cat</textarea><textarea>cat cat</textarea>";
    Show(page);
    EXPECT_EQ(0, Mark("cat"));
    EXPECT_EQ(page, Doc()->GetBodyHtml());
}

TEST_F(PageTest, NumbersContinueAcrossFramesInVisitingOrder)
{
    TestWebBrowser::SetPageHtml(L"http://f1.example/", L"<p>dog dog</p>");
    TestWebBrowser::SetPageHtml(L"http://f2.example/", L"<p>a dog</p>");
    Show(L"<p>dog dog dog</p><iframe src=\"http://f1.example/\" left=\"10\" top=\"200\"></iframe>"
         L"<iframe src=\"http://f2.example/\"></iframe>");
    ASSERT_EQ(2u, Doc()->GetFrames().size());
    EXPECT_EQ(6, Mark("dog"));
    EXPECT_NE(nullptr, Doc()->FindById(Id(2)));
    TestHtmlDocument* f1 = Doc()->GetFrames()[0]->GetDocument();
    TestHtmlDocument* f2 = Doc()->GetFrames()[1]->GetDocument();
    EXPECT_NE(nullptr, f1->FindById(Id(3)));
    EXPECT_NE(nullptr, f1->FindById(Id(4)));
    EXPECT_NE(nullptr, f2->FindById(Id(5)));
    EXPECT_EQ(6, m_view->GetHighlightSnippets().GetSize());

    // Mark 4 lies in the first frame: it is selected there, scrolled to
    // and the popup is left alone (there is none).
    CComPtr<IDispatch> disp;
    disp.Attach(m_view->GetHtmlDocument());
    CComPtr<IHTMLDocument2> doc;
    disp.QueryInterface(IID_IHTMLDocument2, doc);
    EXPECT_EQ(1, ScrollToHighlight(m_view, doc, 4));
    EXPECT_EQ(L"dog", f1->GetSelectedText());
    ASSERT_EQ(1u, f1->GetScrollCalls().size());
    EXPECT_EQ(-300, f1->GetScrollCalls()[0].y);
    EXPECT_EQ(0, ScrollToHighlight(m_view, doc, 9));

    EXPECT_EQ(0, Clear());
    EXPECT_EQ(L"<p>dog dog</p>", f1->GetBodyHtml());
    EXPECT_EQ(L"<p>a dog</p>", f2->GetBodyHtml());
    EXPECT_EQ(L"<p>dog dog dog</p>", Doc()->GetBodyHtml().substr(0, 18));
}

TEST_F(PageTest, EmptyWordLeavesThePageAndAMissingWordGivesZero)
{
    const std::wstring page = L"<p>text</p>";
    Show(page);
    EXPECT_EQ(0, Mark(""));
    EXPECT_EQ(0, Mark("absent"));
    EXPECT_EQ(page, Doc()->GetBodyHtml());
}

TEST_F(PageTest, AStopAtTheTimeBudgetEndsTheWholeRequest)
{
    Show(L"<p>ant ant ant</p><iframe src=\"http://f1.example/\"></iframe>");
    TestWebBrowser::SetPageHtml(L"http://f1.example/", L"<p>ant</p>");
    Show(L"<p>ant ant ant</p><iframe src=\"http://f1.example/\"></iframe>");
    // Every clock reading is 10 s after the last: the second match is past
    // the budget; the answer No stops everything, no second pass asks again.
    g_tickStep = 10000;
    AnswerMessageBoxes({ IDNO });
    EXPECT_EQ(-1, Mark("ant"));
    Pump();
    EXPECT_TRUE(AllAnswered());
    EXPECT_EQ(1u, Doc()->FindByTag(L"SPAN").size());
    EXPECT_TRUE(Doc()->GetFrames()[0]->GetDocument()->FindByTag(L"SPAN").empty());
}

TEST_F(PageTest, AYesAtTheTimeBudgetGoesOnAndStartsTheBudgetAgain)
{
    Show(L"<p>ant ant ant</p>");
    // Every reading is past the budget: each match asks once.
    g_tickStep = 20000;
    AnswerMessageBoxes({ IDYES, IDYES, IDYES });
    EXPECT_EQ(3, Mark("ant"));
    EXPECT_TRUE(AllAnswered());
}

TEST(PageTextTest, CutsCountsAndTakesWholeDoubleByteCharacters)
{
    CString out;
    // "あいう" is three two-byte characters.
    const CString kana("\x82\xa0\x82\xa2\x82\xa4");
    TruncateToBytes(kana, 3, out, false);
    EXPECT_STREQ("\x82\xa0", out);
    TruncateToBytes(kana, 3, out, true);
    EXPECT_STREQ("\x82\xa0\x81\x63", out);
    TruncateToBytes("abc", 5, out, true);
    EXPECT_STREQ("abc", out);
    EXPECT_EQ(4, CountMbChars(CString("a") + kana));
    EXPECT_STREQ("\x82\xa2\x82\xa4", MidMbChars(kana, 1, 5));
    EXPECT_STREQ("a", MidMbChars(CString("a") + kana, -3, 1));
    EXPECT_STREQ("", MidMbChars(kana, 3, 1));
    EXPECT_STREQ("", MidMbChars(kana, 0, 0));
}

TEST(PageTextTest, SnippetCentresTheMatchInTheWidth)
{
    CString out;
    MakeSnippet("word", "WORD and more", 6, out);
    EXPECT_STREQ("WORD a", out);
    MakeSnippet("cd", "abcdefgh", 4, out);
    EXPECT_STREQ("bcde", out);
    MakeSnippet("x", "abc", 4, out);
    EXPECT_STREQ("", out);
}

TEST_F(PageTest, FlashObjectsAreHiddenInNestedFramesOnlyWhileTheTabDoesNotPlayThem)
{
    const std::wstring flash =
        L"<object id=\"f\" classid=\"clsid:d27cdb6e-ae6d-11cf-96b8-444553540000\"></object>"
        L"<object id=\"o\" classid=\"CLSID:00000000-0000-0000-0000-000000000000\"></object>";
    TestWebBrowser::SetPageHtml(L"http://inner.example/", flash);
    TestWebBrowser::SetPageHtml(L"http://outer.example/",
                                L"<iframe src=\"http://inner.example/\"></iframe>");
    TestWebBrowser::SetPageHtml(L"http://flash.example/",
                                flash + L"<iframe src=\"http://outer.example/\"></iframe>");
    m_view->SetPageOptions(m_view->GetPageOptions() | 0x1);
    m_view->Navigate("http://flash.example/");
    TestWebBrowser::Settle();
    EXPECT_TRUE(Doc()->FindById(L"f")->GetAttribute(L"style").empty());

    // Without the Flash bit the completed download hides them.
    m_view->SetPageOptions(m_view->GetPageOptions() & ~0x1u);
    m_view->Navigate("http://flash.example/");
    TestWebBrowser::Settle();
    const std::wstring hidden = L"visibility: hidden; height: 0px; width: 0px";
    EXPECT_EQ(hidden, Doc()->FindById(L"f")->GetAttribute(L"style"));
    EXPECT_TRUE(Doc()->FindById(L"o")->GetAttribute(L"style").empty());
    TestHtmlDocument* outer = Doc()->GetFrames()[0]->GetDocument();
    TestHtmlDocument* inner = outer->GetFrames()[0]->GetDocument();
    EXPECT_EQ(hidden, inner->FindById(L"f")->GetAttribute(L"style"));
    EXPECT_TRUE(inner->FindById(L"o")->GetAttribute(L"style").empty());
}

namespace {

CComPtr<IHTMLDocument2> HtmlDocumentOf(CBrowserView* view)
{
    CComPtr<IDispatch> disp;
    disp.Attach(view->GetHtmlDocument());
    CComPtr<IHTMLDocument2> doc;
    disp.QueryInterface(IID_IHTMLDocument2, doc);
    return doc;
}

} // namespace

TEST_F(PageTest, LinkInfoTakesTheActiveLinkOfThePageOrElseOfAFrame)
{
    TestWebBrowser::SetPageHtml(L"http://f1.example/", L"<p>first</p>");
    TestWebBrowser::SetPageHtml(L"http://f2.example/",
                                L"<a id=\"l\" href=\"http://deep.example/\">Deep</a>");
    Show(L"<a id=\"s\" href=\"javascript:go()\">script</a>"
         L"<map><area id=\"m\" href=\"https://map.example/\"></map>"
         L"<iframe src=\"http://f1.example/\"></iframe><iframe src=\"http://f2.example/\"></iframe>");
    CComPtr<IHTMLDocument2> doc = HtmlDocumentOf(m_view);
    CLinkInfo info(CLinkInfo::kLinkUrl);
    // The body is focused: the second frame's focused link answers.
    Doc()->SetActiveElement(L"");
    Doc()->GetFrames()[1]->GetDocument()->SetActiveElement(L"l");
    Doc()->SetActiveElement(L"m");
    EXPECT_TRUE(info.FromElement(doc));
    EXPECT_STREQ("https://map.example/", info.m_url);
    // A script link does not count; the frames are searched instead.
    Doc()->SetActiveElement(L"s");
    EXPECT_TRUE(info.FromElement(doc));
    EXPECT_STREQ("http://deep.example/", info.m_url);
    CLinkInfo text(CLinkInfo::kInnerText);
    EXPECT_TRUE(text.FromElement(doc));
    EXPECT_STREQ("script", text.m_text);
}

TEST_F(PageTest, SpecificElementTestLooksOnlyAtThePagesActiveElement)
{
    TestWebBrowser::SetPageHtml(L"http://f1.example/", L"<img id=\"i\">");
    Show(L"<table id=\"t\"><tr id=\"r\"><td id=\"d\">cell</td></tr></table><img id=\"img\">"
         L"<iframe src=\"http://f1.example/\"></iframe>");
    Doc()->GetFrames()[0]->GetDocument()->SetActiveElement(L"i");
    CComPtr<IHTMLDocument2> doc = HtmlDocumentOf(m_view);
    CLinkInfo info(CLinkInfo::kSpecific);
    for (const wchar_t* id : { L"t", L"r", L"d" })
    {
        Doc()->SetActiveElement(id);
        EXPECT_FALSE(info.FromElement(doc));
    }
    Doc()->SetActiveElement(L"img");
    EXPECT_TRUE(info.FromElement(doc));
}

TEST_F(PageTest, EditableElementsAreInputsTextAreasAndObjectsInAnyFrame)
{
    TestWebBrowser::SetPageHtml(L"http://f1.example/", L"<textarea id=\"ta\"></textarea>");
    Show(L"<select id=\"sel\"></select><input id=\"btn\" type=\"button\">"
         L"<iframe src=\"http://f1.example/\"></iframe>");
    CComPtr<IHTMLDocument2> doc = HtmlDocumentOf(m_view);
    Doc()->SetActiveElement(L"sel");
    EXPECT_FALSE(IsEditableElement(doc));
    Doc()->SetActiveElement(L"btn");
    EXPECT_TRUE(IsEditableElement(doc));
    Doc()->SetActiveElement(L"");
    Doc()->GetFrames()[0]->GetDocument()->SetActiveElement(L"ta");
    EXPECT_TRUE(IsEditableElement(doc));
}
