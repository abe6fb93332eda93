#include "framework/app/WinApp.h"

#include <commdlg.h>

#include "framework/app/FaultGuard.h"
#include "framework/win/HandleMap.h"
#include "framework/win/Wnd.h"

// The module this code is linked into, provided by the linker.
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

CWinApp* g_pApp = nullptr;
HINSTANCE g_hResource = nullptr;

} // namespace

//--- Module-wide access

CWinApp* AfxGetApp()
{
    return g_pApp;
}

CWnd* AfxGetMainWnd()
{
    return g_pApp != nullptr ? g_pApp->GetMainWnd() : nullptr;
}

HINSTANCE AfxGetInstanceHandle()
{
    if (g_pApp != nullptr && g_pApp->m_hInstance != nullptr)
        return g_pApp->m_hInstance;
    return reinterpret_cast<HINSTANCE>(&__ImageBase);
}

HINSTANCE AfxGetResourceHandle()
{
    return g_hResource != nullptr ? g_hResource : AfxGetInstanceHandle();
}

void AfxSetResourceHandle(HINSTANCE hInstResource)
{
    g_hResource = hInstResource;
}

//--- CWinThread

CWinThread::CWinThread() : m_nThreadID(::GetCurrentThreadId())
{
}

BOOL CWinThread::InitInstance()
{
    return FALSE;
}

int CWinThread::ExitInstance()
{
    return static_cast<int>(m_msgCur.wParam);
}

int CWinThread::Run()
{
    BOOL bIdle = TRUE;
    LONG lIdleCount = 0;
    for (;;)
    {
        while (bIdle && !::PeekMessageA(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE))
        {
            if (!OnIdle(lIdleCount++))
                bIdle = FALSE;
        }
        do
        {
            if (!PumpMessage())
                return ExitInstance();
            if (IsIdleMessage(&m_msgCur))
            {
                bIdle = TRUE;
                lIdleCount = 0;
            }
        } while (::PeekMessageA(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE));
    }
}

BOOL CWinThread::PumpMessage()
{
    if (::GetMessageA(&m_msgCur, nullptr, 0, 0) <= 0)
        return FALSE;  // WM_QUIT (or an invalid call, which ends the loop too)
    AfxDispatchLoopMessage(m_msgCur, [this](MSG& msg) { return PreTranslateMessage(&msg) != FALSE; });
    return TRUE;
}

BOOL CWinThread::OnIdle(LONG lCount)
{
    if (lCount <= 0)
    {
        CWnd* pMainWnd = m_pMainWnd;
        if (pMainWnd != nullptr && pMainWnd->m_hWnd != nullptr && pMainWnd->IsWindowVisible())
        {
            AfxCallWndProc(pMainWnd, pMainWnd->m_hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
            pMainWnd->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
        }
    }
    else if (lCount == 1 && !AfxTempMapsLocked())
    {
        AfxLockTempMaps();
        AfxUnlockTempMaps(TRUE);
    }
    return lCount < 1;
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg)
{
    CWnd* pMainWnd = GetMainWnd();
    HWND hWndMain = pMainWnd != nullptr ? pMainWnd->m_hWnd : nullptr;
    if (CWnd::WalkPreTranslateTree(hWndMain, pMsg))
        return TRUE;
    // A target outside the main window (a modeless popup, another top-level
    // window) still gets the main window's accelerators, last.
    if (hWndMain != nullptr && pMsg->hwnd != nullptr && pMsg->hwnd != hWndMain &&
        !::IsChild(hWndMain, pMsg->hwnd))
        return pMainWnd->PreTranslateMessage(pMsg);
    return FALSE;
}

BOOL CWinThread::IsIdleMessage(MSG* pMsg)
{
    if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_NCMOUSEMOVE)
    {
        if (pMsg->message == m_nMsgLast && pMsg->pt.x == m_ptCursorLast.x &&
            pMsg->pt.y == m_ptCursorLast.y)
            return FALSE;
        m_ptCursorLast = pMsg->pt;
        m_nMsgLast = pMsg->message;
        return TRUE;
    }
    return pMsg->message != WM_PAINT && pMsg->message != WM_SYSTIMER;
}

