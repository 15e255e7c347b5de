// The keys of "RememberPlacement=1" read from the settings text: the main window's normal
// rectangle in 96-DPI units and whether it was maximized. Read by the window's WindowPlacement.
#pragma once

#include "core/PlotGeometry.h"

#include <optional>
#include <string>

struct StoredPlacement {
    plot::Box rect;  // the normal (restored) window rectangle in 96-DPI units
    bool maximized = false;
};

// Whether the settings text asks for the placement to be remembered ("RememberPlacement=1").
bool RemembersPlacement(const std::optional<std::u16string>& settingsText);

// The stored rectangle when the placement is remembered and WindowLeft, WindowTop, WindowWidth
// and WindowHeight are there with a width and height above zero; nothing otherwise (the window
// is then placed as without them).
std::optional<StoredPlacement> ReadStoredPlacement(const std::optional<std::u16string>& settingsText);
