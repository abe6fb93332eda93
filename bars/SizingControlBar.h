// Resizable docking bars for side panes: a control bar that docks on any
// side or floats, with sizing edges towards its row neighbours; a variant
// with a gripper and small caption buttons; and one that repaints its
// caption when its text changes.
//
// Classes in this file:
//   CSizingControlBar     sizing edges and size tracking
//   CSizingControlBarG    the gripper with close, command and four dock buttons
//   CSizingControlBarCF   repaints its caption on a new text
//   CFavoritesTreePane    the tree dialog a favorites bar hosts in mode 1
//   CFavoritesBar         the favorites pane: the page or tree dialog by iDocFavMode
//   CDockBarB             a pane hosting the dialog of resource 300
#ifndef VA_BARS_SIZINGCONTROLBAR_H
#define VA_BARS_SIZINGCONTROLBAR_H

#include <functional>
#include <memory>
#include <vector>

#include "framework/dialog/Dialog.h"
#include "framework/frame/ControlBar.h"

class CDC;
class CDlgFavHtml;
class CDockBar;

//--- CSizingControlBar
class CSizingControlBar : public CControlBar
{
public:
    // Edge mask bits: the edges that can be dragged.
    enum Edge : DWORD { kEdgeLeft = 1, kEdgeRight = 2, kEdgeTop = 4, kEdgeBottom = 8 };
    // Style bits kept with the edge mask.
    enum SizingStyle : DWORD { kDraw3dEdges = 0x10, kFitFirstChild = 0x20 };
    static constexpr int kEdgeWidth = 4;

    // A bar of the default class, with its docked sizes across the sides.
    BOOL Create(LPCSTR title, CWnd* pParent, CSize size, UINT nID, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP);

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;

    // The dock bar it sits in (59419-59422), else 0 (floating or none).
    UINT GetDockBarId() const;
    DWORD GetEdgeMask() const { return m_edges & 0x0F; }
    void SetSizingStyle(DWORD bits) { m_edges = (m_edges & 0x0F) | bits; }
    bool IsTracking() const { return m_tracking; }

    virtual void StartTracking(UINT nHitTest, CPoint point);
    virtual void StopTracking();
    virtual void OnTrackUpdateSize(CPoint point);
    virtual void NcPaintGripper(HDC hdc, const RECT& client);
    virtual void NcCalcClient(LPRECT pRect, UINT nDockBarID);

protected:
    // Edges towards the bars before and after it in its dock row.
    void UpdateEdgeMask();
    // The dock bar it is docked in, else null (floating or none).
    CDockBar* GetDockBar() const;
    // The visible bars of its dock row, itself among them; empty when not docked.
    std::vector<CControlBar*> GetRowBars() const;
    bool IsLastInRow() const;
    // Its length along the dock bar: its own, or, as the last bar of its
    // row, what the bars before it leave of the dock bar's length.
    LONG LengthInRow(bool horizontal, LONG own) const;
    // Moves the edge between two neighbours of a row by delta pixels.
    static void MoveRowEdge(CSizingControlBar& before, CSizingControlBar& after, int delta, bool horizontal);
    LONG& StoredLength(bool horizontal) { return horizontal ? m_horz.cx : m_vert.cy; }
    // It sits in a dock bar of its frame's, docked or floating.
    bool InDockBar() const;

