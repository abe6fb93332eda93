#include "bars/SizingControlBar.h"

#include <algorithm>

#include "shared/AppData.h"
#include "shared/AppSettings.h"
#include "tab/FavHtmlPane.h"
#include "framework/frame/DockBar.h"
#include "framework/frame/DockContext.h"
#include "framework/frame/FrameWnd.h"
#include "framework/gdi/DC.h"

namespace {

// The shortest a bar gets along its dock row.
const LONG kMinLength = CSizingControlBar::kEdgeWidth * 2;

bool IsDockId(UINT id)
{
    return id >= AFX_IDW_DOCKBAR_TOP && id <= AFX_IDW_DOCKBAR_BOTTOM;
}

bool IsHorizontalDock(UINT id)
{
    return id == AFX_IDW_DOCKBAR_TOP || id == AFX_IDW_DOCKBAR_BOTTOM;
}

INT_PTR CALLBACK EmptyDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

} // namespace

//--- CSizingControlBar

BEGIN_MESSAGE_MAP(CSizingControlBar, CControlBar)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_RBUTTONDOWN()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_MESSAGE(WM_NCCALCSIZE, OnNcCalcSize)
    ON_MESSAGE(WM_NCHITTEST, OnNcHitTest)
    ON_MESSAGE(WM_NCLBUTTONDOWN, OnNcLButtonDown)
    ON_MESSAGE(WM_NCPAINT, OnNcPaint)
    ON_MESSAGE(WM_CAPTURECHANGED, OnCaptureChanged)
    ON_MESSAGE(WM_SETTINGCHANGE, OnSettingChange)
    ON_MESSAGE(WM_SETTEXT, OnSetText)
END_MESSAGE_MAP()

BOOL CSizingControlBar::Create(LPCSTR title, CWnd* pParent, CSize size, UINT nID, DWORD dwStyle)
{
    m_horz = size;
    m_vert = size;
    LPCSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                     reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    if (!CreateBar(0, cls, pParent, dwStyle | WS_CLIPCHILDREN, nID, 0, CRect(CPoint(0, 0), size)))
        return FALSE;
    SetWindowText(title != nullptr ? title : "");
    return TRUE;
}

UINT CSizingControlBar::GetDockBarId() const
{
    UINT id = static_cast<UINT>(::GetDlgCtrlID(::GetParent(m_hWnd)));
    return IsDockId(id) ? id : 0;
}

CSize CSizingControlBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    if (bHorz)
        return CSize(bStretch ? 32767 : LengthInRow(true, m_horz.cx), m_horz.cy);
    return CSize(m_vert.cx, bStretch ? 32767 : LengthInRow(false, m_vert.cy));
}

CDockBar* CSizingControlBar::GetDockBar() const
{
    return GetDockBarId() != 0 ? dynamic_cast<CDockBar*>(FromHandlePermanent(::GetParent(m_hWnd))) : nullptr;
}

std::vector<CControlBar*> CSizingControlBar::GetRowBars() const
{
    CDockBar* pDockBar = GetDockBar();
    return pDockBar != nullptr ? pDockBar->GetVisibleRowBars(pDockBar->GetRowOf(this)) : std::vector<CControlBar*>();
}

bool CSizingControlBar::IsLastInRow() const
{
    const std::vector<CControlBar*> bars = GetRowBars();
    return !bars.empty() && bars.back() == this;
}

// The last bar of a row takes the rest of the dock bar's length, so that a
// pane fills its side of the frame and no part of the side stays empty.
LONG CSizingControlBar::LengthInRow(bool horizontal, LONG own) const
{
    CDockBar* pDockBar = GetDockBar();
    if (pDockBar == nullptr || IsHorizontalDock(GetDockBarId()) != horizontal)
        return own;
    const std::vector<CControlBar*> bars = GetRowBars();
    if (bars.empty() || bars.back() != this)  // not the last in its row
        return own;
    CRect dock;
    pDockBar->GetClientRect(&dock);
    LONG rest = horizontal ? dock.Width() : dock.Height();
    if (rest <= 0)
        return own;  // not laid out yet
    for (CControlBar* pBar : bars)
        if (pBar != this) {
            const CSize size = pBar->CalcFixedLayout(FALSE, horizontal);
            rest -= horizontal ? size.cx : size.cy;
        }
    return std::max(rest, kMinLength);
}

