#include "core/SnapshotCopy.h"

#include <cmath>
#include <cstring>
#include <limits>

SensorSnapshot snapshotCopy{};

void ClearSnapshotCopy()
{
    std::memset(&snapshotCopy, 0, sizeof snapshotCopy);
}

void StoreSnapshot(const SensorSnapshot& snapshot)
{
    std::memcpy(&snapshotCopy, &snapshot, sizeof snapshotCopy);
}

uint32_t SnapshotCoreCount()
{
    return snapshotCopy.coreCount < maxSnapshotCores ? snapshotCopy.coreCount : maxSnapshotCores;
}

uint32_t SnapshotTjMax()
{
    return snapshotCopy.tjMax;
}

int32_t TruncateTemperature(float celsius)
{
    if (std::isnan(celsius))
        return 0;
    // 2147483648 is exactly representable as a float; everything at or above it saturates.
    if (celsius >= 2147483648.0f)
        return std::numeric_limits<int32_t>::max();
    if (celsius <= -2147483648.0f)
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(celsius);
}

void SnapshotSamples(int32_t* temperatures, int32_t* loads, uint32_t count)
{
    const uint32_t cores = count < maxSnapshotCores ? count : maxSnapshotCores;
    for (uint32_t i = 0; i < cores; ++i) {
        temperatures[i] = TruncateTemperature(snapshotCopy.coreTemperature[i]);
        loads[i] = static_cast<int32_t>(snapshotCopy.coreLoad[i]);
    }
}
