// The frame's commands: opening pages, closing runs of tabs, the clipboard
// and the page-selection commands.
#include <windows.h>

#include <string>
#include <vector>

#include "app/MainFrame.h"
#include "app/VantorelApp.h"
#include "shared/AppData.h"
#include "shared/AppSettings.h"
#include "shared/CommandIds.h"
#include "tab/BrowserView.h"
#include "tab/ChildFrame.h"
#include "tab/TabGroup.h"
#include "tab/TabItem.h"
#include "app/tests/TabFixture.h"
#include "tests/support/TestHtmlDocument.h"

namespace {

void SetClipboardText(HWND owner, const char* text)
{
    ASSERT_TRUE(::OpenClipboard(owner));
    ::EmptyClipboard();
    if (text != nullptr) {
        const size_t length = strlen(text) + 1;
        HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, length);
        memcpy(::GlobalLock(block), text, length);
        ::GlobalUnlock(block);
        ::SetClipboardData(CF_TEXT, block);
    }
    ::CloseClipboard();
}

CString ClipboardText(HWND owner)
{
    CString text;
    if (!::OpenClipboard(owner))
        return text;
    HANDLE data = ::GetClipboardData(CF_TEXT);
    if (data != nullptr) {
        text = static_cast<const char*>(::GlobalLock(data));
        ::GlobalUnlock(data);
    }
    ::CloseClipboard();
    return text;
}

} // namespace

TEST_F(TabTest, FrameOpenCommandsWithoutATab)
{
    SetClipboardText(m_frame->m_hWnd, "  ttps://clip.example/ ");
    ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, ID_TAB_NEWCLIPBOARD, 0);
    Pump();
    ASSERT_NE(nullptr, Active());
    EXPECT_STREQ("https://clip.example/", Active()->m_url);
    CTabGroup* group = Active()->m_pGroup;
    // No text: nothing opens.
    SetClipboardText(m_frame->m_hWnd, nullptr);
    m_frame->CloseAllGroupsNow();
    Pump();
    ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, ID_TAB_NEWCLIPBOARD, 0);
    Pump();
    EXPECT_EQ(0, theApp.GetGroupCount());
    (void)group;
    AppSettings().CtrlN = 3;
    ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, ID_FILE_NEWTAB, 0);
    Pump();
    ASSERT_NE(nullptr, Active());
    EXPECT_STREQ("about:blank", Active()->m_url);
}

TEST_F(TabTest, CloseRightOfTheLastTabClosesNothingAndCloseLeftStopsAtTheActive)
{
    Open(nullptr, "http://1.example/");
    Open(nullptr, "http://2.example/");
    CTabItem* third = Open(nullptr, "http://3.example/");
    CTabItem* fourth = Open(nullptr, "http://4.example/");
    CTabGroup* group = third->m_pGroup;
    ASSERT_EQ(fourth, Active());
    ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, ID_TAB_CLOSERIGHT, 0);
    Pump();
    EXPECT_EQ(4, group->GetTabCount());
    ::BringWindowToTop(third->m_hFrame);
    Pump();
    ASSERT_EQ(third, Active());
    ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, ID_TAB_CLOSELEFT, 0);
    Pump();
    ASSERT_EQ(2, group->GetTabCount());
    EXPECT_EQ(third, group->GetTab(0));
    ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, ID_TAB_CLOSERIGHT, 0);
    Pump();
    ASSERT_EQ(1, group->GetTabCount());
    EXPECT_EQ(third, group->GetTab(0));
}

