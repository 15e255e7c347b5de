// Median wall time of one update as the one-pass views show it: Update, then the main
// window's paint (UpdateWindow; the heat map draws what an update changed within Update
// itself), for the grid (Columns=-1) at 64 and 256 cores and the heat
// map (HeatMap=1) at 256 cores; the heat map also on a quiet machine where one core in
// sixteen changes its readings per update. In-process figures beside the host's CPU per update.
#include "bench/BenchTiming.h"
#include "core/HostRecords.h"
#include "plugin/PluginState.h"
#include "window/WindowViews.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <vector>

extern "C" PluginRecord* GetPlugin();
extern "C" void ReleasePlugin();

namespace {

using bench::Median;
using bench::Microseconds;
using bench::Pump;

void WriteSettings(const char* line)
{
    FILE* file = std::fopen("Vaderur.ini", "wb");
    if (!file)
        return;
    std::fprintf(file, "[Zentrix Vaderur]\r\n%s\r\n", line);
    std::fclose(file);
}

// changingEvery: one core in that many takes new readings per update (1: every core).
void Measure(const char* name, const char* line, uint32_t cores, uint32_t changingEvery, int calls)
{
    WriteSettings(line);
    LARGE_INTEGER frequency, a, b, c;
    ::QueryPerformanceFrequency(&frequency);
    PluginRecord* record = GetPlugin();
    record->info->hostInstance = ::GetModuleHandleW(nullptr);
    SensorSnapshot snapshot;
    std::memset(&snapshot, 0, sizeof snapshot);
    snapshot.coreCount = cores;
    snapshot.tjMax = 100;
    for (uint32_t core = 0; core < cores; ++core) {
        snapshot.coreLoad[core] = core % 101;
        snapshot.coreTemperature[core] = 40.0f + static_cast<float>(core % 50);
    }
    record->Update(&snapshot);
    Pump();
    ::UpdateWindow(mainWindow);

    std::vector<double> update, paint;
    for (int i = 0; i < calls; ++i) {
        for (uint32_t core = static_cast<uint32_t>(i) % changingEvery; core < cores; core += changingEvery) {
            snapshot.coreLoad[core] = static_cast<uint32_t>((i * 3 + core) % 101);
            snapshot.coreTemperature[core] = 40.0f + static_cast<float>((i + core) % 50);
        }
        ::QueryPerformanceCounter(&a);
        record->Update(&snapshot);
        ::QueryPerformanceCounter(&b);
        ::UpdateWindow(mainWindow);
        ::QueryPerformanceCounter(&c);
        update.push_back(Microseconds(a, b, frequency));
        paint.push_back(Microseconds(b, c, frequency));
        Pump();
    }
    std::printf("BENCH|Update and paint, %s, %u cores|%.0f|us|median of %d: Update %.0f us, paint %.0f us\n", name,
                cores, Median(update) + Median(paint), calls, Median(update), Median(paint));
    ReleasePlugin();
    Pump();
}

}  // namespace

int main()
{
    Measure("Columns=-1", "Columns=-1;", 64, 1, 60);
    Measure("Columns=-1", "Columns=-1;", 256, 1, 30);
    Measure("HeatMap=1", "HeatMap=1;", 256, 1, 200);
    Measure("HeatMap=1, 1 core in 16 changing", "HeatMap=1;", 256, 16, 200);
    ::DeleteFileW(L"Vaderur.ini");
    return 0;
}
