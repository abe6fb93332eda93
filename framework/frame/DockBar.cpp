#include "framework/frame/DockBar.h"

#include <algorithm>

#include "framework/frame/DockContext.h"

IMPLEMENT_DYNAMIC(CDockBar, CControlBar)

BEGIN_MESSAGE_MAP(CDockBar, CControlBar)
    ON_WM_SIZE()
END_MESSAGE_MAP()

namespace {

DWORD AlignOfDockId(UINT nID)
{
    switch (nID)
    {
    case AFX_IDW_DOCKBAR_TOP: return CBRS_ALIGN_TOP;
    case AFX_IDW_DOCKBAR_BOTTOM: return CBRS_ALIGN_BOTTOM;
    case AFX_IDW_DOCKBAR_LEFT: return CBRS_ALIGN_LEFT;
    case AFX_IDW_DOCKBAR_RIGHT: return CBRS_ALIGN_RIGHT;
    default: return CBRS_ALIGN_TOP;
    }
}

} // namespace

//--- CDockBar

// What its bars leave free shows the face colour, as the bars' own
// backgrounds do.
BOOL CDockBar::Create(CWnd* pParent, UINT nID)
{
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | AlignOfDockId(nID);
    LPCSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                     reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    return CreateBar(0, cls, pParent, style, nID, 0, CRect(0, 0, 0, 0));
}

bool CDockBar::IsHorizontal() const
{
    return (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)) != 0;
}

void CDockBar::DockBar(CControlBar* pBar, int row)
{
    if (pBar == nullptr || !pBar->IsWindow())
        return;
    RemoveBar(pBar);
    ::SetParent(pBar->m_hWnd, m_hWnd);
    DWORD side = IsFloating() ? (pBar->GetBarStyle() & CBRS_ALIGN_ANY) : (m_dwStyle & CBRS_ALIGN_ANY);
    pBar->SetBarStyle((pBar->GetBarStyle() & ~(CBRS_ALIGN_ANY | CBRS_FLOATING)) | side |
                      (IsFloating() ? CBRS_FLOATING : 0));
    if (row < 0 || row >= GetRowCount())
        m_rows.push_back({pBar->m_hWnd});
    else
        m_rows[static_cast<size_t>(row)].push_back(pBar->m_hWnd);
    LayoutRows();
}

void CDockBar::RemoveBar(CControlBar* pBar)
{
    for (auto& row : m_rows)
        row.erase(std::remove(row.begin(), row.end(), pBar->m_hWnd), row.end());
    m_rows.erase(std::remove_if(m_rows.begin(), m_rows.end(), [](const std::vector<HWND>& row) { return row.empty(); }),
                 m_rows.end());
}

bool CDockBar::HasBar(const CControlBar* pBar) const
{
    return GetRowOf(pBar) >= 0;
}

int CDockBar::GetRowOf(const CControlBar* pBar, int* pIndex) const
{
    for (size_t r = 0; r < m_rows.size(); ++r)
        for (size_t i = 0; i < m_rows[r].size(); ++i)
            if (m_rows[r][i] == pBar->m_hWnd)
            {
                if (pIndex != nullptr)
                    *pIndex = static_cast<int>(i);
                return static_cast<int>(r);
            }
    return -1;
}

std::vector<CControlBar*> CDockBar::GetVisibleRowBars(int row) const
{
    std::vector<CControlBar*> bars;
    if (row < 0 || row >= GetRowCount())
        return bars;
    for (HWND hBar : m_rows[static_cast<size_t>(row)])
        if (CControlBar* pBar = VisibleBar(hBar))
            bars.push_back(pBar);
    return bars;
}

CControlBar* CDockBar::VisibleBar(HWND hBar)
{
    auto* pBar = dynamic_cast<CControlBar*>(FromHandlePermanent(hBar));
    return pBar != nullptr && pBar->IsVisible() ? pBar : nullptr;
}

CSize CDockBar::BarSize(CControlBar* pBar) const
{
    return pBar->CalcFixedLayout(FALSE, IsHorizontal() || IsFloating());
}

// Rows stack across the side; a row is as thick as its thickest bar.
CSize CDockBar::CalcFixedLayout(BOOL bStretch, BOOL)
{
    CSize total;
    const bool horizontal = IsHorizontal() || IsFloating();
    for (const auto& row : m_rows)
    {
        CSize line;
        for (HWND hBar : row)
        {
            CControlBar* pBar = VisibleBar(hBar);
            if (pBar == nullptr)
                continue;
            CSize size = BarSize(pBar);
            if (horizontal)
            {
                line.cx += size.cx;
                line.cy = std::max(line.cy, size.cy);
            }
            else
            {
                line.cy += size.cy;
                line.cx = std::max(line.cx, size.cx);
            }
        }
        if (horizontal)
        {
            total.cy += line.cy;
            total.cx = std::max(total.cx, line.cx);
        }
        else
        {
            total.cx += line.cx;
            total.cy = std::max(total.cy, line.cy);
        }
    }
    if (bStretch && !IsFloating())
    {
        if (horizontal)
            total.cx = 32767;
        else
            total.cy = 32767;
    }
    return total;
}

