#include "host/SyntheticSource.h"
#include "host/ThermalModel.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(ThermalLag, ClosesAQuarterOfTheGapEachPoll)
{
    ThermalLag lag(400);
    EXPECT_EQ(lag.Step(100), 400 + 500 / 4);
    EXPECT_EQ(lag.Step(100), 525 + (900 - 525) / 4);
    ThermalLag cooling(400);
    cooling.Step(100);
    EXPECT_EQ(cooling.Step(0), 525 - 125 / 4);
    ThermalLag steady(400);
    for (int i = 0; i < 100; ++i)
        steady.Step(60);
    EXPECT_NEAR(steady.Tenths(), 400 + 60 * 5, 3);
    EXPECT_EQ(ThermalLag(400).Step(250), ThermalLag(400).Step(100));
}

TEST(SyntheticSource, SameSequenceEveryRunAndEveryPlatform)
{
    SyntheticSource a(4);
    SyntheticSource b(4);
    SensorSnapshot first;
    SensorSnapshot second;
    for (int poll = 0; poll < 50; ++poll) {
        a.Next(first);
        b.Next(second);
        ASSERT_EQ(std::memcmp(&first, &second, sizeof first), 0) << poll;
    }
    // Pinned values: a change of the formulas shows here and in the host's Wine tests.
    SyntheticSource pinned(2);
    SensorSnapshot s;
    pinned.Next(s);
    EXPECT_EQ(s.coreCount, 2u);
    EXPECT_EQ(s.tjMax, 100u);
    EXPECT_EQ(s.coreLoad[0], SyntheticSource::LoadAt(0, 0));
    EXPECT_EQ(s.coreTemperature[0], static_cast<float>(380 + (380 + 5 * static_cast<int32_t>(s.coreLoad[0]) - 380) / 4) / 10.0f);
}

TEST(SyntheticSource, MovesLikeABusyCpu)
{
    SyntheticSource source(8);
    SensorSnapshot s;
    uint32_t lowest = 100, highest = 0;
    float coolest = 1000, hottest = -1000;
    bool coresDiffer = false;
    for (int poll = 0; poll < 600; ++poll) {
        source.Next(s);
        ASSERT_EQ(s.coreCount, 8u);
        for (uint32_t core = 0; core < 8; ++core) {
            ASSERT_LE(s.coreLoad[core], 100u);
            lowest = std::min(lowest, s.coreLoad[core]);
            highest = std::max(highest, s.coreLoad[core]);
            coolest = std::min(coolest, s.coreTemperature[core]);
            hottest = std::max(hottest, s.coreTemperature[core]);
            coresDiffer = coresDiffer || s.coreLoad[core] != s.coreLoad[0];
        }
        EXPECT_EQ(s.coreLoad[8], 0u);
        EXPECT_EQ(s.coreTemperature[8], 0.0f);
    }
    EXPECT_TRUE(coresDiffer);
    EXPECT_LT(lowest, 20u);
    EXPECT_GT(highest, 80u);
    EXPECT_GT(coolest, 35.0f);
    EXPECT_LT(hottest, 90.0f);
    EXPECT_GT(hottest - coolest, 20.0f);
}

TEST(SyntheticSource, CoreCountIsCappedAtTheSnapshot)
{
    SyntheticSource source(1000);
    SensorSnapshot s;
    source.Next(s);
    EXPECT_EQ(s.coreCount, maxSnapshotCores);
    EXPECT_GT(s.coreTemperature[maxSnapshotCores - 1], 0.0f);
}

}  // namespace
