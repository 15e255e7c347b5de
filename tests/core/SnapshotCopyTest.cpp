#include "core/SnapshotCopy.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace {

TEST(TemperatureConversion, TruncatesTowardZeroAndSaturates)
{
    struct Case {
        float celsius;
        int32_t sample;
    };
    const Case cases[] = {
        {59.99f, 59},
        {45.9f, 45},
        {-0.5f, 0},
        {-12.7f, -12},
        {0.0f, 0},
        {100.0f, 100},
        {std::nanf(""), 0},
        {-std::nanf(""), 0},
        {std::numeric_limits<float>::infinity(), 2147483647},
        {-std::numeric_limits<float>::infinity(), -2147483647 - 1},
        {3.0e9f, 2147483647},
        {-3.0e9f, -2147483647 - 1},
        {2147483520.0f, 2147483520},  // the largest float below 2^31
        {2147483648.0f, 2147483647},
        {-2147483648.0f, -2147483647 - 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TruncateTemperature(c.celsius), c.sample) << c.celsius;

    // The same rule over a whole copy, where the compiler converts several cores at once: every
    // case in every lane and in the tail, and nothing written past the 256 cores.
    SensorSnapshot snapshot{};
    const size_t caseCount = sizeof cases / sizeof cases[0];
    for (uint32_t core = 0; core < maxSnapshotCores; ++core) {
        snapshot.coreTemperature[core] = cases[core % caseCount].celsius;
        snapshot.coreLoad[core] = core;
    }
    StoreSnapshot(snapshot);
    std::vector<int32_t> temperatures(300, -7), loads(300, -7);
    SnapshotSamples(temperatures.data(), loads.data(), 300);
    for (uint32_t core = 0; core < 300; ++core) {
        const bool held = core < maxSnapshotCores;
        EXPECT_EQ(temperatures[core], held ? cases[core % caseCount].sample : -7) << core;
        EXPECT_EQ(loads[core], held ? static_cast<int32_t>(core) : -7) << core;
    }
    ClearSnapshotCopy();
}

TEST(SnapshotCopy, CoreCountIsCappedAtTheLoadBlock)
{
    SensorSnapshot snapshot{};
    for (uint32_t reported : {0u, 1u, 4u, 256u, 257u, 1000u, 0xFFFFFFFFu}) {
        snapshot.coreCount = reported;
        StoreSnapshot(snapshot);
        EXPECT_EQ(SnapshotCoreCount(), reported < 256 ? reported : 256u) << reported;
    }
}

TEST(SnapshotCopy, StoresTheWholeRecordAndClears)
{
    SensorSnapshot snapshot;
    std::memset(&snapshot, 0xAB, sizeof snapshot);
    snapshot.tjMax = 105;
    StoreSnapshot(snapshot);
    EXPECT_EQ(SnapshotTjMax(), 105u);
    EXPECT_EQ(std::memcmp(&snapshotCopy, &snapshot, sizeof snapshot), 0);
    ClearSnapshotCopy();
    EXPECT_EQ(SnapshotTjMax(), 0u);
    EXPECT_EQ(SnapshotCoreCount(), 0u);
    EXPECT_EQ(snapshotCopy.unread1[0], 0);
}

}  // namespace
