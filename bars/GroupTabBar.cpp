#include "bars/GroupTabBar.h"

#include "bars/BarHost.h"
#include "bars/PageTabBar.h"
#include "framework/win/RedrawGuard.h"
#include "shared/AppData.h"
#include "shared/AppSettings.h"
#include "tab/TabGroup.h"
#include "tab/TabItem.h"

namespace {

const int kGroupImages = 30;
const int kTipTitleBytes = 40;
const int kTipMaxPages = 30;
const int kTipCutLine = 45;        // etc.dat: what ends a cut page list
const UINT kListCommand = 34002;
const COLORREF kGroupBarBack = RGB(233, 233, 226);

} // namespace

BEGIN_MESSAGE_MAP(CGroupTabBar, CTabBarCtrl)
    ON_WM_RBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_MESSAGE(WM_MBUTTONDOWN, OnMButtonDown)
    ON_COMMAND(kListCommand, OnListCommand)
END_MESSAGE_MAP()

TabBarOptions CGroupTabBar::GetOptions() const
{
    const SettingsRecord& s = AppSettings();
    TabBarOptions options;
    options.show = s.bTabShow_P();
    options.oldStyle = s.bOldStyle_P();
    options.buttons = s.bTabButton_P();
    options.multiLine = s.bMLine_P();
    options.fixedWidth = s.bTabWidth_P();
    options.itemWidth = s.iFixedWidth_P;
    options.maxText = s.iTabStrLen_P;
    options.position = s.iTabTop_P;
    return options;
}

BOOL CGroupTabBar::Create(CWnd* pParent, int flags, int position)
{
    if (IsWindow())
        DestroyWindow();
    if (position == kLeftColumn || position == kRightColumn)
    {
        SettingsRecord& s = AppSettings();
        s.bTabButton_P(true);
        s.bMLine_P(true);
        s.bTabWidth_P(true);
    }
    if (!CreateStrip(pParent, flags, position, kBarId, kGroupBarBack, 31, "ptab.bmp", kGroupImages))
        return FALSE;
    SetScrollRange(m_pHost != nullptr ? m_pHost->GetGroupCount() : 0);
    return TRUE;
}

//--- Items

bool CGroupTabBar::FillItem(TCITEMA& item, CTabGroup* group, CString& text) const
{
    if (group == nullptr)
        return false;
    text = MakeItemText(group->m_caption);
    item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_PARAM;
    item.pszText = const_cast<LPSTR>(static_cast<LPCSTR>(text));
    item.iImage = group->m_image;
    item.lParam = reinterpret_cast<LPARAM>(group);
    return true;
}

void CGroupTabBar::AddGroup(CTabGroup* group, bool select)
{
    TCITEMA item = {};
    CString text;
    if (!FillItem(item, group, text) || CTabCtrl::InsertItem(GetItemCount(), &item) < 0)
        return;
    if (select)
        SelectGroup(group);
    AfterItemsChanged(GetItemCount() == 1, true);
}

void CGroupTabBar::UpdateGroupItem(CTabGroup* group, int index)
{
    if (index < 0)
        index = FindGroup(group);
    TCITEMA item = {};
    CString text;
    if (index < 0 || !FillItem(item, group, text))
        return;
    item.mask &= ~TCIF_PARAM;
    SetItem(index, &item);
}

void CGroupTabBar::UpdateGroupIcon(CTabGroup* group, int index)
{
    if (index < 0)
        index = FindGroup(group);
    if (index < 0 || group == nullptr)
        return;
    TCITEMA item = {};
    item.mask = TCIF_IMAGE;
    item.iImage = group->m_image;
    SetItem(index, &item);
}

void CGroupTabBar::RemoveGroup(CTabGroup* group)
{
    int index = FindGroup(group);
    if (index < 0)
        return;
    DeleteItem(index);
    AfterItemsChanged(false, true);
    Invalidate();
    if (m_pHost != nullptr)
        m_pHost->HideTabButton();
}

BOOL CGroupTabBar::SelectGroup(CTabGroup* group)
{
    int index = FindGroup(group);
    if (index < 0)
        return FALSE;
    if (GetCurSel() == index)
        return TRUE;
    if (m_pHost != nullptr)
        m_pHost->SetCurrentGroup(group);
    SetCurSel(index);
    ScrollItemIntoView(index);
    return TRUE;
}

BOOL CGroupTabBar::IsCurrentGroup(const CTabGroup* group) const
{
    int selected = GetCurSel();
    return selected >= 0 && GetGroupAt(selected) == group;
}

void CGroupTabBar::RebuildFromGroupList()
{
    RedrawGuard redraw(m_hWnd);
    DeleteAllItems();
    const int count = m_pHost != nullptr ? m_pHost->GetGroupCount() : 0;
    CTabGroup* current = m_pHost != nullptr ? m_pHost->GetActiveGroup() : nullptr;
    for (int i = 0; i < count; ++i)
    {
        CTabGroup* group = m_pHost->GetGroupAt(i);
        TCITEMA item = {};
        CString text;
        if (!FillItem(item, group, text))
            continue;
        int at = CTabCtrl::InsertItem(GetItemCount(), &item);
        if (group == current && at >= 0)
            SetCurSel(at);
    }
    if (IsColumn())
        SetScrollRange(GetItemCount());
}

