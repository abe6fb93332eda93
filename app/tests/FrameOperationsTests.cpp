// The frame's own operations: the guarded message pump, the search bar
// toggle, closing without saving, the first focus, the page selection
// operations and the button order file.
#include <windows.h>
#include <docobj.h>

#include <gtest/gtest.h>

#include "app/MainFrame.h"
#include "app/VantorelApp.h"
#include "app/resource.h"
#include "framework/core/AtomicFile.h"
#include "lists/WebSearch.h"
#include "tab/TabGroup.h"
#include "tab/TabItem.h"
#include "app/tests/TabFixture.h"
#include "tests/support/TestHtmlDocument.h"

namespace {

using FrameOperationsTest = TabTest;

const UINT kMsgFault = WM_APP + 1;
const UINT kMsgAfter = WM_APP + 2;

// A window whose handler of kMsgFault writes through a null pointer.
class CFaultingWnd : public CWnd
{
public:
    int m_after = 0;

protected:
    LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (nMsg == kMsgFault)
            *s_nowhere = 1;
        if (nMsg == kMsgAfter)
            ++m_after;
        return CWnd::WindowProc(nMsg, wParam, lParam);
    }

private:
    static int* volatile s_nowhere;
};

int* volatile CFaultingWnd::s_nowhere = nullptr;

TEST_F(FrameOperationsTest, AFaultInAHandlerLeavesAccessViolationSavesTheTabsAndTheLoopGoesOn)
{
    Open(nullptr, "http://saved.example/");
    m_folder->Remove("Exception.dat");
    CFaultingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    Pump();
    wnd.PostMessage(kMsgFault);
    wnd.PostMessage(kMsgAfter);
    for (int i = 0; i < 50 && wnd.m_after == 0; ++i)
        EXPECT_TRUE(theApp.PumpMessage());
    EXPECT_EQ(1, wnd.m_after);
    EXPECT_STREQ("Access Violation", m_frame->m_wndStatusBar.GetPaneText(0));
    EXPECT_NE(std::string::npos, m_folder->ReadBytes("Exception.dat").find("http://saved.example/"));
    wnd.DestroyWindow();
}

TEST_F(FrameOperationsTest, TheSearchBarCommandShowsAndHidesItsBandAndChecksItsItem)
{
    struct Probe : CCmdUI
    {
        BOOL enabled = FALSE;
        int checked = -1;
        void Enable(BOOL bOn) override { enabled = bOn; m_bEnableChanged = TRUE; }
        void SetCheck(int nCheck) override { checked = nCheck; }
    };
    for (bool shown : {false, true}) {
        ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, ID_VIEW_SEARCH_BAND, 0);
        EXPECT_EQ(shown, m_frame->m_wndReBar.IsBandVisible(kSearchBarId) != FALSE);
        Probe probe;
        probe.m_nID = ID_VIEW_SEARCH_BAND;
        probe.DoUpdate(m_frame, FALSE);
        EXPECT_TRUE(probe.enabled);
        EXPECT_EQ(shown ? 1 : 0, probe.checked);
    }
}

TEST_F(FrameOperationsTest, TheAddressBoxHasTheFocusOnceTheFrameIsCreated)
{
    HWND edit = nullptr;
    HWND box = m_frame->GetAddressBoxWindow(&edit);
    HWND focus = ::GetFocus();
    EXPECT_TRUE(focus != nullptr && (focus == box || focus == edit));
}

TEST_F(FrameOperationsTest, CloseWithoutSaveWritesNeitherSettingsNorButtonOrder)
{
    const std::string ini = std::string(theApp.GetMainClassName()) + ".ini";
    m_folder->Remove(ini);
    m_folder->Remove("toolbar.dat2");
    const HWND window = m_frame->m_hWnd;
    m_frame->CloseWithoutSave();
    m_frame = nullptr;  // gone with its window
    Pump();
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_FALSE(m_folder->Exists(ini));
    EXPECT_FALSE(m_folder->Exists("toolbar.dat2"));
}

