// The drawn tab controls: caption cuts, tints and the painting of draw
// mode 2 on a real window.
#include <gtest/gtest.h>

#include "bars/BaseTabCtrl.h"
#include "framework/frame/FrameWnd.h"
#include "tests/support/WindowCapture.h"

namespace {

TEST(TruncateTabText, CutsOnCharacterBoundariesWithTheEllipsis)
{
    EXPECT_STREQ("abcde", TruncateTabText("abcde", 5, true));
    EXPECT_STREQ("abc\x81\x63", TruncateTabText("abcde", 3, true));
    EXPECT_STREQ("abc", TruncateTabText("abcde", 3, false));
    // A cut between the two bytes of "検" (8C 9F) falls one byte earlier.
    EXPECT_STREQ("a\x81\x63", TruncateTabText("a\x8C\x9F" "b", 2, true));
    EXPECT_STREQ("a\x8C\x9F\x81\x63", TruncateTabText("a\x8C\x9F" "b", 3, true));
    // A trail byte that looks like a lead byte ("ソ" is 83 5C) is no lead.
    EXPECT_STREQ("\x83\x5C\x81\x63", TruncateTabText("\x83\x5C\x83\x5C", 3, true));
    EXPECT_STREQ("\x81\x63", TruncateTabText("abc", 0, true));
    EXPECT_STREQ("", TruncateTabText("abc", 0, false));
    EXPECT_STREQ("", TruncateTabText("abc", -4, false));
}

TEST(ScaleColor, TruncatesEachChannelAndCapsAt255)
{
    EXPECT_EQ(RGB(255, 255, 255), ScaleColor(RGB(255, 255, 255), 1.5));
    EXPECT_EQ(RGB(150, 255, 15), ScaleColor(RGB(100, 200, 10), 1.5));
    EXPECT_EQ(RGB(74, 0, 1), ScaleColor(RGB(99, 0, 2), 0.75));
}

// A window to put strips on.
class DrawTabTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pFrame = new CFrameWnd;
        ASSERT_TRUE(m_pFrame->Create(nullptr, "tabs", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 500, 200)));
        m_hFrame = m_pFrame->m_hWnd;
        ASSERT_TRUE(m_tabs.Create(WS_CHILD | WS_VISIBLE | TCS_FOCUSNEVER, CRect(0, 0, 480, 40), m_pFrame, 43));
    }
    void TearDown() override
    {
        if (::IsWindow(m_hFrame))
            ::DestroyWindow(m_hFrame);
    }
    void AddItems(int count)
    {
        static const char* const kTexts[] = { "alpha", "beta", "gamma", "delta" };
        for (int i = 0; i < count; ++i)
        {
            TCITEMA item = {};
            item.mask = TCIF_TEXT;
            item.pszText = const_cast<LPSTR>(kTexts[i % 4]);
            m_tabs.InsertItem(i, &item);
        }
    }
    WindowCapture Paint()
    {
        m_tabs.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        return CaptureWindow(m_tabs.m_hWnd);
    }

    CFrameWnd* m_pFrame = nullptr;
    HWND m_hFrame = nullptr;
    CDrawTabCtrl m_tabs;
};

TEST_F(DrawTabTest, TintsFollowTheBackgroundAndTheStyle)
{
    const COLORREF back = RGB(200, 100, 40);
    m_tabs.SetBackColor(back);
    m_tabs.SetDrawStyle(true, 31);
    EXPECT_EQ(ScaleColor(back, 1.4), m_tabs.m_selColor);
    EXPECT_EQ(ScaleColor(back, 0.9), m_tabs.m_tabColor);
    EXPECT_EQ(ScaleColor(m_tabs.m_selColor, 1.5), m_tabs.m_selLight);
    EXPECT_EQ(ScaleColor(m_tabs.m_tabColor, 0.75), m_tabs.m_tabDark);
    EXPECT_EQ(ScaleColor(back, 0.2), m_tabs.GetTabTextColor(false));

    // Style 29 leaves the background out of the tints: the button face counts.
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    m_tabs.SetDrawStyle(true, 29);
    EXPECT_EQ(ScaleColor(face, 1.4), m_tabs.m_selColor);
    EXPECT_EQ(ScaleColor(face, 0.9), m_tabs.m_tabColor);
    // Flat without back tabs: unselected items in the background itself.
    m_tabs.SetDrawStyle(true, CDrawTabCtrl::TabDrawFlat);
    EXPECT_EQ(back, m_tabs.m_tabColor);
    EXPECT_EQ(face, m_tabs.m_selColor);
    m_tabs.SetDrawStyle(false, 31);
    EXPECT_EQ(0u, m_tabs.GetDrawStyle());
}

TEST_F(DrawTabTest, DrawModeTwoPaintsTheFacesAndOwnerDrawStyleFollowsTheMode)
{
    EXPECT_FALSE(m_tabs.SetDrawMode(3));
    ASSERT_TRUE(m_tabs.SetDrawMode(CBaseTabCtrl::kDrawnHere));
    EXPECT_TRUE(m_tabs.GetStyle() & TCS_OWNERDRAWFIXED);
    m_tabs.SetBackColor(RGB(40, 120, 200));
    // Light selection and back tabs, no gradient: plain faces to compare.
    m_tabs.SetDrawStyle(true, CDrawTabCtrl::TabDrawBackColor | CDrawTabCtrl::TabDrawLightSelection |
                                  CDrawTabCtrl::TabDrawBackTabs);
    AddItems(3);
    m_tabs.SetCurSel(1);
    WindowCapture shot = Paint();
    CRect sel, other;
    ASSERT_TRUE(m_tabs.GetItemRect(1, &sel));
    ASSERT_TRUE(m_tabs.GetItemRect(2, &other));
    EXPECT_EQ(m_tabs.m_selColor, shot.At(sel.left + 2, sel.bottom - 2));
    EXPECT_EQ(m_tabs.m_tabColor, shot.At(other.left + 2, other.bottom - 2));
    // The back-tab edge line in the light selection tint at each right edge.
    EXPECT_EQ(m_tabs.m_selLight, shot.At(other.right - 1, other.top + 2));
    WriteBitmap(ArtifactFolder("VA_BARS_ARTIFACTS") + "/draw-tabs.bmp", shot);

    ASSERT_TRUE(m_tabs.SetDrawMode(CBaseTabCtrl::kSystemDrawn));
    EXPECT_FALSE(m_tabs.GetStyle() & TCS_OWNERDRAWFIXED);
}

TEST_F(DrawTabTest, AStripWithoutItemsPaintsOnlyItsBackground)
{
    m_tabs.SetDrawMode(CBaseTabCtrl::kDrawnHere);
    m_tabs.SetBackColor(RGB(10, 200, 30));
    m_tabs.SetDrawStyle(true, 31);
    WindowCapture shot = Paint();
    EXPECT_EQ(RGB(10, 200, 30), shot.At(5, 2));
    EXPECT_EQ(RGB(10, 200, 30), shot.At(200, 4));
}

} // namespace
