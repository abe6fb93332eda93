// Windows as framework objects.
//
// Classes in this file:
//   CWnd   a window handle with a message map; permanent when the code created,
//          attached or subclassed it, temporary when FromHandle made it
//
// One framework window procedure (AfxWndProc) serves every window that has an
// object: windows created through CreateEx are attached by a creation hook
// before their first message (WM_GETMINMAXINFO comes before WM_NCCREATE), and
// windows of other classes (common controls) are subclassed there. The
// handle-to-object map is cleared at WM_NCDESTROY, after which PostNcDestroy
// runs (objects with m_bAutoDelete delete themselves there). No exception
// and no fault leaves AfxWndProc: each message runs in a fault guard of its
// own, and a message whose handler threw or faulted gets a safe result.
#ifndef VA_FRAMEWORK_WIN_WND_H
#define VA_FRAMEWORK_WIN_WND_H

#include "framework/core/CString.h"
#include "framework/win/CmdTarget.h"
#include "framework/win/CmdUI.h"
#include "framework/win/Geometry.h"
#include "framework/win/HandleMap.h"
#include "framework/win/Menu.h"
#include "framework/win/MessageMap.h"
#include "framework/win/WinDefs.h"

class CFrameWnd;
class CMenu;

class CWnd;

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
// Runs one message through an object's WindowProc inside the exception
// barrier and a fault guard of its own.
LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
// Destroys the window when pWnd is still its object, one that a fault left
// behind on a frame that is gone, and with it the top-level windows that
// belong to it: those it owns and those its code made (a tip it made with
// no owner), and theirs in turn. The objects of all those windows and of
// the windows inside them are forgotten, untouched, before any message of
// the destruction could reach them. data: the object and the window, as a
// CFaultHold's release gets them.
void AfxDestroyAbandonedWindow(const ULONG_PTR* data);
// The creation hook's work (AfxSetGuardedHook).
LRESULT VaCreateHookProc(int nCode, WPARAM wParam, LPARAM lParam);
// Registers a class once (an existing one of the name is kept); classes
// registered by name are remembered for AfxUnregisterClasses.
BOOL AfxRegisterClass(WNDCLASSA* lpWndClass);
// Unregisters every class this module registered: a library's classes must
// not outlive it (the system keeps them, with procedures in freed code).
void AfxUnregisterClasses();

// Registers (once) a window class served by AfxWndProc and returns its name.
// The name lives in a small ring of buffers: pass it straight to a creation.
LPCSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr,
                           HBRUSH hbrBackground = nullptr, HICON hIcon = nullptr);

HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hResource);

//--- CWnd
class CWnd : public CCmdTarget
{
    DECLARE_DYNAMIC(CWnd)
public:
    HWND m_hWnd = nullptr;

    CWnd() = default;
    // Destroys a window this object created; releases any other it holds.
    ~CWnd() override;

    static CWnd* FromHandle(HWND hWnd);
    static CWnd* FromHandlePermanent(HWND hWnd);
    // Whether pWnd is still the object of hWnd, after a nested loop (a modal
    // dialog, a menu, a message box) that may have destroyed the window and
    // deleted the object. Compares only: pWnd is never touched.
    static bool IsStillAttached(const CWnd* pWnd, HWND hWnd)
    {
        return hWnd != nullptr && FromHandlePermanent(hWnd) == pWnd;
    }
    static void DeleteTempMap();
    static size_t GetTempMapCount();

    operator HWND() const { return m_hWnd; }
    // Not callable through a null pointer (the compiler may assume this is
    // never null): test the pointer first.
    HWND GetSafeHwnd() const { return m_hWnd; }

    // Attach and Detach only bind the object; SubclassWindow also routes the
    // window's messages through this object's map (the original procedure
    // remains the default one).
    BOOL Attach(HWND hWndNew);
    HWND Detach();
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();
    // Runs in SubclassWindow once the object holds an existing window (one
    // made elsewhere, such as a dialog control), before its messages are
    // routed through the object: the class gives the window what its own
    // Create would have given it.
    virtual void PreSubclassWindow() {}

