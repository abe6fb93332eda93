// The find-in-pages popup and its driver, with the shipped page, against a
// tab's test-control document.
#include <windows.h>
#include <mshtml.h>

#include <string>
#include <vector>

#include "app/MainFrame.h"
#include "app/VantorelApp.h"
#include "framework/ole/OleUtil.h"
#include "tab/BrowserView.h"
#include "tab/FavHtmlPane.h"
#include "tab/HtmlPopupDlg.h"
#include "tab/TabItem.h"
#include "tab/tests/TabFixture.h"
#include "tests/support/TestHtmlDocument.h"

namespace {

VARIANT PostOf(const std::string& body)
{
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_ARRAY | VT_UI1;
    v.parray = ::SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(body.size()));
    void* p = nullptr;
    ::SafeArrayAccessData(v.parray, &p);
    memcpy(p, body.data(), body.size());
    ::SafeArrayUnaccessData(v.parray);
    return v;
}

std::string Field(const CMapStringToString& map, const char* key)
{
    CString value;
    return map.Lookup(key, value) ? std::string(value) : std::string("<none>");
}

class HtmlPopupTest : public TabTest
{
protected:
    void SetUp() override
    {
        TabTest::SetUp();
        m_tab = Open(nullptr, "http://a.example/");
        ASSERT_NE(nullptr, m_tab);
        ControlOf(m_tab)->SetDocumentHtml(L"<p>dog cat dog</p>", L"http://a.example/");
    }
    // The popup's page after it loaded.
    TestHtmlDocument* Page()
    {
        TestWebBrowser::Settle();
        CDlgHtmlPopup* popup = m_frame->m_pHtmlPopup;
        if (popup == nullptr)
            return nullptr;
        for (TestWebBrowser* control : TestWebBrowser::GetInstances())
            if (::GetParent(control->GetControlWindow()) == popup->m_hWnd)
                return control->GetDocument();
        return nullptr;
    }
    TestWebBrowser* PopupControl()
    {
        for (TestWebBrowser* control : TestWebBrowser::GetInstances())
            if (m_frame->m_pHtmlPopup != nullptr
                && ::GetParent(control->GetControlWindow()) == m_frame->m_pHtmlPopup->m_hWnd)
                return control;
        return nullptr;
    }
    // The page posts its form to itself.
    void Post(const std::string& body)
    {
        TestWebBrowser* control = PopupControl();
        ASSERT_NE(nullptr, control);
        const std::wstring page = control->GetDocument()->GetUrl();
        VARIANT url;
        ::VariantInit(&url);
        url.vt = VT_BSTR;
        url.bstrVal = ::SysAllocString(page.c_str());
        VARIANT post = PostOf(body);
        control->Navigate2(&url, nullptr, nullptr, &post, nullptr);
        ::VariantClear(&url);
        ::VariantClear(&post);
        TestWebBrowser::Settle();
    }
    std::vector<std::wstring> CallNames(size_t from = 0)
    {
        std::vector<std::wstring> names;
        const auto& calls = Page()->GetScriptCalls();
        for (size_t i = from; i < calls.size(); ++i)
            names.push_back(calls[i].name);
        return names;
    }

    CTabItem* m_tab = nullptr;
};

} // namespace

TEST(PostData, FieldsAreDecodedWithLowerCaseNames)
{
    CMapStringToString map;
    VARIANT post = PostOf("text=abc&op=1");
    ASSERT_TRUE(ParsePostData(&post, map));
    EXPECT_EQ("abc", Field(map, "text"));
    EXPECT_EQ("1", Field(map, "op"));
    ::VariantClear(&post);

    post = PostOf("Text=a+b%41&two=x=y&empty=&op=3");
    ASSERT_TRUE(ParsePostData(&post, map));
    EXPECT_EQ("a bA", Field(map, "text"));
    EXPECT_EQ("<none>", Field(map, "two"));
    EXPECT_EQ("", Field(map, "empty"));
    ::VariantClear(&post);

    post = PostOf("text=a%0D%0Ab");
    ASSERT_TRUE(ParsePostData(&post, map));
    EXPECT_EQ("a\nb", Field(map, "text"));
    ::VariantClear(&post);

    VARIANT none;
    ::VariantInit(&none);
    EXPECT_FALSE(ParsePostData(&none, map));
    post = PostOf("");
    EXPECT_FALSE(ParsePostData(&post, map));
    ::VariantClear(&post);
}

