#include "app/FrameBarHost.h"

#include <algorithm>
#include <vector>

#include "app/MainFrame.h"
#include "app/VantorelApp.h"
#include "tab/TabGroup.h"
#include "tab/TabItem.h"

namespace {

const WORD kReasonDuplicate = 9;

} // namespace

//--- The group list

int CFrameBarHost::GetGroupCount() const
{
    return theApp.GetGroupCount();
}

CTabGroup* CFrameBarHost::GetGroupAt(int index) const
{
    return theApp.GetGroupAt(index);
}

int CFrameBarHost::GetGroupIndex(const CTabGroup* group) const
{
    return theApp.GetGroupIndex(group);
}

CTabGroup* CFrameBarHost::GetActiveGroup() const
{
    return theApp.GetActiveGroup();
}

void CFrameBarHost::SetCurrentGroup(CTabGroup* group)
{
    theApp.SetCurrentGroup(group);
}

bool CFrameBarHost::IsGroupListed(const CTabGroup* group) const
{
    return theApp.IsGroupListed(group);
}

bool CFrameBarHost::IsTabListed(const CTabItem* tab) const
{
    return theApp.IsTabListed(tab);
}

void CFrameBarHost::MoveGroupInList(CTabGroup* group, int to)
{
    std::vector<CTabGroup*>& groups = theApp.m_groups;
    auto it = std::find(groups.begin(), groups.end(), group);
    if (it != groups.end() && to >= 0 && to < static_cast<int>(groups.size()))
    {
        groups.erase(it);
        groups.insert(groups.begin() + to, group);
    }
}

//--- Group operations

void CFrameBarHost::ActivateGroup(CTabGroup* group)
{
    m_frame.ActivateGroup(group);
}

void CFrameBarHost::CloseGroup(CTabGroup* group)
{
    m_frame.CloseGroup(group);
}

// The copy is numbered by the frame like any new group; its pages open in
// one batch at the end of the group.
void CFrameBarHost::DuplicateGroup(CTabGroup* group)
{
    if (group == nullptr)
        return;
    std::vector<CTabItem*> pages = group->m_tabs;
    CTabGroup* copy = m_frame.CreateGroup(group->m_captionTemplate, group->m_options, group->m_image);
    if (copy == nullptr)
        return;
    {
        CTabSetMark mark(m_frame);
        CTabBatch batch;
        for (size_t i = 0; i < pages.size(); ++i)
        {
            if (i % 10 == 0)
                CTabBatch::Pause();
            CTabItem* tab = pages[i];
            if (tab != nullptr && theApp.IsTabListed(tab))
                theApp.OpenUrl(copy, tab->m_url, kReasonDuplicate, tab->m_pageOptions);
        }
        if (!pages.empty() && theApp.IsGroupListed(copy))
            m_frame.ActivateGroup(copy);
    }
}

CTabGroup* CFrameBarHost::CreateDefaultGroup(LPCTSTR name)
{
    return m_frame.CreateDefaultGroup(name);
}

void CFrameBarHost::MoveTabToGroup(CTabItem* tab, CTabGroup* target)
{
    m_frame.MoveTabToGroup(tab, target);
}

void CFrameBarHost::FillTabBar(CTabGroup* group)
{
    m_frame.FillTabBar(group);
}

BOOL CFrameBarHost::ShowGroupTabPopup(CTabGroup* group, int index)
{
    return m_frame.ShowGroupTabPopup(group, index);
}

//--- Tabs

CTabItem* CFrameBarHost::GetActiveTab() const
{
    return m_frame.GetActiveTab();
}

bool CFrameBarHost::HasActiveTabFrame() const
{
    return theApp.m_pActiveTabFrame != nullptr;
}

void CFrameBarHost::CloseTab(CTabItem* tab)
{
    m_frame.CloseCTabItem(tab);
}

void CFrameBarHost::GetTabUrlAt(int index, CString& url) const
{
    m_frame.GetTabUrlAt(index, url);
}

void CFrameBarHost::OpenUrl(CTabGroup* group, LPCTSTR url, WORD reason)
{
    theApp.OpenUrl(group, url, reason);
}

void CFrameBarHost::FocusActivePage()
{
    m_frame.FocusActivePage();
}

void CFrameBarHost::TrackTabContextMenu()
{
    m_frame.TrackTabContextMenu(&m_frame, 1);
}

void CFrameBarHost::HideTabButton()
{
    m_frame.HideTabButton();
}

//--- The frame's windows

CGroupTabBar* CFrameBarHost::GetGroupTabBar() const
{
    return m_frame.m_pGroupTabBar;
}

CPageTabBar* CFrameBarHost::GetPageTabBar() const
{
    return m_frame.m_pPageTabBar;
}

HWND CFrameBarHost::GetMdiClient() const
{
    return m_frame.m_hWndMDIClient;
}
