// The find-in-pages popup and its driver, with the shipped page, against a
// tab's test-control document.
#include <windows.h>
#include <mshtml.h>

#include <string>
#include <utility>
#include <vector>

#include "app/MainFrame.h"
#include "bars/PageTabBar.h"
#include "bars/SizingControlBar.h"
#include "app/VantorelApp.h"
#include "framework/core/AtomicFile.h"
#include "framework/ole/OleUtil.h"
#include "shared/AppData.h"
#include "shared/AppSettings.h"
#include "tab/BrowserView.h"
#include "tab/FavHtmlPane.h"
#include "tab/HtmlPopupDlg.h"
#include "tab/TabGroup.h"
#include "tab/TabItem.h"
#include "app/tests/TabFixture.h"
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

// A page of the control posts a form to target.
void PostForm(TestWebBrowser* control, const std::wstring& target, const std::string& body)
{
    VARIANT url;
    ::VariantInit(&url);
    url.vt = VT_BSTR;
    url.bstrVal = ::SysAllocString(target.c_str());
    VARIANT post = PostOf(body);
    control->Navigate2(&url, nullptr, nullptr, &post, nullptr);
    ::VariantClear(&url);
    ::VariantClear(&post);
    TestWebBrowser::Settle();
}

std::string Field(const CMapStringToString& map, const char* key)
{
    CString value;
    return map.Lookup(key, value) ? std::string(value) : std::string("<none>");
}

MSG Message(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam = 0)
{
    MSG msg = {};
    msg.hwnd = hWnd;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    return msg;
}

// A frame page with the find-in-pages page's functions.
const wchar_t kScriptedFrame[] =
    L"<script>function SetTextAreaAll(a) {} function setURL(u) {} function sethWnd(h) {} "
    L"function SetFindText(t) {} function SetFindResult(r) {} function SetNowPos(p) {}</script><p>frame</p>";

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
        PostForm(control, control->GetDocument()->GetUrl(), body);
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

// A page function runs a message loop (an alert) in which the searched tab
// closes: the search stops there and touches nothing of that tab again.
TEST_F(HtmlPopupTest, ATabClosedWhileThePageTakesTheHitsIsLeftAlone)
{
    m_frame->OpenTextSearchPopup("");
    TestHtmlDocument* page = Page();
    ASSERT_NE(nullptr, page);
    static HWND s_tab;
    s_tab = m_tab->m_hFrame;
    page->SetScriptBody([](const TestHtmlDocument::ScriptCall& call) {
        if (call.name == L"SetTextAreaAll") {
            ::PostMessageA(s_tab, WM_CLOSE, 0, 0);
            Pump();
        }
    });
    Post("text=dog&op=1");
    page->SetScriptBody(nullptr);
    EXPECT_FALSE(::IsWindow(s_tab));
    EXPECT_EQ((std::vector<std::wstring>{ L"SetTextAreaAll" }), CallNames());
}

TEST_F(HtmlPopupTest, NoHitsAndClearingReportOnlyTheirResult)
{
    m_frame->OpenTextSearchPopup("");
    ASSERT_NE(nullptr, Page());
    Post("text=absent&op=1");
    EXPECT_EQ((std::vector<std::wstring>{ L"SetFindText", L"SetFindResult" }), CallNames());
    EXPECT_EQ(std::wstring(VaWideFromAnsi(AppStrings().GetMessageText(36))),
              Page()->GetScriptCalls()[1].args[0]);
    Post("text=dog&op=1");
    const size_t before = Page()->GetScriptCalls().size();
    Post("text=dog&op=3");
    EXPECT_EQ((std::vector<std::wstring>{ L"SetFindResult" }), CallNames(before));
    EXPECT_EQ(std::wstring(VaWideFromAnsi(AppStrings().GetMessageText(35))),
              Page()->GetScriptCalls().back().args[0]);
    EXPECT_TRUE(ControlOf(m_tab)->GetDocument()->FindByTag(L"SPAN").empty());
}

