#include "bars/FullScreenTitleBar.h"

#include "framework/app/FaultGuard.h"
#include "framework/gdi/DC.h"
#include "shared/CommandIds.h"

namespace {

const char kClassName[] = "FSTITLEBAR";
const int kButtonWidth = 16;
const int kButtonHeight = 14;
const int kButtonTop = 3;
const UINT kSlideMs = 20;
const UINT kWatchMs = 100;

struct ButtonPlace
{
    const char* text;
    int x;
    int id;
};

const ButtonPlace kButtons[] = {
    {"Pin", 20, CFullScreenTitleBar::kPin},
    {"Minimize", 430, CFullScreenTitleBar::kMinimize},
    {"Maximize", 447, CFullScreenTitleBar::kMaximize},
    {"Close", 464, CFullScreenTitleBar::kClose},
};

} // namespace

CFullScreenTitleBar* CFullScreenTitleBar::s_pInstance = nullptr;

CFullScreenTitleBar::CFullScreenTitleBar(HINSTANCE hInstance, HWND hOwner) : m_hInstance(hInstance), m_hOwner(hOwner)
{
    LOGFONTA lf = {};
    HDC hScreen = ::GetDC(nullptr);
    lf.lfHeight = -::MulDiv(10, ::GetDeviceCaps(hScreen, LOGPIXELSY), 72);
    ::ReleaseDC(nullptr, hScreen);
    // The face alone would pick the Western character set, and a Japanese
    // page title would be drawn as its cp1252 reading.
    lf.lfCharSet = DEFAULT_CHARSET;
    ::lstrcpynA(lf.lfFaceName, "Arial", LF_FACESIZE);
    m_font.CreateFontIndirect(&lf);
    if (hInstance == nullptr || hOwner == nullptr)
        return;
    s_pInstance = this;
    WNDCLASSA wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = hInstance;
    wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = kClassName;
    WNDCLASSA existing;
    if (!::GetClassInfoA(hInstance, kClassName, &existing))
        ::RegisterClassA(&wc);
    int x = ::GetSystemMetrics(SM_CXSCREEN) / 2 - kWidth / 2;
    m_hWnd = ::CreateWindowExA(0, kClassName, "", WS_POPUP | WS_SYSMENU, x, -(kHeight - 1), kWidth, kHeight,
                               hOwner, nullptr, hInstance, nullptr);
    if (m_hWnd == nullptr)
        return;
    const POINT outline[] = {{0, 0}, {10, kHeight}, {kWidth - 10, kHeight}, {kWidth, 0}};
    CRgn region;
    if (region.CreatePolygonRgn(outline, 4, ALTERNATE))
        region.SetWindowRgn(m_hWnd, FALSE);
    for (const ButtonPlace& button : kButtons)
    {
        HWND hButton = ::CreateWindowExA(0, "STATIC", button.text, WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_OWNERDRAW,
                                         button.x, kButtonTop, kButtonWidth, kButtonHeight, m_hWnd,
                                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(button.id)), hInstance, nullptr);
        if (button.id == kPin)
            m_hPinWnd = hButton;
    }
    m_bmpPinOff.LoadBitmap(hInstance, IDB_FS_PIN_OFF);
    m_bmpMaximize.LoadBitmap(hInstance, IDB_FS_MAXIMIZE);
    m_bmpMinimize.LoadBitmap(hInstance, IDB_FS_MINIMIZE);
    m_bmpPinOn.LoadBitmap(hInstance, IDB_FS_PIN_ON);
    m_bmpClose.LoadBitmap(hInstance, IDB_FS_CLOSE);
    ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    StartTimers();
}

CFullScreenTitleBar::~CFullScreenTitleBar()
{
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
    if (s_pInstance == this)
        s_pInstance = nullptr;
}

void CFullScreenTitleBar::StartTimers()
{
    if (m_hWnd == nullptr)
        return;
    ::SetTimer(m_hWnd, m_slideTimer, kSlideMs, nullptr);
    if (m_autoHide)
        ::SetTimer(m_hWnd, m_watchTimer, kWatchMs, nullptr);
    else
        ::KillTimer(m_hWnd, m_watchTimer);
}

void CFullScreenTitleBar::Show(bool show, bool change)
{
    m_outsideTicks = 0;
    if (show)
    {
        if (change)
        {
            m_hideWhenUp = false;
            m_showing = true;
        }
        if (m_hWnd != nullptr)
            ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    }
    else if (change)
    {
        m_hideWhenUp = true;
        m_showing = false;
    }
    StartTimers();
}

