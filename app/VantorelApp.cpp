#include "app/VantorelApp.h"

#include <windows.h>
#include <ole2.h>
#include <commctrl.h>

#include <cstring>
#include <vector>

#include "app/BrowserFeatures.h"
#include "shared/DialogsLibrary.h"
#include "app/InstanceHandOver.h"
#include "app/MainFrame.h"
#include "app/SettingsFile.h"
#include "app/resource.h"
#include "framework/app/FaultGuard.h"
#include "framework/core/File.h"
#include "lists/PlugInModules.h"
#include "shared/AppData.h"
#include "shared/AppSettings.h"
#include "shared/KeyText.h"
#include "shared/ProgramPath.h"
#include "shared/StartupList.h"
#include "shared/TextFormat.h"
#include "shared/UrlText.h"
#include "shared/VersionInfo.h"
#include "shared/WidePath.h"
#include "tab/BrowserControlSite.h"
#include "tab/BrowserView.h"
#include "tab/ChildFrame.h"
#include "tab/TabItem.h"

namespace {

const char kProductName[] = "VantorelArco";
const char kRecoveryFile[] = "Exception.dat";
const char kStartupMutexName[] = "VantorelArco.Startup";

// A fault the program cannot recover from ends the process here. Nothing is
// cleaned up on purpose: the last autosave in "Exception.dat" survives and
// the next start offers to restore it.
LONG WINAPI OnUnhandledFault(EXCEPTION_POINTERS*)
{
    return AfxRunEntry("OnUnhandledFault", static_cast<LONG>(EXCEPTION_EXECUTE_HANDLER), [&]() -> LONG {
        if (g_pMainFrame != nullptr)
            g_pMainFrame->StopAutosave();
        return EXCEPTION_EXECUTE_HANDLER;
    });
}

} // namespace

BEGIN_MESSAGE_MAP(CVantorelApp, CWinApp)
    ON_COMMAND(ID_FILE_NEW, OnFileNew)
    ON_COMMAND(ID_FILE_OPEN, CWinApp::OnFileOpen)
    ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
END_MESSAGE_MAP()

CVantorelApp::CVantorelApp()
{
    SetAppSettings(&m_settings);
    SetAppData(&m_folders, &m_strings);
    SetAppClassName(m_className);
}

CVantorelApp::~CVantorelApp()
{
    SetAppClassName(nullptr);
    SetAppData(nullptr, nullptr);
    SetAppSettings(nullptr);
}

CString CVantorelApp::ProgramFile(LPCTSTR name) const
{
    return m_folders.ProgramFile(name);
}

// A program folder the ANSI functions cannot reach stays unset: the program
// then runs with the files and modules of no folder, never with those of a
// look-alike one or of the current folder.
void CVantorelApp::CreateDataFolders()
{
    CString folder;
    std::wstring wide;
    if (WidePath::GetProgramFolder(folder, &wide) == WidePath::kUnusable)
        m_unusableProgramFolder = wide.empty() ? std::wstring(L"?") : wide;
    if (m_folders.SetProgramFolder(folder)) {
        m_folders.CreateMissingFolders();
        m_strings.SetFolder(m_folders.GetStringFolder());
    }
}

// The string files lie in the very folder that cannot be reached: the text is
// the program's own. Said once, and the program goes on.
void CVantorelApp::ReportUnusableProgramFolder()
{
    if (m_unusableProgramFolder.empty())
        return;
    // A wide literal: the compiler turns it into UTF-16 whatever the code page.
    const std::wstring text = L"このフォルダのパスは使えません。設定やデータは読み込まれず、保存もされません。"
                              L"プラグインも読み込まれません。"
                              L"プログラムを別のフォルダへ移してください。\n\n" +
                              m_unusableProgramFolder;
    ::MessageBoxW(m_pMainWnd != nullptr ? m_pMainWnd->GetSafeHwnd() : nullptr, text.c_str(),
                  L"VantorelArco", MB_OK | MB_ICONWARNING);
}

void CVantorelApp::LoadSettings()
{
    CSettingsFile file(GetProgramFolder(), m_className);
    CSettingsFile::LoadResult result =
        file.Load(m_settings, m_rebar, m_keyMap, GetEtcText(69), GetEtcText(68));
    if (result.fileRead) {
        if (result.enableDoc)
            m_runFlags |= kRunFlagEnableDoc;
        else
            m_runFlags &= ~kRunFlagEnableDoc;
    }
    CSettingsFile::FillUserAgentIfEmpty(m_settings, BrowserFeatures::GetSystemUserAgent);
}

