// Faults the program survives, through the real frame and its own pump:
// nothing a fault breaks off stays held (the tab-set semaphore, a tab set
// being opened, a plug-in's call, the frame's marks), the recovery save
// keeps the last good file and saves once for a repeating fault, a fault
// inside a modal dialog (the dialogs library's, a plug-in's own) ends that
// dialog alone, a fault in a window of code the program did not write ends
// only the loop whose window it is in (a loop of the system's, which it
// unwinds, goes with nothing of it left), and a loop broken off outside its
// own guards leaves nothing on the screen for the next fault to meet.
#include <windows.h>
#include <shlguid.h>
#include <urlhist.h>

#include <gtest/gtest.h>

#include <csetjmp>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include "app/MainFrame.h"
#include "app/VantorelApp.h"
#include "app/resource.h"
#include "bars/DlgWndMng.h"
#include "bars/GroupTabBar.h"
#include "bars/PageTabBar.h"
#include "bars/ToolBarEx.h"
#include "bars/ToolBarPopup.h"
#include "framework/app/FaultGuard.h"
#include "framework/ole/OleDataSource.h"
#include "shared/AppData.h"
#include "shared/AppSettings.h"
#include "shared/CommandIds.h"
#include "tab/BrowserView.h"
#include "tab/DroppedFiles.h"
#include "tab/ScriptRunDlg.h"
#include "tab/TabGroup.h"
#include "tab/TabItem.h"
#include "app/tests/TabFixture.h"
#include "tests/support/FaultingWnd.h"
#include "tests/support/ForeignWnd.h"
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

// The loops of the program that dispatch messages, and where a window of
// code the program did not write faults while one runs: in another tab
// (on a posted message or on its timer) or inside the loop's own window.
// Two are the system's: the box naming dropped files no path reaches, shown
// from a timer, and the OLE drag loop.
enum class Loop { Pump, ScriptRunDialog, LibraryDialog, ChevronPopup, WindowList, Gesture, DropBox, Drag };
enum class Place { OtherTabPosted, OtherTabTimer, InLoopWindow };

// One run of a loop, driven from a timer inside it: once the loop's window
// shows, the foreign window faults; a turn after the fault the loop is
// looked for again and, still there, ended as a user would.
struct LoopRun
{
    Loop loop;
    Place place;
    int endWith;  // IDOK or IDCANCEL, for the dialogs
    HWND parentElsewhere;
    HWND view;    // the gesture's window
    HWND dragSource;
    CWnd* runner; // the script-run dialog, which never shows
    int stage;
    int ticks;
    int faultsBefore;
    HWND loopWnd;
    bool shownAfterFault;
    std::unique_ptr<ForeignWnd> foreign;
};
LoopRun s_run;

HWND ShownLoopWindow()
{
    switch (s_run.loop) {
    case Loop::ScriptRunDialog:
        return s_run.runner != nullptr ? s_run.runner->m_hWnd : nullptr;
    case Loop::LibraryDialog:
    case Loop::DropBox:
        return ShownDialog();
    case Loop::Drag: {
        const HWND tracker = ::GetCapture();
        return tracker != s_run.dragSource ? tracker : nullptr;
    }
    case Loop::ChevronPopup:
        return ::GetCapture();
    case Loop::WindowList: {
        CDlgWndMng* list = g_pMainFrame->m_pWndList.get();
        return list != nullptr && list->IsTracking() && list->IsWindowVisible() ? list->m_hWnd : nullptr;
    }
    case Loop::Gesture:
        return ::GetCapture() == s_run.view ? s_run.view : nullptr;
    default:
        return nullptr;
    }
}

bool s_dragCancelled = false;

void EndLoopAsAUserWould(HWND hLoop)
{
    switch (s_run.loop) {
    case Loop::ScriptRunDialog:
    case Loop::LibraryDialog:
    case Loop::DropBox:
        ::PostMessageA(hLoop, WM_COMMAND, static_cast<WPARAM>(s_run.endWith), 0);
        break;
    case Loop::Drag:
        s_dragCancelled = true;
        break;
    case Loop::ChevronPopup:
        ::PostMessageA(hLoop, WM_TOOLBARPOPUP_CLOSE, 0, 0);
        break;
    case Loop::WindowList:
        ::PostMessageA(hLoop, WM_WNDMNG_CLOSE, 0, 0);
        break;
    default:
        ::PostMessageA(hLoop, WM_RBUTTONUP, 0, 0);
        break;
    }
}

