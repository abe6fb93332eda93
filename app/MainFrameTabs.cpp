// CMainFrame: tab groups, the tab list of each group and the two tab bars.
#include "app/MainFrame.h"

#include <windows.h>

#include <algorithm>

#include "app/VantorelApp.h"
#include "app/resource.h"
#include "bars/GroupTabBar.h"
#include "bars/PageTabBar.h"
#include "framework/win/RedrawGuard.h"
#include "tab/BrowserView.h"
#include "tab/ChildFrame.h"
#include "tab/TabGroup.h"
#include "tab/TabItem.h"

namespace {

const UINT kTabButtonId = 59415;

bool IsLiveWindow(HWND hWnd)
{
    return hWnd != nullptr && ::IsWindow(hWnd);
}

bool IsKeyDown(int key)
{
    return (::GetKeyState(key) & 0x8000) != 0;
}

// Puts the tab, and its frame, into the group (null: none), so that neither
// keeps pointing at a group that is about to be deleted.
void SetTabGroup(CTabItem* tab, CTabGroup* group)
{
    tab->m_pGroup = group;
    if (CChildFrame* frame = dynamic_cast<CChildFrame*>(CWnd::FromHandlePermanent(tab->m_hFrame)))
        frame->m_pGroup = group;
}

// The wait cursor for the length of a scope.
class CWaitCursorScope
{
public:
    CWaitCursorScope() : m_old(::SetCursor(::LoadCursorA(nullptr, IDC_WAIT))) {}
    ~CWaitCursorScope() { ::SetCursor(m_old); }

private:
    HCURSOR m_old;
};

} // namespace

BOOL CMainFrame::CreateTabBars()
{
    const SettingsRecord& settings = theApp.m_settings;
    if (m_pGroupTabBar == nullptr)
        m_pGroupTabBar = new CGroupTabBar;
    if (m_pPageTabBar == nullptr)
        m_pPageTabBar = new CPageTabBar;
    m_pGroupTabBar->m_pHost = &m_barHost;
    m_pPageTabBar->m_pHost = &m_barHost;
    m_wndTabButton.m_pHost = &m_barHost;
    if (m_wndTabButton.GetSafeHwnd() == nullptr &&
        (!m_wndTabButton.Create(this, kTabButtonId) || !m_wndTabButton.LoadImages("close_button.bmp", "menu_button.bmp")))
        return FALSE;
    return m_pGroupTabBar->Create(this, settings.bTabImage_P() ? 0x2 : 0, settings.iTabTop_P) &&
           m_pPageTabBar->Create(this, settings.bTabImage() ? 0x2 : 0, settings.iTabTop);
}

bool CMainFrame::IsPageBarReady() const
{
    return m_pPageTabBar != nullptr && ::IsWindow(m_pPageTabBar->GetSafeHwnd());
}

bool CMainFrame::IsGroupBarReady() const
{
    return m_pGroupTabBar != nullptr && ::IsWindow(m_pGroupTabBar->GetSafeHwnd());
}

CTabItem* CMainFrame::GetActiveTab() const
{
    CChildFrame* frame = theApp.m_pActiveTabFrame;
    if (frame == nullptr || !IsLiveWindow(frame->GetSafeHwnd()))
        return nullptr;
    return frame->GetTabItem();
}

//--- Groups

CTabGroup* CMainFrame::CreateGroup(LPCTSTR name, DWORD options, BYTE image)
{
    if (!IsGroupBarReady())
        return nullptr;
    CTabGroup* group = new CTabGroup;
    group->m_captionTemplate = (name != nullptr && *name != '\0') ? CString(name)
                                                                  : theApp.m_settings.strTitle_P;
    group->m_caption = group->m_captionTemplate;
    group->m_image = image;
    group->m_options = options;
    AddGroupToBar(group);
    return group;
}

// Numbers the group, lists it, shows it with "%c" as 1 (the tab about to
// open in it) and makes it the current group.
void CMainFrame::AddGroupToBar(CTabGroup* group)
{
    group->m_number = theApp.m_nextGroupNumber++;
    theApp.m_groups.push_back(group);
    group->m_caption = group->ExpandCaption(1);
    m_pGroupTabBar->AddGroup(group, true);
    theApp.SetCurrentGroup(group);
}

