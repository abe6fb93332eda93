// CVantorelApp: the group list and the operations that open pages in tabs.
#include "app/VantorelApp.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>

#include "app/MainFrame.h"
#include "bars/PageTabBar.h"
#include "framework/win/RedrawGuard.h"
#include "framework/core/File.h"
#include "lists/FavoritesScan.h"
#include "shared/ProgramPath.h"
#include "shared/StartupList.h"
#include "shared/UrlText.h"
#include "shared/WidePath.h"
#include "tab/BrowserView.h"
#include "tab/ChildFrame.h"
#include "tab/TabGroup.h"
#include "tab/TabItem.h"

namespace {

const char kFavoriteLinkScheme[] = "va-fava:";
// A favorites folder opens at most this many tabs.
const int kMaxShortcutTabs = 100;

bool StartsWithNoCase(LPCTSTR text, LPCTSTR prefix)
{
    return text != nullptr && _strnicmp(text, prefix, strlen(prefix)) == 0;
}

// A local folder path without network or parent-relative parts.
bool IsSafeLocalFolder(const CString& folder)
{
    if (folder.GetLength() < 3 || folder[1] != ':' || folder[2] != '\\')
        return false;
    return folder.Find("\\..") < 0 && folder.Find("..\\") < 0 && folder.Find('/') < 0;
}

} // namespace

//--- Free helpers

DWORD ConvertTabLoadFlags(WORD flags)
{
    if (flags == 0)
        return 0;
    DWORD result = 0x01;
    if (!(flags & 0x10)) result |= 0x10;
    if (!(flags & 0x20)) result |= 0x40;
    if (!(flags & 0x40)) result |= 0x20;
    if (flags & 0x01) result |= 0x80;
    if (flags & 0x02) result |= 0x100;
    if (flags & 0x04) result |= 0x200;
    if (flags & 0x08) result |= 0x400;
    if (flags & 0x80) result |= 0x4000;
    if (flags & 0x100) result |= 0x40000000;
    return result;
}

CSemaphoreLock::CSemaphoreLock(HANDLE hSemaphore, DWORD timeoutMs) : m_hSemaphore(hSemaphore)
{
    // No semaphore: proceed unlocked.
    if (m_hSemaphore == nullptr || ::WaitForSingleObject(m_hSemaphore, timeoutMs) != WAIT_OBJECT_0)
        return;
    m_held = true;
    m_hold.Hold(
        [](const ULONG_PTR* data) { ::ReleaseSemaphore(reinterpret_cast<HANDLE>(data[0]), 1, nullptr); },
        reinterpret_cast<ULONG_PTR>(m_hSemaphore));
}

namespace {

// Ends a run of tabs: data holds the append position set aside and the page
// tab bar's window when the run holds the bar.
void EndTabBatch(const ULONG_PTR* data)
{
    theApp.m_settings.iTabAppendPos = static_cast<BYTE>(data[0]);
    const HWND hBar = reinterpret_cast<HWND>(data[1]);
    CPageTabBar* bar = g_pMainFrame != nullptr ? g_pMainFrame->m_pPageTabBar : nullptr;
    if (hBar != nullptr && bar != nullptr && bar->GetSafeHwnd() == hBar)
        bar->EndUpdate(g_pMainFrame);
}

} // namespace

CTabBatch::CTabBatch()
{
    const BYTE appendPos = theApp.m_settings.iTabAppendPos;
    theApp.m_settings.iTabAppendPos = 0;
    CPageTabBar* bar = g_pMainFrame != nullptr ? g_pMainFrame->m_pPageTabBar : nullptr;
    HWND hBar = nullptr;
    if (bar != nullptr && bar->GetSafeHwnd() != nullptr && bar->BeginUpdate(g_pMainFrame))
        hBar = bar->GetSafeHwnd();
    m_hold.Hold(EndTabBatch, appendPos, reinterpret_cast<ULONG_PTR>(hBar));
}

void CTabBatch::Pause()
{
    theApp.TrimWorkingSet(TRUE);
    ::Sleep(100);
}

