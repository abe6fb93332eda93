// CMainFrame: the favorites as the user reaches them: the favorites menu,
// folder popups, the links bar's buttons, opening one favorite or a whole
// folder, adding, organizing and reloading.
#include "app/MainFrame.h"

#include <windows.h>
#include <exdisp.h>
#include <shlobj.h>

#include "app/DlgFavTree.h"
#include "app/VantorelApp.h"
#include "app/resource.h"
#include "tab/DlgStatic.h"
#include "bars/PageTabBar.h"
#include "framework/ole/OleUtil.h"
#include "framework/win/WaitCursor.h"
#include "lists/FavoritesScan.h"
#include "lists/SearchEngineMenu.h"
#include "shared/UrlText.h"
#include "shared/WidePath.h"
#include "tab/BrowserView.h"
#include "tab/DocHostHandler.h"
#include "tab/TabItem.h"

namespace {

// etc.dat: the open-all item; the disabled item of an empty folder.
const int kEtcOpenAll = 1;
const int kEtcEmptyFolder = 71;
// message.dat: the busy text while the favorites are read again.
const int kMsgReloadingFavorites = 39;
// reg.dat: the key and value naming the Links folder; first.dat: its name
// when the key cannot be read.
const int kRegLinksKey = 2;
const int kRegLinksValue = 7;
const int kFirstLinksName = 7;
// The fixed items that lead the favorites menu.
const int kFavoritesMenuFixedItems = 5;
// Images of the menu and links-bar strip ("mjr.bmp").
const int kImageFolder = 0;
const int kImageEntry = 3;
// The favorites bar's text, the floating frame's caption: "お気に入り" in
// cp932, as every window text of the program.
const char kFavoritesBarTitle[] = "\x82\xa8\x8b\x43\x82\xc9\x93\xfc\x82\xe8";
// A favorites folder's open-all runs are not capped.
const int kNoTabLimit = 0x7FFFFFFF;

// The label without its extension; a label without "." stays whole.
CString LabelWithoutExtension(const CString& label)
{
    const int dot = label.ReverseFind('.');
    return dot > 0 ? label.Left(dot) : label;
}

// The value of the Links folder's name, or empty.
CString ReadLinksFolderName(const CString& key, const CString& valueName, bool* keyOpened)
{
    *keyOpened = false;
    HKEY hKey = nullptr;
    if (key.IsEmpty() ||
        RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_QUERY_VALUE, &hKey) != ERROR_SUCCESS)
        return CString();
    *keyOpened = true;
    char buffer[MAX_PATH] = {};
    DWORD size = sizeof(buffer) - 1;
    DWORD type = 0;
    CString name;
    if (RegQueryValueExA(hKey, valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) ==
            ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ)) {
        buffer[size < sizeof(buffer) ? size : sizeof(buffer) - 1] = '\0';
        char expanded[MAX_PATH] = {};
        DWORD length = ExpandEnvironmentStringsA(buffer, expanded, sizeof(expanded));
        name = length > 0 && length <= sizeof(expanded) ? CString(expanded) : CString(buffer);
    }
    RegCloseKey(hKey);
    return name;
}

// The shell opens a file entry, by its wide path when only that reaches it.
void OpenFavoriteFile(HWND wnd, const CFavoriteNode& node)
{
    if (!node.m_widePath.empty())
        ::ShellExecuteW(wnd, nullptr, node.m_widePath.c_str(), nullptr, nullptr, SW_SHOW);
    else if (!node.m_url.IsEmpty())
        ::ShellExecuteA(wnd, nullptr, node.m_url, nullptr, nullptr, SW_SHOW);
}

} // namespace

//--- Menus

void CMainFrame::ClearMenuItems(CNewMenu& menu)
{
    while (menu.GetMenuItemCount() > 0) {
        if (CNewMenu* sub = menu.GetSubMenu(0))
            ClearMenuItems(*sub);
        if (!menu.DeleteMenu(0, MF_BYPOSITION))
            break;
    }
}

