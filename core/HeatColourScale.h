// The cool-to-hot colour scale of the temperature tray icon and the heat map's cells. Plain
// values, portable.
#pragma once

#include <cstdint>

// COLORREF layout, 0x00BBGGRR.
using HeatColour = uint32_t;

// Sky blue at rangeMin and below, through yellow, to vermillion at rangeMax and above: a
// scale that stays ordered in lightness and hue for red-green colour-blind eyes too.
HeatColour HeatColourOf(int32_t temperature, int32_t rangeMin, int32_t rangeMax);
constexpr HeatColour coolColour = 0x00E9B456;  // RGB(86, 180, 233)
constexpr HeatColour warmColour = 0x0042E4F0;  // RGB(240, 228, 66)
constexpr HeatColour hotColour = 0x00005ED5;   // RGB(213, 94, 0)
constexpr HeatColour unknownColour = 0x00C0C0C0;  // light grey behind "--"
