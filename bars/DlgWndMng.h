// The window-list popup: the pages of one tab group as a column of buttons
// beside a group tab, picked with the mouse or the keys. While it tracks,
// pointing at another group tab switches the list to that group and
// previews its tab as selected; the group bar's own selection comes back
// when it closes.
//
// Classes in this file:
//   CDlgWndMng   the popup (dialog 261) and its tracking loop
#ifndef VA_BARS_DLGWNDMNG_H
#define VA_BARS_DLGWNDMNG_H

#include "bars/BaseTabCtrl.h"
#include "framework/dialog/Dialog.h"
#include "framework/win/ImageList.h"

class CGroupTabBar;
class CTabGroup;
class IBarHost;

#define WM_WNDMNG_CLOSE 0x0465

//--- CDlgWndMng
class CDlgWndMng : public CDialog
{
public:
    static constexpr UINT kTemplateId = 261;
    static constexpr UINT kListId = 1214;
    static constexpr int kItemWidth = 300;
    static constexpr int kMaxTitleBytes = 50;

    BOOL OnInitDialog() override;
    // The group's pages (null: the active group); FALSE when there is no
    // page window or group, or, in plain mode, fewer than two pages.
    BOOL FillTabs(CTabGroup* group);
    // Shows the popup and runs its loop until it closes; FALSE unless in
    // hover mode.
    BOOL Track();
    void ActivateSelection();
    bool IsTracking() const { return m_tracking; }
    // The size the filled list needs.
    CSize GetListExtent() const;
    CDrawTabCtrl& GetList() { return m_strip; }

    bool m_hoverMode = false;
    IBarHost* m_pHost = nullptr;  // the frame's groups and its group tab bar

    // A key press while tracking (every key message is eaten).
    void OnKey(UINT vk);

protected:
    void MoveSelection(int step);
    void SwitchGroup(int step);
    void PreviewGroup(CTabGroup* group);
    void RestoreGroupSelection();
    // Ends the tracking: the capture goes and the list hides.
    void EndTracking();
    void Close() { PostMessage(WM_WNDMNG_CLOSE); }
    CTabGroup* GetListedGroup() const;
    // The host's group tab bar while it has its window, else null.
    CGroupTabBar* GroupBar() const;
    LRESULT OnMouse(UINT nMsg, WPARAM wParam, LPARAM lParam);

    LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override;
    void OnOK() override {}
    void OnCancel() override {}

    CImageList m_images;
    bool m_overStrip = false;
    int m_lastX = 0, m_lastY = 0;
    int m_savedGroupSel = -1;
    CDrawTabCtrl m_strip;
    bool m_tracking = false;
};

#endif // VA_BARS_DLGWNDMNG_H
