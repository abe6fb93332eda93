// What the tab bars show on the real frame with the settings of a first
// start: each page title readable right of its status image, each group tab
// its group's name, in both looks of the bars (drawn by the system, as the
// program starts, and drawn by the program itself).
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/MainFrame.h"
#include "app/VantorelApp.h"
#include "bars/GroupTabBar.h"
#include "bars/PageTabBar.h"
#include "bars/TabCloseButton.h"
#include "shared/AppData.h"
#include "shared/AppSettings.h"
#include "tab/TabGroup.h"
#include "tab/TabItem.h"
#include "app/tests/TabFixture.h"
#include "tests/support/WindowCapture.h"

namespace {

// cp932 text from a UTF-8 literal, as the program's data holds it.
std::string Cp932(const char* utf8)
{
    wchar_t wide[256] = {};
    ::MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide, 256);
    char narrow[512] = {};
    ::WideCharToMultiByte(932, 0, wide, -1, narrow, sizeof(narrow), nullptr, nullptr);
    return narrow;
}

// A test-control page whose title is the UTF-8 text.
std::string PageUrl(const char* utf8Title)
{
    std::string url = "http://title.example/?va-title=";
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(utf8Title); *p != 0; ++p)
    {
        char escaped[4];
        std::snprintf(escaped, sizeof(escaped), "%%%02X", *p);
        url += escaped;
    }
    return url;
}

// Where one tab's drawing lies, column by column, inside its item less the
// edge lines: the status image (its one colour) and the text (dark pixels).
struct TabPixels
{
    int imageLeft = INT_MAX, imageRight = -1;
    int textLeft = INT_MAX, textRight = -1;
    int textPixels = 0;
};

bool IsDark(COLORREF c)
{
    return std::max({GetRValue(c), GetGValue(c), GetBValue(c)}) < 100;
}

TabPixels ReadTab(const WindowCapture& shot, const CRect& item, COLORREF imageColour)
{
    TabPixels found;
    for (int y = item.top + 2; y < item.bottom - 2; ++y)
        for (int x = item.left + 2; x < item.right - 3; ++x)
        {
            const COLORREF c = shot.At(x, y);
            if (c == imageColour)
            {
                found.imageLeft = std::min(found.imageLeft, x);
                found.imageRight = std::max(found.imageRight, x);
            }
            else if (IsDark(c))
            {
                ++found.textPixels;
                found.textLeft = std::min(found.textLeft, x);
                found.textRight = std::max(found.textRight, x);
            }
        }
    return found;
}

// The one colour of an image of the list, or CLR_INVALID.
COLORREF ImageColour(HIMAGELIST list, int index)
{
    for (COLORREF c : ImagePixels(list, index))
        if (c != RGB(255, 255, 255))
            return c;
    return CLR_INVALID;
}

struct Look
{
    const char* name;
    bool systemDrawn;
};
const Look kLooks[] = {{"drawn by the system", true}, {"drawn by the program", false}};

class TabCaptionTest : public TabTest
{
protected:
    TabCaptionTest() { m_shippedSettings = true; }

    CPageTabBar& Pages() { return *m_frame->m_pPageTabBar; }
    CGroupTabBar& Groups() { return *m_frame->m_pGroupTabBar; }

