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

// The one font of all pane text: "Tahoma", height -11, antialiased.
Font CreateLabelFont();
// A solid pen one pixel wide.
Pen CreateSolidPen(COLORREF colour);

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
size_t DrawSeriesLines(HDC dc, const plot::Box& plot, const SeriesRows& loadRows, const SeriesRows& temperatureRows,
                       COLORREF loadColour, std::optional<COLORREF> temperatureColour);
// Fills the bar of every sample with the brush, the bottom and right edges excluded as
// FillRect does; one brush selection for all of them. Bars never overlap one another, so one
// series' bars may all go before the other's.
void DrawSeriesBars(HDC dc, const plot::Box& plot, const SeriesRows& rows, HBRUSH brush);
