// CMainFrame: plug-ins and user scripts: the start-up load, running them
// from their menus, offering keys to plug-ins and the one filler of every
// plug-in and script submenu.
#include "app/MainFrame.h"

#include <windows.h>

#include <algorithm>

#include "app/VantorelApp.h"
#include "app/resource.h"
#include "framework/ole/OleUtil.h"
#include "lists/SearchEngineMenu.h"
#include "tab/BrowserView.h"
#include "tab/PageSelection.h"

namespace {

// etc.dat: the caption of an empty list's disabled item.
const int kEtcEmptyList = 71;

// Index of a catalog command; below the first id counts as 0.
size_t CatalogIndex(UINT nID, UINT first)
{
    return nID > first ? nID - first : 0;
}

} // namespace

void CMainFrame::LoadPlugInsAndScripts()
{
    // With plug-ins off the list is emptied and nothing is called.
    theApp.LoadPlugIns();
    for (size_t i = 0; i < theApp.m_plugIns.size(); ++i)
        if (CPlugInItem* item = theApp.m_plugIns[i])
            item->CallIdle(m_hWnd);
    theApp.LoadScripts();
}

bool CMainFrame::ReadActiveSelection(CString& text) const
{
    text.Empty();
    CBrowserView* view = theApp.m_pActiveView;
    if (view == nullptr || !::IsWindow(view->GetSafeHwnd()))
        return false;
    CComPtr<IDispatch> document;
    document.Attach(view->GetHtmlDocument());
    CPageSelection selection;
    if (document != nullptr && selection.Read(document, CPageSelection::kText))
        text = selection.m_strText;
    return true;
}

void CMainFrame::OnRunPlugIn(UINT nID)
{
    const size_t index = CatalogIndex(nID, ID_PLUGIN_FIRST);
    if (index >= theApp.m_plugIns.size() || theApp.m_plugIns[index] == nullptr)
        return;
    CString text;
    const bool hasPage = ReadActiveSelection(text);
    theApp.m_plugIns[index]->Execute(m_hWnd, hasPage ? static_cast<LPCTSTR>(text) : nullptr);
}

void CMainFrame::OnRunScript(UINT nID)
{
    const size_t index = CatalogIndex(nID, ID_SCRIPT_FIRST);
    if (index >= theApp.m_scripts.size() || theApp.m_scripts[index] == nullptr)
        return;
    ShowTextDialog(*theApp.m_scripts[index]);
}

void CMainFrame::ShowTextDialog(const CScriptItem& script)
{
    RunScript(script.m_path);
}

void CMainFrame::OnUpdatePlugIn(CCmdUI* pCmdUI)
{
    const size_t index = CatalogIndex(pCmdUI->m_nID, ID_PLUGIN_FIRST);
    pCmdUI->Enable(index < theApp.m_plugIns.size() && theApp.m_plugIns[index] != nullptr &&
                   theApp.m_plugIns[index]->IsShown());
}

void CMainFrame::OnUpdateScript(CCmdUI* pCmdUI)
{
    const size_t index = CatalogIndex(pCmdUI->m_nID, ID_SCRIPT_FIRST);
    pCmdUI->Enable(index < theApp.m_scripts.size() && theApp.m_scripts[index] != nullptr &&
                   theApp.m_scripts[index]->IsShown());
}

BOOL CMainFrame::OfferKeyToPlugIns(const MSG* pMsg)
{
    if (pMsg->message != WM_KEYDOWN && pMsg->message != WM_SYSKEYDOWN)
        return FALSE;
    // Keys of the frame's own windows (pages, bars) are the frame's.
    if (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd))
        return FALSE;
    // A module may unload the list from its handler: walk by index.
    for (size_t i = 0; i < theApp.m_plugIns.size(); ++i) {
        CPlugInItem* item = theApp.m_plugIns[i];
        if (item != nullptr && item->OfferKey(pMsg->hwnd, pMsg->wParam) != 0)
            return TRUE;
    }
    return FALSE;
}

void CMainFrame::UnloadPlugins()
{
    DestroyPlugInList(theApp.m_plugIns);
}

void CMainFrame::UnloadScripts()
{
    DestroyScriptList(theApp.m_scripts);
}

void CMainFrame::ReloadScripts()
{
    theApp.LoadScripts();
}

void CMainFrame::FillCatalogMenu(CNewMenu& menu, CatalogMenu kind, BOOL withIcons)
{
    // The catalog's items are those before the first separator (all of a
    // submenu without one).
    for (;;) {
        const int count = menu.GetMenuItemCount();
        if (count <= 0 || (menu.GetMenuState(0, MF_BYPOSITION) & MF_SEPARATOR) != 0)
            break;
        if (!menu.DeleteMenu(0, MF_BYPOSITION))
            break;
    }
    const bool scripts = kind == CatalogMenu::kScripts;
    const UINT first = scripts ? ID_SCRIPT_FIRST : ID_PLUGIN_FIRST;
    const size_t total = scripts ? theApp.m_scripts.size() : theApp.m_plugIns.size();
    const size_t shown = std::min(total, static_cast<size_t>(kMenuCatalogMax));
    UINT position = 0;
    for (size_t i = 0; i < shown; ++i) {
        CString caption;
        HICON icon = nullptr;
        if (scripts) {
            const CScriptItem* item = theApp.m_scripts[i];
            if (item == nullptr)
                continue;
            caption = item->m_name;
            // A tab in a name would start the shortcut column.
            const int tab = caption.Find('\t');
            if (tab >= 0)
                caption = caption.Left(tab);
            CString shortcut;
            theApp.GetShortcutText(static_cast<int>(ID_SCRIPT_FIRST + i), shortcut);
            if (!caption.IsEmpty() && !shortcut.IsEmpty())
                caption += "\t" + shortcut;
            icon = item->m_hIcon;
        } else {
            const CPlugInItem* item = theApp.m_plugIns[i];
            if (item == nullptr)
                continue;
            caption = item->m_caption;
            icon = item->m_hIcon;
        }
        if (caption.IsEmpty())
            continue;
        const UINT id = first + static_cast<UINT>(i);
        if (withIcons && icon != nullptr)
            menu.InsertMenuWithIcon(position++, MF_BYPOSITION | MF_STRING, id, caption, icon);
        else
            menu.InsertMenu(position++, MF_BYPOSITION | MF_STRING, id, caption);
    }
    if (position == 0)
        menu.InsertMenu(0, MF_BYPOSITION | MF_STRING | MF_GRAYED, first,
                        theApp.GetEtcText(kEtcEmptyList));
    MeasureMenuCaptions(menu, 0);
}
