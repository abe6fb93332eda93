// The group tab bar: one item per tab group, in the application's list
// order; item data is the group, text its caption, image its icon. Clicks
// act on groups by the settings; dragging reorders groups or, dropped clear
// of the tabs, duplicates one with all its pages.
//
// Classes in this file:
//   CGroupTabBar   the tab strip of the groups
#ifndef VA_BARS_GROUPTABBAR_H
#define VA_BARS_GROUPTABBAR_H

#include "bars/TabBarCtrl.h"

class CTabGroup;

//--- CGroupTabBar
class CGroupTabBar : public CTabBarCtrl
{
public:
    static constexpr UINT kBarId = 42;
    static constexpr UINT kGroupMenuCommand = 36460;

    // flags 0x2: group icons. Destroys an earlier window first.
    virtual BOOL Create(CWnd* pParent, int flags, int position);
    TabBarOptions GetOptions() const override;

    CTabGroup* GetGroupAt(int index) const { return reinterpret_cast<CTabGroup*>(GetItemParam(index)); }
    int FindGroup(const CTabGroup* group) const { return FindItemParam(reinterpret_cast<LPARAM>(group)); }

    // Appends the group's item (the frame numbers and lists the group);
    // select: make it the selected item.
    virtual void AddGroup(CTabGroup* group, bool select);
    // index -1: the group's own item.
    virtual void UpdateGroupItem(CTabGroup* group, int index);
    virtual void UpdateGroupIcon(CTabGroup* group, int index);
    // Deletes the group's item only.
    virtual void RemoveGroup(CTabGroup* group);
    // TRUE when already selected; FALSE when the group has no item.
    virtual BOOL SelectGroup(CTabGroup* group);
    virtual BOOL IsCurrentGroup(const CTabGroup* group) const;
    virtual void RebuildFromGroupList();
    virtual int MoveItem(int from, int to);
    virtual void SelectPrevGroup();
    virtual void SelectNextGroup();
    // A copy of the group with all its pages, made current.
    virtual void DuplicateGroup(CTabGroup* group);
    virtual void PostGroupMenuCommand(int action);
    virtual void BuildGroupTooltip(CString& text, CTabGroup* group);
    virtual BOOL OnParentClick(const MSG* pMsg);

protected:
    bool BuildTooltip(int index, CString& text) override;
    bool FillItem(TCITEMA& item, CTabGroup* group, CString& text) const;
    // A click action (iTabmouseR_P, iTabmouseWC_P) on the group under point.
    void RunClickAction(int action, CPoint point);
    void Drop(CPoint point);

    void OnRButtonDown(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    LRESULT OnMButtonDown(WPARAM wParam, LPARAM lParam);
    void OnListCommand();

    DECLARE_MESSAGE_MAP()
};

#endif // VA_BARS_GROUPTABBAR_H
