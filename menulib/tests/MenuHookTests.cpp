// The popup-menu hook: which windows it subclasses, its records, and its
// installation and removal with the module that carries it.
#include <gtest/gtest.h>

#include "menulib/MenuHook.h"
#include "menulib/MenuTheme.h"
#include "menulib/NewMenu.h"

#include <memory>
#include <vector>

namespace {

const char kProp[] = "OldMenuProc";

// A popup-menu window of the system's class, made directly.
HWND CreateMenuWindow(DWORD dwStyle = WS_POPUP | WS_BORDER)
{
    return ::CreateWindowExA(WS_EX_DLGMODALFRAME, "#32768", "", dwStyle, 10, 10, 100, 80, nullptr, nullptr,
                             nullptr, nullptr);
}

WNDPROC ProcOf(HWND hWnd)
{
    return reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hWnd, GWLP_WNDPROC));
}

class MenuHookTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_setup.IsHookInstalled());
        ASSERT_NE(nullptr, CNewMenu::SetMenuDrawMode(2));
    }
    CNewMenuHook m_setup{ MenuLibBuild::DialogsLibrary };
};

} // namespace

TEST_F(MenuHookTest, OnlyTheExactPopupMenuClassIsSubclassed)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "#32768X";
    ::RegisterClassA(&wc);
    HWND hLookalike = ::CreateWindowExA(0, "#32768X", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                        wc.hInstance, nullptr);
    HWND hStatic = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, hLookalike);
    EXPECT_EQ(nullptr, FindMenuPopupRecord(hLookalike));
    EXPECT_FALSE(SubclassMenuWindow(hLookalike, FALSE));
    EXPECT_FALSE(SubclassMenuWindow(hStatic, FALSE));
    EXPECT_EQ(nullptr, ::GetPropA(hLookalike, kProp));
    ::DestroyWindow(hLookalike);
    ::DestroyWindow(hStatic);
}

