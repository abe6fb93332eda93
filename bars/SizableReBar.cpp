#include "bars/SizableReBar.h"

#include <cstdio>

#include "bars/ToolBarEx.h"
#include "framework/frame/FrameWnd.h"
#include "framework/gdi/DC.h"
#include "menulib/NewMenu.h"

BEGIN_MESSAGE_MAP(CSizableReBar, CControlBar)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_CONTEXTMENU()
    ON_MESSAGE(WM_NCCALCSIZE, OnNcCalcSize)
    ON_MESSAGE(WM_NCHITTEST, OnNcHitTest)
    ON_MESSAGE(WM_NCLBUTTONDOWN, OnNcLButtonDown)
    ON_MESSAGE(WM_CAPTURECHANGED, OnCaptureChanged)
    ON_MESSAGE(WM_NCPAINT, OnNcPaint)
END_MESSAGE_MAP()

BOOL CSizableReBar::Create(CWnd* pParent, UINT nID, DWORD dwStyle)
{
    LPCSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                     reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    DWORD barStyle = dwStyle & 0x0040FFFF;
    DWORD windowStyle = (dwStyle & 0xFFBF0000) | WS_CLIPCHILDREN;
    return CreateBar(0, cls, pParent, barStyle | windowStyle, nID, 0, CRect(0, 0, 0, 0));
}

int CSizableReBar::OnCreate(LPCREATESTRUCT)
{
    if (Default() == -1)
        return -1;
    // The bar's own style with every border of the rebar drawn.
    const DWORD kReBarWindow = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_BORDER;
    const DWORD kReBarBorders = CBRS_BORDER_ANY | CBRS_BORDER_3D;
    DWORD style = GetBarStyle() | kReBarWindow | kReBarBorders;
    if (!m_reBar.Create(this, RBS_VARHEIGHT | RBS_BANDBORDERS | RBS_DBLCLKTOGGLE, style, kReBarId))
        return -1;
    return 0;
}

void CSizableReBar::OnSize(UINT, int cx, int cy)
{
    Default();
    if (m_reBar.IsWindow())
        m_reBar.MoveWindow(0, 0, cx, cy, TRUE);
}

//--- Bands

BOOL CSizableReBar::AddBar(CWnd* pChild, LPCSTR text, DWORD bandStyle, LPCSTR name, bool disabled)
{
    if (pChild == nullptr || !pChild->IsWindow())
        return FALSE;
    CSize size;
    if (auto* pBar = dynamic_cast<CControlBar*>(pChild))
        size = pBar->CalcFixedLayout(FALSE, TRUE);
    else
    {
        CRect rc;
        pChild->GetWindowRect(&rc);
        size = rc.Size();
    }
    // A child made inside the rebar is its child already: moving it there
    // again would only re-link it.
    if (::GetParent(pChild->m_hWnd) != m_reBar.m_hWnd)
        ::SetParent(pChild->m_hWnd, m_reBar.m_hWnd);
    REBARBANDINFOA band = {};
    band.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_TEXT | RBBIM_ID;
    band.fStyle = bandStyle;
    band.hwndChild = pChild->m_hWnd;
    band.cxMinChild = static_cast<UINT>(size.cx);
    band.cyMinChild = static_cast<UINT>(size.cy);
    band.cx = static_cast<UINT>(size.cx);
    CString label(text != nullptr ? text : "");
    band.lpText = const_cast<LPSTR>(static_cast<LPCSTR>(label));
    // The band comes in with its chevron, the child's id and the bar's
    // background, and its record is kept: one insertion, so that the rebar
    // lays its bands out once per band.
    ReBarBandRecord record = {};
    record.controlId = static_cast<UINT>(pChild->GetDlgCtrlID());
    if (name != nullptr)
        ::lstrcpynA(record.name, name, sizeof(record.name));
    record.disabled = disabled;
    band.fStyle |= RBBS_USECHEVRON;
    band.wID = record.controlId;
    if (m_hBack != nullptr)
    {
        band.fMask |= RBBIM_BACKGROUND;
        band.hbmBack = m_hBack;
    }
    if (!m_reBar.InsertBand(-1, &band))
        return FALSE;
    m_records.push_back(record);
    return TRUE;
}

