// The group tab bar: one item per tab group, in the application's list
// order. Choosing an item makes its group the current one.
//
// Classes in this file:
//   CGroupTabBar   the tab strip of the groups
#ifndef VA_BARS_GROUPTABBAR_H
#define VA_BARS_GROUPTABBAR_H

#include "framework/frame/ControlBar.h"

class CTabGroup;

//--- CGroupTabBar
class CGroupTabBar : public CControlBar
{
public:
    BOOL Create(CWnd* pParentWnd, UINT nID);

    int GetItemCount() const { return static_cast<int>(::SendMessageA(m_hWnd, TCM_GETITEMCOUNT, 0, 0)); }
    CTabGroup* GetGroupAt(int index) const;
    int FindGroup(const CTabGroup* group) const;
    void AddGroup(CTabGroup* group);
    // Rewrites the group's caption and image.
    void RefreshGroup(CTabGroup* group);
    void RemoveGroup(const CTabGroup* group);
    BOOL SelectGroup(const CTabGroup* group);
    BOOL IsCurrentGroup(const CTabGroup* group) const;
    void DeleteAllItems() { SendMessage(TCM_DELETEALLITEMS); }

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;

protected:
    void OnSelChange(NMHDR* pNMHDR, LRESULT* pResult);

    DECLARE_MESSAGE_MAP()
};

#endif // VA_BARS_GROUPTABBAR_H