//--- The group list

CTabGroup* CVantorelApp::GetActiveGroup() const
{
    if (m_pCurrentGroupKey != nullptr && IsGroupListed(m_pCurrentGroupKey))
        return m_pCurrentGroupKey;
    if (m_pFallbackGroupKey != nullptr && IsGroupListed(m_pFallbackGroupKey))
        return m_pFallbackGroupKey;
    return m_groups.empty() ? nullptr : m_groups.back();
}

void CVantorelApp::SetCurrentGroup(CTabGroup* group)
{
    if (group == m_pCurrentGroupKey)
        return;
    m_pFallbackGroupKey = m_pCurrentGroupKey;
    m_pCurrentGroupKey = group;
}

bool CVantorelApp::IsGroupListed(const CTabGroup* group) const
{
    return group != nullptr && GetGroupIndex(group) >= 0;
}

int CVantorelApp::GetGroupIndex(const CTabGroup* group) const
{
    auto it = std::find(m_groups.begin(), m_groups.end(), group);
    return it == m_groups.end() ? -1 : static_cast<int>(it - m_groups.begin());
}

CTabGroup* CVantorelApp::GetGroupAt(int index) const
{
    return index >= 0 && index < GetGroupCount() ? m_groups[static_cast<size_t>(index)] : nullptr;
}

void CVantorelApp::RemoveGroupFromList(CTabGroup* group)
{
    m_groups.erase(std::remove(m_groups.begin(), m_groups.end(), group), m_groups.end());
    // A later group may be allocated at the same address: no key may still
    // name this one.
    if (m_pCurrentGroupKey == group)
        m_pCurrentGroupKey = nullptr;
    if (m_pFallbackGroupKey == group)
        m_pFallbackGroupKey = nullptr;
}

int CVantorelApp::GetGroupTabCount(const CTabGroup* group) const
{
    return group != nullptr ? group->GetTabCount() : 0;
}

CTabItem* CVantorelApp::FindTabById(HWND hTab, int* pIndex) const
{
    if (hTab == nullptr)
        return nullptr;
    CTabGroup* current = GetActiveGroup();
    auto search = [&](const CTabGroup* group) -> CTabItem* {
        for (int i = 0; i < group->GetTabCount(); ++i) {
            if (group->GetTab(i)->m_hFrame == hTab) {
                if (pIndex != nullptr)
                    *pIndex = i;
                return group->GetTab(i);
            }
        }
        return nullptr;
    };
    if (current != nullptr) {
        if (CTabItem* tab = search(current))
            return tab;
    }
    for (const CTabGroup* group : m_groups) {
        if (group == current)
            continue;
        if (CTabItem* tab = search(group))
            return tab;
    }
    return nullptr;
}

bool CVantorelApp::IsTabListed(const CTabItem* tab) const
{
    if (tab == nullptr)
        return false;
    for (const CTabGroup* group : m_groups)
        if (group->IndexOf(tab) >= 0)
            return true;
    return false;
}

void CVantorelApp::ForgetTab(CTabItem* tab)
{
    for (CTabGroup* group : m_groups)
        group->m_tabs.erase(std::remove(group->m_tabs.begin(), group->m_tabs.end(), tab),
                            group->m_tabs.end());
    if (g_pMainFrame != nullptr && g_pMainFrame->m_pPageTabBar != nullptr &&
        g_pMainFrame->m_pPageTabBar->GetSafeHwnd() != nullptr)
        g_pMainFrame->m_pPageTabBar->RemovePageItem(tab, -1);
}

void CVantorelApp::ForgetTabFrame(CChildFrame* frame)
{
    if (m_pActiveTabFrame == frame)
        m_pActiveTabFrame = nullptr;
}

void CVantorelApp::ReleaseGroups()
{
    for (CTabGroup* group : m_groups)
        delete group;
    m_groups.clear();
    m_pCurrentGroupKey = m_pFallbackGroupKey = nullptr;
    m_nextGroupNumber = 1;
}

//--- Opening

