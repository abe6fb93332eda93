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

namespace {

// What tells a rewritten file: its size and last write time (zero when it
// is not there).
struct FileStamp
{
    ULONGLONG size = 0;
    ULONGLONG written = 0;
    bool operator!=(const FileStamp& other) const { return size != other.size || written != other.written; }
};

FileStamp StampOf(const CString& path)
{
    FileStamp stamp;
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (::GetFileAttributesExA(path, GetFileExInfoStandard, &data)) {
        stamp.size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        stamp.written = (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                        data.ftLastWriteTime.dwLowDateTime;
    }
    return stamp;
}

} // namespace

void CMainFrame::OnSettings()
{
    const SettingsRecord before(theApp.m_settings);
    SettingsRecord edited;
    int result = 0;
    FileStamp enginesBefore;
    {
        CDialogsLibrary library(theApp.GetProgramFolder());
        auto show = library.Get<FormbayExports::ShowSettingDlgFn>("ShowSettingDlg");
        if (show == nullptr)
            return;
        // The search page rewrites "SearchEngine.dat" from the file: the
        // engines as they are now (the current one among them) go there first.
        if (m_searchEngines.GetRoot() != nullptr)
            SaveSearchEngines();
        enginesBefore = StampOf(theApp.ProgramFile("SearchEngine.dat"));
        SettingsRecord* returned = show(theApp.LoadIcon(IDR_MAINFRAME), m_hWnd, theApp.GetMainClassName(),
                                        theApp.GetProgramFolder(), &theApp.m_settings, &result);
        // Copied before the library may go; nothing applies without a record.
        if (result != IDOK || returned == nullptr)
            return;
        edited.CopyFrom(returned);
    }
    theApp.m_settings.CopyFrom(&edited);
    SaveSettings();
    // Only a list the page wrote is taken back: one it could not write was
    // told there, and the engines in use stay as they are.
    if (StampOf(theApp.ProgramFile("SearchEngine.dat")) != enginesBefore)
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
        // A cache that cannot be read keeps nothing and is not written.
        CFavoriteTree cached;
        FileReadState read;
        if (now.bFavLoadCache())
            cached.LoadCache(theApp.ProgramFile("IEFavorite.dat"), GetFavoritesPlaces().rootLabel, &read);
        const bool useCache = now.bFavLoadCache() && !read.IsUnreadable();
        if (ScanFavorites(useCache ? &cached : nullptr) && useCache)
            // The cache only mirrors the Favorites folder, which the next
            // exit scans again: a failed write loses nothing of the user's.
            (void)SaveFavoritesCache(m_favorites);
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