void CSizableReBar::SetBkImage(HBITMAP hBitmap)
{
    m_hBack = hBitmap;
    for (UINT i = 0, n = m_reBar.GetBandCount(); i < n; ++i)
    {
        REBARBANDINFOA band = {};
        band.fMask = RBBIM_BACKGROUND;
        band.hbmBack = hBitmap;
        m_reBar.SetBandInfo(i, &band);
    }
}

void CSizableReBar::SaveState(CString& out) const
{
    CReBarCtrlT<CControlBar>& bar = const_cast<CReBar&>(m_reBar);
    for (UINT i = 0, n = bar.GetBandCount(); i < n; ++i)
    {
        REBARBANDINFOA band = {};
        band.fMask = RBBIM_STYLE | RBBIM_SIZE | RBBIM_ID;
        bar.GetBandInfo(i, &band);
        CString entry;
        entry.Format("wID=%04X,cx=%d,fStyle=%08X", band.wID, band.cx, band.fStyle);
        if (!out.IsEmpty())
            out += "@";
        out += entry;
    }
}

void CSizableReBar::LoadState(const CString& layout)
{
    if (layout.IsEmpty())
        return;
    UINT count = m_reBar.GetBandCount();
    CString rest = layout + "@";
    UINT position = 0;
    for (int start = 0; position < count;)
    {
        int end = rest.Find('@', start);
        if (end < 0)
            break;
        CString entry = rest.Mid(start, end - start);
        start = end + 1;
        unsigned id = 0, style = 0;
        int cx = 0;
        std::sscanf(entry, "wID=%X,cx=%d,fStyle=%X", &id, &cx, &style);
        int from = m_reBar.IDToIndex(id);
        if (from >= 0)
            m_reBar.MoveBand(static_cast<UINT>(from), position);
        REBARBANDINFOA band = {};
        band.fMask = RBBIM_STYLE | RBBIM_SIZE | RBBIM_ID;
        m_reBar.GetBandInfo(position, &band);
        band.cx = static_cast<UINT>(cx);
        band.fStyle = (band.fStyle & ~(RBBS_BREAK | RBBS_HIDDEN)) | (style & (RBBS_BREAK | RBBS_HIDDEN));
        band.fMask = RBBIM_STYLE | RBBIM_SIZE;
        m_reBar.SetBandInfo(position, &band);
        ++position;
    }
}

void CSizableReBar::ToggleGrippers()
{
    for (UINT i = 0, n = m_reBar.GetBandCount(); i < n; ++i)
    {
        REBARBANDINFOA band = {};
        band.fMask = RBBIM_STYLE;
        m_reBar.GetBandInfo(i, &band);
        band.fStyle ^= RBBS_NOGRIPPER;
        m_reBar.SetBandInfo(i, &band);
    }
}

BOOL CSizableReBar::IsBandVisible(UINT controlId) const
{
    CReBarCtrlT<CControlBar>& bar = const_cast<CReBar&>(m_reBar);
    int index = bar.IDToIndex(controlId);
    if (index < 0)
        return FALSE;
    REBARBANDINFOA band = {};
    band.fMask = RBBIM_STYLE;
    bar.GetBandInfo(static_cast<UINT>(index), &band);
    return (band.fStyle & RBBS_HIDDEN) == 0;
}

BOOL CSizableReBar::ToggleBand(UINT controlId)
{
    return ShowBand(controlId, !IsBandVisible(controlId));
}

BOOL CSizableReBar::ShowBand(UINT controlId, BOOL show)
{
    int index = m_reBar.IDToIndex(controlId);
    if (index < 0)
        return FALSE;
    m_reBar.ShowBand(static_cast<UINT>(index), show);
    return TRUE;
}

//--- Layout and the sizing strip

int CSizableReBar::GetSizingHit() const
{
    if (m_dwStyle & CBRS_ALIGN_LEFT)
        return HTRIGHT;
    if (m_dwStyle & CBRS_ALIGN_TOP)
        return HTBOTTOM;
    if (m_dwStyle & CBRS_ALIGN_RIGHT)
        return HTLEFT;
    if (m_dwStyle & CBRS_ALIGN_BOTTOM)
        return HTTOP;
    return 0;
}

CRect CSizableReBar::GetStripRect() const
{
    CRect rc;
    GetWindowRect(&rc);
    ::OffsetRect(&rc, -rc.left, -rc.top);
    switch (GetSizingHit())
    {
    case HTBOTTOM: rc.top = rc.bottom - kStrip; break;
    case HTTOP: rc.bottom = rc.top + kStrip; break;
    case HTRIGHT: rc.left = rc.right - kStrip; break;
    case HTLEFT: rc.right = rc.left + kStrip; break;
    default: return CRect();
    }
    return rc;
}

