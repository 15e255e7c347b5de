// Turns two readings of a processor's cumulative times into its load over the interval.
// Portable; the system source feeds it the operating system's per-processor counters.
#pragma once

#include <cstdint>

// Cumulative times in any common unit. As Windows reports them, kernel time includes
// idle time.
struct ProcessorTimes {
    uint64_t idle = 0;
    uint64_t kernel = 0;
    uint64_t user = 0;
};

// Busy share of the interval in whole percent (rounded), 0 to 100. Counters that went
// backwards or did not move give 0.
inline uint32_t LoadPercent(const ProcessorTimes& before, const ProcessorTimes& after)
{
    if (after.idle < before.idle || after.kernel < before.kernel || after.user < before.user)
        return 0;
    const uint64_t total = (after.kernel - before.kernel) + (after.user - before.user);
    const uint64_t idle = after.idle - before.idle;
    if (total == 0 || idle >= total)
        return 0;
    return static_cast<uint32_t>(((total - idle) * 200 / total + 1) / 2);
}
