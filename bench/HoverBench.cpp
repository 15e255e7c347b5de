// The hover readout and the clock times beside the histories: the work of one mouse move over
// a pane holding 1,000,000 samples (the readout alone, then with the tooltip's messages), the
// memory each update's time takes, and one update of the CSV log at 16 and 256 cores (the
// line alone, then Append with its write to a file). Runs under Wine; prints, never asserts.
#include "bench/BenchTiming.h"
#include "core/CsvLogFormat.h"
#include "core/UpdateTimes.h"
#include "graph/CZiveVazudEx.h"
#include "win32/Clock.h"
#include "win32/CsvLogFile.h"
#include "win32/Handles.h"
#include "window/HoverTip.h"

#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

using bench::MedianMicroseconds;

constexpr int paneWidth = 792;
constexpr int paneHeight = 214;
constexpr int historySamples = 1000000;


void BenchCsvLog(uint32_t cores)
{
    std::vector<int32_t> temperatures(cores);
    std::vector<int32_t> loads(cores);
    for (uint32_t i = 0; i < cores; ++i) {
        temperatures[i] = 40 + static_cast<int32_t>(i % 50);
        loads[i] = static_cast<int32_t>(i * 13 % 101);
    }
    UpdateRecord update;
    update.tjMax = 100;
    update.paneCount = update.reportedCores = cores;
    update.temperatures = temperatures.data();
    update.loads = loads.data();
    const LogClockTime time = LocalLogClockTime();
    std::string line;
    const double formatUs = MedianMicroseconds(2000, [&](int) {
        FormatCsvLogLine(line, time, update, cores);
    });
    wchar_t folder[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, folder);
    CsvLogFile log(folder, cores);
    const double appendUs = MedianMicroseconds(1000, [&](int) {
        log.Append(LocalLogClockTime(), update);
    });
    std::printf("BENCH|CSV log line, %u cores|%.2f|us|the text of one update, no file\n", cores, formatUs);
    std::printf("BENCH|CSV log Append, %u cores|%.2f|us|clock, line and one WriteFile to a file (%zu bytes)\n", cores,
                appendUs, line.size());
}

}  // namespace

int main()
{
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    HWND frame = ::CreateWindowExW(0, L"STATIC", L"hover bench", WS_OVERLAPPEDWINDOW, 0, 0, paneWidth + 40,
                                   paneHeight + 60, nullptr, nullptr, instance, nullptr);
    HWND paneWindow = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, paneWidth, paneHeight,
                                        frame, nullptr, instance, nullptr);
    if (!paneWindow) {
        std::printf("hover bench: no pane window\n");
        return 1;
    }
    CZiveVazudEx pane(paneWindow, nullptr);
    UpdateTimes times(pane.History().Capacity());
    const int64_t start = ClockNowUnixMilliseconds() - int64_t{historySamples} * 1000;
    for (int i = 0; i < historySamples; ++i) {
        pane.PushSamples(35 + (i * 7) % 40, (i * 13) % 101);
        times.Push(start + int64_t{i} * 1000);
    }
    // Laid out as on screen: the shown samples are those of the last paint.
    WindowDc screen(nullptr);
    MemoryDc target(::CreateCompatibleDC(screen.Get()));
    Bitmap targetBitmap(::CreateCompatibleBitmap(screen.Get(), paneWidth, paneHeight));
    Selection selected(target.Get(), targetBitmap.Get());
    pane.Paint(target.Get(), WM_PAINT);
    const int32_t shown = pane.VisibleCount();

    size_t characters = 0;
    const double readoutUs = MedianMicroseconds(2000, [&](int round) {
        const int32_t k = (round + 20) % shown;
        characters += PaneReadout(pane, &times, k, shown, ClockNowUnixMilliseconds()).size();
    });
    std::printf("BENCH|hover readout per mouse move, 1M samples|%.1f|us|sample, figures of %d shown + whole history, "
                "text (target <= 50)\n",
                readoutUs, shown);

    HoverTip tip(frame, instance);
    const RECT plot = pane.PlotRect();
    const double moveUs = MedianMicroseconds(500, [&](int round) {
        const POINT point{plot.right - 2 - (round + 20) % shown, (plot.top + plot.bottom) / 2};
        tip.OnMouseMove(pane, &times, point);
    });
    // Along one column the sample and the text stay: only the tip moves.
    const double sameSampleUs = MedianMicroseconds(500, [&](int round) {
        const POINT point{plot.right - 2 - shown / 2, plot.top + 2 + (round + 20) % 100};
        tip.OnMouseMove(pane, &times, point);
    });
    std::printf("BENCH|hover mouse move to another sample, 1M samples|%.1f|us|readout + new tip text + "
                "TTM_TRACKPOSITION, tip windows under Wine\n",
                moveUs);
    std::printf("BENCH|hover mouse move on the same sample, 1M samples|%.1f|us|readout + TTM_TRACKPOSITION only\n",
                sameSampleUs);

    const double bytesPerUpdate = static_cast<double>(times.Capacity()) * sizeof(int64_t) / times.Count();
    std::printf("BENCH|update times memory per update|%.2f|bytes|%d times in %d slots of 8 bytes, whatever the "
                "cores\n",
                bytesPerUpdate, times.Count(), times.Capacity());

    BenchCsvLog(16);
    BenchCsvLog(256);
    return characters == 0 ? 1 : 0;
}
