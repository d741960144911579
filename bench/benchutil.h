#pragma once

// Small helpers shared by the benchmarks: wall time and peak memory.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

namespace benchutil {

inline double nowSeconds()
{
    using clock = std::chrono::steady_clock;
    return std::chrono::duration<double>(clock::now().time_since_epoch()).count();
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
