// MDI frames: command routing across child, view, frame and application, and
// the child windows on the real MDI client.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "FrameTestsRes.h"
#include "framework/app/WinApp.h"
#include "framework/frame/MDIFrameWnd.h"
#include "framework/frame/View.h"

namespace {

// Which levels handle which command: A all four, B child/frame/app,
// C frame/app, D the application only, E nobody.
enum : UINT { kCmdA = 41001, kCmdB, kCmdC, kCmdD, kCmdE, kCmdViewUpdate };

std::vector<std::string> g_route;
int g_nChildrenDeleted = 0;

class CRouteApp : public CWinApp
{
protected:
    void OnA() { g_route.push_back("app"); }
    void OnB() { g_route.push_back("app"); }
    void OnC() { g_route.push_back("app"); }
    void OnD() { g_route.push_back("app"); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRouteApp, CWinApp)
    ON_COMMAND(kCmdA, OnA)
    ON_COMMAND(kCmdB, OnB)
    ON_COMMAND(kCmdC, OnC)
    ON_COMMAND(kCmdD, OnD)
END_MESSAGE_MAP()

class CRouteView : public CView
{
protected:
    void OnA() { g_route.push_back("view"); }
    void OnUpdate(CCmdUI* pCmdUI) { pCmdUI->SetText("from view"); pCmdUI->Enable(FALSE); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRouteView, CView)
    ON_COMMAND(kCmdA, OnA)
    ON_UPDATE_COMMAND_UI(kCmdViewUpdate, OnUpdate)
END_MESSAGE_MAP()

class CRouteChild : public CMDIChildWnd
{
public:
    ~CRouteChild() override { ++g_nChildrenDeleted; }
    std::vector<BOOL> m_activations;

    CRouteView* AddView()
    {
        CRouteView* pView = new CRouteView;
        if (!pView->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, AFX_IDW_PANE_FIRST))
            return nullptr;
        SetActiveView(pView);
        RecalcLayout();
        return pView;
    }

protected:
    void OnA() { g_route.push_back("child"); }
    void OnB() { g_route.push_back("child"); }
    void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd)
    {
        m_activations.push_back(bActivate);
        CMDIChildWnd::OnMDIActivate(bActivate, pActivateWnd, pDeactivateWnd);
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRouteChild, CMDIChildWnd)
    ON_WM_MDIACTIVATE()
    ON_COMMAND(kCmdA, OnA)
    ON_COMMAND(kCmdB, OnB)
END_MESSAGE_MAP()

class CRouteFrame : public CMDIFrameWnd
{
protected:
    void OnA() { g_route.push_back("frame"); }
    void OnB() { g_route.push_back("frame"); }
    void OnC() { g_route.push_back("frame"); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRouteFrame, CMDIFrameWnd)
    ON_COMMAND(kCmdA, OnA)
    ON_COMMAND(kCmdB, OnB)
    ON_COMMAND(kCmdC, OnC)
END_MESSAGE_MAP()

class MDIFrameTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_route.clear();
        g_nChildrenDeleted = 0;
        m_pFrame = new CRouteFrame;
        ASSERT_TRUE(m_pFrame->LoadFrame(IDR_TESTFRAME));
        m_hFrame = m_pFrame->m_hWnd;
        m_pFrame->ShowWindow(SW_SHOWNOACTIVATE);
    }
    void TearDown() override
    {
        if (::IsWindow(m_hFrame))
            ::DestroyWindow(m_hFrame);
    }

    CRouteChild* AddChild(LPCSTR title)
    {
        CRouteChild* pChild = new CRouteChild;
        if (!pChild->Create(nullptr, title, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                            CFrameWnd::rectDefault, m_pFrame))
            return nullptr;
        return pChild;
    }

    std::vector<std::string> Route(UINT nID)
    {
        g_route.clear();
        m_pFrame->SendMessage(WM_COMMAND, MAKEWPARAM(nID, 0), 0);
        return g_route;
    }

