// Draw modes: the registry and selection, the colour helpers (exact values),
// the gradient fallback and the measurers.
#include <gtest/gtest.h>

#include "menulib/MenuTheme.h"
#include "menulib/NewMenu.h"

namespace {

// A memory context with a 24-bit bitmap, for reading painted pixels.
class MemoryCanvas
{
public:
    MemoryCanvas(int cx, int cy)
    {
        HDC hScreen = ::GetDC(nullptr);
        m_hDC = ::CreateCompatibleDC(hScreen);
        m_hBitmap = ::CreateCompatibleBitmap(hScreen, cx, cy);
        ::ReleaseDC(nullptr, hScreen);
        m_hOld = ::SelectObject(m_hDC, m_hBitmap);
    }
    ~MemoryCanvas()
    {
        ::SelectObject(m_hDC, m_hOld);
        ::DeleteObject(m_hBitmap);
        ::DeleteDC(m_hDC);
    }
    HDC m_hDC;

private:
    HBITMAP m_hBitmap;
    HGDIOBJ m_hOld;
};

} // namespace

TEST(MenuDrawModeTest, DialogsLibrarySetUpRegistersSixModesWithModeTwoCurrent)
{
    CNewMenuHook setup(MenuLibBuild::DialogsLibrary);
    ASSERT_NE(nullptr, GetCurrentMenuDrawMode());
    EXPECT_EQ(2, GetCurrentMenuDrawMode()->m_nMode);
    for (int nMode = 0; nMode < 6; ++nMode)
    {
        CMenuTheme* pMode = FindMenuDrawMode(nMode);
        ASSERT_NE(nullptr, pMode) << nMode;
        EXPECT_EQ(nMode % 2 == 0, pMode->HasOwnFrame() != FALSE) << nMode;
    }
    EXPECT_NE(nullptr, dynamic_cast<CMenuThemeFlat*>(FindMenuDrawMode(3)));
    EXPECT_NE(nullptr, dynamic_cast<CMenuThemeGradient*>(FindMenuDrawMode(4)));

    // Unknown numbers change nothing.
    EXPECT_EQ(nullptr, CNewMenu::SetMenuDrawMode(9));
    EXPECT_EQ(2, GetCurrentMenuDrawMode()->m_nMode);
    CMenuTheme* pGradient = CNewMenu::SetMenuDrawMode(4);
    ASSERT_NE(nullptr, pGradient);
    EXPECT_EQ(pGradient, GetCurrentMenuDrawMode());
    EXPECT_EQ(nullptr, CNewMenu::SetMenuDrawMode(-1));
    EXPECT_EQ(pGradient, GetCurrentMenuDrawMode());
}

TEST(MenuDrawModeTest, MainProgramSetUpHasModeZeroOnlyAndNoHook)
{
    {
        CNewMenuHook setup(MenuLibBuild::MainProgram);
        EXPECT_FALSE(setup.IsHookInstalled());
        ASSERT_NE(nullptr, GetCurrentMenuDrawMode());
        EXPECT_EQ(0, GetCurrentMenuDrawMode()->m_nMode);
        EXPECT_EQ(nullptr, CNewMenu::SetMenuDrawMode(2));
        EXPECT_EQ(0, GetCurrentMenuDrawMode()->m_nMode);
        EXPECT_EQ(MenuLibBuild::MainProgram, GetMenuLibBuild());
    }
    EXPECT_EQ(nullptr, GetCurrentMenuDrawMode());
    EXPECT_EQ(nullptr, FindMenuDrawMode(0));
    CNewMenuHook restore(MenuLibBuild::DialogsLibrary);  // the default build again
}

TEST(MenuDrawModeTest, RegisteringTwiceKeepsOneEntryAndFindWalksFromTheFirst)
{
    CMenuTheme* pFirst = new CMenuTheme(7, 0, MeasureItemFlat, DrawItemFlat, DrawMenuTitle);
    CMenuTheme* pSecond = new CMenuTheme(7, 1, MeasureItemFlat, DrawItemFlat, DrawMenuTitle);
    EXPECT_TRUE(RegisterMenuDrawMode(pFirst));
    EXPECT_FALSE(RegisterMenuDrawMode(pFirst));
    EXPECT_TRUE(RegisterMenuDrawMode(pSecond));
    EXPECT_FALSE(RegisterMenuDrawMode(nullptr));
    EXPECT_EQ(pFirst, FindMenuDrawMode(7));
    EXPECT_EQ(pFirst, SetCurrentMenuDrawMode(7));
    UnregisterAllMenuDrawModes();  // deletes both
    EXPECT_EQ(nullptr, FindMenuDrawMode(7));
    EXPECT_EQ(nullptr, GetCurrentMenuDrawMode());
}

TEST(MenuDrawModeTest, MarginsFollowTheSystemShadow)
{
    CMenuTheme mode(0, 1, MeasureItemClassic, DrawItemClassic, DrawMenuTitle);
    EXPECT_EQ(2, mode.m_nLeftMargin);
    EXPECT_EQ(2, mode.m_nTopMargin);
    EXPECT_EQ(IsSystemMenuShadow() ? 2 : 5, mode.m_nRightMargin);
    EXPECT_EQ(IsSystemMenuShadow() ? 2 : 6, mode.m_nBottomMargin);
}

