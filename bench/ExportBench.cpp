// One full export of 16 panes holding a day of samples each (86,400 at one a second):
// wall time, the time up to the BMP against the GDI+ conversion, and peak memory.
// With --write-data it also writes the same 16 series as core<N>.dat for gnuplot.
#include "graph/CZiveVazudEx.h"
#include "win32/PictureFileSeam.h"
#include "settings/GraphSettings.h"

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <memory>
#include <vector>

namespace {

constexpr int paneCount = 16;
constexpr int samples = 86400;
constexpr int paneWidth = 792;
constexpr int paneHeight = 214;

// The benchmark's series: slow temperature swings with a little ripple, busy loads.
int Temperature(int i, int core)
{
    return 40 + (i / 97 + core * 5) % 45 + (i * 13 + core) % 4;
}
int Load(int i, int core)
{
    return static_cast<int>((static_cast<unsigned>(i) * 2654435761u + static_cast<unsigned>(core) * 40503u) >> 7) %
           101;
}

void WriteData()
{
    for (int core = 0; core < paneCount; ++core) {
        char name[32];
        std::snprintf(name, sizeof name, "core%d.dat", core);
        FILE* file = std::fopen(name, "w");
        if (!file)
            return;
        for (int i = 0; i < samples; ++i)
            std::fprintf(file, "%d %d %d\n", i, Temperature(i, core), Load(i, core));
        std::fclose(file);
    }
}

// The colours of the default settings file: red temperature, green load.
GraphSettings Settings(int core)
{
    PaneStyle style;
    style.graphColor = 0x0000F0;
    style.loadGraphColor = 0x00F000;
    const std::wstring title = L"Core #" + std::to_wstring(core);
    return RecordOf(style, title.c_str());
}

double MegaBytes(SIZE_T bytes)
{
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

LARGE_INTEGER frequency;
LARGE_INTEGER paneStart;
double renderAndWriteMs = 0;
int bmpsWritten = 0;

double MillisecondsSince(LARGE_INTEGER from)
{
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart - from.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

void BmpWritten(const wchar_t*)
{
    renderAndWriteMs += MillisecondsSince(paneStart);
    ++bmpsWritten;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--write-data") == 0)
        WriteData();
    ::QueryPerformanceFrequency(&frequency);

    HWND parent = ::CreateWindowExW(0, L"STATIC", L"bench_export", WS_OVERLAPPEDWINDOW, 0, 0, paneWidth, 600,
                                    nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    std::vector<std::unique_ptr<CZiveVazudEx>> panes;
    std::vector<CZiveVazudEx*> list;
    for (int core = 0; core < paneCount; ++core) {
        HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, core * paneHeight, paneWidth,
                                        paneHeight, parent, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        const GraphSettings settings = Settings(core);
        panes.push_back(std::make_unique<CZiveVazudEx>(window, &settings));
        list.push_back(panes.back().get());
    }

    PROCESS_MEMORY_COUNTERS_EX before{};
    before.cb = sizeof before;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&before), sizeof before);
    for (int i = 0; i < samples; ++i) {
        PaneLock::Exclusive pushing(list[0]->Lock());
        for (int core = 0; core < paneCount; ++core)
            list[core]->PushSamples(Temperature(i, core), Load(i, core));
    }
    PROCESS_MEMORY_COUNTERS_EX withHistories{};
    withHistories.cb = sizeof withHistories;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&withHistories),
                           sizeof withHistories);

    // One worker's job, run on this thread: every pane in turn.
    SetBmpWrittenHook(BmpWritten);
    LARGE_INTEGER start;
    ::QueryPerformanceCounter(&start);
    for (CZiveVazudEx* pane : list) {
        ::QueryPerformanceCounter(&paneStart);
        pane->SaveSnapshot();
    }
    const double totalMs = MillisecondsSince(start);

    PROCESS_MEMORY_COUNTERS_EX after{};
    after.cb = sizeof after;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&after), sizeof after);

    if (bmpsWritten != paneCount) {
        std::fprintf(stderr, "bench_export: %d of %d panes exported (is a display there?)\n", bmpsWritten, paneCount);
        return 1;
    }

    const int width = samples + 66;
    const double pictureMb = MegaBytes(static_cast<SIZE_T>(width) * paneHeight * 4);
    const double historiesMb = MegaBytes(withHistories.WorkingSetSize > before.WorkingSetSize
                                             ? withHistories.WorkingSetSize - before.WorkingSetSize
                                             : 0);
    const double peakAboveMb = MegaBytes(after.PeakWorkingSetSize > withHistories.WorkingSetSize
                                             ? after.PeakWorkingSetSize - withHistories.WorkingSetSize
                                             : 0);

    std::printf("BENCH|export of %d panes x %d samples|%.0f|ms|wall time, pictures %d x %d at 32 bpp\n", paneCount,
                samples, totalMs, width, paneHeight);
    std::printf("BENCH|export render + BMP write|%.0f|ms|all panes, up to the written BMP\n", renderAndWriteMs);
    std::printf("BENCH|export GDI+ BMP-to-PNG|%.0f|ms|all panes, load + encode + replace\n", totalMs - renderAndWriteMs);
    std::printf("BENCH|export one picture|%.1f|MB|%d x %d x 4 bytes\n", pictureMb, width, paneHeight);
    std::printf("BENCH|export histories|%.1f|MB|working set grown by %d x 2 x %d samples\n", historiesMb, paneCount,
                samples);
    std::printf("BENCH|export peak memory above the histories|%.1f|MB|peak working set during the export; "
                "target <= 2 x picture = %.1f MB\n",
                peakAboveMb, 2 * pictureMb);
    std::printf("BENCH|export peak working set|%.1f|MB|whole process\n", MegaBytes(after.PeakWorkingSetSize));

    SetBmpWrittenHook(nullptr);
    panes.clear();
    ::DestroyWindow(parent);
    return 0;
}
