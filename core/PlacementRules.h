// The arithmetic of a remembered window placement: a rectangle moved between 96-DPI units and
// a display's pixels, and the test that a rectangle still lies enough on the monitors there
// are. Plain functions; the window's WindowPlacement supplies the monitors.
#pragma once

#include "core/PlotGeometry.h"

#include <cstdint>

// A rectangle of pixels at one resolution in pixels of another (rounded as MulDiv rounds).
plot::Box RescaleBox(const plot::Box& box, int32_t fromDpi, int32_t toDpi);

// The area two rectangles share (0 when they do not meet).
int64_t SharedArea(const plot::Box& a, const plot::Box& b);

// A rectangle is shown enough when at least a quarter of its area lies on the monitors.
bool ShownEnough(const plot::Box& rect, int64_t areaOnMonitors);
