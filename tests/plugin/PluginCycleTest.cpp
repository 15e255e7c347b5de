// Vaderur.dll loaded and unloaded again and again, as a host that unloads idle plug-ins
// does: every cycle must give back what it took. Counted here: the process's kernel handles,
// the busy bytes of every process heap (the CRT's heap among them), its GDI objects and its
// windows. Not seen: USER objects other than windows (GetGuiResources reads 0 under Wine)
// and memory that Wine's own server keeps for the process.
// Heap bytes are judged cycle by cycle. A heap with the low-fragmentation front end (Windows,
// Wine 10; not Wine 8) keeps small blocks in groups, and a heap walk sees a group as one busy
// block: a small allocation that outlives a cycle, ours or not, shows as a lump of a whole
// group, and small frees show as nothing. Under Wine 10 a walk block by block showed lumps of
// 1512 and 2504 bytes holding small blocks of Wine's (a system DLL's path among them), and
// afterwards every cycle giving back every block at its old address. So there one cycle of
// the measured ones may grow by one group; a leak of ours grows every cycle. Without such a
// heap the bytes must come back exactly.
#include "tests/plugin/HostHarness.h"
#include "tests/support/ProcessCounts.h"

#include <gtest/gtest.h>


#include <string>
#include <vector>

namespace {

using testsupport::GdiObjectCount;
using testsupport::KernelHandleCount;

using GetPluginProc = PluginRecord* (*)();
using ReleasePluginProc = void (*)();

// Two panes show a leak of a pane's as well as eight would, at a quarter of the windows.
constexpr uint32_t cores = 2;
constexpr int updatesPerCycle = 5;
// The first cycles pay for what the system keeps once loaded (fonts, GDI+, COM, common controls).
constexpr int warmUpCycles = 4;
constexpr int measuredCycles = 6;
// With grouped small blocks: how many measured cycles may grow the heaps, by one group at most.
constexpr int cyclesAllowedToGrow = 1;
constexpr size_t largestHeapGroup = 8192;

// The bytes in use in every heap of the process.
size_t HeapBytesInUse()
{
    std::vector<HANDLE> heaps(::GetProcessHeaps(0, nullptr) + 8);
    heaps.resize(::GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()));
    size_t busy = 0;
    for (HANDLE heap : heaps) {
        ::HeapLock(heap);
        PROCESS_HEAP_ENTRY entry{};
        while (::HeapWalk(heap, &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
                busy += entry.cbData;
        ::HeapUnlock(heap);
    }
    return busy;
}

// Whether a heap of the process keeps its small blocks in groups (the low-fragmentation heap).
bool AnyHeapGroupsSmallBlocks()
{
    constexpr ULONG lowFragmentationHeap = 2;
    std::vector<HANDLE> heaps(::GetProcessHeaps(0, nullptr) + 8);
    heaps.resize(::GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()));
    for (HANDLE heap : heaps) {
        ULONG mode = 0;
        if (::HeapQueryInformation(heap, HeapCompatibilityInformation, &mode, sizeof mode, nullptr) &&
            mode == lowFragmentationHeap)
            return true;
    }
    return false;
}

struct Reading {
    DWORD handles;
    size_t heapBytes;
    int gdiObjects;
    DWORD guiObjects;  // GDI and USER objects as Windows counts them; 0 under Wine
};

Reading Read()
{
    return {KernelHandleCount(), HeapBytesInUse(), GdiObjectCount(),
            ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS) +
                ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS)};
}

