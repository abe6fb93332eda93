// The settings command: the live settings handed to the dialogs library,
// the edited copy taken back on OK, saved, and the parts rebuilt whose
// settings changed.
#include "app/MainFrame.h"

#include "app/DialogsLibrary.h"
#include "app/SettingsChanges.h"
#include "app/VantorelApp.h"
#include "app/resource.h"
#include "lists/ProxySettings.h"
#include "menulib/NewMenu.h"

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
    ApplySettingsChanges(before);
}

void CMainFrame::ApplySettingsChanges(const SettingsRecord& before)
{
    const SettingsRecord& now = theApp.m_settings;
    const unsigned changes = DiffSettings(before, now);

    OnReloadSearchEngines();
    if (changes & kChangeMenuStyle)
        CNewMenu::SetMenuDrawMode(now.iMENU_STYLE);
    // The group bar first: the page bar keeps its place after it.
    if (changes & kChangeGroupTabBar)
        RecreateGroupTabBar();
    if (changes & kChangePageTabBar)
        RecreateTabBar();
    // The tab bars, the favorites icons and menu, the tray icon and the
    // popup window follow their own change bits once the frame holds them.
    if (changes & kChangeFavoritesScan) {
        if (ScanFavorites() && now.bFavLoadCache())
            m_favorites.Save(theApp.ProgramFile("IEFavorite.dat"));
        // Menus, links and pane name flat indexes of the old tree.
        AfterFavoritesRebuilt();
    }

    if (ReadStartupProxyMode(GetProxyPlaces()) == kProxyModeList)
        ApplyStartupProxy();
    theApp.TrimWorkingSet(FALSE);
}
