#include "core/HeatColour.h"

namespace {

struct Stop {
    double at;
    int red, green, blue;
};

// Five points of the inferno scale, from 0.1 to 1.0 of it (its first tenth is near black).
constexpr Stop stops[] = {
    {0.00, 0x14, 0x0B, 0x34}, {0.25, 0x65, 0x15, 0x6E}, {0.50, 0xBC, 0x37, 0x54},
    {0.75, 0xF9, 0x8E, 0x09}, {1.00, 0xFC, 0xFF, 0xA4},
};

uint32_t Rgb(int red, int green, int blue)
{
    return static_cast<uint32_t>(red) | static_cast<uint32_t>(green) << 8 | static_cast<uint32_t>(blue) << 16;
}

int Mix(int from, int to, double t)
{
    return static_cast<int>(from + (to - from) * t + 0.5);
}

}  // namespace

uint32_t HeatColour(int32_t temperature, int32_t rangeMin, int32_t rangeMax)
{
    if (rangeMax <= rangeMin || temperature <= rangeMin)
        return Rgb(stops[0].red, stops[0].green, stops[0].blue);
    if (temperature >= rangeMax)
        return Rgb(stops[4].red, stops[4].green, stops[4].blue);
    const double t = (static_cast<double>(temperature) - rangeMin) / (static_cast<double>(rangeMax) - rangeMin);
    int i = 0;
    while (i < 3 && t > stops[i + 1].at)
        ++i;
    const double local = (t - stops[i].at) / (stops[i + 1].at - stops[i].at);
    return Rgb(Mix(stops[i].red, stops[i + 1].red, local), Mix(stops[i].green, stops[i + 1].green, local),
               Mix(stops[i].blue, stops[i + 1].blue, local));
}

bool DarkTextOn(uint32_t colour)
{
    const int red = colour & 0xFF;
    const int green = colour >> 8 & 0xFF;
    const int blue = colour >> 16 & 0xFF;
    // Rec. 601 luma, 0..255.
    return red * 299 + green * 587 + blue * 114 >= 140 * 1000;
}