CTabGroup* CMainFrame::CreateDefaultGroup(LPCTSTR name)
{
    return CreateGroup(name, theApp.m_settings.dwDLControlFlags, theApp.m_settings.iTabImageDef_P);
}

CTabGroup* CMainFrame::CreateEmptyGroup()
{
    return CreateDefaultGroup(nullptr);
}

CTabGroup* CMainFrame::NewGroupWithDefaultPage(LPCTSTR name)
{
    CTabGroup* group = CreateDefaultGroup(name);
    theApp.OpenGroupDefaultPage(group, 0);
    return group;
}

void CMainFrame::UpdateGroupCaption(CTabGroup* group)
{
    if (group == nullptr)
        return;
    group->m_caption = group->ExpandCaption(group->GetTabCount());
    if (IsGroupBarReady())
        m_pGroupTabBar->UpdateGroupItem(group, -1);
}

//--- Inserting a new tab

// The tab that relative places refer to, or null (the tab then goes to the
// end): the active tab when it is in the group, else the group's most
// recently active tab that still has a window.
CTabItem* CMainFrame::FindReferenceTab(CTabGroup* group)
{
    CTabItem* active = GetActiveTab();
    if (active == nullptr)
        return nullptr;
    if (active->m_pGroup == group)
        return active;
    for (HWND id : {group->m_hActiveTab, group->m_hPrevTab, group->m_hEarlierTab}) {
        if (IsLiveWindow(id)) {
            CTabItem* tab = theApp.FindTabById(id);
            return tab != nullptr && tab->m_pGroup == group ? tab : nullptr;
        }
    }
    return nullptr;
}

// Puts the tab into its group's list by iTabAppendPos and the tab's hint;
// returns its index and whether the bar needs an inserted (not a set) item.
int CMainFrame::ChooseInsertIndex(CTabItem* tab, bool* pInsert)
{
    CTabGroup* group = tab->m_pGroup;
    const int place = theApp.m_settings.iTabAppendPos;
    const int hint = tab->m_insertHint;
    enum { kEnd, kHead, kAfter, kBefore } where = kEnd;
    switch (place) {
    case 1: where = kHead; break;
    case 2: where = kAfter; break;
    case 3: where = kBefore; break;
    case 4: where = hint == 4 ? kAfter : kEnd; break;
    case 5: where = hint == 5 ? kBefore : kHead; break;
    default: where = kEnd; break;  // 0, and undefined values
    }
    *pInsert = !(place == 0 || (place == 4 && hint != 4) || place > 5);

    if (where == kAfter || where == kBefore) {
        CTabItem* ref = FindReferenceTab(group);
        int refIndex = ref != nullptr ? group->IndexOf(ref) : -1;
        if (refIndex < 0) {
            where = kEnd;
        } else {
            int index = where == kAfter ? refIndex + 1 : refIndex;
            group->m_tabs.insert(group->m_tabs.begin() + index, tab);
            return index;
        }
    }
    if (where == kHead) {
        group->m_tabs.insert(group->m_tabs.begin(), tab);
        return 0;
    }
    group->m_tabs.push_back(tab);
    return group->GetTabCount() - 1;
}

void CMainFrame::InsertNewTab(CTabItem* tab)
{
    if (tab == nullptr || tab->m_closeReason >= 1 || (tab->m_flags & kTabGroupClosing) ||
        tab->m_pGroup == nullptr)
        return;
    CTabGroup* group = tab->m_pGroup;
    if (group->IndexOf(tab) >= 0)
        return;
    const SettingsRecord& settings = theApp.m_settings;
    if (settings.bWindowMaxCnt() && group->GetTabCount() >= settings.iWindowMaxCnt) {
        if (tab->m_closeReason == kCloseNone && IsLiveWindow(tab->m_hFrame)) {
            tab->m_closeReason = kCloseClosing;
            ::PostMessageA(tab->m_hFrame, WM_CLOSE, 0, 0);
        }
        return;
    }
    bool insert = false;
    int index = ChooseInsertIndex(tab, &insert);
    if (group == theApp.GetActiveGroup() && IsPageBarReady()) {
        if (insert)
            m_pPageTabBar->InsertPageItem(tab, index);
        else
            m_pPageTabBar->SetPageItem(tab, index);
        m_pPageTabBar->TruncateItems(group->GetTabCount());
    }
    // The group's item changes only when its caption counts the tabs.
    if (group->ExpandCaption(group->GetTabCount()) != group->m_caption)
        UpdateGroupCaption(group);
}

