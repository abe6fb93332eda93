// The application: idle counting, the pre-translation walk, the end with the
// main window, temporary maps at idle time and shell commands.
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/app/FaultGuard.h"
#include "framework/app/WinApp.h"
#include "framework/win/Wnd.h"

namespace {

const UINT kMsgOrdinary = WM_APP + 20;

class CScriptedApp : public CWinApp
{
public:
    std::vector<LONG> m_counts;
    HWND m_hTarget = nullptr;
    int m_nFileNew = 0;

    // Each idle call posts the next message of the script; the counts show
    // which messages restarted the idle count.
    BOOL OnIdle(LONG lCount) override
    {
        m_counts.push_back(lCount);
        switch (m_counts.size())
        {
        case 1: ::PostMessageA(m_hTarget, WM_PAINT, 0, 0); break;
        case 2: ::PostMessageA(m_hTarget, WM_SYSTIMER, 0, 0); break;
        case 3: ::PostMessageA(m_hTarget, WM_MOUSEMOVE, 0, 0); break;
        case 4: ::PostMessageA(m_hTarget, WM_MOUSEMOVE, 0, 0); break;
        case 5: ::PostMessageA(m_hTarget, kMsgOrdinary, 0, 0); break;
        default: ::PostQuitMessage(3); break;
        }
        return TRUE;
    }
    int ExitInstance() override { return CWinApp::ExitInstance() + 100; }

protected:
    void OnFileNew() { ++m_nFileNew; }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CScriptedApp, CWinApp)
    ON_COMMAND(ID_FILE_NEW, OnFileNew)
END_MESSAGE_MAP()

class CPlainWnd : public CWnd
{
};

TEST(WinAppIdle, IdleCountRisesAndOnlyIdleResettingMessagesRestartIt)
{
    CScriptedApp app;
    CPlainWnd wnd;  // hidden: no synthetic mouse moves
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    app.m_hTarget = wnd.m_hWnd;
    MSG stale;
    while (::PeekMessageA(&stale, nullptr, 0, 0, PM_REMOVE))
    {
    }
    EXPECT_EQ(103, app.Run());
    // paint, caret timer: no reset; first mouse move: reset; the same
    // position again: no reset; an ordinary message: reset.
    EXPECT_EQ(std::vector<LONG>({ 0, 1, 2, 0, 1, 0 }), app.m_counts);
    wnd.DestroyWindow();
}

TEST(WinAppIdle, MouseMoveResetsIdleOnlyWhenItMovesOrChangesKind)
{
    CWinApp app;
    MSG msg = {};
    msg.message = WM_MOUSEMOVE;
    msg.pt = { 10, 20 };
    EXPECT_TRUE(app.IsIdleMessage(&msg));
    EXPECT_FALSE(app.IsIdleMessage(&msg));
    msg.pt.x = 11;
    EXPECT_TRUE(app.IsIdleMessage(&msg));
    msg.message = WM_NCMOUSEMOVE;
    EXPECT_TRUE(app.IsIdleMessage(&msg));
    msg.message = WM_PAINT;
    EXPECT_FALSE(app.IsIdleMessage(&msg));
    msg.message = WM_SYSTIMER;
    EXPECT_FALSE(app.IsIdleMessage(&msg));
    msg.message = WM_KEYDOWN;
    EXPECT_TRUE(app.IsIdleMessage(&msg));
}

TEST(WinAppIdle, SecondIdleCallDeletesTemporaryWrappersUnlessLocked)
{
    CWinApp app;
    HWND hForeign = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
    CWnd::FromHandle(hForeign);
    ASSERT_GE(CWnd::GetTempMapCount(), 1u);
    EXPECT_TRUE(app.OnIdle(0));
    EXPECT_GE(CWnd::GetTempMapCount(), 1u);
    AfxLockTempMaps();
    app.OnIdle(1);
    EXPECT_GE(CWnd::GetTempMapCount(), 1u);
    AfxUnlockTempMaps(FALSE);
    EXPECT_FALSE(app.OnIdle(1));
    EXPECT_EQ(0u, CWnd::GetTempMapCount());
    ::DestroyWindow(hForeign);
}

std::vector<std::string> g_walk;

class CWalkWnd : public CWnd
{
public:
    explicit CWalkWnd(const char* name, BOOL bTrap = FALSE) : m_name(name), m_bTrap(bTrap) {}
    BOOL PreTranslateMessage(MSG*) override
    {
        g_walk.push_back(m_name);
        return m_bTrap;
    }

private:
    const char* m_name;
    BOOL m_bTrap;
};

class PreTranslateTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_walk.clear();
        ASSERT_TRUE(m_main.CreateEx(0, nullptr, "", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr, nullptr));
        ASSERT_TRUE(m_child.Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 100, 100), &m_main, 1));
        ASSERT_TRUE(m_trap.Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 50, 50), &m_child, 2));
        ASSERT_TRUE(m_grandchild.Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 50, 50), &m_child, 3));
        ASSERT_TRUE(m_other.CreateEx(0, nullptr, "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr));
        m_app.m_pMainWnd = &m_main;
    }
    void TearDown() override
    {
        m_app.m_pMainWnd = nullptr;
        m_other.DestroyWindow();
        m_main.DestroyWindow();
    }

    BOOL Offer(HWND hTarget)
    {
        MSG msg = {};
        msg.hwnd = hTarget;
        msg.message = WM_KEYDOWN;
        return m_app.PreTranslateMessage(&msg);
    }

    CWinApp m_app;
    CWalkWnd m_main{ "main" };
    CWalkWnd m_child{ "child" };
    CWalkWnd m_trap{ "trap", TRUE };
    CWalkWnd m_grandchild{ "grandchild" };
    CWalkWnd m_other{ "other" };
};