TEST_F(MenuHookTest, CreatedPopupIsSubclassedWithoutItsBorderAndReleasedWhenDestroyed)
{
    HWND hPopup = CreateMenuWindow();
    ASSERT_NE(nullptr, hPopup);
    MenuPopupRecord* pRecord = FindMenuPopupRecord(hPopup);
    ASSERT_NE(nullptr, pRecord);
    EXPECT_EQ(ProcOf(hPopup), &MenuWindowProc);
    EXPECT_NE(nullptr, ::GetPropA(hPopup, kProp));
    EXPECT_EQ(DWORD(kPopupBorderRemoved), pRecord->flags);
    EXPECT_EQ(1, pRecord->paintOwnFrame);
    EXPECT_FALSE(::GetWindowLongPtrA(hPopup, GWL_STYLE) & WS_BORDER);
    EXPECT_FALSE(::GetWindowLongPtrA(hPopup, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
    EXPECT_FALSE(SubclassMenuWindow(hPopup, FALSE));  // once only

    ::SendMessageA(hPopup, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(pRecord->flags & kPopupClosedWithEsc);

    size_t nBefore = GetMenuPopupRecordCount();
    ::DestroyWindow(hPopup);
    EXPECT_EQ(nBefore - 1, GetMenuPopupRecordCount());
    EXPECT_EQ(nullptr, FindMenuPopupRecord(hPopup));
}

TEST_F(MenuHookTest, MoveKeepsTheSubclassingAndMoveWithResizeReleases)
{
    HWND hPopup = CreateMenuWindow();
    ASSERT_NE(nullptr, FindMenuPopupRecord(hPopup));
    ::SetWindowPos(hPopup, nullptr, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    MenuPopupRecord* pRecord = FindMenuPopupRecord(hPopup);
    ASSERT_NE(nullptr, pRecord);
    EXPECT_EQ(30, pRecord->x);
    EXPECT_EQ(39, pRecord->y);  // the own frame moves the popup up by one

    ::SetWindowPos(hPopup, nullptr, 60, 70, 150, 90, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(nullptr, FindMenuPopupRecord(hPopup));
    EXPECT_NE(ProcOf(hPopup), &MenuWindowProc);
    EXPECT_EQ(nullptr, ::GetPropA(hPopup, kProp));
    // The styles the window had are back.
    EXPECT_TRUE(::GetWindowLongPtrA(hPopup, GWL_STYLE) & WS_BORDER);
    ::DestroyWindow(hPopup);
}

TEST_F(MenuHookTest, HiddenPopupShownAgainIsSubclassedAgainAndGetsVisibleBack)
{
    HWND hPopup = CreateMenuWindow();
    ::ShowWindow(hPopup, SW_SHOWNOACTIVATE);
    ::ShowWindow(hPopup, SW_HIDE);
    EXPECT_EQ(nullptr, FindMenuPopupRecord(hPopup));

    ::SendMessageA(hPopup, kMsgMenuShown, 0, 0);
    MenuPopupRecord* pRecord = FindMenuPopupRecord(hPopup);
    ASSERT_NE(nullptr, pRecord);
    EXPECT_TRUE(pRecord->flags & kPopupSubclassedWhenShown);
    UnsubclassMenuWindow(hPopup);
    EXPECT_TRUE(::GetWindowLongPtrA(hPopup, GWL_STYLE) & WS_VISIBLE);
    ::ShowWindow(hPopup, SW_HIDE);
    ::DestroyWindow(hPopup);
}

TEST_F(MenuHookTest, PendingOwnerMenuGoesToTheNextPopup)
{
    CNewMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    CNewMenu::OnInitMenuPopup(nullptr, menu.m_hMenu, 0, FALSE);
    HWND hPopup = CreateMenuWindow();
    ASSERT_NE(nullptr, FindMenuPopupRecord(hPopup));
    EXPECT_EQ(menu.m_hMenu, FindMenuPopupRecord(hPopup)->hOwnerMenu);
    EXPECT_EQ(nullptr, CNewMenu::PeekPendingOwnerMenu());
    ::DestroyWindow(hPopup);
}

// Regression: the update region of WM_NCPAINT went to GetDCEx, which takes
// it over, and was then passed on to the previous procedure as well.
TEST_F(MenuHookTest, OwnFramePaintLeavesTheUpdateRegionToItsSender)
{
    HWND hPopup = CreateMenuWindow();
    ASSERT_NE(nullptr, FindMenuPopupRecord(hPopup));
    ::ShowWindow(hPopup, SW_SHOWNOACTIVATE);
    HRGN hRegion = ::CreateRectRgn(0, 0, 300, 300);
    ASSERT_NE(nullptr, hRegion);
    for (int mode : {2, 3}) {
        ASSERT_NE(nullptr, CNewMenu::SetMenuDrawMode(mode));
        ::SendMessageA(hPopup, WM_NCPAINT, reinterpret_cast<WPARAM>(hRegion), 0);
        RECT box = {};
        EXPECT_EQ(SIMPLEREGION, ::GetRgnBox(hRegion, &box)) << "mode " << mode;
        EXPECT_EQ(300, box.right);
    }
    ::DeleteObject(hRegion);
    ::ShowWindow(hPopup, SW_HIDE);
    ::DestroyWindow(hPopup);
}

TEST_F(MenuHookTest, SystemFrameModeKeepsTheBorder)
{
    ASSERT_NE(nullptr, CNewMenu::SetMenuDrawMode(3));
    HWND hPopup = CreateMenuWindow();
    MenuPopupRecord* pRecord = FindMenuPopupRecord(hPopup);
    ASSERT_NE(nullptr, pRecord);
    EXPECT_FALSE(pRecord->flags & kPopupBorderRemoved);
    EXPECT_TRUE(::GetWindowLongPtrA(hPopup, GWL_STYLE) & WS_BORDER);
    ::DestroyWindow(hPopup);
}

namespace {

typedef BOOL (*IsHookInstalledFn)();
typedef int (*PopupCountFn)();

} // namespace

// Regression: at unload the hook was removed while recorded popups kept a
// window procedure in the unloaded module.
TEST(MenuHookModuleTest, HookLivesWithTheModuleAndNoWindowKeepsItsCode)
{
    HMODULE hModule = ::LoadLibraryA("menulib_hook_module.dll");
    ASSERT_NE(nullptr, hModule);
    auto pfnInstalled = reinterpret_cast<IsHookInstalledFn>(::GetProcAddress(hModule, "HookModuleIsHookInstalled"));
    auto pfnCount = reinterpret_cast<PopupCountFn>(::GetProcAddress(hModule, "HookModulePopupCount"));
    ASSERT_NE(nullptr, pfnInstalled);
    ASSERT_NE(nullptr, pfnCount);
    EXPECT_TRUE(pfnInstalled());

    HWND hOpen = CreateMenuWindow();
    ASSERT_NE(nullptr, hOpen);
    WNDPROC pfnModuleProc = ProcOf(hOpen);
    WNDPROC pfnSystem = reinterpret_cast<WNDPROC>(::GetPropA(hOpen, kProp));
    EXPECT_NE(nullptr, pfnSystem);  // subclassed by the module's hook
    EXPECT_EQ(1, pfnCount());
    EXPECT_NE(pfnModuleProc, pfnSystem);

    ASSERT_TRUE(::FreeLibrary(hModule));
    // The still open popup has its own procedure back and works on.
    EXPECT_EQ(pfnSystem, ProcOf(hOpen));
    EXPECT_EQ(nullptr, ::GetPropA(hOpen, kProp));
    ::SetWindowPos(hOpen, nullptr, 5, 5, 120, 60, SWP_NOZORDER | SWP_NOACTIVATE);
    ::SendMessageA(hOpen, WM_NCPAINT, 1, 0);
    ::DestroyWindow(hOpen);

    // No hook is left: a new popup stays as the system made it.
    HWND hLater = CreateMenuWindow();
    EXPECT_EQ(nullptr, ::GetPropA(hLater, kProp));
    ::DestroyWindow(hLater);
}

TEST_F(MenuHookTest, PrintedPopupHasTheModesFrameAroundItsClient)
{
    HWND hPopup = CreateMenuWindow();
    ::SetWindowPos(hPopup, nullptr, 100, 100, 80, 60, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    RECT rc;
    ::GetWindowRect(hPopup, &rc);
    int w = rc.right - rc.left;
    int h = rc.bottom - rc.top;
    HDC hScreen = ::GetDC(nullptr);
    HDC hDC = ::CreateCompatibleDC(hScreen);
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreen, w, h);
    ::ReleaseDC(nullptr, hScreen);
    HGDIOBJ hOld = ::SelectObject(hDC, hBitmap);

    struct Expected
    {
        int nMode;
        COLORREF crFrame;
    };
    const Expected kModes[] = {
        { 0, ::GetSysColor(COLOR_HIGHLIGHT) },
        { 2, DarkenColor(128, GetMenuBackColor()) },
        { 4, ::GetSysColor(COLOR_HIGHLIGHT) },
    };
    for (const Expected& e : kModes)
    {
        ASSERT_NE(nullptr, CNewMenu::SetMenuDrawMode(e.nMode));
        ::SendMessageA(hPopup, WM_PRINT, reinterpret_cast<WPARAM>(hDC), PRF_NONCLIENT | PRF_CLIENT);
        if (e.nMode != 4)  // the gradient frame is painted over by the system's printing
        {
            EXPECT_EQ(e.crFrame, ::GetPixel(hDC, 0, 0)) << e.nMode;
            EXPECT_EQ(e.crFrame, ::GetPixel(hDC, 0, h / 2)) << e.nMode;
        }
        MenuPopupRecord* pRecord = FindMenuPopupRecord(hPopup);
        ASSERT_NE(nullptr, pRecord);
        // Classic and flat paint the whole frame; gradient lets the system go on.
        EXPECT_EQ(e.nMode == 4 ? 1 : 0, pRecord->paintOwnFrame) << e.nMode;
        pRecord->paintOwnFrame = 1;
    }
    ::SelectObject(hDC, hOld);
    ::DeleteObject(hBitmap);
    ::DeleteDC(hDC);
    ::DestroyWindow(hPopup);
}

// Printed over a known background, the shadow band shows that background
// darkened, and the 4 x 4 corners where the bands begin show it unchanged.
TEST_F(MenuHookTest, TheShadowCopiesItsCornersFromTheScreenAndDarkensTheRest)
{
    if (IsSystemMenuShadow())
        GTEST_SKIP() << "the system draws the menu shadow here";
    const COLORREF back = RGB(40, 160, 220);
    HBRUSH hBrush = ::CreateSolidBrush(back);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hbrBackground = hBrush;
    wc.lpszClassName = "VaShadowBackground";
    ::RegisterClassA(&wc);
    HWND hBack = ::CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 80,
                                   80, 240, 200, nullptr, nullptr, nullptr, nullptr);
    ::UpdateWindow(hBack);
    HWND hPopup = CreateMenuWindow();
    // Moved, and its frame measured again now that it is subclassed, as a shown menu's is.
    ::SetWindowPos(hPopup, nullptr, 120, 120, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE | SWP_FRAMECHANGED);
    ASSERT_NE(nullptr, FindMenuPopupRecord(hPopup));
    RECT rc;
    ::GetWindowRect(hPopup, &rc);
    const int w = rc.right - rc.left;
    const int h = rc.bottom - rc.top;
    HDC hScreen = ::GetDC(nullptr);
    // Test programs share the screen: wait a little for the background to
    // show, and compare with what the screen shows where the shadow reads.
    for (int i = 0; i < 50 && ::GetPixel(hScreen, rc.left + w - 1, rc.top) != back; ++i)
        ::Sleep(20);
    const MenuPopupRecord* pRecord = FindMenuPopupRecord(hPopup);
    HDC hDC = ::CreateCompatibleDC(hScreen);
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreen, w, h);
    ::ReleaseDC(nullptr, hScreen);
    HGDIOBJ hOld = ::SelectObject(hDC, hBitmap);
    RECT all = {0, 0, w, h};
    HBRUSH hMarker = ::CreateSolidBrush(RGB(255, 0, 255));
    ::FillRect(hDC, &all, hMarker);

    ASSERT_NE(nullptr, CNewMenu::SetMenuDrawMode(0));
    ::SendMessageA(hPopup, WM_PRINT, reinterpret_cast<WPARAM>(hDC), PRF_NONCLIENT | PRF_CLIENT);
    struct Pixel
    {
        int x, y, amount;
    };
    const Pixel pixels[] = {
        {w - 1, 0, 0}, {w - 4, 3, 0}, {0, h - 1, 0}, {3, h - 4, 0},     // the corners
        {w - 1, h / 2, 15}, {w - 4, h / 2, 60}, {w / 2, h - 2, 30}, // the bands
    };
    hScreen = ::GetDC(nullptr);
    for (const Pixel& p : pixels)
    {
        // The known background, or what another program put over it since.
        auto expected = [&](COLORREF screen) { return p.amount == 0 ? screen : DarkenColor(p.amount, screen); };
        const COLORREF printed = ::GetPixel(hDC, p.x, p.y);
        const COLORREF shown = ::GetPixel(hScreen, pRecord->x + p.x, pRecord->y + p.y);
        EXPECT_TRUE(printed == expected(back) || printed == expected(shown)) << p.x << "," << p.y;
    }
    ::ReleaseDC(nullptr, hScreen);

    ::SelectObject(hDC, hOld);
    ::DeleteObject(hBitmap);
    ::DeleteObject(hMarker);
    ::DeleteDC(hDC);
    ::DestroyWindow(hPopup);
    ::DestroyWindow(hBack);
    ::DeleteObject(hBrush);
    ::UnregisterClassA(wc.lpszClassName, nullptr);
}

// A pause keeps every popup-menu window made during it subclassed from its
// creation on (the hook comes back for it), and the hook is back after the
// pause, nested or not, for popups created or shown again.
TEST_F(MenuHookTest, PopupsAreSubclassedDuringAndAfterAPause)
{
    struct Case
    {
        const char* name;
        int depth;            // pauses held while the popup is made
        bool popupDuring;     // a popup is made inside the pauses
    };
    const Case cases[] = {
        {"popup inside a pause", 1, true},
        {"popup inside nested pauses", 2, true},
        {"popup after a pause", 1, false},
        {"popup after nested pauses", 3, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND hDuring = nullptr;
        {
            std::vector<std::unique_ptr<CMenuHookPause>> pauses;
            for (int i = 0; i < c.depth; ++i)
                pauses.push_back(std::make_unique<CMenuHookPause>());
            EXPECT_TRUE(IsMenuHookInstalled());
            // Other windows made during the pause are not popups: nothing to record.
            HWND hOther = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                            nullptr);
            EXPECT_EQ(nullptr, FindMenuPopupRecord(hOther));
            ::DestroyWindow(hOther);
            if (c.popupDuring) {
                hDuring = CreateMenuWindow();
                ASSERT_NE(nullptr, hDuring);
                ASSERT_NE(nullptr, FindMenuPopupRecord(hDuring));
                EXPECT_EQ(ProcOf(hDuring), &MenuWindowProc);
                EXPECT_FALSE(::GetWindowLongPtrA(hDuring, GWL_STYLE) & WS_BORDER);
            }
        }
        EXPECT_TRUE(IsMenuHookInstalled());
        HWND hAfter = CreateMenuWindow();
        ASSERT_NE(nullptr, hAfter);
        EXPECT_NE(nullptr, FindMenuPopupRecord(hAfter));
        // A popup hidden and shown again after the pause is subclassed again.
        ::ShowWindow(hAfter, SW_SHOWNOACTIVATE);
        ::ShowWindow(hAfter, SW_HIDE);
        ASSERT_EQ(nullptr, FindMenuPopupRecord(hAfter));
        ::SendMessageA(hAfter, kMsgMenuShown, 0, 0);
        EXPECT_NE(nullptr, FindMenuPopupRecord(hAfter));
        ::DestroyWindow(hAfter);
        if (hDuring != nullptr)
            ::DestroyWindow(hDuring);
    }
}

// Without the hook (the main program's build) a pause installs nothing.
TEST(MenuHookPauseTest, WithoutTheHookAPauseChangesNothing)
{
    CNewMenuHook setup{ MenuLibBuild::MainProgram };
    ASSERT_FALSE(IsMenuHookInstalled());
    {
        CMenuHookPause pause;
        EXPECT_FALSE(IsMenuHookInstalled());
        HWND hPopup = CreateMenuWindow();
        EXPECT_EQ(nullptr, FindMenuPopupRecord(hPopup));
        ::DestroyWindow(hPopup);
    }
    EXPECT_FALSE(IsMenuHookInstalled());
}
