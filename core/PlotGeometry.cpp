#include "core/PlotGeometry.h"

#include <algorithm>
#include <cmath>

namespace plot {
namespace {

// Coordinates far beyond any screen or export; keeps every sum below within int32.
constexpr int64_t pixelLimit = 1000000000;

int32_t HoldToPixels(int64_t value)
{
    return static_cast<int32_t>(std::clamp<int64_t>(value, -pixelLimit, pixelLimit));
}

}  // namespace

bool operator==(const Box& a, const Box& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

Box PlotBox(const Box& area)
{
    return {HoldToPixels(int64_t{area.left} + marginLeft), HoldToPixels(int64_t{area.top} + marginTop),
            HoldToPixels(int64_t{area.right} - marginRight),
            HoldToPixels(int64_t{area.bottom} - marginBottom)};
}

float ScaleFor(const Box& plot, int32_t rangeMin, int32_t rangeMax)
{
    const int64_t width = int64_t{rangeMax} - rangeMin;
    if (width == 0)
        return 0.0f;
    const float pixels = static_cast<float>(int64_t{plot.bottom} - plot.top - 4);
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
    return HoldToPixels(int64_t{plotBottom} - TruncateToPixels(pixels) - 2);
}

int32_t VisibleCount(const Box& plot, bool bars, int32_t held)
{
    int64_t limit = int64_t{plot.right} - plot.left - 2;
    if (bars)
        limit /= barPitch;
    return static_cast<int32_t>(std::max<int64_t>(0, std::min<int64_t>(limit, held)));
}

Box BarBox(const Box& plot, int32_t i, int32_t top)
{
    const int64_t right = int64_t{plot.right} - int64_t{barPitch} * i;
    return {HoldToPixels(right - 6), top, HoldToPixels(right - 1), HoldToPixels(int64_t{plot.bottom} - 1)};
}

int32_t LineColumn(const Box& plot, int32_t i)
{
    return HoldToPixels(int64_t{plot.right} - i - 2);
}

bool HasXAxis(int32_t rangeMin, bool showXAxis)
{
    return showXAxis && rangeMin <= 0;
}

int32_t XAxisRow(const Box& plot, int32_t rangeMin, float scale)
{
    return HoldToPixels(int64_t{plot.bottom} + TruncateToPixels(static_cast<float>(rangeMin) * scale) - 2);
}

Anchor TitleAnchor(const Box& plot, int32_t textHeight)
{
    return {plot.right, HoldToPixels(int64_t{plot.top} - textHeight - 2)};
}

Anchor UpperRangeAnchor(const Box& plot, int32_t halfTextHeight)
{
    return {HoldToPixels(int64_t{plot.left} - 1), HoldToPixels(int64_t{plot.top} - halfTextHeight)};
}

Anchor LowerRangeAnchor(const Box& plot, int32_t halfTextHeight)
{
    return {HoldToPixels(int64_t{plot.left} - 1), HoldToPixels(int64_t{plot.bottom} - halfTextHeight)};
}

Anchor ValueLabelAnchor(const Box& plot, int32_t row, int32_t halfTextHeight)
{
    return {HoldToPixels(int64_t{plot.right} + 2), HoldToPixels(int64_t{row} - halfTextHeight)};
}

bool ShowsLoadLabel(int32_t temperatureRow, int32_t loadRow, int32_t textHeight)
{
    const int64_t distance = std::abs(int64_t{temperatureRow} - loadRow);
    return distance > textHeight;
}

}  // namespace plot
