#include "core/SampleHistory.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int32_t> NewestFirst(const SampleHistory& h)
{
    std::vector<int32_t> values;
    for (int32_t k = 0; k < h.Count(); ++k)
        values.push_back(h.ValueAt(k));
    return values;
}

TEST(SampleHistory, GrowsByItsInitialCapacity)
{
    SampleHistory h(3);
    for (int v : {1, 2, 3})
        EXPECT_TRUE(h.Push(v));
    EXPECT_EQ(h.Head(), 2);
    EXPECT_EQ(h.Count(), 3);
    EXPECT_EQ(h.Capacity(), 3);

    h.Push(4);
    EXPECT_EQ(h.Capacity(), 6);
    EXPECT_EQ(h.Head(), 3);
    EXPECT_EQ(h.Count(), 4);
    EXPECT_EQ(h.Latest(), 4);
    EXPECT_EQ(h.ValueAt(3), 1);
    EXPECT_EQ(NewestFirst(h), (std::vector<int32_t>{4, 3, 2, 1}));
}

TEST(SampleHistory, ScreenWidthCapacityGrowsAtThe1681stPush)
{
    SampleHistory h(1680);
    for (int i = 0; i < 1680; ++i)
        h.Push(i);
    EXPECT_EQ(h.Capacity(), 1680);
    h.Push(1680);
    EXPECT_EQ(h.Capacity(), 3360);
    EXPECT_EQ(h.Head(), 1680);
    for (int i = 1681; i < 3361; ++i)
        h.Push(i);
    EXPECT_EQ(h.Capacity(), 5040);
    EXPECT_EQ(h.Count(), 3361);
    EXPECT_EQ(h.ValueAt(3360), 0);
    EXPECT_EQ(h.Latest(), 3360);
}

TEST(SampleHistory, EmptyAndClearedHistoriesReadZero)
{
    SampleHistory h(4);
    EXPECT_EQ(h.Latest(), 0);  // the last slot of a zero-filled buffer
    EXPECT_EQ(h.Count(), 0);
    EXPECT_EQ(h.Head(), -1);

    for (int i = 1; i <= 20; ++i)  // five times the initial capacity
        h.Push(i * 7);
    EXPECT_EQ(h.Capacity(), 20);
    h.Clear();
    EXPECT_TRUE(h.IsValid());
    EXPECT_EQ(h.Capacity(), 4);
    EXPECT_EQ(h.Count(), 0);
    EXPECT_EQ(h.Head(), -1);
    EXPECT_EQ(h.ValueAt(0), 0);
    EXPECT_EQ(h.Latest(), 0);
    h.Push(5);
    EXPECT_EQ(NewestFirst(h), (std::vector<int32_t>{5}));
}

TEST(SampleHistory, ReallocatingStartsOverAsANewHistory)
{
    SampleHistory h(0);  // a pane's history before it is allocated
    EXPECT_FALSE(h.IsValid());
    h.Reallocate(3);
    ASSERT_TRUE(h.IsValid());
    for (int i = 1; i <= 7; ++i)  // grown twice, and one into the third block
        h.Push(i);
    EXPECT_EQ(h.Capacity(), 9);
    h.Reallocate(5);
    EXPECT_TRUE(h.IsValid());
    EXPECT_EQ(h.Capacity(), 5);
    EXPECT_EQ(h.GrowStep(), 5);
    EXPECT_EQ(h.Count(), 0);
    EXPECT_EQ(h.Latest(), 0);
    for (int i = 1; i <= 6; ++i)
        h.Push(i * 10);
    EXPECT_EQ(h.Capacity(), 10);
    EXPECT_EQ(NewestFirst(h), (std::vector<int32_t>{60, 50, 40, 30, 20, 10}));
    h.Reallocate(0);
    EXPECT_FALSE(h.IsValid());
    EXPECT_FALSE(h.Push(1));
    EXPECT_EQ(h.ValueAt(0), 0);
}

TEST(SampleHistory, OutOfRangeReadsGiveZero)
{
    SampleHistory h(4);
    for (int v : {10, 20, 30})
        h.Push(v);
    EXPECT_EQ(h.ValueAt(2), 10);
    EXPECT_EQ(h.ValueAt(3), 0);                      // slot 3: written never, zero-filled
    EXPECT_EQ(h.ValueAt(h.Head() + h.Capacity() + 1), 0);
    EXPECT_EQ(h.ValueAt(-1), 0);                     // head + 1: zero-filled
    EXPECT_EQ(h.ValueAt(-100), 0);                   // at or above capacity
    EXPECT_EQ(h.ValueAt(2147483647), 0);
    EXPECT_EQ(h.ValueAt(-2147483647 - 1), 0);
}

TEST(SampleHistory, InvalidHistoriesIgnorePushesAndReadZero)
{
    for (int32_t capacity : {0, -1, -2147483647 - 1}) {
        SampleHistory h(capacity);
        EXPECT_FALSE(h.IsValid()) << capacity;
        EXPECT_FALSE(h.Push(42));
        EXPECT_EQ(h.Count(), 0);
        EXPECT_EQ(h.Latest(), 0);
        EXPECT_EQ(h.ValueAt(0), 0);
        h.Clear();
        EXPECT_FALSE(h.IsValid());
        EXPECT_EQ(h.Head(), -1);
    }
}

TEST(SampleHistory, WrapsOnlyWhenOneMoreGrowthWouldReachTheLimit)
{
    // Limit 10, step 3: 3 -> 6 -> 9; 9 + 3 >= 10, so the tenth push overwrites slot 0.
    SampleHistory h(3, 10);
    for (int i = 1; i <= 9; ++i)
        h.Push(i);
    EXPECT_EQ(h.Capacity(), 9);
    EXPECT_EQ(h.Count(), 9);

    h.Push(10);
    EXPECT_EQ(h.Capacity(), 9);
    EXPECT_EQ(h.Head(), 0);
    EXPECT_EQ(h.Count(), 9);
    EXPECT_EQ(NewestFirst(h), (std::vector<int32_t>{10, 9, 8, 7, 6, 5, 4, 3, 2}));

    for (int i = 11; i <= 25; ++i)
        h.Push(i);
    EXPECT_EQ(h.Capacity(), 9);
    EXPECT_EQ(h.Count(), 9);
    EXPECT_EQ(NewestFirst(h), (std::vector<int32_t>{25, 24, 23, 22, 21, 20, 19, 18, 17}));
    EXPECT_EQ(h.ValueAt(h.Head() + h.Capacity() + 1), 0);

    h.Clear();
    EXPECT_EQ(h.Capacity(), 3);
    h.Push(1);
    EXPECT_EQ(NewestFirst(h), (std::vector<int32_t>{1}));
}

TEST(SampleHistory, TheLimitComparisonDoesNotOverflow)
{
    // capacity + growStep exceeds int32 here; the history must wrap, not grow negative.
    SampleHistory h(1, 2147483647);
    EXPECT_TRUE(h.Push(1));
    EXPECT_TRUE(h.Push(2));
    EXPECT_EQ(h.Capacity(), 2);
    SampleHistory big(1073741824 / 1024, 1073741824 / 1024 * 2);  // step 1 Mi, limit 2 Mi
    for (int i = 0; i < 1048576; ++i)
        big.Push(i);
    big.Push(-1);  // 1 Mi + 1 Mi reaches the limit: wrap to slot 0
    EXPECT_EQ(big.Head(), 0);
    EXPECT_EQ(big.Capacity(), 1048576);
    EXPECT_EQ(big.Latest(), -1);
    EXPECT_EQ(big.ValueAt(1), 1048575);
}

}  // namespace
