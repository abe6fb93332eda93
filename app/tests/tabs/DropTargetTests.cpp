// The frame's and the page's drop targets, fed hand-made data objects.
#include <windows.h>
#include <shlobj.h>

#include <string>
#include <utility>
#include <vector>

#include "app/MainFrame.h"
#include "app/VantorelApp.h"
#include "framework/ole/OleObject.h"
#include "shared/AppData.h"
#include "shared/AppSettings.h"
#include "shared/FrameMessages.h"
#include "shared/WidePath.h"
#include "tab/BrowserView.h"
#include "tab/DropTargets.h"
#include "tab/TabGroup.h"
#include "tab/TabItem.h"
#include "app/tests/TabFixture.h"
#include "tests/support/TestDataObject.h"
#include "tests/support/TestHtmlDocument.h"
#include "tests/support/WideFiles.h"

namespace {

// The page's own target: records the calls it hears.
class RecordingTarget : public CHeapObject<IDropTarget, IID_IDropTarget>
{
public:
    STDMETHOD(DragEnter)(IDataObject*, DWORD, POINTL, DWORD* effect) override
    {
        m_calls += "enter ";
        *effect = DROPEFFECT_COPY;
        return S_OK;
    }
    STDMETHOD(DragOver)(DWORD, POINTL, DWORD* effect) override
    {
        m_calls += "over ";
        *effect = DROPEFFECT_COPY;
        return S_OK;
    }
    STDMETHOD(DragLeave)() override
    {
        m_calls += "leave ";
        return S_OK;
    }
    STDMETHOD(Drop)(IDataObject*, DWORD, POINTL, DWORD* effect) override
    {
        m_calls += "drop ";
        *effect = DROPEFFECT_COPY;
        return S_OK;
    }
    std::string m_calls;
};

// What the main window was sent, through a hook on this thread's sends.
struct SentDrop
{
    UINT msg;
    WPARAM wParam;
    std::string text;
};
std::vector<SentDrop> g_sent;
HHOOK g_hook = nullptr;

LRESULT CALLBACK RecordSends(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* p = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && g_pMainFrame != nullptr && p->hwnd == g_pMainFrame->m_hWnd)
    {
        if (p->message == WM_FRAME_DROPTEXT)
            g_sent.push_back({ p->message, p->wParam, reinterpret_cast<const char*>(p->lParam) });
        else if (p->message == WM_DROPFILES)
            g_sent.push_back({ p->message, p->wParam, "" });
    }
    return ::CallNextHookEx(g_hook, code, wParam, lParam);
}

class DropTargetTest : public TabTest
{
protected:
    void SetUp() override
    {
        TabTest::SetUp();
        g_sent.clear();
        g_hook = ::SetWindowsHookExA(WH_CALLWNDPROC, &RecordSends, nullptr, ::GetCurrentThreadId());
        m_tab = Open(nullptr, "http://a.example/");
        ASSERT_NE(nullptr, m_tab);
        AppSettings().bSuperDnD(true);
        AppSettings().iMouseGSence = 20;
        m_page = new RecordingTarget;
        IDropTarget* pAnswer = nullptr;
        ASSERT_EQ(S_OK, ControlOf(m_tab)->OfferDropTarget(m_page, &pAnswer));
        m_target = pAnswer;
    }
    void TearDown() override
    {
        if (m_target != nullptr)
            m_target->Release();
        m_page->Release();
        ::UnhookWindowsHookEx(g_hook);
        TabTest::TearDown();
    }
    // A drag from (100, 300) to (100, 300 - up), dropped there.
    DWORD Drag(IDataObject* data, DWORD allowed, int up)
    {
        DWORD effect = allowed;
        m_target->DragEnter(data, 0, { 100, 300 }, &effect);
        effect = allowed;
        m_target->DragOver(0, { 100, 300 - up }, &effect);
        m_overEffect = effect;
        effect = allowed;
        m_target->Drop(data, 0, { 100, 300 - up }, &effect);
        return effect;
    }

    CTabItem* m_tab = nullptr;
    RecordingTarget* m_page = nullptr;
    IDropTarget* m_target = nullptr;
    DWORD m_overEffect = 0;
};

const DWORD kAll = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
// What a text selection offers.
const DWORD kCopyMove = DROPEFFECT_COPY | DROPEFFECT_MOVE;

} // namespace