// One host session: load, attach, a few updates (the window and its panes are built and
// painted), release, unload.
void RunCycle(HWND hostWindow)
{
    HMODULE module = ::LoadLibraryW(L"Vaderur.dll");
    ASSERT_NE(module, nullptr) << ::GetLastError();
    const auto getPlugin =
        reinterpret_cast<GetPluginProc>(reinterpret_cast<void*>(::GetProcAddress(module, "GetPlugin")));
    const auto releasePlugin =
        reinterpret_cast<ReleasePluginProc>(reinterpret_cast<void*>(::GetProcAddress(module, "ReleasePlugin")));
    ASSERT_NE(getPlugin, nullptr);
    ASSERT_NE(releasePlugin, nullptr);
    PluginRecord* record = getPlugin();
    ASSERT_NE(record, nullptr);
    record->info->hostWindow = hostWindow;
    record->info->hostInstance = module;
    SensorSnapshot snapshot = testhost::MakeSnapshot(cores, 55.0f, 40);
    for (int i = 0; i < updatesPerCycle; ++i) {
        record->Update(&snapshot);
        testhost::Pump();
    }
    EXPECT_NE(testhost::PluginMainWindow(), nullptr);
    releasePlugin();
    testhost::Pump();
    EXPECT_TRUE(::FreeLibrary(module));
    EXPECT_EQ(::GetModuleHandleW(L"Vaderur.dll"), nullptr);
    // A class left registered would keep a window procedure into the unloaded code (and
    // the module's icons), and with the DLL at another address the next load adds one more.
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    EXPECT_FALSE(::GetClassInfoExW(module, L"MOLTAVIS", &windowClass));
}

// The system libraries the DLL imports, held for the whole test as a host with a window and a
// tray icon holds them: otherwise each cycle loads and starts them again (under Wine thousands
// of requests to its server per cycle, none of them ours).
std::vector<HMODULE> HoldSystemLibraries()
{
    std::vector<HMODULE> held;
    for (const wchar_t* name : {L"comctl32.dll", L"gdiplus.dll", L"ole32.dll", L"oleacc.dll", L"oleaut32.dll",
                                L"shell32.dll"})
        held.push_back(::LoadLibraryW(name));
    return held;
}

TEST(PluginCycle, LoadingAndUnloadingLeavesNothingBehind)
{
    const std::vector<HMODULE> systemLibraries = HoldSystemLibraries();
    HWND hostWindow = testhost::CreateHostWindow();
    ASSERT_NE(hostWindow, nullptr);
    for (int i = 0; i < warmUpCycles; ++i)
        ASSERT_NO_FATAL_FAILURE(RunCycle(hostWindow));
    std::string heapGrowth;
    heapGrowth.reserve(256);  // before the first reading: the text's own bytes are not counted
    const Reading before = Read();
    int cyclesThatGrew = 0;
    size_t largestGrowth = 0;
    size_t heapBytes = before.heapBytes;
    for (int i = 0; i < measuredCycles; ++i) {
        ASSERT_NO_FATAL_FAILURE(RunCycle(hostWindow));
        const size_t now = HeapBytesInUse();
        const size_t grown = now > heapBytes ? now - heapBytes : 0;
        cyclesThatGrew += grown > 0;
        largestGrowth = grown > largestGrowth ? grown : largestGrowth;
        heapGrowth += " " + std::to_string(static_cast<long long>(now) - static_cast<long long>(heapBytes));
        heapBytes = now;
    }
    const Reading after = Read();
    ::DestroyWindow(hostWindow);

    EXPECT_GT(before.handles, 0u) << "no way to count this process's handles";
    EXPECT_EQ(after.handles, before.handles) << measuredCycles << " cycles";
    if (AnyHeapGroupsSmallBlocks()) {
        EXPECT_LE(cyclesThatGrew, cyclesAllowedToGrow) << "heap bytes per cycle:" << heapGrowth;
        EXPECT_LE(largestGrowth, largestHeapGroup) << "heap bytes per cycle:" << heapGrowth;
    } else {
        EXPECT_EQ(after.heapBytes, before.heapBytes) << "heap bytes per cycle:" << heapGrowth;
    }
    EXPECT_GT(before.gdiObjects, 0) << "no GDI handle table";
    EXPECT_EQ(after.gdiObjects, before.gdiObjects);
    EXPECT_EQ(after.guiObjects, before.guiObjects);
    EXPECT_TRUE(testhost::ThreadWindowsOfClass(L"MOLTAVIS").empty());
}

}  // namespace