TEST_F(TabTest, ClosingAllTabsOfTheGroupAsksFirst)
{
    CTabItem* tab = Open(nullptr, "http://1.example/");
    const HWND first = tab->m_hFrame;
    const HWND second = Open(nullptr, "http://2.example/")->m_hFrame;
    CTabGroup* group = tab->m_pGroup;
    AnswerNextMessageBox(IDNO);
    ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, ID_GROUP_CLOSETABS, 0);
    Pump();
    EXPECT_TRUE(AllAnswered());
    EXPECT_EQ(2, group->GetTabCount());
    AnswerNextMessageBox(IDYES);
    ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, ID_GROUP_CLOSETABS, 0);
    Pump();
    EXPECT_TRUE(AllAnswered());
    // (An emptied group may show its default page again.)
    EXPECT_FALSE(::IsWindow(first));
    EXPECT_FALSE(::IsWindow(second));
}

TEST_F(TabTest, BrowserCommandsWithoutATabReportFailure)
{
    EXPECT_FALSE(m_frame->ExecBrowserCommand(OLECMDID_COPY, FALSE));
}

TEST_F(TabTest, KeywordOpenedAsUrlLosesItsLineBreaksOnlyWhenItIsOne)
{
    theApp.m_pendingKeyword = "ttp://a.example/lo\r\nng";
    ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, ID_PAGE_OPENASURL, 0);
    Pump();
    ASSERT_NE(nullptr, Active());
    EXPECT_STREQ("http://a.example/long", Active()->m_url);
    EXPECT_TRUE(theApp.m_pendingKeyword.IsEmpty());
    theApp.m_pendingKeyword = "C:\\dir\r\n\\file.htm";
    m_frame->CompleteUrlScheme();
    Pump();
    EXPECT_STREQ("C:\\dir\\file.htm", Active()->m_url);
    // Nothing to open: nothing opens.
    const int groups = theApp.GetGroupCount();
    m_frame->CompleteUrlScheme();
    EXPECT_EQ(groups, theApp.GetGroupCount());
}

TEST_F(TabTest, DictionaryUsesTheFirstTagOfItsTemplate)
{
    m_folder->WriteBytes("String/url.dat", "\r\n\r\n\r\n\r\n\r\n\r\nhttp://dict.example/?e=<EUC>&u=<UTF8>\r\n");
    AppStrings().SetFolder(AppFolders().GetStringFolder());
    theApp.m_pendingKeyword = "\x88\xA4";  // "愛"
    ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, ID_PAGE_DICTIONARY, 0);
    Pump();
    ASSERT_NE(nullptr, Active());
    EXPECT_STREQ("http://dict.example/?e=<EUC>&u=%E6%84%9B", Active()->m_url);
    EXPECT_STREQ("\x88\xA4", theApp.m_lastSearchKeyword);
    EXPECT_TRUE(theApp.m_pendingKeyword.IsEmpty());
}

TEST_F(TabTest, SelectionSearchUsesTheCurrentEngineAndNoKeywordMakesNoUrl)
{
    CSearchEngineNode* engine = m_frame->m_searchEngines.GetCurrentEngine();
    ASSERT_NE(nullptr, engine);
    theApp.m_pendingKeyword = "word";
    ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, ID_PAGE_SEARCH, 0);
    Pump();
    ASSERT_NE(nullptr, Active());
    EXPECT_EQ(m_frame->BuildSearchUrl("word", engine->m_url), Active()->m_url);
    EXPECT_STREQ("word", theApp.m_lastSearchKeyword);
    // Without a keyword the URL stays as it was.
    theApp.m_pendingKeyword.Empty();
    CString url = "kept";
    m_frame->BuildKeywordSearchUrl(url);
    EXPECT_STREQ("kept", url);
}

TEST_F(TabTest, TextOnlyCopyPutsTheKeywordOnTheClipboard)
{
    theApp.m_pendingKeyword = "copied \x83\x81 text";
    // Away from the address box, which has the focus from the start and
    // would copy its own selection.
    ::SetFocus(m_frame->m_hWndMDIClient);
    ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, ID_PAGE_COPYTEXT, 0);
    EXPECT_STREQ("copied \x83\x81 text", ClipboardText(m_frame->m_hWnd));
}

