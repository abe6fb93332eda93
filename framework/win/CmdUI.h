// CCmdUI: the state of one command's user-interface item, as its update
// handler (ON_UPDATE_COMMAND_UI) sets it: a menu item, or a bar's item.
//
// Updates run through the same command routing as the commands themselves.
// An item whose update handler does not call Enable is enabled exactly when
// some target has a command handler for it (when the updater asks for that).
#ifndef VA_FRAMEWORK_WIN_CMDUI_H
#define VA_FRAMEWORK_WIN_CMDUI_H

#include "framework/win/WinDefs.h"

class CCmdTarget;
class CMenu;
class CWnd;

class CCmdUI
{
public:
    CCmdUI() = default;
    virtual ~CCmdUI() = default;
    CCmdUI(const CCmdUI&) = delete;
    CCmdUI& operator=(const CCmdUI&) = delete;

    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1);  // 0 clear, 1 checked
    virtual void SetRadio(BOOL bOn = TRUE);
    virtual void SetText(LPCSTR lpszText);

    // Asks pTarget's routing for the update handler; with
    // bDisableIfNoHandler an item nobody handles is disabled.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHandler);

    UINT m_nID = 0;
    UINT m_nIndex = 0;              // position of the item in m_pMenu
    UINT m_nIndexMax = 0;
    CMenu* m_pMenu = nullptr;       // the menu being updated
    CMenu* m_pSubMenu = nullptr;    // a popup item's submenu (m_nID is its first id)
    CWnd* m_pOther = nullptr;       // a window standing for the item, when not a menu
    BOOL m_bEnableChanged = FALSE;  // Enable was called during the update
};

// Updates every item of a popup menu through pTarget's routing, as the frame
// does on WM_INITMENUPOPUP. A popup item's update handlers run with the first
// id of its submenu, but the popup item is never enabled or disabled by them
// (nor for want of a handler): its own items are updated when it opens. System commands (0xF000 and up) are never auto-disabled.
void AfxUpdateMenuItems(CCmdTarget* pTarget, CMenu* pPopupMenu, BOOL bAutoMenuEnable);

#endif // VA_FRAMEWORK_WIN_CMDUI_H
