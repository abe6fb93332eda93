// The main frame as the host of plug-ins and scripts: the start-up load with
// idle calls, key offers, running a plug-in with the page's text, the unload
// messages and the menus that list both catalogs; the running-browser import
// plug-in through the host.
#include <windows.h>
#include <oleacc.h>
#include <mshtml.h>

#include <map>
#include <string>

#include "app/MainFrame.h"
#include "app/VantorelApp.h"
#include "app/resource.h"
#include "bars/PageTabBar.h"
#include "plugin-ie/tests/TestHtmlDocument.h"
#include "shared/FrameMessages.h"
#include "tab/TabGroup.h"
#include "tab/TabItem.h"
#include "app/tests/TabFixture.h"

namespace {

typedef const char* (*LogFn)();

std::string LogOf(const CPlugInItem* item)
{
    auto log = reinterpret_cast<LogFn>(GetProcAddress(item->m_hModule, "TestPlugInLog"));
    return log != nullptr ? log() : "no log";
}

class PlugInHost : public TabTest
{
protected:
    void TearDown() override
    {
        DestroyPlugInList(theApp.m_plugIns);
        DestroyScriptList(theApp.m_scripts);
        TabTest::TearDown();
    }

    void Install(const char* built, const std::string& name)
    {
        std::string from = ProgramFolder::PathFromEnvironment("VA_TEST_PLUGIN_DIR") + "\\" + built;
        ASSERT_TRUE(CopyFileA(from.c_str(), m_folder->File("Plugin/" + name).c_str(), FALSE));
    }
    void InstallAll()
    {
        Install("TestPlugInA.dll", "a.dll");
        Install("TestPlugInB.vap", "b.vap");
        Install("TestPlugInC.exe", "c.exe");
    }
    void StartupCommand()
    {
        ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, 30102, 0);
    }
    std::string Log(size_t index) { return LogOf(theApp.m_plugIns.at(index)); }
};

TEST_F(PlugInHost, StartupLoadsPlugInsWithOneIdleCallEachAndTheScripts)
{
    InstallAll();
    m_folder->WriteBytes("Script/s.js", "//VantorelScriptFile1.00\n//@SCRIPT_NAME:Tidy\n");
    theApp.m_settings.bPlgEnable(true);
    StartupCommand();
    ASSERT_EQ(3u, theApp.m_plugIns.size());
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ("idle;", Log(i)) << i;
    ASSERT_EQ(1u, theApp.m_scripts.size());
    EXPECT_EQ(CString("Tidy"), theApp.m_scripts[0]->m_name);

    // Switched off, nothing loads; the scripts still do.
    theApp.m_settings.bPlgEnable(false);
    StartupCommand();
    EXPECT_TRUE(theApp.m_plugIns.empty());
    EXPECT_EQ(1u, theApp.m_scripts.size());
}

TEST_F(PlugInHost, KeysOutsideTheFrameGoToPlugInsInOrderUntilOneTakesThem)
{
    InstallAll();
    theApp.m_settings.bPlgEnable(true);
    StartupCommand();
    HWND outside = ::CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr,
                                   nullptr);
    MSG msg = {outside, WM_KEYDOWN, 'K', 0, 0, {0, 0}};
    EXPECT_TRUE(m_frame->PreTranslateMessage(&msg));
    msg.message = WM_SYSKEYDOWN;
    msg.wParam = 'L';
    EXPECT_TRUE(m_frame->PreTranslateMessage(&msg));
    msg.message = WM_KEYUP;
    m_frame->PreTranslateMessage(&msg);
    // The frame's own windows keep their keys.
    msg.message = WM_KEYDOWN;
    msg.hwnd = m_frame->m_hWnd;
    m_frame->PreTranslateMessage(&msg);
    msg.hwnd = m_frame->m_pPageTabBar->GetSafeHwnd();
    m_frame->PreTranslateMessage(&msg);
    ::DestroyWindow(outside);
    // A answers 0 and B takes the key: C never sees one.
    EXPECT_EQ("idle;key(75);key(76);", Log(0));
    EXPECT_EQ("idle;key(75);key(76);", Log(1));
    EXPECT_EQ("idle;", Log(2));
}

TEST_F(PlugInHost, RunPassesNullWithoutATabAndTheSelectionOtherwise)
{
    Install("TestPlugInA.dll", "a.dll");
    theApp.m_settings.bPlgEnable(true);
    StartupCommand();
    ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, ID_PLUGIN_FIRST, 0);
    Open(nullptr, "http://page.example/");
    ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, ID_PLUGIN_FIRST, 0);
    // Beyond the list: nothing.
    ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, ID_PLUGIN_FIRST + 1, 0);
    EXPECT_EQ("idle;execute(0,null);execute(0,empty);", Log(0));
}