TEST_F(TabTest, BrowserCommandsRunOnThePagesDocumentAndCountOnlyWhenTheyRan)
{
    CTabItem* tab = Open(nullptr, "http://a.example/");
    TestWebBrowser* control = ControlOf(tab);
    control->SetDocumentHtml(L"<p>text</p>");
    TestHtmlDocument* document = control->GetDocument();
    ASSERT_NE(nullptr, document);
    ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, ID_FILE_PRINT_PAGE, 0);
    ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, ID_EDIT_VIEWSOURCE, 0);
    ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, ID_EDIT_COPY, 0);
    const std::vector<TestHtmlDocument::ExecCall>& calls = document->GetExecCalls();
    ASSERT_EQ(3u, calls.size());
    EXPECT_FALSE(calls[0].hasGroup);
    EXPECT_EQ(static_cast<DWORD>(OLECMDID_PRINT), calls[0].id);
    // View source is command 2 of the document host's group.
    const GUID docHost = {0xED016940, 0xBD5B, 0x11CF, {0xBA, 0x4E, 0x00, 0xC0, 0x4F, 0xD7, 0x08, 0x16}};
    EXPECT_TRUE(calls[1].hasGroup);
    EXPECT_TRUE(IsEqualGUID(docHost, calls[1].group));
    EXPECT_EQ(2u, calls[1].id);
    EXPECT_EQ(static_cast<DWORD>(OLECMDID_COPY), calls[2].id);
    // A refused command is no success.
    document->SetExecResult(E_FAIL);
    EXPECT_FALSE(m_frame->ExecBrowserCommand(OLECMDID_SELECTALL, FALSE));
    document->SetExecResult(S_OK);
    EXPECT_TRUE(m_frame->ExecBrowserCommand(OLECMDID_SELECTALL, FALSE));
}

namespace {

// What a test asks of the engine menu while it shows, and what it saw.
struct EngineMenuRun
{
    HWND document = nullptr;
    const CWnd* hook = nullptr;
    LONG_PTR originalProc = 0;
    int downKeys = 0;  // items to walk down before Enter; -1: up once; 0: dismiss
    bool destroyDocument = false;
    bool shown = false;
    bool hooked = false;
    int items = -1;
    UINT lastId = 0;
    CString lastText;
};

EngineMenuRun s_engineMenu;

void CALLBACK DriveEngineMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND menuWindow = ShownPopupMenu();
    if (menuWindow == nullptr)
        return;
    ::KillTimer(nullptr, id);
    EngineMenuRun& run = s_engineMenu;
    run.shown = true;
    run.hooked = CWnd::FromHandlePermanent(run.document) == run.hook &&
                 ::GetWindowLongPtrA(run.document, GWLP_WNDPROC) != run.originalProc;
    HMENU menu = reinterpret_cast<HMENU>(::SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
    run.items = ::GetMenuItemCount(menu);
    run.lastId = ::GetMenuItemID(menu, run.items - 1);
    char text[128] = {};
    ::GetMenuStringA(menu, static_cast<UINT>(run.items - 1), text, sizeof(text), MF_BYPOSITION);
    run.lastText = text;
    if (run.destroyDocument) {
        ::DestroyWindow(run.document);
        ::EndMenu();
    } else if (run.downKeys == 0) {
        ::EndMenu();
    } else {
        for (int i = 0; i < run.downKeys; ++i)
            ::PostMessageA(menuWindow, WM_KEYDOWN, VK_DOWN, 0);
        if (run.downKeys < 0)
            ::PostMessageA(menuWindow, WM_KEYDOWN, VK_UP, 0);
        ::PostMessageA(menuWindow, WM_KEYDOWN, VK_RETURN, 0);
    }
}

// WM_COMMAND ids posted to the window, removed.
std::vector<UINT> TakePostedCommands(HWND hWnd)
{
    std::vector<UINT> ids;
    MSG msg;
    while (::PeekMessageA(&msg, hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE))
        ids.push_back(LOWORD(msg.wParam));
    return ids;
}

} // namespace

