// ProgramRun: one run of the real VantorelArco.exe for an end-to-end test.
// The program is copied from the build's program folder into the test's own
// program folder and driven as other programs drive it: by its command line
// and by window messages to its main window.
#ifndef VA_TESTS_SUPPORT_PROGRAMRUN_H
#define VA_TESTS_SUPPORT_PROGRAMRUN_H

#include <windows.h>

#include <string>
#include <vector>

class ProgramFolder;

class ProgramRun
{
public:
    // Copies the built modules into the folder (once per folder).
    explicit ProgramRun(const ProgramFolder& folder);
    ~ProgramRun();  // ends a program still running
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    bool Start(const std::string& arguments = std::string());
    // From now on the program starts by this path of its folder (ending
    // with a backslash), as the system names it.
    void SetStartFolder(const std::wstring& wideFolder) { m_wideFolder = wideFolder; }
    // The program's own main window (class "VantorelArco"), or null when it
    // has none within the time.
    HWND WaitForMainWindow(DWORD timeoutMs = 20000);
    // A visible top-level window of the program with the class (a dialog:
    // "#32770"), or null when it has none within the time.
    HWND WaitForWindow(const char* className, DWORD timeoutMs = 20000);
    // The exit code, or STILL_ACTIVE when the program still runs.
    DWORD WaitForExit(DWORD timeoutMs = 20000);
    bool IsRunning() const;
    DWORD GetProcessId() const { return m_processId; }

    // Closes the main window as a user would (WM_CLOSE) and waits for the end.
    DWORD CloseAndWait(DWORD timeoutMs = 20000);

    // Main windows of the class that belong to any process.
    static int CountMainWindows();
    // Whether the process has loaded the module of that file name.
    static bool HasModule(DWORD processId, const char* name);
    // Sends the message to the window until its numeric reply is expected
    // (the program opens pages as it gets to them), for about ten seconds;
    // the last reply, -999 when the window did not answer.
    static LRESULT WaitForReply(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT expected);
    // The addresses of the pages the window's tabs show, as their test
    // WebBrowser controls name them, in window order.
    static std::vector<std::string> ShownPages(HWND wnd);
    // Waits until a page of the window shows the address, for about ten
    // seconds (pages complete from the program's message loop).
    static bool WaitForPage(HWND wnd, const std::string& address);

private:
    bool StartAnsi(const std::string& arguments, PROCESS_INFORMATION& info);
    bool StartWide(const std::string& arguments, PROCESS_INFORMATION& info);

    std::string m_folder;
    std::wstring m_wideFolder;  // set: the program starts from the folder's wide path
    HANDLE m_process = nullptr;
    DWORD m_processId = 0;
};

#endif // VA_TESTS_SUPPORT_PROGRAMRUN_H