TEST_F(DropTargetTest, TextDraggedUpSearchesUpAndNeverMovesTheText)
{
    auto* data = new CTestDataObject;
    data->AddText("keyword");
    // A source that allows moves would delete the text on an answer of move.
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_COPY), Drag(data, kCopyMove, 30));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_COPY), m_overEffect);
    ASSERT_EQ(1u, g_sent.size());
    EXPECT_EQ(static_cast<UINT>(WM_FRAME_DROPTEXT), g_sent[0].msg);
    EXPECT_EQ(static_cast<WPARAM>(kDropUp), g_sent[0].wParam);
    EXPECT_EQ("keyword", g_sent[0].text);
    // The page heard the drag and that it left: the program took the drop.
    EXPECT_EQ("enter over leave ", m_page->m_calls);
    data->Release();
}

TEST_F(DropTargetTest, ALinkShowsNoDirectionAndDropsWithModeOne)
{
    auto* data = new CTestDataObject;
    data->AddText("http://x.example/");
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_LINK), Drag(data, DROPEFFECT_LINK, 60));
    ASSERT_EQ(1u, g_sent.size());
    EXPECT_EQ(static_cast<WPARAM>(kDropNone), g_sent[0].wParam);
    data->Release();
}

TEST_F(DropTargetTest, AUrlWithoutTextGoesOutAsDroppedTextNotAsFiles)
{
    auto* data = new CTestDataObject;
    data->AddUrl("http://u.example/");
    Drag(data, kAll, 0);
    ASSERT_EQ(1u, g_sent.size());
    EXPECT_EQ(static_cast<UINT>(WM_FRAME_DROPTEXT), g_sent[0].msg);
    EXPECT_EQ("http://u.example/", g_sent[0].text);
    data->Release();
}

TEST_F(DropTargetTest, ADropOnATextFieldGoesToThePage)
{
    ControlOf(m_tab)->SetDocumentHtml(L"<input id=\"q\" type=\"text\">", L"http://a.example/");
    POINT client = { 100, 270 };
    ::ScreenToClient(m_tab->m_pView->m_hWnd, &client);
    ControlOf(m_tab)->GetDocument()->SetElementAtPoint(client.x, client.y, L"q");
    auto* data = new CTestDataObject;
    data->AddText("typed");
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_COPY), Drag(data, kAll, 30));
    EXPECT_TRUE(g_sent.empty());
    EXPECT_EQ("enter over drop ", m_page->m_calls);
    data->Release();
}

TEST_F(DropTargetTest, AShortcutFileDroppedWithEveryEffectOpensItsUrlAndOnlyTheFirst)
{
    const std::string folder(AppFolders().GetProgramFolder());
    const std::string first = folder + "first.url";
    const std::string second = folder + "second.url";
    for (const auto& f : { std::make_pair(first, "http://first.example/"),
                           std::make_pair(second, "http://second.example/") })
    {
        FILE* out = fopen(f.first.c_str(), "w");
        ASSERT_NE(nullptr, out);
        fprintf(out, "[InternetShortcut]\nURL=%s\n", f.second);
        fclose(out);
    }
    auto* data = new CTestDataObject;
    data->AddFiles({ first, second });
    Drag(data, kAll, 0);
    TestWebBrowser::Settle();
    EXPECT_TRUE(g_sent.empty());
    EXPECT_STREQ("http://first.example/", m_tab->m_url);

    // With fewer effects the files go to the main window as a file list.
    Drag(data, DROPEFFECT_COPY, 0);
    ASSERT_EQ(1u, g_sent.size());
    EXPECT_EQ(static_cast<UINT>(WM_DROPFILES), g_sent[0].msg);
    data->Release();
}

namespace {

std::wstring s_boxText;
void ReadBoxText()
{
    s_boxText = ShownMessageText();
}

} // namespace