TEST_F(HtmlPopupTest, LinksLeavingThePopupOpenInTheTabAndScriptLinksStay)
{
    AppSettings().bPopUpNewStyle(false);
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

TEST_F(HtmlPopupTest, WithNewGroupsALinkOpensAGroupNamedAfterItsTextAndThePopupStays)
{
    AppSettings().bPopUpNewStyle(false);
    AppSettings().iParentTabNewRule |= 0x100;
    m_frame->OpenTextSearchPopup("");
    TestHtmlDocument* page = Page();
    ASSERT_NE(nullptr, page);
    page->SetHtml(L"<a id=\"n\" href=\"http://news.example/\">News</a><a id=\"e\" href=\"http://bare.example/\"></a>");
    auto follow = [&](const wchar_t* id, const char* url) {
        page->SetActiveElement(id);
        PostForm(PopupControl(), VaWideFromAnsi(url), "");
        Pump();
    };
    const int groups = theApp.GetGroupCount();
    follow(L"n", "http://news.example/");
    ASSERT_EQ(groups + 1, theApp.GetGroupCount());
    CTabItem* opened = Active();
    ASSERT_NE(nullptr, opened);
    EXPECT_STREQ("http://news.example/", opened->m_url);
    ASSERT_NE(nullptr, opened->m_pGroup);
    EXPECT_STREQ("News", opened->m_pGroup->m_captionTemplate);
    // A link without text: a new unnamed group.
    follow(L"e", "http://bare.example/");
    ASSERT_EQ(groups + 2, theApp.GetGroupCount());
    ASSERT_NE(nullptr, Active());
    EXPECT_STREQ("http://bare.example/", Active()->m_url);
    EXPECT_STRNE("News", Active()->m_pGroup->m_captionTemplate);
    // The popup stays, and the page tab bar shows again.
    EXPECT_TRUE(::IsWindowVisible(m_frame->m_pHtmlPopup->m_hWnd));
    EXPECT_FALSE(m_frame->m_pPageTabBar->IsUpdating());
    EXPECT_TRUE(::IsWindowVisible(m_frame->m_pPageTabBar->m_hWnd));
}

TEST_F(HtmlPopupTest, AMiddleClickOnALinkOpensItOnceAndHeldKeysAreSwallowed)
{
    AppSettings().bPopUpNewStyle(false);
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

TEST_F(HtmlPopupTest, KeysRunTheirBindingsButTypingInAnEditFieldStaysThere)
{
    m_folder->WriteBytes("KEYCONF.dat", BindingLine("k", "F5", 1022) + BindingLine("k", "A", 1021));
    theApp.ReloadBindingMaps();
    m_frame->OpenTextSearchPopup("");
    TestHtmlDocument* page = Page();
    ASSERT_NE(nullptr, page);
    page->SetHtml(L"<p id=\"p\">text</p><input id=\"i\" type=\"text\">");
    CDlgHtmlPopup* popup = m_frame->m_pHtmlPopup;
    HWND control = PopupControl()->GetControlWindow();
    TakePostedCommand(m_frame->m_hWnd);

    // Outside an edit field every bound key runs once; a held one is swallowed.
    page->SetActiveElement(L"p");
    MSG key = Message(control, WM_KEYDOWN, 'A', 1);
    EXPECT_TRUE(popup->PreTranslateMessage(&key));
    EXPECT_EQ(1021u, TakePostedCommand(m_frame->m_hWnd));
    key = Message(control, WM_KEYDOWN, 'A', 0x40000001);
    EXPECT_TRUE(popup->PreTranslateMessage(&key));
    EXPECT_EQ(0u, TakePostedCommand(m_frame->m_hWnd));
    key = Message(control, WM_KEYDOWN, VK_F7, 1);
    EXPECT_FALSE(popup->PreTranslateMessage(&key));
    // Enter is the page's (its form), never the dialog's: the popup stays.
    key = Message(control, WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_FALSE(popup->PreTranslateMessage(&key));
    EXPECT_TRUE(::IsWindowVisible(popup->m_hWnd));

    // In an edit field the letter is typed; F5 still reloads.
    page->SetActiveElement(L"i");
    key = Message(control, WM_KEYDOWN, 'A', 1);
    EXPECT_FALSE(popup->PreTranslateMessage(&key));
    key = Message(control, WM_KEYDOWN, 'A', 0x40000001);
    EXPECT_FALSE(popup->PreTranslateMessage(&key));
    key = Message(control, WM_KEYDOWN, VK_F5, 1);
    EXPECT_TRUE(popup->PreTranslateMessage(&key));
    EXPECT_EQ(1022u, TakePostedCommand(m_frame->m_hWnd));
}

TEST_F(HtmlPopupTest, MovingTheMouseOverThePopupTakesTheFocusBackFromTheFrame)
{
    m_frame->OpenTextSearchPopup("");
    TestHtmlDocument* page = Page();
    ASSERT_NE(nullptr, page);
    CDlgHtmlPopup* popup = m_frame->m_pHtmlPopup;
    HWND control = PopupControl()->GetControlWindow();
    MSG move = Message(control, WM_MOUSEMOVE, 0);

    // The focus in the tab's page, which the frame lets go.
    HWND tabPage = ControlOf(m_tab)->GetControlWindow();
    ::SetForegroundWindow(m_frame->m_hWnd);
    ::SetFocus(tabPage);
    ASSERT_EQ(tabPage, ::GetFocus());
    // Off in the settings: nothing moves.
    AppSettings().iFocusMove = 0;
    const int before = page->GetFocusCount();
    popup->PreTranslateMessage(&move);
    EXPECT_EQ(before, page->GetFocusCount());

    // Nothing remembered: the page is focused.
    AppSettings().iFocusMove = 1;
    popup->m_hRememberedFocus = nullptr;
    popup->PreTranslateMessage(&move);
    EXPECT_EQ(before + 1, page->GetFocusCount());
    EXPECT_TRUE(popup->m_flags & kPopupPageFocused);

    // The popup's window that had the focus gets it back.
    ::SetFocus(control);
    ASSERT_TRUE(popup->RememberFocus());
    ::SetForegroundWindow(m_frame->m_hWnd);
    ::SetFocus(tabPage);
    popup->PreTranslateMessage(&move);
    EXPECT_EQ(control, ::GetFocus());
    EXPECT_EQ(before + 1, page->GetFocusCount());
}

TEST_F(HtmlPopupTest, TheLayeredPopupOpensLowerAndShrinksTranslucentWhileInactive)
{
    AppSettings().bPopUpNewStyle(false);
    m_frame->OpenTextSearchPopup("");
    RECT plain = {};
    ::GetWindowRect(m_frame->m_pHtmlPopup->m_hWnd, &plain);
    EXPECT_FALSE(::GetWindowLongPtrA(m_frame->m_pHtmlPopup->m_hWnd, GWL_EXSTYLE) & WS_EX_LAYERED);

    AppSettings().bPopUpNewStyle(true);
    AppSettings().iPopUpNewStyle_nnn = 150;
    m_frame->OpenTextSearchPopup("");
    HWND popup = m_frame->m_pHtmlPopup->m_hWnd;
    ASSERT_TRUE(::GetWindowLongPtrA(popup, GWL_EXSTYLE) & WS_EX_LAYERED);
    RECT full = {};
    ::GetWindowRect(popup, &full);
    // The page keeps its distances to the popup's edges.
    const HWND page = PopupControl()->GetControlWindow();
    auto margins = [&] {
        RECT client = {}, control = {};
        ::GetClientRect(popup, &client);
        ::GetWindowRect(page, &control);
        ::MapWindowPoints(nullptr, popup, reinterpret_cast<POINT*>(&control), 2);
        return std::vector<LONG>{ control.left, control.top, client.right - control.right,
                                  client.bottom - control.bottom };
    };
    const std::vector<LONG> placed = margins();
    EXPECT_EQ(plain.top + 9 * 23, full.top);
    EXPECT_EQ(plain.bottom - plain.top, full.bottom - full.top);

    BYTE alpha = 0;
    DWORD flags = 0;
    // Told twice (as when a modal window disables it), it still comes back whole.
    ::SendMessageA(popup, WM_NCACTIVATE, FALSE, 0);
    ::SendMessageA(popup, WM_NCACTIVATE, FALSE, 0);
    RECT shrunk = {};
    ::GetWindowRect(popup, &shrunk);
    EXPECT_EQ(30, shrunk.bottom - shrunk.top);
    EXPECT_EQ(full.left, shrunk.left);
    EXPECT_EQ(full.top, shrunk.top);
    ASSERT_TRUE(::GetLayeredWindowAttributes(popup, nullptr, &alpha, &flags));
    EXPECT_EQ(150, alpha);

    ::SendMessageA(popup, WM_NCACTIVATE, TRUE, 0);
    RECT back = {};
    ::GetWindowRect(popup, &back);
    EXPECT_EQ(full.top, back.top);
    EXPECT_EQ(full.bottom, back.bottom);
    ASSERT_TRUE(::GetLayeredWindowAttributes(popup, nullptr, &alpha, &flags));
    EXPECT_EQ(255, alpha);
    EXPECT_EQ(placed, margins());

    // Closed and shown again, the popup still works its alpha.
    ::SendMessageA(popup, WM_CLOSE, 0, 0);
    m_frame->m_pHtmlPopup->ShowWindow(SW_SHOW);
    ::SendMessageA(popup, WM_NCACTIVATE, FALSE, 0);
    ASSERT_TRUE(::GetLayeredWindowAttributes(popup, nullptr, &alpha, &flags));
    EXPECT_EQ(150, alpha);
    AppSettings().bPopUpNewStyle(false);
}

TEST_F(HtmlPopupTest, TheSearchBoxCommandOpensThePopupOnlyWhileTheSearchBarIsThere)
{
    m_frame->m_wndSearchBar.GetSearchCombo().SetWindowText("dog");
    ::SendMessageA(m_tab->m_hFrame, WM_COMMAND, 30514, 0);
    TestHtmlDocument* page = Page();
    ASSERT_NE(nullptr, page);
    ASSERT_FALSE(page->GetScriptCalls().empty());
    EXPECT_EQ(L"SetSelTextValues", page->GetScriptCalls()[0].name);
    EXPECT_EQ(L"dog", page->GetScriptCalls()[0].args[0]);

    CDlgHtmlPopup* first = m_frame->m_pHtmlPopup;
    ::DestroyWindow(m_frame->m_wndSearchBar.m_hWnd);
    ASSERT_FALSE(m_frame->m_wndSearchBar.IsWindow());
    m_frame->ShowTextSearchPopup();
    EXPECT_EQ(first, m_frame->m_pHtmlPopup);
}

// A popup whose mode saves its page writes the page back whole on close:
// characters cp932 lacks as character references, and a failed write
// reported with the last good file kept.
TEST_F(HtmlPopupTest, ClosingASavingPopupKeepsEveryCharacterAndReportsAFailedWrite)
{
    const std::string path = m_folder->File("Favorite\\notes.htm");
    m_folder->WriteBytes("Favorite/notes.htm", "old");
    // "メモ", e acute, a Hangul syllable and a character beyond the BMP.
    TestWebBrowser::SetPageHtml(VaWideFromAnsi(path.c_str()),
                                L"<html><body><p>\u30E1\u30E2 \u00E9\uD55C\U0001D11E</p></body></html>");
    m_frame->m_pHtmlPopup = new CDlgHtmlPopup;
    m_frame->m_pHtmlPopup->m_mode = 3;
    m_frame->m_pHtmlPopup->m_pagePath = path.c_str();
    ASSERT_TRUE(m_frame->m_pHtmlPopup->Create(kHtmlPopupTemplate, m_frame));
    TestWebBrowser::Settle();
    HWND popup = m_frame->m_pHtmlPopup->m_hWnd;
    ::SendMessageA(popup, WM_CLOSE, 0, 0);
    const std::string saved = m_folder->ReadBytes("Favorite/notes.htm");
    EXPECT_NE(std::string::npos, saved.find("<p>\x83\x81\x83\x82 &#233;&#54620;&#119070;</p>")) << saved;

    CAtomicTextFile::InjectFault(CAtomicTextFile::kFailWrite);
    m_frame->m_pHtmlPopup->ShowWindow(SW_SHOW);
    AnswerNextMessageBox(IDOK);
    ::SendMessageA(popup, WM_CLOSE, 0, 0);
    CAtomicTextFile::InjectFault(CAtomicTextFile::kNoFault);
    EXPECT_TRUE(s_messageBoxSeen);
    EXPECT_TRUE(AllAnswered());
    EXPECT_EQ(saved, m_folder->ReadBytes("Favorite/notes.htm"));
}

class FavHtmlPaneTest : public HtmlPopupTest
{
protected:
    void SetUp() override
    {
        HtmlPopupTest::SetUp();
        m_pane = new CDlgFavHtml;
        ASSERT_TRUE(m_pane->Create(kFavHtmlTemplate, m_frame));
        for (TestWebBrowser* c : TestWebBrowser::GetInstances())
            if (::GetParent(c->GetControlWindow()) == m_pane->m_hWnd)
                m_control = c;
        ASSERT_NE(nullptr, m_control);
        m_pane->m_bPassNext = 0;
    }
    void TearDown() override
    {
        delete m_pane;
        HtmlPopupTest::TearDown();
    }
    // The pane's page posts the find-in-pages form; true when the pane
    // stayed on its page.
    bool PanePost(const std::string& body)
    {
        const std::wstring before = m_control->GetDocument()->GetUrl();
        PostForm(m_control, VaWideFromAnsi(AppFolders().GetProgramFolder() + "Favorite\\text_search.htm"), body);
        return m_control->GetDocument()->GetUrl() == before;
    }
    std::vector<std::wstring> FrameCalls(size_t frame)
    {
        std::vector<std::wstring> names;
        for (const auto& call : m_control->GetDocument()->GetFrames()[frame]->GetDocument()->GetScriptCalls())
            names.push_back(call.name);
        return names;
    }

    CDlgFavHtml* m_pane = nullptr;
    TestWebBrowser* m_control = nullptr;
};

TEST_F(FavHtmlPaneTest, TheFindFormSearchesFromTheSecondFrameOnAndAPageWithoutFramesGetsNothing)
{
    TestWebBrowser::SetPageHtml(L"http://f0.example/", kScriptedFrame);
    TestWebBrowser::SetPageHtml(L"http://f1.example/", kScriptedFrame);
    TestWebBrowser::SetPageHtml(L"http://f2.example/", kScriptedFrame);
    m_control->SetDocumentHtml(L"<iframe src=\"http://f0.example/\"></iframe><iframe src=\"http://f1.example/\">"
                               L"</iframe><iframe src=\"http://f2.example/\"></iframe>");
    ASSERT_EQ(3u, m_control->GetDocument()->GetFrames().size());
    EXPECT_TRUE(PanePost("text=dog&op=1"));
    const std::vector<std::wstring> found = { L"SetTextAreaAll", L"setURL", L"sethWnd", L"SetFindText",
                                              L"SetFindResult" };
    EXPECT_TRUE(FrameCalls(0).empty());
    EXPECT_EQ(found, FrameCalls(1));
    EXPECT_EQ(found, FrameCalls(2));
    // Each frame's search marked the tab anew.
    EXPECT_EQ(2u, ControlOf(m_tab)->GetDocument()->FindByTag(L"SPAN").size());

    // Going to a hit reaches every frame; a tab whose page changed, none.
    const std::string hwnd = std::to_string(static_cast<int>(reinterpret_cast<INT_PTR>(m_tab->m_hFrame)));
    EXPECT_TRUE(PanePost("op=2&textres=1&url=http%3A%2F%2Fa.example%2F&hwnd=" + hwnd));
    EXPECT_EQ(L"SetNowPos", FrameCalls(1).back());
    EXPECT_EQ(L"SetNowPos", FrameCalls(2).back());
    EXPECT_TRUE(PanePost("op=2&textres=0&url=http%3A%2F%2Fb.example%2F&hwnd=" + hwnd));
    EXPECT_EQ(6u, FrameCalls(1).size());
    EXPECT_EQ(6u, FrameCalls(2).size());

    // No frames: no calls and no marks, and the pane stays on its page.
    m_control->SetDocumentHtml(kScriptedFrame);
    EXPECT_TRUE(PanePost("text=cat&op=1"));
    EXPECT_TRUE(m_control->GetDocument()->GetScriptCalls().empty());
    EXPECT_EQ(2u, ControlOf(m_tab)->GetDocument()->FindByTag(L"SPAN").size());
}

TEST_F(FavHtmlPaneTest, TheMiddleClickAndNewWindowsOpenTabsAndThePaneStays)
{
    m_control->SetDocumentHtml(L"<a id=\"l\" href=\"http://mid.example/\">mid</a>");
    m_control->GetDocument()->SetActiveElement(L"l");
    HWND control = m_control->GetControlWindow();
    MSG down = Message(control, WM_MBUTTONDOWN, MK_MBUTTON);
    MSG up = Message(control, WM_MBUTTONUP, 0);
    m_pane->m_statusText = "http://mid.example/";
    m_pane->PreTranslateMessage(&down);
    EXPECT_EQ(static_cast<UINT>(WM_RBUTTONDOWN), down.message);
    EXPECT_TRUE(m_pane->PreTranslateMessage(&up));
    Pump();
    ASSERT_EQ(2, BarCount());
    EXPECT_STREQ("http://mid.example/", BarTab(1)->m_url);
    // Released again without a press: swallowed, nothing opens.
    EXPECT_TRUE(m_pane->PreTranslateMessage(&up));
    Pump();
    EXPECT_EQ(2, BarCount());

    const TestWebBrowser::NewWindowResult opened = m_control->ScriptNewWindow(L"http://new.example/");
    EXPECT_FALSE(opened.cancelled);
    EXPECT_NE(nullptr, opened.pNewBrowser);
    Pump();
    EXPECT_EQ(3, BarCount());
    EXPECT_TRUE(::IsWindow(m_pane->m_hWnd));

    MSG repeat = Message(control, WM_KEYDOWN, 'A', 0x40000001);
    EXPECT_TRUE(m_pane->PreTranslateMessage(&repeat));
}

TEST_F(FavHtmlPaneTest, TheMouseOverThePaneRemembersItsFocusOrFocusesItsPage)
{
    AppSettings().iFocusMove = 1;
    m_control->SetDocumentHtml(L"<p>pane</p>");
    HWND control = m_control->GetControlWindow();
    MSG move = Message(control, WM_MOUSEMOVE, 0);
    ::SetForegroundWindow(m_frame->m_hWnd);
    ::SetFocus(ControlOf(m_tab)->GetControlWindow());
    ASSERT_EQ(ControlOf(m_tab)->GetControlWindow(), ::GetFocus());
    const int before = m_control->GetDocument()->GetFocusCount();
    m_pane->PreTranslateMessage(&move);
    EXPECT_EQ(before + 1, m_control->GetDocument()->GetFocusCount());
    EXPECT_EQ(nullptr, m_pane->m_hRememberedFocus);
}

// Each mode opens at its own remembered size and takes the size it is
// closed at; the modes that keep their page write it back on close, the
// others leave the file alone. A layered popup closed while inactive (shrunk
// to its caption) keeps its whole size.
TEST_F(HtmlPopupTest, EachModeOpensAtItsOwnSizeAndKeepsItsPageOnCloseWhenItSavesIt)
{
    struct Case
    {
        int mode;
        const char* file;
        bool pageSaved;
        uint16_t SettingsRecord::*height;
        uint16_t SettingsRecord::*width;
    };
    const Case cases[] = {
        {3, "find.htm", true, &SettingsRecord::POPUP_FIND_H, &SettingsRecord::POPUP_FIND_W},
        {5, "tr.htm", true, &SettingsRecord::POPUP_TR_H, &SettingsRecord::POPUP_TR_W},
        {0, "f2.htm", false, &SettingsRecord::POPUP_F2_H, &SettingsRecord::POPUP_F2_W},
    };
    SettingsRecord& s = AppSettings();
    auto open = [&](const Case& c) {
        auto* popup = new CDlgHtmlPopup(m_frame);
        popup->m_mode = c.mode;
        popup->m_pagePath = AppFolders().GetProgramFolder() + "Favorite\\" + c.file;
        EXPECT_TRUE(popup->Create(kHtmlPopupTemplate, m_frame));
        TestWebBrowser::Settle();
        return popup;
    };
    auto size = [](CDlgHtmlPopup* popup) {
        RECT rc = {};
        ::GetWindowRect(popup->m_hWnd, &rc);
        return std::make_pair(int(rc.right - rc.left), int(rc.bottom - rc.top));
    };
    for (bool layered : {false, true})
    {
        s.bPopUpNewStyle(layered);
        for (const Case& c : cases)
        {
            SCOPED_TRACE(testing::Message() << "mode " << c.mode << " layered " << layered);
            const std::string file = std::string("Favorite\\") + c.file;
            m_folder->WriteBytes(file, "<p>old</p>");
            const std::pair<int, int> others = {s.POPUP_MAP_W, s.POPUP_MAP_H};
            CDlgHtmlPopup* popup = open(c);
            EXPECT_EQ(std::make_pair(int(s.*c.width), int(s.*c.height)), size(popup));
            TestWebBrowser* control = nullptr;
            for (TestWebBrowser* b : TestWebBrowser::GetInstances())
                if (::GetParent(b->GetControlWindow()) == popup->m_hWnd)
                    control = b;
            ASSERT_NE(nullptr, control);
            control->SetDocumentHtml(L"<p>new</p>", control->GetDocument()->GetUrl());
            ::SetWindowPos(popup->m_hWnd, nullptr, 0, 0, 300 + c.mode, 280 + c.mode, SWP_NOMOVE | SWP_NOZORDER);
            if (layered)
                ::SendMessageA(popup->m_hWnd, WM_NCACTIVATE, FALSE, 0);
            ::SendMessageA(popup->m_hWnd, WM_CLOSE, 0, 0);
            EXPECT_EQ(300 + c.mode, s.*c.width);
            EXPECT_EQ(280 + c.mode, s.*c.height);
            EXPECT_EQ(others, std::make_pair(int(s.POPUP_MAP_W), int(s.POPUP_MAP_H)));
            EXPECT_EQ(c.pageSaved, m_folder->ReadBytes(file).find("new") != std::string::npos);
            delete popup;
            popup = open(c);
            EXPECT_EQ(std::make_pair(300 + c.mode, 280 + c.mode), size(popup));
            delete popup;
        }
    }
    s.bPopUpNewStyle(false);
}

namespace {

// Whether the page tab bar was held when the frame of a new tab was made.
CPageTabBar* s_watchedBar = nullptr;
int s_heldAtNewTab = -1;

LRESULT CALLBACK WatchNewTabs(int code, WPARAM wParam, LPARAM lParam)
{
    auto* create = reinterpret_cast<CBT_CREATEWNDA*>(lParam);
    if (code == HCBT_CREATEWND && s_watchedBar != nullptr && create->lpcs->hwndParent == g_pMainFrame->m_hWndMDIClient)
        s_heldAtNewTab = s_watchedBar->IsUpdating() ? 1 : 0;
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

// In mode 0 the favorites bar hosts the page pane: it writes the missing
// history page and shows the favorites index, leaves its background to its
// control, and with new groups for links opens a link in a new group while
// the page tab bar stays hidden, and stays.
TEST_F(HtmlPopupTest, TheFavoritesBarInModeZeroHostsThePagePane)
{
    AppSettings().iDocFavMode = 0;
    m_folder->WriteBytes("Favorite\\index.htm", "<p>favorites</p>");
    CFavoritesBar bar;
    ASSERT_TRUE(bar.Create("F", m_frame, CSize(150, 300), 0xE833));
    AppSettings().iDocFavMode = 1;
    CDlgFavHtml* pane = bar.GetPagePane();
    ASSERT_NE(nullptr, pane);
    EXPECT_EQ(bar.m_hWnd, ::GetParent(pane->m_hWnd));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(m_folder->File("Favorite\\history.htm").c_str()));
    TestWebBrowser::Settle();
    TestWebBrowser* control = nullptr;
    for (TestWebBrowser* b : TestWebBrowser::GetInstances())
        if (::GetParent(b->GetControlWindow()) == pane->m_hWnd)
            control = b;
    ASSERT_NE(nullptr, control);
    EXPECT_NE(std::wstring::npos, control->GetDocument()->GetUrl().find(L"index.htm"));
    EXPECT_EQ(1u, control->GetDocument()->FindByTag(L"P").size());

    HDC hScreen = ::GetDC(nullptr);
    HDC hDC = ::CreateCompatibleDC(hScreen);
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreen, 4, 4);
    ::ReleaseDC(nullptr, hScreen);
    HGDIOBJ hOld = ::SelectObject(hDC, hBitmap);
    ::SetPixelV(hDC, 1, 1, RGB(255, 0, 255));
    EXPECT_EQ(1, ::SendMessageA(pane->m_hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hDC), 0));
    EXPECT_EQ(RGB(255, 0, 255), ::GetPixel(hDC, 1, 1));
    ::SelectObject(hDC, hOld);
    ::DeleteObject(hBitmap);
    ::DeleteDC(hDC);

    AppSettings().iParentTabNewRule |= 0x100;
    const int groups = theApp.GetGroupCount();
    s_watchedBar = m_frame->m_pPageTabBar;
    s_heldAtNewTab = -1;
    HHOOK hook = ::SetWindowsHookExA(WH_CBT, WatchNewTabs, nullptr, ::GetCurrentThreadId());
    PostForm(control, L"http://pane-link.example/", "");
    ::UnhookWindowsHookEx(hook);
    s_watchedBar = nullptr;
    Pump();
    EXPECT_EQ(groups + 1, theApp.GetGroupCount());
    ASSERT_NE(nullptr, Active());
    EXPECT_STREQ("http://pane-link.example/", Active()->m_url);
    EXPECT_EQ(1, s_heldAtNewTab);
    EXPECT_FALSE(m_frame->m_pPageTabBar->IsUpdating());
    EXPECT_TRUE(::IsWindowVisible(m_frame->m_pPageTabBar->m_hWnd));
    EXPECT_TRUE(::IsWindow(pane->m_hWnd));
}
