// CMainFrame: the favorites tree, the search-engine list and the web search
// commands.
#include <windows.h>
#include <commctrl.h>

#include <optional>

#include "app/MainFrame.h"
#include "app/VantorelApp.h"
#include "lists/FavoritesScan.h"
#include "tab/BrowserView.h"
#include "tab/HtmlPopupDlg.h"
#include "tab/PageSelection.h"
#include "tab/ScriptRunDlg.h"
#include "lists/SearchEngineMenu.h"
#include "lists/SearchUrl.h"
#include "lists/WebSearch.h"
#include "tab/TabGroup.h"

namespace {

const int kEtcSearchAllLine = 1;    // etc.dat
const int kEtcEmptyFolderLine = 71;
const int kFavRootLabelLine = 5;    // fav.dat
const int kFavOrderKeyLine = 1;     // reg.dat
const int kFavOrderValueLine = 8;   // reg.dat

// The search commands' way to the program's tabs and groups.
class CFrameSearchTabs : public ISearchTabs
{
public:
    CTabGroup* CreateSearchGroup(const CString& name, bool defaultOptions) override
    {
        return theApp.CreateSearchGroup(name, defaultOptions ? TRUE : FALSE);
    }
    void DiscardSearchGroup(CTabGroup* group) override
    {
        if (g_pMainFrame != nullptr && theApp.IsGroupListed(group) && group->GetTabCount() == 0)
            g_pMainFrame->CloseGroup(group);
    }
    bool OpenSearchTab(CTabGroup* group, const CString& url, int reason) override
    {
        return theApp.OpenUrlInGroup(group, url, reason) != FALSE;
    }
    void BeginBatch() override { m_batch.emplace(); }
    void PauseBatch() override { CTabBatch::Pause(); }
    void EndBatch() override { m_batch.reset(); }

private:
    std::optional<CTabBatch> m_batch;
};

bool KeyHeld(int key)
{
    return (GetKeyState(key) & 0x8000) != 0;
}

} // namespace

FavoritesScanPlaces CMainFrame::GetFavoritesPlaces() const
{
    FavoritesScanPlaces places;
    places.folder = GetFavoritesFolderPath(&places.wideFolder);
    places.rootLabel = theApp.GetFavText(kFavRootLabelLine);
    places.ieOrder = theApp.m_settings.bIEOrder() ? TRUE : FALSE;
    places.orderKey = theApp.GetRegText(kFavOrderKeyLine);
    places.orderValueName = theApp.GetRegText(kFavOrderValueLine);
    return places;
}

BOOL CMainFrame::ScanFavorites(const CFavoriteTree* kept)
{
    const FavoritesScanPlaces places = GetFavoritesPlaces();
    m_favIEOrder = places.ieOrder;
    return ::ScanFavorites(m_favorites, places, kept);
}

void CMainFrame::LoadFavoritesCache()
{
    m_favIEOrder = theApp.m_settings.bIEOrder() ? TRUE : FALSE;
    // A cache that is there but cannot be read (or fails part-way) gives the
    // menus a scan instead of an empty or partial tree; the cache itself is
    // left as it is.
    FileReadState read;
    if (!m_favorites.LoadCache(theApp.ProgramFile("IEFavorite.dat"), theApp.GetFavText(kFavRootLabelLine), &read) ||
        read.IsUnreadable())
        ScanFavorites();
}

void CMainFrame::LoadSearchEngines()
{
    LoadSearchEngineFile(m_searchEngines, theApp.GetProgramFolder());
}

void CMainFrame::SaveListsOnExit()
{
    if (theApp.m_settings.bFavLoadCache())
        RefreshFavoritesCache();
    if (m_searchEngines.GetRoot() != nullptr)
        SaveSearchEngines();
}

void CMainFrame::SaveSearchEngines()
{
    // A list that was never read from the file is not written over it, and
    // that is no failure to tell.
    DWORD error = 0;
    if (!SaveSearchEngineFile(m_searchEngines, theApp.GetProgramFolder(), &error) && m_searchEngines.WasFileRead())
        TellNotSaved(theApp.ProgramFile("SearchEngine.dat"), error);
}