void CMainFrame::TrimFavoritesMenu(CNewMenu& menu)
{
    while (menu.GetMenuItemCount() > kFavoritesMenuFixedItems) {
        if (CNewMenu* sub = menu.GetSubMenu(kFavoritesMenuFixedItems))
            ClearMenuItems(*sub);
        if (!menu.DeleteMenu(kFavoritesMenuFixedItems, MF_BYPOSITION))
            break;
    }
}

UINT CMainFrame::FavoriteColumnFlag(CNewMenu& menu) const
{
    const int perColumn = theApp.m_settings.iFavItemRowMax;
    const int n = menu.GetMenuItemCount() - m_favMenuLeadingItems;
    return perColumn != 0 && n >= 1 && n % perColumn == 0 ? MF_MENUBARBREAK : 0;
}

void CMainFrame::AppendOpenAllItem(CNewMenu& menu, const CFavoriteNode& folder)
{
    menu.AppendMenu(MF_STRING, kCmdFavoriteFirst + folder.m_flatIndex,
                    theApp.GetEtcText(kEtcOpenAll));
    menu.AppendMenu(MF_SEPARATOR);
}

void CMainFrame::AppendFavoritesItems(CNewMenu& menu, const CFavoriteNode& node,
                                      CImageList* images)
{
    const SettingsRecord& s = theApp.m_settings;
    const int maxCaption = s.iFavTitleMaxStr;
    if (!node.IsContainer()) {
        if (node.m_flatIndex < 0)
            return;
        const CString caption = MakeMenuCaption(LabelWithoutExtension(node.m_label), maxCaption);
        const UINT flags = MF_STRING | FavoriteColumnFlag(menu);
        const UINT id = kCmdFavoriteFirst + node.m_flatIndex;
        if (images == nullptr) {
            menu.AppendMenu(flags, id, caption);
            return;
        }
        int image = kImageEntry;
        if (node.m_kind == CFavoriteNode::kFile) {
            const int shell = images->AddSmallShellIcon(node.m_url);
            if (shell >= 0)
                image = shell;
        }
        menu.AppendMenuWithImageList(flags, id, caption, images, image);
        return;
    }
    for (INT_PTR i = 0; i < node.GetChildCount(); ++i) {
        const CFavoriteNode& child = *node.GetChild(i);
        if (!child.IsContainer()) {
            AppendFavoritesItems(menu, child, images);
            continue;
        }
        if (child.m_flatIndex < 0)
            continue;
        const CString caption = MakeMenuCaption(child.m_label, maxCaption);
        const UINT flags = FavoriteColumnFlag(menu);
        CNewMenu* sub = images != nullptr
                            ? menu.AppendODPopupMenuWithIcon(caption, flags, images, kImageFolder)
                            : menu.AppendODPopupMenu(caption, flags);
        if (sub == nullptr)
            continue;
        const bool openAll = s.bFavAllOpenMenuAdd();
        if (openAll)
            AppendOpenAllItem(*sub, child);
        AppendFavoritesItems(*sub, child, images);
        if (sub->GetMenuItemCount() <= (openAll ? 2 : 0)) {
            ClearMenuItems(*sub);
            sub->AppendMenu(MF_STRING | MF_GRAYED, kCmdFavoriteEmpty,
                            theApp.GetEtcText(kEtcEmptyFolder));
        } else if (s.iFavItemRowMax == 0) {
            MeasureMenuCaptions(*sub, 0);
        }
    }
}

void CMainFrame::MakeFavoriteMenuImages(CImageList& images) const
{
    images.DeleteImageList();
    if (m_smallIcons.GetSafeHandle() != nullptr)
        images.Attach(ImageList_Duplicate(m_smallIcons.GetSafeHandle()));
}

