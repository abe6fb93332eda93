// What the benchmark drivers share: a millisecond clock, a process's own
// work (its CPU time, which a loaded machine disturbs far less than the
// clock) and a series of measurements with its minimum and median.
#ifndef VA_TESTS_BENCH_BENCHTIMING_H
#define VA_TESTS_BENCH_BENCHTIMING_H

#include <windows.h>

#include <algorithm>
#include <cstdlib>
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

// This thread's own CPU time in milliseconds, finely: Wine counts thread
// times in 10 ms steps, so it is read where the host keeps it to the
// nanosecond (the host's /proc through drive Z:, for the calling thread);
// elsewhere the system's thread times.
inline double ThreadCpuFineMs()
{
    HANDLE file = CreateFileA("Z:\\proc\\thread-self\\schedstat", GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
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
    return ThreadCpuMs(GetCurrentThread());
}

struct Series
{
    std::vector<double> values;

    void Add(double v) { values.push_back(v); }
    double Min() const { return values.empty() ? 0 : *std::min_element(values.begin(), values.end()); }
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
