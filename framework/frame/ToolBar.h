// CToolBar: a control bar over the system toolbar control, with the
// control's messages (CToolBarCtrlT), buttons set from command ids and their
// state updated at idle time through the frame's command routing.
#ifndef VA_FRAMEWORK_FRAME_TOOLBAR_H
#define VA_FRAMEWORK_FRAME_TOOLBAR_H

#include "framework/frame/ControlBar.h"
#include "framework/win/ToolBarCtrl.h"

class CToolBar : public CToolBarCtrlT<CControlBar>
{
    DECLARE_DYNAMIC(CToolBar)

public:
    CToolBar() = default;

    // dwCtrlStyle: TBSTYLE_ bits; the control never places itself (the
    // frame's layout or a rebar does).
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP,
                UINT nID = AFX_IDW_TOOLBAR);
    BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = TBSTYLE_FLAT,
                  DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT nID = AFX_IDW_TOOLBAR);

    // One button per id, images in order; ID_SEPARATOR (0) makes a separator.
    BOOL SetButtons(const UINT* lpIDArray, int nIDCount);
    // The control itself, for code written against the plain control.
    CToolBarCtrlT<CControlBar>& GetToolBarCtrl() { return *this; }

    // The buttons' extent: width (horizontal) or height the buttons take in
    // a row or column, the other side their largest extent; a stretched bar
    // spans its side.
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHandler) override;

protected:
    // The union of the visible buttons' rectangles, from the origin.
    CSize GetButtonsExtent() const;

    DECLARE_MESSAGE_MAP()
};

#endif // VA_FRAMEWORK_FRAME_TOOLBAR_H