TEST_F(PreTranslateTest, WalksFromTheTargetUpToTheMainWindow)
{
    EXPECT_FALSE(Offer(m_grandchild.m_hWnd));
    EXPECT_EQ(std::vector<std::string>({ "grandchild", "child", "main" }), g_walk);
}

TEST_F(PreTranslateTest, WindowThatTranslatesStopsTheWalk)
{
    EXPECT_TRUE(Offer(m_trap.m_hWnd));
    EXPECT_EQ(std::vector<std::string>({ "trap" }), g_walk);
}

TEST_F(PreTranslateTest, MainWindowIsOfferedLastForATargetOutsideIt)
{
    EXPECT_FALSE(Offer(m_other.m_hWnd));
    EXPECT_EQ(std::vector<std::string>({ "other", "main" }), g_walk);
}

TEST(WinAppMainWindow, DestroyingTheMainWindowQuitsTheLoop)
{
    CWinApp app;
    CPlainWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    app.m_pMainWnd = &wnd;
    wnd.DestroyWindow();
    EXPECT_EQ(nullptr, app.m_pMainWnd);
    EXPECT_FALSE(app.PumpMessage());  // WM_QUIT was posted
    EXPECT_EQ(nullptr, AfxGetMainWnd());
}

TEST(WinAppShellCommand, FileNewRunsTheApplicationsHandler)
{
    CScriptedApp app;
    EXPECT_EQ(&app, AfxGetApp());
    CCommandLineInfo info;
    app.m_lpCmdLine = const_cast<LPSTR>("");
    app.ParseCommandLine(info);
    EXPECT_TRUE(app.ProcessShellCommand(info));
    EXPECT_EQ(1, app.m_nFileNew);

    CCommandLineInfo dde;
    app.m_lpCmdLine = const_cast<LPSTR>("/dde");
    app.ParseCommandLine(dde);
    EXPECT_FALSE(app.ProcessShellCommand(dde));
    EXPECT_EQ(1, app.m_nFileNew);
}

int* volatile g_nowhere = nullptr;

TEST(FaultGuard, AFaultEndsOnlyTheGuardedCallAndCppExceptionsPassThrough)
{
    int calls = 0;
    EXPECT_EQ(0u, AfxCallGuarded([](void* p) { ++*static_cast<int*>(p); }, &calls));
    EXPECT_EQ(1, calls);
    const DWORD kFault = EXCEPTION_ACCESS_VIOLATION;
    EXPECT_EQ(kFault, AfxCallGuarded([](void*) { *g_nowhere = 1; }, nullptr));
    // The nearest guard takes it; the one outside sees a normal return.
    DWORD inner = 0;
    EXPECT_EQ(0u, AfxCallGuarded(
                      [](void* p) {
                          *static_cast<DWORD*>(p) = AfxCallGuarded([](void*) { *g_nowhere = 2; }, nullptr);
                      },
                      &inner));
    EXPECT_EQ(kFault, inner);
    EXPECT_THROW(AfxCallGuarded([](void*) { throw std::runtime_error("passes"); }, nullptr), std::runtime_error);
    // Still guarded after all of it.
    EXPECT_EQ(kFault, AfxCallGuarded([](void*) { *g_nowhere = 3; }, nullptr));
}

} // namespace
