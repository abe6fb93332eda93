// What an OK in the settings dialogs changes takes effect at once, without a
// restart: through a real main frame and the stand-in dialogs library, whose
// settings exports answer with a record edited here.
#include <windows.h>

#include <string>

#include "app/MainFrame.h"
#include "app/VantorelApp.h"
#include "app/resource.h"
#include "lists/SearchEngineTree.h"
#include "lists/WebSearch.h"
#include "menulib/NewMenu.h"
#include "app/tests/TabFixture.h"

namespace {

typedef void*(WINAPI* SettingsEditor)(void*);
typedef void(WINAPI* SetEditorFn)(SettingsEditor);
typedef void(WINAPI* SetAnswerFn)(int, const char*);

// What the next OK changes in the record the library hands back.
void (*g_change)(SettingsRecord&) = nullptr;
SettingsRecord g_edited;

void* WINAPI EditSettings(void* live)
{
    g_edited.CopyFrom(static_cast<SettingsRecord*>(live));
    g_change(g_edited);
    return &g_edited;
}

const char kSep[] = "\x81\x4d";

// The program folder of the running test, for what the dialog's pages write.
const ProgramFolder* g_folder = nullptr;

std::string EngineFile(const char* label, const char* url)
{
    return std::string("ROOT:\r\n\tENTRY:\r\n\t\tLABEL:") + label + "\r\n\t\tURL:" + url +
           "\r\n\t\tICON:\r\n\t\tADDTOOL:0\r\n\t\tSTATE:1\r\nENDROOT:\r\n";
}

class SettingsApply : public TabTest
{
protected:
    void SetUp() override
    {
        TabTest::SetUp();
        std::string source = ProgramFolder::PathFromEnvironment("VA_FAKE_FORMBAY_DIR") + "\\Formbay.dll";
        std::string target = m_folder->File("Formbay.dll");
        ASSERT_TRUE(CopyFileA(source.c_str(), target.c_str(), FALSE));
        // Kept loaded by the test, so that the editor stays set.
        m_library = LoadLibraryA(target.c_str());
        ASSERT_NE(nullptr, m_library);
        auto setEditor = reinterpret_cast<SetEditorFn>(GetProcAddress(m_library, "FakeSetSettingsEditor"));
        auto setAnswer = reinterpret_cast<SetAnswerFn>(GetProcAddress(m_library, "FakeSetAnswer"));
        ASSERT_NE(nullptr, setEditor);
        ASSERT_NE(nullptr, setAnswer);
        setEditor(&EditSettings);
        setAnswer(1, "");
    }
    void TearDown() override
    {
        if (m_library != nullptr)
            FreeLibrary(m_library);
        TabTest::TearDown();
    }

