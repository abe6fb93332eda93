// Frame and dialog classes whose menus are owner-drawn CNewMenu objects.
//
// Classes in this file:
//   CNewFrame<TBase>   mix-in that routes the menu messages of a window to its
//                      CNewMenu objects
//   CNewFrameWnd       over CFrameWnd, loading its menu bar as a CNewMenu
//   CNewMDIFrameWnd    over CMDIFrameWnd, the same
//   CNewMDIChildWnd    over CMDIChildWnd
//   CNewMiniFrameWnd   over CMiniFrameWnd
//   CNewMiniDockFrameWnd  over CMiniDockFrameWnd: the floating frame of a
//                      docking bar of the frames above
//   CNewDialog         over CDialog, with the command-state update of popups
//   CNewMultiDocTemplate  over CMultiDocTemplate; adds nothing
// (a settings page derives from CNewFrame<CPropertyPage>)
#ifndef VA_MENULIB_NEWFRAME_H
#define VA_MENULIB_NEWFRAME_H

#include "framework/dialog/Dialog.h"
#include "framework/frame/DockBar.h"
#include "framework/frame/DocTemplate.h"
#include "framework/frame/FrameWnd.h"
#include "framework/frame/MDIFrameWnd.h"
#include "framework/frame/MiniFrameWnd.h"
#include "menulib/MenuTheme.h"
#include "menulib/NewMenu.h"

// Helpers of the mix-in that need no template.
namespace NewFrameImpl {
// WM_DRAWITEM of a menu item: the CNewMenu of the item's menu paints it.
BOOL DrawMenuItem(const DRAWITEMSTRUCT* lpDis);
LRESULT EnterMenuLoop(CWnd* pWnd, UINT_PTR& rTimer, int& rHotItem);
void OnTimer(CWnd* pWnd, UINT_PTR nIDEvent, UINT_PTR nHotTimer);
} // namespace NewFrameImpl

//--- CNewFrame
template <class TBase>
class CNewFrame : public TBase
{
public:
    CNewFrame() = default;
    // A dialog or page base made from its template.
    explicit CNewFrame(UINT nIDTemplate) : TBase(nIDTemplate) {}

    CNewMenu m_DefaultNewMenu;
    CNewMenu m_SystemNewMenu;
    int m_bInMenuLoop = 0;
    UINT_PTR m_TimerID = 0;
    int m_nHotMenuBarItem = -1;

protected:
    // LoadFrame of the frames with a menu bar: the menu resource of the id
    // becomes the owner-drawn m_DefaultNewMenu before the window is created.
    // A failed load or creation has already run PostNcDestroy.
    BOOL LoadFrameWithNewMenu(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd)
    {
        this->LoadFrameTitle(nIDResource);
        // The class is the frame's PreCreateWindow's to choose (by default the
        // framework's class with the icon of the id).
        LPCSTR lpszClass = nullptr;
        if (!m_DefaultNewMenu.LoadMenuByName(MAKEINTRESOURCEA(nIDResource)))
        {
            this->PostNcDestroy();
            return FALSE;
        }
        HMENU hMenu = m_DefaultNewMenu.m_hMenu;
        CString strTitle = this->m_strTitle;
        const RECT& rc = CFrameWnd::rectDefault;
        if (!this->CreateEx(0, lpszClass, strTitle, dwDefaultStyle, rc.left, rc.top, rc.right - rc.left,
                            rc.bottom - rc.top, pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr, hMenu))
            return FALSE;  // the object is gone with its menu
        this->m_hMenuDefault = ::GetMenu(this->m_hWnd);
        this->m_hAccelTable = ::LoadAcceleratorsA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
        this->SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
        return TRUE;
    }

    static const VaMsgMap* GetThisMessageMap();
    const VaMsgMap* GetMessageMap() const override { return GetThisMessageMap(); }

