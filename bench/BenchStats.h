// What the benchmarks share: timing calls, summing them up, and printing a figure beside its goal.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using TClock = std::chrono::steady_clock;

inline double Ms(TClock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

struct TStats {
    double Median = 0, P95 = 0, Worst = 0;
};

inline TStats Summarise(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms[ms.size() * 95 / 100], ms.back()};
}

// Each call timed on its own, in milliseconds.
template <class F>
std::vector<double> TimeCalls(int count, F call)
{
    std::vector<double> ms;
    ms.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const auto start = TClock::now();
        call();
        ms.push_back(Ms(TClock::now() - start));
    }
    return ms;
}

inline void PrintStats(const char* what, const TStats& s, double goalMs)
{
    std::printf("%-44s median %6.3f ms, p95 %6.3f ms, worst %6.3f ms   (goal < %.1f ms: %s)\n", what, s.Median,
                s.P95, s.Worst, goalMs, s.P95 < goalMs ? "met" : "MISSED");
}

// A figure without a goal of its own.
inline void PrintFigure(const char* what, const TStats& s)
{
    std::printf("%-44s median %6.3f ms, p95 %6.3f ms, worst %6.3f ms\n", what, s.Median, s.P95, s.Worst);
}
