#include "bars/PageTabBar.h"

#include <algorithm>

#include "bars/BarHost.h"
#include "bars/GroupTabBar.h"
#include "framework/win/RedrawGuard.h"
#include "shared/AppSettings.h"
#include "tab/ChildFrame.h"
#include "tab/TabGroup.h"
#include "tab/TabItem.h"

namespace {

const int kStatusImages = 13;
const int kTipPartBytes = 40;

// Addresses a drop clear of the tabs opens again: the listed schemes, a
// drive path or a network path.
bool IsReopenableUrl(const CString& url)
{
    static const char* const kSchemes[] = {
        "http://", "https://", "ftp://", "file://", "mailto:", "news:", "nntp://", "prospero://",
        "telnet://", "wais://", "ms-help://", "gopher://", "about:", "mk:@",
    };
    CString head = url.Left(11);
    for (const char* scheme : kSchemes)
        if (head.Find(scheme) == 0)
            return true;
    return (url.GetLength() >= 3 && url[1] == ':' && url[2] == '\\') || url.Left(2) == "\\\\";
}

} // namespace

BEGIN_MESSAGE_MAP(CPageTabBar, CTabBarCtrl)
    ON_WM_CONTEXTMENU()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_MESSAGE(WM_MBUTTONDOWN, OnMButtonDown)
END_MESSAGE_MAP()

TabBarOptions CPageTabBar::GetOptions() const
{
    const SettingsRecord& s = AppSettings();
    TabBarOptions options;
    options.show = s.bTabShow();
    options.oldStyle = s.bOldStyle();
    options.buttons = s.bTabButton();
    options.multiLine = s.bMLine();
    options.fixedWidth = s.bTabWidth();
    options.itemWidth = s.iFixedWidth;
    options.maxText = s.iTabStrLen;
    options.position = s.iTabTop;
    return options;
}

