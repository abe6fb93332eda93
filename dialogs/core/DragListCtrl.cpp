#include "dialogs/core/DragListCtrl.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CDragListCtrl, CListCtrl)
    ON_NOTIFY_REFLECT(LVN_BEGINDRAG, OnBeginDrag)
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_TIMER()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CDragListCtrl::~CDragListCtrl()
{
    if (m_pDragImage != nullptr)
        CImageList::EndDrag();
}

void CDragListCtrl::OnBeginDrag(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    if (!m_bDragEnabled)
        return;
    OnBeginDragHook();
    m_nHighlighted = -1;
    m_draggedRows.clear();
    for (int nRow = GetNextItem(-1, LVNI_SELECTED); nRow >= 0; nRow = GetNextItem(nRow, LVNI_SELECTED))
        m_draggedRows.push_back(nRow);

    // A single-selection list shows the drop row by selecting it.
    const DWORD dwStyle = GetStyle();
    if (dwStyle & LVS_SINGLESEL) {
        m_dwSavedStyle = dwStyle;
        ModifyStyle(LVS_SINGLESEL, 0);
    }
    if (m_draggedRows.empty())
        return;

    POINT ptHotSpot = {};
    m_pDragImage = CreateDragImage(ptHotSpot);
    if (m_pDragImage == nullptr)
        return;
    const NMLISTVIEW* pView = reinterpret_cast<const NMLISTVIEW*>(pNMHDR);
    m_pDragImage->BeginDrag(0, ptHotSpot);
    POINT pt = pView->ptAction;
    ClientToScreen(&pt);
    CImageList::DragEnter(nullptr, pt);
    ::SetCapture(m_hWnd);
}

std::unique_ptr<CImageList> CDragListCtrl::CreateDragImage(POINT& ptHotSpot)
{
    RECT rcBounds = {};
    for (int nRow = GetNextItem(-1, LVNI_SELECTED); nRow >= 0; nRow = GetNextItem(nRow, LVNI_SELECTED)) {
        RECT rc;
        if (GetItemRect(nRow, &rc, LVIR_BOUNDS))
            ::UnionRect(&rcBounds, &rcBounds, &rc);
    }
    const int cx = rcBounds.right - rcBounds.left;
    const int cy = rcBounds.bottom - rcBounds.top;
    if (cx <= 0 || cy <= 0)
        return nullptr;

    HDC hdcScreen = ::GetDC(m_hWnd);
    HDC hdcMem = ::CreateCompatibleDC(hdcScreen);
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hdcScreen, cx, cy);
    ::ReleaseDC(m_hWnd, hdcScreen);
    if (hdcMem == nullptr || hBitmap == nullptr) {
        if (hdcMem != nullptr)
            ::DeleteDC(hdcMem);
        if (hBitmap != nullptr)
            ::DeleteObject(hBitmap);
        return nullptr;
    }
    // Pure green is the mask colour.
    const COLORREF kMask = RGB(0, 255, 0);
    HGDIOBJ hOld = ::SelectObject(hdcMem, hBitmap);
    RECT rcAll = { 0, 0, cx, cy };
    HBRUSH hbrMask = ::CreateSolidBrush(kMask);
    ::FillRect(hdcMem, &rcAll, hbrMask);
    ::DeleteObject(hbrMask);
    for (int nRow = GetNextItem(-1, LVNI_SELECTED); nRow >= 0; nRow = GetNextItem(nRow, LVNI_SELECTED)) {
        POINT ptRow = {};
        HIMAGELIST hRowImage = CListCtrl::CreateDragImage(nRow, &ptRow);
        if (hRowImage == nullptr)
            continue;
        RECT rc;
        GetItemRect(nRow, &rc, LVIR_BOUNDS);
        int w = 0, h = 0;
        ImageList_GetIconSize(hRowImage, &w, &h);
        ImageList_DrawEx(hRowImage, 0, hdcMem, rc.left - rcBounds.left, rc.top - rcBounds.top, w,
                         rc.bottom - rc.top, CLR_NONE, CLR_NONE, ILD_NORMAL);
        ImageList_Destroy(hRowImage);
    }
    ::SelectObject(hdcMem, hOld);
    ::DeleteDC(hdcMem);

    std::unique_ptr<CImageList> pImage(new CImageList);
    if (!pImage->Create(cx, cy, ILC_COLOR24 | ILC_MASK, 0, 1) || pImage->Add(hBitmap, kMask) < 0) {
        ::DeleteObject(hBitmap);
        return nullptr;
    }
    ::DeleteObject(hBitmap);
    POINT ptCursor;
    ::GetCursorPos(&ptCursor);
    ScreenToClient(&ptCursor);
    ptHotSpot.x = ptCursor.x - rcBounds.left;
    ptHotSpot.y = ptCursor.y - rcBounds.top;
    return pImage;
}

