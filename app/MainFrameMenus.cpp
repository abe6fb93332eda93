// CMainFrame: menus built from data: the recently closed tabs, the shortcut
// texts of the menu bar and the history popups of the active tab.
#include "app/MainFrame.h"

#include <windows.h>

#include "app/VantorelApp.h"
#include "app/resource.h"
#include "bars/GroupTabBar.h"
#include "lists/SearchEngineMenu.h"
#include "menulib/NewMenu.h"
#include "shared/GroupImageMenu.h"
#include "tab/BrowserView.h"
#include "tab/ChildFrame.h"
#include "tab/TabItem.h"

namespace {

const UINT kCmdBackHistoryFirst = 33000;
const UINT kCmdForwardHistoryFirst = 35001;
const int kHistoryMenuMax = 25;
const int kHistoryCaptionBytes = 50;
const int kClosedMenuMax = 15;
// The group tab menu offers the first images of the strip.
const int kGroupMenuImages = 20;

// The caption record of an owner-drawn item, or null for a plain one.
CNewMenuItemData* OwnerDrawRecord(HMENU menu, int position)
{
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_DATA;
    if (!::GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info) || !(info.fType & MFT_OWNERDRAW))
        return nullptr;
    CNewMenu* owner = CNewMenu::FromHandleNew(menu);
    return owner != nullptr ? owner->FindRecord(reinterpret_cast<const void*>(info.dwItemData)) : nullptr;
}

CString ItemCaption(HMENU menu, int position)
{
    if (CNewMenuItemData* record = OwnerDrawRecord(menu, position))
        return record->m_strText;
    char text[512] = {};
    ::GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof(text), MF_BYPOSITION);
    return text;
}

void SetItemCaption(HMENU menu, int position, const CString& caption)
{
    if (CNewMenuItemData* record = OwnerDrawRecord(menu, position)) {
        record->m_strText = caption;
        return;
    }
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    info.dwTypeData = const_cast<char*>(caption.GetString());
    ::SetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info);
}

// The access-key prefix the renumbering wrote: "&", one of 0-9 or a-f, a
// space. Anything else (a doubled "&" of a title among it) is the title's.
bool HasNumberPrefix(const CString& text)
{
    if (text.GetLength() < 3 || text[0] != '&' || text[2] != ' ')
        return false;
    const char key = text[1];
    return (key >= '0' && key <= '9') || (key >= 'a' && key <= 'f');
}

} // namespace

void CMainFrame::BuildProxyMenu(HMENU popup)
{
    const int count = popup != nullptr ? ::GetMenuItemCount(popup) : 0;
    if (count <= 0 || ::GetMenuItemID(popup, 0) != ID_TAB_WHEELLOCK)
        return;
    // The Tools popup: its last submenu lists the proxies, its third the
    // auto-reload periods; each is filled once.
    HMENU proxies = nullptr;
    for (int i = count - 1; i >= 0 && proxies == nullptr; --i)
        proxies = ::GetSubMenu(popup, i);
    CNewMenu* proxyMenu = proxies != nullptr ? CNewMenu::FromHandleNew(proxies) : nullptr;
    if (proxyMenu != nullptr && !(m_stateWord & kStateProxyMenuBuilt)) {
        m_stateWord |= kStateProxyMenuBuilt;
        FillProxyMenu(*proxyMenu);
    }
    HMENU reload = NthSubMenu(popup, 2);
    if (reload != nullptr && !(m_stateWord & kStateReloadMenuBuilt)) {
        m_stateWord |= kStateReloadMenuBuilt;
        CString caption = GetReloadCaption();
        CString shortcut;
        theApp.GetShortcutText(ID_RELOAD_USER, shortcut);
        if (!shortcut.IsEmpty())
            caption += "\t" + shortcut;
        ::DeleteMenu(reload, 7, MF_BYPOSITION);
        ::InsertMenuA(reload, 7, MF_BYPOSITION | MF_STRING, ID_RELOAD_USER, caption);
    }
}

HMENU CMainFrame::GetClosedTabMenu() const
{
    HMENU bar = m_DefaultNewMenu.m_hMenu;
    const int file = FindPopupByLastItem(bar, ID_APP_EXIT);
    return file >= 0 ? NthSubMenu(::GetSubMenu(bar, file), 2) : nullptr;
}

void CMainFrame::UpdateMenuStates(HMENU menu)
{
    if (menu == nullptr)
        return;
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        if (HMENU sub = ::GetSubMenu(menu, i)) {
            UpdateMenuStates(sub);
            continue;
        }
        const UINT id = ::GetMenuItemID(menu, i);
        if (id == 0 || id == static_cast<UINT>(-1))
            continue;
        const CString caption = ItemCaption(menu, i);
        // Empty while bMenuShortCutKey is off: a key unbound or the option
        // switched off since the last pass takes its text away.
        CString shortcut;
        theApp.GetShortcutText(static_cast<int>(id), shortcut);
        const int tab = caption.Find('\t');
        if (caption.IsEmpty() || (shortcut.IsEmpty() && tab < 0))
            continue;
        CString updated = tab >= 0 ? caption.Left(tab) : caption;
        if (!shortcut.IsEmpty())
            updated += "\t" + shortcut;
        if (updated != caption)
            SetItemCaption(menu, i, updated);
    }
}

void CMainFrame::RefreshMenuStatesOnce()
{
    if (m_stateWord & kStateMenuStatesDone)
        return;
    m_stateWord |= kStateMenuStatesDone;
    UpdateMenuStates(m_DefaultNewMenu.m_hMenu);
}

