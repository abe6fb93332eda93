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

const int kGripper = 14;  // the caption strip of a gripper bar

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
        return CSize(bStretch ? 32767 : m_horz.cx, m_horz.cy);
    return CSize(m_vert.cx, bStretch ? 32767 : m_vert.cy);
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

// The bar's docked size follows the edge being dragged.
void CSizingControlBar::OnTrackUpdateSize(CPoint point)
{
    int dx = point.x - m_trackPoint.x, dy = point.y - m_trackPoint.y;
    CSize& size = IsHorizontalDock(GetDockBarId()) ? m_horz : m_vert;
    switch (m_trackHit)
    {
    case HTLEFT: size.cx = std::max<LONG>(size.cx - dx, kEdgeWidth * 2); break;
    case HTRIGHT: size.cx = std::max<LONG>(size.cx + dx, kEdgeWidth * 2); break;
    case HTTOP: size.cy = std::max<LONG>(size.cy - dy, kEdgeWidth * 2); break;
    case HTBOTTOM: size.cy = std::max<LONG>(size.cy + dy, kEdgeWidth * 2); break;
    default: return;
    }
    m_trackPoint = point;
    auto* pDockBar = dynamic_cast<CDockBar*>(FromHandlePermanent(::GetParent(m_hWnd)));
    if (pDockBar != nullptr)
        pDockBar->LayoutRows();
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != nullptr && m_dragFullWindows)
        pFrame->RecalcLayout();
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

LRESULT CSizingControlBar::OnNcPaint(WPARAM, LPARAM)
{
    LRESULT result = Default();
    CRect window, client;
    GetWindowRect(&window);
    GetClientRect(&client);
    ClientToScreen(&client);
    ::OffsetRect(&client, -window.left, -window.top);
    CWindowDC dc(m_hWnd);
    if (m_edges & kDraw3dEdges)
    {
        CRect outline(0, 0, window.Width(), window.Height());
        dc.Draw3dRect(&outline, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
    }
    NcPaintGripper(dc, client);
    return result;
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
    CRect window;
    GetWindowRect(&window);
    CRect strip = *pRect;  // window coordinates, as WM_NCCALCSIZE gives them
    ::OffsetRect(&strip, -window.left, -window.top);
    const bool side = IsHorizontalDock(nDockBarID);
    if (side)
    {
        strip.right = strip.left + kGripper;
        pRect->left += kGripper;
    }
    else
    {
        strip.bottom = strip.top + kGripper;
        pRect->top += kGripper;
    }
    // close, command, then dock left, right, top, bottom
    for (int i = 0; i < 6; ++i)
    {
        int offset = 1 + i * (kButton + 1);
        m_buttons[i] = side ? CRect(strip.left + 1, strip.top + offset, strip.left + 1 + kButton, strip.top + offset + kButton)
                            : CRect(strip.right - offset - kButton, strip.top + 1, strip.right - offset, strip.top + 1 + kButton);
    }
}

void CSizingControlBarG::NcPaintGripper(HDC hdc, const RECT&)
{
    CDC dc;
    dc.Attach(hdc);
    CBrush frame(::GetSysColor(COLOR_BTNSHADOW));
    for (const CRect& button : m_buttons)
        dc.FrameRect(&button, frame);
    RECT close = m_buttons[0];
    ::DrawFrameControl(hdc, &close, DFC_CAPTION, DFCS_CAPTIONCLOSE | DFCS_FLAT);
    dc.Detach();
}

UINT CSizingControlBarG::HitButton(CPoint windowPoint) const
{
    static const UINT kHits[6] = {kHitClose, kHitCommand, kHitDockLeft, kHitDockRight, kHitDockTop, kHitDockBottom};
    for (int i = 0; i < 6; ++i)
        if (m_buttons[i].PtInRect(windowPoint))
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