void MakeForeignFault(HWND hLoop)
{
    LoopRun& run = s_run;
    // A drag's own window is the one it started from.
    if (run.loop == Loop::Drag)
        hLoop = run.dragSource;
    run.foreign = std::make_unique<ForeignWnd>(run.place == Place::InLoopWindow ? hLoop : run.parentElsewhere);
    run.faultsBefore = ForeignWnd::Faults();
    if (run.place == Place::OtherTabTimer)
        run.foreign->FaultOnTimer(10);
    else
        run.foreign->PostFault();
}

void BeginLoopRun(Loop loop, Place place, HWND parentElsewhere, HWND view)
{
    LoopRun& run = s_run;
    run.loop = loop;
    run.place = place;
    run.endWith = place == Place::OtherTabPosted ? IDOK : IDCANCEL;
    run.parentElsewhere = parentElsewhere;
    run.view = view;
    run.dragSource = nullptr;
    run.runner = nullptr;
    run.stage = 0;
    run.ticks = 0;
    run.loopWnd = nullptr;
    run.shownAfterFault = false;
}

// A driver's turn past the 250th stands by: a loop left running is ended
// as a user would end it, so that it cannot hang the test.
bool StandsBy(int& ticks, HWND shown, void (*endAsAUserWould)(HWND))
{
    if (++ticks <= 250)
        return false;
    if (shown != nullptr)
        endAsAUserWould(shown);
    return true;
}

void CALLBACK DriveLoop(HWND, UINT, UINT_PTR, DWORD)
{
    LoopRun& run = s_run;
    const HWND shown = ShownLoopWindow();
    if (StandsBy(run.ticks, shown, EndLoopAsAUserWould))
        return;
    if (run.stage == 0 && shown != nullptr) {
        run.loopWnd = shown;
        // The user's edit, which a fault elsewhere must leave.
        if (run.loop == Loop::LibraryDialog)
            ::SetWindowTextA(::FindWindowExA(shown, nullptr, "Edit", nullptr), "Renamed");
        MakeForeignFault(shown);
        run.stage = 1;
    } else if (run.stage == 1 && ForeignWnd::Faults() != run.faultsBefore) {
        run.stage = 2;
    } else if (run.stage == 2) {
        run.shownAfterFault = shown != nullptr;
        if (shown != nullptr)
            EndLoopAsAUserWould(shown);
        run.stage = 3;
    }
}

// How a loop's call is broken off other than by a fault its own guards take:
// by a guard of the other module (the program's inside the library's loop,
// the library's inside the program's), or by a frame further out that jumps
// across its guards, also once more holds are held than the first block of
// the hold table has room for. The loop is a dialog of the dialogs library
// or a popup of the program's.
enum class Break { OtherModulesGuard, UnwoundFromOutside, FullHoldTable };
enum class Holder { LibraryDialog, Popup };

struct BreakRun
{
    Break how;
    Holder holder;
    HWND posted;  // the library's posted window, for a popup's
    int stage;
    int ticks;
    HWND loopWnd;
    bool shownAfterFault;
    std::unique_ptr<CFaultingWnd> programWnd;
};
BreakRun s_break;
std::jmp_buf s_outside;

HWND ShownHolder()
{
    return s_break.holder == Holder::LibraryDialog ? ShownDialog() : ::GetCapture();
}

void EndHolderAsAUserWould(HWND hLoop)
{
    ::PostMessageA(hLoop, s_break.holder == Holder::LibraryDialog ? WM_COMMAND : WM_TOOLBARPOPUP_CLOSE, IDOK, 0);
}

