// CStatusBar: the system status bar as a control bar with panes.
//
// Panes are set up from an array of ids (SetIndicators); a pane's width is
// its text width, except a pane with SBPS_STRETCH (pane 0 when its id is
// ID_SEPARATOR), which takes what the others leave. The bar's height is its
// font's, at least the minimum height set with SB_SETMINHEIGHT. At idle time
// the panes with an id are updated through the frame's routing
// (ON_UPDATE_COMMAND_UI with the pane id), never disabled for want of one.
#ifndef VA_FRAMEWORK_FRAME_STATUSBAR_H
#define VA_FRAMEWORK_FRAME_STATUSBAR_H

#include <vector>

#include "framework/frame/ControlBar.h"

class CStatusBar : public CControlBar
{
    DECLARE_DYNAMIC(CStatusBar)

public:
    CStatusBar() = default;

    static LPCSTR GetWndClassName() { return STATUSCLASSNAMEA; }

    // dwStyle: window style plus CBRS_ bits (e.g. 0x50008200, visible at the
    // bottom); dwCtrlStyle: SBARS_ bits. A size grip is added when the parent
    // frame can be resized.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                UINT nID = AFX_IDW_STATUS_BAR);
    BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                  UINT nID = AFX_IDW_STATUS_BAR);

    // Pane text starts as the string resource of each id (empty when none).
    virtual BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);
    int GetCount() const { return static_cast<int>(m_panes.size()); }
    UINT GetItemID(int nIndex) const;
    int CommandToIndex(UINT nIDFind) const;  // -1 when absent
    void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
    void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
    UINT GetPaneStyle(int nIndex) const;
    void SetPaneStyle(int nIndex, UINT nStyle);
    BOOL SetPaneText(int nIndex, LPCSTR lpszNewText, BOOL bUpdate = TRUE);
    CString GetPaneText(int nIndex) const;
    // The pane's rectangle in the bar's client coordinates.
    void GetItemRect(int nIndex, LPRECT lpRect) const;

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHandler) override;

protected:
    // Tells the control the right edges of the panes for the current width.
    void UpdateParts();
    int TextWidth(LPCSTR lpszText) const;

    void OnSize(UINT nType, int cx, int cy);
    LRESULT OnSetMinHeight(WPARAM wParam, LPARAM lParam);

    struct Pane
    {
        UINT nID;
        UINT nStyle;
        int cxWidth;
    };
    std::vector<Pane> m_panes;
    int m_nMinHeight = 0;

    DECLARE_MESSAGE_MAP()
};

#endif // VA_FRAMEWORK_FRAME_STATUSBAR_H