void CMainFrame::BuildFavoritesMenu(CNewMenu& menu)
{
    if ((m_stateWord & kStateFavoritesMenuBuilt) != 0)
        return;
    CWaitCursor wait;
    TrimFavoritesMenu(menu);
    const SettingsRecord& s = theApp.m_settings;
    const CFavoriteNode* root = m_favorites.GetRoot();
    m_favMenuLeadingItems = 0;
    if (s.bFavAllOpenMenuAdd() && root != nullptr) {
        menu.AppendMenu(MF_STRING, kCmdFavoriteFirst + root->m_flatIndex,
                        theApp.GetEtcText(kEtcOpenAll));
        m_favMenuLeadingItems = 1;
    }
    CImageList images;
    if (s.bMenuImage())
        MakeFavoriteMenuImages(images);
    if (root != nullptr)
        AppendFavoritesItems(menu, *root,
                             images.GetSafeHandle() != nullptr ? &images : nullptr);
    if (s.iFavItemRowMax == 0)
        MeasureMenuCaptions(menu, 0);
    m_stateWord |= kStateFavoritesMenuBuilt;
}

bool CMainFrame::BuildFavoriteFolderMenu(CNewMenu& menu, int flatIndex)
{
    const CFavoriteNode* folder = m_favorites.GetNode(flatIndex);
    if (folder == nullptr || !folder->IsContainer())
        return false;
    ClearMenuItems(menu);
    const SettingsRecord& s = theApp.m_settings;
    if (s.bFavAllOpenMenuAdd())
        AppendOpenAllItem(menu, *folder);
    CImageList images;
    if (s.bMenuImage())
        MakeFavoriteMenuImages(images);
    AppendFavoritesItems(menu, *folder, images.GetSafeHandle() != nullptr ? &images : nullptr);
    if (s.iFavItemRowMax == 0)
        MeasureMenuCaptions(menu, 0);
    return true;
}

void CMainFrame::OnFavoriteFolder(UINT nID)
{
    if (m_wndLinksBar.GetSafeHwnd() == nullptr)
        return;
    RECT rect = {};
    m_wndLinksBar.GetWindowRect(&rect);
    ShowFavoriteFolderMenu(static_cast<int>(nID - kCmdFavFolderFirst), rect.right, rect.bottom);
}

// From the links bar, or from its overflow popup's copy of its buttons
// (a toolbar with the bar's id, as the rebar has): the button's own window
// places the menu.
void CMainFrame::OnLinksDropDown(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = TBDDRET_DEFAULT;
    const auto* info = reinterpret_cast<const NMTOOLBARA*>(pNMHDR);
    const HWND from = info->hdr.hwndFrom;
    if (m_wndLinksBar.GetSafeHwnd() == nullptr || from == nullptr)
        return;
    if (from != m_wndLinksBar.m_hWnd) {
        char className[32] = "";
        ::GetClassNameA(from, className, sizeof(className));
        if (lstrcmpiA(className, TOOLBARCLASSNAMEA) != 0)
            return;
    }
    const UINT id = static_cast<UINT>(info->iItem);
    if (id < kCmdFavFolderFirst || id > kCmdFavFolderLast)
        return;
    RECT button = {};
    if (!::SendMessageA(from, TB_GETRECT, id, reinterpret_cast<LPARAM>(&button)))
        return;
    ::MapWindowPoints(from, nullptr, reinterpret_cast<LPPOINT>(&button), 2);
    ShowFavoriteFolderMenu(static_cast<int>(id - kCmdFavFolderFirst), button.left, button.bottom);
}

// The drop-down menu resource's first popup, emptied and refilled.
void CMainFrame::ShowFavoriteFolderMenu(int flatIndex, int x, int y)
{
    CNewMenu menu;
    if (!menu.LoadMenu(IDR_MENU_NEWTAB))
        return;
    CNewMenu* popup = menu.GetSubMenu(0);
    if (popup != nullptr && BuildFavoriteFolderMenu(*popup, flatIndex))
        popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_LEFTBUTTON, x, y, this);
    menu.DestroyMenu();
}

void CMainFrame::OnUpdateFavoriteFolder(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
}

//--- The links bar