void CDockBar::LayoutRows()
{
    const bool horizontal = IsHorizontal() || IsFloating();
    int across = 0;
    for (const auto& row : m_rows)
    {
        int along = 0, thickness = 0;
        for (HWND hBar : row)
        {
            CControlBar* pBar = VisibleBar(hBar);
            if (pBar == nullptr)
                continue;
            CSize size = BarSize(pBar);
            CRect rc = horizontal ? CRect(CPoint(along, across), size) : CRect(CPoint(across, along), size);
            pBar->MoveWindow(&rc);
            along += horizontal ? size.cx : size.cy;
            thickness = std::max<int>(thickness, horizontal ? size.cy : size.cx);
        }
        across += thickness;
    }
}

void CDockBar::PostNcDestroy()
{
    if (m_deleteWithWindow)
        delete this;
}

void CDockBar::OnSize(UINT, int, int)
{
    Default();
    LayoutRows();
}

//--- CMiniDockFrameWnd

IMPLEMENT_DYNCREATE(CMiniDockFrameWnd, CMiniFrameWnd)

BEGIN_MESSAGE_MAP(CMiniDockFrameWnd, CMiniFrameWnd)
    ON_WM_CLOSE()
    ON_MESSAGE(WM_NCLBUTTONDOWN, OnNcLButtonDown)
    ON_MESSAGE(WM_NCLBUTTONDBLCLK, OnNcLButtonDblClk)
END_MESSAGE_MAP()

BOOL CMiniDockFrameWnd::Create(CFrameWnd* pFrame, CPoint at)
{
    if (!CMiniFrameWnd::Create(nullptr, "", kStyle, CRect(at.x, at.y, at.x + 100, at.y + 50), pFrame))
        return FALSE;
    return m_dockBar.Create(this, AFX_IDW_DOCKBAR_FLOAT);
}

void CMiniDockFrameWnd::FitToBars()
{
    CSize size = m_dockBar.CalcFixedLayout(FALSE, TRUE);
    if (size.cx == 0 || size.cy == 0)
    {
        ShowWindow(SW_HIDE);
        return;
    }
    CRect frame(0, 0, size.cx, size.cy);
    ::AdjustWindowRectEx(&frame, GetStyle(), FALSE, GetExStyle());
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, frame.Width(), frame.Height(),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    m_dockBar.MoveWindow(0, 0, size.cx, size.cy);
    m_dockBar.LayoutRows();
    const std::vector<CControlBar*> bars = m_dockBar.GetVisibleRowBars(0);
    if (!bars.empty())
    {
        CString title;
        bars.front()->GetWindowText(title);
        SetWindowText(title);
    }
}

// Closing a floating frame hides its bars with it (the bars are kept).
void CMiniDockFrameWnd::OnClose()
{
    ShowWindow(SW_HIDE);
}

CControlBar* CMiniDockFrameWnd::CaptionBar() const
{
    const std::vector<CControlBar*> bars = m_dockBar.GetVisibleRowBars(0);
    return bars.empty() ? nullptr : bars.front();
}

// A press on the caption drags the bar as a press on the bar itself would:
// the outline follows the pointer, over a side of the frame in the shape
// the bar takes there. The drop may dock the bar and destroy this frame, so
// nothing of it is used after the drag.
LRESULT CMiniDockFrameWnd::OnNcLButtonDown(WPARAM wParam, LPARAM lParam)
{
    CControlBar* pBar = wParam == HTCAPTION ? CaptionBar() : nullptr;
    if (pBar == nullptr || pBar->GetDockSite() == nullptr)
        return Default();
    CDockContext(pBar).StartDrag(CPoint(lParam));
    return 0;
}

// A double click on the caption docks the bar where it last was; this
// frame goes with it.
LRESULT CMiniDockFrameWnd::OnNcLButtonDblClk(WPARAM wParam, LPARAM)
{
    CControlBar* pBar = wParam == HTCAPTION ? CaptionBar() : nullptr;
    if (pBar == nullptr || pBar->GetDockSite() == nullptr)
        return Default();
    pBar->GetDockSite()->ToggleDocking(pBar);
    return 0;
}
