#include "bars/DlgWndMng.h"

#include <cstdlib>

#include "bars/BarHost.h"
#include "bars/GroupTabBar.h"
#include "bars/PopupLoop.h"
#include "framework/win/RedrawGuard.h"
#include "shared/AppData.h"
#include "shared/AppSettings.h"
#include "tab/TabGroup.h"
#include "tab/TabItem.h"

namespace {

const int kHoverSlack = 10;

// The group bar's tabs are buttons or one row: a previewed selection shows.
bool GroupBarShowsPreview()
{
    const SettingsRecord& s = AppSettings();
    return s.bTabButton_P() || !s.bMLine_P();
}

} // namespace

CGroupTabBar* CDlgWndMng::GroupBar() const
{
    CGroupTabBar* bar = m_pHost != nullptr ? m_pHost->GetGroupTabBar() : nullptr;
    return bar != nullptr && bar->IsWindow() ? bar : nullptr;
}

BOOL CDlgWndMng::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_strip.SubclassDlgItem(kListId, this);
    m_strip.SetBackColor(::GetSysColor(COLOR_BTNFACE));
    m_strip.ModifyStyle(0, TCS_FLATBUTTONS | TCS_HOTTRACK);
    if (m_images.Create(16, 16, ILC_COLOR24 | ILC_MASK, 13, 1))
    {
        CString path = AppFolders().ResFile("progress_status.bmp");
        HBITMAP hBitmap = static_cast<HBITMAP>(::LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
        if (hBitmap != nullptr)
        {
            m_images.Add(hBitmap, RGB(255, 0, 255));
            ::DeleteObject(hBitmap);
        }
        m_strip.SetImageList(m_images);
    }
    m_strip.SetItemSize(CSize(kItemWidth, 0));
    return FALSE;
}

CTabGroup* CDlgWndMng::GetListedGroup() const
{
    CTabItem* first = reinterpret_cast<CTabItem*>(m_strip.GetItemData(0));
    return first != nullptr && m_pHost != nullptr && m_pHost->IsTabListed(first) ? first->m_pGroup : nullptr;
}

BOOL CDlgWndMng::FillTabs(CTabGroup* group)
{
    CGroupTabBar* bar = GroupBar();
    if (m_hoverMode && m_savedGroupSel < 0 && bar != nullptr && GroupBarShowsPreview())
        m_savedGroupSel = bar->GetCurSel();
    RedrawGuard redraw(m_strip.m_hWnd);
    m_strip.DeleteAllItems();
    if (group == nullptr && m_pHost != nullptr)
        group = m_pHost->GetActiveGroup();
    if (m_pHost == nullptr || !m_pHost->HasActiveTabFrame() || group == nullptr)
        return FALSE;
    for (int i = 0; i < group->GetTabCount(); ++i)
    {
        CTabItem* tab = group->GetTab(i);
        CString text = TruncateTabText(tab->m_title, kMaxTitleBytes, true);
        TCITEMA item = {};
        item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_PARAM;
        item.pszText = const_cast<LPSTR>(static_cast<LPCSTR>(text));
        item.iImage = tab->m_image;
        item.lParam = reinterpret_cast<LPARAM>(tab);
        int at = m_strip.InsertItem(i, &item);
        if (tab->m_hFrame == group->m_hActiveTab && at >= 0)
        {
            m_strip.SetCurSel(at);
            m_strip.HighlightItem(at);
        }
    }
    if (m_strip.GetItemCount() > 1 || m_hoverMode)
        return TRUE;
    m_strip.DeleteAllItems();
    return FALSE;
}

CSize CDlgWndMng::GetListExtent() const
{
    CRect last;
    int count = m_strip.GetItemCount();
    if (count == 0 || !m_strip.GetItemRect(count - 1, &last))
        return CSize(kItemWidth, 20);
    return CSize(last.right + 4, last.bottom + 4);
}

//--- Tracking

// The popup belongs to the frame: a message the loop dispatches (a close
// from another program or from a page) may destroy both. The loop ends
// then, or when the group bar goes, and nothing of the popup is touched
// after it unless it is still there.
BOOL CDlgWndMng::Track()
{
    if (!m_hoverMode)
        return FALSE;
    const HWND self = m_hWnd;
    CGroupTabBar* bar = GroupBar();
    const HWND hSource = bar != nullptr ? bar->m_hWnd : ::GetParent(self);
    ShowWindow(SW_SHOWNOACTIVATE);
    ::SetCapture(self);
    ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
    m_tracking = true;
    {
        // The tracking ends with the scope, or with a fault or an unwind
        // that breaks it off, as long as the popup is still this object's:
        // the list lets the capture go and hides.
        CFaultHold tracking;
        tracking.Hold([](const ULONG_PTR* data) {
            CDlgWndMng* popup = reinterpret_cast<CDlgWndMng*>(data[0]);
            if (IsStillAttached(popup, reinterpret_cast<HWND>(data[1])))
                popup->EndTracking();
        }, reinterpret_cast<ULONG_PTR>(this), reinterpret_cast<ULONG_PTR>(self));
        CPopupKeyHook keys(self, m_strip.m_hWnd, [this](UINT vk) { OnKey(vk); });
        RunPopupLoop(m_tracking, self, hSource);
    }
    return TRUE;
}

void CDlgWndMng::EndTracking()
{
    m_tracking = false;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    RestoreGroupSelection();
    ShowWindow(SW_HIDE);
}

void CDlgWndMng::RestoreGroupSelection()
{
    CGroupTabBar* bar = GroupBar();
    if (m_savedGroupSel >= 0 && bar != nullptr)
        bar->SetCurSel(m_savedGroupSel);
    m_savedGroupSel = -1;
}