CString CMainFrame::GetLinksFolderPath() const
{
    bool keyOpened = false;
    CString name = ReadLinksFolderName(theApp.GetRegText(kRegLinksKey),
                                       theApp.GetRegText(kRegLinksValue), &keyOpened);
    // A key without the value would make the whole Favorites folder the
    // links: the shipped name stands in then too.
    if (name.IsEmpty())
        name = theApp.GetFirstText(kFirstLinksName);
    // Compared with the texts the scan gave the folders, never used to reach
    // one: where no ANSI path reaches the Favorites folder, those begin with
    // its best-fit text (its folders are reached by their wide paths).
    std::wstring wide;
    CString path = GetFavoritesFolderPath(&wide);
    if (path.IsEmpty())
        path = WidePath::ToBestFitAnsi(wide);
    if (!EndsWithBackslash(path))
        path += "\\";
    return path + name + "\\";
}

void CMainFrame::BuildFavoriteIcons()
{
    if (m_wndLinksBar.GetSafeHwnd() == nullptr)
        return;
    std::vector<LinkButton> buttons;
    m_wndLinksBar.ResetImages();
    const CFavoriteNode* root = m_favorites.GetRoot();
    if (root == nullptr) {
        m_wndLinksBar.SetLinks(buttons);
        return;
    }
    const CString links = GetLinksFolderPath();
    const CFavoriteNode* folder = root;
    for (INT_PTR i = 0; i < root->GetChildCount(); ++i) {
        const CFavoriteNode* child = root->GetChild(i);
        if (child->m_kind == CFavoriteNode::kFolder && child->m_url.CompareNoCase(links) == 0) {
            folder = child;
            break;
        }
    }
    for (INT_PTR i = 0; i < folder->GetChildCount(); ++i) {
        const CFavoriteNode& child = *folder->GetChild(i);
        if (child.m_flatIndex < 0)
            continue;
        LinkButton button;
        button.label = child.IsContainer() ? child.m_label : LabelWithoutExtension(child.m_label);
        if (child.IsContainer()) {
            button.image = kImageFolder;
            button.command = kCmdFavFolderFirst + child.m_flatIndex;
            button.style = BTNS_DROPDOWN | BTNS_AUTOSIZE;
        } else {
            button.image = kImageEntry;
            if (child.m_kind == CFavoriteNode::kFile) {
                const int shell = m_wndLinksBar.AddShellIcon(child.m_url);
                button.image = shell >= 0 ? shell : kImageFolder;
            }
            button.command = kCmdFavoriteFirst + child.m_flatIndex;
            button.style = BTNS_AUTOSIZE;
        }
        buttons.push_back(button);
    }
    m_wndLinksBar.SetLinks(buttons);
}

//--- Opening favorites

void CMainFrame::OnFavoriteItem(UINT nID)
{
    const int index = nID > kCmdFavoriteFirst ? static_cast<int>(nID - kCmdFavoriteFirst) : 0;
    const CFavoriteNode* node = m_favorites.GetNode(index);
    if (node == nullptr)
        return;
    if (node->IsContainer()) {
        OpenFavoriteFolder(*node);
        return;
    }
    if (node->m_url.IsEmpty())
        return;
    if (node->m_kind == CFavoriteNode::kFile) {
        OpenFavoriteFile(m_hWnd, *node);
        return;
    }
    OpenFavoriteUrl(node->m_url, LabelWithoutExtension(node->m_label));
}

void CMainFrame::OpenFavoriteUrl(const CString& url, const CString& groupName)
{
    const SettingsRecord& s = theApp.m_settings;
    CBrowserView* view = theApp.m_pActiveView;
    const bool hasView = view != nullptr && ::IsWindow(view->GetSafeHwnd());
    if (IsScriptUrl(url)) {
        if (hasView)
            view->Navigate(url);
        return;
    }
    if (s.iParentTabNewRule & 0x100) {
        CStringArray urls;
        urls.Add(url);
        theApp.OpenTabRun(urls, true, groupName, 1);
    } else if (s.bOpenNewTab_FAV() || !hasView) {
        theApp.OpenUrl(nullptr, url, s.bOpenNewTab_FAV() ? 1 : 0);
    } else {
        view->Navigate(url);
    }
}