//--- Activation

void CMainFrame::OnTabActivated(CTabItem* tab)
{
    if (tab == nullptr || tab->m_pGroup == nullptr)
        return;
    CTabGroup* group = tab->m_pGroup;
    group->PushActiveTab(tab->m_hFrame);
    int index = group->IndexOf(tab);
    if (index < 0 || !IsPageBarReady())
        return;
    if (tab->m_image <= 2)
        tab->m_image = kTabImageActive;
    if (group != theApp.GetActiveGroup())
        return;
    m_pPageTabBar->UpdateItemIcon(tab, index);
    m_pPageTabBar->SetCurSel(index);
    m_pPageTabBar->ScrollItemIntoView(index);
}

void CMainFrame::ActivateTabWindow(HWND hTab)
{
    if (IsLiveWindow(hTab) && m_hWndMDIClient != nullptr)
        ::SendMessageA(m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(hTab), 0);
}

void CMainFrame::ActivatePrevTab(CTabItem* tab)
{
    CTabGroup* group = tab != nullptr ? tab->m_pGroup : nullptr;
    int index = group != nullptr ? group->IndexOf(tab) : -1;
    if (index < 0)
        return;
    CTabItem* target = index > 0 ? group->GetTab(index - 1)
                       : theApp.m_settings.bWindowChangeLoop() ? group->GetTab(group->GetTabCount() - 1)
                                                               : nullptr;
    if (target != nullptr && target != tab)
        ActivateTabWindow(target->m_hFrame);
}

void CMainFrame::ActivateNextTab(CTabItem* tab)
{
    CTabGroup* group = tab != nullptr ? tab->m_pGroup : nullptr;
    int index = group != nullptr ? group->IndexOf(tab) : -1;
    if (index < 0)
        return;
    CTabItem* target = index + 1 < group->GetTabCount() ? group->GetTab(index + 1)
                       : theApp.m_settings.bWindowChangeLoop() ? group->GetTab(0)
                                                               : nullptr;
    if (target != nullptr && target != tab)
        ActivateTabWindow(target->m_hFrame);
}

//--- Closing a tab

void CMainFrame::OnTabClosed(CTabItem* tab)
{
    // The frame is going: its groups are not reshaped any more.
    if (theApp.IsShuttingDown() || m_exitDone)
        return;
    if (tab == nullptr || (tab->m_flags & kTabGroupClosing) || tab->m_pGroup == nullptr)
        return;
    CTabGroup* group = tab->m_pGroup;
    int index = group->IndexOf(tab);
    if (index < 0)
        return;
    CTabItem* before = group->GetTab(index - 1);
    CTabItem* after = group->GetTab(index + 1);
    const bool wasActive = GetActiveTab() == tab;

    if (IsPageBarReady())
        m_pPageTabBar->RemovePageItem(tab, index);
    group->m_tabs.erase(group->m_tabs.begin() + index);

    if (group->m_tabs.empty()) {
        if (theApp.m_settings.bClosePTabChildEmpty()) {
            // The emptied group goes, whichever group is current.
            CSemaphoreLock lock(theApp.m_hSemaphore);
            if (lock.Acquired()) {
                SetTabGroup(tab, nullptr);
                CloseGroup(group);
                return;
            }
        }
        // Kept, by the setting or because another instance holds the tab-set
        // files: the group shows its default page and its caption follows.
        theApp.OpenGroupDefaultPage(group, 0);
    }
    if (wasActive)
        ActivateAfterClose(group, tab, before, after);
    UpdateGroupCaption(group);
}