//--- CWinApp

CWinApp::CWinApp(LPCSTR lpszAppName) : m_pszAppName(lpszAppName)
{
    ASSERT(g_pApp == nullptr);
    g_pApp = this;
}

CWinApp::~CWinApp()
{
    if (g_pApp == this)
        g_pApp = nullptr;
}

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
    ON_COMMAND(ID_APP_EXIT, OnAppExit)
END_MESSAGE_MAP()

BOOL CWinApp::InitApplication()
{
    return TRUE;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    return CWinThread::ExitInstance();
}

HICON CWinApp::LoadIcon(UINT nIDResource) const
{
    return ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
}

HICON CWinApp::LoadIcon(LPCSTR lpszResourceName) const
{
    return ::LoadIconA(AfxGetResourceHandle(), lpszResourceName);
}

HCURSOR CWinApp::LoadCursor(UINT nIDResource) const
{
    return ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo)
{
    CStringArray args;
    AfxSplitCommandLine(m_lpCmdLine, args);
    for (INT_PTR i = 0; i < args.GetSize(); ++i)
    {
        const CString& arg = args[i];
        BOOL bFlag = arg.GetLength() > 1 && (arg[0] == '/' || arg[0] == '-');
        LPCSTR pszParam = bFlag ? static_cast<LPCSTR>(arg) + 1 : static_cast<LPCSTR>(arg);
        rCmdInfo.ParseParam(pszParam, bFlag, i == args.GetSize() - 1);
    }
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo)
{
    switch (rCmdInfo.m_nShellCommand)
    {
    case CCommandLineInfo::FileNew:
        OnCmdMsg(ID_FILE_NEW, CN_COMMAND, nullptr, nullptr);
        return TRUE;
    case CCommandLineInfo::FileOpen:
        return OpenDocumentFile(rCmdInfo.m_strFileName);
    case CCommandLineInfo::FileNothing:
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CWinApp::OpenDocumentFile(LPCSTR)
{
    return FALSE;
}

void CWinApp::OnFileOpen()
{
    CWnd* pMainWnd = AfxGetMainWnd();
    CString path;
    if (AfxPromptOpenFile(pMainWnd != nullptr ? pMainWnd->m_hWnd : nullptr, nullptr, nullptr,
                          OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY, path))
        OpenDocumentFile(path);
}

void CWinApp::OnAppExit()
{
    // Sent, not posted: the window is gone when the command returns, and
    // nothing queued meanwhile runs against a frame that is closing.
    CWnd* pMainWnd = GetMainWnd();
    if (pMainWnd != nullptr && pMainWnd->GetSafeHwnd() != nullptr)
        pMainWnd->SendMessage(WM_CLOSE);
}

namespace {
AfxPromptOpenFileHook s_promptOpenFileHook = nullptr;

// The current folder as the scope found it, put back when the scope ends or
// a fault breaks it off. The folder's name is a heap block of the hold's
// own, freed as it is put back: the frames that read it may be gone by then.
class CCurrentFolderKept
{
public:
    CCurrentFolderKept()
    {
        // The folder may change between asking its length and reading it.
        for (int tries = 0; tries < 2; ++tries) {
            const DWORD length = ::GetCurrentDirectoryW(0, nullptr);
            if (length == 0)
                return;
            void* block = ::HeapAlloc(::GetProcessHeap(), 0, length * sizeof(wchar_t));
            if (block == nullptr)
                return;
            wchar_t* folder = static_cast<wchar_t*>(block);
            const DWORD read = ::GetCurrentDirectoryW(length, folder);
            if (read != 0 && read < length) {
                m_hold.Hold(&PutBack, reinterpret_cast<ULONG_PTR>(folder));
                return;
            }
            ::HeapFree(::GetProcessHeap(), 0, block);
        }
    }

private:
    static void PutBack(const ULONG_PTR* data)
    {
        wchar_t* folder = reinterpret_cast<wchar_t*>(data[0]);
        ::SetCurrentDirectoryW(folder);
        ::HeapFree(::GetProcessHeap(), 0, folder);
    }

    CFaultHold m_hold;
};
} // namespace

void AfxSetPromptOpenFileHook(AfxPromptOpenFileHook hook)
{
    s_promptOpenFileHook = hook;
}

BOOL AfxPromptOpenFile(HWND hWndOwner, LPCSTR lpszFilter, LPCSTR lpszTitle, DWORD dwFlags, CString& path)
{
    if (s_promptOpenFileHook != nullptr)
        return s_promptOpenFileHook(hWndOwner, lpszFilter, lpszTitle, dwFlags, path);
    // The system wants the pairs NUL-separated, ending in two NULs.
    CString filter = lpszFilter != nullptr && *lpszFilter != '\0' ? lpszFilter : "*.*|*.*|";
    filter += "||";
    filter.Replace('|', '\0');
    char szFile[MAX_PATH] = "";
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = hWndOwner;
    ofn.lpstrFilter = filter;
    ofn.lpstrFile = szFile;
    ofn.nMaxFile = sizeof(szFile);
    ofn.lpstrTitle = lpszTitle != nullptr && *lpszTitle != '\0' ? lpszTitle : nullptr;
    // The current folder stays where it was: relative paths (list rows,
    // files named by the user) keep naming what they named before. The flag
    // alone is not kept by every system's open dialog, so the folder is put
    // back after it too.
    ofn.Flags = dwFlags | OFN_EXPLORER | OFN_NOCHANGEDIR;
    // The common dialogs' module is loaded when a dialog is first asked
    // for: imported, it and what it pulls in would load at every start.
    using OpenFileNameFn = BOOL(WINAPI*)(LPOPENFILENAMEA);
    static HMODULE s_dialogs = ::LoadLibraryA("comdlg32.dll");
    auto open = s_dialogs != nullptr
                    ? reinterpret_cast<OpenFileNameFn>(::GetProcAddress(s_dialogs, "GetOpenFileNameA"))
                    : nullptr;
    if (open == nullptr)
        return FALSE;
    BOOL chosen = FALSE;
    {
        CCurrentFolderKept folder;
        chosen = open(&ofn);
    }
    if (!chosen)
        return FALSE;
    path = szFile;
    return TRUE;
}

//--- Entry

int AfxWinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int nCmdShow)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return -1;
    pApp->m_hInstance = hInstance;
    pApp->m_lpCmdLine = lpCmdLine;
    pApp->m_nCmdShow = nCmdShow;
    try
    {
        if (pApp->InitApplication() && pApp->InitInstance())
            return pApp->Run();
        if (pApp->m_pMainWnd != nullptr && pApp->m_pMainWnd->IsWindow())
            pApp->m_pMainWnd->DestroyWindow();
        return pApp->ExitInstance();
    }
    catch (...)
    {
        ::OutputDebugStringA("framework: exception out of the application's start or loop\n");
        return -1;
    }
}

BOOL AfxDllMain(HINSTANCE hInstance, DWORD dwReason)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr || (dwReason != DLL_PROCESS_ATTACH && dwReason != DLL_PROCESS_DETACH))
        return TRUE;
    try
    {
        if (dwReason == DLL_PROCESS_ATTACH)
        {
            pApp->m_hInstance = hInstance;
            if (pApp->InitInstance())
                return TRUE;
            pApp->ExitInstance();
            return FALSE;
        }
        pApp->ExitInstance();
        AfxUnregisterClasses();
        return TRUE;
    }
    catch (...)
    {
        ::OutputDebugStringA("framework: exception out of the library's start or exit\n");
        return dwReason == DLL_PROCESS_DETACH;
    }
}
