// Median cost of the first Update (class, window, settings, one pane window and pane per
// core, tray icon) and of a resize of the main window, which snaps and lays out every pane.
#include "bench/BenchTiming.h"
#include "core/HostRecords.h"
#include "plugin/PluginState.h"
#include "window/WindowViews.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

extern "C" PluginRecord* GetPlugin();
extern "C" void ReleasePlugin();

namespace {

using bench::Median;
using bench::Microseconds;
using bench::Pump;

void Measure(uint32_t cores, int creations, int resizes)
{
    LARGE_INTEGER frequency, a, b;
    ::QueryPerformanceFrequency(&frequency);
    SensorSnapshot snapshot;
    std::memset(&snapshot, 0, sizeof snapshot);
    snapshot.coreCount = cores;
    snapshot.tjMax = 100;

    std::vector<double> creation, resize;
    for (int i = 0; i < creations; ++i) {
        PluginRecord* record = GetPlugin();
        record->info->hostInstance = ::GetModuleHandleW(nullptr);
        ::QueryPerformanceCounter(&a);
        record->Update(&snapshot);
        ::QueryPerformanceCounter(&b);
        creation.push_back(Microseconds(a, b, frequency));
        Pump();

        if (i + 1 == creations) {
            RECT frame{};
            ::GetWindowRect(mainWindow, &frame);
            const int width = frame.right - frame.left;
            for (int r = 0; r < resizes; ++r) {
                const int height = 400 + static_cast<int>(cores) * 2 + (r % 2) * 37;
                ::QueryPerformanceCounter(&a);
                ::SetWindowPos(mainWindow, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
                ::QueryPerformanceCounter(&b);
                resize.push_back(Microseconds(a, b, frequency));
                ::ValidateRect(mainWindow, nullptr);
            }
        }
        ReleasePlugin();
        Pump();
    }
    std::printf("BENCH|Window creation, %u cores|%.0f|us|first Update, median of %d\n", cores, Median(creation),
                creations);
    std::printf("BENCH|Resize with pane layout, %u panes|%.0f|us|SetWindowPos incl. snapping, median of %d\n", cores,
                Median(resize), resizes);
}

}  // namespace

int main()
{
    ::DeleteFileW(L"Vaderur.ini");  // the default settings file is created once
    for (uint32_t cores : {4u, 64u, 256u})
        Measure(cores, 9, 100);
    ::DeleteFileW(L"Vaderur.ini");
    return 0;
}