// Regression: the names were read in the code page with its best fit, so
// "résumé.html" opened "resume.html" and a Korean name named no file. A name
// that no path reaches is named in a message, and the page stays.
TEST_F(DropTargetTest, FilesWithNamesBeyondTheCodePageOpenThoseFilesInThePage)
{
    const std::wstring folder = WidePath::FromAnsi(AppFolders().GetProgramFolder());
    const std::wstring accented = folder + L"r\u00E9sum\u00E9.html";
    const std::wstring hangul = folder + L"\uD55C.html";
    const std::wstring shortcut = folder + L"\uD55C \uD398\uC774\uC9C0.url";
    const std::wstring lost = folder + L"\uD55C\uAD6D\\\uD55C.html";
    ASSERT_TRUE(WriteWideFile(folder + L"resume.html", "plain"));
    ASSERT_TRUE(WriteWideFile(accented, "accented"));
    ASSERT_TRUE(WriteWideFile(hangul, "hangul"));
    ASSERT_TRUE(WriteWideFile(shortcut, "[InternetShortcut]\r\nURL=http://ko.example/\r\n"));
    const struct
    {
        std::vector<std::wstring> files;
        const char* content;  // of the file the page shows; null: its address is url
        const char* url;
        bool named;           // a message names the first file
    } kCases[] = {
        { { accented }, "accented", nullptr, false },
        { { hangul, accented }, "hangul", nullptr, false },
        { { shortcut }, nullptr, "http://ko.example/", false },
        { { lost }, nullptr, "http://a.example/", true },
        { { lost, accented }, "accented", nullptr, true },
    };
    for (const auto& c : kCases)
    {
        m_tab->m_pView->Navigate("http://a.example/");
        TestWebBrowser::Settle();
        auto* data = new CTestDataObject;
        data->AddWideFiles(c.files);
        s_boxText.clear();
        AnswerNextMessageBox(IDOK, ReadBoxText);
        Drag(data, kAll, 0);
        // The program the files came from waits while Drop runs: no box
        // shows before it returned.
        EXPECT_FALSE(s_messageBoxSeen);
        TestWebBrowser::Settle();
        const std::string shown(m_tab->m_url);
        if (c.content != nullptr)
            EXPECT_EQ(c.content, ReadAnsiPathFile(shown.c_str())) << shown;
        else
            EXPECT_EQ(c.url, shown);
        EXPECT_EQ(c.named, AnsweredWithin(c.named ? 5000 : 200)) << shown;
        EXPECT_EQ(c.named, s_boxText.find(c.files[0]) != std::wstring::npos) << shown;
        EXPECT_TRUE(g_sent.empty());
        data->Release();
    }
}

// Regression: the box naming such a file showed inside Drop, through the
// file list sent to the main window as well, so the program the files were
// dragged from hung until the user answered it.
TEST_F(DropTargetTest, AFileNoPathReachesIsNamedOnlyAfterTheDropReturned)
{
    const std::wstring lost = WidePath::FromAnsi(AppFolders().GetProgramFolder()) + L"\uD55C\uAD6D\\\uD55C.html";
    const struct
    {
        IDropTarget* target;
        DWORD allowed;
    } kCases[] = {
        { m_target, kAll },                                       // read by the page's target
        { m_target, DROPEFFECT_COPY },                            // sent on as WM_DROPFILES
        { m_frame->m_pFrameDropTarget, kAll },                    // the frame's target
    };
    for (const auto& c : kCases)
    {
        auto* data = new CTestDataObject;
        data->AddWideFiles({ lost });
        s_boxText.clear();
        AnswerNextMessageBox(IDOK, ReadBoxText);
        DWORD effect = c.allowed;
        c.target->DragEnter(data, 0, { 100, 300 }, &effect);
        effect = c.allowed;
        c.target->Drop(data, 0, { 100, 300 }, &effect);
        EXPECT_FALSE(s_messageBoxSeen) << c.allowed;
        EXPECT_TRUE(AnsweredWithin(5000)) << c.allowed;
        EXPECT_NE(std::wstring::npos, s_boxText.find(lost)) << c.allowed;
        data->Release();
    }
}

TEST_F(DropTargetTest, WithoutSuperDragThePageHandlesEverything)
{
    AppSettings().bSuperDnD(false);
    auto* data = new CTestDataObject;
    data->AddText("keyword");
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_COPY), Drag(data, kAll, 30));
    EXPECT_TRUE(g_sent.empty());
    EXPECT_EQ("enter over drop ", m_page->m_calls);
    data->Release();
}

TEST_F(DropTargetTest, OnlyTheFirstOfferedPageTargetIsKept)
{
    auto* other = new RecordingTarget;
    IDropTarget* pAnswer = nullptr;
    ASSERT_EQ(S_OK, ControlOf(m_tab)->OfferDropTarget(other, &pAnswer));
    EXPECT_EQ(m_target, pAnswer);
    pAnswer->Release();
    auto* data = new CTestDataObject;
    data->AddText("x");
    Drag(data, kAll, 0);
    EXPECT_EQ("", other->m_calls);
    other->Release();
    data->Release();
}

TEST_F(DropTargetTest, TextOnTheFrameGoesOutWithModeOne)
{
    auto* data = new CTestDataObject;
    data->AddText("frame text");
    IDropTarget* frame = m_frame->m_pFrameDropTarget;
    ASSERT_NE(nullptr, frame);
    DWORD effect = kAll;
    frame->DragEnter(data, 0, { 5, 5 }, &effect);
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_LINK), effect);
    effect = kAll;
    frame->Drop(data, 0, { 5, 5 }, &effect);
    ASSERT_EQ(1u, g_sent.size());
    EXPECT_EQ(static_cast<WPARAM>(kDropNone), g_sent[0].wParam);
    EXPECT_EQ("frame text", g_sent[0].text);
    data->Release();
}