void CFullScreenTitleBar::SetTitle(const CString& title)
{
    m_title = title;
    if (m_hWnd != nullptr)
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CFullScreenTitleBar::SetPinned(bool pinned)
{
    m_autoHide = pinned ? 0 : 1;
    StartTimers();
    if (m_hPinWnd != nullptr)
        ::InvalidateRect(m_hPinWnd, nullptr, TRUE);
}

//--- Timers

void CFullScreenTitleBar::OnSlideTick()
{
    if (m_hWnd == nullptr)
        return;
    RECT rc;
    ::GetWindowRect(m_hWnd, &rc);
    if ((rc.top == 0 && m_showing) || (rc.top == -(kHeight - 1) && !m_showing))
    {
        ::KillTimer(m_hWnd, m_slideTimer);
        if (m_hideWhenUp)
        {
            m_hideWhenUp = false;
            ::ShowWindow(m_hWnd, SW_HIDE);
        }
        return;
    }
    int y = rc.top + (m_showing ? 1 : -1);
    ::SetWindowPos(m_hWnd, nullptr, rc.left, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CFullScreenTitleBar::OnWatchTick(POINT cursor)
{
    // A tick left over from before the pin counts for nothing.
    if (m_hWnd == nullptr || !m_autoHide)
        return;
    RECT rc;
    ::GetWindowRect(m_hWnd, &rc);
    if (::PtInRect(&rc, cursor))
    {
        m_outsideTicks = 0;
        return;
    }
    if (++m_outsideTicks == kTicksToHide)
    {
        m_showing = false;
        ::SetTimer(m_hWnd, m_slideTimer, kSlideMs, nullptr);
    }
}

//--- Window

LRESULT CALLBACK CFullScreenTitleBar::WindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    bool handled = false;
    LRESULT lResult = 0;
    if (!AfxRunEntry("the caption bar", [&] {
            CFullScreenTitleBar* self = s_pInstance;
            if (self != nullptr && self->m_hWnd == nullptr && nMsg == WM_NCCREATE)
                self->m_hWnd = hWnd;  // the one instance's window, from its first message
            if (self != nullptr && self->m_hWnd == hWnd) {
                lResult = self->OnMessage(nMsg, wParam, lParam);
                handled = true;
            }
        }))
        return 0;
    return handled ? lResult : ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
}

LRESULT CFullScreenTitleBar::OnMessage(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    switch (nMsg)
    {
    case WM_PAINT:
    {
        PAINTSTRUCT ps;
        HDC hdc = ::BeginPaint(m_hWnd, &ps);
        Paint(hdc);
        ::EndPaint(m_hWnd, &ps);
        return 0;
    }
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(static_cast<HFONT>(m_font));
    case WM_DRAWITEM:
        DrawButton(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_COMMAND:
        if (HIWORD(wParam) == STN_CLICKED)
            OnButton(LOWORD(wParam));
        return 0;
    case WM_LBUTTONDBLCLK:
        ::PostMessageA(m_hOwner, WM_COMMAND, kCmdFullScreen, 0);
        return 0;
    case WM_MOUSEMOVE:
        if (!m_hideWhenUp)
        {
            m_showing = true;
            ::SetTimer(m_hWnd, m_slideTimer, kSlideMs, nullptr);
        }
        return 0;
    case WM_TIMER:
        if (wParam == m_slideTimer)
            OnSlideTick();
        else if (wParam == m_watchTimer)
        {
            POINT cursor = {};
            ::GetCursorPos(&cursor);
            OnWatchTick(cursor);
        }
        return 0;
    case WM_CLOSE:
        // The object keeps its window (Alt+F4 must not leave it without one).
        ::ShowWindow(m_hWnd, SW_HIDE);
        return 0;
    default:
        break;
    }
    return ::DefWindowProcA(m_hWnd, nMsg, wParam, lParam);
}

// A gradient of 500 columns, a white outline, a grey line above the bottom
// and the title in white.
void CFullScreenTitleBar::Paint(HDC hdc)
{
    CDC dc;
    dc.Attach(hdc);
    for (int x = 0; x < kWidth; ++x)
    {
        int green = (64000 - 128 * x) / 500;
        int blue = (96000 - 192 * x) / 500 + (192 * x) / 500;
        dc.FillSolidRect(x, 0, 1, kHeight, RGB(0, green, blue));
    }
    CPen white(PS_SOLID, 2, RGB(255, 255, 255));
    HGDIOBJ hOldPen = dc.SelectObject(white);
    const POINT outline[] = {{0, 0}, {10, kHeight}, {kWidth - 10, kHeight}, {kWidth, 0}, {0, 0}};
    dc.Polyline(outline, 5);
    CPen grey(PS_SOLID, 2, RGB(100, 100, 100));
    dc.SelectObject(grey);
    dc.MoveTo(11, kHeight - 1);
    dc.LineTo(kWidth - 11, kHeight - 1);
    dc.SelectObject(hOldPen);
    dc.SetTextColor(RGB(255, 255, 255));
    dc.SetBkMode(TRANSPARENT);
    HGDIOBJ hOldFont = dc.SelectObject(m_font);
    CRect text(37, 2, 429, 18);
    dc.DrawText(m_title, &text, DT_CENTER | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    dc.SelectObject(hOldFont);
    dc.Detach();
}

void CFullScreenTitleBar::DrawButton(const DRAWITEMSTRUCT* pDis)
{
    HBITMAP hFace = nullptr;
    switch (pDis->CtlID)
    {
    case kClose: hFace = m_bmpClose; break;
    case kMinimize: hFace = m_bmpMinimize; break;
    case kMaximize: hFace = m_bmpMaximize; break;
    case kPin: hFace = m_autoHide ? m_bmpPinOff : m_bmpPinOn; break;
    default: return;
    }
    CDC dc;
    dc.Attach(pDis->hDC);
    dc.DrawBitmap(hFace, pDis->rcItem.left, pDis->rcItem.top);
    dc.Detach();
}

void CFullScreenTitleBar::OnButton(UINT id)
{
    switch (id)
    {
    case kClose: ::PostMessageA(m_hOwner, WM_SYSCOMMAND, SC_CLOSE, 0); break;
    case kMaximize: ::PostMessageA(m_hOwner, WM_COMMAND, kCmdFullScreen, 0); break;
    case kMinimize: ::PostMessageA(m_hOwner, WM_SYSCOMMAND, SC_MINIMIZE, 0); break;
    case kPin:
        if (m_autoHide)
        {
            m_autoHide = 0;
            Show(true, false);
        }
        else
        {
            m_autoHide = 1;
            Show(false, false);
        }
        if (m_hPinWnd != nullptr)
            ::InvalidateRect(m_hPinWnd, nullptr, TRUE);
        break;
    default: break;
    }
}