int CGroupTabBar::MoveItem(int from, int to)
{
    if (from == to)
        return 1;
    CTabGroup* group = GetGroupAt(from);
    if (group == nullptr || to < 0 || to >= GetItemCount())
        return 0;
    bool selected = IsCurrentGroup(group);
    DeleteItem(from);
    TCITEMA item = {};
    CString text;
    FillItem(item, group, text);
    int result = CTabCtrl::InsertItem(to, &item);
    if (m_pHost != nullptr)
        m_pHost->MoveGroupInList(group, to);
    if (selected)
        SetCurSel(result);
    RedrawWindow();
    return result;
}

void CGroupTabBar::SelectPrevGroup()
{
    int count = GetItemCount();
    if (count < 2 || m_pHost == nullptr)
        return;
    int selected = GetCurSel();
    int index = selected <= 0 ? count - 1 : selected - 1;
    m_pHost->ActivateGroup(GetGroupAt(index));
}

void CGroupTabBar::SelectNextGroup()
{
    int count = GetItemCount();
    if (count < 2 || m_pHost == nullptr)
        return;
    int selected = GetCurSel();
    int index = selected < 0 || selected + 1 >= count ? 0 : selected + 1;
    m_pHost->ActivateGroup(GetGroupAt(index));
}

void CGroupTabBar::DuplicateGroup(CTabGroup* group)
{
    if (group != nullptr && m_pHost != nullptr)
        m_pHost->DuplicateGroup(group);
}

void CGroupTabBar::PostGroupMenuCommand(int action)
{
    if (action != 0)
        ::PostMessageA(GetFrameWindow(), WM_COMMAND, kGroupMenuCommand, 0);
}

void CGroupTabBar::BuildGroupTooltip(CString& text, CTabGroup* group)
{
    text = group->m_caption + "\r\n";
    for (int i = 0; i < group->GetTabCount(); ++i)
    {
        if (i == kTipMaxPages)
        {
            text += AppStrings().GetEtcText(kTipCutLine);
            break;
        }
        CTabItem* tab = group->GetTab(i);
        if (tab != nullptr)
            text += TruncateTabText(tab->m_title, kTipTitleBytes, true) + "\r\n";
    }
    text.TrimRight();
}

bool CGroupTabBar::BuildTooltip(int index, CString& text)
{
    CTabGroup* group = GetGroupAt(index);
    if (group == nullptr)
        return false;
    if (AppSettings().bTabMenuShow() && group->GetTabCount() > 1 && m_pHost != nullptr)
    {
        m_pHost->ShowGroupTabPopup(group, index);
        return false;
    }
    BuildGroupTooltip(text, group);
    return true;
}

BOOL CGroupTabBar::OnParentClick(const MSG* pMsg)
{
    if (pMsg == nullptr || (pMsg->message != WM_RBUTTONDOWN && pMsg->message != WM_LBUTTONDBLCLK) ||
        pMsg->hwnd != GetFrameWindow())
        return FALSE;
    PostGroupMenuCommand(1);
    return TRUE;
}

//--- Mouse

void CGroupTabBar::RunClickAction(int action, CPoint point)
{
    int index = HitTest(point);
    CTabGroup* group = index >= 0 ? GetGroupAt(index) : nullptr;
    if (group == nullptr || action == 0 || m_pHost == nullptr)
        return;
    if (action == 2)
    {
        m_pHost->CloseGroup(group);
        return;
    }
    m_pHost->ActivateGroup(group);
    PostGroupMenuCommand(action);
}

void CGroupTabBar::OnRButtonDown(UINT, CPoint point)
{
    if (GetCurSel() >= 0)
        RunClickAction(AppSettings().iTabmouseR_P, point);
}

LRESULT CGroupTabBar::OnMButtonDown(WPARAM, LPARAM lParam)
{
    if (GetCurSel() >= 0)
        RunClickAction(AppSettings().iTabmouseWC_P, CPoint(lParam));
    return 0;
}

void CGroupTabBar::OnLButtonDblClk(UINT, CPoint)
{
    if (GetCurSel() >= 0)
        PostGroupMenuCommand(AppSettings().iTabmouseDC_P);
}

void CGroupTabBar::OnLButtonDown(UINT, CPoint point)
{
    int index = HitTest(point);
    CTabGroup* group = index >= 0 ? GetGroupAt(index) : nullptr;
    if (group != nullptr)
    {
        BeginPress(point, index);
        if (m_pHost != nullptr)
            m_pHost->ActivateGroup(group);
    }
    ::SetCapture(m_hWnd);
}

void CGroupTabBar::OnLButtonUp(UINT, CPoint point)
{
    if (m_dragging && m_pressed)
        Drop(point);
    EndPress();
    Default();
}

void CGroupTabBar::Drop(CPoint point)
{
    int target = -1;
    switch (ClassifyDrop(point, &target))
    {
    case kDropOnItem:
        MoveItem(m_dragIndex, m_dragIndex < target ? target - 1 : target);
        break;
    case kDropAtEnd:
        MoveItem(m_dragIndex, GetItemCount() - 1);
        break;
    case kDropBeyond:
        DuplicateGroup(GetGroupAt(m_dragIndex));
        break;
    default:
        break;
    }
}

void CGroupTabBar::OnListCommand()
{
    if (::GetActiveWindow() == nullptr || (::GetKeyState(VK_LBUTTON) & 0x8000) || (::GetKeyState(VK_RBUTTON) & 0x8000))
        return;
    CPoint cursor;
    ::GetCursorPos(&cursor);
    ScreenToClient(&cursor);
    int index = HitTest(cursor);
    CTabGroup* group = index >= 0 ? GetGroupAt(index) : nullptr;
    if (group != nullptr && AppSettings().bTabMenuShow() && m_pHost != nullptr)
        m_pHost->ShowGroupTabPopup(group, index);
}
