// The built dialogs library driven by a real main frame: its exports' null
// rules, the settings hand-over, the messages its dialogs send to the main
// window, and the frame's settings and about commands through it.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "app/MainFrame.h"
#include "app/VantorelApp.h"
#include "app/resource.h"
#include "dialogs/pages/DlgSetTab5Res.h"
#include "dialogs/pages/GroupTabPageRes.h"
#include "dialogs/pages/TabBarPagesRes.h"
#include "dialogs/pages/PlugInPageRes.h"
#include "shared/FrameMessages.h"
#include "shared/StartupList.h"
#include "tab/BrowserView.h"
#include "tab/TabGroup.h"
#include "tab/TabItem.h"
#include "app/tests/TabFixture.h"

namespace {

typedef SettingsRecord*(WINAPI* ShowSettingDlgFn)(HICON, HWND, const char*, const char*, SettingsRecord*, int*);
typedef const char*(WINAPI* ShowOpenDlgFn)(int, const char*, int*);
typedef const char*(WINAPI* ShowPFindDlgFn)(HICON, int*, int*, int*);
typedef const char*(WINAPI* ShowPtabFn)(HICON, void*, int*);
typedef int(WINAPI* ShowAboutDlgFn)(HICON, HWND, const char*, const char*, const char*, const char*, int);
typedef int(WINAPI* ShowDlgWideFn)(HICON, RECT*);
typedef void(WINAPI* ShowPostedDlgFn)(HICON, const char*, const char*);
typedef int(WINAPI* ShowAddPopupFn)(HWND, const char*);
typedef void(WINAPI* StartupAddDlgFn)(HWND, const char*, const char*, const char*);

class FormbayLibrary : public TabTest
{
protected:
    void SetUp() override
    {
        TabTest::SetUp();
        // The library as the program finds it: in its own folder.
        std::string built = ProgramFolder::PathFromEnvironment("VA_BIN_DIR") + "\\Formbay.dll";
        ASSERT_TRUE(::CopyFileA(built.c_str(), m_folder->File("Formbay.dll").c_str(), FALSE));
        m_icon = theApp.LoadIcon(IDR_MAINFRAME);
    }
    void TearDown() override
    {
        Unload();
        TabTest::TearDown();
    }

    HMODULE Load()
    {
        if (m_module == nullptr)
            m_module = ::LoadLibraryA(m_folder->File("Formbay.dll").c_str());
        return m_module;
    }
    void Unload()
    {
        if (m_module != nullptr)
            ::FreeLibrary(m_module);
        m_module = nullptr;
    }
    template <class Fn>
    Fn Export(const char* name)
    {
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(Load(), name)));
    }
    const char* Folder() const { return m_folder->Path().c_str(); }
    HWND Main() const { return m_frame->m_hWnd; }
    // The group-switches command, its page edited by onPage and OK'd, with
    // the frame's apply messages recorded.
    void RunGroupSwitches(void (*onPage)());

    HMODULE m_module = nullptr;
    HICON m_icon = nullptr;
};

// The caption of the dialog showing now.
std::string s_caption;
void ReadCaption()
{
    HWND hWnd = ShownDialog();
    char text[128] = {};
    ::GetWindowTextA(hWnd, text, sizeof(text));
    s_caption = text;
}

BOOL CALLBACK FindGeneralPage(HWND hWnd, LPARAM lParam)
{
    if (::GetDlgItem(hWnd, IDC_GEN_STATUSURL) == nullptr)
        return TRUE;
    *reinterpret_cast<HWND*>(lParam) = hWnd;
    return FALSE;
}

// Checks "show only the URL in the status bar" on the general page.
void CheckStatusUrlOnly()
{
    HWND hPage = nullptr;
    ::EnumChildWindows(ShownDialog(), FindGeneralPage, reinterpret_cast<LPARAM>(&hPage));
    ::CheckDlgButton(hPage, IDC_GEN_STATUSURL, BST_CHECKED);
}

BOOL CALLBACK FindCatalogPage(HWND hWnd, LPARAM lParam)
{
    if (::GetDlgItem(hWnd, IDC_PLG_LIST) == nullptr)
        return TRUE;
    *reinterpret_cast<HWND*>(lParam) = hWnd;
    return FALSE;
}

// How many plug-ins and scripts the frame holds after the catalog page
// deleted its first row.
size_t s_plugInsAfterDelete = 99;
size_t s_scriptsAfterDelete = 99;
void DeleteFirstCatalogRow()
{
    HWND hPage = nullptr;
    ::EnumChildWindows(ShownDialog(), FindCatalogPage, reinterpret_cast<LPARAM>(&hPage));
    ListView_SetItemState(::GetDlgItem(hPage, IDC_PLG_LIST), 0, LVIS_SELECTED, LVIS_SELECTED);
    ::SendMessageA(hPage, WM_COMMAND, MAKEWPARAM(IDC_PLG_DELETE, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(hPage, IDC_PLG_DELETE)));
    s_plugInsAfterDelete = theApp.m_plugIns.size();
    s_scriptsAfterDelete = theApp.m_scripts.size();
}

} // namespace

