#include "core/PlotGeometry.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace plot {
namespace {

// Coordinates far beyond any screen or export; keeps every sum below within int32.
constexpr int64_t pixelLimit = 1000000000;

int32_t HoldToPixels(int64_t value)
{
    return static_cast<int32_t>(std::clamp<int64_t>(value, -pixelLimit, pixelLimit));
}

}  // namespace

int32_t Scale::operator()(int32_t length) const
{
    const int64_t product = int64_t{length} * dpi;
    return HoldToPixels(product >= 0 ? (product + 48) / 96 : (product - 48) / 96);
}

int32_t Scale::Stroke(int32_t length) const
{
    return std::max<int32_t>(1, (*this)(length));
}

bool operator==(const Box& a, const Box& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

Box PlotBox(const Box& area, const Scale& s)
{
    return {HoldToPixels(int64_t{area.left} + s(marginLeft)), HoldToPixels(int64_t{area.top} + s(marginTop)),
            HoldToPixels(int64_t{area.right} - s(marginRight)),
            HoldToPixels(int64_t{area.bottom} - s(marginBottom))};
}

float ScaleFor(const Box& plot, int32_t rangeMin, int32_t rangeMax, const Scale& s)
{
    const int64_t width = int64_t{rangeMax} - rangeMin;
    if (width == 0)
        return 0.0f;
    const float pixels = static_cast<float>(int64_t{plot.bottom} - plot.top - 2 * int64_t{s(2)});
    return pixels / static_cast<float>(width);
}

int32_t ClampToRange(int32_t value, int32_t rangeMin, int32_t rangeMax)
{
    if (value > rangeMax)
        return rangeMax;
    if (value < rangeMin)
        return rangeMin;
    return value;
}

int32_t TruncateToPixels(float value)
{
    if (std::isnan(value))
        return 0;
    const float limit = static_cast<float>(pixelLimit);
    return static_cast<int32_t>(std::clamp(value, -limit, limit));
}

int32_t VerticalMapping::RowOf(int32_t value) const
{
    const int64_t offset = int64_t{ClampToRange(value, rangeMin, rangeMax)} - rangeMin;
    const float pixels = static_cast<float>(offset) * scale;
    return HoldToPixels(int64_t{plotBottom} - TruncateToPixels(pixels) - inset);
}

int32_t VisibleCount(const Box& plot, bool bars, int32_t held, const Scale& s)
{
    int64_t limit = int64_t{plot.right} - plot.left - s(2);
    if (bars)
        limit /= s(barPitch);
    return static_cast<int32_t>(std::max<int64_t>(0, std::min<int64_t>(limit, held)));
}

Box BarBox(const Box& plot, int32_t i, int32_t top, const Scale& s)
{
    const int32_t pitch = s(barPitch);
    const int64_t right = int64_t{plot.right} - int64_t{pitch} * i;
    return {HoldToPixels(right - pitch), top, HoldToPixels(right - (pitch - s(barWidth))),
            HoldToPixels(int64_t{plot.bottom} - s.Stroke(1))};
}

int32_t LineColumn(const Box& plot, int32_t i, const Scale& s)
{
    return HoldToPixels(int64_t{plot.right} - i - s(2));
}

int32_t SampleAtColumn(const Box& plot, bool bars, int32_t visible, int32_t x, const Scale& s)
{
    // Line mode: sample i at right - 2 - i. Bar mode (at 96 DPI): bar i covers right - 6i - 6 ..
    // right - 6i - 2 and its gap right - 6i - 1.
    const int64_t fromRight = bars ? int64_t{plot.right} - 1 - x : int64_t{plot.right} - s(2) - x;
    if (fromRight < 0 || x < plot.left)
        return -1;
    const int64_t i = bars ? fromRight / s(barPitch) : fromRight;
    return i < visible ? static_cast<int32_t>(i) : -1;
}

bool HasXAxis(int32_t rangeMin, bool showXAxis)
{
    return showXAxis && rangeMin <= 0;
}

int32_t XAxisRow(const Box& plot, int32_t rangeMin, float scale, const Scale& s)
{
    return HoldToPixels(int64_t{plot.bottom} + TruncateToPixels(static_cast<float>(rangeMin) * scale) - s(2));
}

Anchor TitleAnchor(const Box& plot, int32_t textHeight, const Scale& s)
{
    return {plot.right, HoldToPixels(int64_t{plot.top} - textHeight - s(2))};
}

Anchor UpperRangeAnchor(const Box& plot, int32_t halfTextHeight, const Scale& s)
{
    return {HoldToPixels(int64_t{plot.left} - s(1)), HoldToPixels(int64_t{plot.top} - halfTextHeight)};
}

Anchor LowerRangeAnchor(const Box& plot, int32_t halfTextHeight, const Scale& s)
{
    return {HoldToPixels(int64_t{plot.left} - s(1)), HoldToPixels(int64_t{plot.bottom} - halfTextHeight)};
}

Anchor ValueLabelAnchor(const Box& plot, int32_t row, int32_t halfTextHeight, const Scale& s)
{
    return {HoldToPixels(int64_t{plot.right} + s(2)), HoldToPixels(int64_t{row} - halfTextHeight)};
}

bool ShowsLoadLabel(int32_t temperatureRow, int32_t loadRow, int32_t textHeight)
{
    const int64_t distance = std::abs(int64_t{temperatureRow} - loadRow);
    return distance > textHeight;
}

namespace {

// Room a value label needs above and below the plot when its row is two rows inside it.
int32_t ValueRoomAbove(int32_t textHeight, const Scale& s)
{
    return textHeight / 2 - s(2);
}

int32_t ValueRoomBelow(int32_t textHeight, const Scale& s)
{
    return textHeight - textHeight / 2 - s(2);
}

int32_t Largest(int32_t a, int32_t b)
{
    return a > b ? a : b;
}

// The plot that leaves the usual margin (or the text's width, when wider) on each side that has
// a text, and two pixels elsewhere.
Box MarginsFor(const Box& area, const TextExtents& t, const ShownTexts& shown, const Scale& s)
{
    const bool values = shown.temperature || shown.load;
    const int32_t valueWidth = Largest(shown.temperature ? t.temperature : 0, shown.load ? t.load : 0);
    const int32_t half = t.height / 2;
    int32_t top = s(2);
    if (shown.title)
        top = s(marginTop);
    else if (shown.range)
        top = Largest(top, half);
    if (values)
        top = Largest(top, ValueRoomAbove(t.height, s));
    int32_t bottom = shown.range ? s(marginBottom) : s(2);
    if (values)
        bottom = Largest(bottom, ValueRoomBelow(t.height, s));
    const int32_t left = shown.range ? Largest(s(marginLeft), t.range + s(1)) : s(2);
    const int32_t right = values ? Largest(s(marginRight), valueWidth + s(2)) : s(2);
    return {area.left + left, area.top + top, area.right - right, area.bottom - bottom};
}

bool Fits(const Box& area, const Box& plot, const TextExtents& t, const ShownTexts& shown, const Scale& s)
{
    const int32_t half = t.height / 2;
    // A frame of at least a few pixels each way, so the series keep a place to be drawn.
    if (plot.right - plot.left < s(4) || plot.bottom - plot.top < s(4))
        return false;
    if (shown.title) {
        if (plot.top - t.height - s(2) < area.top || plot.right - t.title < area.left)
            return false;
        // Beside the upper range label, which lies on the same rows.
        if (shown.range && plot.right - t.title < plot.left - s(1))
            return false;
    }
    if (shown.range) {
        // The range labels only while the plot keeps half the width: a pane is a graph first,
        // and panes of one grid then agree whatever their titles.
        if (2 * (int64_t{plot.right} - plot.left) < int64_t{area.right} - area.left)
            return false;
        if (plot.left - s(1) - t.range < area.left || plot.top - half < area.top ||
            plot.bottom - half + t.height > area.bottom || plot.bottom - plot.top < t.height)
            return false;
    }
    const int32_t valueWidth = Largest(shown.temperature ? t.temperature : 0, shown.load ? t.load : 0);
    if (shown.temperature || shown.load) {
        if (plot.right + s(2) + valueWidth > area.right || plot.top + s(2) - half < area.top ||
            plot.bottom - s(2) - half + t.height > area.bottom)
            return false;
    }
    return true;
}

}  // namespace

CompactPlot FitTexts(const Box& area, const TextExtents& texts, const Scale& s)
{
    ShownTexts shown;
    // Left out one by one, least wanted first.
    bool* const order[] = {&shown.range, &shown.load, &shown.title, &shown.temperature};
    size_t dropped = 0;
    for (;;) {
        const Box plot = MarginsFor(area, texts, shown, s);
        if (Fits(area, plot, texts, shown, s) || dropped == std::size(order))
            return {plot, shown};
        *order[dropped++] = false;
    }
}

}  // namespace plot
