// Median time of one Paint of a 792 x 214 pane into a memory DC, in line and in bar mode, with
// 1,000 / 100,000 / 1,000,000 samples held. The drawing reads only the visible samples, so the
// figures should not grow with the history. Runs under Wine.
#include "bench/BenchTiming.h"
#include "graph/CZiveVazudEx.h"
#include "win32/Handles.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

using bench::Median;

constexpr int paneWidth = 792;
constexpr int paneHeight = 214;
constexpr int paints = 300;

double PaintMs(CZiveVazudEx& pane, HDC target)
{
    LARGE_INTEGER frequency, from, to;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&from);
    pane.Paint(target, WM_PAINT);
    ::GdiFlush();
    ::QueryPerformanceCounter(&to);
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1e3 / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main()
{
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    HWND frame = ::CreateWindowExW(0, L"STATIC", L"paint bench", WS_OVERLAPPEDWINDOW, 0, 0, paneWidth + 40,
                                   paneHeight + 60, nullptr, nullptr, instance, nullptr);
    HWND paneWindow = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, paneWidth, paneHeight,
                                        frame, nullptr, instance, nullptr);
    if (!paneWindow) {
        std::printf("paint bench: no pane window\n");
        return 1;
    }
    WindowDc screen(nullptr);
    MemoryDc target(::CreateCompatibleDC(screen.Get()));
    Bitmap targetBitmap(::CreateCompatibleBitmap(screen.Get(), paneWidth, paneHeight));
    Selection selected(target.Get(), targetBitmap.Get());

    struct Size {
        int samples;
        const char* name;
    };
    const Size sizes[] = {{1000, "1k"}, {100000, "100k"}, {1000000, "1M"}};
    std::unique_ptr<CZiveVazudEx> panes[3];
    for (int s = 0; s < 3; ++s) {
        panes[s] = std::make_unique<CZiveVazudEx>(paneWindow, nullptr);
        for (int i = 0; i < sizes[s].samples; ++i)
            panes[s]->PushSamples(35 + (i * 7) % 40, (i * 13) % 101);
    }
    // Round robin over the six cases, so that a busy moment of the machine spreads over all.
    std::vector<double> times[2][3];
    for (int round = -10; round < paints; ++round) {
        for (int mode = 0; mode < 2; ++mode) {
            for (int s = 0; s < 3; ++s) {
                panes[s]->SetUseBars(mode == 1);
                const double ms = PaintMs(*panes[s], target.Get());
                if (round >= 0)
                    times[mode][s].push_back(ms);
            }
        }
    }
    double figures[2][3] = {};
    for (int mode = 0; mode < 2; ++mode) {
        for (int s = 0; s < 3; ++s) {
            figures[mode][s] = Median(times[mode][s]);
            std::printf("BENCH|paint %s %s|%.3f|ms|median of %d paints, %d x %d pane, target < 3 ms\n",
                        mode == 0 ? "line" : "bar", sizes[s].name, figures[mode][s], paints, paneWidth, paneHeight);
        }
    }
    for (int mode = 0; mode < 2; ++mode) {
        const double* f = figures[mode];
        std::printf("BENCH|paint %s ratio 1M/1k|%.3f|ratio|1,000,000 over 1,000 samples held, target <= 1.05\n",
                    mode == 0 ? "line" : "bar", f[0] > 0 ? f[2] / f[0] : 0.0);
    }
    ::DestroyWindow(frame);
    return 0;
}
