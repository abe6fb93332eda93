// The record of one tab, through which everything outside the tab sees it.
//
// Classes in this file:
//   CTabItem       the per-tab record (title, URL, group, options, history)
#ifndef VA_TAB_TABITEM_H
#define VA_TAB_TABITEM_H

#include <windows.h>

#include "framework/core/Collections.h"
#include "shared/RecordPool.h"
#include "tab/SavedHistory.h"

class CBrowserView;
class CTabGroup;
class CWnd;

// Close reasons (CTabItem::m_closeReason); compared as signed bytes.
enum TabCloseReason : signed char
{
    kCloseNone = 0,
    kCloseUnrecorded = 1,   // closed without joining the closed-tab list
    kCloseClosing = 2,      // closed by the user, a command or a script
    kClosePopup = 3,        // unrequested pop-up: closed at its first completed page
};

// Bits of CTabItem::m_flags.
enum TabItemFlag : DWORD
{
    kTabAutoReload = 0x1,
    kTabWheelLock = 0x2,
    kTabLinkLock = 0x4,
    kTabGroupClosing = 0x8,  // its whole group is being closed
};

// Tab images of the page tab bar.
enum TabImage : BYTE
{
    kTabImageInactive = 2,
    kTabImageActive = 4,
    kTabImageReload = 5,
};

//--- CTabItem
class CTabItem
{
public:
    CTabItem();
    virtual ~CTabItem();
    CTabItem(const CTabItem&) = delete;
    CTabItem& operator=(const CTabItem&) = delete;

    VA_POOLED_NEW(CTabItem, kPoolTabItem)

    // The tab is closing, or is a pop-up waiting to close.
    bool IsClosing() const { return m_closeReason > 0 || (m_flags & kTabGroupClosing) != 0; }
    // The back and forward lists, created when missing.
    SavedHistory& BackList();
    SavedHistory& ForwardList();

    HWND m_hFrame = nullptr;         // the tab id
    int m_reloadCountdown = 0;       // seconds to the next automatic reload
    int m_reloadPeriod = 0;          // seconds between automatic reloads
    DWORD m_pageOptions = 0;         // download-control word
    SavedHistory* m_pBack = nullptr;
    SavedHistory* m_pForward = nullptr;
    CBrowserView* m_pView = nullptr;
    CWnd* m_pFrame = nullptr;
    CString m_title;
    CString m_url;
    CTabGroup* m_pGroup = nullptr;
    BYTE m_insertHint = 0;
    signed char m_closeReason = kCloseNone;
    BYTE m_image = 0;
    DWORD m_flags = 0;
};

#endif // VA_TAB_TABITEM_H