// Regression: a negative angle lost its fraction before the full turn was
// added, so the bands 44-45 degrees below right and 135-136 below left fell
// into the neighbouring sectors (screen dy grows downwards).
TEST(DropMode, SectorsFollowTheGestureAngles)
{
    EXPECT_EQ(kDropRight, DropModeOfMove(30, 0));
    EXPECT_EQ(kDropUp, DropModeOfMove(0, -30));
    EXPECT_EQ(kDropLeft, DropModeOfMove(-30, 0));
    EXPECT_EQ(kDropDown, DropModeOfMove(0, 30));
    EXPECT_EQ(kDropDown, DropModeOfMove(30, 29));
    EXPECT_EQ(kDropDown, DropModeOfMove(1000, 983));
    EXPECT_EQ(kDropRight, DropModeOfMove(1000, 960));
    EXPECT_EQ(kDropLeft, DropModeOfMove(-1000, 983));
    EXPECT_EQ(kDropDown, DropModeOfMove(-983, 1000));
    EXPECT_EQ(kDropUp, DropModeOfMove(1000, -1017));
    EXPECT_EQ(kDropRight, DropModeOfMove(1000, -983));
}

namespace {

// A drop from another program: OLE calls the target inside a message that
// another thread sent to this one.
struct ForeignDrop
{
    HWND window;
    IDropTarget* target;
    IDataObject* data;
    DWORD effect;
    LRESULT inSend;
};

LRESULT CALLBACK ForeignDropProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg != WM_APP)
        return ::DefWindowProcA(hWnd, msg, wParam, lParam);
    ForeignDrop& drop = *reinterpret_cast<ForeignDrop*>(lParam);
    const DWORD allowed = drop.effect;
    drop.target->DragEnter(drop.data, 0, { 100, 300 }, &drop.effect);
    drop.effect = allowed;
    drop.target->Drop(drop.data, 0, { 100, 300 }, &drop.effect);
    return ::InSendMessage();
}

DWORD WINAPI SendForeignDrop(void* param)
{
    ForeignDrop& drop = *static_cast<ForeignDrop*>(param);
    drop.inSend = ::SendMessageA(drop.window, WM_APP, 0, reinterpret_cast<LPARAM>(&drop));
    return 0;
}

// The drop's effect; this thread serves the second thread's send meanwhile.
DWORD DropFromAnotherThread(IDropTarget* target, IDataObject* data, DWORD allowed)
{
    HWND window = ::CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
    ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ForeignDropProc));
    ForeignDrop drop = { window, target, data, allowed, 0 };
    HANDLE thread = ::CreateThread(nullptr, 0, SendForeignDrop, &drop, 0, nullptr);
    MSG msg;
    while (::MsgWaitForMultipleObjects(1, &thread, FALSE, 5000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1)
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageA(&msg);
    ::CloseHandle(thread);
    ::DestroyWindow(window);
    EXPECT_NE(0, drop.inSend);
    return drop.effect;
}

} // namespace

TEST_F(DropTargetTest, DropsFromAnotherProgramOpenTheirLinkAndSayWhenNothingOpened)
{
    CTabGroup* group = theApp.GetActiveGroup();
    ASSERT_NE(nullptr, group);
    auto* link = new CTestDataObject;
    link->AddText("http://dropped.example/");
    auto* words = new CTestDataObject;
    words->AddText("no engine searches this");
    m_frame->m_searchEngines.Clear();
    const struct
    {
        IDropTarget* target;
        CTestDataObject* data;
        DWORD allowed;
        DWORD effect;
        int opened;
    } kCases[] = {
        { m_target, link, kCopyMove, DROPEFFECT_COPY, 1 },
        { m_frame->m_pFrameDropTarget, link, kAll, DROPEFFECT_LINK, 1 },
        { m_target, words, kCopyMove, DROPEFFECT_NONE, 0 },
        { m_frame->m_pFrameDropTarget, words, kAll, DROPEFFECT_NONE, 0 },
    };
    for (const auto& c : kCases)
    {
        const int before = group->GetTabCount();
        EXPECT_EQ(c.effect, DropFromAnotherThread(c.target, c.data, c.allowed)) << c.allowed;
        EXPECT_EQ(before + c.opened, group->GetTabCount()) << c.allowed;
    }
    link->Release();
    words->Release();
}
