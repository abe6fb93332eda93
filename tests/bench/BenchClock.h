// The benchmark drivers' clock: milliseconds of the performance counter.
#ifndef VA_TESTS_BENCH_BENCHCLOCK_H
#define VA_TESTS_BENCH_BENCHCLOCK_H

#include <windows.h>

inline double NowMs()
{
    static const LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

#endif // VA_TESTS_BENCH_BENCHCLOCK_H
