#include "bars/TabBarCtrl.h"

#include <algorithm>
#include <cstdlib>

#include "framework/frame/ControlBar.h"
#include "framework/frame/FrameWnd.h"
#include "framework/gdi/DC.h"
#include "framework/win/RedrawGuard.h"
#include "shared/AppData.h"
#include "shared/CommandIds.h"

namespace {

const int kMinBarHeight = 16;
const int kScrollBarWidth = 12;
const int kMaxLayoutPasses = 10;
const int kMaxScrollPasses = 300;
const int kMaxScanPixels = 1000;  // the column scan's reach from each edge
const int kTipMaxWidth = 400;
const int kButtonRowGap = 3;      // between button rows, where one row leaves nothing to measure

void PlaceWindow(HWND hWnd, const CRect& rc)
{
    ::SetWindowPos(hWnd, nullptr, rc.left, rc.top, rc.Width(), rc.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

BEGIN_MESSAGE_MAP(CTabBarCtrl, CDrawTabCtrl)
    ON_WM_MOUSEMOVE()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
END_MESSAGE_MAP()

CTabBarCtrl::~CTabBarCtrl()
{
    if (m_pUpDown != nullptr && m_pUpDown->m_hWnd != nullptr)
        m_pUpDown->Detach();
}

//--- Creation and items

BOOL CTabBarCtrl::CreateStrip(CWnd* pParent, int flags, int position, UINT nID, COLORREF backColor,
                              DWORD drawStyle, LPCSTR imageFile, int imageCount)
{
    m_position = static_cast<BYTE>(position);
    if (m_pUpDown != nullptr && m_pUpDown->m_hWnd != nullptr)
        m_pUpDown->Detach();
    m_pUpDown.reset();
    m_pScrollBar.reset();
    TabBarOptions options = GetOptions();
    DWORD style = WS_CHILD | WS_VISIBLE | TCS_FOCUSNEVER | TCS_TOOLTIPS | TCS_FORCELABELLEFT;
    if (position == kBottom)
        style |= TCS_BOTTOM;
    if (options.buttons)
        style |= TCS_BUTTONS;
    if (options.multiLine)
        style |= TCS_MULTILINE;
    if (options.fixedWidth)
        style |= TCS_FIXEDWIDTH;
    if (options.buttons && options.oldStyle)
        style |= TCS_FLATBUTTONS | TCS_HOTTRACK;
    if (!Create(style, CRect(0, 0, 300, 16), pParent, nID))
        return FALSE;
    if (options.fixedWidth)
        SetItemSize(CSize(options.itemWidth, 0));
    SetPadding(CSize(3, 2));
    if (options.oldStyle)
    {
        SetDrawMode(kSystemDrawn);
        SetDrawStyle(false, 0);
    }
    else
    {
        SetBackColor(backColor);
        SetDrawMode(kDrawnHere);
        SetDrawStyle(true, drawStyle);
    }
    SetFont(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
    if ((flags & 0x2) && m_images.GetSafeHandle() == nullptr &&
        m_images.Create(16, 16, ILC_COLOR24 | ILC_MASK, imageCount, 1))
    {
        CString path = AppFolders().ResFile(imageFile);
        HBITMAP hBitmap = static_cast<HBITMAP>(
            ::LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
        if (hBitmap != nullptr)
        {
            m_images.Add(hBitmap, RGB(255, 0, 255));
            ::DeleteObject(hBitmap);
        }
    }
    if (m_images.GetSafeHandle() != nullptr)
        SetImageList(m_images);
    if (IsColumn())
    {
        m_pScrollBar = std::make_unique<CTabScrollBar>();
        if (!m_pScrollBar->Create(WS_CHILD | SBS_VERT | SBS_RIGHTALIGN, CRect(0, 0, kScrollBarWidth, 16), pParent, nID))
            m_pScrollBar.reset();
        else
            m_pScrollBar->m_pTabBar = this;
    }
    return TRUE;
}

int CTabBarCtrl::FindItemParam(LPARAM param) const
{
    for (int i = 0, n = GetItemCount(); i < n; ++i)
        if (GetItemParam(i) == param)
            return i;
    return -1;
}

CString CTabBarCtrl::MakeItemText(const CString& caption) const
{
    TabBarOptions options = GetOptions();
    CString text = TruncateTabText(caption, options.maxText, true);
    if (options.oldStyle)
        text.Replace("&", "&&");
    return text;
}

void CTabBarCtrl::SetScrollRange(int items)
{
    if (m_pScrollBar != nullptr && m_pScrollBar->IsWindow())
        m_pScrollBar->SetScrollRange(0, std::max(items - 1, 0));
}

void CTabBarCtrl::RelayoutFrame()
{
    CFrameWnd* pFrame = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(GetFrameWindow()));
    if (pFrame != nullptr)
        pFrame->RecalcLayout();
}

void CTabBarCtrl::AfterItemsChanged(bool firstItem, bool relayout)
{
    int rows = GetRowCount();
    if (rows != m_rowCount || firstItem)
    {
        m_rowCount = rows;
        if (relayout)
            RelayoutFrame();
    }
    if (!GetOptions().multiLine)
    {
        CSpinButtonCtrl* pUpDown = GetUpDown();
        if (pUpDown != nullptr)
        {
            CRect rc;
            pUpDown->GetWindowRect(&rc);
            ::InflateRect(&rc, 4, 4);
            ScreenToClient(&rc);
            InvalidateRect(&rc);
        }
    }
    if (IsColumn())
        SetScrollRange(GetItemCount());
}

CSpinButtonCtrl* CTabBarCtrl::GetUpDown()
{
    HWND hUpDown = ::FindWindowExA(m_hWnd, nullptr, UPDOWN_CLASSA, nullptr);
    if (hUpDown == nullptr)
        return nullptr;
    if (m_pUpDown == nullptr || m_pUpDown->m_hWnd != hUpDown)
    {
        if (m_pUpDown != nullptr && m_pUpDown->m_hWnd != nullptr)
            m_pUpDown->Detach();
        m_pUpDown = std::make_unique<CSpinButtonCtrl>();
        m_pUpDown->Attach(hUpDown);
    }
    return m_pUpDown.get();
}

//--- Layout

LRESULT CTabBarCtrl::OnSizeParent(WPARAM, LPARAM lParam)
{
    auto* pLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    if (pLayout == nullptr || !IsWindow() || m_layoutSuspended)
        return 0;
    TabBarOptions options = GetOptions();
    if (!options.show || GetItemCount() == 0)
    {
        if (IsWindowVisible())
            ShowWindow(SW_HIDE);
        if (m_pScrollBar != nullptr && m_pScrollBar->IsWindowVisible())
            m_pScrollBar->ShowWindow(SW_HIDE);
        return 0;
    }
    if (!IsWindowVisible())
        ShowWindow(SW_SHOWNA);
    int refIndex = std::max(GetCurSel(), 0);
    CRect reference;
    GetItemRect(refIndex, &reference);
    CRect free(pLayout->rect);
    CRect client;
    GetClientRect(&client);
    if (client.IsRectEmpty())
    {
        PlaceWindow(m_hWnd, CRect(free.left, free.top, free.left + 300, free.top + 16));
        return 0;
    }
    if (IsColumn())
        LayoutColumn(free, options, reference);
    else
        LayoutRow(free, options, reference);
    pLayout->rect = free;
    return 0;
}

void CTabBarCtrl::LayoutRow(CRect& free, const TabBarOptions& options, CRect reference)
{
    if (m_position == kTop)
    {
        auto rowsHeight = [this, &free]() {
            CRect display = free;
            AdjustRect(FALSE, &display);
            return display.top - free.top;
        };
        int height = rowsHeight();
        PlaceWindow(m_hWnd, CRect(free.left, free.top, free.right, free.top + height));
        int again = rowsHeight();
        if (again != height)
        {
            height = again;
            PlaceWindow(m_hWnd, CRect(free.left, free.top, free.right, free.top + height));
        }
        free.top += height;
        return;
    }
    // Bottom: the rows follow the width, so place until the row count holds.
    int height = kMinBarHeight;
    for (int pass = 0; pass < kMaxLayoutPasses; ++pass)
    {
        int rows = GetRowCount();
        if (options.buttons)
        {
            height = std::max(rows * (reference.Height() + 1), kMinBarHeight);
            if (rows > 1)
                height += 3 * rows;
        }
        else
        {
            CRect client;
            GetClientRect(&client);
            height = std::max<int>(client.Height() - reference.top, kMinBarHeight);
        }
        PlaceWindow(m_hWnd, CRect(free.left, free.bottom - height, free.right, free.bottom));
        rows = GetRowCount();
        GetItemRect(std::max(GetCurSel(), 0), &reference);
        bool settled = rows == m_rowCount && (options.buttons || reference.top < 3);
        m_rowCount = rows;
        if (settled)
            break;
    }
    // Unsettled after the last pass: the last height is taken all the same.
    free.bottom -= height;
}

void CTabBarCtrl::LayoutColumn(CRect& free, const TabBarOptions& options, CRect reference)
{
    int width = std::max<int>(reference.Width() + 1, options.fixedWidth ? options.itemWidth : 0);
    CRect first, last;
    GetItemRect(0, &first);
    GetItemRect(GetItemCount() - 1, &last);
    bool left = m_position == kLeftColumn;
    CTabScrollBar* pScroll = m_pScrollBar.get();
    if (free.Height() >= last.bottom - first.top || pScroll == nullptr)
    {
        if (pScroll != nullptr)
        {
            pScroll->SetScrollPos(0);
            pScroll->ShowWindow(SW_HIDE);
        }
        CRect bar = left ? CRect(free.left, free.top, free.left + width, free.bottom)
                         : CRect(free.right - width, free.top, free.right, free.bottom);
        PlaceWindow(m_hWnd, bar);
        if (left)
            free.left += width;
        else
            free.right -= width;
        return;
    }
    CRect bar, scroll;
    if (left)
    {
        bar = CRect(free.left, free.top, free.left + width, free.bottom);
        scroll = CRect(bar.right, free.top, bar.right + kScrollBarWidth, free.bottom);
        free.left = scroll.right;
    }
    else
    {
        bar = CRect(free.right - width, free.top, free.right, free.bottom);
        scroll = CRect(bar.left - kScrollBarWidth, free.top, bar.left, free.bottom);
        free.right = scroll.left;
    }
    // Scrolled: the strip keeps its top (moved up by the scrolling).
    if (pScroll->GetScrollPos() != 0)
    {
        CRect now;
        GetWindowRect(&now);
        ::MapWindowPoints(nullptr, GetFrameWindow(), reinterpret_cast<LPPOINT>(&now), 2);
        bar.top = now.top;
    }
    PlaceWindow(m_hWnd, bar);
    PlaceWindow(pScroll->m_hWnd, scroll);
    pScroll->ShowWindow(SW_SHOWNA);
    const int step = GetRowStep();
    pScroll->m_lineStep = step;
    SCROLLINFO si = {};
    si.fMask = SIF_PAGE;
    si.nPage = static_cast<UINT>(ScanColumnPage(free, (reference.left + reference.right) / 2, step));
    pScroll->SetScrollInfo(&si);
}

int CTabBarCtrl::GetRowStep() const
{
    CRect first;
    if (GetItemCount() == 0 || !GetItemRect(0, &first))
        return 0;
    // Button rows keep their order, so the first item off row 0 is on row 1;
    // rows of tabs move the selected one next to the pages, so the nearest
    // other row is taken.
    const bool buttons = (GetStyle() & TCS_BUTTONS) != 0;
    int step = 0;
    for (int i = 1, n = GetItemCount(); i < n; ++i)
    {
        CRect rc;
        int apart = GetItemRect(i, &rc) ? std::abs(rc.top - first.top) : 0;
        if (apart > 0 && (step == 0 || apart < step))
        {
            step = apart;
            if (buttons)
                break;
        }
    }
    if (step == 0)
        step = first.Height() + (buttons ? kButtonRowGap : 0);
    return step;
}

// The item under a point of the frame's client area at the column's x, or -1.
int CTabBarCtrl::ItemAtFrameY(int x, int frameY) const
{
    POINT pt = {0, frameY};
    ::MapWindowPoints(GetFrameWindow(), m_hWnd, &pt, 1);
    pt.x = x;
    return HitTest(pt);
}

// The page of a scrolled column: the index of the item at the bottom of the
// visible band less that of the item at its top. The scan up from the
// bottom steps the scroll position back by one for every row step of
// pixels that it finds no item, so that a column scrolled past its end (the
// band grew) comes down until an item stands at the bottom again. The rows
// come down a step with each position, so the scan starts again at the
// bottom; it probes at most kMaxScanPixels pixels in all.
int CTabBarCtrl::ScanColumnPage(const CRect& band, int x, int step)
{
    CTabScrollBar* pScroll = m_pScrollBar.get();
    int bottomItem = -1;
    for (int probes = 0, dy = 0; probes < kMaxScanPixels && bottomItem < 0; ++probes, ++dy)
    {
        bottomItem = ItemAtFrameY(x, band.bottom - 1 - dy);
        const int pos = pScroll->GetScrollPos();
        if (bottomItem < 0 && step > 0 && (dy + 1) % step == 0 && pos > 0)
        {
            ::SendMessageA(GetFrameWindow(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, pos - 1),
                           reinterpret_cast<LPARAM>(pScroll->m_hWnd));
            if (pScroll->GetScrollPos() != pos)
                dy = -1;
        }
    }
    int topItem = -1;
    for (int dy = 0; dy < kMaxScanPixels && topItem < 0 && band.top + dy < band.bottom; ++dy)
        topItem = ItemAtFrameY(x, band.top + dy);
    return bottomItem >= 0 && topItem >= 0 ? std::max(bottomItem - topItem, 0) : 0;
}

//--- Scrolling

void CTabBarCtrl::ScrollStep(bool forward)
{
    if (!IsColumn())
    {
        CSpinButtonCtrl* pUpDown = GetUpDown();
        if (pUpDown == nullptr || !pUpDown->IsWindowVisible())
            return;
        int pos = LOWORD(pUpDown->SendMessage(UDM_GETPOS));
        if (!forward && pos == 0)
            return;
        pos += forward ? 1 : -1;
        RedrawGuard redraw(m_hWnd);
        SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, pos), reinterpret_cast<LPARAM>(pUpDown->m_hWnd));
        pUpDown->SendMessage(UDM_SETPOS, 0, MAKELPARAM(pos, 0));
        return;
    }
    if (m_pScrollBar != nullptr && m_pScrollBar->IsWindowVisible())
        ::SendMessageA(GetFrameWindow(), WM_VSCROLL, forward ? SB_LINEDOWN : SB_LINEUP,
                       reinterpret_cast<LPARAM>(m_pScrollBar->m_hWnd));
}

void CTabBarCtrl::ScrollItemIntoView(int index)
{
    CTabScrollBar* pScroll = m_pScrollBar.get();
    if (!IsColumn() || pScroll == nullptr || !pScroll->IsWindowVisible())
        return;
    int items = GetItemCount();
    for (int pass = 0; pass < kMaxScrollPasses; ++pass)
    {
        CRect band = pScroll->GetWindowRectInFrame();
        int page = static_cast<int>(pScroll->GetPageSize());
        if (page == 0 || band.Height() < 5)
            return;
        CRect item;
        if (!GetItemRect(index, &item))
            return;
        CRect bar = pScroll->GetTabBarRectInFrame();
        int top = bar.top + item.top, bottom = bar.top + item.bottom;
        WPARAM code;
        bool last = false;
        if (top < band.top)
        {
            last = index <= page;
            code = last ? SB_TOP : SB_LINEUP;
        }
        else if (bottom > band.bottom)
        {
            last = index > std::max(items - page, 0);
            code = last ? SB_BOTTOM : SB_LINEDOWN;
        }
        else
            return;
        ::SendMessageA(GetFrameWindow(), WM_VSCROLL, code, reinterpret_cast<LPARAM>(pScroll->m_hWnd));
        if (last && pass >= 1)
            return;
    }
}

void CTabBarCtrl::AutoScroll(CPoint point)
{
    if (!IsColumn())
    {
        CSpinButtonCtrl* pUpDown = GetUpDown();
        if (pUpDown == nullptr || !pUpDown->IsWindowVisible())
            return;
        CRect upDown;
        pUpDown->GetWindowRect(&upDown);
        ScreenToClient(&upDown);
        if (point.x < 0)
            ScrollStep(false);
        else if (point.x > upDown.left)
            ScrollStep(true);
        return;
    }
    if (m_pScrollBar == nullptr || !m_pScrollBar->IsWindowVisible())
        return;
    int step = m_pScrollBar->m_lineStep;
    if (std::abs(point.y - m_pressY) <= step)
        return;
    CRect band = m_pScrollBar->GetWindowRectInFrame();
    CPoint inFrame = point;
    ::MapWindowPoints(m_hWnd, GetFrameWindow(), &inFrame, 1);
    if (inFrame.y < band.top)
        ScrollStep(false);
    else if (inFrame.y > band.bottom)
        ScrollStep(true);
}

//--- Dragging

void CTabBarCtrl::BeginPress(CPoint point, int index)
{
    m_pressX = point.x;
    m_pressY = point.y;
    m_dragIndex = index;
    m_pressed = true;
}

void CTabBarCtrl::EndPress()
{
    EraseMarker();
    if (m_dragging)
        Invalidate();
    m_dragging = false;
    m_pressed = false;
    m_pressX = m_pressY = 0;
    m_dragIndex = -1;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
}

CTabBarCtrl::DropZone CTabBarCtrl::ClassifyDrop(CPoint point, int* pTarget) const
{
    int hit = HitTest(point);
    if (hit >= 0)
    {
        if (pTarget != nullptr)
            *pTarget = hit;
        return hit == m_dragIndex ? kDropNowhere : kDropOnItem;
    }
    int count = GetItemCount();
    CRect last;
    if (count == 0 || !GetItemRect(count - 1, &last))
        return kDropNowhere;
    if (!IsColumn())
    {
        if (point.y < last.top || point.y > last.bottom || point.x < last.left)
            return kDropNowhere;
        return point.x >= last.right + kBeyondX ? kDropBeyond : kDropAtEnd;
    }
    if (point.x < last.left || point.x > last.right || point.y < last.bottom)
        return kDropNowhere;
    return point.y >= last.bottom + kBeyondY ? kDropBeyond : kDropAtEnd;
}

void CTabBarCtrl::EraseMarker()
{
    if (!m_markerRect.IsRectEmpty())
        InvalidateRect(&m_markerRect);
    m_markerRect = CRect();
}

void CTabBarCtrl::ShowDragFeedback(CPoint point)
{
    int hit = HitTest(point);
    bool nearPress = std::abs(point.x - m_pressX) <= 5 && std::abs(point.y - m_pressY) <= 5;
    if (hit == m_dragIndex || (GetOptions().multiLine && nearPress))
    {
        m_dragging = false;
        return;
    }
    m_dragging = true;
    HCURSOR hCursor = ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDC_TAB_DRAG));
    if (hCursor != nullptr)
        ::SetCursor(hCursor);
    CClientDC dc(m_hWnd);
    CRect pressed;
    if (GetItemRect(m_dragIndex, &pressed))
    {
        CBrush blue(RGB(0, 0, 255));
        dc.FrameRect(&pressed, blue);
    }
    // The marker: at the item under the pointer, or right of the last item.
    CPoint at(-1, -1);
    if (hit >= 0)
    {
        CRect rc;
        GetItemRect(hit, &rc);
        at = rc.TopLeft();
    }
    else if (ClassifyDrop(point, nullptr) == kDropAtEnd)
    {
        CRect last;
        GetItemRect(GetItemCount() - 1, &last);
        if (!IsColumn())
            at = CPoint(last.right, last.top);
        else
            at = CPoint(last.left, last.bottom);
    }
    CRect marker = at.x < 0 ? CRect() : IsColumn() ? CRect(at, CSize(10, 7)) : CRect(at, CSize(7, 10));
    if (marker != m_markerRect)
        EraseMarker();
    if (!marker.IsRectEmpty())
    {
        HICON hIcon = static_cast<HICON>(::LoadImageA(AfxGetResourceHandle(),
                                                      MAKEINTRESOURCEA(IsColumn() ? IDI_TAB_DROP_COLUMN : IDI_TAB_DROP_ROW),
                                                      IMAGE_ICON, 16, 16, LR_SHARED));
        if (hIcon != nullptr)
            ::DrawIconEx(dc, at.x, at.y, hIcon, 16, 16, 0, nullptr, DI_NORMAL);
        m_markerRect = CRect(at, CSize(16, 16));
    }
    AutoScroll(point);
}

