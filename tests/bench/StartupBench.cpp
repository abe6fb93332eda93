// StartupBench: times the browser's start-up, its start-up with a heavy
// profile and the opening of 100 tabs, against an empty MDI program, from
// inside Wine so that Wine's own process start counts alike for every program.
//
// Usage: StartupBench rounds emptyExe plainDir heavyDir tabsDir favEmpty favHeavy
// Each *Dir is a program folder holding VantorelArco.exe; favEmpty and
// favHeavy are the Favorites folders of the plain and the heavy profile,
// switched in the per-user shell-folder key before each start.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/bench/BenchTiming.h"

namespace {

const char kBrowserClass[] = "VantorelArco";
const char kEmptyClass[] = "VaBenchEmptyFrame";
const DWORD kTimeoutMs = 60000;
const int kTabCount = 100;
const DWORD kSettleMs = 500;  // lets posted start-up work finish before memory is read

struct WindowSearch
{
    DWORD processId;
    const char* className;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM lParam)
{
    WindowSearch* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char name[64];
    if (pid == search->processId && GetClassNameA(hwnd, name, sizeof(name)) > 0 &&
        lstrcmpA(name, search->className) == 0) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindProcessWindow(DWORD processId, const char* className)
{
    WindowSearch search = {processId, className, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

int CountMdiChildren(HWND frame)
{
    HWND client = FindWindowExA(frame, nullptr, "MDICLIENT", nullptr);
    int count = 0;
    for (HWND child = client != nullptr ? GetWindow(client, GW_CHILD) : nullptr; child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT))
        ++count;
    return count;
}

// Wine reports no private bytes of another process (its counters give the
// swap there), so they are read where the host keeps them: the host's /proc,
// reached through drive Z:, for the process whose command line is the
// program's path, as the sum of its private pages (smaps_rollup).
std::string NormalisedPath(std::string path)
{
    for (char& c : path)
        c = c == '\\' ? '/' : static_cast<char>(tolower(static_cast<unsigned char>(c)));
    if (path.size() > 2 && path[1] == ':')
        path.erase(0, 2);
    return path;
}

std::string ReadHostFile(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::string();
    std::string text;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0)
        text.append(buffer, read);
    CloseHandle(file);
    return text;
}

// The host's directory of the process whose command line is the program's
// path; empty when there is none.
std::string HostProcessDir(const std::string& exe)
{
    const std::string wanted = NormalisedPath(exe);
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA("Z:\\proc\\*", &entry);
    if (find == INVALID_HANDLE_VALUE)
        return std::string();
    std::string found;
    do {
        if (entry.cFileName[0] < '0' || entry.cFileName[0] > '9')
            continue;
        std::string dir = std::string("Z:\\proc\\") + entry.cFileName;
        std::string commandLine = ReadHostFile(dir + "\\cmdline");
        if (NormalisedPath(commandLine.c_str()) == wanted) {
            found = dir;
            break;
        }
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    return found;
}

SIZE_T HostPrivateBytes(const std::string& exe)
{
    const std::string dir = HostProcessDir(exe);
    if (dir.empty())
        return 0;
    SIZE_T bytes = 0;
    std::string rollup = ReadHostFile(dir + "\\smaps_rollup");
    for (const char* key : {"Private_Clean:", "Private_Dirty:"}) {
        size_t at = rollup.find(key);
        if (at != std::string::npos)
            bytes += static_cast<SIZE_T>(strtoull(rollup.c_str() + at + strlen(key), nullptr, 10)) * 1024;
    }
    return bytes;
}

// The CPU time of the program's main thread (user plus kernel), to the
// nanosecond where the host keeps it (its directory found once the program
// runs), else the system's thread times, which Wine counts in 10 ms steps.
class ProgramCpu
{
public:
    ProgramCpu(const std::string& exe, HANDLE thread) : m_exe(exe), m_thread(thread) {}
    double Ms()
    {
        if (!m_looked) {
            m_looked = true;
            m_statFile = HostProcessDir(m_exe);
            if (!m_statFile.empty())
                m_statFile += "\\schedstat";
        }
        if (!m_statFile.empty()) {
            std::string stat = ReadHostFile(m_statFile);
            if (!stat.empty())
                return static_cast<double>(strtoull(stat.c_str(), nullptr, 10)) / 1e6;
        }
        return ThreadCpuMs(m_thread);
    }

private:
    std::string m_exe;
    HANDLE m_thread;
    bool m_looked = false;
    std::string m_statFile;
};

bool SetFavoritesFolder(const std::string& folder)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER,
                        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
                        0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    LONG rc = RegSetValueExA(key, "Favorites", 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(folder.c_str()),
                             static_cast<DWORD>(folder.size() + 1));
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

// One run of a program: the times from its start until its main window is
// visible, until an awaited number of MDI children exist, and until it ended
// after WM_CLOSE, each with the CPU time the program had used by then; its
// private bytes once settled, when asked.
struct Run
{
    double visibleMs = -1;
    double tabsMs = -1;
    double endedMs = -1;
    double visibleCpuMs = -1;
    double tabsCpuMs = -1;
    double endedCpuMs = -1;
    SIZE_T privateBytes = 0;
    bool ok = false;
};

struct RunOptions
{
    std::string exe;
    std::string folder;
    const char* className = kBrowserClass;
    int awaitTabs = 0;
    bool readMemory = false;
};

Run RunProgram(const RunOptions& options)
{
    Run run;
    std::string commandLine = "\"" + options.exe + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    double start = NowMs();
    if (!CreateProcessA(options.exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        options.folder.c_str(), &si, &pi)) {
        std::fprintf(stderr, "cannot start %s (error %lu)\n", options.exe.c_str(), GetLastError());
        return run;
    }

    // The frame may exist, and open its tabs, before it is shown: both are
    // watched from its creation on.
    ProgramCpu cpu(options.exe, pi.hThread);
    HWND frame = nullptr;
    bool tabsDone = options.awaitTabs == 0;
    while (NowMs() - start < kTimeoutMs) {
        if (frame == nullptr || !IsWindow(frame)) {
            frame = FindProcessWindow(pi.dwProcessId, options.className);
            if (frame != nullptr)
                cpu.Ms();  // the host's directory is looked up once, now that the program runs
        }
        if (frame != nullptr) {
            if (run.visibleMs < 0 && IsWindowVisible(frame)) {
                run.visibleMs = NowMs() - start;
                run.visibleCpuMs = cpu.Ms();
            }
            if (!tabsDone && CountMdiChildren(frame) >= options.awaitTabs) {
                run.tabsMs = NowMs() - start;
                run.tabsCpuMs = cpu.Ms();
                tabsDone = true;
            }
            if (run.visibleMs >= 0 && tabsDone)
                break;
        }
        if (WaitForSingleObject(pi.hProcess, 1) == WAIT_OBJECT_0)
            break;
    }
    if (frame != nullptr && run.visibleMs >= 0) {
        if (tabsDone && options.readMemory) {
            Sleep(kSettleMs);
            run.privateBytes = HostPrivateBytes(options.exe);
        }
        PostMessageA(frame, WM_CLOSE, 0, 0);
        // The thread's time is read while it runs: the host forgets it with
        // the thread.
        double lastCpu = cpu.Ms();
        DWORD wait = WAIT_TIMEOUT;
        while (wait == WAIT_TIMEOUT && NowMs() - start < 2 * kTimeoutMs) {
            wait = WaitForSingleObject(pi.hProcess, 1);
            if (wait == WAIT_TIMEOUT)
                lastCpu = std::max(lastCpu, cpu.Ms());
        }
        if (wait == WAIT_OBJECT_0) {
            run.endedMs = NowMs() - start;
            run.endedCpuMs = lastCpu;
            run.ok = tabsDone;
        }
    }
    if (!run.ok) {
        std::fprintf(stderr, "run of %s in %s failed\n", options.exe.c_str(),
                     options.folder.c_str());
        TerminateProcess(pi.hProcess, 1);
        WaitForSingleObject(pi.hProcess, kTimeoutMs);
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return run;
}

void PrintSeries(const char* label, const Series& s, const char* unit)
{
    std::printf("  %-38s min %9.1f  median %9.1f %s\n", label, s.Min(), s.Median(), unit);
}

void PrintTimes(const char* label, const TimedSeries& s)
{
    std::printf("  %-38s wall min %7.1f median %7.1f ms | CPU min %7.1f median %7.1f ms\n", label,
                s.wall.Min(), s.wall.Median(), s.cpu.Min(), s.cpu.Median());
}

double Ratio(const Series& a, const Series& b)
{
    return b.Median() > 0 ? a.Median() / b.Median() : 0;
}

void PrintRatios(const char* against, const TimedSeries& visible, const TimedSeries& ended,
                 const TimedSeries& baseVisible, const TimedSeries& baseEnded)
{
    std::printf("  ratio of medians to %s: visible %.2f (CPU %.2f), ended %.2f (CPU %.2f)\n", against,
                Ratio(visible.wall, baseVisible.wall), Ratio(visible.cpu, baseVisible.cpu),
                Ratio(ended.wall, baseEnded.wall), Ratio(ended.cpu, baseEnded.cpu));
}

struct StartSeries
{
    TimedSeries visible, ended;

    bool Add(const Run& run)
    {
        if (!run.ok)
            return false;
        visible.Add(run.visibleMs, run.visibleCpuMs);
        ended.Add(run.endedMs, run.endedCpuMs);
        return true;
    }
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 8) {
        std::fprintf(stderr,
                     "usage: StartupBench rounds emptyExe plainDir heavyDir tabsDir favEmpty favHeavy\n");
        return 2;
    }
    int rounds = std::max(1, atoi(argv[1]));
    RunOptions empty;
    empty.exe = argv[2];
    empty.className = kEmptyClass;
    std::string emptyFolder = empty.exe.substr(0, empty.exe.find_last_of('\\'));
    empty.folder = emptyFolder;
    auto browserIn = [](const std::string& folder) {
        RunOptions o;
        o.folder = folder;
        o.exe = folder + "\\VantorelArco.exe";
        return o;
    };
    RunOptions plain = browserIn(argv[3]);
    RunOptions heavy = browserIn(argv[4]);
    RunOptions tabs = browserIn(argv[5]);
    tabs.awaitTabs = kTabCount;
    tabs.readMemory = true;
    RunOptions plainMemory = plain;
    plainMemory.readMemory = true;
    std::string favEmpty = argv[6], favHeavy = argv[7];

    // One run of each first, not counted: it warms the file cache and lets
    // the heavy profile write its favorites cache from its Favorites folder.
    bool ok = SetFavoritesFolder(favEmpty) && RunProgram(empty).ok && RunProgram(plain).ok &&
              RunProgram(tabs).ok && SetFavoritesFolder(favHeavy) && RunProgram(heavy).ok;
    if (!ok) {
        std::fprintf(stderr, "warm-up failed\n");
        return 1;
    }

    StartSeries emptyStart, plainStart, heavyStart;
    TimedSeries tabsTime;
    Series plainMem, tabsMem;
    for (int round = 0; round < rounds && ok; ++round) {
        SetFavoritesFolder(favEmpty);
        ok = emptyStart.Add(RunProgram(empty)) && plainStart.Add(RunProgram(plain));
        if (!ok)
            break;
        Run memRun = RunProgram(plainMemory);
        Run tabsRun = RunProgram(tabs);
        ok = memRun.ok && tabsRun.ok;
        tabsTime.Add(tabsRun.tabsMs, tabsRun.tabsCpuMs);
        plainMem.Add(static_cast<double>(memRun.privateBytes) / 1024.0);
        tabsMem.Add(static_cast<double>(tabsRun.privateBytes) / 1024.0);
        SetFavoritesFolder(favHeavy);
        ok = ok && heavyStart.Add(RunProgram(heavy));
    }
    SetFavoritesFolder(favEmpty);
    if (!ok) {
        std::fprintf(stderr, "a run failed; no figures\n");
        return 1;
    }

    std::printf("Start-up, %d rounds (from process start; CPU: user plus kernel time of the program's main thread)\n",
                rounds);
    PrintTimes("empty MDI program: window visible", emptyStart.visible);
    PrintTimes("empty MDI program: ended after WM_CLOSE", emptyStart.ended);
    PrintTimes("VantorelArco: window visible", plainStart.visible);
    PrintTimes("VantorelArco: ended after WM_CLOSE", plainStart.ended);
    PrintRatios("the empty program", plainStart.visible, plainStart.ended, emptyStart.visible, emptyStart.ended);

    std::printf("Heavy profile (1000 favorites in 50 folders, cached; 50 engines in 5 folders)\n");
    PrintTimes("VantorelArco heavy: window visible", heavyStart.visible);
    PrintTimes("VantorelArco heavy: ended after WM_CLOSE", heavyStart.ended);
    PrintRatios("the plain start", heavyStart.visible, heavyStart.ended, plainStart.visible, plainStart.ended);
    PrintRatios("the empty program", heavyStart.visible, heavyStart.ended, emptyStart.visible, emptyStart.ended);

    std::printf("Opening %d tabs from the start-up list\n", kTabCount);
    PrintTimes("until the last tab exists", tabsTime);
    // The opener pauses 100 ms after every 10th tab it opened, but not
    // after the last one: 9 pauses for 100 tabs. They take no CPU time.
    double pauses = ((kTabCount - 1) / 10) * 100.0;
    double ownPerTab = (tabsTime.wall.Median() - plainStart.visible.wall.Median() - pauses) / kTabCount;
    double cpuPerTab = (tabsTime.cpu.Median() - plainStart.visible.cpu.Median()) / kTabCount;
    std::printf("  own work per tab (medians, less the plain start): wall %.2f ms (less %.0f ms of pauses),"
                " CPU %.2f ms\n",
                ownPerTab, pauses, cpuPerTab);
    PrintSeries("private bytes, plain start settled", plainMem, "KiB");
    PrintSeries("private bytes, 100 tabs settled", tabsMem, "KiB");
    std::printf("  private bytes per tab (medians): %.1f KiB\n",
                (tabsMem.Median() - plainMem.Median()) / kTabCount);
    return 0;
}