    // An OK of the settings dialog (or of a single-page export's command)
    // that makes the change.
    void OK(void (*change)(SettingsRecord&), UINT command = ID_TOOLS_SETTINGS)
    {
        g_change = change;
        ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, command, 0);
    }
    // The popup of the menu bar whose first item has the id, as it opens.
    HMENU Popup(UINT firstId)
    {
        HMENU bar = ::GetMenu(m_frame->m_hWnd);
        for (int i = 0; i < ::GetMenuItemCount(bar); ++i) {
            HMENU popup = ::GetSubMenu(bar, i);
            if (popup != nullptr && ::GetMenuItemID(popup, 0) == firstId) {
                ::SendMessageA(m_frame->m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup),
                               MAKELPARAM(i, FALSE));
                return popup;
            }
        }
        return nullptr;
    }
    // The File popup's template submenu, as the File popup opens.
    HMENU TemplateMenu()
    {
        HMENU file = ::GetSubMenu(::GetMenu(m_frame->m_hWnd), 0);
        ::SendMessageA(m_frame->m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), MAKELPARAM(0, FALSE));
        return NthSubMenu(file, 1);
    }
    // The caption of a command item of the menu bar, searched through.
    static bool FindCaption(HMENU menu, UINT id, CString& caption)
    {
        for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
            if (HMENU sub = ::GetSubMenu(menu, i)) {
                if (FindCaption(sub, id, caption))
                    return true;
            } else if (::GetMenuItemID(menu, i) == id) {
                CNewMenu::FromHandleNew(menu)->GetMenuText(i, caption, MF_BYPOSITION);
                return true;
            }
        }
        return false;
    }

    // The settings item's caption while the Tools popup shows.
    CString ShownToolsCaption()
    {
        HMENU bar = ::GetMenu(m_frame->m_hWnd);
        HMENU tools = nullptr;
        for (int i = 0; i < ::GetMenuItemCount(bar) && tools == nullptr; ++i)
            if (HMENU popup = ::GetSubMenu(bar, i); popup != nullptr && ::GetMenuItemID(popup, 0) == ID_TAB_WHEELLOCK)
                tools = popup;
        HWND frame = m_frame->m_hWnd;
        CString caption = CaptionWhileShown(
            [frame, tools] { ::TrackPopupMenu(tools, TPM_LEFTALIGN, 200, 200, 0, frame, nullptr); }, tools,
            ID_TOOLS_SETTINGS);
        Pump();
        return caption;
    }

    HMODULE m_library = nullptr;
};

} // namespace

TEST_F(SettingsApply, FavoritesMenuIsRebuiltAfterTheMainDialogAndASinglePage)
{
    CFavoriteTree& tree = m_frame->m_favorites;
    ASSERT_TRUE(tree.Reset("Favorites", "C:\\Fav\\"));
    tree.GetRoot()->AddChild("a.url", "http://a.example/", CFavoriteNode::kShortcut);
    tree.GetRoot()->AddChild("b.url", "http://b.example/", CFavoriteNode::kShortcut);
    tree.RebuildFlatList();
    theApp.m_settings.bFavAllOpenMenuAdd(false);
    theApp.m_settings.bMenuImage(false);
    ASSERT_EQ(5 + 2, ::GetMenuItemCount(Popup(ID_FAV_ADD)));
    // On: the root's open-all item leads the entries; off again by a page.
    OK([](SettingsRecord& s) { s.bFavAllOpenMenuAdd(true); });
    HMENU menu = Popup(ID_FAV_ADD);
    ASSERT_EQ(5 + 1 + 2, ::GetMenuItemCount(menu));
    EXPECT_EQ(kCmdFavoriteFirst, ::GetMenuItemID(menu, 5));
    OK([](SettingsRecord& s) { s.bFavAllOpenMenuAdd(false); }, ID_PROXY_SETTINGS);
    EXPECT_EQ(5 + 2, ::GetMenuItemCount(Popup(ID_FAV_ADD)));
}