// Settings that this version fixes whatever the file says.
void CVantorelApp::ForceSessionSettings()
{
    m_settings.bPopUpNewStyle(false);
    m_settings.bMouseGMenu(false);
    m_settings.bOldStyle(true);
    m_settings.bOldStyle_P(true);
    m_settings.iMENU_STYLE = 0;
    m_settings.iDocFavMode = 1;
}

bool CVantorelApp::HandOverToRunningInstance()
{
    HWND running = FindWindowA(m_className, nullptr);
    if (running == nullptr || m_settings.bDoubleInstance())
        return false;
    InstanceHandOver::SendToRunningInstance(running, m_lpCmdLine, m_settings.bParamActivate());
    return true;
}

BOOL CVantorelApp::InitInstance()
{
    m_startTicks = GetTickCount();
    m_hSemaphore = CreateSemaphoreA(nullptr, 1, 1, kProductName);
    lstrcpynA(m_className, kProductName, sizeof(m_className));
    m_keyboardType = DetectKeyboardType();

    CreateDataFolders();
    m_runFlags &= ~kRunFlagFoldersPending;
    LoadSettings();
    ForceSessionSettings();

    // Starts at the same moment (links opened quickly from another program)
    // decide one after another, so that only the first makes a window.
    InstanceHandOver::CStartupLock startupLock(kStartupMutexName);
    if (HandOverToRunningInstance())
        return FALSE;

    if (FAILED(OleInitialize(nullptr)))
        return FALSE;
    m_oleInitialized = true;
    // Every hosted control gets the browser's site, which answers the
    // document-host questions from the window hosting it.
    static CBrowserOccManager s_occManager;
    AfxEnableControlContainer(&s_occManager);
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_COOL_CLASSES |
                                                           ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    m_hMainMenu = LoadMenuA(m_hInstance, MAKEINTRESOURCEA(IDR_MAINFRAME));

    if (!CreateMainFrame())
        return FALSE;
    startupLock.Release();
    SetUnhandledExceptionFilter(OnUnhandledFault);
    if (!OpenStartupDocuments(TRUE))
        return FALSE;

    m_pMainWnd->ShowWindow(m_nCmdShow);
    CString text;
    text.Format("InitInstance %d", static_cast<int>(GetTickCount() - m_startTicks));
    g_pMainFrame->SetStatusText(text);
    ReportUnusableProgramFolder();
    return TRUE;
}

BOOL CVantorelApp::CreateMainFrame()
{
    return StartMainFrame(new CMainFrame);
}

BOOL CVantorelApp::StartMainFrame(CMainFrame* frame)
{
    if (frame == nullptr)
        return FALSE;
    m_pMainWnd = frame;
    if (!frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE)) {
        // Every failed load has already deleted the frame (PostNcDestroy),
        // whether or not its window was made: it must not be touched here.
        m_pMainWnd = nullptr;
        return FALSE;
    }
    m_ownsRecoveryFile = true;
    return TRUE;
}

BOOL CVantorelApp::OpenStartupDocuments(BOOL bOpen)
{
    CCommandLineInfo info;
    ParseCommandLine(info);

    CString commandLine = m_lpCmdLine;
    if (commandLine.IsEmpty()) {
        CString recovery = ProgramFile(kRecoveryFile);
        CStdioFile file;
        if (!m_settings.bDoubleInstance() &&
            file.Open(recovery, CFile::modeRead | CFile::shareDenyNone)) {
            file.Close();
            if (::MessageBoxA(m_pMainWnd->GetSafeHwnd(), GetMessageText(28), kProductName,
                            MB_YESNO | MB_ICONQUESTION) == IDYES)
                g_pMainFrame->LoadTabSet(recovery);
            return TRUE;
        }
        return ProcessShellCommand(info);
    }
    if (info.m_nShellCommand == CCommandLineInfo::FileDDE || !bOpen)
        return FALSE;

    commandLine.Remove('"');
    OpenUrl(commandLine, 0);
    OpenSavedPages(m_settings.iInitMode);
    return TRUE;
}