CSize CSizableReBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    CSize size = m_reBar.IsWindow() ? m_reBar.CalcFixedLayout(bStretch, bHorz) : CSize();
    m_layoutSize = size;
    int hit = GetSizingHit();
    if ((hit == HTTOP || hit == HTBOTTOM) && size.cy > 0)
        size.cy += kStrip;
    else if ((hit == HTLEFT || hit == HTRIGHT) && size.cx > 0)
        size.cx += kStrip;
    return size;
}

CSize CSizableReBar::CalcDynamicLayout(int, DWORD dwMode)
{
    return CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZ) != 0);
}

LRESULT CSizableReBar::OnNcCalcSize(WPARAM, LPARAM lParam)
{
    LRESULT result = Default();
    auto* pRect = reinterpret_cast<RECT*>(lParam);
    switch (GetSizingHit())
    {
    case HTBOTTOM: pRect->bottom -= kStrip; break;
    case HTTOP: pRect->top += kStrip; break;
    case HTRIGHT: pRect->right -= kStrip; break;
    case HTLEFT: pRect->left += kStrip; break;
    default: break;
    }
    return result;
}

// The strip lies outside the wrapped rebar, which paints only its own
// window: the bar paints it, as the background of the bars around it.
LRESULT CSizableReBar::OnNcPaint(WPARAM, LPARAM)
{
    LRESULT result = Default();
    CRect strip = GetStripRect();
    if (!strip.IsRectEmpty()) {
        CWindowDC dc(m_hWnd);
        dc.FillSolidRect(&strip, ::GetSysColor(COLOR_BTNFACE));
    }
    return result;
}

LRESULT CSizableReBar::OnNcHitTest(WPARAM, LPARAM lParam)
{
    CRect window;
    GetWindowRect(&window);
    CPoint pt(lParam);
    pt.Offset(-window.left, -window.top);
    CRect strip = GetStripRect();
    return ::PtInRect(&strip, pt) ? GetSizingHit() : HTCLIENT;
}

LRESULT CSizableReBar::OnNcLButtonDown(WPARAM wParam, LPARAM lParam)
{
    if (wParam >= HTLEFT && wParam <= HTBOTTOMRIGHT && !m_tracking)
    {
        ::SetCapture(m_hWnd);
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        m_trackHit = static_cast<int>(wParam);
        m_trackSize = CSize(m_layoutSize.cx - kStrip, m_layoutSize.cy - kStrip);
        m_trackPoint = CPoint(lParam);
        m_tracking = true;
        return 0;
    }
    return Default();
}

void CSizableReBar::OnMouseMove(UINT, CPoint point)
{
    if (m_tracking)
    {
        ClientToScreen(&point);
        int dx = point.x - m_trackPoint.x, dy = point.y - m_trackPoint.y;
        CSize size = m_trackSize;
        switch (m_trackHit)
        {
        case HTLEFT: size.cx -= dx; break;
        case HTRIGHT: size.cx += dx; break;
        case HTTOP: size.cy -= dy; break;
        case HTBOTTOM: size.cy += dy; break;
        default: break;
        }
        if (size != m_trackSize)
        {
            m_trackSize = size;
            m_trackPoint = point;
            CRect rc(0, 0, size.cx, size.cy);
            if (m_reBar.SendMessage(RB_SIZETORECT, 0, reinterpret_cast<LPARAM>(&rc)))
            {
                CFrameWnd* pFrame = GetParentFrame();
                if (pFrame != nullptr)
                    pFrame->DelayRecalcLayout();
            }
        }
    }
    Default();
}

void CSizableReBar::EndTracking()
{
    m_tracking = false;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != nullptr)
        pFrame->DelayRecalcLayout();
}

void CSizableReBar::OnLButtonUp(UINT, CPoint)
{
    if (m_tracking)
        EndTracking();
    Default();
}

LRESULT CSizableReBar::OnCaptureChanged(WPARAM, LPARAM lParam)
{
    if (m_tracking && reinterpret_cast<HWND>(lParam) != m_hWnd)
        EndTracking();
    return Default();
}

//--- Menu, commands and notifications

