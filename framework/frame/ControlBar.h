// CControlBar: a window along one side of a frame, laid out by the frame's
// RecalcLayout (WM_SIZEPARENT) and updated at idle time.
//
// The bar style (CBRS_ bits) comes in the low word of the create style and
// is kept by the bar; the window gets the rest of the style plus the
// control's own style bits (dwCtrlStyle), since the low word means something
// else to each control class.
#ifndef VA_FRAMEWORK_FRAME_CONTROLBAR_H
#define VA_FRAMEWORK_FRAME_CONTROLBAR_H

#include "framework/win/Wnd.h"

class CFrameWnd;

// Moves hWnd to rect within a layout pass (deferred while the pass's
// batch lasts, at once otherwise).
void AfxRepositionWindow(AFX_SIZEPARENTPARAMS* pLayout, HWND hWnd, LPCRECT lpRect);

class CControlBar : public CWnd
{
    DECLARE_DYNAMIC(CControlBar)

public:
    CControlBar() = default;

    // A plain bar of the framework's default class, nSize pixels high (top or
    // bottom) or wide (left or right).
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID, int nSize);

    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD dwStyle) { m_dwStyle = dwStyle & CBRS_ALL; }
    void EnableDocking(DWORD dwDockStyle) { m_dwDockStyle = dwDockStyle & CBRS_ALIGN_ANY; }
    DWORD GetDockingStyle() const { return m_dwDockStyle; }
    // The frame it docks in: its parent frame when it was made.
    CFrameWnd* GetDockSite() const { return m_pDockSite; }
    // The dock bar it sat in last (to go back to when it floats).
    UINT m_nLastDockID = 0;
    BOOL IsVisible() const { return m_hWnd != nullptr && (GetStyle() & WS_VISIBLE) != 0; }

    // The bar's size for the layout: bHorz for a top or bottom bar; a
    // stretched bar spans the frame. The plain bar keeps its window's size.
    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    // The size for a length (-1: the bar's own) under LM_ flags; asked
    // instead of CalcFixedLayout for bars with CBRS_SIZE_DYNAMIC.
    virtual CSize CalcDynamicLayout(int nLength, DWORD dwMode);
    // Idle-time update of the bar's items through pTarget's routing.
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHandler);

protected:
    // Creates the window of class lpszClassName with the bar style split off
    // and registers the bar with its frame parent.
    BOOL CreateBar(DWORD dwExStyle, LPCSTR lpszClassName, CWnd* pParentWnd, DWORD dwStyle,
                   UINT nID, DWORD dwCtrlStyle, const RECT& rect);

    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    // Takes the bar's side of the free rectangle of a layout pass.
    LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    void OnDestroy();

    DWORD m_dwStyle = 0;      // CBRS_ bits
    DWORD m_dwDockStyle = 0;
    CFrameWnd* m_pDockSite = nullptr;

    DECLARE_MESSAGE_MAP()
};

#endif // VA_FRAMEWORK_FRAME_CONTROLBAR_H
