// The page tab bar: one item per page of the current group, in list order;
// item data is the page's CTabItem, text its title, image its status icon.
// The frame writes the items; the bar reports selection, drags (reorder,
// onto a group tab, clear of the tabs to reopen) and clicks, which it sends
// to the page's frame as WM_TAB_MOUSECLICK.
//
// Classes in this file:
//   CPageTabBar   the tab strip of the current group's pages
#ifndef VA_BARS_PAGETABBAR_H
#define VA_BARS_PAGETABBAR_H

#include "bars/TabBarCtrl.h"

class CTabItem;

//--- CPageTabBar
class CPageTabBar : public CTabBarCtrl
{
public:
    static constexpr UINT kBarId = 43;

    // flags 0x2: status icons. Destroys an earlier window first.
    virtual BOOL Create(CWnd* pParent, int flags, int position);
    TabBarOptions GetOptions() const override;

    CTabItem* GetTabAt(int index) const { return reinterpret_cast<CTabItem*>(GetItemParam(index)); }
    int FindTab(const CTabItem* tab) const { return FindItemParam(reinterpret_cast<LPARAM>(tab)); }

    // Item operations of the frame; each does nothing with bTabShow off.
    virtual void RebuildFromActiveGroup();
    // Inserts at or past the end, else rewrites the whole item at index
    // (its page included).
    void SetPageItem(CTabItem* tab, int index);
    virtual void InsertPageItem(CTabItem* tab, int index);
    virtual void UpdatePageItem(CTabItem* tab, int index);
    virtual void UpdateItemIcon(CTabItem* tab, int index);
    virtual void RemovePageItem(CTabItem* tab, int index);
    // Deletes every item from index on.
    void TruncateItems(int index);
    // Moves the item and its page in the group's list; 1 when from == to.
    virtual int MoveItem(int from, int to);

    // A batch of changes: the bar is hidden and the frame not laid out
    // until its owner ends it; the end shows it, lays the frame out again
    // and scrolls a column to the selected item.
    BOOL BeginUpdate(CWnd* pOwner);
    void EndUpdate(CWnd* pOwner);
    BOOL IsUpdating() const { return m_pUpdateOwner != nullptr; }

    // A click the frame saw over the bar's empty part; TRUE when taken.
    virtual BOOL OnParentClick(const MSG* pMsg);

protected:
    bool BuildTooltip(int index, CString& text) override;
    // The item's fields from its page; false without bTabShow.
    bool FillItem(TCITEMA& item, CTabItem* tab, CString& text) const;
    // The item's frame is the top MDI child.
    bool IsTopFrame(const CTabItem* tab) const;
    void ActivatePage(CTabItem* tab);
    void SendMouseClick(int action, CPoint point);
    void Drop(CPoint point);
    bool DropOnGroupBar(CPoint screen, CTabItem* tab);

    void OnContextMenu(CWnd* pWnd, CPoint point);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnRButtonDown(UINT nFlags, CPoint point);
    LRESULT OnMButtonDown(WPARAM wParam, LPARAM lParam);

    CWnd* m_pUpdateOwner = nullptr;
    HWND m_hMdiClient = nullptr;

    DECLARE_MESSAGE_MAP()
};

#endif // VA_BARS_PAGETABBAR_H
