// The pixel geometry of a graph pane: plot rectangle, vertical mapping, visible samples, bar
// and line positions, label anchors. Plain functions of plain numbers; the panes own no state here.
#pragma once

#include <cstdint>

namespace plot {

// Left, top, right, bottom, as in a Win32 RECT; right and bottom are exclusive for fills.
struct Box {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

bool operator==(const Box& a, const Box& b);

// A display resolution and the lengths it gives: a length of L pixels at 96 DPI is
// L * dpi / 96 rounded to the nearest (halves away from zero, as MulDiv rounds). At 96 DPI every
// length stays what it is; the exports are always drawn at 96.
struct Scale {
    int32_t dpi = 96;

    int32_t operator()(int32_t length) const;
    // A line width: the scaled length, never below one pixel.
    int32_t Stroke(int32_t length) const;
};

// Room around the plot: range labels on the left, title above, value labels on the right.
constexpr int32_t marginLeft = 32;
constexpr int32_t marginTop = 17;
constexpr int32_t marginRight = 32;
constexpr int32_t marginBottom = 8;
// Bars are five pixels wide and stand six apart (at 96 DPI).
constexpr int32_t barPitch = 6;
constexpr int32_t barWidth = 5;
// The grid's hatch step (at 96 DPI).
constexpr int32_t gridStep = 8;

// The plot inside a pane (or export) rectangle.
Box PlotBox(const Box& area, const Scale& scale = {});

// Vertical pixels per unit of value. A range of zero width gives 0, so every value is drawn on
// the row of rangeMin instead of dividing by zero.
float ScaleFor(const Box& plot, int32_t rangeMin, int32_t rangeMax, const Scale& scale = {});

// The value limited to [rangeMin, rangeMax]: above rangeMax first, otherwise below rangeMin.
int32_t ClampToRange(int32_t value, int32_t rangeMin, int32_t rangeMax);

// Float to int toward zero; NaN reads as 0 and huge values are held to a drawable size.
int32_t TruncateToPixels(float value);

// Maps a value to its pixel row: rangeMin two rows above the plot's bottom edge, rangeMax two
// rows below its top edge.
struct VerticalMapping {
    int32_t plotBottom = 0;
    int32_t rangeMin = 0;
    int32_t rangeMax = 0;
    float scale = 0.0f;
    int32_t inset = 2;  // the two rows, scaled

    int32_t RowOf(int32_t value) const;
};

// How many of the held samples fit: one per pixel column, or one bar per six columns.
int32_t VisibleCount(const Box& plot, bool bars, int32_t held, const Scale& scale = {});

// The bar of the sample i steps back from the newest, its top at row top; it reaches down to
// the row of rangeMin.
Box BarBox(const Box& plot, int32_t i, int32_t top, const Scale& scale = {});

// The pixel column of the sample i steps back from the newest in line mode.
int32_t LineColumn(const Box& plot, int32_t i, const Scale& scale = {});

// The inverse of LineColumn and BarBox: the sample (0 = newest) of the visible ones drawn at
// pixel column x, or -1 where none is. In bar mode the gap right of a bar counts as its own.
int32_t SampleAtColumn(const Box& plot, bool bars, int32_t visible, int32_t x, const Scale& scale = {});

// The x axis is drawn only when it is wanted and the value 0 can lie in the range.
bool HasXAxis(int32_t rangeMin, bool showXAxis);
int32_t XAxisRow(const Box& plot, int32_t rangeMin, float scale, const Scale& lengths = {});

// Where a text is anchored: x is its right edge for the title and the range labels, its left
// edge for the value labels; y is always its top.
struct Anchor {
    int32_t x = 0;
    int32_t y = 0;
};

Anchor TitleAnchor(const Box& plot, int32_t textHeight, const Scale& scale = {});
Anchor UpperRangeAnchor(const Box& plot, int32_t halfTextHeight, const Scale& scale = {});
Anchor LowerRangeAnchor(const Box& plot, int32_t halfTextHeight, const Scale& scale = {});
Anchor ValueLabelAnchor(const Box& plot, int32_t row, int32_t halfTextHeight, const Scale& scale = {});

// The load label is drawn only when its row is strictly more than one text height away from
// the temperature label's row.
bool ShowsLoadLabel(int32_t temperatureRow, int32_t loadRow, int32_t textHeight);

// Which of a pane's texts it draws.
struct ShownTexts {
    bool title = true;
    bool range = true;        // both range labels
    bool temperature = true;  // the newest value label (the only one of a single-series pane)
    bool load = true;         // the second value label, where ShowsLoadLabel also allows it
};

// A pane's texts as drawn with its font: the text height and each text's width in pixels
// (range: the wider of the two range labels).
struct TextExtents {
    int32_t height = 0;
    int32_t title = 0;
    int32_t range = 0;
    int32_t temperature = 0;
    int32_t load = 0;
};

struct CompactPlot {
    Box plot;
    ShownTexts shown;
};

// The layout of a pane too small for all of its texts (the grid views): texts are left out,
// the range labels first, then the load label, the title and last the temperature label, until
// the rest lie inside the area without overlapping one another or the frame, and the plot takes
// the room they leave; the range labels stay only while the plot keeps half the area's width.
// When everything fits, this is PlotBox(area) with every text shown.
CompactPlot FitTexts(const Box& area, const TextExtents& texts, const Scale& scale = {});

}  // namespace plot
