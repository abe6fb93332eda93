// CMainFrame: the connection mode (the system's settings, a direct
// connection or a server of the proxy list), its menus and the proxy
// settings dialog.
#include "app/MainFrame.h"

#include <windows.h>

#include "shared/DialogsLibrary.h"
#include "app/VantorelApp.h"
#include "app/resource.h"
#include "lists/SearchEngineMenu.h"

namespace {

// The four fixed items of a proxy menu come before the list.
const UINT kProxyFixedItems = 4;
// message.dat: the question before switching to the system's settings.
const int kMsgUseSystemProxy = 26;

} // namespace

ProxyPlaces CMainFrame::GetProxyPlaces() const
{
    ProxyPlaces places;
    places.programFolder = theApp.GetProgramFolder();
    places.internetSettingsKey = theApp.GetRegText(6);
    return places;
}

void CMainFrame::SetProxyFlags(ProxyMode mode)
{
    m_proxySystem = mode == kProxyModeSystem ? 1 : 0;
    m_proxyDirect = mode == kProxyModeDirect ? 1 : 0;
    m_proxyList = mode == kProxyModeList ? 1 : 0;
}

void CMainFrame::ApplyStartupProxy()
{
    SetProxyFlags(ApplyStartupProxyMode(GetProxyPlaces()));
}

bool CMainFrame::SwitchProxyMode(ProxyMode mode)
{
    const ProxyPlaces places = GetProxyPlaces();
    ProxyModeStore store;
    if (!ApplyProxyMode(places, mode, &store))
        return false;
    SetProxyFlags(mode);
    // In force now, but the next start would not know it.
    if (!store.stored)
        TellNotSaved(ProxyListPath(places), store.error);
    return true;
}

void CMainFrame::OnProxySystem()
{
    if (::MessageBoxA(m_hWnd, theApp.GetMessageText(kMsgUseSystemProxy),
                      theApp.GetMainClassName(), MB_YESNO) == IDYES)
        SwitchProxyMode(kProxyModeSystem);
}

void CMainFrame::OnProxyDirect()
{
    SwitchProxyMode(kProxyModeDirect);
}

void CMainFrame::OnProxyUseList()
{
    SwitchProxyMode(kProxyModeList);
}

void CMainFrame::OnSelectProxy(UINT nID)
{
    // The choice is kept even when the switch fails (an empty server, a
    // refused session option); the mode then stays as it was. A choice the
    // file would not take is told and not applied: the menus and the next
    // start read the file.
    const ProxyPlaces places = GetProxyPlaces();
    DWORD error = 0;
    if (!StoreUseProxyIndex(places, static_cast<int>(nID) - ID_PROXY_ENTRY_FIRST, &error)) {
        TellNotSaved(ProxyListPath(places), error);
        return;
    }
    SwitchProxyMode(kProxyModeList);
}

void CMainFrame::OnProxySettings()
{
    if (RunSettingsExport("ShowProxySettingDlg") != 1)
        return;
    // The list may have changed under the stored index.
    if (m_proxyList)
        SwitchProxyMode(kProxyModeList);
}

void CMainFrame::OnUpdateProxySystem(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(m_proxySystem);
}

void CMainFrame::OnUpdateProxyDirect(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(m_proxyDirect);
}

void CMainFrame::OnUpdateProxyUse(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(m_proxyList);
}

void CMainFrame::OnUpdateProxyEntry(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(pCmdUI->m_nID ==
                     ID_PROXY_ENTRY_FIRST + static_cast<UINT>(GetUseProxyIndex(GetProxyPlaces())));
}

void CMainFrame::FillProxyMenu(CNewMenu& menu)
{
    while (menu.GetMenuItemCount() > static_cast<int>(kProxyFixedItems) &&
           menu.DeleteMenu(kProxyFixedItems, MF_BYPOSITION)) {
    }
    const ProxyPlaces places = GetProxyPlaces();
    // Entries up to the first empty or missing key, so that item k always
    // selects entry k.
    const int count = CountProxyEntries(places);
    if (count == 0)
        return;
    menu.InsertMenu(kProxyFixedItems, MF_BYPOSITION | MF_SEPARATOR);
    for (int k = 0; k < count; ++k) {
        CString caption = MakeMenuCaption(GetProxyServer(places, k), -1);
        CString shortcut;
        theApp.GetShortcutText(ID_PROXY_ENTRY_FIRST + k, shortcut);
        if (!shortcut.IsEmpty())
            caption += "\t" + shortcut;
        menu.InsertMenu(kProxyFixedItems + 1 + k, MF_BYPOSITION | MF_STRING, ID_PROXY_ENTRY_FIRST + k, caption);
    }
}

int CMainFrame::RunSettingsExport(LPCSTR exportName)
{
    CDialogsLibrary library(theApp.GetProgramFolder());
    auto show = library.Get<FormbayExports::ShowSettingDlgFn>(exportName);
    if (show == nullptr)
        return 0;
    HICON icon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    int result = 0;
    const SettingsRecord before(theApp.m_settings);
    SettingsRecord* returned = show(icon, m_hWnd, theApp.GetMainClassName(),
                                    theApp.GetProgramFolder(), &theApp.m_settings, &result);
    // The library's record goes with the library: copied at once.
    SettingsRecord local;
    local.CopyFrom(returned);
    if (result == 1 && returned != nullptr) {
        theApp.m_settings.CopyFrom(&local);
        ApplySettingsChanges(before);
    }
    return result;
}