TEST_F(FormbayLibrary, EveryExportKeepsItsNullRule)
{
    SettingsRecord settings;
    int result = 55;
    for (const char* name : { "ShowSettingDlg", "ShowPlgSettingDlg", "ShowScriptSettingDlg", "ShowPtabSCDlg",
                              "ShowPtabTempDlg", "ShowProxySettingDlg" }) {
        ShowSettingDlgFn show = Export<ShowSettingDlgFn>(name);
        ASSERT_NE(nullptr, show) << name;
        EXPECT_EQ(nullptr, show(m_icon, Main(), nullptr, Folder(), &settings, &result)) << name;
        EXPECT_EQ(nullptr, show(nullptr, Main(), "P", Folder(), &settings, &result)) << name;
    }
    EXPECT_EQ(55, result);
    EXPECT_EQ(nullptr, Export<ShowOpenDlgFn>("ShowOpenDlg")(1, "x", nullptr));
    int a = 0, b = 0;
    EXPECT_EQ(nullptr, Export<ShowPFindDlgFn>("ShowPFindDlg")(m_icon, &a, nullptr, &result));
    EXPECT_EQ(nullptr, Export<ShowPtabFn>("ShowPtabCustom")(m_icon, nullptr, &result));
    EXPECT_EQ(nullptr, Export<ShowPtabFn>("ShowPtabRename")(m_icon, &b, nullptr));
    EXPECT_EQ(7, Export<ShowAboutDlgFn>("ShowAboutDlg")(m_icon, Main(), Folder(), nullptr, "b", "c", 7));
    EXPECT_EQ(0, Export<ShowDlgWideFn>("ShowDlgWide")(m_icon, nullptr));
    Export<ShowPostedDlgFn>("ShowPostedDlg")(m_icon, nullptr, "body");
    EXPECT_EQ(0, Export<ShowAddPopupFn>("ShowAddPopup")(nullptr, Folder()));
    Export<StartupAddDlgFn>("StartupAddDlg")(Main(), "P", Folder(), nullptr);
    EXPECT_EQ(55, result);
    EXPECT_FALSE(m_folder->Exists("StartUpURL.dat"));
}

TEST_F(FormbayLibrary, SettingsAreHandedOverOnOKOnly)
{
    ShowSettingDlgFn show = Export<ShowSettingDlgFn>("ShowSettingDlg");
    SettingsRecord caller;
    caller.iTabStrLen = 33;
    int result = 0;
    AnswerNextMessageBox(IDCANCEL, ReadCaption);
    EXPECT_EQ(nullptr, show(m_icon, Main(), "Vantorel", Folder(), &caller, &result));
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_TRUE(AllAnswered());
    // The product name, then line 28 of etc.dat.
    EXPECT_EQ("Vantorel \x82\xCC\x90\xDD\x92\xE8", s_caption);  // "の設定" in cp932

    AnswerNextMessageBox(IDOK);
    SettingsRecord* edited = show(m_icon, Main(), "Vantorel", Folder(), &caller, &result);
    EXPECT_EQ(IDOK, result);
    ASSERT_NE(nullptr, edited);
    EXPECT_NE(&caller, edited);
    EXPECT_EQ(33, edited->iTabStrLen);
}

TEST_F(FormbayLibrary, TextsStayUntilTheNextTextExport)
{
    ShowOpenDlgFn open = Export<ShowOpenDlgFn>("ShowOpenDlg");
    int result = 0;
    AnswerNextMessageBox(IDOK);
    const char* first = open(0, "http://a.example/", &result);
    ASSERT_NE(nullptr, first);
    EXPECT_STREQ("http://a.example/", first);
    EXPECT_EQ(IDOK, result);
    AnswerNextMessageBox(IDCANCEL);
    const char* second = open(0, nullptr, &result);
    EXPECT_EQ(first, second);
    EXPECT_STREQ("http://", first);
    EXPECT_EQ(IDCANCEL, result);
}

TEST_F(FormbayLibrary, WindowSizeRectangleIsWrittenBackOnOKOnly)
{
    ShowDlgWideFn wide = Export<ShowDlgWideFn>("ShowDlgWide");
    RECT rect = { 5, 6, 305, 206 };
    AnswerNextMessageBox(IDOK);
    EXPECT_EQ(IDOK, wide(m_icon, &rect));
    EXPECT_EQ(305, rect.right);
    EXPECT_EQ(206, rect.bottom);
}

TEST_F(FormbayLibrary, SettingsCommandSavesOnOKAndNotOnCancel)
{
    // The settings file does not exist yet: Cancel writes none.
    const std::string settingsFile = std::string(theApp.GetMainClassName()) + ".ini";
    m_folder->Remove(settingsFile);
    AnswerNextMessageBox(IDCANCEL);
    ::SendMessageA(Main(), WM_COMMAND, ID_TOOLS_SETTINGS, 0);
    EXPECT_TRUE(AllAnswered());
    EXPECT_FALSE(m_folder->Exists(settingsFile));

    // OK saves the settings and the engines (written before the dialog).
    m_folder->Remove("SearchEngine.dat");
    AnswerNextMessageBox(IDOK);
    ::SendMessageA(Main(), WM_COMMAND, ID_TOOLS_SETTINGS, 0);
    EXPECT_TRUE(AllAnswered());
    EXPECT_TRUE(m_folder->Exists(settingsFile));
    EXPECT_TRUE(m_folder->Exists("SearchEngine.dat"));
    // The library was loaded for the call and is gone again.
    EXPECT_EQ(nullptr, ::GetModuleHandleA("Formbay.dll"));
}