void CMainFrame::ActivateAfterClose(CTabGroup* group, CTabItem* closed, CTabItem* before,
                                    CTabItem* after)
{
    if (group->m_tabs.empty())
        return;
    CTabItem* first = group->m_tabs.front();
    CTabItem* last = group->m_tabs.back();
    HWND target = nullptr;
    switch (theApp.m_settings.iTabClosePos) {
    case 1: target = (after != nullptr ? after : last)->m_hFrame; break;
    case 2: target = (before != nullptr ? before : first)->m_hFrame; break;
    case 3: target = last->m_hFrame; break;
    case 4: target = first->m_hFrame; break;
    default:
        // Only a tab still in this group: one moved away since is not taken.
        for (HWND id : {group->m_hPrevTab, group->m_hEarlierTab}) {
            CTabItem* candidate = IsLiveWindow(id) && id != closed->m_hFrame ? theApp.FindTabById(id) : nullptr;
            if (candidate != nullptr && candidate->m_pGroup == group) {
                target = id;
                break;
            }
        }
        if (target == nullptr)
            target = last->m_hFrame;
        break;
    }
    ActivateTabWindow(target);
}

// A tab already closing, or in an unknown state, is left alone; a tab that
// closes without joining the closed-tab list keeps that state.
void CMainFrame::CloseCTabItem(CTabItem* tab)
{
    if (tab == nullptr || tab->m_closeReason == kCloseClosing || tab->m_closeReason < kCloseNone ||
        tab->m_closeReason > kClosePopup || !IsLiveWindow(tab->m_hFrame))
        return;
    if (tab->m_closeReason != kCloseUnrecorded)
        tab->m_closeReason = kCloseClosing;
    ::PostMessageA(tab->m_hFrame, WM_CLOSE, 0, 0);
}

void CMainFrame::CloseTabsBeside()
{
    CTabItem* active = GetActiveTab();
    CTabGroup* group = active != nullptr ? active->m_pGroup : nullptr;
    if (group == nullptr)
        return;
    for (CTabItem* tab : group->m_tabs) {
        signed char reason = tab->m_closeReason;
        if (tab == active || !IsLiveWindow(tab->m_hFrame) ||
            (reason != kCloseNone && reason != kCloseUnrecorded && reason != kClosePopup))
            continue;
        if (reason != kCloseUnrecorded)
            tab->m_closeReason = kCloseClosing;
        ::PostMessageA(tab->m_hFrame, WM_CLOSE, 0, 0);
    }
}

//--- Moving and showing

void CMainFrame::MoveTabToGroup(CTabItem* tab, CTabGroup* target)
{
    if (tab == nullptr || tab->m_pGroup == nullptr || target == nullptr)
        return;
    CTabGroup* old = tab->m_pGroup;
    int index = old->IndexOf(tab);
    if (index < 0 || old == target)
        return;
    old->m_tabs.erase(old->m_tabs.begin() + index);
    SetTabGroup(tab, target);
    if (old->m_hActiveTab == tab->m_hFrame) {
        old->m_hActiveTab = old->m_hPrevTab;
        old->m_hPrevTab = old->m_hEarlierTab;
    }
    target->m_tabs.push_back(tab);
    if (IsGroupBarReady()) {
        UpdateGroupCaption(old);
        UpdateGroupCaption(target);
    }
    if (old->m_tabs.empty()) {
        if (theApp.m_settings.bClosePTabChildEmpty()) {
            CloseGroup(old);
            return;
        }
        old->ClearActiveTabs();
        theApp.OpenGroupDefaultPage(old, 0);
    }
    target->PushActiveTab(tab->m_hFrame);
    // The current group's bar shows its new tab even though the group does
    // not change.
    if (IsGroupBarReady() && m_pGroupTabBar->IsCurrentGroup(target))
        FillTabBar(target);
    ActivateGroup(target);
}

void CMainFrame::FillTabBar(CTabGroup* group)
{
    if (!IsPageBarReady() || group == nullptr)
        return;
    BOOL began = m_pPageTabBar->BeginUpdate(this);
    CWaitCursorScope wait;
    for (int i = 0; i < group->GetTabCount(); ++i)
        m_pPageTabBar->SetPageItem(group->GetTab(i), i);
    m_pPageTabBar->TruncateItems(group->GetTabCount());
    if (began)
        m_pPageTabBar->EndUpdate(this);
}

