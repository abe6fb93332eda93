// Docking: the dock bars along a frame's sides that hold control bars in
// rows, and the small floating frame a bar stands in when it is undocked.
//
// Classes in this file:
//   CDockBar             the bars of one side (ids 59419-59422), row by row
//   CMiniDockFrameWnd    a floating tool frame holding one dock bar (59423):
//                        a drag on its caption drags its bar (docking it
//                        over a side), a double click docks it back
#ifndef VA_FRAMEWORK_FRAME_DOCKBAR_H
#define VA_FRAMEWORK_FRAME_DOCKBAR_H

#include <vector>

#include "framework/frame/ControlBar.h"
#include "framework/frame/FrameWnd.h"
#include "framework/frame/MiniFrameWnd.h"

//--- CDockBar
class CDockBar : public CControlBar
{
    DECLARE_DYNAMIC(CDockBar)

public:
    // A dock bar of a side (its id says which) or of a floating frame.
    BOOL Create(CWnd* pParent, UINT nID);
    // The bar joins a row: row -1 starts a new last row.
    void DockBar(CControlBar* pBar, int row = -1);
    void RemoveBar(CControlBar* pBar);
    bool HasBar(const CControlBar* pBar) const;
    // The row of a bar and its place in it, or -1.
    int GetRowOf(const CControlBar* pBar, int* pIndex = nullptr) const;
    int GetRowCount() const { return static_cast<int>(m_rows.size()); }
    // The visible bars of a row, in their order along the dock bar.
    std::vector<CControlBar*> GetVisibleRowBars(int row) const;
    // The number of bars in a row; 0 for a row that does not exist.
    int GetRowLength(int row) const
    {
        return row >= 0 && row < GetRowCount() ? static_cast<int>(m_rows[static_cast<size_t>(row)].size()) : 0;
    }
    bool IsFloating() const { return GetDlgCtrlID() == AFX_IDW_DOCKBAR_FLOAT; }
    bool IsHorizontal() const;

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    // Places the rows inside the dock bar's client area.
    void LayoutRows();

    bool m_deleteWithWindow = false;  // made with new by the frame

protected:
    void PostNcDestroy() override;
    void OnSize(UINT nType, int cx, int cy);
    // The visible bars of a row, with their sizes along the dock bar.
    CSize BarSize(CControlBar* pBar) const;
    // The bar object of a row's window when it is visible, else null.
    static CControlBar* VisibleBar(HWND hBar);

    std::vector<std::vector<HWND>> m_rows;  // windows: bars can go away

    DECLARE_MESSAGE_MAP()
};

//--- CMiniDockFrameWnd
class CMiniDockFrameWnd : public CMiniFrameWnd
{
    DECLARE_DYNCREATE(CMiniDockFrameWnd)

public:
    static constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
    // A tool frame owned by pFrame at a screen point, sized to the bar.
    BOOL Create(CFrameWnd* pFrame, CPoint at);
    CDockBar& GetDockBar() { return m_dockBar; }
    // Fits the frame around its dock bar's bars and takes the first one's
    // text as its caption; hides it when empty.
    void FitToBars();

protected:
    void OnClose();
    LRESULT OnNcLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcLButtonDblClk(WPARAM wParam, LPARAM lParam);
    // The bar the caption stands for: the first shown one.
    CControlBar* CaptionBar() const;

    CDockBar m_dockBar;

    DECLARE_MESSAGE_MAP()
};

#endif // VA_FRAMEWORK_FRAME_DOCKBAR_H
