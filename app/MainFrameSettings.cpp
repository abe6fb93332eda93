// The settings command: the live settings handed to the dialogs library,
// the edited copy taken back on OK, saved, and the parts rebuilt whose
// settings changed.
#include "app/MainFrame.h"

#include <windows.h>
#include <shellapi.h>

#include "shared/DialogsLibrary.h"
#include "app/SettingsChanges.h"
#include "app/VantorelApp.h"
#include "app/resource.h"
#include "lists/ProxySettings.h"
#include "menulib/NewMenu.h"
#include "tab/HtmlPopupDlg.h"

void CMainFrame::OnSettings()
{
    const SettingsRecord before(theApp.m_settings);
    SettingsRecord edited;
    int result = 0;
    {
        CDialogsLibrary library(theApp.GetProgramFolder());
        auto show = library.Get<FormbayExports::ShowSettingDlgFn>("ShowSettingDlg");
        if (show == nullptr)
            return;
        // The search page rewrites "SearchEngine.dat" from the file: the
        // engines as they are now (the current one among them) go there first.
        if (m_searchEngines.GetRoot() != nullptr)
            SaveSearchEngineFile(m_searchEngines, theApp.GetProgramFolder());
        SettingsRecord* returned = show(theApp.LoadIcon(IDR_MAINFRAME), m_hWnd, theApp.GetMainClassName(),
                                        theApp.GetProgramFolder(), &theApp.m_settings, &result);
        // Copied before the library may go; nothing applies without a record.
        if (result != IDOK || returned == nullptr)
            return;
        edited.CopyFrom(returned);
    }
    theApp.m_settings.CopyFrom(&edited);
    SaveSettings();
    OnReloadSearchEngines();
    ApplySettingsChanges(before);
}

void CMainFrame::ApplySettingsChanges(const SettingsRecord& before)
{
    const SettingsRecord& now = theApp.m_settings;
    const unsigned changes = DiffSettings(before, now);

    if (changes & kChangeMenuStyle)
        CNewMenu::SetMenuDrawMode(now.iMENU_STYLE);
    // The group bar first: the page bar keeps its place after it.
    if (changes & kChangeGroupTabBar)
        RecreateGroupTabBar();
    if (changes & kChangePageTabBar)
        RecreateTabBar();
    if (changes & kChangeFavoritesScan) {
        // With the cache on, a folder the scan cannot list keeps what the
        // cache holds of it, in the menus and in the cache written from them.
        CFavoriteTree cached;
        if (now.bFavLoadCache())
            cached.LoadCache(theApp.ProgramFile("IEFavorite.dat"), GetFavoritesPlaces().rootLabel);
        if (ScanFavorites(now.bFavLoadCache() ? &cached : nullptr) && now.bFavLoadCache())
            SaveFavoritesCache(m_favorites);
        // Menus, links and pane name flat indexes of the old tree.
        AfterFavoritesRebuilt();
    }
    if (changes & kChangeFavoritesMenu)
        m_stateWord &= ~static_cast<DWORD>(kStateFavoritesMenuBuilt);
    if ((changes & kChangeTrayOn) && !(m_stateWord & kStateTrayIcon))
        AddTrayIcon(IDR_MAINFRAME, NIM_ADD);
    if (changes & kChangeTrayOff)
        RemoveTrayIcon();
    // Made again in the new style when next needed.
    if (changes & kChangePopup) {
        delete m_pHtmlPopup;
        m_pHtmlPopup = nullptr;
    }

    if (ReadStartupProxyMode(GetProxyPlaces()) == kProxyModeList)
        ApplyStartupProxy();
    // The dialog may have rewritten the data behind the other menus and the
    // key and gesture files: the menus are built again when they next open,
    // and the menu bar shows the new shortcut texts now.
    m_stateWord &= ~static_cast<DWORD>(kStateTemplateMenuBuilt | kStateProxyMenuBuilt | kStateReloadMenuBuilt |
                                       kStatePlugInMenuBuilt | kStateScriptMenuBuilt | kStateMenuStatesDone);
    theApp.ReloadBindingMaps();
    RefreshMenuStatesOnce();
    theApp.TrimWorkingSet(FALSE);
}
