// What the temperature tray icon shows: the hottest core of a set of samples, its digits and
// its tooltip. Plain values; the tray reading keeps them.
#pragma once

#include "core/SampleSink.h"

#include <cstddef>
#include <cstdint>

struct CoreReading {
    bool known = false;  // false before the first samples: the icon shows "--"
    uint32_t core = 0;   // numbered from 0, as the pane titles are
    int32_t temperature = 0;
    int32_t load = 0;
};

// The core with the highest temperature; the lowest number wins a tie. Unknown for no cores.
CoreReading HottestCore(const int32_t* temperatures, const int32_t* loads, uint32_t count);

// The hottest of the cores the update reports, among those whose sensor value is a number:
// a NaN or an infinity is no reading (the pane stored 0 or a saturated value for it). Unknown
// when no reported core has a reading.
CoreReading HottestCore(const UpdateRecord& update);

// At most three characters, what the icon fits: the temperature in whole degrees from -99 to
// 999; "1k+" at 1000 and above, "LO" below -99; "--" while unknown.
constexpr size_t iconDigitsCapacity = 5;
void FormatIconDigits(const CoreReading& reading, char16_t (&digits)[iconDigitsCapacity]);

// "72 C°, load 35 %" with the panes' units: what the tray tooltip and the accessible value of a
// core say of a reading. Appended at used; returns the new length. Cut to capacity.
size_t FormatCoreValue(int32_t temperature, int32_t load, const char16_t* temperatureUnit, const char16_t* loadUnit,
                       char16_t* text, size_t used, size_t capacity);

// "Core #3: 72 C°, load 35 %" with the panes' units; "" while unknown. Cut to capacity.
void FormatCoreTooltip(const CoreReading& reading, const char16_t* temperatureUnit, const char16_t* loadUnit,
                       char16_t* tooltip, size_t capacity);
