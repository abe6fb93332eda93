// Message maps: tables from a message, command or notification to a member
// function, chained from a class's map to its base class's map.
//
// Declaring a map:
//   class CMyFrame : public CMDIFrameWnd {
//       ...
//       DECLARE_MESSAGE_MAP()
//   };
//   BEGIN_MESSAGE_MAP(CMyFrame, CMDIFrameWnd)
//       ON_WM_CREATE()                       // messages first
//       ON_MESSAGE(WM_FRAME_OPENCOMMANDLINE, OnOpenCommandLine)
//       ON_COMMAND(ID_APP_ABOUT, OnAppAbout) // then commands
//       ON_NOTIFY(NM_CLICK, 100, OnClick)    // then notifications
//   END_MESSAGE_MAP()                        // the chain to the base is implicit
//
// Handlers are named by their bare member name (or a qualified one such as
// CWinApp::OnFileOpen) and called with typed arguments; the signature each
// macro expects is written above it. A handler counts as handled unless it
// calls SetMsgHandled(FALSE), which passes the message on to later entries,
// the base maps and finally the default window procedure. A handler that
// wants the default processing as well calls its base class's handler or
// Default().
#ifndef VA_FRAMEWORK_WIN_MESSAGEMAP_H
#define VA_FRAMEWORK_WIN_MESSAGEMAP_H

#include "framework/win/WinDefs.h"

class CCmdTarget;
class CCmdUI;

// The call being dispatched. For commands nID is the command id and pExtra
// the CCmdUI of an update query; for notifications nID is the control id.
struct VaMsgCall
{
    UINT nMsg;
    WPARAM wParam;
    LPARAM lParam;
    UINT nID;
    void* pExtra;
    LRESULT lResult;
    BOOL bHandled;
};

typedef void (*VaMsgHandlerFn)(CCmdTarget* pTarget, VaMsgCall& call);

struct VaMsgMapEntry
{
    UINT nMessage;               // message; WM_COMMAND; WM_NOTIFY; WM_REFLECT_BASE + message
    UINT nCode;                  // WM_COMMAND: notification code; WM_NOTIFY: NMHDR code
    UINT nID;                    // first id of a command or notification range
    UINT nLastID;                // last id of the range
    const UINT* pnRegisteredMsg; // ON_REGISTERED_MESSAGE: where the message number is kept
    VaMsgHandlerFn pfn;          // null ends the table
};

struct VaMsgMap
{
    const VaMsgMap* (*pfnGetBaseMap)();
    const VaMsgMapEntry* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                        \
protected:                                           \
    static const VaMsgMap* GetThisMessageMap();      \
    const VaMsgMap* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                  \
    const VaMsgMap* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const VaMsgMap* theClass::GetThisMessageMap()                               \
    {                                                                           \
        using ThisClass [[maybe_unused]] = theClass;                            \
        using TheBaseClass = baseClass;                                         \
        static const VaMsgMapEntry s_entries[] = {

#define END_MESSAGE_MAP()                                                       \
            { 0, 0, 0, 0, nullptr, nullptr }                                    \
        };                                                                      \
        static const VaMsgMap s_map = { &TheBaseClass::GetThisMessageMap, s_entries }; \
        return &s_map;                                                          \
    }

// One entry whose handler runs the statements given; pThis_ is the object,
// call_ the call.
#define VA_MSG_ENTRY(msg, code, id, lastId, pReg, ...)                         \
    { (UINT)(msg), (UINT)(code), (UINT)(id), (UINT)(lastId), (pReg),          \
      [](CCmdTarget* pTarget_, VaMsgCall& call_) {                              \
          ThisClass* pThis_ = static_cast<ThisClass*>(pTarget_);               \
          (void)pThis_; (void)call_;                                            \
          __VA_ARGS__;                                                          \
      } },

#define VA_ON_MSG(msg, ...) VA_MSG_ENTRY(msg, 0, 0, 0, nullptr, __VA_ARGS__)
#define VA_WP (call_.wParam)
#define VA_LP (call_.lParam)
#define VA_WND(h) CWnd::FromHandle(reinterpret_cast<HWND>(h))

//--- Generic messages

// LRESULT memberFxn(WPARAM wParam, LPARAM lParam)
#define ON_MESSAGE(message, memberFxn) \
    VA_ON_MSG(message, call_.lResult = pThis_->memberFxn(VA_WP, VA_LP))

// LRESULT memberFxn(WPARAM wParam, LPARAM lParam); nMessageVariable is a UINT
// that holds the number from RegisterWindowMessage by the time messages come.
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn) \
    VA_MSG_ENTRY(0, 0, 0, 0, &(nMessageVariable), call_.lResult = pThis_->memberFxn(VA_WP, VA_LP))