// The chosen page is looked up again: it may have closed while the list
// showed it.
void CDlgWndMng::ActivateSelection()
{
    int selected = m_strip.GetCurSel();
    CTabItem* tab = selected >= 0 ? reinterpret_cast<CTabItem*>(m_strip.GetItemData(selected)) : nullptr;
    if (tab == nullptr || m_pHost == nullptr || !m_pHost->IsTabListed(tab))
        return;
    RestoreGroupSelection();
    if (tab->m_pGroup != m_pHost->GetActiveGroup())
        m_pHost->ActivateGroup(tab->m_pGroup);
    HWND hMdiClient = m_pHost->GetMdiClient();
    if (::IsWindow(tab->m_hFrame) && hMdiClient != nullptr)
        ::SendMessageA(hMdiClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(tab->m_hFrame), 0);
    m_strip.DeleteAllItems();
}

//--- Keys

void CDlgWndMng::OnKey(UINT vk)
{
    switch (vk)
    {
    case VK_RETURN:
        ActivateSelection();
        Close();
        break;
    case VK_MENU:
    case VK_ESCAPE:
        Close();
        break;
    case VK_UP: MoveSelection(-1); break;
    case VK_DOWN: MoveSelection(1); break;
    case VK_LEFT: SwitchGroup(-1); break;
    case VK_RIGHT: SwitchGroup(1); break;
    default: break;
    }
}

void CDlgWndMng::MoveSelection(int step)
{
    int count = m_strip.GetItemCount();
    if (count == 0)
        return;
    int next = m_strip.GetCurSel();
    for (int tries = 0; tries < count; ++tries)
    {
        next = next < 0 ? (step < 0 ? count - 1 : 0) : (next + step + count) % count;
        if (m_strip.SetCurSel(next) != -1 || m_strip.GetCurSel() == next)
            return;
    }
}

// The previous or next group of the list, without wrapping; nothing for
// a column group bar.
void CDlgWndMng::SwitchGroup(int step)
{
    const BYTE position = AppSettings().iTabTop_P;
    if (position == 2 || position == 3 || m_strip.GetItemCount() == 0)
        return;
    int index = m_pHost != nullptr ? m_pHost->GetGroupIndex(GetListedGroup()) : -1;
    if (index < 0)
        return;
    CTabGroup* next = m_pHost->GetGroupAt(index + step);
    if (next != nullptr)
        PreviewGroup(next);
}

void CDlgWndMng::PreviewGroup(CTabGroup* group)
{
    CGroupTabBar* bar = GroupBar();
    if (m_pHost == nullptr || bar == nullptr)
        return;
    int index = bar->FindGroup(group);
    if (m_pHost->ShowGroupTabPopup(group, index) && GroupBarShowsPreview() && index >= 0)
        bar->SetCurSel(index);
}

//--- Mouse and messages

LRESULT CDlgWndMng::OnMouse(UINT nMsg, WPARAM, LPARAM)
{
    DWORD pos = ::GetMessagePos();
    CPoint screen(GET_X_LPARAM(pos), GET_Y_LPARAM(pos));
    CRect stripRect, barRect;
    m_strip.GetWindowRect(&stripRect);
    bool overStrip = stripRect.PtInRect(screen) != FALSE;
    if (nMsg == WM_MOUSEMOVE)
    {
        if (overStrip)
        {
            CPoint pt = screen;
            m_strip.ScreenToClient(&pt);
            int hit = m_strip.HitTest(pt);
            if (hit >= 0)
                m_strip.SetCurSel(hit);
        }
        else
        {
            CGroupTabBar* bar = GroupBar();
            if (bar != nullptr)
                bar->GetWindowRect(&barRect);
            if (bar != nullptr && barRect.PtInRect(screen) &&
                (std::abs(screen.x - m_lastX) > kHoverSlack || std::abs(screen.y - m_lastY) > kHoverSlack))
            {
                m_lastX = screen.x;
                m_lastY = screen.y;
                CPoint pt = screen;
                bar->ScreenToClient(&pt);
                int hit = bar->HitTest(pt);
                CTabGroup* group = hit >= 0 ? bar->GetGroupAt(hit) : nullptr;
                if (group != nullptr && group != GetListedGroup())
                    PreviewGroup(group);
            }
        }
        m_overStrip = overStrip;
        return 0;
    }
    if (nMsg == WM_LBUTTONUP)
    {
        if (overStrip)
            ActivateSelection();
        Close();
        return 0;
    }
    return Default();
}

LRESULT CDlgWndMng::WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    switch (nMsg)
    {
    case WM_WNDMNG_CLOSE:
        m_tracking = false;
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
        if (m_hoverMode)
            RestoreGroupSelection();
        return 0;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATEANDEAT;
    case WM_CAPTURECHANGED:
        if (m_tracking && reinterpret_cast<HWND>(lParam) != m_hWnd && reinterpret_cast<HWND>(lParam) != m_strip.m_hWnd)
            Close();
        return 0;
    case WM_COMMAND:
        if (m_tracking)
            Close();
        return 0;
    case WM_SIZE:
        if (m_strip.m_hWnd != nullptr)
            m_strip.MoveWindow(0, 0, LOWORD(lParam), HIWORD(lParam));
        return 0;
    default:
        if (m_tracking && nMsg >= WM_MOUSEMOVE && nMsg <= WM_MBUTTONDBLCLK && nMsg != WM_MOUSEWHEEL)
            return OnMouse(nMsg, wParam, lParam);
        break;
    }
    return CDialog::WindowProc(nMsg, wParam, lParam);
}
