// What the Windows benchmarks share: the median of a set of timings, a stopwatch on the
// performance counter, and a message pump for the windows they drive.
#pragma once

#include "win32/MessagePump.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace bench {

inline double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

inline double Microseconds(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency)
{
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

// The median time of work(round) over rounds rounds, after 20 rounds to warm up, in microseconds.
template <typename Work>
double MedianMicroseconds(int rounds, Work work)
{
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    for (int round = -20; round < rounds; ++round) {
        LARGE_INTEGER from, to;
        ::QueryPerformanceCounter(&from);
        work(round);
        ::QueryPerformanceCounter(&to);
        if (round >= 0)
            times.push_back(Microseconds(from, to, frequency));
    }
    return Median(times);
}

inline void Pump()
{
    PumpMessages();
}

}  // namespace bench
