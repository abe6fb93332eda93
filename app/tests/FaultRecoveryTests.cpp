// Faults the program survives, through the real frame and its own pump:
// nothing a fault breaks off stays held (the tab-set semaphore, a tab set
// being opened, a plug-in's call), the recovery save keeps the last good
// file and saves once for a repeating fault, and a fault inside a modal
// dialog (the dialogs library's, a plug-in's own) ends that dialog alone.
#include <windows.h>
#include <shlguid.h>
#include <urlhist.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/MainFrame.h"
#include "app/VantorelApp.h"
#include "app/resource.h"
#include "bars/GroupTabBar.h"
#include "bars/PageTabBar.h"
#include "framework/app/FaultGuard.h"
#include "shared/CommandIds.h"
#include "tab/BrowserView.h"
#include "tab/TabGroup.h"
#include "tab/TabItem.h"
#include "app/tests/TabFixture.h"
#include "tests/support/FaultingWnd.h"
#include "tests/support/TestTravelLog.h"

namespace {

const UINT kMarker = WM_APP + 40;
const UINT kMsgFault = CFaultingWnd::kMsgFault;

// Once a dialog shows: its edit box gets "Renamed", then it is sent a
// notification whose header lies at an unmapped address, which its handler
// reads. A dialog the fault did not end gets OK after a while, so that the
// test fails instead of hanging.
int s_ticks = 0;
bool s_faultSent = false;
UINT_PTR s_faultTimer = 0;

void CALLBACK FaultInShownDialog(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND hDialog = ShownDialog();
    if (!s_faultSent && hDialog != nullptr) {
        ::SetWindowTextA(::FindWindowExA(hDialog, nullptr, "Edit", nullptr), "Renamed");
        s_faultSent = true;
        ::SendMessageA(hDialog, WM_NOTIFY, 0, static_cast<LPARAM>(0x10));
        return;
    }
    if (s_faultSent && hDialog != nullptr && ++s_ticks > 100)
        ::SendMessageA(hDialog, WM_COMMAND, IDOK, 0);
    if (s_faultSent && hDialog == nullptr) {
        ::KillTimer(nullptr, id);
        s_faultTimer = 0;
    }
}

// The history store as the exit finds it when it is to clear the history:
// its making writes through a null pointer.
class CFaultingHistoryFactory : public IClassFactory
{
public:
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override
    {
        *ppv = (riid == IID_IUnknown || riid == IID_IClassFactory) ? this : nullptr;
        return *ppv != nullptr ? S_OK : E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override { return 2; }
    STDMETHOD_(ULONG, Release)() override { return 1; }
    STDMETHOD(CreateInstance)(IUnknown*, REFIID, void**) override
    {
        *s_nowhere = 1;
        return E_FAIL;
    }
    STDMETHOD(LockServer)(BOOL) override { return S_OK; }

private:
    static int* volatile s_nowhere;
};

int* volatile CFaultingHistoryFactory::s_nowhere = nullptr;

class FaultRecovery : public TabTest
{
protected:
    void TearDown() override
    {
        TestTravelLog::SetFaulting(false);
        TestWebBrowser::SetFaultingNavigate(false);
        DestroyPlugInList(theApp.m_plugIns);
        if (theApp.m_hSemaphore != nullptr) {
            ::CloseHandle(theApp.m_hSemaphore);
            theApp.m_hSemaphore = nullptr;
        }
        TabTest::TearDown();
    }

    // Runs what is posted through the program's own pump, whose recovery
    // follows every fault.
    static void PumpThroughTheProgram()
    {
        ::PostThreadMessageA(::GetCurrentThreadId(), kMarker, 0, 0);
        for (int i = 0; i < 10000; ++i) {
            theApp.PumpMessage();
            if (theApp.m_msgCur.message == kMarker && theApp.m_msgCur.hwnd == nullptr)
                return;
        }
        ADD_FAILURE() << "the marker never came through";
    }
    void Autosave()
    {
        m_frame->PostMessage(WM_TIMER, m_frame->m_autosaveTimer);
        PumpThroughTheProgram();
    }
    std::string Status() const { return static_cast<LPCTSTR>(m_frame->m_wndStatusBar.GetPaneText(0)); }
    std::string Recovery() const { return m_folder->ReadBytes("Exception.dat"); }