void CMainFrame::ActivateGroup(CTabGroup* group)
{
    if (group == nullptr || !theApp.IsGroupListed(group))
        return;
    if (IsGroupBarReady()) {
        if (m_pGroupTabBar->IsCurrentGroup(group))
            return;
        if (m_pGroupTabBar->SelectGroup(group)) {
            theApp.SetCurrentGroup(group);
        } else {
            group = nullptr;
            for (auto it = theApp.m_groups.rbegin(); it != theApp.m_groups.rend(); ++it) {
                theApp.SetCurrentGroup(*it);
                if (m_pGroupTabBar->SelectGroup(*it)) {
                    group = *it;
                    break;
                }
            }
            if (group == nullptr)
                return;
        }
    } else {
        theApp.SetCurrentGroup(group);
    }
    OnGroupTabSelected(group);
}

// Shows the group's tabs and brings its active (else its last) tab up.
void CMainFrame::OnGroupTabSelected(CTabGroup* group)
{
    if (group == nullptr)
        return;
    if (theApp.GetActiveGroup() != group)
        theApp.SetCurrentGroup(group);
    FillTabBar(group);
    if (IsLiveWindow(group->m_hActiveTab)) {
        ActivateTabWindow(group->m_hActiveTab);
        return;
    }
    if (group->m_tabs.empty())
        return;
    HWND last = group->m_tabs.back()->m_hFrame;
    group->m_hActiveTab = group->m_hPrevTab = group->m_hEarlierTab = last;
    ActivateTabWindow(last);
}

//--- Tab images

CTabItem* CMainFrame::ClampTabImage(CTabItem* tab)
{
    if (tab->m_flags & kTabAutoReload)
        tab->m_image = kTabImageReload;
    else if (tab->m_image > kTabImageActive)
        tab->m_image = kTabImageActive;
    return tab;
}

void CMainFrame::UpdateTabImage(CTabItem* tab, BOOL bIconOnly)
{
    if (tab == nullptr || tab->IsClosing())
        return;
    ClampTabImage(tab);
    CTabGroup* group = tab->m_pGroup;
    if (group == nullptr || group != theApp.GetActiveGroup() || !IsPageBarReady())
        return;
    int index = group->IndexOf(tab);
    if (index < 0)
        return;
    if (bIconOnly)
        m_pPageTabBar->UpdateItemIcon(tab, index);
    else
        m_pPageTabBar->UpdatePageItem(tab, index);
}

void CMainFrame::RefreshTabState(CTabItem* tab)
{
    if (tab == nullptr)
        return;
    if (tab->m_closeReason == kClosePopup) {
        CloseCTabItem(tab);
        return;
    }
    if (tab->IsClosing())
        return;
    tab->m_image = GetActiveTab() == tab ? kTabImageActive : kTabImageInactive;
    if (tab->m_flags & kTabAutoReload)
        tab->m_image = kTabImageReload;
    CTabGroup* group = tab->m_pGroup;
    if (group != nullptr && group == theApp.GetActiveGroup() && IsPageBarReady()) {
        int index = group->IndexOf(tab);
        if (index >= 0)
            m_pPageTabBar->UpdatePageItem(tab, index);
    }
}

//--- Closing groups

void CMainFrame::OnGroupsCommand(UINT nID)
{
    CloseGroupsCommand(nID);
    if (GetSafeHwnd() != nullptr)
        DrawMenuBar();
}

void CMainFrame::CloseGroupsCommand(UINT nID)
{
    // Closing all asks first: the prompt must not hold the lock that the
    // tab-set files of other instances wait for.
    if (nID == ID_GROUP_CLOSEALL &&
        ::MessageBoxA(m_hWnd, theApp.GetMessageText(15), theApp.GetMainClassName(),
                      MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) != IDYES)
        return;
    CSemaphoreLock lock(theApp.m_hSemaphore);
    if (!lock.Acquired())
        return;
    CTabGroup* current = theApp.GetActiveGroup();
    if (current == nullptr)
        return;
    switch (nID) {
    case 36447: CloseGroup(current); break;
    case 36448: CloseOtherGroups(current); break;
    case 36449: CloseGroupsLeft(current); break;
    case 36450: CloseGroupsRight(current); break;
    case ID_GROUP_CLOSEALL: CloseAllGroupsNow(); break;
    default: break;
    }
}

