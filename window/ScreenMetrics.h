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

    // The resolution the window is shown at (GetDpiForWindow where the system has it, else its
    // device context's; the whole screen's for a null window); the defaults, counted as filled,
    // when nothing answers.
    static ScreenMetrics Read(HWND window);
    // The metrics of a resolution the system announced (WM_DPICHANGED).
    static ScreenMetrics ForDpi(int32_t dpi);
    int32_t IconSize() const { return smallIconSize; }
};