bool CVantorelApp::OpenSavedPages(int initMode)
{
    switch (initMode) {
    case 3: g_pMainFrame->LoadClosedTabSet(ProgramFile("WindowClose.dat")); return true;
    case 4: OpenStartupList(); return true;
    case 5: g_pMainFrame->LoadTabSet(ProgramFile("WindowCloseBack.dat")); return true;
    default: return false;
    }
}

void CVantorelApp::OnFileNew()
{
    const int mode = m_settings.iInitMode;
    if (mode == 0 || OpenSavedPages(mode))
        return;
    // 1 and 6-255: the home page.
    OpenUrl(mode == 2 ? "about:blank" : kHomeToken, 0);
}

void CVantorelApp::OpenStartupList()
{
    CStringArray urls;
    ReadStartupList(ProgramFile("StartUpURL.dat"), urls);
    if (urls.IsEmpty())
        return;
    CTabBatch batch;
    // The list gets a group of its own; the first URL that opens makes it.
    CTabGroup* group = nullptr;
    int opened = 0;
    for (INT_PTR i = 0; i < urls.GetSize(); ++i) {
        if (group == nullptr) {
            group = OpenUrlInNewGroup(urls[i], kReasonPageBackground, 0);
            opened = group != nullptr ? 1 : 0;
            continue;
        }
        if (opened % 10 == 0)
            CTabBatch::Pause();
        if (OpenUrl(group, urls[i], kReasonPageBackground) != nullptr)
            ++opened;
    }
}

