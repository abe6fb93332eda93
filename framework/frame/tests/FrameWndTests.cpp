// CFrameWnd: loading from one resource id, a class named by PreCreateWindow,
// menu state on WM_INITMENUPOPUP, command ranges, accelerators, closing.
#include <vector>

#include <gtest/gtest.h>

#include "FrameTestsRes.h"
#include "framework/app/WinApp.h"
#include "framework/frame/FrameWnd.h"
#include "framework/win/Menu.h"

namespace {

const char kTestClassName[] = "VaTestFrameClass";

int g_nFramesDeleted = 0;

class CTestApp : public CWinApp
{
public:
    std::vector<UINT> m_commands;

protected:
    void OnAppAbout() { m_commands.push_back(ID_APP_ABOUT); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
    ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
END_MESSAGE_MAP()

class CTestFrame : public CFrameWnd
{
public:
    std::vector<UINT> m_commands;
    ~CTestFrame() override { ++g_nFramesDeleted; }

protected:
    // Registers its own class, as the main frame does with its class name.
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override
    {
        if (!CFrameWnd::PreCreateWindow(cs))
            return FALSE;
        WNDCLASSA wc = {};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = AfxWndProc;
        wc.hInstance = AfxGetInstanceHandle();
        wc.hIcon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_TESTFRAME));
        wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
        wc.lpszClassName = kTestClassName;
        if (!AfxRegisterClass(&wc))
            return FALSE;
        cs.lpszClass = kTestClassName;
        return TRUE;
    }

    void OnHandled() { m_commands.push_back(ID_TEST_HANDLED); }
    void OnChecked() { m_commands.push_back(ID_TEST_CHECKED); }
    void OnRange(UINT nID) { m_commands.push_back(nID); }
    void OnAccel() { m_commands.push_back(ID_TEST_ACCEL); }
    void OnDisabledAccel() { m_commands.push_back(ID_TEST_DISABLED_ACCEL); }
    void OnUpdateDisable(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    void OnUpdateCheck(CCmdUI* pCmdUI) { pCmdUI->SetCheck(1); }
    void OnUpdateRange(CCmdUI* pCmdUI) { pCmdUI->Enable(pCmdUI->m_nID != ID_TEST_RANGE_LAST); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestFrame, CFrameWnd)
    ON_COMMAND(ID_TEST_HANDLED, OnHandled)
    ON_COMMAND(ID_TEST_CHECKED, OnChecked)
    ON_COMMAND_RANGE(ID_TEST_RANGE_FIRST, ID_TEST_RANGE_LAST, OnRange)
    ON_COMMAND(ID_TEST_ACCEL, OnAccel)
    ON_COMMAND(ID_TEST_DISABLED_ACCEL, OnDisabledAccel)
    ON_UPDATE_COMMAND_UI(ID_TEST_UPDATE_DISABLED, OnUpdateDisable)
    ON_UPDATE_COMMAND_UI(ID_TEST_DISABLED_ACCEL, OnUpdateDisable)
    ON_UPDATE_COMMAND_UI(ID_TEST_SUBFIRST, OnUpdateDisable)
    ON_UPDATE_COMMAND_UI(ID_TEST_CHECKED, OnUpdateCheck)
    ON_UPDATE_COMMAND_UI_RANGE(ID_TEST_RANGE_FIRST, ID_TEST_RANGE_LAST, OnUpdateRange)
END_MESSAGE_MAP()

class FrameWndTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_nFramesDeleted = 0;
        m_pFrame = new CTestFrame;
        ASSERT_TRUE(m_pFrame->LoadFrame(IDR_TESTFRAME));
        m_hFrame = m_pFrame->m_hWnd;
    }
    void TearDown() override
    {
        if (::IsWindow(m_hFrame))
            ::DestroyWindow(m_hFrame);
    }

    UINT StateOf(HMENU hMenu, UINT nPos) { return ::GetMenuState(hMenu, nPos, MF_BYPOSITION); }

