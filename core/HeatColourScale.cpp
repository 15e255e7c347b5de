#include "core/HeatColourScale.h"

namespace {

uint32_t Channel(HeatColour colour, int shift)
{
    return (colour >> shift) & 0xFFu;
}

// from + (to - from) * part / whole per channel, rounded to nearest.
HeatColour Blend(HeatColour from, HeatColour to, int64_t part, int64_t whole)
{
    HeatColour mixed = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int64_t a = Channel(from, shift);
        const int64_t b = Channel(to, shift);
        const int64_t offset = (b - a) * part;
        const int64_t step = (offset >= 0 ? offset + whole / 2 : offset - whole / 2) / whole;
        mixed |= static_cast<HeatColour>(a + step) << shift;
    }
    return mixed;
}

}  // namespace

HeatColour HeatColourOf(int32_t temperature, int32_t rangeMin, int32_t rangeMax)
{
    if (rangeMax <= rangeMin)
        return temperature > rangeMin ? hotColour : coolColour;
    if (temperature <= rangeMin)
        return coolColour;
    if (temperature >= rangeMax)
        return hotColour;
    // Twice the span, so that the middle falls on a whole step.
    const int64_t whole = 2 * (static_cast<int64_t>(rangeMax) - rangeMin);
    const int64_t at = 2 * (static_cast<int64_t>(temperature) - rangeMin);
    const int64_t half = whole / 2;
    if (at <= half)
        return Blend(coolColour, warmColour, at, half);
    return Blend(warmColour, hotColour, at - half, whole - half);
}
