// CDragListCtrl: a list view whose selected rows can be dragged to a new
// place in the same list (the order of a list page's rows is the order of
// its file).
//
// The drag shows an image of the selected rows; the row under the pointer
// is highlighted as the drop row (by selecting it); near the top (below the
// header) or the bottom the list scrolls every 100 ms. On release the
// dragged rows keep their order and land together after the drop row.
#ifndef VA_DIALOGS_CORE_DRAGLISTCTRL_H
#define VA_DIALOGS_CORE_DRAGLISTCTRL_H

#include <memory>
#include <vector>

#include "framework/win/ImageList.h"
#include "framework/win/ListCtrl.h"

class CDragListCtrl : public CListCtrl
{
public:
    CDragListCtrl() = default;
    ~CDragListCtrl() override;

    // Moves the dragged rows after the drop row (the end when it is the
    // last row or none).
    virtual void MoveSelectedItems();
    // Moves one row with every cell, its image, data, state and check so
    // that it stands at index nTo; its new index, -1 for an index out of
    // range.
    int MoveRow(int nFrom, int nTo);
    // Called first when a drag begins, for derived lists.
    virtual void OnBeginDragHook() {}

    // The drag's rows, ascending, and where they go.
    std::vector<int> m_draggedRows;
    int m_nDropRow = -1;
    BOOL m_bDragEnabled = TRUE;
    bool IsDragging() const { return m_pDragImage != nullptr; }

    // Highlights a row as the drop target (ignored outside the rows); it
    // becomes the drop row.
    void SetDropHighlight(int nRow);
    void RestoreDropHighlight();

protected:
    DECLARE_MESSAGE_MAP()
    void OnBeginDrag(NMHDR* pNMHDR, LRESULT* pResult);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnTimer(UINT_PTR nIDEvent);
    void OnDestroy();

private:
    enum { kScrollNone, kScrollUp, kScrollDown };
    static const UINT_PTR kScrollTimerId = 1;

    // The image of all selected rows; the hot spot is the cursor's offset
    // into it. Null when it cannot be drawn.
    std::unique_ptr<CImageList> CreateDragImage(POINT& ptHotSpot);
    void StartScroll(int nDirection);
    void StopScroll();
    void EndDrag();

    std::unique_ptr<CImageList> m_pDragImage;
    int m_nHighlighted = -1;
    UINT m_nHighlightedState = 0;
    DWORD m_dwSavedStyle = 0;
    int m_nScrollDirection = kScrollNone;
    UINT_PTR m_nScrollTimer = 0;
};

#endif // VA_DIALOGS_CORE_DRAGLISTCTRL_H
