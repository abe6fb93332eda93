// Frame layout with control bars, and the status bar's panes.
#include <gtest/gtest.h>

#include "FrameTestsRes.h"
#include "framework/app/WinApp.h"
#include "framework/frame/MDIFrameWnd.h"
#include "framework/frame/StatusBar.h"
#include "framework/win/Controls.h"
#include "tests/support/WindowCapture.h"

namespace {

const UINT kStatusBarId = 59393;
const UINT kPaneProgress = 1250;
const UINT kTopBarId = 0xE810;

class CLayoutFrame : public CMDIFrameWnd
{
public:
    CStatusBar m_wndStatusBar;
    CControlBar m_wndTopBar;
    CProgressCtrl m_wndProgress;
    CString m_strPaneText = "idle text";

protected:
    int OnCreate(LPCREATESTRUCT lpcs)
    {
        if (CMDIFrameWnd::OnCreate(lpcs) == -1)
            return -1;
        const UINT indicators[] = { ID_SEPARATOR, ID_INDICATOR_TEST };
        if (!m_wndTopBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP, kTopBarId, 30) ||
            !m_wndStatusBar.Create(this, 0x50008200, kStatusBarId) ||
            !m_wndStatusBar.SetIndicators(indicators, 2))
            return -1;
        m_wndStatusBar.SendMessage(SB_SETMINHEIGHT, 20);
        m_wndStatusBar.SetPaneInfo(1, kPaneProgress, SBPS_NOBORDERS, 74);
        if (!m_wndProgress.Create(WS_CHILD | PBS_SMOOTH, CRect(0, 0, 80, 10), &m_wndStatusBar, 17234))
            return -1;
        EnableDocking(CBRS_ALIGN_ANY);
        return 0;
    }
    void OnUpdatePane(CCmdUI* pCmdUI) { pCmdUI->SetText(m_strPaneText); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CLayoutFrame, CMDIFrameWnd)
    ON_WM_CREATE()
    ON_UPDATE_COMMAND_UI(kPaneProgress, OnUpdatePane)
END_MESSAGE_MAP()

class StatusBarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pFrame = new CLayoutFrame;
        ASSERT_TRUE(m_pFrame->LoadFrame(IDR_TESTFRAME));
        m_hFrame = m_pFrame->m_hWnd;
        m_pFrame->MoveWindow(0, 0, 640, 480);
    }
    void TearDown() override
    {
        m_app.m_pMainWnd = nullptr;
        if (::IsWindow(m_hFrame))
            ::DestroyWindow(m_hFrame);
    }

    CRect ChildRect(HWND hChild) { return CRect(WindowRectIn(m_pFrame->m_hWnd, hChild)); }

    CWinApp m_app;
    CLayoutFrame* m_pFrame = nullptr;
    HWND m_hFrame = nullptr;
};

TEST_F(StatusBarTest, BarsTakeTheirSidesAndTheClientTheRest)
{
    CRect client;
    m_pFrame->GetClientRect(&client);
    CRect top = ChildRect(m_pFrame->m_wndTopBar.m_hWnd);
    CRect status = ChildRect(m_pFrame->m_wndStatusBar.m_hWnd);
    CRect mdi = ChildRect(m_pFrame->m_hWndMDIClient);

    EXPECT_EQ(CRect(0, 0, client.right, 30), top);
    EXPECT_EQ(client.bottom, status.bottom);
    EXPECT_EQ(client.Width(), status.Width());
    EXPECT_GE(status.Height(), 20);
    EXPECT_EQ(CRect(0, 30, client.right, status.top), mdi);
    EXPECT_EQ(&m_pFrame->m_wndStatusBar, m_pFrame->GetControlBar(kStatusBarId));
    // The bar style stays with the bar, not in the window style.
    EXPECT_EQ(static_cast<DWORD>(0x8200), m_pFrame->m_wndStatusBar.GetBarStyle());
    EXPECT_EQ(0u, m_pFrame->m_wndStatusBar.GetStyle() & CBRS_ALIGN_BOTTOM);
}

TEST_F(StatusBarTest, HiddenBarGivesItsRoomToTheClient)
{
    m_pFrame->ShowControlBar(&m_pFrame->m_wndStatusBar, FALSE, FALSE);
    CRect client;
    m_pFrame->GetClientRect(&client);
    EXPECT_EQ(client.bottom, ChildRect(m_pFrame->m_hWndMDIClient).bottom);
    m_pFrame->ShowControlBar(&m_pFrame->m_wndStatusBar, TRUE, TRUE);
    EXPECT_EQ(client.bottom, ChildRect(m_pFrame->m_hWndMDIClient).bottom);  // delayed
    m_pFrame->OnIdleUpdateCmdUI();
    EXPECT_EQ(ChildRect(m_pFrame->m_wndStatusBar.m_hWnd).top, ChildRect(m_pFrame->m_hWndMDIClient).bottom);
}

TEST_F(StatusBarTest, PanesHaveTheirIdsStylesWidthsAndTexts)
{
    CStatusBar& bar = m_pFrame->m_wndStatusBar;
    ASSERT_EQ(2, bar.GetCount());
    EXPECT_EQ(1, bar.CommandToIndex(kPaneProgress));
    EXPECT_EQ(-1, bar.CommandToIndex(ID_INDICATOR_TEST));
    UINT nID = 0, nStyle = 0;
    int cx = 0;
    bar.GetPaneInfo(1, nID, nStyle, cx);
    EXPECT_EQ(kPaneProgress, nID);
    EXPECT_EQ(static_cast<UINT>(SBPS_NOBORDERS), nStyle);
    EXPECT_EQ(74, cx);
    // The indicator's string resource became its first text.
    EXPECT_STREQ("\x95\x5c\x8e\xa6", bar.GetPaneText(1));

    CRect pane0, pane1, barClient;
    bar.GetItemRect(0, &pane0);
    bar.GetItemRect(1, &pane1);
    bar.GetClientRect(&barClient);
    EXPECT_GE(pane1.Width(), 74);
    EXPECT_LE(pane0.right, pane1.left);
    EXPECT_GT(pane0.Width(), barClient.Width() / 2);  // the stretching message pane

    EXPECT_TRUE(bar.SetPaneText(0, "InitInstance 12"));
    EXPECT_STREQ("InitInstance 12", bar.GetPaneText(0));
}

TEST_F(StatusBarTest, ProgressControlCanBeLaidOverAPane)
{
    CRect pane1;
    m_pFrame->m_wndStatusBar.GetItemRect(1, &pane1);
    m_pFrame->m_wndProgress.MoveWindow(&pane1);
    m_pFrame->m_wndProgress.ShowWindow(SW_SHOWNA);
    CRect rc;
    m_pFrame->m_wndProgress.GetWindowRect(&rc);
    m_pFrame->m_wndStatusBar.ScreenToClient(&rc);
    EXPECT_EQ(pane1, rc);
}

TEST_F(StatusBarTest, IdleUpdateSetsPaneTextsThroughTheRouting)
{
    m_pFrame->ShowWindow(SW_SHOWNOACTIVATE);
    m_app.m_pMainWnd = m_pFrame;
    m_pFrame->m_strPaneText = "updated";
    m_app.OnIdle(0);
    EXPECT_STREQ("updated", m_pFrame->m_wndStatusBar.GetPaneText(1));
}

} // namespace
