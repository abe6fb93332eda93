// CMainFrame: the mouse action configured for the active tab (nothing, the
// tab context menu, reload, close) and the menu's fill from the live lists.
#include "app/MainFrame.h"

#include <windows.h>

#include "app/VantorelApp.h"
#include "app/resource.h"
#include "tab/BrowserView.h"
#include "tab/TabItem.h"

namespace {

// Positions in submenu 0 of the tab menu.
const int kTabMenuReload = 7;
const int kTabMenuProxies = 8;
const int kTabMenuPlugIns = 9;
const int kTabMenuScripts = 10;
// The auto-reload submenu's fixed intervals before the user's own.
const UINT kReloadFixedItems = 7;
// etc.dat: the caption of the user's auto-reload period (one number).
const int kEtcReloadCaption = 4;

} // namespace

CString CMainFrame::GetReloadCaption() const
{
    // The text comes from a data file: only its "%d" is filled.
    CString text = theApp.GetEtcText(kEtcReloadCaption);
    CString minutes;
    minutes.Format("%d", static_cast<int>(theApp.m_settings.iReload));
    text.Replace("%d", minutes);
    return text;
}

void CMainFrame::FillTabContextMenu(CNewMenu& popup)
{
    if (CNewMenu* reload = popup.GetSubMenu(kTabMenuReload))
        reload->InsertMenu(kReloadFixedItems, MF_BYPOSITION | MF_STRING, ID_RELOAD_USER,
                           GetReloadCaption());
    if (CNewMenu* proxies = popup.GetSubMenu(kTabMenuProxies))
        FillProxyMenu(*proxies);
    if (CNewMenu* plugIns = popup.GetSubMenu(kTabMenuPlugIns))
        FillCatalogMenu(*plugIns, CatalogMenu::kPlugIns, TRUE);
    if (CNewMenu* scripts = popup.GetSubMenu(kTabMenuScripts))
        FillCatalogMenu(*scripts, CatalogMenu::kScripts, TRUE);
}

void CMainFrame::TrackTabContextMenu(CWnd* owner, int action, const POINT* at)
{
    CBrowserView* view = theApp.m_pActiveView;
    CTabItem* tab = view != nullptr && ::IsWindow(view->GetSafeHwnd()) ? view->GetTabItem()
                                                                        : nullptr;
    if (tab == nullptr)
        return;
    switch (action) {
    case 0:
        return;
    case 1: {
        POINT point = {};
        if (at != nullptr)
            point = *at;
        else
            ::GetCursorPos(&point);
        CNewMenu menu;
        if (!menu.LoadMenu(IDR_TABMENU))
            return;
        if (CNewMenu* popup = menu.GetSubMenu(0)) {
            FillTabContextMenu(*popup);
            popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y,
                                  owner != nullptr ? owner : this);
        }
        menu.DestroyMenu();
        return;
    }
    case 3:
        view->PostMessage(WM_COMMAND, ID_NAV_REFRESH);
        return;
    default:
        CloseCTabItem(tab);
        return;
    }
}