TEST_F(HtmlPopupTest, TheKeywordGoesToThePageOnceAndItsSearchMarksTheTab)
{
    m_frame->OpenTextSearchPopup("dog");
    TestHtmlDocument* page = Page();
    ASSERT_NE(nullptr, page);
    ASSERT_EQ(2u, page->GetScriptCalls().size());
    EXPECT_EQ(L"SetSelTextValues", page->GetScriptCalls()[0].name);
    EXPECT_EQ(L"SubmitDataEx", page->GetScriptCalls()[1].name);
    EXPECT_EQ(L"dog", page->GetScriptCalls()[1].args[0]);
    EXPECT_TRUE(m_frame->m_pHtmlPopup->m_keyword.IsEmpty());
    // The popup lets its page fetch images only.
    EXPECT_EQ(0x10, PopupControl()->GetDlControl());

    Post("text=dog&op=1");
    EXPECT_EQ((std::vector<std::wstring>{ L"SetTextAreaAll", L"setURL", L"sethWnd", L"SetFindText",
                                          L"SetFindResult" }),
              CallNames(2));
    const auto& calls = page->GetScriptCalls();
    EXPECT_EQ(L"http://a.example/", calls[3].args[0]);
    EXPECT_EQ(std::to_wstring(static_cast<int>(reinterpret_cast<INT_PTR>(m_tab->m_hFrame))),
              calls[4].args[0]);
    EXPECT_EQ(L"dog", calls[5].args[0]);
    EXPECT_NE(std::wstring::npos, calls[6].args[0].find(L"2"));
    EXPECT_EQ(2u, ControlOf(m_tab)->GetDocument()->FindByTag(L"SPAN").size());
    // The popup stays on its page.
    EXPECT_EQ(1u, PopupControl()->GetNavigateCalls().size() - 1);
}

TEST_F(HtmlPopupTest, GoingToAHitScrollsItsTabOnlyWhileTheTabShowsThatPage)
{
    m_frame->OpenTextSearchPopup("");
    ASSERT_NE(nullptr, Page());
    EXPECT_TRUE(Page()->GetScriptCalls().empty());
    Post("text=dog&op=1");
    const size_t before = Page()->GetScriptCalls().size();
    const std::string hwnd = std::to_string(static_cast<int>(reinterpret_cast<INT_PTR>(m_tab->m_hFrame)));
    Post("op=2&textres=1&url=http%3A%2F%2Fa.example%2F&hwnd=" + hwnd);
    ASSERT_EQ(before + 1, Page()->GetScriptCalls().size());
    EXPECT_EQ(L"SetNowPos", Page()->GetScriptCalls().back().name);
    EXPECT_EQ(L"1", Page()->GetScriptCalls().back().args[0]);
    EXPECT_EQ(L"dog", ControlOf(m_tab)->GetDocument()->GetSelectedText());

    // Another address, or a window that is no tab: nothing happens.
    Post("op=2&textres=0&url=http%3A%2F%2Fb.example%2F&hwnd=" + hwnd);
    const std::string desktop = std::to_string(static_cast<int>(reinterpret_cast<INT_PTR>(::GetDesktopWindow())));
    Post("op=2&textres=0&url=http%3A%2F%2Fa.example%2F&hwnd=" + desktop);
    EXPECT_EQ(before + 1, Page()->GetScriptCalls().size());
}

TEST_F(HtmlPopupTest, NoHitsAndClearingReportOnlyTheirResult)
{
    m_frame->OpenTextSearchPopup("");
    ASSERT_NE(nullptr, Page());
    Post("text=absent&op=1");
    EXPECT_EQ((std::vector<std::wstring>{ L"SetFindText", L"SetFindResult" }), CallNames());
    EXPECT_EQ(std::wstring(VaWideFromAnsi(theApp.GetMessageText(36))),
              Page()->GetScriptCalls()[1].args[0]);
    Post("text=dog&op=1");
    const size_t before = Page()->GetScriptCalls().size();
    Post("text=dog&op=3");
    EXPECT_EQ((std::vector<std::wstring>{ L"SetFindResult" }), CallNames(before));
    EXPECT_EQ(std::wstring(VaWideFromAnsi(theApp.GetMessageText(35))),
              Page()->GetScriptCalls().back().args[0]);
    EXPECT_TRUE(ControlOf(m_tab)->GetDocument()->FindByTag(L"SPAN").empty());
}