    CTestApp m_app;
    CTestFrame* m_pFrame = nullptr;
    HWND m_hFrame = nullptr;
};

TEST_F(FrameWndTest, LoadFrameUsesTheClassOfPreCreateWindowAndTheResources)
{
    char className[64] = "";
    ::GetClassNameA(m_hFrame, className, sizeof(className));
    EXPECT_STREQ(kTestClassName, className);
    EXPECT_NE(nullptr, reinterpret_cast<HICON>(::GetClassLongPtrA(m_hFrame, GCLP_HICON)));
    // Title up to the '\n'; "表" keeps its trail byte 0x5C through the resource compiler.
    CString title;
    m_pFrame->GetWindowText(title);
    EXPECT_STREQ("\x95\x5c\x8e\xa6\x83\x65\x83\x58\x83\x67", title);
    EXPECT_STREQ(title, m_pFrame->GetTitle());
    HMENU hMenu = ::GetMenu(m_hFrame);
    ASSERT_NE(nullptr, hMenu);
    EXPECT_EQ(hMenu, m_pFrame->m_hMenuDefault);
    char caption[32] = "";
    ::GetMenuStringA(hMenu, 0, caption, sizeof(caption), MF_BYPOSITION);
    EXPECT_STREQ("\x95\x5c\x8e\xa6(&V)", caption);
    EXPECT_NE(nullptr, m_pFrame->m_hAccelTable);
}

TEST_F(FrameWndTest, InitMenuPopupDisablesItemsNobodyHandles)
{
    HMENU hPopup = ::GetSubMenu(::GetMenu(m_hFrame), 0);
    ::EnableMenuItem(hPopup, 0, MF_BYPOSITION | MF_GRAYED);  // handled: enabled again
    m_pFrame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hPopup), 0);

    EXPECT_FALSE(StateOf(hPopup, 0) & MF_GRAYED);                    // command handler
    EXPECT_TRUE(StateOf(hPopup, 1) & MF_GRAYED);                     // no handler at all
    EXPECT_TRUE(StateOf(hPopup, 3) & MF_GRAYED);                     // update handler disables
    EXPECT_EQ(static_cast<UINT>(MF_CHECKED), StateOf(hPopup, 4) & (MF_CHECKED | MF_GRAYED));
    EXPECT_FALSE(StateOf(hPopup, 5) & MF_GRAYED);                    // range handler enables
    EXPECT_TRUE(StateOf(hPopup, 6) & MF_GRAYED);                     // and disables the last
    EXPECT_FALSE(StateOf(hPopup, 7) & MF_GRAYED);                    // popups: never for want of one
    EXPECT_FALSE(StateOf(hPopup, 8) & MF_GRAYED);                    // nor through its first id
    EXPECT_FALSE(StateOf(hPopup, 9) & MF_GRAYED);                    // system command
}

TEST_F(FrameWndTest, CommandRangeHandlerReceivesTheIdUnlessItsUpdateDisablesIt)
{
    m_pFrame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_TEST_RANGE_FIRST + 2, 0), 0);
    m_pFrame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_TEST_RANGE_LAST, 0), 0);  // disabled: dropped
    m_pFrame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_TEST_RANGE_LAST + 1, 0), 0);
    EXPECT_EQ(std::vector<UINT>({ ID_TEST_RANGE_FIRST + 2 }), m_pFrame->m_commands);
}

TEST_F(FrameWndTest, CommandsTheFrameLacksGoToTheApplication)
{
    m_pFrame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_APP_ABOUT, 0), 0);
    EXPECT_EQ(std::vector<UINT>({ ID_APP_ABOUT }), m_app.m_commands);
    EXPECT_TRUE(m_pFrame->m_commands.empty());
}

TEST_F(FrameWndTest, AcceleratorsRunThroughThePumpUnlessTheCommandIsDisabled)
{
    m_app.m_pMainWnd = m_pFrame;
    MSG stale;
    while (::PeekMessageA(&stale, nullptr, 0, 0, PM_REMOVE))
    {
    }
    m_pFrame->PostMessage(WM_KEYDOWN, VK_F5, 0x003F0001);
    m_pFrame->PostMessage(WM_KEYDOWN, VK_F6, 0x00400001);
    m_pFrame->PostMessage(WM_NULL);
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(m_app.PumpMessage());
    EXPECT_EQ(std::vector<UINT>({ ID_TEST_ACCEL }), m_pFrame->m_commands);
    m_app.m_pMainWnd = nullptr;
}

TEST_F(FrameWndTest, CloseDestroysTheWindowAndDeletesTheFrame)
{
    m_pFrame->SendMessage(WM_CLOSE);
    EXPECT_FALSE(::IsWindow(m_hFrame));
    EXPECT_EQ(1, g_nFramesDeleted);
}

TEST_F(FrameWndTest, TheExitCommandClosesTheMainWindowAsItsCloseBoxDoes)
{
    // Not the main window: the application has nothing to close.
    m_pFrame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_APP_EXIT, 0), 0);
    EXPECT_TRUE(::IsWindow(m_hFrame));
    m_app.m_pMainWnd = m_pFrame;
    m_pFrame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_APP_EXIT, 0), 0);
    EXPECT_FALSE(::IsWindow(m_hFrame));
    EXPECT_EQ(1, g_nFramesDeleted);
    EXPECT_EQ(nullptr, m_app.m_pMainWnd);
    // The main window's end ends the loop.
    MSG msg;
    EXPECT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST(FrameWndCreation, FailedLoadFrameHasDeletedTheFrame)
{
    g_nFramesDeleted = 0;
    CTestFrame* pFrame = new CTestFrame;
    // WS_CHILD without a parent cannot be created.
    EXPECT_FALSE(pFrame->LoadFrame(IDR_TESTFRAME, WS_CHILD, nullptr));
    EXPECT_EQ(1, g_nFramesDeleted);
}

} // namespace