// The engine's own menu resource does not exist here: a menu of two items
// stands in for it.
TEST_F(TabTest, EngineMenuHooksTheDocumentWindowWhileItShowsAndHandsTheChoiceOn)
{
    CTabItem* tab = Open(nullptr, "http://a.example/");
    TestWebBrowser* control = ControlOf(tab);
    TestHtmlDocument* document = control->GetDocument();
    const HWND window = control->GetDocumentWindow();
    ASSERT_TRUE(document != nullptr && window != nullptr);
    const LONG_PTR original = ::GetWindowLongPtrA(window, GWLP_WNDPROC);
    CBrowserView& view = *tab->m_pView;
    view.m_ptContextMenu = {200, 200};
    m_frame->SetForegroundWindow();
    auto track = [&](int downKeys, bool destroyDocument = false) {
        s_engineMenu = EngineMenuRun();
        s_engineMenu.document = window;
        s_engineMenu.hook = &m_frame->m_menuWindowHook;
        s_engineMenu.originalProc = original;
        s_engineMenu.downKeys = downKeys;
        s_engineMenu.destroyDocument = destroyDocument;
        HMENU popup = ::CreatePopupMenu();
        ::AppendMenuA(popup, MF_STRING, 2001, "one");
        ::AppendMenuA(popup, MF_STRING, 2002, "two");
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, DriveEngineMenu);
        m_frame->TrackEngineMenu(view, popup);
        ::KillTimer(nullptr, timer);
        ::DestroyMenu(popup);
        // Released on every path.
        EXPECT_EQ(nullptr, m_frame->m_menuWindowHook.GetSafeHwnd());
        EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(window));
        if (::IsWindow(window)) {
            EXPECT_EQ(original, ::GetWindowLongPtrA(window, GWLP_WNDPROC));
        }
    };

    // The second item: sent to the document window, through the hook.
    track(2);
    EXPECT_TRUE(s_engineMenu.hooked);
    EXPECT_EQ(4, s_engineMenu.items);
    EXPECT_EQ(static_cast<UINT>(ID_PAGE_SELECTIONMENU), s_engineMenu.lastId);
    EXPECT_EQ(AppStrings().GetEtcText(70), s_engineMenu.lastText);
    const GUID shellDocView = {0x000214D1, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
    const std::vector<TestHtmlDocument::ExecCall>& calls = document->GetExecCalls();
    ASSERT_EQ(2u, calls.size());
    EXPECT_TRUE(IsEqualGUID(shellDocView, calls[0].group));
    EXPECT_EQ(27u, calls[0].id);
    EXPECT_TRUE(IsEqualGUID(shellDocView, calls[1].group));
    EXPECT_EQ(53u, calls[1].id);
    EXPECT_EQ(std::vector<UINT>{2002}, control->GetDocumentCommands());
    EXPECT_TRUE(TakePostedCommands(m_frame->m_hWnd).empty());

    // The selection menu's item goes to the frame, not to the page.
    track(-1);
    EXPECT_TRUE(s_engineMenu.hooked);
    EXPECT_EQ(std::vector<UINT>{ID_PAGE_SELECTIONMENU}, TakePostedCommands(m_frame->m_hWnd));
    EXPECT_EQ(1u, control->GetDocumentCommands().size());

    // Dismissed: nothing to anyone.
    track(0);
    EXPECT_TRUE(s_engineMenu.shown);
    EXPECT_TRUE(TakePostedCommands(m_frame->m_hWnd).empty());
    EXPECT_EQ(1u, control->GetDocumentCommands().size());

    // A document that cannot fill the menu shows none.
    document->SetExecResult(E_FAIL);
    track(2);
    EXPECT_FALSE(s_engineMenu.shown);
    document->SetExecResult(S_OK);

    // The window going while the menu shows takes the hook with it.
    track(0, true);
    EXPECT_TRUE(s_engineMenu.hooked);
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(1u, control->GetDocumentCommands().size());
}
