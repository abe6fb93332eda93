// A tab closed inside a nested loop its own handler runs (a dialog of the
// dialogs library, a message box): the handler touches nothing of it after.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "app/MainFrame.h"
#include "app/VantorelApp.h"
#include "tab/ChildFrame.h"
#include "tab/TabGroup.h"
#include "tab/TabItem.h"
#include "app/tests/TabFixture.h"

namespace {

HWND s_closing = nullptr;

class ModalLoop : public TabTest
{
protected:
    void SetUp() override
    {
        TabTest::SetUp();
        const char* dir = std::getenv("VA_MODAL_FORMBAY_DIR");
        ASSERT_NE(nullptr, dir);
        // Loaded here, the binding of each command finds it by name.
        m_library = ::LoadLibraryA((std::string(dir) + "\\Formbay.dll").c_str());
        ASSERT_NE(nullptr, m_library);
    }
    void TearDown() override
    {
        if (m_library != nullptr)
            ::FreeLibrary(m_library);
        TabTest::TearDown();
    }

    // Runs the tab's command; the dialog it shows closes the tab.
    void RunAndCloseInside(CTabItem* tab, UINT command)
    {
        s_closing = tab->m_hFrame;
        AnswerNextMessageBox(IDOK, [] { ::SendMessageA(s_closing, WM_CLOSE, 0, 0); });
        ::SendMessageA(s_closing, WM_COMMAND, command, 0);
        Pump();
        EXPECT_TRUE(s_messageBoxSeen);
        EXPECT_TRUE(AllAnswered());
        EXPECT_FALSE(::IsWindow(s_closing));
    }

    HMODULE m_library = nullptr;
};

const UINT kCmdFindInPage = 1065;
const UINT kCmdOpenDialog = 36013;

} // namespace

TEST_F(ModalLoop, TabClosedInsideItsFindDialogIsNotSearched)
{
    Open(nullptr, "about:blank");
    CTabItem* b = Open(nullptr, "about:blank");
    RunAndCloseInside(b, kCmdFindInPage);
    EXPECT_EQ(1, theApp.GetActiveGroup()->GetTabCount());
}

TEST_F(ModalLoop, TabClosedInsideItsOpenDialogNavigatesNothing)
{
    CTabItem* a = Open(nullptr, "http://a.example/");
    CTabItem* b = Open(nullptr, "http://b.example/");
    RunAndCloseInside(b, kCmdOpenDialog);
    ASSERT_EQ(1, theApp.GetActiveGroup()->GetTabCount());
    EXPECT_STREQ("http://a.example/", a->m_url);
    // The command still works on a tab that stays.
    AnswerNextMessageBox(IDOK);
    ::SendMessageA(a->m_hFrame, WM_COMMAND, kCmdOpenDialog, 0);
    Pump();
    EXPECT_TRUE(AllAnswered());
    EXPECT_STREQ("http://opened.example/", a->m_url);
}
