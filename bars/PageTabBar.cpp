#include "bars/PageTabBar.h"

#include <commctrl.h>
#include <windowsx.h>

#include "tab/ChildFrame.h"
#include "tab/TabItem.h"

namespace {

void FillItem(TCITEMA& item, CTabItem* tab)
{
    item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_PARAM;
    item.pszText = const_cast<LPSTR>(static_cast<LPCSTR>(tab->m_title));
    item.iImage = tab->m_image;
    item.lParam = reinterpret_cast<LPARAM>(tab);
}

} // namespace

BEGIN_MESSAGE_MAP(CPageTabBar, CTabStripBar)
    ON_WM_LBUTTONDBLCLK()
    ON_MESSAGE(WM_MBUTTONUP, OnMiddleButtonUp)
    ON_NOTIFY_REFLECT(TCN_SELCHANGE, OnSelChange)
    ON_NOTIFY_REFLECT(NM_RCLICK, OnRightClick)
END_MESSAGE_MAP()

void CPageTabBar::SetPageItem(int index, CTabItem* tab)
{
    if (index >= GetItemCount())
        InsertPageItem(index, tab);
    else
        UpdateItem(index, tab);
}

void CPageTabBar::InsertPageItem(int index, CTabItem* tab)
{
    TCITEMA item = {};
    FillItem(item, tab);
    SendMessage(TCM_INSERTITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void CPageTabBar::UpdateItem(int index, CTabItem* tab)
{
    TCITEMA item = {};
    FillItem(item, tab);
    SendMessage(TCM_SETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void CPageTabBar::UpdateItemIcon(int index, CTabItem* tab)
{
    TCITEMA item = {};
    item.mask = TCIF_IMAGE;
    item.iImage = tab->m_image;
    SendMessage(TCM_SETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void CPageTabBar::RemoveTab(const CTabItem* tab)
{
    DeleteItemWithParam(reinterpret_cast<LPARAM>(tab));
}

void CPageTabBar::TruncateItems(int index)
{
    for (int i = GetItemCount() - 1; i >= index && i >= 0; --i)
        SendMessage(TCM_DELETEITEM, static_cast<WPARAM>(i));
}

BOOL CPageTabBar::BeginUpdate(CWnd* pOwner)
{
    if (m_pUpdateOwner != nullptr)
        return FALSE;
    m_pUpdateOwner = pOwner;
    m_bWasVisible = IsWindowVisible();
    if (m_bWasVisible)
        ShowWindow(SW_HIDE);
    return TRUE;
}

void CPageTabBar::EndUpdate(CWnd* pOwner)
{
    if (m_pUpdateOwner == nullptr || m_pUpdateOwner != pOwner)
        return;
    m_pUpdateOwner = nullptr;
    if (m_bWasVisible)
        ShowWindow(SW_SHOWNA);
}

void CPageTabBar::OnSelChange(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    CTabItem* tab = GetTabAt(GetCurSel());
    HWND client = ::GetParent(tab != nullptr ? tab->m_hFrame : nullptr);
    if (tab != nullptr && ::IsWindow(tab->m_hFrame) && client != nullptr)
        ::SendMessageA(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(tab->m_hFrame), 0);
}

BOOL CPageTabBar::SendMouseAction(int action, POINT clientPoint)
{
    TCHITTESTINFO hit = {};
    hit.pt = clientPoint;
    int index = static_cast<int>(SendMessage(TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    CTabItem* tab = index >= 0 ? GetTabAt(index) : nullptr;
    if (tab == nullptr || !::IsWindow(tab->m_hFrame))
        return FALSE;
    POINT screen = clientPoint;
    ClientToScreen(&screen);
    ::SendMessageA(tab->m_hFrame, WM_TAB_MOUSECLICK, static_cast<WPARAM>(action),
                   MAKELPARAM(screen.x, screen.y));
    return TRUE;
}

void CPageTabBar::OnRightClick(NMHDR*, LRESULT* pResult)
{
    POINT point = {};
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    *pResult = SendMouseAction(1, point) ? 1 : 0;
}

void CPageTabBar::OnLButtonDblClk(UINT, CPoint point)
{
    if (!SendMouseAction(0, point))
        Default();
}

LRESULT CPageTabBar::OnMiddleButtonUp(WPARAM, LPARAM lParam)
{
    POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (!SendMouseAction(2, point))
        return Default();
    return 0;
}
