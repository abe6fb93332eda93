// The multiple-document frames over the system's MDI client.
//
// Classes in this file:
//   CMDIFrameWnd   the top-level frame; its client is the real MDICLIENT
//   CMDIChildWnd   a frame inside the MDI client
#ifndef VA_FRAMEWORK_FRAME_MDIFRAMEWND_H
#define VA_FRAMEWORK_FRAME_MDIFRAMEWND_H

#include "framework/frame/FrameWnd.h"

class CMDIChildWnd;

//--- CMDIFrameWnd
class CMDIFrameWnd : public CFrameWnd
{
    DECLARE_DYNAMIC(CMDIFrameWnd)

public:
    CMDIFrameWnd() = default;

    // Creates the MDI client (child id AFX_IDW_PANE_FIRST, so the layout gives
    // it the room left by the bars). hWindowMenu: the popup the system lists
    // the child windows in; null for no list.
    virtual BOOL CreateClient(LPCREATESTRUCT lpCreateStruct, HMENU hWindowMenu);

    CMDIChildWnd* MDIGetActive(BOOL* pbMaximized = nullptr) const;
    void MDIActivate(CWnd* pWndActivate);
    void MDINext() { ::SendMessageA(m_hWndMDIClient, WM_MDINEXT, 0, 0); }
    void MDIPrev() { ::SendMessageA(m_hWndMDIClient, WM_MDINEXT, 0, 1); }
    void MDIMaximize(CWnd* pWnd);
    void MDIRestore(CWnd* pWnd);
    // Returns the previous frame menu.
    HMENU MDISetMenu(HMENU hFrameMenu, HMENU hWindowMenu);

    CFrameWnd* GetActiveFrame() override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, VaCmdHandlerInfo* pHandlerInfo) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    HWND m_hWndMDIClient = nullptr;

protected:
    // Creates the client with no window menu.
    BOOL OnCreateClient(LPCREATESTRUCT lpcs) override;
};

//--- CMDIChildWnd
class CMDIChildWnd : public CFrameWnd
{
    DECLARE_DYNAMIC(CMDIChildWnd)

public:
    CMDIChildWnd() = default;

    // Created through WM_MDICREATE invisible and not maximized; when
    // WS_VISIBLE was asked for it is then shown as the style says
    // (WS_MINIMIZE, WS_MAXIMIZE or normal) and activated.
    BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName,
                DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                const RECT& rect = rectDefault, CMDIFrameWnd* pParentWnd = nullptr);
    // Title, icon class and accelerators of one resource id; the menu is
    // the MDI frame's.
    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                   CWnd* pParentWnd = nullptr) override;
    // Destroys through the MDI client (WM_MDIDESTROY).
    BOOL DestroyWindow() override;

    CMDIFrameWnd* GetMDIFrame() const;
    void MDIDestroy() { ::SendMessageA(::GetParent(m_hWnd), WM_MDIDESTROY, reinterpret_cast<WPARAM>(m_hWnd), 0); }
    void MDIActivate() { ::SendMessageA(::GetParent(m_hWnd), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(m_hWnd), 0); }
    void MDIMaximize() { ::SendMessageA(::GetParent(m_hWnd), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(m_hWnd), 0); }
    void MDIRestore() { ::SendMessageA(::GetParent(m_hWnd), WM_MDIRESTORE, reinterpret_cast<WPARAM>(m_hWnd), 0); }

    // -1 keeps a maximized state of the previous active child.
    void ActivateFrame(int nCmdShow = -1) override;
    // The view, then this frame; the MDI frame goes on to the application.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, VaCmdHandlerInfo* pHandlerInfo) override;
    // This frame's accelerators, translated for the MDI frame window.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
};

#endif // VA_FRAMEWORK_FRAME_MDIFRAMEWND_H
