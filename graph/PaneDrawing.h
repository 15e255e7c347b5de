// Small drawing helpers shared by the two pane classes: the label font, solid pens,
// conversions between RECT and the portable plot geometry, and anchored text output.
#pragma once

#include "win32/Handles.h"
#include "core/PlotGeometry.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// The one font of all pane text: "Tahoma", height -11 at 96 DPI, antialiased.
Font CreateLabelFont(const plot::Scale& scale = {});
// A solid pen, one pixel wide at 96 DPI.
Pen CreateSolidPen(COLORREF colour, const plot::Scale& scale = {});
// The plot's grid: HS_CROSS at 96 DPI (its gaps take the DC's background colour); at any other
// resolution a pattern of the same lines, step and width scaled, gaps in background.
Brush CreateGridBrush(COLORREF grid, COLORREF background, const plot::Scale& scale);

plot::Box ToBox(const RECT& rect);
RECT ToRect(const plot::Box& box);

// Draws text at the anchor with the DC's current alignment, colours and font.
void DrawTextAt(HDC dc, const plot::Anchor& anchor, const wchar_t* text);

// One series of a pane, newest sample first: its rows, one per visible sample.
using SeriesRows = std::vector<int32_t>;

// Draws the load and temperature lines, newest sample first: the newest as single pixels,
// then for every older sample a load segment and a temperature segment from the newer one,
// each excluding its end point. The pixels are those of drawing the segments one by one in
// that order (a temperature segment lies over the load segment of its column, and the next
// load segment over it), drawn as runs of Polyline per series. Returns the Polyline calls.
// Above 96 DPI the lines are as wide as one pixel scaled.
size_t DrawSeriesLines(HDC dc, const plot::Box& plot, const SeriesRows& loadRows, const SeriesRows& temperatureRows,
                       COLORREF loadColour, std::optional<COLORREF> temperatureColour,
                       const plot::Scale& scale = {});
// Fills the bar of every sample with the brush, the bottom and right edges excluded as
// FillRect does; one brush selection for all of them. Bars never overlap one another, so one
// series' bars may all go before the other's.
void DrawSeriesBars(HDC dc, const plot::Box& plot, const SeriesRows& rows, HBRUSH brush,
                    const plot::Scale& scale = {});