TEST_F(PlugInHost, UnloadMessagesEmptyTheListsAndReloadRereadsTheScripts)
{
    Install("TestPlugInA.dll", "a.dll");
    m_folder->WriteBytes("Script/one.js", "");
    theApp.m_settings.bPlgEnable(true);
    StartupCommand();
    ASSERT_EQ(1u, theApp.m_plugIns.size());
    std::string path = m_folder->File("Plugin/a.dll");
    ASSERT_NE(nullptr, GetModuleHandleA(path.c_str()));
    ::SendMessageA(m_frame->m_hWnd, WM_FRAME_UNLOADPLUGINS, 0, 0);
    EXPECT_TRUE(theApp.m_plugIns.empty());
    EXPECT_EQ(nullptr, GetModuleHandleA(path.c_str()));

    ::SendMessageA(m_frame->m_hWnd, WM_FRAME_UNLOADSCRIPTS, 0, 0);
    EXPECT_TRUE(theApp.m_scripts.empty());
    m_folder->WriteBytes("Script/two.vbs", "");
    ::SendMessageA(m_frame->m_hWnd, WM_FRAME_RELOADSCRIPTS, 0, 0);
    ASSERT_EQ(2u, theApp.m_scripts.size());
    EXPECT_EQ(CString("two.vbs"), theApp.m_scripts[1]->m_name);
    // A command beyond the list does nothing.
    ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, ID_SCRIPT_FIRST + 5, 0);
}

TEST_F(PlugInHost, UnloadKeepsAModuleWhileItsCodeRunsOnTheStackOrInAWindow)
{
    typedef void (*SetModeFn)(int);
    typedef HWND (*WindowFn)();
    Install("TestPlugInA.dll", "a.dll");
    theApp.m_settings.bPlgEnable(true);
    const std::string path = m_folder->File("Plugin/a.dll");
    auto setMode = [&](int mode) {
        auto fn = reinterpret_cast<SetModeFn>(GetProcAddress(theApp.m_plugIns.at(0)->m_hModule, "TestPlugInSetMode"));
        ASSERT_NE(nullptr, fn);
        fn(mode);
    };

    // Its export asks for the unload and goes on running; the module goes
    // once the export has returned.
    StartupCommand();
    setMode(1);
    ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, ID_PLUGIN_FIRST, 0);
    EXPECT_TRUE(theApp.m_plugIns.empty());
    char log[256] = {};
    GetEnvironmentVariableA("VA_TEST_PLUGIN_AFTER_UNLOAD", log, sizeof(log));
    EXPECT_STREQ("idle;execute(0,null);after unload;", log);
    EXPECT_EQ(nullptr, GetModuleHandleA(path.c_str()));

    // A window running the module's procedure keeps it until it is gone.
    StartupCommand();
    setMode(2);
    ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, ID_PLUGIN_FIRST, 0);
    auto windowOf = reinterpret_cast<WindowFn>(GetProcAddress(theApp.m_plugIns.at(0)->m_hModule, "TestPlugInWindow"));
    ASSERT_NE(nullptr, windowOf);
    HWND window = windowOf();
    ASSERT_NE(nullptr, window);
    ::SendMessageA(m_frame->m_hWnd, WM_FRAME_UNLOADPLUGINS, 0, 0);
    EXPECT_TRUE(theApp.m_plugIns.empty());
    theApp.OnIdle(0);
    ASSERT_NE(nullptr, GetModuleHandleA(path.c_str()));
    EXPECT_EQ(42, ::SendMessageA(window, WM_APP + 1, 0, 0));
    ::DestroyWindow(window);
    theApp.OnIdle(0);
    EXPECT_EQ(nullptr, GetModuleHandleA(path.c_str()));
}

