// The screen's resolution, read once per process, and the small-icon size it gives. One
// process-wide record; the tray icon reads it, tests may set it.
#pragma once

#include <cstdint>

// The screen's resolution, read once per process.
struct ScreenMetrics {
    bool filled = false;
    int32_t horizontalDpi = 96;
    int32_t verticalDpi = 96;
    int32_t smallIconSize = 16;

    void EnsureFilled();
    int32_t IconSize();
};
ScreenMetrics& TheScreenMetrics();

