// The resolution a window is shown at and the small-icon size it gives: a value read for a
// window when its icons are made, and read again when the shell or the display scale changes.
#pragma once

#include <windows.h>

#include <cstdint>

struct ScreenMetrics {
    bool filled = false;
    int32_t horizontalDpi = 96;
    int32_t verticalDpi = 96;
    int32_t smallIconSize = 16;

    // The screen's resolution as the window's device context reports it (the whole screen's
    // for a null window); the defaults, counted as filled, when there is no device context.
    static ScreenMetrics Read(HWND window);
    int32_t IconSize() const { return smallIconSize; }
};