// Marks each tab as going with its group, closes its window and forgets
// the group in it, so that no closing tab is left pointing at a deleted
// group.
void CMainFrame::CloseTabsOf(CTabGroup* group)
{
    for (CTabItem* tab : group->m_tabs) {
        tab->m_flags |= kTabGroupClosing;
        SetTabGroup(tab, nullptr);
        signed char reason = tab->m_closeReason;
        if ((reason == kCloseNone || reason == kCloseUnrecorded || reason == kClosePopup) &&
            IsLiveWindow(tab->m_hFrame)) {
            if (reason != kCloseUnrecorded)
                tab->m_closeReason = kCloseClosing;
            ::PostMessageA(tab->m_hFrame, WM_CLOSE, 0, 0);
        }
    }
    group->m_tabs.clear();
}

void CMainFrame::DeleteGroup(CTabGroup* group)
{
    if (IsGroupBarReady())
        m_pGroupTabBar->RemoveGroup(group);
    theApp.RemoveGroupFromList(group);
    delete group;
}

void CMainFrame::CloseGroup(CTabGroup* group)
{
    if (group == nullptr || !theApp.IsGroupListed(group))
        return;
    const bool wasCurrent = theApp.GetActiveGroup() == group;
    CloseTabsOf(group);
    DeleteGroup(group);
    if (!theApp.m_groups.empty()) {
        if (wasCurrent)
            ActivateGroup(theApp.GetActiveGroup());
        if (IsGroupBarReady())
            m_pGroupTabBar->Invalidate();
    } else {
        AfterLastGroupClosed();
    }
    theApp.TrimWorkingSet(TRUE);
}

void CMainFrame::AfterLastGroupClosed()
{
    theApp.m_pActiveTabFrame = nullptr;
    theApp.m_pActiveView = nullptr;
    if (IsPageBarReady())
        m_pPageTabBar->DeleteAllItems();
    UpdateAddressBar(nullptr, nullptr);
    RecalcLayout();
}

void CMainFrame::CloseOtherGroups(CTabGroup* kept)
{
    std::vector<CTabGroup*> doomed;
    for (CTabGroup* group : theApp.m_groups)
        if (group != kept)
            doomed.push_back(group);
    CloseGroupList(doomed);
}

void CMainFrame::CloseGroupsLeft(CTabGroup* kept)
{
    std::vector<CTabGroup*> doomed;
    for (CTabGroup* group : theApp.m_groups) {
        if (group == kept)
            break;
        doomed.push_back(group);
    }
    CloseGroupList(doomed);
}

void CMainFrame::CloseGroupsRight(CTabGroup* kept)
{
    std::vector<CTabGroup*> doomed;
    for (auto it = theApp.m_groups.rbegin(); it != theApp.m_groups.rend() && *it != kept; ++it)
        doomed.push_back(*it);
    CloseGroupList(doomed);
}

// Closes the tabs of each group, then the group; the list is a copy, since
// deleting a group changes the application's list.
void CMainFrame::CloseGroupList(const std::vector<CTabGroup*>& doomed)
{
    for (CTabGroup* group : doomed) {
        CloseTabsOf(group);
        DeleteGroup(group);
    }
    if (IsGroupBarReady())
        m_pGroupTabBar->Invalidate();
}

void CMainFrame::CloseAllGroups()
{
    if (::MessageBoxA(m_hWnd, theApp.GetMessageText(15), theApp.GetMainClassName(),
                      MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) != IDYES)
        return;
    CloseAllGroupsNow();
}

void CMainFrame::CloseAllGroupsNow()
{
    std::vector<CTabGroup*> all = theApp.m_groups;
    for (CTabGroup* group : all) {
        CloseTabsOf(group);
        theApp.RemoveGroupFromList(group);
        delete group;
    }
    theApp.m_nextGroupNumber = 1;
    if (IsGroupBarReady())
        m_pGroupTabBar->DeleteAllItems();
    AfterLastGroupClosed();
}

//--- Tab frames and closed tabs