void CTabBarCtrl::OnMouseMove(UINT nFlags, CPoint point)
{
    if (m_pressed && (nFlags & MK_LBUTTON) && std::abs(point.x - m_pressX) >= 2 && std::abs(point.y - m_pressY) >= 2)
        ShowDragFeedback(point);
    Default();
}

//--- Tooltips and lifetime

BOOL CTabBarCtrl::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    auto* pHdr = reinterpret_cast<NMHDR*>(lParam);
    if (pHdr == nullptr || (pHdr->code != TTN_NEEDTEXTA && pHdr->code != TTN_NEEDTEXTW))
        return CDrawTabCtrl::OnNotify(wParam, lParam, pResult);
    CPoint cursor;
    ::GetCursorPos(&cursor);
    ScreenToClient(&cursor);
    int index = HitTest(cursor);
    if (index < 0)
        return CDrawTabCtrl::OnNotify(wParam, lParam, pResult);
    *pResult = 0;
    CString text;
    if (!BuildTooltip(index, text))
        return TRUE;
    ::SendMessageA(pHdr->hwndFrom, TTM_SETMAXTIPWIDTH, 0, kTipMaxWidth);
    if (text.GetLength() <= 2)
        return TRUE;
    m_tipText = text;
    if (pHdr->code == TTN_NEEDTEXTA)
    {
        auto* pInfo = reinterpret_cast<NMTTDISPINFOA*>(lParam);
        pInfo->lpszText = const_cast<LPSTR>(static_cast<LPCSTR>(m_tipText));
        pInfo->hinst = nullptr;
        return TRUE;
    }
    int length = ::MultiByteToWideChar(CP_ACP, 0, m_tipText, -1, nullptr, 0);
    m_tipWide.assign(static_cast<size_t>(std::max(length, 1)), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, m_tipText, -1, &m_tipWide[0], length);
    auto* pInfo = reinterpret_cast<NMTTDISPINFOW*>(lParam);
    pInfo->lpszText = &m_tipWide[0];
    pInfo->hinst = nullptr;
    return TRUE;
}

void CTabBarCtrl::OnDestroy()
{
    m_tipWide.clear();
    if (m_pUpDown != nullptr && m_pUpDown->m_hWnd != nullptr)
        m_pUpDown->Detach();
    m_pUpDown.reset();
    if (m_pScrollBar != nullptr && m_pScrollBar->IsWindow())
        m_pScrollBar->DestroyWindow();
    m_pScrollBar.reset();
    Default();
}