    // void OnMeasureItem(int, LPMEASUREITEMSTRUCT)
    void OnMeasureItem(int, LPMEASUREITEMSTRUCT)
    {
        VaMsgCall* pCall = CCmdTarget::GetCurrentCall();
        MSG msg = {};
        msg.hwnd = this->m_hWnd;
        msg.message = WM_MEASUREITEM;
        msg.wParam = pCall != nullptr ? pCall->wParam : 0;
        msg.lParam = pCall != nullptr ? pCall->lParam : 0;
        if (!CNewMenu::OnMeasureItem(this->m_hWnd, msg))
            this->Default();
    }
    void OnDrawItem(int, LPDRAWITEMSTRUCT lpDis)
    {
        if (!NewFrameImpl::DrawMenuItem(lpDis))
            this->Default();
    }
    LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu)
    {
        CNewMenu* pNewMenu = pMenu != nullptr ? CNewMenu::FromHandleNew(pMenu->m_hMenu) : nullptr;
        if (pNewMenu != nullptr)
            return CNewMenu::OnMenuChar(nChar, nFlags, pNewMenu);
        return this->Default();
    }
    void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu)
    {
        TBase::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
        CNewMenu::OnInitMenuPopup(this->m_hWnd, pPopupMenu != nullptr ? pPopupMenu->m_hMenu : nullptr, nIndex,
                                  bSysMenu);
    }
    LRESULT OnEnterMenuLoop(WPARAM, LPARAM)
    {
        m_bInMenuLoop = 1;
        return NewFrameImpl::EnterMenuLoop(this, m_TimerID, m_nHotMenuBarItem);
    }
    LRESULT OnExitMenuLoop(WPARAM, LPARAM)
    {
        m_bInMenuLoop = 0;
        if (CNewMenu* pBar = CNewMenu::FromHandleNew(::GetMenu(this->m_hWnd)))
            pBar->OnMenuLoopEnded();
        return this->Default();
    }
    void OnTimer(UINT_PTR nIDEvent)
    {
        NewFrameImpl::OnTimer(this, nIDEvent, m_TimerID);
    }
    int OnCreate(LPCREATESTRUCT lpcs)
    {
        if (TBase::OnCreate(lpcs) == -1)
            return -1;
        // The main program's copy leaves the system menu as the system has it.
        if (GetMenuLibBuild() != MenuLibBuild::MainProgram && m_SystemNewMenu.m_hMenu == nullptr)
            m_SystemNewMenu.Attach(::GetSystemMenu(this->m_hWnd, FALSE));
        return 0;
    }
    void OnDestroy()
    {
        if (m_TimerID != 0)
        {
            this->KillTimer(m_TimerID);
            m_TimerID = 0;
        }
        TBase::OnDestroy();
        // The system destroys the system menu, and the menu bar the window
        // still has, with the window.
        m_SystemNewMenu.Detach();
        if (m_DefaultNewMenu.m_hMenu != nullptr && ::GetMenu(this->m_hWnd) == m_DefaultNewMenu.m_hMenu)
            m_DefaultNewMenu.Detach();
    }
};

template <class TBase>
const VaMsgMap* CNewFrame<TBase>::GetThisMessageMap()
{
    using ThisClass = CNewFrame<TBase>;
    using TheBaseClass = TBase;
    static const VaMsgMapEntry s_entries[] = {
        ON_WM_MEASUREITEM()
        ON_WM_DRAWITEM()
        ON_WM_MENUCHAR()
        ON_WM_INITMENUPOPUP()
        ON_MESSAGE(WM_ENTERMENULOOP, OnEnterMenuLoop)
        ON_MESSAGE(WM_EXITMENULOOP, OnExitMenuLoop)
        ON_WM_TIMER()
        ON_WM_CREATE()
        ON_WM_DESTROY()
        { 0, 0, 0, 0, nullptr, nullptr }
    };
    static const VaMsgMap s_map = { &TheBaseClass::GetThisMessageMap, s_entries };
    return &s_map;
}

//--- CNewFrameWnd
class CNewFrameWnd : public CNewFrame<CFrameWnd>
{
    DECLARE_DYNCREATE(CNewFrameWnd)
public:
    CNewFrameWnd();
    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* pParentWnd = nullptr) override;
};

//--- CNewMDIFrameWnd
class CNewMDIFrameWnd : public CNewFrame<CMDIFrameWnd>
{
    DECLARE_DYNAMIC(CNewMDIFrameWnd)
public:
    CNewMDIFrameWnd();
    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* pParentWnd = nullptr) override;
};

//--- CNewMDIChildWnd
class CNewMDIChildWnd : public CNewFrame<CMDIChildWnd>
{
    DECLARE_DYNCREATE(CNewMDIChildWnd)
};

//--- CNewMiniFrameWnd
class CNewMiniFrameWnd : public CNewFrame<CMiniFrameWnd>
{
    DECLARE_DYNCREATE(CNewMiniFrameWnd)
};

//--- CNewMiniDockFrameWnd
class CNewMiniDockFrameWnd : public CNewFrame<CMiniDockFrameWnd>
{
    DECLARE_DYNCREATE(CNewMiniDockFrameWnd)
};

//--- CNewMultiDocTemplate
class CNewMultiDocTemplate : public CMultiDocTemplate
{
    DECLARE_DYNAMIC(CNewMultiDocTemplate)
public:
    using CMultiDocTemplate::CMultiDocTemplate;
};

//--- CNewDialog
class CNewDialog : public CNewFrame<CDialog>
{
    DECLARE_DYNAMIC(CNewDialog)
public:
    CNewDialog() = default;
    explicit CNewDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

protected:
    // Updates the popup's command states through the dialog's routing before
    // the menu library converts it.
    void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);

    DECLARE_MESSAGE_MAP()
};

#endif // VA_MENULIB_NEWFRAME_H
