// CMainFrame: writing the open tabs to a tab-set file and opening the tabs
// of one. The file format is TabSetFile's.
#include "app/MainFrame.h"

#include <windows.h>

#include "app/TabSetFile.h"
#include "app/VantorelApp.h"
#include "bars/GroupTabBar.h"
#include "bars/PageTabBar.h"
#include "framework/win/RedrawGuard.h"
#include "tab/BrowserView.h"
#include "tab/ChildFrame.h"
#include "tab/TabGroup.h"
#include "tab/TabItem.h"

namespace {

// A run of tab-set tabs: the tabs go to the end of their groups, both tab
// bars stop drawing and the frame's loading mark makes the first tab of each
// group follow its activation reason. All of it ends with the scope, or with
// the fault that breaks the scope off.
class CTabSetOpening
{
public:
    explicit CTabSetOpening(CMainFrame& frame)
        : m_mark(frame), m_groupRedraw(WindowOf(frame.m_pGroupTabBar)), m_pageRedraw(WindowOf(frame.m_pPageTabBar))
    {
    }
    CTabSetOpening(const CTabSetOpening&) = delete;
    CTabSetOpening& operator=(const CTabSetOpening&) = delete;

private:
    static HWND WindowOf(const CWnd* bar) { return bar != nullptr ? bar->GetSafeHwnd() : nullptr; }

    // The batch and the mark end after the bars draw again (members end in
    // reverse).
    CTabSetMark m_mark;
    CTabBatch m_batch;
    RedrawGuard m_groupRedraw;
    RedrawGuard m_pageRedraw;
};

WORD ReasonFor(size_t index, size_t count)
{
    return index + 1 == count ? kReasonForceForeground : kReasonPageBackground;
}

} // namespace

CTabSetMark::CTabSetMark(CMainFrame& frame)
{
    frame.m_stateWord |= kStateOpeningTabSet;
    m_hold.Hold([](const ULONG_PTR*) {
        if (g_pMainFrame != nullptr)
            g_pMainFrame->m_stateWord &= ~static_cast<DWORD>(kStateOpeningTabSet);
    });
}

void CMainFrame::CollectTabSet(std::vector<TabSetFile::Group>& groups, bool withHistory) const
{
    groups.clear();
    for (CTabGroup* group : theApp.m_groups) {
        TabSetFile::Group saved;
        saved.caption = group->m_captionTemplate;
        saved.options = static_cast<long>(group->m_options);
        saved.image = group->m_image;
        for (CTabItem* tab : group->m_tabs) {
            TabSetFile::Tab entry;
            entry.flags = static_cast<long>(tab->m_pageOptions);
            entry.title = tab->m_title;
            entry.url = tab->m_url;
            // A tab whose window is gone keeps no history in the file.
            if (withHistory && tab->m_pView != nullptr && ::IsWindow(tab->m_hFrame) &&
                tab->m_pView->GetSafeHwnd() != nullptr) {
                tab->m_pView->SaveBackHistory(entry.back);
                tab->m_pView->SaveForwardHistory(entry.forward);
            }
            saved.tabs.push_back(entry);
        }
        groups.push_back(saved);
    }
}

bool CMainFrame::WriteTabSet(LPCTSTR path, bool version3)
{
    // Two instances never write a tab set at the same time; a busy
    // semaphore skips this write (the autosave tries again at its next tick).
    CSemaphoreLock lock(theApp.m_hSemaphore);
    if (!lock.Acquired() || path == nullptr)
        return false;
    std::vector<TabSetFile::Group> groups;
    CollectTabSet(groups, version3);
    const CString text = version3 ? TabSetFile::FormatV3(groups) : TabSetFile::FormatV2(groups);
    return TabSetFile::WriteWhole(path, text);
}

// The recovery file, written on the autosave timer and before a risky
// step: a failed write keeps the last one and is tried again at the next
// turn, where a box on every turn would stop the user's work.
void CMainFrame::SaveTabSet(LPCTSTR path)
{
    (void)WriteTabSet(path, true);
}

void CMainFrame::SaveTabSetV2(LPCTSTR path)
{
    (void)WriteTabSet(path, false);
}

void CMainFrame::OpenTabSetGroups(const std::vector<TabSetFile::Group>& groups, bool withHistory)
{
    for (const TabSetFile::Group& saved : groups) {
        if (m_pGroupTabBar == nullptr || m_pGroupTabBar->GetSafeHwnd() == nullptr)
            return;
        CTabGroup* group = CreateGroup(saved.caption, static_cast<DWORD>(saved.options),
                                       static_cast<BYTE>(saved.image));
        if (group == nullptr)
            continue;
        const size_t count = saved.tabs.size();
        for (size_t i = 0; i < count; ++i) {
            if (i % 10 == 0)
                CTabBatch::Pause();
            const TabSetFile::Tab& tab = saved.tabs[i];
            if (!theApp.IsGroupListed(group))
                break;
            if (withHistory)
                theApp.OpenUrlWithHistory(group, tab.url, &tab.back, &tab.forward, ReasonFor(i, count),
                                          static_cast<DWORD>(tab.flags));
            else
                theApp.OpenUrl(group, tab.url, ReasonFor(i, count), static_cast<DWORD>(tab.flags));
        }
    }
}

void CMainFrame::LoadTabSet(LPCTSTR path)
{
    CStringArray lines;
    if (path == nullptr || !TabSetFile::ReadLines(path, lines))
        return;
    std::vector<TabSetFile::Group> groups;
    if (!TabSetFile::ParseV3(lines, theApp.m_settings.strTitle_P, groups)) {
        LoadTabSetV2(path);
        return;
    }
    CTabSetOpening opening(*this);
    OpenTabSetGroups(groups, true);
}

void CMainFrame::LoadTabSetV2(LPCTSTR path)
{
    CStringArray lines;
    if (path == nullptr || !TabSetFile::ReadLines(path, lines))
        return;
    std::vector<TabSetFile::Group> groups;
    if (!TabSetFile::ParseV2(lines, theApp.m_settings.strTitle_P, groups))
        return;
    CTabSetOpening opening(*this);
    OpenTabSetGroups(groups, true);
}

void CMainFrame::LoadClosedTabSet(LPCTSTR path)
{
    CStringArray lines;
    if (path == nullptr || !TabSetFile::ReadLines(path, lines))
        return;
    std::vector<TabSetFile::Group> groups;
    std::vector<TabSetFile::Tab> loose;
    TabSetFile::ParseClosedSet(lines, theApp.m_settings.strTitle_P, groups, loose);
    CTabSetOpening opening(*this);
    OpenTabSetGroups(groups, false);
    for (const TabSetFile::Tab& tab : loose)
        theApp.OpenUrl(theApp.GetActiveGroup(), tab.url, kReasonPageForeground,
                       static_cast<DWORD>(tab.flags));
}
