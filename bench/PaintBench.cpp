// Median time of one Paint of a 792 x 214 pane into a memory DC, in line and in bar mode, with
// 1,000 / 100,000 / 1,000,000 samples held. The drawing reads only the visible samples, so the
// figures should not grow with the history. Beside it, the lines of that paint alone, drawn
// three ways on the same rows: as the pane does (runs of Polyline), one segment per call (the
// pane's former way, kept here as the reference) and one Polyline per series (no pane can draw
// its lines cheaper, whatever their order). Runs under Wine.
#include "bench/BenchTiming.h"
#include "graph/CZiveVazudEx.h"
#include "graph/PaneDrawing.h"
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

// A pane that tells the rows its last paint drew its lines on.
class RowsPane : public CZiveVazudEx {
public:
    using CZiveVazudEx::CZiveVazudEx;
    plot::Box Plot() const { return ToBox(plotRect); }
    SeriesRows Rows(bool temperature) const
    {
        SeriesRows rows(static_cast<size_t>(visibleCount));
        for (int32_t i = 0; i < visibleCount; ++i)
            rows[i] = RowOf(temperature ? TempHistory().ValueAt(i) : history.ValueAt(i));
        return rows;
    }
};

template <typename Draw>
double TimeMs(Draw draw)
{
    LARGE_INTEGER frequency, from, to;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&from);
    draw();
    ::GdiFlush();
    ::QueryPerformanceCounter(&to);
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1e3 / static_cast<double>(frequency.QuadPart);
}

// The pane's former line drawing: a load and a temperature segment per sample, one Polyline
// and one pen colour each. Returns its Polyline calls.
size_t DrawSegmentBySegment(HDC dc, const plot::Box& plot, const SeriesRows& load, const SeriesRows& temperature,
                            COLORREF loadColour, COLORREF temperatureColour)
{
    const int32_t newest = plot::LineColumn(plot, 0);
    ::SetPixelV(dc, newest, load[0], loadColour);
    ::SetPixelV(dc, newest, temperature[0], temperatureColour);
    Selection dcPen(dc, ::GetStockObject(DC_PEN));
    for (size_t i = 1; i < load.size(); ++i) {
        const int32_t x = plot::LineColumn(plot, static_cast<int32_t>(i));
        const POINT loadSegment[2] = {{x + 1, load[i - 1]}, {x, load[i]}};
        ::SetDCPenColor(dc, loadColour);
        ::Polyline(dc, loadSegment, 2);
        const POINT temperatureSegment[2] = {{x + 1, temperature[i - 1]}, {x, temperature[i]}};
        ::SetDCPenColor(dc, temperatureColour);
        ::Polyline(dc, temperatureSegment, 2);
    }
    return 2 * (load.size() - 1);
}

// Each series as one Polyline: the least any drawing of these lines by Polyline can cost.
size_t DrawOnePolylinePerSeries(HDC dc, const plot::Box& plot, const SeriesRows& load, const SeriesRows& temperature,
                                COLORREF loadColour, COLORREF temperatureColour)
{
    Selection dcPen(dc, ::GetStockObject(DC_PEN));
    std::vector<POINT> points(load.size());
    for (const SeriesRows* rows : {&load, &temperature}) {
        for (size_t i = 0; i < rows->size(); ++i)
            points[i] = {plot::LineColumn(plot, static_cast<int32_t>(i)), (*rows)[i]};
        ::SetDCPenColor(dc, rows == &load ? loadColour : temperatureColour);
        ::Polyline(dc, points.data(), static_cast<int>(points.size()));
    }
    return 2;
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
    std::unique_ptr<RowsPane> panes[3];
    for (int s = 0; s < 3; ++s) {
        panes[s] = std::make_unique<RowsPane>(paneWindow, nullptr);
        for (int i = 0; i < sizes[s].samples; ++i)
            panes[s]->PushSamples(35 + (i * 7) % 40, (i * 13) % 101);
    }
    // The lines of the 1k pane's line paint.
    panes[0]->SetUseBars(false);
    panes[0]->Paint(target.Get(), WM_PAINT);
    const plot::Box plot = panes[0]->Plot();
    const SeriesRows loadRows = panes[0]->Rows(false);
    const SeriesRows temperatureRows = panes[0]->Rows(true);
    const COLORREF loadColour = panes[0]->LoadColour();
    const COLORREF temperatureColour = panes[0]->TemperatureColour();
    size_t calls[3] = {};
    const auto drawLines = [&](int way) {
        HDC dc = target.Get();
        if (way == 0)
            calls[0] = DrawSeriesLines(dc, plot, loadRows, temperatureRows, loadColour, temperatureColour);
        else if (way == 1)
            calls[1] = DrawSegmentBySegment(dc, plot, loadRows, temperatureRows, loadColour, temperatureColour);
        else
            calls[2] = DrawOnePolylinePerSeries(dc, plot, loadRows, temperatureRows, loadColour, temperatureColour);
    };

    // Round robin over all cases, so that a busy moment of the machine spreads over all.
    std::vector<double> times[2][3];
    std::vector<double> lineTimes[3];
    for (int round = -10; round < paints; ++round) {
        for (int mode = 0; mode < 2; ++mode) {
            for (int s = 0; s < 3; ++s) {
                panes[s]->SetUseBars(mode == 1);
                const double ms = TimeMs([&] { panes[s]->Paint(target.Get(), WM_PAINT); });
                if (round >= 0)
                    times[mode][s].push_back(ms);
            }
        }
        for (int way = 0; way < 3; ++way) {
            const double ms = TimeMs([&] { drawLines(way); });
            if (round >= 0)
                lineTimes[way].push_back(ms);
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
    const char* ways[3] = {"runs of Polyline (the pane)", "one segment per call (former)",
                           "one Polyline per series (floor)"};
    double lines[3];
    for (int way = 0; way < 3; ++way) {
        lines[way] = Median(lineTimes[way]);
        std::printf("BENCH|paint line 1k, lines %s|%.3f|ms|median of %d, %zu Polyline calls for %zu samples\n",
                    ways[way], lines[way], paints, calls[way], loadRows.size());
    }
    // The rest of the paint is the same whichever way the lines go.
    const double paint = figures[0][0];
    const double former = paint - lines[0] + lines[1];
    const double floorPaint = paint - lines[0] + lines[2];
    std::printf("BENCH|paint line 1k, lines one segment per call|%.3f|ms|the paint above with the former lines: "
                "%.3f - %.3f + %.3f\n",
                former, paint, lines[0], lines[1]);
    std::printf("BENCH|paint line 1k over its floor|%.3f|ratio|paint over the paint with one Polyline per series; "
                "target <= 1.05 (one segment per call: %.3f)\n",
                floorPaint > 0 ? paint / floorPaint : 0.0, floorPaint > 0 ? former / floorPaint : 0.0);
    ::DestroyWindow(frame);
    return 0;
}