// The cache is written again only when a scan may give another tree than
// the one it holds, or when there is none: reading every shortcut again at
// each exit costs more than the rest of the exit. The folders' listings and
// the order keys' write times tell, read here on this thread, so that no
// handle on the Favorites folder stays open while the program runs; a
// reload asked for by the user always counts. The cache is written from a
// fresh scan of its own, so the menus keep the tree they were built from (a
// session end may still be cancelled); only a complete scan replaces it. A
// subfolder the scan cannot list keeps what the cache holds of it. A cache
// that is there but cannot be read is left as it is.
void CMainFrame::RefreshFavoritesCache()
{
    const CString cache = theApp.ProgramFile("IEFavorite.dat");
    const FavoritesScanPlaces places = GetFavoritesPlaces();
    WIN32_FILE_ATTRIBUTE_DATA written = {};
    CFavoriteTree cached;
    if (GetFileAttributesExA(cache, GetFileExInfoStandard, &written)) {
        FileReadState read;
        cached.LoadCache(cache, places.rootLabel, &read);
        if (read.IsUnreadable())
            return;
        if (!m_favReloaded && read.IsOpened() && !FavoritesCacheStale(places, cached, written.ftLastWriteTime))
            return;
    }
    CFavoriteTree scanned;
    // A failed write of the cache loses nothing of the user's: it mirrors
    // the Favorites folder, which the next exit scans again.
    if (::ScanFavorites(scanned, places, &cached))
        (void)SaveFavoritesCache(scanned);
}

// Writes the cache, unless a file is there that cannot be read.
bool CMainFrame::SaveFavoritesCache(const CFavoriteTree& tree)
{
    const CString cache = theApp.ProgramFile("IEFavorite.dat");
    {
        CFile probe;
        if (probe.OpenToRead(cache, CFile::modeRead | CFile::shareDenyNone).IsUnreadable())
            return false;
    }
    if (!tree.Save(cache))
        return false;
    m_favReloaded = false;
    return true;
}

CString CMainFrame::BuildSearchUrl(const CString& keyword, const CString& urlTemplate) const
{
    return ::BuildSearchUrl(keyword, urlTemplate);
}

void CMainFrame::SearchWithEngine(const CString& keyword, CSearchEngineNode* engine, BOOL reverse)
{
    if (engine == nullptr)
        return;
    CFrameSearchTabs tabs;
    CWebSearch search(m_searchEngines, tabs);
    if (search.SearchWithEngine(keyword, *engine, reverse != FALSE,
                                theApp.m_settings.iParentTabNewRule))
        theApp.m_lastSearchKeyword = keyword;
}

void CMainFrame::SetPendingSearchKeyword(const CString& text)
{
    theApp.m_pendingKeyword = text;
    m_stateWord |= kStatePendingKeyword;
}

bool CMainFrame::OnDropText(const CString& text, int roleBit)
{
    CString keyword(text);
    keyword.Trim();
    CFrameSearchTabs tabs;
    CWebSearch search(m_searchEngines, tabs);
    if (!search.SearchDroppedText(keyword, roleBit, theApp.m_settings.iParentTabNewRule))
        return false;
    theApp.m_lastSearchKeyword = keyword;
    return true;
}

void CMainFrame::OnSearchEngine(UINT nID)
{
    // Searches run only while the search bar (and so its box) exists.
    CString keyword;
    if (!GetSearchBoxText(keyword) || m_searchEngines.GetFlatCount() <= 1)
        return;
    if ((m_stateWord & kStatePendingKeyword) != 0) {
        m_stateWord &= ~static_cast<DWORD>(kStatePendingKeyword);
        keyword = theApp.m_pendingKeyword;
        keyword.Trim();
    } else {
        keyword.Trim();
        if (keyword.IsEmpty())
            return;
        AddSearchBoxHistory(keyword);
    }
    CFrameSearchTabs tabs;
    CWebSearch search(m_searchEngines, tabs);
    CWebSearch::Outcome outcome =
        search.Run(nID, keyword, KeyHeld(VK_CONTROL), KeyHeld(VK_SHIFT),
                   theApp.m_settings.iParentTabNewRule);
    if (outcome == CWebSearch::kFocusSearchBox)
        FocusSearchBox();
    else if (outcome == CWebSearch::kSearched)
        theApp.m_lastSearchKeyword = search.GetLastKeyword();
}

