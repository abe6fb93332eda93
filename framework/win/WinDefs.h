// The Windows headers as the framework's Windows layer includes them, and the
// framework's own message numbers, command ids, window ids and styles.
//
// The numbers are the ones the system's code and resources name: private
// framework messages in 0x0360-0x037F, standard command ids 0xE100-0xE1FF
// (file 0xE100, app 0xE140), bar ids 0xE800-0xE8FF, pane ids from 0xE900.
#ifndef VA_FRAMEWORK_WIN_WINDEFS_H
#define VA_FRAMEWORK_WIN_WINDEFS_H

#include <windows.h>
#include <commctrl.h>

#include "framework/core/Types.h"

// Signed coordinates of mouse messages (<windowsx.h> is not included: its
// macros, such as SubclassWindow, take names the framework's classes use).
#ifndef GET_X_LPARAM
#define GET_X_LPARAM(lp) (static_cast<int>(static_cast<short>(LOWORD(lp))))
#define GET_Y_LPARAM(lp) (static_cast<int>(static_cast<short>(HIWORD(lp))))
#endif

// Framework messages.
#define WM_SIZEPARENT         0x0361  // lParam: AFX_SIZEPARENTPARAMS*
#define WM_SETMESSAGESTRING   0x0362  // wParam: string id, or lParam: text
#define WM_IDLEUPDATECMDUI    0x0363  // wParam: disable items without handler
#define WM_INITIALUPDATE      0x0364
#define WM_KICKIDLE           0x036A  // a modal loop's idle turn; wParam MSGF_, lParam count
#define WM_ACTIVATETOPLEVEL   0x036E  // wParam: WA_ state | minimized << 16
#ifndef WM_SYSTIMER
#define WM_SYSTIMER           0x0118  // caret blink; never resets idle
#endif

// Flags of CWnd::RunModalLoop.
#define MLF_NOIDLEMSG         0x0001  // no WM_ENTERIDLE to the parent
#define MLF_NOKICKIDLE        0x0002  // no WM_KICKIDLE to the window
#define MLF_SHOWONIDLE        0x0004  // show the window when the queue first empties

// Reflected child notifications arrive at the child as this base plus the
// original message number.
#define WM_REFLECT_BASE       0xBC00
// The one reflected message for all WM_CTLCOLORxxx (lParam: which).
#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR           0x0019
#endif

// Command codes of the routing: a menu or accelerator command, and a query
// for a command's state.
#define CN_COMMAND            0
#define CN_UPDATE_COMMAND_UI  ((UINT)-1)

// Standard command ids.
#define ID_SEPARATOR          0
#define ID_FILE_NEW           0xE100  // 57600
#define ID_FILE_OPEN          0xE101  // 57601
#define ID_FILE_CLOSE         0xE102
#define ID_FILE_SAVE          0xE103
#define ID_EDIT_FIND          0xE124  // 57636
#define ID_APP_ABOUT          0xE140  // 57664
#define ID_APP_EXIT           0xE141  // 57665
#define AFX_IDS_IDLEMESSAGE   0xE001

// Window ids of frame children.
#define AFX_IDW_CONTROLBAR_FIRST 0xE800
#define AFX_IDW_CONTROLBAR_LAST  0xE8FF
#define AFX_IDW_TOOLBAR          0xE800  // 59392
#define AFX_IDW_STATUS_BAR       0xE801  // 59393
#define AFX_IDW_PANE_FIRST       0xE900  // the view, or the MDI client
#define AFX_IDW_DOCKBAR_TOP      0xE81B  // 59419
#define AFX_IDW_DOCKBAR_LEFT     0xE81C  // 59420
#define AFX_IDW_DOCKBAR_RIGHT    0xE81D  // 59421
#define AFX_IDW_DOCKBAR_BOTTOM   0xE81E  // 59422
#define AFX_IDW_DOCKBAR_FLOAT    0xE81F  // 59423
#define AFX_IDM_FIRST_MDICHILD   0xFF00  // ids of the MDI window list

// One layout pass of a frame (WM_SIZEPARENT): each child in Z-order takes
// its part of rect and moves itself through hDWP (null after a failed
// DeferWindowPos: windows are then moved at once).
struct AFX_SIZEPARENTPARAMS
{
    HDWP hDWP;
    RECT rect;        // what is still free
    SIZE sizeTotal;   // what the bars took
    BOOL bStretch;    // bars span the free width or height
};

// Flags of CControlBar::CalcDynamicLayout.
#define LM_STRETCH   0x01  // span the given length
#define LM_HORZ      0x02  // horizontal, else vertical
#define LM_MRUWIDTH  0x04  // the most recently used floating width
#define LM_HORZDOCK  0x08  // docked on a top or bottom side
#define LM_VERTDOCK  0x10  // docked on a left or right side
#define LM_LENGTHY   0x20  // nLength is a height, else a width
#define LM_COMMIT    0x40  // this is the final layout: move what depends on it

// Frame window styles, in the class-specific low word of the window style.
#define FWS_ADDTOTITLE        0x00008000L
#define FWS_PREFIXTITLE       0x00004000L

// Control-bar styles, in the low word of a bar's create style; the window
// itself never receives them.
#define CBRS_ALIGN_LEFT       0x1000L
#define CBRS_ALIGN_TOP        0x2000L
#define CBRS_ALIGN_RIGHT      0x4000L
#define CBRS_ALIGN_BOTTOM     0x8000L
#define CBRS_ALIGN_ANY        0xF000L
#define CBRS_BORDER_LEFT      0x0100L
#define CBRS_BORDER_TOP       0x0200L
#define CBRS_BORDER_RIGHT     0x0400L
#define CBRS_BORDER_BOTTOM    0x0800L
#define CBRS_BORDER_ANY       0x0F00L
#define CBRS_BORDER_3D        0x0080L  // the same bit as CBRS_SIZE_DYNAMIC
#define CBRS_TOOLTIPS         0x0010L
#define CBRS_FLYBY            0x0020L
#define CBRS_FLOAT_MULTI      0x0040L
#define CBRS_SIZE_DYNAMIC     0x0080L
#define CBRS_HIDE_INPLACE     0x0008L
#define CBRS_SIZE_FIXED       0x0004L
#define CBRS_FLOATING         0x0001L
#define CBRS_TOP              (CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM)
#define CBRS_BOTTOM           (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP)
#define CBRS_ALL              0x0040FFFFL
#define CBRS_GRIPPER          0x00400000L

// Status-bar pane styles.
#define SBPS_NORMAL           0x0000
#define SBPS_NOBORDERS        SBT_NOBORDERS  // 0x0100
#define SBPS_POPOUT           SBT_POPOUT     // 0x0200
#define SBPS_OWNERDRAW        SBT_OWNERDRAW  // 0x1000
#define SBPS_DISABLED         0x04000000
#define SBPS_STRETCH          0x08000000

// The system's version as it reports itself (major, minor, build, platform,
// service-pack text).
inline OSVERSIONINFOA AfxGetVersionInfo()
{
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    ::GetVersionExA(&info);
#pragma GCC diagnostic pop
    return info;
}

#endif // VA_FRAMEWORK_WIN_WINDEFS_H