void CMainFrame::AddClosedTabToMenu(CTabItem* tab)
{
    if (tab == nullptr)
        return;
    RefreshMenuStatesOnce();
    // The list keeps the tab whether or not the menu bar shows it: a key
    // bound to a closed tab reopens it either way.
    const int number = m_closedTabs.Add(tab->m_title, tab->m_url, tab->m_pBack, tab->m_pForward);
    HMENU closed = GetClosedTabMenu();
    if (number < 0 || closed == nullptr)
        return;
    CNewMenu* menu = CNewMenu::FromHandleNew(closed);
    if (menu == nullptr)
        return;
    // A reused number's old item is the last one: the oldest.
    while (menu->GetMenuItemCount() >= kClosedMenuMax)
        menu->DeleteMenu(static_cast<UINT>(menu->GetMenuItemCount() - 1), MF_BYPOSITION);
    CString caption = TruncateMenuText(tab->m_title, theApp.m_settings.iFavTitleMaxStr);
    caption.Replace("&", "&&");
    menu->InsertODMenu(0, caption, MF_BYPOSITION | MF_STRING, ID_CLOSEDTAB_FIRST + static_cast<UINT>(number), -1);
}

void CMainFrame::RenumberClosedTabMenu()
{
    HMENU closed = GetClosedTabMenu();
    const int count = closed != nullptr ? ::GetMenuItemCount(closed) : 0;
    for (int p = 0; p < count && p < 16; ++p) {
        if (::GetMenuItemID(closed, p) == 0)
            continue;
        CString text = ItemCaption(closed, p);
        if (text.IsEmpty())
            continue;
        if (HasNumberPrefix(text))
            text = text.Mid(3);
        CString numbered;
        numbered.Format("&%c %s", "0123456789abcdef"[p], text.GetString());
        SetItemCaption(closed, p, numbered);
    }
}

void CMainFrame::OnReopenClosedTab(UINT nID)
{
    const ClosedTabEntry* entry = m_closedTabs.Find(static_cast<int>(nID - ID_CLOSEDTAB_FIRST));
    if (entry == nullptr)
        return;
    theApp.OpenUrlWithHistory(theApp.GetActiveGroup(), entry->url, &entry->back, &entry->forward,
                              kReasonForceForeground, 0);
}

void CMainFrame::ShowHistoryMenu(bool back)
{
    POINT at = {};
    ::GetCursorPos(&at);
    ShowHistoryMenu(back, at);
}

void CMainFrame::ShowHistoryMenu(bool back, POINT at)
{
    CTabItem* tab = GetActiveTab();
    CBrowserView* view = tab != nullptr ? tab->m_pView : nullptr;
    if (view == nullptr || view->GetSafeHwnd() == nullptr)
        return;
    CStringArray titles;
    view->GetHistoryTitles(back, kHistoryMenuMax, titles);
    if (titles.IsEmpty())
        return;
    CNewMenu menu;
    if (!menu.LoadMenu(back ? IDR_BACKHISTORYMENU : IDR_FORWARDHISTORYMENU))
        return;
    CNewMenu* popup = menu.GetSubMenu(0);
    if (popup != nullptr) {
        while (popup->GetMenuItemCount() > 0)
            popup->DeleteMenu(0, MF_BYPOSITION);
        const UINT first = back ? kCmdBackHistoryFirst : kCmdForwardHistoryFirst;
        for (INT_PTR i = 0; i < titles.GetSize(); ++i) {
            CString caption = TruncateMenuText(titles[i], kHistoryCaptionBytes);
            caption.Replace("&", "&&");
            popup->AppendODMenu(caption, MF_STRING, first + static_cast<UINT>(i), -1);
        }
        popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, this);
    }
    menu.DestroyMenu();
}

void CMainFrame::OnGroupTabMenu()
{
    POINT at = {};
    ::GetCursorPos(&at);
    HWND bar = m_pGroupTabBar != nullptr ? m_pGroupTabBar->GetSafeHwnd() : nullptr;
    if (bar != nullptr) {
        int selected = static_cast<int>(::SendMessageA(bar, TCM_GETCURSEL, 0, 0));
        RECT tab = {};
        if (::SendMessageA(bar, TCM_GETITEMRECT, selected >= 0 ? selected : 0, reinterpret_cast<LPARAM>(&tab))) {
            ::MapWindowPoints(bar, nullptr, reinterpret_cast<POINT*>(&tab), 2);
            // At the tab's corner that faces the pages, by the bar's place.
            if (::PtInRect(&tab, at)) {
                switch (theApp.m_settings.iTabTop_P) {
                case 1: at = {tab.left, tab.bottom}; break;
                case 2: at = {tab.right, tab.top}; break;
                default: at = {tab.left, tab.top}; break;
                }
            }
        }
    }
    BuildPopupMenu(at, true);
}

void CMainFrame::BuildPopupMenu(POINT at, bool withImages)
{
    CNewMenu menu;
    if (!menu.LoadMenu(IDR_GROUPTABMENU))
        return;
    CNewMenu* popup = menu.GetSubMenu(0);
    if (popup != nullptr) {
        // The first submenu holds the group images; the templates, with
        // their images while menu images are on, are the next one.
        if (!withImages)
            popup->DeleteMenu(0, MF_BYPOSITION);
        LoadGroupTabDefs(CNewMenu::FromHandleNew(NthSubMenu(popup->m_hMenu, withImages ? 1 : 0)));
        if (CNewMenu* images = withImages ? popup->GetSubMenu(0) : nullptr) {
            ClearMenuItems(*images);
            if (m_groupTabImages.GetSafeHandle() == nullptr)
                LoadGroupTabImages();
            AppendGroupImageItems(*images, m_groupTabImages, kGroupMenuImages, ID_GROUP_IMAGE_FIRST);
        }
        popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, this);
    }
    menu.DestroyMenu();
}
