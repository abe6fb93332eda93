// The dialog layout helper on a real window and its controls.
#include <gtest/gtest.h>

#include "tab/DlgLayout.h"

namespace {

class DlgLayoutTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_hParent = ::CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr,
                                      nullptr, nullptr);
        ASSERT_NE(nullptr, m_hParent);
        m_hChild = MakeChild(10, 20, 100, 30);
    }
    void TearDown() override { ::DestroyWindow(m_hParent); }
    HWND MakeChild(int x, int y, int w, int h)
    {
        return ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, x, y, w, h, m_hParent, nullptr, nullptr, nullptr);
    }
    void Resize(int w, int h)
    {
        ::SetWindowPos(m_hParent, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER);
        m_layout.OnSize(m_hParent);
    }
    CRect Place(HWND hChild)
    {
        CRect rc;
        ::GetWindowRect(hChild, &rc);
        ::MapWindowPoints(nullptr, m_hParent, reinterpret_cast<LPPOINT>(&rc), 2);
        return rc;
    }
    static RECT Special(LONG value) { return RECT{value, value, value, value}; }

    HWND m_hParent = nullptr;
    HWND m_hChild = nullptr;
    CDlgLayout m_layout;
};

TEST_F(DlgLayoutTest, RightAndBottomAnchorsFromThePresentPlaceStretchWithTheDialog)
{
    ASSERT_TRUE(m_layout.AddControl(m_hChild, Special(CDlgLayout::kFromPlace), CDlgLayout::kRight | CDlgLayout::kBottom));
    Resize(340, 220);
    EXPECT_EQ(CRect(10, 20, 150, 70), Place(m_hChild));
}

TEST_F(DlgLayoutTest, KeepWidthMovesAlongTheEdgeAndInvalidPairsAreRefused)
{
    const DWORD kBadPair = CDlgLayout::kLeft | CDlgLayout::kRight | CDlgLayout::kKeepWidth;
    EXPECT_FALSE(m_layout.AddControl(m_hChild, Special(CDlgLayout::kFromPlace), kBadPair));
    EXPECT_EQ(0u, m_layout.GetCount());
    ASSERT_TRUE(m_layout.AddControl(m_hChild, Special(CDlgLayout::kFromPlace), CDlgLayout::kRight | CDlgLayout::kKeepWidth));
    Resize(350, 200);
    EXPECT_EQ(CRect(60, 20, 160, 50), Place(m_hChild));
}

TEST_F(DlgLayoutTest, RegisteringAgainReplacesAndAnchorsZeroRemoves)
{
    ASSERT_TRUE(m_layout.AddControl(m_hChild, RECT{5, 5, 5, 5}, CDlgLayout::kLeft | CDlgLayout::kTop));
    ASSERT_TRUE(m_layout.AddControl(m_hChild, RECT{7, 9, 0, 0}, CDlgLayout::kLeft | CDlgLayout::kTop));
    EXPECT_EQ(1u, m_layout.GetCount());
    Resize(310, 210);
    EXPECT_EQ(CPoint(7, 9), Place(m_hChild).TopLeft());
    EXPECT_TRUE(m_layout.AddControl(m_hChild, RECT{}, 0));
    EXPECT_FALSE(m_layout.AddControl(m_hChild, RECT{}, 0));
    ::MoveWindow(m_hChild, 1, 1, 10, 10, FALSE);
    Resize(330, 230);
    EXPECT_EQ(CRect(1, 1, 11, 11), Place(m_hChild));
    EXPECT_FALSE(m_layout.AddControl(nullptr, RECT{}, CDlgLayout::kLeft));
}

TEST_F(DlgLayoutTest, ADestroyedControlDoesNotStopTheOthersFromMoving)
{
    HWND hOther = MakeChild(50, 50, 20, 20);
    ASSERT_TRUE(m_layout.AddControl(m_hChild, Special(CDlgLayout::kFromPlace), CDlgLayout::kRight | CDlgLayout::kKeepWidth));
    ASSERT_TRUE(m_layout.AddControl(hOther, Special(CDlgLayout::kFromPlace), CDlgLayout::kBottom | CDlgLayout::kKeepHeight));
    ::DestroyWindow(m_hChild);
    Resize(300, 240);
    EXPECT_EQ(CRect(50, 90, 70, 110), Place(hOther));
}

} // namespace