TEST(MenuColourTest, HelpersRoundEachChannel)
{
    EXPECT_EQ(RGB(100, 50, 25), DarkenColor(128, RGB(200, 100, 50)));
    EXPECT_EQ(RGB(219, 219, 219), MixColors86(RGB(255, 255, 255), RGB(0, 0, 0)));
    EXPECT_EQ(RGB(179, 179, 179), MixColors70(RGB(255, 255, 255), RGB(0, 0, 0)));
    EXPECT_EQ(RGB(36, 36, 36), MixColors86(RGB(0, 0, 0), RGB(255, 255, 255)));
    EXPECT_EQ(RGB(179, 179, 217), ShadeMenuColor(RGB(255, 255, 255)));
    EXPECT_EQ(RGB(0, 0, 39), ShadeMenuColor(RGB(0, 0, 0)));
    EXPECT_EQ(RGB(0, 0, 0), DarkenColor(255, RGB(255, 255, 255)));
    EXPECT_EQ(RGB(10, 20, 30), DarkenColor(0, RGB(10, 20, 30)));
}

TEST(MenuColourTest, MenuBackColourIsMenuOrMenuBar)
{
    COLORREF cr = GetMenuBackColor();
    EXPECT_TRUE(cr == ::GetSysColor(COLOR_MENU) || cr == ::GetSysColor(COLOR_MENUBAR));
}

TEST(MenuGradientTest, BandFallbackOnANarrowRectangleFillsTheEndColour)
{
    SetGradientFillFunction(nullptr);
    MemoryCanvas canvas(20, 10);
    RECT narrow = { 0, 0, 3, 10 };
    FillGradient(canvas.m_hDC, narrow, RGB(255, 0, 0), RGB(0, 0, 255), TRUE);
    for (int x = 0; x < 3; ++x)
        EXPECT_EQ(RGB(0, 0, 255), ::GetPixel(canvas.m_hDC, x, 5)) << x;

    // Wider: bands of 4 from the first colour towards the second.
    RECT wide = { 0, 0, 20, 10 };
    FillGradient(canvas.m_hDC, wide, RGB(0, 0, 0), RGB(160, 0, 0), TRUE);
    EXPECT_EQ(RGB(0, 0, 0), ::GetPixel(canvas.m_hDC, 1, 5));
    EXPECT_EQ(RGB(40, 0, 0), ::GetPixel(canvas.m_hDC, 5, 5));  // 160 * 4 / 16
    EXPECT_EQ(RGB(160, 0, 0), ::GetPixel(canvas.m_hDC, 17, 5));

    RECT tall = { 0, 0, 10, 10 };
    FillGradient(canvas.m_hDC, tall, RGB(0, 0, 0), RGB(0, 120, 0), FALSE);
    EXPECT_EQ(RGB(0, 0, 0), ::GetPixel(canvas.m_hDC, 5, 1));
    EXPECT_EQ(RGB(0, 120, 0), ::GetPixel(canvas.m_hDC, 5, 9));
}

TEST(MenuMeasureTest, SeparatorsTabsAndSystemCommands)
{
    CNewMenuHook setup(MenuLibBuild::DialogsLibrary);
    CNewMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    ASSERT_TRUE(menu.AppendODMenu("Close", 0, SC_CLOSE));
    ASSERT_TRUE(menu.AppendODMenu(nullptr, 0, 0));
    ASSERT_TRUE(menu.AppendODMenu("Open", 0, 100));
    ASSERT_TRUE(menu.AppendODMenu("Open\tCtrl+O", 0, 101));
    ASSERT_TRUE(menu.AppendODMenu("A much longer caption", 0, 102));

    auto measure = [&](size_t nIndex, UINT nID) {
        MEASUREITEMSTRUCT mis = {};
        mis.CtlType = ODT_MENU;
        mis.itemID = nID;
        mis.itemData = reinterpret_cast<ULONG_PTR>(menu.Items()[nIndex].get());
        menu.MeasureItem(&mis);
        return mis;
    };
    for (int nMode : { 0, 2, 4 })
    {
        ASSERT_NE(nullptr, CNewMenu::SetMenuDrawMode(nMode));
        EXPECT_EQ(3u, measure(1, 0).itemHeight) << nMode;
        MEASUREITEMSTRUCT plain = measure(2, 100);
        MEASUREITEMSTRUCT tabbed = measure(3, 101);
        MEASUREITEMSTRUCT longest = measure(4, 102);
        EXPECT_GT(plain.itemWidth, UINT(2 * 16 + 2));
        // "Open\tCtrl+O" is the text's width plus the icon allowance plus 15.
        EXPECT_GT(tabbed.itemWidth, plain.itemWidth + 15) << nMode;
        MEASUREITEMSTRUCT close = measure(0, SC_CLOSE);
        EXPECT_EQ(longest.itemWidth, close.itemWidth) << nMode;
        EXPECT_EQ(UINT(::GetSystemMetrics(SM_CYMENU)), close.itemHeight) << nMode;
        UINT nHeight = UINT(::GetSystemMetrics(SM_CYMENU));
        if (nMode == 0)
            nHeight = std::max(nHeight, UINT(15 + 4));
        EXPECT_EQ(nHeight, plain.itemHeight) << nMode;
    }
}
