#include "core/SnapshotCopy.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

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
