#include "core/SampleHistory.h"
#include "core/UpdateTimes.h"

#include <gtest/gtest.h>

namespace {

constexpr int64_t firstUpdate = 1796000000000;  // 2026-12-... in milliseconds since 1970

// Pushes updates numbered from next on into a pane's history (the number as the sample) and
// the times (the number as milliseconds after firstUpdate), as an Update does.
void PushUpdates(SampleHistory& samples, UpdateTimes& times, int32_t& next, int32_t updates)
{
    for (int32_t i = 0; i < updates; ++i, ++next) {
        samples.Push(next);
        times.Push(firstUpdate + next);
    }
}

// Every sample the pane holds has its own update's time.
void ExpectEverySampleHasItsTime(const SampleHistory& samples, const UpdateTimes& times, const char* when)
{
    ASSERT_EQ(times.Count(), samples.Count()) << when;
    for (int32_t k = 0; k < samples.Count(); ++k)
        ASSERT_EQ(times.TimeAt(k), firstUpdate + samples.ValueAt(k)) << when << ", " << k << " back";
    EXPECT_EQ(times.TimeAt(samples.Count()), 0) << when;
    EXPECT_EQ(times.TimeAt(-1), 0) << when;
}

TEST(UpdateTimes, EachSampleKeepsItsUpdatesTimeThroughGrowthWrapAndClear)
{
    // Grows twice (4 -> 8 -> 12), then 16 would reach the limit: circular at 12.
    SampleHistory samples(4, 16);
    UpdateTimes times(4, 16);
    int32_t next = 0;
    ExpectEverySampleHasItsTime(samples, times, "empty");

    const struct {
        int32_t updates;
        int32_t capacity;
        const char* when;
    } steps[] = {
        {3, 4, "below the first size"},   {1, 4, "full"},
        {1, 8, "grown once"},             {7, 12, "grown twice"},
        {5, 12, "wrapped"},               {40, 12, "wrapped several times over"},
    };
    for (const auto& step : steps) {
        PushUpdates(samples, times, next, step.updates);
        EXPECT_EQ(times.Capacity(), step.capacity) << step.when;
        EXPECT_EQ(times.Capacity(), samples.Capacity()) << step.when;
        ExpectEverySampleHasItsTime(samples, times, step.when);
    }
    EXPECT_EQ(times.TimeAt(0), firstUpdate + next - 1);

    samples.Clear();
    times.Clear();
    EXPECT_EQ(times.Count(), 0);
    EXPECT_EQ(times.Capacity(), 4);
    EXPECT_EQ(times.TimeAt(0), 0);
    PushUpdates(samples, times, next, 6);
    ExpectEverySampleHasItsTime(samples, times, "after clearing");
}

TEST(UpdateTimes, NoSlotsKeepNothing)
{
    for (int32_t slots : {0, -5}) {
        UpdateTimes times(slots);
        times.Push(firstUpdate);
        times.Clear();
        times.Push(firstUpdate);
        EXPECT_EQ(times.Count(), 0) << slots;
        EXPECT_EQ(times.TimeAt(0), 0) << slots;
    }
}

}  // namespace