    // Creation. lpszClassName null: PreCreateWindow picks the framework's
    // default class. A failed creation has run PostNcDestroy.
    virtual BOOL PreCreateWindow(CREATESTRUCTA& cs);
    BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                const RECT& rect, CWnd* pParentWnd, UINT nID);
    BOOL CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName,
                  DWORD dwStyle, int x, int y, int nWidth, int nHeight,
                  HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam = nullptr);
    BOOL CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName,
                  DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                  LPVOID lpParam = nullptr);
    virtual BOOL DestroyWindow();

    // Message processing.
    virtual LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // A notification this window sent to its parent, offered back to this
    // object's reflected entries first; TRUE keeps it from the parent.
    virtual BOOL OnChildNotify(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Offers pMsg to the objects of its window and each parent up to
    // hWndStop; TRUE when one of them translated it.
    static BOOL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);
    virtual void PostNcDestroy();
    // The default processing of the message being handled now.
    LRESULT Default();

    // A modal loop on this window (MLF_ flags): messages to the window or its
    // descendants are offered to PreTranslateMessage from their window up to
    // this one before dispatch. Runs until EndModalLoop and returns its
    // result; -1 when the window is gone or WM_QUIT arrived (which is posted
    // again for the outer loop). A fault in one of its turns or in the code
    // of this window or a window inside it ends it with IDCANCEL; a fault in
    // any other window leaves it running (CFaultLoop).
    virtual int RunModalLoop(DWORD dwFlags = 0);
    virtual void EndModalLoop(int nResult);
    BOOL ContinueModal() const { return m_bContinueModal; }

    // Centres the window over its owner (a child: its parent), or over
    // pAlternateOwner; without either, or when that one is hidden or
    // minimised, over the work area of the monitor it is on.
    void CenterWindow(CWnd* pAlternateOwner = nullptr);

    // Relatives.
    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    CWnd* GetOwner() const { return FromHandle(::GetWindow(m_hWnd, GW_OWNER)); }
    CWnd* GetTopLevelParent() const;
    CWnd* GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }
    // Check boxes and radio buttons among the window's controls.
    void CheckDlgButton(int nIDButton, UINT nCheck) { ::CheckDlgButton(m_hWnd, nIDButton, nCheck); }
    UINT IsDlgButtonChecked(int nIDButton) const { return ::IsDlgButtonChecked(m_hWnd, nIDButton); }
    // Checks one radio button of nIDFirst .. nIDLast and clears the others.
    void CheckRadioButton(int nIDFirst, int nIDLast, int nIDCheck)
    {
        ::CheckRadioButton(m_hWnd, nIDFirst, nIDLast, nIDCheck);
    }
    // The checked radio button of nIDFirst .. nIDLast, 0 for none.
    int GetCheckedRadioButton(int nIDFirst, int nIDLast) const
    {
        for (int nID = nIDFirst; nID <= nIDLast; ++nID) {
            if (::IsDlgButtonChecked(m_hWnd, nID) == BST_CHECKED)
                return nID;
        }
        return 0;
    }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    int SetDlgCtrlID(int nID) { return (int)::SetWindowLongPtrA(m_hWnd, GWLP_ID, nID); }
    // The nearest frame object among the ancestors (not this window).
    CFrameWnd* GetParentFrame() const;
    BOOL IsChild(const CWnd* pWnd) const { return pWnd != nullptr && ::IsChild(m_hWnd, pWnd->m_hWnd); }
    // Sends to every child (with bDeep every descendant); bOnlyPerm skips
    // windows without a framework object, which would not know the message.
    void SendMessageToDescendants(UINT nMsg, WPARAM wParam = 0, LPARAM lParam = 0,
                                  BOOL bDeep = TRUE, BOOL bOnlyPerm = FALSE);

    // One-call wrappers.
    LRESULT SendMessage(UINT nMsg, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageA(m_hWnd, nMsg, wParam, lParam);
    }
    BOOL PostMessage(UINT nMsg, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessageA(m_hWnd, nMsg, wParam, lParam);
    }
    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    void Invalidate(BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, bErase); }
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, lpRect, bErase); }
    BOOL RedrawWindow(LPCRECT lpRect = nullptr, HRGN hRgn = nullptr,
                      UINT nFlags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE)
    {
        return ::RedrawWindow(m_hWnd, lpRect, hRgn, nFlags);
    }
    void SetRedraw(BOOL bRedraw = TRUE) { SendMessage(WM_SETREDRAW, bRedraw); }
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE)
    {
        ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
    }
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE)
    {
        MoveWindow(lpRect->left, lpRect->top, lpRect->right - lpRect->left,
                   lpRect->bottom - lpRect->top, bRepaint);
    }
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    void GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
    void GetWindowRect(LPRECT lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }
    void ClientToScreen(LPPOINT lpPoint) const { ::ClientToScreen(m_hWnd, lpPoint); }
    void ScreenToClient(LPPOINT lpPoint) const { ::ScreenToClient(m_hWnd, lpPoint); }
    void ClientToScreen(LPRECT lpRect) const { ::MapWindowPoints(m_hWnd, nullptr, (LPPOINT)lpRect, 2); }
    void ScreenToClient(LPRECT lpRect) const { ::MapWindowPoints(nullptr, m_hWnd, (LPPOINT)lpRect, 2); }
    BOOL GetWindowPlacement(WINDOWPLACEMENT* lpwndpl) const
    {
        lpwndpl->length = sizeof(WINDOWPLACEMENT);
        return ::GetWindowPlacement(m_hWnd, lpwndpl);
    }
    BOOL SetWindowPlacement(const WINDOWPLACEMENT* lpwndpl) { return ::SetWindowPlacement(m_hWnd, lpwndpl); }
    BOOL IsWindow() const { return m_hWnd != nullptr && ::IsWindow(m_hWnd); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    BOOL IsZoomed() const { return ::IsZoomed(m_hWnd); }
    CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
    static CWnd* GetFocus() { return FromHandle(::GetFocus()); }
    static CWnd* GetActiveWindow() { return FromHandle(::GetActiveWindow()); }
    BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
    void BringWindowToTop() { ::BringWindowToTop(m_hWnd); }
    void SetWindowText(LPCSTR lpszString) { ::SetWindowTextA(m_hWnd, lpszString); }
    int GetWindowTextLength() const { return ::GetWindowTextLengthA(m_hWnd); }
    void GetWindowText(CString& rString) const;
    DWORD GetStyle() const { return (DWORD)::GetWindowLongPtrA(m_hWnd, GWL_STYLE); }
    DWORD GetExStyle() const { return (DWORD)::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE); }
    // Both return TRUE when the style changed; nFlags non-zero also runs
    // SetWindowPos with them so that frame changes take effect.
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    // A window timer: its WM_TIMER runs in the window's guarded procedure.
    // No timer procedure is offered: the system's dispatch of one swallows
    // the faults inside it, and whatever they broke off would go on unseen.
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse)
    {
        return ::SetTimer(m_hWnd, nIDEvent, nElapse, nullptr);
    }
    BOOL KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }
    CMenu* GetMenu() const;
    BOOL SetMenu(CMenu* pMenu);
    CMenu* GetSystemMenu(BOOL bRevert) const;
    void DrawMenuBar() { ::DrawMenuBar(m_hWnd); }
    HICON SetIcon(HICON hIcon, BOOL bBigIcon)
    {
        return (HICON)SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, (LPARAM)hIcon);
    }
    void SetFont(HFONT hFont, BOOL bRedraw = TRUE) { SendMessage(WM_SETFONT, (WPARAM)hFont, bRedraw); }
    HFONT GetFont() const { return (HFONT)SendMessage(WM_GETFONT); }

    //--- Default handlers, for derived handlers to call (each runs Default()).
    int OnCreate(LPCREATESTRUCT) { return (int)Default(); }
    void OnDestroy() { Default(); }
    void OnNcDestroy() { Default(); }
    void OnClose() { Default(); }
    void OnTimer(UINT_PTR) { Default(); }
    void OnSize(UINT, int, int) { Default(); }
    void OnMove(int, int) { Default(); }
    void OnActivate(UINT, CWnd*, BOOL) { Default(); }
    void OnActivateApp(BOOL, DWORD) { Default(); }
    int OnMouseActivate(CWnd*, UINT, UINT) { return (int)Default(); }
    void OnMDIActivate(BOOL, CWnd*, CWnd*) { Default(); }
    BOOL OnQueryEndSession() { return (BOOL)Default(); }
    void OnEndSession(BOOL) { Default(); }
    BOOL OnCopyData(CWnd*, COPYDATASTRUCT*) { return (BOOL)Default(); }
    void OnInitMenuPopup(CMenu*, UINT, BOOL) { Default(); }
    void OnMenuSelect(UINT, UINT, HMENU) { Default(); }
    void OnMeasureItem(int, LPMEASUREITEMSTRUCT) { Default(); }
    void OnDrawItem(int, LPDRAWITEMSTRUCT) { Default(); }
    LRESULT OnMenuChar(UINT, UINT, CMenu*) { return Default(); }
    void OnDrawClipboard() { Default(); }
    void OnChangeCbChain(HWND, HWND) { Default(); }
    void OnSetFocus(CWnd*) { Default(); }
    void OnKillFocus(CWnd*) { Default(); }
    void OnSysCommand(UINT, LPARAM) { Default(); }
    void OnPaint() { Default(); }
    BOOL OnEraseBkgnd(HDC) { return (BOOL)Default(); }
    void OnLButtonDown(UINT, CPoint) { Default(); }
    void OnLButtonUp(UINT, CPoint) { Default(); }
    void OnLButtonDblClk(UINT, CPoint) { Default(); }
    void OnRButtonDown(UINT, CPoint) { Default(); }
    void OnRButtonUp(UINT, CPoint) { Default(); }
    void OnMouseMove(UINT, CPoint) { Default(); }
    BOOL OnMouseWheel(UINT, short, CPoint) { return (BOOL)Default(); }
    void OnKeyDown(UINT, UINT, UINT) { Default(); }
    void OnKeyUp(UINT, UINT, UINT) { Default(); }
    void OnChar(UINT, UINT, UINT) { Default(); }
    void OnContextMenu(CWnd*, CPoint) { Default(); }
    BOOL OnSetCursor(CWnd*, UINT, UINT) { return (BOOL)Default(); }
    void OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
    void OnShowWindow(BOOL, UINT) { Default(); }
    void OnWindowPosChanging(WINDOWPOS*) { Default(); }
    void OnWindowPosChanged(WINDOWPOS*) { Default(); }
    void OnHScroll(UINT, UINT, CWnd*) { Default(); }
    void OnVScroll(UINT, UINT, CWnd*) { Default(); }