void CDragListCtrl::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!IsDragging()) {
        StopScroll();
        CListCtrl::OnMouseMove(nFlags, point);
        return;
    }
    POINT ptScreen = point;
    ClientToScreen(&ptScreen);
    CImageList::DragMove(ptScreen);
    CImageList::DragShowNolock(FALSE);

    // The row at the cursor's height, 8 pixels into the list.
    RECT rcWindow;
    GetWindowRect(&rcWindow);
    POINT ptProbe = { rcWindow.left + 8, ptScreen.y };
    if (::WindowFromPoint(ptProbe) == m_hWnd) {
        POINT ptHit = { 8, point.y };
        SetDropHighlight(HitTest(ptHit));
    }

    RECT rcClient;
    GetClientRect(&rcClient);
    int nTop = rcClient.top;
    if (HWND hHeader = GetHeaderCtrl()) {
        RECT rcHeader;
        if (::IsWindowVisible(hHeader) && ::GetWindowRect(hHeader, &rcHeader))
            nTop += rcHeader.bottom - rcHeader.top;
    }
    if (point.y < nTop)
        StartScroll(kScrollUp);
    else if (point.y > rcClient.bottom)
        StartScroll(kScrollDown);
    else
        StopScroll();
    CImageList::DragShowNolock(TRUE);
}

void CDragListCtrl::SetDropHighlight(int nRow)
{
    if (nRow < 0 || nRow >= GetItemCount())
        return;
    RestoreDropHighlight();
    m_nHighlighted = nRow;
    m_nHighlightedState = GetItemState(nRow, LVIS_SELECTED);
    SetItemState(nRow, LVIS_SELECTED, LVIS_SELECTED);
    m_nDropRow = nRow;
    UpdateWindow();
}

void CDragListCtrl::RestoreDropHighlight()
{
    if (m_nHighlighted >= 0 && m_nHighlighted < GetItemCount())
        SetItemState(m_nHighlighted, m_nHighlightedState, LVIS_SELECTED);
}

void CDragListCtrl::StartScroll(int nDirection)
{
    if (m_nScrollTimer == 0)
        m_nScrollTimer = SetTimer(kScrollTimerId, 100);
    m_nScrollDirection = nDirection;
}

void CDragListCtrl::StopScroll()
{
    if (m_nScrollTimer != 0) {
        KillTimer(m_nScrollTimer);
        m_nScrollTimer = 0;
    }
    m_nScrollDirection = kScrollNone;
}

void CDragListCtrl::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kScrollTimerId || m_nScrollTimer == 0) {
        CListCtrl::OnTimer(nIDEvent);
        return;
    }
    if (!IsDragging())
        return;
    CImageList::DragShowNolock(FALSE);
    if (m_nScrollDirection == kScrollUp) {
        SendMessage(WM_VSCROLL, SB_LINEUP);
        SetDropHighlight(m_nDropRow - 1);
    } else if (m_nScrollDirection == kScrollDown) {
        SendMessage(WM_VSCROLL, SB_LINEDOWN);
        SetDropHighlight(m_nDropRow + 1);
    }
    CImageList::DragShowNolock(TRUE);
}