TEST_F(FormbayLibrary, GeneralPageEditsReachTheFrameAndKeepStartModesItDoesNotOffer)
{
    const std::string settingsFile = std::string(theApp.GetMainClassName()) + ".ini";
    for (int mode : { 3, 4, 5 }) {
        theApp.m_settings.iInitMode = static_cast<uint8_t>(mode);
        theApp.m_settings.bStatusBar_URL_Only(false);
        AnswerNextMessageBox(IDOK, CheckStatusUrlOnly);
        ::SendMessageA(Main(), WM_COMMAND, ID_TOOLS_SETTINGS, 0);
        EXPECT_TRUE(AllAnswered());
        EXPECT_EQ(mode, theApp.m_settings.iInitMode);
        EXPECT_TRUE(theApp.m_settings.bStatusBar_URL_Only());
        const std::string saved = m_folder->ReadBytes(settingsFile);
        EXPECT_NE(std::string::npos, saved.find("iInitMode=" + std::to_string(mode) + "\r\n")) << mode;
        EXPECT_NE(std::string::npos, saved.find("bStatusBar_URL_Only=1\r\n"));
    }
}

TEST_F(FormbayLibrary, AboutCommandShowsTheVersionTextsAndKeepsTheTrace)
{
    theApp.m_settings.bVATrace(true);
    AnswerNextMessageBox(IDOK, [] {
        HWND hDlg = ShownDialog();
        char text[128] = {};
        ::GetDlgItemTextA(hDlg, 1012, text, sizeof(text));
        s_caption = text;
        ::GetDlgItemTextA(hDlg, 1015, text, sizeof(text));
        s_caption += std::string("|") + text;
    });
    ::SendMessageA(Main(), WM_COMMAND, ID_APP_ABOUT, 0);
    EXPECT_TRUE(AllAnswered());
    EXPECT_EQ("VantorelArco ver 1.00.13014|Build 13014", s_caption);
    EXPECT_TRUE(theApp.m_settings.bVATrace());
}

TEST_F(FormbayLibrary, AboutLinkOpensANewTabInTheMainWindow)
{
    ShowAboutDlgFn about = Export<ShowAboutDlgFn>("ShowAboutDlg");
    m_folder->WriteBytes("String/url.dat", std::string(7, '\n') + "http://link.example/\n");
    AnswerNextMessageBox(IDCANCEL, [] {
        HWND hDlg = ShownDialog();
        for (HWND h = ::GetWindow(hDlg, GW_CHILD); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT)) {
            char cls[32] = {};
            ::GetClassNameA(h, cls, sizeof(cls));
            if (strcmp(cls, "VaLinkLabel") == 0)
                ::SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
        }
    });
    about(m_icon, Main(), Folder(), "a", "b", "c", 0);
    Pump();
    // One tab, opened in the background.
    ASSERT_EQ(1, theApp.GetGroupCount());
    CTabGroup* group = theApp.m_groups[0];
    ASSERT_EQ(1, group->GetTabCount());
    EXPECT_STREQ("http://link.example/", group->GetTab(0)->m_url);
}

TEST_F(FormbayLibrary, NothingOfTheLibraryOutlivesItsUnload)
{
    // Its dialogs, its posted window and its menu hook were in use.
    AnswerNextMessageBox(IDCANCEL);
    int result = 0;
    Export<ShowOpenDlgFn>("ShowOpenDlg")(0, nullptr, &result);
    AnswerNextMessageBox(IDCANCEL);
    Export<ShowAboutDlgFn>("ShowAboutDlg")(m_icon, Main(), Folder(), "a", "b", "c", 0);
    // Last: the posted window stays up (a dialog the answering would meet).
    Export<ShowPostedDlgFn>("ShowPostedDlg")(m_icon, "extra", "body");
    HMODULE hModule = Load();
    WNDCLASSA wc = {};
    EXPECT_TRUE(::GetClassInfoA(hModule, "VaLinkLabel", &wc));
    Unload();
    ASSERT_EQ(nullptr, ::GetModuleHandleA("Formbay.dll"));
    // Its window classes went with it.
    EXPECT_FALSE(::GetClassInfoA(hModule, "VaLinkLabel", &wc));

    // The program goes on making windows and menus.
    ASSERT_NE(nullptr, Open(nullptr, "http://after.example/"));
    HMENU menu = ::CreatePopupMenu();
    ::AppendMenuA(menu, MF_STRING, 1, "item");
    struct Closer
    {
        // Waits for the menu to show, then closes it.
        static void CALLBACK Close(HWND, UINT, UINT_PTR id, DWORD)
        {
            if (ShownPopupMenu() == nullptr)
                return;
            ::KillTimer(nullptr, id);
            s_caption = "shown";
            ::EndMenu();
        }
    };
    s_caption.clear();
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, &Closer::Close);
    ::TrackPopupMenu(menu, TPM_RETURNCMD, 10, 10, 0, Main(), nullptr);
    ::KillTimer(nullptr, timer);
    ::DestroyMenu(menu);
    EXPECT_EQ("shown", s_caption);
}

