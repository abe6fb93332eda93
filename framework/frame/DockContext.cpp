#include "framework/frame/DockContext.h"

#include <algorithm>
#include <cstdlib>

#include "framework/app/FaultGuard.h"
#include "framework/frame/ControlBar.h"
#include "framework/frame/DockBar.h"
#include "framework/frame/FrameWnd.h"
#include "framework/gdi/GdiObject.h"

namespace {

// Outline widths of the tracking rectangle: thin where the bar would
// dock, a frame's border where it would float.
const int kDockedEdge = 1;
const int kFloatingEdge = 3;
// How near a side the pointer docks the bar there.
const int kDockMargin = 8;

struct DockSide
{
    UINT id;
    DWORD align;
    bool horizontal;
};

const DockSide kSides[] = {
    {AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP, true},
    {AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM, true},
    {AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT, false},
    {AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT, false},
};

// The press point's place inside a shape, kept within it when the shape is
// smaller than the bar is now.
CPoint OffsetIn(CPoint offset, CSize size)
{
    return CPoint(std::clamp<LONG>(offset.x, 0, std::max<LONG>(size.cx - 1, 0)),
                  std::clamp<LONG>(offset.y, 0, std::max<LONG>(size.cy - 1, 0)));
}

CDockBar* ParentDockBar(HWND hBar)
{
    return dynamic_cast<CDockBar*>(CWnd::FromHandlePermanent(::GetParent(hBar)));
}

// The checked brush of the outline, made once for the process.
HBRUSH HalftoneBrush()
{
    static CBrush s_halftone;
    if (s_halftone.GetSafeHandle() == nullptr)
    {
        static const WORD kChecks[8] = {0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA};
        HBITMAP hPattern = ::CreateBitmap(8, 8, 1, 1, kChecks);
        if (hPattern == nullptr)
            return nullptr;
        s_halftone.CreatePatternBrush(hPattern);
        ::DeleteObject(hPattern);  // the brush keeps its own copy
    }
    return s_halftone;
}

// Inverts an outline edge pixels wide on the screen; inverting it again
// erases it. The screen's DC goes back however the drawing ends. false when
// nothing could be drawn.
bool InvertOutline(const RECT& rect, int edge)
{
    const HBRUSH brush = HalftoneBrush();
    HDC hdc = brush != nullptr ? ::GetDC(nullptr) : nullptr;
    if (hdc == nullptr)
        return false;
    CFaultHold dc;
    dc.Hold([](const ULONG_PTR* data) { ::ReleaseDC(nullptr, reinterpret_cast<HDC>(data[0])); },
            reinterpret_cast<ULONG_PTR>(hdc));
    const CRect r(rect);
    HGDIOBJ old = ::SelectObject(hdc, brush);
    ::PatBlt(hdc, r.left, r.top, r.Width(), edge, PATINVERT);
    ::PatBlt(hdc, r.left, r.bottom - edge, r.Width(), edge, PATINVERT);
    ::PatBlt(hdc, r.left, r.top + edge, edge, r.Height() - 2 * edge, PATINVERT);
    ::PatBlt(hdc, r.right - edge, r.top + edge, edge, r.Height() - 2 * edge, PATINVERT);
    ::SelectObject(hdc, old);
    return true;
}

// The outline's erasing keeps what it erases in the hold's own words (the
// drag's object lies in frames a fault unwinds): a corner to a word, each
// coordinate in 16 bits as the system packs a screen point, and the edge.
ULONG_PTR PackPoint(LONG x, LONG y)
{
    return static_cast<ULONG_PTR>(MAKELONG(static_cast<WORD>(x), static_cast<WORD>(y)));
}

LONG UnpackX(ULONG_PTR word)
{
    return static_cast<short>(LOWORD(word));
}

LONG UnpackY(ULONG_PTR word)
{
    return static_cast<short>(HIWORD(word));
}

void EraseOutline(const ULONG_PTR* data)
{
    const RECT rect = {UnpackX(data[0]), UnpackY(data[0]), UnpackX(data[1]), UnpackY(data[1])};
    InvertOutline(rect, static_cast<int>(data[2]));
}

} // namespace

CDockContext::CDockContext(CControlBar* pBar)
    : m_pBar(pBar), m_hBar(pBar->m_hWnd), m_pFrame(pBar->GetDockSite())
{
}

void CDockContext::BeginDrag(CPoint point)
{
    m_press = point;
    m_moved = false;
    m_target = 0;
    CRect window;
    m_pBar->GetWindowRect(&window);
    const CPoint offset(point.x - window.left, point.y - window.top);
    m_horzSize = m_pBar->CalcFixedLayout(FALSE, TRUE);
    m_vertSize = m_pBar->CalcFixedLayout(FALSE, FALSE);
    m_horzOffset = OffsetIn(offset, m_horzSize);
    m_vertOffset = OffsetIn(offset, m_vertSize);
    // Floating, the frame around the bar moves as it is; docked, a frame is
    // put around the bar's top or bottom shape.
    CDockBar* pDockBar = ParentDockBar(m_hBar);
    if (pDockBar != nullptr && pDockBar->IsFloating())
        ::GetWindowRect(::GetParent(pDockBar->m_hWnd), &m_floatStart);
    else
    {
        m_floatStart = CRect(CPoint(point.x - m_horzOffset.x, point.y - m_horzOffset.y), m_horzSize);
        ::AdjustWindowRectEx(&m_floatStart, CMiniDockFrameWnd::kStyle, FALSE, CMiniDockFrameWnd::kExStyle);
    }
}