    int OnCreate(LPCREATESTRUCT lpcs);
    void OnSize(UINT nType, int cx, int cy);
    void OnClose() {}
    void OnDestroy();
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnRButtonDown(UINT nFlags, CPoint point);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcHitTest(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnCaptureChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnSettingChange(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetText(WPARAM wParam, LPARAM lParam);

    DWORD m_edges = 0;             // edge mask and sizing style bits
    bool m_tracking = false;
    BOOL m_dragFullWindows = TRUE;
    CRect m_floatRect;             // where it floated last
    CSize m_horz, m_vert;          // docked sizes: top/bottom, left/right
    UINT m_trackHit = 0;
    CPoint m_trackPoint;

    DECLARE_MESSAGE_MAP()
};

//--- CSizingControlBarG
class CSizingControlBarG : public CSizingControlBar
{
public:
    static constexpr int kButton = 11;
    static constexpr int kGripper = 14;  // the caption strip's thickness
    // Hit codes of the caption buttons.
    enum ButtonHit : UINT
    {
        kHitDockLeft = 5,
        kHitDockRight = 6,
        kHitDockTop = 7,
        kHitDockBottom = 8,
        kHitCommand = 19,
        kHitClose = HTCLOSE,
    };
    // The caption buttons, in hit-test order.
    enum Button { kClose, kCommand, kDockLeft, kDockRight, kDockTop, kDockBottom, kButtonCount };

    UINT m_closeCommand = 0;
    UINT m_secondCommand = 0;  // 0: the bar has no second button

    void NcCalcClient(LPRECT pRect, UINT nDockBarID) override;
    void NcPaintGripper(HDC hdc, const RECT& client) override;
    // A caption button's rectangle in window coordinates; empty for the
    // second button of a bar without a second command.
    CRect GetButtonRect(Button button) const;
    // The caption button under a window point, or 0.
    UINT HitButton(CPoint windowPoint) const;

protected:
    LRESULT OnNcHitTest(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcLButtonUp(WPARAM wParam, LPARAM lParam);
    // The caption text along a top strip; grip lines along a side strip.
    void DrawCaption(CDC& dc, const CRect& strip, bool side) const;

    // The caption strip in window coordinates: along the top of the bar,
    // or down its left side in a top or bottom dock.
    CRect GetStripRect() const;
    bool IsSideStrip() const;
    // GetButtonRect for a strip already worked out.
    CRect ButtonIn(Button button, const CRect& strip, bool side) const;

    // The caption buttons' commands go on to the frame the bar docks in.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    DECLARE_MESSAGE_MAP()
};

//--- CSizingControlBarCF
class CSizingControlBarCF : public CSizingControlBarG
{
protected:
    LRESULT OnSetText(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};

//--- CFavoritesTreePane
// The tree of favorites is the program's: the bar only makes the pane (by
// the maker it is given), places it and has it filled when it shows.
class CFavoritesTreePane : public CDialog
{
public:
    using CDialog::CDialog;

    // Fills the tree once; later calls do nothing.
    virtual void Fill() = 0;
};

//--- CFavoritesBar
class CFavoritesBar : public CSizingControlBarG
{
public:
    static constexpr UINT kPageDialogId = 145;  // iDocFavMode 0
    static constexpr UINT kTreeDialogId = 271;  // iDocFavMode 1

    // Makes the tree pane (not yet created) for the bar; set before Create.
    using TreePaneMaker = std::function<std::unique_ptr<CFavoritesTreePane>(CWnd* pBar)>;

    CFavoritesBar();
    ~CFavoritesBar() override;

    // The tree pane it hosts in mode 1, else null.
    CFavoritesTreePane* GetTreePane() const { return m_pTreePane.get(); }
    // The page pane it hosts in mode 0, else null.
    CDlgFavHtml* GetPagePane() const { return m_pPagePane.get(); }

    TreePaneMaker m_makeTreePane;  // without one, mode 1 leaves the pane empty

protected:
    int OnCreate(LPCREATESTRUCT lpcs);
    // The tree pane fills itself the first time the bar shows.
    void OnShowWindow(BOOL bShow, UINT nStatus);
    LRESULT OnWindowPosChanged(WPARAM wParam, LPARAM lParam);

    std::unique_ptr<CFavoritesTreePane> m_pTreePane;
    std::unique_ptr<CDlgFavHtml> m_pPagePane;

    DECLARE_MESSAGE_MAP()
};

//--- CDockBarB
class CDockBarB : public CSizingControlBarG
{
public:
    static constexpr UINT kDialogId = 300;

protected:
    int OnCreate(LPCREATESTRUCT lpcs);

    DECLARE_MESSAGE_MAP()
};

#endif // VA_BARS_SIZINGCONTROLBAR_H