TEST_F(FormbayLibrary, TabsOpenCommandNavigatesToTheEnteredAddress)
{
    CTabItem* tab = Open(nullptr, "http://start.example/");
    ASSERT_NE(nullptr, tab);
    // The dialog starts from the tab's address (title mode 1).
    AnswerNextMessageBox(IDOK, [] {
        HWND hDlg = ShownDialog();
        char text[128] = {};
        ::GetDlgItemTextA(hDlg, 1085, text, sizeof(text));
        s_caption = text;
        ::SetDlgItemTextA(hDlg, 1085, "http://typed.example/");
    });
    ::SendMessageA(tab->m_hFrame, WM_COMMAND, 36013, 0);
    Pump();
    EXPECT_TRUE(AllAnswered());
    EXPECT_EQ("http://start.example/", s_caption);
    EXPECT_STREQ("http://typed.example/", tab->m_url);
}

TEST_F(FormbayLibrary, CustomiseWritesTheImageAndSwitchesIntoTheGroup)
{
    ShowPtabFn custom = Export<ShowPtabFn>("ShowPtabCustom");
    Open(nullptr, "http://a.example/");
    CTabGroup* group = theApp.GetActiveGroup();
    group->m_captionTemplate = "G %i";
    group->m_options = 0x71 | 0x2000;
    group->m_image = 2;
    AnswerNextMessageBox(IDOK, [] {
        HWND hDlg = ShownDialog();
        ::CheckDlgButton(hDlg, 1198, BST_CHECKED);
        ::SendMessageA(hDlg, WM_COMMAND, 36512, 0);
        ::SetDlgItemTextA(hDlg, 1039, " New ");
    });
    int result = 0;
    EXPECT_STREQ(" New ", custom(m_icon, group, &result));
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(0x71u | 0x40000000u, group->m_options);
    EXPECT_EQ(12, group->m_image);
    EXPECT_STREQ("G %i", group->m_captionTemplate);
}