    // The dialogs library as the program finds it, in its own folder.
    void InstallDialogsLibrary()
    {
        std::string built = ProgramFolder::PathFromEnvironment("VA_BIN_DIR") + "\\Formbay.dll";
        ASSERT_TRUE(::CopyFileA(built.c_str(), m_folder->File("Formbay.dll").c_str(), FALSE));
    }
    // The test plug-in, loaded by the start-up command, in the mode given.
    void InstallPlugIn(int mode)
    {
        std::string built = ProgramFolder::PathFromEnvironment("VA_TEST_PLUGIN_DIR") + "\\TestPlugInA.dll";
        ASSERT_TRUE(::CopyFileA(built.c_str(), m_folder->File("Plugin/a.dll").c_str(), FALSE));
        theApp.m_settings.bPlgEnable(true);
        ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, 30102, 0);
        ASSERT_EQ(1u, theApp.m_plugIns.size());
        auto setMode = reinterpret_cast<void (*)(int)>(
            reinterpret_cast<void*>(::GetProcAddress(theApp.m_plugIns[0]->m_hModule, "TestPlugInSetMode")));
        ASSERT_NE(nullptr, setMode);
        setMode(mode);
    }
    std::string PlugInLog() const
    {
        auto log = reinterpret_cast<const char* (*)()>(
            reinterpret_cast<void*>(::GetProcAddress(theApp.m_plugIns[0]->m_hModule, "TestPlugInLog")));
        return log != nullptr ? log() : "no log";
    }

    // After a fault in a dialog: no dialog is left, the main window takes
    // input, the settings dialog opens again and the program closes in order.
    void ExpectTheProgramWhole()
    {
        EXPECT_EQ(nullptr, ShownDialog());
        EXPECT_TRUE(::IsWindowEnabled(m_frame->m_hWnd));
        AnswerNextMessageBox(IDCANCEL);
        ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, ID_TOOLS_SETTINGS, 0);
        EXPECT_TRUE(s_messageBoxSeen);
        EXPECT_TRUE(AllAnswered());
        EXPECT_TRUE(::IsWindowEnabled(m_frame->m_hWnd));
        const std::string settingsFile = std::string(theApp.GetMainClassName()) + ".ini";
        m_folder->Remove(settingsFile);
        const HWND main = m_frame->m_hWnd;
        ::SendMessageA(main, WM_CLOSE, 0, 0);
        m_frame = nullptr;  // gone with its window
        EXPECT_FALSE(::IsWindow(main));
        EXPECT_TRUE(m_folder->Exists(settingsFile));
    }
};

TEST_F(FaultRecovery, AFaultInTheAutosaveKeepsThePreviousFileWholeAndFreesTheSemaphoreForTheNextSave)
{
    theApp.m_hSemaphore = ::CreateSemaphoreA(nullptr, 1, 1, nullptr);
    CTabItem* tab = Open(nullptr, "http://first.example/");
    tab->m_pView->Navigate("http://second.example/");
    Pump();
    const std::string previous = "VADatFileVer003\r\nFOLDER:\r\n\tLABEL:last good\r\nENDFOLDER:\r\n";
    m_folder->WriteBytes("Exception.dat", previous);

    // The autosave faults while it holds the semaphore, and so does the
    // recovery save right after it.
    TestTravelLog::SetFaulting(true);
    Autosave();
    TestTravelLog::SetFaulting(false);
    EXPECT_EQ("Access Violation", Status());
    EXPECT_EQ(previous, Recovery());
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(theApp.m_hSemaphore, 0));
    ::ReleaseSemaphore(theApp.m_hSemaphore, 1, nullptr);

    Autosave();
    const std::string saved = Recovery();
    EXPECT_NE(std::string::npos, saved.find("\t\tURL:http://second.example/"));
    EXPECT_NE(std::string::npos, saved.find("\t\tBACKURL:http://first.example/"));
}

TEST_F(FaultRecovery, AFaultRepeatingOnEveryMessageSavesTheTabsOnce)
{
    Open(nullptr, "http://saved.example/");
    m_folder->Remove("Exception.dat");
    CFaultingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    wnd.PostMessage(kMsgFault);
    PumpThroughTheProgram();
    EXPECT_NE(std::string::npos, Recovery().find("http://saved.example/"));

    m_folder->Remove("Exception.dat");
    for (int i = 0; i < 5; ++i)
        wnd.PostMessage(kMsgFault);
    PumpThroughTheProgram();
    EXPECT_FALSE(m_folder->Exists("Exception.dat"));
    EXPECT_EQ("Access Violation", Status());
    // The program goes on: the autosave writes the file as ever.
    Autosave();
    EXPECT_NE(std::string::npos, Recovery().find("http://saved.example/"));
    wnd.DestroyWindow();
}