void CMainFrame::OpenFavoriteFolder(const CFavoriteNode& folder)
{
    CStringArray urls;
    for (INT_PTR i = 0; i < folder.GetChildCount(); ++i) {
        const CFavoriteNode& child = *folder.GetChild(i);
        if (child.m_kind == CFavoriteNode::kShortcut)
            urls.Add(child.m_url);
        else if (child.m_kind == CFavoriteNode::kFile)
            OpenFavoriteFile(m_hWnd, child);
    }
    theApp.OpenTabRun(urls, (theApp.m_settings.iParentTabNewRule & 0x04) != 0, folder.m_label,
                      kNoTabLimit);
}

//--- Adding, organizing, reloading

void CMainFrame::OnAddFavorite()
{
    CTabItem* tab = GetActiveTab();
    if (tab == nullptr)
        return;
    CComPtr<IShellUIHelper> helper;
    if (FAILED(CoCreateInstance(CLSID_ShellUIHelper, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IShellUIHelper, reinterpret_cast<void**>(&helper))) ||
        helper == nullptr)
        return;
    CBstr url = CBstr::FromAnsi(tab->m_url);
    CVariant title;
    if (FAILED(title.SetString(tab->m_title)))
        return;
    helper->AddFavorite(url, &title);
}

void CMainFrame::OnOrganizeFavorites()
{
    const char* module = GetIEMajorVersion() >= 7 ? "ieframe.dll" : "shdocvw.dll";
    HMODULE library = ::GetModuleHandleA(module);
    const bool loadedHere = library == nullptr;
    if (loadedHere)
        library = ::LoadLibraryA(module);
    if (library == nullptr)
        return;
    OrganizeFavoritesWith(library, m_hWnd);
    if (loadedHere)
        ::FreeLibrary(library);
}

void CMainFrame::OnReloadFavorites()
{
    CWaitCursor wait;
    CDlgStatic busy(nullptr);  // taken down when it goes out of scope
    busy.m_text = theApp.GetMessageText(kMsgReloadingFavorites);
    busy.Create();
    ScanFavorites();
    m_favReloaded = true;
    AfterFavoritesRebuilt();
}

void CMainFrame::AfterFavoritesRebuilt()
{
    // Every command id, button and pane item names a flat index of the old
    // tree: all of them are rebuilt from the new one.
    BuildFavoriteIcons();
    m_stateWord &= ~static_cast<DWORD>(kStateFavoritesMenuBuilt);
    RefillFavoritesPane();
}

bool CMainFrame::CreateFavoritesBar()
{
    m_wndFavoritesBar.m_makeTreePane = [](CWnd* pBar) -> std::unique_ptr<CFavoritesTreePane> {
        return std::make_unique<CDlgFavTree>(pBar);
    };
    if (!m_wndFavoritesBar.Create(kFavoritesBarTitle, this, CSize(200, 200), kFavoritesBarId, WS_CHILD | CBRS_ALIGN_LEFT))
        return false;
    m_wndFavoritesBar.m_closeCommand = ID_VIEW_FAVORITES_PANE;
    m_wndFavoritesBar.EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndFavoritesBar, AFX_IDW_DOCKBAR_LEFT);
    m_pFavoritesPane = static_cast<CDlgFavTree*>(m_wndFavoritesBar.GetTreePane());  // made by the maker above
    return true;
}

// The pane is made when it is first shown: most sessions never open it,
// and a hidden pane would only cost the start its windows.
void CMainFrame::OnToggleFavoritesPane()
{
    if (m_wndFavoritesBar.GetSafeHwnd() == nullptr && !CreateFavoritesBar())
        return;
    ShowBar(&m_wndFavoritesBar, !m_wndFavoritesBar.IsVisible(), FALSE);
}

void CMainFrame::OnUpdateFavoritesPane(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_wndFavoritesBar.IsVisible() ? 1 : 0);
}

void CMainFrame::RefillFavoritesPane()
{
    if (m_pFavoritesPane != nullptr && m_pFavoritesPane->GetSafeHwnd() != nullptr)
        m_pFavoritesPane->Refill();
}
