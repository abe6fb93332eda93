// What the benchmark drivers share: a millisecond clock, a process's own
// work (its CPU time, which a loaded machine disturbs far less than the
// clock) and a series of measurements with its minimum and median.
#ifndef VA_TESTS_BENCH_BENCHTIMING_H
#define VA_TESTS_BENCH_BENCHTIMING_H

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

inline double NowMs()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// User plus kernel time of the process so far, in milliseconds; -1 when the
// system does not tell.
inline double CpuMs(HANDLE process = GetCurrentProcess())
{
    FILETIME created, ended, kernel, user;
    if (!GetProcessTimes(process, &created, &ended, &kernel, &user))
        return -1;
    auto ms = [](const FILETIME& t) {
        return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

// The same for one thread, also of another process (Wine reads it from the
// host; it tells another process's times only by its threads).
inline double ThreadCpuMs(HANDLE thread)
{
    FILETIME created, ended, kernel, user;
    if (!GetThreadTimes(thread, &created, &ended, &kernel, &user))
        return -1;
    auto ms = [](const FILETIME& t) {
        return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

// The CPU time of this process's main thread in milliseconds, finely: Wine
// counts thread times in 10 ms steps, so it is read where the host keeps it
// to the nanosecond, in the host's /proc through drive Z:, in the directory
// of the host process whose command line starts with this program's path
// (found once; "self" there would name the Wine server, which opens the
// files). Elsewhere, or called from another thread, the system's thread times.
inline double MainThreadCpuFineMs()
{
    static const std::string s_statFile = [] {
        auto normalised = [](std::string path) {
            for (char& c : path)
                c = c == '\\' ? '/' : static_cast<char>(tolower(static_cast<unsigned char>(c)));
            if (path.size() > 2 && path[1] == ':')
                path.erase(0, 2);
            return path;
        };
        char self[MAX_PATH] = "";
        GetModuleFileNameA(nullptr, self, MAX_PATH);
        const std::string wanted = normalised(self);
        std::string found;
        WIN32_FIND_DATAA entry;
        HANDLE find = FindFirstFileA("Z:\\proc\\*", &entry);
        if (find == INVALID_HANDLE_VALUE)
            return found;
        do {
            if (entry.cFileName[0] < '0' || entry.cFileName[0] > '9')
                continue;
            const std::string dir = std::string("Z:\\proc\\") + entry.cFileName;
            HANDLE file = CreateFileA((dir + "\\cmdline").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
            if (file == INVALID_HANDLE_VALUE)
                continue;
            char text[MAX_PATH * 2] = "";
            DWORD got = 0;
            ReadFile(file, text, sizeof(text) - 1, &got, nullptr);
            CloseHandle(file);
            text[got < sizeof(text) ? got : sizeof(text) - 1] = '\0';
            if (normalised(text) == wanted) {
                found = dir + "\\schedstat";
                break;
            }
        } while (FindNextFileA(find, &entry));
        FindClose(find);
        return found;
    }();
    static const DWORD s_mainThread = GetCurrentThreadId();
    if (!s_statFile.empty() && GetCurrentThreadId() == s_mainThread) {
        HANDLE file = CreateFileA(s_statFile.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            char text[64] = "";
            DWORD got = 0;
            BOOL read = ReadFile(file, text, sizeof(text) - 1, &got, nullptr);
            CloseHandle(file);
            if (read && got > 0) {
                text[got] = '\0';
                return static_cast<double>(_strtoui64(text, nullptr, 10)) / 1e6;
            }
        }
    }
    return ThreadCpuMs(GetCurrentThread());
}

struct Series
{
    std::vector<double> values;

    void Add(double v) { values.push_back(v); }
    double Min() const { return values.empty() ? 0 : *std::min_element(values.begin(), values.end()); }
    double Max() const { return values.empty() ? 0 : *std::max_element(values.begin(), values.end()); }
    double Median() const
    {
        if (values.empty())
            return 0;
        std::vector<double> sorted = values;
        std::sort(sorted.begin(), sorted.end());
        size_t n = sorted.size();
        return n % 2 != 0 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
    }
};

// Wall and CPU time of the same runs.
struct TimedSeries
{
    Series wall, cpu;

    void Add(double wallMs, double cpuMs)
    {
        wall.Add(wallMs);
        cpu.Add(cpuMs);
    }
};

// The clock and this process's CPU time from a start.
class Stopwatch
{
public:
    Stopwatch() : m_wall(NowMs()), m_cpu(CpuMs()) {}
    double WallMs() const { return NowMs() - m_wall; }
    double CpuMsSince() const { return CpuMs() - m_cpu; }
    void AddTo(TimedSeries& series, double less = 0) const { series.Add(WallMs() - less, CpuMsSince()); }

private:
    double m_wall;
    double m_cpu;
};

#endif // VA_TESTS_BENCH_BENCHTIMING_H
