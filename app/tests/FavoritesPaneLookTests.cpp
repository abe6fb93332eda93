// How the favorites pane looks on the real main frame, read from the
// screen: it fills its dock, every pixel of it, of its dock and of the
// rebar's sizing strip is painted, its gripper's buttons show their glyphs,
// and its floating frame reads its Japanese title.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "app/DlgFavTree.h"
#include "app/MainFrame.h"
#include "app/VantorelApp.h"
#include "framework/frame/DockBar.h"
#include "framework/gdi/DC.h"
#include "shared/AppSettings.h"
#include "shared/CommandIds.h"
#include "app/tests/TabFixture.h"
#include "tests/support/WindowCapture.h"

namespace {

using Bar = CSizingControlBarG;

// The title as a Japanese reader knows it, in the program's code page.
std::string Cp932(const wchar_t* text)
{
    char bytes[256] = {};
    ::WideCharToMultiByte(932, 0, text, -1, bytes, sizeof(bytes), nullptr, nullptr);
    return bytes;
}

std::string WindowTextA(HWND hWnd)
{
    char text[256] = {};
    ::GetWindowTextA(hWnd, text, sizeof(text));
    return text;
}

std::string Text(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

CRect ScreenRect(HWND hWnd)
{
    CRect rc;
    ::GetWindowRect(hWnd, &rc);
    return rc;
}

CRect ClientScreenRect(HWND hWnd)
{
    CRect rc;
    ::GetClientRect(hWnd, &rc);
    ::MapWindowPoints(hWnd, nullptr, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

class FavoritesPaneLook : public TabTest
{
protected:
    void SetUp() override
    {
        TabTest::SetUp();
        // No favorites: the tree shows only its background, and the links
        // band stays empty.
        ASSERT_TRUE(m_frame->m_favorites.Reset("Favorites", "C:\\Fav\\"));
        m_frame->m_favorites.RebuildFlatList();
        m_frame->AfterFavoritesRebuilt();
        Open(nullptr, "http://a.example/");
        ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, ID_VIEW_FAVORITES_PANE, 0);
        Settle();
        ASSERT_TRUE(Pane().IsVisible());
    }

    CFavoritesBar& Pane() { return m_frame->m_wndFavoritesBar; }
    void Settle()
    {
        m_frame->RecalcLayout();
        Pump();
        ::RedrawWindow(m_frame->m_hWnd, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
    // A screen rectangle in the coordinates of the frame's capture.
    CRect InShot(CRect screen) const
    {
        const CRect frame = ScreenRect(m_frame->m_hWnd);
        screen.OffsetRect(-frame.left, -frame.top);
        return screen;
    }
    // The points of a screen rectangle whose colour fails the test, as
    // "x,y=colour" texts (the first few).
    std::vector<std::string> Offending(const WindowCapture& shot, const CRect& screen,
                                       const std::function<bool(CPoint, COLORREF)>& ok) const
    {
        std::vector<std::string> bad;
        const CRect r = InShot(screen);
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                const COLORREF c = shot.At(x, y);
                if (!ok(CPoint(x - r.left, y - r.top), c) && bad.size() < 5)
                    bad.push_back(std::to_string(x) + "," + std::to_string(y) + "=" + std::to_string(c));
            }
        return bad;
    }
    void SaveShot(const WindowCapture& shot, const char* name)
    {
        WriteBitmap(ArtifactFolder("VA_BARS_ARTIFACTS") + "/favorites-pane-" + name + ".bmp", shot);
    }
};

struct PaneCase
{
    const char* name;
    UINT dockButton;  // the gripper button pressed first, or 0
    UINT dockId;
    bool fullScreen;
};

TEST_F(FavoritesPaneLook, ThePaneFillsItsDockAndEveryPixelOfItAndUnderTheRebarIsPainted)
{
    AppSettings().iFullScreenShowItem = 0;
    const PaneCase cases[] = {
        {"left", 0, AFX_IDW_DOCKBAR_LEFT, false},
        {"right", Bar::kHitDockRight, AFX_IDW_DOCKBAR_RIGHT, false},
        {"full-screen", Bar::kHitDockLeft, AFX_IDW_DOCKBAR_LEFT, true},
    };
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    const COLORREF edges[] = {face, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW)};
    for (const PaneCase& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.dockButton != 0)
            Pane().SendMessage(WM_NCLBUTTONUP, c.dockButton, 0);
        if (c.fullScreen)
            ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, ID_VIEW_FULLSCREEN, 0);
        Settle();
        ASSERT_EQ(c.dockId, Pane().GetDockBarId());
        HWND dock = ::GetParent(Pane().m_hWnd);

        // The bar is its dock's whole client area, the pane its client area
        // and the tree the pane's.
        const CRect dockRect = ClientScreenRect(dock);
        EXPECT_EQ(Text(dockRect), Text(ScreenRect(Pane().m_hWnd)));
        CDlgFavTree* pane = m_frame->m_pFavoritesPane;
        ASSERT_NE(nullptr, pane);
        EXPECT_EQ(Text(ClientScreenRect(Pane().m_hWnd)), Text(ScreenRect(pane->m_hWnd)));
        EXPECT_EQ(Text(ClientScreenRect(pane->m_hWnd)), Text(ScreenRect(pane->m_tree.m_hWnd)));

        WindowCapture shot = CaptureWindow(m_frame->m_hWnd);
        SaveShot(shot, c.name);
        // The empty tree shows its background colour all over.
        const COLORREF window = ::GetSysColor(COLOR_WINDOW);
        EXPECT_EQ(std::vector<std::string>(),
                  Offending(shot, ClientScreenRect(pane->m_tree.m_hWnd), [&](CPoint, COLORREF px) { return px == window; }));

        // The gripper: the face colour and its edges, except where the
        // buttons and the title stand.
        CRect strip = ClientScreenRect(Pane().m_hWnd);
        strip.bottom = strip.top;
        strip.top -= Bar::kGripper;
        const CRect barWindow = ScreenRect(Pane().m_hWnd);
        std::vector<CRect> drawn;
        for (int i = 0; i < Bar::kButtonCount; ++i) {
            CRect button = Pane().GetButtonRect(static_cast<Bar::Button>(i));
            button.OffsetRect(barWindow.left - strip.left, barWindow.top - strip.top);
            drawn.push_back(button);
        }
        CClientDC measure(Pane().m_hWnd);
        measure.SelectStockObject(DEFAULT_GUI_FONT);
        const CSize title = measure.GetTextExtent(Cp932(L"お気に入り").c_str(), 10);
        drawn.push_back(CRect(4, 0, 4 + title.cx, Bar::kGripper));
        EXPECT_EQ(std::vector<std::string>(), Offending(shot, strip, [&](CPoint at, COLORREF px) {
                      for (const CRect& r : drawn)
                          if (r.PtInRect(at))
                              return true;
                      return px == edges[0] || px == edges[1] || px == edges[2];
                  }));

        // The rebar's sizing strip under its bands.
        CRect underRebar = ScreenRect(m_frame->m_wndReBar.m_hWnd);
        underRebar.top = underRebar.bottom - 3;
        EXPECT_EQ(std::vector<std::string>(), Offending(shot, underRebar, [&](CPoint, COLORREF px) { return px == face; }));

        if (c.fullScreen)
            ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, ID_VIEW_FULLSCREEN, 0);
    }
}