TEST_F(HtmlPopupTest, LinksLeavingThePopupOpenInTheTabAndScriptLinksStay)
{
    theApp.m_settings.bPopUpNewStyle(false);
    m_frame->OpenTextSearchPopup("");
    ASSERT_NE(nullptr, Page());
    TestWebBrowser* control = PopupControl();
    VARIANT url;
    ::VariantInit(&url);
    url.vt = VT_BSTR;
    url.bstrVal = ::SysAllocString(L"JavaScript:void(0)");
    control->Navigate2(&url, nullptr, nullptr, nullptr, nullptr);
    ::VariantClear(&url);
    url.vt = VT_BSTR;
    url.bstrVal = ::SysAllocString(L"http://elsewhere.example/");
    control->Navigate2(&url, nullptr, nullptr, nullptr, nullptr);
    ::VariantClear(&url);
    Pump();
    // With "bOpenNewTab_FAV" (the default) the link opens in a new tab.
    EXPECT_EQ(2, BarCount());
    ASSERT_NE(nullptr, Active());
    EXPECT_STREQ("http://elsewhere.example/", Active()->m_url);
    // The popup hid itself afterwards.
    EXPECT_FALSE(::IsWindowVisible(m_frame->m_pHtmlPopup->m_hWnd));
}

TEST_F(HtmlPopupTest, AMiddleClickOnALinkOpensItOnceAndHeldKeysAreSwallowed)
{
    theApp.m_settings.bPopUpNewStyle(false);
    m_frame->OpenTextSearchPopup("");
    TestHtmlDocument* page = Page();
    ASSERT_NE(nullptr, page);
    page->SetHtml(L"<a id=\"l\" href=\"http://mid.example/\">mid</a>");
    page->SetActiveElement(L"l");
    CDlgHtmlPopup* popup = m_frame->m_pHtmlPopup;
    HWND control = PopupControl()->GetControlWindow();
    MSG down = { control, WM_MBUTTONDOWN, MK_MBUTTON, 0, 0, { 0, 0 } };
    MSG up = { control, WM_MBUTTONUP, 0, 0, 0, { 0, 0 } };
    // Not over a link: an ordinary middle click, nothing opens.
    popup->m_statusText = "";
    popup->PreTranslateMessage(&down);
    EXPECT_EQ(static_cast<UINT>(WM_MBUTTONDOWN), down.message);
    EXPECT_TRUE(popup->PreTranslateMessage(&up));
    Pump();
    EXPECT_EQ(1, BarCount());

    popup->m_statusText = "http://mid.example/";
    popup->PreTranslateMessage(&down);
    EXPECT_EQ(static_cast<UINT>(WM_RBUTTONDOWN), down.message);
    EXPECT_TRUE(popup->PreTranslateMessage(&up));
    Pump();
    ASSERT_EQ(2, BarCount());
    EXPECT_STREQ("http://mid.example/", BarTab(1)->m_url);
    EXPECT_FALSE(::IsWindowVisible(popup->m_hWnd));

    // A held key outside an edit field is swallowed.
    MSG repeat = { control, WM_KEYDOWN, 'A', 0x40000001, 0, { 0, 0 } };
    EXPECT_TRUE(popup->PreTranslateMessage(&repeat));
}

TEST_F(HtmlPopupTest, FavoritesPaneWritesItsFramesetRowsAndAHistoryPageOnlyWhenMissing)
{
    auto* pane = new CDlgFavHtml;
    ASSERT_TRUE(pane->Create(kFavHtmlTemplate, m_frame));
    m_folder->Remove("Favorite/history.htm");
    pane->CreateHistoryPage();
    EXPECT_TRUE(m_folder->Exists("Favorite/history.htm"));
    m_folder->WriteBytes("Favorite/history.htm", "mine");
    pane->CreateHistoryPage();
    EXPECT_EQ("mine", m_folder->ReadBytes("Favorite/history.htm"));

    TestWebBrowser* control = nullptr;
    for (TestWebBrowser* c : TestWebBrowser::GetInstances())
        if (::GetParent(c->GetControlWindow()) == pane->m_hWnd)
            control = c;
    ASSERT_NE(nullptr, control);
    EXPECT_EQ(0x10, control->GetDlControl());
    control->SetDocumentHtml(L"<frameset rows=\"120,*\"><frame src=\"a.htm\"><frame src=\"b.htm\"></frameset>");
    pane->DestroyWindow();
    delete pane;
    EXPECT_EQ(std::string("<html><head><title>") + theApp.GetMainClassName()
                  + "Favorite</title></head>\r\n<frameset rows=120,* frameborder=0 framespacing=0 "
                    "border=0>\r\n<frame src=navtabs.htm name=frm_navtabs>\r\n<frame src=bookmark.htm "
                    "name=frm_main>\r\n</frameset>\r\n</frameset>\r\n",
              m_folder->ReadBytes("Favorite/index.htm"));
}
