// CMainFrame as the host of its tabs: each operation forwards to the frame
// or to the application object, which own the groups, bindings and lists.
#include "app/MainFrame.h"

#include "app/VantorelApp.h"
#include "bars/PageTabBar.h"

HWND CMainFrame::GetFrameWindow() const
{
    return m_hWnd;
}

CBrowserView* CMainFrame::GetActiveTabView() const
{
    return theApp.m_pActiveView;
}

void CMainFrame::SetActiveTabView(CBrowserView* view)
{
    theApp.m_pActiveView = view;
}

void CMainFrame::SetActiveTabFrame(CChildFrame* frame)
{
    theApp.m_pActiveTabFrame = frame;
}

const CSearchEngineTree& CMainFrame::GetSearchEngines() const
{
    return m_searchEngines;
}

void CMainFrame::SetPageMenuKeyword(const CString& text)
{
    theApp.m_pendingKeyword = text;
}

void CMainFrame::SetKeywordSearchPending(bool pending)
{
    if (pending)
        m_stateWord |= kStatePendingKeyword;
    else
        m_stateWord &= ~static_cast<DWORD>(kStatePendingKeyword);
}

bool CMainFrame::IsOpeningTabSet() const
{
    return (m_stateWord & kStateOpeningTabSet) != 0;
}

void CMainFrame::ForgetTab(CTabItem* tab)
{
    theApp.ForgetTab(tab);
}

void CMainFrame::ForgetTabFrame(CChildFrame* frame)
{
    theApp.ForgetTabFrame(frame);
}

bool CMainFrame::IsShuttingDown() const
{
    return theApp.IsShuttingDown();
}

CTabGroup* CMainFrame::GetActiveGroup() const
{
    return theApp.GetActiveGroup();
}

int CMainFrame::GetGroupTabCount(const CTabGroup* group) const
{
    return theApp.GetGroupTabCount(group);
}

bool CMainFrame::IsGroupListed(const CTabGroup* group) const
{
    return theApp.IsGroupListed(group);
}

CTabItem* CMainFrame::FindTabById(HWND hTab) const
{
    return theApp.FindTabById(hTab);
}

CTabGroup* CMainFrame::OpenUrl(CTabGroup* group, LPCTSTR url, WORD reason)
{
    return theApp.OpenUrl(group, url, reason);
}

CTabGroup* CMainFrame::OpenUrlInNewGroup(LPCTSTR url, WORD reason, DWORD loadFlags)
{
    return theApp.OpenUrlInNewGroup(url, reason, loadFlags);
}

void CMainFrame::OpenUrlWithHistory(CTabGroup* group, LPCTSTR url, const SavedHistory* back,
                                    const SavedHistory* forward, WORD reason, DWORD loadFlags)
{
    theApp.OpenUrlWithHistory(group, url, back, forward, reason, loadFlags);
}

void CMainFrame::OpenUrlHoldingTabBar(CWnd* holder, CTabGroup* group, LPCTSTR url, WORD reason)
{
    CPageTabBar* bar = m_pPageTabBar;
    const bool holding = bar != nullptr && bar->GetSafeHwnd() != nullptr && bar->BeginUpdate(holder);
    theApp.OpenUrl(group, url, reason);
    if (holding)
        bar->EndUpdate(holder);
}

BOOL CMainFrame::OpenShortcut(LPCTSTR url, LPCTSTR sourcePage)
{
    return theApp.OpenShortcut(url, sourcePage);
}

bool CMainFrame::IsOwnFavoritePage(const CString& page) const
{
    return theApp.IsOwnFavoritePage(page);
}

void CMainFrame::TrackTabMenu(POINT at)
{
    TrackTabContextMenu(this, 1, &at);
}

void CMainFrame::FillPlugInMenu(CNewMenu& menu)
{
    FillCatalogMenu(menu, CatalogMenu::kPlugIns, TRUE);
}

void CMainFrame::FillScriptMenu(CNewMenu& menu)
{
    FillCatalogMenu(menu, CatalogMenu::kScripts, TRUE);
}

IDispatch* CMainFrame::GetScriptObject()
{
    return &m_scriptExternal;
}

CString CMainFrame::FormatKey(UINT vk) const
{
    return theApp.FormatKey(vk);
}

BOOL CMainFrame::ExecuteKeyBinding(const CString& text, MSG* pMsg)
{
    return theApp.ExecuteKeyBinding(text, pMsg);
}

void CMainFrame::ExecuteGesture(const CString& gesture)
{
    theApp.ExecuteGesture(gesture);
}

void CMainFrame::RememberCursorPos()
{
    ::GetCursorPos(&m_ptLastCursor);
}

void CMainFrame::TrimWorkingSet(BOOL bForce)
{
    theApp.TrimWorkingSet(bForce);
}