TEST_F(FavoritesPaneLook, TheGripperShowsCloseAndTheFourSidesEachWithItsGlyphAndNoSecondButton)
{
    const WindowCapture shot = CaptureWindow(Pane().m_hWnd);
    const COLORREF ink = ::GetSysColor(COLOR_BTNTEXT);
    struct
    {
        Bar::Button button;
        UINT hit;
    } const buttons[] = {
        {Bar::kClose, Bar::kHitClose},       {Bar::kDockLeft, Bar::kHitDockLeft},
        {Bar::kDockRight, Bar::kHitDockRight}, {Bar::kDockTop, Bar::kHitDockTop},
        {Bar::kDockBottom, Bar::kHitDockBottom},
    };
    std::vector<std::vector<bool>> glyphs;
    for (const auto& b : buttons) {
        SCOPED_TRACE(b.hit);
        const CRect rect = Pane().GetButtonRect(b.button);
        EXPECT_EQ(CSize(11, 11), rect.Size());
        EXPECT_EQ(b.hit, Pane().HitButton(CPoint(rect.left + 5, rect.top + 5)));
        std::vector<bool> glyph;
        for (int y = rect.top + 1; y < rect.bottom - 1; ++y)
            for (int x = rect.left + 1; x < rect.right - 1; ++x)
                glyph.push_back(shot.At(x, y) == ink);
        EXPECT_NE(std::vector<bool>(glyph.size(), false), glyph);
        for (const auto& other : glyphs)
            EXPECT_NE(other, glyph);
        glyphs.push_back(glyph);
    }
    // The favorites bar has no second command: no button stands for it.
    EXPECT_TRUE(Pane().GetButtonRect(Bar::kCommand).IsRectEmpty());
    const CRect window = ScreenRect(Pane().m_hWnd);
    for (int x = 0; x < window.Width(); ++x)
        for (int y = 0; y < Bar::kGripper; ++y)
            ASSERT_NE(static_cast<UINT>(Bar::kHitCommand), Pane().HitButton(CPoint(x, y)));
}

TEST_F(FavoritesPaneLook, FloatingItsFrameReadsTheJapaneseTitle)
{
    const std::string title = Cp932(L"お気に入り");
    EXPECT_EQ(title, WindowTextA(Pane().m_hWnd));
    m_frame->FloatControlBar(&Pane(), CPoint(300, 300));
    Settle();
    ASSERT_TRUE(Pane().GetBarStyle() & CBRS_FLOATING);
    HWND floating = ::GetParent(::GetParent(Pane().m_hWnd));
    ASSERT_TRUE(::IsWindowVisible(floating));
    EXPECT_EQ(title, WindowTextA(floating));
    WriteBitmap(ArtifactFolder("VA_BARS_ARTIFACTS") + "/favorites-pane-floating.bmp", CaptureWindow(floating));
}

} // namespace