BOOL CVantorelApp::HandleMailto(LPCTSTR url)
{
    if (url == nullptr)
        return TRUE;
    if (!StartsWithNoCase(url, "mailto:"))
        return FALSE;
    if (!m_settings.bMailToNotOpen())
        ::ShellExecuteA(m_pMainWnd != nullptr ? m_pMainWnd->GetSafeHwnd() : nullptr, "", url,
                        nullptr, nullptr, SW_SHOW);
    return TRUE;
}

bool CVantorelApp::IsOverTabLimit(const CTabGroup* group) const
{
    return m_settings.bWindowMaxCnt() && GetGroupTabCount(group) >= m_settings.iWindowMaxCnt;
}

// A new tab's view in the given group, else the current one, else a new
// group (always a new one with bNewGroup). A group made for a tab that did
// not open goes again.
CBrowserView* CVantorelApp::NewTabView(CTabGroup* group, bool bNewGroup, WORD reason,
                                       DWORD loadFlags, BYTE tabValue)
{
    if (!bNewGroup && (group == nullptr || !IsGroupListed(group)))
        group = GetActiveGroup();
    CTabGroup* made = nullptr;
    if (bNewGroup || group == nullptr)
        group = made = g_pMainFrame->CreateEmptyGroup();
    CBrowserView* view = CreateTabView(group, reason, loadFlags, tabValue);
    if (view == nullptr && made != nullptr && g_pMainFrame != nullptr && IsGroupListed(made) &&
        made->GetTabCount() == 0)
        g_pMainFrame->CloseGroup(made);
    return view;
}

// Limit, frame and view of a new tab in the group, with its load flags.
CBrowserView* CVantorelApp::CreateTabView(CTabGroup* group, WORD reason, DWORD loadFlags,
                                          BYTE tabValue)
{
    if (group == nullptr || IsOverTabLimit(group))
        return nullptr;
    CChildFrame* frame = g_pMainFrame->CreateTabFrame();
    if (frame == nullptr)
        return nullptr;
    frame->m_activationReason = reason;
    frame->m_pGroup = group;
    frame->m_insertHint = tabValue;
    CBrowserView* view = frame->InitialUpdateAndActivate();
    if (view == nullptr || view->GetTabItem() == nullptr)
        return nullptr;
    if (loadFlags != 0)
        view->SetPageOptions(loadFlags);
    return view;
}

// The common road of the opening operations: group, limit, frame, view,
// load flags, then the navigation. Returns the new tab's record.
CTabItem* CVantorelApp::OpenTab(CTabGroup* group, LPCTSTR url, WORD reason, DWORD loadFlags,
                                BYTE tabValue, bool bNewGroup)
{
    if (g_pMainFrame == nullptr)
        return nullptr;
    CBrowserView* view = NewTabView(group, bNewGroup, reason, loadFlags, tabValue);
    if (view == nullptr)
        return nullptr;
    if (url != nullptr && strcmp(url, kHomeToken) == 0)
        view->GoHomeControl();
    else
        view->Navigate(url);
    return view->GetTabItem();
}

CTabGroup* CVantorelApp::OpenUrl(CTabGroup* group, LPCTSTR url, WORD reason, DWORD loadFlags,
                                 BYTE tabValue)
{
    if (HandleMailto(url))
        return nullptr;
    CTabItem* tab = OpenTab(group, url, reason, loadFlags, tabValue);
    return tab != nullptr ? tab->m_pGroup : nullptr;
}

CTabGroup* CVantorelApp::OpenUrlWithLoadFlags(CTabGroup* group, LPCTSTR url, WORD reason,
                                              WORD tabLoadFlags)
{
    return OpenUrl(group, url, reason, ConvertTabLoadFlags(tabLoadFlags));
}

CTabItem* CVantorelApp::OpenUrlReturnBrowser(CTabGroup* group, LPCTSTR url, WORD reason,
                                             DWORD loadFlags)
{
    if (HandleMailto(url))
        return nullptr;
    return OpenTab(group, url, reason, loadFlags, 0);
}

