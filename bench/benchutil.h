#pragma once

// Small helpers shared by the benchmarks: wall time and peak memory.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace benchutil {

inline double nowSeconds()
{
    using clock = std::chrono::steady_clock;
    return std::chrono::duration<double>(clock::now().time_since_epoch()).count();
}

// The median wall time of `runs` runs of `work`, in milliseconds; the first run's in *first when asked.
inline double medianMs(int runs, const std::function<void()> &work, double *first = nullptr)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const double t0 = nowSeconds();
        work();
        ms.push_back((nowSeconds() - t0) * 1000.0);
    }
    if (first)
        *first = ms.front();
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

// Peak resident set size of this process in bytes (VmHWM), 0 if unknown.
inline long long peakRssBytes()
{
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stoll(line.substr(6)) * 1024;
    }
    return 0;
}

// Current resident set size in bytes (VmRSS), 0 if unknown.
inline long long rssBytes()
{
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stoll(line.substr(6)) * 1024;
    }
    return 0;
}

// Resets the peak so that one phase can be measured on its own.
inline void resetPeakRss()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

} // namespace benchutil
