#include "tests/support/ProgramRun.h"

#include <tlhelp32.h>

#include "tests/support/ProgramFolder.h"

namespace {

const char kMainWindowClass[] = "VantorelArco";
// The modules a program folder needs; the ones not built yet are skipped.
const char* const kModules[] = {"VantorelArco.exe", "Formbay.dll"};

struct WindowSearch
{
    DWORD processId;  // 0: any process
    HWND found;
    int count;
    const char* className = kMainWindowClass;
    bool visibleOnly = false;
};

BOOL CALLBACK MatchMainWindow(HWND wnd, LPARAM param)
{
    auto* search = reinterpret_cast<WindowSearch*>(param);
    char className[64] = {};
    GetClassNameA(wnd, className, sizeof(className));
    if (lstrcmpA(className, search->className) != 0)
        return TRUE;
    DWORD owner = 0;
    GetWindowThreadProcessId(wnd, &owner);
    if (search->processId != 0 && owner != search->processId)
        return TRUE;
    if (search->visibleOnly && !IsWindowVisible(wnd))
        return TRUE;
    search->found = wnd;
    ++search->count;
    return TRUE;
}

BOOL CALLBACK AddShownPage(HWND wnd, LPARAM param)
{
    char className[64] = {};
    GetClassNameA(wnd, className, sizeof(className));
    if (lstrcmpA(className, "VaTestWebBrowser") == 0) {
        char address[2048] = {};
        GetWindowTextA(wnd, address, sizeof(address));
        reinterpret_cast<std::vector<std::string>*>(param)->push_back(address);
    }
    return TRUE;
}

} // namespace

ProgramRun::ProgramRun(const ProgramFolder& folder)
    : m_folder(folder.Path()), m_wideFolder(folder.WidePath())
{
    const std::string bin = ProgramFolder::PathFromEnvironment("VA_BIN_DIR") + "\\";
    for (const char* module : kModules) {
        std::string target = m_folder + module;
        if (GetFileAttributesA(target.c_str()) == INVALID_FILE_ATTRIBUTES)
            CopyFileA((bin + module).c_str(), target.c_str(), TRUE);
    }
}

ProgramRun::~ProgramRun()
{
    if (m_process != nullptr) {
        if (IsRunning()) {
            TerminateProcess(m_process, 1);
            WaitForSingleObject(m_process, 5000);
        }
        CloseHandle(m_process);
    }
}

bool ProgramRun::Start(const std::string& arguments)
{
    PROCESS_INFORMATION info = {};
    if (!(m_wideFolder.empty() ? StartAnsi(arguments, info) : StartWide(arguments, info)))
        return false;
    CloseHandle(info.hThread);
    m_process = info.hProcess;
    m_processId = info.dwProcessId;
    return true;
}

bool ProgramRun::StartAnsi(const std::string& arguments, PROCESS_INFORMATION& info)
{
    std::string exe = m_folder + "VantorelArco.exe";
    std::string commandLine = "\"" + exe + "\"";
    if (!arguments.empty())
        commandLine += " " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    return CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                          m_folder.c_str(), &startup, &info) != FALSE;
}

// By the folder's own name, as a user starts it: the program's module name
// then holds that name.
bool ProgramRun::StartWide(const std::string& arguments, PROCESS_INFORMATION& info)
{
    std::wstring exe = m_wideFolder + L"VantorelArco.exe";
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!arguments.empty()) {
        const int length = MultiByteToWideChar(CP_ACP, 0, arguments.c_str(), -1, nullptr, 0);
        std::wstring wide(static_cast<size_t>(length), L'\0');
        MultiByteToWideChar(CP_ACP, 0, arguments.c_str(), -1, &wide[0], length);
        wide.resize(static_cast<size_t>(length) - 1);
        commandLine += L" " + wide;
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    return CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                          m_wideFolder.c_str(), &startup, &info) != FALSE;
}

HWND ProgramRun::WaitForMainWindow(DWORD timeoutMs)
{
    return WaitForWindow(kMainWindowClass, timeoutMs);
}

DWORD ProgramRun::WaitForExit(DWORD timeoutMs)
{
    if (m_process == nullptr)
        return STILL_ACTIVE;
    WaitForSingleObject(m_process, timeoutMs);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(m_process, &code);
    return code;
}

bool ProgramRun::IsRunning() const
{
    return m_process != nullptr && WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT;
}

DWORD ProgramRun::CloseAndWait(DWORD timeoutMs)
{
    WindowSearch search = {m_processId, nullptr, 0};
    EnumWindows(MatchMainWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr)
        PostMessageA(search.found, WM_CLOSE, 0, 0);
    return WaitForExit(timeoutMs);
}

HWND ProgramRun::WaitForWindow(const char* className, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    do {
        WindowSearch search = {m_processId, nullptr, 0, className, true};
        EnumWindows(MatchMainWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr)
            return search.found;
        if (!IsRunning())
            return nullptr;
        Sleep(50);
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
}

int ProgramRun::CountMainWindows()
{
    WindowSearch search = {0, nullptr, 0};
    EnumWindows(MatchMainWindow, reinterpret_cast<LPARAM>(&search));
    return search.count;
}

LRESULT ProgramRun::WaitForReply(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT expected)
{
    LRESULT reply = -999;
    for (int i = 0; i < 100; ++i) {
        DWORD_PTR answer = 0;
        reply = SendMessageTimeoutA(wnd, msg, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &answer)
                    ? static_cast<LRESULT>(answer)
                    : -999;
        if (reply == expected)
            break;
        Sleep(100);
    }
    return reply;
}

std::vector<std::string> ProgramRun::ShownPages(HWND wnd)
{
    std::vector<std::string> pages;
    EnumChildWindows(wnd, AddShownPage, reinterpret_cast<LPARAM>(&pages));
    return pages;
}

bool ProgramRun::WaitForPage(HWND wnd, const std::string& address)
{
    for (int i = 0; i < 100; ++i) {
        for (const std::string& page : ShownPages(wnd))
            if (page == address)
                return true;
        Sleep(100);
    }
    return false;
}

bool ProgramRun::HasModule(DWORD processId, const char* name)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId);
    if (snapshot == INVALID_HANDLE_VALUE)
        return false;
    MODULEENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    bool found = false;
    for (BOOL more = Module32First(snapshot, &entry); more && !found; more = Module32Next(snapshot, &entry))
        found = lstrcmpiA(entry.szModule, name) == 0;
    CloseHandle(snapshot);
    return found;
}