BOOL CPageTabBar::Create(CWnd* pParent, int flags, int position)
{
    if (IsWindow())
        DestroyWindow();
    if (position == kLeftColumn || position == kRightColumn)
    {
        SettingsRecord& s = AppSettings();
        s.bTabButton(true);
        s.bMLine(true);
        s.bTabWidth(true);
    }
    if (!CreateStrip(pParent, flags, position, kBarId, ::GetSysColor(COLOR_BTNFACE), 29, "progress_status.bmp",
                     kStatusImages))
        return FALSE;
    m_hMdiClient = nullptr;
    for (HWND hChild = ::GetWindow(pParent->m_hWnd, GW_CHILD); hChild != nullptr;
         hChild = ::GetWindow(hChild, GW_HWNDNEXT))
    {
        char name[33] = "";
        ::GetClassNameA(hChild, name, sizeof(name));
        if (::lstrcmpiA(name, "MDIClient") == 0)
        {
            m_hMdiClient = hChild;
            break;
        }
    }
    if (m_hMdiClient == nullptr)
        return FALSE;
    // Last of the bars in the layout pass, just before the pages.
    ::SetWindowPos(m_hWnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::SetWindowPos(m_hMdiClient, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    CTabGroup* group = m_pHost != nullptr ? m_pHost->GetActiveGroup() : nullptr;
    if (m_pScrollBar != nullptr)
        m_pScrollBar->SetScrollRange(0, group != nullptr ? std::max(group->GetTabCount() - 1, 0) : 2);
    return TRUE;
}

//--- Items

bool CPageTabBar::FillItem(TCITEMA& item, CTabItem* tab, CString& text) const
{
    if (tab == nullptr || !AppSettings().bTabShow())
        return false;
    text = MakeItemText(tab->m_title);
    item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_PARAM;
    item.pszText = const_cast<LPSTR>(static_cast<LPCSTR>(text));
    item.iImage = tab->m_image;
    item.lParam = reinterpret_cast<LPARAM>(tab);
    return true;
}

bool CPageTabBar::IsTopFrame(const CTabItem* tab) const
{
    if (tab == nullptr || m_hMdiClient == nullptr)
        return false;
    HWND hTop = reinterpret_cast<HWND>(::SendMessageA(m_hMdiClient, WM_MDIGETACTIVE, 0, 0));
    return hTop != nullptr && hTop == tab->m_hFrame;
}

void CPageTabBar::RebuildFromActiveGroup()
{
    RedrawGuard redraw(m_hWnd);
    DeleteAllItems();
    CTabGroup* group = m_pHost != nullptr ? m_pHost->GetActiveGroup() : nullptr;
    if (group != nullptr)
        for (int i = 0; i < group->GetTabCount(); ++i)
            InsertPageItem(group->GetTab(i), i);
    if (IsColumn())
        SetScrollRange(GetItemCount());
}

void CPageTabBar::SetPageItem(CTabItem* tab, int index)
{
    if (index >= GetItemCount())
        InsertPageItem(tab, index);
    else
        UpdatePageItem(tab, index);
}

void CPageTabBar::InsertPageItem(CTabItem* tab, int index)
{
    TCITEMA item = {};
    CString text;
    if (!FillItem(item, tab, text))
        return;
    int at = CTabCtrl::InsertItem(index, &item);
    if (at < 0)
        return;
    if (IsTopFrame(tab))
        SetCurSel(at);
    // In a batch the frame is laid out for the first item only, which
    // gives the strip its size (a column's rows follow its width), and
    // again at the end of the batch.
    bool first = GetItemCount() == 1;
    AfterItemsChanged(first, first || !IsUpdating());
}

void CPageTabBar::UpdatePageItem(CTabItem* tab, int index)
{
    TCITEMA item = {};
    CString text;
    // The page too: a refill after a group switch writes another group's
    // page over the item.
    if (!FillItem(item, tab, text))
        return;
    SetItem(index, &item);
    if (IsTopFrame(tab) && GetCurSel() != index)
    {
        SetCurSel(index);
        ScrollItemIntoView(index);
    }
}

void CPageTabBar::UpdateItemIcon(CTabItem* tab, int index)
{
    if (tab == nullptr || !AppSettings().bTabShow() || GetItemImage(index) == tab->m_image)
        return;
    TCITEMA item = {};
    item.mask = TCIF_IMAGE;
    item.iImage = tab->m_image;
    SetItem(index, &item);
}

void CPageTabBar::RemovePageItem(CTabItem* tab, int index)
{
    if (tab == nullptr || !AppSettings().bTabShow())
        return;
    if (GetTabAt(index) != tab)
        index = FindTab(tab);
    if (index < 0 || GetItemCount() == 0)
    {
        RebuildFromActiveGroup();
        return;
    }
    DeleteItem(index);
    AfterItemsChanged(false, !IsUpdating());
    if (m_pHost != nullptr)
        m_pHost->HideTabButton();
}

void CPageTabBar::TruncateItems(int index)
{
    for (int i = GetItemCount() - 1; i >= index && i >= 0; --i)
        DeleteItem(i);
    int rows = GetRowCount();
    if (rows != m_rowCount)
    {
        m_rowCount = rows;
        if (!IsUpdating())
            RelayoutFrame();
    }
}

int CPageTabBar::MoveItem(int from, int to)
{
    if (from == to)
        return 1;
    CTabItem* tab = GetTabAt(from);
    CTabGroup* group = tab != nullptr ? tab->m_pGroup : nullptr;
    if (tab == nullptr || group == nullptr || GetTabAt(to) == nullptr)
        return 0;
    DeleteItem(from);
    TCITEMA item = {};
    CString text;
    FillItem(item, tab, text);
    int result = CTabCtrl::InsertItem(to, &item);
    // The page moves the same way in its group's list.
    int listFrom = group->IndexOf(tab);
    if (listFrom >= 0 && to < group->GetTabCount())
    {
        std::vector<CTabItem*>& tabs = group->m_tabs;
        tabs.erase(tabs.begin() + listFrom);
        tabs.insert(tabs.begin() + std::min<int>(to, static_cast<int>(tabs.size())), tab);
    }
    if (IsTopFrame(tab))
        SetCurSel(result);
    RedrawWindow();
    return result;
}

//--- Batches

BOOL CPageTabBar::BeginUpdate(CWnd* pOwner)
{
    if (m_pUpdateOwner != nullptr)
        return FALSE;
    m_pUpdateOwner = pOwner;
    ShowWindow(SW_HIDE);
    return TRUE;
}

void CPageTabBar::EndUpdate(CWnd* pOwner)
{
    if (m_pUpdateOwner == nullptr || m_pUpdateOwner != pOwner)
        return;
    m_pUpdateOwner = nullptr;
    ShowWindow(SW_SHOWNA);
    RelayoutFrame();
    // The selections made during the batch scrolled a column not yet laid
    // out: the selected item comes into view now.
    ScrollItemIntoView(GetCurSel());
}

//--- Mouse

void CPageTabBar::ActivatePage(CTabItem* tab)
{
    if (tab != nullptr && ::IsWindow(tab->m_hFrame) && m_hMdiClient != nullptr)
        ::SendMessageA(m_hMdiClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(tab->m_hFrame), 0);
}

// The tab under the point hears the click with a screen point: a corner of
// its item, chosen by the bar's position, when the click is on the item.
void CPageTabBar::SendMouseClick(int action, CPoint point)
{
    int index = HitTest(point);
    CTabItem* tab = index >= 0 ? GetTabAt(index) : nullptr;
    if (tab == nullptr || !::IsWindow(tab->m_hFrame))
        return;
    CRect rc;
    CPoint at = point;
    if (GetItemRect(index, &rc) && ::PtInRect(&rc, point))
    {
        switch (AppSettings().iTabTop)
        {
        case 0: at = rc.TopLeft(); break;
        case 1: at = CPoint(rc.left, rc.bottom); break;
        case 2: at = CPoint(rc.right, rc.top); break;
        default: at = rc.TopLeft(); break;
        }
    }
    ClientToScreen(&at);
    ::SendMessageA(tab->m_hFrame, WM_TAB_MOUSECLICK, static_cast<WPARAM>(action), MAKELPARAM(at.x, at.y));
}

void CPageTabBar::OnContextMenu(CWnd*, CPoint)
{
}

void CPageTabBar::OnLButtonDown(UINT, CPoint point)
{
    int index = HitTest(point);
    CTabItem* tab = index >= 0 ? GetTabAt(index) : nullptr;
    if (tab != nullptr)
    {
        BeginPress(point, index);
        if (tab->m_image <= kTabImageInactive)
        {
            tab->m_image = kTabImageActive;
            UpdateItemIcon(tab, index);
        }
        SetCurSel(index);
        ActivatePage(tab);
    }
    ::SetCapture(m_hWnd);
}

void CPageTabBar::OnLButtonUp(UINT, CPoint point)
{
    if (m_dragging && m_pressed)
        Drop(point);
    EndPress();
    Default();
}

void CPageTabBar::OnLButtonDblClk(UINT, CPoint)
{
    int selected = GetCurSel();
    if (selected < 0)
        return;
    SetCurSel(selected);
    CTabItem* tab = GetTabAt(selected);
    ActivatePage(tab);
    CRect rc;
    GetItemRect(selected, &rc);
    SendMouseClick(0, CPoint(rc.left + 1, rc.top + 1));
}

void CPageTabBar::OnRButtonDown(UINT, CPoint point)
{
    if (GetCurSel() >= 0)
        SendMouseClick(1, point);
}

LRESULT CPageTabBar::OnMButtonDown(WPARAM, LPARAM lParam)
{
    if (GetCurSel() >= 0)
        SendMouseClick(2, CPoint(lParam));
    return 0;
}

void CPageTabBar::Drop(CPoint point)
{
    CTabItem* tab = GetTabAt(m_dragIndex);
    if (tab == nullptr)
        return;
    int target = -1;
    CPoint screen = point;
    ClientToScreen(&screen);
    switch (ClassifyDrop(point, &target))
    {
    case kDropOnItem:
        MoveItem(m_dragIndex, m_dragIndex < target ? target - 1 : target);
        return;
    case kDropAtEnd:
        MoveItem(m_dragIndex, GetItemCount() - 1);
        return;
    case kDropBeyond:
    {
        CString url;
        if (m_pHost == nullptr)
            return;
        m_pHost->GetTabUrlAt(m_dragIndex, url);
        if (IsReopenableUrl(url))
            m_pHost->OpenUrl(m_pHost->GetActiveGroup(), url, kReasonLink);
        return;
    }
    default:
        DropOnGroupBar(screen, tab);
        return;
    }
}

// Onto a group tab: the page moves to that group; onto the group bar beside
// its tabs: to a new group named after the page.
bool CPageTabBar::DropOnGroupBar(CPoint screen, CTabItem* tab)
{
    IBarHost* host = m_pHost;
    CGroupTabBar* groupBar = host != nullptr ? host->GetGroupTabBar() : nullptr;
    if (groupBar == nullptr || !groupBar->IsWindow() || !groupBar->IsWindowVisible())
        return false;
    CRect barRect;
    groupBar->GetWindowRect(&barRect);
    if (!::PtInRect(&barRect, screen))
        return false;
    CPoint at = screen;
    groupBar->ScreenToClient(&at);
    int hit = groupBar->HitTest(at);
    bool made = hit < 0;
    CTabGroup* target = made ? host->CreateDefaultGroup(tab->m_title) : groupBar->GetGroupAt(hit);
    if (target == nullptr || groupBar->FindGroup(target) < 0)
        return true;
    if (target != tab->m_pGroup)
    {
        host->MoveTabToGroup(tab, target);
        if (made)
            host->FillTabBar(target);
    }
    return true;
}

BOOL CPageTabBar::OnParentClick(const MSG* pMsg)
{
    if (pMsg == nullptr || (pMsg->message != WM_RBUTTONDOWN && pMsg->message != WM_LBUTTONDBLCLK) ||
        pMsg->hwnd != GetFrameWindow() || m_pHost == nullptr)
        return FALSE;
    m_pHost->TrackTabContextMenu();
    return TRUE;
}

bool CPageTabBar::BuildTooltip(int index, CString& text)
{
    CTabItem* tab = GetTabAt(index);
    if (tab == nullptr)
        return false;
    text = TruncateTabText(tab->m_title, kTipPartBytes, true) + "\r\n" +
           TruncateTabText(tab->m_url, kTipPartBytes, true);
    return true;
}
