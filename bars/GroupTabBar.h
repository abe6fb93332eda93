// The group tab bar: one item per tab group, in the application's list
// order. Choosing an item makes its group the current one.
//
// Classes in this file:
//   CGroupTabBar   the tab strip of the groups
#ifndef VA_BARS_GROUPTABBAR_H
#define VA_BARS_GROUPTABBAR_H

#include "bars/TabStripBar.h"

class CTabGroup;

//--- CGroupTabBar
class CGroupTabBar : public CTabStripBar
{
public:
    CTabGroup* GetGroupAt(int index) const { return reinterpret_cast<CTabGroup*>(GetItemParam(index)); }
    int FindGroup(const CTabGroup* group) const { return FindItemParam(reinterpret_cast<LPARAM>(group)); }
    void AddGroup(CTabGroup* group);
    // Rewrites the group's caption and image.
    void RefreshGroup(CTabGroup* group);
    void RemoveGroup(const CTabGroup* group);
    BOOL SelectGroup(const CTabGroup* group);
    BOOL IsCurrentGroup(const CTabGroup* group) const;

protected:
    void OnSelChange(NMHDR* pNMHDR, LRESULT* pResult);

    DECLARE_MESSAGE_MAP()
};

#endif // VA_BARS_GROUPTABBAR_H
