// What the histories of a busy plug-in cost in committed memory beyond their samples: 16
// panes' 32 histories growing in step, as every Update grows them, read back from the
// process's private commit (Windows only).
#include "core/SampleHistory.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>

#include <memory>
#include <vector>

namespace {

size_t CommittedBytes()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    return ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters) ? counters.PagefileUsage : 0;
}

TEST(SampleHistoryMemory, HistoriesGrowingInStepCommitLittleMoreThanTheirSamples)
{
    // Below the size from which the heap gives every block pages of its own (about 1 MB
    // under Wine, 512 KB on Windows): there the blocks share the heap's pages, and the blocks
    // left behind by each growth are what could cost more than the samples.
    constexpr int histories = 32;
    constexpr int32_t screenWidth = 1680;
    constexpr int pushes = 60000;
    std::vector<std::unique_ptr<SampleHistory>> all;
    for (int i = 0; i < histories; ++i)
        all.push_back(std::make_unique<SampleHistory>(screenWidth));
    const size_t before = CommittedBytes();
    ASSERT_GT(before, 0u);
    for (int n = 0; n < pushes; ++n)
        for (auto& history : all)
            history->Push(n);
    const size_t grown = CommittedBytes() - before;

    const size_t samples = size_t{histories} * (size_t(all.front()->Capacity()) - screenWidth) * sizeof(int32_t);
    EXPECT_LE(grown, samples + samples / 10) << "samples " << samples << " bytes, commit grew " << grown;
}

}  // namespace