//--- Commands

// void memberFxn()
#define ON_COMMAND(id, memberFxn) \
    VA_MSG_ENTRY(WM_COMMAND, CN_COMMAND, id, id, nullptr, pThis_->memberFxn())

// void memberFxn(UINT nID)
#define ON_COMMAND_RANGE(id, idLast, memberFxn) \
    VA_MSG_ENTRY(WM_COMMAND, CN_COMMAND, id, idLast, nullptr, pThis_->memberFxn(call_.nID))

// void memberFxn(CCmdUI* pCmdUI)
#define ON_UPDATE_COMMAND_UI(id, memberFxn) \
    VA_MSG_ENTRY(WM_COMMAND, CN_UPDATE_COMMAND_UI, id, id, nullptr, \
                 pThis_->memberFxn(static_cast<CCmdUI*>(call_.pExtra)))

// void memberFxn(CCmdUI* pCmdUI); pCmdUI->m_nID tells the id
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn) \
    VA_MSG_ENTRY(WM_COMMAND, CN_UPDATE_COMMAND_UI, id, idLast, nullptr, \
                 pThis_->memberFxn(static_cast<CCmdUI*>(call_.pExtra)))

// void memberFxn(); a WM_COMMAND notification code from control id
#define ON_CONTROL(wNotifyCode, id, memberFxn) \
    VA_MSG_ENTRY(WM_COMMAND, wNotifyCode, id, id, nullptr, pThis_->memberFxn())

//--- Notifications (WM_NOTIFY from a child with control id)

// void memberFxn(NMHDR* pNMHDR, LRESULT* pResult)
#define ON_NOTIFY(wNotifyCode, id, memberFxn) \
    VA_MSG_ENTRY(WM_NOTIFY, wNotifyCode, id, id, nullptr, \
                 pThis_->memberFxn(reinterpret_cast<NMHDR*>(VA_LP), &call_.lResult))

// void memberFxn(UINT id, NMHDR* pNMHDR, LRESULT* pResult)
#define ON_NOTIFY_RANGE(wNotifyCode, id, idLast, memberFxn) \
    VA_MSG_ENTRY(WM_NOTIFY, wNotifyCode, id, idLast, nullptr, \
                 pThis_->memberFxn(call_.nID, reinterpret_cast<NMHDR*>(VA_LP), &call_.lResult))

// BOOL memberFxn(UINT id, NMHDR* pNMHDR, LRESULT* pResult); FALSE passes it on
#define ON_NOTIFY_EX(wNotifyCode, id, memberFxn) \
    VA_MSG_ENTRY(WM_NOTIFY, wNotifyCode, id, id, nullptr, \
                 call_.bHandled = pThis_->memberFxn(call_.nID, reinterpret_cast<NMHDR*>(VA_LP), &call_.lResult))

//--- Reflected notifications, handled by the control's own object

// void memberFxn(NMHDR* pNMHDR, LRESULT* pResult)
#define ON_NOTIFY_REFLECT(wNotifyCode, memberFxn) \
    VA_MSG_ENTRY(WM_REFLECT_BASE + WM_NOTIFY, wNotifyCode, 0, 0, nullptr, \
                 pThis_->memberFxn(reinterpret_cast<NMHDR*>(VA_LP), &call_.lResult))

// BOOL memberFxn(NMHDR* pNMHDR, LRESULT* pResult); FALSE lets the parent have it too
#define ON_NOTIFY_REFLECT_EX(wNotifyCode, memberFxn) \
    VA_MSG_ENTRY(WM_REFLECT_BASE + WM_NOTIFY, wNotifyCode, 0, 0, nullptr, \
                 call_.bHandled = pThis_->memberFxn(reinterpret_cast<NMHDR*>(VA_LP), &call_.lResult))

// void memberFxn()
#define ON_CONTROL_REFLECT(wNotifyCode, memberFxn) \
    VA_MSG_ENTRY(WM_REFLECT_BASE + WM_COMMAND, wNotifyCode, 0, 0, nullptr, pThis_->memberFxn())