TEST_F(PlugInHost, CatalogMenusListShownEntriesByIndexWithAnEmptyItemOtherwise)
{
    Install("TestPlugInA.dll", "a.dll");
    m_folder->WriteBytes("Plugin/broken.dll", "not a module");
    Install("TestPlugInC.exe", "c.exe");
    m_folder->WriteBytes("Script/a.js", "//VantorelScriptFile1.00\n//@SCRIPT_NAME:Left\tRight\n");
    theApp.m_settings.bPlgEnable(true);
    StartupCommand();
    ASSERT_EQ(3u, theApp.m_plugIns.size());  // a.dll, broken.dll, c.exe

    CNewMenu popup;
    ASSERT_TRUE(popup.CreatePopupMenu());
    popup.AppendMenu(MF_STRING | MF_GRAYED, ID_PLUGIN_FIRST, "placeholder");
    popup.AppendMenu(MF_SEPARATOR);
    popup.AppendMenu(MF_STRING, ID_PLUGIN_SETTINGS, "settings");
    m_frame->FillCatalogMenu(popup, CMainFrame::CatalogMenu::kPlugIns, TRUE);
    ASSERT_EQ(4, popup.GetMenuItemCount());
    // The module that failed leaves no item; the next keeps its own index.
    EXPECT_EQ(static_cast<UINT>(ID_PLUGIN_FIRST), popup.GetMenuItemID(0));
    EXPECT_EQ(static_cast<UINT>(ID_PLUGIN_FIRST + 2), popup.GetMenuItemID(1));
    EXPECT_EQ(static_cast<UINT>(ID_PLUGIN_SETTINGS), popup.GetMenuItemID(3));

    CNewMenu scripts;
    ASSERT_TRUE(scripts.CreatePopupMenu());
    scripts.AppendMenu(MF_STRING, ID_SCRIPT_FIRST, "old");
    m_frame->FillCatalogMenu(scripts, CMainFrame::CatalogMenu::kScripts, TRUE);
    ASSERT_EQ(1, scripts.GetMenuItemCount());
    CString text;
    ASSERT_TRUE(scripts.GetMenuText(0, text, MF_BYPOSITION));
    EXPECT_EQ(CString("Left"), text);
    // With shortcuts shown in menus, a bound script's name is followed by
    // its key (the name still cut at its tab).
    m_folder->WriteBytes("KEYCONF.dat", BindingLine("script", "Ctrl+1", ID_SCRIPT_FIRST));
    theApp.ReloadBindingMaps();
    theApp.m_settings.bMenuShortCutKey(true);
    m_frame->FillCatalogMenu(scripts, CMainFrame::CatalogMenu::kScripts, TRUE);
    ASSERT_TRUE(scripts.GetMenuText(0, text, MF_BYPOSITION));
    EXPECT_EQ(CString("Left\tCtrl+1"), text);
    theApp.m_settings.bMenuShortCutKey(false);
    m_frame->FillCatalogMenu(scripts, CMainFrame::CatalogMenu::kScripts, TRUE);
    ASSERT_TRUE(scripts.GetMenuText(0, text, MF_BYPOSITION));
    EXPECT_EQ(CString("Left"), text);

    ::SendMessageA(m_frame->m_hWnd, WM_FRAME_UNLOADPLUGINS, 0, 0);
    m_frame->FillCatalogMenu(popup, CMainFrame::CatalogMenu::kPlugIns, TRUE);
    ASSERT_EQ(3, popup.GetMenuItemCount());
    EXPECT_EQ(static_cast<UINT>(ID_PLUGIN_FIRST), popup.GetMenuItemID(0));
    EXPECT_TRUE(popup.GetMenuState(0, MF_BYPOSITION) & MF_GRAYED);
    popup.DestroyMenu();
    scripts.DestroyMenu();
}

//--- The running-browser import plug-in through the host

std::map<HWND, IUnknown*> g_documents;
UINT g_getObject = 0;

LRESULT CALLBACK DocumentProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == g_getObject && g_documents.count(hWnd) != 0)
        return LresultFromObject(IID_IHTMLDocument2, wParam, g_documents[hWnd]);
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

TEST_F(PlugInHost, ImportPlugInOpensOneTabPerBrowserDocument)
{
    std::string skiffport = ProgramFolder::PathFromEnvironment("VA_BIN_DIR") + "\\plugin\\Skiffport.vap";
    ASSERT_TRUE(CopyFileA(skiffport.c_str(), m_folder->File("Plugin/Skiffport.vap").c_str(), FALSE));
    theApp.m_settings.bPlgEnable(true);
    StartupCommand();
    ASSERT_EQ(1u, theApp.m_plugIns.size());
    EXPECT_TRUE(theApp.m_plugIns[0]->IsShown());
    EXPECT_NE(nullptr, theApp.m_plugIns[0]->m_hIcon);

    ASSERT_HRESULT_SUCCEEDED(TestHtmlDocumentRegister());
    g_getObject = RegisterWindowMessageA("WM_HTML_GETOBJECT");
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DocumentProc;
    wc.lpszClassName = "Internet Explorer_Server";
    RegisterClassA(&wc);
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "IEFrame";
    RegisterClassA(&wc);
    HWND frame = CreateWindowA("IEFrame", "", WS_OVERLAPPED, 0, 0, 5, 5, nullptr, nullptr,
                               nullptr, nullptr);
    const wchar_t* urls[] = {L"http://first.example/", nullptr, L"http://second.example/"};
    for (const wchar_t* url : urls) {
        HWND doc = CreateWindowA("Internet Explorer_Server", "", WS_CHILD, 0, 0, 5, 5, frame,
                                 nullptr, nullptr, nullptr);
        g_documents[doc] = TestHtmlDocumentCreate(url);
    }
    ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, ID_PLUGIN_FIRST, 0);
    Pump();
    DestroyWindow(frame);
    for (auto& entry : g_documents)
        entry.second->Release();
    g_documents.clear();
    TestHtmlDocumentRevoke();

    CTabGroup* group = theApp.GetActiveGroup();
    ASSERT_NE(nullptr, group);
    ASSERT_EQ(2, group->GetTabCount());
    EXPECT_EQ(CString("http://first.example/"), group->GetTab(0)->m_url);
    EXPECT_EQ(CString("http://second.example/"), group->GetTab(1)->m_url);
}

} // namespace
