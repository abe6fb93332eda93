// The frame's layout pass (WM_SIZEPARENT to every child in Z-order),
// toolbars and rebars as control bars.
#include <gtest/gtest.h>

#include "FrameTestsRes.h"
#include "framework/app/WinApp.h"
#include "framework/frame/FrameWnd.h"
#include "framework/frame/ReBar.h"
#include "framework/frame/ToolBar.h"
#include "tests/support/WindowCapture.h"

namespace {

const UINT kToolBarId = 59392;
const UINT kReBarId = 59646;
const UINT kBandBarId = 59401;
const UINT kCmdEnabled = 33001;
const UINT kCmdDisabled = 33002;
const UINT kCmdChecked = 33003;

// A plain child that is no control bar but takes a 12-pixel strip at the
// bottom, as the tab bars do.
class CStripWnd : public CWnd
{
public:
    int m_nPasses = 0;

protected:
    LRESULT OnSizeParent(WPARAM, LPARAM lParam)
    {
        ++m_nPasses;
        auto* pLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
        CRect rc(pLayout->rect);
        rc.top = rc.bottom - 12;
        pLayout->rect.bottom = rc.top;
        AfxRepositionWindow(pLayout, m_hWnd, &rc);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CStripWnd, CWnd)
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
END_MESSAGE_MAP()

class CBarFrame : public CFrameWnd
{
public:
    CToolBar m_wndToolBar;
    CReBar m_wndReBar;
    CToolBar m_wndBandBar;
    CStripWnd m_wndStrip;
    CWnd m_wndPane;

protected:
    int OnCreate(LPCREATESTRUCT lpcs)
    {
        if (CFrameWnd::OnCreate(lpcs) == -1)
            return -1;
        const UINT ids[] = { kCmdEnabled, ID_SEPARATOR, kCmdDisabled, kCmdChecked };
        if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP, kToolBarId) ||
            !m_wndToolBar.SetButtons(ids, 4) || !m_wndReBar.Create(this, RBS_BANDBORDERS, WS_CHILD | WS_VISIBLE | CBRS_TOP, kReBarId) ||
            !m_wndBandBar.CreateEx(this, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP, kBandBarId) ||
            !m_wndBandBar.SetButtons(ids, 2) || !m_wndReBar.AddBar(&m_wndBandBar, "band"))
            return -1;
        if (!m_wndStrip.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), this, 43) ||
            !m_wndPane.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), this, AFX_IDW_PANE_FIRST))
            return -1;
        return 0;
    }
    void OnCommandStub() {}
    void OnUpdateDisabled(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    void OnUpdateChecked(CCmdUI* pCmdUI) { pCmdUI->SetCheck(1); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBarFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_COMMAND(kCmdEnabled, OnCommandStub)
    ON_COMMAND(kCmdChecked, OnCommandStub)
    ON_UPDATE_COMMAND_UI(kCmdDisabled, OnUpdateDisabled)
    ON_UPDATE_COMMAND_UI(kCmdChecked, OnUpdateChecked)
END_MESSAGE_MAP()

class BarLayoutTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pFrame = new CBarFrame;
        ASSERT_TRUE(m_pFrame->Create(nullptr, "bars", WS_OVERLAPPEDWINDOW, CRect(0, 0, 600, 400)));
        m_hFrame = m_pFrame->m_hWnd;
        m_pFrame->RecalcLayout();
    }
    void TearDown() override
    {
        if (::IsWindow(m_hFrame))
            ::DestroyWindow(m_hFrame);
    }
    CRect ChildRect(HWND hChild) { return CRect(WindowRectIn(m_pFrame->m_hWnd, hChild)); }

    CWinApp m_app;
    CBarFrame* m_pFrame = nullptr;
    HWND m_hFrame = nullptr;
};

TEST_F(BarLayoutTest, BarsAndPlainChildrenTakeTheirPartsInZOrder)
{
    CRect client;
    m_pFrame->GetClientRect(&client);
    CRect tool = ChildRect(m_pFrame->m_wndToolBar);
    CRect rebar = ChildRect(m_pFrame->m_wndReBar);
    CRect strip = ChildRect(m_pFrame->m_wndStrip);
    CRect pane = ChildRect(m_pFrame->m_wndPane);

    EXPECT_EQ(0, tool.top);
    EXPECT_EQ(client.Width(), tool.Width());
    EXPECT_GT(tool.Height(), 0);
    EXPECT_EQ(tool.bottom, rebar.top);
    EXPECT_GT(rebar.Height(), 0);
    EXPECT_EQ(CRect(0, client.bottom - 12, client.right, client.bottom), strip);
    EXPECT_EQ(CRect(0, rebar.bottom, client.right, strip.top), pane);
    EXPECT_GE(m_pFrame->m_wndStrip.m_nPasses, 1);
}

TEST_F(BarLayoutTest, HiddenToolBarTakesNoRoom)
{
    m_pFrame->ShowControlBar(&m_pFrame->m_wndToolBar, FALSE, FALSE);
    EXPECT_EQ(0, ChildRect(m_pFrame->m_wndReBar).top);
}

TEST_F(BarLayoutTest, ToolBarButtonsFollowUpdateHandlersAtIdleTime)
{
    CToolBar& bar = m_pFrame->m_wndToolBar;
    ASSERT_EQ(4, bar.GetButtonCount());
    TBBUTTON sep = {};
    ASSERT_TRUE(bar.GetButton(1, &sep));
    EXPECT_TRUE(sep.fsStyle & TBSTYLE_SEP);
    m_pFrame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
    EXPECT_TRUE(bar.IsButtonEnabled(kCmdEnabled));
    EXPECT_FALSE(bar.IsButtonEnabled(kCmdDisabled));
    EXPECT_TRUE(bar.IsButtonChecked(kCmdChecked));
    EXPECT_EQ(2, bar.CommandToIndex(kCmdDisabled));
}

TEST_F(BarLayoutTest, ReBarBandHoldsTheBarUnderItsId)
{
    CReBar& rebar = m_pFrame->m_wndReBar;
    ASSERT_EQ(1u, rebar.GetBandCount());
    EXPECT_EQ(0, rebar.IDToIndex(kBandBarId));
    REBARBANDINFOA band = {};
    band.fMask = RBBIM_CHILD;
    ASSERT_TRUE(rebar.GetBandInfo(0, &band));
    EXPECT_EQ(m_pFrame->m_wndBandBar.m_hWnd, band.hwndChild);
    EXPECT_EQ(rebar.m_hWnd, ::GetParent(m_pFrame->m_wndBandBar.m_hWnd));
    EXPECT_GE(ChildRect(rebar).Height(), static_cast<int>(rebar.GetBarHeight()));
}

} // namespace