void BreakOff(HWND hLoop)
{
    BreakRun& run = s_break;
    switch (run.how) {
    case Break::OtherModulesGuard:
        if (run.holder == Holder::LibraryDialog) {
            // A window of the program's inside the library's dialog.
            run.programWnd = std::make_unique<CFaultingWnd>();
            run.programWnd->CreateEx(0, nullptr, "", WS_CHILD, 0, 0, 10, 10, hLoop, nullptr);
            run.programWnd->PostMessage(CFaultingWnd::kMsgFault);
        } else {
            // A window of the library's inside the program's popup, whose
            // handler reads a notification's header at an unmapped address.
            const LONG_PTR style = ::GetWindowLongPtrA(run.posted, GWL_STYLE);
            ::SetWindowLongPtrA(run.posted, GWL_STYLE, (style & ~static_cast<LONG_PTR>(WS_POPUP)) | WS_CHILD);
            ::SetParent(run.posted, hLoop);
            ::SendMessageA(run.posted, WM_NOTIFY, 0, static_cast<LPARAM>(0x10));
        }
        break;
    case Break::UnwoundFromOutside:
    case Break::FullHoldTable:
        std::longjmp(s_outside, 1);
    }
}

// Runs work that a frame inside may jump out of, to here.
void RunUntilJumpedOutOf(const std::function<void()>& work)
{
    if (setjmp(s_outside) == 0)
        work();
}

// Breaks the loop off once it shows; a few turns later it is looked for
// again and, still there, ended as a user would.
void CALLBACK DriveBreak(HWND, UINT, UINT_PTR, DWORD)
{
    BreakRun& run = s_break;
    const HWND shown = ShownHolder();
    if (StandsBy(run.ticks, shown, EndHolderAsAUserWould))
        return;
    if (run.stage == 0 && shown != nullptr) {
        run.loopWnd = shown;
        run.stage = 1;
        BreakOff(shown);
    } else if (run.stage == 1 || run.stage == 2) {
        ++run.stage;
    } else if (run.stage == 3) {
        run.shownAfterFault = ::IsWindow(run.loopWnd) && ::IsWindowVisible(run.loopWnd);
        if (run.shownAfterFault)
            EndHolderAsAUserWould(run.loopWnd);
        run.stage = 4;
    }
}

const UINT kMsgOpenBox = WM_APP + 41;
bool s_boxReturned = false;
bool s_boxLeftOpen = false;

// Opens a message box owned by the main window, with a fault of a window of
// other code queued for the box's own loop, which no guard of the program's
// surrounds: the fault breaks the handler off, box and all.
class CBoxOpeningWnd : public CWnd
{
public:
    ForeignWnd* m_pForeign = nullptr;

protected:
    LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (nMsg != kMsgOpenBox)
            return CWnd::WindowProc(nMsg, wParam, lParam);
        m_pForeign->PostFault();
        ::MessageBoxA(g_pMainFrame->m_hWnd, "box", "box", MB_OK);
        s_boxReturned = true;
        return 0;
    }
};

// Stands by, so that a box the fault did not break off cannot hang the test.
void CALLBACK EndBoxLeftOpen(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    if (HWND box = ShownDialog()) {
        s_boxLeftOpen = true;
        ::SendMessageA(box, WM_COMMAND, IDOK, 0);
    }
}

// A drag of the program's that goes on until the user cancels it (the
// mouse button stays down).
class CHeldDragSource : public COleDataSource
{
public:
    STDMETHOD(QueryContinueDrag)(BOOL, DWORD) override { return s_dragCancelled ? DRAGDROP_S_CANCEL : S_OK; }
};

const UINT kMsgStartDrag = WM_APP + 42;

