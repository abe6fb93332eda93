#include "bars/GroupTabBar.h"

#include <commctrl.h>

#include "app/MainFrame.h"
#include "app/TabGroup.h"

namespace {

const int kBarHeight = 24;

} // namespace

BEGIN_MESSAGE_MAP(CGroupTabBar, CControlBar)
    ON_NOTIFY_REFLECT(TCN_SELCHANGE, OnSelChange)
END_MESSAGE_MAP()

BOOL CGroupTabBar::Create(CWnd* pParentWnd, UINT nID)
{
    CRect rect(0, 0, 100, kBarHeight);
    return CreateBar(0, WC_TABCONTROLA, pParentWnd, WS_VISIBLE | CBRS_TOP, nID,
                     TCS_FOCUSNEVER | TCS_SINGLELINE, rect);
}

CSize CGroupTabBar::CalcFixedLayout(BOOL, BOOL)
{
    return CSize(32767, kBarHeight);
}

CTabGroup* CGroupTabBar::GetGroupAt(int index) const
{
    TCITEMA item = {};
    item.mask = TCIF_PARAM;
    if (!::SendMessageA(m_hWnd, TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)))
        return nullptr;
    return reinterpret_cast<CTabGroup*>(item.lParam);
}

int CGroupTabBar::FindGroup(const CTabGroup* group) const
{
    for (int i = 0, n = GetItemCount(); i < n; ++i)
        if (GetGroupAt(i) == group)
            return i;
    return -1;
}

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
    int index = FindGroup(group);
    if (index >= 0)
        SendMessage(TCM_DELETEITEM, static_cast<WPARAM>(index));
}

BOOL CGroupTabBar::SelectGroup(const CTabGroup* group)
{
    int index = FindGroup(group);
    if (index < 0)
        return FALSE;
    SendMessage(TCM_SETCURSEL, static_cast<WPARAM>(index));
    return TRUE;
}

BOOL CGroupTabBar::IsCurrentGroup(const CTabGroup* group) const
{
    int index = static_cast<int>(::SendMessageA(m_hWnd, TCM_GETCURSEL, 0, 0));
    return index >= 0 && GetGroupAt(index) == group;
}

void CGroupTabBar::OnSelChange(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    int index = static_cast<int>(SendMessage(TCM_GETCURSEL));
    CTabGroup* group = GetGroupAt(index);
    if (group != nullptr && g_pMainFrame != nullptr)
        g_pMainFrame->OnGroupTabSelected(group);
}
