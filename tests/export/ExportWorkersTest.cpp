// The export workers with the export linked in: the queue's bound, the panes' named mutex,
// exports during growth and clearing, and the teardown that waits for them.
#include "export/ExportWorkers.h"
#include "graph/CZiveVazudEx.h"
#include "tests/export/SnapshotExportFixture.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <atomic>
#include <string>

namespace {

using namespace exporttest;

std::atomic<int> bmpsWritten{0};

// A slow export: each BMP waits at the gate until the test opens it.
KernelHandle exportGate;
KernelHandle exportAtGate;
void WaitAtTheGate(const wchar_t*)
{
    ::SetEvent(exportAtGate.Get());
    ::WaitForSingleObject(exportGate.Get(), INFINITE);
    ++bmpsWritten;
}

// The threads of this process now: a worker that is started is a thread more.
int ThreadsOfThisProcess()
{
    KernelHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    if (!snapshot)
        return -1;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    int count = 0;
    for (BOOL more = ::Thread32First(snapshot.Get(), &entry); more; more = ::Thread32Next(snapshot.Get(), &entry))
        count += entry.th32OwnerProcessID == ::GetCurrentProcessId();
    return count;
}

TEST_F(SnapshotExport, StartsWhileAnExportRunsQueueAtMostOneMore)
{
    CZiveVazudEx* first = panes.Add(TestSettings(L"Core #0"));
    CZiveVazudEx* second = panes.Add(TestSettings(L"Core #1"));
    PushSamples(first, 400, 60, 40);
    PushSamples(second, 400, 60, 40);
    bmpsWritten = 0;
    exportGate.Reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    exportAtGate.Reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(exportGate && exportAtGate);
    SetBmpWrittenHook(WaitAtTheGate);

    // The first export is held at its first BMP; of the three ticks after it, only the first
    // queues an export (one thread more), the others find it waiting and add nothing.
    ASSERT_TRUE(panes.Workers().Start(panes.List()));
    ASSERT_EQ(::WaitForSingleObject(exportAtGate.Get(), 20000), WAIT_OBJECT_0);
    const int threadsWithOneExport = ThreadsOfThisProcess();
    EXPECT_TRUE(panes.Workers().Start(panes.List()));
    EXPECT_TRUE(panes.Workers().Start(panes.List()));
    EXPECT_TRUE(panes.Workers().Start(panes.List()));
    EXPECT_EQ(ThreadsOfThisProcess(), threadsWithOneExport + 1);

    ::SetEvent(exportGate.Get());
    EXPECT_TRUE(WaitUntil([] { return bmpsWritten.load() >= 4; }, 20000)) << bmpsWritten.load();
    panes.Workers().WaitForAll();
    EXPECT_EQ(bmpsWritten.load(), 4) << "two exports of two panes";
    EXPECT_FALSE(panes.Workers().Cancelled());
    for (const std::wstring& name : {core0Png, core1Png}) {
        const auto png = Png(name);
        ASSERT_TRUE(png);
        EXPECT_EQ(png->width, 466);
    }
    ExpectNoLeftovers();

    // Once both ended, a start runs an export again.
    EXPECT_TRUE(panes.Workers().Start(panes.List()));
    EXPECT_TRUE(WaitUntil([] { return bmpsWritten.load() == 6; }, 20000)) << bmpsWritten.load();
    panes.Workers().WaitForAll();
}

std::atomic<int> bmpsSeen{0};
void CountBmp(const wchar_t*)
{
    ++bmpsSeen;
}

// The pane's named mutex keeps an export from drawing while a paint (of this or another
// process) draws the same pane: held here, the export must wait for it.
TEST_F(SnapshotExport, AnExportWaitsWhileThePanesNamedMutexIsHeld)
{
    CZiveVazudEx* pane = panes.Add(TestSettings(L"Core #0"));
    PushSamples(pane, 100, 60, 40);
    bmpsSeen = 0;
    SetBmpWrittenHook(CountBmp);
    KernelHandle mutex(::CreateMutexW(nullptr, FALSE, pane->MutexName()));
    ASSERT_TRUE(mutex);
    ASSERT_EQ(::WaitForSingleObject(mutex.Get(), 10000), WAIT_OBJECT_0);

    ASSERT_TRUE(panes.Workers().Start(panes.List()));
    // Unheld, this export writes its BMP within milliseconds.
    EXPECT_FALSE(WaitUntil([] { return bmpsSeen.load() > 0; }, 2000)) << "the export did not wait for the mutex";
    EXPECT_FALSE(FileExists(InExeFolder(core0Png)));

    ASSERT_TRUE(::ReleaseMutex(mutex.Get()));
    EXPECT_TRUE(WaitUntil([&] { return Png(core0Png).has_value(); }, 20000));
    panes.Workers().WaitForAll();
    EXPECT_EQ(bmpsSeen.load(), 1);
    const auto png = Png(core0Png);
    ASSERT_TRUE(png);
    EXPECT_EQ(png->width, 166);
}

// The window thread's side of a pane under export: grow the histories past the size that
// lives in memory of its own (freed straight back to the system), then clear them, again
// and again until told to stop.
struct GrowAndClear {
    CZiveVazudEx* pane;
    std::atomic<bool> stop{false};
    std::atomic<int> clears{0};
};
DWORD WINAPI GrowAndClearThread(LPVOID parameter)
{
    auto* job = static_cast<GrowAndClear*>(parameter);
    while (!job->stop.load()) {
        for (int chunk = 0; chunk < 15; ++chunk)
            PushSamples(job->pane, 10000, 70, 30);
        job->pane->ClearHistory();
        ++job->clears;
    }
    return 0;
}

TEST_F(SnapshotExport, ExportsDuringGrowthAndClearingDrawOneWholeHistory)
{
    CZiveVazudEx* pane = panes.Add(TestSettings(L"Core #0"), 792, 40);
    GrowAndClear job{pane};
    HANDLE writer = ::CreateThread(nullptr, 0, GrowAndClearThread, &job, 0, nullptr);
    ASSERT_NE(writer, nullptr);

    for (int i = 0; i < 4; ++i) {
        pane->SaveSnapshot();
        const auto png = Png(core0Png);
        ASSERT_TRUE(png);
        // Any width from empty to full is fine; every held column must carry the series.
        const int held = png->width - 66;
        ASSERT_GE(held, 0);
        ASSERT_LE(held, 150000);
        // Columns 33 (under the left frame's inner column) to held + 32 carry samples.
        for (int x = 34; x <= held + 32; x += 997)
            EXPECT_EQ(png->ColourAt(x, RowOf(70, 40)), testTemperature) << "column " << x << " of " << held;
    }
    job.stop = true;
    EXPECT_EQ(::WaitForSingleObject(writer, 20000), WAIT_OBJECT_0);
    ::CloseHandle(writer);
    EXPECT_GT(job.clears.load(), 0);
}

// The hook holds the worker inside pane 0 until the test lets it go.
HANDLE insidePane = nullptr;
HANDLE letGo = nullptr;
void HoldInsidePane(const wchar_t*)
{
    ::SetEvent(insidePane);
    ::WaitForSingleObject(letGo, 10000);
}

DWORD WINAPI WaitForWorkersThread(LPVOID workers)
{
    static_cast<ExportWorkers*>(workers)->WaitForAll();
    return 0;
}

TEST_F(SnapshotExport, TeardownWaitsForTheRunningPaneAndStopsBeforeTheNext)
{
    panes.Add(TestSettings(L"Core #0"));
    panes.Add(TestSettings(L"Core #1"));
    insidePane = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    letGo = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    SetBmpWrittenHook(HoldInsidePane);

    ASSERT_TRUE(panes.Workers().Start(panes.List()));
    ASSERT_EQ(::WaitForSingleObject(insidePane, 10000), WAIT_OBJECT_0);
    HANDLE waiter = ::CreateThread(nullptr, 0, WaitForWorkersThread, &panes.Workers(), 0, nullptr);
    ASSERT_NE(waiter, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return panes.Workers().Cancelled(); }, 10000));
    EXPECT_EQ(::WaitForSingleObject(waiter, 100), static_cast<DWORD>(WAIT_TIMEOUT))
        << "the teardown must not return while a worker is inside a pane";

    ::SetEvent(letGo);
    EXPECT_EQ(::WaitForSingleObject(waiter, 20000), WAIT_OBJECT_0);
    ::CloseHandle(waiter);
    ::CloseHandle(insidePane);
    ::CloseHandle(letGo);

    EXPECT_TRUE(Png(core0Png)) << "the pane in progress is finished";
    EXPECT_FALSE(FileExists(InExeFolder(core1Png))) << "the next pane is never started";
    EXPECT_FALSE(panes.Workers().Cancelled());
}

}  // namespace
