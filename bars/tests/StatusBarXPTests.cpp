// The status bar's progress control over its second pane.
#include <gtest/gtest.h>

#include "bars/StatusBarXP.h"
#include "framework/frame/FrameWnd.h"

namespace {

class StatusBarXPTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pFrame = new CFrameWnd;
        ASSERT_TRUE(m_pFrame->Create(nullptr, "status", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 500, 300)));
        m_hFrame = m_pFrame->m_hWnd;
        const UINT indicators[] = { 0, 1250 };
        ASSERT_TRUE(m_bar.Create(m_pFrame, 0x50008200, 59393));
        ASSERT_TRUE(m_bar.SetIndicators(indicators, 2));
        m_bar.SetPaneInfo(1, 1250, SBPS_NOBORDERS, 74);
        m_pFrame->RecalcLayout();
    }
    void TearDown() override
    {
        if (::IsWindow(m_hFrame))
            ::DestroyWindow(m_hFrame);
    }
    CRect ProgressRect()
    {
        CRect rc;
        m_bar.GetProgressCtrl().GetWindowRect(&rc);
        m_bar.ScreenToClient(&rc);
        return rc;
    }
    CRect PaneRect(int index)
    {
        CRect rc;
        m_bar.GetItemRect(index, &rc);
        return rc;
    }

    CFrameWnd* m_pFrame = nullptr;
    HWND m_hFrame = nullptr;
    CStatusBarXP m_bar;
};

TEST_F(StatusBarXPTest, TheHiddenControlStaysUntilShownThenFollowsPaneOne)
{
    CProgressCtrl& progress = m_bar.GetProgressCtrl();
    ASSERT_TRUE(progress.IsWindow());
    EXPECT_EQ(static_cast<int>(CStatusBarXP::kProgressId), progress.GetDlgCtrlID());
    EXPECT_FALSE(progress.IsWindowVisible());
    CRect before = ProgressRect();
    m_pFrame->MoveWindow(0, 0, 640, 300);
    EXPECT_EQ(before, ProgressRect());

    m_bar.ShowProgress(true);
    EXPECT_TRUE(progress.IsWindowVisible());
    EXPECT_EQ(PaneRect(1), ProgressRect());
    m_pFrame->MoveWindow(0, 0, 420, 300);
    EXPECT_EQ(PaneRect(1), ProgressRect());
    m_bar.ShowProgress(false);
    EXPECT_FALSE(progress.IsWindowVisible());
}

TEST_F(StatusBarXPTest, AtLeastTwentyPixelsAndSixteenBitRanges)
{
    CRect rc;
    m_bar.GetWindowRect(&rc);
    EXPECT_GE(rc.Height(), CStatusBarXP::kMinHeight);
    m_bar.SetProgressRange(0, 200);
    m_bar.SetProgressPos(150);
    EXPECT_EQ(150, m_bar.GetProgressCtrl().GetPos());
    int low = 0, high = 0;
    m_bar.SetProgressRange(0, 70000);  // does not fit: cut to 16 bits
    m_bar.GetProgressCtrl().GetRange(low, high);
    EXPECT_NE(70000, high);
}

} // namespace
