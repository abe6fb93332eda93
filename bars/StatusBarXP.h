// The main frame's status bar: a standard status bar at least 20 pixels
// high with a progress control laid over its second pane while a page loads.
//
// Classes in this file:
//   CStatusBarXP   status bar with progress
#ifndef VA_BARS_STATUSBARXP_H
#define VA_BARS_STATUSBARXP_H

#include "framework/frame/StatusBar.h"
#include "framework/win/Controls.h"

//--- CStatusBarXP
class CStatusBarXP : public CStatusBar
{
public:
    static constexpr UINT kProgressId = 17234;
    static constexpr int kMinHeight = 20;

    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount) override;
    // Over pane 1 (and following it from then on), or hidden.
    int ShowProgress(bool show);
    // Both bounds are 16-bit numbers.
    void SetProgressRange(int low, int high) { m_progress.SetRange(static_cast<short>(low), static_cast<short>(high)); }
    void SetProgressPos(int pos) { m_progress.SetPos(pos); }
    CProgressCtrl& GetProgressCtrl() { return m_progress; }

protected:
    int OnCreate(LPCREATESTRUCT lpcs);
    void OnSize(UINT nType, int cx, int cy);
    void PlaceProgress(BOOL bRepaint);

    CProgressCtrl m_progress;
    int m_progressPane = -1;  // the pane covered, once shown

    DECLARE_MESSAGE_MAP()
};

#endif // VA_BARS_STATUSBARXP_H