// Regression: the File menu's exit command had no handler, showed grey and
// did nothing. (What the exit writes and deletes: the end-to-end test.)
TEST_F(FrameOperationsTest, TheExitCommandIsOfferedAndClosesTheFrame)
{
    const std::string ini = std::string(theApp.GetMainClassName()) + ".ini";
    m_folder->Remove(ini);
    const HWND window = m_frame->m_hWnd;
    HMENU file = ::GetSubMenu(::GetMenu(window), 0);
    UINT state = MF_GRAYED;
    EXPECT_TRUE(ReadMenuShownBy([window] { ::SendMessageA(window, WM_SYSCOMMAND, SC_KEYMENU, 'f'); },
                                [&](HMENU, HWND) { state = ::GetMenuState(file, ID_APP_EXIT, MF_BYCOMMAND); }));
    Pump();
    EXPECT_EQ(0u, state & (MF_GRAYED | MF_DISABLED));

    // As the menu hands over its choice.
    ::PostMessageA(window, WM_COMMAND, ID_APP_EXIT, 0);
    Pump();
    EXPECT_FALSE(::IsWindow(window));
    m_frame = nullptr;  // gone with its window
    EXPECT_TRUE(m_folder->Exists(ini));
}

TEST_F(FrameOperationsTest, AFailedWriteOfTheButtonOrderKeepsTheLastOne)
{
    m_folder->WriteBytes("toolbar.dat2", "last order");
    CAtomicTextFile::InjectFault(CAtomicTextFile::kFailWrite);
    m_frame->SaveBarState();
    CAtomicTextFile::InjectFault(CAtomicTextFile::kNoFault);
    EXPECT_EQ("last order", m_folder->ReadBytes("toolbar.dat2"));
    m_frame->SaveBarState();
    const std::string order = m_folder->ReadBytes("toolbar.dat2");
    EXPECT_NE("last order", order);
    EXPECT_NE(std::string::npos, order.find('@'));
}

TEST_F(FrameOperationsTest, SelectionOperationsCopyAndSearchThePendingKeyword)
{
    CTabItem* tab = Open(nullptr, "http://a.example/");
    TestWebBrowser* control = ControlOf(tab);
    control->SetDocumentHtml(L"<p>text</p>");
    m_frame->CopyPageSelection();
    ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, ID_PAGE_COPY, 0);
    const std::vector<TestHtmlDocument::ExecCall>& calls = control->GetDocument()->GetExecCalls();
    ASSERT_EQ(2u, calls.size());
    EXPECT_EQ(static_cast<DWORD>(OLECMDID_COPY), calls[0].id);
    EXPECT_EQ(static_cast<DWORD>(OLECMDID_COPY), calls[1].id);

    CSearchEngineNode* engine = m_frame->m_searchEngines.GetCurrentEngine();
    ASSERT_NE(nullptr, engine);
    theApp.m_pendingKeyword = "word";
    const int groups = theApp.GetGroupCount();
    m_frame->SearchSelectionInNewGroup();
    Pump();
    ASSERT_EQ(groups + 1, theApp.GetGroupCount());
    CTabGroup* searched = theApp.GetGroupAt(groups);
    EXPECT_EQ(0, searched->m_caption.Find("word"));
    ASSERT_EQ(1, searched->GetTabCount());
    EXPECT_EQ(m_frame->BuildSearchUrl("word", engine->m_url), searched->GetTab(0)->m_url);
    EXPECT_STREQ("word", theApp.m_lastSearchKeyword);

    CTabGroup* current = theApp.GetActiveGroup();
    const int tabs = current->GetTabCount();
    theApp.m_pendingKeyword = "next";
    m_frame->SearchSelection();
    Pump();
    EXPECT_EQ(groups + 1, theApp.GetGroupCount());
    ASSERT_EQ(tabs + 1, current->GetTabCount());
    EXPECT_EQ(m_frame->BuildSearchUrl("next", engine->m_url), current->GetTab(tabs)->m_url);
    EXPECT_STREQ("next", theApp.m_lastSearchKeyword);
}

} // namespace
