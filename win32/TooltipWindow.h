// A common-controls tooltip window owned by a window of ours; it goes with its owner. Both the
// heat map's cell tips and the hover readout are made here.
#pragma once

#include <windows.h>

// Null when the tooltip class is not there.
HWND CreateTooltipWindow(HWND owner, HINSTANCE instance);