// BOOL memberFxn(); FALSE lets the parent have it too
#define ON_CONTROL_REFLECT_EX(wNotifyCode, memberFxn) \
    VA_MSG_ENTRY(WM_REFLECT_BASE + WM_COMMAND, wNotifyCode, 0, 0, nullptr, \
                 call_.bHandled = pThis_->memberFxn())

// void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
#define ON_WM_DRAWITEM_REFLECT() \
    VA_ON_MSG(WM_REFLECT_BASE + WM_DRAWITEM, \
              pThis_->DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(VA_LP)); call_.lResult = TRUE)

// void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct)
#define ON_WM_MEASUREITEM_REFLECT() \
    VA_ON_MSG(WM_REFLECT_BASE + WM_MEASUREITEM, \
              pThis_->MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(VA_LP)); call_.lResult = TRUE)

// HBRUSH CtlColor(HDC hDC, UINT nCtlColor); null passes it on to the parent.
// nCtlColor is the WM_CTLCOLORxxx message.
#define ON_WM_CTLCOLOR_REFLECT() \
    VA_ON_MSG(WM_REFLECT_BASE + WM_CTLCOLOR, \
              HBRUSH hbr_ = pThis_->CtlColor(reinterpret_cast<HDC>(VA_WP), static_cast<UINT>(VA_LP)); \
              call_.lResult = reinterpret_cast<LRESULT>(hbr_); call_.bHandled = hbr_ != nullptr)

//--- Window messages

// int OnCreate(LPCREATESTRUCT lpCreateStruct); -1 ends the creation
#define ON_WM_CREATE() \
    VA_ON_MSG(WM_CREATE, call_.lResult = pThis_->OnCreate(reinterpret_cast<LPCREATESTRUCT>(VA_LP)))

// void OnDestroy()
#define ON_WM_DESTROY() VA_ON_MSG(WM_DESTROY, pThis_->OnDestroy())

// void OnNcDestroy()
#define ON_WM_NCDESTROY() VA_ON_MSG(WM_NCDESTROY, pThis_->OnNcDestroy())

// void OnClose()
#define ON_WM_CLOSE() VA_ON_MSG(WM_CLOSE, pThis_->OnClose())

// void OnTimer(UINT_PTR nIDEvent)
#define ON_WM_TIMER() VA_ON_MSG(WM_TIMER, pThis_->OnTimer(static_cast<UINT_PTR>(VA_WP)))

// void OnSize(UINT nType, int cx, int cy)
#define ON_WM_SIZE() \
    VA_ON_MSG(WM_SIZE, pThis_->OnSize(static_cast<UINT>(VA_WP), LOWORD(VA_LP), HIWORD(VA_LP)))

// void OnMove(int x, int y)
#define ON_WM_MOVE() \
    VA_ON_MSG(WM_MOVE, pThis_->OnMove(GET_X_LPARAM(VA_LP), GET_Y_LPARAM(VA_LP)))

// void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
#define ON_WM_ACTIVATE() \
    VA_ON_MSG(WM_ACTIVATE, pThis_->OnActivate(LOWORD(VA_WP), VA_WND(VA_LP), HIWORD(VA_WP) != 0))

// void OnActivateApp(BOOL bActive, DWORD dwThreadID)
#define ON_WM_ACTIVATEAPP() \
    VA_ON_MSG(WM_ACTIVATEAPP, pThis_->OnActivateApp(static_cast<BOOL>(VA_WP), static_cast<DWORD>(VA_LP)))

// int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
#define ON_WM_MOUSEACTIVATE() \
    VA_ON_MSG(WM_MOUSEACTIVATE, call_.lResult = pThis_->OnMouseActivate( \
                  VA_WND(VA_WP), LOWORD(VA_LP), HIWORD(VA_LP)))

// void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd)
// (as the MDI child receives it: lParam is the window activated)
#define ON_WM_MDIACTIVATE() \
    VA_ON_MSG(WM_MDIACTIVATE, pThis_->OnMDIActivate( \
                  pThis_->GetSafeHwnd() == reinterpret_cast<HWND>(VA_LP), VA_WND(VA_LP), VA_WND(VA_WP)))

// BOOL OnQueryEndSession()
#define ON_WM_QUERYENDSESSION() \
    VA_ON_MSG(WM_QUERYENDSESSION, call_.lResult = pThis_->OnQueryEndSession())

// void OnEndSession(BOOL bEnding)
#define ON_WM_ENDSESSION() \
    VA_ON_MSG(WM_ENDSESSION, pThis_->OnEndSession(static_cast<BOOL>(VA_WP)))

