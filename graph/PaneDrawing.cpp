#include "graph/PaneDrawing.h"

#include <algorithm>
#include <cwchar>

Font CreateLabelFont(const plot::Scale& scale)
{
    return Font(::CreateFontW(-scale(11), 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                              CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, 0, L"Tahoma"));
}

Pen CreateSolidPen(COLORREF colour, const plot::Scale& scale)
{
    return Pen(::CreatePen(PS_SOLID, scale.Stroke(1), colour));
}

Brush CreateGridBrush(COLORREF grid, COLORREF background, const plot::Scale& scale)
{
    if (scale.dpi == 96)
        return Brush(::CreateHatchBrush(HS_CROSS, grid));
    // HS_CROSS draws its lines at x = 4 and y = 3 of every 8 x 8 cell.
    const int32_t step = scale(plot::gridStep);
    const int32_t width = scale.Stroke(1);
    const int32_t column = scale(4);
    const int32_t row = scale(3);
    const auto pixel = [](COLORREF c) {
        return static_cast<uint32_t>(GetRValue(c)) << 16 | static_cast<uint32_t>(GetGValue(c)) << 8 | GetBValue(c);
    };
    std::vector<uint32_t> packed(sizeof(BITMAPINFOHEADER) / sizeof(uint32_t) + static_cast<size_t>(step) * step);
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(packed.data());
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = step;
    header->biHeight = step;  // bottom-up, as pattern brushes have always taken
    header->biPlanes = 1;
    header->biBitCount = 32;
    header->biCompression = BI_RGB;
    uint32_t* pixels = packed.data() + sizeof(BITMAPINFOHEADER) / sizeof(uint32_t);
    for (int32_t y = 0; y < step; ++y) {
        for (int32_t x = 0; x < step; ++x) {
            const bool line = (x >= column && x < column + width) || (y >= row && y < row + width);
            pixels[static_cast<size_t>(step - 1 - y) * step + x] = pixel(line ? grid : background);
        }
    }
    return Brush(::CreateDIBPatternBrushPt(packed.data(), DIB_RGB_COLORS));
}

plot::Box ToBox(const RECT& rect)
{
    return {rect.left, rect.top, rect.right, rect.bottom};
}

RECT ToRect(const plot::Box& box)
{
    return {box.left, box.top, box.right, box.bottom};
}

void DrawTextAt(HDC dc, const plot::Anchor& anchor, const wchar_t* text)
{
    ::TextOutW(dc, anchor.x, anchor.y, text, static_cast<int>(std::wcslen(text)));
}

namespace {

// Whether the temperature segment of sample i (rows from..to, ending in column x_i) and the
// load segment of sample i + 1 (rows from..to, starting in column x_i) may share a pixel. Both
// touch only column x_i; there the temperature segment keeps strictly between its end rows
// (its start lies in column x_i + 1 and its end point is not drawn), and the load segment stays
// within its end rows. A needless "yes" only costs a call.
bool MayTouchInSharedColumn(int32_t temperatureFrom, int32_t temperatureTo, int32_t loadFrom, int32_t loadTo)
{
    const int32_t temperatureLow = std::min(temperatureFrom, temperatureTo) + 1;
    const int32_t temperatureHigh = std::max(temperatureFrom, temperatureTo) - 1;
    return temperatureLow <= temperatureHigh && temperatureLow <= std::max(loadFrom, loadTo) &&
           std::min(loadFrom, loadTo) <= temperatureHigh;
}

// One Polyline through the segments first..last of a series: segment i runs from
// (x_i + 1, row i - 1) to (x_i, row i), and x_{i-1} = x_i + 1 chains them.
void DrawRun(HDC dc, const plot::Box& plot, const SeriesRows& rows, size_t first, size_t last, COLORREF colour,
             std::vector<POINT>& points, const plot::Scale& scale)
{
    points.clear();
    const int32_t firstColumn = plot::LineColumn(plot, static_cast<int32_t>(first), scale);
    points.push_back({firstColumn + 1, rows[first - 1]});
    for (size_t i = first; i <= last; ++i)
        points.push_back({plot::LineColumn(plot, static_cast<int32_t>(i), scale), rows[i]});
    if (scale.Stroke(1) == 1) {
        ::SetDCPenColor(dc, colour);
        ::Polyline(dc, points.data(), static_cast<int>(points.size()));
        return;
    }
    Pen wide = CreateSolidPen(colour, scale);
    Selection selected(dc, wide.Get());
    ::Polyline(dc, points.data(), static_cast<int>(points.size()));
}

}  // namespace

size_t DrawSeriesLines(HDC dc, const plot::Box& plot, const SeriesRows& loadRows, const SeriesRows& temperatureRows,
                       COLORREF loadColour, std::optional<COLORREF> temperatureColour, const plot::Scale& scale)
{
    if (loadRows.empty())
        return 0;
    const int32_t newest = plot::LineColumn(plot, 0, scale);
    ::SetPixelV(dc, newest, loadRows[0], loadColour);
    if (temperatureColour)
        ::SetPixelV(dc, newest, temperatureRows[0], *temperatureColour);
    // The DC pen is a solid one-pixel pen like any other; recolouring it costs far less than
    // selecting one of two pens.
    Selection dcPen(dc, ::GetStockObject(DC_PEN));
    const COLORREF previousColour = ::GetDCPenColor(dc);
    std::vector<POINT> points;
    points.reserve(loadRows.size());
    size_t calls = 0;
    // Drawing a run's loads before its temperatures reorders only a temperature segment and the
    // next load segment, which share a column: a run ends where those two may touch, so every
    // pixel gets the colour that one segment per call, load then temperature, would give it.
    for (size_t first = 1; first < loadRows.size();) {
        size_t last = first;
        if (temperatureColour) {
            while (last + 1 < loadRows.size() &&
                   !MayTouchInSharedColumn(temperatureRows[last - 1], temperatureRows[last], loadRows[last],
                                           loadRows[last + 1]))
                ++last;
        } else {
            last = loadRows.size() - 1;
        }
        DrawRun(dc, plot, loadRows, first, last, loadColour, points, scale);
        ++calls;
        if (temperatureColour) {
            DrawRun(dc, plot, temperatureRows, first, last, *temperatureColour, points, scale);
            ++calls;
        }
        first = last + 1;
    }
    ::SetDCPenColor(dc, previousColour);
    return calls;
}

void DrawSeriesBars(HDC dc, const plot::Box& plot, const SeriesRows& rows, HBRUSH brush, const plot::Scale& scale)
{
    Selection selected(dc, brush);
    for (size_t i = 0; i < rows.size(); ++i) {
        const plot::Box bar = plot::BarBox(plot, static_cast<int32_t>(i), rows[i], scale);
        if (bar.right > bar.left && bar.bottom > bar.top)
            ::PatBlt(dc, bar.left, bar.top, bar.right - bar.left, bar.bottom - bar.top, PATCOPY);
    }
}
