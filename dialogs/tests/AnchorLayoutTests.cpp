// Controls that follow a resizable window's edges.
#include <gtest/gtest.h>

#include "dialogs/core/AnchorLayout.h"

namespace {

class AnchorLayoutTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_owner.CreateEx(0, nullptr, "owner", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr));
        Resize(300, 200);
        m_child.CreateEx(0, "BUTTON", "c", WS_CHILD | WS_VISIBLE, 10, 20, 50, 30, m_owner.m_hWnd, nullptr);
    }
    void TearDown() override { m_owner.DestroyWindow(); }

    // Sets the owner's client size.
    void Resize(int cx, int cy)
    {
        RECT rc = { 0, 0, cx, cy };
        ::AdjustWindowRectEx(&rc, WS_POPUP, FALSE, 0);
        m_owner.SetWindowPos(nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top, SWP_NOMOVE | SWP_NOZORDER);
    }
    RECT ChildPlace() const
    {
        RECT rc;
        ::GetWindowRect(m_child.m_hWnd, &rc);
        ::MapWindowPoints(nullptr, m_owner.m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    }

    CWnd m_owner;
    CWnd m_child;
    CAnchorLayout m_layout;
};

void ExpectRect(const RECT& rc, LONG left, LONG top, LONG right, LONG bottom)
{
    EXPECT_EQ(left, rc.left);
    EXPECT_EQ(top, rc.top);
    EXPECT_EQ(right, rc.right);
    EXPECT_EQ(bottom, rc.bottom);
}

} // namespace

TEST_F(AnchorLayoutTest, StretchingControlGrowsByWhatTheWindowGrows)
{
    ASSERT_TRUE(m_layout.AddControl(&m_child, CAnchorLayout::kRight | CAnchorLayout::kBottom));
    Resize(340, 260);
    m_layout.Relayout(&m_owner);
    ExpectRect(ChildPlace(), 10, 20, 100, 110);
}

TEST_F(AnchorLayoutTest, BottomRiderKeepsItsSizeAndItsX)
{
    ASSERT_TRUE(m_layout.AddControl(&m_child, CAnchorLayout::kBottom | CAnchorLayout::kKeepHeight));
    Resize(340, 260);
    m_layout.Relayout(&m_owner);
    ExpectRect(ChildPlace(), 10, 80, 60, 110);
}

TEST_F(AnchorLayoutTest, RegistrationsReplaceRemoveAndRefuse)
{
    EXPECT_TRUE(m_layout.AddControl(&m_child, CAnchorLayout::kRight));
    EXPECT_TRUE(m_layout.AddControl(&m_child, CAnchorLayout::kBottom));
    EXPECT_EQ(1, m_layout.GetCount());
    EXPECT_TRUE(m_layout.AddControl(&m_child, 0));
    EXPECT_EQ(0, m_layout.GetCount());
    EXPECT_FALSE(m_layout.AddControl(&m_child, 0));
    EXPECT_FALSE(m_layout.AddControl(&m_child, 0x13));
    EXPECT_FALSE(m_layout.AddControl(&m_child, 0x2C));
    EXPECT_EQ(0, m_layout.GetCount());
    CWnd dead;
    EXPECT_FALSE(m_layout.AddControl(&dead, CAnchorLayout::kRight));
    EXPECT_FALSE(m_layout.AddControl(nullptr, CAnchorLayout::kRight));
}

TEST_F(AnchorLayoutTest, TouchEdgesOffsetsStretchToTheClientEdges)
{
    ASSERT_TRUE(m_layout.AddControl(&m_child, CAnchorLayout::kMeasureTouchEdges,
                                    CAnchorLayout::kRight | CAnchorLayout::kBottom));
    m_layout.Relayout(&m_owner);
    ExpectRect(ChildPlace(), 10, 20, 300, 200);
}