void CVantorelApp::OpenUrlWithHistory(CTabGroup* group, LPCTSTR url, const SavedHistory* back,
                                      const SavedHistory* forward, WORD reason, DWORD loadFlags)
{
    if (g_pMainFrame == nullptr)
        return;
    CBrowserView* view = NewTabView(group, false, reason, loadFlags, 0);
    if (view == nullptr)
        return;
    CTabItem* tab = view->GetTabItem();
    SavedHistory::Reset(tab->m_pBack, tab->m_pForward);
    if (back != nullptr)
        tab->m_pBack->CopyFrom(*back);
    if (forward != nullptr)
        tab->m_pForward->CopyFrom(*forward);
    view->Navigate(url);
}

CTabGroup* CVantorelApp::OpenUrlInNewGroup(LPCTSTR url, WORD reason, DWORD loadFlags)
{
    if (HandleMailto(url))
        return nullptr;
    CTabItem* tab = OpenTab(nullptr, url, reason, loadFlags, 0, true);
    return tab != nullptr ? tab->m_pGroup : nullptr;
}

CTabGroup* CVantorelApp::OpenUrlInNewGroupWithLoadFlags(LPCTSTR url, WORD reason, WORD tabLoadFlags)
{
    return OpenUrlInNewGroup(url, reason, ConvertTabLoadFlags(tabLoadFlags));
}

CTabGroup* CVantorelApp::CreateSearchGroup(LPCTSTR name, BOOL defaultOptions)
{
    if (g_pMainFrame == nullptr)
        return nullptr;
    // The typed name stays as it is: its "%" are kept literal.
    CString caption = name != nullptr ? CString(name) : CString();
    caption.Replace("%", "%%");
    caption += "[%c]";
    return g_pMainFrame->CreateGroup(caption, m_settings.dwDLControlFlags,
                                     defaultOptions ? m_settings.iTabImageDef_P : 1);
}

BOOL CVantorelApp::OpenUrlInGroup(CTabGroup* group, LPCTSTR url, int reason)
{
    return OpenUrl(group, url, static_cast<WORD>(reason)) != nullptr;
}

void CVantorelApp::OpenGroupDefaultPage(CTabGroup* group, DWORD loadFlags)
{
    if (g_pMainFrame == nullptr || !IsGroupListed(group))
        return;
    CBrowserView* view = CreateTabView(group, kReasonLink, loadFlags, 0);
    if (view == nullptr)
        return;
    switch (m_settings.iDefault_P) {
    case 0:
        view->GoHomeControl();
        break;
    case 2:
        if (!m_settings.strTargetURL_P.IsEmpty() && IsUrlForm(m_settings.strTargetURL_P)) {
            view->Navigate(m_settings.strTargetURL_P);
            break;
        }
        view->Navigate("about:blank");
        break;
    default:
        view->Navigate("about:blank");
        break;
    }
}

// A page may ask for a favorites folder only when it is one of the
// program's own local pages inside its Favorite folder.
bool CVantorelApp::IsOwnFavoritePage(const CString& path) const
{
    CString root = ProgramFile("Favorite");
    // Without a program folder no page is one of its own.
    if (root.IsEmpty())
        return false;
    root.MakeLower();
    CString lower = path;
    lower.MakeLower();
    lower.Replace('/', '\\');
    if (strncmp(lower, "file:\\\\\\", 8) == 0)
        lower = lower.Mid(8);
    else if (strncmp(lower, "file:\\\\", 7) == 0)
        lower = lower.Mid(7);
    lower = UrlDecode(lower);
    return IsSafeLocalFolder(lower) && lower.GetLength() > root.GetLength() &&
           strncmp(lower, root, static_cast<size_t>(root.GetLength())) == 0 &&
           lower[root.GetLength()] == '\\';
}

