// CFrameWnd: a frame window with a menu, accelerators, control bars around a
// client (the view, or the MDI client) and command routing to its view.
//
// Frames are made with new and delete themselves when their window is gone
// (PostNcDestroy). A failed LoadFrame or Create has already deleted the
// object.
//
// Command routing of a frame: its active view, then the frame's own map,
// then the application (CMDIFrameWnd asks the active MDI child first, and an
// MDI child does not go on to the application itself: its MDI frame does).
#ifndef VA_FRAMEWORK_FRAME_FRAMEWND_H
#define VA_FRAMEWORK_FRAME_FRAMEWND_H

#include <vector>

#include "framework/core/CString.h"
#include "framework/win/Wnd.h"

class CControlBar;
class CView;

class CFrameWnd : public CWnd
{
    DECLARE_DYNAMIC(CFrameWnd)

public:
    CFrameWnd() = default;
    ~CFrameWnd() override;

    static const CRect rectDefault;  // CW_USEDEFAULT position and size

    // Creates the frame from one resource id: menu, icon, accelerator table
    // and title (the string's text up to the first '\n'). A class is
    // registered with that icon unless PreCreateWindow names one.
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = nullptr);
    BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
                const RECT& rect = rectDefault, CWnd* pParentWnd = nullptr,
                LPCSTR lpszMenuName = nullptr, DWORD dwExStyle = 0);
    // A frame class (double clicks, redraw on size, window background) with
    // the icon of nIDResource, registered once.
    static LPCSTR GetIconWndClass(DWORD dwDefaultStyle, UINT nIDResource);

    //--- Layout and bars
    // Every child but the pane hears WM_SIZEPARENT in Z-order (creation
    // order unless moved: the first is outermost) and takes its part; the
    // child with id AFX_IDW_PANE_FIRST takes the rest.
    virtual void RecalcLayout(BOOL bNotify = TRUE);
    // One layout pass over the children into rect; the rest goes to the
    // pane when it is given.
    void RepositionBars(const RECT& rect, HWND hWndPane);
    // Lays out at the next idle time.
    void DelayRecalcLayout(BOOL bNotify = TRUE);
    void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);
    CControlBar* GetControlBar(UINT nID);
    // The sides bars may dock to: a dock bar (ids 59419-59422) is made for
    // each, once.
    void EnableDocking(DWORD dwDockStyle);
    DWORD GetDockingStyle() const { return m_dwDockStyle; }
    // Into the dock bar of that id (0: the first side both the bar and the
    // frame allow: top, bottom, left, right), in a row (-1: a new last row).
    void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, int row = -1);
    // Into a floating frame of its own at a screen point: one of
    // m_pFloatingFrameClass (a CMiniDockFrameWnd), or a plain one.
    void FloatControlBar(CControlBar* pBar, CPoint point);
    // Docked: floats where it stands; floating: docks where it last was.
    void ToggleDocking(CControlBar* pBar);

    //--- Views and activation
    CView* GetActiveView() const { return m_pViewActive; }
    // bNotify: the views hear OnActivateView.
    void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
    // Creates a view of a run-time class as this frame's child; null when
    // the object or its window cannot be made.
    CView* CreateView(const CRuntimeClass* pViewClass, UINT nID = AFX_IDW_PANE_FIRST);
    // The frame commands act in: the active MDI child for an MDI frame.
    virtual CFrameWnd* GetActiveFrame() { return this; }
    // Shows the frame (-1: as it should be) and brings it to the top unless
    // the command shows it without activation.
    virtual void ActivateFrame(int nCmdShow = -1);

    // The title LoadFrame took from the resource string.
    CString GetTitle() const { return m_strTitle; }

    // The idle-time update (WM_IDLEUPDATECMDUI): a delayed layout.
    virtual void OnIdleUpdateCmdUI();

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, VaCmdHandlerInfo* pHandlerInfo) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    HACCEL m_hAccelTable = nullptr;
    HMENU m_hMenuDefault = nullptr;   // the menu LoadFrame put on the window
    BOOL m_bAutoMenuEnable = TRUE;    // menu items without handlers are disabled
    UINT m_nIDResource = 0;
    const CRuntimeClass* m_pFloatingFrameClass = nullptr;  // null: CMiniDockFrameWnd

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void PostNcDestroy() override;
    // Creates what fills the client area; called from WM_CREATE.
    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs);
    void BringToTop(int nCmdShow);

    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnClose();
    void OnDestroy();
    void OnSize(UINT nType, int cx, int cy);
    void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    void OnSetFocus(CWnd* pOldWnd);
    void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    LRESULT OnIdleUpdateCmdUIMessage(WPARAM wParam, LPARAM lParam);

    void LoadFrameTitle(UINT nIDResource);

    enum { kIdleLayout = 1, kIdleNotify = 2 };

    CString m_strTitle;
    CView* m_pViewActive = nullptr;
    DWORD m_dwDockStyle = 0;
    UINT m_nIdleFlags = 0;
    BOOL m_bInRecalcLayout = FALSE;

    DECLARE_MESSAGE_MAP()
};

#endif // VA_FRAMEWORK_FRAME_FRAMEWND_H
