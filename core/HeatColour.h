// The colour of a temperature in the heat map: a scale from dark indigo through purple, red
// and orange to pale yellow (the "inferno" scale), which stays ordered by lightness, so it
// reads in every form of colour-blind vision and in grey. Pure functions.
#pragma once

#include <cstdint>

// 0x00BBGGRR, as a COLORREF: the bottom of the scale at or below rangeMin, the top at or above
// rangeMax; an empty or reversed range gives the bottom.
uint32_t HeatColour(int32_t temperature, int32_t rangeMin, int32_t rangeMax);

// True when black text reads better than white on the colour (its lightness is high).
bool DarkTextOn(uint32_t colour);