void CVantorelApp::TrimWorkingSet(BOOL bForce)
{
    if (!bForce && !m_settings.bWorkingSet())
        return;
    SetProcessWorkingSetSize(GetCurrentProcess(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
}

BOOL CVantorelApp::PumpMessage()
{
    // The framework's pump guards its translation of the message and its
    // dispatch apart, and every window procedure its own handling.
    const BOOL more = CWinApp::PumpMessage();
    if (AfxGetFaultCount() != m_faultsRecovered)
        RecoverFromFault();
    return more;
}

namespace {

const DWORD kRecoverySaveIntervalMs = 60000;

struct AbandonedDialogs
{
    HWND owner;
    std::vector<HWND> found;
};

BOOL CALLBACK FindAbandonedDialog(HWND hWnd, LPARAM lParam)
{
    return AfxRunEntry("FindAbandonedDialog", FALSE, [&]() -> BOOL {
        AbandonedDialogs& search = *reinterpret_cast<AbandonedDialogs*>(lParam);
        char name[16] = {};
        ::GetClassNameA(hWnd, name, sizeof(name));
        if (::GetWindow(hWnd, GW_OWNER) == search.owner && strcmp(name, "#32770") == 0 &&
            CWnd::FromHandlePermanent(hWnd) == nullptr)
            search.found.push_back(hWnd);
        return TRUE;
    });
}

// Out here in the pump no nested loop runs, so a disabled main window was
// left by a modal loop a fault broke off: one of the system's, that a fault
// outside its own procedure unwound. Its dialog (one with no object of this
// program) goes, and the main window takes input again.
void EndAbandonedModalLoop(HWND hMain)
{
    if (::IsWindowEnabled(hMain))
        return;
    AbandonedDialogs search = {hMain, {}};
    ::EnumThreadWindows(::GetCurrentThreadId(), FindAbandonedDialog, reinterpret_cast<LPARAM>(&search));
    for (HWND hWnd : search.found)
        ::DestroyWindow(hWnd);
    ::EnableWindow(hMain, TRUE);
}

// Nor does a drag: a hidden window of other code holding the capture is the
// tracker of a drag a fault unwound (one the page engine ran itself).
void EndAbandonedTracker()
{
    const HWND hCapture = ::GetCapture();
    if (hCapture != nullptr && CWnd::FromHandlePermanent(hCapture) == nullptr)
        AfxEndSystemTracker(nullptr);
}

} // namespace

void CVantorelApp::BeginFaultRecovery()
{
    m_faultsRecovered = AfxGetFaultCount();
    m_recoverySaved = false;
}

void CVantorelApp::RecoverFromFault()
{
    if (m_pMainWnd != nullptr && ::IsWindow(m_pMainWnd->GetSafeHwnd()) && g_pMainFrame != nullptr) {
        AfxCallGuarded([&] {
            g_pMainFrame->SetStatusText("Access Violation");
            EndAbandonedModalLoop(m_pMainWnd->GetSafeHwnd());
            EndAbandonedTracker();
        });
        RecoverySave();
    }
    // What the recovery itself took counts as recovered too.
    m_faultsRecovered = AfxGetFaultCount();
}

void CVantorelApp::RecoverySave()
{
    // Saved now, not at the next autosave: whatever the fault broke may end
    // the process next. A fault that repeats on every message saves once a
    // minute, and none once the exit has begun (its recovery file is the
    // last autosave's). A fault while saving keeps the previous file whole.
    const DWORD now = ::GetTickCount();
    if (IsShuttingDown() || (m_recoverySaved && now - m_recoverySaveTicks < kRecoverySaveIntervalMs))
        return;
    m_recoverySaved = true;
    m_recoverySaveTicks = now;
    AfxCallGuarded([&] { g_pMainFrame->SaveTabSet(ProgramFile(kRecoveryFile)); });
}

BOOL CVantorelApp::OnIdle(LONG lCount)
{
    // Plug-in modules unloaded while their code still ran are freed once
    // it no longer does.
    if (lCount == 0)
        FreeGivenBackPlugInModules();
    if (m_pMainWnd != nullptr && GetActiveWindow() == nullptr)
        return FALSE;
    // Count 0 updates the frame and its bars, count 1 drops temporary wrappers.
    CWinApp::OnIdle(lCount);
    return lCount <= 0;
}

int CVantorelApp::LoadPlugIns()
{
    if (!m_settings.bPlgEnable()) {
        DestroyPlugInList(m_plugIns);
        return 0;
    }
    return LoadPlugInList(m_folders.GetPluginFolder(), m_strings, m_plugIns);
}

int CVantorelApp::LoadScripts()
{
    return LoadScriptList(m_folders.GetScriptFolder(), m_scripts);
}

void CVantorelApp::ShutdownCleanup()
{
    DestroyPlugInList(m_plugIns);
    DestroyScriptList(m_scripts);
    if (m_hMainMenu != nullptr) {
        DestroyMenu(m_hMainMenu);
        m_hMainMenu = nullptr;
    }
    // As at the frame's exit: a recovery file that stays only offers the
    // session again.
    if (m_ownsRecoveryFile && !m_settings.bDoubleInstance())
        (void)DeleteFileA(ProgramFile(kRecoveryFile));
    if (m_hSemaphore != nullptr) {
        CloseHandle(m_hSemaphore);
        m_hSemaphore = nullptr;
    }
}

int CVantorelApp::ExitInstance()
{
    ShutdownCleanup();
    ReleaseGroups();
    // Every tab window is gone: their pools go back to the heap.
    PoolFor<CChildFrame, kPoolChildFrame>::Release();
    PoolFor<CBrowserView, kPoolBrowserView>::Release();
    PoolFor<CTabItem, kPoolTabItem>::Release();
    PoolFor<CPlugInItem, kPoolPlugInItem>::Release();
    PoolFor<CScriptItem, kPoolScriptItem>::Release();
    if (m_oleInitialized) {
        OleUninitialize();
        m_oleInitialized = false;
    }
    return CWinApp::ExitInstance();
}

void CVantorelApp::OnAppAbout()
{
    // A missing resource or value gives empty texts.
    CVersionInfo version;
    CString path;
    if (WidePath::GetModulePath(nullptr, path) != WidePath::kUnusable)
        version.Load(path);
    WORD language = 0;
    WORD codePage = 0;
    CString name, number, third;
    if (version.GetTranslation(GetEtcText(53), language, codePage)) {
        const CString prefix = TextFormat::FormatNumbers(GetEtcText(54), 'x', { language, codePage },
                                                         "\\StringFileInfo\\%04x%04x\\");
        name = version.QueryText(prefix + GetEtcText(58));
        number = version.QueryText(prefix + GetEtcText(55));
        number.Remove(' ');
        third = version.QueryText(prefix + GetEtcText(59));
    }
    const CString title = name + " ver " + number;
    const CString build = "Build 13014";

    CDialogsLibrary library(GetProgramFolder());
    auto show = library.Get<FormbayExports::ShowAboutDlgFn>("ShowAboutDlg");
    CWnd* pMainWnd = AfxGetMainWnd();
    if (show == nullptr || pMainWnd == nullptr)
        return;
    int trace = show(LoadIcon(IDR_MAINFRAME), pMainWnd->m_hWnd, GetProgramFolder(), title, build, third,
                     m_settings.bVATrace() ? 1 : 0);
    m_settings.bVATrace((trace & 1) != 0);
}
