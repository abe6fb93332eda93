// The popup-menu window hook: a thread hook that subclasses every popup-menu
// window ("#32768") so that the current draw mode paints its frame,
// background and shadow.
#ifndef VA_MENULIB_MENUHOOK_H
#define VA_MENULIB_MENUHOOK_H

#include "framework/app/FaultGuard.h"
#include "framework/win/WinDefs.h"

// The message a popup-menu window gets when it is shown again.
const UINT kMsgMenuShown = 0x01E2;

// Bits of MenuPopupRecord::flags.
enum MenuPopupFlags : DWORD
{
    kPopupSubclassedWhenShown = 0x1,
    kPopupBorderRemoved = 0x2,
    kPopupClosedWithEsc = 0x4,
};

// One subclassed popup window.
struct MenuPopupRecord
{
    DWORD style = 0;
    DWORD exStyle = 0;
    int x = 0;
    int y = 0;
    DWORD flags = 0;
    int paintOwnFrame = 1;
    HMENU hOwnerMenu = nullptr;
};

// The popup-menu hook's work (a WH_CALLWNDPROC hook, AfxSetGuardedHook).
LRESULT NewMenuHookProc(int nCode, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK MenuWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
BOOL SubclassMenuWindow(HWND hWnd, BOOL bShown);
void UnsubclassMenuWindow(HWND hWnd);

// Installs the hook on the calling thread; FALSE when the system refuses.
BOOL InstallMenuHook();
// Releases every subclassed window, then removes the hook.
void RemoveMenuHook();
BOOL IsMenuHookInstalled();

// While a pause lasts the hook is off, so that making many windows at once
// (a settings page and its controls) does not pay the system's hook call on
// every message they get. A popup-menu window created meanwhile turns the
// hook back on before its first message, so it is subclassed on its
// WM_CREATE as ever. Pauses nest; without the hook a pause does nothing.
// A pause ends with its scope, or with a fault that breaks the scope off.
class CMenuHookPause
{
public:
    CMenuHookPause();
    CMenuHookPause(const CMenuHookPause&) = delete;
    CMenuHookPause& operator=(const CMenuHookPause&) = delete;

private:
    static void End(const ULONG_PTR* data);
    CFaultHold m_hold;
};

MenuPopupRecord* FindMenuPopupRecord(HWND hWnd);
size_t GetMenuPopupRecordCount();

// The shadow band along the right and bottom edge of a w x h window whose
// screen position is (x, y).
void DrawMenuShadow(HDC hDC, int x, int y, int w, int h);
void JoinPopupToMenuBar(HDC hDC, const MenuPopupRecord& record, int w, int h);

#endif // VA_MENULIB_MENUHOOK_H
