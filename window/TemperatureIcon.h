// Draws the temperature tray icon: digits in black on a square of the heat colour, one icon
// per call. The caller owns the icon returned (the tray icon takes it over).
#pragma once

#include <windows.h>

// A size x size icon, opaque, the digits centred in the largest bold font whose text fits the
// width. Null when size is not positive or the system refused an object.
HICON DrawTemperatureIcon(const wchar_t* digits, COLORREF background, int size);