    // Both bars made again in the look.
    void UseLook(const Look& look)
    {
        AppSettings().bOldStyle(look.systemDrawn);
        AppSettings().bOldStyle_P(look.systemDrawn);
        m_frame->RecreateGroupTabBar();
        m_frame->RecreateTabBar();
        m_frame->RecalcLayout();
        Pump();
    }
    // The bar as the screen shows it, painted through.
    WindowCapture Shot(CWnd& bar)
    {
        ::SetWindowPos(m_frame->m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        ::RedrawWindow(bar.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        Pump();
        return CaptureWindow(bar.m_hWnd);
    }
    static CRect ItemRect(CTabCtrl& bar, int index)
    {
        CRect rc;
        bar.GetItemRect(index, &rc);
        return rc;
    }
};

// Each title begins right of its image: nothing of it lies on the image or
// left of it. Drawn by the program, a title that fits its tab is centred
// in the room right of the image; a longer one starts at that room's left
// edge, so its beginning reads, and stays inside its tab.
TEST_F(TabCaptionTest, PageTitlesBeginRightOfTheirImages)
{
    struct Title
    {
        const char* utf8;
        bool fits;  // in a tab of the shipped fixed width
    };
    const Title titles[] = {{"地図", true}, {"ようこそ", false}, {"ニュース - 今日の話題", false}};
    const int imageWidth = 16;
    for (const Look& look : kLooks)
    {
        SCOPED_TRACE(look.name);
        UseLook(look);
        for (const Title& title : titles)
            Open(nullptr, PageUrl(title.utf8).c_str());
        Pump();
        const int count = static_cast<int>(sizeof(titles) / sizeof(titles[0]));
        ASSERT_EQ(count, Pages().GetItemCount());
        HIMAGELIST images = Pages().GetImageList();
        ASSERT_NE(nullptr, images);
        const WindowCapture shot = Shot(Pages());
        for (int i = 0; i < count; ++i)
        {
            SCOPED_TRACE(titles[i].utf8);
            EXPECT_EQ(Cp932(titles[i].utf8), std::string(Pages().GetItemText(i)));
            const CRect item = ItemRect(Pages(), i);
            const TabPixels drawn = ReadTab(shot, item, ImageColour(images, Pages().GetItemImage(i)));
            ASSERT_GE(drawn.imageRight, 0) << "the status image shows";
            ASSERT_GT(drawn.textPixels, 20) << "the title shows";
            EXPECT_GT(drawn.textLeft, drawn.imageRight);
            if (look.systemDrawn)
                continue;
            const int roomLeft = item.left + 3 + imageWidth;
            const int roomRight = item.right - 3;
            EXPECT_GE(drawn.textLeft, roomLeft);
            EXPECT_LT(drawn.textRight, roomRight);
            if (titles[i].fits)
                EXPECT_NEAR(drawn.textLeft - roomLeft, roomRight - 1 - drawn.textRight, 3) << "centred";
            else
                EXPECT_LE(drawn.textLeft - roomLeft, 2) << "begins at the room's left edge";
        }
        m_frame->CloseAllGroupsNow();
        Pump();
    }
}

// Each group tab reads its group's name, expanded; a group made without a
// name takes the shipped default name.
TEST_F(TabCaptionTest, GroupTabsShowTheirGroupsNames)
{
    struct Group
    {
        const char* utf8Name;  // null: no name given
        std::string caption;
    };
    const std::vector<Group> groups = {
        {nullptr, std::string(AppStrings().GetEtcText(68))},  // the first group, made by opening a page
        {"ニュース", Cp932("ニュース")},
        {"検索%i", Cp932("検索3")},       // the third group made
        {"タブ%c枚", Cp932("タブ1枚")},   // one page in it
    };
    ASSERT_FALSE(groups[0].caption.empty());
    for (const Look& look : kLooks)
    {
        SCOPED_TRACE(look.name);
        UseLook(look);
        Open(nullptr, PageUrl("地図").c_str());
        for (size_t i = 1; i < groups.size(); ++i)
        {
            CTabGroup* group = m_frame->CreateGroup(Cp932(groups[i].utf8Name).c_str(), 113, 0);
            ASSERT_NE(nullptr, group);
            Open(group, PageUrl("地図").c_str());
        }
        Pump();
        ASSERT_EQ(static_cast<int>(groups.size()), Groups().GetItemCount());
        const WindowCapture shot = Shot(Groups());
        for (size_t i = 0; i < groups.size(); ++i)
        {
            const int index = static_cast<int>(i);
            SCOPED_TRACE(groups[i].caption);
            EXPECT_EQ(groups[i].caption, std::string(Groups().GetGroupAt(index)->m_caption));
            EXPECT_EQ(groups[i].caption, std::string(Groups().GetItemText(index)));
            const TabPixels drawn = ReadTab(shot, ItemRect(Groups(), index), CLR_INVALID);
            EXPECT_GT(drawn.textPixels, 20) << "the caption shows";
        }
        m_frame->CloseAllGroupsNow();
        Pump();
    }
}

// The tab button over the tab under the mouse shows its images on a face
// of its own: the title beneath does not show through.
TEST_F(TabCaptionTest, TheTabButtonCoversTheTitleBeneathIt)
{
    struct Bar
    {
        const char* name;
        bool pages;
        bool twoPart;  // over a group of two pages
    };
    const Bar bars[] = {{"page tab", true, false}, {"group tab", false, true}};
    for (const Look& look : kLooks)
    {
        SCOPED_TRACE(look.name);
        UseLook(look);
        Open(nullptr, PageUrl("ニュース - 今日の話題").c_str());
        Open(nullptr, PageUrl("ニュース - 今日の話題").c_str());
        Pump();
        for (const Bar& bar : bars)
        {
            SCOPED_TRACE(bar.name);
            CTabBarCtrl& strip = bar.pages ? static_cast<CTabBarCtrl&>(Pages()) : Groups();
            const CRect item = ItemRect(strip, 0);
            // The first move makes the button, the next lays it over the tab.
            for (int i = 0; i < 2; ++i)
            {
                MSG move = {strip.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(item.left + 4, item.top + 4), 0, {0, 0}};
                m_frame->PreTranslateMessage(&move);
            }
            CTabCloseButton& button = m_frame->m_wndTabButton;
            ASSERT_TRUE(button.IsWindowVisible());
            EXPECT_EQ(bar.twoPart, button.IsTwoPart());
            const WindowCapture shot = Shot(strip);
            ::UpdateWindow(button.m_hWnd);
            const WindowCapture onTop = CaptureWindow(button.m_hWnd);
            const COLORREF cross = ImageColour(button.GetImageList(), CTabCloseButton::kClose);
            int crossPixels = 0, darkPixels = 0;
            for (int y = 0; y < onTop.nHeight; ++y)
                for (int x = 0; x < onTop.nWidth; ++x)
                {
                    crossPixels += onTop.At(x, y) == cross;
                    darkPixels += IsDark(onTop.At(x, y));
                }
            EXPECT_GT(crossPixels, 10) << "the close image shows";
            EXPECT_EQ(0, darkPixels) << "nothing of the title shows through";
            EXPECT_GT(ReadTab(shot, item, CLR_INVALID).textPixels, 20) << "the title shows beside the button";
        }
        m_frame->CloseAllGroupsNow();
        Pump();
    }
}

} // namespace
