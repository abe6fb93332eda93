// Opens a real owner-drawn popup in each of the six draw modes, measures its
// items through WM_MEASUREITEM and keeps a screenshot of it under the build
// tree (artifacts/menu-mode-N.bmp) to be looked at.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "menulib/MenuHook.h"
#include "menulib/NewFrame.h"
#include "MenuTestsRes.h"
#include "tests/support/WindowCapture.h"

namespace {

struct Capture : WindowCapture
{
    bool bSubclassed = false;
    bool bOwnFrame = false;
};

// The window as it is on the screen, frame included.
Capture GrabWindow(HWND hWnd, Capture c)
{
    static_cast<WindowCapture&>(c) = CaptureWindow(hWnd);
    return c;
}

// A frame that takes the screenshot once the popup is idle, then ends the menu.
class CCaptureFrame : public CNewFrameWnd
{
public:
    std::vector<MEASUREITEMSTRUCT> m_measured;
    Capture m_capture;
    HWND m_hPopup = nullptr;

protected:
    void OnTestCommand(UINT) {}
    void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMis)
    {
        CNewFrameWnd::OnMeasureItem(nIDCtl, lpMis);
        m_measured.push_back(*lpMis);
    }
    LRESULT OnEnterIdle(WPARAM wParam, LPARAM lParam)
    {
        if (wParam == MSGF_MENU && m_hPopup == nullptr && lParam != 0)
        {
            m_hPopup = reinterpret_cast<HWND>(lParam);
            MenuPopupRecord* pRecord = FindMenuPopupRecord(m_hPopup);
            m_capture.bSubclassed = pRecord != nullptr;
            m_capture.bOwnFrame = pRecord != nullptr && (pRecord->flags & kPopupBorderRemoved);
            ::RedrawWindow(m_hPopup, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW);
            m_capture = GrabWindow(m_hPopup, m_capture);
            ::EndMenu();
        }
        return Default();
    }

    DECLARE_MESSAGE_MAP()

};

BEGIN_MESSAGE_MAP(CCaptureFrame, CNewFrameWnd)
    ON_WM_MEASUREITEM()
    ON_MESSAGE(WM_ENTERIDLE, OnEnterIdle)
    ON_COMMAND_RANGE(ID_TEST_OPEN, ID_TEST_PASTE, OnTestCommand)
END_MESSAGE_MAP()

// Ends a menu whose popup never went idle, so that a run cannot hang.
void CALLBACK EndStuckMenu(HWND, UINT, UINT_PTR, DWORD)
{
    ::EndMenu();
}

int CountColours(const Capture& c)
{
    std::vector<DWORD> seen;
    for (size_t i = 0; i + 2 < c.pixels.size(); i += 3)
    {
        DWORD cr = c.pixels[i] | (c.pixels[i + 1] << 8) | (c.pixels[i + 2] << 16);
        bool bKnown = false;
        for (DWORD s : seen)
            bKnown = bKnown || s == cr;
        if (!bKnown)
            seen.push_back(cr);
        if (seen.size() > 16)
            break;
    }
    return static_cast<int>(seen.size());
}

class MenuCaptureTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_pFrame = new CCaptureFrame;
        ASSERT_TRUE(m_pFrame->LoadFrame(IDR_TESTFRAME, WS_OVERLAPPEDWINDOW));
        m_pFrame->ShowWindow(SW_SHOW);
        m_pFrame->UpdateWindow();
        ASSERT_TRUE(m_menu.LoadMenu(IDR_TESTMENU));
    }
    void TearDown() override
    {
        if (m_pFrame != nullptr && ::IsWindow(m_pFrame->m_hWnd))
            m_pFrame->DestroyWindow();  // deletes the frame
    }

    // Opens the File popup once in the current mode.
    Capture OpenAndCapture(std::vector<MEASUREITEMSTRUCT>& rMeasured)
    {
        CNewMenu* pFile = m_menu.GetSubMenu(0);
        m_pFrame->m_measured.clear();
        m_pFrame->m_capture = Capture();
        m_pFrame->m_hPopup = nullptr;
        UINT_PTR nTimer = ::SetTimer(nullptr, 0, 5000, EndStuckMenu);
        pFile->TrackPopupMenu(TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD, 200, 150, m_pFrame);
        ::KillTimer(nullptr, nTimer);
        rMeasured = m_pFrame->m_measured;
        return m_pFrame->m_capture;
    }

    CNewMenuHook m_setup{ MenuLibBuild::DialogsLibrary };
    CCaptureFrame* m_pFrame = nullptr;
    CNewMenu m_menu;
};

} // namespace