// BOOL OnCopyData(CWnd* pWnd, COPYDATASTRUCT* pCopyDataStruct)
#define ON_WM_COPYDATA() \
    VA_ON_MSG(WM_COPYDATA, call_.lResult = pThis_->OnCopyData( \
                  VA_WND(VA_WP), reinterpret_cast<COPYDATASTRUCT*>(VA_LP)))

// void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu)
#define ON_WM_INITMENUPOPUP() \
    VA_ON_MSG(WM_INITMENUPOPUP, pThis_->OnInitMenuPopup( \
                  CMenu::FromHandle(reinterpret_cast<HMENU>(VA_WP)), LOWORD(VA_LP), HIWORD(VA_LP) != 0))

// void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu)
#define ON_WM_MENUSELECT() \
    VA_ON_MSG(WM_MENUSELECT, pThis_->OnMenuSelect(LOWORD(VA_WP), HIWORD(VA_WP), reinterpret_cast<HMENU>(VA_LP)))

// void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct)
#define ON_WM_MEASUREITEM() \
    VA_ON_MSG(WM_MEASUREITEM, pThis_->OnMeasureItem( \
                  static_cast<int>(VA_WP), reinterpret_cast<LPMEASUREITEMSTRUCT>(VA_LP)); call_.lResult = TRUE)

// void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct)
#define ON_WM_DRAWITEM() \
    VA_ON_MSG(WM_DRAWITEM, pThis_->OnDrawItem( \
                  static_cast<int>(VA_WP), reinterpret_cast<LPDRAWITEMSTRUCT>(VA_LP)); call_.lResult = TRUE)

// LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu)
#define ON_WM_MENUCHAR() \
    VA_ON_MSG(WM_MENUCHAR, call_.lResult = pThis_->OnMenuChar( \
                  LOWORD(VA_WP), HIWORD(VA_WP), CMenu::FromHandle(reinterpret_cast<HMENU>(VA_LP))))

// void OnDrawClipboard()
#define ON_WM_DRAWCLIPBOARD() VA_ON_MSG(WM_DRAWCLIPBOARD, pThis_->OnDrawClipboard())

// void OnChangeCbChain(HWND hWndRemove, HWND hWndAfter)
#define ON_WM_CHANGECBCHAIN() \
    VA_ON_MSG(WM_CHANGECBCHAIN, pThis_->OnChangeCbChain( \
                  reinterpret_cast<HWND>(VA_WP), reinterpret_cast<HWND>(VA_LP)))

// void OnSetFocus(CWnd* pOldWnd)
#define ON_WM_SETFOCUS() VA_ON_MSG(WM_SETFOCUS, pThis_->OnSetFocus(VA_WND(VA_WP)))

// void OnKillFocus(CWnd* pNewWnd)
#define ON_WM_KILLFOCUS() VA_ON_MSG(WM_KILLFOCUS, pThis_->OnKillFocus(VA_WND(VA_WP)))

// void OnSysCommand(UINT nID, LPARAM lParam)
#define ON_WM_SYSCOMMAND() \
    VA_ON_MSG(WM_SYSCOMMAND, pThis_->OnSysCommand(static_cast<UINT>(VA_WP), VA_LP))

// void OnPaint()
#define ON_WM_PAINT() VA_ON_MSG(WM_PAINT, pThis_->OnPaint())

// BOOL OnEraseBkgnd(HDC hDC)
#define ON_WM_ERASEBKGND() \
    VA_ON_MSG(WM_ERASEBKGND, call_.lResult = pThis_->OnEraseBkgnd(reinterpret_cast<HDC>(VA_WP)))

// void OnLButtonDown(UINT nFlags, CPoint point)
#define ON_WM_LBUTTONDOWN() \
    VA_ON_MSG(WM_LBUTTONDOWN, pThis_->OnLButtonDown(static_cast<UINT>(VA_WP), CPoint(VA_LP)))

// void OnLButtonUp(UINT nFlags, CPoint point)
#define ON_WM_LBUTTONUP() \
    VA_ON_MSG(WM_LBUTTONUP, pThis_->OnLButtonUp(static_cast<UINT>(VA_WP), CPoint(VA_LP)))

// void OnLButtonDblClk(UINT nFlags, CPoint point)
#define ON_WM_LBUTTONDBLCLK() \
    VA_ON_MSG(WM_LBUTTONDBLCLK, pThis_->OnLButtonDblClk(static_cast<UINT>(VA_WP), CPoint(VA_LP)))