// A window of the program's whose handler runs a drag.
class CDragSourceWnd : public CWnd
{
protected:
    LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (nMsg != kMsgStartDrag)
            return CWnd::WindowProc(nMsg, wParam, lParam);
        CHeldDragSource* source = new CHeldDragSource;
        source->DoDragDrop(DROPEFFECT_COPY);
        source->Release();
        return 0;
    }
};

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

    // The rest of the toolbar's buttons go to the chevron's popup.
    void KeepRoomForTheFirstToolBarButtonOnly()
    {
        RECT first = {};
        ::SendMessageA(m_frame->m_wndToolBar.m_hWnd, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
        m_frame->m_wndToolBar.SetWindowPos(nullptr, 0, 0, first.right + 1, first.bottom - first.top,
                                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    // The same for a while.
    static void PumpThroughTheProgramFor(DWORD ms)
    {
        const DWORD start = ::GetTickCount();
        while (::GetTickCount() - start < ms) {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            PumpThroughTheProgram();
        }
    }

    // Runs the loop from its usual start until it ends; the script-run
    // dialog's result.
    INT_PTR RunLoop(Loop loop, HWND control, const std::string& script)
    {
        const HWND main = m_frame->m_hWnd;
        CTabGroup* group = theApp.GetActiveGroup();
        INT_PTR result = 0;
        switch (loop) {
        case Loop::ScriptRunDialog: {
            TestWebBrowser::SetNeverComplete(true);
            CScriptRunDlg runner;
            runner.m_scriptPath = script.c_str();
            runner.m_timeLimitMs = 60000;
            s_run.runner = &runner;
            result = runner.DoModal();
            s_run.runner = nullptr;
            TestWebBrowser::SetNeverComplete(false);
            break;
        }
        case Loop::LibraryDialog:
            ::SendMessageA(main, WM_COMMAND, ID_GROUP_RENAME, 0);
            break;
        case Loop::ChevronPopup: {
            RECT chevron = {};
            m_frame->m_wndToolBar.GetWindowRect(&chevron);
            chevron.left = chevron.right - 12;
            m_frame->SetForegroundWindow();
            m_frame->m_wndToolBar.SendMessage(WM_REBAR_CHEVRONPUSHED, reinterpret_cast<WPARAM>(&chevron), 0);
            break;
        }
        case Loop::WindowList:
            m_frame->SetForegroundWindow();
            m_frame->ShowGroupTabPopup(group, m_frame->m_pGroupTabBar->FindGroup(group));
            break;
        case Loop::DropBox:
            // The box shows from the program's pump once the drop returned.
            ReportUnreachableFiles(main, {L"\uD55C.html"});
            for (int i = 0; i < 5000 && s_run.ticks <= 300; ++i) {
                if (s_run.loopWnd != nullptr && ShownDialog() == nullptr)
                    break;
                theApp.PumpMessage();
            }
            break;
        case Loop::Drag: {
            CDragSourceWnd source;
            if (!source.CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE, 0, 0, 20, 20, main, nullptr))
                break;
            s_run.dragSource = source.m_hWnd;
            s_dragCancelled = false;
            source.SendMessage(kMsgStartDrag);
            source.DestroyWindow();
            break;
        }
        default: {
            MSG down = {};
            down.hwnd = control;
            down.message = WM_RBUTTONDOWN;
            down.wParam = MK_RBUTTON;
            down.lParam = MAKELPARAM(100, 100);
            theApp.PreTranslateMessage(&down);
            break;
        }
        }
        return result;
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

TEST_F(FaultRecovery, AFaultInAWindowOfOtherCodeEndsOnlyTheLoopWhoseWindowItIsIn)
{
    InstallDialogsLibrary();
    CTabItem* other = Open(nullptr, "http://other.example/");
    CTabItem* active = Open(nullptr, "http://active.example/");
    ASSERT_EQ(active, m_frame->GetActiveTab());
    Pump();
    const HWND main = m_frame->m_hWnd;
    CTabGroup* group = theApp.GetActiveGroup();
    KeepRoomForTheFirstToolBarButtonOnly();
    AppSettings().bMouseG(true);
    const HWND control = ControlOf(active)->GetControlWindow();
    const std::string script = std::string(AppFolders().GetScriptFolder()) + "stuck.htm";

    for (Loop loop : {Loop::Pump, Loop::ScriptRunDialog, Loop::LibraryDialog, Loop::ChevronPopup, Loop::WindowList,
                      Loop::Gesture, Loop::DropBox, Loop::Drag}) {
        for (Place place : {Place::OtherTabPosted, Place::OtherTabTimer, Place::InLoopWindow}) {
            const bool inLoop = place == Place::InLoopWindow;
            SCOPED_TRACE(testing::Message() << "loop " << static_cast<int>(loop) << ", place "
                                            << static_cast<int>(place));
            BeginLoopRun(loop, place, other->m_pView->m_hWnd, active->m_pView->m_hWnd);
            LoopRun& run = s_run;
            const int faults = ForeignWnd::Faults();
            group->m_captionTemplate = "Before";

            if (loop == Loop::Pump) {
                // The program's own pump: the fault is survived wherever it is.
                m_frame->SetStatusText("");
                MakeForeignFault(inLoop ? main : run.parentElsewhere);
                for (int i = 0; i < 400 && ForeignWnd::Faults() == faults; ++i) {
                    MSG next;
                    if (::PeekMessageA(&next, nullptr, 0, 0, PM_NOREMOVE))
                        theApp.PumpMessage();
                    else
                        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
                }
                run.foreign.reset();
                EXPECT_EQ(faults + 1, ForeignWnd::Faults());
                EXPECT_EQ("Access Violation", Status());
                EXPECT_NE(nullptr, Open(nullptr, "http://after.example/"));
                continue;
            }

            const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, DriveLoop);
            const unsigned counted = AfxGetFaultCount();
            const INT_PTR result = RunLoop(loop, control, script);
            ::KillTimer(nullptr, timer);
            run.foreign.reset();

            // The fault was made once; the loop went on after it unless it
            // was in its own window, and ended as the user ended it, or as
            // cancelled.
            EXPECT_NE(nullptr, run.loopWnd);
            EXPECT_EQ(faults + 1, ForeignWnd::Faults());
            // The system's loops end with the fault wherever it is: the
            // fault unwinds them.
            const bool systemLoop = loop == Loop::DropBox || loop == Loop::Drag;
            EXPECT_EQ(!inLoop && !systemLoop, run.shownAfterFault);
            if (systemLoop) {
                // The box or the drag's tracker is gone, and with the
                // tracker its timer: the fault is the only one.
                EXPECT_FALSE(::IsWindow(run.loopWnd));
                EXPECT_EQ(nullptr, ::GetCapture());
                PumpThroughTheProgramFor(300);
                EXPECT_EQ(counted + 1, AfxGetFaultCount());
                EXPECT_EQ("Access Violation", Status());
                if (::IsWindow(run.loopWnd))
                    ::DestroyWindow(run.loopWnd);
            }
            if (loop == Loop::ScriptRunDialog) {
                EXPECT_EQ(inLoop ? IDCANCEL : run.endWith, result);
            }
            if (loop == Loop::LibraryDialog) {
                EXPECT_STREQ(!inLoop && run.endWith == IDOK ? "Renamed" : "Before", group->m_captionTemplate);
            }
            if (loop == Loop::ChevronPopup || loop == Loop::ScriptRunDialog || loop == Loop::LibraryDialog) {
                EXPECT_FALSE(::IsWindow(run.loopWnd));
            }
            if (loop == Loop::WindowList) {
                EXPECT_FALSE(m_frame->m_pWndList->IsTracking());
                EXPECT_FALSE(::IsWindowVisible(run.loopWnd));
            }
            // Nothing is left of the loop.
            EXPECT_EQ(nullptr, ShownDialog());
            EXPECT_EQ(nullptr, ::GetCapture());
            EXPECT_TRUE(::IsWindowEnabled(main));
            Pump();
        }
    }
    AppSettings().bMouseG(false);
    ExpectTheProgramWhole();
}

TEST_F(FaultRecovery, ALoopBrokenOffOutsideItsOwnGuardsLeavesNothingOnScreenAndTheNextFaultInItsModuleIsSurvived)
{
    InstallDialogsLibrary();
    // Loaded for the whole test, as a posted window keeps it: what the
    // library keeps between its calls meets the next one.
    const HMODULE library = ::LoadLibraryA(m_folder->File("Formbay.dll").c_str());
    ASSERT_NE(nullptr, library);
    auto showPosted = reinterpret_cast<void(WINAPI*)(HICON, const char*, const char*)>(
        reinterpret_cast<void*>(::GetProcAddress(library, "ShowPostedDlg")));
    ASSERT_NE(nullptr, showPosted);
    CTabItem* tab = Open(nullptr, "http://a.example/");
    Pump();
    const HWND main = m_frame->m_hWnd;
    CTabGroup* group = theApp.GetActiveGroup();
    KeepRoomForTheFirstToolBarButtonOnly();

    for (Break how : {Break::OtherModulesGuard, Break::UnwoundFromOutside, Break::FullHoldTable}) {
        for (Holder holder : {Holder::LibraryDialog, Holder::Popup}) {
            SCOPED_TRACE(testing::Message() << "break " << static_cast<int>(how) << ", holder "
                                            << static_cast<int>(holder));
            const Loop loop = holder == Holder::LibraryDialog ? Loop::LibraryDialog : Loop::ChevronPopup;
            BreakRun& run = s_break;
            run.how = how;
            run.holder = holder;
            run.posted = nullptr;
            run.stage = 0;
            run.ticks = 0;
            run.loopWnd = nullptr;
            run.shownAfterFault = false;
            if (how == Break::OtherModulesGuard && holder == Holder::Popup) {
                showPosted(::LoadIconA(nullptr, IDI_APPLICATION), "extra", "body");
                run.posted = ShownDialog();
                ASSERT_NE(nullptr, run.posted);
            }
            CFaultHold held[70];
            if (how == Break::FullHoldTable)
                for (CFaultHold& hold : held)
                    hold.Hold([](const ULONG_PTR*) {});
            group->m_captionTemplate = "Before";
            m_frame->SetStatusText("");

            const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, DriveBreak);
            RunUntilJumpedOutOf([&] { RunLoop(loop, nullptr, std::string()); });
            ::KillTimer(nullptr, timer);

            // The loop ended with the break, as cancelled, and nothing of it
            // is left; the holds from before it are held still.
            EXPECT_NE(nullptr, run.loopWnd);
            EXPECT_FALSE(run.shownAfterFault);
            EXPECT_FALSE(::IsWindow(run.loopWnd));
            EXPECT_EQ(nullptr, ShownDialog());
            EXPECT_EQ(nullptr, ::GetCapture());
            EXPECT_TRUE(::IsWindowEnabled(main));
            EXPECT_STREQ("Before", group->m_captionTemplate);
            for (const CFaultHold& hold : held)
                EXPECT_EQ(how == Break::FullHoldTable, hold.IsHeld());
            // What a failing run left goes, so that the next starts clean.
            if (::IsWindow(run.loopWnd))
                ::DestroyWindow(run.loopWnd);
            ::EnableWindow(main, TRUE);
            run.programWnd.reset();
            PumpThroughTheProgram();

            // The next fault in a loop of the same module ends that loop as
            // a fault in its window does, and the program goes on.
            BeginLoopRun(loop, Place::InLoopWindow, nullptr, tab->m_pView->m_hWnd);
            const int faults = ForeignWnd::Faults();
            const UINT_PTR next = ::SetTimer(nullptr, 0, 20, DriveLoop);
            RunLoop(loop, nullptr, std::string());
            ::KillTimer(nullptr, next);
            s_run.foreign.reset();
            EXPECT_EQ(faults + 1, ForeignWnd::Faults());
            EXPECT_NE(nullptr, s_run.loopWnd);
            EXPECT_FALSE(s_run.shownAfterFault);
            EXPECT_FALSE(::IsWindow(s_run.loopWnd));
            PumpThroughTheProgram();
            // The library's guards count their faults for the library.
            if (holder == Holder::Popup) {
                EXPECT_EQ("Access Violation", Status());
            }
            EXPECT_STREQ("Before", group->m_captionTemplate);
            EXPECT_EQ(nullptr, ShownDialog());
            EXPECT_EQ(nullptr, ::GetCapture());
            EXPECT_TRUE(::IsWindowEnabled(main));
        }
    }
    ExpectTheProgramWhole();
    ::FreeLibrary(library);
}

TEST_F(FaultRecovery, AModalLoopOfTheSystemsThatAFaultBrokeOffGoesAndTheMainWindowTakesInputAgain)
{
    ForeignWnd foreign;
    CBoxOpeningWnd opener;
    ASSERT_TRUE(opener.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    opener.m_pForeign = &foreign;
    Pump();
    s_boxReturned = false;
    s_boxLeftOpen = false;
    const UINT_PTR standby = ::SetTimer(nullptr, 0, 3000, EndBoxLeftOpen);
    opener.PostMessage(kMsgOpenBox);
    const int faults = ForeignWnd::Faults();
    for (int i = 0; i < 100 && ForeignWnd::Faults() == faults; ++i)
        theApp.PumpMessage();
    ::KillTimer(nullptr, standby);
    EXPECT_FALSE(s_boxLeftOpen);
    EXPECT_FALSE(s_boxReturned);
    EXPECT_EQ("Access Violation", Status());
    EXPECT_EQ(nullptr, ShownDialog());
    EXPECT_TRUE(::IsWindowEnabled(m_frame->m_hWnd));
    opener.DestroyWindow();
}

TEST_F(FaultRecovery, TheFramesMarksAndThePagesPlaceEndWithTheWorkAFaultBrokeOff)
{
    m_folder->WriteBytes("dropped.htm", "<html></html>");
    CTabItem* tab = Open(nullptr, "http://a.example/");
    const HWND control = ControlOf(tab)->GetControlWindow();
    ASSERT_NE(nullptr, control);
    const struct
    {
        const char* what;
        std::function<void()> work;
    } cases[] = {
        {"a drop of files", [&] {
             TestWebBrowser::SetFaultingNavigate(true);
             HGLOBAL drop = MakeDropFiles({m_folder->File("dropped.htm")});
             m_frame->SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(drop));
         }},
        {"a group's copy", [&] {
             TestWebBrowser::SetFaultingNavigate(true);
             m_frame->m_barHost.DuplicateGroup(theApp.GetActiveGroup());
         }},
        {"a page's new place", [&] {
             TestWebBrowser::SetFaultingObjectRects(true);
             ::SetWindowPos(control, nullptr, 0, 0, 301, 201, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const unsigned faults = AfxGetFaultCount();
        AfxCallGuarded(c.work);
        TestWebBrowser::SetFaultingNavigate(false);
        TestWebBrowser::SetFaultingObjectRects(false);
        EXPECT_EQ(faults + 1, AfxGetFaultCount());
        EXPECT_EQ(0u, m_frame->m_stateWord & kStateOpeningTabSet);
    }
    // The page follows its window's place again.
    ::SetWindowPos(control, nullptr, 0, 0, 333, 222, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const RECT& place = ControlOf(tab)->GetObjectRect();
    EXPECT_EQ(333, place.right - place.left);
    EXPECT_EQ(222, place.bottom - place.top);
}

// Once the window list tracks, a jump to a frame outside the call that
// showed it unwinds the list's loop and every guard in between, as a frame
// further out that takes what the guards passed on does.
CDlgWndMng* s_list = nullptr;
bool s_jumped = false;

void CALLBACK JumpOutOfTheTrackingList(HWND, UINT, UINT_PTR, DWORD)
{
    s_list = g_pMainFrame->m_pWndList.get();
    if (s_jumped || s_list == nullptr || !s_list->IsTracking() || !s_list->IsWindowVisible())
        return;
    s_jumped = true;
    std::longjmp(s_outside, 1);
}

TEST_F(FaultRecovery, AWindowListWhoseCallAFrameFurtherOutUnwindsEndsTrackingAndOpensAgain)
{
    InstallDialogsLibrary();
    Open(nullptr, "http://a.example/");
    Open(nullptr, "http://b.example/");
    Pump();
    CTabGroup* group = theApp.GetActiveGroup();
    const int index = m_frame->m_pGroupTabBar->FindGroup(group);
    m_frame->SetForegroundWindow();
    s_jumped = false;
    s_list = nullptr;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, JumpOutOfTheTrackingList);
    RunUntilJumpedOutOf([&] { AfxCallGuarded([&] { m_frame->ShowGroupTabPopup(group, index); }); });
    ::KillTimer(nullptr, timer);
    ASSERT_TRUE(s_jumped);
    CDlgWndMng* list = m_frame->m_pWndList.get();
    ASSERT_NE(nullptr, list);
    EXPECT_FALSE(list->IsTracking());
    EXPECT_FALSE(list->IsWindowVisible());
    EXPECT_EQ(nullptr, ::GetCapture());

    // The list opens again and ends as the user ends it.
    s_run = LoopRun();
    s_run.loop = Loop::WindowList;
    s_run.place = Place::OtherTabPosted;
    s_run.parentElsewhere = m_frame->m_hWnd;
    const UINT_PTR driver = ::SetTimer(nullptr, 0, 20, DriveLoop);
    m_frame->ShowGroupTabPopup(group, index);
    ::KillTimer(nullptr, driver);
    s_run.foreign.reset();
    EXPECT_TRUE(s_run.shownAfterFault);
    EXPECT_FALSE(list->IsTracking());
    EXPECT_FALSE(list->IsWindowVisible());
    ExpectTheProgramWhole();
}

} // namespace