TEST_F(SettingsApply, TrayIconComesAndGoesWithTheSwitch)
{
    theApp.m_settings.bTaskTray(false);
    ASSERT_EQ(0u, m_frame->m_stateWord & kStateTrayIcon);
    OK([](SettingsRecord& s) { s.bTaskTray(true); });
    ASSERT_NE(0u, m_frame->m_stateWord & kStateTrayIcon);
    // The close box now hides the window in the tray.
    ::SendMessageA(m_frame->m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(::IsWindow(m_frame->m_hWnd));
    EXPECT_FALSE(::IsWindowVisible(m_frame->m_hWnd));
    m_frame->RestoreFromTray();
    OK([](SettingsRecord& s) { s.bTaskTray(false); });
    EXPECT_EQ(0u, m_frame->m_stateWord & kStateTrayIcon);
}

TEST_F(SettingsApply, PopupIsMadeAgainInTheNewStyle)
{
    m_frame->OpenTextSearchPopup("dog");
    HWND popup = m_frame->GetTextSearchPopupWindow();
    ASSERT_NE(nullptr, popup);
    OK([](SettingsRecord& s) { s.bPopUpNewStyle(!s.bPopUpNewStyle()); });
    EXPECT_EQ(nullptr, m_frame->GetTextSearchPopupWindow());
    EXPECT_FALSE(::IsWindow(popup));
}

TEST_F(SettingsApply, NewKeysWorkAndShowInTheMenusAtOnce)
{
    theApp.m_settings.bMenuShortCutKey(true);
    m_folder->WriteBytes("KEYCONF.dat", BindingLine("settings", "F8", ID_TOOLS_SETTINGS, 0));
    theApp.ReloadBindingMaps();
    m_frame->RefreshMenuStatesOnce();
    // The dialog's key page writes the file; its OK reads it.
    m_folder->WriteBytes("KEYCONF.dat", BindingLine("settings", "F9", ID_TOOLS_SETTINGS, 0));
    OK([](SettingsRecord&) {});
    CString caption;
    ASSERT_TRUE(FindCaption(::GetMenu(m_frame->m_hWnd), ID_TOOLS_SETTINGS, caption));
    EXPECT_EQ(CString("F9"), caption.Mid(caption.Find('\t') + 1));
    // And so it shows when the menu opens.
    EXPECT_STREQ(caption.Left(caption.Find('\t')) + "\tF9", ShownToolsCaption());
    MSG key = {};
    key.hwnd = m_frame->m_hWndMDIClient;
    key.message = WM_KEYDOWN;
    key.wParam = VK_F9;
    key.lParam = 1;
    EXPECT_TRUE(theApp.PreTranslateMessage(&key));
    EXPECT_EQ(static_cast<UINT>(ID_TOOLS_SETTINGS), TakePostedCommand(m_frame->m_hWnd));

    // The option off takes the texts away.
    OK([](SettingsRecord& s) { s.bMenuShortCutKey(false); });
    ASSERT_TRUE(FindCaption(::GetMenu(m_frame->m_hWnd), ID_TOOLS_SETTINGS, caption));
    EXPECT_EQ(-1, caption.Find('\t'));
    EXPECT_STREQ(caption, ShownToolsCaption());
}

TEST_F(SettingsApply, TemplateMenuFollowsTheGroupListPage)
{
    m_folder->WriteBytes("GroupTab.dat", std::string("one") + kSep + "0" + kSep + "0\r\n");
    HMENU templates = TemplateMenu();
    ASSERT_NE(nullptr, templates);
    const int before = ::GetMenuItemCount(templates);
    m_folder->WriteBytes("GroupTab.dat", std::string("one") + kSep + "0" + kSep + "0\r\ntwo" + kSep + "0" + kSep +
                                             "0\r\n");
    OK([](SettingsRecord&) {});
    EXPECT_EQ(before + 1, ::GetMenuItemCount(TemplateMenu()));
}

TEST_F(SettingsApply, EngineFileTheSearchPageWroteIsTheFramesAfterOK)
{
    m_folder->WriteBytes("SearchEngine.dat", EngineFile("Before", "http://before.example/?q=<UTF8>"));
    ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, kCmdReloadSearchEngines, 0);
    ASSERT_NE(nullptr, m_frame->m_searchEngines.GetCurrentEngine());
    ASSERT_STREQ("Before", m_frame->m_searchEngines.GetCurrentEngine()->m_label);
    // The search page rewrites the file before the dialog returns.
    g_folder = m_folder.get();
    OK([](SettingsRecord&) {
        g_folder->WriteBytes("SearchEngine.dat", EngineFile("Edited", "http://edited.example/?q=<UTF8>"));
    });
    g_folder = nullptr;
    CSearchEngineNode* engine = m_frame->m_searchEngines.GetCurrentEngine();
    ASSERT_NE(nullptr, engine);
    EXPECT_STREQ("Edited", engine->m_label);
    EXPECT_STREQ("http://edited.example/?q=<UTF8>", engine->m_url);
}
