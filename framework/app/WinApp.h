// The application object and its message loop.
//
// Classes in this file:
//   CWinThread   the UI thread: message pump, idle processing, main window
//   CWinApp      the one application object of a module
//
// The program defines one global object of a class derived from CWinApp; its
// constructor makes it the application that AfxGetApp returns. The entry
// point (WinMain, which a program gets by linking the framework_winmain
// target) runs InitInstance, then Run when it succeeded, and ExitInstance in
// either case; Run ends when WM_QUIT arrives, which the framework posts when
// the main window is destroyed.
#ifndef VA_FRAMEWORK_APP_WINAPP_H
#define VA_FRAMEWORK_APP_WINAPP_H

#include "framework/app/CommandLineInfo.h"
#include "framework/core/CString.h"
#include "framework/win/CmdTarget.h"
#include "framework/win/WinDefs.h"

class CWnd;

//--- CWinThread
class CWinThread : public CCmdTarget
{
public:
    CWinThread();

    virtual BOOL InitInstance();
    // The exit code: the WM_QUIT code when the loop ran.
    virtual int ExitInstance();
    // Pumps messages, running OnIdle with a rising count whenever the queue
    // is empty, until WM_QUIT; returns ExitInstance().
    virtual int Run();
    // One message: FALSE on WM_QUIT. Its translation and its dispatch run
    // in fault guards of their own (AfxDispatchLoopMessage).
    virtual BOOL PumpMessage();
    // lCount rises from 0 on each call while the queue stays empty; 0 updates
    // the command state of the main window's bars, 1 deletes temporary
    // wrappers. Returns TRUE while more idle calls are wanted.
    virtual BOOL OnIdle(LONG lCount);
    // Walks from the message's window up to the main window; the main window
    // gets the message last even when the target is not inside it.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // FALSE for messages that leave the idle count running: a mouse move at
    // the position of the last one, WM_PAINT, WM_SYSTIMER.
    virtual BOOL IsIdleMessage(MSG* pMsg);
    virtual CWnd* GetMainWnd() { return m_pMainWnd; }

    CWnd* m_pMainWnd = nullptr;
    MSG m_msgCur = {};
    DWORD m_nThreadID = 0;

protected:
    POINT m_ptCursorLast = { -1, -1 };
    UINT m_nMsgLast = 0;
};

//--- CWinApp
class CWinApp : public CWinThread
{
public:
    explicit CWinApp(LPCSTR lpszAppName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitApplication();
    // TRUE: an application starts unless its own InitInstance says otherwise.
    BOOL InitInstance() override;
    int ExitInstance() override;

    HICON LoadIcon(UINT nIDResource) const;
    HICON LoadIcon(LPCSTR lpszResourceName) const;
    HICON LoadStandardIcon(LPCSTR lpszIconName) const { return ::LoadIconA(nullptr, lpszIconName); }
    HCURSOR LoadCursor(UINT nIDResource) const;
    HCURSOR LoadStandardCursor(LPCSTR lpszCursorName) const { return ::LoadCursorA(nullptr, lpszCursorName); }

    // Fills rCmdInfo from m_lpCmdLine.
    void ParseCommandLine(CCommandLineInfo& rCmdInfo);
    // FileNew routes ID_FILE_NEW through the application's map (its OnFileNew);
    // FileOpen calls OpenDocumentFile; FileNothing does nothing. Print and DDE
    // requests are not served here and return FALSE.
    BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);
    virtual BOOL OpenDocumentFile(LPCSTR lpszFileName);
    // The default ID_FILE_OPEN handler: a file dialog, then OpenDocumentFile.
    void OnFileOpen();
    // ID_APP_EXIT: closes the main window as its close box does (WM_CLOSE),
    // so the exit runs the window's own closing work.
    void OnAppExit();

    LPCSTR m_pszAppName = nullptr;
    HINSTANCE m_hInstance = nullptr;
    LPSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;

    DECLARE_MESSAGE_MAP()
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
// The module the framework is linked into (the program, or a DLL).
HINSTANCE AfxGetInstanceHandle();
// Where resources are loaded from; the instance unless set otherwise.
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hInstResource);

// The system's file-open dialog for one existing file: lpszFilter holds
// "description|pattern|" pairs (null: all files), lpszTitle may be null or
// empty (the system's title). TRUE with the chosen path, FALSE when the user
// cancelled. The current folder is the same after it as before.
BOOL AfxPromptOpenFile(HWND hWndOwner, LPCSTR lpszFilter, LPCSTR lpszTitle, DWORD dwFlags, CString& path);
// Replaces the system's dialog in AfxPromptOpenFile (null: the dialog again),
// so that tests can answer it. The hook gets the same arguments.
typedef BOOL (*AfxPromptOpenFileHook)(HWND hWndOwner, LPCSTR lpszFilter, LPCSTR lpszTitle, DWORD dwFlags,
                                      CString& path);
void AfxSetPromptOpenFileHook(AfxPromptOpenFileHook hook);

// The body of the entry point.
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);
// The body of a library's entry point: the application object's InitInstance
// at process attach (a failure fails the load, after ExitInstance) and its
// ExitInstance at detach. No exception leaves it.
BOOL AfxDllMain(HINSTANCE hInstance, DWORD dwReason);

#endif // VA_FRAMEWORK_APP_WINAPP_H
