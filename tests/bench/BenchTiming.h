// What the benchmark drivers share: a millisecond clock and a series of
// measurements with its minimum and median.
#ifndef VA_TESTS_BENCH_BENCHTIMING_H
#define VA_TESTS_BENCH_BENCHTIMING_H

#include <windows.h>

#include <algorithm>
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

#endif // VA_TESTS_BENCH_BENCHTIMING_H