protected:
    // One creation in progress; creations nest (a frame's WM_CREATE makes
    // its bars), each pushing its own state for the creation hook.
    struct CreateState
    {
        CWnd* pPending;         // the object still waiting for its window
        HWND hAttached;         // the window the hook attached it to
        CreateState* pOuter;
    };
    static void BeginCreate(CreateState& state, CWnd* pWnd);
    // Whether an object of a creation in progress still waits for its
    // window; the creation hook is removed when none does.
    static bool IsCreationPending();
    static void RemoveIdleCreateHook();
    // TRUE when hWnd exists; otherwise makes sure PostNcDestroy ran once.
    static BOOL EndCreate(CreateState& state, HWND hWnd);

    BOOL ReflectChildNotify(HWND hWndChild, UINT nMsg, WPARAM wParam, LPARAM lParam,
                            LRESULT* pResult);
    BOOL ReflectFromParent(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

    // The procedure this window had before it was subclassed; null for
    // windows of the framework's own classes.
    WNDPROC m_pfnSuper = nullptr;
    // This object created the window (and destroys it with itself).
    BOOL m_bCreatedHere = FALSE;
    // The modal loop runs on (RunModalLoop sets it, EndModalLoop clears it;
    // CDialog sets it before its window exists so that an end in
    // OnInitDialog is kept); the result EndModalLoop gave.
    BOOL m_bContinueModal = FALSE;
    int m_nModalResult = -1;

private:
    friend LRESULT AfxCallWndProc(CWnd*, HWND, UINT, WPARAM, LPARAM);
    friend LRESULT VaCreateHookProc(int, WPARAM, LPARAM);
    // A top-level window the framework made while the code of a window of
    // this module ran: that window's top-level window is recorded as its
    // maker, for AfxDestroyAbandonedWindow.
    static void RecordMaker(HWND hWnd);
    void AttachCreated(HWND hWnd);
    // Ends the modal loop as cancelled after a fault; returns IDCANCEL.
    int EndAfterFault();
    // The end of the window: unmap, end the application with its main
    // window, then PostNcDestroy.
    void FinalRelease();
};

#endif // VA_FRAMEWORK_WIN_WND_H