void CSizingControlBar::UpdateEdgeMask()
{
    m_edges &= ~0x0Fu;
    UINT dockId = GetDockBarId();
    auto* pDockBar = dynamic_cast<CDockBar*>(FromHandlePermanent(::GetParent(m_hWnd)));
    if (dockId == 0 || pDockBar == nullptr)
        return;
    int index = -1;
    int row = pDockBar->GetRowOf(this, &index);
    int length = pDockBar->GetRowLength(row);
    if (row < 0 || length < 2)
        return;  // alone in its row: nothing to size against
    bool horizontal = IsHorizontalDock(dockId);
    if (index > 0)
        m_edges |= horizontal ? kEdgeLeft : kEdgeTop;
    if (index + 1 < length)
        m_edges |= horizontal ? kEdgeRight : kEdgeBottom;
}

void CSizingControlBar::NcCalcClient(LPRECT pRect, UINT)
{
    if (m_edges & kEdgeLeft)
        pRect->left += kEdgeWidth;
    if (m_edges & kEdgeRight)
        pRect->right -= kEdgeWidth;
    if (m_edges & kEdgeTop)
        pRect->top += kEdgeWidth;
    if (m_edges & kEdgeBottom)
        pRect->bottom -= kEdgeWidth;
}

void CSizingControlBar::NcPaintGripper(HDC, const RECT&)
{
}

int CSizingControlBar::OnCreate(LPCREATESTRUCT)
{
    if (Default() == -1)
        return -1;
    ::SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &m_dragFullWindows, 0);
    return 0;
}

LRESULT CSizingControlBar::OnSettingChange(WPARAM, LPARAM)
{
    ::SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &m_dragFullWindows, 0);
    return Default();
}

void CSizingControlBar::OnSize(UINT, int cx, int cy)
{
    Default();
    HWND hChild = ::GetWindow(m_hWnd, GW_CHILD);
    if ((m_edges & kFitFirstChild) && hChild != nullptr)
        ::MoveWindow(hChild, 0, 0, cx, cy, TRUE);
}

void CSizingControlBar::OnDestroy()
{
    if (m_dwStyle & CBRS_FLOATING)
        GetWindowRect(&m_floatRect);
    CControlBar::OnDestroy();
}

LRESULT CSizingControlBar::OnNcCalcSize(WPARAM, LPARAM lParam)
{
    LRESULT result = Default();
    UpdateEdgeMask();
    NcCalcClient(reinterpret_cast<LPRECT>(lParam), GetDockBarId());
    return result;
}

// Docked: the counted edges, tested left, top, right, bottom.
LRESULT CSizingControlBar::OnNcHitTest(WPARAM, LPARAM lParam)
{
    if (GetDockBarId() == 0)
        return HTCLIENT;
    CRect window;
    GetWindowRect(&window);
    CPoint pt(lParam);
    if (!window.PtInRect(pt))
        return HTNOWHERE;
    if ((m_edges & kEdgeLeft) && pt.x < window.left + kEdgeWidth)
        return HTLEFT;
    if ((m_edges & kEdgeTop) && pt.y < window.top + kEdgeWidth)
        return HTTOP;
    if ((m_edges & kEdgeRight) && pt.x >= window.right - kEdgeWidth)
        return HTRIGHT;
    if ((m_edges & kEdgeBottom) && pt.y >= window.bottom - kEdgeWidth)
        return HTBOTTOM;
    return HTCLIENT;
}

LRESULT CSizingControlBar::OnNcLButtonDown(WPARAM wParam, LPARAM lParam)
{
    if (wParam >= HTLEFT && wParam <= HTBOTTOMRIGHT && GetDockBarId() != 0 && !m_tracking)
    {
        StartTracking(static_cast<UINT>(wParam), CPoint(lParam));
        return 0;
    }
    return Default();
}

void CSizingControlBar::StartTracking(UINT nHitTest, CPoint point)
{
    ::SetCapture(m_hWnd);
    m_tracking = true;
    m_trackHit = nHitTest;
    m_trackPoint = point;
}

void CSizingControlBar::StopTracking()
{
    m_tracking = false;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != nullptr)
        pFrame->RecalcLayout();
}

