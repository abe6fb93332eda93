#include "bars/GroupTabBar.h"

#include <commctrl.h>

#include "app/MainFrame.h"
#include "app/TabGroup.h"

BEGIN_MESSAGE_MAP(CGroupTabBar, CTabStripBar)
    ON_NOTIFY_REFLECT(TCN_SELCHANGE, OnSelChange)
END_MESSAGE_MAP()

void CGroupTabBar::AddGroup(CTabGroup* group)
{
    TCITEMA item = {};
    item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_PARAM;
    item.pszText = const_cast<LPSTR>(static_cast<LPCSTR>(group->m_caption));
    item.iImage = group->m_image;
    item.lParam = reinterpret_cast<LPARAM>(group);
    SendMessage(TCM_INSERTITEMA, static_cast<WPARAM>(GetItemCount()), reinterpret_cast<LPARAM>(&item));
}

void CGroupTabBar::RefreshGroup(CTabGroup* group)
{
    int index = FindGroup(group);
    if (index < 0)
        return;
    TCITEMA item = {};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = const_cast<LPSTR>(static_cast<LPCSTR>(group->m_caption));
    item.iImage = group->m_image;
    SendMessage(TCM_SETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void CGroupTabBar::RemoveGroup(const CTabGroup* group)
{
    DeleteItemWithParam(reinterpret_cast<LPARAM>(group));
}

BOOL CGroupTabBar::SelectGroup(const CTabGroup* group)
{
    int index = FindGroup(group);
    if (index < 0)
        return FALSE;
    SetCurSel(index);
    return TRUE;
}

BOOL CGroupTabBar::IsCurrentGroup(const CTabGroup* group) const
{
    int index = GetCurSel();
    return index >= 0 && GetGroupAt(index) == group;
}

void CGroupTabBar::OnSelChange(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    CTabGroup* group = GetGroupAt(GetCurSel());
    if (group != nullptr && g_pMainFrame != nullptr)
        g_pMainFrame->OnGroupTabSelected(group);
}