    CRouteApp m_app;
    CRouteFrame* m_pFrame = nullptr;
    HWND m_hFrame = nullptr;
};

TEST_F(MDIFrameTest, ClientIsTheSystemMDIClientInThePaneSlot)
{
    ASSERT_NE(nullptr, m_pFrame->m_hWndMDIClient);
    char className[32] = "";
    ::GetClassNameA(m_pFrame->m_hWndMDIClient, className, sizeof(className));
    EXPECT_STREQ("MDIClient", className);  // the system's own spelling
    EXPECT_EQ(m_pFrame->m_hWndMDIClient, ::GetDlgItem(m_hFrame, AFX_IDW_PANE_FIRST));
    CRect frameClient, client;
    m_pFrame->GetClientRect(&frameClient);
    ::GetWindowRect(m_pFrame->m_hWndMDIClient, &client);
    EXPECT_EQ(frameClient.Width(), client.Width());
}

TEST_F(MDIFrameTest, CommandsRouteChildViewThenChildThenFrameThenApplication)
{
    CRouteChild* pChild = AddChild("one");
    ASSERT_NE(nullptr, pChild);
    ASSERT_NE(nullptr, pChild->AddView());
    EXPECT_EQ(std::vector<std::string>({ "view" }), Route(kCmdA));
    EXPECT_EQ(std::vector<std::string>({ "child" }), Route(kCmdB));
    EXPECT_EQ(std::vector<std::string>({ "frame" }), Route(kCmdC));
    EXPECT_EQ(std::vector<std::string>({ "app" }), Route(kCmdD));
    EXPECT_TRUE(Route(kCmdE).empty());
}

TEST_F(MDIFrameTest, WithoutActiveChildTheFrameAndApplicationRemain)
{
    EXPECT_EQ(std::vector<std::string>({ "frame" }), Route(kCmdA));
    EXPECT_EQ(std::vector<std::string>({ "app" }), Route(kCmdD));
}

TEST_F(MDIFrameTest, UpdateHandlersRouteTheSameWay)
{
    CRouteChild* pChild = AddChild("one");
    ASSERT_NE(nullptr, pChild);
    ASSERT_NE(nullptr, pChild->AddView());
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, kCmdViewUpdate, "x");
    menu.AppendMenu(MF_STRING, kCmdD, "d");
    m_pFrame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu.m_hMenu), 0);
    CString text;
    menu.GetMenuString(0, text, MF_BYPOSITION);
    EXPECT_STREQ("from view", text);
    EXPECT_TRUE(menu.GetMenuState(0, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_FALSE(menu.GetMenuState(1, MF_BYPOSITION) & MF_GRAYED);  // the application handles it
}

TEST_F(MDIFrameTest, ChildActivationAndCycling)
{
    CRouteChild* pFirst = AddChild("first");
    CRouteChild* pSecond = AddChild("second");
    ASSERT_NE(nullptr, pFirst);
    ASSERT_NE(nullptr, pSecond);
    EXPECT_EQ(pSecond, m_pFrame->MDIGetActive());
    EXPECT_EQ(pSecond, m_pFrame->GetActiveFrame());
    ASSERT_FALSE(pFirst->m_activations.empty());
    EXPECT_FALSE(pFirst->m_activations.back());  // deactivated by the second

    m_pFrame->MDIActivate(pFirst);
    EXPECT_EQ(pFirst, m_pFrame->MDIGetActive());
    EXPECT_TRUE(pFirst->m_activations.back());
    m_pFrame->MDINext();
    EXPECT_EQ(pSecond, m_pFrame->MDIGetActive());

    BOOL bMaximized = TRUE;
    m_pFrame->MDIGetActive(&bMaximized);
    EXPECT_FALSE(bMaximized);
    m_pFrame->MDIMaximize(pSecond);
    m_pFrame->MDIGetActive(&bMaximized);
    EXPECT_TRUE(bMaximized);
}

TEST_F(MDIFrameTest, ClosingAChildDestroysItThroughTheClientAndDeletesIt)
{
    CRouteChild* pFirst = AddChild("first");
    CRouteChild* pSecond = AddChild("second");
    ASSERT_NE(nullptr, pFirst);
    ASSERT_NE(nullptr, pSecond);
    HWND hSecond = pSecond->m_hWnd;
    pSecond->SendMessage(WM_CLOSE);
    EXPECT_FALSE(::IsWindow(hSecond));
    EXPECT_EQ(1, g_nChildrenDeleted);
    EXPECT_EQ(pFirst, m_pFrame->MDIGetActive());

    // The frame's end takes its children along.
    ::DestroyWindow(m_hFrame);
    EXPECT_EQ(2, g_nChildrenDeleted);
}

TEST_F(MDIFrameTest, ViewFillsItsChildFrameAndLeavesItAsActiveView)
{
    CRouteChild* pChild = AddChild("one");
    ASSERT_NE(nullptr, pChild);
    CRouteView* pView = pChild->AddView();
    ASSERT_NE(nullptr, pView);
    EXPECT_EQ(pView, pChild->GetActiveView());
    EXPECT_EQ(pChild, pView->GetParentFrame());
    CRect childClient, viewRect;
    pChild->GetClientRect(&childClient);
    pView->GetClientRect(&viewRect);
    EXPECT_EQ(childClient.Size(), viewRect.Size());
    pView->DestroyWindow();
    EXPECT_EQ(nullptr, pChild->GetActiveView());
}

} // namespace
