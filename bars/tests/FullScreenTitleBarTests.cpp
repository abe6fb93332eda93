// The full-screen caption strip: its slide, the watch for the mouse, the
// pin and what closing it does.
#include <gtest/gtest.h>

#include "bars/FullScreenTitleBar.h"

namespace {

class FullScreenTitleBarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_hOwner = ::CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        m_bar = std::make_unique<CFullScreenTitleBar>(::GetModuleHandleA(nullptr), m_hOwner);
        ASSERT_NE(nullptr, m_bar->GetSafeHwnd());
        // Timers are stepped by hand here.
        ::KillTimer(m_bar->GetSafeHwnd(), CFullScreenTitleBar::kSlideTimer);
        ::KillTimer(m_bar->GetSafeHwnd(), CFullScreenTitleBar::kWatchTimer);
    }
    void TearDown() override
    {
        m_bar.reset();
        ::DestroyWindow(m_hOwner);
    }
    int Top()
    {
        RECT rc;
        ::GetWindowRect(m_bar->GetSafeHwnd(), &rc);
        return rc.top;
    }
    void Slide(int ticks)
    {
        for (int i = 0; i < ticks; ++i)
            ::SendMessageA(m_bar->GetSafeHwnd(), WM_TIMER, CFullScreenTitleBar::kSlideTimer, 0);
    }
    // Watch ticks with the cursor far from the strip.
    void Watch(int ticks)
    {
        for (int i = 0; i < ticks; ++i)
            m_bar->OnWatchTick(POINT{5, 900});
    }

    HWND m_hOwner = nullptr;
    std::unique_ptr<CFullScreenTitleBar> m_bar;
};

TEST_F(FullScreenTitleBarTest, AStripOfHalfTheScreenSlidesDownInNineteenTicks)
{
    RECT rc;
    ::GetWindowRect(m_bar->GetSafeHwnd(), &rc);
    EXPECT_EQ(::GetSystemMetrics(SM_CXSCREEN) / 2 - 250, rc.left);
    EXPECT_EQ(500, rc.right - rc.left);
    EXPECT_EQ(-19, Top());
    Slide(18);
    EXPECT_EQ(-1, Top());
    Slide(5);
    EXPECT_EQ(0, Top());
}

TEST_F(FullScreenTitleBarTest, UnpinnedItSlidesUpAfterTenTicksOutside)
{
    m_bar->Show(true, true);
    Slide(19);
    m_bar->SetPinned(false);
    Watch(9);
    EXPECT_TRUE(m_bar->IsShowing());
    // Back over the strip: the count starts again.
    RECT strip;
    ::GetWindowRect(m_bar->GetSafeHwnd(), &strip);
    m_bar->OnWatchTick(POINT{strip.left + 50, strip.top + 5});
    EXPECT_EQ(0, m_bar->GetOutsideTicks());
    Watch(9);
    EXPECT_TRUE(m_bar->IsShowing());
    Watch(1);
    EXPECT_FALSE(m_bar->IsShowing());
    Slide(25);
    EXPECT_EQ(-19, Top());
    EXPECT_TRUE(::IsWindowVisible(m_bar->GetSafeHwnd()));  // only leaving full screen hides it
}

TEST_F(FullScreenTitleBarTest, PinnedItStaysAndLeavingFullScreenHidesItOnceUp)
{
    m_bar->SetPinned(true);
    Slide(19);
    Watch(30);
    EXPECT_TRUE(m_bar->IsShowing());
    EXPECT_EQ(0, Top());
    m_bar->Show(false, true);
    Slide(25);
    EXPECT_FALSE(::IsWindowVisible(m_bar->GetSafeHwnd()));
    // Mouse moves no longer bring it back until it is shown again.
    ::SendMessageA(m_bar->GetSafeHwnd(), WM_MOUSEMOVE, 0, 0);
    Slide(25);
    EXPECT_FALSE(::IsWindowVisible(m_bar->GetSafeHwnd()));
    m_bar->Show(true, true);
    EXPECT_TRUE(::IsWindowVisible(m_bar->GetSafeHwnd()));
}

TEST_F(FullScreenTitleBarTest, CloseHidesTheStripAndKeepsItsWindow)
{
    HWND hStrip = m_bar->GetSafeHwnd();
    ::SendMessageA(hStrip, WM_CLOSE, 0, 0);
    EXPECT_TRUE(::IsWindow(hStrip));
    EXPECT_FALSE(::IsWindowVisible(hStrip));
    m_bar->Show(true, true);
    EXPECT_TRUE(::IsWindowVisible(hStrip));
}

TEST_F(FullScreenTitleBarTest, TheButtonsPostTheirCommandsToTheOwner)
{
    HWND hMax = ::GetDlgItem(m_bar->GetSafeHwnd(), CFullScreenTitleBar::kMaximize);
    ASSERT_NE(nullptr, hMax);
    ::SendMessageA(m_bar->GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(CFullScreenTitleBar::kMaximize, STN_CLICKED),
                   reinterpret_cast<LPARAM>(hMax));
    MSG msg = {};
    ASSERT_TRUE(::PeekMessageA(&msg, m_hOwner, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(CFullScreenTitleBar::kCmdFullScreen, LOWORD(msg.wParam));
    ::SendMessageA(m_bar->GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(CFullScreenTitleBar::kPin, STN_CLICKED), 0);
    EXPECT_TRUE(m_bar->IsAutoHide());
}

} // namespace