void CSizableReBar::OnContextMenu(CWnd*, CPoint point)
{
    if (!m_listBands && !m_childItems)
        return;
    CNewMenu menu;
    if (!menu.Attach(::CreatePopupMenu()))
        return;
    if (m_listBands)
        for (const ReBarBandRecord& record : m_records)
        {
            if (record.name[0] == '\0' || m_reBar.IDToIndex(record.controlId) < 0)
                continue;
            UINT flags = MF_OWNERDRAW | (IsBandVisible(record.controlId) ? MF_CHECKED : 0) |
                         (record.disabled ? MF_GRAYED : 0);
            menu.AppendODMenu(record.name, flags, record.controlId);
        }
    HWND hChild = nullptr;
    if (m_childItems)
    {
        RBHITTESTINFO hit = {};
        hit.pt = point;
        m_reBar.ScreenToClient(&hit.pt);
        int band = m_reBar.HitTest(&hit);
        REBARBANDINFOA info = {};
        info.fMask = RBBIM_CHILD;
        if (band >= 0 && m_reBar.GetBandInfo(static_cast<UINT>(band), &info))
            hChild = info.hwndChild;
        if (hChild != nullptr)
        {
            int before = ::GetMenuItemCount(menu.m_hMenu);
            ::SendMessageA(hChild, WM_REBAR_CONTEXTMENU, reinterpret_cast<WPARAM>(&menu), 0);
            if (before != 0 && ::GetMenuItemCount(menu.m_hMenu) > before)
                ::InsertMenuA(menu.m_hMenu, static_cast<UINT>(before), MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
        }
    }
    CWnd* pOwner = GetParentFrame();
    UINT chosen = static_cast<UINT>(::TrackPopupMenu(menu.m_hMenu, TPM_RIGHTBUTTON | TPM_NONOTIFY | TPM_RETURNCMD,
                                                     point.x, point.y, 0,
                                                     pOwner != nullptr ? pOwner->m_hWnd : m_hWnd, nullptr));
    // A dismissed menu chooses nothing and sends nothing.
    if (chosen != 0 && !ToggleBand(chosen) && hChild != nullptr && ::IsWindow(hChild))
        ::SendMessageA(hChild, WM_COMMAND, LOWORD(chosen), 0);
    menu.DestroyMenu();
}

// Commands of the bands' windows (buttons, boxes) go on to the frame.
BOOL CSizableReBar::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (CControlBar::OnCommand(wParam, lParam))
        return TRUE;
    ::SendMessageA(::GetParent(m_hWnd), WM_COMMAND, wParam, lParam);
    return TRUE;
}

BOOL CSizableReBar::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    auto* pHdr = reinterpret_cast<NMHDR*>(lParam);
    if (pHdr != nullptr && pHdr->hwndFrom == m_reBar.m_hWnd)
    {
        if (pHdr->code == RBN_CHEVRONPUSHED)
        {
            auto* pChevron = reinterpret_cast<NMREBARCHEVRON*>(lParam);
            REBARBANDINFOA band = {};
            band.fMask = RBBIM_CHILD;
            if (m_reBar.GetBandInfo(pChevron->uBand, &band) && band.hwndChild != nullptr)
            {
                CRect rc(pChevron->rc);
                m_reBar.ClientToScreen(&rc);
                ::SendMessageA(band.hwndChild, WM_REBAR_CHEVRONPUSHED, reinterpret_cast<WPARAM>(&rc),
                               pChevron->lParamNM);
            }
        }
        else if (pHdr->code == RBN_CHILDSIZE)
        {
            auto* pSize = reinterpret_cast<NMREBARCHILDSIZE*>(lParam);
            REBARBANDINFOA band = {};
            band.fMask = RBBIM_CHILD;
            if (m_reBar.GetBandInfo(pSize->uBand, &band) && band.hwndChild != nullptr)
                ::SendMessageA(band.hwndChild, WM_REBAR_CHILDSIZE, reinterpret_cast<WPARAM>(&pSize->rcBand),
                               reinterpret_cast<LPARAM>(&pSize->rcChild));
        }
        else if (pHdr->code == RBN_HEIGHTCHANGE)
        {
            CFrameWnd* pFrame = GetParentFrame();
            if (pFrame != nullptr)
                pFrame->DelayRecalcLayout();
        }
    }
    *pResult = ::SendMessageA(::GetParent(m_hWnd), WM_NOTIFY, wParam, lParam);
    return TRUE;
}