CChildFrame* CMainFrame::CreateTabFrame()
{
    // Every tab shares one class: it is registered with the first tab.
    static CString s_className;
    if (s_className.IsEmpty()) {
        LPCSTR name = GetIconWndClass(WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, IDI_TABFRAME);
        if (name != nullptr)
            s_className = name;
    }
    CChildFrame* frame = new CChildFrame(this);
    if (frame == nullptr)
        return nullptr;
    // Made at once where a restored tab lies, over the whole screen, so that
    // the frame need not be moved there after its creation.
    const CRect rect(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    // A failed creation has already deleted the frame.
    if (!frame->Create(s_className.IsEmpty() ? nullptr : static_cast<LPCSTR>(s_className), "",
                       WS_CHILD | WS_OVERLAPPEDWINDOW, rect, this))
        return nullptr;
    return frame;
}

void CMainFrame::OpenAddressBarUrl(LPCTSTR text)
{
    if (text == nullptr || *text == '\0')
        return;
    const SettingsRecord& settings = theApp.m_settings;
    if (settings.iParentTabNewRule & 0x04) {
        theApp.OpenUrlInNewGroup(text, kReasonAddressBar, 0);
    } else {
        bool newTab = settings.bOpenNewTab_AddBar();
        if (IsKeyDown(VK_CONTROL) || IsKeyDown(VK_SHIFT) || IsKeyDown(VK_MENU))
            newTab = !newTab;
        CBrowserView* view = GetActiveTab() != nullptr ? GetActiveTab()->m_pView : nullptr;
        if (view != nullptr && view->IsWindow() && !newTab)
            view->Navigate(text);
        else
            theApp.OpenUrl(nullptr, text, kReasonAddressBar);
    }
    // The page gets the keyboard back from the address box.
    CTabItem* active = GetActiveTab();
    CBrowserView* view = active != nullptr ? active->m_pView : nullptr;
    if (view == nullptr || !view->IsWindow())
        return;
    HWND inner = view->m_hLastFocus;
    if (inner != nullptr && ::IsChild(view->m_hWnd, inner)) {
        if (::GetFocus() != inner)
            ::SetFocus(inner);
        return;
    }
    view->m_state &= ~kViewFocusPending;
    view->FocusPage();
}

//--- Tab bar commands and scrolling

void CMainFrame::HideTabButton()
{
    if (m_wndTabButton.GetSafeHwnd() != nullptr)
        m_wndTabButton.ShowWindow(SW_HIDE);
}

void CMainFrame::RecreateTabBar()
{
    const SettingsRecord& settings = theApp.m_settings;
    HideTabButton();
    if (m_pPageTabBar == nullptr || !m_pPageTabBar->Create(this, settings.bTabImage() ? 0x2 : 0, settings.iTabTop))
        return;
    if (IsGroupBarReady())
        ::SetWindowPos(m_pPageTabBar->m_hWnd, m_pGroupTabBar->m_hWnd, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    m_pPageTabBar->RebuildFromActiveGroup();
    AfterTabBarRecreated(m_pPageTabBar);
}

void CMainFrame::RecreateGroupTabBar()
{
    const SettingsRecord& settings = theApp.m_settings;
    HideTabButton();
    if (m_pGroupTabBar == nullptr ||
        !m_pGroupTabBar->Create(this, settings.bTabImage_P() ? 0x2 : 0, settings.iTabTop_P))
        return;
    m_pGroupTabBar->RebuildFromGroupList();
    AfterTabBarRecreated(m_pGroupTabBar);
}

// A bar that full screen hid stays hidden in its new window.
void CMainFrame::AfterTabBarRecreated(CTabBarCtrl* bar)
{
    if (bar->m_layoutSuspended)
        bar->ShowWindow(SW_HIDE);
    RecalcLayout();
}

void CMainFrame::OnGroupPrev()
{
    if (IsGroupBarReady())
        m_pGroupTabBar->SelectPrevGroup();
}

void CMainFrame::OnGroupNext()
{
    if (IsGroupBarReady())
        m_pGroupTabBar->SelectNextGroup();
}

// The popup is made once and kept; it stands beside the group's tab on the
// side away from the bar's edge. While it tracks, a second call only
// refills and moves it.
BOOL CMainFrame::ShowGroupTabPopup(CTabGroup* group, int index)
{
    if (::GetActiveWindow() == nullptr || !IsGroupBarReady())
        return FALSE;
    if (m_pWndList == nullptr) {
        auto popup = std::make_unique<CDlgWndMng>();
        popup->m_hoverMode = true;
        popup->m_pHost = &m_barHost;
        if (!popup->Create(CDlgWndMng::kTemplateId, this))
            return FALSE;
        m_pWndList = std::move(popup);
    }
    CDlgWndMng& popup = *m_pWndList;
    if (!popup.FillTabs(group) || popup.GetList().GetItemCount() == 0) {
        popup.ShowWindow(SW_HIDE);
        return FALSE;
    }
    CRect tab, bar;
    m_pGroupTabBar->GetClientRect(&bar);
    CRect inside;
    if (m_pGroupTabBar->GetItemRect(index, &tab) && ::IntersectRect(&inside, &tab, &bar)) {
        m_pGroupTabBar->ClientToScreen(&tab);
        CSize list = popup.GetListExtent();
        CRect frame(0, 0, list.cx, list.cy);
        ::AdjustWindowRectEx(&frame, static_cast<DWORD>(popup.GetStyle()), FALSE, popup.GetExStyle());
        CPoint at(tab.left, tab.bottom);
        switch (theApp.m_settings.iTabTop_P) {
        case 0: at = CPoint(tab.left, tab.top - frame.Height()); break;
        case 2: at = CPoint(tab.right, tab.top); break;
        case 3: at = CPoint(tab.left - frame.Width(), tab.top); break;
        default: break;
        }
        ::SetWindowPos(popup.m_hWnd, HWND_TOPMOST, at.x, at.y, frame.Width(), frame.Height(), SWP_NOACTIVATE);
    }
    if (!popup.IsTracking())
        popup.Track();
    return TRUE;
}

// The column of the tab bar whose scroll bar sent it moves by whole rows,
// its bottom staying at the bottom of the visible band.
void CMainFrame::OnVScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar)
{
    HWND hScroll = pScrollBar != nullptr ? pScrollBar->m_hWnd : nullptr;
    CTabBarCtrl* bar = nullptr;
    if (IsPageBarReady() && m_pPageTabBar->GetScrollBar() != nullptr &&
        m_pPageTabBar->GetScrollBar()->m_hWnd == hScroll)
        bar = m_pPageTabBar;
    else if (IsGroupBarReady() && m_pGroupTabBar->GetScrollBar() != nullptr &&
             m_pGroupTabBar->GetScrollBar()->m_hWnd == hScroll)
        bar = m_pGroupTabBar;
    if (bar == nullptr) {
        Default();
        return;
    }
    CTabScrollBar* scroll = bar->GetScrollBar();
    if (nSBCode == SB_ENDSCROLL) {
        bar->SetRedraw(TRUE);
        bar->Invalidate();
        return;
    }
    int low = 0, high = 0;
    scroll->GetScrollRange(&low, &high);
    int page = static_cast<int>(scroll->GetPageSize());
    int old = scroll->GetScrollPos();
    int pos = old;
    switch (nSBCode) {
    case SB_LINEUP: --pos; break;
    case SB_LINEDOWN: ++pos; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: pos = static_cast<int>(nPos); break;
    case SB_TOP: pos = low; break;
    case SB_BOTTOM: pos = high; break;
    default: break;
    }
    // The last page shows the last rows: no further than range - page + 1.
    int limit = std::max(low, high - std::max(page, 1) + 1);
    pos = std::max(low, std::min(pos, limit));
    if (pos == old)
        return;
    RedrawGuard guard(bar->m_hWnd);
    scroll->SetScrollPos(pos);
    CRect band = scroll->GetWindowRectInFrame();
    CRect strip = scroll->GetTabBarRectInFrame();
    int step = std::max(bar->GetRowStep(), 1);
    strip.top = band.top - pos * step;
    strip.bottom = band.bottom;
    bar->SetWindowPos(nullptr, strip.left, strip.top, strip.Width(), strip.Height(),
                      SWP_NOZORDER | SWP_NOACTIVATE);
}