TEST_F(FaultRecovery, ATabSetBrokenOffByAFaultLeavesTheBarsDrawingAndTheAppendPositionBack)
{
    const std::string set = "VADatFileVer003\r\nFOLDER:\r\n\tLABEL:Set\r\n\tSTATE:0\r\n\tICON:0\r\n"
                            "\tENTRY:\r\n\t\tSTATE:0\r\n\t\tLABEL:a\r\n\t\tURL:http://a.example/\r\n"
                            "\tENDENTRY:\r\nENDFOLDER:\r\n";
    m_folder->WriteBytes("WindowCloseBack.dat", set);
    const CString path = m_folder->File("WindowCloseBack.dat").c_str();
    Open(nullptr, "http://open.example/");
    theApp.m_settings.iTabAppendPos = 2;
    HWND groupBar = m_frame->m_pGroupTabBar->m_hWnd;
    HWND pageBar = m_frame->m_pPageTabBar->m_hWnd;
    ASSERT_TRUE(::IsWindowVisible(groupBar));
    ASSERT_TRUE(::IsWindowVisible(pageBar));

    TestWebBrowser::SetFaultingNavigate(true);
    const DWORD fault = AfxCallGuarded([&] { m_frame->LoadTabSet(path); });
    EXPECT_EQ(static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION), fault);
    TestWebBrowser::SetFaultingNavigate(false);
    EXPECT_EQ(0u, m_frame->m_stateWord & kStateOpeningTabSet);
    EXPECT_EQ(2, theApp.m_settings.iTabAppendPos);
    EXPECT_TRUE(::IsWindowVisible(groupBar));
    EXPECT_TRUE(::IsWindowVisible(pageBar));

    // The next set opens as ever, in a batch of its own.
    m_frame->LoadTabSet(path);
    Pump();
    CTabGroup* opened = theApp.GetGroupAt(theApp.GetGroupCount() - 1);
    ASSERT_EQ(1, opened->GetTabCount());
    EXPECT_STREQ("http://a.example/", opened->GetTab(0)->m_url);
    EXPECT_TRUE(::IsWindowVisible(pageBar));
}

TEST_F(FaultRecovery, AFaultInsideTheRenameDialogEndsItAsCancelledAndLeavesTheProgramWhole)
{
    InstallDialogsLibrary();
    Open(nullptr, "http://a.example/");
    CTabGroup* group = theApp.GetActiveGroup();
    group->m_captionTemplate = "Before";
    s_ticks = 0;
    s_faultSent = false;
    s_faultTimer = ::SetTimer(nullptr, 0, 50, FaultInShownDialog);
    ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, ID_GROUP_RENAME, 0);
    if (s_faultTimer != 0)
        ::KillTimer(nullptr, s_faultTimer);
    EXPECT_TRUE(s_faultSent);
    EXPECT_STREQ("Before", group->m_captionTemplate);
    ExpectTheProgramWhole();
}

TEST_F(FaultRecovery, AFaultInAPlugInsOwnDialogEndsThatDialogAndTheCallReturns)
{
    InstallDialogsLibrary();
    InstallPlugIn(4);
    ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, ID_PLUGIN_FIRST, 0);
    // The plug-in's dialog ended as cancelled inside its own loop.
    EXPECT_NE(std::string::npos, PlugInLog().find("dialog(2);")) << PlugInLog();
    PumpThroughTheProgram();
    EXPECT_EQ("Access Violation", Status());
    ExpectTheProgramWhole();
}

TEST_F(FaultRecovery, APlugInCommandThatFaultsLeavesNoCallCountedAndItsModuleIsFreedAtUnload)
{
    InstallPlugIn(3);
    ::SendMessageA(m_frame->m_hWnd, WM_COMMAND, ID_PLUGIN_FIRST, 0);
    EXPECT_NE(std::string::npos, PlugInLog().find("execute("));
    DestroyPlugInList(theApp.m_plugIns);
    EXPECT_EQ(nullptr, ::GetModuleHandleA("a.dll"));
}

TEST_F(FaultRecovery, AfterAFaultTheExitStillWritesAndASecondFaultInItEndsTheWritingThere)
{
    for (bool faultInTheExit : {false, true}) {
        SCOPED_TRACE(faultInTheExit);
        if (m_frame == nullptr) {
            TabTest::TearDown();
            TabTest::SetUp();
        }
        Open(nullptr, "http://a.example/");
        CFaultingWnd wnd;
        ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
        wnd.PostMessage(kMsgFault);
        PumpThroughTheProgram();
        wnd.DestroyWindow();
        ASSERT_EQ("Access Violation", Status());
        ASSERT_TRUE(m_folder->Exists("Exception.dat"));
        const std::string settingsFile = std::string(theApp.GetMainClassName()) + ".ini";
        m_folder->Remove(settingsFile);
        m_folder->Remove("SearchEngine.dat");

        // Clearing the history comes after the settings and before the
        // lists.
        CFaultingHistoryFactory factory;
        DWORD cookie = 0;
        if (faultInTheExit) {
            theApp.m_settings.bDelHistory(true);
            ASSERT_EQ(S_OK, ::CoRegisterClassObject(CLSID_CUrlHistory, &factory, CLSCTX_INPROC_SERVER,
                                                    REGCLS_MULTIPLEUSE, &cookie));
        }
        const HWND main = m_frame->m_hWnd;
        ::SendMessageA(main, WM_CLOSE, 0, 0);
        m_frame = nullptr;  // gone with its window
        if (cookie != 0)
            ::CoRevokeClassObject(cookie);
        theApp.m_settings.bDelHistory(false);
        EXPECT_FALSE(::IsWindow(main));
        EXPECT_TRUE(m_folder->Exists(settingsFile));
        EXPECT_EQ(!faultInTheExit, m_folder->Exists("SearchEngine.dat"));
        // An exit that broke off leaves the recovery file for the next start.
        EXPECT_EQ(faultInTheExit, m_folder->Exists("Exception.dat"));
    }
}

} // namespace
