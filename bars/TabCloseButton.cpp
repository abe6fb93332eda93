#include "bars/TabCloseButton.h"

#include "bars/BarHost.h"
#include "bars/GroupTabBar.h"
#include "bars/PageTabBar.h"
#include "framework/app/FaultGuard.h"
#include "framework/gdi/DC.h"
#include "shared/AppData.h"
#include "tab/TabGroup.h"
#include "tab/TabItem.h"

namespace {

HBITMAP LoadResBitmap(LPCSTR name)
{
    CString path = AppFolders().ResFile(name);
    return static_cast<HBITMAP>(::LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
}

} // namespace

BOOL CTabIconWnd::Create(CWnd* pFrame, UINT nID)
{
    LPCSTR cls = AfxRegisterWndClass(0, ::LoadCursorA(nullptr, IDC_ARROW));
    return CWnd::Create(cls, nullptr, WS_CHILD, CRect(0, 0, 2 * kSide, kSide), pFrame, nID);
}

BEGIN_MESSAGE_MAP(CTabCloseButton, CTabIconWnd)
    ON_WM_PAINT()
    ON_WM_MOUSEMOVE()
    ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
END_MESSAGE_MAP()

BOOL CTabCloseButton::LoadImages(LPCSTR closeFile, LPCSTR menuFile)
{
    if (!m_images.Create(kSide, kSide, ILC_COLOR24 | ILC_MASK, 6, 1))
        return FALSE;
    for (LPCSTR file : {closeFile, menuFile})
    {
        HBITMAP hBitmap = LoadResBitmap(file);
        if (hBitmap == nullptr)
            continue;
        m_images.Add(hBitmap, RGB(255, 0, 255));
        ::DeleteObject(hBitmap);
    }
    return TRUE;
}

void CTabCloseButton::Place(const RECT& tab, bool twoPart)
{
    Invalidate();
    ::SetWindowPos(m_hWnd, HWND_TOP, tab.left, tab.top, twoPart ? 2 * kSide : kSide, tab.bottom - tab.top,
                   SWP_SHOWWINDOW | SWP_NOACTIVATE);
    m_tabRect = tab;
    m_twoPart = twoPart;
}

void CTabCloseButton::GetFaces(POINT cursor, bool pressed, int& first, int& second) const
{
    CRect client;
    GetClientRect(&client);
    bool inside = ::PtInRect(&client, cursor) != FALSE;
    second = -1;
    if (!m_twoPart)
    {
        first = !inside ? kClose : pressed ? kClosePressed : kCloseHot;
        return;
    }
    first = kMenu;
    second = kClose;
    if (!inside)
        return;
    if (cursor.x < kMenuPart)
        first = pressed ? kMenuPressed : kMenuHot;
    else if (cursor.x >= kSide)
        second = pressed ? kClosePressed : kCloseHot;
}

// The images on a face of their own: the resting images are drawn without
// one, and over the tab's text they would not read as a button.
void CTabCloseButton::OnPaint()
{
    CPaintDC dc(m_hWnd);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, ::GetSysColor(COLOR_BTNFACE));
    CPoint cursor;
    ::GetCursorPos(&cursor);
    ScreenToClient(&cursor);
    int first = 0, second = 0;
    GetFaces(cursor, (::GetKeyState(VK_LBUTTON) & 0x8000) != 0, first, second);
    m_images.Draw(dc, first, CPoint(0, 0), ILD_NORMAL);
    if (second >= 0)
        m_images.Draw(dc, second, CPoint(kSide, 0), ILD_NORMAL);
}

void CTabCloseButton::OnMouseMove(UINT, CPoint)
{
    if (!m_tracking)
    {
        TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, m_hWnd, 0};
        m_tracking = ::TrackMouseEvent(&track) != FALSE;
    }
    Invalidate(FALSE);
    Default();
}

LRESULT CTabCloseButton::OnMouseLeave(WPARAM, LPARAM)
{
    m_tracking = false;
    Invalidate(FALSE);
    return 0;
}

// Until the button goes up; losing the capture ends it unhandled. A click
// not acted on is given back to the window that saw the press.
BOOL CTabCloseButton::TrackClick(const MSG& down)
{
    RedrawWindow();
    // The capture goes when the press ends, or when a fault breaks it off.
    CFaultCapture capture(m_hWnd);
    bool kept = true;
    // A fault in the button's code ends the press unhandled; one in another
    // window leaves it going.
    CFaultLoop loop(m_hWnd);
    MSG up = {};
    for (;;)
    {
        BOOL got = ::GetMessageA(&up, nullptr, 0, 0);
        if (got <= 0)
        {
            kept = false;
            if (got == 0)
                ::PostQuitMessage(static_cast<int>(up.wParam));
            break;
        }
        if (::GetCapture() != m_hWnd)
        {
            kept = false;
            break;
        }
        if (up.message == WM_LBUTTONUP)
            break;
        loop.Dispatch(up);
        if (loop.IsBroken())
        {
            kept = false;
            break;
        }
    }
    BOOL handled = FALSE;
    if (kept)
    {
        // Where the button went up, from the release itself (the capture
        // sends it to this window, in its client coordinates).
        CPoint at(up.lParam);
        ::MapWindowPoints(up.hwnd, ::GetParent(m_hWnd), &at, 1);
        if (m_tabRect.PtInRect(at))
            handled = OnClick(down) != 0;
        else
            Invalidate();
    }
    if (!handled && ::IsWindow(down.hwnd))
        ::PostMessageA(down.hwnd, WM_LBUTTONUP, 0, down.lParam);
    return handled;
}

int CTabCloseButton::OnClick(const MSG& down)
{
    IBarHost* host = m_pHost;
    if (host == nullptr)
        return 0;
    CPageTabBar* pages = host->GetPageTabBar();
    CGroupTabBar* groups = host->GetGroupTabBar();
    bool onPages = pages != nullptr && down.hwnd == pages->GetSafeHwnd();
    bool onGroups = groups != nullptr && down.hwnd == groups->GetSafeHwnd();
    if (!onPages && !onGroups)
        return 0;
    CTabBarCtrl* bar = onPages ? static_cast<CTabBarCtrl*>(pages) : static_cast<CTabBarCtrl*>(groups);
    int index = bar->HitTest(CPoint(down.lParam));
    LPARAM data = index >= 0 ? bar->GetItemParam(index) : 0;
    if (data == 0)
        return 0;
    if (onGroups && m_twoPart)
    {
        CPoint at(down.lParam);
        ::MapWindowPoints(down.hwnd, m_hWnd, &at, 1);
        if (at.x < kMenuPart)
        {
            host->ShowGroupTabPopup(reinterpret_cast<CTabGroup*>(data), index);
            return 1;
        }
    }
    if (onPages)
    {
        CTabItem* tab = reinterpret_cast<CTabItem*>(data);
        if (host->IsTabListed(tab))
            host->CloseTab(tab);  // a page already closing is left alone
    }
    else
        host->CloseGroup(reinterpret_cast<CTabGroup*>(data));
    ShowWindow(SW_HIDE);
    return 1;
}