namespace {

BOOL CALLBACK FindShownPage(HWND hWnd, LPARAM lParam)
{
    char name[16] = {};
    ::GetClassNameA(hWnd, name, sizeof(name));
    if (strcmp(name, "#32770") != 0 || !::IsWindowVisible(hWnd))
        return TRUE;
    *reinterpret_cast<HWND*>(lParam) = hWnd;
    return FALSE;
}

BOOL CALLBACK FindTreeControl(HWND hWnd, LPARAM lParam)
{
    char name[32] = {};
    ::GetClassNameA(hWnd, name, sizeof(name));
    if (lstrcmpiA(name, WC_TREEVIEWA) != 0)
        return TRUE;
    *reinterpret_cast<HWND*>(lParam) = hWnd;
    return FALSE;
}

// Shows the settings page of the title and returns its window.
HWND ShowSettingsPage(const CString& title)
{
    HWND hTree = nullptr;
    ::EnumChildWindows(ShownDialog(), FindTreeControl, reinterpret_cast<LPARAM>(&hTree));
    for (HTREEITEM hItem = TreeView_GetRoot(hTree); hItem != nullptr; hItem = TreeView_GetNextSibling(hTree, hItem)) {
        char text[128] = {};
        TVITEMA item = {};
        item.mask = TVIF_TEXT;
        item.hItem = hItem;
        item.pszText = text;
        item.cchTextMax = sizeof(text);
        TreeView_GetItem(hTree, &item);
        if (title == text)
            TreeView_SelectItem(hTree, hItem);
    }
    HWND hPage = nullptr;
    ::EnumChildWindows(ShownDialog(), FindShownPage, reinterpret_cast<LPARAM>(&hPage));
    return hPage;
}

// On the group-tab bar page: "指定したURLを開く", a typed address, then
// "ActiveTabURL".
void AskTheActiveTabsAddress()
{
    HWND hPage = ShowSettingsPage(theApp.GetEtcText(13));
    ::SendDlgItemMessageA(hPage, IDC_TABBAR_NEWACTION, CB_SETCURSEL, 2, 0);
    ::SendMessageA(hPage, WM_COMMAND, MAKEWPARAM(IDC_TABBAR_NEWACTION, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(::GetDlgItem(hPage, IDC_TABBAR_NEWACTION)));
    ::SetDlgItemTextA(hPage, IDC_TABBAR_URL, "http://typed.example/");
    ::SendMessageA(hPage, WM_COMMAND, IDC_TABBAR_ACTIVEURL, 0);
}

} // namespace

TEST_F(FormbayLibrary, GroupTabBarPageTakesTheActiveTabsAddressOnlyWhenATabHasOne)
{
    // No tab: the frame answers null and the typed address stays.
    AnswerNextMessageBox(IDOK, AskTheActiveTabsAddress);
    ::SendMessageA(Main(), WM_COMMAND, ID_TOOLS_SETTINGS, 0);
    EXPECT_TRUE(AllAnswered());
    EXPECT_EQ(2, theApp.m_settings.iDefault_P);
    EXPECT_STREQ("http://typed.example/", theApp.m_settings.strTargetURL_P);

    Open(nullptr, "http://active.example/");
    AnswerNextMessageBox(IDOK, AskTheActiveTabsAddress);
    ::SendMessageA(Main(), WM_COMMAND, ID_TOOLS_SETTINGS, 0);
    EXPECT_TRUE(AllAnswered());
    EXPECT_STREQ("http://active.example/", theApp.m_settings.strTargetURL_P);
}

TEST_F(FormbayLibrary, CatalogPagesUnloadPlugInsAndScriptsAtOnceAndReloadScriptsOnOK)
{
    m_folder->MakeFolder("Plugin");
    m_folder->MakeFolder("Script");
    const std::string built = ProgramFolder::PathFromEnvironment("VA_TEST_PLUGIN_DIR") + "\\TestPlugInA.dll";
    ASSERT_TRUE(::CopyFileA(built.c_str(), m_folder->File("Plugin/a.dll").c_str(), FALSE));
    m_folder->WriteBytes("Script/a.js", "1;\r\n");
    m_folder->WriteBytes("Script/b.js", "2;\r\n");
    m_folder->WriteBytes("Script/script.dat", m_folder->File("Script/a.js") + "?1\r\n" +
                                                  m_folder->File("Script/b.js") + "?1\r\n");
    theApp.m_settings.bPlgEnable(true);
    ASSERT_EQ(1, theApp.LoadPlugIns());
    ASSERT_EQ(2, theApp.LoadScripts());

    // 38505 empties the frame's plug-ins while the page runs; 38506 after
    // the save changes nothing.
    AnswerNextMessageBox(IDOK, DeleteFirstCatalogRow);
    ::SendMessageA(Main(), WM_COMMAND, ID_PLUGIN_SETTINGS, 0);
    EXPECT_TRUE(AllAnswered());
    EXPECT_EQ(0u, s_plugInsAfterDelete);
    EXPECT_EQ(0u, theApp.m_plugIns.size());
    EXPECT_FALSE(m_folder->Exists("Plugin/a.dll"));
    EXPECT_EQ("", m_folder->ReadBytes("Plugin/plugin.dat"));

    // 38507 empties the scripts at once, 38508 after the save reloads them.
    AnswerNextMessageBox(IDOK, DeleteFirstCatalogRow);
    ::SendMessageA(Main(), WM_COMMAND, ID_SCRIPT_SETTINGS, 0);
    EXPECT_TRUE(AllAnswered());
    EXPECT_EQ(0u, s_scriptsAfterDelete);
    ASSERT_EQ(1u, theApp.m_scripts.size());
    EXPECT_EQ(m_folder->File("Script/b.js"), static_cast<LPCSTR>(theApp.m_scripts[0]->m_path));
}

TEST_F(FormbayLibrary, StartupAddDlgAppendsAnEntryTheProgramReadsBack)
{
    m_folder->WriteBytes("StartUpURL.dat", "http://a/\x81\x4D" "1\r\n");
    AnswerNextMessageBox(IDOK);
    Export<StartupAddDlgFn>("StartupAddDlg")(Main(), "P", Folder(), "http://b/\x81\x4D" "c");
    EXPECT_TRUE(AllAnswered());
    CStringArray urls;
    ReadStartupList(m_folder->File("StartUpURL.dat").c_str(), urls);
    ASSERT_EQ(2, urls.GetSize());
    EXPECT_STREQ("http://b/%81%4Dc", urls[1]);
}

namespace {

// The frame's messages 38503 and 38504 as they reach it, with their wParam.
HWND s_recordedFrame = nullptr;
std::vector<std::pair<UINT, WPARAM>> s_applied;
LRESULT CALLBACK RecordApplyMessages(int nCode, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* msg = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (nCode == HC_ACTION && msg->hwnd == s_recordedFrame &&
        (msg->message == WM_FRAME_APPLYTABSECURITY || msg->message == WM_FRAME_APPLYDONE))
        s_applied.push_back(std::make_pair(msg->message, msg->wParam));
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}

BOOL CALLBACK FindGroupSwitchesPage(HWND hWnd, LPARAM lParam)
{
    if (::GetDlgItem(hWnd, IDC_PTAB_LIST) == nullptr)
        return TRUE;
    *reinterpret_cast<HWND*>(lParam) = hWnd;
    return FALSE;
}

// A double click on a cell of the live page's list.
void DoubleClickCell(HWND hPage, int nRow, int nColumn)
{
    NMITEMACTIVATE info = {};
    info.hdr.hwndFrom = ::GetDlgItem(hPage, IDC_PTAB_LIST);
    info.hdr.idFrom = IDC_PTAB_LIST;
    info.hdr.code = static_cast<UINT>(NM_DBLCLK);
    info.iItem = nRow;
    info.iSubItem = nColumn;
    ::SendMessageA(hPage, WM_NOTIFY, IDC_PTAB_LIST, reinterpret_cast<LPARAM>(&info));
}

// The rows the live page lists (URL and the images switch), then: the
// images switch of the first row off, the last row's switched off and on.
std::string s_liveRows;
void SwitchImagesOfTheFirstTab()
{
    HWND hPage = nullptr;
    ::EnumChildWindows(ShownDialog(), FindGroupSwitchesPage, reinterpret_cast<LPARAM>(&hPage));
    HWND hList = ::GetDlgItem(hPage, IDC_PTAB_LIST);
    s_liveRows.clear();
    const int nRows = ListView_GetItemCount(hList);
    for (int nRow = 0; nRow < nRows; ++nRow) {
        char url[256] = {};
        char images[8] = {};
        ListView_GetItemText(hList, nRow, 1, url, sizeof(url));
        ListView_GetItemText(hList, nRow, 2, images, sizeof(images));
        s_liveRows += std::string(url) + (strcmp(images, "\x81\x9B") == 0 ? " on;" : " off;");
    }
    DoubleClickCell(hPage, 0, 2);
    DoubleClickCell(hPage, nRows - 1, 2);
    DoubleClickCell(hPage, nRows - 1, 2);
}

// Row i: the cell of switch i as it shows, then that cell switched.
std::vector<std::string> s_shownCells;
void SwitchEachRowsOwnColumn()
{
    HWND hPage = nullptr;
    ::EnumChildWindows(ShownDialog(), FindGroupSwitchesPage, reinterpret_cast<LPARAM>(&hPage));
    HWND hList = ::GetDlgItem(hPage, IDC_PTAB_LIST);
    s_shownCells.clear();
    for (int nRow = 0; nRow < ListView_GetItemCount(hList) && nRow < 10; ++nRow) {
        char cell[8] = {};
        ListView_GetItemText(hList, nRow, 2 + nRow, cell, sizeof(cell));
        s_shownCells.push_back(cell);
        DoubleClickCell(hPage, nRow, 2 + nRow);
    }
}

// What the main window's pages and timers may do while a group dialog
// shows: close the group's last tab and make other groups, one of which the
// heap is likely to place where the closed one was.
CMainFrame* s_frame = nullptr;
HWND s_lastTabFrame = nullptr;
CTabGroup* s_closingGroup = nullptr;  // compared only, never read
bool s_makeGroup = false;
CTabGroup* s_madeGroup = nullptr;

void EditAndCloseTheGroupsLastTab()
{
    HWND hDlg = ShownDialog();
    // The customise dialog's "suppress dialogs" box and image 12; the name
    // field both dialogs have.
    ::CheckDlgButton(hDlg, 1198, BST_CHECKED);
    ::SendMessageA(hDlg, WM_COMMAND, 36512, 0);
    ::SetDlgItemTextA(hDlg, 1039, "Changed");
    ::SendMessageA(s_lastTabFrame, WM_CLOSE, 0, 0);
    s_madeGroup = nullptr;
    for (int i = 0; s_makeGroup && i < 32 && s_madeGroup != s_closingGroup; ++i)
        s_madeGroup = s_frame->CreateDefaultGroup(nullptr);
}

} // namespace

void FormbayLibrary::RunGroupSwitches(void (*onPage)())
{
    s_recordedFrame = Main();
    s_applied.clear();
    HHOOK hook = ::SetWindowsHookExA(WH_CALLWNDPROC, RecordApplyMessages, nullptr, ::GetCurrentThreadId());
    AnswerNextMessageBox(IDOK, onPage);
    ::SendMessageA(Main(), WM_COMMAND, ID_GROUP_SWITCHES, 0);
    ::UnhookWindowsHookEx(hook);
    Pump();
    EXPECT_TRUE(AllAnswered());
}

TEST_F(FormbayLibrary, GroupSwitchesPageAppliesEachChangedTabThenReportsTheEnd)
{
    // The current group's tabs: one to change, one left alone, one with a
    // bit no switch shows, one switched off and on again. A tab of another
    // group is not listed.
    CTabItem* other = Open(nullptr, "http://other.example/");
    CTabGroup* current = theApp.OpenUrlInNewGroup("http://a.example/", 0, 0);
    ASSERT_NE(nullptr, current);
    Pump();
    ASSERT_EQ(1, current->GetTabCount());
    CTabItem* tabs[4] = { current->GetTab(0), Open(current, "http://b.example/"), Open(current, "http://c.example/"),
                          Open(current, "http://d.example/") };
    ASSERT_EQ(current, theApp.GetActiveGroup());
    ASSERT_NE(other->m_pGroup, current);
    const DWORD kImagesSoundsVideosFlash = 0x71;
    for (CTabItem* tab : tabs) {
        ASSERT_NE(nullptr, tab);
        tab->m_pView->SetPageOptions(kImagesSoundsVideosFlash);
    }
    tabs[2]->m_pView->SetPageOptions(kImagesSoundsVideosFlash | 0x800);
    int refreshes[4];
    for (int i = 0; i < 4; ++i)
        refreshes[i] = ControlOf(tabs[i])->GetRefreshCount();

    RunGroupSwitches(SwitchImagesOfTheFirstTab);

    EXPECT_EQ("http://a.example/ on;http://b.example/ on;http://c.example/ on;http://d.example/ on;", s_liveRows);
    // One 38503 per changed tab, in list order, then one 38504.
    const std::vector<std::pair<UINT, WPARAM>> expected = {
        { WM_FRAME_APPLYTABSECURITY, reinterpret_cast<WPARAM>(tabs[0]) },
        { WM_FRAME_APPLYTABSECURITY, reinterpret_cast<WPARAM>(tabs[2]) },
        { WM_FRAME_APPLYDONE, 0 },
    };
    EXPECT_EQ(expected, s_applied);
    EXPECT_EQ(0x61u, tabs[0]->m_pageOptions);
    EXPECT_EQ(kImagesSoundsVideosFlash, tabs[1]->m_pageOptions);
    EXPECT_EQ(kImagesSoundsVideosFlash, tabs[2]->m_pageOptions);
    EXPECT_EQ(kImagesSoundsVideosFlash, tabs[3]->m_pageOptions);
    // The frame reloads the changed tabs only.
    const int reloaded[4] = { 1, 0, 1, 0 };
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(refreshes[i] + reloaded[i], ControlOf(tabs[i])->GetRefreshCount()) << i;
}

TEST_F(FormbayLibrary, EachSwitchOfTheGroupSwitchesPageReachesItsTabAndItsBrowser)
{
    // The switch columns in order: the bit of the download-control word
    // each stands for, and whether the word 0x71 shows it on.
    const struct
    {
        const char* name;
        DWORD bit;
        bool bOnIn0x71;
    } kSwitches[10] = {
        { "images", 0x10, true },          { "sounds", 0x40, true },
        { "videos", 0x20, true },          { "Flash", 0x1, true },
        { "scripts", 0x80, true },         { "Java", 0x100, true },
        { "ActiveX run", 0x200, true },    { "ActiveX download", 0x400, true },
        { "no cache", 0x4000, false },     { "no dialogs", 0x40000000, false },
    };
    const DWORD kWord = 0x71;
    const DWORD kAllSwitches = 0x400047F1;
    // One tab per switch in the current group; row i switches column i.
    CTabGroup* group = theApp.OpenUrlInNewGroup("http://t0.example/", 0, 0);
    ASSERT_NE(nullptr, group);
    Pump();
    std::vector<CTabItem*> tabs = { group->GetTab(0) };
    for (int i = 1; i < 10; ++i)
        tabs.push_back(Open(group, ("http://t" + std::to_string(i) + ".example/").c_str()));
    ASSERT_TRUE(TestWebBrowser::Settle());
    ASSERT_EQ(group, theApp.GetActiveGroup());
    ASSERT_EQ(10, group->GetTabCount());
    for (CTabItem* tab : tabs) {
        ASSERT_NE(nullptr, tab);
        tab->m_pView->SetPageOptions(kWord);
    }
    // The group's own word has every switch the other way.
    group->m_options = kWord ^ kAllSwitches;

    RunGroupSwitches(SwitchEachRowsOwnColumn);

    ASSERT_EQ(10u, s_shownCells.size());
    ASSERT_EQ(11u, s_applied.size());
    for (int i = 0; i < 10; ++i) {
        const auto& c = kSwitches[i];
        EXPECT_EQ(c.bOnIn0x71 ? "\x81\x9B" : "\x81\x7C", s_shownCells[i]) << c.name;  // "○" / "－"
        EXPECT_EQ(kWord ^ c.bit, tabs[i]->m_pageOptions) << c.name;
        // The frame hands the word to the tab's browser.
        EXPECT_EQ(static_cast<LONG>(kWord ^ c.bit), ControlOf(tabs[i])->GetDlControl()) << c.name;
        EXPECT_EQ(std::make_pair(static_cast<UINT>(WM_FRAME_APPLYTABSECURITY), reinterpret_cast<WPARAM>(tabs[i])),
                  s_applied[i])
            << c.name;
    }
    EXPECT_EQ(std::make_pair(static_cast<UINT>(WM_FRAME_APPLYDONE), WPARAM(0)), s_applied[10]);
}

namespace {

CTabGroup* s_editedGroup = nullptr;
CTabGroup* s_otherGroup = nullptr;
void (*s_whileShown)() = nullptr;

void EditTheGroupWhileItChanges()
{
    HWND hDlg = ShownDialog();
    ::CheckDlgButton(hDlg, 1198, BST_CHECKED);
    ::SendMessageA(hDlg, WM_COMMAND, 36512, 0);
    ::SetDlgItemTextA(hDlg, 1039, "Changed");
    s_whileShown();
}

} // namespace

// Regression: with the current group switched while the customise dialog
// showed (by a script or a timer), OK wrote nothing into the group but the
// frame still gave it the new caption. Nor is a group written whose number
// changed, as a new group made at a closed one's address has another.
TEST_F(FormbayLibrary, CustomiseChangesNothingOfAGroupNoLongerCurrentAtItsOK)
{
    Load();  // the frame's command finds it loaded
    s_frame = m_frame;
    const struct
    {
        const char* name;
        void (*whileShown)();
        bool bWritten;
    } kCases[] = {
        { "another group made current", [] { s_frame->ActivateGroup(s_otherGroup); }, false },
        { "the group's number changed", [] { s_editedGroup->m_number += 1000; }, false },
        { "switched away and back",
          [] {
              s_frame->ActivateGroup(s_otherGroup);
              s_frame->ActivateGroup(s_editedGroup);
          },
          true },
    };
    for (const auto& c : kCases) {
        Open(nullptr, "http://other.example/");
        s_otherGroup = theApp.GetActiveGroup();
        s_editedGroup = theApp.OpenUrlInNewGroup("http://a.example/", 0, 0);
        Pump();
        ASSERT_EQ(s_editedGroup, theApp.GetActiveGroup()) << c.name;
        for (CTabGroup* group : { s_otherGroup, s_editedGroup }) {
            group->m_captionTemplate = "Mine";
            group->m_image = 2;
            group->m_options = 0x71;
        }
        s_whileShown = c.whileShown;
        AnswerNextMessageBox(IDOK, EditTheGroupWhileItChanges);
        ::SendMessageA(Main(), WM_COMMAND, ID_GROUP_CUSTOMIZE, 0);
        Pump();
        EXPECT_TRUE(AllAnswered()) << c.name;
        ASSERT_TRUE(theApp.IsGroupListed(s_editedGroup)) << c.name;
        EXPECT_STREQ(c.bWritten ? "Changed" : "Mine", s_editedGroup->m_captionTemplate) << c.name;
        EXPECT_EQ(c.bWritten ? 12 : 2, s_editedGroup->m_image) << c.name;
        EXPECT_EQ(c.bWritten ? 0x71u | 0x40000000u : 0x71u, s_editedGroup->m_options) << c.name;
        EXPECT_STREQ("Mine", s_otherGroup->m_captionTemplate) << c.name;
        EXPECT_EQ(2, s_otherGroup->m_image) << c.name;
        EXPECT_EQ(0x71u, s_otherGroup->m_options) << c.name;
        m_frame->CloseAllGroupsNow();
        Pump();
    }
}

TEST_F(FormbayLibrary, GroupDialogsWriteNothingIntoAGroupClosedWhileTheyShow)
{
    Load();  // the frame's commands find it loaded
    theApp.m_settings.strTitle_P = "Fresh";
    theApp.m_settings.dwDLControlFlags = 0x71;
    theApp.m_settings.iTabImageDef_P = 4;
    s_frame = m_frame;
    const struct
    {
        const char* name;
        UINT command;
        bool bGroupGoes;  // the emptied group is closed, else kept with its default page
    } kCases[] = {
        { "customise, group closed", ID_GROUP_CUSTOMIZE, true },
        { "rename, group closed", ID_GROUP_RENAME, true },
        { "customise, group kept", ID_GROUP_CUSTOMIZE, false },
        { "rename, group kept", ID_GROUP_RENAME, false },
    };
    for (const auto& c : kCases) {
        theApp.m_settings.bClosePTabChildEmpty(c.bGroupGoes);
        CTabItem* other = Open(nullptr, "http://other.example/");
        CTabGroup* otherGroup = theApp.GetActiveGroup();
        CTabItem* last = theApp.OpenUrlReturnBrowser(m_frame->CreateDefaultGroup(nullptr), "http://a.example/", 0, 0);
        Pump();
        ASSERT_NE(nullptr, other);
        ASSERT_NE(nullptr, last);
        CTabGroup* group = theApp.GetActiveGroup();
        ASSERT_EQ(last->m_pGroup, group) << c.name;
        group->m_captionTemplate = "Mine";
        group->m_image = 2;
        group->m_options = 0x71;
        s_lastTabFrame = last->m_hFrame;
        s_closingGroup = group;
        s_makeGroup = c.bGroupGoes;
        AnswerNextMessageBox(IDOK, EditAndCloseTheGroupsLastTab);
        ::SendMessageA(Main(), WM_COMMAND, c.command, 0);
        Pump();
        EXPECT_TRUE(AllAnswered()) << c.name;
        EXPECT_FALSE(::IsWindow(s_lastTabFrame)) << c.name;
        // The group current before the dialog's own is left alone.
        EXPECT_STREQ("Fresh", otherGroup->m_captionTemplate) << c.name;
        EXPECT_EQ(4, otherGroup->m_image) << c.name;
        EXPECT_EQ(0x71u, otherGroup->m_options) << c.name;
        if (c.bGroupGoes) {
            EXPECT_FALSE(theApp.IsGroupListed(group) && group != s_madeGroup) << c.name;
            ASSERT_NE(nullptr, s_madeGroup) << c.name;
            // Made while the dialog showed, most likely at the closed
            // group's address: the main window's current group now.
            EXPECT_STREQ("Fresh", s_madeGroup->m_captionTemplate) << c.name;
            EXPECT_EQ(4, s_madeGroup->m_image) << c.name;
            EXPECT_EQ(0x71u, s_madeGroup->m_options) << c.name;
        } else {
            ASSERT_TRUE(theApp.IsGroupListed(group)) << c.name;
            EXPECT_STREQ("Changed", group->m_captionTemplate) << c.name;
            const bool bCustomise = c.command == ID_GROUP_CUSTOMIZE;
            EXPECT_EQ(bCustomise ? 12 : 2, group->m_image) << c.name;
            EXPECT_EQ(bCustomise ? 0x71u | 0x40000000u : 0x71u, group->m_options) << c.name;
        }
        m_frame->CloseAllGroupsNow();
        Pump();
    }
}