void CMainFrame::OnRunSearch()
{
    OnSearchEngine(0);
}

void CMainFrame::OnReloadSearchEngines()
{
    m_searchEngines.Load(theApp.ProgramFile("SearchEngine.dat"), theApp.GetProgramFolder());
    if (!m_wndSearchBar.IsWindow())
        return;
    m_wndSearchBar.LoadImages();
    m_wndSearchBar.SetButtons(true);
    m_wndSearchBar.RecalcLayout();
}

SearchEngineMenuTexts CMainFrame::GetSearchEngineMenuTexts() const
{
    SearchEngineMenuTexts texts;
    texts.searchAll = theApp.GetEtcText(kEtcSearchAllLine);
    texts.emptyFolder = theApp.GetEtcText(kEtcEmptyFolderLine);
    texts.maxCaption = theApp.m_settings.iFavTitleMaxStr;
    texts.withIcons = theApp.m_settings.bMenuImage() ? TRUE : FALSE;
    return texts;
}

void CMainFrame::BuildSearchEngineMenu(CNewMenu& menu)
{
    ::BuildSearchEngineMenu(menu, m_searchEngines, GetSearchEngineMenuTexts());
}

void CMainFrame::OnSearchEngineMenu()
{
    RECT button;
    if (!GetSearchButtonRect(button) || m_searchEngines.GetRoot() == nullptr)
        return;
    CNewMenu menu;
    if (!menu.Attach(::CreatePopupMenu()))
        return;
    BuildSearchEngineMenu(menu);
    menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, button.left, button.bottom, this);
    menu.DestroyMenu();
}

void CMainFrame::OnSearchBarDropDown(NMHDR* pNMHDR, LRESULT* pResult)
{
    const NMTOOLBARA* toolbar = reinterpret_cast<const NMTOOLBARA*>(pNMHDR);
    if (toolbar != nullptr && static_cast<UINT>(toolbar->iItem) == kCmdRunSearch)
        OnSearchEngineMenu();
    if (pResult != nullptr)
        *pResult = TBDDRET_DEFAULT;
}

void CMainFrame::RunScript(const CString& path)
{
    CScriptRunDlg runner(nullptr, this);
    runner.m_scriptPath = path;
    runner.DoModal();
}

HWND CMainFrame::GetTextSearchPopupWindow() const
{
    return m_pHtmlPopup != nullptr ? m_pHtmlPopup->GetSafeHwnd() : nullptr;
}

void CMainFrame::ShowTextSearchPopup()
{
    CString keyword;
    if (!m_wndSearchBar.IsWindow() || !GetSearchBoxText(keyword))
        return;
    OpenTextSearchPopup(keyword);
}

void CMainFrame::OpenTextSearchPopup(const CString& keyword)
{
    delete m_pHtmlPopup;
    m_pHtmlPopup = new CDlgHtmlPopup(nullptr, this);
    m_pHtmlPopup->m_mode = kPopupModeTextFind;
    m_pHtmlPopup->m_keyword = keyword;
    m_pHtmlPopup->m_pagePath = theApp.m_folders.FavoriteFile("text_search.htm");
    m_pHtmlPopup->m_searchPending = 1;
    if (!m_pHtmlPopup->Create(kHtmlPopupTemplate, this))
    {
        delete m_pHtmlPopup;
        m_pHtmlPopup = nullptr;
    }
}

void CMainFrame::OnTextSearchPopup()
{
    CString keyword;
    CBrowserView* pView = theApp.m_pActiveView;
    if (pView != nullptr && ::IsWindow(pView->GetSafeHwnd()))
    {
        IDispatch* pDoc = pView->GetHtmlDocument();
        CPageSelection selection;
        if (selection.Read(pDoc, CPageSelection::kText))
            keyword = selection.m_strText;
        if (pDoc != nullptr)
            pDoc->Release();
    }
    if (keyword.IsEmpty())
        keyword = theApp.m_lastSearchKeyword;
    OpenTextSearchPopup(keyword);
}