// The dragged edge moves: along the row it lies between two neighbours,
// which share their length; across the row only this bar's size changes.
void CSizingControlBar::OnTrackUpdateSize(CPoint point)
{
    if (m_trackHit != HTLEFT && m_trackHit != HTRIGHT && m_trackHit != HTTOP && m_trackHit != HTBOTTOM)
        return;
    const bool horizontal = IsHorizontalDock(GetDockBarId());
    const bool sideways = m_trackHit == HTLEFT || m_trackHit == HTRIGHT;
    const bool along = sideways == horizontal;
    const bool leading = m_trackHit == HTLEFT || m_trackHit == HTTOP;
    const int delta = sideways ? point.x - m_trackPoint.x : point.y - m_trackPoint.y;
    m_trackPoint = point;
    CSizingControlBar* pNeighbour = nullptr;
    if (along) {
        const std::vector<CControlBar*> bars = GetRowBars();
        const auto self = std::find(bars.begin(), bars.end(), this);
        if (self != bars.end() && leading && self != bars.begin())
            pNeighbour = dynamic_cast<CSizingControlBar*>(*(self - 1));
        else if (self != bars.end() && !leading && self + 1 != bars.end())
            pNeighbour = dynamic_cast<CSizingControlBar*>(*(self + 1));
    }
    if (pNeighbour != nullptr && leading)
        MoveRowEdge(*pNeighbour, *this, delta, horizontal);
    else if (pNeighbour != nullptr)
        MoveRowEdge(*this, *pNeighbour, delta, horizontal);
    else {
        CSize& size = horizontal ? m_horz : m_vert;
        LONG& length = sideways ? size.cx : size.cy;
        length = std::max<LONG>(leading ? length - delta : length + delta, kMinLength);
    }
    if (CDockBar* pDockBar = GetDockBar())
        pDockBar->LayoutRows();
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != nullptr && m_dragFullWindows)
        pFrame->RecalcLayout();
}

// The two keep their sum; the last bar of a row keeps no length of its own
// (it takes the rest), so only the one before it is told.
void CSizingControlBar::MoveRowEdge(CSizingControlBar& before, CSizingControlBar& after, int delta, bool horizontal)
{
    const auto lengthOf = [horizontal](CSizingControlBar& bar) {
        const CSize size = bar.CalcFixedLayout(FALSE, horizontal);
        return horizontal ? size.cx : size.cy;
    };
    const LONG total = lengthOf(before) + lengthOf(after);
    const LONG first = std::min(std::max(lengthOf(before) + delta, kMinLength), std::max(total - kMinLength, kMinLength));
    before.StoredLength(horizontal) = first;
    if (!after.IsLastInRow())
        after.StoredLength(horizontal) = total - first;
}

void CSizingControlBar::OnMouseMove(UINT, CPoint point)
{
    if (m_tracking)
    {
        ClientToScreen(&point);
        OnTrackUpdateSize(point);
        return;
    }
    Default();
}

void CSizingControlBar::OnLButtonUp(UINT, CPoint)
{
    if (m_tracking)
        StopTracking();
    else
        Default();
}

void CSizingControlBar::OnRButtonDown(UINT, CPoint)
{
    if (m_tracking)
        StopTracking();
    else
        Default();
}

LRESULT CSizingControlBar::OnCaptureChanged(WPARAM, LPARAM lParam)
{
    if (m_tracking && reinterpret_cast<HWND>(lParam) != m_hWnd)
        StopTracking();
    return Default();
}

bool CSizingControlBar::InDockBar() const
{
    return m_pDockSite != nullptr && dynamic_cast<CDockBar*>(FromHandlePermanent(::GetParent(m_hWnd))) != nullptr;
}

// In a dock bar (docked or floating) a press drags the bar: on the gripper,
// since the pane's own window covers the client area.
void CSizingControlBar::OnLButtonDown(UINT, CPoint point)
{
    if (!InDockBar())
    {
        Default();
        return;
    }
    ClientToScreen(&point);
    CDockContext(this).StartDrag(point);
}

// In a dock bar (docked or floating) a double click docks or floats it.
void CSizingControlBar::OnLButtonDblClk(UINT, CPoint)
{
    if (InDockBar())
        m_pDockSite->ToggleDocking(this);
    else
        Default();
}

