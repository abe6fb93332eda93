// The links bar in a rebar on real windows: a new set of links gives every
// button and the band's ideal width, and leaves the rebar shown or hidden
// as it was.
#include <gtest/gtest.h>

#include <vector>

#include "bars/LinksBar.h"

namespace {

const UINT kLinksId = 59396;
const DWORD kBandStyle = 0x50002020;

class LinksBarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_hTop = ::CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 600, 120, nullptr, nullptr,
                                   nullptr, nullptr);
        ASSERT_NE(nullptr, m_hTop);
        m_hReBar = ::CreateWindowExA(0, REBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | RBS_VARHEIGHT, 0, 0, 600, 60,
                                     m_hTop, nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, m_hReBar);
        ASSERT_TRUE(m_bar.Create(CWnd::FromHandle(m_hReBar), kBandStyle, kLinksId));
        REBARBANDINFOA band = {};
        band.cbSize = sizeof(band);
        band.fMask = RBBIM_CHILD | RBBIM_ID | RBBIM_CHILDSIZE | RBBIM_SIZE;
        band.hwndChild = m_bar.m_hWnd;
        band.wID = kLinksId;
        band.cyMinChild = 22;
        band.cx = 500;
        ASSERT_TRUE(::SendMessageA(m_hReBar, RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band)));
    }
    void TearDown() override
    {
        m_bar.DestroyWindow();
        ::DestroyWindow(m_hTop);
    }
    static std::vector<LinkButton> Links(int count)
    {
        std::vector<LinkButton> links(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i) {
            links[static_cast<size_t>(i)].label.Format("Folder %d", i + 1);
            links[static_cast<size_t>(i)].command = CLinksBar::kCmdFirstItem + static_cast<UINT>(i);
            links[static_cast<size_t>(i)].style = BTNS_AUTOSIZE | (i % 2 == 0 ? BTNS_DROPDOWN : 0);
        }
        return links;
    }
    UINT IdealWidth() const
    {
        REBARBANDINFOA band = {};
        band.cbSize = sizeof(band);
        band.fMask = RBBIM_IDEALSIZE;
        ::SendMessageA(m_hReBar, RB_GETBANDINFOA, 0, reinterpret_cast<LPARAM>(&band));
        return band.cxIdeal;
    }

    HWND m_hTop = nullptr;
    HWND m_hReBar = nullptr;
    CLinksBar m_bar;
};

} // namespace

TEST_F(LinksBarTest, NewLinksGiveEveryButtonAndKeepTheRebarAsItWas)
{
    struct Case
    {
        const char* name;
        bool shown;
        int count;
    };
    const Case cases[] = {
        {"shown, a few", true, 3},
        {"shown, many", true, 40},
        {"hidden, a few", false, 3},
        {"hidden, many", false, 40},
        {"shown again, none", true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ::ShowWindow(m_hReBar, c.shown ? SW_SHOWNA : SW_HIDE);
        m_bar.SetLinks(Links(c.count));
        EXPECT_EQ(c.shown, ::IsWindowVisible(m_hReBar) != FALSE);
        EXPECT_EQ(c.shown, (::GetWindowLongPtrA(m_hReBar, GWL_STYLE) & WS_VISIBLE) != 0);
        ASSERT_EQ(c.count, m_bar.GetButtonCount());
        if (c.count == 0)
            continue;
        CRect last;
        ASSERT_TRUE(m_bar.GetItemRect(c.count - 1, &last));
        EXPECT_GE(static_cast<int>(IdealWidth()), last.right - 4);
        // Each button names its link.
        TBBUTTON button = {};
        ASSERT_TRUE(m_bar.GetButton(c.count - 1, &button));
        EXPECT_EQ(static_cast<int>(CLinksBar::kCmdFirstItem) + c.count - 1, button.idCommand);
    }
}