// A side takes the bar while the pointer is over its dock bar or within a
// few pixels of it (an empty dock bar lies flat on the side), whatever the
// bar's size; the sides of the bar's own orientation are asked first.
UINT CDockContext::CalcDrop(CPoint point, bool noDocking, CRect* pRect) const
{
    if (!noDocking && m_pFrame != nullptr)
    {
        const DWORD style = m_pBar->GetBarStyle();
        const bool horizontalFirst =
            (style & CBRS_FLOATING) != 0 || (style & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)) == 0;
        for (bool horizontal : {horizontalFirst, !horizontalFirst})
            for (const DockSide& side : kSides)
            {
                if (side.horizontal != horizontal || !(m_pBar->GetDockingStyle() & side.align))
                    continue;
                CWnd* pDockBar = m_pFrame->GetControlBar(side.id);
                if (pDockBar == nullptr || !::IsWindowVisible(pDockBar->m_hWnd))
                    continue;
                CRect area;
                pDockBar->GetWindowRect(&area);
                area.InflateRect(kDockMargin, kDockMargin);
                if (!area.PtInRect(point))
                    continue;
                const CPoint& offset = horizontal ? m_horzOffset : m_vertOffset;
                *pRect = CRect(CPoint(point.x - offset.x, point.y - offset.y), horizontal ? m_horzSize : m_vertSize);
                return side.id;
            }
    }
    *pRect = m_floatStart;
    pRect->OffsetRect(point.x - m_press.x, point.y - m_press.y);
    return 0;
}

void CDockContext::StartDrag(CPoint point)
{
    if (m_pFrame == nullptr || !::IsWindow(m_hBar))
        return;
    BeginDrag(point);
    End end = End::Cancel;
    {
        // The outline goes, then the capture, when the drag ends or a fault
        // breaks it off.
        CFaultCapture capture(m_hBar);
        if (::GetCapture() != m_hBar)
            return;
        end = Track();
        HideTrackRect();
    }
    if (end == End::Drop && m_moved && ::IsWindow(m_hBar))
        Drop();
}

// Mouse messages of the bar and every key are the drag's own; the rest is
// dispatched. A move without the left button is not the user's drag (the
// shared pointer moved by something else) and is passed over.
CDockContext::End CDockContext::Track()
{
    // A fault in the bar's code ends the drag as cancelled; one in another
    // window leaves it going.
    CFaultLoop loop(m_hBar);
    MSG msg;
    while (::GetCapture() == m_hBar)
    {
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0)
        {
            ::PostQuitMessage(static_cast<int>(msg.wParam));  // for the outer loop
            return End::Cancel;
        }
        if (got == -1)
            return End::Cancel;
        const bool ofBar = msg.hwnd == m_hBar;
        switch (msg.message)
        {
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP:
        {
            if (!ofBar)
                break;
            CPoint point(msg.lParam);
            ::ClientToScreen(m_hBar, &point);
            if (msg.message == WM_LBUTTONUP)
            {
                Move(point, (msg.wParam & MK_CONTROL) != 0);
                return End::Drop;
            }
            if (msg.wParam & MK_LBUTTON)
                Move(point, (msg.wParam & MK_CONTROL) != 0);
            continue;
        }
        case WM_RBUTTONDOWN:
            if (ofBar)
                return End::Cancel;
            break;
        case WM_KEYDOWN:
            if (msg.wParam == VK_ESCAPE)
                return End::Cancel;
            continue;
        case WM_KEYUP:
        case WM_CHAR:
        case WM_SYSKEYDOWN:
        case WM_SYSKEYUP:
        case WM_SYSCHAR:
            continue;
        default:
            if (ofBar && msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST)
                continue;
            break;
        }
        loop.Dispatch(msg);
        if (loop.IsBroken())
            return End::Cancel;
    }
    return End::Cancel;
}

void CDockContext::Move(CPoint point, bool noDocking)
{
    if (!m_moved)
    {
        if (std::abs(point.x - m_press.x) < ::GetSystemMetrics(SM_CXDRAG) &&
            std::abs(point.y - m_press.y) < ::GetSystemMetrics(SM_CYDRAG))
            return;
        m_moved = true;
    }
    CRect rect;
    const UINT target = CalcDrop(point, noDocking, &rect);
    if (m_drawn && rect == m_track && target == m_target)
        return;
    HideTrackRect();
    m_target = target;
    m_track = rect;
    ShowTrackRect();
}

// A drop on the side the bar sits on leaves it in its place.
void CDockContext::Drop()
{
    CDockBar* pDockBar = ParentDockBar(m_hBar);
    const bool floating = pDockBar != nullptr && pDockBar->IsFloating();
    if (m_target != 0)
    {
        if (floating || pDockBar == nullptr || static_cast<UINT>(pDockBar->GetDlgCtrlID()) != m_target)
            m_pFrame->DockControlBar(m_pBar, m_target);
        return;
    }
    if (floating)
        ::SetWindowPos(::GetParent(pDockBar->m_hWnd), nullptr, m_track.left, m_track.top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    else
        m_pFrame->FloatControlBar(m_pBar, m_track.TopLeft());
}

void CDockContext::ShowTrackRect()
{
    const int edge = m_target != 0 ? kDockedEdge : kFloatingEdge;
    if (m_drawn || !InvertOutline(m_track, edge))
        return;
    m_drawn = true;
    m_outline.Hold(&EraseOutline, PackPoint(m_track.left, m_track.top), PackPoint(m_track.right, m_track.bottom),
                   static_cast<ULONG_PTR>(edge));
}

void CDockContext::HideTrackRect()
{
    m_outline.Release();
    m_drawn = false;
}