// void OnRButtonDown(UINT nFlags, CPoint point)
#define ON_WM_RBUTTONDOWN() \
    VA_ON_MSG(WM_RBUTTONDOWN, pThis_->OnRButtonDown(static_cast<UINT>(VA_WP), CPoint(VA_LP)))

// void OnRButtonUp(UINT nFlags, CPoint point)
#define ON_WM_RBUTTONUP() \
    VA_ON_MSG(WM_RBUTTONUP, pThis_->OnRButtonUp(static_cast<UINT>(VA_WP), CPoint(VA_LP)))

// void OnMouseMove(UINT nFlags, CPoint point)
#define ON_WM_MOUSEMOVE() \
    VA_ON_MSG(WM_MOUSEMOVE, pThis_->OnMouseMove(static_cast<UINT>(VA_WP), CPoint(VA_LP)))

// BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt); pt in screen coordinates
#define ON_WM_MOUSEWHEEL() \
    VA_ON_MSG(WM_MOUSEWHEEL, call_.lResult = pThis_->OnMouseWheel( \
                  GET_KEYSTATE_WPARAM(VA_WP), GET_WHEEL_DELTA_WPARAM(VA_WP), CPoint(VA_LP)))

// void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
#define ON_WM_KEYDOWN() \
    VA_ON_MSG(WM_KEYDOWN, pThis_->OnKeyDown(static_cast<UINT>(VA_WP), LOWORD(VA_LP), HIWORD(VA_LP)))

// void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags)
#define ON_WM_KEYUP() \
    VA_ON_MSG(WM_KEYUP, pThis_->OnKeyUp(static_cast<UINT>(VA_WP), LOWORD(VA_LP), HIWORD(VA_LP)))

// void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
#define ON_WM_CHAR() \
    VA_ON_MSG(WM_CHAR, pThis_->OnChar(static_cast<UINT>(VA_WP), LOWORD(VA_LP), HIWORD(VA_LP)))

// void OnContextMenu(CWnd* pWnd, CPoint pos); pos (-1, -1) when from the keyboard
#define ON_WM_CONTEXTMENU() \
    VA_ON_MSG(WM_CONTEXTMENU, pThis_->OnContextMenu(VA_WND(VA_WP), CPoint(VA_LP)))

// BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
#define ON_WM_SETCURSOR() \
    VA_ON_MSG(WM_SETCURSOR, call_.lResult = pThis_->OnSetCursor( \
                  VA_WND(VA_WP), LOWORD(VA_LP), HIWORD(VA_LP)))

// void OnGetMinMaxInfo(MINMAXINFO* lpMMI)
#define ON_WM_GETMINMAXINFO() \
    VA_ON_MSG(WM_GETMINMAXINFO, pThis_->OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(VA_LP)))

// void OnShowWindow(BOOL bShow, UINT nStatus)
#define ON_WM_SHOWWINDOW() \
    VA_ON_MSG(WM_SHOWWINDOW, pThis_->OnShowWindow(static_cast<BOOL>(VA_WP), static_cast<UINT>(VA_LP)))

// void OnWindowPosChanging(WINDOWPOS* lpwndpos)
#define ON_WM_WINDOWPOSCHANGING() \
    VA_ON_MSG(WM_WINDOWPOSCHANGING, pThis_->OnWindowPosChanging(reinterpret_cast<WINDOWPOS*>(VA_LP)))

// void OnWindowPosChanged(WINDOWPOS* lpwndpos)
#define ON_WM_WINDOWPOSCHANGED() \
    VA_ON_MSG(WM_WINDOWPOSCHANGED, pThis_->OnWindowPosChanged(reinterpret_cast<WINDOWPOS*>(VA_LP)))

// void OnHScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar)
#define ON_WM_HSCROLL() \
    VA_ON_MSG(WM_HSCROLL, pThis_->OnHScroll(LOWORD(VA_WP), HIWORD(VA_WP), VA_WND(VA_LP)))

// void OnVScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar)
#define ON_WM_VSCROLL() \
    VA_ON_MSG(WM_VSCROLL, pThis_->OnVScroll(LOWORD(VA_WP), HIWORD(VA_WP), VA_WND(VA_LP)))

#endif // VA_FRAMEWORK_WIN_MESSAGEMAP_H