TEST_F(MenuCaptureTest, EveryDrawModePaintsAPopupOfItsMeasuredSize)
{
    CNewMenu* pFile = m_menu.GetSubMenu(0);
    ASSERT_NE(nullptr, pFile);
    // An icon and a checked item, so that every painter shows its image column.
    ASSERT_TRUE(pFile->AppendODMenuWithIcon(0, ID_TEST_PASTE, "Icon item",
                                            ::LoadIconA(nullptr, MAKEINTRESOURCEA(32512))));
    ::CheckMenuItem(pFile->m_hMenu, ID_TEST_SAVE, MF_BYCOMMAND | MF_CHECKED);

    std::string dir = ArtifactFolder("VA_MENULIB_ARTIFACTS");
    std::vector<Capture> captures;
    for (int nMode = 0; nMode < 6; ++nMode)
    {
        SCOPED_TRACE(nMode);
        ASSERT_NE(nullptr, CNewMenu::SetMenuDrawMode(nMode));
        std::vector<MEASUREITEMSTRUCT> measured;
        Capture c = OpenAndCapture(measured);
        ASSERT_GT(c.nWidth, 0) << "the popup never went idle";

        // Every item of the popup was measured by the library.
        ASSERT_EQ(size_t(::GetMenuItemCount(pFile->m_hMenu)), measured.size());
        UINT nWidest = 0;
        UINT nTotal = 0;
        for (const MEASUREITEMSTRUCT& mis : measured)
        {
            nWidest = std::max(nWidest, mis.itemWidth);
            nTotal += mis.itemHeight;
        }
        EXPECT_EQ(3u, measured[2].itemHeight);  // the separator
        // The window holds the items, and not much more than its frame.
        EXPECT_GE(UINT(c.nWidth), nWidest);
        EXPECT_GE(UINT(c.nHeight), nTotal);
        EXPECT_LE(UINT(c.nHeight), nTotal + 40);
        EXPECT_TRUE(c.bSubclassed);
        EXPECT_EQ(nMode % 2 == 0, c.bOwnFrame);

        EXPECT_GT(CountColours(c), 3) << "a blank popup";
        char name[32];
        std::snprintf(name, sizeof(name), "/menu-mode-%d.bmp", nMode);
        EXPECT_TRUE(WriteBitmap(dir + name, c));
        captures.push_back(c);
    }
    // The three looks differ from each other.
    EXPECT_NE(captures[0].pixels, captures[2].pixels);
    EXPECT_NE(captures[2].pixels, captures[4].pixels);
    EXPECT_NE(captures[1].pixels, captures[3].pixels);
}

TEST_F(MenuCaptureTest, MenuBarOfTheMainProgramsModeIsPainted)
{
    ASSERT_NE(nullptr, CNewMenu::SetMenuDrawMode(0));
    HWND hWnd = m_pFrame->m_hWnd;
    ::MoveWindow(hWnd, 40, 40, 320, 160, TRUE);
    ::DrawMenuBar(hWnd);
    ::RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW);

    // Only the menu bar: from the window's top to the client area.
    Capture whole = GrabWindow(hWnd, Capture());
    ASSERT_GT(whole.nWidth, 0);
    MENUBARINFO info = {};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(::GetMenuBarInfo(hWnd, OBJID_MENU, 0, &info));
    RECT rcWindow;
    ::GetWindowRect(hWnd, &rcWindow);
    int nTop = info.rcBar.top - rcWindow.top;
    int nBottom = info.rcBar.bottom - rcWindow.top;
    ASSERT_GT(nBottom, nTop);
    Capture bar = whole;
    size_t nStride = (static_cast<size_t>(whole.nWidth) * 3 + 3) & ~size_t(3);
    bar.nHeight = nBottom - nTop;
    bar.pixels.assign(whole.pixels.begin() + static_cast<std::ptrdiff_t>((whole.nHeight - nBottom) * nStride),
                      whole.pixels.begin() + static_cast<std::ptrdiff_t>((whole.nHeight - nTop) * nStride));
    EXPECT_GT(CountColours(bar), 1) << "an empty menu bar";
    EXPECT_TRUE(WriteBitmap(ArtifactFolder("VA_MENULIB_ARTIFACTS") + "/menu-bar-mode-0.bmp", bar));
}

TEST_F(MenuCaptureTest, TitlesArePaintedAcrossAndDownThePopup)
{
    const UINT kTitles[] = {
        CNewMenuItemData::kTitleGradient | CNewMenuItemData::kTitleEtched | CNewMenuItemData::kTitleCentred,
        CNewMenuItemData::kTitleVertical | CNewMenuItemData::kTitleRounded,
        CNewMenuItemData::kTitleVertical | CNewMenuItemData::kTitleGradient | CNewMenuItemData::kTitleSunken,
    };
    std::string dir = ArtifactFolder("VA_MENULIB_ARTIFACTS");
    ASSERT_NE(nullptr, CNewMenu::SetMenuDrawMode(2));
    for (size_t i = 0; i < sizeof(kTitles) / sizeof(kTitles[0]); ++i)
    {
        SCOPED_TRACE(i);
        CNewMenu popup;
        ASSERT_TRUE(popup.CreatePopupMenu());
        ASSERT_TRUE(popup.AppendODMenu("Cut", 0, ID_TEST_CUT));
        ASSERT_TRUE(popup.AppendODMenu("Copy", 0, ID_TEST_COPY));
        ASSERT_TRUE(popup.AppendODMenu("Paste", 0, ID_TEST_PASTE));
        ASSERT_EQ(1, popup.SetMenuTitle("Title", kTitles[i]));

        m_pFrame->m_capture = Capture();
        m_pFrame->m_hPopup = nullptr;
        m_pFrame->m_measured.clear();
        UINT_PTR nTimer = ::SetTimer(nullptr, 0, 5000, EndStuckMenu);
        popup.TrackPopupMenu(TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD, 300, 200, m_pFrame);
        ::KillTimer(nullptr, nTimer);
        Capture c = m_pFrame->m_capture;
        ASSERT_GT(c.nWidth, 0);
        EXPECT_EQ(4u, m_pFrame->m_measured.size());
        EXPECT_GT(CountColours(c), 3);
        char name[32];
        std::snprintf(name, sizeof(name), "/menu-title-%d.bmp", static_cast<int>(i));
        EXPECT_TRUE(WriteBitmap(dir + name, c));
    }
}
