// The page tab bar: one item per tab of the current group, in list order.
// Each item carries its CTabItem; choosing an item activates that tab.
//
// Classes in this file:
//   CPageTabBar   the tab strip of the current group's tabs
#ifndef VA_BARS_PAGETABBAR_H
#define VA_BARS_PAGETABBAR_H

#include "bars/TabStripBar.h"

class CTabItem;

//--- CPageTabBar
class CPageTabBar : public CTabStripBar
{
public:
    CTabItem* GetTabAt(int index) const { return reinterpret_cast<CTabItem*>(GetItemParam(index)); }
    int FindTab(const CTabItem* tab) const { return FindItemParam(reinterpret_cast<LPARAM>(tab)); }
    // Inserts when index is at or past the end, else replaces the item.
    void SetPageItem(int index, CTabItem* tab);
    // Inserts at index, shifting the rest.
    void InsertPageItem(int index, CTabItem* tab);
    // Rewrites one item's text and image.
    void UpdateItem(int index, CTabItem* tab);
    void UpdateItemIcon(int index, CTabItem* tab);
    void RemoveTab(const CTabItem* tab);
    // Deletes every item from index on.
    void TruncateItems(int index);

    // A batch of changes: the bar is hidden until EndUpdate; an update that
    // is already running is left to its owner.
    BOOL BeginUpdate(CWnd* pOwner);
    void EndUpdate(CWnd* pOwner);
    BOOL IsUpdating() const { return m_pUpdateOwner != nullptr; }

protected:
    void OnSelChange(NMHDR* pNMHDR, LRESULT* pResult);
    void OnRightClick(NMHDR* pNMHDR, LRESULT* pResult);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    LRESULT OnMiddleButtonUp(WPARAM wParam, LPARAM lParam);
    // Tells the tab under the client point about a mouse action (0 double
    // click, 1 right click, 2 wheel click); FALSE when no tab is there.
    BOOL SendMouseAction(int action, POINT clientPoint);

    CWnd* m_pUpdateOwner = nullptr;
    BOOL m_bWasVisible = FALSE;

    DECLARE_MESSAGE_MAP()
};

#endif // VA_BARS_PAGETABBAR_H
