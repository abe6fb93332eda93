/*
 * Resource ids of the main program: the main frame's menu, accelerator
 * table, icon and title string, its dialogs and popup menus. The command ids
 * their items carry, and the resources the bars load themselves, are in the
 * shared header included here. Plain C preprocessor text, read by windres
 * and by the C++ sources.
 */
#ifndef VA_APP_RESOURCE_H
#define VA_APP_RESOURCE_H

#include "shared/CommandIds.h"

/* Menu, accelerators, icon and title string of the main frame. */
#define IDR_MAINFRAME                   128
/* The icon of a tab's frame window class. */
#define IDI_TABFRAME                    129
/* Drop-down menus of the main toolbar's buttons: new tab (32790), find
   (36288), settings with the proxy list (32772), auto-reload (1044). */
#define IDR_MENU_NEWTAB                 157
#define IDR_MENU_FIND                   158
#define IDR_MENU_PROXY                  173
#define IDR_MENU_RELOAD                 177
/* The busy dialog, its animation and its text. */
#define IDD_BUSY                        144
#define IDC_BUSY_ANIMATION              1048
#define IDC_BUSY_TEXT                   1006
/* The window-list popup and its list. */
#define IDD_WNDMNG                      261
#define IDC_WNDMNG_LIST                 1214
/* The tab's context menu. */
#define IDR_TABMENU                     160
/* The page's context menu over a text selection: submenu 4 plug-ins,
   5 scripts, 9 search engines. */
#define IDR_PAGEMENU                    155
/* The favorites tree pane: a child dialog holding the tree 1234, and the
   context menu of its entries. */
#define IDD_FAVTREE                     271
#define IDC_FAVTREE                     1234
#define IDR_FAVTREEMENU                 273
#define ID_FAVTREE_OPEN                 100
#define ID_FAVTREE_OPENNEWTAB           101
/* The popup that scripts fill with their own items (WM_FRAME_SHOWMENU). */
#define IDR_SCRIPTMENU                  266
/* The back and forward history popups and the group tab menu. */
#define IDR_GROUPTABMENU                258
#define IDR_BACKHISTORYMENU             152
#define IDR_FORWARDHISTORYMENU          153

#endif /* VA_APP_RESOURCE_H */
