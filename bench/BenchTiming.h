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

inline void Pump()
{
    PumpMessages();
}

}  // namespace bench
