// What the page and group tab bars share: creation by position, the layout
// pass of the frame, the drop marker and drag zones, scrolling of a row or
// a column, tooltips and the item bookkeeping after inserts and deletes.
//
// Classes in this file:
//   TabBarOptions   one bar's settings, read at each use
//   CTabBarCtrl     a drawn tab strip standing at one side of the pages
#ifndef VA_BARS_TABBARCTRL_H
#define VA_BARS_TABBARCTRL_H

#include <memory>
#include <string>

#include "bars/BaseTabCtrl.h"
#include "bars/TabScrollBar.h"
#include "framework/win/ImageList.h"
#include "framework/win/SpinButtonCtrl.h"

class IBarHost;

//--- TabBarOptions
struct TabBarOptions
{
    bool show = true;        // the bar is on
    bool oldStyle = false;   // system-drawn; "&" doubled in captions
    bool buttons = false;    // button look
    bool multiLine = false;  // several rows
    bool fixedWidth = false;
    int itemWidth = 0;       // with fixedWidth
    int maxText = 50;        // caption bytes
    int position = 1;        // CBaseTabCtrl::Position
};

//--- CTabBarCtrl
class CTabBarCtrl : public CDrawTabCtrl
{
public:
    // Where a drop away from the pressed item lands (top and bottom bars:
    // 30 pixels right of the last item; columns: 8 pixels below it).
    enum DropZone { kDropNowhere, kDropOnItem, kDropAtEnd, kDropBeyond };
    static constexpr int kBeyondX = 30;
    static constexpr int kBeyondY = 8;

    ~CTabBarCtrl() override;

    virtual TabBarOptions GetOptions() const = 0;

    LPARAM GetItemParam(int index) const { return GetItemData(index); }
    int FindItemParam(LPARAM param) const;
    // The caption as the bar shows it: cut with "…", "&" doubled when the
    // system draws it.
    CString MakeItemText(const CString& caption) const;
    // Where a drop at a client point lands; *pTarget gets the item for
    // kDropOnItem.
    DropZone ClassifyDrop(CPoint point, int* pTarget) const;
    // One position on: the up-down of a single row, or the column's scroll bar.
    virtual void ScrollStep(bool forward);
    // Column positions: scroll bar steps until the item is in view.
    void ScrollItemIntoView(int index);
    CTabScrollBar* GetScrollBar() const { return m_pScrollBar.get(); }
    // Pixels from the top of one row to the top of the next, as the control
    // lays them out (button rows stand a gap apart); 0 without items.
    int GetRowStep() const;
    int GetRowCountSeen() const { return m_rowCount; }

    bool m_layoutSuspended = false;  // full screen: the bar takes no space
    IBarHost* m_pHost = nullptr;     // the frame's groups and tabs; set by the frame

protected:
    // The window of a bar at a position (CBaseTabCtrl::Position), its
    // look from the options, the image list from Res\imageFile when
    // flags has 0x2, and a scroll bar for the columns.
    BOOL CreateStrip(CWnd* pParent, int flags, int position, UINT nID, COLORREF backColor,
                     DWORD drawStyle, LPCSTR imageFile, int imageCount);
    // After an insert or delete: relayout on a changed row count (or a
    // first item), the up-down area, the scroll range.
    void AfterItemsChanged(bool firstItem, bool relayout);
    void SetScrollRange(int items);
    void RelayoutFrame();
    // The frame window above the bar, by its window.
    HWND GetFrameWindow() const { return ::GetParent(m_hWnd); }

    // Press and drag state.
    void BeginPress(CPoint point, int index);
    void EndPress();
    // The drag cursor, the frame round the pressed item and the marker.
    void ShowDragFeedback(CPoint point);
    void EraseMarker();

    // The tooltip text of an item; false for none.
    virtual bool BuildTooltip(int index, CString& text) = 0;

    LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    void OnMouseMove(UINT nFlags, CPoint point);
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void OnDestroy();

    std::unique_ptr<CTabScrollBar> m_pScrollBar;
    std::unique_ptr<CSpinButtonCtrl> m_pUpDown;
    CImageList m_images;
    int m_pressX = 0, m_pressY = 0;
    bool m_pressed = false;       // the left button went down on an item
    CRect m_markerRect;
    int m_dragIndex = -1;
    COLORREF m_faceColor = ::GetSysColor(COLOR_BTNFACE);
    int m_rowCount = 1;
    std::wstring m_tipWide;
    CString m_tipText;
    bool m_dragging = false;

private:
    CSpinButtonCtrl* GetUpDown();
    void LayoutRow(CRect& free, const TabBarOptions& options, CRect reference);
    void LayoutColumn(CRect& free, const TabBarOptions& options, CRect reference);
    int ItemAtFrameY(int x, int frameY) const;
    int ScanColumnPage(const CRect& band, int x, int step);
    void AutoScroll(CPoint point);

    DECLARE_MESSAGE_MAP()
};

#endif // VA_BARS_TABBARCTRL_H
