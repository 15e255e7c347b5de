// What the temperature tray icon shows: the hottest core of a set of samples, its digits, its
// tooltip and its colour on the cool-to-hot scale. Plain values; the main window keeps them.
#pragma once

#include <cstddef>
#include <cstdint>

// COLORREF layout, 0x00BBGGRR.
using HeatColour = uint32_t;

struct CoreReading {
    bool known = false;  // false before the first samples: the icon shows "--"
    uint32_t core = 0;   // numbered from 0, as the pane titles are
    int32_t temperature = 0;
    int32_t load = 0;
};

// The core with the highest temperature; the lowest number wins a tie. Unknown for no cores.
CoreReading HottestCore(const int32_t* temperatures, const int32_t* loads, uint32_t count);

// Two or three characters: the temperature in whole degrees held to -99..999, or "--".
constexpr size_t iconDigitsCapacity = 5;
void FormatIconDigits(const CoreReading& reading, char16_t (&digits)[iconDigitsCapacity]);

// "Core #3: 72 C°, load 35 %" with the panes' units; "" while unknown. Cut to capacity.
void FormatCoreTooltip(const CoreReading& reading, const char16_t* temperatureUnit, const char16_t* loadUnit,
                       char16_t* tooltip, size_t capacity);

// Sky blue at rangeMin and below, through yellow, to vermillion at rangeMax and above: a
// scale that stays ordered in lightness and hue for red-green colour-blind eyes too.
HeatColour HeatColourOf(int32_t temperature, int32_t rangeMin, int32_t rangeMax);
constexpr HeatColour coolColour = 0x00E9B456;  // RGB(86, 180, 233)
constexpr HeatColour warmColour = 0x0042E4F0;  // RGB(240, 228, 66)
constexpr HeatColour hotColour = 0x00005ED5;   // RGB(213, 94, 0)
constexpr HeatColour unknownColour = 0x00C0C0C0;  // light grey behind "--"