void CDragListCtrl::EndDrag()
{
    StopScroll();
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    CImageList::DragLeave(nullptr);
    CImageList::EndDrag();
    m_pDragImage.reset();
}

void CDragListCtrl::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (!IsDragging()) {
        CListCtrl::OnLButtonUp(nFlags, point);
        return;
    }
    EndDrag();
    MoveSelectedItems();
}

void CDragListCtrl::OnDestroy()
{
    if (IsDragging())
        EndDrag();
    StopScroll();
    CListCtrl::OnDestroy();
}

void CDragListCtrl::MoveSelectedItems()
{
    if (!m_bDragEnabled)
        return;
    RestoreDropHighlight();
    m_nHighlighted = -1;
    int nCount = GetItemCount();
    int t = m_nDropRow + 1;
    if (t < 0 || t > nCount - 1)
        t = nCount;
    const int nColumns = GetHeaderCtrl() != nullptr ? std::max(1, GetColumnCount()) : 1;

    const UINT kStateMask = LVIS_FOCUSED | LVIS_SELECTED | LVIS_DROPHILITED | LVIS_STATEIMAGEMASK;
    for (size_t i = 0; i < m_draggedRows.size(); ++i) {
        int r = m_draggedRows[i];
        if (r < 0 || r >= GetItemCount())
            continue;
        // The row, its first cell whole.
        const CString text = GetItemText(r, 0);
        LVITEMA item = {};
        item.mask = LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
        item.iItem = r;
        item.stateMask = kStateMask;
        GetItem(&item);
        const BOOL bChecked = GetCheck(r);
        SetItemState(r, 0, LVIS_SELECTED);

        item.mask |= LVIF_TEXT;
        item.iItem = t;
        item.pszText = const_cast<LPSTR>(static_cast<LPCSTR>(text));
        const int nNew = InsertItem(&item);
        if (nNew < 0)
            continue;
        if (bChecked)
            SetCheck(nNew, TRUE);
        if (t < r)
            ++r;
        for (int c = 1; c < nColumns; ++c)
            SetItemText(nNew, c, GetItemText(r, c));
        DeleteItem(r);

        for (size_t j = i + 1; j < m_draggedRows.size(); ++j) {
            int& e = m_draggedRows[j];
            if (r < e && e < t)
                e = std::max(e - 1, 0);
            else if (t < e && e < r)
                e = e + 1;
        }
        if (t < r)
            ++t;
    }

    if (m_dwSavedStyle != 0) {
        ModifyStyle(0, LVS_SINGLESEL);
        m_dwSavedStyle = 0;
    }
}

int CDragListCtrl::MoveRow(int nFrom, int nTo)
{
    const int nCount = GetItemCount();
    if (nFrom < 0 || nFrom >= nCount || nTo < 0 || nTo >= nCount)
        return -1;
    if (nFrom == nTo)
        return nTo;
    const int nColumns = GetHeaderCtrl() != nullptr ? std::max(1, GetColumnCount()) : 1;
    std::vector<CString> texts;
    for (int c = 0; c < nColumns; ++c)
        texts.push_back(GetItemText(nFrom, c));
    LVITEMA item = {};
    item.mask = LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
    item.iItem = nFrom;
    item.stateMask = static_cast<UINT>(-1);
    GetItem(&item);
    DeleteItem(nFrom);

    item.mask |= LVIF_TEXT;
    item.iItem = nTo;
    item.pszText = const_cast<LPSTR>(static_cast<LPCSTR>(texts[0]));
    const int nNew = InsertItem(&item);
    if (nNew < 0)
        return -1;
    // The state image (the check) is not taken by an insert.
    SetItemState(nNew, item.state, item.stateMask);
    for (int c = 1; c < nColumns; ++c)
        SetItemText(nNew, c, texts[static_cast<size_t>(c)]);
    return nNew;
}