// The whole non-client area is composed off-screen in the face colour,
// then the edges and the gripper: nothing of it is left unpainted.
LRESULT CSizingControlBar::OnNcPaint(WPARAM, LPARAM)
{
    CRect window, client;
    GetWindowRect(&window);
    GetClientRect(&client);
    ClientToScreen(&client);
    client.OffsetRect(-window.left, -window.top);
    window.OffsetRect(-window.left, -window.top);
    CWindowDC dc(m_hWnd);
    ::ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
    CMemDC composed(dc, window);
    composed.FillSolidRect(&window, ::GetSysColor(COLOR_BTNFACE));
    if (m_edges & kDraw3dEdges)
        composed.Draw3dRect(&window, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
    NcPaintGripper(composed, client);
    return 0;
}

// A floating bar's text is its floating frame's caption.
LRESULT CSizingControlBar::OnSetText(WPARAM, LPARAM lParam)
{
    LRESULT result = Default();
    if (m_dwStyle & CBRS_FLOATING)
    {
        HWND hMini = ::GetParent(::GetParent(m_hWnd));
        if (hMini != nullptr)
            ::SetWindowTextA(hMini, reinterpret_cast<LPCSTR>(lParam));
        CFrameWnd* pFrame = dynamic_cast<CFrameWnd*>(m_pDockSite);
        if (pFrame != nullptr)
            pFrame->DelayRecalcLayout();
    }
    return result;
}

//--- CSizingControlBarG

BEGIN_MESSAGE_MAP(CSizingControlBarG, CSizingControlBar)
    ON_MESSAGE(WM_NCHITTEST, OnNcHitTest)
    ON_MESSAGE(WM_NCLBUTTONUP, OnNcLButtonUp)
END_MESSAGE_MAP()

// The gripper strip takes the top of the client area (the left side in a
// top or bottom dock); the buttons stand in it from the far end.
void CSizingControlBarG::NcCalcClient(LPRECT pRect, UINT nDockBarID)
{
    CSizingControlBar::NcCalcClient(pRect, nDockBarID);
    if (IsHorizontalDock(nDockBarID))
        pRect->left += kGripper;
    else
        pRect->top += kGripper;
}

// Next to the client area, in window coordinates: worked out from where the
// window is now, as the rectangle of WM_NCCALCSIZE is the parent's and not
// yet the window's.
CRect CSizingControlBarG::GetStripRect() const
{
    CRect window, client;
    GetWindowRect(&window);
    GetClientRect(&client);
    ClientToScreen(&client);
    client.OffsetRect(-window.left, -window.top);
    if (IsSideStrip())
        return CRect(client.left - kGripper, client.top, client.left, client.bottom);
    return CRect(client.left, client.top - kGripper, client.right, client.top);
}

bool CSizingControlBarG::IsSideStrip() const
{
    return IsHorizontalDock(GetDockBarId());
}

// Close first, then the second button when the bar has a command for it,
// then the four docking sides, each one step further from the far end.
CRect CSizingControlBarG::GetButtonRect(Button button) const
{
    return ButtonIn(button, GetStripRect(), IsSideStrip());
}

CRect CSizingControlBarG::ButtonIn(Button button, const CRect& strip, bool side) const
{
    if (button == kCommand && m_secondCommand == 0)
        return CRect();
    int slot = static_cast<int>(button);
    if (button > kCommand && m_secondCommand == 0)
        --slot;
    const int offset = 1 + slot * (kButton + 1);
    return side ? CRect(strip.left + 1, strip.top + offset, strip.left + 1 + kButton, strip.top + offset + kButton)
                         : CRect(strip.right - offset - kButton, strip.top + 1, strip.right - offset, strip.top + 1 + kButton);
}

namespace {

// The glyphs of the caption buttons, drawn in the text colour inside the
// 11 x 11 button: a cross, three dots, and a box with the side the bar
// docks to filled.
void DrawButtonGlyph(CDC& dc, const CRect& r, CSizingControlBarG::Button button, HBRUSH ink)
{
    using Bar = CSizingControlBarG;
    const int x = r.left, y = r.top;
    switch (button) {
    case Bar::kClose:
        for (int i = 0; i < 6; ++i) {
            const CRect down(x + 2 + i, y + 3 + i, x + 4 + i, y + 4 + i);
            const CRect up(x + 7 - i, y + 3 + i, x + 9 - i, y + 4 + i);
            dc.FillRect(&down, ink);
            dc.FillRect(&up, ink);
        }
        break;
    case Bar::kCommand:
        for (int i = 0; i < 3; ++i) {
            const CRect dot(x + 2 + i * 3, y + 5, x + 4 + i * 3, y + 7);
            dc.FillRect(&dot, ink);
        }
        break;
    default: {
        const CRect box(x + 2, y + 2, x + 9, y + 9);
        dc.FrameRect(&box, ink);
        CRect side = box;
        if (button == Bar::kDockLeft)
            side.right = side.left + 3;
        else if (button == Bar::kDockRight)
            side.left = side.right - 3;
        else if (button == Bar::kDockTop)
            side.bottom = side.top + 3;
        else
            side.top = side.bottom - 3;
        dc.FillRect(&side, ink);
        break;
    }
    }
}

} // namespace

void CSizingControlBarG::NcPaintGripper(HDC hdc, const RECT&)
{
    CDC dc;
    dc.Attach(hdc);
    const CRect strip = GetStripRect();
    const bool side = IsSideStrip();
    DrawCaption(dc, strip, side);
    CBrush frame(::GetSysColor(COLOR_BTNSHADOW));
    HBRUSH ink = ::GetSysColorBrush(COLOR_BTNTEXT);
    for (int i = 0; i < kButtonCount; ++i) {
        const Button button = static_cast<Button>(i);
        const CRect rect = ButtonIn(button, strip, side);
        if (rect.IsRectEmpty())
            continue;
        dc.FrameRect(&rect, frame);
        DrawButtonGlyph(dc, rect, button, ink);
    }
    dc.Detach();
}

// The free part of the strip, up to the buttons: the bar's text where it
// runs across, two raised lines where it runs down the side.
void CSizingControlBarG::DrawCaption(CDC& dc, const CRect& strip, bool side) const
{
    // The docking buttons are always there; the bottom one is the last.
    const CRect last = ButtonIn(kDockBottom, strip, side);
    if (side) {
        const int top = last.bottom + 4, bottom = strip.bottom - 4;
        for (int x = strip.left + 4; x <= strip.left + 7 && top < bottom; x += 3) {
            const CRect line(x, top, x + 3, bottom);
            dc.Draw3dRect(&line, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
        }
    } else {
        CString text;
        GetWindowText(text);
        CRect room(strip.left + 4, strip.top, last.left - 2, strip.bottom);
        HGDIOBJ old = dc.SelectObject(::GetStockObject(DEFAULT_GUI_FONT));
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(::GetSysColor(COLOR_BTNTEXT));
        if (room.left < room.right)
            dc.DrawText(text, &room, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
        dc.SelectObject(old);
    }
}

UINT CSizingControlBarG::HitButton(CPoint windowPoint) const
{
    static const UINT kHits[kButtonCount] = {kHitClose, kHitCommand, kHitDockLeft, kHitDockRight, kHitDockTop, kHitDockBottom};
    const CRect strip = GetStripRect();
    const bool side = IsSideStrip();
    for (int i = 0; i < kButtonCount; ++i)
        if (ButtonIn(static_cast<Button>(i), strip, side).PtInRect(windowPoint))
            return kHits[i];
    return 0;
}

LRESULT CSizingControlBarG::OnNcHitTest(WPARAM wParam, LPARAM lParam)
{
    LRESULT hit = CSizingControlBar::OnNcHitTest(wParam, lParam);
    if (hit != HTCLIENT)
        return hit;
    CRect window;
    GetWindowRect(&window);
    CPoint pt(lParam);
    pt.Offset(-window.left, -window.top);
    UINT button = HitButton(pt);
    return button != 0 ? static_cast<LRESULT>(button) : HTCLIENT;
}

LRESULT CSizingControlBarG::OnNcLButtonUp(WPARAM wParam, LPARAM)
{
    CFrameWnd* pFrame = dynamic_cast<CFrameWnd*>(m_pDockSite);
    switch (wParam)
    {
    case kHitDockLeft:
    case kHitDockRight:
    case kHitDockTop:
    case kHitDockBottom:
    {
        static const UINT kDocks[] = {AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT, AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM};
        if (pFrame != nullptr)
            pFrame->DockControlBar(this, kDocks[wParam - kHitDockLeft]);
        break;
    }
    case kHitCommand:
        PostMessage(WM_COMMAND, m_secondCommand);
        break;
    case kHitClose:
        PostMessage(WM_COMMAND, m_closeCommand);
        break;
    default:
        break;
    }
    return Default();
}

BOOL CSizingControlBarG::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (CSizingControlBar::OnCommand(wParam, lParam))
        return TRUE;
    // Control notifications stay here; only commands proper go on.
    if (lParam != 0 || m_pDockSite == nullptr || !m_pDockSite->IsWindow())
        return FALSE;
    m_pDockSite->SendMessage(WM_COMMAND, wParam, lParam);
    return TRUE;
}

//--- CSizingControlBarCF

BEGIN_MESSAGE_MAP(CSizingControlBarCF, CSizingControlBarG)
    ON_MESSAGE(WM_SETTEXT, OnSetText)
END_MESSAGE_MAP()

LRESULT CSizingControlBarCF::OnSetText(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = CSizingControlBar::OnSetText(wParam, lParam);
    RedrawWindow(nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
    return result;
}

//--- CFavoritesBar and CDockBarB

namespace {

// The pane's dialog as its one child, when the program has that template.
HWND CreatePaneDialog(HWND hBar, UINT nDialogId)
{
    HWND hDialog = ::CreateDialogParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nDialogId), hBar, EmptyDialogProc, 0);
    if (hDialog != nullptr)
        ::SetWindowPos(hDialog, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    return hDialog;
}

} // namespace

BEGIN_MESSAGE_MAP(CFavoritesBar, CSizingControlBarG)
    ON_WM_CREATE()
    ON_WM_SHOWWINDOW()
    ON_MESSAGE(WM_WINDOWPOSCHANGED, OnWindowPosChanged)
END_MESSAGE_MAP()

CFavoritesBar::CFavoritesBar() = default;
CFavoritesBar::~CFavoritesBar() = default;

// Mode 0: the favorites page; 1: the tree, filled from the frame's
// favorites; any other mode: an empty pane.
int CFavoritesBar::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CSizingControlBar::OnCreate(lpcs) == -1)
        return -1;
    SetSizingStyle(kDraw3dEdges | kFitFirstChild);
    const BYTE mode = AppSettings().iDocFavMode;
    if (mode == 0) {
        auto pane = std::make_unique<CDlgFavHtml>(this);
        if (pane->Create(kPageDialogId, this)) {
            pane->SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
            pane->CreateHistoryPage();
            // Nothing else shows a first page in it.
            pane->Navigate(AppFolders().FavoriteFile("index.htm"));
            m_pPagePane = std::move(pane);
        }
    } else if (mode == 1) {
        // Filled when the bar first shows: a hidden bar costs the start-up
        // no tree items (a thousand favorites make a thousand).
        std::unique_ptr<CFavoritesTreePane> pane = m_makeTreePane ? m_makeTreePane(this) : nullptr;
        if (pane != nullptr && pane->Create(kTreeDialogId, this)) {
            pane->SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
            m_pTreePane = std::move(pane);
            if (IsWindowVisible())
                m_pTreePane->Fill();
        }
    }
    return 0;
}

void CFavoritesBar::OnShowWindow(BOOL bShow, UINT)
{
    Default();
    if (bShow && m_pTreePane != nullptr)
        m_pTreePane->Fill();
}

LRESULT CFavoritesBar::OnWindowPosChanged(WPARAM, LPARAM lParam)
{
    LRESULT result = Default();
    const auto* pPos = reinterpret_cast<const WINDOWPOS*>(lParam);
    if ((pPos->flags & SWP_SHOWWINDOW) != 0 && m_pTreePane != nullptr)
        m_pTreePane->Fill();
    return result;
}

BEGIN_MESSAGE_MAP(CDockBarB, CSizingControlBarG)
    ON_WM_CREATE()
END_MESSAGE_MAP()

// The pane's dialog, when the program has one, at (0, 0) in its own size.
int CDockBarB::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CSizingControlBar::OnCreate(lpcs) == -1)
        return -1;
    SetSizingStyle(kDraw3dEdges | kFitFirstChild);
    CreatePaneDialog(m_hWnd, kDialogId);
    return 0;
}