BOOL CVantorelApp::OpenShortcut(LPCTSTR url, LPCTSTR sourcePage)
{
    if (url == nullptr || strncmp(url, kFavoriteLinkScheme, 8) != 0)
        return FALSE;
    // Handled (the navigation is cancelled) even when refused.
    if (sourcePage != nullptr && !IsOwnFavoritePage(sourcePage))
        return TRUE;
    CString folder = UrlDecode(CString(url + 8));
    // A decoded NUL would cut the path the system sees short of the one
    // checked here.
    if (static_cast<size_t>(folder.GetLength()) != strlen(folder) || !IsSafeLocalFolder(folder))
        return TRUE;
    // By characters: "予定表" ends in the byte 0x5C but not in a separator.
    EnsureTrailingBackslash(folder);

    // Listed with the wide functions: a shortcut's name may hold characters
    // the code page lacks.
    const std::wstring wideFolder = WidePath::FromAnsi(folder);
    std::vector<std::wstring> files;
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((wideFolder + L"*.url").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                files.push_back(wideFolder + data.cFileName);
        } while (::FindNextFileW(find, &data));
        ::FindClose(find);
    }

    int opened = 0;
    if (!files.empty() && g_pMainFrame != nullptr) {
        CPageTabBar* bar = g_pMainFrame->m_pPageTabBar;
        RedrawGuard guard(bar != nullptr ? bar->GetSafeHwnd() : nullptr);
        opened = OpenShortcutFiles(folder, files);
    }
    if (opened == 0)
        ::MessageBoxA(m_pMainWnd != nullptr ? m_pMainWnd->GetSafeHwnd() : nullptr,
                      GetMessageText(23), m_className, MB_OK);
    return TRUE;
}

// The shortcuts' pages as one run of tabs, at most kMaxShortcutTabs; the
// number opened.
int CVantorelApp::OpenShortcutFiles(const CString& folder, const std::vector<std::wstring>& files)
{
    // A shortcut without a URL opens nothing.
    CStringArray urls;
    CString url;
    for (const std::wstring& file : files)
        if (::ReadShortcutUrl(file, url))
            urls.Add(url);
    return OpenTabRun(urls, (m_settings.iParentTabNewRule & 0x04) != 0, FolderLabel(folder),
                      kMaxShortcutTabs);
}

// The last part of a folder path (ending with a backslash) as its own name,
// not its short name, with the best fit.
CString CVantorelApp::FolderLabel(const CString& folder)
{
    std::wstring wide = WidePath::FromAnsi(folder);
    if (!wide.empty())
        wide.pop_back();
    // A drive root ("C:") has no long name of its own.
    if (wide.find(L'\\') != std::wstring::npos) {
        std::wstring longPath(wide.size() + MAX_PATH, L'\0');
        const DWORD length =
            ::GetLongPathNameW(wide.c_str(), &longPath[0], static_cast<DWORD>(longPath.size()));
        if (length > 0 && length < longPath.size())
            wide = longPath.substr(0, length);
    }
    return WidePath::ToBestFitAnsi(wide.substr(wide.rfind(L'\\') + 1));
}

int CVantorelApp::OpenTabRun(const CStringArray& urls, bool newGroup, const CString& groupName,
                             int maxTabs)
{
    CTabBatch batch;
    CTabGroup* group = nullptr;
    int opened = 0;
    for (INT_PTR i = 0; i < urls.GetSize() && opened < maxTabs; ++i) {
        const CString& target = urls[i];
        if (target.IsEmpty() || IsScriptUrl(target))
            continue;
        if (opened == 0) {
            if (newGroup && g_pMainFrame != nullptr) {
                // The name stays as it is: only the appended suffix counts
                // the tabs.
                CString caption = groupName;
                if (!caption.IsEmpty()) {
                    caption.Replace("%", "%%");
                    caption += "[%c]";
                }
                group = g_pMainFrame->CreateDefaultGroup(caption);
            } else {
                group = GetActiveGroup();
            }
        }
        if (opened % 10 == 0)
            CTabBatch::Pause();
        group = OpenUrl(group, target, 1);
        if (group == nullptr)
            group = GetActiveGroup();
        ++opened;
    }
    return opened;
}
